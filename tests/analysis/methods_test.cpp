// The other methods: their steps against a plain transcription of each
// update, their linear theory against the figures worked out by hand from
// the eigenvalues, and the exact fates of their cells against the figures
// found by a plain search that keeps every state. Runs natively and under
// Wine.
#include "../double_bits.h"
#include "fates.h"
#include "method_theory.h"
#include "methods.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <complex>
#include <cstring>
#include <map>
#include <vector>

namespace {

// --- the steps --------------------------------------------------------------

// Each update written out as the methods are defined, on plain arrays.
struct PlainRun {
    Method method;
    double h, beta;
    std::array<double, 21> x, previous;

    PlainRun(Method m, double position, double b) : method(m), beta(b)
    {
        h = 300.0 * (position * 2.0000000000000003e-6);
        for (int k = 0; k <= 20; ++k)
            x[k] = previous[k] = k * 0.05;
    }

    void Step()
    {
        std::array<double, 21> y = x, next = x, g{};
        if (method == METHOD_NESTEROV)
            for (int i = 1; i <= 19; ++i)
                y[i] = x[i] + beta * (x[i] - previous[i]);
        FallTimeGradient(y.data(), g.data());
        for (int i = 1; i <= 19; ++i) {
            switch (method) {
            case METHOD_GRADIENT: next[i] = x[i] - h * g[i]; break;
            case METHOD_HEAVY_BALL: next[i] = (x[i] - h * g[i]) + beta * (x[i] - previous[i]); break;
            case METHOD_NESTEROV: next[i] = y[i] - h * g[i]; break;
            default: break;
            }
        }
        previous = x;
        x = next;
    }
};

TEST(StepMethod, EveryUpdateAsWrittenBitForBit)
{
    static const struct {
        Method method;
        double position, beta;
    } cases[] = {
        {METHOD_GRADIENT, 50, 0},     {METHOD_GRADIENT, 57.067398261313123, 0},
        {METHOD_GRADIENT, 70, 0},     {METHOD_HEAVY_BALL, 50, 0.5},
        {METHOD_HEAVY_BALL, 107.92249490151343, 0.89114096996911429},
        {METHOD_HEAVY_BALL, 200, 0.95}, {METHOD_NESTEROV, 38, 0.9},
        {METHOD_NESTEROV, 120, 0.3},  {METHOD_HEAVY_BALL, 5, 0},
    };
    for (const auto &c : cases) {
        MethodRun run;
        StartMethod(&run, MethodSetting{c.method, c.position, c.beta});
        PlainRun plain(c.method, c.position, c.beta);
        for (int step = 1; step <= 1000; ++step) {
            StepMethod(&run);
            plain.Step();
            for (int i = 1; i <= 19; ++i) {
                ASSERT_EQ(Bits(run.x[i]), Bits(plain.x[i]))
                    << METHOD_NAME[c.method] << " " << c.position << " " << c.beta << " step "
                    << step << " x" << i;
                ASSERT_EQ(Bits(run.previous[i]), Bits(plain.previous[i]));
            }
        }
        EXPECT_EQ(Bits(MethodFallTime(run)), Bits(PolylineFallTime(plain.x.data())));
    }
}

// Newton's step with the tridiagonal system solved by elimination, the
// Jacobian from differences of the model's gradient: the same steps as
// Eigen's, to rounding, and at the settled polyline within a handful.
TEST(StepMethod, NewtonAgainstEliminationOnDifferences)
{
    MethodRun run;
    StartMethod(&run, MethodSetting{METHOD_NEWTON, 0, 0});
    std::array<double, 21> x;
    for (int k = 0; k <= 20; ++k)
        x[k] = k * 0.05;
    for (int step = 1; step <= 4; ++step) {
        std::array<double, 21> g{}, d{}, lower{}, upper{}, r{};
        FallTimeGradient(x.data(), g.data());
        const double e = 1e-7;
        for (int i = 1; i <= 19; ++i) {
            std::array<double, 21> up = x, down = x, gu{}, gd{};
            up[i] += e;
            down[i] -= e;
            FallTimeGradient(up.data(), gu.data());
            FallTimeGradient(down.data(), gd.data());
            d[i] = (gu[i] - gd[i]) / (2 * e);
            if (i > 1)
                upper[i - 1] = (gu[i - 1] - gd[i - 1]) / (2 * e);
            if (i < 19)
                lower[i + 1] = (gu[i + 1] - gd[i + 1]) / (2 * e);
            r[i] = g[i];
        }
        for (int i = 2; i <= 19; ++i) {  // forward elimination
            double f = lower[i] / d[i - 1];
            d[i] -= f * upper[i - 1];
            r[i] -= f * r[i - 1];
        }
        std::array<double, 21> move{};
        move[19] = r[19] / d[19];
        for (int i = 18; i >= 1; --i)
            move[i] = (r[i] - upper[i] * move[i + 1]) / d[i];
        for (int i = 1; i <= 19; ++i)
            x[i] -= move[i];
        StepMethod(&run);
        for (int i = 1; i <= 19; ++i)
            EXPECT_NEAR(run.x[i], x[i], 1e-6) << "step " << step << " x" << i;
    }
    for (int step = 5; step <= 8; ++step)
        StepMethod(&run);
    double settled[NODE_COUNT];
    SettledPolyline(settled);
    for (int i = 1; i <= 19; ++i)
        EXPECT_NEAR(run.x[i], settled[i], 1e-14) << "x" << i;
}

TEST(MethodFallTime, TheProgramPrintsZeroUntilItsFirstStep)
{
    MethodRun run;
    StartMethod(&run, MethodSetting{METHOD_PROGRAM, 58, 0});
    EXPECT_EQ(MethodFallTime(run), 0.0);
    StepMethod(&run);
    EXPECT_EQ(run.record.Alpha, 58 * 2.0000000000000003e-6);
    EXPECT_GT(MethodFallTime(run), 0.5);
}

// --- the linear theory --------------------------------------------------------

// The larger modulus of the roots of z^2 - b z + c.
double LargerRoot(double b, double c)
{
    std::complex<double> s = std::sqrt(std::complex<double>(b * b - 4 * c, 0));
    return std::max(std::abs((b + s) / 2.0), std::abs((b - s) / 2.0));
}

TEST(TheoryOfMethod, TheFiguresOfTheLinearTheory)
{
    StabilityFigures f = StabilityLimit();
    static const struct {
        Method method;
        double beta;
        double limit, bestPosition, bestBeta, bestRate;
        long stepsLow, stepsHigh;
    } cases[] = {
        // worked out by hand from lambda_max 58.36204 and lambda_min 0.0484253
        {METHOD_GRADIENT, 0.0, 57.115, 57.067, 0.0, 0.99834, 8200, 8400},
        {METHOD_HEAVY_BALL, 0.0, 57.115, 107.92, 0.89114, 0.94400, 235, 245},
        {METHOD_HEAVY_BALL, 0.5, 85.672, 107.92, 0.89114, 0.94400, 235, 245},
        {METHOD_HEAVY_BALL, 0.9, 108.52, 107.92, 0.89114, 0.94400, 235, 245},
        {METHOD_NESTEROV, 0.0, 57.115, 38.066, 0.93563, 0.96674, 400, 420},
        {METHOD_NESTEROV, 0.5, 42.836, 38.066, 0.93563, 0.96674, 400, 420},
        {METHOD_NESTEROV, 0.9, 38.756, 38.066, 0.93563, 0.96674, 400, 420},
    };
    for (const auto &c : cases) {
        MethodTheory t = TheoryOfMethod(c.method, c.beta, f);
        SCOPED_TRACE(std::string(METHOD_NAME[c.method]) + " " + std::to_string(c.beta));
        EXPECT_NEAR(t.positionLimit, c.limit, 5e-3 * c.limit / 100);
        EXPECT_NEAR(t.bestPosition, c.bestPosition, 5e-3 * c.bestPosition / 100);
        EXPECT_NEAR(t.bestBeta, c.bestBeta, 5e-6);
        EXPECT_NEAR(t.bestRate, c.bestRate, 5e-6);
        EXPECT_GE(t.stepsToMillionth, c.stepsLow);
        EXPECT_LE(t.stepsToMillionth, c.stepsHigh);
    }
}

// At each method's fastest setting, the deviations along the extreme
// eigenvalues shrink by the rate the theory gives, found from the roots
// of each method's own recurrence.
TEST(TheoryOfMethod, TheBestRateIsTheRecurrencesOwn)
{
    StabilityFigures f = StabilityLimit();
    for (Method m : {METHOD_GRADIENT, METHOD_HEAVY_BALL, METHOD_NESTEROV}) {
        MethodSetting best = BestSetting(m, f);
        MethodTheory t = TheoryOfMethod(m, best.beta, f);
        double h = 300.0 * best.position * 2.0000000000000003e-6;
        double worst = 0.0;
        for (double lambda : {f.lambdaMin, f.lambdaMax}) {
            double rate = m == METHOD_GRADIENT ? std::fabs(1 - h * lambda)
                          : m == METHOD_HEAVY_BALL
                              ? LargerRoot(1 + best.beta - h * lambda, best.beta)
                              : LargerRoot((1 - h * lambda) * (1 + best.beta),
                                           (1 - h * lambda) * best.beta);
            worst = std::max(worst, rate);
        }
        // (heavy ball's roots meet there: a double root, known to 1e-8)
        EXPECT_NEAR(worst, t.bestRate, 1e-7) << METHOD_NAME[m];
        // Just past the limit a deviation along lambda_max grows.
        MethodTheory at = TheoryOfMethod(m, 0.5, f);
        double past = 300.0 * (at.positionLimit * 1.001) * 2.0000000000000003e-6 * f.lambdaMax;
        double grows = m == METHOD_GRADIENT ? std::fabs(1 - past)
                       : m == METHOD_HEAVY_BALL ? LargerRoot(1.5 - past, 0.5)
                                                : LargerRoot((1 - past) * 1.5, (1 - past) * 0.5);
        EXPECT_GT(grows, 1.0) << METHOD_NAME[m];
    }
    EXPECT_EQ(BestSetting(METHOD_PROGRAM, f).position, 57);
}

// --- the exact fates ----------------------------------------------------------

// A plain search: every state kept whole in a map, from the chord on.
Fate PlainFate(const MethodSetting &s, long limit)
{
    Fate fate = {static_cast<std::int32_t>(s.position), 0, 0, 0, 0, 0};
    PlainRun run(s.method, s.position, s.beta);
    std::map<std::vector<std::uint64_t>, long> seen;
    std::vector<std::int32_t> printed;
    for (long n = 0; n <= limit; ++n) {
        if (n > 0)
            run.Step();
        std::vector<std::uint64_t> key;
        for (int i = 1; i <= 19; ++i) {
            key.push_back(Bits(run.x[i]));
            key.push_back(Bits(run.previous[i]));
        }
        printed.push_back(PrintedTime(PolylineFallTime(run.x.data())));
        auto found = seen.find(key);
        if (found != seen.end()) {
            fate.cycleFrom = static_cast<std::int32_t>(found->second);
            fate.period = static_cast<std::int32_t>(n - found->second);
            fate.lowUs = fate.highUs = printed[fate.cycleFrom + 1];
            for (long k = fate.cycleFrom + 1; k <= n; ++k) {
                fate.lowUs = std::min(fate.lowUs, printed[k]);
                fate.highUs = std::max(fate.highUs, printed[k]);
            }
            return fate;
        }
        seen[key] = n;
    }
    long from = std::max(1L, limit - 999);
    fate.lowUs = fate.highUs = printed[limit == 0 ? 0 : from];
    for (long k = from; k <= limit; ++k) {
        fate.lowUs = std::min(fate.lowUs, printed[k]);
        fate.highUs = std::max(fate.highUs, printed[k]);
    }
    return fate;
}

void ExpectSameFate(const Fate &a, const Fate &b)
{
    EXPECT_EQ(a.cycleFrom, b.cycleFrom);
    EXPECT_EQ(a.period, b.period);
    EXPECT_EQ(a.lowUs, b.lowUs);
    EXPECT_EQ(a.highUs, b.highUs);
}

TEST(FateOfCell, TheFiguresOfTheMap)
{
    static const struct {
        MethodSetting setting;
        long limit, cycleFrom, period;
        std::int32_t low, high;
    } cases[] = {
        {{METHOD_HEAVY_BALL, 50, 0.5}, 100000, 10250, 11, 542355, 542355},
        {{METHOD_HEAVY_BALL, 80, 0.35}, 100000, 8637, 52, 545361, 545676},
        {{METHOD_HEAVY_BALL, 100, 0.9}, 400000, 0, 0, 0, 0},
    };
    FateMemory memory;
    for (const auto &c : cases) {
        Fate fate = FateOfCell(c.setting, c.limit, &memory);
        SCOPED_TRACE(std::to_string(c.setting.position) + " " + std::to_string(c.setting.beta));
        EXPECT_EQ(fate.cycleFrom, c.cycleFrom);
        EXPECT_EQ(fate.period, c.period);
        if (c.period > 0) {
            EXPECT_EQ(fate.lowUs, c.low);
            EXPECT_EQ(fate.highUs, c.high);
        } else {
            EXPECT_LT(fate.lowUs, fate.highUs);  // it goes on moving
        }
    }
}

// The fast search against the plain one, at the limits around a cycle's
// closing and for cells that close at once, late or never.
TEST(FateOfCell, AgainstThePlainSearch)
{
    static const struct {
        MethodSetting setting;
        long limit;
    } cases[] = {
        {{METHOD_HEAVY_BALL, 80, 0.35}, 8689},  // closes at the very limit
        {{METHOD_HEAVY_BALL, 80, 0.35}, 8688},  // one step short
        {{METHOD_HEAVY_BALL, 80, 0.35}, 500},
        {{METHOD_HEAVY_BALL, 150, 0.6}, 30000},
        {{METHOD_NESTEROV, 40, 0.5}, 30000},
        {{METHOD_NESTEROV, 160, 0.1}, 30000},
        {{METHOD_GRADIENT, 60, 0}, 30000},
        {{METHOD_HEAVY_BALL, 50, 0.5}, 0},
        {{METHOD_HEAVY_BALL, 50, 0.5}, 1},
    };
    FateMemory memory;  // reused, as the threads reuse theirs
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(METHOD_NAME[c.setting.method]) + " " +
                     std::to_string(c.setting.position) + " " + std::to_string(c.setting.beta) +
                     " limit " + std::to_string(c.limit));
        ExpectSameFate(FateOfCell(c.setting, c.limit, &memory), PlainFate(c.setting, c.limit));
    }
}

TEST(MapFates, EveryPositionByEveryBetaInOrder)
{
    std::vector<int> positions = MapPositions();
    std::vector<double> betas = MapBetas();
    ASSERT_EQ(positions.size(), 40u);
    ASSERT_EQ(betas.size(), 20u);
    EXPECT_EQ(positions[0], 5);
    EXPECT_EQ(positions[1], 10);
    EXPECT_EQ(positions[39], 200);
    EXPECT_EQ(betas[0], 0.0);
    EXPECT_EQ(betas[19], 0.95);
    EXPECT_EQ(betas[7], 0.35);
    // Two positions by two momenta: the cells position after position,
    // each with the index of its momentum.
    std::vector<int> few = {75, 80};
    std::vector<double> two = {0.35, 0.75};
    std::vector<Fate> fates = MapFates(METHOD_NESTEROV, few, two, 5000);
    ASSERT_EQ(fates.size(), 4u);
    for (std::size_t i = 0; i < fates.size(); ++i) {
        MethodSetting s = {METHOD_NESTEROV, double(few[i / 2]), two[i % 2]};
        EXPECT_EQ(fates[i].position, few[i / 2]);
        EXPECT_EQ(fates[i].beta, static_cast<std::int32_t>(i % 2));
        ExpectSameFate(fates[i], PlainFate(s, 5000));
    }
#if !defined(__wasm__)
    std::vector<Fate> spread = MapOnEveryCore(METHOD_NESTEROV, few, two, 5000);
    ASSERT_EQ(spread.size(), fates.size());
    for (std::size_t i = 0; i < fates.size(); ++i) {
        EXPECT_EQ(spread[i].position, fates[i].position);
        EXPECT_EQ(spread[i].beta, fates[i].beta);
        ExpectSameFate(spread[i], fates[i]);
    }
#endif
}

} // namespace
