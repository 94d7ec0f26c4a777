// The laboratory's problem: times, the cycloid through any end point and
// the exact discrete optimum of either layout.
#include "lab.h"

#include "bisect.h"
#include "kinematics.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const double INFINITE_TIME = std::numeric_limits<double>::infinity();

// The time per unit length of a segment from depth a to depth b.
double TimePerLength(double a, double b, LabTimeRule rule)
{
    if (rule == LAB_MIDPOINT) {
        double sum = a + b;
        return sum > 0.0 ? 1.0 / std::sqrt(LAB_GRAVITY * sum) : INFINITE_TIME;
    }
    if (a < 0.0 || b < 0.0)
        return INFINITE_TIME;
    double speeds = std::sqrt(2.0 * LAB_GRAVITY * a) + std::sqrt(2.0 * LAB_GRAVITY * b);
    return speeds > 0.0 ? 2.0 / speeds : INFINITE_TIME;
}

// Depth layout. The time is the sum of w_k sqrt(dx_k^2 + h^2) with the
// layer factors w_k fixed, under the one constraint sum dx_k = X. At the
// optimum w_k dx_k / L_k = c for every k: sin phi_k = c / w_k, so
// dx_k = h s_k / sqrt(1 - s_k^2) with s_k = c / w_k. The sum grows with c
// from 0 (c = 0) without bound (c -> min w_k): c = sigma min w_k with
// sigma in [0, 1) found by bisection.
LabPolyline DepthOptimum(const LabProblem &p)
{
    const long n = p.intervals;
    LabPolyline line;
    line.y.resize(n + 1);
    for (long k = 0; k <= n; ++k)
        line.y[k] = p.endY * static_cast<double>(k) / static_cast<double>(n);
    line.y[n] = p.endY;
    std::vector<double> w(n), h(n);
    for (long k = 0; k < n; ++k) {
        w[k] = TimePerLength(line.y[k], line.y[k + 1], p.rule);
        h[k] = line.y[k + 1] - line.y[k];
    }
    const double fastest = *std::min_element(w.begin(), w.end());
    auto widths = [&](double sigma, std::vector<double> *dx) {
        double sum = 0.0;
        for (long k = 0; k < n; ++k) {
            double s = sigma * fastest / w[k];
            double d = h[k] * s / std::sqrt(1.0 - s * s);
            if (dx)
                (*dx)[k] = d;
            sum += d;
        }
        return sum;
    };
    double sigma = p.endX > 0.0 ? Bisect(0.0, 1.0, [&](double s) { return widths(s, nullptr) < p.endX; })
                                : 0.0;
    std::vector<double> dx(n);
    widths(sigma, &dx);
    line.x.assign(n + 1, 0.0);
    for (long k = 0; k < n; ++k)
        line.x[k + 1] = line.x[k] + dx[k];
    line.x[n] = p.endX;
    return line;
}

// A segment's time t = L w between its end depths a and b over a fixed
// width, and its first and second derivatives in a and b:
//   L = sqrt(dx^2 + (b - a)^2), L_a = -(b - a)/L, L_b = (b - a)/L,
//   L_aa = L_bb = dx^2/L^3, L_ab = -dx^2/L^3;
//   midpoint: w = (g s)^(-1/2), s = a + b, w_a = w_b = -w/(2s),
//             w_aa = w_bb = w_ab = 3w/(4 s^2);
//   exact:    w = 2/q, q = u + v, u = sqrt(2ga), v = sqrt(2gb),
//             w_a = -2g/(u q^2), w_aa = 2g^2/(u^3 q^2) + 4g^2/(u^2 q^3),
//             w_ab = 4g^2/(u v q^3), and the same in b with v.
// The derivatives in a are not needed (nor formed) where a is the start's
// fixed depth 0.
struct SegmentCurvature {
    double t, ta, tb, taa, tbb, tab;
};

SegmentCurvature Curvature(double dx, double a, double b, LabTimeRule rule)
{
    const double g = LAB_GRAVITY;
    const double d = b - a, l2 = dx * dx + d * d, l = std::sqrt(l2);
    const double la = -d / l, lb = d / l, laa = dx * dx / (l2 * l), lab = -laa;
    double w, wa, wb, waa, wbb, wab;
    if (rule == LAB_MIDPOINT) {
        const double s = a + b;
        w = 1.0 / std::sqrt(g * s);
        wa = wb = -w / (2.0 * s);
        waa = wbb = wab = 3.0 * w / (4.0 * s * s);
    } else {
        const double u = std::sqrt(2.0 * g * a), v = std::sqrt(2.0 * g * b), q = u + v;
        w = 2.0 / q;
        wa = a > 0.0 ? -2.0 * g / (u * q * q) : 0.0;
        wb = b > 0.0 ? -2.0 * g / (v * q * q) : 0.0;
        waa = a > 0.0 ? 2.0 * g * g / (u * u * u * q * q) + 4.0 * g * g / (u * u * q * q * q) : 0.0;
        wbb = b > 0.0 ? 2.0 * g * g / (v * v * v * q * q) + 4.0 * g * g / (v * v * q * q * q) : 0.0;
        wab = a > 0.0 && b > 0.0 ? 4.0 * g * g / (u * v * q * q * q) : 0.0;
    }
    return {l * w,
            la * w + l * wa,
            lb * w + l * wb,
            laa * w + 2.0 * la * wa + l * waa,
            laa * w + 2.0 * lb * wb + l * wbb,
            lab * w + la * wb + lb * wa + l * wab};
}

// The gradient and the tridiagonal Hessian of the width layout's time in
// its inner depths y_1..y_{N-1} (index i - 1): diagonal `diag`, and `off`
// between y_i and y_{i+1}.
struct Newtonian {
    std::vector<double> gradient;
    LabHessian hessian;
};

Newtonian Derivatives(const LabPolyline &line, LabTimeRule rule)
{
    const std::size_t inner = line.y.size() - 2;
    Newtonian n{std::vector<double>(inner, 0.0),
                {std::vector<double>(inner, 0.0), std::vector<double>(inner > 0 ? inner - 1 : 0, 0.0)}};
    for (std::size_t k = 0; k + 1 < line.y.size(); ++k) {
        SegmentCurvature c = Curvature(line.x[k + 1] - line.x[k], line.y[k], line.y[k + 1], rule);
        bool fromInner = k >= 1, toInner = k + 1 <= inner;
        if (fromInner) {
            n.gradient[k - 1] += c.ta;
            n.hessian.diag[k - 1] += c.taa;
        }
        if (toInner) {
            n.gradient[k] += c.tb;
            n.hessian.diag[k] += c.tbb;
        }
        if (fromInner && toInner)
            n.hessian.off[k - 1] += c.tab;
    }
    return n;
}

// The direction -(H + shift I)^-1 g by the Thomas algorithm; false where a
// pivot is not positive (H + shift I not positive definite).
bool NewtonDirection(const Newtonian &n, double shift, std::vector<double> *step)
{
    const std::size_t m = n.gradient.size();
    std::vector<double> pivot(m), right(m);
    for (std::size_t i = 0; i < m; ++i) {
        double p = n.hessian.diag[i] + shift, r = -n.gradient[i];
        if (i > 0) {
            double f = n.hessian.off[i - 1] / pivot[i - 1];
            p -= f * n.hessian.off[i - 1];
            r -= f * right[i - 1];
        }
        if (!(p > 0.0))
            return false;
        pivot[i] = p;
        right[i] = r;
    }
    step->assign(m, 0.0);
    for (std::size_t i = m; i-- > 0;)
        (*step)[i] = (right[i] - (i + 1 < m ? n.hessian.off[i] * (*step)[i + 1] : 0.0)) / pivot[i];
    return true;
}

// Newton's direction where the Hessian is positive definite; where it is
// not, the Hessian shifted by the least power of ten times its largest
// diagonal entry that makes it so (Levenberg's damping).
void DescentDirection(const Newtonian &n, std::vector<double> *step)
{
    double largest = 0.0;
    for (double d : n.hessian.diag)
        largest = std::max(largest, std::fabs(d));
    for (double shift = 0.0; !NewtonDirection(n, shift, step);)
        shift = shift == 0.0 ? 1e-12 * largest : 10.0 * shift;
}

// Width layout: from the cycloid's depths at the nodes' abscissae, Newton
// steps, each halved until the time falls, until none does.
LabPolyline WidthOptimum(const LabProblem &p)
{
    const long n = p.intervals;
    LabPolyline line;
    line.x.resize(n + 1);
    line.y.resize(n + 1);
    const LabCycloid cycloid = LabCycloidThrough(p.endX, p.endY);
    for (long k = 0; k <= n; ++k) {
        line.x[k] = p.endX * static_cast<double>(k) / static_cast<double>(n);
        line.y[k] = k == 0 ? 0.0 : k == n ? p.endY : LabCycloidDepthAt(cycloid, line.x[k]);
    }
    line.x[n] = p.endX;
    double time = LabPolylineTime(line, p.rule);
    std::vector<double> step;
    for (int iteration = 0; iteration < 200 && n > 1; ++iteration) {
        Newtonian d = Derivatives(line, p.rule);
        DescentDirection(d, &step);
        bool better = false;
        LabPolyline tried = line;
        for (double scale = 1.0; scale > 1e-12 && !better; scale *= 0.5) {
            for (long k = 1; k < n; ++k)
                tried.y[k] = line.y[k] + scale * step[k - 1];
            double t = LabPolylineTime(tried, p.rule);
            better = t < time;
            if (better)
                time = t;
        }
        if (!better)
            break;
        line = tried;
    }
    return line;
}

} // namespace

double LabSegmentTime(double dx, double dy, double a, double b, LabTimeRule rule)
{
    return std::sqrt(dx * dx + dy * dy) * TimePerLength(a, b, rule);
}

double LabPolylineTime(const LabPolyline &p, LabTimeRule rule)
{
    double time = 0.0;
    for (std::size_t k = 0; k + 1 < p.x.size(); ++k)
        time += LabSegmentTime(p.x[k + 1] - p.x[k], p.y[k + 1] - p.y[k], p.y[k], p.y[k + 1], rule);
    return time;
}

LabPolyline LabChord(const LabProblem &problem)
{
    LabPolyline line;
    const long n = problem.intervals;
    for (long k = 0; k <= n; ++k) {
        double f = static_cast<double>(k) / static_cast<double>(n);
        line.x.push_back(k == n ? problem.endX : problem.endX * f);
        line.y.push_back(k == n ? problem.endY : problem.endY * f);
    }
    return line;
}

LabCycloid LabCycloidThrough(double endX, double endY)
{
    if (endX == 0.0)
        return {0.0, 0.0, std::sqrt(2.0 * endY / LAB_GRAVITY)};
    Brachistochrone b = BrachistochroneThrough(endX, endY, LAB_GRAVITY);
    return {b.endTheta, b.radius, b.time};
}

double LabCycloidDepthAt(const LabCycloid &c, double x)
{
    double phi = Bisect(0.0, c.theta, [&](double f) { return c.radius * (f - std::sin(f)) < x; });
    return c.radius * (1.0 - std::cos(phi));
}

LabPolyline LabOptimum(const LabProblem &problem)
{
    return problem.layout == LAB_DEPTH ? DepthOptimum(problem) : WidthOptimum(problem);
}

LabHessian LabHessianAt(const LabProblem &problem, const LabPolyline &line)
{
    if (problem.layout == LAB_WIDTH) {
        return Derivatives(line, problem.rule).hessian;
    }
    const std::size_t inner = line.x.size() - 2;
    LabHessian h{std::vector<double>(inner, 0.0),
                 std::vector<double>(inner > 0 ? inner - 1 : 0, 0.0)};
    for (std::size_t k = 0; k + 1 < line.x.size(); ++k) {
        const double dx = line.x[k + 1] - line.x[k], dy = line.y[k + 1] - line.y[k];
        const double l2 = dx * dx + dy * dy, l = std::sqrt(l2);
        const double c = TimePerLength(line.y[k], line.y[k + 1], problem.rule) * dy * dy / (l2 * l);
        if (k >= 1)
            h.diag[k - 1] += c;
        if (k + 1 <= inner)
            h.diag[k] += c;
        if (k >= 1 && k + 1 <= inner)
            h.off[k - 1] -= c;
    }
    return h;
}

namespace {

// How many eigenvalues of h lie below x: the negative pivots of the LDL'
// factors of h - x I (Sturm's count), a zero pivot nudged off zero.
std::size_t EigenvaluesBelow(const LabHessian &h, double x)
{
    std::size_t below = 0;
    double q = 1.0;
    for (std::size_t i = 0; i < h.diag.size(); ++i) {
        double coupling = i > 0 ? h.off[i - 1] * h.off[i - 1] / q : 0.0;
        q = h.diag[i] - x - coupling;
        if (q == 0.0)
            q = -1e-300;
        below += q < 0.0;
    }
    return below;
}

} // namespace

LabSpectrum LabSpectrumOf(const LabHessian &h)
{
    const std::size_t m = h.diag.size();
    double lo = HUGE_VAL, hi = -HUGE_VAL;  // Gershgorin's discs
    for (std::size_t i = 0; i < m; ++i) {
        double r = (i > 0 ? std::fabs(h.off[i - 1]) : 0.0) + (i + 1 < m ? std::fabs(h.off[i]) : 0.0);
        lo = std::min(lo, h.diag[i] - r);
        hi = std::max(hi, h.diag[i] + r);
    }
    if (m == 0)
        return {0.0, 0.0};
    return {Bisect(lo, hi, [&](double x) { return EigenvaluesBelow(h, x) < 1; }),
            Bisect(lo, hi, [&](double x) { return EigenvaluesBelow(h, x) < m; })};
}

LabTheory LabTheoryOf(const LabSpectrum &s)
{
    LabTheory t;
    t.lambdaMin = s.lambdaMin;
    t.lambdaMax = s.lambdaMax;
    t.condition = s.lambdaMax / s.lambdaMin;
    t.bestStep = 2.0 / (s.lambdaMax + s.lambdaMin);
    t.bestRate = (t.condition - 1.0) / (t.condition + 1.0);
    t.stepsToMillionth =
        t.bestRate > 0.0 ? static_cast<long>(std::ceil(std::log(1e-6) / std::log(t.bestRate))) : 1;
    return t;
}

std::vector<long> LabRefinementIntervals(long intervals)
{
    std::vector<long> all;
    for (long n = 5; n <= intervals; n *= 2)
        all.push_back(n);
    if (all.empty() || all.back() != intervals)
        all.push_back(intervals);
    return all;
}

std::vector<LabRefinementRow> LabRefinement(const LabProblem &problem)
{
    std::vector<LabRefinementRow> rows;
    const double cycloid = LabCycloidThrough(problem.endX, problem.endY).time;
    for (long n : LabRefinementIntervals(problem.intervals)) {
        LabProblem p = problem;
        p.intervals = n;
        LabPolyline best = LabOptimum(p);
        rows.push_back({n, LabPolylineTime(best, p.rule), LabPolylineTime(best, LAB_EXACT), cycloid,
                        LabTheoryOf(LabSpectrumOf(LabHessianAt(p, best)))});
    }
    return rows;
}
