// The CSV rows of a run and of the sweep, and the summary lines.
#include "rows.h"

#include "descent_run.h"
#include "kinematics.h"
#include "race.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

std::string TraceRow(long step, bool nodes)
{
    return PolylineRow(step, CurveState.FallTime, CurveState.ShownX, nodes);
}

TraceSummary RunTrace(const TraceOptions &options, std::ostream &out,
                      std::vector<ConvergenceSample> *samples)
{
    double alpha = RunAlpha(options);
    long steps = options.steps.value_or(TRACE_STEPS_DEFAULT);
    StartRun(alpha);
    out << TraceHeader(options.nodes);
    if (steps == 0)
        out << TraceRow(0, options.nodes);
    long sampled = NextSampledStep(0);
    for (long step = 1; step <= steps; ++step) {
        DescentStep();
        if (step % options.every == 0 || step == steps)
            out << TraceRow(step, options.nodes);
        if (samples && (step == sampled || step == steps))
            samples->push_back(SampleAfterStep(CurveState, step));
        if (step == sampled)
            sampled = NextSampledStep(step);
    }
    TraceSummary s;
    s.setting = MethodSetting{METHOD_PROGRAM, 0.0, 0.0};
    s.steps = steps;
    s.alpha = alpha;
    s.modelTime = CurveState.FallTime;
    s.exactTime = ExactPolylineTime(CurveState.ShownX);
    return s;
}

TraceSummary RunMethodTrace(const TraceOptions &options, std::ostream &out,
                            std::vector<ConvergenceSample> *samples)
{
    MethodRun run;
    long steps = options.steps.value_or(TRACE_STEPS_DEFAULT);
    StartMethod(&run, RunSetting(options));
    out << TraceHeader(options.nodes);
    if (steps == 0)
        out << PolylineRow(0, MethodFallTime(run), MethodShownX(run), options.nodes);
    long sampled = NextSampledStep(0);
    for (long step = 1; step <= steps; ++step) {
        StepMethod(&run);
        bool row = step % options.every == 0 || step == steps;
        bool sample = samples && (step == sampled || step == steps);
        if (row || sample) {
            double t = MethodFallTime(run);
            if (row)
                out << PolylineRow(step, t, MethodShownX(run), options.nodes);
            if (sample)
                samples->push_back(
                    ConvergenceSample{step, PrintedTime(t), ExactPolylineTime(MethodShownX(run))});
        }
        if (step == sampled)
            sampled = NextSampledStep(step);
    }
    TraceSummary s;
    s.setting = run.setting;
    s.steps = steps;
    s.alpha = run.setting.position * ALPHA_PER_POSITION;
    s.modelTime = MethodFallTime(run);
    s.exactTime = ExactPolylineTime(MethodShownX(run));
    StartRun(s.alpha);
    for (int i = INNER_FIRST; i <= INNER_LAST; ++i)
        CurveState.NodeX[i] = CurveState.ShownX[i] = MethodShownX(run)[i];
    CurveState.FallTime = s.modelTime;
    return s;
}

namespace {

// What a method's summary line begins with: its name and setting.
std::string SettingWords(const MethodSetting &s)
{
    std::string words = std::string("rodadero-trace: ") + METHOD_NAME[s.method];
    if (s.method == METHOD_NEWTON)
        return words + ": ";
    words += " (position " + ShortestDouble(s.position);
    if (MethodHasBeta(s.method))
        words += ", beta " + ShortestDouble(s.beta);
    return words + ", step h " + FormatDouble(MethodStep(s.position)) + "): ";
}

} // namespace

std::string SummaryLine(const TraceSummary &summary)
{
    if (summary.setting.method != METHOD_PROGRAM) {
        Brachistochrone b = BrachistochroneThrough(END_X, END_DEPTH, GRAVITY);
        char text[400];
        if (summary.steps == 0)
            std::snprintf(text, sizeof text,
                          "no step taken: the chord takes %.6f s exactly, %+.3f%% from the "
                          "brachistochrone through (1, 0.92), %.6f s",
                          summary.exactTime, 100.0 * (summary.exactTime - b.time) / b.time,
                          b.time);
        else
            std::snprintf(text, sizeof text,
                          "after %ld steps the model time is %.6f s and the exact time %.6f "
                          "s; the brachistochrone through (1, 0.92) takes %.6f s (model "
                          "%+.3f%%, exact %+.3f%%)",
                          summary.steps, summary.modelTime, summary.exactTime, b.time,
                          100.0 * (summary.modelTime - b.time) / b.time,
                          100.0 * (summary.exactTime - b.time) / b.time);
        return SettingWords(summary.setting) + text;
    }
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

long SweepStepLimit(const TraceOptions &options)
{
    return options.steps.value_or(SWEEP_STEPS_DEFAULT);
}

std::vector<PositionFate> RunSweep(const TraceOptions &options, std::ostream &out)
{
    int first = options.position.value_or(ALPHA_POS_MIN);
    int last = options.position.value_or(ALPHA_POS_MAX);
    out << SweepHeader();
    std::vector<PositionFate> fates = FatesOnEveryCore(first, last, SweepStepLimit(options));
    for (const PositionFate &fate : fates)
        out << SweepRowText(fate);
    return fates;
}

long MapStepLimit(const TraceOptions &options)
{
    return options.steps.value_or(CELL_STEP_LIMIT_DEFAULT);
}

std::vector<CellFate> RunMap(const TraceOptions &options, std::ostream &out)
{
    std::vector<double> positions = MapPositions(), betas = MapBetas();
    if (options.position)
        positions = {static_cast<double>(*options.position)};
    if (options.beta)
        betas = {*options.beta};
    out << MapHeader();
    std::vector<CellFate> cells = CellFatesOnEveryCore(
        MapSettings(*options.method, positions, betas), MapStepLimit(options));
    for (const CellFate &cell : cells)
        out << MapRowText(cell);
    return cells;
}

std::vector<MethodCurve> RunCompare(const TraceOptions &options, std::ostream &out)
{
    StabilityFigures figures = StabilityLimit();
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
        CompareCurves(settings, steps, PolylineFallTime(figures.settled));
    out << CompareHeader();
    for (const MethodCurve &c : curves)
        for (const ComparePoint &p : c.points)
            out << CompareRowText(c.setting, p.step, p.fallTime, p.distance);
    return curves;
}

std::string RaceSummaryLine(long steps, int slow)
{
    RaceTimes times = RaceArrivals(CurveState);
    int order[RACE_TRACKS] = {RACE_CHORD, RACE_POLYLINE, RACE_BRACHISTOCHRONE};
    std::stable_sort(order, order + RACE_TRACKS, [&times](int a, int b) {
        return times.arrival[a] < times.arrival[b];
    });
    char text[400];
    std::snprintf(text, sizeof text,
                  "rodadero-trace: the race with the %s (Alpha %.17g), slowed %d times: "
                  "%s %.4f s, %s %.4f s, %s %.4f s",
                  RaceTrackName(RACE_POLYLINE, steps).c_str(), CurveState.Alpha, slow,
                  RACE_TRACK_ID[order[0]], times.arrival[order[0]], RACE_TRACK_ID[order[1]],
                  times.arrival[order[1]], RACE_TRACK_ID[order[2]], times.arrival[order[2]]);
    return text;
}
