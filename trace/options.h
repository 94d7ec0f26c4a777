// The options of rodadero-trace, declared once with CLI11: what each takes,
// which go together, and the text of --help.
#ifndef RODADERO_TRACE_OPTIONS_H
#define RODADERO_TRACE_OPTIONS_H

#include "fates.h"
#include "methods.h"

#include <optional>
#include <string>

// The limits and defaults of the options, which --help and the messages
// quote. --position runs from ALPHA_POS_MIN to ALPHA_POS_MAX, and to
// METHOD_POS_MAX with another method or --compare; the map of --sweep
// --method follows a cell CELL_STEP_LIMIT_DEFAULT steps, at most
// CELL_STEP_LIMIT_MAX, as does each run of --compare.
const long TRACE_STEPS_MIN = 0;
const long TRACE_STEPS_MAX = 100000000;  // also --every's
const long TRACE_STEPS_DEFAULT = 1000;
const long SWEEP_STEPS_DEFAULT = FATE_STEP_LIMIT_DEFAULT;
const long COMPARE_STEPS_DEFAULT = 20000;
const long TRACE_EVERY_MIN = 1;
const long TRACE_EVERY_DEFAULT = 1;
const int TRACE_SLOW_MIN = 1;
const int TRACE_SLOW_MAX = 100;
const int TRACE_SLOW_DEFAULT = 10;
const double TRACE_BETA_MIN = 0.0;
const double TRACE_BETA_MAX = 0.99;
const double TRACE_BETA_DEFAULT = 0.9;

// What the arguments ask for. An option that is not given leaves its
// std::optional empty, its path empty or its flag false.
struct TraceOptions {
    bool help = false;
    bool version = false;
    bool sweep = false;
    bool stability = false;           // the step factor's limit from the linear theory
    bool nodes = false;
    std::optional<int> position;      // within the limits above
    std::optional<long> steps;        // TRACE_STEPS_MIN..TRACE_STEPS_MAX
    long every = TRACE_EVERY_DEFAULT; // TRACE_EVERY_MIN..TRACE_STEPS_MAX
    std::string svgPath;              // with --sweep: the fates chart
    std::string plotPath;             // the convergence curve
    std::string racePath;
    int slow = TRACE_SLOW_DEFAULT;    // the race's document time per real second
    std::optional<Method> method;
    std::optional<double> beta;       // TRACE_BETA_MIN..TRACE_BETA_MAX
    std::string comparePath;
};

// Reads the arguments as main receives them, the program's name first.
// --help and --version answer whatever else stands beside them (--help
// first, when both do). On bad input returns false and sets *error to one
// line (no newline) naming the option and what it takes.
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
