// The curve model: starting state, descent steps and the printed fall time.
// The same source runs natively and as a Windows program under Wine; every
// comparison of a double is exact unless it says otherwise, so the two
// builds must agree bit for bit.
#include "double_bits.h"
#include "curve_state.h"
#include "trunc_int.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <string>

namespace {

int PrintedNow()
{
    return PrintedTime(CurveState.FallTime);
}

// The record as window creation leaves it, then the step factor.
void StartFromChord(double alpha = ALPHA_START)
{
    CurveState = RecordAfterWindowCreation();
    CurveState.Alpha = alpha;
}

void Steps(int n)
{
    for (int i = 0; i < n; ++i)
        DescentStep();
}




// Cycloid points are x then y; screen points are y then x; each is two
// doubles with nothing between or after them.
static_assert(offsetof(ModelPoint, x) == 0 && offsetof(ModelPoint, y) == sizeof(double),
              "cycloid point: x, then y");
static_assert(offsetof(ScreenPoint, y) == 0 && offsetof(ScreenPoint, x) == sizeof(double),
              "screen point: y, then x");
static_assert(sizeof(CurveState.CycloidPts) == 21 * 2 * sizeof(double), "21 cycloid points");
static_assert(sizeof(CurveState.ScreenPts) == 21 * 2 * sizeof(double), "21 screen points");

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

TEST(InitCurves, ChordNodes)
{
    StartFromChord();
    static const struct { int k; double x; } cases[] = {
        {0, 0.0}, {1, 0.05}, {2, 0.1}, {3, 0.15000000000000002}, {4, 0.2},
        {10, 0.5}, {19, 0.9500000000000001}, {20, 1.0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Bits(CurveState.NodeX[c.k]), Bits(c.x)) << "k=" << c.k;
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
    // 0.49999999999999994 is one unit in the last place below 0.5.
    EXPECT_EQ(Bits(CurveState.CycloidPts[9].y), Bits(0.49999999999999994));
    EXPECT_EQ(Bits(CurveState.CycloidPts[19].y), Bits(1.0));
}

TEST(InitCurves, ResetAfterStepsRestoresOnlyTheCurves)
{
    StartFromChord();
    CurveStateRecord chord = CurveState;
    CurveState.Alpha = AlphaForPosition(73);
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
    EXPECT_EQ(Bits(CurveState.Alpha), Bits(AlphaForPosition(73)));
    EXPECT_EQ(CurveState.AlphaPos, 73);
    EXPECT_EQ(CurveState.RunContinuous, 1);
    EXPECT_EQ(CurveState.ApproxColor, 0x0000FFu);
}

TEST(FactorTables, StoredDigitsFollowTheRule)
{
    // 1 / sqrt(0.92 (k + 0.5)) to the stored digits; the gradient factors are
    // half of it except row 0. Every stored digit is pinned by the fall
    // times below, which come from the tables' own values.
    for (int k = 0; k < SEGMENT_COUNT; ++k) {
        double rule = 1.0 / std::sqrt(0.92 * (k + 0.5));
        EXPECT_NEAR(SegmentTimeFactor[k] / rule, 1.0, 2e-6) << k;
        EXPECT_NEAR(GradientFactor[k] / (k == 0 ? rule : rule / 2), 1.0, 1e-8) << k;
    }
    EXPECT_EQ(GradientFactor[0], SegmentTimeFactor[0]);
}

TEST(FallTime, ChordBeforeAnyStep)
{
    StartFromChord();
    EXPECT_EQ(CurveState.FallTime, 0.0);
    EXPECT_EQ(PrintedNow(), 0);
    // 0.5907238608263491 s (590723 printed, never shown), from a plain
    // reference of the fall time run once outside the program: the segment
    // times added in the program's order.
    EXPECT_EQ(HexBits(PolylineFallTime(CurveState.ShownX)), "0x3fe2e735b9e6e9ad");
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

TEST(DescentStep, FirstStepFromTheChord)
{
    // ShownX and NodeX after one step with the starting factor, from a plain
    // reference run once outside the program: the gradient at the chord
    // applied in 301 separate subtractions, ShownX copied before each. Every
    // node moves left, and NodeX runs one application ahead: ShownX[1] is
    // 0.036241850025185665 and NodeX[1] 0.03619598952526962.
    static const struct { int i; const char *shown, *node; } cases[] = {
        { 1, "0x3fa28e4ab1359c72", "0x3fa28847de83c8d4"},
        { 2, "0x3fb883f9849bfd1e", "0x3fb8830c9c6ec521"},
        { 3, "0x3fc2e9558b3ac2f4", "0x3fc2e91682fd58c4"},
        { 4, "0x3fc969fe4e43b5ea", "0x3fc969d5ae70a6a6"},
        { 5, "0x3fcfde0e766f8b48", "0x3fcfddf17f5d247e"},
        { 6, "0x3fd32650612a30d4", "0x3fd32645622bde0c"},
        { 7, "0x3fd65c2f9e19ca77", "0x3fd65c26e6d1db03"},
        { 8, "0x3fd9913f09fd883a", "0x3fd99137e915c232"},
        { 9, "0x3fdcc5cd7eae0c79", "0x3fdcc5c78619775a"},
        {10, "0x3fdffa071e6672f8", "0x3fdffa0205c13e72"},
        {11, "0x3fe197032cd1f16a", "0x3fe19700f78d02c6"},
        {12, "0x3fe330edf2ca0058", "0x3fe330ec02c9a693"},
        {13, "0x3fe4cac9645f581d", "0x3fe4cac7ac8ec419"},
        {14, "0x3fe66499465b5ce3", "0x3fe66497bcdd0860"},
        {15, "0x3fe7fe6040bfba14", "0x3fe7fe5eddfa6483"},
        {16, "0x3fe998203edafa82", "0x3fe9981efcd8a2f0"},
        {17, "0x3feb31daabbbcac8", "0x3feb31d985bc3f57"},
        {18, "0x3feccb9098ff8445", "0x3feccb8f8b2c0f1f"},
        {19, "0x3fee6542d8115af3", "0x3fee6541df45fa7c"},
    };
    StartFromChord();
    DescentStep();
    for (const auto &c : cases) {
        EXPECT_EQ(HexBits(CurveState.ShownX[c.i]), c.shown) << "ShownX " << c.i;
        EXPECT_EQ(HexBits(CurveState.NodeX[c.i]), c.node) << "NodeX " << c.i;
    }
    // Ends untouched.
    EXPECT_EQ(CurveState.NodeX[0], 0.0);
    EXPECT_EQ(CurveState.NodeX[20], 1.0);
    EXPECT_EQ(CurveState.ShownX[0], 0.0);
    EXPECT_EQ(CurveState.ShownX[20], 1.0);
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

// The fall time after a given number of steps from the chord, for a given
// step factor: the number the window prints and the bits of FallTime.
struct FallTimeCase {
    const char *name;
    double alpha;
    int step;
    int printed;
    const char *bits;
};

TEST(DescentStep, FallTimesAfterSteps)
{
    // The bits come from a plain reference of the step run once outside the
    // program; its printed numbers agree with the demo's published ones.
    // With the chord's time and the bits at step 3283 (next test) they pin
    // the order in which the segment times are added: exchanging any two of
    // its entries changes at least one of them (steps 28, 70, 95 and 183 are
    // here for that), except the first two, whose exchange cannot change a
    // sum. They also pin every stored digit of both factor tables.
    static const FallTimeCase cases[] = {
        {"start factor", ALPHA_START, 1, 584818, "0x3fe2b6d5e20f6eeb"},
        {"start factor", ALPHA_START, 2, 582210, "0x3fe2a176f310ad79"},
        {"start factor", ALPHA_START, 3, 580643, "0x3fe294a2b85abef2"},
        {"start factor", ALPHA_START, 10, 574726, "0x3fe264293392f917"},
        {"start factor", ALPHA_START, 28, 568255, "0x3fe22f2558594fe7"},
        {"start factor", ALPHA_START, 70, 561361, "0x3fe1f6ac47713204"},
        {"start factor", ALPHA_START, 95, 558845, "0x3fe1e20efc2b4ba3"},
        {"start factor", ALPHA_START, 100, 558413, "0x3fe1de8665f2e6c5"},
        {"start factor", ALPHA_START, 183, 553232, "0x3fe1b4156b06a0fd"},
        {"start factor", ALPHA_START, 1000, 542984, "0x3fe160204b4ea206"},
        {"position 1", AlphaForPosition(1), 1, 590579, "0x3fe2e606a647ae4b"},
        {"position 1", AlphaForPosition(1), 10, 589358, "0x3fe2dc06863bcee4"},
        {"position 1", AlphaForPosition(1), 100, 582581, "0x3fe2a482be1f1ead"},
        {"position 1", AlphaForPosition(1), 1000, 570559, "0x3fe24205c1af064d"},
        {"position 1", AlphaForPosition(1), 10000, 552480, "0x3fe1adec9e47f922"},
        {"position 100", AlphaForPosition(100), 1, 582296, "0x3fe2a22c2c609e45"},
        {"position 100", AlphaForPosition(100), 2, 579420, "0x3fe28a9d7f773ae7"},
        {"position 100", AlphaForPosition(100), 12, 569794, "0x3fe23bc16cff321b"},
        {"position 100", AlphaForPosition(100), 13, 569810, "0x3fe23be3c379be24"},
    };
    const FallTimeCase *run = nullptr;
    int done = 0;
    for (const auto &c : cases) {
        if (!run || run->alpha != c.alpha || c.step < done) {
            StartFromChord(c.alpha);
            done = 0;
        }
        run = &c;
        Steps(c.step - done);
        done = c.step;
        EXPECT_EQ(PrintedNow(), c.printed) << c.name << ", step " << c.step;
        EXPECT_EQ(HexBits(CurveState.FallTime), c.bits) << c.name << ", step " << c.step;
    }
}

TEST(DescentStep, StartFactorSettlesAt542355FromStep3283)
{
    StartFromChord();
    int previous = 0;
    int firstSettled = 0;
    for (int step = 1; step <= 12000; ++step) {
        DescentStep();
        int now = PrintedNow();
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
            // From the same reference as the table above.
            EXPECT_EQ(HexBits(CurveState.FallTime), "0x3fe15afaf7c848c8");
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
        StartFromChord(AlphaForPosition(c.position));
        static int printed[6001];
        for (int s = 1; s <= c.steps; ++s) {
            DescentStep();
            printed[s] = PrintedNow();
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
    StartFromChord(AlphaForPosition(100));
    Steps(3000);
    double a = CurveState.ShownX[1];
    DescentStep();
    double b = CurveState.ShownX[1];
    EXPECT_NEAR(std::max(a, b), 0.0658, 5e-5);
    EXPECT_NEAR(std::min(a, b), -0.0283, 5e-5);
}

TEST(PrintedTime, TruncatesLikeTheWindow)
{
    static const struct { double t; std::int32_t us; } cases[] = {
        {0.0, 0}, {0.5123456789, 512345}, {0.58481878425979283, 584818},
        {0.5423559999999, 542355}, {0.542356, 542356},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PrintedTime(c.t), c.us) << c.t;
}

TEST(AlphaForPosition, AsTheDialogSetsIt)
{
    EXPECT_EQ(Bits(AlphaForPosition(50)), Bits(0.00010000000000000002));
    EXPECT_EQ(Bits(AlphaForPosition(1)), Bits(2.0000000000000003e-6));
    EXPECT_EQ(Bits(AlphaForPosition(100)), Bits(100 * 2.0000000000000003e-6));
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
