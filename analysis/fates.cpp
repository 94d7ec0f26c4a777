// The fate of the descent from the chord at each scroll position.
//
// FallTime, and so the printed time, follows from ShownX; the state that
// decides the next step is NodeX and ShownX. FindCycle finds where that
// state comes back.
#include "fates.h"

#include "cycle_search.h"
#include "descent_run.h"

#include <cstring>

namespace {

// The model as a run for FindCycle. FallTime is saved with the arrays only
// so that a state is put back as it was.
struct ModelRun {
    struct State {
        double node[NODE_COUNT];
        double shown[NODE_COUNT];
        double fallTime;
    };

    double alpha;

    void Restart() { StartRun(alpha); }
    void Step() { DescentStep(); }
    std::int32_t Printed() { return PrintedTime(CurveState.FallTime); }

    void Save(State *s)
    {
        std::memcpy(s->node, CurveState.NodeX, sizeof s->node);
        std::memcpy(s->shown, CurveState.ShownX, sizeof s->shown);
        s->fallTime = CurveState.FallTime;
    }

    void Load(const State &s)
    {
        std::memcpy(CurveState.NodeX, s.node, sizeof s.node);
        std::memcpy(CurveState.ShownX, s.shown, sizeof s.shown);
        CurveState.FallTime = s.fallTime;
    }

    bool Holds(const State &s)
    {
        return std::memcmp(s.node, CurveState.NodeX, sizeof s.node) == 0 &&
               std::memcmp(s.shown, CurveState.ShownX, sizeof s.shown) == 0;
    }

    static bool Same(const State &a, const State &b)
    {
        return std::memcmp(a.node, b.node, sizeof a.node) == 0 &&
               std::memcmp(a.shown, b.shown, sizeof a.shown) == 0;
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
