// A run from the chord: the record reset as at program start.
#include "descent_run.h"

double AlphaForPosition(int position)
{
    return position * ALPHA_PER_POSITION;
}

void StartRecord(CurveStateRecord *record, double alpha)
{
    CurveStateRecord fresh = {};
    fresh.Alpha = ALPHA_START;
    fresh.AlphaPos = ALPHA_POS_START;
    *record = fresh;
    InitCurvesOn(record, record->ScreenPts);
    record->Alpha = alpha;
}

void StartRun(double alpha)
{
    StartRecord(&CurveState, alpha);
}
