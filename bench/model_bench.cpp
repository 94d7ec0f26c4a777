// Time of one descent step, and of the part of it no implementation can
// avoid: 301 dependent subtractions on each of 19 independent values.
#include "curve_state.h"

#include <benchmark/benchmark.h>

namespace {

void StartFromChord(double alpha)
{
    InitCurves(CurveState.ScreenPts);
    CurveState.Alpha = alpha;
    CurveState.FallTime = 0.0;
}

// A step from the chord region at the starting factor. The state is reset
// now and then so every timed step does the same kind of work.
void BM_DescentStep(benchmark::State &state)
{
    StartFromChord(ALPHA_START);
    long n = 0;
    for (auto _ : state) {
        DescentStep();
        if (++n == 4096) {
            state.PauseTiming();
            StartFromChord(ALPHA_START);
            n = 0;
            state.ResumeTiming();
        }
    }
    benchmark::DoNotOptimize(CurveState.FallTime);
}
BENCHMARK(BM_DescentStep);

// The latency floor of a step: 19 independent chains of 301 dependent
// subtractions of a fixed amount.
void BM_SubtractionFloor(benchmark::State &state)
{
    double x[19], a[19];
    for (int i = 0; i < 19; ++i) {
        x[i] = 0.05 * (i + 1);
        a[i] = 1e-9 * (i + 1);
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        for (int pass = 0; pass < 301; ++pass)
            for (int i = 0; i < 19; ++i)
                x[i] = x[i] - a[i];
        benchmark::DoNotOptimize(x);
    }
}
BENCHMARK(BM_SubtractionFloor);

void BM_InitCurves(benchmark::State &state)
{
    for (auto _ : state) {
        InitCurves(CurveState.ScreenPts);
        benchmark::DoNotOptimize(CurveState.CycloidPts);
    }
}
BENCHMARK(BM_InitCurves);

} // namespace

BENCHMARK_MAIN();
