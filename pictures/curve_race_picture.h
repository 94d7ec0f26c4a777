// The race of a given curve, as SVG text: three beads released together at
// rest from (0, 0) slide without friction down the curve (a polyline of
// any shape), the cycloid through its end and the straight line to it,
// animated with SMIL as the program's race is. Where the curve rises above
// the start's height, its bead stops there, slides back to the start and
// goes again, over and over; the caption says where it stops. The view
// holds the three tracks whatever their extent. The texts come from a
// table the caller hands over, in its language; "{name}" in a text stands
// for the value of that name.
#ifndef RODADERO_PICTURES_CURVE_RACE_PICTURE_H
#define RODADERO_PICTURES_CURVE_RACE_PICTURE_H

#include "curve_race.h"
#include "lab.h"

#include <string>

// The three beads, in the order of the legend (and of the race's rows).
enum { CURVE_BEAD, CYCLOID_BEAD, LINE_BEAD, CURVE_RACE_BEADS };

// "curve", "cycloid", "line": the ids of the beads' elements.
extern const char *const CURVE_RACE_ID[CURVE_RACE_BEADS];

struct CurveRaceText {
    std::string title;         // {x}, {y}: the end
    std::string name[CURVE_RACE_BEADS];
    std::string place[CURVE_RACE_BEADS];  // first, second, third to arrive
    std::string neverArrives;  // in place of the curve's bead's time
    std::string realSpeed;     // the caption, shown at real speed
    std::string slowed;        // the caption, {slow}: how many times slower
    std::string stops;         // {x}: where the bead stops, {time}: when
    std::string neverMoves;
};

// The animated race of the curve `track` (at least two nodes, from (0, 0)
// to an end with Y > 0, X >= 0), slowed `slow` times; the beads that
// arrive wait at the end until two seconds after the last of them (or
// after the curve's bead is back at the start, if that is later), then
// all start again.
// Laid out for `width` pixels (chart_parts.h: 0 for the desktop's, 640
// pixels wide).
std::string CurveRacePicture(const LabPolyline &track, int slow, const CurveRaceText &text,
                             int width = 0);

#endif
