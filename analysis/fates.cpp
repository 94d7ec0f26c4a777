// The fate of the descent from the chord at each scroll position.
//
// FallTime, and so the printed time, follows from ShownX; the state that
// decides the next step is NodeX and ShownX. FindCycle finds where that
// state comes back. Each run has a record of its own, so that several can
// go on at once.
#include "fates.h"

#include "cycle_search.h"
#include "descent_run.h"

#include <cstring>

namespace {

// The model as a run for FindCycle. A state is what a step changes: the
// inner abscissae of NodeX and ShownX (the ends stay as the chord left
// them) and FallTime. FallTime is a function of ShownX, so two equal states
// have the same bits there, and comparing those first settles nearly every
// comparison at once.
struct ModelRun {
    enum { INNER = INNER_LAST - INNER_FIRST + 1 };
    struct State {
        double fallTime;
        double node[INNER];
        double shown[INNER];
    };

    CurveStateRecord record;
    double alpha;

    void Restart() { StartRecord(&record, alpha); }
    void Step() { DescentStepOn(&record); }
    std::int32_t Printed() { return PrintedTime(record.FallTime); }

    void Save(State *s)
    {
        s->fallTime = record.FallTime;
        std::memcpy(s->node, &record.NodeX[INNER_FIRST], sizeof s->node);
        std::memcpy(s->shown, &record.ShownX[INNER_FIRST], sizeof s->shown);
    }

    void Load(const State &s)
    {
        record.FallTime = s.fallTime;
        std::memcpy(&record.NodeX[INNER_FIRST], s.node, sizeof s.node);
        std::memcpy(&record.ShownX[INNER_FIRST], s.shown, sizeof s.shown);
    }

    bool Holds(const State &s)
    {
        return std::memcmp(&s.fallTime, &record.FallTime, sizeof s.fallTime) == 0 &&
               std::memcmp(s.shown, &record.ShownX[INNER_FIRST], sizeof s.shown) == 0 &&
               std::memcmp(s.node, &record.NodeX[INNER_FIRST], sizeof s.node) == 0;
    }

    static bool Same(const State &a, const State &b)
    {
        return std::memcmp(&a, &b, sizeof a) == 0;
    }
};

} // namespace

PositionFate FateOfPosition(int position, long limit)
{
    ModelRun run;
    run.alpha = AlphaForPosition(position);
    CycleFate fate = FindCycle(run, limit);
    PositionFate row;
    row.position = position;
    row.cycleFrom = fate.cycleFrom;
    row.period = fate.period;
    row.lowUs = fate.low;
    row.highUs = fate.high;
    return row;
}

std::vector<PositionFate> FatesOfPositions(int first, int last, long limit)
{
    std::vector<PositionFate> fates;
    for (int p = first; p <= last; ++p)
        fates.push_back(FateOfPosition(p, limit));
    return fates;
}
