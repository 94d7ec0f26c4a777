// The laboratory's costs at a million intervals: the exact discrete optimum
// of the width layout under the exact rule against 100 gradient steps of
// the same polyline, the optimum's growth with N, and the refinement table
// to 1,280,000 intervals of each layout and rule. bench/lab_bench.py prints
// the ratios and the targets.
#include "lab_run.h"

#include <benchmark/benchmark.h>

namespace {

LabProblem Problem(long intervals, LabLayout layout, LabTimeRule rule)
{
    LabProblem p;
    p.intervals = intervals;
    p.layout = layout;
    p.rule = rule;
    return p;
}

void BM_LabOptimum(benchmark::State &state)
{
    const LabProblem p = Problem(state.range(0), LAB_WIDTH, LAB_EXACT);
    for (auto _ : state)
        benchmark::DoNotOptimize(LabOptimum(p).y.data());
}
BENCHMARK(BM_LabOptimum)
    ->Arg(100000)->Arg(200000)->Arg(400000)->Arg(1000000)
    ->Unit(benchmark::kMillisecond)->Iterations(3);

// 100 steps of gradient descent at the step R = 0.5 from the optimum
// itself, where no step halts the run and each costs what any other does:
// a gradient, an update and the check of every node.
void BM_LabGradientSteps(benchmark::State &state)
{
    const LabProblem p = Problem(state.range(0), LAB_WIDTH, LAB_EXACT);
    const LabReference ref = LabReferenceOf(p);
    for (auto _ : state) {
        state.PauseTiming();
        LabRun run;
        StartLabRun(&run, p, LabSetting{}, ref.theory.lambdaMax);
        run.line = ref.optimum;
        run.previous = ref.optimum.y;
        state.ResumeTiming();
        for (int step = 0; step < 100; ++step)
            StepLabRun(&run);
        benchmark::DoNotOptimize(run.line.y.data());
        if (run.haltedAt)
            state.SkipWithError("a step halted the run");
    }
}
BENCHMARK(BM_LabGradientSteps)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LabRefinement(benchmark::State &state)
{
    const LabProblem p = Problem(1280000, static_cast<LabLayout>(state.range(0)),
                                 static_cast<LabTimeRule>(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(LabRefinement(p).data());
}
BENCHMARK(BM_LabRefinement)
    ->Args({LAB_DEPTH, LAB_MIDPOINT})->Args({LAB_DEPTH, LAB_EXACT})
    ->Args({LAB_WIDTH, LAB_MIDPOINT})->Args({LAB_WIDTH, LAB_EXACT})
    ->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
