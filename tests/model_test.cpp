// The curve model: starting state, descent steps and the printed fall time.
// The same source runs natively and as a Windows program under Wine; every
// comparison of a double is exact unless it says otherwise, so the two
// builds must agree bit for bit.
#include "curve_state.h"
#include "trunc_int.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

int PrintedTime()
{
    return TruncToInt(CurveState.FallTime * 1000000.0);
}

// Fresh record as at program start, then the chord.
void StartFromChord(double alpha = ALPHA_START)
{
    CurveStateRecord fresh = {};
    fresh.Alpha = ALPHA_START;
    fresh.AlphaPos = ALPHA_POS_START;
    CurveState = fresh;
    InitCurves(CurveState.ScreenPts);
    CurveState.Alpha = alpha;
}

void Steps(int n)
{
    for (int i = 0; i < n; ++i)
        DescentStep();
}

double AlphaAt(int position)
{
    return position * ALPHA_PER_POSITION;
}

std::uint64_t Bits(double v)
{
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

// The record as the program finds it: it is constant-initialised, so this
// copy is taken before any test touches it.
const CurveStateRecord atStart = CurveState;

TEST(ProgramStart, RecordHoldsItsStartingValues)
{
    EXPECT_EQ(atStart.Alpha, 0.0001);
    EXPECT_EQ(atStart.AlphaPos, 50);
    EXPECT_EQ(atStart.RunContinuous, 0);
    EXPECT_EQ(atStart.ApproxColor, 0u);
    EXPECT_EQ(atStart.FallTime, 0.0);
    for (int k = 0; k < NODE_COUNT; ++k) {
        EXPECT_EQ(Bits(atStart.NodeX[k]), 0u) << k;
        EXPECT_EQ(Bits(atStart.ShownX[k]), 0u) << k;
        EXPECT_EQ(Bits(atStart.CycloidPts[k].x) | Bits(atStart.CycloidPts[k].y), 0u) << k;
        EXPECT_EQ(Bits(atStart.ScreenPts[k].x) | Bits(atStart.ScreenPts[k].y), 0u) << k;
    }
}

TEST(ProgramStart, PointLayouts)
{
    // Cycloid points are x then y; screen points are y then x.
    ModelPoint m = {1.0, 2.0};
    ScreenPoint s = {3.0, 4.0};
    double raw[2];
    std::memcpy(raw, &m, sizeof raw);
    EXPECT_EQ(raw[0], 1.0);
    std::memcpy(raw, &s, sizeof raw);
    EXPECT_EQ(raw[0], 3.0);
    EXPECT_EQ(s.y, 3.0);
    EXPECT_EQ(sizeof(CurveState.CycloidPts), 21 * 2 * sizeof(double));
    EXPECT_EQ(sizeof(CurveState.ScreenPts), 21 * 2 * sizeof(double));
}

TEST(InitCurves, ChordNodes)
{
    StartFromChord();
    static const struct { int k; double x; } cases[] = {
        {0, 0.0}, {1, 0.05}, {2, 0.1}, {3, 0.15000000000000002}, {4, 0.2},
        {10, 0.5}, {19, 19 * 0.05}, {20, 1.0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Bits(CurveState.NodeX[c.k]), Bits(c.x)) << "k=" << c.k;
    EXPECT_NE(CurveState.NodeX[3], 0.15);
    for (int k = 1; k < NODE_COUNT; ++k)
        EXPECT_EQ(Bits(CurveState.ShownX[k]), Bits(CurveState.NodeX[k])) << k;
    EXPECT_EQ(Bits(CurveState.ShownX[0]), Bits(0.0));
}

TEST(InitCurves, ScreenPoints)
{
    StartFromChord();
    static const struct { int k; double y, x; } cases[] = {
        {0, 0.0, 0.0}, {1, 18.3, 400.0}, {3, 54.900000000000006, 400.0},
        {5, 91.5, 400.0}, {10, 183.0, 400.0}, {20, 366.0, 400.0},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Bits(CurveState.ScreenPts[c.k].y), Bits(c.y)) << "k=" << c.k;
        EXPECT_EQ(Bits(CurveState.ScreenPts[c.k].x), Bits(c.x)) << "k=" << c.k;
    }
}

TEST(InitCurves, CycloidSamples)
{
    StartFromChord();
    static const struct { int k; double x, y; } near[] = {
        {0, 0.000322584, 0.006155830},
        {9, 0.285398163, 0.5},
        {19, 1.570796327, 1.0},
        {20, 1.727553376, 0.993844170},
    };
    for (const auto &c : near) {
        EXPECT_NEAR(CurveState.CycloidPts[c.k].x, c.x, 1e-9) << "k=" << c.k;
        EXPECT_NEAR(CurveState.CycloidPts[c.k].y, c.y, 1e-9) << "k=" << c.k;
    }
    // At theta = pi/2 the cosine of the double is about 6e-17, not 0.
    EXPECT_EQ(Bits(CurveState.CycloidPts[9].y), Bits(0.49999999999999994));
    EXPECT_EQ(Bits(CurveState.CycloidPts[9].y), Bits(std::nextafter(0.5, 0.0)));
    EXPECT_EQ(Bits(CurveState.CycloidPts[19].y), Bits(1.0));
}

TEST(InitCurves, TwiceInARowIsBitIdentical)
{
    StartFromChord();
    CurveStateRecord first = CurveState;
    InitCurves(CurveState.ScreenPts);
    EXPECT_EQ(std::memcmp(&first, &CurveState, sizeof first), 0);
}

TEST(InitCurves, ResetAfterStepsRestoresOnlyTheCurves)
{
    StartFromChord();
    CurveStateRecord chord = CurveState;
    CurveState.Alpha = AlphaAt(73);
    CurveState.AlphaPos = 73;
    CurveState.RunContinuous = 1;
    CurveState.ApproxColor = 0x0000FF;
    Steps(500);
    double fallTime = CurveState.FallTime;
    InitCurves(CurveState.ScreenPts);

    EXPECT_EQ(std::memcmp(CurveState.NodeX, chord.NodeX, sizeof chord.NodeX), 0);
    EXPECT_EQ(std::memcmp(CurveState.ShownX, chord.ShownX, sizeof chord.ShownX), 0);
    EXPECT_EQ(std::memcmp(CurveState.CycloidPts, chord.CycloidPts, sizeof chord.CycloidPts), 0);
    EXPECT_EQ(std::memcmp(CurveState.ScreenPts, chord.ScreenPts, sizeof chord.ScreenPts), 0);
    EXPECT_EQ(Bits(CurveState.FallTime), Bits(fallTime));
    EXPECT_EQ(Bits(CurveState.Alpha), Bits(AlphaAt(73)));
    EXPECT_EQ(CurveState.AlphaPos, 73);
    EXPECT_EQ(CurveState.RunContinuous, 1);
    EXPECT_EQ(CurveState.ApproxColor, 0x0000FFu);
}

TEST(FactorTables, StoredDigitsFollowTheRule)
{
    // 1 / sqrt(0.92 (k + 0.5)) to the stored digits; the gradient factors are
    // half of it except row 0. The two columns are not derived from each
    // other (row 9 is the telling one).
    for (int k = 0; k < SEGMENT_COUNT; ++k) {
        double rule = 1.0 / std::sqrt(0.92 * (k + 0.5));
        EXPECT_NEAR(SegmentTimeFactor[k] / rule, 1.0, 2e-6) << k;
        EXPECT_NEAR(GradientFactor[k] / (k == 0 ? rule : rule / 2), 1.0, 1e-8) << k;
    }
    EXPECT_EQ(SegmentTimeFactor[9], 0.338255);
    EXPECT_EQ(GradientFactor[9], 0.169127523);
    EXPECT_EQ(SegmentTimeFactor[2], 0.659380473395787);
    EXPECT_EQ(GradientFactor[0], SegmentTimeFactor[0]);
}

TEST(FallTime, ChordBeforeAnyStep)
{
    StartFromChord();
    EXPECT_EQ(CurveState.FallTime, 0.0);
    EXPECT_EQ(PrintedTime(), 0);
    double chord = PolylineFallTime(CurveState.ShownX);
    EXPECT_NEAR(chord, 0.59072386083, 1e-10);
    EXPECT_EQ(TruncToInt(chord * 1000000.0), 590723);
}

TEST(FallTime, EndAbscissaeComeFromConstants)
{
    StartFromChord();
    double x[NODE_COUNT];
    std::memcpy(x, CurveState.ShownX, sizeof x);
    double t = PolylineFallTime(x);
    double g[NODE_COUNT], h[NODE_COUNT];
    FallTimeGradient(x, g);
    x[0] = 123.0;
    x[20] = -7.5;
    EXPECT_EQ(Bits(PolylineFallTime(x)), Bits(t));
    FallTimeGradient(x, h);
    for (int i = 1; i <= INNER_LAST; ++i)
        EXPECT_EQ(Bits(g[i]), Bits(h[i])) << i;
}

TEST(FallTime, GradientAtTheChord)
{
    StartFromChord();
    double g[NODE_COUNT];
    FallTimeGradient(CurveState.ShownX, g);
    static const struct { int i; double g; } cases[] = {
        {1, 0.458605}, {2, 0.141208}, {3, 0.075140}, {18, 0.005026}, {19, 0.004634},
    };
    for (const auto &c : cases)
        EXPECT_NEAR(g[c.i], c.g, 5e-7) << "i=" << c.i;
    for (int i = 1; i <= INNER_LAST; ++i)
        EXPECT_GT(g[i], 0.0) << i;

    // The gradient matches a central difference of the fall time, up to the
    // stored digits of the factors (each term differs by at most 4e-7 relative).
    for (int i = 1; i <= INNER_LAST; ++i) {
        double x[NODE_COUNT];
        std::memcpy(x, CurveState.ShownX, sizeof x);
        const double h = 1e-6;
        x[i] += h;
        double up = PolylineFallTime(x);
        x[i] -= 2 * h;
        double down = PolylineFallTime(x);
        EXPECT_NEAR(g[i], (up - down) / (2 * h), 3e-7) << i;
    }
}

TEST(DescentStep, FirstStepMovesEveryInnerNodeLeft)
{
    StartFromChord();
    CurveStateRecord chord = CurveState;
    double g[NODE_COUNT];
    FallTimeGradient(CurveState.ShownX, g);
    DescentStep();
    for (int i = 1; i <= INNER_LAST; ++i) {
        EXPECT_LT(CurveState.ShownX[i], chord.ShownX[i]) << i;
        EXPECT_LT(CurveState.NodeX[i], CurveState.ShownX[i]) << i;
        // NodeX ran one application further with the same product.
        EXPECT_EQ(Bits(CurveState.NodeX[i]),
                  Bits(CurveState.ShownX[i] - CurveState.Alpha * g[i])) << i;
    }
    EXPECT_NEAR(CurveState.FallTime, 0.58481878426, 1e-11);
    EXPECT_NEAR(CurveState.ShownX[1], 0.0362418500, 1e-10);
    EXPECT_NEAR(CurveState.NodeX[1], 0.0361959895, 1e-10);
    EXPECT_EQ(Bits(CurveState.FallTime), Bits(PolylineFallTime(CurveState.ShownX)));
    // Ends untouched.
    EXPECT_EQ(CurveState.NodeX[0], 0.0);
    EXPECT_EQ(CurveState.NodeX[20], 1.0);
    EXPECT_EQ(CurveState.ShownX[0], 0.0);
    EXPECT_EQ(CurveState.ShownX[20], 1.0);
}

TEST(DescentStep, ThreeHundredAndOneSeparateSubtractions)
{
    // Each application is its own subtraction of Alpha x G_i from NodeX.
    StartFromChord();
    double g[NODE_COUNT];
    FallTimeGradient(CurveState.ShownX, g);
    double node[NODE_COUNT], shown[NODE_COUNT];
    std::memcpy(node, CurveState.NodeX, sizeof node);
    for (int pass = 0; pass < 301; ++pass) {
        std::memcpy(shown, node, sizeof node);
        for (int i = 1; i <= INNER_LAST; ++i)
            node[i] = node[i] - CurveState.Alpha * g[i];
    }
    DescentStep();
    for (int i = 1; i <= INNER_LAST; ++i) {
        EXPECT_EQ(Bits(CurveState.NodeX[i]), Bits(node[i])) << i;
        EXPECT_EQ(Bits(CurveState.ShownX[i]), Bits(shown[i])) << i;
    }
}

TEST(DescentStep, EndElementsHaveNoInfluence)
{
    StartFromChord();
    Steps(3);
    CurveStateRecord before = CurveState;
    DescentStep();
    CurveStateRecord plain = CurveState;

    CurveState = before;
    CurveState.NodeX[0] = 5.0;
    CurveState.NodeX[20] = -3.0;
    CurveState.ShownX[0] = 0.25;
    CurveState.ShownX[20] = 9.0;
    DescentStep();
    for (int i = 1; i <= INNER_LAST; ++i) {
        EXPECT_EQ(Bits(CurveState.NodeX[i]), Bits(plain.NodeX[i])) << i;
        EXPECT_EQ(Bits(CurveState.ShownX[i]), Bits(plain.ShownX[i])) << i;
    }
    EXPECT_EQ(Bits(CurveState.FallTime), Bits(plain.FallTime));
    EXPECT_EQ(CurveState.NodeX[0], 5.0);
    EXPECT_EQ(CurveState.ShownX[20], 9.0);
}

// Printed time after a given number of steps, for a given step factor.
struct PrintedCase {
    const char *name;
    double alpha;
    int step;
    int printed;
};

TEST(DescentStep, PrintedTimes)
{
    static const PrintedCase cases[] = {
        {"start factor", ALPHA_START, 1, 584818},
        {"start factor", ALPHA_START, 2, 582210},
        {"start factor", ALPHA_START, 10, 574726},
        {"start factor", ALPHA_START, 100, 558413},
        {"start factor", ALPHA_START, 1000, 542984},
        {"start factor", ALPHA_START, 3283, 542355},
        {"position 1", AlphaAt(1), 1, 590579},
        {"position 1", AlphaAt(1), 10, 589358},
        {"position 1", AlphaAt(1), 100, 582581},
        {"position 1", AlphaAt(1), 1000, 570559},
        {"position 1", AlphaAt(1), 10000, 552480},
        {"position 100", AlphaAt(100), 1, 582296},
        {"position 100", AlphaAt(100), 2, 579420},
        {"position 100", AlphaAt(100), 12, 569794},
        {"position 100", AlphaAt(100), 13, 569810},
    };
    const PrintedCase *run = nullptr;
    int done = 0;
    for (const auto &c : cases) {
        if (!run || run->alpha != c.alpha || c.step < done) {
            StartFromChord(c.alpha);
            done = 0;
        }
        run = &c;
        Steps(c.step - done);
        done = c.step;
        EXPECT_EQ(PrintedTime(), c.printed) << c.name << ", step " << c.step;
    }
}

TEST(DescentStep, StartFactorSettlesAt542355FromStep3283)
{
    StartFromChord();
    int previous = 0;
    int firstSettled = 0;
    for (int step = 1; step <= 12000; ++step) {
        DescentStep();
        int now = PrintedTime();
        if (step > 1) {
            ASSERT_LE(now, previous) << "rose at step " << step;
        }
        if (now == 542355 && firstSettled == 0)
            firstSettled = step;
        if (firstSettled) {
            ASSERT_EQ(now, 542355) << "left 542355 at step " << step;
        }
        previous = now;
        if (step == 3283) {
            EXPECT_NEAR(CurveState.ShownX[10], 0.24737, 5e-6);
            EXPECT_NEAR(CurveState.ShownX[19], 0.86913, 5e-6);
        }
        if (step == 8000 || step == 10000 || step == 12000) {
            EXPECT_NEAR(CurveState.ShownX[1], 0.00704, 5e-6) << step;
            EXPECT_NEAR(CurveState.ShownX[10], 0.24641, 5e-6) << step;
            EXPECT_NEAR(CurveState.ShownX[19], 0.86781, 5e-6) << step;
        }
    }
    EXPECT_EQ(firstSettled, 3283);
}

// Where the printed time stops changing, or starts to alternate, for the
// scroll positions on either side of the change of behaviour.
struct LimitCase {
    int position;
    int steps;
    int from;   // first step of the final pattern
    int low;    // the settled value, or the lower of the two alternating ones
    int high;   // equal to low when settled
};

TEST(DescentStep, StepFactorLimits)
{
    static const LimitCase cases[] = {
        {57, 6000, 2880, 542355, 542355},
        {58, 6000, 5626, 543340, 543399},
        {100, 6000, 2919, 606421, 619768},
    };
    for (const auto &c : cases) {
        StartFromChord(AlphaAt(c.position));
        static int printed[6001];
        for (int s = 1; s <= c.steps; ++s) {
            DescentStep();
            printed[s] = PrintedTime();
        }
        // From `from` on the time repeats with period 2 (1 when settled) and
        // takes exactly the two values; one step earlier it does not.
        for (int s = c.from; s + 2 <= c.steps; ++s)
            ASSERT_EQ(printed[s], printed[s + 2]) << "position " << c.position << " step " << s;
        int lo = std::min(printed[c.from], printed[c.from + 1]);
        int hi = std::max(printed[c.from], printed[c.from + 1]);
        EXPECT_EQ(lo, c.low) << "position " << c.position;
        EXPECT_EQ(hi, c.high) << "position " << c.position;
        int prev = c.from - 1;
        bool patternBroken = c.low == c.high ? printed[prev] != c.low
                                             : printed[prev] != printed[prev + 2];
        EXPECT_TRUE(patternBroken) << "position " << c.position << " starts before " << c.from;
        for (int i = 1; i <= INNER_LAST; ++i)
            ASSERT_TRUE(std::isfinite(CurveState.NodeX[i]));
    }
}

TEST(DescentStep, PositionHundredSwingsNodeOneAcrossTheStart)
{
    StartFromChord(AlphaAt(100));
    Steps(3000);
    double a = CurveState.ShownX[1];
    DescentStep();
    double b = CurveState.ShownX[1];
    EXPECT_NEAR(std::max(a, b), 0.0658, 5e-5);
    EXPECT_NEAR(std::min(a, b), -0.0283, 5e-5);
}

TEST(TruncToInt, TowardZeroAndTotal)
{
    static const struct { double v; std::int32_t expected; } cases[] = {
        {2.9, 2}, {-0.4, 0}, {-0.0, 0}, {0.0, 0}, {-2.9, -2},
        {2147483647.5, 2147483647}, {2147483647.0, 2147483647},
        {-2147483648.5, -2147483647 - 1}, {-2147483648.0, -2147483647 - 1},
        {-2147483647.9, -2147483647},
        {1e300, 2147483647}, {-1e300, -2147483647 - 1},
        {HUGE_VAL, 2147483647}, {-HUGE_VAL, -2147483647 - 1},
        {std::nan(""), 0}, {-std::nan(""), 0},
        {512345.6789, 512345}, {366.0, 366}, {-0.0025 * 400, -1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TruncToInt(c.v), c.expected) << c.v;
}

} // namespace
