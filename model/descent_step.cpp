// The descent step: one gradient of the fall time, at ShownX, applied 301
// times to NodeX, ShownX refreshed before each application; then the fall
// time of ShownX.
#include "curve_state.h"
#include "subtract_times.h"

namespace {
const int APPLICATIONS_PER_STEP = 301;
}

// ShownX gets NodeX after 300 applications of Alpha x G_i, NodeX one more;
// the product Alpha x G_i is the same in every application, so it is formed
// once. The first three applications of all nodes go side by side; nearly
// always each node then jumps the remaining 297 at once.
void DescentMoveOn(CurveStateRecord *record)
{
    double g[NODE_COUNT];
    FallTimeGradient(record->ShownX, g);

    const double alpha = record->Alpha;
    double step[NODE_COUNT], x1[NODE_COUNT], x2[NODE_COUNT], x3[NODE_COUNT];
    for (int i = INNER_FIRST; i <= INNER_LAST; ++i) {
        step[i] = alpha * g[i];
        x1[i] = record->NodeX[i] - step[i];
        x2[i] = x1[i] - step[i];
        x3[i] = x2[i] - step[i];
    }
    const int rest = APPLICATIONS_PER_STEP - 1 - 3;
    for (int i = INNER_FIRST; i <= INNER_LAST; ++i) {
        double shown;
        if (!subtract_times::JumpWithinBinade(x1[i], x2[i], x3[i], rest, &shown))
            shown = SubtractTimes(x3[i], step[i], rest);
        record->ShownX[i] = shown;
        record->NodeX[i] = shown - step[i];
    }
}

void DescentStepOn(CurveStateRecord *record)
{
    DescentMoveOn(record);
    record->FallTime = PolylineFallTime(record->ShownX);
}

void DescentStep()
{
    DescentStepOn(&CurveState);
}
