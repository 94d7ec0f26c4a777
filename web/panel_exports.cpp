// The panel's entry points: the live convergence curve, the fates chart and
// the race, as SVG text in Spanish, as the program speaks, or in English
// (PAGE_SPANISH, PAGE_ENGLISH); the fate of one scroll position, which the
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
#include "descent_run.h"
#include "fates.h"
#include "fates_chart.h"
#include "kinematics.h"
#include "page_contract.h"
#include "race.h"
#include "stability.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

// The race plays this many times slower than real, as rodadero-trace's.
const int RACE_SLOW = 10;

const ConvergenceText CONVERGENCE_SPANISH = {
    "La bajada desde la cuerda, alfa {} (su valor inicial)",
    "La bajada desde la cuerda en la posicion {} (alfa {})",
    "paso (escala logaritmica)",
    "tiempo de caida (segundos)",
    "el tiempo que imprime la ventana",
    "el tiempo exacto de la misma aproximante",
    "braquistocrona por (1, 0.92): {} s",
};

const FatesChartText FATES_SPANISH = {
    "En que termina la bajada desde la cuerda, posicion por posicion",
    "posicion de la barra (alfa = posicion \xC3\x97 2e-6)",
    "tiempo impreso en el ciclo (millonesimos de segundo)",
    "paso desde el que la bajada se repite (escala logaritmica)",
    "se detiene: la aproximante queda quieta",
    "oscila: tiempo impreso menor y mayor",
    "sin repetirse en {} pasos",
    "limite de la teoria lineal, 2/(299 \xCE\xBB" "max): posicion {}",
    "posicion actual {}",
};

const RaceText RACE_SPANISH = {
    "carrera de la cuerda, la {} y la braquistocrona",
    "cuerda",
    "aproximante tras {} paso",
    "aproximante tras {} pasos",
    "braquistocrona",
    {"primera", "segunda", "tercera"},
    "Juntas desde el reposo en (0, 0), g = 10; a velocidad real.",
    "Juntas desde el reposo en (0, 0), g = 10; {} veces mas lento; tiempos en segundos reales.",
};

const ConvergenceText &ConvergenceIn(int language)
{
    return language == PAGE_ENGLISH ? ConvergenceEnglish() : CONVERGENCE_SPANISH;
}

const FatesChartText &FatesIn(int language)
{
    return language == PAGE_ENGLISH ? FatesChartEnglish() : FATES_SPANISH;
}

const RaceText &RaceIn(int language)
{
    return language == PAGE_ENGLISH ? RaceEnglish() : RACE_SPANISH;
}

// The descent the page runs, from the chord on: its steps, the samples the
// curve keeps and, beside each, the model's fall time, for the CSV rows.
// A tick only copies a sample's polyline: its exact fall time, which takes
// about as long as a step, is found when the panel first asks for it. The
// last `unsolved.size()` samples are still without one.
struct LiveDescent {
    long steps;
    long nextSampled;
    std::vector<ConvergenceSample> samples;
    std::vector<double> fallTimes;
    std::vector<std::array<double, NODE_COUNT>> unsolved;
};

LiveDescent Live = {0, NextSampledStep(0), {}, {}, {}};
PageSample LastDrawn;

// The state the last race was run with.
CurveStateRecord Raced;
long RacedSteps = 0;

// The fates the workers have found, by position.
PositionFate Fates[ALPHA_POS_MAX + 1];
bool FateKnown[ALPHA_POS_MAX + 1];
double LimitPosition = 0.0; // found once, at the first chart

PageFate FateFound;

bool IsPosition(int p)
{
    return p >= ALPHA_POS_MIN && p <= ALPHA_POS_MAX;
}

// The samples so far, each with its exact fall time.
const std::vector<ConvergenceSample> &SolvedSamples()
{
    std::size_t first = Live.samples.size() - Live.unsolved.size();
    for (std::size_t i = 0; i < Live.unsolved.size(); ++i)
        Live.samples[first + i].exactS = ExactPolylineTime(Live.unsolved[i].data());
    Live.unsolved.clear();
    return Live.samples;
}

} // namespace

void NoteWindowEvent(WindowEvent event, bool stepped)
{
    if (event == CURVE_RESET) {
        Live.steps = 0;
        Live.nextSampled = NextSampledStep(0);
        Live.samples.clear();
        Live.fallTimes.clear();
        Live.unsolved.clear();
    }
    if (stepped)
        ++Live.steps;
    NoteMethodsStep(event == CURVE_RESET, stepped, Live.steps);
    if (!stepped)
        return;
    if (Live.steps == Live.nextSampled) {
        Live.samples.push_back(ConvergenceSample{Live.steps, PrintedTime(CurveState.FallTime), 0.0});
        Live.fallTimes.push_back(CurveState.FallTime);
        std::array<double, NODE_COUNT> &shown = Live.unsolved.emplace_back();
        std::copy(CurveState.ShownX, CurveState.ShownX + NODE_COUNT, shown.begin());
        Live.nextSampled = NextSampledStep(Live.steps);
    }
}

// The scroll position the run's curve is named by: 0 while the step factor
// is the starting one, which no position gives.
PAGE_EXPORT(rodadero_run_position) std::int32_t RodaderoRunPosition()
{
    return CurveState.Alpha == ALPHA_START ? 0 : CurveState.AlphaPos;
}

// The curve of the descent so far, with its last step; the starting step
// factor is named as such, any other by its scroll position.
PAGE_EXPORT(rodadero_convergence_picture) const PageText *RodaderoConvergencePicture(int language)
{
    std::vector<ConvergenceSample> samples = SolvedSamples();
    if (Live.steps > 0 && (samples.empty() || samples.back().step != Live.steps))
        samples.push_back(SampleAfterStep(CurveState, Live.steps));
    LastDrawn = PageSample{};
    if (!samples.empty()) {
        LastDrawn.exactS = samples.back().exactS;
        LastDrawn.step = static_cast<std::int32_t>(samples.back().step);
        LastDrawn.printedUs = samples.back().printedUs;
    }
    return GivePageText(ConvergencePicture(samples, CurveState.Alpha, RodaderoRunPosition(),
                                   ConvergenceIn(language)));
}

// The samples of the curve as rodadero-trace's rows, under its header:
// every step the curve keeps, and the last one.
PAGE_EXPORT(rodadero_convergence_csv) const PageText *RodaderoConvergenceCsv()
{
    std::string csv = TraceHeader(false);
    const std::vector<ConvergenceSample> &samples = SolvedSamples();
    for (std::size_t i = 0; i < samples.size(); ++i)
        csv += RunRow(samples[i].step, Live.fallTimes[i], samples[i].exactS);
    if (Live.steps > 0 && (samples.empty() || samples.back().step != Live.steps))
        csv += RunRow(Live.steps, CurveState.FallTime, ExactPolylineTime(CurveState.ShownX));
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
PAGE_EXPORT(rodadero_race_picture) const PageText *RodaderoRacePicture(int language, int anew)
{
    if (anew) {
        Raced = CurveState;
        RacedSteps = Live.steps;
    }
    return GivePageText(RacePicture(Raced, RacedSteps, RACE_SLOW, RaceIn(language)));
}

// How many steps the run has taken since the chord.
PAGE_EXPORT(rodadero_run_steps) std::int32_t RodaderoRunSteps()
{
    return static_cast<std::int32_t>(Live.steps);
}

// A worker's question: position p's fate within `limit` steps, on a record
// of its own; null for a position outside 1..100 or a limit below 1.
PAGE_EXPORT(rodadero_fate_of_position) const PageFate *RodaderoFateOfPosition(int p, int limit)
{
    if (!IsPosition(p) || limit < 1)
        return nullptr;
    PositionFate f = FateOfPosition(p, limit);
    FateFound = {f.position, static_cast<std::int32_t>(f.cycleFrom),
                 static_cast<std::int32_t>(f.period), f.lowUs, f.highUs};
    return &FateFound;
}

// A fate a worker found, kept for the chart. Returns how many positions
// are known, or -1 for a position outside 1..100 (nothing is kept).
PAGE_EXPORT(rodadero_fate_keep)
std::int32_t RodaderoFateKeep(int p, int cycleFrom, int period, int lowUs, int highUs)
{
    if (!IsPosition(p) || cycleFrom < 0 || period < 0)
        return -1;
    Fates[p] = PositionFate{p, cycleFrom, period, lowUs, highUs};
    FateKnown[p] = true;
    std::int32_t known = 0;
    for (int q = ALPHA_POS_MIN; q <= ALPHA_POS_MAX; ++q)
        known += FateKnown[q];
    return known;
}

// The limit of the linear theory as a scroll position.
PAGE_EXPORT(rodadero_stability_position) double RodaderoStabilityPosition()
{
    if (LimitPosition == 0.0)
        LimitPosition = StabilityLimit().positionLimit;
    return LimitPosition;
}

// The chart of the fates known so far, with the scroll position `marked`
// picked out.
PAGE_EXPORT(rodadero_fates_chart) const PageText *RodaderoFatesChart(int marked, int language)
{
    std::vector<PositionFate> known;
    for (int q = ALPHA_POS_MIN; q <= ALPHA_POS_MAX; ++q)
        if (FateKnown[q])
            known.push_back(Fates[q]);
    return GivePageText(FatesChart(known, FATE_STEP_LIMIT_DEFAULT, RodaderoStabilityPosition(),
                           IsPosition(marked) ? marked : 0, FatesIn(language)));
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
