// The exact fate of a method at a setting, from the chord: where its state
// (x and the step before it, bit for bit) first comes back, and what the
// window would print from there on; and the map of such fates over the
// positions and momenta of heavy ball or Nesterov.
//
// Every CHECKPOINT_EVERY steps the state is kept whole, and each state the
// run comes to is looked for among those kept, through a small table of
// their keys. Where the run goes round a cycle, it so comes back to a kept
// state within CHECKPOINT_EVERY steps of entering the cycle plus one
// period; that kept state is the first on the cycle, and the one kept
// before it is not, so the cycle begins between the two, where a copy of
// the run from the earlier one meets a copy a period ahead. A run with no
// cycle within its limit costs the limit and 2 x CHECKPOINT_EVERY steps.
#ifndef RODADERO_ANALYSIS_METHOD_FATES_H
#define RODADERO_ANALYSIS_METHOD_FATES_H

#include "methods.h"

#include <cstdint>
#include <vector>

// As a position's fate (fates.h): the state after step cycleFrom comes back
// after `period` steps, lowUs and highUs the lowest and highest printed
// time over steps cycleFrom + 1 .. cycleFrom + period. period 0: no state
// came back within the limit, and lowUs, highUs are the lowest and highest
// printed time over the limit's last 1,000 steps.
struct CellFate {
    MethodSetting setting;
    long cycleFrom;
    long period;
    std::int32_t lowUs;
    std::int32_t highUs;
};

const long CELL_STEP_LIMIT_DEFAULT = 100000;
const long CELL_STEP_LIMIT_MAX = 1000000;
const long CELL_LAST_STEPS = 1000;
const long CHECKPOINT_EVERY = 256;

// What a search keeps, reused from one cell to the next by whoever follows
// many cells.
struct CellMemory {
    struct Entry {
        std::uint32_t key;
        std::int32_t checkpoint;  // -1: empty
    };
    std::vector<Entry> table;
    std::vector<double> checkpoints;  // 2 x 19 doubles each
};

// The fate of a method other than the program within `limit` steps.
CellFate FateOfCell(const MethodSetting &setting, long limit, CellMemory *memory);

// The map's positions, 5, 10, ..., 200, and momenta, k / 20 for k = 0..19.
const int MAP_POSITION_EVERY = 5;
const int MAP_BETAS = 20;
std::vector<double> MapPositions();
std::vector<double> MapBetas();

// Every cell of `positions` by `betas` for `method`, position after
// position, each momentum in order within a position.
std::vector<MethodSetting> MapSettings(Method method, const std::vector<double> &positions,
                                       const std::vector<double> &betas);

// Their fates one after the other (the page's workers each take some).
std::vector<CellFate> MapCells(const std::vector<MethodSetting> &cells, long limit);

// The same on every core of the machine (every_core.h; not in the
// WebAssembly build).
std::vector<CellFate> CellFatesOnEveryCore(const std::vector<MethodSetting> &cells, long limit);

#endif
