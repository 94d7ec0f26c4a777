// The analysis room: the exact fall times and the brachistochrone, the
// search for the cycle a run ends in, and the linear theory of the step
// factor's limit. Runs natively and under Wine.
#include "../double_bits.h"
#include "cycle_search.h"
#include "fates.h"
#include "kinematics.h"
#include "stability.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

// --- exact times -----------------------------------------------------------

double ChordClosedForm()
{
    return std::sqrt(2.0 * (1.0 + 0.92 * 0.92) / (10.0 * 0.92));
}

// Nodes on the brachistochrone through (1, 0.92), at the model's depths.
void CycloidPolyline(double x[NODE_COUNT])
{
    Brachistochrone b = BrachistochroneThrough(1.0, 0.92, 10.0);
    x[0] = 0.0;
    x[20] = 1.0;
    for (int k = 1; k < 20; ++k) {
        double theta = std::acos(1.0 - k * 0.046 / b.radius);
        x[k] = b.radius * (theta - std::sin(theta));
    }
}

TEST(Brachistochrone, SolvedThroughItsEndPoint)
{
    static const struct {
        double x, y, g;
        double theta, time, tolerance;
    } cases[] = {
        {1.0, 0.92, 10.0, NAN, 0.571394, 5e-7},
        // Across pi/2 for each unit down: the lowest point, theta = pi.
        {1.5707963267948966, 1.0, 10.0, 3.141592653589793, 3.141592653589793 * std::sqrt(0.05), 1e-12},
        // Half as strong gravity: sqrt 2 times as long.
        {1.0, 0.92, 5.0, NAN, 0.571394 * std::sqrt(2.0), 1e-6},
    };
    for (const auto &c : cases) {
        Brachistochrone b = BrachistochroneThrough(c.x, c.y, c.g);
        EXPECT_NEAR(b.time, c.time, c.tolerance) << c.x << "," << c.y << " g=" << c.g;
        if (!std::isnan(c.theta)) {
            EXPECT_NEAR(b.endTheta, c.theta, 1e-12);
        }
        EXPECT_NEAR(b.radius * (b.endTheta - std::sin(b.endTheta)), c.x, 1e-12);
        EXPECT_NEAR(b.radius * (1.0 - std::cos(b.endTheta)), c.y, 1e-12);
    }
}

TEST(ExactPolylineTime, KnownPolylines)
{
    double chord[NODE_COUNT], cycloid[NODE_COUNT], drop[NODE_COUNT];
    for (int k = 0; k < NODE_COUNT; ++k) {
        chord[k] = k * 0.05;
        drop[k] = 0.0;
    }
    CycloidPolyline(cycloid);
    // Straight down to the last level, then across: free fall, then one
    // segment from speed sqrt(2 g 0.874) to sqrt(2 g 0.92).
    double dropTime = std::sqrt(2.0 * 0.874 / 10.0) +
                      2.0 * std::sqrt(1.0 + 0.046 * 0.046) /
                          (std::sqrt(2.0 * 10.0 * 0.874) + std::sqrt(2.0 * 10.0 * 0.92));
    static const double brachistochrone = 0.571394;
    const struct {
        const char *name;
        const double *x;
        double expected;
        double relative;
    } cases[] = {
        {"chord, closed form", chord, ChordClosedForm(), 1e-13},
        {"chord, digits", chord, 0.633554, 1e-6},
        {"on the cycloid", cycloid, brachistochrone, 1e-3},
        {"drop then across", drop, dropTime, 1e-13},
    };
    for (const auto &c : cases) {
        double t = ExactPolylineTime(c.x);
        EXPECT_NEAR(t / c.expected, 1.0, c.relative) << c.name << ": " << t;
        // No curve beats the brachistochrone.
        EXPECT_GT(t, brachistochrone - 1e-6) << c.name;
    }
    // The ends come from constants, not from x[0] and x[20].
    chord[0] = 0.3;
    chord[20] = -2.0;
    double plain[NODE_COUNT];
    for (int k = 0; k < NODE_COUNT; ++k)
        plain[k] = k * 0.05;
    EXPECT_EQ(Bits(ExactPolylineTime(chord)), Bits(ExactPolylineTime(plain)));
}

// --- sweep ---------------------------------------------------------------

// A run whose states are the numbers 0, 1, 2, ...: from `cycleFrom` on it
// goes round `period` of them, 0 -> 1 -> ... -> cycleFrom + period - 1 ->
// cycleFrom. It shows 1000 + its state, so over one turn of the cycle the
// lowest number shown is 1000 + cycleFrom and the highest 1000 + cycleFrom +
// period - 1; or, `scrambled`, a number that jumps about.
struct CountingRun {
    typedef long State;
    long cycleFrom, period, state;
    bool scrambled;

    void Step() { state = state + 1 < cycleFrom + period ? state + 1 : cycleFrom; }
    std::int32_t Printed() const
    {
        return static_cast<std::int32_t>(scrambled ? (state * 7919) % 1009 : 1000 + state);
    }
    void Save(State *s) const { *s = state; }
    void Load(const State &s) { state = s; }
    // Few bits, so that keys agree often: the states tell them apart.
    std::uint32_t Key() const { return static_cast<std::uint32_t>(state % 7); }
};

Fate CountingFate(long cycleFrom, long period, long limit, long lastSteps, bool scrambled)
{
    CountingRun run = {cycleFrom, period, 0, scrambled};
    Checkpoints<long> memory;
    Fate fate = {};
    FindCycle(run, limit, lastSteps, &memory, &fate);
    return fate;
}

TEST(FindCycle, EveryStartAndPeriodWithinTheLimit)
{
    static const struct {
        long cycleFrom, period, limit;
        Fate fate;  // period 0: not found within the limit
    } cases[] = {
        // Periods 1 and 2.
        {0, 1, 10, {0, 0, 0, 1, 1000, 1000}},
        {0, 2, 10, {0, 0, 0, 2, 1000, 1001}},
        {3, 1, 10, {0, 0, 3, 1, 1003, 1003}},
        {3, 2, 10, {0, 0, 3, 2, 1003, 1004}},
        {5000, 2, 100000, {0, 0, 5000, 2, 6000, 6001}},
        // Longer periods.
        {0, 3, 10, {0, 0, 0, 3, 1000, 1002}},
        {0, 5, 100, {0, 0, 0, 5, 1000, 1004}},
        {7, 3, 100, {0, 0, 7, 3, 1007, 1009}},
        {1, 1000, 5000, {0, 0, 1, 1000, 1001, 2000}},
        {100, 37, 1000, {0, 0, 100, 37, 1100, 1136}},
        {2000, 333, 1000000, {0, 0, 2000, 333, 3000, 3332}},
        {4095, 4097, 100000, {0, 0, 4095, 4097, 5095, 9191}},
        // Around the checkpoints, 256 steps apart: a cycle that starts on
        // one, just after one, just before one, and one longer than the
        // gap between them.
        {256, 1, 1000, {0, 0, 256, 1, 1256, 1256}},
        {257, 3, 1000, {0, 0, 257, 3, 1257, 1259}},
        {511, 2, 1000, {0, 0, 511, 2, 1511, 1512}},
        {300, 700, 5000, {0, 0, 300, 700, 1300, 1999}},
        // Exactly at the limit, and one step beyond it: then the number shown
        // after the last step of the limit.
        {5, 1, 6, {0, 0, 5, 1, 1005, 1005}},
        {5, 1, 5, {0, 0, 0, 0, 1005, 1005}},
        {5, 2, 7, {0, 0, 5, 2, 1005, 1006}},
        {5, 2, 6, {0, 0, 0, 0, 1006, 1006}},
        {5, 4, 9, {0, 0, 5, 4, 1005, 1008}},
        {5, 4, 8, {0, 0, 0, 0, 1008, 1008}},
        {10, 20, 30, {0, 0, 10, 20, 1010, 1029}},
        {10, 20, 29, {0, 0, 0, 0, 1029, 1029}},
        {0, 64, 64, {0, 0, 0, 64, 1000, 1063}},
        {0, 64, 63, {0, 0, 0, 0, 1063, 1063}},
        {1000, 3000, 3999, {0, 0, 0, 0, 4999, 4999}},
        {0, 1, 0, {0, 0, 0, 0, 1000, 1000}},
        {0, 3, 1, {0, 0, 0, 0, 1001, 1001}},
    };
    for (const auto &c : cases) {
        Fate fate = CountingFate(c.cycleFrom, c.period, c.limit, POSITION_LAST_STEPS, false);
        std::string name = "cycle from " + std::to_string(c.cycleFrom) + ", period " +
                           std::to_string(c.period) + ", limit " + std::to_string(c.limit);
        EXPECT_EQ(fate.period, c.fate.period) << name;
        EXPECT_EQ(fate.cycleFrom, c.fate.cycleFrom) << name;
        EXPECT_EQ(fate.lowUs, c.fate.lowUs) << name;
        EXPECT_EQ(fate.highUs, c.fate.highUs) << name;
    }
}

// A plain search: every state kept, from the start on, until one comes
// back; with none, the numbers shown over the limit's last steps.
template <class Run>
Fate PlainFate(Run run, long limit, long lastSteps)
{
    Fate fate = {};
    std::map<std::string, long> seen;
    std::vector<std::int32_t> shown;
    for (long n = 0; n <= limit; ++n) {
        if (n > 0)
            run.Step();
        typename Run::State s;
        run.Save(&s);
        std::string bytes(reinterpret_cast<const char *>(&s), sizeof s);
        shown.push_back(run.Printed());
        auto found = seen.find(bytes);
        if (found != seen.end()) {
            fate.cycleFrom = static_cast<std::int32_t>(found->second);
            fate.period = static_cast<std::int32_t>(n - found->second);
            fate.lowUs = fate.highUs = shown[static_cast<std::size_t>(n)];
            for (long k = found->second + 1; k <= n; ++k) {
                fate.lowUs = std::min(fate.lowUs, shown[static_cast<std::size_t>(k)]);
                fate.highUs = std::max(fate.highUs, shown[static_cast<std::size_t>(k)]);
            }
            return fate;
        }
        seen[bytes] = n;
    }
    long from = limit == 0 ? 0 : std::max(1L, limit - lastSteps + 1);
    fate.lowUs = fate.highUs = shown[static_cast<std::size_t>(from)];
    for (long k = from; k <= limit; ++k) {
        fate.lowUs = std::min(fate.lowUs, shown[static_cast<std::size_t>(k)]);
        fate.highUs = std::max(fate.highUs, shown[static_cast<std::size_t>(k)]);
    }
    return fate;
}

void ExpectSameFate(const Fate &a, const Fate &b, const std::string &name)
{
    EXPECT_EQ(a.cycleFrom, b.cycleFrom) << name;
    EXPECT_EQ(a.period, b.period) << name;
    EXPECT_EQ(a.lowUs, b.lowUs) << name;
    EXPECT_EQ(a.highUs, b.highUs) << name;
}

TEST(FindCycle, AgainstThePlainSearch)
{
    // Every start and period up to 600 and 700 around the checkpoints, at
    // limits around the cycle's closing, with the last step's number or the
    // last 1,000's when there is none.
    for (long from : {0L, 1L, 255L, 256L, 257L, 599L})
        for (long period : {1L, 2L, 3L, 255L, 256L, 257L, 700L})
            for (long limit : {from + period - 1, from + period, from + period + 300, 2000L})
                for (long lastSteps : {POSITION_LAST_STEPS, CELL_LAST_STEPS}) {
                    std::string name = std::to_string(from) + " " + std::to_string(period) +
                                       " limit " + std::to_string(limit) + " last " +
                                       std::to_string(lastSteps);
                    CountingRun run = {from, period, 0, true};
                    ExpectSameFate(CountingFate(from, period, limit, lastSteps, true),
                                   PlainFate(run, limit, lastSteps), name);
                }
}

// A real descent as the plain search follows it: the program's own step,
// the state NodeX and ShownX, the number the window prints.
struct PlainDescent {
    typedef MethodState State;
    MethodRun run;
    void Step() { StepMethod(&run); }
    std::int32_t Printed() const { return PrintedTime(MethodFallTime(run)); }
    void Save(State *s) const
    {
        std::memcpy(s->shown, &run.record.ShownX[1], sizeof s->shown);
        std::memcpy(s->beside, &run.record.NodeX[1], sizeof s->beside);
    }
};

TEST(FateOfPosition, TheGoldenSweepsFates)
{
    // Rows of the full sweep (tests/trace/golden/sweep.csv), each also at
    // the limit where its cycle just closes and one step short of it.
    static const Fate golden[] = {
        {1, 0, 691301, 1, 542355, 542355}, {57, 0, 14591, 2, 542355, 542355},
        {58, 0, 14038, 2, 543340, 543399}, {90, 0, 8104, 2, 589555, 600898},
        {100, 0, 6711, 2, 606421, 619768},
    };
    FateMemory memory;
    for (const Fate &g : golden) {
        std::string name = "position " + std::to_string(g.position);
        Fate fate = FateOfPosition(g.position, FATE_STEP_LIMIT_DEFAULT, &memory);
        EXPECT_EQ(fate.position, g.position);
        ExpectSameFate(fate, g, name);
        long closes = g.cycleFrom + g.period;
        ExpectSameFate(FateOfPosition(g.position, closes, &memory), g, name + " at the limit");
        if (closes < 20000) {
            PlainDescent plain;
            StartMethod(&plain.run, MethodSetting{METHOD_PROGRAM, double(g.position), 0.0});
            ExpectSameFate(FateOfPosition(g.position, closes - 1, &memory),
                           PlainFate(plain, closes - 1, POSITION_LAST_STEPS),
                           name + " one step short");
        }
    }
}

// --- the step factor's limit -----------------------------------------------

TEST(StabilityLimit, AgreesWithAnIndependentComputation)
{
    // Figures from a computation outside the program, to the digits given:
    // each is checked to half a unit of its last digit.
    StabilityFigures f = StabilityLimit();
    static const struct {
        const char *name;
        double expected, tolerance;
    } cases[] = {
        {"lambda_max", 58.36204, 5e-6},
        {"lambda_min", 0.048425, 5e-7},
        {"alpha_limit", 1.146115e-4, 5e-11},
        {"position_limit", 57.3058, 5e-5},
    };
    const double got[] = {f.lambdaMax, f.lambdaMin, f.alphaLimit, f.positionLimit};
    for (std::size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i)
        EXPECT_NEAR(got[i], cases[i].expected, cases[i].tolerance) << cases[i].name;
    // Between the last position that settles in the printed time and the
    // first that swings visibly.
    EXPECT_GT(f.positionLimit, 57.0);
    EXPECT_LT(f.positionLimit, 58.0);
}

TEST(SettledPolyline, WhereTheDescentStops)
{
    // The polyline the descent at the starting factor ends on, to the
    // digits the window's run reaches by step 8000: x_1 0.00704, x_10
    // 0.24641, x_19 0.86781; the gradient there as small as rounding lets it.
    StabilityFigures f = StabilityLimit();
    EXPECT_NEAR(f.settled[1], 0.00704, 5e-6);
    EXPECT_NEAR(f.settled[10], 0.24641, 5e-6);
    EXPECT_NEAR(f.settled[19], 0.86781, 5e-6);
    EXPECT_EQ(f.settled[0], 0.0);
    EXPECT_EQ(f.settled[20], 1.0);
    EXPECT_LT(f.gradientLeft, 1e-14);
    double g[NODE_COUNT];
    FallTimeGradient(f.settled, g);
    for (int i = 1; i <= 19; ++i)
        EXPECT_LT(std::fabs(g[i]), 1e-14) << "G_" << i;
    EXPECT_GT(f.newtonSteps, 0);
}

// The window's run at position 58, a few steps on.
void RunTheWindow()
{
    CurveState = RecordAfterWindowCreation();
    CurveState.Alpha = AlphaForPosition(58);
    for (int i = 0; i < 5; ++i)
        DescentStep();
}

TEST(SettledPolyline, LeavesTheRecordAlone)
{
    // The page draws the chart while its own descent runs on CurveState.
    RunTheWindow();
    CurveStateRecord before = CurveState;
    StabilityLimit();
    EXPECT_EQ(std::memcmp(&before, &CurveState, sizeof before), 0);
}

TEST(FateOfPosition, LeavesTheRecordAlone)
{
    // The page's sweep asks for fates while its own descent runs on
    // CurveState.
    RunTheWindow();
    CurveStateRecord before = CurveState;
    FateMemory memory;
    FateOfPosition(100, FATE_STEP_LIMIT_DEFAULT, &memory);
    EXPECT_EQ(std::memcmp(&before, &CurveState, sizeof before), 0);
}

TEST(GradientJacobian, AgainstDifferencesOfTheModelsGradient)
{
    // Central differences of the model's own G, h = 1e-6: their error is
    // about h^2 times G's third derivative, far below the tolerance.
    double chord[NODE_COUNT], wavy[NODE_COUNT], settled[NODE_COUNT];
    for (int k = 0; k < NODE_COUNT; ++k) {
        chord[k] = k * 0.05;
        wavy[k] = k * 0.05 + (k % 2 ? 0.03 : -0.02) * (k > 0 && k < 20);
    }
    SettledPolyline(settled);
    const struct {
        const char *name;
        const double *x;
    } cases[] = {{"chord", chord}, {"wavy", wavy}, {"settled", settled}};
    const double h = 1e-6;
    for (const auto &c : cases) {
        double diagonal[NODE_COUNT], offDiagonal[NODE_COUNT];
        GradientJacobian(c.x, diagonal, offDiagonal);
        for (int j = 1; j <= 19; ++j) {
            double up[NODE_COUNT], down[NODE_COUNT], gUp[NODE_COUNT], gDown[NODE_COUNT];
            std::memcpy(up, c.x, sizeof up);
            std::memcpy(down, c.x, sizeof down);
            up[j] += h;
            down[j] -= h;
            FallTimeGradient(up, gUp);
            FallTimeGradient(down, gDown);
            for (int i = 1; i <= 19; ++i) {
                double numeric = (gUp[i] - gDown[i]) / (2 * h);
                double written = i == j       ? diagonal[i]
                                 : i == j - 1 ? offDiagonal[i]
                                 : i == j + 1 ? offDiagonal[j]
                                              : 0.0;
                EXPECT_NEAR(written, numeric, 1e-6 * (1.0 + std::fabs(numeric)))
                    << c.name << ": dG_" << i << "/dx_" << j;
            }
        }
    }
}

} // namespace
