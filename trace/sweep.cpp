// The fate of the descent from the chord at each scroll position.
//
// A step turns the state (NodeX and ShownX, bit for bit) into the next one,
// and nothing else enters it; FallTime, and so the printed time, follows
// from ShownX. So the run from the chord (step 0) ends in an exact cycle,
// which FindCycle finds.
#include "cycle_search.h"
#include "trace.h"

#include <cstring>
#include <ostream>
#include <string>

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

SweepRow SweepPosition(int position, long limit)
{
    ModelRun run;
    run.alpha = AlphaForPosition(position);
    CycleFate fate = FindCycle(run, limit);
    SweepRow row;
    row.position = position;
    row.cycleFrom = fate.cycleFrom;
    row.period = fate.period;
    row.lowUs = fate.low;
    row.highUs = fate.high;
    return row;
}

std::string SweepHeader()
{
    return "position,cycle_from,period,low_us,high_us\n";
}

std::string SweepRowText(const SweepRow &row)
{
    std::string text = std::to_string(row.position) + ",";
    if (row.period > 0)
        text += std::to_string(row.cycleFrom) + "," + std::to_string(row.period);
    else
        text += ",";
    return text + "," + std::to_string(row.lowUs) + "," + std::to_string(row.highUs) + "\n";
}

void RunSweep(const TraceOptions &options, std::ostream &out)
{
    int first = options.hasPosition ? options.position : TRACE_POSITION_MIN;
    int last = options.hasPosition ? options.position : TRACE_POSITION_MAX;
    long limit = options.hasSteps ? options.steps : SWEEP_STEPS_DEFAULT;
    out << SweepHeader();
    for (int p = first; p <= last; ++p)
        out << SweepRowText(SweepPosition(p, limit));
}
