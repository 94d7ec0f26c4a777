// DescentStep against a plain transcription of the step: the gradient term
// by term, and 301 passes that each copy NodeX into ShownX and subtract
// Alpha x G_i. The model's own code is arranged for speed, and takes most of
// the 301 subtractions at once; every bit must agree, signs of zero
// included. (The fall time itself is pinned by literal values in the model's
// own tests.)
#include "double_bits.h"
#include "curve_state.h"
#include "subtract_times.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <utility>

namespace {


// The square of the depth step, 0.046 x 0.046, as the decimal the model holds.
const double C = 0.002116;

double ReferenceLength(const double x[NODE_COUNT], int k)
{
    if (k == 0)
        return std::sqrt(x[1] * x[1] + C);
    double d = (k == 19 ? 1.0 : x[k + 1]) - x[k];
    return std::sqrt(d * d + C);
}

void ReferenceGradient(const double x[NODE_COUNT], double g[NODE_COUNT])
{
    double twice[NODE_COUNT];
    twice[0] = 0.0;
    for (int i = 1; i <= 19; ++i)
        twice[i] = x[i] + x[i];
    twice[20] = 2.0;
    g[1] = (x[1] * GradientFactor[0]) / ReferenceLength(x, 0) +
           ((twice[1] - twice[2]) * GradientFactor[1]) / ReferenceLength(x, 1);
    for (int i = 2; i <= 19; ++i)
        g[i] = ((twice[i] - twice[i - 1]) * GradientFactor[i - 1]) / ReferenceLength(x, i - 1) +
               ((twice[i] - twice[i + 1]) * GradientFactor[i]) / ReferenceLength(x, i);
}

struct Record {
    double node[NODE_COUNT];
    double shown[NODE_COUNT];
};

void ReferenceStep(Record *r, double alpha)
{
    double g[NODE_COUNT];
    ReferenceGradient(r->shown, g);
    for (int pass = 0; pass < 301; ++pass) {
        for (int i = 1; i <= 19; ++i)
            r->shown[i] = r->node[i];
        for (int i = 1; i <= 19; ++i)
            r->node[i] = r->node[i] - alpha * g[i];
    }
}

// The record as the program starts it, then the chord; the reference starts
// from the same arrays.
void StartBoth(double alpha, Record *r)
{
    CurveState = RecordAfterWindowCreation();
    CurveState.Alpha = alpha;
    std::memcpy(r->node, CurveState.NodeX, sizeof r->node);
    std::memcpy(r->shown, CurveState.ShownX, sizeof r->shown);
}

// Empty when the model's record (CurveState unless told) holds the
// reference's arrays bit for bit; otherwise the first node that differs.
std::string Differs(const Record &r, const CurveStateRecord &model = CurveState)
{
    for (int i = 1; i <= 19; ++i) {
        if (Bits(model.NodeX[i]) != Bits(r.node[i]))
            return "NodeX[" + std::to_string(i) + "]";
        if (Bits(model.ShownX[i]) != Bits(r.shown[i]))
            return "ShownX[" + std::to_string(i) + "]";
    }
    return "";
}

// Runs the model and the reference side by side from the chord for `steps`
// steps; where they first part, or "" when they never do.
std::string CompareRun(double alpha, long steps)
{
    Record r;
    StartBoth(alpha, &r);
    for (long step = 1; step <= steps; ++step) {
        DescentStep();
        ReferenceStep(&r, alpha);
        std::string where = Differs(r);
        if (!where.empty())
            return "step " + std::to_string(step) + ": " + where;
    }
    return "";
}

// Every scroll position for its first 300 steps, and longer runs where the
// nodes travel furthest: position 100 past step 6711, where node 1 swings
// from one side of the start to the other at every step.
TEST(StepReference, WholeRunsAgreeBitForBit)
{
    for (int position = 1; position <= 100; ++position)
        EXPECT_EQ(CompareRun(position * 2.0000000000000003e-6, 300), "") << "position " << position;
    static const struct {
        const char *name;
        double alpha;
        long steps;
    } longer[] = {
        {"start factor", 0.0001, 3500},
        {"position 57", 57 * 2.0000000000000003e-6, 3000},
        {"position 58", 58 * 2.0000000000000003e-6, 3000},
        {"position 100", 100 * 2.0000000000000003e-6, 7000},
        {"far too large", 0.01, 200},
    };
    for (const auto &c : longer)
        EXPECT_EQ(CompareRun(c.alpha, c.steps), "") << c.name;
}

// The step without its fall time, on a record of its own: the same arrays
// as the reference at every step, and FallTime as it was before the run.
TEST(StepReference, MovesWithoutTheFallTimeAgreeBitForBit)
{
    static const struct {
        const char *name;
        double alpha;
        long steps;
    } cases[] = {
        {"position 1", 1 * 2.0000000000000003e-6, 300},
        {"position 58", 58 * 2.0000000000000003e-6, 3000},
        {"position 100", 100 * 2.0000000000000003e-6, 7000},
    };
    const double untouched = -1.25;
    for (const auto &c : cases) {
        Record r;
        StartBoth(c.alpha, &r);
        CurveStateRecord own = CurveState;
        own.FallTime = untouched;
        std::string where;
        for (long step = 1; step <= c.steps && where.empty(); ++step) {
            DescentMoveOn(&own);
            ReferenceStep(&r, c.alpha);
            where = Differs(r, own);
            if (!where.empty())
                where = "step " + std::to_string(step) + ": " + where;
        }
        EXPECT_EQ(where, "") << c.name;
        EXPECT_EQ(Bits(own.FallTime), Bits(untouched)) << c.name;
    }
}

#ifdef RODADERO_RUNS_TO_THE_END
// Every position from the chord until its state repeats with period 1 or 2
// (3.9 million steps in all), or for a million steps if it never does.
// Built where long runs are affordable, the sanitizer build, in five groups
// of about the same number of steps that can run side by side.
class RunToTheEnd : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(RunToTheEnd, AgreesBitForBit)
{
    for (int position = GetParam().first; position <= GetParam().second; ++position) {
        double alpha = position * 2.0000000000000003e-6;
        Record r, before[2];
        StartBoth(alpha, &r);
        before[0] = before[1] = r;
        long step = 1;
        for (; step <= 1000000; ++step) {
            DescentStep();
            ReferenceStep(&r, alpha);
            ASSERT_EQ(Differs(r), "") << "position " << position << " step " << step;
            if (std::memcmp(&r, &before[0], sizeof r) == 0 ||
                std::memcmp(&r, &before[1], sizeof r) == 0)
                break;
            before[step & 1] = r;
        }
        EXPECT_LE(step, 1000000) << "position " << position;
    }
}

INSTANTIATE_TEST_SUITE_P(Positions, RunToTheEnd,
                         ::testing::Values(std::make_pair(1, 1), std::make_pair(2, 4),
                                           std::make_pair(5, 11), std::make_pair(12, 29),
                                           std::make_pair(30, 100)));
#endif

// Polylines where the order of operations shows: signed zeros next to each
// other, tiny and huge differences, nodes out of order and beyond the ends.
TEST(StepReference, OddPolylines)
{
    const double tiny = std::numeric_limits<double>::denorm_min();
    const double least = std::numeric_limits<double>::min();
    struct Case {
        const char *name;
        double x[4];  // x_1..x_4; the rest stays on the chord
    };
    static const Case cases[] = {
        {"zeros", {0.0, 0.0, 0.0, 0.0}},
        {"negative zeros", {-0.0, -0.0, -0.0, -0.0}},
        {"zeros of both signs", {-0.0, 0.0, -0.0, 0.0}},
        {"zeros of both signs, other way", {0.0, -0.0, 0.0, -0.0}},
        {"subnormal steps", {tiny, -tiny, 2 * tiny, -0.0}},
        {"smallest normals", {least, -least, least, 0.0}},
        {"out of order", {0.4, 0.1, 0.3, -0.2}},
        {"far out", {1e150, -1e150, 3.0, 1e-300}},
        {"equal nodes", {0.25, 0.25, 0.25, 0.25}},
    };
    for (const auto &c : cases) {
        double x[NODE_COUNT];
        for (int k = 0; k < NODE_COUNT; ++k)
            x[k] = k * 0.05;
        std::memcpy(&x[1], c.x, sizeof c.x);
        x[19] = 0.95;
        double g[NODE_COUNT], h[NODE_COUNT];
        FallTimeGradient(x, g);
        ReferenceGradient(x, h);
        for (int i = 1; i <= 19; ++i)
            EXPECT_EQ(Bits(g[i]), Bits(h[i])) << c.name << " i=" << i;

        // And one step from there, with NodeX one application ahead.
        CurveState = RecordAfterWindowCreation();
        CurveState.Alpha = 0.0001;
        std::memcpy(CurveState.ShownX, x, sizeof x);
        std::memcpy(CurveState.NodeX, x, sizeof x);
        CurveState.NodeX[2] = -0.0;
        Record r;
        std::memcpy(r.node, CurveState.NodeX, sizeof r.node);
        std::memcpy(r.shown, CurveState.ShownX, sizeof r.shown);
        DescentStep();
        ReferenceStep(&r, 0.0001);
        EXPECT_EQ(Differs(r), "") << c.name;
    }
}

// --- the 301 subtractions in closed form -----------------------------------

double PlainSubtractions(double x, double s, long times)
{
    for (long n = 0; n < times; ++n)
        x = x - s;
    return x;
}

const double DENORM_MIN = std::numeric_limits<double>::denorm_min();
const double INF = std::numeric_limits<double>::infinity();

// Where the unit in the last place changes, where rounding ties, and where
// nothing is finite or normal. ulp(0.5) = 2^-53, ulp(1) = 2^-52.
TEST(SubtractTimes, BoundaryCasesAgreeWithThePlainLoop)
{
    static const struct {
        const char *name;
        double x, s;
        long times;
    } cases[] = {
        {"down across 0.5, 1.5 units above it, 3 below", 0x1.0000000000064p-1, 0x1.8p-53, 300},
        {"up across 0.5", 0x1.fffffffffff9cp-2, -0x1.4p-54, 300},
        {"lands on 0.5 exactly", 0x1.000000000012cp-1, 0x1p-53, 300},
        {"lands on 0.5, then one below it", 0x1.000000000012cp-1, 0x1p-53, 301},
        {"1.3 units: would land on 0.5, rounds below it", 0x1.000000000012cp-1,
         0x1.4cccccccccccdp-53, 300},
        {"1.3 units up from 0.5 itself", 0x1p-1, -0x1.4cccccccccccdp-53, 300},
        {"down across 0.5, 0.25 and 0.125", 0x1.0000000000064p-1, 0x1p-12, 300},
        {"half a unit, odd significand", 0x1.0000000000003p-1, 0x1p-54, 300},
        {"half a unit, even significand", 0x1.0000000000002p-1, 0x1p-54, 300},
        {"half a unit down onto 0.5", 0x1.0000000000001p-1, 0x1p-54, 300},
        {"one and a half units, odd", 0x1.8000000000001p-1, 0x1.8p-53, 300},
        {"one and a half units, even", 0x1.8000000000002p-1, 0x1.8p-53, 300},
        {"two and a half units, odd", 0x1.8000000000001p-1, 0x1.4p-52, 300},
        {"two and a half units, negative", 0x1.8000000000001p-1, -0x1.4p-52, 300},
        {"just below half a unit", 0x1.8000000000001p-1, 0x1.fffffffffffffp-55, 300},
        {"just above half a unit", 0x1.8000000000001p-1, 0x1.0000000000001p-54, 300},
        {"an odd number of units and a bit", 0x1.8p-1, 0x1.0000000000001p-51, 300},
        {"s = 0", 0.3, 0.0, 300},
        {"s = -0", 0.3, -0.0, 300},
        {"zero minus zero", 0.0, 0.0, 300},
        {"negative zero minus zero", -0.0, 0.0, 300},
        {"negative zero minus negative zero", -0.0, -0.0, 300},
        {"negative s", 0.3, -1e-9, 300},
        {"negative x moving away from zero across -0.5", -0x1.ffffffffffff0p-2, 0x1p-54, 300},
        {"negative x moving toward zero across -0.25", -0x1.0000000000010p-2, -0x1p-55, 300},
        {"subnormal s on a normal x", 0.3, DENORM_MIN, 300},
        {"subnormal s on a subnormal x", 5 * DENORM_MIN, DENORM_MIN, 300},
        {"subnormal s from zero", 0.0, DENORM_MIN, 300},
        {"through zero among the subnormals", 3 * DENORM_MIN, DENORM_MIN, 300},
        {"from the normals into the subnormals", 0x1.0000000000004p-1022, 0x1p-1074, 300},
        {"x near zero, through zero", 1e-17, 1e-19, 300},
        {"x near zero, s a thousandth of it", 0x1p-1020, 0x1p-1030, 300},
        {"x near 1, half a unit up onto 1", 0x1.fffffffffffffp-1, -0x1p-54, 300},
        {"x near 1, up across 1", 0x1.fffffffffff9cp-1, -0x1.8p-53, 300},
        {"x near 1, down across 1", 0x1.000000000000ap+0, 0x1.8p-52, 300},
        {"largest double, half a unit up", 0x1.fffffffffffffp+1023, -0x1p+970, 300},
        {"largest double, a quarter unit up", 0x1.fffffffffffffp+1023, -0x1p+969, 300},
        {"infinity", INF, 1.0, 300},
        {"infinity minus infinity", INF, INF, 300},
        {"not a number", 0.3, std::numeric_limits<double>::quiet_NaN(), 300},
        {"s far larger than x", 1e-300, 0.1, 300},
        {"a long run through many binades and zero", 0.9, 1e-5, 100000},
        {"a long run that stays in one binade", 0.9, 1e-12, 100000},
        {"2^14 moves of 2^50 units: 2^64 units, far out of the binade", 1.99, 0.25, 16387},
        {"no application", 0.3, 1e-9, 0},
        {"one application", 0.3, 1e-9, 1},
        {"three applications", 0.3, 1e-9, 3},
        {"four applications", 0.3, 1e-9, 4},
    };
    for (const auto &c : cases) {
        double plain = PlainSubtractions(c.x, c.s, c.times);
        double fast = SubtractTimes(c.x, c.s, static_cast<int>(c.times));
        EXPECT_EQ(Bits(fast), Bits(plain)) << c.name << ": " << fast << " against " << plain;
    }
}

// The jump within one binade, at its edges. x1, x2 and x3 are the first
// three applications from x0, one by one; the jump then claims the value
// after `times` more. Where it claims one, that value must be the plain
// loop's; and it must claim one wherever the three and the end lie inside
// one binade (else the step would fall back on the slow path), and refuse
// where the end reaches the binade's lowest magnitude or leaves the binade,
// where the unit of the last place changes.
TEST(JumpWithinBinade, ClaimsOnlyWhatThePlainLoopGives)
{
    const double u = 0x1p-53; // the unit in the last place on [0.5, 1)
    static const struct {
        const char *name;
        double x0, s;
        int times;
        bool jumps;
    } cases[] = {
        {"inside one binade", 0.3, 1e-9, 297, true},
        {"negative, moving away from zero inside one binade", -0.3, 1e-9, 297, true},
        {"nothing moves any more", 0.3, 1e-30, 297, true},
        {"infinity stays", INF, 1.0, 297, true},
        {"ends one move above the lowest magnitude", 0.5 + 301 * u, u, 297, true},
        {"ends on the binade's lowest magnitude", 0.5 + 300 * u, u, 297, false},
        {"ends one move below it, where the unit is finer", 0.5 + 299 * u, u, 297, false},
        {"starts on the lowest magnitude, moving up", 0.5 - u, -u, 297, true},
        {"starts below the binade, moving up into it", 0.5 - 2 * u, -u, 297, false},
        {"ends on the binade's highest magnitude", 1.0 - 301 * u, -u, 297, true},
        {"ends on the next power of two", 1.0 - 300 * u, -u, 297, false},
        {"2047 moves after the three", 0.3, 1e-12, 2047, true},
        {"2048 moves after the three", 0.3, 1e-12, 2048, false},
        {"subnormals, ending one unit above zero", 5 * DENORM_MIN, DENORM_MIN, 1, true},
        {"subnormals, ending on zero", 5 * DENORM_MIN, DENORM_MIN, 2, false},
    };
    for (const auto &c : cases) {
        double x1 = c.x0 - c.s;
        double x2 = x1 - c.s;
        double x3 = x2 - c.s;
        double out = 0.0;
        bool jumped = subtract_times::JumpWithinBinade(x1, x2, x3, c.times, &out);
        EXPECT_EQ(jumped, c.jumps) << c.name;
        if (jumped) {
            EXPECT_EQ(Bits(out), Bits(PlainSubtractions(x3, c.s, c.times))) << c.name;
        }
    }
}

// splitmix64: the same numbers in every build.
std::uint64_t NextRandom(std::uint64_t *state)
{
    std::uint64_t z = (*state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// Random x of every size and sign, s a random number of units of x (whole,
// half-way, or anything), tiny or subnormal, and up to 700 applications (a
// tenth of the cases up to 20,000).
TEST(SubtractTimes, RandomCasesAgreeWithThePlainLoop)
{
    std::uint64_t seed = 20261207;
    int failures = 0;
    for (int n = 0; n < 200000 && failures < 10; ++n) {
        double mantissa = std::ldexp(static_cast<double>(NextRandom(&seed) >> 11), -53);
        double sign = (NextRandom(&seed) & 1) ? 1.0 : -1.0;
        double x = 0.0;
        switch (NextRandom(&seed) % 4) {
        case 0: x = sign * mantissa; break;
        case 1: x = sign * std::ldexp(1.0 + mantissa * 1e-13, static_cast<int>(NextRandom(&seed) % 10) - 5); break;
        case 2: x = sign * std::ldexp(mantissa, -static_cast<int>(NextRandom(&seed) % 1100)); break;
        default: x = std::ldexp(1.0, -static_cast<int>(NextRandom(&seed) % 5)) +
                     std::ldexp(static_cast<double>(NextRandom(&seed) % 41) - 20, -60);
        }
        double unit = std::ldexp(1.0, std::ilogb(x == 0.0 ? 1e-300 : x) - 52);
        double s = 0.0;
        switch (NextRandom(&seed) % 4) {
        case 0: s = unit * (static_cast<double>(NextRandom(&seed) % 64) - 32) * 0.5; break;
        case 1: s = unit * (static_cast<double>(NextRandom(&seed) % 100000) / 997.0 - 50); break;
        case 2: s = sign * std::ldexp(static_cast<double>(NextRandom(&seed) >> 11), -63); break;
        default: s = static_cast<double>(NextRandom(&seed) % 8) * DENORM_MIN;
        }
        long times = static_cast<long>(NextRandom(&seed) % (n % 10 == 0 ? 20000 : 700));
        double plain = PlainSubtractions(x, s, times);
        double fast = SubtractTimes(x, s, static_cast<int>(times));
        if (Bits(fast) != Bits(plain)) {
            ++failures;
            ADD_FAILURE() << std::hexfloat << "x " << x << ", s " << s << ", " << times
                          << " times: " << fast << " against " << plain;
        }
    }
}

} // namespace
