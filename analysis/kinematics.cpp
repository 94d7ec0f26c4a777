// Exact fall times and positions of a bead sliding without friction.
#include "kinematics.h"

#include "bisect.h"

#include <cmath>

PolylineSegment SegmentOf(const double x[NODE_COUNT], int k)
{
    PolylineSegment s;
    s.xTop = k == 0 ? 0.0 : x[k];
    s.xBottom = k == SEGMENT_COUNT - 1 ? END_X : x[k + 1];
    double dx = s.xBottom - s.xTop;
    s.length = std::sqrt(dx * dx + DEPTH_STEP * DEPTH_STEP);
    s.vTop = k == 0 ? 0.0 : std::sqrt(2.0 * GRAVITY * (k * DEPTH_STEP));
    s.vBottom = std::sqrt(2.0 * GRAVITY * ((k + 1) * DEPTH_STEP));
    s.time = 2.0 * s.length / (s.vTop + s.vBottom);
    return s;
}

double ExactPolylineTime(const double x[NODE_COUNT])
{
    double t = 0.0;
    for (int k = 0; k < SEGMENT_COUNT; ++k)
        t += SegmentOf(x, k).time;
    return t;
}

ModelPoint PolylinePositionAt(const double x[NODE_COUNT], double t)
{
    ModelPoint p = {0.0, 0.0};
    if (t <= 0.0)
        return p;
    double start = 0.0;
    for (int k = 0; k < SEGMENT_COUNT; ++k) {
        PolylineSegment s = SegmentOf(x, k);
        if (t < start + s.time) {
            double tau = t - start;
            double acceleration = (s.vBottom - s.vTop) / s.time;
            double along = (s.vTop * tau + 0.5 * acceleration * tau * tau) / s.length;
            if (along > 1.0)
                along = 1.0;
            p.x = s.xTop + along * (s.xBottom - s.xTop);
            p.y = (k + along) * DEPTH_STEP;
            return p;
        }
        start += s.time;
    }
    p.x = END_X;
    p.y = END_DEPTH;
    return p;
}

namespace {
const double TWO_PI = 6.283185307179586;

// (theta - sin theta) / (1 - cos theta): how far the cycloid has gone across
// for each unit down at angle theta; rises from 0 to infinity on (0, 2 pi).
double CycloidSlopeRatio(double theta)
{
    return (theta - std::sin(theta)) / (1.0 - std::cos(theta));
}
}

Brachistochrone BrachistochroneThrough(double endX, double endY, double g)
{
    const double target = endX / endY;
    Brachistochrone b;
    b.endTheta = Bisect(0.0, TWO_PI, [target](double theta) { return CycloidSlopeRatio(theta) < target; });
    b.radius = endY / (1.0 - std::cos(b.endTheta));
    b.time = b.endTheta * std::sqrt(b.radius / g);
    return b;
}

ModelPoint BrachistochronePositionAt(const Brachistochrone &b, double g, double t)
{
    double theta = t <= 0.0 ? 0.0 : t * std::sqrt(g / b.radius);
    if (theta > b.endTheta)
        theta = b.endTheta;
    ModelPoint p;
    p.x = b.radius * (theta - std::sin(theta));
    p.y = b.radius * (1.0 - std::cos(theta));
    return p;
}
