#!/usr/bin/env python3
"""The laboratory's speed, natively. Prints figures; asserts nothing (the
targets are printed beside them).

  bench/lab_bench.py [BUILD_DIR]     (default build/native, built already)

From one run of lab_bench (CPU time, medians where repeated):
1. the exact discrete optimum of 1,000,000 intervals (width layout, exact
   rule) against 100 gradient steps of the same polyline (target: at most
   1 time);
2. the optimum's growth from 100,000 intervals: its time per interval at
   200,000, 400,000 and 1,000,000 over that at 100,000 (target: linear,
   about 1);
3. the refinement table to 1,280,000 intervals of each layout and rule
   (target: under 2 s).
"""
import json
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
NAMES = {"0/0": "depth, midpoint", "0/1": "depth, exact", "1/0": "width, midpoint",
         "1/1": "width, exact"}


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "native")
    bench = os.path.join(build, "bench", "lab_bench")
    out = subprocess.run([bench, "--benchmark_format=json"], capture_output=True, text=True,
                         check=True).stdout
    ms = {}
    for b in json.loads(out)["benchmarks"]:
        ms[b["run_name"].split("/iterations")[0]] = b["cpu_time"]  # milliseconds
    print("machine: %d cores, %s" % (os.cpu_count(), os.uname().machine))
    optimum, steps = ms["BM_LabOptimum/1000000"], ms["BM_LabGradientSteps/1000000"]
    print("1. optimum of 1,000,000 intervals (width, exact): %.0f ms; 100 gradient steps: %.0f ms;"
          " ratio %.2f (target <= 1)" % (optimum, steps, optimum / steps))
    base = ms["BM_LabOptimum/100000"] / 100000
    growth = ", ".join("%d: %.2f" % (n, ms["BM_LabOptimum/%d" % n] / n / base)
                       for n in (200000, 400000, 1000000))
    print("2. the optimum's time per interval over that at 100,000 -> %s (target: linear, ~1)" % growth)
    for key, name in NAMES.items():
        seconds = ms["BM_LabRefinement/" + key] / 1000
        print("3. refinement table to 1,280,000 intervals, %s: %.2f s (target < 2 s)%s"
              % (name, seconds, "" if seconds < 2 else "  <- over"))


if __name__ == "__main__":
    main()
