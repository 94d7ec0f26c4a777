// The command itself: reads the options and hands over to a run, the sweep,
// the race or the limit of the linear theory; nothing here is used by them.
#include "command.h"

#include "convergence.h"
#include "csv.h"
#include "fates_chart.h"
#include "files.h"
#include "method_charts.h"
#include "options.h"
#include "race.h"
#include "rows.h"
#include "stability.h"
#include "still.h"

#include <ostream>
#include <string>
#include <vector>

int TraceMain(int argc, const char *const argv[], std::ostream &out, std::ostream &err)
{
    TraceOptions options;
    std::string error;
    if (!ParseTraceOptions(argc, argv, &options, &error)) {
        err << error << '\n';
        return TRACE_BAD_INPUT;
    }
    if (!options.answer.empty()) {
        out << options.answer;
        out.flush();
        return out ? TRACE_OK : TRACE_FAILED;
    }

    // The pictures are opened first, so that an unwritable path is found
    // before any output.
    std::vector<PictureFile> pictures = {{"--svg", options.svgPath},
                                         {"--plot", options.plotPath},
                                         {"--race", options.racePath},
                                         {"--compare", options.comparePath}};
    if (!OpenPictureFiles(&pictures, err))
        return TRACE_BAD_INPUT;

    bool written = true;
    if (options.stability && options.method) {
        out << MethodStabilityHeader()
            << MethodStabilityRow(TheoryOfMethod(
                   *options.method, options.beta.value_or(TRACE_BETA_DEFAULT), StabilityLimit()));
    } else if (options.stability) {
        out << StabilityHeader() << StabilityRow(StabilityLimit());
    } else if (!options.comparePath.empty()) {
        std::vector<MethodCurve> curves = RunCompare(options, out);
        written = Finish(pictures, "--compare", CompareChart(curves, MethodChartEnglish()), err);
    } else if (options.sweep && options.method) {
        std::vector<Fate> cells = RunMap(options, out);
        if (!options.svgPath.empty())
            written = Finish(pictures, "--svg",
                             MapChart(*options.method, cells, MapBetasAsked(options),
                                      options.steps, StabilityLimit(),
                                      MethodChartEnglish()),
                             err);
    } else if (!options.racePath.empty()) {
        Recorder nothing;
        RunResult run = RecordRun(RunSetting(options), options.steps, &nothing);
        written = Finish(pictures, "--race", RacePicture(run, options.slow), err);
        if (written)
            err << RaceSummaryLine(run, options.slow) << '\n';
    } else if (options.sweep) {
        std::vector<Fate> fates = RunSweep(options, out);
        if (!options.svgPath.empty())
            written = Finish(pictures, "--svg",
                             FatesChart(fates, options.steps,
                                        StabilityLimit().positionLimit, 0, FatesChartEnglish()),
                             err);
    } else {
        bool plotting = !options.plotPath.empty();
        TracedRun run = RunRows(options, out, plotting);
        err << SummaryLine(run.result) << '\n';
        if (!options.svgPath.empty())
            written = Finish(pictures, "--svg", StillPicture(run.result), err);
        if (plotting) {
            const MethodSetting &s = run.result.setting;
            std::string plot =
                s.method == METHOD_PROGRAM
                    ? ConvergencePicture(run.samples, run.result.alpha,
                                         static_cast<int>(s.position), ConvergenceEnglish())
                    : TitledConvergencePicture(run.samples,
                                               "The descent from the chord by " +
                                                   SettingText(s, MethodChartEnglish()),
                                               ConvergenceEnglish());
            written = Finish(pictures, "--plot", plot, err) && written;
        }
    }

    int status = written ? TRACE_OK : TRACE_FAILED;
    out.flush();
    if (!out) {
        err << "rodadero-trace: cannot write standard output\n";
        status = TRACE_FAILED;
    }
    return status;
}
