// rodadero-trace: the curve model without a window. Runs the program's own
// InitCurves and DescentStep and prints what the window would print, as CSV,
// next to the exact fall time of the same polyline; or sweeps every scroll
// position until it repeats itself; or draws the final polyline as an SVG
// picture.
//
// The pieces are free functions so that the tests can call each of them;
// TraceMain is the whole command.
#ifndef RODADERO_TRACE_TRACE_H
#define RODADERO_TRACE_TRACE_H

#include "curve_state.h"
#include "kinematics.h"

#include <cstdint>
#include <cstdio>
#include <iosfwd>
#include <string>

const long TRACE_STEPS_DEFAULT = 1000;
const long SWEEP_STEPS_DEFAULT = 10000000;
const long TRACE_STEPS_MAX = 100000000;
const int TRACE_POSITION_MIN = 1;
const int TRACE_POSITION_MAX = 100;
const int TRACE_SLOW_DEFAULT = 10;
const int TRACE_SLOW_MIN = 1;
const int TRACE_SLOW_MAX = 100;

// Exit codes of the command.
enum { TRACE_OK = 0, TRACE_FAILED = 1, TRACE_BAD_INPUT = 2 };

struct TraceOptions {
    bool help;
    bool version;
    bool sweep;
    bool nodes;
    bool hasPosition;
    int position;          // 1..100 when hasPosition
    bool hasSteps;
    long steps;            // 0..100,000,000
    bool hasEvery;
    long every;            // 1..100,000,000
    std::string svgPath;   // empty: no picture
    std::string racePath;  // empty: no race
    bool hasSlow;
    int slow;              // 1..100: the race's document time per real second
};

TraceOptions DefaultTraceOptions();

// Reads the arguments after the program name. On bad input returns false and
// sets *error to one line (no newline) naming the option and what it accepts.
bool ParseTraceOptions(int argc, const char *const argv[], TraceOptions *options,
                       std::string *error);

// The text that --help prints.
const char *TraceUsage();

// The line that --version prints: the program's name and release number.
const char *TraceVersion();

// --- numbers -------------------------------------------------------------

// %.17g: reads back to the same double. Identical text natively and in the
// Windows build.
std::string FormatDouble(double v);

// The number the window prints: FallTime x 1000000 truncated toward zero.
std::int32_t PrintedTime(double fallTime);

// The step factor the dialog sets at scroll position p.
double AlphaForPosition(int position);

// The step factor a run uses: that of --position, or the starting 0.0001.
double RunAlpha(const TraceOptions &options);

// --- one run -------------------------------------------------------------

// The record as the program starts it, then the chord, then the step factor.
void StartRun(double alpha);

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

// --- sweep ---------------------------------------------------------------

// The fate of the descent from the chord at one scroll position: the state
// (NodeX and ShownX, bit for bit; step 0 is the chord) first comes back
// after `period` steps, from step `cycleFrom` on, and the printed time then
// runs between lowUs and highUs over the steps cycleFrom + 1 to cycleFrom +
// period. period 0: no state came back within the limit, and lowUs = highUs
// is the printed time after the last step of the limit.
struct SweepRow {
    int position;
    long cycleFrom;
    long period;
    std::int32_t lowUs;
    std::int32_t highUs;
};

// Follows the descent at scroll position p until a state comes back, or
// until it is known that none does within `limit` steps. Memory does not
// grow with the number of steps.
SweepRow SweepPosition(int position, long limit);

std::string SweepHeader();
std::string SweepRowText(const SweepRow &row);

// Every position 1..100, or the one of --position, with --steps as the
// limit (default SWEEP_STEPS_DEFAULT).
void RunSweep(const TraceOptions &options, std::ostream &out);

// --- picture ---------------------------------------------------------------

// The SVG text of the current polyline (ShownX), the cycloid as the window
// samples it (CycloidPts), the brachistochrone through the end point, the
// frame and target lines, and a caption with the times.
std::string SvgPicture(const TraceSummary &summary);

// The file that --svg writes goes first to PATH.tmp-<process id> beside it,
// then is renamed over PATH.
std::string SvgTempPath(const std::string &path);

// Opens the temporary file for writing, so that an unwritable path is found
// before any output. Returns nullptr and sets *error, naming the option that
// gave the path, when it cannot.
std::FILE *OpenSvgTemp(const std::string &path, std::string *error,
                       const char *option = "--svg");

// Writes text to the open temporary file, closes it and renames it over
// path. On failure removes the temporary file and sets *error.
bool FinishSvg(std::FILE *tmp, const std::string &path, const std::string &text,
               std::string *error, const char *option = "--svg");

// --- race ------------------------------------------------------------------

// The animated SVG of the race after `steps` steps between three beads
// released together at rest from (0, 0): down the chord (the starting
// polyline), the current polyline (ShownX) and the brachistochrone. Slowed
// `slow` times; every bead waits at the end until two seconds after the last
// one has arrived, then all start again.
std::string RacePicture(long steps, int slow);

// The line for standard error after a race is written (no newline).
std::string RaceSummaryLine(long steps, int slow);

// --- the command -----------------------------------------------------------

// The whole command: the arguments after the program name, standard output
// and standard error. Returns the exit code.
int TraceMain(int argc, const char *const argv[], std::ostream &out, std::ostream &err);

#endif
