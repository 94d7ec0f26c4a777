// The laboratory's problem: segment times and the cycloid against closed
// forms, the depth layout's optimum against the time the program settles
// at, and both layouts' optima as optima: no small move of one node makes
// them faster, and under the exact rule they approach the cycloid from
// above. Runs natively and under Wine.
#include "lab.h"
#include "lab_run.h"
#include "same_math.h"

#include <Eigen/Dense>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

const double INF = std::numeric_limits<double>::infinity();
const double PI = 3.141592653589793;

TEST(LabSegmentTime, ClosedForms)
{
    struct Row {
        std::string what;
        double dx, dy, a, b;
        LabTimeRule rule;
        double time;
    };
    // A drop of 0.5 from rest: at its mid-depth the speed is sqrt(2 g 0.25)
    // = sqrt(5); in free fall it takes sqrt(2 0.5 / 10) = sqrt(0.1).
    const Row rows[] = {
        {"drop, midpoint", 0.0, 0.5, 0.0, 0.5, LAB_MIDPOINT, 0.22360679774997896},
        {"drop, exact", 0.0, 0.5, 0.0, 0.5, LAB_EXACT, 0.31622776601683794},
        // Level at depth 0.8: speed 4 either way, length 2.
        {"level, midpoint", 2.0, 0.0, 0.8, 0.8, LAB_MIDPOINT, 0.5},
        {"level, exact", 2.0, 0.0, 0.8, 0.8, LAB_EXACT, 0.5},
        {"above the start, midpoint", 0.1, 0.3, -0.2, 0.1, LAB_MIDPOINT, INF},
        {"above the start, exact", 0.1, 1.01, -0.01, 1.0, LAB_EXACT, INF},
        {"at rest on the level, midpoint", 0.3, 0.0, 0.0, 0.0, LAB_MIDPOINT, INF},
        {"at rest on the level, exact", 0.3, 0.0, 0.0, 0.0, LAB_EXACT, INF},
    };
    for (const Row &r : rows) {
        double t = LabSegmentTime(r.dx, r.dy, r.a, r.b, r.rule);
        if (std::isinf(r.time))
            EXPECT_EQ(t, INF) << r.what;
        else
            EXPECT_NEAR(t, r.time, 1e-15) << r.what;
    }
}

TEST(LabCycloid, ClosedFormsAndTheProgramsFigure)
{
    // (pi, 2): theta = pi, R = 1, time pi / sqrt(10).
    LabCycloid half = LabCycloidThrough(PI, 2.0);
    EXPECT_NEAR(half.theta, PI, 1e-12);
    EXPECT_NEAR(half.radius, 1.0, 1e-12);
    EXPECT_NEAR(half.time, 0.99345882657961, 1e-12);
    // The straight drop of 0.8: sqrt(2 0.8 / 10) = 0.4.
    EXPECT_DOUBLE_EQ(LabCycloidThrough(0.0, 0.8).time, 0.4);
    // rodadero-trace's line: the brachistochrone through (1, 0.92) takes
    // 0.571394 s.
    EXPECT_NEAR(LabCycloidThrough(1.0, 0.92).time, 0.571394, 5e-7);
    // Its depth at the end's abscissa is the end's depth.
    LabCycloid c = LabCycloidThrough(1.0, 0.92);
    EXPECT_NEAR(LabCycloidDepthAt(c, 1.0), 0.92, 1e-12);
}

TEST(LabOptimum, DepthMidpointIsWhereTheProgramSettles)
{
    // The program settles at 542355 microseconds; the issue gives 0.5423553 s.
    LabPolyline best = LabOptimum(LabProblem{});
    EXPECT_NEAR(LabPolylineTime(best, LAB_MIDPOINT), 0.5423553, 5e-8);
    EXPECT_EQ(best.x.front(), 0.0);
    EXPECT_EQ(best.x.back(), 1.0);
    EXPECT_EQ(best.y.back(), 0.92);
    // Its exact time is above the cycloid's: the puzzle of the printed time
    // below the cycloid is the midpoint rule's.
    EXPECT_GT(LabPolylineTime(best, LAB_EXACT), 0.571394);
}

// A problem as a test's message names it.
std::string Named(const LabProblem &p)
{
    return "end " + std::to_string(p.endX) + "," + std::to_string(p.endY) + ", " +
           std::to_string(p.intervals) + " intervals, " + (p.layout == LAB_DEPTH ? "depth" : "width") +
           ", " + (p.rule == LAB_MIDPOINT ? "midpoint" : "exact");
}

// Whether moving any one inner node's unknown by +-step makes the polyline
// faster under `rule`.
bool AnyMoveIsFaster(LabPolyline line, LabLayout layout, LabTimeRule rule, double step)
{
    const double time = LabPolylineTime(line, rule);
    for (std::size_t k = 1; k + 1 < line.x.size(); ++k)
        for (double move : {-step, step}) {
            double &unknown = layout == LAB_DEPTH ? line.x[k] : line.y[k];
            const double kept = unknown;
            unknown = kept + move;
            bool faster = LabPolylineTime(line, rule) < time;
            unknown = kept;
            if (faster)
                return true;
        }
    return false;
}

TEST(LabOptimum, NoSmallMoveOfOneNodeIsFaster)
{
    // end X, Y; intervals; layout; rule
    const LabProblem rows[] = {
        {1.0, 0.92, 20, LAB_DEPTH, LAB_MIDPOINT}, {1.0, 0.92, 20, LAB_DEPTH, LAB_EXACT},
        {1.0, 0.92, 20, LAB_WIDTH, LAB_MIDPOINT}, {1.0, 0.92, 20, LAB_WIDTH, LAB_EXACT},
        {2.0, 0.5, 40, LAB_WIDTH, LAB_EXACT},     {0.3, 1.5, 7, LAB_DEPTH, LAB_EXACT},
        {3.0, 1.0, 33, LAB_DEPTH, LAB_MIDPOINT},  {0.5, 2.0, 10, LAB_WIDTH, LAB_MIDPOINT},
    };
    for (const LabProblem &p : rows) {
        LabPolyline best = LabOptimum(p);
        ASSERT_EQ(best.x.size(), static_cast<std::size_t>(p.intervals + 1));
        EXPECT_FALSE(AnyMoveIsFaster(best, p.layout, p.rule, 1e-5)) << Named(p);
        // Faster than the chord, where the same check finds a better move.
        EXPECT_LT(LabPolylineTime(best, p.rule), LabPolylineTime(LabChord(p), p.rule));
        EXPECT_TRUE(AnyMoveIsFaster(LabChord(p), p.layout, p.rule, 1e-5)) << Named(p);
    }
}

TEST(LabOptimum, ExactRuleApproachesTheCycloidFromAbove)
{
    for (LabLayout layout : {LAB_DEPTH, LAB_WIDTH}) {
        const double cycloid = LabCycloidThrough(1.0, 0.92).time;
        double previous = INF;
        for (long n : {5, 10, 20, 40, 80}) {
            LabProblem p;
            p.intervals = n;
            p.layout = layout;
            p.rule = LAB_EXACT;
            double t = LabPolylineTime(LabOptimum(p), LAB_EXACT);
            EXPECT_GT(t, cycloid) << "layout " << layout << " N " << n;
            EXPECT_LT(t, previous) << "layout " << layout << " N " << n;
            previous = t;
        }
        EXPECT_LT(previous - cycloid, 2e-3) << "layout " << layout;
    }
}

// As Y / X -> 0 the cycloid through (X, Y) is a whole arch, R -> X / (2 pi),
// and its time tends to 2 pi sqrt(R / g) = sqrt(2 pi X / g).
TEST(LabCycloid, TheFlatLimitIsAWholeArch)
{
    const double limit = std::sqrt(2.0 * PI * 3.0 / 10.0);
    double previous = 0.0;
    for (double y : {0.3, 0.03, 3e-4, 3e-6, 3e-9}) {
        const double t = LabCycloidThrough(3.0, y).time;
        EXPECT_GT(t, previous) << y;
        EXPECT_LT(t, limit) << y;
        previous = t;
    }
    EXPECT_NEAR(previous, limit, 1e-3);
}

// The depth layout's optimum against a plain minimiser: one node at a time,
// by golden-section search of its two segments' time (convex in its
// abscissa), sweep after sweep until nothing moves.
LabPolyline PlainDepthMinimum(const LabProblem &p)
{
    LabPolyline line = LabChord(p);
    const double golden = (std::sqrt(5.0) - 1.0) / 2.0;
    for (int sweep = 0; sweep < 4000; ++sweep)
        for (long k = 1; k < p.intervals; ++k) {
            auto local = [&](double x) {
                return LabSegmentTime(x - line.x[k - 1], line.y[k] - line.y[k - 1], line.y[k - 1],
                                      line.y[k], p.rule) +
                       LabSegmentTime(line.x[k + 1] - x, line.y[k + 1] - line.y[k], line.y[k],
                                      line.y[k + 1], p.rule);
            };
            double a = line.x[k] - 1.0, b = line.x[k] + 1.0;
            for (int i = 0; i < 90; ++i) {
                double c = b - golden * (b - a), d = a + golden * (b - a);
                (local(c) < local(d) ? b : a) = local(c) < local(d) ? d : c;
            }
            line.x[k] = 0.5 * (a + b);
        }
    return line;
}

// The width layout's optimum against a plain Newton: the gradient and the
// whole Hessian by central differences of the time, solved by Eigen, each
// step halved until the time falls.
LabPolyline PlainWidthMinimum(const LabProblem &p)
{
    LabPolyline line = LabChord(p);
    const int m = static_cast<int>(p.intervals) - 1;
    auto time = [&](const Eigen::VectorXd &u) {
        LabPolyline l = line;
        for (int i = 0; i < m; ++i)
            l.y[i + 1] = u[i];
        return LabPolylineTime(l, p.rule);
    };
    Eigen::VectorXd u(m);
    for (int i = 0; i < m; ++i)
        u[i] = line.y[i + 1];
    const double h = 1e-4;
    for (int iteration = 0; iteration < 40; ++iteration) {
        Eigen::VectorXd g(m);
        Eigen::MatrixXd H(m, m);
        for (int i = 0; i < m; ++i) {
            Eigen::VectorXd e = Eigen::VectorXd::Unit(m, i) * h;
            g[i] = (time(u + e) - time(u - e)) / (2 * h);
            for (int j = 0; j < m; ++j) {
                Eigen::VectorXd f = Eigen::VectorXd::Unit(m, j) * h;
                H(i, j) = (time(u + e + f) - time(u + e - f) - time(u - e + f) + time(u - e - f)) /
                          (4 * h * h);
            }
        }
        Eigen::VectorXd step = H.ldlt().solve(g);
        for (double scale = 1.0; scale > 1e-6; scale /= 2)
            if (time(u - scale * step) < time(u)) {
                u -= scale * step;
                break;
            }
    }
    for (int i = 0; i < m; ++i)
        line.y[i + 1] = u[i];
    return line;
}

TEST(LabOptimum, AsPlainMinimisersFindIt)
{
    const LabProblem rows[] = {
        {1.0, 0.92, 6, LAB_DEPTH, LAB_MIDPOINT}, {0.4, 1.5, 5, LAB_DEPTH, LAB_EXACT},
        {1.0, 0.92, 6, LAB_WIDTH, LAB_EXACT},    {2.0, 0.5, 5, LAB_WIDTH, LAB_MIDPOINT},
    };
    for (const LabProblem &p : rows) {
        const LabPolyline best = LabOptimum(p);
        const LabPolyline plain = p.layout == LAB_DEPTH ? PlainDepthMinimum(p) : PlainWidthMinimum(p);
        EXPECT_NEAR(LabPolylineTime(best, p.rule), LabPolylineTime(plain, p.rule), 1e-12) << Named(p);
        for (long k = 0; k <= p.intervals; ++k) {
            EXPECT_NEAR(best.x[k], plain.x[k], 1e-6) << Named(p) << ", node " << k;
            EXPECT_NEAR(best.y[k], plain.y[k], 1e-6) << Named(p) << ", node " << k;
        }
    }
}

TEST(LabOptimum, WidthDipsBelowAFlatEndAsTheCycloidDoes)
{
    // Y / X = 0.25 < 2 / pi: the cycloid's lowest point is below the end.
    LabProblem p;
    p.endX = 2.0;
    p.endY = 0.5;
    p.intervals = 40;
    p.layout = LAB_WIDTH;
    p.rule = LAB_EXACT;
    LabPolyline best = LabOptimum(p);
    double deepest = 0.0;
    for (double y : best.y)
        deepest = std::max(deepest, y);
    EXPECT_GT(deepest, 0.5);
    EXPECT_GT(LabCycloidThrough(2.0, 0.5).radius * 2.0, 0.5);
}

} // namespace

namespace {

TEST(LabTheory, TheProgramsLimitsFromItsOwnProblem)
{
    // rodadero-trace --stability --method gradient, from the program's
    // tables (which hold the midpoint rule to 6-15 digits):
    // lambda_max 58.362040867202737, lambda_min 0.048425263913172964,
    // best rate 0.99834189770701465.
    LabProblem p;
    LabTheory t = LabTheoryOf(LabSpectrumOf(LabHessianAt(p, LabOptimum(p))));
    EXPECT_NEAR(t.lambdaMax / 58.362040867202737, 1.0, 1e-5);
    EXPECT_NEAR(t.lambdaMin / 0.048425263913172964, 1.0, 1e-5);
    EXPECT_NEAR(t.bestRate, 0.99834189770701465, 1e-7);
}

TEST(LabTheory, ClosedFormsOfTheRate)
{
    // kappa 3: best step 2 / (1 + 3), rate 1/2, and 0.5^20 < 1e-6 < 0.5^19.
    LabTheory t = LabTheoryOf(LabSpectrum{1.0, 3.0});
    EXPECT_DOUBLE_EQ(t.condition, 3.0);
    EXPECT_DOUBLE_EQ(t.bestStep, 0.5);
    EXPECT_DOUBLE_EQ(t.bestRate, 0.5);
    EXPECT_EQ(t.stepsToMillionth, 20);
}

// The Hessian by central differences of the time alone, h apart.
Eigen::MatrixXd DifferencedHessian(const LabProblem &p, LabPolyline line, double h)
{
    const long m = p.intervals - 1;
    auto unknown = [&](long i) -> double & { return p.layout == LAB_DEPTH ? line.x[i + 1] : line.y[i + 1]; };
    auto time = [&]() { return LabPolylineTime(line, p.rule); };
    Eigen::MatrixXd hessian(m, m);
    for (long i = 0; i < m; ++i)
        for (long j = 0; j < m; ++j) {
            double sum = 0.0;
            for (int si : {1, -1})
                for (int sj : {1, -1}) {
                    unknown(i) += si * h;
                    unknown(j) += sj * h;
                    sum += si * sj * time();
                    unknown(i) -= si * h;
                    unknown(j) -= sj * h;
                }
            hessian(i, j) = sum / (4.0 * h * h);
        }
    return hessian;
}

TEST(LabTheory, EigenvaluesAsEigenFindsThemOfTheDifferencedHessian)
{
    // end X, Y; intervals; layout; rule
    const LabProblem rows[] = {
        {1.0, 0.92, 10, LAB_DEPTH, LAB_EXACT}, {1.0, 0.92, 10, LAB_WIDTH, LAB_EXACT},
        {1.0, 0.92, 12, LAB_WIDTH, LAB_MIDPOINT}, {2.0, 0.5, 9, LAB_WIDTH, LAB_EXACT},
        {0.4, 1.2, 8, LAB_DEPTH, LAB_MIDPOINT},
    };
    for (const LabProblem &p : rows) {
        LabPolyline best = LabOptimum(p);
        Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solver(DifferencedHessian(p, best, 1e-4));
        const Eigen::VectorXd &values = solver.eigenvalues();
        LabSpectrum s = LabSpectrumOf(LabHessianAt(p, best));
        EXPECT_NEAR(s.lambdaMin / values(0), 1.0, 1e-4) << Named(p);
        EXPECT_NEAR(s.lambdaMax / values(values.size() - 1), 1.0, 1e-4) << Named(p);
    }
}

TEST(LabRefinement, IntervalsDoubleFromFiveAndEndAtTheGivenN)
{
    struct Row {
        long given;
        std::vector<long> intervals;
    };
    const Row rows[] = {{1, {1}},           {4, {4}},           {5, {5}},
                        {20, {5, 10, 20}},  {30, {5, 10, 20, 30}}, {40, {5, 10, 20, 40}}};
    for (const Row &r : rows)
        EXPECT_EQ(LabRefinementIntervals(r.given), r.intervals) << r.given;
}

TEST(LabRefinement, TheConditionGrowsWithN)
{
    LabProblem p;
    p.intervals = 80;
    p.rule = LAB_EXACT;
    std::vector<LabRefinementRow> rows = LabRefinement(p);
    ASSERT_EQ(rows.size(), 5u);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        EXPECT_GT(rows[i].theory.condition, rows[i - 1].theory.condition) << rows[i].intervals;
        EXPECT_GT(rows[i].theory.stepsToMillionth, rows[i - 1].theory.stepsToMillionth);
        EXPECT_EQ(rows[i].optimumTime, rows[i].exactTime);
    }
}


// The gradient against central differences of the time, node by node, for
// each layout and rule, at a polyline that is neither the chord nor the
// optimum (the chord bent by a sine).
TEST(LabGradient, CentralDifferencesOfTheTime)
{
    for (LabLayout layout : {LAB_DEPTH, LAB_WIDTH})
        for (LabTimeRule rule : {LAB_MIDPOINT, LAB_EXACT}) {
            LabProblem p;
            p.intervals = 12;
            p.layout = layout;
            p.rule = rule;
            LabPolyline line = LabChord(p);
            std::vector<double> &u = LabUnknowns(&line, layout);
            for (long k = 1; k < p.intervals; ++k)
                u[k] += 0.05 * std::sin(PI * k / p.intervals);
            std::vector<double> g;
            LabGradientAt(p, line, &g);
            ASSERT_EQ(g.size(), 11u);
            const double h = 1e-6;
            for (long k = 1; k < p.intervals; ++k) {
                LabPolyline up = line, down = line;
                LabUnknowns(&up, layout)[k] += h;
                LabUnknowns(&down, layout)[k] -= h;
                double difference = (LabPolylineTime(up, rule) - LabPolylineTime(down, rule)) / (2 * h);
                EXPECT_NEAR(g[k - 1], difference, 1e-7 * (1.0 + std::fabs(difference)))
                    << "layout " << layout << ", rule " << rule << ", node " << k;
            }
        }
}

// Each method from the chord reaches the optimum, which its own search
// found otherwise (a root-find or Newton's method with line searches);
// Newton in a handful of steps, the others within their linear rate.
TEST(LabRun, EveryMethodReachesTheOptimum)
{
    struct Row {
        Method method;
        LabLayout layout;
        LabTimeRule rule;
        double ratio, beta;
        long steps;
    };
    const Row rows[] = {
        {METHOD_GRADIENT, LAB_DEPTH, LAB_MIDPOINT, 0.9, 0.0, 3000},
        {METHOD_HEAVY_BALL, LAB_DEPTH, LAB_EXACT, 0.5, 0.6, 1000},
        {METHOD_NESTEROV, LAB_WIDTH, LAB_EXACT, 0.5, 0.6, 1000},
        {METHOD_NEWTON, LAB_WIDTH, LAB_MIDPOINT, 0.5, 0.0, 12},
        {METHOD_NEWTON, LAB_DEPTH, LAB_EXACT, 0.5, 0.0, 12},
    };
    for (const Row &r : rows) {
        LabProblem p;
        p.intervals = 6;
        p.endX = 1.0;
        p.endY = 0.6;
        p.layout = r.layout;
        p.rule = r.rule;
        LabReference ref = LabReferenceOf(p);
        Recorder nothing;
        LabRunResult run = RecordLabRun(p, {r.method, r.ratio, r.beta}, ref.theory.lambdaMax,
                                        r.steps, &nothing);
        EXPECT_EQ(run.haltedAt, 0) << METHOD_NAME[r.method];
        EXPECT_EQ(run.steps, r.steps) << METHOD_NAME[r.method];
        EXPECT_NEAR(run.time, ref.optimumTime, 1e-12) << METHOD_NAME[r.method];
        for (long k = 0; k <= p.intervals; ++k)
            EXPECT_NEAR(LabUnknowns(run.line, r.layout)[k], LabUnknowns(ref.optimum, r.layout)[k],
                        1e-6)
                << METHOD_NAME[r.method] << ", node " << k;
    }
}

// Too long a step in the width layout lifts the first inner node above the
// start, where the time has no value: the run stops before that step, its
// polyline still below the start, and says which node and where.
TEST(LabRun, AStepThatLiftsANodeAboveTheStartEndsTheRun)
{
    LabProblem p;
    p.intervals = 1000;
    p.layout = LAB_WIDTH;
    p.rule = LAB_EXACT;
    LabReference ref = LabReferenceOf(p);
    Recorder rows;
    rows.rowEvery = 1;
    std::vector<long> printed;
    rows.row = [&](const RunStep &s) { printed.push_back(s.step); };
    LabRunResult run = RecordLabRun(p, {METHOD_GRADIENT, 0.5, 0.0}, ref.theory.lambdaMax, 100, &rows);
    ASSERT_GT(run.haltedAt, 0);
    EXPECT_EQ(run.steps, run.haltedAt - 1);
    EXPECT_EQ(run.haltedNode, 1);
    EXPECT_LT(run.haltedValue, 0.0);
    EXPECT_TRUE(std::isfinite(run.time));
    ASSERT_FALSE(printed.empty());
    EXPECT_EQ(printed.back(), run.steps);
    for (double y : run.line.y)
        EXPECT_GE(y, 0.0);
}

// The order of the gap fitted over rows whose gaps are exactly C N^p.
TEST(LabRefinement, TheOrderOfAGapThatFollowsAPowerExactly)
{
    for (double order : {-1.5, -1.0, -0.5}) {
        std::vector<LabRefinementRow> rows;
        for (long n : {5L, 10L, 20L, 40L, 80L, 160L}) {
            LabRefinementRow r{};
            r.intervals = n;
            r.cycloidTime = 0.6;
            r.optimumTime = 0.6 - 0.3 * std::pow(static_cast<double>(n), order);
            r.exactTime = 0.6 + 2.0 * std::pow(static_cast<double>(n), order);
            rows.push_back(r);
        }
        EXPECT_NEAR(LabGapOrder(rows, false), order, 1e-12);
        EXPECT_NEAR(LabGapOrder(rows, true), order, 1e-12);
    }
}

// Under the exact rule the depth layout approaches the cycloid about as
// N^-1.5 and the width layout as N^-1.
TEST(LabRefinement, TheExactRulesOrdersOfEachLayout)
{
    struct Row {
        LabLayout layout;
        double order;
    };
    for (const Row &r : {Row{LAB_DEPTH, -1.5}, Row{LAB_WIDTH, -1.0}}) {
        LabProblem p;
        p.intervals = 640;
        p.layout = r.layout;
        p.rule = LAB_EXACT;
        EXPECT_NEAR(LabGapOrder(LabRefinement(p), true), r.order, 0.1) << r.layout;
    }
}


// Sine, cosine and logarithm against their values to 40 digits (mpmath),
// rounded to doubles: within a unit in the last place, near the zeros of
// sine and cosine included, where only a reduction by pi/2 to more than
// 53 bits keeps them. (That every build gives the same bits is checked by
// rodadero-trace's stored laboratory rows, natively and from the .exe.)
TEST(SameMath, WithinAUnitInTheLastPlace)
{
    auto ulps = [](double got, double want) {
        return std::fabs(got - want) / std::ldexp(1.0, std::ilogb(want) - 52);
    };
    const struct {
        double x, sin, cos;
    } angles[] = {
        {0.001, 0.0009999998333333417, 0.9999995000000417},
        {0.5, 0.479425538604203, 0.8775825618903728},
        {0.7853981633974483, 0.7071067811865475, 0.7071067811865476},
        {1.5707963267948966, 1.0, 6.123233995736766e-17},
        {2.4120111439135253, 0.6665577283401035, -0.7454534155734218},
        {3.141592653589793, 1.2246467991473532e-16, -1.0},
        {4.71238898038469, -1.0, -1.8369701987210297e-16},
        {6.283185307179586, -2.4492935982947064e-16, 1.0},
        {6.2, -0.0830894028174964, 0.9965420970232175},
    };
    for (const auto &a : angles) {
        EXPECT_LE(ulps(SameSin(a.x), a.sin), 1.0) << a.x;
        EXPECT_LE(ulps(SameCos(a.x), a.cos), 1.0) << a.x;
    }
    const struct {
        double x, log;
    } logs[] = {{1e-6, -13.815510557964274}, {0.999999, -1.000000500029089e-06},
                {0.5, -0.6931471805599453},  {10.0, 2.302585092994046},
                {2.5e-300, -689.8592371663395}, {123456.789, 11.723646487185881}};
    for (const auto &l : logs)
        EXPECT_LE(ulps(SameLog(l.x), l.log), 1.0) << l.x;
    EXPECT_EQ(SameLog(1.0), 0.0);
}

} // namespace
