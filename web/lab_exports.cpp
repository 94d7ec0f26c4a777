// The laboratory's card: its own problem (an end point, a number of
// intervals, a node layout and a time rule), never the window's, and a
// method run live on it from the chord, a step with each tick of the
// card's timer, beside the references the run is measured against (the
// discrete optimum, the cycloid through the end, the linear theory at the
// optimum). Its pictures in any language of the catalogs; its rows, its
// pictures in English and its lines as rodadero-trace --lab writes them for
// the same state:
//
//   the run       --lab STATE --steps K             (K the steps taken,
//                                                    every one a row)
//   its pictures  --lab STATE --steps K --svg / --plot
//   the optimum   --lab STATE --optimum
//   refinement    --lab STATE --refine [--svg]
//   a drawn curve --race RACE --curve CURVE        (CURVE its CSV)
//
// STATE being --end X,Y --intervals N --layout L --time T --method M
// --step-ratio R [--beta B]. The run's rows are those of a run made again
// from the chord when they are asked for: the run is the same, bit for
// bit, and nothing is held while the card runs on.
//
// The refinement table is the workers' (each row a call of
// rodadero_lab_refinement_row in an instance of its own), kept here as the
// rows arrive; its rows and chart are those of the rows from the first up
// to the first one still missing.
#include "curve_csv.h"
#include "curve_race_picture.h"
#include "lab_charts.h"
#include "lab_csv.h"
#include "lab_run.h"
#include "lab_still.h"
#include "method_charts.h"
#include "page_contract.h"
#include "picture_words.h"
#include "recorder.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// The run, its recorder of the convergence curve (exact times kept), the
// references of its problem, and the steps a live run takes at most.
struct LiveLab {
    LabProblem problem;
    LabSetting setting;
    LabReference reference;
    LabRun run;
    Recorder recorder;
    bool ready = false;
};
LiveLab Lab;

LabTimes Times;
LabPageRow WorkerRow;
std::vector<LabRefinementRow> RefinementRows;
std::vector<char> RefinementKnown;

// The run's state as a recorder is handed it.
RunStep LabStepNow()
{
    const std::vector<double> &u = LabUnknowns(Lab.run.line, Lab.problem.layout);
    return RunStep{Lab.run.steps, LabPolylineTime(Lab.run.line, Lab.problem.rule), u.data(),
                   static_cast<int>(u.size())};
}

// The run from the chord, its recorder empty.
void Restart()
{
    StartLabRun(&Lab.run, Lab.problem, Lab.setting, Lab.reference.theory.lambdaMax);
    Lab.recorder = ConvergenceRecorder();
    Lab.recorder.exactTime = [](const RunStep &) { return LabPolylineTime(Lab.run.line, LAB_EXACT); };
}

// What the command checks of an end, a number of intervals, a layout and a
// rule (the end within LAB_PAGE_END_MAX either way, as the command's).
bool IsProblem(double x, double y, int intervals, int layout, int rule)
{
    return std::isfinite(x) && std::isfinite(y) && x >= 0.0 && x <= LAB_PAGE_END_MAX && y > 0.0 &&
           y <= LAB_PAGE_END_MAX && intervals >= LAB_INTERVALS_MIN &&
           intervals <= LAB_INTERVALS_MAX && (layout == LAB_DEPTH || layout == LAB_WIDTH) &&
           (rule == LAB_MIDPOINT || rule == LAB_EXACT) && !(layout == LAB_WIDTH && x == 0.0);
}

LabProblem ProblemOf(double x, double y, int intervals, int layout, int rule)
{
    LabProblem p;
    p.endX = x;
    p.endY = y;
    p.intervals = intervals;
    p.layout = static_cast<LabLayout>(layout);
    p.rule = static_cast<LabTimeRule>(rule);
    return p;
}

// The run made again from the chord to the step the live run is at (to
// the step it halted at, where one did: the command asked for as many
// stops there too), with the rows the command prints handed to `rows`.
LabRunResult RunAgain(Recorder *recorder, std::string *rows)
{
    recorder->rowEvery = rows ? 1 : 0;
    recorder->row = [rows, recorder](const RunStep &s) {
        *rows += LabRunRow(s.step, s.fallTime, recorder->exactTime(s), s.shown,
                           Lab.problem.intervals, false);
    };
    const long asked = Lab.run.haltedAt ? Lab.run.haltedAt : Lab.run.steps;
    return RecordLabRun(Lab.problem, Lab.setting, Lab.reference.theory.lambdaMax, asked, recorder);
}

std::string MethodWord(int language)
{
    return MethodChartWords(PageWords(language)).method[Lab.setting.method];
}

} // namespace

// Sets the problem: the end (X, Y), the number of intervals, the layout
// (LabLayout) and the time rule (LabTimeRule); finds its references and
// starts the run again from the chord. 0, or -1 for a problem the command
// would refuse (nothing changes).
PAGE_EXPORT(rodadero_lab_problem)
std::int32_t RodaderoLabProblem(double x, double y, int intervals, int layout, int rule)
{
    if (!IsProblem(x, y, intervals, layout, rule))
        return -1;
    Lab.problem = ProblemOf(x, y, intervals, layout, rule);
    Lab.reference = LabReferenceOf(Lab.problem);
    Lab.ready = true;
    Restart();
    return 0;
}

// Sets the run's method (Method, not the program's own), its step ratio
// and its momentum (kept only for heavy ball and Nesterov) and starts the
// run again from the chord. 0, or -1 for a setting the command would
// refuse (nothing changes).
PAGE_EXPORT(rodadero_lab_setting) std::int32_t RodaderoLabSetting(int method, double ratio, double beta)
{
    if (method <= METHOD_PROGRAM || method >= METHOD_COUNT || !(ratio >= LAB_PAGE_RATIO_MIN) ||
        !(ratio <= LAB_PAGE_RATIO_MAX) || !(beta >= 0.0) || !(beta <= LAB_PAGE_BETA_MAX))
        return -1;
    Method m = static_cast<Method>(method);
    Lab.setting = LabSetting{m, ratio, MethodHasBeta(m) ? beta : 0.0};
    if (Lab.ready)
        Restart();
    return 0;
}

// The run again from the chord.
PAGE_EXPORT(rodadero_lab_reset) void RodaderoLabReset()
{
    if (Lab.ready)
        Restart();
}

// One step of the run, kept by the recorder where it keeps it. 1, or 0
// where there is no problem yet, the run has taken LAB_PAGE_STEPS_MAX
// steps, or a step halts it (it stays where it was).
PAGE_EXPORT(rodadero_lab_step) std::int32_t RodaderoLabStep()
{
    if (!Lab.ready || Lab.run.haltedAt || Lab.recorder.stopped || Lab.run.steps >= LAB_PAGE_STEPS_MAX ||
        !StepLabRun(&Lab.run))
        return 0;
    if (RecorderLooksAt(Lab.recorder, Lab.run.steps))
        RecordStep(&Lab.recorder, LabStepNow());
    return 1;
}

// The times now: the polyline's under the rule and exactly, the optimum's,
// the cycloid's, the two shares of the distance, the steps and the step h.
PAGE_EXPORT(rodadero_lab_times) const LabTimes *RodaderoLabTimes()
{
    Times = LabTimes{};
    if (!Lab.ready)
        return &Times;
    Times.now = LabPolylineTime(Lab.run.line, Lab.problem.rule);
    Times.nowExact = LabPolylineTime(Lab.run.line, LAB_EXACT);
    Times.optimum = Lab.reference.optimumTime;
    Times.optimumExact = Lab.reference.optimumExact;
    Times.cycloid = Lab.reference.cycloid.time;
    Times.optimiserShare = Times.now - Times.optimum;
    Times.polylineShare = Times.optimum - Times.cycloid;
    Times.step = Lab.run.h;
    Times.steps = static_cast<std::int32_t>(Lab.run.steps);
    Times.haltedAt = static_cast<std::int32_t>(Lab.run.haltedAt);
    Times.haltedNode = static_cast<std::int32_t>(Lab.run.haltedNode);
    return &Times;
}

// The still picture of the run now (--svg), laid out for `width` CSS
// pixels or for the desktop (0).
PAGE_EXPORT(rodadero_lab_still) const PageText *RodaderoLabStill(int language, int width)
{
    if (!Lab.ready)
        return nullptr;
    return GivePageText(LabStillPicture({Lab.problem, Lab.run.line, Lab.reference.optimum,
                                         Lab.reference.cycloid,
                                         LabPolylineTime(Lab.run.line, Lab.problem.rule),
                                         Lab.reference.optimumTime, Lab.run.steps,
                                         MethodWord(language)},
                                        LabStillWords(PageWords(language)), width));
}

// The convergence chart of the run so far (--plot), laid out for `width`
// CSS pixels or for the desktop (0).
PAGE_EXPORT(rodadero_lab_convergence)
const PageText *RodaderoLabConvergence(int language, int width)
{
    if (!Lab.ready)
        return nullptr;
    std::vector<LabCurvePoint> points;
    for (const RunSample &s : CurveThrough(&Lab.recorder, LabStepNow()))
        points.push_back({s.step, s.fallTime, s.exactS});
    return GivePageText(LabConvergencePicture(Lab.problem, points, Lab.reference.optimumTime,
                                              Lab.reference.cycloid.time, MethodWord(language),
                                              LabConvergenceWords(PageWords(language)), width));
}

// The run's rows, every step from the chord to the one it is at.
PAGE_EXPORT(rodadero_lab_run_csv) const PageText *RodaderoLabRunCsv()
{
    if (!Lab.ready)
        return nullptr;
    std::string rows = LabRunHeader(Lab.problem, false);
    Recorder recorder;
    RunAgain(&recorder, &rows);
    return GivePageText(rows);
}

// The line the command writes after the same run.
PAGE_EXPORT(rodadero_lab_run_line) const PageText *RodaderoLabRunLine()
{
    if (!Lab.ready)
        return nullptr;
    Recorder recorder;
    LabRunResult run = RunAgain(&recorder, nullptr);
    return GivePageText(LabRunLine(Lab.problem, Lab.setting, Lab.run.h, Lab.reference, run));
}

// The optimum's nodes, and the line after them.
PAGE_EXPORT(rodadero_lab_optimum_csv) const PageText *RodaderoLabOptimumCsv()
{
    return Lab.ready ? GivePageText(LabOptimumRows(Lab.reference.optimum)) : nullptr;
}
PAGE_EXPORT(rodadero_lab_optimum_line) const PageText *RodaderoLabOptimumLine()
{
    return Lab.ready ? GivePageText(LabOptimumLine(Lab.problem, Lab.reference)) : nullptr;
}

// The refinement table's numbers of intervals for N: how many, and the
// i-th.
PAGE_EXPORT(rodadero_lab_refinement_count) std::int32_t RodaderoLabRefinementCount(int intervals)
{
    return static_cast<std::int32_t>(LabRefinementIntervals(intervals).size());
}
PAGE_EXPORT(rodadero_lab_refinement_intervals)
std::int32_t RodaderoLabRefinementIntervals(int intervals, int i)
{
    std::vector<long> all = LabRefinementIntervals(intervals);
    return i >= 0 && i < static_cast<int>(all.size()) ? static_cast<std::int32_t>(all[i]) : -1;
}

// A worker's question: the row of n intervals of the refinement table of
// the problem (whose rows up to n are the same for every N from n on).
// The table is made up to n, each width optimum starting from the one
// before as the command's does, so that the row is the command's bit for
// bit; null for a problem the command would refuse.
PAGE_EXPORT(rodadero_lab_refinement_row)
const LabPageRow *RodaderoLabRefinementRow(double x, double y, int n, int layout, int rule)
{
    if (!IsProblem(x, y, n, layout, rule))
        return nullptr;
    const LabRefinementRow r = LabRefinement(ProblemOf(x, y, n, layout, rule)).back();
    const LabTheory &t = r.theory;
    WorkerRow = LabPageRow{r.optimumTime, r.exactTime, r.cycloidTime, t.lambdaMin, t.lambdaMax,
                           t.condition, t.bestStep, t.bestRate,
                           static_cast<double>(t.stepsToMillionth),
                           static_cast<std::int32_t>(r.intervals)};
    return &WorkerRow;
}

// Starts the table of the problem now again, with `rows` rows to come.
PAGE_EXPORT(rodadero_lab_refinement_start) void RodaderoLabRefinementStart(int rows)
{
    RefinementRows.assign(rows > 0 ? rows : 0, LabRefinementRow{});
    RefinementKnown.assign(RefinementRows.size(), 0);
}

// The i-th row, as a worker found it. How many rows from the first are
// known, or -1 for no row of the table (nothing is kept).
PAGE_EXPORT(rodadero_lab_refinement_keep)
std::int32_t RodaderoLabRefinementKeep(int i, int intervals, double optimumTime, double exactTime,
                                       double cycloidTime, double lambdaMin, double lambdaMax,
                                       double condition, double bestStep, double bestRate,
                                       double stepsToMillionth)
{
    if (i < 0 || i >= static_cast<int>(RefinementRows.size()))
        return -1;
    RefinementRows[i] = LabRefinementRow{
        intervals, optimumTime, exactTime, cycloidTime,
        LabTheory{lambdaMin, lambdaMax, condition, bestStep, bestRate,
                  static_cast<long long>(stepsToMillionth)}};
    RefinementKnown[i] = 1;
    std::int32_t known = 0;
    while (known < static_cast<std::int32_t>(RefinementKnown.size()) && RefinementKnown[known])
        ++known;
    return known;
}

namespace {

std::vector<LabRefinementRow> KnownRows()
{
    std::vector<LabRefinementRow> rows;
    for (std::size_t i = 0; i < RefinementRows.size() && RefinementKnown[i]; ++i)
        rows.push_back(RefinementRows[i]);
    return rows;
}

} // namespace

// The table's rows known from the first, its line and its chart.
PAGE_EXPORT(rodadero_lab_refinement_csv) const PageText *RodaderoLabRefinementCsv()
{
    return GivePageText(LabRefinementRows(KnownRows()));
}
PAGE_EXPORT(rodadero_lab_refinement_line) const PageText *RodaderoLabRefinementLine()
{
    return GivePageText(LabRefinementLine(Lab.problem, KnownRows()));
}
PAGE_EXPORT(rodadero_lab_refinement_chart)
const PageText *RodaderoLabRefinementChart(int language, int width)
{
    return GivePageText(LabRefinementPicture(Lab.problem, KnownRows(),
                                             LabRefinementWords(PageWords(language)), width));
}

// The draw mode: a curve drawn on the page, its points written by the
// script into the room this hands out (x then y, a point after the other),
// raced against the cycloid and the straight line through its last point
// as rodadero-trace --race --curve races the curve of a file, played as
// slowly as the command's race.
namespace {

const int CURVE_RACE_SLOW = 10;

std::vector<double> DrawnPoints;
LabPolyline Drawn;

} // namespace

// Room for `points` points (2 to LAB_INTERVALS_MAX + 1): the address of
// 2 x points doubles, or null.
PAGE_EXPORT(rodadero_drawn_room) double *RodaderoDrawnRoom(int points)
{
    if (points < 2 || points > LAB_INTERVALS_MAX + 1)
        return nullptr;
    DrawnPoints.assign(2 * static_cast<std::size_t>(points), 0.0);
    return DrawnPoints.data();
}

// The points written into the room taken as the drawn curve, read back
// from their CSV as the command reads its file: 0, or -1 for no curve the
// command would take (the one drawn before stays).
PAGE_EXPORT(rodadero_drawn_take) std::int32_t RodaderoDrawnTake()
{
    LabPolyline curve;
    for (std::size_t i = 0; i + 1 < DrawnPoints.size(); i += 2) {
        curve.x.push_back(DrawnPoints[i]);
        curve.y.push_back(DrawnPoints[i + 1]);
    }
    LabPolyline read;
    std::string error;
    if (curve.x.size() < 2 || !ReadCurveCsv(CurveCsv(curve), &read, &error))
        return -1;
    Drawn = read;
    return 0;
}

// The drawn curve as the CSV that --curve reads, its race's rows and its
// race.
PAGE_EXPORT(rodadero_drawn_csv) const PageText *RodaderoDrawnCsv()
{
    return Drawn.x.empty() ? nullptr : GivePageText(CurveCsv(Drawn));
}
PAGE_EXPORT(rodadero_drawn_rows) const PageText *RodaderoDrawnRows()
{
    return Drawn.x.empty() ? nullptr : GivePageText(CurveRaceRows(CurveRaceTimesOf(Drawn)));
}
PAGE_EXPORT(rodadero_drawn_race) const PageText *RodaderoDrawnRace(int language, int width)
{
    return Drawn.x.empty() ? nullptr
                           : GivePageText(CurveRacePicture(Drawn, CURVE_RACE_SLOW,
                                                           CurveRaceWords(PageWords(language)),
                                                           width));
}
