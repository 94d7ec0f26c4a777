// The convergence curve of a run, as SVG text: the printed time against the
// step, on a logarithmic step axis, beside the exact fall time of the same
// polylines and the brachistochrone's time as a line. Also which steps a
// curve keeps, for whoever records one step after step.
//
// The curves are polylines, printed-time and exact-time, with one point a
// sample; the brachistochrone's line is "brachistochrone". The texts come
// from a table, so that a caller speaking another language passes its own;
// "{}" in a text stands for a number.
#ifndef RODADERO_PICTURES_CONVERGENCE_H
#define RODADERO_PICTURES_CONVERGENCE_H

#include "curve_state.h"

#include <cstdint>
#include <string>
#include <vector>

// The state after a step, as the curve shows it.
struct ConvergenceSample {
    long step;
    std::int32_t printedUs;  // the number the window prints
    double exactS;           // the exact fall time of ShownX, seconds
};

// The sample of `record` as it stands after `step` steps.
ConvergenceSample SampleAfterStep(const CurveStateRecord &record, long step);

// The steps a curve keeps: every step up to 100; from there on 50 steps a
// decade at nearly equal ratios (in the decade from 10^d, the whole numbers
// nearest 10^(d + j/50), j = 0..49), each together with the step after it,
// so that a swing between two polylines shows as a band and not as one of
// its sides. A run of 10^8 steps keeps 700 steps. Whoever records a curve
// also keeps its last step. Returns the first step after `step` that is
// kept.
long NextSampledStep(long step);

struct ConvergenceText {
    std::string titleAtStart;     // {}: the step factor
    std::string titleAtPosition;  // {}: the scroll position, {}: the step factor
    std::string stepAxis;
    std::string timeAxis;
    std::string printed;          // legend entries
    std::string exact;
    std::string brachistochrone;  // {}: its time in seconds
};

// The texts in English.
const ConvergenceText &ConvergenceEnglish();

// The picture of `samples` (in the order of their steps; steps from 1 on)
// of a run with step factor `alpha`, at scroll position `position` (0: the
// starting factor, no position).
std::string ConvergencePicture(const std::vector<ConvergenceSample> &samples, double alpha,
                               int position, const ConvergenceText &text);

// The same picture under a title of the caller's: for a run of another
// method than the program's.
std::string TitledConvergencePicture(const std::vector<ConvergenceSample> &samples,
                                     const std::string &title, const ConvergenceText &text);

#endif
