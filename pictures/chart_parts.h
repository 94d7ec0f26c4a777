// The pieces the charts are made of: axes that map values to pixels,
// linear and logarithmic, their ticks with labels, the charts' style, and
// their texts.
// A tick is drawn as <g class="tick"> holding its line, which starts at the
// tick's place on the axis, and its label, the value in plain digits (a
// space between groups of three for counts of steps), so that a reader of
// the picture can map a point back to its value from the labels alone.
#ifndef RODADERO_PICTURES_CHART_PARTS_H
#define RODADERO_PICTURES_CHART_PARTS_H

#include "palette.h"
#include "svg_writer.h"

#include <string>
#include <utility>
#include <vector>

// The drawing area of a panel, in pixels, y downward.
struct ChartPanel {
    double left, top, right, bottom;
};

// Values from low to high drawn from pixel `from` to pixel `to`; on a
// logarithmic axis low and high are positive and equal ratios get equal
// lengths.
struct ChartAxis {
    double low, high;
    double from, to;
    bool logarithmic;
};

double AxisPixel(const ChartAxis &axis, double value);

struct AxisTick {
    double value;
    std::string label;
};

// Ticks at whole multiples of 1, 2 or 5 times a power of ten, about `count`
// of them, over [low, high]; the axis's ends become the ticks just outside
// the values (a single value is given a little room on each side).
std::vector<AxisTick> LinearTicks(double low, double high, int count, ChartAxis *axis);

// A tick at every power of ten from the one at or below low to the one at
// or above high (at least one decade); the axis's ends are those powers.
// Values below 1 count as 1.
std::vector<AxisTick> DecadeTicks(double low, double high, ChartAxis *axis);

// A tick at every power of ten from 10^low to 10^high, labelled "1e-k"
// ("1" for 10^0); the axis's ends are those powers.
std::vector<AxisTick> PowerTicks(int low, int high, ChartAxis *axis);

// The exponent of the power of ten at or below v (v > 0, finite), and of
// the one at or above it: worked out with exact powers of ten, as the
// linear ticks are, so that every build gets the same decades.
int DecadeAtOrBelow(double v);
int DecadeAtOrAbove(double v);

// A whole number with a space between groups of three digits: "10 000".
std::string GroupedDigits(long long v);

// The axis along the bottom of the panel and its ticks, after the grid:
// a line through the panel at each tick; the ticks are labelled when
// `labelled` (a tick whose label is empty is not).
std::vector<SvgElement> BottomAxis(const char *id, const ChartPanel &panel,
                                   const ChartAxis &axis, const std::vector<AxisTick> &ticks,
                                   bool labelled);

// The axis along the left of the panel, after its grid, with its labelled
// ticks (a tick whose label is empty has none) and its title above the
// panel's top-left corner, 50 pixels to its left, or from `titleX` in
// lines that end at the panel's right, the last one where the one line
// would be.
std::vector<SvgElement> LeftAxis(const char *id, const ChartPanel &panel, const ChartAxis &axis,
                                 const std::vector<AxisTick> &ticks, const std::string &title,
                                 double titleX = -1.0);

// A line from (x1, y1) to (x2, y2), pixels, its ends after the attributes
// `first`.
SvgElement ChartLine(double x1, double y1, double x2, double y2,
                     std::vector<SvgAttribute> first = {});

// A text whose start is at (x, y), pixels.
SvgElement TextAt(double x, double y, const std::string &text);

// A legend entry: a short line in the curve's colour at (x, y), its text
// after it.
std::vector<SvgElement> LegendLine(double x, double y, PictureColour colour,
                                   const std::string &text);

// The chart's title, in its top-left corner.
SvgElement ChartTitle(const std::string &title);

// The charts' style: the rules for their texts, which every chart has, and
// with them the rules for the fates' marks.
enum ChartRules { TEXT_RULES, TEXT_AND_FATE_RULES };

SvgElement ChartStyle(ChartRules rules);

// The pattern with each "{name}" replaced by the value of that name: the
// way a caption of any language places its numbers, in its own order.
std::string Filled(const std::string &pattern,
                   const std::vector<std::pair<std::string, std::string>> &values);

// About how wide a text is drawn at 12 px, from its characters (not its
// bytes): for placing what follows it.
double TextWidth(const std::string &text);

// A chart laid out for the width it is shown at. The desktop's charts are
// 800 pixels wide, as rodadero-trace draws them; a page that shows one
// narrower (a phone's card) hands its width over instead of shrinking the
// desktop's drawing, so that every text keeps its own size in pixels:
// the title and the legend wrap to the width, the panels fill it, and the
// labels along an axis are fewer where they would meet. A width of 0, or
// of the desktop's or more, is the desktop's layout, unchanged.
const int CHART_WIDTH = 800;

bool IsNarrow(int width, int desktop = CHART_WIDTH);

// The space a chart's parts keep from its left and right edges when
// narrow.
const double NARROW_EDGE = 12.0;

// The words of `text` in lines of at most `width` pixels at `size`
// pixels (a word wider than that on a line of its own).
std::vector<std::string> WrappedLines(const std::string &text, double width, double size);

// The chart's title at its top-left, wrapped to `width`; *bottom is set
// to the baseline of its last line.
std::vector<SvgElement> WrappedTitle(const std::string &title, double width, double *bottom);

// Legend entries placed one after another along a row from `left`, a new
// row `rowHeight` lower where the next one would pass `right`.
struct LegendFlow {
    double left, right, rowHeight;
    double x, y;
};

LegendFlow StartLegend(double left, double right, double y, double rowHeight);

// Where the next entry, `width` pixels wide, goes (x, y); the flow moves
// on by its width and `gap`.
std::pair<double, double> PlaceEntry(LegendFlow *flow, double width, double gap);

// A legend entry as LegendLine draws it, its text wrapped in lines that
// end before `right`; *bottom is set to the last line's place (y).
std::vector<SvgElement> WrappedLegendLine(double x, double y, PictureColour colour,
                                          const std::string &text, double right, double *bottom);

// The ticks with the labels left out that would come within `gap` pixels
// of the last label kept along the axis: across, by the labels' widths;
// up, by a line's height.
std::vector<AxisTick> SpacedLabels(std::vector<AxisTick> ticks, const ChartAxis &axis,
                                   bool across, double gap);

// How much higher than one line a left axis's title reaches when it is
// wrapped from NARROW_EDGE to the right end of a narrow panel, in a
// picture `width` pixels wide.
double NarrowTitleRoom(const std::string &title, int width);

// The width of the widest label of `ticks`, pixels.
double WidestLabel(const std::vector<AxisTick> &ticks);

// v with `decimals` decimals.
std::string Decimals(double v, int decimals);

// v as short as it can be written and still read back as itself: "1",
// "0.92", "1e-07" (as typed, for a value someone typed).
std::string ShortestNumber(double v);

#endif
