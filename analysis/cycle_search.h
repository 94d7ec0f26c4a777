// Where a deterministic run starts to repeat itself.
//
// A run is a sequence of states, each made from the one before by a step and
// by nothing else, drawn from a finite set: sooner or later it comes back to
// a state it has held, and from there on it goes round the same cycle for
// ever. The cycle starts at cycleFrom and lasts `period` steps: the smallest
// numbers with state(cycleFrom) = state(cycleFrom + period). State 0 is the
// start.
//
// Periods 1 and 2 are caught the moment they close, by keeping the two
// states before the current one. Any longer period is found by Brent's
// method: one saved state, moved up to the current one each time the number
// of steps since it was saved reaches the next power of two; a state equal
// to it gives the period. The start of the cycle then comes from two copies
// of the run, one period apart, stepped together from the start until they
// meet. Memory stays the same however long the run.
//
// The run is any type with:
//   typedef ... State;          a copy of everything a step depends on
//   void Restart();             back to state 0
//   void Step();                on to the next state
//   std::int32_t Printed();     the number shown for the current state,
//                               asked for only at a few states
//   void Save(State *s);        copy the current state out,
//   void Load(const State &s);  and back in
//   bool Holds(const State &s); the current state equals s
//   static bool Same(const State &a, const State &b);
#ifndef RODADERO_ANALYSIS_CYCLE_SEARCH_H
#define RODADERO_ANALYSIS_CYCLE_SEARCH_H

#include <cstdint>

// period 0: no state came back within the limit; then low = high is the
// number shown after the last step of the limit. Otherwise low and high are
// the lowest and highest number shown after steps cycleFrom + 1 to
// cycleFrom + period.
struct CycleFate {
    long cycleFrom;
    long period;
    std::int32_t low;
    std::int32_t high;
};

// Lowest and highest number shown over the next `period` steps.
template <class Run>
void CycleRange(Run &run, long period, CycleFate *fate)
{
    for (long n = 1; n <= period; ++n) {
        run.Step();
        std::int32_t shown = run.Printed();
        if (n == 1 || shown < fate->low)
            fate->low = shown;
        if (n == 1 || shown > fate->high)
            fate->high = shown;
    }
}

// The period being known: the first state that comes back one period later,
// if it does so within `limit` steps; fills in the fate when it does.
template <class Run>
void FindCycleStart(Run &run, long period, long limit, CycleFate *fate)
{
    typename Run::State behind, ahead;
    run.Restart();
    run.Save(&behind);
    for (long n = 0; n < period; ++n)
        run.Step();
    run.Save(&ahead);

    for (long from = 0; from + period <= limit; ++from) {
        if (Run::Same(behind, ahead)) {
            fate->cycleFrom = from;
            fate->period = period;
            run.Load(behind);
            CycleRange(run, period, fate);
            return;
        }
        run.Load(behind);
        run.Step();
        run.Save(&behind);
        run.Load(ahead);
        run.Step();
        run.Save(&ahead);
    }
}

// Follows the run from its start until a state comes back, or until it is
// known that none does within `limit` steps.
template <class Run>
CycleFate FindCycle(Run &run, long limit)
{
    run.Restart();
    CycleFate fate;
    fate.cycleFrom = 0;
    fate.period = 0;
    fate.low = fate.high = run.Printed();

    // While step n runs, recent[n & 1] holds state n - 2 and
    // recent[(n - 1) & 1] state n - 1. The number shown is asked for only
    // where the fate needs it: a short cycle's numbers come from going round
    // it once more, which leaves the run where it was.
    typename Run::State recent[2], mark;
    run.Save(&recent[0]);
    mark = recent[0];
    long markAt = 0;
    long power = 1;

    for (long n = 1;; ++n) {
        run.Step();
        if (n <= limit) {
            if (run.Holds(recent[(n - 1) & 1])) {
                fate.cycleFrom = n - 1;
                fate.period = 1;
                fate.low = fate.high = run.Printed();
                return fate;
            }
            if (n >= 2 && run.Holds(recent[n & 1])) {
                fate.cycleFrom = n - 2;
                fate.period = 2;
                CycleRange(run, 2, &fate);
                return fate;
            }
            if (n == limit)
                fate.low = fate.high = run.Printed();
        }
        if (run.Holds(mark)) {
            FindCycleStart(run, n - markAt, limit, &fate);
            return fate;
        }
        // Past the limit the search goes on only while it could still find
        // a state that came back within the limit. The saved state is always
        // at step power - 1, and n - markAt never exceeds power; so once
        // `limit` steps have passed since it was saved, it lies at or past
        // step limit - 1, at or past the start of any such cycle, and every
        // period up to `limit` would have shown by now.
        if (n - markAt >= limit)
            return fate;
        if (n - markAt == power) {
            run.Save(&mark);
            markAt = n;
            power *= 2;
        }
        run.Save(&recent[n & 1]);
    }
}

#endif
