#!/usr/bin/env python3
"""End-to-end test: the real rodadero.exe under Wine on the test session's
Xvfb display, looked at through screenshots and driven with xdotool as a
person would drive it.

usage: e2e_test.py BUILD_DIR RODADERO_EXE PROBE_EXE NM TRACE_EXE
"""
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
WINE_RUN = os.path.join(HERE, '..', 'tools', 'wine-run')
sys.path.insert(0, os.path.join(HERE, '..', 'tools'))
sys.path.insert(0, HERE)
from wine_programs import (curve_state_rva, escape_at, parse_probe, programs_in,  # noqa: E402
                           visible_window, xdotool)
from checks import check, finish  # noqa: E402
# ImageMagick's own convert (a tool of the same name may stand before it on PATH).
CONVERT = '/usr/bin/convert' if os.path.exists('/usr/bin/convert') else 'convert'

RED = (255, 0, 0)
BLUE = (0, 150, 250)
BLACK = (0, 0, 0)
BACKGROUND = (200, 200, 160)



def session_display(build):
    values = {}
    with open(os.path.join(build, 'wine', 'session')) as f:
        for line in f:
            key, _, value = line.strip().partition('=')
            values[key] = value
    return values['DISPLAY']


class Screen:
    """A screenshot of the whole X display, read as RGB pixels."""

    def __init__(self, path):
        subprocess.run(['import', '-window', 'root', path], check=True)
        ppm = subprocess.run([CONVERT, path, 'ppm:-'], capture_output=True, check=True).stdout
        # P6 header: magic, width, height, maximum, then the pixels.
        fields = []
        pos = 0
        while len(fields) < 4:
            while ppm[pos:pos + 1].isspace():
                pos += 1
            start = pos
            while not ppm[pos:pos + 1].isspace():
                pos += 1
            fields.append(ppm[start:pos])
        self.width, self.height = int(fields[1]), int(fields[2])
        self.data = ppm[pos + 1:]
        self.path = path

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.data[i:i + 3])

    def count(self, colour, box):
        left, top, right, bottom = box
        return sum(1 for y in range(top, bottom) for x in range(left, right)
                   if self.pixel(x, y) == colour)

    def region(self, box):
        left, top, right, bottom = box
        return [self.pixel(x, y) for y in range(top, bottom) for x in range(left, right)]


class Program:
    def __init__(self, build, exe, probe, rva, display):
        self.exe, self.probe_exe, self.rva = exe, probe, rva
        self.env = dict(os.environ, DISPLAY=display)
        self.shots = os.path.join(build, 'e2e')
        os.makedirs(self.shots, exist_ok=True)
        # One program at a time: the probe finds windows by name.
        self.prefix = os.path.join(os.path.abspath(build), 'wine', 'prefix')
        for _ in range(100):
            if not programs_in(self.prefix):
                break
            time.sleep(0.1)
        self.process = subprocess.Popen([WINE_RUN, exe], env=self.env,
                                        stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    @staticmethod
    def kill_all(build):
        """Ends any rodadero.exe left running in this build's session."""
        for pid in programs_in(os.path.join(os.path.abspath(build), 'wine', 'prefix')):
            try:
                os.kill(pid, 9)
            except OSError:
                pass

    def started(self):
        """X windows of the main window and the dialog, once both are up."""
        main = self.window('soft by Velmorant')
        dialog = self.window('parametros y reset')
        if main is None or dialog is None or not self.poll('dialog_visible', '1', 30):
            return None, None
        return main, dialog

    def probe(self):
        out = subprocess.run([WINE_RUN, self.probe_exe, hex(self.rva)], env=self.env,
                             capture_output=True, text=True, timeout=60).stdout
        return parse_probe(out)

    def poll(self, key, value, seconds=3.0):
        """True once the probe reads value for key, within the time given."""
        end = time.time() + seconds
        while time.time() < end:
            if self.probe().get(key) == value:
                return True
            time.sleep(0.1)
        return False

    def xdotool(self, *args):
        return xdotool(self.env, *args)

    def window(self, name):
        """X window of a visible top-level window with that title, polled."""
        return visible_window(self.env, name, 30)

    def shot(self, name):
        os.environ['DISPLAY'] = self.env['DISPLAY']
        return Screen(os.path.join(self.shots, name + '.png'))

    def click(self, x, y):
        self.xdotool('mousemove', str(x), str(y), 'click', '1')

    def escape_into_main(self, cx, cy):
        """Clicks into the main window's picture, then types Escape."""
        escape_at(self.env, cx + 500, cy + 380)

    def wait(self, seconds=20):
        try:
            return self.process.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            self.process.kill()
            return None


class Descent:
    """The displayed polyline after each step from the chord with the starting
    step factor, as rodadero-trace computes it with the program's own model:
    ShownX[1..19] keyed to the step (the chord is step 0), and node 10's
    drawn x in pixels for each step."""

    STEPS = 2000

    def __init__(self, trace, env):
        out = subprocess.run([WINE_RUN, trace, '--steps', str(self.STEPS), '--nodes'], env=env,
                             stdin=subprocess.DEVNULL, capture_output=True, text=True,
                             timeout=300).stdout
        chord = tuple(k * 0.05 for k in range(1, 20))
        self.step_of = {chord: 0}
        self.x10 = [200]
        for line in out.splitlines()[1:]:
            fields = line.split(',')
            nodes = tuple(float(v) for v in fields[4:23])
            self.step_of[nodes] = int(fields[0])
            self.x10.append(int(400.0 * nodes[9]))
        if len(self.x10) != self.STEPS + 1:
            raise SystemExit(f'rodadero-trace gave {len(self.x10) - 1} steps, not {self.STEPS}')

    def step(self, probed):
        """The step whose polyline the probe read, or None."""
        try:
            nodes = tuple(float(probed[f'shown_x{k}']) for k in range(1, 20))
        except (KeyError, ValueError):
            return None
        return self.step_of.get(nodes)


def wait_for_step(p, descent, at_least, below=None, seconds=30):
    """Probes until the program shows a step of the descent from the chord
    that is at least `at_least` (and below `below` when given); that step, or
    None. A read made while a step is half written matches no step, and the
    next probe reads again."""
    end = time.time() + seconds
    while time.time() < end:
        k = descent.step(p.probe())
        if k is not None and k >= at_least and (below is None or k < below):
            return k
        time.sleep(0.2)
    return None


def pair(text):
    return tuple(int(v) for v in text.split(','))


def launch(build, exe, probe, rva, display, what):
    """Starts the program and waits for both windows; None (after a failed
    check named `what`) when they do not come up."""
    p = Program(build, exe, probe, rva, display)
    main, dialog = p.started()
    if not check(main is not None, what):
        p.process.kill()
        return None, None, None
    return p, main, dialog


def first_run(build, exe, probe, rva, display, descent):
    p, main, dialog = launch(build, exe, probe, rva, display, 'main window and dialog appear')
    if p is None:
        return

    # The space bar right after start clicks the focused run-mode button.
    time.sleep(0.5)
    p.xdotool('key', '--window', dialog, 'space')
    check(p.poll('run_continuous', '1'), 'space bar switches to continuous mode')
    p.xdotool('key', '--window', dialog, 'space')
    check(p.poll('run_continuous', '0'), 'space bar again switches back to timed mode')
    state = p.probe()

    geometry = p.xdotool('getwindowgeometry', main)
    check(state.get('window') == '10,10,610,440', 'outer rectangle 610 x 440 at (10, 10): '
          + state.get('window', '?') + ' / ' + ' '.join(geometry))
    check(state.get('dialog_visible') == '1' and state.get('dialog_owner_ok') == '1',
          'the dialog is visible and owned by the main window')
    check(state.get('approx_color') == '255', 'polyline colour is red')
    cx, cy = pair(state['client'])
    dl, dt, dw, dh = pair(state['dialog'])

    def visible(x, y):
        sx, sy = cx + x, cy + y
        return not (dl <= sx < dl + dw and dt <= sy < dt + dh)

    first = p.shot('first')
    frame = [(300, 0), (0, 200), (300, 400), (100, 400), (0, 100), (600, 395)]
    for x, y in frame:
        if visible(x, y):
            check(first.pixel(cx + x, cy + y) == BLACK, f'frame pixel at ({x}, {y}) is black')
    check(first.pixel(cx + 114, cy + 199) == BLUE, 'cycloid vertex 9 at (114, 199) is blue')
    plot = (cx, cy, cx + 400, cy + 366)
    reds = first.count(RED, plot)
    blues = first.count(BLUE, plot)
    check(reds > 300, f'the red polyline is drawn ({reds} pixels)')
    check(blues > 300, f'the blue cycloid is drawn ({blues} pixels)')
    check(first.pixel(dl + dw // 2, dt + dh - 5) != BACKGROUND, 'the dialog is drawn over the window')

    time.sleep(1.0)
    second = p.shot('second')
    check(first.region(plot) != second.region(plot), 'a second later the polyline has moved')
    caption = (cx + 10, cy + 375, cx + 400, cy + 392)
    check(first.region(caption) != second.region(caption),
          'a second later the fall-time caption has changed')

    # Reset: whatever ticks follow it, the curve is back on the descent that
    # starts at the chord, and behind where it was before the click.
    before = wait_for_step(p, descent, 160)
    rx, ry = pair(state['reset'])
    p.click(rx, ry)
    after = wait_for_step(p, descent, 0, below=before)
    check(after is not None and before is not None and after < before,
          f'reset restarts the descent from the chord (step {before} before the click, '
          f'step {after} after it)')
    shown = p.shot('after-reset')
    later = wait_for_step(p, descent, 0)
    if after is not None and later is not None:
        # The picture is of a step between the two probes (a paint may lag
        # a step or two behind the model): node 10 drawn where those steps
        # put it, with a pixel to spare on either side for the pen.
        left = min(descent.x10[k] for k in range(max(0, after - 3), later + 1)) - 2
        right = max(descent.x10[k] for k in range(max(0, after - 3), later + 1)) + 2
        row = [x for x in range(60, 300) if shown.pixel(cx + x, cy + 183) == RED]
        check(row != [] and left <= min(row) and max(row) <= right,
              f'after the reset the polyline crosses y = 183 at x {row[:1]}..{row[-1:]}, '
              f'where steps {after}..{later} from the chord put it ({left}..{right})')

    # Escape typed into the main window ends the program with 0.
    p.escape_into_main(cx, cy)
    code = p.wait()
    check(code == 0, f'Escape ends the program with exit code 0 (got {code})')


def closed_dialog_run(build, exe, probe, rva, display):
    """Closing the dialog hides it; the curve keeps improving; Escape still ends
    the program with 0."""
    p, main, _ = launch(build, exe, probe, rva, display, 'the program starts again')
    if p is None:
        return
    time.sleep(0.5)
    state = p.probe()
    x, y = pair(state['dialog_close'])
    p.click(x, y)
    check(p.poll('dialog_visible', '0'), 'the dialog\'s close box hides the dialog')
    state = p.probe()
    check(state.get('main_enabled') == '1', 'the main window stays enabled')
    before = state.get('fall_time')
    time.sleep(0.5)
    check(p.probe().get('fall_time') != before, 'with the dialog closed the curve keeps improving')
    cx, cy = pair(state['client'])
    p.escape_into_main(cx, cy)
    code = p.wait()
    check(code == 0, f'Escape after closing the dialog ends the program with 0 (got {code})')


def second_run(build, exe, probe, rva, display):
    p, _, _ = launch(build, exe, probe, rva, display, 'the program starts a third time')
    if p is None:
        return
    time.sleep(0.5)
    state = p.probe()
    x, y = pair(state['close'])
    p.click(x, y)
    code = p.wait()
    check(code == 0, f'closing the main window ends the program with exit code 0 (got {code})')


def main():
    build, exe, probe, nm, trace = sys.argv[1:6]
    display = session_display(build)
    rva = curve_state_rva(exe, nm)
    descent = Descent(trace, dict(os.environ, DISPLAY=display))
    for run, more in ((first_run, (descent,)), (closed_dialog_run, ()), (second_run, ())):
        try:
            run(build, exe, probe, rva, display, *more)
        except Exception as e:  # a broken run must not leave the program behind
            check(False, f'{run.__name__} stopped: {e!r}')
        finally:
            Program.kill_all(build)
    return finish()


if __name__ == '__main__':
    sys.exit(main())
