// The methods' steps.
#include "methods.h"

#include "stability.h"

const char *const METHOD_NAME[METHOD_COUNT] = {"program", "gradient", "heavy-ball", "nesterov",
                                               "newton"};

bool MethodOfName(const std::string &name, Method *method)
{
    for (int m = 0; m < METHOD_COUNT; ++m) {
        if (name == METHOD_NAME[m]) {
            *method = static_cast<Method>(m);
            return true;
        }
    }
    return false;
}

bool MethodHasBeta(Method method)
{
    return method == METHOD_HEAVY_BALL || method == METHOD_NESTEROV;
}

double MethodStep(double position)
{
    return 300.0 * (position * ALPHA_PER_POSITION);
}

double MethodAlpha(const MethodSetting &setting)
{
    if (setting.method == METHOD_PROGRAM && setting.position == 0.0)
        return ALPHA_START;
    return setting.position * ALPHA_PER_POSITION;
}

void StartMethod(MethodRun *run, const MethodSetting &setting)
{
    run->setting = setting;
    run->h = MethodStep(setting.position);
    run->steps = 0;
    Chord(run->x);
    Chord(run->previous);
    if (setting.method == METHOD_PROGRAM) {
        // The record as window creation leaves it, at the setting's factor.
        run->record = RecordAfterWindowCreation();
        run->record.Alpha = MethodAlpha(setting);
    }
}

namespace {

void GradientStep(MethodRun *run, double next[NODE_COUNT])
{
    double g[NODE_COUNT];
    FallTimeGradient(run->x, g);
    for (int i = INNER_FIRST; i <= INNER_LAST; ++i)
        next[i] = run->x[i] - run->h * g[i];
}

void HeavyBallStep(MethodRun *run, double next[NODE_COUNT])
{
    double g[NODE_COUNT];
    FallTimeGradient(run->x, g);
    const double beta = run->setting.beta;
    for (int i = INNER_FIRST; i <= INNER_LAST; ++i)
        next[i] = (run->x[i] - run->h * g[i]) + beta * (run->x[i] - run->previous[i]);
}

void NesterovStep(MethodRun *run, double next[NODE_COUNT])
{
    double y[NODE_COUNT], g[NODE_COUNT];
    const double beta = run->setting.beta;
    y[0] = run->x[0];
    y[NODE_COUNT - 1] = run->x[NODE_COUNT - 1];
    for (int i = INNER_FIRST; i <= INNER_LAST; ++i)
        y[i] = run->x[i] + beta * (run->x[i] - run->previous[i]);
    FallTimeGradient(y, g);
    for (int i = INNER_FIRST; i <= INNER_LAST; ++i)
        next[i] = y[i] - run->h * g[i];
}

void NewtonStep(MethodRun *run, double next[NODE_COUNT])
{
    double g[NODE_COUNT], move[NODE_COUNT];
    FallTimeGradient(run->x, g);
    NewtonMove(run->x, g, move);
    for (int i = INNER_FIRST; i <= INNER_LAST; ++i)
        next[i] = run->x[i] - move[i];
}

} // namespace

void StepMethod(MethodRun *run)
{
    if (run->setting.method == METHOD_PROGRAM) {
        ++run->steps;
        DescentStepOn(&run->record);
        return;
    }
    MoveMethod(run);
}

void MoveMethod(MethodRun *run)
{
    ++run->steps;
    double next[NODE_COUNT];
    switch (run->setting.method) {
    case METHOD_PROGRAM:
        DescentMoveOn(&run->record);
        return;
    case METHOD_GRADIENT: GradientStep(run, next); break;
    case METHOD_HEAVY_BALL: HeavyBallStep(run, next); break;
    case METHOD_NESTEROV: NesterovStep(run, next); break;
    case METHOD_NEWTON: NewtonStep(run, next); break;
    case METHOD_COUNT: return;
    }
    for (int i = INNER_FIRST; i <= INNER_LAST; ++i) {
        run->previous[i] = run->x[i];
        run->x[i] = next[i];
    }
}

const double *MethodShownX(const MethodRun &run)
{
    return run.setting.method == METHOD_PROGRAM ? run.record.ShownX : run.x;
}

double MethodFallTime(const MethodRun &run)
{
    return run.setting.method == METHOD_PROGRAM ? run.record.FallTime
                                                 : PolylineFallTime(run.x);
}
