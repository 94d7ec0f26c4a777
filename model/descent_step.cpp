// The descent step: one gradient of the fall time, at ShownX, applied 301
// times to NodeX, ShownX refreshed before each application; then the fall
// time of ShownX.
#include "curve_state.h"
#include "subtract_times.h"

namespace {
const int APPLICATIONS_PER_STEP = 301;
}

#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif

// ShownX gets NodeX after 300 applications of Alpha x G_i, NodeX one more;
// the product Alpha x G_i is the same in every application, so it is formed
// once. The first three applications of all nodes go side by side; nearly
// always each node then jumps the remaining 297 at once.
#if defined(__wasm_simd128__)

namespace {

// OrderKey of two doubles' bits at once; it is its own inverse.
v128_t OrderKeys(v128_t bits)
{
    using namespace subtract_times;
    return wasm_v128_xor(bits, wasm_v128_and(wasm_i64x2_shr(bits, 63),
                                             wasm_i64x2_splat(MAGNITUDE_BITS)));
}

} // namespace

// In WebAssembly two nodes go side by side, each lane the same operations,
// rounded the same way, as the loops below; JumpWithinBinade's test is made
// on both at once, and a lane that fails it goes on one application at a
// time as it does there. Node 19's partner is a lane of padding.
void DescentMoveOn(CurveStateRecord *record)
{
    using namespace subtract_times;
    double g[NODE_COUNT];
    FallTimeGradient(record->ShownX, g);
    g[NODE_COUNT - 1] = 0.0; // the padding lane's

    const int rest = APPLICATIONS_PER_STEP - 1 - 3;
    const v128_t alpha = wasm_f64x2_splat(record->Alpha);
    const v128_t times = wasm_i64x2_splat(rest);
    const v128_t exponentMax = wasm_i64x2_splat(static_cast<std::int64_t>(EXPONENT_MAX));
    const v128_t fraction = wasm_i64x2_splat(static_cast<std::int64_t>(FRACTION_BITS));
    const v128_t zero = wasm_i64x2_splat(0);
    for (int i = INNER_FIRST; i <= INNER_LAST; i += 2) {
        v128_t step = wasm_f64x2_mul(alpha, wasm_v128_load(&g[i]));
        v128_t x1 = wasm_f64x2_sub(wasm_v128_load(&record->NodeX[i]), step);
        v128_t x2 = wasm_f64x2_sub(x1, step);
        v128_t x3 = wasm_f64x2_sub(x2, step);
        v128_t k3 = OrderKeys(x3);
        v128_t move = wasm_i64x2_sub(OrderKeys(x2), k3);
        v128_t shown = OrderKeys(wasm_i64x2_sub(k3, wasm_i64x2_mul(times, move)));
        v128_t binade1 = wasm_u64x2_shr(x1, 52);
        v128_t inside = wasm_v128_and(
            wasm_v128_and(wasm_i64x2_eq(binade1, wasm_u64x2_shr(x3, 52)),
                          wasm_i64x2_eq(binade1, wasm_u64x2_shr(shown, 52))),
            wasm_v128_and(wasm_i64x2_ne(wasm_v128_and(binade1, exponentMax), exponentMax),
                          wasm_i64x2_ne(wasm_v128_and(shown, fraction), zero)));
        v128_t jumped = wasm_v128_or(inside, wasm_i64x2_eq(move, zero));
        double lanes[2];
        wasm_v128_store(lanes, shown);
        if (!wasm_i64x2_extract_lane(jumped, 0))
            lanes[0] = SubtractTimes(wasm_f64x2_extract_lane(x3, 0),
                                     wasm_f64x2_extract_lane(step, 0), rest);
        if (!wasm_i64x2_extract_lane(jumped, 1))
            lanes[1] = SubtractTimes(wasm_f64x2_extract_lane(x3, 1),
                                     wasm_f64x2_extract_lane(step, 1), rest);
        v128_t shownX = wasm_v128_load(lanes);
        v128_t nodeX = wasm_f64x2_sub(shownX, step);
        if (i < INNER_LAST) {
            wasm_v128_store(&record->ShownX[i], shownX);
            wasm_v128_store(&record->NodeX[i], nodeX);
        } else {
            record->ShownX[i] = wasm_f64x2_extract_lane(shownX, 0);
            record->NodeX[i] = wasm_f64x2_extract_lane(nodeX, 0);
        }
    }
}

#else

void DescentMoveOn(CurveStateRecord *record)
{
    double g[NODE_COUNT];
    FallTimeGradient(record->ShownX, g);

    const double alpha = record->Alpha;
    double step[NODE_COUNT], x1[NODE_COUNT], x2[NODE_COUNT], x3[NODE_COUNT];
    for (int i = INNER_FIRST; i <= INNER_LAST; ++i) {
        step[i] = alpha * g[i];
        x1[i] = record->NodeX[i] - step[i];
        x2[i] = x1[i] - step[i];
        x3[i] = x2[i] - step[i];
    }
    const int rest = APPLICATIONS_PER_STEP - 1 - 3;
    for (int i = INNER_FIRST; i <= INNER_LAST; ++i) {
        double shown;
        if (!subtract_times::JumpWithinBinade(x1[i], x2[i], x3[i], rest, &shown))
            shown = SubtractTimes(x3[i], step[i], rest);
        record->ShownX[i] = shown;
        record->NodeX[i] = shown - step[i];
    }
}

#endif

void DescentStepOn(CurveStateRecord *record)
{
    DescentMoveOn(record);
    record->FallTime = PolylineFallTime(record->ShownX);
}

void DescentStep()
{
    DescentStepOn(&CurveState);
}
