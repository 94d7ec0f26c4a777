// The race of a curve given by its nodes: a bead released at rest at (0, 0)
// slides without friction, g = 10, y downward, along the polyline through
// the nodes to its last one, the end (X, Y), against a bead on the cycloid
// through the same end and one on the straight line to it.
//
// The bead's speed at depth y is sqrt(2 g y) whatever the track, so it can
// never be above the start's height: where the curve rises above it, the
// bead stops where the depth comes back to 0, slides back down the way it
// came, up to the start, where it stops again and sets off once more, for
// ever (there is no friction). Along a straight segment of length L that
// falls dy its acceleration is constant, g dy / L, so the segment from
// depth a to depth b takes 2 L / (va + vb), va = sqrt(2 g a), vb =
// sqrt(2 g b): the length over the mean of the two speeds.
#ifndef RODADERO_ANALYSIS_CURVE_RACE_H
#define RODADERO_ANALYSIS_CURVE_RACE_H

#include "curve_state.h"
#include "lab.h"

#include <vector>

// How the curve's bead fares.
//   arrives: it reaches the last node, `time` seconds after its release.
//   otherwise, when it moves: the curve rises above the start's height; on
//     segment `stopSegment` (from node stopSegment to the next) the depth
//     comes back to 0, at (stopX, stopY = 0), where it stops `turnTime`
//     seconds after its release and slides back; it is back at rest at the
//     start at 2 turnTime, and so on, with the period 2 turnTime.
//   otherwise it never moves: the first segment (leaving aside any of zero
//     length) does not descend, and a bead at rest at the start's height
//     goes on only down a descending segment. It stops where it is, at the
//     start, on segment 0, at once (turnTime 0).
// A bead that comes up to the start's height exactly at a node, at rest
// there, goes on where the next segment descends, and stops there (the
// node is its stopping point, on the segment it came up) where it does not.
struct CurveArrival {
    bool arrives;
    double time;       // arrival, real seconds; 0 when it does not arrive
    bool moves;
    long stopSegment;  // where it stops, when it does not arrive
    double stopX, stopY;
    double turnTime;   // seconds from the release to that stop; 0 when it never moves
};

// The motion worked out once, so that positions at many times cost a binary
// search each: the moment the bead first reaches each node, from node 0 to
// the last it reaches going forward (every node when it arrives, up to node
// stopSegment when it stops), and how it fares.
struct CurveMotion {
    std::vector<double> nodeTime;
    CurveArrival arrival;
};

// O(n) in the nodes. The track has at least two nodes and starts at (0, 0).
CurveMotion CurveMotionOf(const LabPolyline &track);
CurveArrival CurveArrivalOf(const LabPolyline &track);

// Where the bead is t seconds after its release: at the start before that,
// at the end after its arrival; on a curve it cannot get past, forward for
// a turn time, then back the same way (frictionless motion run backwards:
// the position at turnTime + u is the one at turnTime - u), and again every
// period. O(log n) with the motion worked out.
ModelPoint CurvePositionAt(const LabPolyline &track, const CurveMotion &motion, double t);
ModelPoint CurvePositionAt(const LabPolyline &track, double t);

// The rivals through the same end. The cycloid: LabCycloidThrough's theta
// and R; its bead, rolling out theta(t) = t sqrt(g / R), is at
// (R (theta - sin theta), R (1 - cos theta)) up to the end; X = 0 is the
// straight drop, y = g t^2 / 2. The straight line of length L = sqrt(X^2 +
// Y^2): acceleration g Y / L from rest, so L = (g Y / L) t^2 / 2 at the end,
// t = sqrt(2 L^2 / (g Y)), which is 2 L / (0 + sqrt(2 g Y)), the segment's
// time above (the same formula as the curve's, so that a curve of one
// segment ties with the line to the last bit).
ModelPoint CycloidPositionAt(const LabCycloid &cycloid, double endX, double endY, double t);
double StraightLineTime(double endX, double endY);
ModelPoint StraightLinePositionAt(double endX, double endY, double t);

// The three arrivals, real seconds: the curve's as CurveArrivalOf gives it,
// the cycloid's and the line's through the curve's last node.
struct CurveRaceTimes {
    CurveArrival curve;
    double cycloid, line;
};
CurveRaceTimes CurveRaceTimesOf(const LabPolyline &track);

#endif
