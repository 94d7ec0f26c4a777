#!/usr/bin/env python3
"""The charts that rodadero-trace draws, measured in headless Chromium: every
mark's centre, mapped back to values through the chart's own axes (read from
the tick labels and the ticks' places, nothing else), against the values the
marks stand for; then a screenshot of each chart for a person to look at.

charts_test.py fates PROGRAM SCREENSHOT
    --sweep --svg: each position's two marks against the sweep's stored rows
    (golden/sweep.csv, from a separate plain program), the step its cycle
    begins, the classes the periods give, the limit line between 57 and 58;
    and --sweep --position 58 --svg, a chart of one position.
charts_test.py convergence PROGRAM SCREENSHOT
    --plot: each point of the two curves against the rows of the same run
    printed step by step, and the brachistochrone's line at 0.571394 s.
"""
import csv
import json
import math
import os
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..'))
from checks import finish, run, require as check  # noqa: E402
import browser  # noqa: E402

SWEEP_GOLDEN = os.path.join(HERE, "..", "trace", "golden", "sweep.csv")

# Reads the axes' ticks (the place where each tick's line starts, and its
# label), and the centre and class of every element the page asks for, in
# the picture's own coordinates.
SCRIPT = """
const picture = document.querySelector("svg");
const toPicture = el => picture.getCTM().inverse().multiply(el.getCTM());
function centre(el) {
  const b = el.getBBox();
  const p = new DOMPoint(b.x + b.width / 2, b.y + b.height / 2).matrixTransform(toPicture(el));
  return [p.x, p.y];
}
function ticks(id) {
  return [...document.getElementById(id).querySelectorAll("g.tick")].map(g => {
    const line = g.querySelector("line");
    const p = new DOMPoint(line.x1.baseVal.value, line.y1.baseVal.value)
        .matrixTransform(toPicture(line));
    return {x: p.x, y: p.y, label: g.querySelector("text").textContent};
  });
}
function points(id) {
  const el = document.getElementById(id);
  return [...el.points].map(q => {
    const p = new DOMPoint(q.x, q.y).matrixTransform(toPicture(el));
    return [p.x, p.y];
  });
}
const result = {axes: {}, marks: {}, lines: {}, texts: {}, curves: {}};
for (const id of %(axes)s)
  result.axes[id] = ticks(id);
for (const el of document.querySelectorAll(%(marks)s)) {
  const style = getComputedStyle(el);
  result.marks[el.id] = {centre: centre(el), cls: el.getAttribute("class"), fill: style.fill};
}
for (const id of %(lines)s) {
  const el = document.getElementById(id);
  if (!el) continue;
  const a = new DOMPoint(el.x1.baseVal.value, el.y1.baseVal.value).matrixTransform(toPicture(el));
  const b = new DOMPoint(el.x2.baseVal.value, el.y2.baseVal.value).matrixTransform(toPicture(el));
  result.lines[id] = [a.x, a.y, b.x, b.y];
}
for (const id of %(texts)s) {
  const el = document.getElementById(id);
  result.texts[id] = el ? el.textContent : null;
}
for (const id of %(curves)s)
  result.curves[id] = points(id);
document.getElementById("result").textContent = JSON.stringify(result);
"""


def measure(work, svg_text, axes, marks, lines=(), texts=(), curves=()):
    script = SCRIPT % {"axes": json.dumps(list(axes)), "marks": json.dumps(marks),
                       "lines": json.dumps(list(lines)), "texts": json.dumps(list(texts)),
                       "curves": json.dumps(list(curves))}
    return browser.measured(work, browser.page_of(svg_text, script), budget_ms=5000)


def axis_map(ticks, along, logarithmic, name):
    """The value at a pixel, fitted through the ticks by least squares (of the
    value's logarithm on a log axis); the fit must pass through every tick."""
    if not check(len(ticks) >= 2, "%s: %d ticks" % (name, len(ticks))):
        return None
    at = [t[along] for t in ticks]
    values = [float(t["label"].replace(" ", "").replace("\u202f", "")) for t in ticks]
    if logarithmic:
        values = [math.log10(v) for v in values]
    n = len(at)
    mean_at, mean_v = sum(at) / n, sum(values) / n
    slope = (sum((a - mean_at) * (v - mean_v) for a, v in zip(at, values)) /
             sum((a - mean_at) ** 2 for a in at))
    offset = mean_v - slope * mean_at
    worst = max(abs(offset + slope * a - v) for a, v in zip(at, values))
    span = max(values) - min(values)
    check(worst <= 1e-5 * span, "%s: the ticks are not evenly spaced (%.3g)" % (name, worst))
    if logarithmic:
        return lambda pixel: 10 ** (offset + slope * pixel)
    return lambda pixel: offset + slope * pixel


def golden_fates():
    with open(SWEEP_GOLDEN) as f:
        return {int(r["position"]): r for r in csv.DictReader(f)}


def chart(command, work, args):
    path = os.path.join(work, "chart.svg")
    code, out, err = run(command, args + ["--svg", path])
    check(code == 0, "%s: exit code %d: %r" % (" ".join(args), code, err))
    with open(path, encoding="utf-8") as f:
        return f.read()


def check_fates(measured, rows):
    """Each row's marks where its values are, with the class its period gives."""
    across = axis_map(measured["axes"]["position-axis"], "x", False, "position axis")
    times = axis_map(measured["axes"]["time-axis"], "y", False, "time axis")
    steps = axis_map(measured["axes"]["cycle-axis"], "y", True, "cycle axis")
    if not (across and times and steps):
        return
    marks = measured["marks"]
    expected_ids = set()
    for position, row in rows.items():
        period = int(row["period"]) if row["period"] else 0
        cls = "settles" if period == 1 else "swings" if period >= 2 else "no-cycle"
        wanted = [("fate-%d-low" % position, times, float(row["low_us"]), 1.0),
                  ("fate-%d-high" % position, times, float(row["high_us"]), 1.0),
                  ("cycle-%d" % position, steps, float(row["cycle_from"]), None)]
        for mark_id, axis, value, tolerance in wanted:
            expected_ids.add(mark_id)
            mark = marks.get(mark_id)
            if not check(mark is not None, "no mark %s" % mark_id):
                continue
            x, y = mark["centre"]
            check(abs(across(x) - position) <= 0.02,
                  "%s: at position %.3f" % (mark_id, across(x)))
            got = axis(y)
            limit = tolerance if tolerance else 5e-4 * value
            check(abs(got - value) <= limit, "%s: at %.2f, not %s" % (mark_id, got, value))
            check(mark["cls"] == cls, "%s: class %r, not %r" % (mark_id, mark["cls"], cls))
    check(set(marks) == expected_ids,
          "marks for no row: %r" % sorted(set(marks) - expected_ids)[:5])
    return across


def fates(command, screenshot):
    rows = golden_fates()
    with tempfile.TemporaryDirectory() as work:
        svg_text = chart(command, work, ["--sweep"])
        measured = measure(work, svg_text, ["position-axis", "time-axis", "cycle-axis"],
                           "circle[id^='fate-'], circle[id^='cycle-']",
                           lines=["stability-limit"], texts=["stability-limit-label"])
        if measured is None:
            return
        across = check_fates(measured, rows)
        marks = measured["marks"]
        # The three fates are told apart by colour as well.
        fills = {m["cls"]: m["fill"] for m in marks.values()}
        check(fills.get("settles") != fills.get("swings"),
              "settles and swings drawn alike: %r" % fills)
        swinging = sorted(p for p, r in rows.items()
                          if r["period"] and int(r["period"]) >= 2 and r["low_us"] == r["high_us"])
        check(swinging == [39, 41, 44, 49, 55, 56, 57],
              "the positions that swing with one printed time: %r" % swinging)
        line = measured["lines"].get("stability-limit")
        if check(line is not None, "no stability-limit line") and across:
            check(abs(line[0] - line[2]) < 1e-6, "the limit line is not vertical: %r" % line)
            at = across(line[0])
            check(57 < at < 58, "the limit line at position %.4f, not between 57 and 58" % at)
            label = measured["texts"].get("stability-limit-label") or ""
            numbers = [float(w) for w in label.replace(":", " ").split()
                       if w.replace(".", "", 1).isdigit()]
            check(any(57 < n < 58 for n in numbers),
                  "the limit's label does not give it: %r" % label)

        # A chart of one position: its marks alone.
        one = chart(command, work, ["--sweep", "--position", "58"])
        measured_one = measure(work, one, ["position-axis", "time-axis", "cycle-axis"],
                               "circle[id^='fate-'], circle[id^='cycle-']")
        if measured_one is not None:
            check_fates(measured_one, {58: rows[58]})

        browser.screenshot(work, browser.page_of(svg_text, ""), screenshot, 800, 660)
        print("screenshot of the fates chart: %s" % screenshot)


def convergence(command, screenshot):
    steps = 3000
    code, out, err = run(command, ["--steps", str(steps), "--every", "1"])
    check(code == 0, "--every 1: exit code %d" % code)
    rows = {int(r["step"]): r for r in csv.DictReader(out.decode().splitlines())}
    with tempfile.TemporaryDirectory() as work:
        path = os.path.join(work, "curve.svg")
        code, out, err = run(command, ["--steps", str(steps), "--every", str(steps),
                                       "--plot", path])
        check(code == 0, "--plot: exit code %d: %r" % (code, err))
        with open(path, encoding="utf-8") as f:
            svg_text = f.read()
        measured = measure(work, svg_text, ["step-axis", "time-axis"], "[id='none']",
                           lines=["brachistochrone"], texts=["brachistochrone-label"],
                           curves=["printed-time", "exact-time"])
        if measured is None:
            return
        across = axis_map(measured["axes"]["step-axis"], "x", True, "step axis")
        times = axis_map(measured["axes"]["time-axis"], "y", False, "time axis")
        if not (across and times):
            return
        for curve, column, scale in [("printed-time", "time_us", 1e-6), ("exact-time", "exact_s", 1)]:
            points = measured["curves"][curve]
            shown = []
            for x, y in points:
                at = across(x)
                step = round(at)
                shown.append(step)
                if not check(abs(at - step) <= 0.05 and step in rows,
                             "%s: a point at step %.3f" % (curve, at)):
                    continue
                value = float(rows[step][column]) * scale
                check(abs(times(y) - value) <= 5e-7,
                      "%s at step %d: %.7f s, not %.7f s" % (curve, step, times(y), value))
            check(shown == sorted(set(shown)), "%s: steps out of order or twice" % curve)
            check(shown[:100] == list(range(1, 101)) and shown[-1] == steps,
                  "%s: not every step of the first 100 and the last: %r" % (curve, shown[:5]))
            check(len(shown) < 300, "%s: %d points" % (curve, len(shown)))
        line = measured["lines"].get("brachistochrone")
        if check(line is not None, "no brachistochrone line"):
            check(abs(line[1] - line[3]) < 1e-6, "the brachistochrone line is not level")
            check(abs(times(line[1]) - 0.571394) <= 1e-6,
                  "the brachistochrone line at %.7f s" % times(line[1]))
            check("0.571394" in (measured["texts"].get("brachistochrone-label") or ""),
                  "the line's label: %r" % measured["texts"].get("brachistochrone-label"))

        # For a person to look at: scroll position 58, just past the limit,
        # over a million steps: the descent, then the swing it ends in.
        code, _, _ = run(command, ["--position", "58", "--steps", "1000000", "--every",
                                   "1000000", "--plot", path])
        with open(path, encoding="utf-8") as f:
            browser.screenshot(work, browser.page_of(f.read(), ""), screenshot, 800, 500)
        print("screenshot of the convergence curve: %s" % screenshot)


CHECKS = {"fates": fates, "convergence": convergence}

if __name__ == "__main__":
    if len(sys.argv) < 4 or sys.argv[1] not in CHECKS:
        print(__doc__)
        sys.exit(2)
    CHECKS[sys.argv[1]]([sys.argv[2]], sys.argv[3])
    sys.exit(finish())
