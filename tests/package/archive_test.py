#!/usr/bin/env python3
"""The two release files of tools/package, opened and checked without
installing them.

usage: archive_test.py PACKAGE_DIR VERSION ICON OBJDUMP WEB_PAGE

- The Windows ZIP holds rodadero.exe (a GUI program), rodadero-trace.exe (a
  console program), the web build's page WEB_PAGE as rodadero.html, byte
  for byte, and README.txt with CRLF line ends, which names every file of
  the ZIP; the programs import only DLLs that Windows itself has.
- rodadero-VERSION.html beside the packages is that page, byte for byte.
- lintian finds no error and no warning in the Debian package.
- The package's menu icons are icon 105 (the 256-colour image of ICO)
  enlarged by whole factors, as ImageMagick reads both.
"""
import os
import re
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
from checks import check, finish  # noqa: E402

CONVERT = '/usr/bin/convert' if os.path.exists('/usr/bin/convert') else 'convert'

# DLLs that every 64-bit Windows has in its system folder.
SYSTEM_DLLS = {'kernel32.dll', 'user32.dll', 'gdi32.dll', 'msvcrt.dll', 'advapi32.dll',
               'shell32.dll', 'comdlg32.dll', 'comctl32.dll', 'ole32.dll', 'ws2_32.dll'}

# Each program of the ZIP and the subsystem its PE header must name.
PROGRAMS = [('rodadero.exe', 'Windows GUI'), ('rodadero-trace.exe', 'Windows CUI')]



def same_bytes(path, page):
    if not os.path.isfile(path):
        return False
    with open(path, 'rb') as a, open(page, 'rb') as b:
        return a.read() == b.read()


def check_zip(path, objdump, page, work):
    with zipfile.ZipFile(path) as z:
        names = sorted(z.namelist())
        check(names == ['README.txt', 'rodadero-trace.exe', 'rodadero.exe', 'rodadero.html'],
              'the ZIP holds the two programs, the web page and README.txt: %s' % names)
        z.extractall(work)
    check(same_bytes(os.path.join(work, 'rodadero.html'), page),
          'the ZIP\'s rodadero.html is the web build\'s %s' % page)
    for name, subsystem in PROGRAMS:
        exe = os.path.join(work, name)
        if not os.path.exists(exe):
            continue
        headers = subprocess.run([objdump, '-p', exe], capture_output=True, text=True).stdout
        found = re.search(r'^Subsystem\s+\S+\s+\((.*)\)$', headers, re.M)
        check(found is not None and found.group(1) == subsystem,
              '%s: subsystem %s (%s)' % (name, subsystem, found.group(1) if found else 'none'))
        dlls = {d.lower() for d in re.findall(r'DLL Name: (\S+)', headers)}
        check(dlls != set() and dlls <= SYSTEM_DLLS,
              '%s imports only system DLLs: %s' % (name, ', '.join(sorted(dlls))))
    readme = os.path.join(work, 'README.txt')
    if os.path.exists(readme):
        with open(readme, 'rb') as f:
            text = f.read()
        lines = text.split(b'\r\n')
        check(len(lines) > 20 and lines[-1] == b'' and not any(b'\n' in l or b'\r' in l for l in lines),
              'README.txt has CRLF line ends throughout')
        unnamed = [n for n in names if n.encode() not in text]
        check(unnamed == [], 'README.txt names every file of the ZIP (not: %s)' % unnamed)


def check_deb(path, ico, work):
    p = subprocess.run(['lintian', '--fail-on', 'error,warning', path],
                       capture_output=True, text=True)
    tags = [l for l in p.stdout.splitlines() if re.match(r'^[EWIPX]: ', l)]
    for tag in tags:
        print('      lintian: ' + tag)
    check(p.returncode == 0 and not any(t[0] in 'EW' for t in tags),
          'lintian finds no error or warning (exit %d%s)' % (p.returncode, p.stderr.strip()
                                                             and ': ' + p.stderr.strip()))

    root = os.path.join(work, 'deb')
    subprocess.run(['dpkg-deb', '-x', path, root], check=True)
    reference = subprocess.run([CONVERT, ico + '[1]', 'ppm:-'], capture_output=True,
                               check=True).stdout
    check(reference.startswith(b'P6\n32 32\n'), 'the ICO\'s second image is 32 x 32')
    for size in (32, 64, 128, 256):
        png = os.path.join(root, 'usr/share/icons/hicolor/%dx%d/apps/rodadero.png' % (size, size))
        if not check(os.path.exists(png), 'the package has the %d-pixel icon' % size):
            continue
        got = subprocess.run([CONVERT, png, 'ppm:-'], capture_output=True, check=True).stdout
        want = subprocess.run([CONVERT, ico + '[1]', '-filter', 'point', '-scale',
                               '%d%%' % (100 * size // 32), 'ppm:-'],
                              capture_output=True, check=True).stdout
        check(got == want, 'the %d-pixel icon is icon 105 enlarged %d times' % (size, size // 32))


def main():
    package_dir, version, ico, objdump, page = sys.argv[1:6]
    zip_path = os.path.join(package_dir, 'rodadero-%s-win64.zip' % version)
    debs = [f for f in os.listdir(package_dir) if re.fullmatch(
        r'rodadero_%s_[a-z0-9]+\.deb' % re.escape(version), f)] if os.path.isdir(package_dir) else []
    if not (check(os.path.exists(zip_path), 'tools/package wrote %s' % zip_path) and
            check(len(debs) == 1, 'tools/package wrote one rodadero_%s_*.deb' % version)):
        return 1
    single = os.path.join(package_dir, 'rodadero-%s.html' % version)
    check(same_bytes(single, page), 'tools/package wrote %s, the web build\'s %s' % (single, page))
    with tempfile.TemporaryDirectory() as work:
        check_zip(zip_path, objdump, page, os.path.join(work, 'zip'))
        check_deb(os.path.join(package_dir, debs[0]), ico, work)
    return finish()


if __name__ == '__main__':
    sys.exit(main())
