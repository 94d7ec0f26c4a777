// The laboratory's charts: a run's convergence and the refinement table.
#include "lab_charts.h"

#include "chart_parts.h"
#include "svg_parts.h"

#include <algorithm>
#include <cmath>

namespace {

const int WIDTH = 800;
const int CONVERGENCE_HEIGHT = 500;
const ChartPanel CONVERGENCE = {90, 112, 740, 420};
const int REFINEMENT_HEIGHT = 760;
const ChartPanel GAPS = {90, 132, 770, 430};
const ChartPanel CONDITIONS = {90, 540, 770, 700};
const double MARK_RADIUS = 3.0;

// The decades from the one at or below the smallest of `values` to the one
// at or above the largest, at least one; values that are not finite or not
// positive are passed over (one decade under 1e-15 where none is left).
std::vector<AxisTick> DecadesAround(const std::vector<double> &values, ChartAxis *axis)
{
    double low = 0.0, high = 0.0;
    for (double v : values) {
        if (!(v > 0.0) || !std::isfinite(v))
            continue;
        low = low == 0.0 ? v : std::min(low, v);
        high = std::max(high, v);
    }
    if (low == 0.0)
        low = high = 1e-16;
    int bottom = DecadeAtOrBelow(low);
    int top = std::max(bottom + 1, DecadeAtOrAbove(high));
    return PowerTicks(bottom, top, axis);
}

LabGapSide SideOf(const std::vector<double> &gaps)
{
    bool above = false, below = false;
    for (double g : gaps) {
        above = above || g > 0.0;
        below = below || g < 0.0;
    }
    return above && below ? LAB_BOTH_SIDES : below ? LAB_BELOW : LAB_ABOVE;
}

std::string SlopeText(double slope)
{
    std::string text = Decimals(slope, 2);
    return text == "-0.00" ? "0.00" : text;
}

std::string SecondsText(double seconds)
{
    return std::isfinite(seconds) ? Decimals(seconds, 7) : "\xE2\x88\x9E";
}

// A series of the refinement chart: its points joined, and a mark on each,
// its magnitudes drawn where they are finite and not 0.
std::vector<SvgElement> Series(const char *id, PictureColour colour, bool dashed,
                               const ChartAxis &across, const ChartAxis &up,
                               const std::vector<double> &x, const std::vector<double> &y)
{
    std::string points;
    SvgElement marks = SvgGroup("g").Set("class", std::string(id) + "-marks")
                           .Set("fill", Colour(colour)).Set("stroke", "none");
    for (std::size_t i = 0; i < x.size(); ++i) {
        double v = std::fabs(y[i]);
        if (!(v > 0.0) || !std::isfinite(v))
            continue;
        double px = AxisPixel(across, x[i]), py = AxisPixel(up, v);
        points += (points.empty() ? "" : " ") + SvgNumber(px) + "," + SvgNumber(py);
        marks.Add(SvgEmpty("circle").Set("cx", SvgNumber(px)).Set("cy", SvgNumber(py))
                      .Set("r", SvgNumber(dashed ? MARK_RADIUS - 1.0 : MARK_RADIUS)));
    }
    SvgElement line = SvgPolyline(id, colour, PLAIN_STROKE, points).Set("stroke-width", "2");
    if (dashed)
        line.Set("stroke-dasharray", "6 4");
    return {line, marks};
}

// A legend entry whose sample line is dashed.
std::vector<SvgElement> DashedLegendLine(double x, double y, PictureColour colour,
                                         const std::string &text)
{
    std::vector<SvgElement> entry = LegendLine(x, y, colour, text);
    entry[0].Set("stroke-dasharray", "6 4");
    return entry;
}

SvgElement AxisTitleUnder(const ChartPanel &panel, const std::string &text)
{
    return TextAt(0.5 * (panel.left + panel.right), panel.bottom + 42, text)
        .Set("class", "axis-title").Set("text-anchor", "middle");
}

} // namespace


std::string LabConvergencePicture(const LabProblem &problem, const std::vector<LabCurvePoint> &points,
                                  double optimumTime, double cycloidTime,
                                  const std::string &method, const LabConvergenceText &text,
                                  int width)
{
    const bool narrow = IsNarrow(width);
    ChartPanel panel = CONVERGENCE;
    const double polylineShare = optimumTime - cycloidTime;
    long lastStep = 1;
    std::vector<double> distances = {std::fabs(polylineShare)};
    for (const LabCurvePoint &p : points) {
        if (p.step < 1 || !std::isfinite(p.time))
            continue;
        lastStep = std::max(lastStep, p.step);
        distances.push_back(p.time - optimumTime);
    }

    std::string title = Filled(text.title, {{"method", method},
                                            {"intervals", GroupedDigits(problem.intervals)}});
    const LabCurvePoint *last = points.empty() ? nullptr : &points.back();
    std::string summary =
        Filled(text.summary, {{"steps", GroupedDigits(last ? last->step : 0)},
                              {"time", SecondsText(last ? last->time : optimumTime)},
                              {"exact", SecondsText(last ? last->exactTime : optimumTime)},
                              {"optimum", SecondsText(optimumTime)},
                              {"cycloid", SecondsText(cycloidTime)}});
    std::vector<double> share = {polylineShare};
    std::string polylineText =
        Filled(text.polylineShare, {{"gap", SecondsText(std::fabs(polylineShare))},
                                    {"side", text.side[SideOf(share)]}});

    std::vector<SvgElement> body = {ChartStyle(TEXT_RULES), SvgText("desc", summary)};
    SvgElement legend = SvgGroup("g").Set("class", "legend");
    int height = CONVERGENCE_HEIGHT;
    if (!narrow) {
        body.push_back(ChartTitle(title));
        legend.Add(LegendLine(CONVERGENCE.left, 56, PRINTED_RED, text.optimiserShare))
            .Add(DashedLegendLine(CONVERGENCE.left, 76, OPTIMUM_VIOLET, polylineText));
    } else {
        // Narrow: the title and each entry of the legend in lines as wide
        // as the picture, the panel under them filling it.
        double y = 0.0;
        for (SvgElement &line : WrappedTitle(title, width, &y))
            body.push_back(std::move(line));
        double right = width - NARROW_EDGE;
        legend.Add(WrappedLegendLine(NARROW_EDGE, y + 26, PRINTED_RED, text.optimiserShare, right, &y));
        std::vector<SvgElement> dashed =
            WrappedLegendLine(NARROW_EDGE, y + 20, OPTIMUM_VIOLET, polylineText, right, &y);
        dashed[0].Set("stroke-dasharray", "6 4");
        legend.Add(dashed);
        double room = std::min(320.0, std::max(200.0, 0.7 * width));
        double top = y + 44 + NarrowTitleRoom(text.distanceAxis, width);
        panel = {0, top, width - NARROW_EDGE - 6, top + room};
    }
    ChartAxis up = {0, 0, panel.bottom, panel.top, true};
    std::vector<AxisTick> distanceTicks = DecadesAround(distances, &up);
    double titleX = -1.0;
    if (narrow) {
        distanceTicks = SpacedLabels(distanceTicks, up, false, 4);
        panel.left = NARROW_EDGE + WidestLabel(distanceTicks) + 10;
        titleX = NARROW_EDGE;
        height = static_cast<int>(panel.bottom + 58);
    }
    ChartAxis steps = {0, 0, panel.left, panel.right, true};
    std::vector<AxisTick> stepTicks = DecadeTicks(1.0, lastStep, &steps);
    if (narrow)
        stepTicks = SpacedLabels(stepTicks, steps, true, 10);
    body.push_back(legend);
    body.push_back(SvgGroup("g")
                       .Set("fill", "none").Set("stroke-width", "1")
                       .Add(BottomAxis("step-axis", panel, steps, stepTicks, true))
                       .Add(LeftAxis("distance-axis", panel, up, distanceTicks,
                                     text.distanceAxis, titleX)));
    body.push_back(AxisTitleUnder(panel, text.stepAxis));

    double level = AxisPixel(up, std::fabs(polylineShare));
    body.push_back(ChartLine(panel.left, level, panel.right, level,
                             {{"id", "polyline-share"}})
                       .Set("stroke", Colour(OPTIMUM_VIOLET)).Set("stroke-width", "2")
                       .Set("stroke-dasharray", "6 4"));
    // The curve ends at the first sample at or under the optimum, on the
    // axis's floor: nothing below it is a distance.
    std::string curve;
    for (const LabCurvePoint &p : points) {
        if (p.step < 1)
            continue;
        if (!std::isfinite(p.time))
            break;
        double distance = std::max(p.time - optimumTime, up.low);
        curve += (curve.empty() ? "" : " ") + SvgNumber(AxisPixel(steps, p.step)) + "," +
                 SvgNumber(AxisPixel(up, distance));
        if (!(p.time > optimumTime))
            break;
    }
    body.push_back(SvgGroup("g")
                       .Set("fill", "none").Set("stroke-width", "2")
                       .Set("stroke-linejoin", "round")
                       .Add(SvgPolyline("optimiser-share", PRINTED_RED, PLAIN_STROKE, curve)));
    return SvgDocument(narrow ? width : WIDTH, height, title, body);
}

std::string LabRefinementPicture(const LabProblem &problem,
                                 const std::vector<LabRefinementRow> &rows,
                                 const LabRefinementText &text, int width)
{
    const bool narrow = IsNarrow(width);
    ChartPanel gapPanel = GAPS, conditionPanel = CONDITIONS;
    std::vector<double> intervals, ruleGaps, exactGaps, conditions;
    for (const LabRefinementRow &r : rows) {
        intervals.push_back(static_cast<double>(r.intervals));
        ruleGaps.push_back(r.optimumTime - r.cycloidTime);
        exactGaps.push_back(r.exactTime - r.cycloidTime);
        conditions.push_back(r.theory.condition);
    }
    double firstN = intervals.empty() ? 1.0 : intervals.front();
    double lastN = intervals.empty() ? 1.0 : intervals.back();
    for (double n : intervals) {
        firstN = std::min(firstN, n);
        lastN = std::max(lastN, n);
    }
    const int fitted = std::min<int>(LAB_FIT_ROWS, static_cast<int>(rows.size()));
    const double ruleSlope = LabLogSlope(intervals, ruleGaps, LAB_FIT_ROWS);
    const double exactSlope = LabLogSlope(intervals, exactGaps, LAB_FIT_ROWS);
    const double conditionSlope = LabLogSlope(intervals, conditions, LAB_FIT_ROWS);

    std::string title = Filled(text.title, {{"x", ShortestNumber(problem.endX)},
                                            {"y", ShortestNumber(problem.endY)},
                                            {"layout", text.names.layout[problem.layout]},
                                            {"rule", text.names.rule[problem.rule]}});
    std::string ruleText = Filled(text.ruleGap, {{"side", text.side[SideOf(ruleGaps)]},
                                                 {"slope", SlopeText(ruleSlope)}});
    std::string exactText = Filled(text.exactGap, {{"side", text.side[SideOf(exactGaps)]},
                                                   {"slope", SlopeText(exactSlope)}});
    std::string conditionText = Filled(text.condition, {{"slope", SlopeText(conditionSlope)}});
    std::string summary;
    if (!rows.empty()) {
        const LabRefinementRow &r = rows.back();
        summary = Filled(text.summary, {{"intervals", GroupedDigits(r.intervals)},
                                        {"rule", SecondsText(ruleGaps.back())},
                                        {"exact", SecondsText(exactGaps.back())},
                                        {"condition", Decimals(r.theory.condition, 0)}});
    }
    summary += (summary.empty() ? "" : " ") + ruleText + ". " + exactText + ". " + conditionText +
               ". " + Filled(text.fit, {{"rows", std::to_string(fitted)}});

    std::vector<SvgElement> body = {ChartStyle(TEXT_RULES), SvgText("desc", summary)};
    SvgElement legend = SvgGroup("g").Set("class", "legend");
    std::string fitText = Filled(text.fit, {{"rows", std::to_string(fitted)}});
    int height = REFINEMENT_HEIGHT;
    if (!narrow) {
        body.push_back(ChartTitle(title));
        legend.Add(LegendLine(GAPS.left, 54, PRINTED_RED, ruleText))
            .Add(DashedLegendLine(GAPS.left, 72, EXACT_BLUE, exactText))
            .Add(TextAt(GAPS.left, 94, fitText))
            .Add(LegendLine(CONDITIONS.left, 500, OPTIMUM_VIOLET, conditionText));
    } else {
        // Narrow: the title and the legend in lines as wide as the picture,
        // each panel under its own entries, filling the width.
        double y = 0.0, right = width - NARROW_EDGE;
        for (SvgElement &line : WrappedTitle(title, width, &y))
            body.push_back(std::move(line));
        legend.Add(WrappedLegendLine(NARROW_EDGE, y + 26, PRINTED_RED, ruleText, right, &y));
        std::vector<SvgElement> dashed =
            WrappedLegendLine(NARROW_EDGE, y + 20, EXACT_BLUE, exactText, right, &y);
        dashed[0].Set("stroke-dasharray", "6 4");
        legend.Add(dashed);
        for (const std::string &line : WrappedLines(fitText, right - NARROW_EDGE, 12.0)) {
            y += 18;
            legend.Add(TextAt(NARROW_EDGE, y + 4, line));
        }
        double room = std::min(300.0, std::max(200.0, 0.65 * width));
        double top = y + 44 + NarrowTitleRoom(text.gapAxis, width);
        gapPanel = {0, top, right - 6, top + room};
        legend.Add(WrappedLegendLine(NARROW_EDGE, gapPanel.bottom + 76, OPTIMUM_VIOLET, conditionText,
                                     right, &y));
        top = y + 44 + NarrowTitleRoom(text.conditionAxis, width);
        conditionPanel = {0, top, right - 6, top + 0.6 * room};
        height = static_cast<int>(conditionPanel.bottom + 58);
    }
    std::vector<double> magnitudes;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        magnitudes.push_back(std::fabs(ruleGaps[i]));
        magnitudes.push_back(std::fabs(exactGaps[i]));
    }
    ChartAxis gapsUp = {0, 0, gapPanel.bottom, gapPanel.top, true};
    std::vector<AxisTick> gapTicks = DecadesAround(magnitudes, &gapsUp);
    ChartAxis conditionsUp = {0, 0, conditionPanel.bottom, conditionPanel.top, true};
    std::vector<AxisTick> conditionTicks = DecadesAround(conditions, &conditionsUp);
    double titleX = -1.0;
    if (narrow) {
        gapTicks = SpacedLabels(gapTicks, gapsUp, false, 4);
        conditionTicks = SpacedLabels(conditionTicks, conditionsUp, false, 4);
        gapPanel.left = conditionPanel.left =
            NARROW_EDGE + std::max(WidestLabel(gapTicks), WidestLabel(conditionTicks)) + 10;
        titleX = NARROW_EDGE;
    }
    ChartAxis across = {0, 0, gapPanel.left, gapPanel.right, true};
    std::vector<AxisTick> intervalTicks = DecadeTicks(firstN, lastN, &across);
    if (narrow)
        intervalTicks = SpacedLabels(intervalTicks, across, true, 10);
    ChartAxis conditionAcross = across;
    conditionAcross.from = conditionPanel.left;
    conditionAcross.to = conditionPanel.right;
    body.push_back(legend);
    body.push_back(SvgGroup("g")
                       .Set("fill", "none").Set("stroke-width", "1")
                       .Add(BottomAxis("gap-intervals-axis", gapPanel, across, intervalTicks, true))
                       .Add(LeftAxis("gap-axis", gapPanel, gapsUp, gapTicks, text.gapAxis, titleX))
                       .Add(BottomAxis("condition-intervals-axis", conditionPanel, conditionAcross,
                                       intervalTicks, true))
                       .Add(LeftAxis("condition-axis", conditionPanel, conditionsUp, conditionTicks,
                                     text.conditionAxis, titleX)));
    body.push_back(AxisTitleUnder(gapPanel, text.intervalsAxis));
    body.push_back(AxisTitleUnder(conditionPanel, text.intervalsAxis));
    body.push_back(SvgGroup("g")
                       .Set("fill", "none").Set("stroke-linejoin", "round")
                       .Add(Series("rule-gap", PRINTED_RED, false, across, gapsUp, intervals,
                                   ruleGaps))
                       .Add(Series("exact-gap", EXACT_BLUE, true, across, gapsUp, intervals,
                                   exactGaps))
                       .Add(Series("condition", OPTIMUM_VIOLET, false, conditionAcross,
                                   conditionsUp, intervals, conditions)));
    return SvgDocument(narrow ? width : WIDTH, height, title, body);
}
