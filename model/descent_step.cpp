#include "curve_state.h"

#include <cmath>

// Time per unit length on each segment: 1 / sqrt(0.92 (k + 0.5)), as stored.
const double SegmentTimeFactor[SEGMENT_COUNT] = {
    1.47441956,  0.85125653,  0.659380473395787, 0.557278212, 0.491473187,
    0.44455422,  0.40893041,  0.380693493,       0.35759926,  0.338255,
    0.32174472,  0.30743773,  0.29488391,        0.283752176, 0.27379283,
    0.26481357,  0.2566635,   0.24922239,        0.242393,    0.236096,
};

// Half the time factor (it multiplies doubled differences), except row 0,
// which multiplies the undoubled x_1 and so keeps the full factor.
const double GradientFactor[SEGMENT_COUNT] = {
    1.47441956,  0.425628265, 0.329690237, 0.278639105, 0.245736594,
    0.222277113, 0.204465206, 0.190346747, 0.178799635, 0.169127523,
    0.160872363, 0.153718866, 0.147441956, 0.141876089, 0.136896419,
    0.132406785, 0.128331751, 0.124611196, 0.121196541, 0.118048041,
};

namespace {
const double DEPTH_STEP_SQUARED = 0.002116; // 0.046 squared
const int APPLICATIONS_PER_STEP = 301;

// The order in which the 20 segment times are added up.
const int SUMMATION_ORDER[SEGMENT_COUNT] = {
    9, 1, 7, 3, 5, 4, 8, 2, 6, 0, 10, 15, 17, 13, 16, 14, 12, 18, 11, 19,
};

// Lengths of the 20 segments of x (ends 0 and 1); the squares are d * d,
// the correctly rounded square.
void SegmentLengths(const double x[NODE_COUNT], double len[SEGMENT_COUNT])
{
    len[0] = std::sqrt(x[1] * x[1] + DEPTH_STEP_SQUARED);
    for (int k = 1; k < SEGMENT_COUNT - 1; ++k) {
        double d = x[k + 1] - x[k];
        len[k] = std::sqrt(d * d + DEPTH_STEP_SQUARED);
    }
    double d = 1.0 - x[19];
    len[19] = std::sqrt(d * d + DEPTH_STEP_SQUARED);
}
}

double PolylineFallTime(const double x[NODE_COUNT])
{
    double len[SEGMENT_COUNT];
    SegmentLengths(x, len);
    int k = SUMMATION_ORDER[0];
    double t = len[k] * SegmentTimeFactor[k];
    for (int n = 1; n < SEGMENT_COUNT; ++n) {
        k = SUMMATION_ORDER[n];
        t = t + len[k] * SegmentTimeFactor[k];
    }
    return t;
}

void FallTimeGradient(const double x[NODE_COUNT], double g[NODE_COUNT])
{
    double len[SEGMENT_COUNT];
    SegmentLengths(x, len);
    // Node i has segment i - 1 above it and segment i below it; the end
    // abscissae are the constants 0 and 1 (doubled: 0 and 2.0).
    double twice[NODE_COUNT];
    twice[0] = 0.0;
    for (int i = 1; i <= INNER_LAST; ++i)
        twice[i] = x[i] + x[i];
    twice[20] = 2.0;

    g[1] = (x[1] * GradientFactor[0]) / len[0]
         + ((twice[1] - twice[2]) * GradientFactor[1]) / len[1];
    for (int i = 2; i <= INNER_LAST; ++i)
        g[i] = ((twice[i] - twice[i - 1]) * GradientFactor[i - 1]) / len[i - 1]
             + ((twice[i] - twice[i + 1]) * GradientFactor[i]) / len[i];
}

void DescentStep()
{
    double g[NODE_COUNT];
    FallTimeGradient(CurveState.ShownX, g);

    for (int pass = 0; pass < APPLICATIONS_PER_STEP; ++pass) {
        for (int i = INNER_FIRST; i <= INNER_LAST; ++i)
            CurveState.ShownX[i] = CurveState.NodeX[i];
        for (int i = INNER_FIRST; i <= INNER_LAST; ++i)
            CurveState.NodeX[i] = CurveState.NodeX[i] - CurveState.Alpha * g[i];
    }

    CurveState.FallTime = PolylineFallTime(CurveState.ShownX);
}
