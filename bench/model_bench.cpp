// Time of one descent step, against the 301 dependent subtractions on each
// of 19 values that the step stands for.
#include "curve_state.h"

#include <benchmark/benchmark.h>

namespace {

void StartFromChord(double alpha)
{
    CurveState = RecordAfterWindowCreation();
    CurveState.Alpha = alpha;
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

// What the step would cost done the plain way: 19 independent chains of
// 301 dependent subtractions of a fixed amount. The chains are padded to 20
// so that the compiler keeps them in ten register pairs, two subtractions
// per instruction: the fastest form of this loop it makes (19 lanes leave
// one chain on its own and run slower).
void BM_SubtractionFloor(benchmark::State &state)
{
    enum { LANES = 20 };
    double x[LANES], a[LANES];
    for (int i = 0; i < LANES; ++i) {
        x[i] = 0.05 * (i + 1);
        a[i] = i < 19 ? 1e-9 * (i + 1) : 0.0;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        for (int pass = 0; pass < 301; ++pass)
            for (int i = 0; i < LANES; ++i)
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
