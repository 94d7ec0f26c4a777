#!/usr/bin/env python3
"""Install scenario: the Debian package of tools/package installed on this
machine with apt-get, used from its installed paths, and removed again.

usage: install_test.py PACKAGE_DIR VERSION BUILD_TRACE WORK_DIR WEB_PAGE

The web page is installed as /usr/share/rodadero/rodadero.html and must be
the web build's WEB_PAGE, byte for byte.

Installing needs root. Not as root, or where a rodadero package is already
installed (this test would replace and then remove it), nothing is touched:
the first reports the test as skipped (exit 77), the second as failed.
"""
import glob
import os
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
from checks import check, finish  # noqa: E402
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools'))
from wine_programs import escape_at, visible_window, xdotool  # noqa: E402

SKIPPED = 77
CONVERT = '/usr/bin/convert' if os.path.exists('/usr/bin/convert') else 'convert'
RED = (255, 0, 0)
BLUE = (0, 150, 250)
APT = ['apt-get', '-o', 'DPkg::Lock::Timeout=600', '-y', '-q']
PAGE = '/usr/share/rodadero/rodadero.html'

# Every file the package installs, with its mode.
FILES = {
    '/usr/bin/rodadero': 0o755,
    '/usr/bin/rodadero-trace': 0o755,
    '/usr/lib/rodadero/rodadero.exe': 0o644,
    '/usr/share/applications/rodadero.desktop': 0o644,
    '/usr/share/doc/rodadero/changelog.gz': 0o644,
    '/usr/share/doc/rodadero/copyright': 0o644,
    '/usr/share/icons/hicolor/32x32/apps/rodadero.png': 0o644,
    '/usr/share/icons/hicolor/64x64/apps/rodadero.png': 0o644,
    '/usr/share/icons/hicolor/128x128/apps/rodadero.png': 0o644,
    '/usr/share/icons/hicolor/256x256/apps/rodadero.png': 0o644,
    '/usr/share/man/man1/rodadero.1.gz': 0o644,
    '/usr/share/man/man1/rodadero-trace.1.gz': 0o644,
    PAGE: 0o644,
}



def run(args, env=None, timeout=120):
    p = subprocess.run(args, env=env, stdin=subprocess.DEVNULL, capture_output=True,
                       timeout=timeout)
    return p.returncode, p.stdout, p.stderr


def installed_version():
    code, out, _ = run(['dpkg-query', '-W', '-f=${Status} ${Version}', 'rodadero'])
    if code != 0 or not out.startswith(b'install ok installed '):
        return None
    return out.split()[-1].decode()


def check_files(web_page):
    code, out, _ = run(['dpkg', '-L', 'rodadero'])
    listed = {p for p in out.decode().splitlines() if os.path.isfile(p)}
    check(listed == set(FILES), 'the package installs exactly its files; extra: %s, missing: %s'
          % (sorted(listed - set(FILES)), sorted(set(FILES) - listed)))
    for path, mode in FILES.items():
        if os.path.isfile(path):
            got = stat.S_IMODE(os.stat(path).st_mode)
            check(got == mode, '%s has mode %o (got %o)' % (path, mode, got))
    if os.path.isfile(PAGE):
        with open(PAGE, 'rb') as a, open(web_page, 'rb') as b:
            check(a.read() == b.read(), '%s is the web build\'s %s' % (PAGE, web_page))


def check_commands(version, build_trace, home):
    env = user_env(home)
    for command in ('rodadero', 'rodadero-trace'):
        code, out, err = run([command, '--version'], env)
        check((code, out, err) == (0, ('%s %s\n' % (command, version)).encode(), b''),
              '%s --version prints "%s %s" (got %d, %r, %r)' % (command, command, version,
                                                                code, out, err))

    installed = run(['/usr/bin/rodadero-trace', '--steps', '3'], env)
    built = run([build_trace, '--steps', '3'], env)
    check(installed == built and installed[0] == 0 and installed[1].count(b'\n') == 4,
          'rodadero-trace --steps 3 prints the same bytes as the build\'s')

    code, out, err = run(['desktop-file-validate', '/usr/share/applications/rodadero.desktop'])
    check(code == 0 and out + err == b'', 'desktop-file-validate accepts the desktop entry: %r'
          % (out + err))

    man_env = dict(env, MANWIDTH='80', LC_ALL='C.UTF-8')
    for page, name in (('rodadero.1.gz', 'rodadero - '), ('rodadero-trace.1.gz', 'rodadero-trace - ')):
        code, out, err = run(['man', '--warnings', '-l', '/usr/share/man/man1/' + page], man_env)
        text = out.decode('utf-8', 'replace')
        check(code == 0 and err == b'' and '\nNAME\n' in text and name in text,
              'man -l renders %s without warnings (exit %d, %r)' % (page, code, err[:200]))

    # With no display that can be opened: one line, exit code 1, no prefix made.
    for display in (None, ':%d' % free_display_number()):
        no_display = dict(env)
        no_display.pop('DISPLAY', None)
        if display:
            no_display['DISPLAY'] = display
        code, out, err = run(['rodadero'], no_display)
        check(code == 1 and out == b'' and err.count(b'\n') == 1 and err.startswith(b'rodadero: '),
              'without a display (DISPLAY=%s) rodadero prints one line and exits with 1 '
              '(got %d, %r)' % (display, code, err))
    check(not os.path.exists(os.path.join(home, '.local', 'share', 'rodadero')),
          'without a display no Wine prefix is made')


def user_env(home):
    """A user's environment with a fresh home folder and nothing of Wine's."""
    env = {k: v for k, v in os.environ.items()
           if not k.startswith('WINE') and k not in ('XDG_DATA_HOME', 'DISPLAY')}
    env['HOME'] = home
    return env


def free_display_number():
    n = 500
    while os.path.exists('/tmp/.X11-unix/X%d' % n) or os.path.exists('/tmp/.X%d-lock' % n):
        n += 1
    return n


class Xvfb:
    """A private X server on a display number it picks itself."""

    def __init__(self):
        read, write = os.pipe()
        self.process = subprocess.Popen(
            ['Xvfb', '-displayfd', str(write), '-screen', '0', '1024x768x24', '-nolisten', 'tcp'],
            pass_fds=(write,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            number = f.readline().strip()
        if not number:
            self.process.kill()
            raise RuntimeError('Xvfb did not start')
        self.display = ':' + number

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()


def screenshot(env, path):
    subprocess.run(['import', '-window', 'root', path], env=env, check=True, timeout=60)
    ppm = subprocess.run([CONVERT, path, '-depth', '8', 'rgb:-'], capture_output=True,
                         check=True, timeout=60).stdout
    return ppm


def count(rgb, colour, width, box):
    left, top, right, bottom = max(box[0], 0), max(box[1], 0), min(box[2], width), box[3]
    n = 0
    for y in range(top, bottom):
        row = rgb[3 * (y * width + left):3 * (y * width + right)]
        n += sum(1 for i in range(0, len(row), 3) if tuple(row[i:i + 3]) == colour)
    return n


def geometry(env, window):
    """Left, top, right, bottom of an X window on the screen."""
    values = dict(line.split('=', 1) for line in
                  xdotool(env, 'getwindowgeometry', '--shell', window) if '=' in line)
    x, y, w, h = (int(values[k]) for k in ('X', 'Y', 'WIDTH', 'HEIGHT'))
    return x, y, x + w, y + h


def check_program(home, shot):
    """The launcher on an Xvfb display, on its first run: Wine prepared in the
    home folder, the window open and drawing, Escape ending it with 0."""
    xvfb = Xvfb()
    env = dict(user_env(home), DISPLAY=xvfb.display)
    prefix = os.path.join(home, '.local', 'share', 'rodadero', 'wine')
    launcher = subprocess.Popen(['rodadero'], env=env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                start_new_session=True)
    try:
        main = visible_window(env, 'soft by Velmorant', 300)
        dialog = visible_window(env, 'parametros y reset', 30)
        if not check(main is not None and dialog is not None,
                     'rodadero opens its window and dialog on %s' % xvfb.display):
            return
        box = geometry(env, main)
        # The picture: the red polyline and the blue cycloid, once painted.
        for _ in range(50):
            rgb = screenshot(env, shot)
            reds, blues = count(rgb, RED, 1024, box), count(rgb, BLUE, 1024, box)
            if reds > 300 and blues > 300:
                break
            time.sleep(0.2)
        check(reds > 300 and blues > 300, 'the window draws the polyline and the cycloid '
              '(%d red, %d blue pixels; %s)' % (reds, blues, shot))
        check(os.path.isfile(os.path.join(prefix, 'drive_c', 'windows', 'Fonts', 'marlett.ttf')),
              'the prefix in ~/.local/share/rodadero has the caption-bar symbol font')

        # Escape typed into the main window, away from the dialog.
        d = geometry(env, dialog)
        x, y = box[0] + 100, box[3] - 60
        check(not (d[0] <= x < d[2] and d[1] <= y < d[3]), 'the click point is off the dialog')
        escape_at(env, x, y)
        try:
            out, err = launcher.communicate(timeout=60)
        except subprocess.TimeoutExpired:
            check(False, 'rodadero ends within 60 s of Escape')
            return
        check(launcher.returncode == 0, 'Escape ends rodadero with exit code 0 (got %d)'
              % launcher.returncode)
        lines = err.decode('utf-8', 'replace').splitlines()
        check(out == b'' and len(lines) == 1 and lines[0].startswith('rodadero: first run'),
              'the first run prints its one line and no Wine message (%r, %r)' % (out, err))
    finally:
        if launcher.poll() is None:
            os.killpg(launcher.pid, signal.SIGKILL)
            launcher.wait()
        # Wine's own processes for this prefix, then the display.
        wine_env = dict(env, WINEPREFIX=prefix)
        if os.path.isdir(prefix):
            run(['wineserver', '-k'], wine_env)
            run(['wineserver', '-w'], wine_env)
        xvfb.stop()


def main():
    package_dir, version, build_trace, work, web_page = sys.argv[1:6]
    if os.geteuid() != 0:
        print('skipped: installing the package needs root (CI runs the tests as root)')
        return SKIPPED
    debs = glob.glob(os.path.join(package_dir, 'rodadero_%s_*.deb' % version))
    if len(debs) != 1:
        print('FAIL  one rodadero_%s_*.deb in %s (found %d): run tools/package'
              % (version, package_dir, len(debs)))
        return 1
    if installed_version() is not None:
        print('FAIL  rodadero %s is already installed on this machine; this test installs and '
              'removes the package: remove it first (apt-get remove rodadero)' % installed_version())
        return 1

    env = dict(os.environ, DEBIAN_FRONTEND='noninteractive')
    code, out, err = run(APT + ['install', os.path.abspath(debs[0])], env, timeout=900)
    if not check(code == 0 and installed_version() == version,
                 'apt-get installs %s' % os.path.basename(debs[0])):
        print((out + err).decode('utf-8', 'replace')[-3000:])
    code, out, _ = run(['dpkg', '-L', 'rodadero'])
    listed = [p for p in out.decode().splitlines() if p.strip('/')] if code == 0 else []
    os.makedirs(work, exist_ok=True)
    home = tempfile.mkdtemp(prefix='home-', dir=work)
    try:
        if installed_version() == version:
            check_files(web_page)
            check_commands(version, build_trace, home)
            check_program(home, os.path.join(work, 'installed-rodadero.png'))
    finally:
        shutil.rmtree(home, ignore_errors=True)
        code, out, err = run(APT + ['remove', 'rodadero'], env, timeout=900)
        check(code == 0 and installed_version() is None, 'apt-get removes the package')
        left = [p for p in listed if os.path.lexists(p) and not os.path.isdir(p)]
        left += [d for d in ('/usr/lib/rodadero', '/usr/share/doc/rodadero', '/usr/share/rodadero')
                 if os.path.lexists(d)]
        check(listed != [] and left == [], 'nothing of the package is left: %s' % left)
    return finish()


if __name__ == '__main__':
    sys.exit(main())
