// The fates chart: two panels over one axis of scroll positions.
#include "fates_chart.h"

#include "chart_parts.h"
#include "svg_parts.h"

#include <algorithm>
#include <utility>

namespace {

const int WIDTH = 800;
const int HEIGHT = 660;

// The two panels, and the picture's size.
struct FatesFrame {
    ChartPanel upper, lower;
    int width, height;
    bool narrow;
    double tab;  // how far above the upper panel the marked position's tab is
};

const FatesFrame DESKTOP = {{90, 110, 770, 390}, {90, 450, 770, 590}, WIDTH, HEIGHT, false, 40};
const double MARK_RADIUS = 3.5;

// The chart's axes: positions 1..100 with room at both ends across both
// panels; up the upper panel the printed times, up the lower one the steps
// from which the positions repeat (the step limit for those that do not).
struct FatesAxes {
    ChartAxis across, times, steps;
    std::vector<AxisTick> positionTicks, timeTicks, stepTicks;
};

const char *FateClass(const Fate &f)
{
    return f.period == 0 ? "no-cycle" : f.period == 1 ? "settles" : "swings";
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

FatesAxes AxesOf(const std::vector<Fate> &fates, long stepLimit, const FatesFrame &frame)
{
    const ChartPanel &UPPER = frame.upper, &LOWER = frame.lower;
    FatesAxes axes;
    axes.across = {0.0, ALPHA_POS_MAX + 1.0, UPPER.left, UPPER.right, false};
    axes.positionTicks = PositionTicks();
    double lowest = 0.0, highest = 0.0, firstStep = 1.0, lastStep = 1.0;
    for (std::size_t i = 0; i < fates.size(); ++i) {
        const Fate &f = fates[i];
        lowest = i == 0 ? f.lowUs : std::min<double>(lowest, f.lowUs);
        highest = i == 0 ? f.highUs : std::max<double>(highest, f.highUs);
        double step = f.period == 0 ? stepLimit : f.cycleFrom;
        firstStep = i == 0 ? step : std::min(firstStep, step);
        lastStep = i == 0 ? step : std::max(lastStep, step);
    }
    axes.times = {0, 0, UPPER.bottom, UPPER.top, false};
    axes.timeTicks = LinearTicks(lowest, highest, frame.narrow ? 5 : 8, &axes.times);
    axes.steps = {0, 0, LOWER.bottom, LOWER.top, true};
    axes.stepTicks = DecadeTicks(firstStep, lastStep, &axes.steps);
    return axes;
}

// The chart's texts and legend entries stand two spaces in from the
// elements around them.
SvgElement Indented(SvgElement e)
{
    e.indent = 2;
    return e;
}

// A mark centred on (x, y), its attributes `first` before its place.
SvgElement Mark(double x, double y, std::vector<SvgAttribute> first)
{
    SvgElement mark = SvgEmpty("circle");
    mark.attributes = std::move(first);
    return mark.Set("cx", SvgNumber(x)).Set("cy", SvgNumber(y)).Set("r", SvgNumber(MARK_RADIUS));
}

// One legend entry: its sample mark drawn at (x, y), its text after it.
SvgElement LegendEntry(const char *cls, double x, double y, const std::string &text)
{
    SvgElement entry = Indented(SvgGroup("g", SVG_FLAT_LINES).Set("class", "legend"));
    if (std::string(cls) == "swings")
        entry.Add(ChartLine(x, y - 5, x, y + 5, {{"class", "range"}}))
            .Add(Mark(x, y - 5, {{"class", "swings"}}))
            .Add(Mark(x, y + 5, {{"class", "swings"}}));
    else
        entry.Add(Mark(x, y, {{"class", cls}}));
    return entry.Add(TextAt(x + 10, y + 4, text));
}

// The legend, in one row under the title: the fates that occur, the
// settled always.
std::vector<SvgElement> FatesLegend(const std::vector<Fate> &fates, long stepLimit,
                                    const FatesChartText &text, LegendFlow *flow)
{
    bool anyNoCycle = false, anySwing = false;
    for (const Fate &f : fates) {
        anyNoCycle = anyNoCycle || f.period == 0;
        anySwing = anySwing || f.period >= 2;
    }
    std::vector<std::pair<const char *, std::string>> entries = {{"settles", text.settles}};
    if (anySwing)
        entries.push_back({"swings", text.swings});
    if (anyNoCycle)
        entries.push_back({"no-cycle", Filled(text.noCycle, {{"steps", std::to_string(stepLimit)}})});
    std::vector<SvgElement> legend;
    for (const auto &entry : entries) {
        auto at = PlaceEntry(flow, TextWidth(entry.second), 50);
        legend.push_back(LegendEntry(entry.first, at.first, at.second, entry.second));
    }
    return legend;
}

// The panels for a picture `width` pixels wide, narrower than the
// desktop's: the legend in rows from `legendY` on, the upper panel under
// it with room for the marked position's tab and the limit's label, the
// lower panel under that, both as wide as the room their labels leave.
FatesFrame NarrowFrame(int width, double legendY, const std::vector<Fate> &fates, long stepLimit,
                       const FatesChartText &text)
{
    FatesFrame frame;
    frame.narrow = true;
    frame.width = width;
    frame.tab = 40 + NarrowTitleRoom(text.timeAxis, width);
    double height = std::min(280.0, std::max(180.0, 0.6 * width));
    double top = legendY + 24 + frame.tab;
    frame.upper = {0, top, width - NARROW_EDGE - 6, top + height};
    top = frame.upper.bottom + 60 + NarrowTitleRoom(text.cycleAxis, width);
    frame.lower = {0, top, frame.upper.right, top + 120};
    FatesAxes axes = AxesOf(fates, stepLimit, frame);
    frame.upper.left = frame.lower.left =
        NARROW_EDGE + std::max(WidestLabel(axes.timeTicks), WidestLabel(axes.stepTicks)) + 10;
    frame.height = static_cast<int>(frame.lower.bottom + 58);
    return frame;
}

// The marked position: a band through both panels, with the label on a
// tab at its top, between the legend and the upper panel's title. Nothing
// for a position outside 1..100.
std::vector<SvgElement> MarkedBand(int marked, const ChartAxis &across,
                                   const FatesChartText &text, const FatesFrame &frame)
{
    const ChartPanel &UPPER = frame.upper, &LOWER = frame.lower;
    if (marked < ALPHA_POS_MIN || marked > ALPHA_POS_MAX)
        return {};
    double mx = AxisPixel(across, marked);
    double half = 0.5 * (UPPER.right - UPPER.left) / (across.high - across.low);
    const double tab = frame.tab;
    std::string label = Filled(text.marked, {{"position", std::to_string(marked)}});
    double tabHalf = 0.5 * TextWidth(label) + 6;
    // Narrow, the tab stays inside the picture at either end.
    double tabX = mx;
    if (frame.narrow)
        tabX = std::min(std::max(mx, tabHalf + 2), frame.width - tabHalf - 2);
    return {SvgEmpty("rect")
                .Set("id", "marked-position-tab").Set("x", SvgNumber(tabX - tabHalf))
                .Set("y", SvgNumber(UPPER.top - tab)).Set("width", SvgNumber(2 * tabHalf))
                .Set("height", "18").Set("rx", "3").Set("fill", Colour(MARKED_YELLOW)),
            SvgEmpty("rect")
                .Set("id", "marked-position").Set("x", SvgNumber(mx - half))
                .Set("y", SvgNumber(UPPER.top - tab)).Set("width", SvgNumber(2 * half))
                .Set("height", SvgNumber(LOWER.bottom - UPPER.top + tab))
                .Set("fill", Colour(MARKED_YELLOW)).Set("fill-opacity", "0.6"),
            Indented(TextAt(tabX, UPPER.top - tab + 13, label)
                         .Set("id", "marked-position-label").Set("text-anchor", "middle")
                         .Set("style", "font-weight: bold"))};
}

// The limit, through both panels, labelled on its left where the settled
// positions leave the top of the upper panel empty.
std::vector<SvgElement> LimitLine(double positionLimit, const ChartAxis &across,
                                  const FatesChartText &text, const FatesFrame &frame)
{
    const ChartPanel &UPPER = frame.upper, &LOWER = frame.lower;
    double lx = AxisPixel(across, positionLimit);
    std::string limitText = Filled(text.limit, {{"position", Decimals(positionLimit, 2)}});
    bool labelLeft = lx - 8 - TextWidth(limitText) > UPPER.left;
    // Narrow, where it fits on neither side of the line, it goes under the
    // legend instead, at the picture's left.
    bool apart = frame.narrow && !labelLeft && lx + 8 + TextWidth(limitText) > frame.width;
    SvgElement label = apart ? TextAt(NARROW_EDGE, UPPER.top - frame.tab - 6, limitText)
                             : TextAt(labelLeft ? lx - 8 : lx + 8, UPPER.top + 16, limitText);
    label.Set("id", "stability-limit-label");
    if (labelLeft)
        label.Set("text-anchor", "end");
    label.Set("style", "fill: " + Colour(LIMIT_GREEN) + "; font-weight: bold");
    return {ChartLine(lx, UPPER.top, lx, LOWER.bottom, {{"id", "stability-limit"}})
                .Set("stroke", Colour(LIMIT_GREEN)).Set("stroke-width", "2")
                .Set("stroke-dasharray", "7 4"),
            Indented(label)};
}

// The marks of every position: the range of a swing first, under its two
// ends; then the step its cycle begins, with an arrow up where there is
// none within the limit.
SvgElement FateMarks(const std::vector<Fate> &fates, const FatesAxes &axes,
                     long stepLimit)
{
    SvgElement marks = SvgGroup("g").Set("id", "fates");
    for (const Fate &f : fates) {
        std::string p = std::to_string(f.position);
        const char *cls = FateClass(f);
        double px = AxisPixel(axes.across, f.position);
        double low = AxisPixel(axes.times, f.lowUs), high = AxisPixel(axes.times, f.highUs);
        if (f.period >= 2 && f.lowUs != f.highUs)
            marks.Add(ChartLine(px, low, px, high,
                                {{"id", "fate-" + p + "-range"}, {"class", "range"}}));
        marks.Add(Mark(px, low, {{"id", "fate-" + p + "-low"}, {"class", cls}}));
        marks.Add(Mark(px, high, {{"id", "fate-" + p + "-high"}, {"class", cls}}));
        double cy = AxisPixel(axes.steps, f.period == 0 ? stepLimit : f.cycleFrom);
        marks.Add(Mark(px, cy, {{"id", "cycle-" + p}, {"class", cls}}));
        if (f.period == 0)
            marks.Add(SvgEmpty("path").Set("class", "arrow").Set(
                "d", "M" + SvgNumber(px) + "," + SvgNumber(cy - MARK_RADIUS - 1) + " V" +
                         SvgNumber(cy - 16) + " M" + SvgNumber(px - 3) + "," +
                         SvgNumber(cy - 12) + " L" + SvgNumber(px) + "," + SvgNumber(cy - 16) +
                         " L" + SvgNumber(px + 3) + "," + SvgNumber(cy - 12)));
    }
    return marks;
}

} // namespace

std::string FatesChart(const std::vector<Fate> &fates, long stepLimit,
                       double positionLimit, int marked, const FatesChartText &text, int width)
{
    FatesFrame frame = DESKTOP;
    std::vector<SvgElement> body = {ChartStyle(TEXT_AND_FATE_RULES)};
    LegendFlow flow = StartLegend(DESKTOP.upper.left, 1e9, 58, 0);
    if (IsNarrow(width)) {
        double y = 0.0;
        for (SvgElement &line : WrappedTitle(text.title, width, &y))
            body.push_back(std::move(line));
        flow = StartLegend(NARROW_EDGE + 4, width - NARROW_EDGE, y + 28, 20);
    } else {
        body.push_back(ChartTitle(text.title));
    }
    // Its marks clear of the marked position's tab.
    for (SvgElement &e : FatesLegend(fates, stepLimit, text, &flow))
        body.push_back(std::move(e));
    if (IsNarrow(width))
        frame = NarrowFrame(width, flow.y + 20, fates, stepLimit, text);
    const ChartPanel &UPPER = frame.upper, &LOWER = frame.lower;
    FatesAxes axes = AxesOf(fates, stepLimit, frame);
    if (frame.narrow)
        axes.positionTicks = SpacedLabels(axes.positionTicks, axes.across, true, 6);
    for (SvgElement &e : MarkedBand(marked, axes.across, text, frame))
        body.push_back(std::move(e));
    double titleX = frame.narrow ? NARROW_EDGE : -1.0;
    body.push_back(
        SvgGroup("g")
            .Set("fill", "none").Set("stroke-width", "1")
            .Add(BottomAxis("position-axis-upper", UPPER, axes.across, axes.positionTicks, true))
            .Add(LeftAxis("time-axis", UPPER, axes.times, axes.timeTicks, text.timeAxis, titleX))
            .Add(BottomAxis("position-axis", LOWER, axes.across, axes.positionTicks, true))
            .Add(LeftAxis("cycle-axis", LOWER, axes.steps, axes.stepTicks, text.cycleAxis, titleX)));
    body.push_back(Indented(TextAt(0.5 * (LOWER.left + LOWER.right), LOWER.bottom + 42,
                                   text.positionAxis)
                                .Set("class", "axis-title").Set("text-anchor", "middle")));
    for (SvgElement &e : LimitLine(positionLimit, axes.across, text, frame))
        body.push_back(std::move(e));
    body.push_back(FateMarks(fates, axes, stepLimit));
    return SvgDocument(frame.width, frame.height, text.title, body);
}
