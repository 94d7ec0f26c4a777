// Where a deterministic run starts to repeat itself, and the record of
// what it comes to.
//
// A run is a sequence of states, each made from the one before by a step and
// by nothing else, drawn from a finite set: sooner or later it comes back to
// a state it has held, and from there on it goes round the same cycle for
// ever. The cycle starts at c and lasts p steps: the smallest numbers with
// state(c) = state(c + p). State 0 is the start.
//
// Every CYCLE_CHECKPOINT_EVERY (E) steps the state is kept whole, and each
// state the run comes to is looked for among those kept, through a table
// of their keys. Let s be the first kept step at or after c (s < c + E):
// state(s + p) = state(s), so the run meets a kept state by step s + p at
// the latest. When it first does, at step n, holding the state kept at
// step k E: that state lies on the cycle, so n - k E is a multiple of p,
// and n <= s + p <= k E + p makes it p itself. The state kept before,
// at (k - 1) E, is not on the cycle (else the run would have met it again
// at (k - 1) E + p < n), so c lies after it: a copy of the run from there
// and a copy p steps ahead meet first at c, within E steps. A cycle with
// c + p within a limit L shows by step L + E; a run with none costs
// L + E steps. Memory grows with the steps to the cycle: one state every
// E steps.
//
// The run is any type with:
//   typedef ... State;     a plain struct of everything a step depends on,
//                          without padding: two states are the same when
//                          their bytes are
//   void Step();           on to the next state
//   std::int32_t Printed() const;  the number shown for the current state,
//                          asked for only at a few states after the first
//                          step, and at the start with a limit of 0
//   void Save(State *s) const;     copy the current state out,
//   void Load(const State &s);     and back in
//   std::uint32_t Key() const;     a few bits of the current state, mixed:
//                          enough to tell most states apart, so that the
//                          state is copied out only where the key of a
//                          kept one agrees, and every E steps
#ifndef RODADERO_ANALYSIS_CYCLE_SEARCH_H
#define RODADERO_ANALYSIS_CYCLE_SEARCH_H

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

// The fate of a run from the chord: of the program's descent at a scroll
// position, or of a method at a position and momentum. The state after
// step cycleFrom comes back after `period` steps, and lowUs and highUs are
// the lowest and highest printed time over steps cycleFrom + 1 to
// cycleFrom + period. period 0: no state came back within the limit; then
// lowUs and highUs are the lowest and highest printed time over the
// limit's last few steps (its last one for a position, its last 1,000 for
// a method's cell), or at the start with a limit of 0. The momentum is
// written as its index in the list of momenta of the map it belongs to (0
// where there is none). Every field is 32 bits: the page reads the record
// as it lies in its module's memory.
struct Fate {
    std::int32_t position;
    std::int32_t beta;
    std::int32_t cycleFrom;
    std::int32_t period;
    std::int32_t lowUs;
    std::int32_t highUs;
};

const long CYCLE_CHECKPOINT_EVERY = 256;

template <class State>
bool SameState(const State &a, const State &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The states kept, their keys, and a table of the keys; reused from one
// run to the next by whoever follows many.
template <class State>
struct Checkpoints {
    struct Entry {
        std::uint32_t key;
        std::int32_t kept;  // -1: empty
    };
    std::vector<State> kept;
    std::vector<std::uint32_t> keys;
    std::vector<Entry> table;  // open addressing, a power of two long

    void Clear()
    {
        kept.clear();
        keys.clear();
        table.assign(64, Entry{0, -1});
    }

    void Enter(std::size_t k)
    {
        std::size_t mask = table.size() - 1;
        std::size_t i = keys[k] & mask;
        while (table[i].kept >= 0)
            i = (i + 1) & mask;
        table[i] = Entry{keys[k], static_cast<std::int32_t>(k)};
    }

    // Keeps s. The table stays at most an eighth full, so that a state
    // not kept, nearly every state the run comes to, is told so at its
    // first slot.
    void Keep(const State &s, std::uint32_t key)
    {
        kept.push_back(s);
        keys.push_back(key);
        if (8 * kept.size() <= table.size()) {
            Enter(kept.size() - 1);
            return;
        }
        table.assign(2 * table.size(), Entry{0, -1});
        for (std::size_t k = 0; k < kept.size(); ++k)
            Enter(k);
    }

    // The kept state the run holds, or -1; `now` is the run's state once
    // it has been needed.
    template <class Run>
    long Find(const Run &run, std::uint32_t key, State *now, bool *saved) const
    {
        std::size_t mask = table.size() - 1;
        for (std::size_t i = key & mask; table[i].kept >= 0; i = (i + 1) & mask) {
            if (table[i].key != key)
                continue;
            if (!*saved)
                run.Save(now);
            *saved = true;
            if (SameState(kept[static_cast<std::size_t>(table[i].kept)], *now))
                return table[i].kept;
        }
        return -1;
    }
};

// The lowest and highest of the numbers shown so far, `first` for the first.
inline void Widen(std::int32_t shown, bool first, Fate *fate)
{
    fate->lowUs = first ? shown : std::min(fate->lowUs, shown);
    fate->highUs = first ? shown : std::max(fate->highUs, shown);
}

// Whether two runs hold the same state.
template <class Run>
bool SameRunState(const Run &x, const Run &y)
{
    typename Run::State a, b;
    x.Save(&a);
    y.Save(&b);
    return SameState(a, b);
}

// The run has come back, `n` steps from its start, to the state kept at
// step k E: the cycle found from the state kept before, as above, if it
// closes within the limit.
template <class Run>
void CycleFound(const Run &run, long n, long k, long limit,
                const Checkpoints<typename Run::State> &memory, Fate *fate)
{
    const long every = CYCLE_CHECKPOINT_EVERY;
    const long period = n - k * every;
    const long before = k > 0 ? k - 1 : 0;
    long from = before * every;
    Run behind = run;
    behind.Load(memory.kept[static_cast<std::size_t>(before)]);
    Run ahead = behind;
    for (long i = 0; i < period; ++i)
        ahead.Step();
    while (!SameRunState(behind, ahead)) {
        behind.Step();
        ahead.Step();
        ++from;
    }
    if (from + period > limit)
        return;
    fate->cycleFrom = static_cast<std::int32_t>(from);
    fate->period = static_cast<std::int32_t>(period);
    for (long i = 1; i <= period; ++i) {
        behind.Step();
        Widen(behind.Printed(), i == 1, fate);
    }
}

// Follows `run` from where it stands (state 0) until a state comes back
// within `limit` steps, or until it is known that none does; fills in the
// fate's cycle and printed times, with no cycle those of the limit's last
// `lastSteps` steps (all of them seen by then: a cycle that closes after
// the limit is found after it).
template <class Run>
void FindCycle(Run &run, long limit, long lastSteps, Checkpoints<typename Run::State> *memory,
               Fate *fate)
{
    const long every = CYCLE_CHECKPOINT_EVERY;
    fate->cycleFrom = fate->period = 0;
    memory->Clear();
    const long lastFrom = std::max(1L, limit - lastSteps + 1);
    if (limit == 0)
        Widen(run.Printed(), true, fate);
    typename Run::State now;
    for (long n = 0; n <= limit + every; ++n) {
        if (n > 0)
            run.Step();
        std::uint32_t key = run.Key();
        bool saved = false;
        long k = n == 0 ? -1 : memory->Find(run, key, &now, &saved);
        if (k >= 0) {
            CycleFound(run, n, k, limit, *memory, fate);
            return;
        }
        if (n % every == 0) {
            if (!saved)
                run.Save(&now);
            memory->Keep(now, key);
        }
        if (n >= lastFrom && n <= limit)
            Widen(run.Printed(), n == lastFrom, fate);
    }
}

#endif
