// The fates of many positions, and of many cells of a method, at once: one
// to a thread at a time.
#include "fates.h"

#include "every_core.h"
#include "method_fates.h"

std::vector<PositionFate> FatesOnEveryCore(int first, int last, long limit)
{
    std::vector<PositionFate> fates(static_cast<std::size_t>(last - first + 1));
    // The low positions take the longest (position 1 some 700,000 steps,
    // position 100 under 7,000), so handing them out in order keeps the
    // threads busy to the end.
    OnEveryCore(first, last, [&](long p) {
        fates[static_cast<std::size_t>(p - first)] = FateOfPosition(static_cast<int>(p), limit);
    });
    return fates;
}

std::vector<CellFate> CellFatesOnEveryCore(const std::vector<MethodSetting> &cells, long limit)
{
    std::vector<CellFate> fates(cells.size());
    OnEveryCore(0, static_cast<long>(cells.size()) - 1, [&](long i) {
        // Each thread keeps its table from one cell to the next.
        thread_local CellMemory memory;
        std::size_t at = static_cast<std::size_t>(i);
        fates[at] = FateOfCell(cells[at], limit, &memory);
    });
    return fates;
}
