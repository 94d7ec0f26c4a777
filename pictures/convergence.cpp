// The convergence curve of a run.
#include "convergence.h"

#include "chart_parts.h"
#include "kinematics.h"
#include "method_charts.h"
#include "svg_parts.h"

#include <algorithm>
#include <cstdio>

namespace {

const int WIDTH = 800;
const int HEIGHT = 500;
const ChartPanel PANEL = {90, 100, 740, 420};
std::string FactorText(double alpha)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.6g", alpha);
    return text;
}

} // namespace

std::string ConvergencePicture(const std::vector<RunSample> &samples, double alpha,
                               int position, const ConvergenceText &text)
{
    std::string title =
        position ? Filled(text.titleAtPosition,
                          {{"position", std::to_string(position)}, {"alpha", FactorText(alpha)}})
                 : Filled(text.titleAtStart, {{"alpha", FactorText(alpha)}});
    return TitledConvergencePicture(samples, title, text);
}

std::string RunConvergencePicture(const RunResult &run, const std::vector<RunSample> &samples,
                                  const ConvergenceText &text, const MethodChartText &methods)
{
    const MethodSetting &s = run.setting;
    if (s.method == METHOD_PROGRAM)
        return ConvergencePicture(samples, run.alpha, static_cast<int>(s.position), text);
    return TitledConvergencePicture(
        samples, Filled(text.titleOfMethod, {{"method", SettingText(s, methods)}}), text);
}

std::string TitledConvergencePicture(const std::vector<RunSample> &samples,
                                     const std::string &title, const ConvergenceText &text)
{
    Brachistochrone b = BrachistochroneThrough(END_X, END_DEPTH, GRAVITY);
    double lowest = b.time, highest = b.time;
    long lastStep = 1;
    for (const RunSample &s : samples) {
        double printed = PrintedTime(s.fallTime) / 1e6;
        lowest = std::min(lowest, std::min(printed, s.exactS));
        highest = std::max(highest, std::max(printed, s.exactS));
        lastStep = std::max(lastStep, s.step);
    }
    ChartAxis steps = {0, 0, PANEL.left, PANEL.right, true};
    std::vector<AxisTick> stepTicks = DecadeTicks(1.0, lastStep, &steps);
    ChartAxis times = {0, 0, PANEL.bottom, PANEL.top, false};
    std::vector<AxisTick> timeTicks = LinearTicks(lowest, highest, 7, &times);

    std::vector<SvgElement> body = {ChartStyle(TEXT_RULES), ChartTitle(title)};

    double x = PANEL.left;
    SvgElement legend = SvgGroup("g").Set("class", "legend");
    legend.Add(LegendLine(x, 62, PRINTED_RED, text.printed));
    x += 30 + TextWidth(text.printed) + 30;
    legend.Add(LegendLine(x, 62, EXACT_BLUE, text.exact));
    body.push_back(legend);

    body.push_back(SvgGroup("g")
                       .Set("fill", "none").Set("stroke-width", "1")
                       .Add(BottomAxis("step-axis", PANEL, steps, stepTicks, true))
                       .Add(LeftAxis("time-axis", PANEL, times, timeTicks, text.timeAxis)));
    body.push_back(SvgText("text", text.stepAxis)
                       .Set("class", "axis-title")
                       .Set("x", SvgNumber(0.5 * (PANEL.left + PANEL.right)))
                       .Set("y", SvgNumber(PANEL.bottom + 42)).Set("text-anchor", "middle"));

    // Its label goes under the line's right end: the exact time stays
    // above the line, and the printed time settles below it far down.
    double by = AxisPixel(times, b.time);
    body.push_back(ChartLine(PANEL.left, by, PANEL.right, by, {{"id", "brachistochrone"}})
                       .Set("stroke", Colour(LIMIT_GREEN)).Set("stroke-width", "2")
                       .Set("stroke-dasharray", "7 4"));
    body.push_back(SvgText("text", Filled(text.brachistochrone, {{"time", Decimals(b.time, 6)}}))
                       .Set("id", "brachistochrone-label").Set("x", SvgNumber(PANEL.right - 6))
                       .Set("y", SvgNumber(by + 16)).Set("text-anchor", "end")
                       .Set("style", "fill: " + Colour(LIMIT_GREEN)));

    std::string printed, exact;
    for (const RunSample &s : samples) {
        if (s.step < 1)
            continue;
        std::string at = SvgNumber(AxisPixel(steps, s.step));
        printed += (printed.empty() ? "" : " ") + at + "," +
                   SvgNumber(AxisPixel(times, PrintedTime(s.fallTime) / 1e6));
        exact += (exact.empty() ? "" : " ") + at + "," + SvgNumber(AxisPixel(times, s.exactS));
    }
    body.push_back(SvgGroup("g")
                       .Set("fill", "none").Set("stroke-width", "2")
                       .Set("stroke-linejoin", "round")
                       .Add(SvgPolyline("exact-time", EXACT_BLUE, PLAIN_STROKE, exact))
                       .Add(SvgPolyline("printed-time", PRINTED_RED, PLAIN_STROKE, printed)));
    return SvgDocument(WIDTH, HEIGHT, title, body);
}
