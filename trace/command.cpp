// The command itself: reads the options and hands over to a run, the sweep
// or the race, each in its own file; nothing here is used by them.
#include "trace.h"

#include <cstdio>
#include <ostream>
#include <string>

int TraceMain(int argc, const char *const argv[], std::ostream &out, std::ostream &err)
{
    TraceOptions options;
    std::string error;
    if (!ParseTraceOptions(argc, argv, &options, &error)) {
        err << error << '\n';
        return TRACE_BAD_INPUT;
    }
    if (options.help || options.version) {
        out << (options.help ? TraceUsage() : TraceVersion());
        out.flush();
        return out ? TRACE_OK : TRACE_FAILED;
    }

    std::FILE *svg = nullptr;
    if (!options.svgPath.empty()) {
        svg = OpenSvgTemp(options.svgPath, &error);
        if (!svg) {
            err << error << '\n';
            return TRACE_BAD_INPUT;
        }
    }

    std::FILE *race = nullptr;
    if (!options.racePath.empty()) {
        race = OpenSvgTemp(options.racePath, &error, "--race");
        if (!race) {
            err << error << '\n';
            return TRACE_BAD_INPUT;
        }
    }

    int status = TRACE_OK;
    if (race) {
        StartRun(options.hasPosition ? AlphaForPosition(options.position) : ALPHA_START);
        for (long step = 1; step <= options.steps; ++step)
            DescentStep();
        if (FinishSvg(race, options.racePath, RacePicture(options.steps, options.slow), &error,
                      "--race")) {
            err << RaceSummaryLine(options.steps, options.slow) << '\n';
        } else {
            err << error << '\n';
            status = TRACE_FAILED;
        }
    } else if (options.sweep) {
        RunSweep(options, out);
    } else {
        TraceSummary summary = RunTrace(options, out);
        err << SummaryLine(summary) << '\n';
        if (svg && !FinishSvg(svg, options.svgPath, SvgPicture(summary), &error)) {
            err << error << '\n';
            status = TRACE_FAILED;
        }
    }

    out.flush();
    if (!out) {
        err << "rodadero-trace: cannot write standard output\n";
        status = TRACE_FAILED;
    }
    return status;
}
