#include "curve_state.h"
#include "subtract_times.h"

#include <cmath>
#include <cstdint>
#include <cstring>

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

// The gradient from the lengths already taken. Node i has segment i - 1
// above it and segment i below it. Segment k's term for the node below it is
// ((2x_{k+1} - 2x_k) GF_k) / L_k; for the node above it the difference is
// taken the other way round. Rounding to nearest is symmetric, so that term
// has the same magnitude, and its sign is the sign of its own difference
// (GF_k and L_k are positive), zeros included: each segment needs only one
// division.
void GradientFromLengths(const double x[NODE_COUNT], const double len[SEGMENT_COUNT],
                         double g[NODE_COUNT])
{
    // Abscissae doubled, with the ends 0 and 1 (doubled: 0 and 2.0).
    double twice[NODE_COUNT];
    twice[0] = 0.0;
    for (int i = 1; i <= INNER_LAST; ++i)
        twice[i] = x[i] + x[i];
    twice[20] = 2.0;

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
}

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

// Applying the same s again and again moves x by the same whole number of
// units in the last place each time, as long as x stays within one binade
// (one sign, one exponent): x - s rounds to the nearest multiple of that
// unit, and which multiple depends only on s. A tie (s an odd multiple of
// half a unit) is broken toward an even significand, so from the first
// application on, every later one lands on an even significand again and the
// move is the even one of the two neighbours. Below half a unit nothing
// moves at all. Among the subnormals every difference is exact, and the
// move is s itself.
//
// So: take three applications one by one, read the move off the last two
// (by then a tie has settled), and jump as far as the binade allows. The
// three single applications also carry x over every power of two, up or
// down, where the unit changes; zeros, infinities and NaNs simply go on one
// application at a time.
namespace {
const std::int64_t MAGNITUDE_BITS = 0x7FFFFFFFFFFFFFFF;
const std::uint64_t FRACTION_BITS = 0x000FFFFFFFFFFFFF;
const std::uint64_t EXPONENT_MAX = 0x7FF;

std::uint64_t BitsOf(double v)
{
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

// Doubles as integers in the order of their values: a positive double keeps
// its bits, a negative one becomes -1 - (its magnitude's bits). Neighbouring
// doubles of one sign are neighbouring integers. The map is its own inverse.
std::int64_t OrderKey(std::uint64_t bits)
{
    std::int64_t b = static_cast<std::int64_t>(bits);
    return b ^ ((b >> 63) & MAGNITUDE_BITS);
}

double FromOrderKey(std::int64_t key)
{
    std::uint64_t b = static_cast<std::uint64_t>(key ^ ((key >> 63) & MAGNITUDE_BITS));
    double v;
    std::memcpy(&v, &b, sizeof v);
    return v;
}

// Sign and exponent: doubles with the same top bits share a binade.
std::uint64_t Binade(std::uint64_t bits)
{
    return bits >> 52;
}

// x1, x2 and x3 are three applications in a row. When they and the value
// `times` moves after x3 all lie in one finite binade, and none of them is
// the binade's lowest magnitude (just below it the unit is finer, so an
// exact x - s there may round elsewhere), every move in between is the same
// as the one from x2 to x3: the value after those moves goes to *out. The
// applications only ever move one way, so checking the first and the last
// value covers every one in between; and the first may well be the lowest
// magnitude, since then x moves up and away from it. The end is worked out in
// unsigned arithmetic, which wraps where a signed product could overflow;
// with x1 and x3 in one binade the move is below 2^52 and, times being below
// 2048, nothing wraps at all.
bool JumpWithinBinade(double x1, double x2, double x3, int times, double *out)
{
    std::uint64_t b1 = BitsOf(x1);
    std::uint64_t b3 = BitsOf(x3);
    std::uint64_t k3 = static_cast<std::uint64_t>(OrderKey(b3));
    std::uint64_t move = static_cast<std::uint64_t>(OrderKey(BitsOf(x2))) - k3;
    std::int64_t end = static_cast<std::int64_t>(k3 - static_cast<std::uint64_t>(times) * move);
    std::uint64_t e = static_cast<std::uint64_t>(OrderKey(static_cast<std::uint64_t>(end)));
    bool inside = Binade(b1) == Binade(b3) && Binade(b1) == Binade(e) &&
                  (Binade(b1) & EXPONENT_MAX) != EXPONENT_MAX &&
                  (e & FRACTION_BITS) != 0 && times < 2048;
    *out = FromOrderKey(end);
    return inside || move == 0;
}
}

double SubtractTimes(double x, double s, int times)
{
    while (times > 3) {
        double x1 = x - s;
        double x2 = x1 - s;
        double x3 = x2 - s;
        times -= 3;
        x = x3;
        std::uint64_t b1 = BitsOf(x1), b2 = BitsOf(x2), b3 = BitsOf(x3);
        if (b2 == b3)
            return x3; // nothing moves any more

        std::uint64_t binade = Binade(b3);
        if (Binade(b1) != binade || (binade & EXPONENT_MAX) == EXPONENT_MAX ||
            (b3 & FRACTION_BITS) == 0)
            continue; // crossing into another binade, or not finite

        // Keys of the lowest and highest magnitude still inside; how many
        // moves fit before the binade ends.
        std::int64_t lowMagnitude = OrderKey((binade << 52) | 1);
        std::int64_t highMagnitude = OrderKey((binade << 52) | FRACTION_BITS);
        std::int64_t lowest = lowMagnitude < highMagnitude ? lowMagnitude : highMagnitude;
        std::int64_t highest = lowMagnitude < highMagnitude ? highMagnitude : lowMagnitude;
        std::int64_t k3 = OrderKey(b3);
        std::int64_t move = OrderKey(b2) - k3;
        std::int64_t room = move > 0 ? (k3 - lowest) / move : (highest - k3) / -move;
        if (room >= times)
            return FromOrderKey(k3 - times * move);
        // Go to the binade's last value, then cross one by one.
        x = FromOrderKey(k3 - room * move);
        times -= static_cast<int>(room);
    }
    for (; times > 0; --times)
        x = x - s;
    return x;
}

// ShownX gets NodeX after 300 applications of Alpha x G_i, NodeX one more;
// the product Alpha x G_i is the same in every application, so it is formed
// once. The first three applications of all nodes go side by side; nearly
// always each node then jumps the remaining 297 at once.
void DescentMoveOn(CurveStateRecord *record)
{
    double g[NODE_COUNT];
    FallTimeGradient(record->ShownX, g);

    const double alpha = record->Alpha;
    double step[NODE_COUNT], x1[NODE_COUNT], x2[NODE_COUNT], x3[NODE_COUNT];
    for (int i = INNER_FIRST; i <= INNER_LAST; ++i) {
        step[i] = alpha * g[i];
        x1[i] = record->NodeX[i] - step[i];
        x2[i] = x1[i] - step[i];
        x3[i] = x2[i] - step[i];
    }
    const int rest = APPLICATIONS_PER_STEP - 1 - 3;
    for (int i = INNER_FIRST; i <= INNER_LAST; ++i) {
        double shown;
        if (!JumpWithinBinade(x1[i], x2[i], x3[i], rest, &shown))
            shown = SubtractTimes(x3[i], step[i], rest);
        record->ShownX[i] = shown;
        record->NodeX[i] = shown - step[i];
    }
}

void DescentStepOn(CurveStateRecord *record)
{
    DescentMoveOn(record);
    record->FallTime = PolylineFallTime(record->ShownX);
}

void DescentStep()
{
    DescentStepOn(&CurveState);
}
