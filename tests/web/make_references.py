#!/usr/bin/env python3
"""Before the web page's tests: the other builds' part. Builds model_states
in the host build and page_reference.exe in the Windows build (configuring
either where that has not been done), then runs page_reference.exe under
Wine, which writes the real windows' layout and the pictures that the
page's pictures are compared with.

make_references.py SOURCE_DIR OUT_DIR STEPS...
"""
import os
import subprocess
import sys


def run(command, cwd, log):
    print('+ ' + ' '.join(command), flush=True)
    with open(log, 'a') as out:
        code = subprocess.call(command, cwd=cwd, stdout=out, stderr=subprocess.STDOUT,
                               stdin=subprocess.DEVNULL)
    if code != 0:
        with open(log) as f:
            sys.stdout.write(''.join(f.readlines()[-30:]))
        sys.exit('make_references.py: %s failed with %d' % (command[0], code))


def main():
    source, out, steps = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3:]
    os.makedirs(out, exist_ok=True)
    log = os.path.join(out, 'build.log')
    open(log, 'w').close()
    for preset, target in (('native', 'model_states'), ('mingw', 'page_reference')):
        if not os.path.exists(os.path.join(source, 'build', preset, 'CMakeCache.txt')):
            run(['cmake', '--preset', preset], source, log)
        run(['cmake', '--build', '--preset', preset, '--target', target], source, log)
    program = os.path.join(source, 'build', 'mingw', 'tests', 'web', 'page_reference.exe')
    run([os.path.join(source, 'tools', 'wine-run'), program, out] + steps, source, log)
    for name in ['layout.json'] + ['picture-%s.ppm' % s for s in steps]:
        if not os.path.exists(os.path.join(out, name)):
            sys.exit('make_references.py: page_reference.exe wrote no %s' % name)
    print('references in ' + out)


if __name__ == '__main__':
    main()
