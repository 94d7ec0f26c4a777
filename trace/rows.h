// What rodadero-trace prints: a run and the sweep with their CSV rows
// (tables/), and the lines for standard error after a run and after a race.
#ifndef RODADERO_TRACE_ROWS_H
#define RODADERO_TRACE_ROWS_H

#include "convergence.h"
#include "csv.h"
#include "fates.h"
#include "method_charts.h"
#include "method_fates.h"
#include "options.h"
#include "stability.h"

#include <iosfwd>
#include <string>
#include <vector>

// The CSV row of CurveState after `step` steps.
std::string TraceRow(long step, bool nodes);

struct TraceSummary {
    long steps;
    double alpha;
    double modelTime;   // FallTime after the last step
    double exactTime;   // exact time of ShownX after the last step
    MethodSetting setting;  // METHOD_PROGRAM: the program's descent at alpha
};

// Runs options.steps steps from the chord and writes the CSV to out. Rows:
// every `every`-th step and always the last; with no step at all, the one
// row of step 0 (the chord, printed time 0). With samples, also keeps the
// convergence curve's samples there: the steps NextSampledStep picks, and
// the last.
TraceSummary RunTrace(const TraceOptions &options, std::ostream &out,
                      std::vector<ConvergenceSample> *samples = nullptr);

// The same for a method other than the program's (options.method), which
// leaves in CurveState the record of its last polyline: ShownX and NodeX
// its abscissae, FallTime their fall time, Alpha that of its position.
TraceSummary RunMethodTrace(const TraceOptions &options, std::ostream &out,
                            std::vector<ConvergenceSample> *samples = nullptr);

// The line for standard error after a run (no newline).
std::string SummaryLine(const TraceSummary &summary);

// The sweep's limit of steps a position: --steps, by default
// SWEEP_STEPS_DEFAULT.
long SweepStepLimit(const TraceOptions &options);

// Every position 1..100, or the one of --position, within SweepStepLimit
// steps each. Returns the fates it printed.
std::vector<PositionFate> RunSweep(const TraceOptions &options, std::ostream &out);

// The map of options.method's fates: every cell, or the row of --position
// or the column of --beta, each within --steps steps (by default
// CELL_STEP_LIMIT_DEFAULT), on every core. Returns the cells it printed.
std::vector<CellFate> RunMap(const TraceOptions &options, std::ostream &out);
long MapStepLimit(const TraceOptions &options);

// Every method from the chord at its setting (--position and --beta, or
// its fastest by the theory), --steps steps (by default
// COMPARE_STEPS_DEFAULT); writes the rows and returns the curves.
std::vector<MethodCurve> RunCompare(const TraceOptions &options, std::ostream &out);

// The line for standard error after a race is written (no newline).
std::string RaceSummaryLine(long steps, int slow);

#endif
