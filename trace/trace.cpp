// One run from the chord: its CSV rows, the numbers they print and the summary line.
#include "trace.h"
#include "trunc_int.h"

#include <cstdio>
#include <ostream>
#include <string>

std::string FormatDouble(double v)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

std::int32_t PrintedTime(double fallTime)
{
    return TruncToInt(fallTime * 1000000.0);
}

double AlphaForPosition(int position)
{
    return position * ALPHA_PER_POSITION;
}

double RunAlpha(const TraceOptions &options)
{
    return options.hasPosition ? AlphaForPosition(options.position) : ALPHA_START;
}

// --- one run -------------------------------------------------------------

void StartRun(double alpha)
{
    CurveStateRecord fresh = {};
    fresh.Alpha = ALPHA_START;
    fresh.AlphaPos = ALPHA_POS_START;
    CurveState = fresh;
    InitCurves(CurveState.ScreenPts);
    CurveState.Alpha = alpha;
}

std::string TraceHeader(bool nodes)
{
    std::string h = "step,time_us,model_s,exact_s";
    if (nodes)
        for (int i = INNER_FIRST; i <= INNER_LAST; ++i)
            h += ",x" + std::to_string(i);
    return h + "\n";
}

std::string TraceRow(long step, bool nodes)
{
    std::string row = std::to_string(step);
    row += ',';
    row += std::to_string(PrintedTime(CurveState.FallTime));
    row += ',';
    row += FormatDouble(CurveState.FallTime);
    row += ',';
    row += FormatDouble(ExactPolylineTime(CurveState.ShownX));
    if (nodes) {
        for (int i = INNER_FIRST; i <= INNER_LAST; ++i) {
            row += ',';
            row += FormatDouble(CurveState.ShownX[i]);
        }
    }
    row += '\n';
    return row;
}

TraceSummary RunTrace(const TraceOptions &options, std::ostream &out)
{
    double alpha = RunAlpha(options);
    StartRun(alpha);
    out << TraceHeader(options.nodes);
    if (options.steps == 0)
        out << TraceRow(0, options.nodes);
    for (long step = 1; step <= options.steps; ++step) {
        DescentStep();
        if (step % options.every == 0 || step == options.steps)
            out << TraceRow(step, options.nodes);
    }
    TraceSummary s;
    s.steps = options.steps;
    s.alpha = alpha;
    s.modelTime = CurveState.FallTime;
    s.exactTime = ExactPolylineTime(CurveState.ShownX);
    return s;
}

std::string SummaryLine(const TraceSummary &summary)
{
    Brachistochrone b = BrachistochroneThrough(END_X, END_DEPTH, GRAVITY);
    char text[400];
    if (summary.steps == 0) {
        std::snprintf(text, sizeof text,
                      "rodadero-trace: no step taken (Alpha %.17g): the chord takes %.6f s "
                      "exactly, %+.3f%% from the brachistochrone through (1, 0.92), %.6f s",
                      summary.alpha, summary.exactTime,
                      100.0 * (summary.exactTime - b.time) / b.time, b.time);
    } else {
        std::snprintf(text, sizeof text,
                      "rodadero-trace: after %ld steps (Alpha %.17g) the model time is %.6f s "
                      "and the exact time %.6f s; the brachistochrone through (1, 0.92) takes "
                      "%.6f s (model %+.3f%%, exact %+.3f%%)",
                      summary.steps, summary.alpha, summary.modelTime, summary.exactTime, b.time,
                      100.0 * (summary.modelTime - b.time) / b.time,
                      100.0 * (summary.exactTime - b.time) / b.time);
    }
    return text;
}
