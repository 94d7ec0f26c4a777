// The panel's entry points: the live convergence curve, the fates chart and
// the race, as SVG text in any language of the catalogs (its index in the
// contract's languages); the fate of one scroll position, which the
// page's sweep workers ask of their own instances of this module; and the
// numbers the panel hands out as files, as CSV text with rodadero-trace's
// rows: the run's samples and the sweep.
//
// A text is handed out as the address of a PageText (page_contract.h),
// valid until the next text is asked for.
#include "panel.h"

#include "convergence.h"
#include "csv.h"
#include "curve_state.h"
#include "fates.h"
#include "fates_chart.h"
#include "page_contract.h"
#include "race.h"
#include "picture_words.h"
#include "recorded_run.h"
#include "stability.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

// The race plays this many times slower than real, as rodadero-trace's.
const int RACE_SLOW = 10;

// The descent the page runs, from the chord on, as the panel's curve keeps
// it: the recorder counts the window's steps. A tick only copies a
// sample's polyline: its exact fall time, which takes about as long as a
// step, is found when the panel first asks for the curve.
Recorder Live = ConvergenceRecorder();
PageSample LastDrawn;

// The run the last race was of.
RunResult Raced = {};

// The fates the workers have found, by position.
Fate Fates[ALPHA_POS_MAX + 1];
bool FateKnown[ALPHA_POS_MAX + 1];

Fate FateFound;
PageCounts Counted;

bool IsPosition(int p)
{
    return p >= ALPHA_POS_MIN && p <= ALPHA_POS_MAX;
}

// The curve so far, with its last step.
std::vector<RunSample> LiveCurve()
{
    return CurveThrough(&Live, WindowStep(Live.steps));
}

} // namespace

FateMemory WorkerMemory;

RunStep WindowStep(long step)
{
    return RunStep{step, CurveState.FallTime, CurveState.ShownX, NODE_COUNT};
}

void NoteWindowEvent(WindowEvent event, bool stepped)
{
    if (event == CURVE_RESET)
        Live = ConvergenceRecorder();
    if (stepped)
        RecordStep(&Live, WindowStep(Live.steps + 1));
    NoteMethodsStep(event == CURVE_RESET, stepped, Live.steps);
}

// The scroll position the run's curve is named by: 0 while the step factor
// is the starting one, which no position gives.
PAGE_EXPORT(rodadero_run_position) std::int32_t RodaderoRunPosition()
{
    return CurveState.Alpha == ALPHA_START ? 0 : CurveState.AlphaPos;
}

// The curve of the descent so far, with its last step; the starting step
// factor is named as such, any other by its scroll position. Laid out for
// `width` CSS pixels, or for the desktop (0), as every picture of the
// panel is.
PAGE_EXPORT(rodadero_convergence_picture)
const PageText *RodaderoConvergencePicture(int language, int width)
{
    std::vector<RunSample> samples = LiveCurve();
    LastDrawn = PageSample{};
    if (!samples.empty()) {
        LastDrawn.exactS = samples.back().exactS;
        LastDrawn.step = static_cast<std::int32_t>(samples.back().step);
        LastDrawn.printedUs = PrintedTime(samples.back().fallTime);
    }
    return GivePageText(ConvergencePicture(samples, CurveState.Alpha, RodaderoRunPosition(),
                                           ConvergenceWords(PageWords(language)), width));
}

// The samples of the curve as rodadero-trace's rows, under its header:
// every step the curve keeps, and the last one.
PAGE_EXPORT(rodadero_convergence_csv) const PageText *RodaderoConvergenceCsv()
{
    std::string csv = TraceHeader(false);
    for (const RunSample &s : LiveCurve())
        csv += RunRow(s.step, s.fallTime, s.exactS);
    return GivePageText(std::move(csv));
}

// The last sample of the curve last drawn (step 0: none yet).
PAGE_EXPORT(rodadero_convergence_last) const PageSample *RodaderoConvergenceLast()
{
    return &LastDrawn;
}

// The race of the current polyline against the chord and the
// brachistochrone (`anew`), or of the polyline raced last, in another
// language.
PAGE_EXPORT(rodadero_race_picture)
const PageText *RodaderoRacePicture(int language, int anew, int width)
{
    if (anew || Raced.shown.empty())
        Raced = ResultOfRecord(CurveState, Live.steps);
    return GivePageText(RacePicture(Raced, RACE_SLOW, RaceWords(PageWords(language)), width));
}

// How many steps the run has taken since the chord.
PAGE_EXPORT(rodadero_run_steps) std::int32_t RodaderoRunSteps()
{
    return static_cast<std::int32_t>(Live.steps);
}

// A worker's question: position p's fate within `limit` steps, on a record
// of its own; null for a position outside 1..100 or a limit below 1.
PAGE_EXPORT(rodadero_fate_of_position) const Fate *RodaderoFateOfPosition(int p, int limit)
{
    if (!IsPosition(p) || limit < 1)
        return nullptr;
    FateFound = FateOfPosition(p, limit, &WorkerMemory);
    return &FateFound;
}

// A fate a worker found, kept for the chart. Returns how many positions
// are known, or -1 for a position outside 1..100 (nothing is kept).
PAGE_EXPORT(rodadero_fate_keep)
std::int32_t RodaderoFateKeep(int p, int cycleFrom, int period, int lowUs, int highUs)
{
    if (!IsPosition(p) || cycleFrom < 0 || period < 0)
        return -1;
    Fates[p] = Fate{p, 0, cycleFrom, period, lowUs, highUs};
    FateKnown[p] = true;
    std::int32_t known = 0;
    for (int q = ALPHA_POS_MIN; q <= ALPHA_POS_MAX; ++q)
        known += FateKnown[q];
    return known;
}

// A position's fate as it was kept, or null while it is not known.
PAGE_EXPORT(rodadero_fate_kept) const Fate *RodaderoFateKept(int p)
{
    return IsPosition(p) && FateKnown[p] ? &Fates[p] : nullptr;
}

// How many positions' fates are known, and of what kind.
PAGE_EXPORT(rodadero_fate_counts) const PageCounts *RodaderoFateCounts()
{
    Counted = PageCounts{};
    for (int q = ALPHA_POS_MIN; q <= ALPHA_POS_MAX; ++q) {
        if (!FateKnown[q])
            continue;
        ++Counted.known;
        Counted.settles += Fates[q].period == 1;
        Counted.swings += Fates[q].period >= 2;
        Counted.noCycle += Fates[q].period == 0;
    }
    return &Counted;
}

// The limit of the linear theory as a scroll position.
PAGE_EXPORT(rodadero_stability_position) double RodaderoStabilityPosition()
{
    return StabilityLimit().positionLimit;
}

// The chart of the fates known so far, with the scroll position `marked`
// picked out.
PAGE_EXPORT(rodadero_fates_chart)
const PageText *RodaderoFatesChart(int marked, int language, int width)
{
    std::vector<Fate> known;
    for (int q = ALPHA_POS_MIN; q <= ALPHA_POS_MAX; ++q)
        if (FateKnown[q])
            known.push_back(Fates[q]);
    return GivePageText(FatesChart(known, FATE_STEP_LIMIT_DEFAULT, RodaderoStabilityPosition(),
                                   IsPosition(marked) ? marked : 0,
                                   FatesChartWords(PageWords(language)), width));
}

// The sweep as rodadero-trace --sweep prints it, once every position's
// fate is known; null before.
PAGE_EXPORT(rodadero_sweep_csv) const PageText *RodaderoSweepCsv()
{
    std::string csv = SweepHeader();
    for (int q = ALPHA_POS_MIN; q <= ALPHA_POS_MAX; ++q) {
        if (!FateKnown[q])
            return nullptr;
        csv += SweepRowText(Fates[q]);
    }
    return GivePageText(std::move(csv));
}
