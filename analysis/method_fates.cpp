// The fates of the methods' cells.
#include "method_fates.h"

#include <algorithm>
#include <cstring>

namespace {

const int INNER = INNER_LAST - INNER_FIRST + 1;
const int STATE_DOUBLES = 2 * INNER;

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

// A key of the state, from a few of its doubles: enough to tell most
// states apart, checked whole where two agree.
std::uint32_t KeyOf(const MethodRun &run)
{
    std::uint64_t a, b, c;
    std::memcpy(&a, &run.x[10], sizeof a);
    std::memcpy(&b, &run.previous[10], sizeof b);
    std::memcpy(&c, &run.x[3], sizeof c);
    std::uint64_t key = ((a * 0x9e3779b97f4a7c15u) ^ b) * 0xc2b2ae3d27d4eb4fu ^ c;
    key ^= key >> 29;
    key *= 0xbf58476d1ce4e5b9u;
    return static_cast<std::uint32_t>(key >> 32);
}

const double *Checkpoint(const CellMemory &m, long j)
{
    return &m.checkpoints[static_cast<std::size_t>(j) * STATE_DOUBLES];
}

bool Holds(const MethodRun &run, const double *state)
{
    return std::memcmp(&run.x[INNER_FIRST], state, INNER * sizeof(double)) == 0 &&
           std::memcmp(&run.previous[INNER_FIRST], state + INNER, INNER * sizeof(double)) == 0;
}

void StartMemory(CellMemory *m, long limit)
{
    std::size_t kept = static_cast<std::size_t>(limit / CHECKPOINT_EVERY + 3);
    std::size_t size = 16;
    while (size < 2 * kept)
        size *= 2;
    m->table.assign(size, CellMemory::Entry{0, -1});
    m->checkpoints.clear();
}

void Keep(CellMemory *m, const MethodRun &run, std::uint32_t key)
{
    long j = static_cast<long>(m->checkpoints.size() / STATE_DOUBLES);
    m->checkpoints.resize(m->checkpoints.size() + STATE_DOUBLES);
    SaveState(run, &m->checkpoints[m->checkpoints.size() - STATE_DOUBLES]);
    std::size_t mask = m->table.size() - 1;
    std::size_t i = key & mask;
    while (m->table[i].checkpoint >= 0)
        i = (i + 1) & mask;
    m->table[i] = CellMemory::Entry{key, static_cast<std::int32_t>(j)};
}

// The kept state the run now holds, or -1.
long KeptHeld(const MethodRun &run, std::uint32_t key, const CellMemory &m)
{
    std::size_t mask = m.table.size() - 1;
    for (std::size_t i = key & mask; m.table[i].checkpoint >= 0; i = (i + 1) & mask)
        if (m.table[i].key == key && Holds(run, Checkpoint(m, m.table[i].checkpoint)))
            return m.table[i].checkpoint;
    return -1;
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
    StartMemory(memory, limit);
    const long lastFrom = std::max(1L, limit - CELL_LAST_STEPS + 1);
    if (limit == 0)
        Widen(Printed(run), true, &fate);
    // A cycle that closes within the limit is seen by then.
    const long end = limit + 2 * CHECKPOINT_EVERY;
    for (long n = 0; n <= end; ++n) {
        if (n > 0)
            StepMethod(&run);
        std::uint32_t key = KeyOf(run);
        long kept = n == 0 ? -1 : KeptHeld(run, key, *memory);
        if (kept >= 0) {
            long period = n - kept * CHECKPOINT_EVERY;
            // The cycle begins after the kept state before: a copy from
            // there and a copy a period ahead meet where it begins.
            long before = kept > 0 ? kept - 1 : 0;
            long from = before * CHECKPOINT_EVERY;
            MethodRun behind = run, ahead;
            LoadState(&behind, Checkpoint(*memory, before));
            ahead = behind;
            for (long k = 0; k < period; ++k)
                StepMethod(&ahead);
            while (!SameState(behind, ahead)) {
                StepMethod(&behind);
                StepMethod(&ahead);
                ++from;
            }
            if (from + period > limit)
                return fate;
            fate.cycleFrom = from;
            fate.period = period;
            for (long k = 1; k <= period; ++k) {
                StepMethod(&behind);
                Widen(Printed(behind), k == 1, &fate);
            }
            return fate;
        }
        if (n % CHECKPOINT_EVERY == 0 && n <= limit + CHECKPOINT_EVERY)
            Keep(memory, run, key);
        if (n >= lastFrom && n <= limit)
            Widen(Printed(run), n == lastFrom, &fate);
    }
    return fate;
}

std::vector<double> MapPositions()
{
    std::vector<double> positions;
    for (int p = MAP_POSITION_EVERY; p <= METHOD_POS_MAX; p += MAP_POSITION_EVERY)
        positions.push_back(p);
    return positions;
}

std::vector<double> MapBetas()
{
    std::vector<double> betas;
    for (int k = 0; k < MAP_BETAS; ++k)
        betas.push_back(static_cast<double>(k) / MAP_BETAS);
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
