// The convergence curve of a run, as SVG text: the printed time against the
// step, on a logarithmic step axis, beside the exact fall time of the same
// polylines and the brachistochrone's time as a line, through the samples
// a recorder kept (recorder.h).
//
// The curves are polylines, printed-time and exact-time, with one point a
// sample; the brachistochrone's line is "brachistochrone". The texts come
// from a table the caller hands over, in its language (texts/ makes one
// for each language of the catalogs); "{name}" in a text stands for the
// value of that name.
#ifndef RODADERO_PICTURES_CONVERGENCE_H
#define RODADERO_PICTURES_CONVERGENCE_H

#include "recorded_run.h"
#include "recorder.h"

#include <string>
#include <vector>

struct ConvergenceText {
    std::string titleAtStart;     // {alpha}: the step factor
    std::string titleAtPosition;  // {position}: the scroll position, {alpha}: the step factor
    std::string titleOfMethod;    // {method}: another method, and its setting
    std::string stepAxis;
    std::string timeAxis;
    std::string printed;          // legend entries
    std::string exact;
    std::string brachistochrone;  // {time}: its time in seconds
};

// The picture of `samples` (in the order of their steps; steps from 1 on;
// their exact times found) of a run with step factor `alpha`, at scroll position `position` (0: the
// starting factor, no position); laid out for `width` pixels
// (chart_parts.h: 0 for the desktop's).
std::string ConvergencePicture(const std::vector<RunSample> &samples, double alpha,
                               int position, const ConvergenceText &text, int width = 0);

// The same picture under a title of the caller's: for a run of another
// method than the program's.
std::string TitledConvergencePicture(const std::vector<RunSample> &samples,
                                     const std::string &title, const ConvergenceText &text,
                                     int width = 0);

struct MethodChartText;

// The picture of a recorded run's samples under its method's title: the
// program's by its step factor and scroll position, another method's by
// its setting in `methods`' words.
std::string RunConvergencePicture(const RunResult &run, const std::vector<RunSample> &samples,
                                  const ConvergenceText &text, const MethodChartText &methods);

#endif
