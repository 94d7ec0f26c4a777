// Other ways to minimise the same fall time from the same chord, beside the
// program's own descent: plain gradient descent, the heavy ball, Nesterov's
// method and Newton's, each on the model's fall time of the 19 inner
// abscissae and its gradient G (FallTimeGradient), every operation rounded
// on its own, as written, for i = 1..19:
//
//   gradient    x'[i] = x[i] - h G_i(x)
//   heavy ball  x'[i] = (x[i] - h G_i(x)) + beta (x[i] - xp[i])
//   Nesterov    y[i] = x[i] + beta (x[i] - xp[i]);  x'[i] = y[i] - h G_i(y)
//   Newton      x' = x - J(x)^-1 G(x)   (J as GradientJacobian writes it)
//   program     DescentStepOn, the window's own step
//
// with the step h = 300 x Alpha(P), Alpha(P) = P x 2.0000000000000003e-6 the
// dialog's factor of scroll position P, and xp the abscissae one step
// before (the chord at the first step). The program runs at the factor of
// its position, or at position 0 at the factor it starts with, 0.0001,
// which no position gives. A method's state is (x, xp), bit
// for bit; its printed time is the window's number for the fall time of x.
#ifndef RODADERO_ANALYSIS_METHODS_H
#define RODADERO_ANALYSIS_METHODS_H

#include "curve_state.h"

#include <string>

enum Method {
    METHOD_PROGRAM,
    METHOD_GRADIENT,
    METHOD_HEAVY_BALL,
    METHOD_NESTEROV,
    METHOD_NEWTON,
    METHOD_COUNT
};

// The names the command and the page use: "program", "gradient",
// "heavy-ball", "nesterov", "newton".
extern const char *const METHOD_NAME[METHOD_COUNT];

// The method of a name; false when there is none.
bool MethodOfName(const std::string &name, Method *method);

// Whether the method has a momentum beta.
bool MethodHasBeta(Method method);

// The scroll positions the other methods take: the dialog's 1..100 and as
// far again, where only momentum can still settle.
const int METHOD_POS_MAX = 200;

struct MethodSetting {
    Method method;
    double position;  // P: a whole number 0..100 for the program
    double beta;      // 0 <= beta < 1; heavy ball and Nesterov only
};

// The step h = 300 x Alpha(P) of the methods that take one.
double MethodStep(double position);

// The step factor of a setting: Alpha(P), and the program's 0.0001 at
// position 0.
double MethodAlpha(const MethodSetting &setting);

struct MethodRun {
    MethodSetting setting;
    double h;
    long steps;                  // taken since the chord
    double x[NODE_COUNT];        // the abscissae now
    double previous[NODE_COUNT]; // and one step before
    CurveStateRecord record;     // the program's own state
};

// The run from the chord.
void StartMethod(MethodRun *run, const MethodSetting &setting);

// One step of the method.
void StepMethod(MethodRun *run);

// The same step without the program's fall time, which the other methods
// do not take either: for work that follows the states and prints the time
// of only a few (PolylineFallTime of the shown polyline gives it, bit for
// bit). The program's FallTime stays as it was.
void MoveMethod(MethodRun *run);

// The polyline the run shows: ShownX for the program, x for the others.
const double *MethodShownX(const MethodRun &run);

// Its fall time: the program's FallTime (0 before the first step, as the
// window prints it), the model's fall time of x for the others.
double MethodFallTime(const MethodRun &run);

#endif
