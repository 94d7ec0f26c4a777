// The comparison of the methods and the map of fates.
#include "method_charts.h"

#include "chart_parts.h"
#include "svg_parts.h"

#include <algorithm>
#include <cmath>

namespace {

const int WIDTH = 800;
const int COMPARE_HEIGHT = 540;
const ChartPanel COMPARE = {90, 130, 770, 470};
const int MAP_HEIGHT = 560;
const ChartPanel MAP = {70, 110, 770, 490};
const double FLOOR_DISTANCE = 1e-16;  // seconds: the floor of the distance axis

PictureColour CurveColour(Method method)
{
    switch (method) {
    case METHOD_PROGRAM: return POLYLINE_COLOUR;
    case METHOD_GRADIENT: return EXACT_BLUE;
    case METHOD_HEAVY_BALL: return SWINGS_ORANGE;
    case METHOD_NESTEROV: return LIMIT_GREEN;
    case METHOD_NEWTON: return NEWTON_PURPLE;
    case METHOD_COUNT: break;
    }
    return INK;
}

// cell-P-K, K the momentum in hundredths.
std::string CellId(const Fate &c, double beta)
{
    return "cell-" + std::to_string(c.position) + "-" + MapCellBetaId(beta);
}

// A beta as typed (0.35), or with three decimals where it was worked out.
std::string ShortestBeta(double beta)
{
    for (int decimals = 0; decimals <= 2; ++decimals)
        if (std::stod(Decimals(beta, decimals)) == beta)
            return Decimals(beta, decimals);
    return Decimals(beta, 3);
}

} // namespace

std::string MapCellBetaId(double beta)
{
    return std::to_string(static_cast<int>(std::lround(beta * 100.0)));
}

std::string SettingText(const MethodSetting &s, const MethodChartText &text)
{
    const std::string &name = text.method[s.method];
    switch (s.method) {
    case METHOD_NEWTON: return name;
    case METHOD_HEAVY_BALL:
    case METHOD_NESTEROV:
    {
        bool whole = s.position == static_cast<long>(s.position);
        return Filled(text.setting, {{"method", name},
                                     {"position", Decimals(s.position, whole ? 0 : 2)},
                                     {"beta", ShortestBeta(s.beta)}});
    }
    default: {
        bool whole = s.position == static_cast<long>(s.position);
        return Filled(text.positionOnly,
                      {{"method", name}, {"position", Decimals(s.position, whole ? 0 : 2)}});
    }
    }
}

std::string CompareChart(const std::vector<MethodCurve> &curves, const MethodChartText &text,
                         int width)
{
    const bool narrow = IsNarrow(width);
    ChartPanel panel = COMPARE;
    std::vector<SvgElement> body = {ChartStyle(TEXT_RULES)};
    std::vector<std::pair<double, double>> legendAt;
    int height = COMPARE_HEIGHT;
    if (!narrow) {
        body.push_back(ChartTitle(text.compareTitle));
        for (std::size_t i = 0; i < curves.size(); ++i)
            legendAt.push_back({panel.left + (i % 2) * 340.0, 54 + (i / 2) * 18.0});
    } else {
        // Narrow: the title in lines, an entry of the legend a row, the
        // panel under them filling the width.
        double y = 0.0;
        for (SvgElement &line : WrappedTitle(text.compareTitle, width, &y))
            body.push_back(std::move(line));
        LegendFlow flow = StartLegend(NARROW_EDGE, width - NARROW_EDGE, y + 26, 20);
        for (const MethodCurve &c : curves)
            legendAt.push_back(PlaceEntry(&flow, 30 + TextWidth(SettingText(c.setting, text)), 24));
        double room = std::min(340.0, std::max(220.0, 0.75 * width));
        double top = flow.y + 44 + NarrowTitleRoom(text.distanceAxis, width);
        panel = {0, top, width - NARROW_EDGE - 6, top + room};
    }
    long lastStep = 1;
    double highest = FLOOR_DISTANCE;
    for (const MethodCurve &c : curves) {
        for (const RunSample &p : c.points) {
            lastStep = std::max(lastStep, p.step);
            highest = std::max(highest, p.distance);
        }
    }
    ChartAxis steps = {0, 0, panel.left, panel.right, true};
    std::vector<AxisTick> stepTicks = DecadeTicks(1.0, lastStep, &steps);
    ChartAxis distances = {0, 0, panel.bottom, panel.top, true};
    // At least a decade, also before any curve has a point.
    int bottom = static_cast<int>(std::lround(std::log10(FLOOR_DISTANCE)));
    int top = std::max(bottom + 1, static_cast<int>(std::ceil(std::log10(highest))));
    std::vector<AxisTick> distanceTicks = PowerTicks(bottom, top, &distances);
    double titleX = -1.0;
    if (narrow) {
        distanceTicks = SpacedLabels(distanceTicks, distances, false, 4);
        panel.left = NARROW_EDGE + WidestLabel(distanceTicks) + 10;
        steps.from = panel.left;
        stepTicks = SpacedLabels(stepTicks, steps, true, 10);
        titleX = NARROW_EDGE;
        height = static_cast<int>(panel.bottom + 58);
    }

    SvgElement legend = SvgGroup("g").Set("class", "legend");
    for (std::size_t i = 0; i < curves.size(); ++i) {
        double x = legendAt[i].first, y = legendAt[i].second;
        PictureColour colour = CurveColour(curves[i].setting.method);
        legend.Add(ChartLine(x, y, x + 24, y).Set("stroke", Colour(colour)).Set("stroke-width", "2.5"));
        legend.Add(TextAt(x + 30, y + 4, SettingText(curves[i].setting, text)));
    }
    body.push_back(legend);
    body.push_back(SvgGroup("g")
                       .Set("fill", "none").Set("stroke-width", "1")
                       .Add(BottomAxis("step-axis", panel, steps, stepTicks, true))
                       .Add(LeftAxis("distance-axis", panel, distances, distanceTicks,
                                     text.distanceAxis, titleX)));
    body.push_back(TextAt(0.5 * (panel.left + panel.right), panel.bottom + 42, text.stepAxis)
                       .Set("class", "axis-title").Set("text-anchor", "middle"));

    SvgElement lines = SvgGroup("g").Set("fill", "none").Set("stroke-width", "2")
                           .Set("stroke-linejoin", "round");
    for (const MethodCurve &c : curves) {
        std::string d;
        for (const RunSample &p : c.points) {
            double distance = std::max(p.distance, FLOOR_DISTANCE);
            d += (d.empty() ? "M" : " L") + SvgNumber(AxisPixel(steps, p.step)) + "," +
                 SvgNumber(AxisPixel(distances, distance));
        }
        lines.Add(SvgEmpty("path")
                      .Set("id", std::string("curve-") + METHOD_NAME[c.setting.method])
                      .Set("stroke", Colour(CurveColour(c.setting.method))).Set("d", d));
    }
    body.push_back(lines);
    return SvgDocument(narrow ? width : WIDTH, height, text.compareTitle, body);
}

std::string MapChart(Method method, const std::vector<Fate> &cells,
                     const std::vector<double> &betas, long stepLimit,
                     const StabilityFigures &figures, const MethodChartText &text, int width)
{
    const bool narrow = IsNarrow(width);
    const double cellWidth = 5.0, cellHeight = 0.05;
    std::int32_t widest = 0;
    for (const Fate &c : cells)
        widest = std::max(widest, c.highUs - c.lowUs);
    std::string title = Filled(text.mapTitle, {{"method", text.method[method]},
                                                {"steps", GroupedDigits(stepLimit)}});
    std::vector<SvgElement> body = {ChartStyle(TEXT_AND_FATE_RULES)};
    const std::string legendTexts[] = {text.settles,
                                       Filled(text.swings, {{"spread", GroupedDigits(widest)}}),
                                       text.noCycle};
    MethodSetting best = BestSetting(method, figures);
    std::string bestText = Filled(text.best, {{"position", Decimals(best.position, 2)},
                                              {"beta", Decimals(best.beta, 3)}});
    // The legend: the three kinds of cell in a row, then the limit's line
    // and the best setting's ring in another; narrow, in rows as they fit.
    ChartPanel panel = MAP;
    std::vector<std::string> bestLines = {bestText};
    std::pair<double, double> swatchAt[3], limitAt = {panel.left, 84}, bestAt = {panel.left + 260, 84};
    int height = MAP_HEIGHT;
    if (!narrow) {
        body.push_back(ChartTitle(title));
        const double legendAt[] = {0.0, 200.0, 480.0};
        for (int i = 0; i < 3; ++i)
            swatchAt[i] = {panel.left + legendAt[i], 48};
    } else {
        double y = 0.0;
        for (SvgElement &line : WrappedTitle(title, width, &y))
            body.push_back(std::move(line));
        LegendFlow flow = StartLegend(NARROW_EDGE, width - NARROW_EDGE, y + 26, 20);
        for (int i = 0; i < 3; ++i) {
            auto at = PlaceEntry(&flow, 20 + TextWidth(legendTexts[i]), 24);
            swatchAt[i] = {at.first, at.second - 12};
        }
        flow.x = flow.right;
        auto at = PlaceEntry(&flow, 30 + TextWidth(text.limit), 24);
        limitAt = {at.first, at.second - 4};
        bestLines = WrappedLines(bestText, flow.right - flow.left - 20, 12.0);
        at = PlaceEntry(&flow, 12 + TextWidth(bestLines[0]), 24);
        bestAt = {at.first + 6, at.second - 4};
        flow.y += 16.0 * (bestLines.size() - 1);
        double room = std::min(380.0, std::max(220.0, 0.8 * width));
        double top = flow.y + 40 + NarrowTitleRoom(text.betaAxis, width);
        panel = {NARROW_EDGE + TextWidth("0.0") + 10, top, width - NARROW_EDGE - 6, top + room};
        height = static_cast<int>(panel.bottom + 58);
    }
    ChartAxis across = {0.5 * cellWidth, METHOD_POS_MAX + 0.5 * cellWidth, panel.left, panel.right,
                        false};
    ChartAxis up = {-0.5 * cellHeight, 1.0 - 0.5 * cellHeight, panel.bottom, panel.top, false};
    std::vector<AxisTick> positionTicks, betaTicks;
    for (int p = 20; p <= METHOD_POS_MAX; p += 20)
        positionTicks.push_back(AxisTick{static_cast<double>(p), std::to_string(p)});
    for (int k = 0; k <= 9; k += 1)
        betaTicks.push_back(AxisTick{k / 10.0, Decimals(k / 10.0, 1)});
    if (narrow) {
        positionTicks = SpacedLabels(positionTicks, across, true, 6);
        betaTicks = SpacedLabels(betaTicks, up, false, 2);
    }

    SvgElement legend = SvgGroup("g").Set("class", "legend");
    const std::string legendFills[] = {Colour(SPREAD_LOW), Colour(SPREAD_HIGH), Colour(PAPER)};
    for (int i = 0; i < 3; ++i) {
        double x = swatchAt[i].first;
        SvgElement swatch = SvgEmpty("rect").Set("x", SvgNumber(x))
                                .Set("y", narrow ? SvgNumber(swatchAt[i].second) : "48")
                                .Set("width", "14").Set("height", "14")
                                .Set("style", "fill: " + legendFills[i]);
        if (i == 2)
            swatch.Set("class", "no-cycle");
        legend.Add(swatch);
        legend.Add(TextAt(x + 20, swatchAt[i].second + 12, legendTexts[i]));
    }
    body.push_back(legend);

    SvgElement grid = SvgGroup("g").Set("id", "cells");
    const double spreadScale = std::log1p(static_cast<double>(std::max<std::int32_t>(widest, 1)));
    for (const Fate &c : cells) {
        const double beta = betas[static_cast<std::size_t>(c.beta)];
        std::int32_t spread = c.highUs - c.lowUs;
        std::string cls = spread == 0 ? "settles" : "swings";
        if (c.period == 0)
            cls += " no-cycle";
        double t = spread == 0 ? 0.0 : std::log1p(static_cast<double>(spread)) / spreadScale;
        double left = AxisPixel(across, c.position - 0.5 * cellWidth);
        double right = AxisPixel(across, c.position + 0.5 * cellWidth);
        double topY = AxisPixel(up, beta + 0.5 * cellHeight);
        double bottomY = AxisPixel(up, beta - 0.5 * cellHeight);
        grid.Add(SvgEmpty("rect")
                     .Set("id", CellId(c, beta)).Set("class", cls)
                     .Set("x", SvgNumber(left + 0.5)).Set("y", SvgNumber(topY + 0.5))
                     .Set("width", SvgNumber(right - left - 1.0))
                     .Set("height", SvgNumber(bottomY - topY - 1.0))
                     .Set("style", "fill: " + MixedColour(SPREAD_LOW, SPREAD_HIGH, t)));
    }
    body.push_back(grid);
    body.push_back(SvgGroup("g")
                       .Set("fill", "none").Set("stroke-width", "1")
                       .Add(BottomAxis("position-axis", panel, across, positionTicks, true))
                       .Add(LeftAxis("beta-axis", panel, up, betaTicks, text.betaAxis,
                                     narrow ? NARROW_EDGE : -1.0)));
    body.push_back(TextAt(0.5 * (panel.left + panel.right), panel.bottom + 42, text.positionAxis)
                       .Set("class", "axis-title").Set("text-anchor", "middle"));

    // The theory's limit for every beta from 0 to 0.99, as far as the map
    // reaches.
    std::string points;
    for (int k = 0; k <= 99; ++k) {
        double beta = k / 100.0;
        double p = TheoryOfMethod(method, beta, figures).positionLimit;
        if (p > across.high)
            break;
        points += (points.empty() ? "" : " ") + SvgNumber(AxisPixel(across, p)) + "," +
                  SvgNumber(AxisPixel(up, beta));
    }
    body.push_back(SvgPolyline("stability-limit", LIMIT_GREEN, PLAIN_STROKE, points)
                       .Set("fill", "none").Set("stroke-width", "3"));
    double bx = AxisPixel(across, best.position), by = AxisPixel(up, best.beta);
    body.push_back(SvgEmpty("circle")
                       .Set("id", "best-setting").Set("cx", SvgNumber(bx)).Set("cy", SvgNumber(by))
                       .Set("r", "6").Set("fill", "none").Set("stroke", Colour(INK))
                       .Set("stroke-width", "2.5"));
    body.push_back(SvgGroup("g").Set("class", "legend")
                       .Add(ChartLine(limitAt.first, limitAt.second, limitAt.first + 24,
                                      limitAt.second)
                                .Set("stroke", Colour(LIMIT_GREEN)).Set("stroke-width", "3"))
                       .Add(TextAt(limitAt.first + 30, limitAt.second + 4, text.limit))
                       .Add(SvgEmpty("circle").Set("cx", SvgNumber(bestAt.first))
                                .Set("cy", narrow ? SvgNumber(bestAt.second) : "84")
                                .Set("r", "6").Set("fill", "none").Set("stroke", Colour(INK))
                                .Set("stroke-width", "2.5"))
                       .Add(TextAt(bestAt.first + 12, bestAt.second + 4, bestLines[0])));
    for (std::size_t i = 1; i < bestLines.size(); ++i)
        body.back().Add(TextAt(bestAt.first + 12, bestAt.second + 4 + 16.0 * i, bestLines[i]));
    return SvgDocument(narrow ? width : WIDTH, height, title, body);
}
