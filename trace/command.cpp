// The command itself: reads the options and hands over to a run, the sweep
// or the race; nothing here is used by them.
#include "command.h"

#include "descent_run.h"
#include "files.h"
#include "options.h"
#include "race.h"
#include "rows.h"
#include "still.h"

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
        out << (options.help ? TraceUsage() : std::string(TraceVersion()));
        out.flush();
        return out ? TRACE_OK : TRACE_FAILED;
    }

    // The picture, if any (--svg and --race never come together), is opened
    // first, so that an unwritable path is found before any output.
    bool racing = !options.racePath.empty();
    const std::string &picturePath = racing ? options.racePath : options.svgPath;
    const char *pictureOption = racing ? "--race" : "--svg";
    std::FILE *picture = nullptr;
    if (!picturePath.empty()) {
        picture = OpenPictureFile(picturePath, pictureOption, &error);
        if (!picture) {
            err << error << '\n';
            return TRACE_BAD_INPUT;
        }
    }

    int status = TRACE_OK;
    if (racing) {
        StartRun(RunAlpha(options));
        for (long step = 1; step <= options.steps; ++step)
            DescentStep();
        if (FinishPictureFile(picture, picturePath, RacePicture(options.steps, options.slow),
                              pictureOption, &error)) {
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
        if (picture && !FinishPictureFile(picture, picturePath, StillPicture(summary.steps),
                                          pictureOption, &error)) {
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
