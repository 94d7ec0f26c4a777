// The card of the other methods: the map of fates of heavy ball or
// Nesterov, its cells found by the page's workers, each in an instance of
// this module of its own, and kept here as they arrive; and the comparison
// of one cell's method and setting, run live from the chord beside the
// program's own descent, a step of it with every step the window takes.
// Pictures in Spanish or English; the numbers as rodadero-trace prints them.
#include "panel.h"

#include "convergence.h"
#include "csv.h"
#include "method_charts.h"
#include "method_fates.h"
#include "method_theory.h"
#include "page_contract.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

const MethodChartText METHODS_SPANISH = {
    {"la bajada del programa", "gradiente descendente", "bola pesada", "Nesterov", "Newton"},
    "Cada metodo desde la cuerda: su distancia al tiempo de la aproximante quieta",
    "paso (escala logaritmica)",
    "tiempo de caida menos el de la aproximante quieta (segundos, escala logaritmica)",
    "{}, posicion {}, beta {}",
    "{}, posicion {}",
    "El destino exacto de {} en cada posicion y momento, en {} pasos",
    "posicion P (paso 300 \xC3\x97 alfa(P))",
    "momento beta",
    "se detiene: un tiempo impreso",
    "oscila: tiempos distintos, hasta {} \xC2\xB5s",
    "con borde: sin ciclo en el limite",
    "limite de la teoria lineal",
    "el mas rapido segun la teoria: posicion {}, beta {}",
};

const MethodChartText &TextIn(int language)
{
    return language == PAGE_ENGLISH ? MethodChartEnglish() : METHODS_SPANISH;
}

const int MAP_COLUMNS = METHOD_POS_MAX / MAP_POSITION_EVERY;

// The cells the workers have found, by method (heavy ball or Nesterov).
struct MapOfMethod {
    std::vector<CellFate> cells;  // column by column, MAP_BETAS a column
    std::vector<char> known;
    int count;
};
MapOfMethod Maps[2];
StabilityFigures Figures;
double SettledS;  // the settled polyline's fall time
bool FiguresFound = false;

const StabilityFigures &TheFigures()
{
    if (!FiguresFound) {
        Figures = StabilityLimit();
        SettledS = PolylineFallTime(Figures.settled);
        FiguresFound = true;
    }
    return Figures;
}

// How far a fall time is above the settled polyline's.
double AboveSettled(double t)
{
    TheFigures();
    return t - SettledS;
}

MapOfMethod *MapOf(int method)
{
    MapOfMethod *map = method == METHOD_HEAVY_BALL ? &Maps[0]
                       : method == METHOD_NESTEROV ? &Maps[1]
                                                   : nullptr;
    if (map && map->cells.empty()) {
        map->cells.resize(MAP_COLUMNS * MAP_BETAS);
        map->known.assign(MAP_COLUMNS * MAP_BETAS, 0);
    }
    return map;
}

bool IsCell(int position, int k)
{
    return position >= MAP_POSITION_EVERY && position <= METHOD_POS_MAX &&
           position % MAP_POSITION_EVERY == 0 && k >= 0 && k < MAP_BETAS;
}

MethodSetting CellSetting(int method, int position, int k)
{
    return MethodSetting{static_cast<Method>(method), static_cast<double>(position),
                         static_cast<double>(k) / MAP_BETAS};
}

std::vector<CellFate> KnownCells(const MapOfMethod &map)
{
    std::vector<CellFate> cells;
    for (std::size_t i = 0; i < map.cells.size(); ++i)
        if (map.known[i])
            cells.push_back(map.cells[i]);
    return cells;
}

// The comparison: a method from the chord, a step with each of the
// window's, beside the window's own run, whose curve restarts with it.
struct LiveCurve {
    bool running;
    MethodRun run;
    MethodCurve curve;
    long nextSampled;
};
LiveCurve Compared = {false, {}, {}, 1};
MethodCurve Program;
long ProgramNext = 1;
bool ProgramDone = false;

// A point of a curve at `step` with fall time t, if the curve keeps it;
// false once the curve has reached the settled polyline's time.
void Sample(MethodCurve *curve, long *next, bool *done, long step, double t)
{
    if (*done || step != *next)
        return;
    *next = NextSampledStep(step);
    if (!std::isfinite(t)) {  // run away: the curve ends where it was finite
        *done = true;
        return;
    }
    double distance = AboveSettled(t);
    curve->points.push_back(ComparePoint{step, t, distance});
    *done = distance <= 0.0;
}

bool ComparedDone = false;

// The curve with its last step, as rodadero-trace keeps it for --steps N.
MethodCurve WithLast(const MethodCurve &curve, long steps, double t, bool done)
{
    MethodCurve c = curve;
    if (!done && std::isfinite(t) && steps > 0 && (c.points.empty() || c.points.back().step != steps))
        c.points.push_back(ComparePoint{steps, t, AboveSettled(t)});
    return c;
}

PageCell CellFound;
CellMemory Memory;

} // namespace

void NoteMethodsStep(bool reset, bool stepped, long steps)
{
    if (reset) {
        Program = MethodCurve{MethodSetting{METHOD_PROGRAM, 0.0, 0.0}, {}};
        ProgramNext = NextSampledStep(0);
        ProgramDone = false;
    }
    if (!stepped)
        return;
    Program.setting.position = CurveState.AlphaPos;
    Sample(&Program, &ProgramNext, &ProgramDone, steps,
           CurveState.FallTime);
    if (Compared.running && !ComparedDone) {
        StepMethod(&Compared.run);
        Sample(&Compared.curve, &Compared.nextSampled, &ComparedDone, Compared.run.steps,
               MethodFallTime(Compared.run));
    }
}

// A worker's question: the fate of a cell within `limit` steps; null for no
// cell of the map or a limit outside 1..CELL_STEP_LIMIT_MAX.
PAGE_EXPORT(rodadero_cell_fate) const PageCell *RodaderoCellFate(int method, int position, int k,
                                                                 int limit)
{
    if (!MapOf(method) || !IsCell(position, k) || limit < 1 || limit > CELL_STEP_LIMIT_MAX)
        return nullptr;
    CellFate f = FateOfCell(CellSetting(method, position, k), limit, &Memory);
    CellFound = {position, k, static_cast<std::int32_t>(f.cycleFrom),
                 static_cast<std::int32_t>(f.period), f.lowUs, f.highUs};
    return &CellFound;
}

// A cell a worker found, kept for the map. Returns how many cells of the
// method are known, or -1 for no cell of the map (nothing is kept).
PAGE_EXPORT(rodadero_cell_keep)
std::int32_t RodaderoCellKeep(int method, int position, int k, int cycleFrom, int period,
                              int lowUs, int highUs)
{
    MapOfMethod *map = MapOf(method);
    if (!map || !IsCell(position, k) || cycleFrom < 0 || period < 0)
        return -1;
    std::size_t i = static_cast<std::size_t>((position / MAP_POSITION_EVERY - 1) * MAP_BETAS + k);
    map->cells[i] = CellFate{CellSetting(method, position, k), cycleFrom, period, lowUs, highUs};
    if (!map->known[i])
        ++map->count;
    map->known[i] = 1;
    return map->count;
}

// The map of the cells known so far.
PAGE_EXPORT(rodadero_map_chart) const PageText *RodaderoMapChart(int method, int language)
{
    MapOfMethod *map = MapOf(method);
    if (!map)
        return nullptr;
    return GivePageText(MapChart(static_cast<Method>(method), KnownCells(*map), CELL_STEP_LIMIT_DEFAULT,
                         TheFigures(), TextIn(language)));
}

// The known cells as rodadero-trace --sweep --method prints them.
PAGE_EXPORT(rodadero_map_csv) const PageText *RodaderoMapCsv(int method)
{
    MapOfMethod *map = MapOf(method);
    if (!map)
        return nullptr;
    std::string csv = MapHeader();
    for (const CellFate &cell : KnownCells(*map))
        csv += MapRowText(cell);
    return GivePageText(std::move(csv));
}

// Starts the comparison of a cell's method and setting from the chord; 0,
// or -1 for no cell of the map (the comparison shown stays).
PAGE_EXPORT(rodadero_compare_start) std::int32_t RodaderoCompareStart(int method, int position,
                                                                      int k)
{
    if (!MapOf(method) || !IsCell(position, k))
        return -1;
    Compared.running = true;
    StartMethod(&Compared.run, CellSetting(method, position, k));
    Compared.curve = MethodCurve{Compared.run.setting, {}};
    Compared.nextSampled = NextSampledStep(0);
    ComparedDone = false;
    return 0;
}

// The steps the compared method has taken (0: none started).
PAGE_EXPORT(rodadero_compare_steps) std::int32_t RodaderoCompareSteps()
{
    return Compared.running ? static_cast<std::int32_t>(Compared.run.steps) : 0;
}

std::vector<MethodCurve> ComparedCurves(long programSteps)
{
    std::vector<MethodCurve> curves = {
        WithLast(Program, programSteps, CurveState.FallTime, ProgramDone)};
    if (Compared.running)
        curves.push_back(WithLast(Compared.curve, Compared.run.steps,
                                  MethodFallTime(Compared.run), ComparedDone));
    return curves;
}

// The comparison's chart: the program's run since its chord, and the cell's
// method since it was started.
PAGE_EXPORT(rodadero_compare_chart) const PageText *RodaderoCompareChart(int language, int steps)
{
    return GivePageText(CompareChart(ComparedCurves(steps), TextIn(language)));
}

// Its rows, as rodadero-trace --compare prints each method's.
PAGE_EXPORT(rodadero_compare_csv) const PageText *RodaderoCompareCsv(int steps)
{
    std::string csv = CompareHeader();
    for (const MethodCurve &c : ComparedCurves(steps))
        for (const ComparePoint &p : c.points)
            csv += CompareRowText(c.setting, p.step, p.fallTime, p.distance);
    return GivePageText(std::move(csv));
}

// The fastest setting of a method by the theory: position, then beta.
PAGE_EXPORT(rodadero_best_position) double RodaderoBestPosition(int method)
{
    return BestSetting(static_cast<Method>(method), TheFigures()).position;
}
PAGE_EXPORT(rodadero_best_beta) double RodaderoBestBeta(int method)
{
    return BestSetting(static_cast<Method>(method), TheFigures()).beta;
}
