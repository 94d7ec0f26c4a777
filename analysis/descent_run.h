// A run of the program's own descent from the straight chord, as the window
// would run it, without the window: the record as window creation leaves
// it, with the step factor of the run.
#ifndef RODADERO_ANALYSIS_DESCENT_RUN_H
#define RODADERO_ANALYSIS_DESCENT_RUN_H

#include "curve_state.h"

// The record right after window creation, then the step factor: in
// CurveState, or in a record of the caller's.
void StartRun(double alpha);
void StartRecord(CurveStateRecord *record, double alpha);

#endif
