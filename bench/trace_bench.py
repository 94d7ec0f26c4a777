#!/usr/bin/env python3
"""Speed of the model and of rodadero-trace, natively. Prints figures; asserts
nothing (the targets are printed beside them).

  bench/trace_bench.py [BUILD_DIR]     (default build/native, built already)

1. model_bench, in one run: ns per DescentStep against the plain loop of 301
   dependent subtractions on 19 values, and their ratio (target: 0.5 or less).
2. rodadero-trace --steps 10000 --every 1000 as a whole process, wall clock
   from start to exit (target: under 50 ms).
3. rodadero-trace --sweep, the full sweep to the cycle of every position, as
   a whole process, and the user CPU time it took; against one run of the
   same number of steps, 3,910,156 (--steps 3910156 --every 3910156), the two
   taken in turn so that both meet the same load (target: the sweep at most
   0.6 times the run, which it reaches by using every core and by leaving
   out the fall times of the states it never shows).
4. rodadero-trace --sweep --method heavy-ball, the whole map of 800 cells on
   every core with its cycle search, against one run of as many heavy-ball
   steps (the sum over the cells of cycle_from + period, or the limit where
   no cycle closes), in turn as above (target: 0.7 times or less), with the
   user CPU time of each: the search's own cost beyond the steps.
"""
import json
import os
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# The steps the full sweep takes before the cycles begin.
SWEEP_STEPS = 3910156


def wall_times(command, runs):
    """Wall-clock seconds of each of `runs` runs of command, output discarded."""
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        times.append(time.perf_counter() - start)
    return times


def model_ratio(bench):
    out = subprocess.run([bench, "--benchmark_filter=BM_DescentStep|BM_SubtractionFloor",
                          "--benchmark_repetitions=5", "--benchmark_report_aggregates_only=true",
                          "--benchmark_format=json"], capture_output=True, text=True, check=True).stdout
    medians = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") == "median":
            medians[b["run_name"]] = b["cpu_time"]
    return medians["BM_DescentStep"], medians["BM_SubtractionFloor"]


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "native")
    tool = os.path.join(build, "trace", "rodadero-trace")
    bench = os.path.join(build, "bench", "model_bench")
    print("machine: %d cores, %s" % (os.cpu_count(), os.uname().machine))

    if os.path.exists(bench):
        step, floor = model_ratio(bench)
        print("descent step          %7.1f ns   (median of 5 repetitions, CPU time)" % step)
        print("plain subtractions    %7.1f ns" % floor)
        print("ratio                 %7.2f      target 0.5 or less" % (step / floor))
    else:
        print("no %s (Google Benchmark missing?): model ratio not measured" % bench)

    if not os.path.exists(tool):
        print("no %s: build the native preset first" % tool)
        return 1
    wall_times([tool, "--steps", "10"], 3)  # warm the file cache
    t = wall_times([tool, "--steps", "10000", "--every", "1000"], 21)
    print("rodadero-trace --steps 10000 --every 1000: median %.1f ms, min %.1f ms, max %.1f ms "
          "over %d runs; target under 50 ms"
          % (1e3 * statistics.median(t), 1e3 * min(t), 1e3 * max(t), len(t)))
    sweep, run, cpu = [], [], []
    for _ in range(7):
        before = os.times()
        sweep += wall_times([tool, "--sweep"], 1)
        after = os.times()
        cpu.append(after.children_user - before.children_user)
        run += wall_times([tool, "--steps", str(SWEEP_STEPS), "--every", str(SWEEP_STEPS)], 1)
    print("rodadero-trace --sweep: median %.3f s, min %.3f s, max %.3f s over %d runs "
          "(median user CPU %.3f s)"
          % (statistics.median(sweep), min(sweep), max(sweep), len(sweep), statistics.median(cpu)))
    print("one run of the same %d steps: median %.3f s, min %.3f s, max %.3f s"
          % (SWEEP_STEPS, statistics.median(run), min(run), max(run)))
    print("sweep / run           %7.2f      (medians; %.2f from the minima) target 0.6 or less"
          % (statistics.median(sweep) / statistics.median(run), min(sweep) / min(run)))

    rows = subprocess.run([tool, "--sweep", "--method", "heavy-ball"], capture_output=True,
                          text=True, check=True).stdout.splitlines()[1:]
    limit = 100000
    steps = 0
    for row in rows:
        _, _, cycle_from, period, _, _ = row.split(",")
        steps += int(cycle_from) + int(period) if period else limit
    run_args = [tool, "--method", "heavy-ball", "--position", "100", "--beta", "0.5",
                "--steps", str(steps), "--every", str(steps)]
    maps, runs, map_cpu, run_cpu = [], [], [], []
    for _ in range(5):
        before = os.times()
        maps += wall_times([tool, "--sweep", "--method", "heavy-ball"], 1)
        middle = os.times()
        runs += wall_times(run_args, 1)
        after = os.times()
        map_cpu.append(middle.children_user - before.children_user)
        run_cpu.append(after.children_user - middle.children_user)
    print("rodadero-trace --sweep --method heavy-ball (%d cells): median %.3f s, min %.3f s, "
          "max %.3f s over %d runs (median user CPU %.3f s)"
          % (len(rows), statistics.median(maps), min(maps), max(maps), len(maps),
             statistics.median(map_cpu)))
    print("one heavy-ball run of the same %d steps: median %.3f s, min %.3f s, max %.3f s "
          "(median user CPU %.3f s)"
          % (steps, statistics.median(runs), min(runs), max(runs), statistics.median(run_cpu)))
    print("map / run             %7.2f      (medians; %.2f from the minima; CPU %.2f) "
          "target 0.7 or less"
          % (statistics.median(maps) / statistics.median(runs), min(maps) / min(runs),
             statistics.median(map_cpu) / statistics.median(run_cpu)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
