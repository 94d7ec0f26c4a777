// The options of rodadero-trace, declared once with CLI11: what each takes,
// which go together, and the text of --help.
#ifndef RODADERO_TRACE_OPTIONS_H
#define RODADERO_TRACE_OPTIONS_H

#include "fates.h"
#include "methods.h"

#include <string>

const long TRACE_STEPS_DEFAULT = 1000;
const long SWEEP_STEPS_DEFAULT = FATE_STEP_LIMIT_DEFAULT;
const long TRACE_STEPS_MAX = 100000000;
const int TRACE_SLOW_DEFAULT = 10;
const int TRACE_SLOW_MIN = 1;
const int TRACE_SLOW_MAX = 100;
const double TRACE_BETA_DEFAULT = 0.9;
const double TRACE_BETA_MAX = 0.99;
const long COMPARE_STEPS_DEFAULT = 20000;

struct TraceOptions {
    bool help;
    bool version;
    bool sweep;
    bool stability;        // the step factor's limit from the linear theory
    bool nodes;
    bool hasPosition;
    int position;          // 1..100 when hasPosition
    bool hasSteps;
    long steps;            // 0..100,000,000
    bool hasEvery;
    long every;            // 1..100,000,000
    std::string svgPath;   // empty: no picture (with --sweep: no fates chart)
    std::string plotPath;  // empty: no convergence curve
    std::string racePath;  // empty: no race
    int slow;              // 1..100: the race's document time per real second
    Method method;         // --method, METHOD_PROGRAM by default
    bool hasMethod;
    bool hasBeta;
    double beta;           // 0..0.99, TRACE_BETA_DEFAULT unless given
    std::string comparePath;  // empty: no comparison
};

TraceOptions DefaultTraceOptions();

// Reads the arguments after the program name. --help and --version answer
// whatever else stands beside them (--help first, when both do). On bad
// input returns false and sets *error to one line (no newline) naming the
// option and what it takes.
bool ParseTraceOptions(int argc, const char *const argv[], TraceOptions *options,
                       std::string *error);

// The text that --help prints.
std::string TraceUsage();

// The line that --version prints: the program's name and release number.
const char *TraceVersion();

// The setting of a run of options.method: its position (that of
// --position; without it 0 for the program, its starting factor 0.0001,
// and 50 for the others) and its beta.
MethodSetting RunSetting(const TraceOptions &options);

#endif
