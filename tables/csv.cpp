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

std::string Printed(const char *format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
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

namespace {

// What the sweep's and the map's rows say of a fate after its setting:
// cycle_from,period,low_us,high_us, the first two empty when no cycle
// closed.
std::string FateFields(const Fate &fate)
{
    std::string text = fate.period > 0
                           ? std::to_string(fate.cycleFrom) + "," + std::to_string(fate.period)
                           : std::string(",");
    return text + "," + std::to_string(fate.lowUs) + "," + std::to_string(fate.highUs) + "\n";
}

} // namespace

std::string SweepRowText(const Fate &row)
{
    return std::to_string(row.position) + "," + FateFields(row);
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

std::string MapRows(const std::vector<Fate> &cells, const std::vector<double> &betas)
{
    std::string text = "position,beta,cycle_from,period,low_us,high_us\n";
    for (const Fate &cell : cells)
        text += ShortestDouble(cell.position) + "," +
                ShortestDouble(betas[static_cast<std::size_t>(cell.beta)]) + "," +
                FateFields(cell);
    return text;
}

std::string CompareRows(const std::vector<MethodCurve> &curves)
{
    std::string text = "method,position,beta,step,time_us,model_s,distance_s\n";
    for (const MethodCurve &c : curves)
        for (const RunSample &p : c.points)
            text += std::string(METHOD_NAME[c.setting.method]) + "," +
                    ShortestDouble(c.setting.position) + "," + ShortestDouble(c.setting.beta) +
                    "," + std::to_string(p.step) + "," + std::to_string(PrintedTime(p.fallTime)) +
                    "," + FormatDouble(p.fallTime) + "," + FormatDouble(p.distance) + "\n";
    return text;
}
