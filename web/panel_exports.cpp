// The panel's entry points: the live convergence curve, the fates chart and
// the race, as SVG text in Spanish, as the program speaks; and the fate of
// one scroll position, which the page's sweep workers ask of their own
// instances of this module.
//
// A text is handed out as the address of a PageText (page_contract.h),
// valid until the next text is asked for.
#include "panel.h"

#include "convergence.h"
#include "curve_state.h"
#include "descent_run.h"
#include "fates.h"
#include "fates_chart.h"
#include "page_contract.h"
#include "race.h"
#include "stability.h"

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

// The descent the page runs, from the chord on: its steps and the samples
// the curve keeps.
struct LiveDescent {
    long steps;
    long nextSampled;
    std::vector<ConvergenceSample> samples;
};

LiveDescent Live = {0, NextSampledStep(0), {}};
PageSample LastDrawn;

// The fates the workers have found, by position.
PositionFate Fates[ALPHA_POS_MAX + 1];
bool FateKnown[ALPHA_POS_MAX + 1];
double LimitPosition = 0.0; // found once, at the first chart

std::string Text;
PageText Given;
PageFate FateFound;

const PageText *Give(std::string text)
{
    Text = std::move(text);
    Given.bytes = Text.data();
    Given.size = static_cast<std::int32_t>(Text.size());
    return &Given;
}

bool IsPosition(int p)
{
    return p >= ALPHA_POS_MIN && p <= ALPHA_POS_MAX;
}

} // namespace

void NoteWindowEvent(WindowEvent event, bool stepped)
{
    if (event == CURVE_RESET) {
        Live.steps = 0;
        Live.nextSampled = NextSampledStep(0);
        Live.samples.clear();
    }
    if (!stepped)
        return;
    ++Live.steps;
    if (Live.steps == Live.nextSampled) {
        Live.samples.push_back(SampleAfterStep(CurveState, Live.steps));
        Live.nextSampled = NextSampledStep(Live.steps);
    }
}

// The curve of the descent so far, with its last step; the starting step
// factor is named as such, any other by its scroll position.
PAGE_EXPORT(rodadero_convergence_picture) const PageText *RodaderoConvergencePicture()
{
    std::vector<ConvergenceSample> samples = Live.samples;
    if (Live.steps > 0 && (samples.empty() || samples.back().step != Live.steps))
        samples.push_back(SampleAfterStep(CurveState, Live.steps));
    LastDrawn = PageSample{};
    if (!samples.empty()) {
        LastDrawn.exactS = samples.back().exactS;
        LastDrawn.step = static_cast<std::int32_t>(samples.back().step);
        LastDrawn.printedUs = samples.back().printedUs;
    }
    int position = CurveState.Alpha == ALPHA_START ? 0 : CurveState.AlphaPos;
    return Give(ConvergencePicture(samples, CurveState.Alpha, position, CONVERGENCE_SPANISH));
}

// The last sample of the curve last drawn (step 0: none yet).
PAGE_EXPORT(rodadero_convergence_last) const PageSample *RodaderoConvergenceLast()
{
    return &LastDrawn;
}

// The race of the current polyline against the chord and the
// brachistochrone.
PAGE_EXPORT(rodadero_race_picture) const PageText *RodaderoRacePicture()
{
    return Give(RacePicture(CurveState, Live.steps, RACE_SLOW, RACE_SPANISH));
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
PAGE_EXPORT(rodadero_fates_chart) const PageText *RodaderoFatesChart(int marked)
{
    std::vector<PositionFate> known;
    for (int q = ALPHA_POS_MIN; q <= ALPHA_POS_MAX; ++q)
        if (FateKnown[q])
            known.push_back(Fates[q]);
    return Give(FatesChart(known, FATE_STEP_LIMIT_DEFAULT, RodaderoStabilityPosition(),
                           IsPosition(marked) ? marked : 0, FATES_SPANISH));
}
