// What rodadero-trace prints: a run and the sweep with their CSV rows
// (tables/), and the lines for standard error after a run and after a race.
#ifndef RODADERO_TRACE_ROWS_H
#define RODADERO_TRACE_ROWS_H

#include "convergence.h"
#include "csv.h"
#include "fates.h"
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
};

// Runs options.steps steps from the chord and writes the CSV to out. Rows:
// every `every`-th step and always the last; with no step at all, the one
// row of step 0 (the chord, printed time 0). With samples, also keeps the
// convergence curve's samples there: the steps NextSampledStep picks, and
// the last.
TraceSummary RunTrace(const TraceOptions &options, std::ostream &out,
                      std::vector<ConvergenceSample> *samples = nullptr);

// The line for standard error after a run (no newline).
std::string SummaryLine(const TraceSummary &summary);

// The sweep's limit of steps a position: --steps, by default
// SWEEP_STEPS_DEFAULT.
long SweepStepLimit(const TraceOptions &options);

// Every position 1..100, or the one of --position, within SweepStepLimit
// steps each. Returns the fates it printed.
std::vector<PositionFate> RunSweep(const TraceOptions &options, std::ostream &out);

// The line for standard error after a race is written (no newline).
std::string RaceSummaryLine(long steps, int slow);

#endif
