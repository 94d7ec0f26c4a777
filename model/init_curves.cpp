#include "curve_state.h"

#include <cmath>
#include <cstring>

namespace {
const double SCREEN_DEPTH_PER_NODE = 0.915; // 20 pixels per step, drawn at 0.915
const double PI_OVER_20 = 0.15707963267948966;
const double PI_OVER_40 = 0.07853981633974483;
}

void InitCurvesOn(CurveStateRecord *record, ScreenPoint points[NODE_COUNT])
{
    // Screen polyline: fixed depths, x filled in at every paint.
    points[0].y = 0.0;
    points[0].x = 0.0;
    for (int k = 1; k < NODE_COUNT; ++k) {
        points[k].y = static_cast<double>(20 * k) * SCREEN_DEPTH_PER_NODE;
        points[k].x = 400.0;
    }

    // Cycloid of radius 0.5 rolling along y = 0, sampled at theta = c pi/20
    // for c = 1..21 (the first sample is one step past the origin).
    int k = 0;
    for (double c = 1.0; c <= 21.0; c += 1.0, ++k) {
        double theta = c * PI_OVER_20;
        record->CycloidPts[k].x = c * PI_OVER_40 - 0.5 * std::sin(theta);
        record->CycloidPts[k].y = 0.5 - 0.5 * std::cos(theta);
    }

    // Straight chord from (0, 0) to (1, 0.92).
    Chord(record->NodeX);

    // Display copy of nodes 1..20; ShownX[0] stays 0.0.
    std::memcpy(&record->ShownX[1], &record->NodeX[1], 20 * sizeof(double));
}

void InitCurves(ScreenPoint points[NODE_COUNT])
{
    InitCurvesOn(&CurveState, points);
}
