"""Helpers shared by the scripts that look at a running rodadero.exe from
outside (the end-to-end test, the package's install test and the soak
benchmark)."""
import subprocess
import time


def xdotool(env, *args):
    """xdotool on the display of env; the words it prints."""
    return subprocess.run(['xdotool', *args], env=env, capture_output=True, text=True,
                          timeout=30).stdout.split()


def visible_window(env, name, seconds):
    """The X window of a visible top-level window with that title, polled for
    up to `seconds`; None if none shows."""
    end = time.time() + seconds
    while time.time() < end:
        found = xdotool(env, 'search', '--onlyvisible', '--name', name)
        if found:
            return found[0]
        time.sleep(0.1)
    return None


def escape_at(env, x, y):
    """Clicks at (x, y) on the screen, then types Escape. The key goes
    through the X server's own input, and is released there even when the
    program has ended on its press (a release sent to a window that is gone
    would be lost, and the key would stay down for the next program)."""
    xdotool(env, 'mousemove', str(x), str(y), 'click', '1')
    time.sleep(0.3)
    xdotool(env, 'key', 'Escape')
    time.sleep(0.3)
    xdotool(env, 'keyup', 'Escape')


def programs_in(prefix):
    """Pids of the rodadero.exe processes running in this Wine prefix."""
    out = subprocess.run(['pgrep', '-x', 'rodadero.exe'], capture_output=True, text=True).stdout
    pids = []
    for pid in out.split():
        try:
            with open(f'/proc/{pid}/environ', 'rb') as f:
                if b'WINEPREFIX=' + prefix.encode() + b'\0' in f.read():
                    pids.append(int(pid))
        except OSError:
            pass
    return pids


def curve_state_rva(exe, nm='x86_64-w64-mingw32-nm'):
    """Offset of CurveState in the program's image, from its symbol table."""
    out = subprocess.run([nm, exe], capture_output=True, text=True, check=True).stdout
    address, base = None, 0x140000000
    for line in out.splitlines():
        parts = line.split()
        if len(parts) == 3 and parts[2] == 'CurveState':
            address = int(parts[0], 16)
        if len(parts) == 3 and parts[2] == '__image_base__':
            base = int(parts[0], 16)
    if address is None:
        raise SystemExit('CurveState not found in ' + exe)
    return address - base


def parse_probe(output):
    """The probe's key=value lines as a dictionary."""
    return dict(line.split('=', 1) for line in output.splitlines() if '=' in line)
