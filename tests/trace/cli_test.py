#!/usr/bin/env python3
"""rodadero-trace as a process: exit codes, what goes to standard output and
standard error, the sweep rows, the SVG and race files, and output compared byte for
byte with stored files (the same bytes natively and from the .exe).

cli_test.py CHECK PROGRAM [EMULATOR]
CHECK is one of: bad-input, help, golden, sweep, svg, race, methods.
"""
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..'))
from checks import finish, run, require as check  # noqa: E402



# Bad input as a process: exit code 2, nothing on standard output, one line
# on standard error ending in \n alone (from the .exe too), and no file left
# behind, here for a fault of the arguments and for a picture that cannot be
# written beside one that could. Every kind of bad input and the line it
# earns are checked in-process, natively and under Wine (trace_test.cpp).
BAD_INPUTS = [
    ["--bogus"],
    ["--svg", "p.svg", "--plot", "no-such-folder/c.svg"],
]


def bad_input(command):
    with tempfile.TemporaryDirectory() as work:
        for args in BAD_INPUTS:
            code, out, err = run(command, args, cwd=work)
            shown = " ".join(repr(a) for a in args)
            check(code == 2, "%s: exit code %d, not 2" % (shown, code))
            check(out == b"", "%s: standard output not empty: %r" % (shown, out[:80]))
            check(err.startswith(b"rodadero-trace: ") and err.endswith(b"\n")
                  and err.count(b"\n") == 1 and b"\r" not in err,
                  "%s: standard error is not one line: %r" % (shown, err))
        check(os.listdir(work) == [], "files left behind: %r" % os.listdir(work))


def help_text(command):
    """--help and -h print golden/help.txt, whatever stands beside them."""
    with open(os.path.join(HERE, "golden", "help.txt"), "rb") as f:
        expected = f.read()
    for args in (["--help"], ["-h"], ["--steps", "x", "--help"]):
        code, out, err = run(command, args)
        check(code == 0, "%s: exit code %d" % (args, code))
        check(out == expected, "%s: the text differs:\n%s" % (args, out.decode()[:3000]))
        check(err == b"", "%s wrote to standard error: %r" % (args, err))


# Runs whose standard output is stored in golden/.
GOLDEN = [
    (["--steps", "12", "--every", "5", "--position", "37", "--nodes"], "steps12_every5_p37_nodes.csv"),
    (["--steps", "0"], "steps0.csv"),
    (["--position", "100", "--steps", "3000", "--every", "997"], "p100_steps3000_every997.csv"),
    # The laboratory: its cycloids, optima, eigenvalues and runs, the same
    # bits in every build.
    (["--lab", "--refine", "--end", "0.01,5", "--intervals", "320"], "lab_refine_tall.csv"),
    (["--lab", "--optimum", "--end", "1,0.01", "--layout", "width", "--time", "exact",
      "--intervals", "64"], "lab_optimum_flat.csv"),
    (["--lab", "--steps", "300", "--every", "100", "--end", "2,0.3", "--layout", "width",
      "--time", "exact", "--method", "nesterov"], "lab_nesterov_width.csv"),
]


def golden(command):
    for args, name in GOLDEN:
        code, out, err = run(command, args)
        with open(os.path.join(HERE, "golden", name), "rb") as f:
            expected = f.read()
        check(code == 0, "%s: exit code %d" % (name, code))
        check(out == expected, "%s: output differs:\n%s" % (name, out.decode()[:2000]))
        check(err.count(b"\n") == 1 and err.endswith(b"\n"),
              "%s: standard error is not one line: %r" % (name, err))


# The fate of every scroll position, as found by a separate plain program that
# kept every state of each run and stopped at the first repeat.
SWEEP_GOLDEN = "sweep.csv"

# One position with --steps as the limit: position 58 repeats the state of
# step 14038 at step 14040, so 14039 steps are one too few; the time then is
# the one after step 14039. With no step at all, the chord's printed 0.
SWEEP_LIMITS = [
    (["--position", "58", "--steps", "14040"], "58,14038,2,543340,543399"),
    (["--position", "58", "--steps", "14039"], "58,,,543399,543399"),
    (["--steps", "16541", "--position", "50"], "50,16540,1,542355,542355"),
    (["--steps", "16540", "--position", "50"], "50,,,542355,542355"),
    (["--position", "1", "--steps", "6000"], "1,,,556874,556874"),
    (["--position", "100", "--steps", "0"], "100,,,0,0"),
]


def sweep(command):
    code, out, err = run(command, ["--sweep"])
    with open(os.path.join(HERE, "golden", SWEEP_GOLDEN), "rb") as f:
        expected = f.read()
    check(code == 0, "--sweep: exit code %d" % code)
    check(err == b"", "--sweep wrote to standard error: %r" % err)
    check(out == expected, "--sweep: output differs:\n%s" % out.decode()[:4000])
    for args, row in SWEEP_LIMITS:
        code, out, err = run(command, ["--sweep"] + args)
        expected = "position,cycle_from,period,low_us,high_us\n%s\n" % row
        check(code == 0 and out.decode() == expected,
              "--sweep %s: exit code %d, %r, not %r" % (" ".join(args), code, out, expected))


def points(element):
    return [tuple(float(v) for v in p.split(",")) for p in element.get("points").split()]


SVG_NS = {"svg": "http://www.w3.org/2000/svg"}


def picture(command, option, args):
    """Runs the command with `option FILE` over an older file in a folder of
    its own: exit code 0, the file replaced and nothing else left (no
    temporary file). The picture's root element, standard output and
    standard error; root None when it is not XML."""
    with tempfile.TemporaryDirectory() as work:
        path = os.path.join(work, "picture.svg")
        with open(path, "w") as f:
            f.write("an older file\n")
        code, out, err = run(command, args + [option, path])
        check(code == 0, "%s: exit code %d: %r" % (option, code, err))
        check(os.listdir(work) == ["picture.svg"], "%s: folder holds %r" % (option, os.listdir(work)))
        try:
            return ET.parse(path).getroot(), out, err
        except ET.ParseError as e:
            check(False, "%s: not XML: %s" % (option, e))
            return None, out, err


def svg(command):
    root, _, _ = picture(command, "--svg", ["--steps", "500", "--every", "500"])
    if root is None:
        return
    check(root.tag == "{http://www.w3.org/2000/svg}svg", "--svg: root %s" % root.tag)
    curves = {e.get("id"): e for e in root.iterfind(".//svg:polyline", SVG_NS)}
    check(sorted(curves) == ["brachistochrone", "cycloid", "polyline"],
          "--svg: curves %r" % sorted(curves))
    if len(curves) != 3:
        return
    check(curves["polyline"].get("stroke") == "#ff0000", "polyline is not red")
    check(curves["cycloid"].get("stroke") == "#0096fa", "cycloid is not blue")
    check(curves["brachistochrone"].get("stroke-dasharray"), "brachistochrone is not dashed")
    poly = points(curves["polyline"])
    check(len(poly) == 21 and poly[0] == (0.0, 0.0) and poly[-1] == (400.0, 368.0),
          "polyline points: %r" % poly[:2])
    # The window's cycloid samples: (0, 2) in truncated pixels, then to (691, 397).
    cyc = points(curves["cycloid"])
    check(len(cyc) == 21 and int(cyc[0][0]) == 0 and int(cyc[0][1]) == 2
          and int(cyc[-1][0]) == 691 and int(cyc[-1][1]) == 397, "cycloid points: %r" % cyc[:1])
    exact = points(curves["brachistochrone"])
    check(exact[0] == (0.0, 0.0) and abs(exact[-1][0] - 400) < 1e-3 and abs(exact[-1][1] - 368) < 1e-3,
          "brachistochrone ends: %r %r" % (exact[0], exact[-1]))
    check(root.find(".//svg:rect[@id='frame']", SVG_NS) is not None, "no frame")
    check(root.find(".//svg:path[@id='target']", SVG_NS) is not None, "no target lines")
    text = " ".join(t.text or "" for t in root.iterfind(".//svg:text", SVG_NS))
    # The times after 500 steps, from a plain reference run outside the
    # program: model 0.5456316472510535 s, exact 0.5752354160102363 s.
    for shown in ("model time 0.545632 s", "exact time 0.575235 s"):
        check(shown in text, "caption lacks %r: %r" % (shown, text))
    check("0.571394" in text, "caption lacks the brachistochrone time: %r" % text)


BEADS = ["chord", "polyline", "brachistochrone"]


def race(command):
    """--race replaces an older file, leaves no temporary one, prints no rows
    and writes a picture with the race group and the three beads, and no
    script or link."""
    root, out, err = picture(command, "--race", ["--steps", "20", "--slow", "3"])
    check(out == b"", "--race printed rows: %r" % out[:80])
    check(err.count(b"\n") == 1 and err.endswith(b"\n"), "--race: standard error %r" % err)
    if root is None:
        return
    ids = {e.get("id") for e in root.iter()}
    for name in ["race"] + ["bead-" + b for b in BEADS]:
        check(name in ids, "--race: no element %s" % name)
    check(root.find(".//svg:script", SVG_NS) is None, "--race: holds a script")
    links = [k for e in root.iter() for k in e.attrib if k.endswith("href")]
    check(links == [], "--race: links to %r" % links)


def rects(root):
    return {e.get("id"): e for e in root.iterfind(".//svg:rect", SVG_NS)
            if (e.get("id") or "").startswith("cell-")}


def methods(command):
    """The other methods: the map's cells against its rows, the comparison's
    curves against its rows, and the figures of a few cells and runs found
    by plain searches outside the program."""
    root, out, err = picture(command, "--svg", ["--sweep", "--method", "heavy-ball",
                                                "--position", "80", "--steps", "20000"])
    if root is None:
        return
    rows = out.decode().splitlines()
    check(rows[0] == "position,beta,cycle_from,period,low_us,high_us", "map header %r" % rows[0])
    check(len(rows) == 21, "map of one position: %d rows" % len(rows))
    cells = rects(root)
    check(len(cells) == 20, "map of one position: %d cells" % len(cells))
    for row in rows[1:]:
        position, beta, cycle_from, period, low, high = row.split(",")
        cell = cells.get("cell-%s-%d" % (position, round(float(beta) * 100)))
        check(cell is not None, "no cell for %r" % row)
        if cell is None:
            continue
        classes = set(cell.get("class").split())
        check(("settles" in classes) == (low == high) and ("swings" in classes) == (low != high),
              "cell %s: classes %r for %r" % (cell.get("id"), classes, row))
        check(("no-cycle" in classes) == (period == ""),
              "cell %s: classes %r for %r" % (cell.get("id"), classes, row))
    # Position 80, beta 0.35: period 52 from step 8637 (a plain search that
    # kept every state found it).
    check("80,0.35,8637,52,545361,545676" in rows, "80, 0.35: %r" % rows[8:9])
    check(root.find(".//svg:polyline[@id='stability-limit']", SVG_NS) is not None, "no limit line")
    check(root.find(".//svg:circle[@id='best-setting']", SVG_NS) is not None, "no best setting")

    root, out, err = picture(command, "--compare", ["--steps", "3000"])
    if root is None:
        return
    rows = [r.split(",") for r in out.decode().splitlines()]
    check(rows[0] == ["method", "position", "beta", "step", "time_us", "model_s", "distance_s"],
          "compare header %r" % rows[0])
    names = ["program", "gradient", "heavy-ball", "nesterov", "newton"]
    paths = {e.get("id"): e for e in root.iterfind(".//svg:path", SVG_NS)}
    for name in names:
        mine = [r for r in rows[1:] if r[0] == name]
        path = paths.get("curve-" + name)
        check(path is not None and mine, "no curve or rows for %s" % name)
        if path is None or not mine:
            continue
        # One vertex a row, at the row's step.
        vertices = re.findall(r"[ML]([0-9.]+),([0-9.]+)", path.get("d"))
        check(len(vertices) == len(mine), "%s: %d vertices, %d rows" % (name, len(vertices), len(mine)))
        steps = [int(r[3]) for r in mine]
        check(steps == sorted(steps) and steps[0] == 1, "%s: steps %r" % (name, steps[:5]))
        xs = [float(v[0]) for v in vertices]
        check(xs == sorted(xs), "%s: the curve goes back along the step axis" % name)
    newton = [r for r in rows[1:] if r[0] == "newton"]
    check(len(newton) < 12 and float(newton[-1][6]) <= 0.0,
          "Newton does not reach the settled time in a handful of steps: %r" % newton[-1:])

    # A run of another method prints a run's rows and its own summary line.
    code, out, err = run(command, ["--method", "newton", "--steps", "8", "--every", "2"])
    rows = out.decode().splitlines()
    check(code == 0 and rows[0] == "step,time_us,model_s,exact_s" and len(rows) == 5,
          "newton run: %d %r" % (code, rows))
    check(err.startswith(b"rodadero-trace: newton: after 8 steps"), "newton summary %r" % err)
    code, out, err = run(command, ["--stability", "--method", "heavy-ball"])
    fields = out.decode().splitlines()[1].split(",")
    check(fields[0:2] == ["heavy-ball", "0.9"] and abs(float(fields[5]) - 107.92) < 0.005
          and abs(float(fields[6]) - 0.89114) < 5e-6, "heavy-ball stability %r" % fields)


CHECKS = {"methods": methods, "bad-input": bad_input, "help": help_text, "golden": golden, "sweep": sweep, "svg": svg,
          "race": race}

if __name__ == "__main__":
    if len(sys.argv) < 3 or sys.argv[1] not in CHECKS:
        print(__doc__)
        sys.exit(2)
    command = ([sys.argv[3]] if len(sys.argv) > 3 and sys.argv[3] else []) + [sys.argv[2]]
    CHECKS[sys.argv[1]](command)
    sys.exit(finish())
