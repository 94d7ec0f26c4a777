// Axes, ticks and texts of the charts.
#include "chart_parts.h"

#include "palette.h"
#include "svg_parts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

const double TICK_LENGTH = 5.0;
const double CHARACTER_WIDTH = 6.6;  // about, at 12 px in a sans-serif face

// A tick spacing: 1, 2 or 5 times 10^exponent. Worked out with exact
// powers of ten and the basic operations only, not with the library's pow
// and log10 (which are not correctly rounded everywhere: 0.54 came out
// where 0.56 belonged), so that every build puts the ticks at the same
// values.
struct TickStep {
    double mantissa;
    int exponent;
};

// 10^e: exact for 0 <= e <= 22; for e < 0 the double nearest to it.
double TenTo(int e)
{
    double p = 1.0;
    for (int i = 0; i < (e < 0 ? -e : e); ++i)
        p *= 10.0;
    return e < 0 ? 1.0 / p : p;
}

// n steps, the double nearest to n x mantissa x 10^exponent.
double Steps(double n, const TickStep &step)
{
    return step.exponent >= 0 ? n * step.mantissa * TenTo(step.exponent)
                              : n * step.mantissa / TenTo(-step.exponent);
}

// How many steps v is: v / (mantissa x 10^exponent).
double InSteps(double v, const TickStep &step)
{
    return step.exponent >= 0 ? v / (step.mantissa * TenTo(step.exponent))
                              : v * TenTo(-step.exponent) / step.mantissa;
}

// The spacing nearest to raw (positive) on a log scale.
TickStep RoundStep(double raw)
{
    TickStep step = {1.0, 0};
    while (TenTo(step.exponent + 1) <= raw)
        ++step.exponent;
    while (TenTo(step.exponent) > raw)
        --step.exponent;
    double r = InSteps(raw, step);
    step.mantissa = r < 1.5 ? 1.0 : r < 3.5 ? 2.0 : r < 7.5 ? 5.0 : 1.0;
    if (r >= 7.5)
        ++step.exponent;
    return step;
}

// A rule of the charts' style, and whether only the fates chart has it.
struct StyleRule {
    const char *selector;
    std::string declarations;
    bool fatesOnly;
};

} // namespace

double AxisPixel(const ChartAxis &axis, double value)
{
    double share;
    if (axis.logarithmic) {
        double v = value < axis.low ? axis.low : value;
        share = (std::log10(v) - std::log10(axis.low)) /
                (std::log10(axis.high) - std::log10(axis.low));
    } else {
        share = (value - axis.low) / (axis.high - axis.low);
    }
    return axis.from + share * (axis.to - axis.from);
}

std::vector<AxisTick> LinearTicks(double low, double high, int count, ChartAxis *axis)
{
    if (!(high > low)) {
        double room = std::fabs(low) * 1e-3;
        if (room == 0.0)
            room = 1.0;
        low -= room;
        high += room;
    }
    TickStep step = RoundStep((high - low) / count);
    // A value within rounding of a tick is on it.
    double first = std::floor(InSteps(low, step) + 1e-9);
    double last = std::ceil(InSteps(high, step) - 1e-9);
    int decimals = step.exponent < 0 ? -step.exponent : 0;
    std::vector<AxisTick> ticks;
    for (double n = first; n <= last; n += 1.0) {
        AxisTick t;
        t.value = Steps(n, step);
        t.label = Decimals(t.value, decimals);
        if (t.label == "-" + Decimals(0.0, decimals))
            t.label = Decimals(0.0, decimals);
        ticks.push_back(t);
    }
    axis->low = ticks.front().value;
    axis->high = ticks.back().value;
    axis->logarithmic = false;
    return ticks;
}

std::vector<AxisTick> DecadeTicks(double low, double high, ChartAxis *axis)
{
    double bottom = 1.0;
    while (bottom * 10.0 <= low)
        bottom *= 10.0;
    double top = bottom * 10.0;
    while (top < high)
        top *= 10.0;
    std::vector<AxisTick> ticks;
    for (double p = bottom; p <= top; p *= 10.0) {
        AxisTick t;
        t.value = p;
        t.label = GroupedDigits(static_cast<long long>(p));
        ticks.push_back(t);
    }
    axis->low = bottom;
    axis->high = top;
    axis->logarithmic = true;
    return ticks;
}

std::vector<AxisTick> PowerTicks(int low, int high, ChartAxis *axis)
{
    std::vector<AxisTick> ticks;
    for (int k = low; k <= high; ++k) {
        AxisTick t;
        t.value = std::pow(10.0, k);
        t.label = k == 0 ? "1" : "1e" + std::to_string(k);
        ticks.push_back(t);
    }
    axis->low = std::pow(10.0, low);
    axis->high = std::pow(10.0, high);
    axis->logarithmic = true;
    return ticks;
}

int DecadeAtOrBelow(double v)
{
    int e = 0;
    while (e < 308 && TenTo(e + 1) <= v)
        ++e;
    while (e > -320 && TenTo(e) > v)
        --e;
    return e;
}

int DecadeAtOrAbove(double v)
{
    int e = DecadeAtOrBelow(v);
    return TenTo(e) < v ? e + 1 : e;
}

std::string GroupedDigits(long long v)
{
    std::string digits = std::to_string(v < 0 ? -v : v);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += ' ';
        grouped += digits[i];
    }
    return (v < 0 ? "-" : "") + grouped;
}

SvgElement ChartLine(double x1, double y1, double x2, double y2,
                     std::vector<SvgAttribute> first)
{
    SvgElement line = SvgEmpty("line");
    line.attributes = std::move(first);
    return line.Set("x1", SvgNumber(x1))
        .Set("y1", SvgNumber(y1)).Set("x2", SvgNumber(x2)).Set("y2", SvgNumber(y2));
}

SvgElement TextAt(double x, double y, const std::string &text)
{
    return SvgText("text", text).Set("x", SvgNumber(x)).Set("y", SvgNumber(y));
}

std::vector<SvgElement> LegendLine(double x, double y, PictureColour colour,
                                   const std::string &text)
{
    return {ChartLine(x, y, x + 24, y).Set("stroke", Colour(colour)).Set("stroke-width", "2.5"),
            TextAt(x + 30, y + 4, text)};
}

SvgElement ChartTitle(const std::string &title)
{
    return SvgText("text", title).Set("class", "title").Set("x", "30").Set("y", "30");
}

std::vector<SvgElement> BottomAxis(const char *id, const ChartPanel &panel,
                                   const ChartAxis &axis, const std::vector<AxisTick> &ticks,
                                   bool labelled)
{
    SvgElement grid = SvgGroup("g").Set("class", "grid").Set("stroke", Colour(GRID_GREY));
    SvgElement marks = SvgGroup("g").Set("id", id).Set("stroke", Colour(INK));
    marks.Add(ChartLine(panel.left, panel.bottom, panel.right, panel.bottom));
    for (const AxisTick &t : ticks) {
        double x = AxisPixel(axis, t.value);
        grid.Add(ChartLine(x, panel.top, x, panel.bottom));
        SvgElement tick = SvgGroup("g", SVG_ONE_LINE).Set("class", "tick");
        tick.Add(ChartLine(x, panel.bottom, x, panel.bottom + TICK_LENGTH));
        if (labelled && !t.label.empty())
            tick.Add(SvgText("text", t.label)
                         .Set("x", SvgNumber(x)).Set("y", SvgNumber(panel.bottom + 18))
                         .Set("text-anchor", "middle"));
        marks.Add(tick);
    }
    return {grid, marks};
}

std::vector<SvgElement> LeftAxis(const char *id, const ChartPanel &panel, const ChartAxis &axis,
                                 const std::vector<AxisTick> &ticks, const std::string &title,
                                 double titleX)
{
    SvgElement grid = SvgGroup("g").Set("class", "grid").Set("stroke", Colour(GRID_GREY));
    SvgElement marks = SvgGroup("g").Set("id", id).Set("stroke", Colour(INK));
    marks.Add(ChartLine(panel.left, panel.top, panel.left, panel.bottom));
    for (const AxisTick &t : ticks) {
        double y = AxisPixel(axis, t.value);
        grid.Add(ChartLine(panel.left, y, panel.right, y));
        SvgElement tick = SvgGroup("g", SVG_ONE_LINE).Set("class", "tick");
        tick.Add(ChartLine(panel.left, y, panel.left - TICK_LENGTH, y));
        if (!t.label.empty())
            tick.Add(SvgText("text", t.label)
                         .Set("x", SvgNumber(panel.left - 8)).Set("y", SvgNumber(y + 4))
                         .Set("text-anchor", "end"));
        marks.Add(tick);
    }
    if (titleX < 0) {
        marks.Add(SvgText("text", title)
                      .Set("class", "axis-title").Set("x", SvgNumber(panel.left - 50))
                      .Set("y", SvgNumber(panel.top - 12)));
        return {grid, marks};
    }
    std::vector<std::string> lines = WrappedLines(title, panel.right - titleX, 13.0);
    for (std::size_t i = 0; i < lines.size(); ++i)
        marks.Add(SvgText("text", lines[i])
                      .Set("class", "axis-title").Set("x", SvgNumber(titleX))
                      .Set("y", SvgNumber(panel.top - 12 - 16.0 * (lines.size() - 1 - i))));
    return {grid, marks};
}

SvgElement ChartStyle(ChartRules rules)
{
    const StyleRule all[] = {
        {"text",
         "font-family: sans-serif; font-size: 12px; fill: " + Colour(CHART_TEXT) +
             "; stroke: none",
         false},
        {".title", "font-size: 17px; font-weight: bold", false},
        {".axis-title", "font-size: 13px", false},
        {".settles", "fill: " + Colour(SETTLES_BLUE) + "; stroke: none", true},
        {".swings", "fill: " + Colour(SWINGS_ORANGE) + "; stroke: none", true},
        {".no-cycle",
         "fill: " + Colour(PAPER) + "; stroke: " + Colour(NO_CYCLE_GREY) + "; stroke-width: 1.5",
         true},
        {".range", "stroke: " + Colour(SWINGS_ORANGE) + "; stroke-width: 2", true},
        {".arrow", "stroke: " + Colour(NO_CYCLE_GREY) + "; stroke-width: 1.5; fill: none", true},
    };
    std::string css = "\n";
    for (const StyleRule &rule : all)
        if (rules == TEXT_AND_FATE_RULES || !rule.fatesOnly)
            css += std::string("  ") + rule.selector + " { " + rule.declarations + " }\n";
    return SvgText("style", css);
}

std::string Filled(const std::string &pattern,
                   const std::vector<std::pair<std::string, std::string>> &values)
{
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        std::size_t close = pattern[i] == '{' ? pattern.find('}', i) : std::string::npos;
        const std::string *value = nullptr;
        for (const auto &named : values)
            if (close != std::string::npos && pattern.compare(i + 1, close - i - 1, named.first) == 0 &&
                named.first.size() == close - i - 1)
                value = &named.second;
        if (value) {
            text += *value;
            i = close;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

std::string Decimals(double v, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

std::string ShortestNumber(double v)
{
    // Plain decimals where they are short ("1000", "0.0001"), else the
    // fewest significant digits with an exponent.
    char text[400];
    for (int decimals = 0; decimals <= 17; ++decimals) {
        std::snprintf(text, sizeof text, "%.*f", decimals, v);
        if (std::strtod(text, nullptr) == v) {
            if (std::string(text).size() <= 20)
                return text;
            break;
        }
    }
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, v);
        if (std::strtod(text, nullptr) == v)
            break;
    }
    return text;
}

double TextWidth(const std::string &text)
{
    int characters = 0;
    for (char c : text)
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return CHARACTER_WIDTH * characters;
}

bool IsNarrow(int width, int desktop)
{
    return width > 0 && width < desktop;
}

std::vector<std::string> WrappedLines(const std::string &text, double width, double size)
{
    // A text at `size` pixels is size / 12 times as wide as at 12 (about:
    // TextWidth counts generously, which leaves room for a bold title).
    std::vector<std::string> lines;
    std::string line;
    std::size_t i = 0;
    while (i <= text.size()) {
        std::size_t end = text.find(' ', i);
        if (end == std::string::npos)
            end = text.size();
        std::string word = text.substr(i, end - i);
        std::string longer = line.empty() ? word : line + " " + word;
        if (!line.empty() && TextWidth(longer) * size / 12.0 > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = longer;
        }
        i = end + 1;
    }
    if (!line.empty() || lines.empty())
        lines.push_back(line);
    return lines;
}

std::vector<SvgElement> WrappedTitle(const std::string &title, double width, double *bottom)
{
    const double size = 17.0, lineHeight = 21.0, firstLine = 26.0;
    std::vector<SvgElement> lines;
    double y = firstLine;
    for (const std::string &line : WrappedLines(title, width - 2 * NARROW_EDGE, size)) {
        lines.push_back(SvgText("text", line).Set("class", "title")
                            .Set("x", SvgNumber(NARROW_EDGE)).Set("y", SvgNumber(y)));
        y += lineHeight;
    }
    *bottom = y - lineHeight;
    return lines;
}

LegendFlow StartLegend(double left, double right, double y, double rowHeight)
{
    return LegendFlow{left, right, rowHeight, left, y};
}

std::pair<double, double> PlaceEntry(LegendFlow *flow, double width, double gap)
{
    if (flow->x > flow->left && flow->x + width > flow->right) {
        flow->x = flow->left;
        flow->y += flow->rowHeight;
    }
    std::pair<double, double> at = {flow->x, flow->y};
    flow->x += width + gap;
    return at;
}

std::vector<AxisTick> SpacedLabels(std::vector<AxisTick> ticks, const ChartAxis &axis,
                                   bool across, double gap)
{
    // Every k-th label, k the smallest that keeps each kept label clear of
    // the next, from the first tick on: labels at even steps read as a
    // scale.
    const double lineHeight = 14.0;
    for (std::size_t k = 1; k < ticks.size(); ++k) {
        bool clear = true;
        for (std::size_t i = 0; i + k < ticks.size(); i += k) {
            double apart = std::fabs(AxisPixel(axis, ticks[i + k].value) - AxisPixel(axis, ticks[i].value));
            double needed = across ? 0.5 * (TextWidth(ticks[i].label) + TextWidth(ticks[i + k].label))
                                   : lineHeight;
            clear = clear && apart >= needed + gap;
        }
        if (clear) {
            for (std::size_t i = 0; i < ticks.size(); ++i)
                if (i % k != 0)
                    ticks[i].label.clear();
            return ticks;
        }
    }
    for (std::size_t i = 1; i < ticks.size(); ++i)
        ticks[i].label.clear();
    return ticks;
}

double WidestLabel(const std::vector<AxisTick> &ticks)
{
    double widest = 0.0;
    for (const AxisTick &t : ticks)
        widest = std::max(widest, TextWidth(t.label));
    return widest;
}

std::vector<SvgElement> WrappedLegendLine(double x, double y, PictureColour colour,
                                          const std::string &text, double right, double *bottom)
{
    std::vector<std::string> lines = WrappedLines(text, right - x - 30, 12.0);
    std::vector<SvgElement> entry = LegendLine(x, y, colour, lines[0]);
    for (std::size_t i = 1; i < lines.size(); ++i)
        entry.push_back(TextAt(x + 30, y + 4 + 16.0 * i, lines[i]));
    *bottom = y + 16.0 * (lines.size() - 1);
    return entry;
}

double NarrowTitleRoom(const std::string &title, int width)
{
    return 16.0 * (WrappedLines(title, width - 2 * NARROW_EDGE - 6, 13.0).size() - 1);
}
