// The command itself: reads the options and hands over to a run, the sweep,
// the race or the limit of the linear theory; nothing here is used by them.
#include "command.h"

#include "chart_parts.h"
#include "convergence.h"
#include "csv.h"
#include "fates_chart.h"
#include "files.h"
#include "method_charts.h"
#include "options.h"
#include "picture_words.h"
#include "race.h"
#include "rows.h"
#include "stability.h"
#include "still.h"

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

namespace {

// The command speaks English: its pictures' words.
int English()
{
    return WordLanguageOf("en");
}

// A picture file the options ask for, opened before any output.
struct Picture {
    const std::string *path;
    const char *option;
    std::FILE *file;
};

// The pictures asked for, in the order of the options' list: --svg, --plot,
// --race (the race comes with neither of the others).
std::vector<Picture> PicturesAskedFor(const TraceOptions &options)
{
    std::vector<Picture> pictures;
    if (!options.svgPath.empty())
        pictures.push_back({&options.svgPath, "--svg", nullptr});
    if (!options.plotPath.empty())
        pictures.push_back({&options.plotPath, "--plot", nullptr});
    if (!options.racePath.empty())
        pictures.push_back({&options.racePath, "--race", nullptr});
    if (!options.comparePath.empty())
        pictures.push_back({&options.comparePath, "--compare", nullptr});
    return pictures;
}

// Opens every picture's temporary file; when one cannot be opened, none is
// left behind.
bool OpenPictures(std::vector<Picture> *pictures, std::string *error)
{
    for (std::size_t i = 0; i < pictures->size(); ++i) {
        Picture &p = (*pictures)[i];
        p.file = OpenPictureFile(*p.path, p.option, error);
        if (!p.file) {
            for (std::size_t j = 0; j < i; ++j)
                DiscardPictureFile((*pictures)[j].file, *(*pictures)[j].path);
            return false;
        }
    }
    return true;
}

// Writes the picture of `option` whole, if it was asked for. False when it
// could not be written; the message then goes to err.
bool Finish(std::vector<Picture> &pictures, const char *option, const std::string &text,
            std::ostream &err)
{
    for (Picture &p : pictures) {
        if (std::string(p.option) != option)
            continue;
        std::string error;
        if (!FinishPictureFile(p.file, *p.path, text, p.option, &error)) {
            err << error << '\n';
            return false;
        }
    }
    return true;
}

bool Asked(const std::vector<Picture> &pictures, const char *option)
{
    for (const Picture &p : pictures)
        if (std::string(p.option) == option)
            return true;
    return false;
}

} // namespace

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

    // The pictures are opened first, so that an unwritable path is found
    // before any output.
    std::vector<Picture> pictures = PicturesAskedFor(options);
    if (!OpenPictures(&pictures, &error)) {
        err << error << '\n';
        return TRACE_BAD_INPUT;
    }

    bool written = true;
    if (options.stability && options.method) {
        out << MethodStabilityHeader()
            << MethodStabilityRow(TheoryOfMethod(
                   *options.method, options.beta.value_or(TRACE_BETA_DEFAULT), StabilityLimit()));
    } else if (options.stability) {
        out << StabilityHeader() << StabilityRow(StabilityLimit());
    } else if (!options.comparePath.empty()) {
        std::vector<MethodCurve> curves = RunCompare(options, out);
        written = Finish(pictures, "--compare", CompareChart(curves, MethodChartWords(English())), err);
    } else if (options.sweep && options.method) {
        std::vector<Fate> cells = RunMap(options, out);
        if (Asked(pictures, "--svg"))
            written = Finish(pictures, "--svg",
                             MapChart(*options.method, cells, MapBetasAsked(options),
                                      MapStepLimit(options), StabilityLimit(),
                                      MethodChartWords(English())),
                             err);
    } else if (!options.racePath.empty()) {
        Recorder nothing;
        RunResult run = RecordRun(RunSetting(options), options.steps.value_or(TRACE_STEPS_DEFAULT), &nothing);
        written = Finish(pictures, "--race", RacePicture(run, options.slow, RaceWords(English())), err);
        if (written)
            err << RaceSummaryLine(run, options.slow) << '\n';
    } else if (options.sweep) {
        std::vector<Fate> fates = RunSweep(options, out);
        if (Asked(pictures, "--svg"))
            written = Finish(pictures, "--svg",
                             FatesChart(fates, SweepStepLimit(options),
                                        StabilityLimit().positionLimit, 0,
                                        FatesChartWords(English())),
                             err);
    } else {
        bool plotting = Asked(pictures, "--plot");
        TracedRun run = RunRows(options, out, plotting);
        err << SummaryLine(run.result) << '\n';
        if (Asked(pictures, "--svg"))
            written = Finish(pictures, "--svg", StillPicture(run.result), err);
        if (plotting) {
            const MethodSetting &s = run.result.setting;
            const ConvergenceText words = ConvergenceWords(English());
            std::string plot =
                s.method == METHOD_PROGRAM
                    ? ConvergencePicture(run.samples, run.result.alpha,
                                         static_cast<int>(s.position), words)
                    : TitledConvergencePicture(
                          run.samples,
                          Filled(words.titleOfMethod,
                                 {{"method", SettingText(s, MethodChartWords(English()))}}),
                          words);
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
