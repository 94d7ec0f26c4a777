// The whole command rodadero-trace: reads the options and hands over to a
// run, the sweep, the map, the comparison, the race or the limit of the
// linear theory; and what it prints of a run.
#ifndef RODADERO_TRACE_COMMAND_H
#define RODADERO_TRACE_COMMAND_H

#include "options.h"
#include "recorded_run.h"

#include <iosfwd>
#include <string>
#include <vector>

// Exit codes of the command.
enum { TRACE_OK = 0, TRACE_FAILED = 1, TRACE_BAD_INPUT = 2 };

// The arguments as main receives them (the program's name first),
// standard output and standard error. Returns the exit code.
int TraceMain(int argc, const char *const argv[], std::ostream &out, std::ostream &err);

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

// The line for standard error after a run (no newline).
std::string SummaryLine(const RunResult &run);

#endif
