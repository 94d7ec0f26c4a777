// The fates of many positions, and of many cells of a method, at once: one
// to a thread at a time, each thread keeping its search's memory from one
// to the next.
#include "fates.h"

#include "every_core.h"

std::vector<Fate> FatesOnEveryCore(int first, int last, long limit)
{
    std::vector<Fate> fates(static_cast<std::size_t>(last - first + 1));
    // The low positions take the longest (position 1 some 700,000 steps,
    // position 100 under 7,000), so handing them out in order keeps the
    // threads busy to the end.
    OnEveryCore(first, last, [&](long p) {
        thread_local FateMemory memory;
        fates[static_cast<std::size_t>(p - first)] =
            FateOfPosition(static_cast<int>(p), limit, &memory);
    });
    return fates;
}

std::vector<Fate> MapOnEveryCore(Method method, const std::vector<int> &positions,
                                 const std::vector<double> &betas, long limit)
{
    const long count = static_cast<long>(positions.size() * betas.size());
    std::vector<Fate> fates(static_cast<std::size_t>(count));
    OnEveryCore(0, count - 1, [&](long i) {
        thread_local FateMemory memory;
        std::size_t at = static_cast<std::size_t>(i);
        std::size_t k = at % betas.size();
        MethodSetting s = {method, static_cast<double>(positions[at / betas.size()]), betas[k]};
        fates[at] = FateOfCell(s, limit, &memory);
        fates[at].beta = static_cast<std::int32_t>(k);
    });
    return fates;
}
