// The options of rodadero-trace, declared once with CLI11: what each takes,
// which go together, and what --help and --version answer.
#ifndef RODADERO_TRACE_OPTIONS_H
#define RODADERO_TRACE_OPTIONS_H

#include "fates.h"
#include "lab_run.h"
#include "methods.h"

#include <optional>
#include <string>

// The limits and defaults of the options, which --help and the messages
// quote. --position runs from ALPHA_POS_MIN to ALPHA_POS_MAX, and to
// METHOD_POS_MAX with another method or --compare; the map of --sweep
// --method follows a cell CELL_STEP_LIMIT_DEFAULT steps, at most
// CELL_STEP_LIMIT_MAX, as does each run of --compare; --sweep alone follows
// a position FATE_STEP_LIMIT_DEFAULT steps.
const long TRACE_STEPS_MIN = 0;
const long TRACE_STEPS_MAX = 100000000;  // also --every's
const long TRACE_STEPS_DEFAULT = 1000;
const long COMPARE_STEPS_DEFAULT = 20000;
const long TRACE_EVERY_MIN = 1;
const long TRACE_EVERY_DEFAULT = 1;
const int TRACE_SLOW_MIN = 1;
const int TRACE_SLOW_MAX = 100;
const int TRACE_SLOW_DEFAULT = 10;
const double TRACE_BETA_MIN = 0.0;
const double TRACE_BETA_MAX = 0.99;
const double TRACE_BETA_DEFAULT = 0.9;
// The laboratory: its end point's coordinates within 0..LAB_END_MAX (the
// depth above 0), its step ratio within LAB_STEP_RATIO_MIN..MAX.
const double LAB_END_MAX = 1000.0;
const double LAB_STEP_RATIO_MIN = 0.001;
const double LAB_STEP_RATIO_MAX = 4.0;

// What the arguments ask for. An option that is not given leaves its
// std::optional empty, its path empty or its flag false.
struct TraceOptions {
    std::string answer;               // the text of --help or --version, if given
    bool sweep = false;
    bool stability = false;           // the step factor's limit from the linear theory
    bool nodes = false;
    std::optional<int> position;      // within the limits above
    // TRACE_STEPS_MIN..TRACE_STEPS_MAX: the steps of the run or the race,
    // the limit of each position of the sweep or cell of the map, or the
    // steps of each run compared; when --steps is not given, the default
    // of what is asked for (above).
    long steps = TRACE_STEPS_DEFAULT;
    long every = TRACE_EVERY_DEFAULT; // TRACE_EVERY_MIN..TRACE_STEPS_MAX
    std::string svgPath;              // with --sweep: the fates chart
    std::string plotPath;             // the convergence curve
    std::string racePath;
    int slow = TRACE_SLOW_DEFAULT;    // the race's document time per real second
    std::optional<Method> method;
    std::optional<double> beta;       // TRACE_BETA_MIN..TRACE_BETA_MAX
    std::string comparePath;
    // The laboratory (--lab): its problem, the setting of its run (method
    // gradient unless --method names another), or instead its optimum or
    // its refinement table.
    bool lab = false;
    LabProblem problem;
    double stepRatio = LAB_STEP_RATIO_DEFAULT;
    bool optimum = false;
    bool refine = false;
    std::string curvePath;  // with --race: the curve it races
};

// Reads the arguments as main receives them, the program's name first.
// --help and --version answer whatever else stands beside them (--help
// first, when both do): the answer is then the text of --help, or the
// program's name and release number. On bad input returns false and sets
// *error to one line (no newline) naming the option and what it takes.
bool ParseTraceOptions(int argc, const char *const argv[], TraceOptions *options,
                       std::string *error);

// The setting of a run of options.method: its position (that of
// --position; without it 0 for the program, its starting factor 0.0001,
// and 50 for the others) and its beta.
MethodSetting RunSetting(const TraceOptions &options);

// The setting of a laboratory's run.
LabSetting LabRunSetting(const TraceOptions &options);

#endif
