// The linear theory of the descent near its end: why a large step factor
// makes it swing, and from which scroll position on.
//
// A step moves the shown polyline S as S(n+1) = S(n) - 300 a G(S(n)) -
// a G(S(n-1)), with a the step factor and G the model's gradient (the last
// term is the one application NodeX runs ahead of ShownX). Near the settled
// polyline S*, where G(S*) = 0, G(S) is J (S - S*) with J the Jacobian of G
// at S*, and along an eigenvector of J with eigenvalue lambda a deviation e
// follows e(n+1) = (1 - 300 a lambda) e(n) - a lambda e(n-1): its roots z
// solve z^2 - (1 - 300 a lambda) z + a lambda = 0. One of them reaches -1,
// a swing that neither grows nor dies, when a lambda = 2/299. Below that
// every deviation dies away; above it the one along the largest eigenvalue
// grows, alternating in sign from step to step. So the limit is
// a* = 2 / (299 lambda_max), at scroll position a* / 2.0000000000000003e-6.
#ifndef RODADERO_ANALYSIS_STABILITY_H
#define RODADERO_ANALYSIS_STABILITY_H

#include "curve_state.h"

// The Jacobian of the model's gradient G at x[1..19] (ends 0 and 1), from
// the formula of G with the stored GradientFactor values. G_i depends on
// x(i-1), x(i) and x(i+1) only, each term through one difference, so J is
// tridiagonal and symmetric: diagonal[i] = dG_i/dx_i for i = 1..19,
// offDiagonal[i] = dG_i/dx(i+1) = dG(i+1)/dx_i for i = 1..18.
void GradientJacobian(const double x[NODE_COUNT], double diagonal[NODE_COUNT],
                      double offDiagonal[NODE_COUNT]);

// Newton's move at x[1..19], where the gradient is g[1..19]: the solution
// of J(x) move = g (Eigen's LDLT of the tridiagonal J), in move[1..19].
// x - move is Newton's step.
void NewtonMove(const double x[NODE_COUNT], const double g[NODE_COUNT], double move[NODE_COUNT]);

// The settled polyline S*: Newton's method on the model's own G
// (FallTimeGradient) from the straight chord, halving a step that would not
// make G smaller, until G stops getting smaller. x[0] = 0 and x[20] = 1.
// Returns the number of Newton steps taken. Leaves CurveState alone.
int SettledPolyline(double x[NODE_COUNT]);

struct StabilityFigures {
    double settled[NODE_COUNT];  // S*
    double settledTime;          // its fall time, the model's
    int newtonSteps;             // taken to find it
    double gradientLeft;         // the largest |G_i| left at S*
    double lambdaMin;            // the smallest and largest eigenvalue of J at S*
    double lambdaMax;
    double alphaLimit;           // 2 / (299 lambdaMax)
    double positionLimit;        // alphaLimit / 2.0000000000000003e-6
};

// S*, the eigenvalues of J there (by Eigen's symmetric eigensolver) and the
// limit of the step factor: worked out at the first call, and kept.
const StabilityFigures &StabilityLimit();

#endif
