// Work spread over every core of the machine: the items first..last handed
// out one at a time, in order, to as many threads as there are cores (the
// caller's among them), until none is left. Handing them out in order lets
// the caller put the slowest first, which keeps every thread busy to the
// end. Where no further thread can be started, those there are do the
// work. Not in the WebAssembly build, which has no threads: the page spreads
// its work over workers of its own.
#ifndef RODADERO_ANALYSIS_EVERY_CORE_H
#define RODADERO_ANALYSIS_EVERY_CORE_H

#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

// Calls work(i) once for each i in first..last, each call on some thread;
// returns when every call has returned. The calls must not share anything
// they write.
template <class Work>
void OnEveryCore(long first, long last, Work work)
{
    std::atomic<long> next(first);
    auto run = [&]() {
        for (long i = next++; i <= last; i = next++)
            work(i);
    };
    std::vector<std::thread> helpers;
    unsigned cores = std::thread::hardware_concurrency();
    for (unsigned t = 1; t < cores && static_cast<long>(t) <= last - first; ++t) {
        try {
            helpers.emplace_back(run);
        } catch (const std::system_error &) {
            break;
        }
    }
    run();
    for (std::thread &helper : helpers)
        helper.join();
}

#endif
