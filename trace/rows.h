// What rodadero-trace prints: the CSV rows (tables/) of a run, the sweep,
// the map and the comparison, each run by the analysis room, and the lines
// for standard error after a run and after a race.
#ifndef RODADERO_TRACE_ROWS_H
#define RODADERO_TRACE_ROWS_H

#include "fates.h"
#include "options.h"
#include "recorded_run.h"

#include <iosfwd>
#include <string>
#include <vector>

// A run of options.method at its setting (RunSetting), options.steps steps,
// its rows written to out as they come: every `every`-th step and always
// the last; with no step at all, the one row of step 0 (the chord). With
// `curve`, also the samples of its convergence curve, their exact times
// found.
struct TracedRun {
    RunResult result;
    std::vector<RunSample> samples;
};
TracedRun RunRows(const TraceOptions &options, std::ostream &out, bool curve);

// The line for standard error after a run, and after its race (no newline).
std::string SummaryLine(const RunResult &run);
std::string RaceSummaryLine(const RunResult &run, int slow);

// The sweep's limit of steps a position: --steps, by default
// SWEEP_STEPS_DEFAULT.
long SweepStepLimit(const TraceOptions &options);

// Every position 1..100, or the one of --position, within SweepStepLimit
// steps each. Returns the fates it printed.
std::vector<Fate> RunSweep(const TraceOptions &options, std::ostream &out);

// The map of options.method's fates: every cell, or the row of --position
// or the column of --beta (MapBetasAsked), each within MapStepLimit steps
// (--steps, by default CELL_STEP_LIMIT_DEFAULT), on every core. Returns the
// cells it printed.
long MapStepLimit(const TraceOptions &options);
std::vector<double> MapBetasAsked(const TraceOptions &options);
std::vector<Fate> RunMap(const TraceOptions &options, std::ostream &out);

// Every method from the chord at its setting (--position and --beta, or
// its fastest by the theory), --steps steps (by default
// COMPARE_STEPS_DEFAULT); writes the rows and returns the curves.
std::vector<MethodCurve> RunCompare(const TraceOptions &options, std::ostream &out);

#endif
