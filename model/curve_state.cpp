#include "curve_state.h"

#include "trunc_int.h"

CurveStateRecord CurveState = RecordAtProgramStart();

double AlphaForPosition(int position)
{
    return position * ALPHA_PER_POSITION;
}

void CreateCurvesOn(CurveStateRecord *record)
{
    record->ApproxColor = POLYLINE_RED;
    InitCurvesOn(record, record->ScreenPts);
}

CurveStateRecord RecordAfterWindowCreation()
{
    CurveStateRecord record = RecordAtProgramStart();
    CreateCurvesOn(&record);
    return record;
}

std::int32_t PrintedTime(double fallTime)
{
    return TruncToInt(fallTime * 1000000.0);
}
