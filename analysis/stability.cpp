// The settled polyline, the Jacobian of the gradient there and its
// eigenvalues.
#include "stability.h"

#include <Eigen/Cholesky>
#include <Eigen/Core>
#include <Eigen/Eigenvalues>

#include <cmath>

namespace {

const int INNER = INNER_LAST - INNER_FIRST + 1;  // 19 unknowns
const int NEWTON_STEPS_MAX = 100;
const int HALVINGS_MAX = 60;

typedef Eigen::Matrix<double, INNER, 1> Vector;
typedef Eigen::Matrix<double, INNER, INNER> Matrix;

double LargestMagnitude(const double g[NODE_COUNT])
{
    double largest = 0.0;
    for (int i = INNER_FIRST; i <= INNER_LAST; ++i)
        largest = std::fmax(largest, std::fabs(g[i]));
    return largest;
}

} // namespace

void GradientJacobian(const double x[NODE_COUNT], double diagonal[NODE_COUNT],
                      double offDiagonal[NODE_COUNT])
{
    // Segment k's term is f GradientFactor[k] d / L with d the difference of
    // its ends' abscissae, L = sqrt(d^2 + 0.002116), f = 1 for segment 0
    // (x_1 undoubled) and 2 for the others (doubled differences). Its
    // derivative in d is f GradientFactor[k] 0.002116 / L^3: it adds to the
    // diagonal of both its nodes and, negated, links them.
    double slope[SEGMENT_COUNT];
    for (int k = 0; k < SEGMENT_COUNT; ++k) {
        double top = k == 0 ? 0.0 : x[k];
        double bottom = k == SEGMENT_COUNT - 1 ? END_X : x[k + 1];
        double d = bottom - top;
        double squared = d * d + DEPTH_STEP_SQUARED;
        double length = std::sqrt(squared);
        double doubled = k == 0 ? 1.0 : 2.0;
        slope[k] = doubled * GradientFactor[k] * DEPTH_STEP_SQUARED / (squared * length);
    }
    for (int i = INNER_FIRST; i <= INNER_LAST; ++i) {
        diagonal[i] = slope[i - 1] + slope[i];
        offDiagonal[i] = i < INNER_LAST ? -slope[i] : 0.0;
    }
    diagonal[0] = offDiagonal[0] = 0.0;
    diagonal[NODE_COUNT - 1] = offDiagonal[NODE_COUNT - 1] = 0.0;
}

void NewtonMove(const double x[NODE_COUNT], const double g[NODE_COUNT], double move[NODE_COUNT])
{
    double diagonal[NODE_COUNT], offDiagonal[NODE_COUNT];
    GradientJacobian(x, diagonal, offDiagonal);
    Matrix jacobian = Matrix::Zero();
    Vector gradient;
    for (int r = 0; r < INNER; ++r) {
        jacobian(r, r) = diagonal[r + 1];
        if (r + 1 < INNER)
            jacobian(r, r + 1) = jacobian(r + 1, r) = offDiagonal[r + 1];
        gradient(r) = g[r + 1];
    }
    Vector solved = jacobian.ldlt().solve(gradient);
    move[0] = move[NODE_COUNT - 1] = 0.0;
    for (int r = 0; r < INNER; ++r)
        move[r + 1] = solved(r);
}

int SettledPolyline(double x[NODE_COUNT])
{
    Chord(x);
    double g[NODE_COUNT];
    FallTimeGradient(x, g);
    double left = LargestMagnitude(g);
    int steps = 0;
    while (steps < NEWTON_STEPS_MAX && left > 0.0) {
        double move[NODE_COUNT];
        NewtonMove(x, g, move);

        // The full Newton step, or half of it, and so on, as long as it
        // leaves G smaller; when none does, G is as small as rounding lets it.
        bool better = false;
        double fraction = 1.0;
        double trial[NODE_COUNT], gTrial[NODE_COUNT];
        for (int h = 0; h < HALVINGS_MAX && !better; ++h, fraction *= 0.5) {
            for (int k = 0; k < NODE_COUNT; ++k)
                trial[k] = x[k];
            for (int r = 0; r < INNER; ++r)
                trial[r + 1] = x[r + 1] - fraction * move[r + 1];
            FallTimeGradient(trial, gTrial);
            better = LargestMagnitude(gTrial) < left;
        }
        if (!better)
            break;
        for (int k = 0; k < NODE_COUNT; ++k) {
            x[k] = trial[k];
            g[k] = gTrial[k];
        }
        left = LargestMagnitude(g);
        ++steps;
    }
    return steps;
}

namespace {

StabilityFigures WorkedOut()
{
    StabilityFigures f;
    f.newtonSteps = SettledPolyline(f.settled);
    f.settledTime = PolylineFallTime(f.settled);
    double g[NODE_COUNT];
    FallTimeGradient(f.settled, g);
    f.gradientLeft = LargestMagnitude(g);

    double diagonal[NODE_COUNT], offDiagonal[NODE_COUNT];
    GradientJacobian(f.settled, diagonal, offDiagonal);
    Vector main;
    Eigen::Matrix<double, INNER - 1, 1> beside;
    for (int r = 0; r < INNER; ++r) {
        main(r) = diagonal[r + 1];
        if (r + 1 < INNER)
            beside(r) = offDiagonal[r + 1];
    }
    Eigen::SelfAdjointEigenSolver<Matrix> solver;
    solver.computeFromTridiagonal(main, beside, Eigen::EigenvaluesOnly);
    f.lambdaMin = solver.eigenvalues()(0);
    f.lambdaMax = solver.eigenvalues()(INNER - 1);
    // A root of the swing's equation reaches -1 when a lambda = 2/299.
    f.alphaLimit = 2.0 / (299.0 * f.lambdaMax);
    f.positionLimit = f.alphaLimit / ALPHA_PER_POSITION;
    return f;
}

} // namespace

const StabilityFigures &StabilityLimit()
{
    static const StabilityFigures figures = WorkedOut();
    return figures;
}
