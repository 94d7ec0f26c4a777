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

std::string CompareChart(const std::vector<MethodCurve> &curves, const MethodChartText &text)
{
    long lastStep = 1;
    double highest = FLOOR_DISTANCE;
    for (const MethodCurve &c : curves) {
        for (const RunSample &p : c.points) {
            lastStep = std::max(lastStep, p.step);
            highest = std::max(highest, p.distance);
        }
    }
    ChartAxis steps = {0, 0, COMPARE.left, COMPARE.right, true};
    std::vector<AxisTick> stepTicks = DecadeTicks(1.0, lastStep, &steps);
    ChartAxis distances = {0, 0, COMPARE.bottom, COMPARE.top, true};
    // At least a decade, also before any curve has a point.
    int bottom = static_cast<int>(std::lround(std::log10(FLOOR_DISTANCE)));
    int top = std::max(bottom + 1, static_cast<int>(std::ceil(std::log10(highest))));
    std::vector<AxisTick> distanceTicks = PowerTicks(bottom, top, &distances);

    std::vector<SvgElement> body = {ChartStyle(TEXT_RULES), ChartTitle(text.compareTitle)};
    SvgElement legend = SvgGroup("g").Set("class", "legend");
    for (std::size_t i = 0; i < curves.size(); ++i) {
        double x = COMPARE.left + (i % 2) * 340.0, y = 54 + (i / 2) * 18.0;
        PictureColour colour = CurveColour(curves[i].setting.method);
        legend.Add(ChartLine(x, y, x + 24, y).Set("stroke", Colour(colour)).Set("stroke-width", "2.5"));
        legend.Add(TextAt(x + 30, y + 4, SettingText(curves[i].setting, text)));
    }
    body.push_back(legend);
    body.push_back(SvgGroup("g")
                       .Set("fill", "none").Set("stroke-width", "1")
                       .Add(BottomAxis("step-axis", COMPARE, steps, stepTicks, true))
                       .Add(LeftAxis("distance-axis", COMPARE, distances, distanceTicks,
                                     text.distanceAxis)));
    body.push_back(TextAt(0.5 * (COMPARE.left + COMPARE.right), COMPARE.bottom + 42, text.stepAxis)
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
    return SvgDocument(WIDTH, COMPARE_HEIGHT, text.compareTitle, body);
}

std::string MapChart(Method method, const std::vector<Fate> &cells,
                     const std::vector<double> &betas, long stepLimit,
                     const StabilityFigures &figures, const MethodChartText &text)
{
    const double cellWidth = 5.0, cellHeight = 0.05;
    ChartAxis across = {0.5 * cellWidth, METHOD_POS_MAX + 0.5 * cellWidth, MAP.left, MAP.right,
                        false};
    ChartAxis up = {-0.5 * cellHeight, 1.0 - 0.5 * cellHeight, MAP.bottom, MAP.top, false};
    std::vector<AxisTick> positionTicks, betaTicks;
    for (int p = 20; p <= METHOD_POS_MAX; p += 20)
        positionTicks.push_back(AxisTick{static_cast<double>(p), std::to_string(p)});
    for (int k = 0; k <= 9; k += 1)
        betaTicks.push_back(AxisTick{k / 10.0, Decimals(k / 10.0, 1)});

    std::int32_t widest = 0;
    for (const Fate &c : cells)
        widest = std::max(widest, c.highUs - c.lowUs);
    std::string title = Filled(text.mapTitle, {{"method", text.method[method]},
                                                {"steps", GroupedDigits(stepLimit)}});
    std::vector<SvgElement> body = {ChartStyle(TEXT_AND_FATE_RULES), ChartTitle(title)};

    SvgElement legend = SvgGroup("g").Set("class", "legend");
    const std::string legendTexts[] = {text.settles,
                                       Filled(text.swings, {{"spread", GroupedDigits(widest)}}),
                                       text.noCycle};
    const std::string legendFills[] = {Colour(SPREAD_LOW), Colour(SPREAD_HIGH), Colour(PAPER)};
    const double legendAt[] = {0.0, 200.0, 480.0};
    for (int i = 0; i < 3; ++i) {
        double x = MAP.left + legendAt[i];
        SvgElement swatch = SvgEmpty("rect").Set("x", SvgNumber(x)).Set("y", "48")
                                .Set("width", "14").Set("height", "14")
                                .Set("style", "fill: " + legendFills[i]);
        if (i == 2)
            swatch.Set("class", "no-cycle");
        legend.Add(swatch);
        legend.Add(TextAt(x + 20, 60, legendTexts[i]));
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
                       .Add(BottomAxis("position-axis", MAP, across, positionTicks, true))
                       .Add(LeftAxis("beta-axis", MAP, up, betaTicks, text.betaAxis)));
    body.push_back(TextAt(0.5 * (MAP.left + MAP.right), MAP.bottom + 42, text.positionAxis)
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
    MethodSetting best = BestSetting(method, figures);
    double bx = AxisPixel(across, best.position), by = AxisPixel(up, best.beta);
    body.push_back(SvgEmpty("circle")
                       .Set("id", "best-setting").Set("cx", SvgNumber(bx)).Set("cy", SvgNumber(by))
                       .Set("r", "6").Set("fill", "none").Set("stroke", Colour(INK))
                       .Set("stroke-width", "2.5"));
    body.push_back(SvgGroup("g").Set("class", "legend")
                       .Add(ChartLine(MAP.left, 84, MAP.left + 24, 84)
                                .Set("stroke", Colour(LIMIT_GREEN)).Set("stroke-width", "3"))
                       .Add(TextAt(MAP.left + 30, 88, text.limit))
                       .Add(SvgEmpty("circle").Set("cx", SvgNumber(MAP.left + 260)).Set("cy", "84")
                                .Set("r", "6").Set("fill", "none").Set("stroke", Colour(INK))
                                .Set("stroke-width", "2.5"))
                       .Add(TextAt(MAP.left + 272, 88,
                                   Filled(text.best, {{"position", Decimals(best.position, 2)},
                                                      {"beta", Decimals(best.beta, 3)}}))));
    return SvgDocument(WIDTH, MAP_HEIGHT, title, body);
}
