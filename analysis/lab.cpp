// The laboratory's problem: times, the cycloid through any end point and
// the exact discrete optimum of either layout.
#include "lab.h"

#include "bisect.h"
#include "same_math.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const double INFINITE_TIME = std::numeric_limits<double>::infinity();
// Where the width layout's Newton steps stop: after a step that promised a
// gain below this share of the time.
const double NEWTON_LAST_GAIN = 1e-12;
// The width layout's optimum starts from that of half as many intervals
// above this many.
const long WIDTH_COARSEST = 64;

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
struct SegmentSlope {
    double t, ta, tb;
};

struct SegmentCurvature {
    double t, ta, tb, taa, tbb, tab;
};

// w and its derivatives; the second ones only when asked for.
struct RuleWeight {
    double w, wa, wb, waa, wbb, wab;
};

// Written with the reciprocals 1/s, 1/u, 1/v, 1/q and 1/L, each found
// once, since division is the slow operation here.
RuleWeight WeightOf(double a, double b, LabTimeRule rule, bool second)
{
    const double g = LAB_GRAVITY;
    RuleWeight r{};
    if (rule == LAB_MIDPOINT) {
        const double s = a + b, is = 1.0 / s;
        r.w = 1.0 / std::sqrt(g * s);
        r.wa = r.wb = -0.5 * r.w * is;
        if (second)
            r.waa = r.wbb = r.wab = 0.75 * r.w * (is * is);
        return r;
    }
    const double u = std::sqrt(2.0 * g * a), v = std::sqrt(2.0 * g * b);
    const double iu = a > 0.0 ? 1.0 / u : 0.0, iv = b > 0.0 ? 1.0 / v : 0.0;
    const double iq = 1.0 / (u + v), iq2 = iq * iq;
    r.w = 2.0 * iq;
    r.wa = -2.0 * g * iu * iq2;
    r.wb = -2.0 * g * iv * iq2;
    if (second) {
        r.waa = 2.0 * g * g * (iu * iu) * iq2 * (iu + 2.0 * iq);
        r.wbb = 2.0 * g * g * (iv * iv) * iq2 * (iv + 2.0 * iq);
        r.wab = 4.0 * g * g * iu * iv * iq2 * iq;
    }
    return r;
}

SegmentSlope Slope(double dx, double a, double b, LabTimeRule rule)
{
    const double d = b - a, l = std::sqrt(dx * dx + d * d), dl = d / l;
    const RuleWeight r = WeightOf(a, b, rule, false);
    return {l * r.w, -dl * r.w + l * r.wa, dl * r.w + l * r.wb};
}

SegmentCurvature Curvature(double dx, double a, double b, LabTimeRule rule)
{
    const double d = b - a, l = std::sqrt(dx * dx + d * d), il = 1.0 / l;
    const double la = -d * il, lb = d * il, laa = dx * dx * (il * il * il), lab = -laa;
    const RuleWeight r = WeightOf(a, b, rule, true);
    return {l * r.w,
            la * r.w + l * r.wa,
            lb * r.w + l * r.wb,
            laa * r.w + 2.0 * la * r.wa + l * r.waa,
            laa * r.w + 2.0 * lb * r.wb + l * r.wbb,
            lab * r.w + la * r.wb + lb * r.wa + l * r.wab};
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
// Where no shift up to 10^12 times that entry helps (the derivatives are
// not numbers, or all zero), the direction is not a number either.
void DescentDirection(const Newtonian &n, std::vector<double> *step)
{
    double largest = 0.0;
    for (double d : n.hessian.diag)
        largest = std::max(largest, std::fabs(d));
    double shift = 0.0;
    for (int tries = 0; tries <= 25; ++tries) {
        if (NewtonDirection(n, shift, step))
            return;
        shift = shift == 0.0 ? 1e-12 * largest : 10.0 * shift;
    }
    step->assign(n.gradient.size(), std::numeric_limits<double>::quiet_NaN());
}

// The cycloid's depths at the inner nodes' abscissae, which grow from node
// to node: phi - sin phi = x / R by Newton's method from the previous
// node's phi (by bisection at the first). A start for Newton's steps on
// the depths, which need it close, not exact.
void CycloidDepthsAt(const LabCycloid &c, LabPolyline *line)
{
    const std::size_t n = line->x.size() - 1;
    double phi = n > 1 ? Bisect(0.0, c.theta, [&](double f) {
        return f - SameSin(f) < line->x[1] / c.radius;
    }) : 0.0;
    for (std::size_t k = 1; k < n; ++k) {
        const double target = line->x[k] / c.radius;
        for (int i = 0; i < 50; ++i) {
            const double slope = 1.0 - SameCos(phi);
            const double move = slope > 0.0 ? (phi - SameSin(phi) - target) / slope : 0.0;
            phi = std::min(std::max(phi - move, 0.0), c.theta);
            if (std::fabs(move) <= 1e-13 * phi)
                break;
        }
        line->y[k] = c.radius * (1.0 - SameCos(phi));
    }
}

// The depths at `line`'s abscissae of the polyline `coarse` over the same
// width, linearly between its nodes; but in its first segment, from the
// start, where the depth is far from linear (as x^(2/3) on the cycloid, and
// under the midpoint rule a dive to nearly the first node's depth at once),
// each node takes whichever of that and the first node's depth makes the
// first two segments of `line` faster under `rule`.
void DepthsFrom(const LabPolyline &coarse, LabTimeRule rule, LabPolyline *line)
{
    const std::size_t n = line->x.size() - 1, m = coarse.x.size() - 1;
    std::size_t j = 0;
    for (std::size_t k = 1; k < n; ++k) {
        while (j + 1 < m && coarse.x[j + 1] <= line->x[k])
            ++j;
        const double f = (line->x[k] - coarse.x[j]) / (coarse.x[j + 1] - coarse.x[j]);
        line->y[k] = coarse.y[j] + f * (coarse.y[j + 1] - coarse.y[j]);
    }
    auto firstTwo = [&](double y1) {
        return LabSegmentTime(line->x[1], y1, 0.0, y1, rule) +
               LabSegmentTime(line->x[2] - line->x[1], line->y[2] - y1, y1, line->y[2], rule);
    };
    if (n > 2 && line->x[1] < coarse.x[1] && firstTwo(coarse.y[1]) < firstTwo(line->y[1]))
        line->y[1] = coarse.y[1];
}

// Width layout: Newton steps, each halved until the time falls, until the
// gain they promise, -G.d / 2 for the step d, is below the rounding of the
// time. They start from `coarse`, the optimum of fewer intervals, where it
// is given, or from that of half as many where there are many (its depths
// between its nodes), or else from the cycloid's depths at the nodes'
// abscissae: close enough that the steps are few.
LabPolyline WidthOptimumFrom(const LabProblem &p, const LabPolyline *coarse)
{
    const long n = p.intervals;
    LabPolyline line;
    line.x.resize(n + 1);
    line.y.resize(n + 1);
    for (long k = 0; k <= n; ++k)
        line.x[k] = p.endX * static_cast<double>(k) / static_cast<double>(n);
    line.x[n] = p.endX;
    if (coarse) {
        DepthsFrom(*coarse, p.rule, &line);
    } else if (n > WIDTH_COARSEST) {
        LabProblem half = p;
        half.intervals = n / 2;
        DepthsFrom(WidthOptimumFrom(half, nullptr), p.rule, &line);
    } else {
        CycloidDepthsAt(LabCycloidThrough(p.endX, p.endY), &line);
    }
    line.y[n] = p.endY;
    double time = LabPolylineTime(line, p.rule);
    std::vector<double> step;
    for (int iteration = 0; iteration < 200 && n > 1; ++iteration) {
        Newtonian d = Derivatives(line, p.rule);
        DescentDirection(d, &step);
        double promised = 0.0;
        for (long k = 1; k < n; ++k)
            promised -= 0.5 * d.gradient[k - 1] * step[k - 1];
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
        // Near the optimum each full step leaves about C p^2 of a promised
        // gain p (C measured near 10^7 s^-1 at N = 10^6), below the time's
        // last place; where the step had to be shortened, what is left is
        // of the order of p, below the rounding of a sum of N terms.
        if (promised < NEWTON_LAST_GAIN * time)
            break;
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
    // (theta - sin theta) / (1 - cos theta) rises from 0 to infinity on
    // (0, 2 pi).
    const double target = endX / endY, twoPi = 6.283185307179586;
    const double theta = Bisect(0.0, twoPi, [target](double t) {
        return (t - SameSin(t)) / (1.0 - SameCos(t)) < target;
    });
    const double radius = endY / (1.0 - SameCos(theta));
    return {theta, radius, theta * std::sqrt(radius / LAB_GRAVITY)};
}

double LabCycloidDepthAt(const LabCycloid &c, double x)
{
    double phi = Bisect(0.0, c.theta, [&](double f) { return c.radius * (f - SameSin(f)) < x; });
    return c.radius * (1.0 - SameCos(phi));
}

LabPolyline LabOptimum(const LabProblem &problem)
{
    return problem.layout == LAB_DEPTH ? DepthOptimum(problem) : WidthOptimumFrom(problem, nullptr);
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

void LabGradientAt(const LabProblem &problem, const LabPolyline &line, std::vector<double> *g)
{
    const std::size_t segments = line.x.size() - 1;
    g->assign(segments - 1, 0.0);
    double *out = g->data();
    for (std::size_t k = 0; k < segments; ++k) {
        const double dx = line.x[k + 1] - line.x[k];
        double top, bottom;  // the segment's time in its top and bottom unknown
        if (problem.layout == LAB_DEPTH) {
            // t = w sqrt(dx^2 + h^2): dt/dx_bottom = w dx / L = -dt/dx_top.
            const double dy = line.y[k + 1] - line.y[k];
            bottom = TimePerLength(line.y[k], line.y[k + 1], problem.rule) * dx /
                     std::sqrt(dx * dx + dy * dy);
            top = -bottom;
        } else {
            SegmentSlope s = Slope(dx, line.y[k], line.y[k + 1], problem.rule);
            top = s.ta;
            bottom = s.tb;
        }
        if (k >= 1)
            out[k - 1] += top;
        if (k + 1 < segments)
            out[k] += bottom;
    }
}

void LabNewtonMove(const LabProblem &problem, const LabPolyline &line, std::vector<double> *move)
{
    Newtonian n;
    if (problem.layout == LAB_WIDTH) {
        n = Derivatives(line, problem.rule);
    } else {
        LabGradientAt(problem, line, &n.gradient);
        n.hessian = LabHessianAt(problem, line);
    }
    DescentDirection(n, move);
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

namespace {

// Laguerre's method on p(x) = det(H - x I) from a point x outside the
// spectrum, toward the nearest end of it. p is the product of the pivots
// q_i of H - x I, q_i = d_i - x - e_{i-1}^2 / q_{i-1}; with its roots
// lambda_j,
//
//   G(x) = sum 1 / (x - lambda_j) = (ln |p|)' = sum r_i,
//   S(x) = sum 1 / (x - lambda_j)^2 = -G'(x) = sum (r_i^2 - s_i),
//
// where r_i = q_i' / q_i and s_i = q_i'' / q_i follow the pivots: with
// t = e_{i-1}^2 / q_{i-1},  q_i' = -1 + t r_{i-1},  q_i'' = t (s_{i-1} -
// 2 r_{i-1}^2). The step is
//
//   a = m / (G +- sqrt((m - 1) (m S - G^2))),
//
// the sign that of G. A polynomial with real roots only is approached
// from outside monotonically, and a simple root at a cubic rate: a few
// passes over H where bisection takes a hundred.
double LaguerreEnd(const LabHessian &h, double x, double noise)
{
    const std::size_t m = h.diag.size();
    const double count = static_cast<double>(m);
    double previous = HUGE_VAL;
    for (int iteration = 0; iteration < 100; ++iteration) {
        double q = 1.0, r = 0.0, s = 0.0, sumR = 0.0, sumS = 0.0;
        for (std::size_t i = 0; i < m; ++i) {
            double t = i > 0 ? h.off[i - 1] * h.off[i - 1] / q : 0.0;
            double dq = -1.0 + t * r, ddq = t * (s - 2.0 * r * r);
            q = h.diag[i] - x - t;
            if (q == 0.0)
                q = 1e-300;
            r = dq / q;
            s = ddq / q;
            sumR += r;
            sumS += r * r - s;
        }
        double root = std::sqrt(std::max(0.0, (count - 1.0) * (count * sumS - sumR * sumR)));
        double a = count / (sumR + (sumR < 0.0 ? -root : root));
        double next = x - a;
        if (!(next != x) || !std::isfinite(next))
            return x;
        // Settled when the step is within the rounding of the pivots
        // (`noise`, a few thousand eps times H's size) and no longer
        // shrinks, or is below the last place of x.
        bool settled = (std::fabs(a) <= noise && std::fabs(a) >= 0.5 * previous) ||
                       std::fabs(a) <= 4e-16 * std::fabs(next);
        previous = std::fabs(a);
        x = next;
        if (settled)
            break;
    }
    return x;
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
    // Laguerre's ends, checked by Sturm's count: no eigenvalue below the
    // smallest, none above the largest, to within the rounding of the
    // pivots (64 eps times H's size); by bisection on the count where they
    // fail it.
    const double size = std::max(std::fabs(lo), std::fabs(hi));
    const double eps = std::numeric_limits<double>::epsilon();
    double low = LaguerreEnd(h, lo, 4096.0 * eps * size), high = LaguerreEnd(h, hi, 4096.0 * eps * size);
    const double slack = 64.0 * eps * size;
    if (EigenvaluesBelow(h, low - slack) != 0)
        low = Bisect(lo, hi, [&](double x) { return EigenvaluesBelow(h, x) < 1; });
    if (EigenvaluesBelow(h, high + slack) != m)
        high = Bisect(lo, hi, [&](double x) { return EigenvaluesBelow(h, x) < m; });
    return {low, high};
}

LabTheory LabTheoryOf(const LabSpectrum &s)
{
    LabTheory t;
    if (!(s.lambdaMax > 0.0))  // no unknown (one interval): nothing to settle
        return {s.lambdaMin, s.lambdaMax, 1.0, 0.0, 0.0, 0};
    t.lambdaMin = s.lambdaMin;
    t.lambdaMax = s.lambdaMax;
    t.condition = s.lambdaMax / s.lambdaMin;
    t.bestStep = 2.0 / (s.lambdaMax + s.lambdaMin);
    t.bestRate = (t.condition - 1.0) / (t.condition + 1.0);
    t.stepsToMillionth =
        t.bestRate > 0.0 ? static_cast<long long>(std::ceil(SameLog(1e-6) / SameLog(t.bestRate))) : 1;
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
    LabPolyline best;
    for (long n : LabRefinementIntervals(problem.intervals)) {
        LabProblem p = problem;
        p.intervals = n;
        // Each row's optimum starts the next one's in the width layout.
        best = p.layout == LAB_DEPTH ? DepthOptimum(p)
                                     : WidthOptimumFrom(p, best.x.empty() ? nullptr : &best);
        rows.push_back({n, LabPolylineTime(best, p.rule), LabPolylineTime(best, LAB_EXACT), cycloid,
                        LabTheoryOf(LabSpectrumOf(LabHessianAt(p, best)))});
    }
    return rows;
}

double LabLogSlope(const std::vector<double> &x, const std::vector<double> &y, int rows)
{
    const double LN10 = SameLog(10.0);
    std::vector<double> u, w;
    for (std::size_t i = x.size(); i-- > 0 && static_cast<int>(u.size()) < rows;) {
        double v = std::fabs(y[i]);
        if (v > 0.0 && std::isfinite(v) && x[i] > 0.0) {
            u.push_back(SameLog(x[i]) / LN10);
            w.push_back(SameLog(v) / LN10);
        }
    }
    if (u.size() < 2)
        return 0.0;
    double meanU = 0.0, meanW = 0.0;
    for (std::size_t i = 0; i < u.size(); ++i) {
        meanU += u[i];
        meanW += w[i];
    }
    meanU /= static_cast<double>(u.size());
    meanW /= static_cast<double>(u.size());
    double across = 0.0, square = 0.0;
    for (std::size_t i = 0; i < u.size(); ++i) {
        across += (u[i] - meanU) * (w[i] - meanW);
        square += (u[i] - meanU) * (u[i] - meanU);
    }
    return square > 0.0 ? across / square : 0.0;
}

double LabGapOrder(const std::vector<LabRefinementRow> &rows, bool exact)
{
    std::vector<double> n, gap;
    for (const LabRefinementRow &r : rows) {
        n.push_back(static_cast<double>(r.intervals));
        gap.push_back((exact ? r.exactTime : r.optimumTime) - r.cycloidTime);
    }
    return LabLogSlope(n, gap, LAB_FIT_ROWS);
}
