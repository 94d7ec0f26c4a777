// The card of the other methods: the map of fates of heavy ball or
// Nesterov, its cells found by the page's workers, each in an instance of
// this module of its own, and kept here as they arrive; and the comparison
// of one cell's method and setting, run live from the chord beside the
// program's own descent, a step of it with every step the window takes.
// Pictures in any language of the catalogs; the numbers as rodadero-trace prints them.
#include "panel.h"

#include "csv.h"
#include "fates.h"
#include "method_charts.h"
#include "method_theory.h"
#include "page_contract.h"
#include "picture_words.h"
#include "recorded_run.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

const int MAP_COLUMNS = METHOD_POS_MAX / MAP_POSITION_EVERY;
const std::vector<double> BETAS = MapBetas();

// The cells the workers have found, by method (heavy ball or Nesterov).
struct MapOfMethod {
    std::vector<Fate> cells;  // column by column, MAP_BETAS a column
    std::vector<char> known;
};
MapOfMethod Maps[2];

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

// A cell of the map: a position 5..200 in fives, and a momentum's index.
bool IsCell(int position, int k)
{
    return position >= MAP_POSITION_EVERY && position <= METHOD_POS_MAX &&
           position % MAP_POSITION_EVERY == 0 && k >= 0 && k < MAP_BETAS;
}

std::size_t CellIndex(int position, int k)
{
    return static_cast<std::size_t>((position / MAP_POSITION_EVERY - 1) * MAP_BETAS + k);
}

MethodSetting CellSetting(int method, int position, int k)
{
    return MethodSetting{static_cast<Method>(method), static_cast<double>(position),
                         BETAS[static_cast<std::size_t>(k)]};
}

std::vector<Fate> KnownCells(const MapOfMethod &map)
{
    std::vector<Fate> cells;
    for (std::size_t i = 0; i < map.cells.size(); ++i)
        if (map.known[i])
            cells.push_back(map.cells[i]);
    return cells;
}

// A curve of the comparison, run live, a step with each of the window's:
// the run and the recorder that keeps its curve. The program's curve is the
// window's own run, of which only the setting is kept here; it starts again
// with the window's.
struct LiveCurve {
    bool running;
    MethodRun run;
    Recorder recorder;
};
LiveCurve Program = {}, Compared = {};

// A comparison's recorder toward the settled polyline.
Recorder TowardSettled()
{
    return ComparisonRecorder(StabilityLimit().settledTime);
}

Fate CellFound;
PageCounts Counted;

} // namespace

void NoteMethodsStep(bool reset, bool stepped, long steps)
{
    // The program's curve starts again empty, and takes its recorder at its
    // first step, when the theory is first needed.
    if (reset) {
        Program.running = false;
        Program.recorder = Recorder();
    }
    if (!stepped)
        return;
    if (!Program.running) {
        Program.running = true;
        Program.recorder = TowardSettled();
    }
    Program.run.setting.position = CurveState.AlphaPos;
    RecordStep(&Program.recorder, WindowStep(steps));
    if (Compared.running && !Compared.recorder.stopped) {
        StepMethod(&Compared.run);
        if (RecorderLooksAt(Compared.recorder, Compared.run.steps))
            RecordStep(&Compared.recorder, StepOfRun(Compared.run));
    }
}

// A worker's question: the fate of a cell within `limit` steps; null for no
// cell of the map or a limit outside 1..CELL_STEP_LIMIT_MAX.
PAGE_EXPORT(rodadero_cell_fate) const Fate *RodaderoCellFate(int method, int position, int k,
                                                             int limit)
{
    if (!MapOf(method) || !IsCell(position, k) || limit < 1 || limit > CELL_STEP_LIMIT_MAX)
        return nullptr;
    CellFound = FateOfCell(CellSetting(method, position, k), limit, &WorkerMemory);
    CellFound.beta = k;
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
    std::size_t i = CellIndex(position, k);
    map->cells[i] = Fate{position, k, cycleFrom, period, lowUs, highUs};
    map->known[i] = 1;
    return static_cast<std::int32_t>(std::count(map->known.begin(), map->known.end(), 1));
}

// A cell's fate as it was kept, or null while it is not known (or for no
// cell of the map).
PAGE_EXPORT(rodadero_map_cell) const Fate *RodaderoMapCell(int method, int position, int k)
{
    MapOfMethod *map = MapOf(method);
    if (!map || !IsCell(position, k) || !map->known[CellIndex(position, k)])
        return nullptr;
    return &map->cells[CellIndex(position, k)];
}

// How many cells of the method's map are known, and of what kind; null for
// no method with a map.
PAGE_EXPORT(rodadero_map_counts) const PageCounts *RodaderoMapCounts(int method)
{
    MapOfMethod *map = MapOf(method);
    if (!map)
        return nullptr;
    Counted = PageCounts{};
    for (const Fate &cell : KnownCells(*map)) {
        ++Counted.known;
        Counted.settles += cell.lowUs == cell.highUs;
        Counted.swings += cell.lowUs != cell.highUs;
        Counted.noCycle += cell.period == 0;
    }
    return &Counted;
}

// The map of the cells known so far, laid out for `width` CSS pixels or
// for the desktop (0).
PAGE_EXPORT(rodadero_map_chart)
const PageText *RodaderoMapChart(int method, int language, int width)
{
    MapOfMethod *map = MapOf(method);
    if (!map)
        return nullptr;
    return GivePageText(MapChart(static_cast<Method>(method), KnownCells(*map), BETAS,
                                 CELL_STEP_LIMIT_DEFAULT, StabilityLimit(),
                                 MethodChartWords(PageWords(language)), width));
}

// The known cells as rodadero-trace --sweep --method prints them.
PAGE_EXPORT(rodadero_map_csv) const PageText *RodaderoMapCsv(int method)
{
    MapOfMethod *map = MapOf(method);
    if (!map)
        return nullptr;
    return GivePageText(MapRows(KnownCells(*map), BETAS));
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
    Compared.recorder = TowardSettled();
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
        MethodCurve{Program.run.setting, CurveThrough(&Program.recorder, WindowStep(programSteps))}};
    if (Compared.running)
        curves.push_back(MethodCurve{Compared.run.setting,
                                     CurveThrough(&Compared.recorder, StepOfRun(Compared.run))});
    return curves;
}

// The comparison's chart: the program's run since its chord, and the cell's
// method since it was started; laid out as the map is.
PAGE_EXPORT(rodadero_compare_chart)
const PageText *RodaderoCompareChart(int language, int steps, int width)
{
    return GivePageText(
        CompareChart(ComparedCurves(steps), MethodChartWords(PageWords(language)), width));
}

// Its rows, as rodadero-trace --compare prints each method's.
PAGE_EXPORT(rodadero_compare_csv) const PageText *RodaderoCompareCsv(int steps)
{
    return GivePageText(CompareRows(ComparedCurves(steps)));
}

// The fastest setting of a method by the theory: position, then beta.
PAGE_EXPORT(rodadero_best_position) double RodaderoBestPosition(int method)
{
    return BestSetting(static_cast<Method>(method), StabilityLimit()).position;
}
PAGE_EXPORT(rodadero_best_beta) double RodaderoBestBeta(int method)
{
    return BestSetting(static_cast<Method>(method), StabilityLimit()).beta;
}
