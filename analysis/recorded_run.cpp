// The one run, and the comparison of the methods.
#include "recorded_run.h"

RunStep StepOfRun(const MethodRun &run)
{
    return RunStep{run.steps, MethodFallTime(run), MethodShownX(run), NODE_COUNT};
}

RunResult RecordRun(const MethodSetting &setting, long steps, Recorder *recorder)
{
    MethodRun run;
    StartMethod(&run, setting);
    while (run.steps < steps && !recorder->stopped) {
        StepMethod(&run);
        if (RecorderLooksAt(*recorder, run.steps))
            RecordStep(recorder, StepOfRun(run));
    }
    FinishRecording(recorder, StepOfRun(run));
    const double *shown = MethodShownX(run);
    return RunResult{setting, MethodAlpha(setting), run.steps, MethodFallTime(run),
                     std::vector<double>(shown, shown + NODE_COUNT)};
}

RunResult ResultOfRecord(const CurveStateRecord &record, long steps)
{
    double position = record.Alpha == ALPHA_START ? 0.0 : record.AlphaPos;
    return RunResult{MethodSetting{METHOD_PROGRAM, position, 0.0}, record.Alpha, steps, record.FallTime,
                     std::vector<double>(record.ShownX, record.ShownX + NODE_COUNT)};
}

std::vector<MethodCurve> CompareRuns(const std::vector<MethodSetting> &settings, long steps,
                                     double settledTime)
{
    std::vector<MethodCurve> curves;
    for (const MethodSetting &s : settings) {
        Recorder recorder = ComparisonRecorder(settledTime);
        RecordRun(s, steps, &recorder);
        curves.push_back(MethodCurve{s, recorder.samples});
    }
    return curves;
}
