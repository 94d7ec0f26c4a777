// The exact fates of runs from the chord (the record in cycle_search.h):
// of the program's descent at each scroll position, the sweep, and of
// heavy ball or Nesterov at each position and momentum, the map. One
// search finds them all (FindCycle), following the run's state bit for
// bit: what a step changes and the next step starts from, the polyline
// shown and beside it NodeX for the program, the abscissae one step before
// for the other methods. Every run ends in an exact cycle.
#ifndef RODADERO_ANALYSIS_FATES_H
#define RODADERO_ANALYSIS_FATES_H

#include "cycle_search.h"
#include "methods.h"

#include <vector>

// The limits of steps a position and a cell are followed for unless told
// otherwise: every position's state comes back well within its limit.
const long FATE_STEP_LIMIT_DEFAULT = 10000000;
const long CELL_STEP_LIMIT_DEFAULT = 100000;
const long CELL_STEP_LIMIT_MAX = 1000000;

// The steps at the end of the limit whose printed times a fate with no
// cycle gives: a position's last, a cell's last 1,000.
const long POSITION_LAST_STEPS = 1;
const long CELL_LAST_STEPS = 1000;

// A run's state as the search follows it: the inner abscissae of the
// polyline shown, then those the next step starts from beside it.
struct MethodState {
    double shown[INNER_LAST - INNER_FIRST + 1];
    double beside[INNER_LAST - INNER_FIRST + 1];
};

// What a search keeps, reused from one run to the next by whoever follows
// many: 1.4 bytes a step until the cycle closes (a state of 304 bytes and
// 8 slots of its table every 256 steps), 1 MB for position 1's 691,302.
typedef Checkpoints<MethodState> FateMemory;

// The fate of the descent at scroll position p within `limit` steps. Leaves
// CurveState alone, so that several positions may be followed at once,
// each on a thread of its own.
Fate FateOfPosition(int position, long limit, FateMemory *memory);

// The fates of positions first..last, in that order, each within `limit`
// steps, worked out on every core of the machine at once (every_core.h;
// not in the WebAssembly build).
std::vector<Fate> FatesOnEveryCore(int first, int last, long limit);

// The fate of the program's descent from the state `record` holds (its
// polyline shown, the abscissae one application ahead and its step factor)
// within `limit` steps: a live run's, wherever it has come from. Its
// cycleFrom counts from that state: 0 when the state is already on its
// cycle. Leaves CurveState and `record` alone.
Fate FateOfRecord(const CurveStateRecord &record, long limit, FateMemory *memory);

// The fate of a method other than the program at a whole position and a
// momentum within `limit` steps; its beta is left 0 for the caller to name.
Fate FateOfCell(const MethodSetting &setting, long limit, FateMemory *memory);

// The map's positions, 5, 10, ..., 200, and momenta, k / 20 for k = 0..19.
const int MAP_POSITION_EVERY = 5;
const int MAP_BETAS = 20;
std::vector<int> MapPositions();
std::vector<double> MapBetas();

// The fates of every cell of `positions` by `betas` for `method`, position
// after position, each momentum in order within a position, each within
// `limit` steps, its beta the momentum's index in `betas`: one after the
// other, or on every core of the machine (not in the WebAssembly build).
std::vector<Fate> MapFates(Method method, const std::vector<int> &positions,
                           const std::vector<double> &betas, long limit);
std::vector<Fate> MapOnEveryCore(Method method, const std::vector<int> &positions,
                                 const std::vector<double> &betas, long limit);

#endif
