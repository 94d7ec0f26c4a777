// The fates of the positions and of the methods' cells.
//
// The fall time, and so the printed time, follows from the polyline shown,
// so the runs leave it out of their steps (MoveMethod) and work it out for
// the few states whose number a fate shows.
#include "fates.h"

#include <cstring>

namespace {

const std::size_t INNER_BYTES = (INNER_LAST - INNER_FIRST + 1) * sizeof(double);

// A method's run as FindCycle follows it.
struct FollowedRun {
    typedef MethodState State;
    MethodRun run;

    bool Program() const { return run.setting.method == METHOD_PROGRAM; }
    double *Shown() { return Program() ? run.record.ShownX : run.x; }
    double *Beside() { return Program() ? run.record.NodeX : run.previous; }
    const double *Shown() const { return Program() ? run.record.ShownX : run.x; }
    const double *Beside() const { return Program() ? run.record.NodeX : run.previous; }

    void Step() { MoveMethod(&run); }

    // The program prints its record's own FallTime, 0, before its first
    // step.
    std::int32_t Printed() const
    {
        return PrintedTime(run.steps == 0 ? MethodFallTime(run) : PolylineFallTime(Shown()));
    }

    void Save(State *s) const
    {
        std::memcpy(s->shown, Shown() + INNER_FIRST, INNER_BYTES);
        std::memcpy(s->beside, Beside() + INNER_FIRST, INNER_BYTES);
    }

    void Load(const State &s)
    {
        std::memcpy(Shown() + INNER_FIRST, s.shown, INNER_BYTES);
        std::memcpy(Beside() + INNER_FIRST, s.beside, INNER_BYTES);
    }

    // From the middle node's two abscissae and node 3's.
    std::uint32_t Key() const
    {
        std::uint64_t a, b, c;
        std::memcpy(&a, &Shown()[10], sizeof a);
        std::memcpy(&b, &Beside()[10], sizeof b);
        std::memcpy(&c, &Shown()[3], sizeof c);
        std::uint64_t key = ((a * 0x9e3779b97f4a7c15u) ^ b) * 0xc2b2ae3d27d4eb4fu ^ c;
        key ^= key >> 29;
        key *= 0xbf58476d1ce4e5b9u;
        return static_cast<std::uint32_t>(key >> 32);
    }
};

Fate FateOfRun(const MethodSetting &setting, long limit, long lastSteps, FateMemory *memory)
{
    FollowedRun followed;
    StartMethod(&followed.run, setting);
    Fate fate = {static_cast<std::int32_t>(setting.position), 0, 0, 0, 0, 0};
    FindCycle(followed, limit, lastSteps, memory, &fate);
    return fate;
}

} // namespace

Fate FateOfPosition(int position, long limit, FateMemory *memory)
{
    return FateOfRun(MethodSetting{METHOD_PROGRAM, static_cast<double>(position), 0.0}, limit,
                     POSITION_LAST_STEPS, memory);
}

Fate FateOfRecord(const CurveStateRecord &record, long limit, FateMemory *memory)
{
    FollowedRun followed;
    StartMethod(&followed.run, MethodSetting{METHOD_PROGRAM, 0.0, 0.0});
    followed.run.record = record;
    // A run that has stepped: its printed times are those of the polyline
    // shown, as the window prints them after a step.
    followed.run.steps = 1;
    Fate fate = {0, 0, 0, 0, 0, 0};
    FindCycle(followed, limit, POSITION_LAST_STEPS, memory, &fate);
    return fate;
}

Fate FateOfCell(const MethodSetting &setting, long limit, FateMemory *memory)
{
    return FateOfRun(setting, limit, CELL_LAST_STEPS, memory);
}

std::vector<int> MapPositions()
{
    std::vector<int> positions;
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

std::vector<Fate> MapFates(Method method, const std::vector<int> &positions,
                           const std::vector<double> &betas, long limit)
{
    FateMemory memory;
    std::vector<Fate> fates;
    for (int p : positions) {
        for (std::size_t k = 0; k < betas.size(); ++k) {
            fates.push_back(FateOfCell(MethodSetting{method, static_cast<double>(p), betas[k]},
                                       limit, &memory));
            fates.back().beta = static_cast<std::int32_t>(k);
        }
    }
    return fates;
}
