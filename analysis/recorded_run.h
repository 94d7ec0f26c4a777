// One run for every method, the program's own descent among them: from the
// chord, a number of steps, each handed to a recorder (recorder.h), which
// keeps what its caller needs and may end the run early. What the run
// leaves is handed back as its result, for the pictures and the lines that
// report it; and the comparison of the methods is a run of each.
#ifndef RODADERO_ANALYSIS_RECORDED_RUN_H
#define RODADERO_ANALYSIS_RECORDED_RUN_H

#include "methods.h"
#include "recorder.h"

#include <vector>

// Where a run ended.
struct RunResult {
    MethodSetting setting;
    double alpha;               // MethodAlpha of the setting
    long steps;                 // taken from the chord
    double fallTime;            // MethodFallTime after the last
    std::vector<double> shown;  // the polyline shown then
};

// Runs `setting` from the chord for `steps` steps, or until the recorder
// stops, and finishes the recording with the step it ended on. The fall
// time is found only at the steps the recorder keeps (the program's comes
// with every step).
RunResult RecordRun(const MethodSetting &setting, long steps, Recorder *recorder);

// The step a run has reached, as a recorder is handed it.
RunStep StepOfRun(const MethodRun &run);

// The result of the window's own run: `record` after `steps` steps.
RunResult ResultOfRecord(const CurveStateRecord &record, long steps);

// A method's curve in a comparison.
struct MethodCurve {
    MethodSetting setting;
    std::vector<RunSample> points;
};

// Each setting run `steps` steps from the chord by a comparison's recorder
// toward `settledTime`.
std::vector<MethodCurve> CompareRuns(const std::vector<MethodSetting> &settings, long steps,
                                     double settledTime);

#endif
