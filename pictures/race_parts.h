// The pieces the races are made of: the moments at which a bead's place is
// given, the SMIL animations that move it between them and show a text at
// a moment, the bead itself, and the line of the legend that names a track
// and, once its bead is in, gives its time and its place.
#ifndef RODADERO_PICTURES_RACE_PARTS_H
#define RODADERO_PICTURES_RACE_PARTS_H

#include "palette.h"
#include "svg_writer.h"

#include <string>
#include <vector>

const double RACE_HOLD = 2.0;  // seconds on the page at the end, all beads in

// The group the race's frame, tracks and beads go in, inside the margin.
SvgElement RaceGroup();

// The moments, real seconds, at which a bead's place is given: the `fixed`
// ones (ascending: the release, each node it passes, its arrival), and one
// every 0.01 s before `until` but none within 1e-4 s of a fixed one.
// Between moments h apart a bead whose acceleration is at most g strays at
// most g h^2 / 8 from the straight line between them: 0.05 px at the
// pictures' scale with h = 0.01 s; where the velocity jumps (at a node, an
// arrival) there is a moment.
std::vector<double> RaceMoments(const std::vector<double> &fixed, double until);

// A moment of the document, seconds, as a fraction of its `duration`:
// "0.1234567".
std::string RaceKeyTime(double documentTime, double duration);

// An animation of one attribute that repeats every `duration` seconds.
SvgElement RaceAnimate(const char *attribute, const char *mode, const std::string &keyTimes,
                       const std::string &values, double duration);

// A bead: a circle of `radius` at the origin, its centre moved linearly
// through the values `xs` and `ys` at `keyTimes` (each ";"-separated).
SvgElement RaceBead(const std::string &id, const char *radius, PictureColour colour,
                    const std::string &keyTimes, const std::string &xs, const std::string &ys,
                    double duration);

// 1 for the first to arrive; beads that arrive together share a place.
int RacePlace(const double *arrival, int beads, int bead);

// An arrival: "0.5824 s".
std::string RaceArrivalText(double seconds);

// The legend's line of a track, at height y: its name, then from the key
// time `shownAt` on, `arrival` and, where it is not empty, `place`. Each
// text's id is its kind and the track's id: "name-chord".
std::vector<SvgElement> RaceLegendLine(const std::string &id, const std::string &name,
                                       PictureColour colour, const std::string &y,
                                       const std::string &arrival, const std::string &place,
                                       const std::string &shownAt, double duration);

// A race laid out for a picture `width` pixels wide, narrower than the
// desktop's 640 (chart_parts.h): the race's frame of 600 x 400 pixels
// drawn smaller to the width, and under it each line of `arrivals` (a
// name, then its time and place on a line under it, then the captions)
// at its own size. Gives the picture's height.
int NarrowRace(SvgElement *race, SvgElement *arrivals, int width);

#endif
