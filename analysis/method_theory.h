// The linear theory of the other methods, from the eigenvalues of the
// gradient's Jacobian at the settled polyline (stability.h). Near S*, G(x)
// is J (x - S*), and along an eigenvector of J with eigenvalue lambda a
// deviation e follows, with h the step:
//
//   gradient    e' = (1 - h lambda) e:  settles while h lambda_max < 2;
//               fastest at h = 2 / (lambda_max + lambda_min), where it
//               shrinks by (kappa - 1) / (kappa + 1) a step, kappa the
//               condition number lambda_max / lambda_min;
//   heavy ball  e' = (1 + beta - h lambda) e - beta e_prev:  settles while
//               h lambda_max < 2 (1 + beta); fastest at
//               h = 4 / (sqrt lambda_max + sqrt lambda_min)^2 and
//               beta = ((sqrt kappa - 1) / (sqrt kappa + 1))^2, rate sqrt beta;
//   Nesterov    e' = (1 - h lambda) ((1 + beta) e - beta e_prev):  settles
//               while h lambda_max < 2 (1 + beta) / (1 + 2 beta); its usual
//               tuning for a strongly convex problem is h = 4 / (3 lambda_max +
//               lambda_min) and beta = (sqrt(3 kappa + 1) - 2) / (sqrt(3 kappa
//               + 1) + 2), with the rate 1 - 2 / sqrt(3 kappa + 1).
//
// A step h is the scroll position h / (300 x 2.0000000000000003e-6).
#ifndef RODADERO_ANALYSIS_METHOD_THEORY_H
#define RODADERO_ANALYSIS_METHOD_THEORY_H

#include "methods.h"
#include "stability.h"

#include <optional>
#include <vector>

struct MethodTheory {
    Method method;
    double beta;           // the momentum the limit is for (0 for gradient)
    double lambdaMax, lambdaMin;
    double positionLimit;  // the method settles below it, at this beta
    double bestPosition;   // the fastest setting
    double bestBeta;       // 0 for gradient
    double bestRate;       // the deviation's shrinking a step there
    long stepsToMillionth; // steps at that rate to shrink it a millionfold
};

// The theory of gradient, heavy ball or Nesterov from `figures`.
MethodTheory TheoryOfMethod(Method method, double beta, const StabilityFigures &figures);

// The settings the comparison starts from unless told otherwise: each
// method's fastest by the theory; for the program, the dialog's position
// whose slowest deviation shrinks fastest (its roots as stability.h writes
// them), for Newton the step it takes whatever the setting.
MethodSetting BestSetting(Method method, const StabilityFigures &figures);

// The setting of every method in a comparison, in the order of Method: its
// BestSetting, at `position` where one is given and the method takes it
// (Newton takes none, the program only the dialog's 1..100), and at `beta`
// where one is given and the method has a momentum.
std::vector<MethodSetting> ComparedSettings(const StabilityFigures &figures,
                                            std::optional<double> position,
                                            std::optional<double> beta);

#endif
