// What rodadero-trace prints: the CSV rows of a run and of the sweep, and
// the lines for standard error after a run and after a race.
#ifndef RODADERO_TRACE_ROWS_H
#define RODADERO_TRACE_ROWS_H

#include "fates.h"
#include "options.h"

#include <iosfwd>
#include <string>
#include <vector>

// %.17g: reads back to the same double. Identical text natively and in the
// Windows build.
std::string FormatDouble(double v);

std::string TraceHeader(bool nodes);

// The CSV row for the state after `step` steps.
std::string TraceRow(long step, bool nodes);

struct TraceSummary {
    long steps;
    double alpha;
    double modelTime;   // FallTime after the last step
    double exactTime;   // exact time of ShownX after the last step
};

// Runs options.steps steps from the chord and writes the CSV to out. Rows:
// every `every`-th step and always the last; with no step at all, the one
// row of step 0 (the chord, printed time 0).
TraceSummary RunTrace(const TraceOptions &options, std::ostream &out);

// The line for standard error after a run (no newline).
std::string SummaryLine(const TraceSummary &summary);

std::string SweepHeader();
std::string SweepRowText(const PositionFate &row);

// The fates of positions first..last, in that order, worked out on every
// core of the machine at once.
std::vector<PositionFate> SweepFates(int first, int last, long limit);

// Every position 1..100, or the one of --position, with --steps as the
// limit (default SWEEP_STEPS_DEFAULT).
void RunSweep(const TraceOptions &options, std::ostream &out);

// The line for standard error after a race is written (no newline).
std::string RaceSummaryLine(long steps, int slow);

#endif
