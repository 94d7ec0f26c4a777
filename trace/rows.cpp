// The CSV rows of the runs, and the summary lines.
#include "rows.h"

#include "csv.h"
#include "kinematics.h"
#include "method_theory.h"
#include "picture_words.h"
#include "race.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

TracedRun RunRows(const TraceOptions &options, std::ostream &out, bool curve)
{
    Recorder recorder = curve ? ConvergenceRecorder() : Recorder();
    recorder.rowEvery = options.every;
    recorder.row = [&](const RunStep &s) {
        out << PolylineRow(s.step, s.fallTime, s.shown, options.nodes);
    };
    out << TraceHeader(options.nodes);
    TracedRun run;
    run.result = RecordRun(RunSetting(options), options.steps.value_or(TRACE_STEPS_DEFAULT), &recorder);
    SolveExactTimes(&recorder);
    run.samples = recorder.samples;
    return run;
}

namespace {

std::string Printed(const char *format, double value)
{
    char text[40];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

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

} // namespace

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

std::string RaceSummaryLine(const RunResult &run, int slow)
{
    RaceTimes times = RaceArrivals(run);
    int order[RACE_TRACKS] = {RACE_CHORD, RACE_POLYLINE, RACE_BRACHISTOCHRONE};
    std::stable_sort(order, order + RACE_TRACKS, [&times](int a, int b) {
        return times.arrival[a] < times.arrival[b];
    });
    std::string line = "rodadero-trace: the race with the " +
                       RaceTrackName(RACE_POLYLINE, run.steps, RaceWords(WordLanguageOf("en"))) +
                       Printed(" (Alpha %.17g)", run.alpha) + ", slowed " + std::to_string(slow) +
                       " times: ";
    for (int i = 0; i < RACE_TRACKS; ++i)
        line += std::string(i ? ", " : "") + RACE_TRACK_ID[order[i]] +
                Printed(" %.4f s", times.arrival[order[i]]);
    return line;
}

long SweepStepLimit(const TraceOptions &options)
{
    return options.steps.value_or(SWEEP_STEPS_DEFAULT);
}

std::vector<Fate> RunSweep(const TraceOptions &options, std::ostream &out)
{
    int first = options.position.value_or(ALPHA_POS_MIN);
    int last = options.position.value_or(ALPHA_POS_MAX);
    out << SweepHeader();
    std::vector<Fate> fates = FatesOnEveryCore(first, last, SweepStepLimit(options));
    for (const Fate &fate : fates)
        out << SweepRowText(fate);
    return fates;
}

long MapStepLimit(const TraceOptions &options)
{
    return options.steps.value_or(CELL_STEP_LIMIT_DEFAULT);
}

std::vector<double> MapBetasAsked(const TraceOptions &options)
{
    return options.beta ? std::vector<double>{*options.beta} : MapBetas();
}

std::vector<Fate> RunMap(const TraceOptions &options, std::ostream &out)
{
    std::vector<int> positions =
        options.position ? std::vector<int>{*options.position} : MapPositions();
    std::vector<double> betas = MapBetasAsked(options);
    out << MapHeader();
    std::vector<Fate> cells =
        MapOnEveryCore(*options.method, positions, betas, MapStepLimit(options));
    for (const Fate &cell : cells)
        out << MapRowText(cell, betas[static_cast<std::size_t>(cell.beta)]);
    return cells;
}

std::vector<MethodCurve> RunCompare(const TraceOptions &options, std::ostream &out)
{
    const StabilityFigures &figures = StabilityLimit();
    std::vector<MethodSetting> settings;
    for (int m = 0; m < METHOD_COUNT; ++m) {
        Method method = static_cast<Method>(m);
        MethodSetting s = BestSetting(method, figures);
        bool positioned = method != METHOD_NEWTON &&
                          (method != METHOD_PROGRAM || options.position <= ALPHA_POS_MAX);
        if (options.position && positioned)
            s.position = *options.position;
        if (options.beta && MethodHasBeta(method))
            s.beta = *options.beta;
        settings.push_back(s);
    }
    long steps = options.steps.value_or(COMPARE_STEPS_DEFAULT);
    std::vector<MethodCurve> curves =
        CompareRuns(settings, steps, figures.settledTime);
    out << CompareHeader();
    for (const MethodCurve &c : curves)
        for (const RunSample &p : c.points)
            out << CompareRowText(c.setting, p.step, p.fallTime, p.distance);
    return curves;
}
