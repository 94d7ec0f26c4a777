// The race, as SVG text: three beads released together at rest from
// (0, 0) slide without friction down the chord (the starting polyline),
// the polyline a run ended on and the brachistochrone, animated with SMIL
// (no script, nothing outside the document). Also the beads' arrival times,
// for whoever reports them. No file is written here. The texts come from a
// table the caller hands over, in its language (texts/ makes one for each
// language of the catalogs); "{name}" in a text stands for the value of
// that name.
#ifndef RODADERO_PICTURES_RACE_H
#define RODADERO_PICTURES_RACE_H

#include "kinematics.h"
#include "recorded_run.h"

#include <string>

// The three tracks, in the order they are drawn.
enum { RACE_CHORD, RACE_POLYLINE, RACE_BRACHISTOCHRONE, RACE_TRACKS };

// "chord", "polyline", "brachistochrone": the ids of the tracks' elements.
extern const char *const RACE_TRACK_ID[RACE_TRACKS];

struct RaceText {
    std::string title;            // {polyline}: the polyline's name
    std::string chord;            // the tracks' names
    std::string polylineOneStep;  // {steps}: the number of steps, 1
    std::string polylineSteps;    // {steps}: the number of steps, any other
    std::string brachistochrone;
    std::string place[RACE_TRACKS];  // first, second, third to arrive
    std::string realSpeed;        // the caption, shown at real speed
    std::string slowed;           // the caption, {slow}: how many times slower
};

// The name shown beside a track: the polyline's says after how many steps.
std::string RaceTrackName(int track, long steps, const RaceText &text);

// Arrival time of each track's bead, real seconds, and the brachistochrone
// they were worked out with; the polyline is the one the run ended on.
struct RaceTimes {
    double arrival[RACE_TRACKS];
    Brachistochrone brachistochrone;
};

RaceTimes RaceArrivals(const RunResult &run);

// The animated picture of the race of the polyline `run` ended on, slowed
// `slow` times; every bead waits at the end until two seconds after the
// last one has arrived, then all start again.
// Laid out for `width` pixels (chart_parts.h: 0 for the desktop's, 640
// pixels wide).
std::string RacePicture(const RunResult &run, int slow, const RaceText &text, int width = 0);

#endif
