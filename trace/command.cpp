// The command itself: reads the options and hands over to a run, the sweep,
// the map, the comparison, the race or the limit of the linear theory, each
// worked out by the analysis room; prints their CSV rows (tables/) and
// their lines for standard error, and writes their pictures (pictures/).
#include "command.h"

#include "chart_parts.h"
#include "convergence.h"
#include "curve_csv.h"
#include "curve_race_picture.h"
#include "csv.h"
#include "fates_chart.h"
#include "files.h"
#include "kinematics.h"
#include "lab_charts.h"
#include "lab_csv.h"
#include "lab_still.h"
#include "method_charts.h"
#include "method_theory.h"
#include "picture_words.h"
#include "race.h"
#include "stability.h"
#include "still.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

namespace {

// The command speaks English: its pictures' words.
const int ENGLISH = WordLanguageOf("en");

// What a summary line says first after the command's name: a method's name
// and setting; nothing for the program, whose factor comes later.
std::string SettingWords(const MethodSetting &s)
{
    std::string words = METHOD_NAME[s.method];
    if (s.method == METHOD_PROGRAM)
        return "";
    if (s.method == METHOD_NEWTON)
        return words + ": ";
    words += " (position " + ShortestDouble(s.position);
    if (MethodHasBeta(s.method))
        words += ", beta " + ShortestDouble(s.beta);
    return words + ", step h " + FormatDouble(MethodStep(s.position)) + "): ";
}

// The line for standard error after a race (no newline): the arrivals,
// first to last.
std::string RaceSummaryLine(const RunResult &run, int slow)
{
    RaceTimes times = RaceArrivals(run);
    int order[RACE_TRACKS] = {RACE_CHORD, RACE_POLYLINE, RACE_BRACHISTOCHRONE};
    std::stable_sort(order, order + RACE_TRACKS, [&times](int a, int b) {
        return times.arrival[a] < times.arrival[b];
    });
    std::string line = "rodadero-trace: the race with the " +
                       RaceTrackName(RACE_POLYLINE, run.steps, RaceWords(ENGLISH)) +
                       Printed(" (Alpha %.17g)", run.alpha) + ", slowed " + std::to_string(slow) +
                       " times: ";
    for (int i = 0; i < RACE_TRACKS; ++i)
        line += std::string(i ? ", " : "") + RACE_TRACK_ID[order[i]] +
                Printed(" %.4f s", times.arrival[order[i]]);
    return line;
}

// Every position 1..100, or the one of --position, within options.steps
// steps each. Returns the fates it printed.
std::vector<Fate> RunSweep(const TraceOptions &options, std::ostream &out)
{
    int first = options.position.value_or(ALPHA_POS_MIN);
    int last = options.position.value_or(ALPHA_POS_MAX);
    out << SweepHeader();
    std::vector<Fate> fates = FatesOnEveryCore(first, last, options.steps);
    for (const Fate &fate : fates)
        out << SweepRowText(fate);
    return fates;
}

// The momenta of the map: that of --beta, or every one of MapBetas.
std::vector<double> MapBetasAsked(const TraceOptions &options)
{
    return options.beta ? std::vector<double>{*options.beta} : MapBetas();
}

// The map of options.method's fates: every cell, or the row of --position
// or the column of --beta, each within options.steps steps, on every core.
// Returns the cells it printed.
std::vector<Fate> RunMap(const TraceOptions &options, std::ostream &out)
{
    std::vector<int> positions =
        options.position ? std::vector<int>{*options.position} : MapPositions();
    std::vector<double> betas = MapBetasAsked(options);
    std::vector<Fate> cells = MapOnEveryCore(*options.method, positions, betas, options.steps);
    out << MapRows(cells, betas);
    return cells;
}

// Every method from the chord at its setting (--position and --beta, or
// its fastest by the theory), options.steps steps; writes the rows and
// returns the curves.
std::vector<MethodCurve> RunCompare(const TraceOptions &options, std::ostream &out)
{
    const StabilityFigures &figures = StabilityLimit();
    std::vector<MethodCurve> curves =
        CompareRuns(ComparedSettings(figures, options.position, options.beta),
                    options.steps, figures.settledTime);
    out << CompareRows(curves);
    return curves;
}

// The race of `curve` against the cycloid and the straight line through
// its end: the rows, the line that says how the curve's bead fares, the
// picture. Returns whether the picture was written.
bool RaceCurve(const LabPolyline &curve, const std::string &name, const TraceOptions &options,
               std::vector<PictureFile> &pictures, std::ostream &out, std::ostream &err)
{
    CurveRaceTimes times = CurveRaceTimesOf(curve);
    out << CurveRaceRows(times);
    if (!Finish(pictures, "--race", CurveRacePicture(curve, options.slow, CurveRaceWords(ENGLISH)),
                err))
        return false;
    err << "rodadero-trace: the race of " << name << ", slowed " << options.slow
        << " times: its bead " << CurveFateWords(times.curve) << "; the cycloid's arrives after "
        << ShortestDouble(times.cycloid) << " s, the straight line's after "
        << ShortestDouble(times.line) << " s\n";
    return true;
}

// The curve of --curve's file; false, with the line that says why written
// to err, where it cannot be read or is no curve.
bool ReadCurveFile(const std::string &path, LabPolyline *curve, std::ostream &err)
{
    std::string text, error;
    if (!ReadTextFile(path, &text, &error)) {
        err << "rodadero-trace: --curve cannot read '" << path << "': " << error << '\n';
        return false;
    }
    if (!ReadCurveCsv(text, curve, &error)) {
        err << "rodadero-trace: --curve '" << path << "', " << error << '\n';
        return false;
    }
    return true;
}

// The laboratory's refinement table, its line and its chart.
bool RefineLab(const TraceOptions &options, std::vector<PictureFile> &pictures,
               std::ostream &out, std::ostream &err)
{
    std::vector<LabRefinementRow> rows = LabRefinement(options.problem);
    out << LabRefinementRows(rows);
    err << LabRefinementLine(options.problem, rows) << '\n';
    return options.svgPath.empty() ||
           Finish(pictures, "--svg",
                  LabRefinementPicture(options.problem, rows, LabRefinementWords(ENGLISH)), err);
}

// The laboratory: its run, its optimum or its refinement table, with the
// line that sums it up and the pictures asked for. Returns whether they
// were written.
bool RunLab(const TraceOptions &options, std::vector<PictureFile> &pictures, std::ostream &out,
            std::ostream &err)
{
    const LabProblem &problem = options.problem;
    if (options.refine)
        return RefineLab(options, pictures, out, err);
    const LabReference reference = LabReferenceOf(problem);
    if (options.optimum) {
        out << LabOptimumRows(reference.optimum);
        err << LabOptimumLine(problem, reference) << '\n';
        return true;
    }
    const LabSetting setting = LabRunSetting(options);
    const bool racing = !options.racePath.empty();
    Recorder recorder = options.plotPath.empty() ? Recorder() : ConvergenceRecorder();
    recorder.rowEvery = racing ? 0 : options.every;
    recorder.row = [&](const RunStep &s) {
        out << LabRunRow(s.step, s.fallTime, recorder.exactTime(s), s.shown, problem.intervals,
                         options.nodes);
    };
    if (!racing)
        out << LabRunHeader(problem, options.nodes);
    LabRunResult run = RecordLabRun(problem, setting, reference.theory.lambdaMax, options.steps,
                                    &recorder);
    const double h = LabStep(setting, reference.theory.lambdaMax);
    if (racing)
        return RaceCurve(run.line,
                         "the polyline after " + std::to_string(run.steps) +
                             (run.steps == 1 ? " step" : " steps"),
                         options, pictures, out, err);
    err << LabRunLine(problem, setting, h, reference, run) << '\n';
    const std::string method = MethodChartWords(ENGLISH).method[setting.method];
    bool written = true;
    if (!options.svgPath.empty())
        written = Finish(pictures, "--svg",
                         LabStillPicture({problem, run.line, reference.optimum, reference.cycloid,
                                          run.time, reference.optimumTime, run.steps, method},
                                         LabStillWords(ENGLISH)),
                         err);
    if (!options.plotPath.empty()) {
        std::vector<LabCurvePoint> points;
        for (const RunSample &s : recorder.samples)
            points.push_back({s.step, s.fallTime, s.exactS});
        written = Finish(pictures, "--plot",
                         LabConvergencePicture(problem, points, reference.optimumTime,
                                               reference.cycloid.time, method,
                                               LabConvergenceWords(ENGLISH)),
                         err) && written;
    }
    return written;
}

} // namespace

TracedRun RunRows(const TraceOptions &options, std::ostream &out, bool curve)
{
    Recorder recorder = curve ? ConvergenceRecorder() : Recorder();
    recorder.rowEvery = options.every;
    recorder.row = [&](const RunStep &s) {
        out << PolylineRow(s.step, s.fallTime, s.shown, options.nodes);
    };
    out << TraceHeader(options.nodes);
    RunResult result = RecordRun(RunSetting(options), options.steps, &recorder);
    SolveExactTimes(&recorder);
    return {result, recorder.samples};
}

std::string SummaryLine(const RunResult &run)
{
    const Brachistochrone b = BrachistochroneThrough(END_X, END_DEPTH, GRAVITY);
    const double exact = ExactPolylineTime(run.shown.data());
    const std::string alpha =
        run.setting.method == METHOD_PROGRAM ? Printed(" (Alpha %.17g)", run.alpha) : "";
    char text[400];
    if (run.steps == 0)
        std::snprintf(text, sizeof text,
                      "no step taken%s: the chord takes %.6f s exactly, %+.3f%% from the "
                      "brachistochrone through (1, 0.92), %.6f s",
                      alpha.c_str(), exact, 100.0 * (exact - b.time) / b.time, b.time);
    else
        std::snprintf(text, sizeof text,
                      "after %ld steps%s the model time is %.6f s and the exact time %.6f s; "
                      "the brachistochrone through (1, 0.92) takes %.6f s (model %+.3f%%, "
                      "exact %+.3f%%)",
                      run.steps, alpha.c_str(), run.fallTime, exact, b.time,
                      100.0 * (run.fallTime - b.time) / b.time, 100.0 * (exact - b.time) / b.time);
    return "rodadero-trace: " + SettingWords(run.setting) + text;
}

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

    // The curve to race is read first, and then the pictures are opened, so
    // that a bad curve or an unwritable path is found before any output.
    LabPolyline curve;
    if (!options.curvePath.empty() && !ReadCurveFile(options.curvePath, &curve, err))
        return TRACE_BAD_INPUT;
    std::vector<PictureFile> pictures = {{"--svg", options.svgPath},
                                         {"--plot", options.plotPath},
                                         {"--race", options.racePath},
                                         {"--compare", options.comparePath}};
    if (!OpenPictureFiles(&pictures, err))
        return TRACE_BAD_INPUT;

    bool written = true;
    if (options.lab) {
        written = RunLab(options, pictures, out, err);
    } else if (!options.curvePath.empty()) {
        written = RaceCurve(curve, "the curve of '" + options.curvePath + "'", options, pictures,
                            out, err);
    } else if (options.stability && options.method) {
        out << MethodStabilityHeader()
            << MethodStabilityRow(TheoryOfMethod(
                   *options.method, options.beta.value_or(TRACE_BETA_DEFAULT), StabilityLimit()));
    } else if (options.stability) {
        out << StabilityHeader() << StabilityRow(StabilityLimit());
    } else if (!options.comparePath.empty()) {
        std::vector<MethodCurve> curves = RunCompare(options, out);
        written = Finish(pictures, "--compare", CompareChart(curves, MethodChartWords(ENGLISH)), err);
    } else if (options.sweep && options.method) {
        std::vector<Fate> cells = RunMap(options, out);
        if (!options.svgPath.empty())
            written = Finish(pictures, "--svg",
                             MapChart(*options.method, cells, MapBetasAsked(options),
                                      options.steps, StabilityLimit(),
                                      MethodChartWords(ENGLISH)),
                             err);
    } else if (!options.racePath.empty()) {
        Recorder nothing;
        RunResult run = RecordRun(RunSetting(options), options.steps, &nothing);
        written = Finish(pictures, "--race", RacePicture(run, options.slow, RaceWords(ENGLISH)), err);
        if (written)
            err << RaceSummaryLine(run, options.slow) << '\n';
    } else if (options.sweep) {
        std::vector<Fate> fates = RunSweep(options, out);
        if (!options.svgPath.empty())
            written = Finish(pictures, "--svg",
                             FatesChart(fates, options.steps,
                                        StabilityLimit().positionLimit, 0,
                                        FatesChartWords(ENGLISH)),
                             err);
    } else {
        bool plotting = !options.plotPath.empty();
        TracedRun run = RunRows(options, out, plotting);
        err << SummaryLine(run.result) << '\n';
        if (!options.svgPath.empty())
            written = Finish(pictures, "--svg", StillPicture(run.result), err);
        if (plotting)
            written = Finish(pictures, "--plot",
                             RunConvergencePicture(run.result, run.samples,
                                                   ConvergenceWords(ENGLISH),
                                                   MethodChartWords(ENGLISH)),
                             err) && written;
    }

    int status = written ? TRACE_OK : TRACE_FAILED;
    out.flush();
    if (!out) {
        err << "rodadero-trace: cannot write standard output\n";
        status = TRACE_FAILED;
    }
    return status;
}
