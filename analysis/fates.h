// The fate of the descent from the chord at a scroll position: where its
// run of states begins to repeat itself, and what the window prints then.
//
// A step turns the state (NodeX and ShownX, bit for bit; step 0 is the
// chord) into the next one and nothing else enters it, so every run ends in
// an exact cycle.
#ifndef RODADERO_ANALYSIS_FATES_H
#define RODADERO_ANALYSIS_FATES_H

#include <cstdint>
#include <vector>

// The state first comes back after `period` steps, from step `cycleFrom`
// on, and the printed time then runs between lowUs and highUs over the
// steps cycleFrom + 1 to cycleFrom + period. period 0: no state came back
// within the limit, and lowUs = highUs is the printed time after the last
// step of the limit.
struct PositionFate {
    int position;
    long cycleFrom;
    long period;
    std::int32_t lowUs;
    std::int32_t highUs;
};

// The limit of steps a position is followed for unless told otherwise:
// every position's state comes back well within it.
const long FATE_STEP_LIMIT_DEFAULT = 10000000;

// Follows the descent at scroll position p until a state comes back, or
// until it is known that none does within `limit` steps. Memory does not
// grow with the number of steps. Leaves CurveState alone, so that several
// positions may be followed at once, each on a thread of its own.
PositionFate FateOfPosition(int position, long limit);

// The fates of positions first..last, in that order, each within `limit`
// steps, worked out on every core of the machine at once (every_core.h;
// not in the WebAssembly build).
std::vector<PositionFate> FatesOnEveryCore(int first, int last, long limit);

#endif
