// The CSV rows.
#include "csv.h"

#include "kinematics.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

std::string FormatDouble(double v)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

std::string ShortestDouble(double v)
{
    char text[40];
    if (v == std::floor(v) && std::fabs(v) < 1e15) {
        std::snprintf(text, sizeof text, "%.0f", v);
        return text;
    }
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, v);
        if (std::strtod(text, nullptr) == v)
            break;
    }
    return text;
}

std::string TraceHeader(bool nodes)
{
    std::string h = "step,time_us,model_s,exact_s";
    if (nodes)
        for (int i = INNER_FIRST; i <= INNER_LAST; ++i)
            h += ",x" + std::to_string(i);
    return h + "\n";
}

namespace {

// step,time_us,model_s,exact_s, with no line end.
std::string RunFields(long step, double fallTime, double exactS)
{
    std::string row = std::to_string(step);
    row += ',';
    row += std::to_string(PrintedTime(fallTime));
    row += ',';
    row += FormatDouble(fallTime);
    row += ',';
    row += FormatDouble(exactS);
    return row;
}

} // namespace

std::string PolylineRow(long step, double fallTime, const double x[NODE_COUNT], bool nodes)
{
    std::string row = RunFields(step, fallTime, ExactPolylineTime(x));
    if (nodes) {
        for (int i = INNER_FIRST; i <= INNER_LAST; ++i) {
            row += ',';
            row += FormatDouble(x[i]);
        }
    }
    row += '\n';
    return row;
}

std::string RunRow(long step, double fallTime, double exactS)
{
    return RunFields(step, fallTime, exactS) + "\n";
}

std::string SweepHeader()
{
    return "position,cycle_from,period,low_us,high_us\n";
}

std::string SweepRowText(const Fate &row)
{
    std::string text = std::to_string(row.position) + ",";
    if (row.period > 0)
        text += std::to_string(row.cycleFrom) + "," + std::to_string(row.period);
    else
        text += ",";
    return text + "," + std::to_string(row.lowUs) + "," + std::to_string(row.highUs) + "\n";
}

std::string StabilityHeader()
{
    return "lambda_max,alpha_limit,position_limit\n";
}

std::string StabilityRow(const StabilityFigures &figures)
{
    return FormatDouble(figures.lambdaMax) + "," + FormatDouble(figures.alphaLimit) + "," +
           FormatDouble(figures.positionLimit) + "\n";
}

std::string MapHeader()
{
    return "position,beta,cycle_from,period,low_us,high_us\n";
}

std::string MapRowText(const Fate &cell, double beta)
{
    std::string text = ShortestDouble(cell.position) + "," + ShortestDouble(beta) + ",";
    if (cell.period > 0)
        text += std::to_string(cell.cycleFrom) + "," + std::to_string(cell.period);
    else
        text += ",";
    return text + "," + std::to_string(cell.lowUs) + "," + std::to_string(cell.highUs) + "\n";
}

std::string MethodStabilityHeader()
{
    return "method,beta,lambda_max,lambda_min,position_limit,best_position,best_beta,best_rate\n";
}

std::string MethodStabilityRow(const MethodTheory &t)
{
    return std::string(METHOD_NAME[t.method]) + "," + ShortestDouble(t.beta) + "," +
           FormatDouble(t.lambdaMax) + "," + FormatDouble(t.lambdaMin) + "," +
           FormatDouble(t.positionLimit) + "," + FormatDouble(t.bestPosition) + "," +
           FormatDouble(t.bestBeta) + "," + FormatDouble(t.bestRate) + "\n";
}

std::string CompareHeader()
{
    return "method,position,beta,step,time_us,model_s,distance_s\n";
}

std::string CompareRowText(const MethodSetting &setting, long step, double fallTime,
                           double distance)
{
    return std::string(METHOD_NAME[setting.method]) + "," + ShortestDouble(setting.position) +
           "," + ShortestDouble(setting.beta) + "," + std::to_string(step) + "," +
           std::to_string(PrintedTime(fallTime)) + "," + FormatDouble(fallTime) + "," +
           FormatDouble(distance) + "\n";
}
