// A run of the program's own descent from the straight chord, as the window
// would run it, without the window: the record as the program starts it,
// the step factor of a scroll position, and the number the window prints.
#ifndef RODADERO_ANALYSIS_DESCENT_RUN_H
#define RODADERO_ANALYSIS_DESCENT_RUN_H

#include "curve_state.h"
#include "trunc_int.h"

#include <cstdint>

// The scroll bar's range.
const int SCROLL_POSITION_FIRST = 1;
const int SCROLL_POSITION_LAST = 100;

// The number the window prints: FallTime x 1000000 truncated toward zero.
inline std::int32_t PrintedTime(double fallTime)
{
    return TruncToInt(fallTime * 1000000.0);
}

// The step factor the dialog sets at scroll position p.
double AlphaForPosition(int position);

// The record as the program starts it, then the chord, then the step
// factor: in CurveState, or in a record of the caller's.
void StartRun(double alpha);
void StartRecord(CurveStateRecord *record, double alpha);

#endif
