// The fate of the descent from the chord at each scroll position.
//
// The state that decides the next step is NodeX and ShownX; FindCycle finds
// where it comes back. FallTime, and so the printed time, follows from
// ShownX, so the run leaves it out of its steps and works it out for the
// few states whose number the fate shows. Each run has a record of its own,
// so that several can go on at once.
#include "fates.h"

#include "cycle_search.h"
#include "descent_run.h"

#include <cstring>

namespace {

// The model as a run for FindCycle. A state is what a step changes: the
// inner abscissae of ShownX and NodeX (the ends stay as the chord left
// them).
struct ModelRun {
    enum { INNER = INNER_LAST - INNER_FIRST + 1 };
    struct State {
        double shown[INNER];
        double node[INNER];
    };

    CurveStateRecord record;
    double alpha;
    bool stepped;  // the window prints the record's own FallTime, 0, until the first step

    void Restart()
    {
        StartRecord(&record, alpha);
        stepped = false;
    }

    void Step()
    {
        DescentMoveOn(&record);
        stepped = true;
    }

    std::int32_t Printed()
    {
        return PrintedTime(stepped ? PolylineFallTime(record.ShownX) : record.FallTime);
    }

    void Save(State *s)
    {
        std::memcpy(s->shown, &record.ShownX[INNER_FIRST], sizeof s->shown);
        std::memcpy(s->node, &record.NodeX[INNER_FIRST], sizeof s->node);
    }

    void Load(const State &s)
    {
        std::memcpy(&record.ShownX[INNER_FIRST], s.shown, sizeof s.shown);
        std::memcpy(&record.NodeX[INNER_FIRST], s.node, sizeof s.node);
    }

    bool Holds(const State &s)
    {
        return std::memcmp(s.shown, &record.ShownX[INNER_FIRST], sizeof s.shown) == 0 &&
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
