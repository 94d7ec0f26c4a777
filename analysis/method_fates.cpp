// The fates of the methods' cells.
#include "method_fates.h"

#include <algorithm>
#include <cstring>

namespace {

const int INNER = INNER_LAST - INNER_FIRST + 1;
const int STATE_DOUBLES = 2 * INNER;
const std::size_t TABLE_FIRST = 1 << 12;

void SaveState(const MethodRun &run, double *to)
{
    std::memcpy(to, &run.x[INNER_FIRST], INNER * sizeof(double));
    std::memcpy(to + INNER, &run.previous[INNER_FIRST], INNER * sizeof(double));
}

void LoadState(MethodRun *run, const double *from)
{
    std::memcpy(&run->x[INNER_FIRST], from, INNER * sizeof(double));
    std::memcpy(&run->previous[INNER_FIRST], from + INNER, INNER * sizeof(double));
}

bool SameState(const MethodRun &a, const MethodRun &b)
{
    return std::memcmp(&a.x[INNER_FIRST], &b.x[INNER_FIRST], INNER * sizeof(double)) == 0 &&
           std::memcmp(&a.previous[INNER_FIRST], &b.previous[INNER_FIRST],
                       INNER * sizeof(double)) == 0;
}

// A key of the state's bits: each double's bits folded in by a multiply,
// then mixed so that the low bits depend on all of them.
std::uint64_t KeyOf(const MethodRun &run)
{
    std::uint64_t key = 0x243f6a8885a308d3u;
    for (int i = INNER_FIRST; i <= INNER_LAST; ++i) {
        std::uint64_t a, b;
        std::memcpy(&a, &run.x[i], sizeof a);
        std::memcpy(&b, &run.previous[i], sizeof b);
        key = (key ^ a) * 0x9e3779b97f4a7c15u;
        key = (key ^ b) * 0xc2b2ae3d27d4eb4fu;
    }
    key ^= key >> 31;
    key *= 0xbf58476d1ce4e5b9u;
    return key ^ (key >> 29);
}

void StartTable(CellMemory *m)
{
    if (m->table.empty())
        m->table.assign(TABLE_FIRST, CellMemory::Entry{0, 0, 0});
    ++m->generation;
    if (m->generation == 0) {  // wrapped round: every entry is old
        std::fill(m->table.begin(), m->table.end(), CellMemory::Entry{0, 0, 0});
        m->generation = 1;
    }
    m->used = 0;
    m->checkpoints.clear();
}

void Insert(CellMemory *m, std::uint64_t key, std::uint32_t step);

void Grow(CellMemory *m)
{
    std::vector<CellMemory::Entry> old;
    old.swap(m->table);
    m->table.assign(2 * old.size(), CellMemory::Entry{0, 0, 0});
    m->used = 0;
    for (const CellMemory::Entry &e : old)
        if (e.generation == m->generation)
            Insert(m, e.key, e.step);
}

void Insert(CellMemory *m, std::uint64_t key, std::uint32_t step)
{
    if (2 * (m->used + 1) > m->table.size())
        Grow(m);
    std::size_t mask = m->table.size() - 1;
    for (std::size_t i = key & mask;; i = (i + 1) & mask) {
        CellMemory::Entry &e = m->table[i];
        if (e.generation != m->generation) {
            e = CellMemory::Entry{key, step, m->generation};
            ++m->used;
            return;
        }
    }
}

// The step at which the state now in `run` was first held, or -1.
long EarlierStep(const MethodRun &run, std::uint64_t key, const CellMemory &m)
{
    std::size_t mask = m.table.size() - 1;
    for (std::size_t i = key & mask;; i = (i + 1) & mask) {
        const CellMemory::Entry &e = m.table[i];
        if (e.generation != m.generation)
            return -1;
        if (e.key != key)
            continue;
        long checkpoint = static_cast<long>(e.step) / CHECKPOINT_EVERY;
        MethodRun replay = run;
        LoadState(&replay, &m.checkpoints[static_cast<std::size_t>(checkpoint) * STATE_DOUBLES]);
        for (long n = checkpoint * CHECKPOINT_EVERY; n < static_cast<long>(e.step); ++n)
            StepMethod(&replay);
        if (SameState(replay, run))
            return e.step;
    }
}

std::int32_t Printed(const MethodRun &run)
{
    return PrintedTime(MethodFallTime(run));
}

void Widen(std::int32_t shown, bool first, CellFate *fate)
{
    fate->lowUs = first ? shown : std::min(fate->lowUs, shown);
    fate->highUs = first ? shown : std::max(fate->highUs, shown);
}

} // namespace

CellFate FateOfCell(const MethodSetting &setting, long limit, CellMemory *memory)
{
    CellFate fate = {setting, 0, 0, 0, 0};
    MethodRun run;
    StartMethod(&run, setting);
    StartTable(memory);
    const long lastFrom = std::max(1L, limit - CELL_LAST_STEPS + 1);
    if (limit == 0)
        Widen(Printed(run), true, &fate);
    for (long n = 0; n <= limit; ++n) {
        if (n > 0)
            StepMethod(&run);
        if (n % CHECKPOINT_EVERY == 0) {
            memory->checkpoints.resize(memory->checkpoints.size() + STATE_DOUBLES);
            SaveState(run, &memory->checkpoints[memory->checkpoints.size() - STATE_DOUBLES]);
        }
        std::uint64_t key = KeyOf(run);
        long earlier = n == 0 ? -1 : EarlierStep(run, key, *memory);
        if (earlier >= 0) {
            fate.cycleFrom = earlier;
            fate.period = n - earlier;
            // Once more round the cycle: the states after steps
            // cycleFrom + 1 .. cycleFrom + period.
            for (long k = 1; k <= fate.period; ++k) {
                StepMethod(&run);
                Widen(Printed(run), k == 1, &fate);
            }
            return fate;
        }
        Insert(memory, key, static_cast<std::uint32_t>(n));
        if (n >= lastFrom)
            Widen(Printed(run), n == lastFrom, &fate);
    }
    return fate;
}

std::vector<double> MapPositions()
{
    std::vector<double> positions;
    for (int p = 5; p <= METHOD_POS_MAX; p += 5)
        positions.push_back(p);
    return positions;
}

std::vector<double> MapBetas()
{
    std::vector<double> betas;
    for (int k = 0; k < 20; ++k)
        betas.push_back(k / 20.0);
    return betas;
}

std::vector<MethodSetting> MapSettings(Method method, const std::vector<double> &positions,
                                       const std::vector<double> &betas)
{
    std::vector<MethodSetting> cells;
    for (double p : positions)
        for (double b : betas)
            cells.push_back(MethodSetting{method, p, b});
    return cells;
}

std::vector<CellFate> MapCells(const std::vector<MethodSetting> &cells, long limit)
{
    CellMemory memory;
    std::vector<CellFate> fates;
    for (const MethodSetting &s : cells)
        fates.push_back(FateOfCell(s, limit, &memory));
    return fates;
}
