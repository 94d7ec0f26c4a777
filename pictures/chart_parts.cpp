// Axes, ticks and texts of the charts.
#include "chart_parts.h"

#include "svg_parts.h"

#include <cmath>
#include <cstdio>

namespace {

const double TICK_LENGTH = 5.0;
const double CHARACTER_WIDTH = 6.6;  // about, at 12 px in a sans-serif face
const char GRID_COLOUR[] = "#e4e4e4";

// 1, 2 or 5 times a power of ten, the one nearest to raw on a log scale.
double RoundStep(double raw)
{
    double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double r = raw / magnitude;
    double mantissa = r < 1.5 ? 1.0 : r < 3.5 ? 2.0 : r < 7.5 ? 5.0 : 10.0;
    return mantissa * magnitude;
}

int DecimalsOf(double step)
{
    int decimals = static_cast<int>(-std::floor(std::log10(step) + 1e-9));
    return decimals < 0 ? 0 : decimals;
}

std::string Line(double x1, double y1, double x2, double y2, const char *extra)
{
    return "<line x1=\"" + SvgNumber(x1) + "\" y1=\"" + SvgNumber(y1) + "\" x2=\"" +
           SvgNumber(x2) + "\" y2=\"" + SvgNumber(y2) + "\"" + extra + "/>";
}

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
    double step = RoundStep((high - low) / count);
    double first = std::floor(low / step);
    double last = std::ceil(high / step);
    int decimals = DecimalsOf(step);
    std::vector<AxisTick> ticks;
    for (double n = first; n <= last; n += 1.0) {
        AxisTick t;
        t.value = n * step;
        t.label = Decimals(t.value, decimals);
        if (t.label == "-" + Decimals(0.0, decimals))
            t.label = Decimals(0.0, decimals);
        ticks.push_back(t);
    }
    axis->low = first * step;
    axis->high = last * step;
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

std::string BottomAxis(const char *id, const ChartPanel &panel, const ChartAxis &axis,
                       const std::vector<AxisTick> &ticks, bool labelled)
{
    std::string grid, marks;
    for (const AxisTick &t : ticks) {
        double x = AxisPixel(axis, t.value);
        grid += "    " + Line(x, panel.top, x, panel.bottom, "") + "\n";
        marks += "    <g class=\"tick\">" + Line(x, panel.bottom, x, panel.bottom + TICK_LENGTH, "");
        if (labelled)
            marks += "<text x=\"" + SvgNumber(x) + "\" y=\"" + SvgNumber(panel.bottom + 18) +
                     "\" text-anchor=\"middle\">" + SvgEscaped(t.label) + "</text>";
        marks += "</g>\n";
    }
    return "  <g class=\"grid\" stroke=\"" + std::string(GRID_COLOUR) + "\">\n" + grid +
           "  </g>\n  <g id=\"" + id + "\" stroke=\"black\">\n    " +
           Line(panel.left, panel.bottom, panel.right, panel.bottom, "") + "\n" + marks +
           "  </g>\n";
}

std::string LeftAxis(const char *id, const ChartPanel &panel, const ChartAxis &axis,
                     const std::vector<AxisTick> &ticks, const std::string &title)
{
    std::string grid, marks;
    for (const AxisTick &t : ticks) {
        double y = AxisPixel(axis, t.value);
        grid += "    " + Line(panel.left, y, panel.right, y, "") + "\n";
        marks += "    <g class=\"tick\">" + Line(panel.left, y, panel.left - TICK_LENGTH, y, "") +
                 "<text x=\"" + SvgNumber(panel.left - 8) + "\" y=\"" + SvgNumber(y + 4) +
                 "\" text-anchor=\"end\">" + SvgEscaped(t.label) + "</text></g>\n";
    }
    return "  <g class=\"grid\" stroke=\"" + std::string(GRID_COLOUR) + "\">\n" + grid +
           "  </g>\n  <g id=\"" + id + "\" stroke=\"black\">\n    " +
           Line(panel.left, panel.top, panel.left, panel.bottom, "") + "\n" + marks +
           "    <text class=\"axis-title\" x=\"" + SvgNumber(panel.left - 50) + "\" y=\"" +
           SvgNumber(panel.top - 12) + "\">" + SvgEscaped(title) + "</text>\n  </g>\n";
}

std::string SvgEscaped(const std::string &text)
{
    std::string safe;
    for (char c : text) {
        switch (c) {
        case '&':
            safe += "&amp;";
            break;
        case '<':
            safe += "&lt;";
            break;
        case '>':
            safe += "&gt;";
            break;
        case '"':
            safe += "&quot;";
            break;
        default:
            safe += c;
        }
    }
    return safe;
}

std::string Filled(const std::string &pattern, const std::vector<std::string> &values)
{
    std::string text;
    std::size_t next = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.compare(i, 2, "{}") == 0 && next < values.size()) {
            text += values[next++];
            ++i;
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

double TextWidth(const std::string &text)
{
    int characters = 0;
    for (char c : text)
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return CHARACTER_WIDTH * characters;
}
