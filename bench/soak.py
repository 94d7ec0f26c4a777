#!/usr/bin/env python3
"""Soak run of the real program: rodadero.exe under Xvfb and Wine for a
while in each run mode, sampling its resident memory and CPU time.
Prints the samples, a summary per mode and a verdict line; asserts nothing
in the test suite (it is not part of tools/test).

  bench/soak.py [MINGW_BUILD_DIR] [--minutes M] [--every S]

Defaults: build/mingw, 10 minutes per mode, a sample every 10 s. Runs in a
Wine session of its own (BUILD_DIR/wine-soak/), started and stopped here.
The program is started fresh for each mode; continuous mode is reached with
the space bar typed into the dialog right after start (its run-mode button
has the focus), and the mode is read back from the program with the test
probe (BUILD_DIR/tests/probe.exe). Each run ends with Escape typed into the
main window, and the exit code is reported.

Verdict: the resident size at the end may exceed the size after the first
minute by at most 2 MiB, the program must still be stepping at the end (a
click on "reset init values " must move the fall time off its settled
value) and it must exit with 0.
"""
import os
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TOOLS = os.path.join(ROOT, 'tools')
sys.path.insert(0, TOOLS)
from wine_programs import curve_state_rva, parse_probe, programs_in  # noqa: E402
CLK_TCK = os.sysconf('SC_CLK_TCK')
PAGE = os.sysconf('SC_PAGE_SIZE')


def session_env(soak_dir):
    subprocess.run([os.path.join(TOOLS, 'wine-session'), 'start', soak_dir], check=True,
                   stdout=subprocess.DEVNULL)
    values = dict(line.strip().split('=', 1)
                  for line in open(os.path.join(soak_dir, 'wine', 'session')))
    return dict(os.environ, DISPLAY=values['DISPLAY'],
                WINEPREFIX=os.path.join(soak_dir, 'wine', 'prefix'), WINEDEBUG='-all',
                WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d')


def probe(env, probe_exe, rva):
    out = subprocess.run(['wine', probe_exe, hex(rva)], env=env, capture_output=True,
                         text=True, timeout=60).stdout
    return parse_probe(out)


def program_pid(prefix):
    """The one rodadero.exe running in this Wine prefix, or None."""
    pids = programs_in(prefix)
    return pids[0] if len(pids) == 1 else None


def cpu_seconds(pid):
    fields = open(f'/proc/{pid}/stat').read().rsplit(')', 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLK_TCK


def rss_kib(pid):
    return int(open(f'/proc/{pid}/statm').read().split()[1]) * PAGE // 1024


def xdotool(env, *args):
    return subprocess.run(['xdotool', *args], env=env, capture_output=True, text=True).stdout


def soak(env, exe, probe_exe, rva, continuous, seconds, every):
    mode = 'continuous' if continuous else 'timed'
    proc = subprocess.Popen(['wine', exe], env=env, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    pid = None
    for _ in range(300):
        if xdotool(env, 'search', '--onlyvisible', '--name', 'parametros y reset').strip():
            pid = program_pid(env['WINEPREFIX'])
            if pid:
                break
        time.sleep(0.1)
    if not pid:
        proc.kill()
        return {'mode': mode, 'ok': False, 'why': 'the program did not start'}
    time.sleep(0.5)
    if continuous:
        dialog = xdotool(env, 'search', '--onlyvisible', '--name', 'parametros y reset').split()[0]
        xdotool(env, 'key', '--window', dialog, 'space')
        time.sleep(0.5)
    state = probe(env, probe_exe, rva)
    if state.get('run_continuous') != ('1' if continuous else '0'):
        proc.kill()
        return {'mode': mode, 'ok': False, 'why': 'run mode not reached: ' + str(state)}

    print(f'{mode} mode, pid {pid}: seconds, resident KiB, CPU % of one core since last sample')
    start = time.time()
    last_cpu, last_t = cpu_seconds(pid), start
    samples = []
    while time.time() - start < seconds:
        time.sleep(every)
        now, cpu, rss = time.time(), cpu_seconds(pid), rss_kib(pid)
        share = 100.0 * (cpu - last_cpu) / (now - last_t)
        samples.append((now - start, rss, share))
        print(f'  {now - start:7.1f} s  {rss:8d} KiB  {share:6.1f} %', flush=True)
        last_cpu, last_t = cpu, now
    # Still stepping? The descent may have reached a fixed point by now, so
    # reset the curve and watch the fall time leave its settled value.
    state = probe(env, probe_exe, rva)
    settled = state.get('fall_time')
    printed = int(float(settled) * 1000000.0)
    rx, ry = (int(v) for v in state['reset'].split(','))
    xdotool(env, 'mousemove', str(rx), str(ry), 'click', '1')
    time.sleep(1.0)
    still_moving = probe(env, probe_exe, rva).get('fall_time') != settled

    cx, cy = (int(v) for v in state['client'].split(','))
    xdotool(env, 'mousemove', str(cx + 500), str(cy + 380), 'click', '1')
    time.sleep(0.3)
    xdotool(env, 'key', 'Escape')
    try:
        code = proc.wait(timeout=20)
    except subprocess.TimeoutExpired:
        proc.kill()
        code = None
    xdotool(env, 'keyup', 'Escape')

    after_first_minute = next((r for t, r, _ in samples if t >= 60), samples[0][1])
    growth = samples[-1][1] - after_first_minute
    shares = [s for _, _, s in samples]
    result = {
        'mode': mode, 'rss_first_kib': samples[0][1], 'rss_minute_kib': after_first_minute,
        'rss_end_kib': samples[-1][1], 'rss_max_kib': max(r for _, r, _ in samples),
        'growth_kib': growth, 'cpu_mean': sum(shares) / len(shares), 'cpu_max': max(shares),
        'still_moving': still_moving, 'exit_code': code, 'printed_end': printed,
    }
    result['ok'] = growth <= 2048 and still_moving and code == 0
    return result


def main():
    args = sys.argv[1:]
    build = os.path.join(ROOT, 'build', 'mingw')
    minutes, every = 10.0, 10.0
    while args:
        a = args.pop(0)
        if a == '--minutes':
            minutes = float(args.pop(0))
        elif a == '--every':
            every = float(args.pop(0))
        else:
            build = a
    build = os.path.abspath(build)
    exe = os.path.join(build, 'shell', 'rodadero.exe')
    probe_exe = os.path.join(build, 'tests', 'probe.exe')
    soak_dir = os.path.join(build, 'wine-soak')
    os.makedirs(soak_dir, exist_ok=True)
    env = session_env(soak_dir)
    rva = curve_state_rva(exe)
    results = []
    try:
        for continuous in (False, True):
            results.append(soak(env, exe, probe_exe, rva, continuous, minutes * 60, every))
    finally:
        subprocess.run([os.path.join(TOOLS, 'wine-session'), 'stop', soak_dir],
                       stdout=subprocess.DEVNULL)
    print()
    for r in results:
        if 'why' in r:
            print(f"{r['mode']}: {r['why']}")
            continue
        print(f"{r['mode']}: resident {r['rss_first_kib']} KiB at first sample, "
              f"{r['rss_minute_kib']} after a minute, {r['rss_end_kib']} at the end "
              f"(max {r['rss_max_kib']}, growth after the first minute {r['growth_kib']} KiB); "
              f"CPU mean {r['cpu_mean']:.1f} %, max {r['cpu_max']:.1f} % of one core; "
              f"printed time at the end {r['printed_end']}; "
              f"still stepping after a reset: {r['still_moving']}; exit code {r['exit_code']}")
    verdict = all(r['ok'] for r in results)
    print(f"soak verdict: {'PASS' if verdict else 'FAIL'} ({minutes:g} min per mode)")
    return 0 if verdict else 1


if __name__ == '__main__':
    sys.exit(main())
