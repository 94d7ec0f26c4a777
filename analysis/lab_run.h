// The laboratory's runs: the other methods on its general problem (lab.h),
// from the chord, with the unknowns u (the inner abscissae of the depth
// layout, the inner depths of the width layout) and the gradient G of the
// time under the problem's rule (LabGradientAt):
//
//   gradient    u' = u - h G(u)
//   heavy ball  u' = (u - h G(u)) + beta (u - up)
//   Nesterov    v = u + beta (u - up);  u' = v - h G(v)
//   Newton      u' = u - s H(u)^-1 G(u) (H damped where it is not positive
//                                        definite: LabNewtonMove), s = 1,
//                                        1/2, 1/4, ... the first at which
//                                        the time falls
//
// up the unknowns one step before (the chord's at the first step). The step
// is h = R x 2 / lambda_max, lambda_max the largest eigenvalue of the
// Hessian at the discrete optimum: gradient descent settles for R < 1.
//
// What a run is measured against is its reference: the optimum, the
// cycloid through the end, and the linear theory at the optimum. The
// distance of a time T to the cycloid's C splits as
//
//   T - C = (T - O) + (O - C),
//
// O the optimum's time under the rule: the optimiser's share, which the
// run can still take away, and the polyline's, which no run of N intervals
// can.
#ifndef RODADERO_ANALYSIS_LAB_RUN_H
#define RODADERO_ANALYSIS_LAB_RUN_H

#include "lab.h"
#include "methods.h"
#include "recorder.h"

#include <string>
#include <vector>

const double LAB_STEP_RATIO_DEFAULT = 0.5;

// A method of the laboratory (any Method but the program's own descent,
// which has its own problem), the ratio R of its step to 2 / lambda_max,
// and its momentum (heavy ball and Nesterov).
struct LabSetting {
    Method method = METHOD_GRADIENT;
    double stepRatio = LAB_STEP_RATIO_DEFAULT;
    double beta = 0.0;
};

struct LabReference {
    LabPolyline optimum;
    double optimumTime;   // under the problem's rule
    double optimumExact;  // the same polyline, exactly
    LabCycloid cycloid;
    LabTheory theory;     // at the optimum
};

LabReference LabReferenceOf(const LabProblem &problem);

struct LabRun {
    LabProblem problem;
    LabSetting setting;
    double h;
    long steps;
    LabPolyline line;              // the polyline now
    std::vector<double> previous;  // its unknowns one step before, 0..N
    // Where a step would have lifted a node above the start (or left it at
    // no number): that step, the node and where it would have gone. The
    // run stays where it was, and goes no further.
    long haltedAt = 0;             // 0: it has not
    long haltedNode = 0;
    double haltedValue = 0.0;
};

// The unknowns of `line` under `layout`, nodes 0..N (the ends fixed).
std::vector<double> &LabUnknowns(LabPolyline *line, LabLayout layout);
const std::vector<double> &LabUnknowns(const LabPolyline &line, LabLayout layout);

// The step h = R x 2 / lambda_max of a setting; 0 where there is no
// unknown (one interval), and so no lambda_max.
double LabStep(const LabSetting &setting, double lambdaMax);

// The run from the chord, its step from lambda_max at the optimum.
void StartLabRun(LabRun *run, const LabProblem &problem, const LabSetting &setting,
                 double lambdaMax);

// One step; false, the run left as it was, where the step halts it.
bool StepLabRun(LabRun *run);

// Where a run ended: its steps, its polyline and its two times.
struct LabRunResult {
    long steps;
    LabPolyline line;
    double time;       // under the rule
    double exactTime;
    long haltedAt, haltedNode;
    double haltedValue;
};

// Runs `setting` from the chord for `steps` steps, or until the recorder
// stops or a step halts the run, each step handed to the recorder with
// its time under the rule (the run's polyline, nodes 0..N of the unknowns,
// is the step's `shown`). A recorder of a curve is handed the exact time of
// each sample it keeps at once, where the program's recorder puts the
// polylines by: a laboratory's may have a million nodes.
LabRunResult RecordLabRun(const LabProblem &problem, const LabSetting &setting, double lambdaMax,
                          long steps, Recorder *recorder);

#endif
