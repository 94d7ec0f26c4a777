// The fates chart: two panels over one axis of scroll positions.
#include "fates_chart.h"

#include "chart_parts.h"
#include "descent_run.h"
#include "svg_parts.h"

#include <algorithm>

namespace {

const int WIDTH = 800;
const int HEIGHT = 660;
const ChartPanel UPPER = {90, 110, 770, 390};
const ChartPanel LOWER = {90, 450, 770, 590};
const double MARK_RADIUS = 3.5;
const char LIMIT_COLOUR[] = "#2f9e44";

const char STYLE[] =
    "<style>\n"
    "  text { font-family: sans-serif; font-size: 12px; fill: #222222; stroke: none }\n"
    "  .title { font-size: 17px; font-weight: bold }\n"
    "  .axis-title { font-size: 13px }\n"
    "  .settles { fill: #2b6cb0; stroke: none }\n"
    "  .swings { fill: #e8590c; stroke: none }\n"
    "  .no-cycle { fill: white; stroke: #666666; stroke-width: 1.5 }\n"
    "  .range { stroke: #e8590c; stroke-width: 2 }\n"
    "  .arrow { stroke: #666666; stroke-width: 1.5; fill: none }\n"
    "</style>\n";

const char *FateClass(const PositionFate &f)
{
    return f.period == 0 ? "no-cycle" : f.period == 1 ? "settles" : "swings";
}

std::string Circle(const std::string &id, const char *cls, double x, double y)
{
    return "  <circle id=\"" + id + "\" class=\"" + cls + "\" cx=\"" + SvgNumber(x) + "\" cy=\"" +
           SvgNumber(y) + "\" r=\"" + SvgNumber(MARK_RADIUS) + "\"/>\n";
}

std::string Text(double x, double y, const char *extra, const std::string &text)
{
    return "  <text x=\"" + SvgNumber(x) + "\" y=\"" + SvgNumber(y) + "\"" + extra + ">" +
           SvgEscaped(text) + "</text>\n";
}

// One legend entry: its sample mark drawn at (x, y), its text after it.
std::string LegendEntry(const char *cls, double x, double y, const std::string &text)
{
    std::string entry = "  <g class=\"legend\">\n";
    if (std::string(cls) == "swings")
        entry += "  <line class=\"range\" x1=\"" + SvgNumber(x) + "\" y1=\"" + SvgNumber(y - 5) +
                 "\" x2=\"" + SvgNumber(x) + "\" y2=\"" + SvgNumber(y + 5) + "\"/>\n" +
                 "  <circle class=\"swings\" cx=\"" + SvgNumber(x) + "\" cy=\"" + SvgNumber(y - 5) +
                 "\" r=\"" + SvgNumber(MARK_RADIUS) + "\"/>\n" +
                 "  <circle class=\"swings\" cx=\"" + SvgNumber(x) + "\" cy=\"" + SvgNumber(y + 5) +
                 "\" r=\"" + SvgNumber(MARK_RADIUS) + "\"/>\n";
    else
        entry += "  <circle class=\"" + std::string(cls) + "\" cx=\"" + SvgNumber(x) + "\" cy=\"" +
                 SvgNumber(y) + "\" r=\"" + SvgNumber(MARK_RADIUS) + "\"/>\n";
    return entry + Text(x + 10, y + 4, "", text) + "  </g>\n";
}

std::vector<AxisTick> PositionTicks()
{
    std::vector<AxisTick> ticks;
    for (int p = 0; p <= ALPHA_POS_MAX; p += 10) {
        AxisTick t;
        t.value = p == 0 ? ALPHA_POS_MIN : p;
        t.label = std::to_string(static_cast<int>(t.value));
        ticks.push_back(t);
    }
    return ticks;
}

} // namespace

const FatesChartText &FatesChartEnglish()
{
    static const FatesChartText text = {
        "What the descent from the chord ends in, scroll position by scroll position",
        "scroll position (step factor = position \xC3\x97 2e-6)",
        "printed time over the cycle (millionths of a second)",
        "step from which the descent repeats itself (log scale)",
        "settles: the polyline stops",
        "swings: lowest and highest printed time",
        "no repeat within {} steps",
        "limit of the linear theory, 2/(299 \xCE\xBB" "max): position {}",
        "position {}",
    };
    return text;
}

std::string FatesChart(const std::vector<PositionFate> &fates, long stepLimit,
                       double positionLimit, int marked, const FatesChartText &text)
{
    // The axes: positions 1..100 with room at both ends; the printed times
    // and the steps that occur.
    ChartAxis across = {0.0, ALPHA_POS_MAX + 1.0, UPPER.left, UPPER.right, false};
    double lowest = 0.0, highest = 0.0, firstStep = 1.0, lastStep = 1.0;
    bool anyNoCycle = false, anySwing = false;
    for (std::size_t i = 0; i < fates.size(); ++i) {
        const PositionFate &f = fates[i];
        lowest = i == 0 ? f.lowUs : std::min<double>(lowest, f.lowUs);
        highest = i == 0 ? f.highUs : std::max<double>(highest, f.highUs);
        double step = f.period == 0 ? stepLimit : f.cycleFrom;
        firstStep = i == 0 ? step : std::min(firstStep, step);
        lastStep = i == 0 ? step : std::max(lastStep, step);
        anyNoCycle = anyNoCycle || f.period == 0;
        anySwing = anySwing || f.period >= 2;
    }
    ChartAxis times = {0, 0, UPPER.bottom, UPPER.top, false};
    std::vector<AxisTick> timeTicks = LinearTicks(lowest, highest, 8, &times);
    ChartAxis steps = {0, 0, LOWER.bottom, LOWER.top, true};
    std::vector<AxisTick> stepTicks = DecadeTicks(firstStep, lastStep, &steps);
    std::vector<AxisTick> positionTicks = PositionTicks();

    std::string svg = SvgStart(WIDTH, HEIGHT, text.title);
    svg += STYLE;
    svg += "<text class=\"title\" x=\"30\" y=\"30\">" + SvgEscaped(text.title) + "</text>\n";

    // The legend, in one row under the title.
    double x = UPPER.left;
    const double legendY = 58;  // its marks clear of the marked position's tab
    std::string legend = LegendEntry("settles", x, legendY, text.settles);
    x += TextWidth(text.settles) + 50;
    if (anySwing) {
        legend += LegendEntry("swings", x, legendY, text.swings);
        x += TextWidth(text.swings) + 50;
    }
    if (anyNoCycle)
        legend += LegendEntry("no-cycle", x, legendY,
                              Filled(text.noCycle, {std::to_string(stepLimit)}));
    svg += legend;

    if (marked >= ALPHA_POS_MIN && marked <= ALPHA_POS_MAX) {
        double mx = AxisPixel(across, marked);
        double half = 0.5 * (UPPER.right - UPPER.left) / (across.high - across.low);
        // A band through both panels, with the label on a tab at its top,
        // between the legend and the upper panel's title.
        const double tab = 40;
        std::string label = Filled(text.marked, {std::to_string(marked)});
        double tabHalf = 0.5 * TextWidth(label) + 6;
        svg += "<rect id=\"marked-position-tab\" x=\"" + SvgNumber(mx - tabHalf) + "\" y=\"" +
               SvgNumber(UPPER.top - tab) + "\" width=\"" + SvgNumber(2 * tabHalf) +
               "\" height=\"18\" rx=\"3\" fill=\"#ffe066\"/>\n";
        svg += "<rect id=\"marked-position\" x=\"" + SvgNumber(mx - half) + "\" y=\"" +
               SvgNumber(UPPER.top - tab) + "\" width=\"" + SvgNumber(2 * half) + "\" height=\"" +
               SvgNumber(LOWER.bottom - UPPER.top + tab) +
               "\" fill=\"#ffe066\" fill-opacity=\"0.6\"/>\n";
        svg += Text(mx, UPPER.top - tab + 13,
                    " id=\"marked-position-label\" text-anchor=\"middle\" "
                    "style=\"font-weight: bold\"",
                    label);
    }

    svg += "<g fill=\"none\" stroke-width=\"1\">\n";
    svg += BottomAxis("position-axis-upper", UPPER, across, positionTicks, true);
    svg += LeftAxis("time-axis", UPPER, times, timeTicks, text.timeAxis);
    svg += BottomAxis("position-axis", LOWER, across, positionTicks, true);
    svg += LeftAxis("cycle-axis", LOWER, steps, stepTicks, text.cycleAxis);
    svg += "</g>\n";
    svg += Text(0.5 * (LOWER.left + LOWER.right), LOWER.bottom + 42,
                " class=\"axis-title\" text-anchor=\"middle\"", text.positionAxis);

    // The limit, through both panels, labelled on its left where the
    // settled positions leave the top of the upper panel empty.
    double lx = AxisPixel(across, positionLimit);
    std::string limitText = Filled(text.limit, {Decimals(positionLimit, 2)});
    bool labelLeft = lx - 8 - TextWidth(limitText) > UPPER.left;
    svg += "<line id=\"stability-limit\" x1=\"" + SvgNumber(lx) + "\" y1=\"" +
           SvgNumber(UPPER.top) + "\" x2=\"" + SvgNumber(lx) + "\" y2=\"" +
           SvgNumber(LOWER.bottom) + "\" stroke=\"" + LIMIT_COLOUR +
           "\" stroke-width=\"2\" stroke-dasharray=\"7 4\"/>\n";
    svg += Text(labelLeft ? lx - 8 : lx + 8, UPPER.top + 16,
                labelLeft ? " id=\"stability-limit-label\" text-anchor=\"end\" "
                            "style=\"fill: #2f9e44; font-weight: bold\""
                          : " id=\"stability-limit-label\" "
                            "style=\"fill: #2f9e44; font-weight: bold\"",
                limitText);

    // The marks: the range of a swing first, under its two ends.
    std::string marks;
    for (const PositionFate &f : fates) {
        std::string p = std::to_string(f.position);
        const char *cls = FateClass(f);
        double px = AxisPixel(across, f.position);
        double low = AxisPixel(times, f.lowUs), high = AxisPixel(times, f.highUs);
        if (f.period >= 2 && f.lowUs != f.highUs)
            marks += "  <line id=\"fate-" + p + "-range\" class=\"range\" x1=\"" + SvgNumber(px) +
                     "\" y1=\"" + SvgNumber(low) + "\" x2=\"" + SvgNumber(px) + "\" y2=\"" +
                     SvgNumber(high) + "\"/>\n";
        marks += Circle("fate-" + p + "-low", cls, px, low);
        marks += Circle("fate-" + p + "-high", cls, px, high);
        double cy = AxisPixel(steps, f.period == 0 ? stepLimit : f.cycleFrom);
        marks += Circle("cycle-" + p, cls, px, cy);
        if (f.period == 0)
            marks += "  <path class=\"arrow\" d=\"M" + SvgNumber(px) + "," +
                     SvgNumber(cy - MARK_RADIUS - 1) + " V" + SvgNumber(cy - 16) + " M" +
                     SvgNumber(px - 3) + "," + SvgNumber(cy - 12) + " L" + SvgNumber(px) + "," +
                     SvgNumber(cy - 16) + " L" + SvgNumber(px + 3) + "," + SvgNumber(cy - 12) +
                     "\"/>\n";
    }
    svg += "<g id=\"fates\">\n" + marks + "</g>\n";
    svg += "</svg>\n";
    return svg;
}
