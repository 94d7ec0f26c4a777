// The recorder's rules, on steps made up here: which steps are kept, the
// last, the stops at a fall time that is not finite and at the settled
// polyline's time; and the one run of every method that feeds it. Runs
// natively and under Wine.
#include "../double_bits.h"
#include "kinematics.h"
#include "recorded_run.h"
#include "stability.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

TEST(NextSampledStep, EveryStepThenFiftyPairsADecade)
{
    // From the rule in words: every step to 100 and the one after it; then
    // in the decade from 10^d the whole numbers nearest 10^(d + j/50) and
    // the step after each: 105 (10^2.02 = 104.7), 110, ..., 955 (10^2.98 =
    // 954.99); 1000; in the decade from 10^7, 9.55e7 and then 10^8.
    static const struct { long step, next; } cases[] = {
        {-5, 1}, {0, 1}, {1, 2}, {99, 100}, {100, 101}, {101, 105}, {104, 105},
        {105, 106}, {106, 110}, {157, 158}, {158, 159}, {954, 955}, {955, 956},
        {956, 1000}, {1000, 1001}, {1001, 1050}, {1049, 1050}, {2000, 2001},
        {2001, 2090}, {95500000, 95500001}, {95500001, 100000000},
        {100000000, 100000001},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NextSampledStep(c.step), c.next) << c.step;
    // 100 + 1, then 49 pairs in the first decade, 50 in each of the next
    // five, and 10^8 alone.
    long kept = 0;
    for (long n = NextSampledStep(0); n <= 100000000; n = NextSampledStep(n))
        ++kept;
    EXPECT_EQ(kept, 700);
}

// A made-up run: its fall time after step n is time(n), its polyline the
// chord.
struct MadeUpRun {
    double chord[NODE_COUNT];
    MadeUpRun() { Chord(chord); }
    RunStep At(long n, double fallTime) const { return RunStep{n, fallTime, chord, NODE_COUNT}; }
};

// Hands steps 1..last to the recorder, each with fall time time(n), as a
// run does: only those it looks at, until it stops; then the last.
template <class Time>
void Feed(Recorder *r, long last, Time time)
{
    MadeUpRun run;
    long n = 0;
    while (n < last && !r->stopped) {
        ++n;
        if (RecorderLooksAt(*r, n))
            RecordStep(r, run.At(n, time(n)));
    }
    FinishRecording(r, run.At(n, time(n)));
}

std::vector<long> RowsOf(long every, long last)
{
    std::vector<long> rows;
    Recorder r;
    r.rowEvery = every;
    r.row = [&rows](const RunStep &s) { rows.push_back(s.step); };
    Feed(&r, last, [](long) { return 0.6; });
    EXPECT_TRUE(r.samples.empty());
    EXPECT_TRUE(r.unsolved.empty());
    return rows;
}

std::vector<long> StepsOf(const std::vector<RunSample> &samples)
{
    std::vector<long> steps;
    for (const RunSample &s : samples)
        steps.push_back(s.step);
    return steps;
}

// from, from + by, ... up to `to`, then `more`.
std::vector<long> Steps(long from, long to, long by = 1, std::vector<long> more = {})
{
    std::vector<long> steps;
    for (long n = from; n <= to; n += by)
        steps.push_back(n);
    steps.insert(steps.end(), more.begin(), more.end());
    return steps;
}

TEST(Recorder, RowsEveryKthStepAndTheLast)
{
    static const struct {
        long every, last;
        std::vector<long> rows;
    } cases[] = {
        {1, 5, {1, 2, 3, 4, 5}},
        {3, 10, {3, 6, 9, 10}},
        {4, 8, {4, 8}},
        {10, 10, {10}},
        {100, 4, {4}},
        {1, 0, {0}},  // no step: the chord's row
        {7, 0, {0}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RowsOf(c.every, c.last), c.rows) << c.every << " " << c.last;
}

TEST(Recorder, CurveKeepsTheSampledStepsAndTheLast)
{
    std::vector<long> to1001 = Steps(1, 101);
    // In the decade from 100: 105, 110, ..., 955 with the step after each.
    for (long m : {105, 110, 115, 120, 126, 132, 138, 145, 151, 158, 166, 174, 182, 191, 200,
                   209, 219, 229, 240, 251, 263, 275, 288, 302, 316, 331, 347, 363, 380, 398,
                   417, 437, 457, 479, 501, 525, 550, 575, 603, 631, 661, 692, 724, 759, 794,
                   832, 871, 912, 955})
        to1001.insert(to1001.end(), {m, m + 1});
    to1001.insert(to1001.end(), {1000, 1001});
    const struct {
        long last;
        std::vector<long> kept;
    } cases[] = {
        {0, {}},  // no step: nothing to draw
        {1, {1}},
        {3, {1, 2, 3}},
        {103, Steps(1, 101, 1, {103})},
        {106, Steps(1, 101, 1, {105, 106})},
        {1001, to1001},
    };
    for (const auto &c : cases) {
        Recorder r = ConvergenceRecorder();
        Feed(&r, c.last, [](long n) { return 0.6 - 1e-6 * n; });
        EXPECT_EQ(StepsOf(r.samples), c.kept) << c.last;
        for (const RunSample &s : r.samples)
            EXPECT_EQ(s.fallTime, 0.6 - 1e-6 * s.step);
    }
}

TEST(Recorder, StopsAtATimeThatIsNotFinite)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        long every, bad, last;
        double value;
        std::vector<long> rows, samples;
        bool stopped;
    } cases[] = {
        // At a step kept: nothing from there on, the last neither.
        {1, 5, 10, nan, Steps(1, 4), Steps(1, 4), true},
        {2, 4, 10, inf, {2}, Steps(1, 3), true},
        {0, 6, 10, -inf, {}, Steps(1, 5), true},
        // At a step nothing looks at: not seen.
        {0, 102, 103, nan, {}, Steps(1, 101, 1, {103}), false},
        // At the last step: no last row or sample.
        {5, 103, 103, nan, Steps(5, 100, 5), Steps(1, 101), true},
    };
    for (const auto &c : cases) {
        std::vector<long> rows;
        Recorder r = ConvergenceRecorder();
        r.rowEvery = c.every;
        r.row = [&rows](const RunStep &s) { rows.push_back(s.step); };
        Feed(&r, c.last, [&c](long n) { return n == c.bad ? c.value : 0.6; });
        std::string name = "bad at " + std::to_string(c.bad) + " of " + std::to_string(c.last);
        EXPECT_EQ(r.stopped, c.stopped) << name;
        EXPECT_EQ(rows, c.rows) << name;
        EXPECT_EQ(StepsOf(r.samples), c.samples) << name;
    }
}

TEST(Recorder, AComparisonEndsAtTheSettledTime)
{
    // The fall time falls by a millisecond a step from 0.51, toward 0.5:
    // 0.51 - 0.001 n reaches 0.5 at step 10, and so does the curve.
    const double settled = 0.5;
    static const struct {
        long last;
        double start, stepDown;
        std::vector<long> kept;
        double lastDistance;
    } cases[] = {
        {50, 0.5105, 0.001, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, -0.0005},
        {8, 0.5105, 0.001, {1, 2, 3, 4, 5, 6, 7, 8}, 0.0025},
        // Below from the first step: one point.
        {50, 0.499, 0.0, {1}, -0.001},
        // Exactly at it: kept, and the end.
        {50, 0.5, 0.0, {1}, 0.0},
    };
    for (const auto &c : cases) {
        Recorder r = ComparisonRecorder(settled);
        Feed(&r, c.last, [&c](long n) { return c.start - c.stepDown * n; });
        EXPECT_EQ(StepsOf(r.samples), c.kept) << c.last << " " << c.start;
        ASSERT_FALSE(r.samples.empty());
        EXPECT_NEAR(r.samples.back().distance, c.lastDistance, 1e-12);
        for (std::size_t i = 0; i + 1 < r.samples.size(); ++i)
            EXPECT_GT(r.samples[i].distance, 0.0);
        EXPECT_EQ(r.stopped, c.lastDistance <= 0.0);
    }
}

TEST(Recorder, TheCurveThroughAStepLeavesTheRecorderAsItWas)
{
    // The page's window goes on: the curve it draws ends at the step it is
    // at, with that step's exact time, and the next steps are kept as
    // before.
    MadeUpRun run;
    Recorder r = ConvergenceRecorder();
    for (long n = 1; n <= 103; ++n)
        RecordStep(&r, run.At(n, 0.6));
    std::vector<RunSample> curve = CurveThrough(&r, run.At(103, 0.6));
    ASSERT_EQ(curve.size(), 102u);
    EXPECT_EQ(curve.back().step, 103);
    EXPECT_EQ(r.samples.size(), 101u);
    // The chord's exact time, in closed form: sqrt(2 (1 + 0.92^2) / (10 x 0.92)).
    const double chord = std::sqrt(2.0 * (1.0 + 0.92 * 0.92) / (10.0 * 0.92));
    for (const RunSample &s : curve)
        EXPECT_NEAR(s.exactS, chord, 1e-13) << s.step;
    for (long n = 104; n <= 106; ++n)
        RecordStep(&r, run.At(n, 0.6));
    EXPECT_EQ(StepsOf(CurveThrough(&r, run.At(106, 0.6))).back(), 106);
    EXPECT_EQ(r.samples.back().step, 106);
    EXPECT_EQ(r.samples[101].step, 105);
    // A step already kept is not kept twice.
    EXPECT_EQ(CurveThrough(&r, run.At(106, 0.6)).size(), 103u);
}

// --- the one run --------------------------------------------------------------

TEST(RecordRun, EveryMethodFromTheChord)
{
    static const struct {
        MethodSetting setting;
        double alpha;
    } cases[] = {
        // Without a position the program runs at the factor it starts
        // with, which position 50 does not give.
        {{METHOD_PROGRAM, 0, 0}, 0.0001},
        {{METHOD_PROGRAM, 50, 0}, 0.00010000000000000002},
        {{METHOD_GRADIENT, 57, 0}, 57 * 2.0000000000000003e-6},
        {{METHOD_HEAVY_BALL, 100, 0.9}, 100 * 2.0000000000000003e-6},
        {{METHOD_NESTEROV, 40, 0.5}, 40 * 2.0000000000000003e-6},
        {{METHOD_NEWTON, 50, 0}, 50 * 2.0000000000000003e-6},
    };
    for (const auto &c : cases) {
        std::string name = METHOD_NAME[c.setting.method];
        // The rows of every step: the same fall times and polylines as the
        // method's own steps.
        std::vector<RunStep> rows;
        std::vector<std::vector<double>> shown;
        Recorder r;
        r.rowEvery = 1;
        r.row = [&](const RunStep &s) {
            rows.push_back(s);
            shown.emplace_back(s.shown, s.shown + s.nodes);
        };
        RunResult result = RecordRun(c.setting, 30, &r);
        EXPECT_EQ(Bits(result.alpha), Bits(c.alpha)) << name;
        EXPECT_EQ(result.steps, 30) << name;
        ASSERT_EQ(rows.size(), 30u) << name;
        MethodRun run;
        StartMethod(&run, c.setting);
        if (c.setting.method == METHOD_PROGRAM) {
            EXPECT_EQ(Bits(run.record.Alpha), Bits(c.alpha));
        }
        for (long n = 1; n <= 30; ++n) {
            StepMethod(&run);
            ASSERT_EQ(rows[n - 1].step, n);
            EXPECT_EQ(Bits(rows[n - 1].fallTime), Bits(MethodFallTime(run))) << name << " " << n;
            for (int i = 0; i < NODE_COUNT; ++i)
                ASSERT_EQ(Bits(shown[n - 1][i]), Bits(MethodShownX(run)[i])) << name << n;
        }
        EXPECT_EQ(Bits(result.fallTime), Bits(MethodFallTime(run))) << name;
        for (int i = 0; i < NODE_COUNT; ++i)
            EXPECT_EQ(Bits(result.shown[i]), Bits(MethodShownX(run)[i])) << name;
    }
}

TEST(CompareRuns, EachCurveEndsAtTheSettledTimeOrTheLastStep)
{
    // Newton reaches the settled polyline within a handful of steps and its
    // curve ends there; gradient descent at position 57 is still above it
    // after 300.
    double settled[NODE_COUNT];
    SettledPolyline(settled);
    const double settledTime = PolylineFallTime(settled);
    std::vector<MethodCurve> curves = CompareRuns(
        {{METHOD_GRADIENT, 57, 0}, {METHOD_NEWTON, 0, 0}}, 300, settledTime);
    ASSERT_EQ(curves.size(), 2u);
    const MethodCurve &gradient = curves[0], &newton = curves[1];
    EXPECT_EQ(gradient.setting.method, METHOD_GRADIENT);
    EXPECT_EQ(gradient.points.back().step, 300);
    EXPECT_GT(gradient.points.back().distance, 0.0);
    ASSERT_FALSE(newton.points.empty());
    EXPECT_LT(newton.points.back().step, 20);
    EXPECT_LE(newton.points.back().distance, 0.0);
    for (const MethodCurve &c : curves) {
        for (std::size_t i = 0; i < c.points.size(); ++i) {
            EXPECT_EQ(c.points[i].distance, c.points[i].fallTime - settledTime);
            if (i + 1 < c.points.size()) {
                EXPECT_GT(c.points[i].distance, 0.0);
            }
        }
    }
}

} // namespace
