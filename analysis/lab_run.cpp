// The laboratory's runs.
#include "lab_run.h"

#include <cmath>

LabReference LabReferenceOf(const LabProblem &problem)
{
    LabReference r;
    r.optimum = LabOptimum(problem);
    r.optimumTime = LabPolylineTime(r.optimum, problem.rule);
    r.optimumExact = LabPolylineTime(r.optimum, LAB_EXACT);
    r.cycloid = LabCycloidThrough(problem.endX, problem.endY);
    r.theory = LabTheoryOf(LabSpectrumOf(LabHessianAt(problem, r.optimum)));
    return r;
}

std::vector<double> &LabUnknowns(LabPolyline *line, LabLayout layout)
{
    return layout == LAB_DEPTH ? line->x : line->y;
}

const std::vector<double> &LabUnknowns(const LabPolyline &line, LabLayout layout)
{
    return layout == LAB_DEPTH ? line.x : line.y;
}

double LabStep(const LabSetting &setting, double lambdaMax)
{
    return lambdaMax > 0.0 ? setting.stepRatio * (2.0 / lambdaMax) : 0.0;
}

void StartLabRun(LabRun *run, const LabProblem &problem, const LabSetting &setting,
                 double lambdaMax)
{
    run->problem = problem;
    run->setting = setting;
    run->h = LabStep(setting, lambdaMax);
    run->steps = 0;
    run->line = LabChord(problem);
    run->previous = LabUnknowns(run->line, problem.layout);
    run->haltedAt = 0;
}

namespace {

// The next unknowns of the run's method, inner nodes 1..N-1 of `next`
// (which holds the ends already).
void NextUnknowns(const LabRun &run, std::vector<double> *next)
{
    const LabLayout layout = run.problem.layout;
    const std::vector<double> &u = LabUnknowns(run.line, layout);
    const double h = run.h, beta = run.setting.beta;
    const std::size_t n = u.size() - 1;
    std::vector<double> g;
    switch (run.setting.method) {
    case METHOD_GRADIENT:
    case METHOD_HEAVY_BALL:
        LabGradientAt(run.problem, run.line, &g);
        for (std::size_t i = 1; i < n; ++i) {
            (*next)[i] = u[i] - h * g[i - 1];
            if (run.setting.method == METHOD_HEAVY_BALL)
                (*next)[i] = (*next)[i] + beta * (u[i] - run.previous[i]);
        }
        return;
    case METHOD_NESTEROV: {
        LabPolyline ahead = run.line;
        std::vector<double> &v = LabUnknowns(&ahead, layout);
        for (std::size_t i = 1; i < n; ++i)
            v[i] = u[i] + beta * (u[i] - run.previous[i]);
        LabGradientAt(run.problem, ahead, &g);
        for (std::size_t i = 1; i < n; ++i)
            (*next)[i] = v[i] - h * g[i - 1];
        return;
    }
    case METHOD_NEWTON: {
        // Newton's move, halved until the time falls (a full move can
        // overshoot far: each segment's time grows only linearly far from
        // its best slope); the full move where none does.
        LabNewtonMove(run.problem, run.line, &g);
        const double before = LabPolylineTime(run.line, run.problem.rule);
        LabPolyline tried = run.line;
        std::vector<double> &t = LabUnknowns(&tried, layout);
        for (double scale = 1.0; scale > 1e-12; scale *= 0.5) {
            for (std::size_t i = 1; i < n; ++i)
                t[i] = u[i] + scale * g[i - 1];
            if (LabPolylineTime(tried, run.problem.rule) < before)
                break;
        }
        for (std::size_t i = 1; i < n; ++i)
            (*next)[i] = t[i];
        return;
    }
    case METHOD_PROGRAM:
    case METHOD_COUNT:
        return;
    }
}

// The first inner node `next` lifts above the start (a depth below 0, in
// the width layout) or leaves at no number; 0 for none.
std::size_t HaltingNode(const std::vector<double> &next, LabLayout layout)
{
    for (std::size_t i = 1; i + 1 < next.size(); ++i)
        if (std::isnan(next[i]) || (layout == LAB_WIDTH && next[i] < 0.0) || std::isinf(next[i]))
            return i;
    return 0;
}

} // namespace

bool StepLabRun(LabRun *run)
{
    if (run->haltedAt)
        return false;
    std::vector<double> &u = LabUnknowns(&run->line, run->problem.layout);
    std::vector<double> next = u;
    NextUnknowns(*run, &next);
    std::size_t node = HaltingNode(next, run->problem.layout);
    if (node) {
        run->haltedAt = run->steps + 1;
        run->haltedNode = static_cast<long>(node);
        run->haltedValue = next[node];
        return false;
    }
    run->previous.swap(u);
    u.swap(next);
    ++run->steps;
    return true;
}

LabRunResult RecordLabRun(const LabProblem &problem, const LabSetting &setting, double lambdaMax,
                          long steps, Recorder *recorder)
{
    LabRun run;
    StartLabRun(&run, problem, setting, lambdaMax);
    auto stepOf = [&run]() {
        const std::vector<double> &u = LabUnknowns(run.line, run.problem.layout);
        return RunStep{run.steps, LabPolylineTime(run.line, run.problem.rule), u.data(),
                       static_cast<int>(u.size())};
    };
    recorder->exactTime = [&run](const RunStep &) { return LabPolylineTime(run.line, LAB_EXACT); };
    while (run.steps < steps && !recorder->stopped && StepLabRun(&run))
        if (RecorderLooksAt(*recorder, run.steps))
            RecordStep(recorder, stepOf());
    const RunStep last = stepOf();
    FinishRecording(recorder, last);
    recorder->exactTime = nullptr;  // it held the run, which ends here
    return {run.steps,
            run.line,
            last.fallTime,
            LabPolylineTime(run.line, LAB_EXACT),
            run.haltedAt,
            run.haltedNode,
            run.haltedValue};
}
