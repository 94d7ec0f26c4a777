// The fates chart, as SVG text: what the descent from the chord ends in at
// each scroll position, beside the step factor's limit from the linear
// theory.
//
// Upper panel: scroll position 1..100 across, the printed time up, two
// marks a position, fate-P-low and fate-P-high, at the lowest and highest
// printed time over its cycle. Their class tells the fate: "settles" for
// period 1 (the polyline stops), "swings" for period 2 or more (it goes
// round polylines for ever, even where their printed times are the same),
// "no-cycle" where no state came back within the step limit; those are
// drawn hollow at the printed time after the last step of the limit. A
// vertical line, stability-limit, marks the limit. Lower panel: the step
// from which each position repeats itself (cycle-P), on a logarithmic scale;
// a position with no cycle is drawn hollow at the step limit, with an arrow
// up: its cycle, if any, begins later.
//
// The texts come from a table the caller hands over, in its language
// (texts/ makes one for each language of the catalogs); "{name}" in a
// text stands for the value of that name.
#ifndef RODADERO_PICTURES_FATES_CHART_H
#define RODADERO_PICTURES_FATES_CHART_H

#include "fates.h"

#include <string>
#include <vector>

struct FatesChartText {
    std::string title;
    std::string positionAxis;  // the scroll position, across
    std::string timeAxis;      // the printed time, up the upper panel
    std::string cycleAxis;     // the step a cycle begins, up the lower panel
    std::string settles;       // legend entries
    std::string swings;
    std::string noCycle;       // {steps}: the step limit
    std::string limit;         // {position}: the limit as a scroll position
    std::string marked;        // {position}: the marked position
};

// The chart of `fates` (positions in 1..100, in any order, each once),
// found within `stepLimit` steps each, with the stability limit at scroll
// position `positionLimit`, and the scroll position `marked` picked out (0:
// none); laid out for `width` pixels (chart_parts.h: 0 for the desktop's).
std::string FatesChart(const std::vector<Fate> &fates, long stepLimit,
                       double positionLimit, int marked, const FatesChartText &text,
                       int width = 0);

#endif
