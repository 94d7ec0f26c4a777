#!/usr/bin/env python3
"""The race that rodadero-trace --race writes, played in headless Chromium:
each bead's position at a table of moments against the exact sliding, and
the order of arrival. Needs /usr/bin/chromium; saves a screenshot of the race
in mid-run at SCREENSHOT.

race_test.py PROGRAM SCREENSHOT
"""
import json
import math
import os
import sys
import tempfile
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
from checks import finish, run, require as check  # noqa: E402
import browser  # noqa: E402

SVG_NS = {"svg": "http://www.w3.org/2000/svg"}
BEADS = ["chord", "polyline", "brachistochrone"]


# --- the race in the browser ----------------------------------------------

G = 10.0
END = (1.0, 0.92)
THETA_END = 2.547441            # the brachistochrone through (1, 0.92)
RADIUS = 0.503111
BRACHISTOCHRONE_TIME = 0.571394
CHORD_TIME = 0.633554
STEPS = 1000
SLOW = 10
TOLERANCE_PX = 1.0


def chord_at(t):
    """Constant acceleration g 0.92 / L along the chord, from rest."""
    length = math.hypot(*END)
    s = min(0.5 * G * END[1] / length * t * t, length) if t > 0 else 0.0
    return (END[0] * s / length, END[1] * s / length)


def brachistochrone_at(t):
    theta = min(max(t, 0.0) * math.sqrt(G / RADIUS), THETA_END)
    return (RADIUS * (theta - math.sin(theta)), RADIUS * (1 - math.cos(theta)))


def polyline_at(nodes, t):
    """Segment after segment: the bead enters each with the speed sqrt(2 g y)
    of its depth and speeds up at g x drop / length along it."""
    start = 0.0
    for (x0, y0), (x1, y1) in zip(nodes, nodes[1:]):
        length = math.hypot(x1 - x0, y1 - y0)
        v0, v1 = math.sqrt(2 * G * y0), math.sqrt(2 * G * y1)
        duration = 2 * length / (v0 + v1)
        if t < start + duration:
            tau = max(t - start, 0.0)
            s = min(v0 * tau + 0.5 * G * (y1 - y0) / length * tau * tau, length)
            return (x0 + (x1 - x0) * s / length, y0 + (y1 - y0) * s / length)
        start += duration
    return nodes[-1]


def trace_polyline(command):
    """The polyline after STEPS steps and its exact_s, from a trace run."""
    code, out, err = run(command, ["--steps", str(STEPS), "--every", str(STEPS), "--nodes"])
    check(code == 0, "trace run: exit code %d: %r" % (code, err))
    row = out.decode().split("\n")[1].split(",")
    xs = [0.0] + [float(v) for v in row[4:23]] + [END[0]]
    return [(x, k * 0.046) for k, x in enumerate(xs)], float(row[3])


SCRIPT = """
const moments = %(moments)s;
const beads = %(beads)s;
const labels = %(labels)s;
const svg = document.querySelector("svg");
svg.pauseAnimations();
svg.setCurrentTime(moments[0]);
// Animated values take effect on the next frame.
const frame = () => new Promise(done => setTimeout(done, 20));
async function measure() {
  await new Promise(done => setTimeout(done, 200));
  const race = document.getElementById("race");
  const rows = [];
  for (const t of moments) {
    svg.setCurrentTime(t);
    await frame();
    const toRace = race.getCTM().inverse();
    const row = {t: svg.getCurrentTime(), beads: {}, shown: {}};
    for (const id of beads) {
      const bead = document.getElementById("bead-" + id);
      const centre = new DOMPoint(bead.cx.animVal.value, bead.cy.animVal.value)
          .matrixTransform(toRace.multiply(bead.getCTM()));
      row.beads[id] = [centre.x, centre.y];
    }
    for (const id of labels)
      row.shown[id] = getComputedStyle(document.getElementById(id)).visibility === "visible";
    rows.push(row);
  }
  const texts = {};
  for (const id of labels)
    texts[id] = document.getElementById(id).textContent.trim();
  document.getElementById("result").textContent = JSON.stringify({rows, texts});
}
%(start)s
"""


def page_of(svg_text, moments, start):
    labels = ["arrival-" + b for b in BEADS] + ["place-" + b for b in BEADS]
    return browser.page_of(svg_text, SCRIPT % {
        "moments": json.dumps(moments), "beads": json.dumps(BEADS),
        "labels": json.dumps(labels), "start": start})


def race(command, screenshot):
    nodes, exact_s = trace_polyline(command)
    expected = {
        "chord": chord_at,
        "polyline": lambda t: polyline_at(nodes, t),
        "brachistochrone": brachistochrone_at,
    }
    arrival = {"brachistochrone": BRACHISTOCHRONE_TIME, "polyline": exact_s, "chord": CHORD_TIME}

    with tempfile.TemporaryDirectory() as work:
        path = os.path.join(work, "race.svg")
        code, out, err = run(command, ["--steps", str(STEPS), "--race", path])
        check(code == 0, "--race: exit code %d: %r" % (code, err))
        if code != 0:
            return
        with open(path) as f:
            svg_text = f.read()
        root = ET.fromstring(svg_text)
        durations = {a.get("dur") for a in root.iterfind(".//svg:animate", SVG_NS)}
        check(len(durations) == 1, "the animations do not share one round: %r" % durations)
        round_s = float(durations.pop().rstrip("s"))
        print("race SVG: %d bytes, a round of %.3f s on the page" % (len(svg_text), round_s))

        # Moments in real seconds: a few along the way, 2 ms either side of
        # each arrival, and one second on the page after the last.
        table = [0.0, 0.05, 0.1, 0.2, 0.3, 0.4, 0.5, 0.55]
        for t in sorted(arrival.values()):
            table += [t - 0.002, t + 0.002]
        last = max(arrival.values())
        table.append(last + 1.0 / SLOW)
        # Every millisecond of the race, for the worst deviation.
        scan = [n / 1000.0 for n in range(int(last * 1000) + 2)]
        real = table + scan
        # The next round starts with all beads together.
        again = [0.01, 0.2, 0.45]
        moments = [SLOW * t for t in real] + [round_s + SLOW * t for t in again]
        result = browser.measured(work, page_of(svg_text, moments, "measure();"),
                                  budget_ms=60 * len(moments) + 5000)
        if result is None:
            return
        rows = result["rows"]

        worst = {b: 0.0 for b in BEADS}
        for row, t in zip(rows, real + again):
            for bead in BEADS:
                x, y = expected[bead](t)
                got = row["beads"][bead]
                miss = math.hypot(got[0] - 400 * x, got[1] - 400 * y)
                worst[bead] = max(worst[bead], miss)
                check(miss <= TOLERANCE_PX,
                      "%s at %.4f s: (%.3f, %.3f), not (%.3f, %.3f)"
                      % (bead, t, got[0], got[1], 400 * x, 400 * y))
        print("worst deviation: " + ", ".join("%s %.3f px" % (b, worst[b]) for b in BEADS))

        # Each time and place shows from its bead's arrival on, so the order
        # of arrival stays on the page at the end.
        for row, t in zip(rows, real):
            for bead in BEADS:
                arrived = t >= arrival[bead]
                for label in ("arrival-", "place-"):
                    check(row["shown"][label + bead] == arrived,
                          "%s%s at %.4f s: shown %s" % (label, bead, t, row["shown"][label + bead]))
        texts = result["texts"]
        order = sorted(BEADS, key=lambda b: arrival[b])
        check(order == ["brachistochrone", "polyline", "chord"], "order of arrival %r" % order)
        for place, bead in zip(["1st", "2nd", "3rd"], order):
            check(texts["place-" + bead] == place, "%s shows %r, not %s" % (bead, texts["place-" + bead], place))
        for bead, text in [("chord", "0.6336 s"), ("brachistochrone", "0.5714 s"),
                           ("polyline", "%.4f s" % exact_s)]:
            check(texts["arrival-" + bead] == text, "%s shows %r, not %r" % (bead, texts["arrival-" + bead], text))

        # A picture of the race in mid-run, for a person to look at.
        mid = SLOW * 0.4
        browser.screenshot(work, page_of(svg_text, [mid], ""), screenshot, 640, 525)
        print("screenshot at 0.4 s: %s" % screenshot)


if __name__ == "__main__":
    if len(sys.argv) < 3:
        print(__doc__)
        sys.exit(2)
    race([sys.argv[1]], sys.argv[2])
    sys.exit(finish())
