// The laboratory's problem: a bead released at rest at (0, 0) slides to an
// end point (X, Y), x to the right and y downward, g = 10, along a polyline
// of N intervals. Apart from the program's own problem, which keeps its
// model and its tables: nothing here touches CurveState.
#ifndef RODADERO_ANALYSIS_LAB_H
#define RODADERO_ANALYSIS_LAB_H

#include <vector>

const double LAB_GRAVITY = 10.0;
const long LAB_INTERVALS_MIN = 1;
const long LAB_INTERVALS_MAX = 1000000;

// Where the nodes sit. depth: at equal depth steps Y/N, the unknowns the
// inner abscissae (never below the end). width: at equal horizontal steps
// X/N, the unknowns the inner depths (free to dip below the end).
enum LabLayout { LAB_DEPTH, LAB_WIDTH };

// The time of a segment of length L from depth a to depth b.
//   midpoint: L / sqrt(2 g (a + b) / 2), the speed at its mid-depth (the
//             program's rule);
//   exact:    2 L / (sqrt(2 g a) + sqrt(2 g b)), constant acceleration
//             along the segment.
enum LabTimeRule { LAB_MIDPOINT, LAB_EXACT };

struct LabProblem {
    double endX = 1.0;
    double endY = 0.92;
    long intervals = 20;
    LabLayout layout = LAB_DEPTH;
    LabTimeRule rule = LAB_MIDPOINT;
};

// A polyline from (0, 0) to the end: nodes 0..N.
struct LabPolyline {
    std::vector<double> x, y;
};

// The time of one segment under `rule`; infinite where the rule asks for a
// speed at a depth above the start (or for the speed of a bead at rest on
// a level segment at the start's height).
double LabSegmentTime(double dx, double dy, double a, double b, LabTimeRule rule);

// The polyline's time under `rule`, its segments added in order.
double LabPolylineTime(const LabPolyline &p, LabTimeRule rule);

// The chord from (0, 0) to the end, as the problem's layout places nodes.
LabPolyline LabChord(const LabProblem &problem);

// The cycloid through the end: theta solves (theta - sin theta) /
// (1 - cos theta) = X / Y, R = Y / (1 - cos theta), time theta sqrt(R / g);
// X = 0 is the straight drop, sqrt(2 Y / g).
struct LabCycloid {
    double theta;   // at the end; 0 for the straight drop
    double radius;  // 0 for the straight drop
    double time;
};
LabCycloid LabCycloidThrough(double endX, double endY);

// The cycloid's depth at abscissa x (0 <= x <= X, X > 0), on its branch
// from the start to the end.
double LabCycloidDepthAt(const LabCycloid &c, double x);

// The best polyline of the problem's N intervals, layout and rule.
//   depth: each layer k's time per unit length w_k is fixed, so the
//          optimum obeys Snell's law layer by layer, sin phi_k = c / w_k
//          (phi_k the segment's angle from the vertical); one root-find
//          for c makes the abscissae add up to X.
//   width: Newton's method on the inner depths; each segment's time
//          depends on its two end depths alone, so the Hessian is
//          tridiagonal and a Newton step costs O(N).
LabPolyline LabOptimum(const LabProblem &problem);

// The Hessian of the problem's time (under its rule) in its unknowns, at
// `line`: symmetric tridiagonal, `diag` of N - 1 entries and `off` of
// N - 2 between neighbours.
//   depth: segment k's time w_k sqrt(dx_k^2 + h_k^2) has the curvature
//          w_k h_k^2 / L_k^3 in dx_k;
//   width: each segment's time in its two end depths (see lab.cpp).
struct LabHessian {
    std::vector<double> diag, off;
};
LabHessian LabHessianAt(const LabProblem &problem, const LabPolyline &line);

// The gradient of the problem's time (under its rule) in its unknowns at
// `line`: N - 1 entries, one an inner node.
void LabGradientAt(const LabProblem &problem, const LabPolyline &line, std::vector<double> *g);

// Newton's move of the unknowns at `line`, -H^-1 G; where H is not positive
// definite, H shifted by the least power of ten times its largest diagonal
// entry that makes it so (Levenberg's damping), as the optimum's search
// takes it.
void LabNewtonMove(const LabProblem &problem, const LabPolyline &line, std::vector<double> *move);

// Its smallest and largest eigenvalue, by Laguerre's method on the
// characteristic polynomial from Gershgorin's bounds, checked by the Sturm
// count (the negative pivots of H - x I): O(N) a step, a few steps.
struct LabSpectrum {
    double lambdaMin, lambdaMax;
};
LabSpectrum LabSpectrumOf(const LabHessian &h);

// The linear theory at the optimum, as --stability gives it for the
// program: gradient descent settles while its step h < 2 / lambda_max, is
// fastest at h = 2 / (lambda_max + lambda_min), where a deviation shrinks
// by (kappa - 1) / (kappa + 1) a step, kappa = lambda_max / lambda_min.
struct LabTheory {
    double lambdaMin, lambdaMax, condition;
    double bestStep, bestRate;
    long long stepsToMillionth;  // at that rate, to shrink a deviation a millionfold
                                 // (past 2^31 from a few thousand intervals)
};
LabTheory LabTheoryOf(const LabSpectrum &s);

// One row of the refinement table: the optimum of N intervals.
struct LabRefinementRow {
    long intervals;
    double optimumTime;  // under the problem's rule
    double exactTime;    // the same polyline, exactly
    double cycloidTime;
    LabTheory theory;
};

// N = 5, 10, 20, 40, ..., doubling while within the problem's N, and the
// problem's N itself last where it is not one of them.
std::vector<long> LabRefinementIntervals(long intervals);
std::vector<LabRefinementRow> LabRefinement(const LabProblem &problem);

// How many of a refinement table's last rows its orders are fitted to.
const int LAB_FIT_ROWS = 4;

// The slope of the least-squares line through (log10 x, log10 |y|) of the
// last `rows` points whose y is finite and not 0; 0 with fewer than two.
double LabLogSlope(const std::vector<double> &x, const std::vector<double> &y, int rows);

// The order p of the gap between the optimum's time and the cycloid's,
// |gap| ~ C N^p: LabLogSlope over the table's last LAB_FIT_ROWS rows, of
// the optimum's time under the rule or, with `exact`, of its exact time.
double LabGapOrder(const std::vector<LabRefinementRow> &rows, bool exact);

#endif
