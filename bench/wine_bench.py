#!/usr/bin/env python3
"""Rodadero under Wine: start-up to first paint against a bare Win32 program,
and CPU use over 60 s in each run mode. Prints figures; asserts nothing.

  bench/wine_bench.py [MINGW_BUILD_DIR] [--runs N] [--seconds S]

Needs the mingw build (shell/rodadero.exe and bench/bare_window.exe). Runs
in a Wine session of its own (prefix and Xvfb display under
BUILD_DIR/wine-bench/, started and stopped here with tools/wine-session), so
it disturbs no test session.

Start to first paint: the clock starts when `wine PROGRAM.exe` is launched
(wineserver already running) and stops when the first pure red pixel shows
in the screen area of the window (both programs draw a red line in their
first paint: Rodadero its polyline, the bare program one line). The screen
is read straight from the X server with XGetImage (libX11 through ctypes)
every 2 ms, so the figure includes Wine's start, the program's start-up and
the trip of the pixels to the X server, to within about 3 ms. The runs of
the two programs alternate; medians are compared.

CPU use: user + system time of the program's process from /proc over the
interval, as a share of one core; wineserver's and Xvfb's shares over the
same interval are printed beside it. Timed mode is the mode at start; the
space bar typed into the dialog presses its focused run-mode button and
switches to continuous mode. The mode is read back from the running
program's memory (CurveState.RunContinuous, found with nm and
/proc/PID/maps, read through /proc/PID/mem), before and after each interval.
"""
import ctypes
import os
import struct
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TOOLS = os.path.join(ROOT, "tools")
sys.path.insert(0, TOOLS)
from wine_programs import curve_state_rva  # noqa: E402

# The screen area both windows cover: outer rectangle (10, 10) to (620, 450).
AREA = (0, 0, 640, 480)


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


class Screen:
    """Reads pixels of the session's X display."""

    def __init__(self, display):
        self.x = ctypes.CDLL("libX11.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XGetImage.restype = ctypes.POINTER(XImage)
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x.XFree.argtypes = [ctypes.c_void_p]
        self.display = self.x.XOpenDisplay(display.encode())
        if not self.display:
            raise RuntimeError("cannot open X display " + display)
        self.root = self.x.XDefaultRootWindow(self.display)

    def has_red(self):
        """True when a pure red pixel (255, 0, 0) shows in AREA."""
        left, top, right, bottom = AREA
        ZPIXMAP = 2
        image = self.x.XGetImage(self.display, self.root, left, top, right - left, bottom - top,
                                 0xFFFFFFFF, ZPIXMAP)
        if not image:
            return False
        im = image.contents
        if im.bits_per_pixel != 32:
            raise RuntimeError("expected 32 bits per pixel, got %d" % im.bits_per_pixel)
        data = ctypes.string_at(im.data, im.bytes_per_line * im.height)
        self.x.XFree(im.data)
        self.x.XFree(image)
        # 32-bit pixels 0x00RRGGBB, least significant byte first: red is 00 00 ff.
        at = data.find(b"\x00\x00\xff")
        while at >= 0:
            if at % 4 == 0:
                return True
            at = data.find(b"\x00\x00\xff", at + 1)
        return False


def cpu_seconds(pid):
    """User + system CPU seconds of a process so far."""
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def pids_named(fragment, env_key=None, env_value=None):
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/cmdline" % entry, "rb") as f:
                cmd = f.read().replace(b"\0", b" ").decode("utf-8", "replace")
            if fragment not in cmd:
                continue
            if env_key:
                with open("/proc/%s/environ" % entry, "rb") as f:
                    env = f.read().split(b"\0")
                if ("%s=%s" % (env_key, env_value)).encode() not in env:
                    continue
            found.append(int(entry))
        except OSError:
            pass
    return found


class CurveStateReader:
    """Reads fields of CurveState out of the running program's memory."""

    # Offsets in the record (x86_64): NodeX, ShownX 21 doubles each, FallTime,
    # CycloidPts and ScreenPts 21 pairs each, ApproxColor, Alpha, AlphaPos,
    # RunContinuous.
    FALL_TIME, APPROX_COLOR, ALPHA, ALPHA_POS, RUN_CONTINUOUS = 336, 1016, 1024, 1032, 1036
    SIZE = 1040

    def __init__(self, pid, exe, nm):
        rva = curve_state_rva(exe, nm)
        base = None
        name = os.path.basename(exe)
        with open("/proc/%d/maps" % pid) as f:
            for line in f:
                if line.rstrip().endswith(name):
                    start = int(line.split("-", 1)[0], 16)
                    base = start if base is None else min(base, start)
        if base is None:
            raise RuntimeError("%s is not mapped in process %d" % (name, pid))
        self.address = base + rva
        self.pid = pid

    def read(self):
        with open("/proc/%d/mem" % self.pid, "rb") as f:
            f.seek(self.address)
            raw = f.read(self.SIZE)
        return {
            "FallTime": struct.unpack_from("<d", raw, self.FALL_TIME)[0],
            "ApproxColor": struct.unpack_from("<I", raw, self.APPROX_COLOR)[0],
            "Alpha": struct.unpack_from("<d", raw, self.ALPHA)[0],
            "AlphaPos": struct.unpack_from("<i", raw, self.ALPHA_POS)[0],
            "RunContinuous": struct.unpack_from("<i", raw, self.RUN_CONTINUOUS)[0],
        }


class Session:
    def __init__(self, build):
        self.folder = os.path.join(build, "wine-bench")
        os.makedirs(self.folder, exist_ok=True)
        subprocess.run([os.path.join(TOOLS, "wine-session"), "start", self.folder], check=True,
                       stdout=subprocess.DEVNULL)
        values = {}
        with open(os.path.join(self.folder, "wine", "session")) as f:
            for line in f:
                key, _, value = line.strip().partition("=")
                values[key] = value
        self.display = values["DISPLAY"]
        self.xvfb = int(values["XVFB_PID"])
        self.prefix = os.path.join(self.folder, "wine", "prefix")
        self.env = dict(os.environ, DISPLAY=self.display, WINEPREFIX=self.prefix,
                        WINEDEBUG="-all", WINEARCH="win64",
                        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")

    def stop(self):
        subprocess.run([os.path.join(TOOLS, "wine-session"), "stop", self.folder],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def start(self, exe):
        return subprocess.Popen(["wine", exe], env=self.env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True,
                              timeout=30).stdout.split()

    def window(self, name, seconds=30):
        end = time.time() + seconds
        while time.time() < end:
            found = self.xdotool("search", "--onlyvisible", "--name", name)
            if found:
                return found[0]
            time.sleep(0.05)
        return None


def first_paint(session, screen, exe, timeout=60.0):
    """Seconds from launching exe to its first red pixel on screen; then ends it."""
    end = time.time() + 10
    while screen.has_red() and time.time() < end:
        time.sleep(0.05)  # the previous window still on screen
    start = time.perf_counter()
    process = session.start(exe)
    elapsed = None
    while time.perf_counter() - start < timeout:
        if screen.has_red():
            elapsed = time.perf_counter() - start
            break
        time.sleep(0.002)
    process.kill()
    process.wait()
    # The Windows process is the one started; make sure nothing of it lingers.
    for pid in pids_named(os.path.basename(exe), "WINEPREFIX", session.prefix):
        try:
            os.kill(pid, 9)
        except OSError:
            pass
    return elapsed


def cpu_share(pids, seconds):
    before = {p: cpu_seconds(p) for p in pids}
    start = time.perf_counter()
    time.sleep(seconds)
    wall = time.perf_counter() - start
    return {p: 100.0 * (cpu_seconds(p) - before[p]) / wall for p in pids}


def main():
    args = sys.argv[1:]
    runs, seconds = 7, 60.0
    build = os.path.join(ROOT, "build", "mingw")
    while args:
        a = args.pop(0)
        if a == "--runs":
            runs = int(args.pop(0))
        elif a == "--seconds":
            seconds = float(args.pop(0))
        else:
            build = a
    build = os.path.abspath(build)
    rodadero = os.path.join(build, "shell", "rodadero.exe")
    nm = "x86_64-w64-mingw32-nm"
    bare = os.path.join(build, "bench", "bare_window.exe")
    for exe in (rodadero, bare):
        if not os.path.exists(exe):
            print("missing %s: build the mingw preset first" % exe)
            return 1

    session = Session(build)
    try:
        screen = Screen(session.display)
        print("Wine session on %s, prefix %s" % (session.display, session.prefix))
        print("start to first paint: launch of `wine PROGRAM.exe` to the first pure red pixel "
              "read back from the X server (XGetImage every 2 ms)")
        first_paint(session, screen, bare)  # warm-up: DLLs into the file cache
        first_paint(session, screen, rodadero)
        times = {"bare": [], "rodadero": []}
        for _ in range(runs):
            for name, exe in (("bare", bare), ("rodadero", rodadero)):
                t = first_paint(session, screen, exe)
                if t is None:
                    print("  %s: no red pixel within 60 s" % name)
                    continue
                times[name].append(t)
        for name in ("bare", "rodadero"):
            t = times[name]
            if t:
                print("  %-9s median %6.1f ms, min %6.1f ms, max %6.1f ms over %d runs"
                      % (name, 1e3 * statistics.median(t), 1e3 * min(t), 1e3 * max(t), len(t)))
        if times["bare"] and times["rodadero"]:
            print("  ratio rodadero / bare (medians): %.2f"
                  % (statistics.median(times["rodadero"]) / statistics.median(times["bare"])))

        # CPU use in each run mode.
        process = session.start(rodadero)
        main_window = session.window("soft by Velmorant")
        dialog = session.window("parametros y reset")
        if not main_window or not dialog:
            print("CPU use: the program's windows did not appear")
            process.kill()
            return 1
        time.sleep(1.0)
        program = pids_named("rodadero.exe", "WINEPREFIX", session.prefix)
        server = pids_named("wineserver", "WINEPREFIX", session.prefix)
        if len(program) != 1:
            print("CPU use: expected one rodadero.exe process, found %r" % program)
            process.kill()
            return 1
        pids = program + server + [session.xvfb]
        names = {program[0]: "rodadero.exe", session.xvfb: "Xvfb"}
        for p in server:
            names[p] = "wineserver"

        state = CurveStateReader(program[0], rodadero, nm)
        first = state.read()
        if first["AlphaPos"] != 50 or first["Alpha"] != 0.0001 or first["ApproxColor"] != 0xFF:
            print("CPU use: CurveState read from memory does not look right: %r" % first)
            process.kill()
            return 1

        print("CPU use over %.0f s, share of one core (user + system time from /proc):" % seconds)
        for mode in ("timed", "continuous"):
            if mode == "continuous":
                # Focus the dialog, whose focused control is the run-mode button.
                session.xdotool("windowfocus", "--sync", dialog)
                session.xdotool("key", "space")
                time.sleep(1.0)
            before = state.read()
            share = cpu_share(pids, seconds)
            after = state.read()
            confirmed = before["RunContinuous"] == after["RunContinuous"] == (mode == "continuous")
            print("  %-10s " % mode + ", ".join("%s %.1f%%" % (names[p], share[p]) for p in pids)
                  + ("   (RunContinuous = %d throughout, printed time %d to %d)"
                     % (after["RunContinuous"], int(before["FallTime"] * 1e6),
                        int(after["FallTime"] * 1e6))
                     if confirmed else "   (NOT in this mode: RunContinuous %d, then %d)"
                     % (before["RunContinuous"], after["RunContinuous"])))

        session.xdotool("mousemove", "--window", main_window, "500", "420", "click", "1")
        session.xdotool("windowfocus", "--sync", main_window)
        session.xdotool("key", "Escape")
        try:
            code = process.wait(timeout=20)
            print("Escape ended the program with exit code %d" % code)
        except subprocess.TimeoutExpired:
            process.kill()
            print("the program did not end on Escape; killed")
    finally:
        session.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
