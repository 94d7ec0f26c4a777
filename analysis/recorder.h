// What is kept of a run, step after step: the rule of which steps are kept,
// and what is kept of each.
//
// A recorder is handed a run's steps in order (RecordStep), each with the
// fall time the window prints from and the polyline it shows, and keeps:
//
//   rows    every rowEvery-th step, handed at once to whoever prints them,
//           so that nothing is held however long the run; and the last;
//   curve   the steps NextSampledStep picks, and the last, each with its
//           fall time; with exactTimes, also the exact fall time of its
//           polyline, which takes about as long as a step and is found
//           only when asked for (SolveExactTimes): keeping a step costs a
//           copy of its polyline and nothing more;
//   toward  with settled, the distance of each kept fall time to the
//           settled polyline's, T - T(S*): the curve ends at the first
//           step whose distance is 0 or less, which it keeps.
//
// It stops at the first step it looks at whose fall time is not finite
// (not kept: the curve ends at its last finite time), and a run stops when
// its recorder has. No setting the command or the page offers reaches
// one: G_i is a sum of two terms each at most 2 GF_k in size (|d| / L <
// 1), so a step moves an abscissa by at most h x 4 x 1.47 / (1 - beta),
// under 240 at h = 0.12 and beta = 0.99, and within 10^8 steps no square
// comes near overflow.
//
// The last step is known only to whoever runs: a run ends with
// FinishRecording; the page, whose window goes on, asks for the curve as
// it would stand after the step it is at (CurveThrough).
//
// Nothing here knows the problem's size: a polyline is as long as the run
// says. Its exact time is ExactPolylineTime's, the program's problem,
// unless the run hands the recorder a function of its own (exactTime).
#ifndef RODADERO_ANALYSIS_RECORDER_H
#define RODADERO_ANALYSIS_RECORDER_H

#include <functional>
#include <vector>

// The steps a curve keeps: every step up to 100; from there on 50 steps a
// decade at nearly equal ratios (in the decade from 10^d, the whole numbers
// nearest 10^(d + j/50), j = 0..49), each together with the step after it,
// so that a swing between two polylines shows as a band and not as one of
// its sides. A run of 10^8 steps keeps 700 steps, and its last. Returns
// the first step after `step` that is kept.
long NextSampledStep(long step);

// A step as the recorder is handed it: the run's state after `step` steps
// from the chord.
struct RunStep {
    long step;
    double fallTime;       // the model's: the window prints its whole microseconds
    const double *shown;   // the polyline shown, `nodes` abscissae
    int nodes;
};

// A step a curve keeps.
struct RunSample {
    long step;
    double fallTime;
    double exactS;    // the exact fall time of its polyline (exactTimes)
    double distance;  // fallTime less the settled polyline's (settled)
};

struct Recorder {
    // What it keeps, set before the first step.
    long rowEvery = 0;  // 0: no rows
    std::function<void(const RunStep &)> row;
    bool curve = false;
    bool exactTimes = false;
    bool settled = false;
    double settledTime = 0.0;
    // With exactTimes: the exact time of a kept step, found at once;
    // without it the polyline is put by, and its time is ExactPolylineTime's.
    std::function<double(const RunStep &)> exactTime;

    // What it has kept.
    long steps = 0;          // the last step handed to it
    long lastRow = -1;       // the last step handed on as a row
    long nextSampled = 1;
    bool stopped = false;
    std::vector<RunSample> samples;
    // The polylines of the last samples whose exact time is still to be
    // found, one after the other, `nodes` abscissae each.
    std::vector<double> unsolved;
    int nodes = 0;
};

// A recorder of a curve: with exact times (a convergence curve) or with the
// distance to the settled polyline's time (a comparison).
Recorder ConvergenceRecorder();
Recorder ComparisonRecorder(double settledTime);

// Whether the recorder keeps anything of `step` but the last: a run that
// finds its fall time only for the steps kept asks this first, at every
// step.
inline bool RecorderLooksAt(const Recorder &r, long step)
{
    return !r.stopped &&
           ((r.rowEvery > 0 && step % r.rowEvery == 0) || (r.curve && step == r.nextSampled));
}

// The next step of the run; any step the recorder does not look at may be
// left out. Nothing is kept once the recorder has stopped.
void RecordStep(Recorder *recorder, const RunStep &step);

// The run's last step, kept as a row and a sample unless it was already,
// or the recorder has stopped. A row is kept of step 0 too (the chord), a
// sample only from step 1 on.
void FinishRecording(Recorder *recorder, const RunStep &last);

// Finds the exact time of every sample that has none yet.
void SolveExactTimes(Recorder *recorder);

// The curve as it would stand after `last`, which FinishRecording would
// add, each sample with its exact time where the curve keeps those (the
// ones still to be found are found now, once). The recorder goes on as it
// was.
std::vector<RunSample> CurveThrough(Recorder *recorder, const RunStep &last);

#endif
