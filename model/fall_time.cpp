// The model's fall time of a polyline and its gradient.
//
// Write x_k for the abscissa of node k, x_0 = 0 and x_20 = 1, node k at
// depth k h with h = 0.046. Segment k (k = 0..19) runs from node k to node
// k + 1; its length is
//
//     L_k = sqrt((x_{k+1} - x_k)^2 + h^2),   h^2 held as 0.002116,
//
// and a bead crosses it at about the speed sqrt(2 g y) of its mid-depth
// y = (k + 1/2) h, so it takes L_k x SegmentTimeFactor[k] seconds, with
// SegmentTimeFactor[k] = 1 / sqrt(0.92 (k + 1/2)) as stored. The fall time
// is the sum
//
//     T = sum over k of L_k SegmentTimeFactor[k],
//
// added in a fixed order (SUMMATION_ORDER). Its gradient, for i = 1..19, is
// the term of the segment above node i plus that of the segment below it:
//
//     G_i = ((2x_i - 2x_{i-1}) GradientFactor[i-1]) / L_{i-1}
//         + ((2x_i - 2x_{i+1}) GradientFactor[i]) / L_i,
//
// doubled abscissae (x + x) against GradientFactor[k], about half the time
// factor, except for segment 0, whose term is (x_1 GradientFactor[0]) / L_0
// with x_1 undoubled and the full factor. The two tables are separate
// constants, not derived from each other.
#include "curve_state.h"

#include <cmath>

const double SegmentTimeFactor[SEGMENT_COUNT] = {
    1.47441956,  0.85125653,  0.659380473395787, 0.557278212, 0.491473187,
    0.44455422,  0.40893041,  0.380693493,       0.35759926,  0.338255,
    0.32174472,  0.30743773,  0.29488391,        0.283752176, 0.27379283,
    0.26481357,  0.2566635,   0.24922239,        0.242393,    0.236096,
};

const double GradientFactor[SEGMENT_COUNT] = {
    1.47441956,  0.425628265, 0.329690237, 0.278639105, 0.245736594,
    0.222277113, 0.204465206, 0.190346747, 0.178799635, 0.169127523,
    0.160872363, 0.153718866, 0.147441956, 0.141876089, 0.136896419,
    0.132406785, 0.128331751, 0.124611196, 0.121196541, 0.118048041,
};

#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif

namespace {

// The order in which the 20 segment times are added up.
const int SUMMATION_ORDER[SEGMENT_COUNT] = {
    9, 1, 7, 3, 5, 4, 8, 2, 6, 0, 10, 15, 17, 13, 16, 14, 12, 18, 11, 19,
};

// The fall time from the lengths: one product a segment, added in the fixed
// order. Taken once a step, it stays as it is in every build.
double FallTimeFromLengths(const double len[SEGMENT_COUNT])
{
    double part[SEGMENT_COUNT];
    for (int k = 0; k < SEGMENT_COUNT; ++k)
        part[k] = len[k] * SegmentTimeFactor[k];
    double t = part[SUMMATION_ORDER[0]];
    for (int n = 1; n < SEGMENT_COUNT; ++n)
        t = t + part[SUMMATION_ORDER[n]];
    return t;
}

#if defined(__wasm_simd128__)

// In WebAssembly the lengths and the gradient go two segments at a time,
// each lane the same operations, rounded the same way, as the plain loops
// below.
// Segment 0's difference is x_1 - 0, which is x_1 itself.
void SegmentLengths(const double x[NODE_COUNT], double len[SEGMENT_COUNT])
{
    double xs[NODE_COUNT];
    xs[0] = 0.0;
    for (int i = INNER_FIRST; i <= INNER_LAST; ++i)
        xs[i] = x[i];
    xs[NODE_COUNT - 1] = END_X;
    const v128_t h2 = wasm_f64x2_splat(DEPTH_STEP_SQUARED);
    for (int k = 0; k < SEGMENT_COUNT; k += 2) {
        v128_t d = wasm_f64x2_sub(wasm_v128_load(&xs[k + 1]), wasm_v128_load(&xs[k]));
        wasm_v128_store(&len[k], wasm_f64x2_sqrt(wasm_f64x2_add(wasm_f64x2_mul(d, d), h2)));
    }
}

// twice and term run one past their ends (zeros) for the last pair's second
// lane.
// std::copysign is a bit select: the sign's bit from one, the rest from the
// other.
void GradientFromLengths(const double x[NODE_COUNT], const double len[SEGMENT_COUNT],
                         double g[NODE_COUNT])
{
    double twice[NODE_COUNT + 1];
    twice[0] = 0.0;
    for (int i = INNER_FIRST; i <= INNER_LAST; ++i)
        twice[i] = x[i] + x[i];
    twice[NODE_COUNT - 1] = END_X + END_X;
    twice[NODE_COUNT] = 0.0;

    double term[SEGMENT_COUNT + 1];
    for (int k = 0; k < SEGMENT_COUNT; k += 2) {
        v128_t rise = wasm_f64x2_sub(wasm_v128_load(&twice[k + 1]), wasm_v128_load(&twice[k]));
        if (k == 0)
            rise = wasm_f64x2_replace_lane(rise, 0, x[1]);
        v128_t scaled = wasm_f64x2_mul(rise, wasm_v128_load(&GradientFactor[k]));
        wasm_v128_store(&term[k], wasm_f64x2_div(scaled, wasm_v128_load(&len[k])));
    }
    term[SEGMENT_COUNT] = 0.0;

    const v128_t sign = wasm_f64x2_splat(-0.0);
    double out[NODE_COUNT];
    for (int i = INNER_FIRST; i <= INNER_LAST; i += 2) {
        v128_t below = wasm_f64x2_sub(wasm_v128_load(&twice[i]), wasm_v128_load(&twice[i + 1]));
        v128_t turned = wasm_v128_bitselect(below, wasm_v128_load(&term[i]), sign);
        wasm_v128_store(&out[i], wasm_f64x2_add(wasm_v128_load(&term[i - 1]), turned));
    }
    for (int i = INNER_FIRST; i <= INNER_LAST; ++i)
        g[i] = out[i];
}

#else

// Lengths of the 20 segments of x (ends 0 and 1); the squares are d * d,
// the correctly rounded square.
void SegmentLengths(const double x[NODE_COUNT], double len[SEGMENT_COUNT])
{
    len[0] = std::sqrt(x[1] * x[1] + DEPTH_STEP_SQUARED);
    for (int k = 1; k < SEGMENT_COUNT - 1; ++k) {
        double d = x[k + 1] - x[k];
        len[k] = std::sqrt(d * d + DEPTH_STEP_SQUARED);
    }
    double d = END_X - x[INNER_LAST];
    len[SEGMENT_COUNT - 1] = std::sqrt(d * d + DEPTH_STEP_SQUARED);
}

// The gradient from the lengths already taken. Segment k's term for the
// node below it is ((2x_{k+1} - 2x_k) GF_k) / L_k; for the node above it
// the difference is taken the other way round. Rounding to nearest is
// symmetric, so that term has the same magnitude, and its sign is the sign
// of its own difference (GF_k and L_k are positive), zeros included: each
// segment needs only one division.
void GradientFromLengths(const double x[NODE_COUNT], const double len[SEGMENT_COUNT],
                         double g[NODE_COUNT])
{
    // Abscissae doubled, with the ends 0 and 1 (doubled: 0 and 2.0).
    double twice[NODE_COUNT];
    twice[0] = 0.0;
    for (int i = INNER_FIRST; i <= INNER_LAST; ++i)
        twice[i] = x[i] + x[i];
    twice[NODE_COUNT - 1] = END_X + END_X;

    // Segment 0 takes x_1 undoubled.
    double rise[SEGMENT_COUNT];
    rise[0] = x[1];
    for (int k = 1; k < SEGMENT_COUNT; ++k)
        rise[k] = twice[k + 1] - twice[k];

    double term[SEGMENT_COUNT];
    for (int k = 0; k < SEGMENT_COUNT; ++k)
        term[k] = (rise[k] * GradientFactor[k]) / len[k];

    for (int i = INNER_FIRST; i <= INNER_LAST; ++i)
        g[i] = term[i - 1] + std::copysign(term[i], twice[i] - twice[i + 1]);
}

#endif

} // namespace

double PolylineFallTime(const double x[NODE_COUNT])
{
    double len[SEGMENT_COUNT];
    SegmentLengths(x, len);
    return FallTimeFromLengths(len);
}

void FallTimeGradient(const double x[NODE_COUNT], double g[NODE_COUNT])
{
    double len[SEGMENT_COUNT];
    SegmentLengths(x, len);
    GradientFromLengths(x, len, g);
}
