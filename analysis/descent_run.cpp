// A run from the chord: the record reset as at program start.
#include "descent_run.h"
#include "trunc_int.h"

std::int32_t PrintedTime(double fallTime)
{
    return TruncToInt(fallTime * 1000000.0);
}

double AlphaForPosition(int position)
{
    return position * ALPHA_PER_POSITION;
}

void StartRun(double alpha)
{
    CurveStateRecord fresh = {};
    fresh.Alpha = ALPHA_START;
    fresh.AlphaPos = ALPHA_POS_START;
    CurveState = fresh;
    InitCurves(CurveState.ScreenPts);
    CurveState.Alpha = alpha;
}
