// The convergence curve of a run.
#include "convergence.h"

#include "chart_parts.h"
#include "kinematics.h"
#include "method_charts.h"
#include "svg_parts.h"

#include <algorithm>
#include <cstdio>
#include <utility>

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
                               int position, const ConvergenceText &text, int width)
{
    std::string title =
        position ? Filled(text.titleAtPosition,
                          {{"position", std::to_string(position)}, {"alpha", FactorText(alpha)}})
                 : Filled(text.titleAtStart, {{"alpha", FactorText(alpha)}});
    return TitledConvergencePicture(samples, title, text, width);
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
                                     const std::string &title, const ConvergenceText &text,
                                     int width)
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
    bool narrow = IsNarrow(width);
    std::vector<SvgElement> body = {ChartStyle(TEXT_RULES)};
    SvgElement legend = SvgGroup("g").Set("class", "legend");
    ChartPanel panel = PANEL;
    int pictureWidth = WIDTH, pictureHeight = HEIGHT;
    double titleX = -1.0;
    std::vector<AxisTick> stepTicks, timeTicks;
    ChartAxis steps = {0, 0, 0, 0, true}, times = {0, 0, 0, 0, false};
    if (!narrow) {
        body.push_back(ChartTitle(title));
        double x = PANEL.left;
        legend.Add(LegendLine(x, 62, PRINTED_RED, text.printed));
        x += 30 + TextWidth(text.printed) + 30;
        legend.Add(LegendLine(x, 62, EXACT_BLUE, text.exact));
        steps = {0, 0, PANEL.left, PANEL.right, true};
        stepTicks = DecadeTicks(1.0, lastStep, &steps);
        times = {0, 0, PANEL.bottom, PANEL.top, false};
        timeTicks = LinearTicks(lowest, highest, 7, &times);
    } else {
        // Narrow: the title in lines, the legend's entries in rows under
        // it, then the panel as wide as the room its time labels leave and
        // about as tall as it is wide.
        double y = 0.0;
        for (SvgElement &line : WrappedTitle(title, width, &y))
            body.push_back(std::move(line));
        LegendFlow flow = StartLegend(NARROW_EDGE, width - NARROW_EDGE, y + 26, 20);
        for (const auto &entry : {std::make_pair(PRINTED_RED, &text.printed),
                                  std::make_pair(EXACT_BLUE, &text.exact)}) {
            auto at = PlaceEntry(&flow, 30 + TextWidth(*entry.second), 24);
            legend.Add(LegendLine(at.first, at.second, entry.first, *entry.second));
        }
        double height = std::min(320.0, std::max(200.0, 0.7 * width));
        panel.top = flow.y + 44 + NarrowTitleRoom(text.timeAxis, width);
        panel.bottom = panel.top + height;
        panel.right = width - NARROW_EDGE - 6;
        times = {0, 0, panel.bottom, panel.top, false};
        timeTicks = LinearTicks(lowest, highest, height >= 280 ? 7 : 5, &times);
        panel.left = NARROW_EDGE + WidestLabel(timeTicks) + 10;
        steps = {0, 0, panel.left, panel.right, true};
        stepTicks = SpacedLabels(DecadeTicks(1.0, lastStep, &steps), steps, true, 10);
        titleX = NARROW_EDGE;
        pictureWidth = width;
        pictureHeight = static_cast<int>(panel.bottom + 58);
    }
    body.push_back(legend);

    body.push_back(SvgGroup("g")
                       .Set("fill", "none").Set("stroke-width", "1")
                       .Add(BottomAxis("step-axis", panel, steps, stepTicks, true))
                       .Add(LeftAxis("time-axis", panel, times, timeTicks, text.timeAxis, titleX)));
    body.push_back(SvgText("text", text.stepAxis)
                       .Set("class", "axis-title")
                       .Set("x", SvgNumber(0.5 * (panel.left + panel.right)))
                       .Set("y", SvgNumber(panel.bottom + 42)).Set("text-anchor", "middle"));

    // Its label goes under the line's right end: the exact time stays
    // above the line, and the printed time settles below it far down.
    double by = AxisPixel(times, b.time);
    body.push_back(ChartLine(panel.left, by, panel.right, by, {{"id", "brachistochrone"}})
                       .Set("stroke", Colour(LIMIT_GREEN)).Set("stroke-width", "2")
                       .Set("stroke-dasharray", "7 4"));
    body.push_back(SvgText("text", Filled(text.brachistochrone, {{"time", Decimals(b.time, 6)}}))
                       .Set("id", "brachistochrone-label").Set("x", SvgNumber(panel.right - 6))
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
    return SvgDocument(pictureWidth, pictureHeight, title, body);
}
