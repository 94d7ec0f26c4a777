// The CSV rows.
#include "csv.h"

#include "kinematics.h"

#include <cstdio>

std::string FormatDouble(double v)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
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

std::string SweepRowText(const PositionFate &row)
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
