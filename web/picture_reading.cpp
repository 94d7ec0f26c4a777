// The main window's picture read for its text alternative: where the red
// polyline lies beside the blue cycloid as both are drawn, and what the
// descent is doing. The page says it in its own words (picture_reading.js).
//
// The sides are read from the pixels the paint drew (a PaintedPicture),
// not from the model's numbers: the picture is what is described, and
// there the two curves are drawn at slightly different scales (the
// polyline 18.3 pixels down a node of 0.046, 397.8 to the unit; the
// cycloid, of radius 0.5, 400 to the unit either way) and cut to whole
// pixels, so that the settled polyline lies on the drawn cycloid to within
// its pen, a pixel or two either side, and ends 2 pixels left of it.
//
// What the descent is doing comes from the fate of the run from where it
// stands now, found by the same search as every position's fate
// (FateOfRecord, fates.h) over the next DESCENT_LOOKAHEAD steps: the
// state now on its cycle is settled (a cycle of one step) or swinging (a
// longer one); a cycle ahead within the look-ahead is what the run is
// moving toward; none is still moving; and where the look-ahead's times
// go past what the window prints, or are no number at all, the descent
// grows without bound. The window's descent never grows at any of the dialog's step
// factors (every position ends in a cycle of one or two steps), so the
// last is there for a state no run of the page reaches. The search looks
// at the state as it is at the moment, whatever came before (a reset, a
// change of step factor in the middle of a run), so it needs no history
// of the run; it costs at most DESCENT_LOOKAHEAD steps and a few fall
// times (some 10 ms in the page where no cycle is that near, well under
// one where the run is on its cycle), and the page asks for it at most
// every few seconds. Before the first step (the window prints 0) there is
// nothing to search: the descent is waiting, and the first paint costs no
// search. Reading the printed times alone would not do: a slow descent
// prints the same time for many steps while its polyline still moves, and
// the fates chart calls a position settled only where its polyline stops.
#include "curve_state.h"
#include "fates.h"
#include "page_contract.h"
#include "plot_layout.h"

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>

namespace {

// The cycloid is drawn through 21 vertices, down to its lowest point at
// vertex 19 and up again to the last: the part that goes down is the
// first 20.
const int CYCLOID_DOWN = 20;

FateMemory LookAheadMemory;
PictureReading Reading;

// The x of a curve at depth y, on its segment from vertex k to k + 1,
// whose depths are either side of y (the first such segment); `segment`
// gets k. Null when no segment spans y.
bool XAtDepth(const PixelPoint *v, int count, double y, double *x, int *segment)
{
    for (int k = 0; k + 1 < count; ++k) {
        double y0 = v[k].y, y1 = v[k + 1].y;
        if (y1 > y0 && y >= y0 && y <= y1) {
            *x = v[k].x + (v[k + 1].x - v[k].x) * ((y - y0) / (y1 - y0));
            *segment = k;
            return true;
        }
    }
    return false;
}

// The distance across the cycloid's segment k of a point `offset` pixels
// to the side of it, horizontally: the horizontal offset times the sine
// of the segment's angle to the horizontal.
double AcrossSegment(const PixelPoint *cycloid, int k, double offset)
{
    double dx = cycloid[k + 1].x - cycloid[k].x;
    double dy = cycloid[k + 1].y - cycloid[k].y;
    double length = std::sqrt(dx * dx + dy * dy);
    return offset * (dy / length);
}

// The polyline minus the cycloid, horizontally at depth y, in pixels, with
// the distance across the cycloid there; false where either is not drawn.
bool OffsetAt(const PaintedPicture &p, double y, double *offset, double *across)
{
    double xp, xc;
    int j, k;
    if (!XAtDepth(p.polyline, NODE_COUNT, y, &xp, &j) ||
        !XAtDepth(p.cycloid, CYCLOID_DOWN, y, &xc, &k))
        return false;
    *offset = xp - xc;
    *across = AcrossSegment(p.cycloid, k, *offset);
    return true;
}

// Where the polyline lies: at each depth where a vertex of either curve
// lies, between the deeper of their tops and the polyline's end (the
// horizontal gap between two polylines is widest at such depths), on which
// side of the cycloid it is, counted only where the two lines are more
// than a pen's width apart across the cycloid, so that lines that touch
// are one line.
PictureSide SideOf(const PaintedPicture &p)
{
    const double top = p.polyline[0].y > p.cycloid[0].y ? p.polyline[0].y : p.cycloid[0].y;
    const double end = p.polyline[NODE_COUNT - 1].y;
    bool above = false, below = false;
    for (const PixelPoint *curve : {p.polyline, p.cycloid}) {
        for (int k = 0; k < NODE_COUNT; ++k) {
            double y = curve[k].y, offset, across;
            if (y < top || y > end || !OffsetAt(p, y, &offset, &across))
                continue;
            if (across > PLOT_PEN_WIDTH)
                above = true; // to the right at the same depth: higher at the same x
            else if (across < -PLOT_PEN_WIDTH)
                below = true;
        }
    }
    return above && below ? SIDE_CROSSING : above ? SIDE_ABOVE : below ? SIDE_BELOW : SIDE_ALONG;
}

DescentDoing DoingOf(const Fate &fate)
{
    // Past what the window prints, or not a number (printed 0, which no
    // polyline's fall time is): grown beyond any bound, whether or not the
    // numbers then repeat (infinities and NaNs do).
    if (fate.highUs == std::numeric_limits<std::int32_t>::max() || fate.lowUs == 0)
        return DESCENT_GROWING;
    if (fate.period == 0)
        return DESCENT_MOVING;
    if (fate.cycleFrom > 0)
        return fate.period == 1 ? DESCENT_TO_SETTLE : DESCENT_TO_SWING;
    return fate.period == 1 ? DESCENT_SETTLED : DESCENT_SWINGING;
}

} // namespace

// The picture at `painted` (the last paint's) and the descent now, read.
PAGE_EXPORT(rodadero_picture_reading) const PictureReading *RodaderoPictureReading(
    const PaintedPicture *painted)
{
    Reading = PictureReading{};
    Reading.side = SideOf(*painted);
    double offset = 0.0, across;
    const double middle = painted->polyline[NODE_COUNT - 1].y / 2.0;
    Reading.midOffsetPx = OffsetAt(*painted, middle, &offset, &across) ? offset : 0.0;
    // Before the first step the window prints 0 and nothing is moving yet:
    // no search, so that the first paint costs none.
    if (CurveState.FallTime == 0.0) {
        Reading.descent = DESCENT_WAITING;
        return &Reading;
    }
    Fate fate = FateOfRecord(CurveState, DESCENT_LOOKAHEAD, &LookAheadMemory);
    Reading.descent = DoingOf(fate);
    Reading.period = fate.period;
    Reading.lowUs = fate.lowUs;
    Reading.highUs = fate.highUs;
    Reading.stepsToCycle = fate.cycleFrom;
    return &Reading;
}
