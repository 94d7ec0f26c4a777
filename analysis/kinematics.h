// Exact kinematics: a bead released at rest from (0, 0), y downward,
// sliding without friction, has the speed sqrt(2 g y) at depth y whatever
// the track. Offers the segment times, fall time and position at a time on
// a polyline of the program's depths, and the brachistochrone through a
// point with its fall time and position at a time.
#ifndef RODADERO_ANALYSIS_KINEMATICS_H
#define RODADERO_ANALYSIS_KINEMATICS_H

#include "curve_state.h"

// Segment k (0..19) of the polyline with inner abscissae x[1..19]: from node
// k to node k + 1, at depths k x 0.046 and (k + 1) x 0.046; the ends are the
// constants (0, 0) and (1, 0.92), whatever x[0] and x[20] hold.
struct PolylineSegment {
    double xTop;
    double xBottom;
    double length;
    double vTop;      // speed at node k
    double vBottom;   // speed at node k + 1
    double time;      // 2 length / (vTop + vBottom)
};

PolylineSegment SegmentOf(const double x[NODE_COUNT], int k);

// Fall time of the polyline: the sum of its segment times.
double ExactPolylineTime(const double x[NODE_COUNT]);

// Where the bead is on the polyline t seconds after its release: along each
// segment the acceleration is constant, (vBottom - vTop) / time. Before 0 it
// is at the start, after the fall time at the end.
ModelPoint PolylinePositionAt(const double x[NODE_COUNT], double t);

// The cycloid x = r (theta - sin theta), y = r (1 - cos theta) from the origin
// through (endX, endY), theta running from 0 to endTheta, and its fall time
// endTheta sqrt(r / g): the brachistochrone.
struct Brachistochrone {
    double radius;
    double endTheta;
    double time;
};

// Solves (theta - sin theta) / (1 - cos theta) = endX / endY by bisection.
Brachistochrone BrachistochroneThrough(double endX, double endY, double g);

// Where the bead is on the brachistochrone t seconds after its release:
// theta = t sqrt(g / r), up to endTheta.
ModelPoint BrachistochronePositionAt(const Brachistochrone &b, double g, double t);

#endif
