// DescentStep, PolylineFallTime and FallTimeGradient against a plain
// transcription of the step: gradient term by term, 301 passes that each copy
// NodeX into ShownX and subtract Alpha x G_i, the fall time summed in its
// order. The model's own code is arranged for speed; every bit must agree,
// signs of zero included.
#include "curve_state.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

std::uint64_t Bits(double v)
{
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

const double C = 0.002116;

double ReferenceLength(const double x[NODE_COUNT], int k)
{
    if (k == 0)
        return std::sqrt(x[1] * x[1] + C);
    double d = (k == 19 ? 1.0 : x[k + 1]) - x[k];
    return std::sqrt(d * d + C);
}

double ReferenceFallTime(const double x[NODE_COUNT])
{
    static const int order[SEGMENT_COUNT] = {9, 1, 7, 3, 5, 4, 8, 2, 6, 0,
                                             10, 15, 17, 13, 16, 14, 12, 18, 11, 19};
    double t = ReferenceLength(x, order[0]) * SegmentTimeFactor[order[0]];
    for (int n = 1; n < SEGMENT_COUNT; ++n)
        t = t + ReferenceLength(x, order[n]) * SegmentTimeFactor[order[n]];
    return t;
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
    double fallTime;
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
    r->fallTime = ReferenceFallTime(r->shown);
}

struct RunCase {
    const char *name;
    double alpha;
    int steps;
};

TEST(StepReference, WholeRunsAgreeBitForBit)
{
    static const RunCase cases[] = {
        {"start factor", 0.0001, 3500},
        {"position 1", 1 * ALPHA_PER_POSITION, 1500},
        {"position 57", 57 * ALPHA_PER_POSITION, 3000},
        {"position 58", 58 * ALPHA_PER_POSITION, 3000},
        {"position 100", 100 * ALPHA_PER_POSITION, 3500},
        {"far too large", 0.01, 200},
    };
    for (const auto &c : cases) {
        CurveStateRecord fresh = {};
        CurveState = fresh;
        InitCurves(CurveState.ScreenPts);
        CurveState.Alpha = c.alpha;
        Record r;
        std::memcpy(r.node, CurveState.NodeX, sizeof r.node);
        std::memcpy(r.shown, CurveState.ShownX, sizeof r.shown);
        for (int step = 1; step <= c.steps; ++step) {
            DescentStep();
            ReferenceStep(&r, c.alpha);
            ASSERT_EQ(Bits(CurveState.FallTime), Bits(r.fallTime)) << c.name << " step " << step;
            for (int i = 1; i <= 19; ++i) {
                ASSERT_EQ(Bits(CurveState.NodeX[i]), Bits(r.node[i]))
                    << c.name << " step " << step << " node " << i;
                ASSERT_EQ(Bits(CurveState.ShownX[i]), Bits(r.shown[i]))
                    << c.name << " step " << step << " node " << i;
            }
        }
    }
}

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
        EXPECT_EQ(Bits(PolylineFallTime(x)), Bits(ReferenceFallTime(x))) << c.name;
        double g[NODE_COUNT], h[NODE_COUNT];
        FallTimeGradient(x, g);
        ReferenceGradient(x, h);
        for (int i = 1; i <= 19; ++i)
            EXPECT_EQ(Bits(g[i]), Bits(h[i])) << c.name << " i=" << i;

        // And one step from there, with NodeX one application ahead.
        CurveStateRecord fresh = {};
        CurveState = fresh;
        InitCurves(CurveState.ScreenPts);
        CurveState.Alpha = 0.0001;
        std::memcpy(CurveState.ShownX, x, sizeof x);
        std::memcpy(CurveState.NodeX, x, sizeof x);
        CurveState.NodeX[2] = -0.0;
        Record r;
        std::memcpy(r.node, CurveState.NodeX, sizeof r.node);
        std::memcpy(r.shown, CurveState.ShownX, sizeof r.shown);
        DescentStep();
        ReferenceStep(&r, 0.0001);
        EXPECT_EQ(Bits(CurveState.FallTime), Bits(r.fallTime)) << c.name;
        for (int i = 1; i <= 19; ++i) {
            EXPECT_EQ(Bits(CurveState.NodeX[i]), Bits(r.node[i])) << c.name << " node " << i;
            EXPECT_EQ(Bits(CurveState.ShownX[i]), Bits(r.shown[i])) << c.name << " node " << i;
        }
    }
}

} // namespace
