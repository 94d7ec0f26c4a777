// The descent step alone in WebAssembly, compiled as the page's module is,
// for bench/web_bench.mjs: the difference between its step and the page's
// timer tick is what the tick adds to the step.
#include "curve_state.h"

#define BENCH_EXPORT(name) extern "C" __attribute__((export_name(#name)))

// The state at window creation: the chord, the starting step factor.
BENCH_EXPORT(bench_chord) void BenchChord()
{
    CurveState = RecordAfterWindowCreation();
}

BENCH_EXPORT(bench_step) void BenchStep()
{
    DescentStep();
}

BENCH_EXPORT(bench_fall_time) double BenchFallTime()
{
    return CurveState.FallTime;
}
