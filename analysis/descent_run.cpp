// A run from the chord: the record as window creation leaves it.
#include "descent_run.h"

void StartRecord(CurveStateRecord *record, double alpha)
{
    *record = RecordAfterWindowCreation();
    record->Alpha = alpha;
}

void StartRun(double alpha)
{
    StartRecord(&CurveState, alpha);
}
