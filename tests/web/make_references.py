#!/usr/bin/env python3
"""Before the web page's tests: the other builds' part, from programs that
those builds have built already (the web build's configure checked that
they are builds of this source). Checks that the host build's model_states
is there, whose states the page's tests compare with, then runs the Windows
build's page_reference.exe under Wine, which writes the real windows'
layout and the pictures that the page's pictures are compared with.

make_references.py OUT_DIR MODEL_STATES PAGE_REFERENCE_EXE STEPS...
"""
import os
import subprocess
import sys

TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools')


def require(program, preset):
    if not os.path.isfile(program):
        sys.exit('make_references.py: %s is missing: build it with '
                 'cmake --build --preset %s' % (program, preset))


def main():
    out = os.path.abspath(sys.argv[1])
    model_states, page_reference, steps = sys.argv[2], sys.argv[3], sys.argv[4:]
    require(model_states, 'native')
    require(page_reference, 'mingw')
    os.makedirs(out, exist_ok=True)
    log = os.path.join(out, 'page_reference.log')
    command = [os.path.join(TOOLS, 'wine-run'), page_reference, out] + steps
    print('+ ' + ' '.join(command), flush=True)
    with open(log, 'w') as f:
        code = subprocess.call(command, stdout=f, stderr=subprocess.STDOUT,
                               stdin=subprocess.DEVNULL)
    if code != 0:
        with open(log) as f:
            sys.stdout.write(''.join(f.readlines()[-30:]))
        sys.exit('make_references.py: page_reference.exe failed with %d' % code)
    for name in ['layout.json'] + ['picture-%s.ppm' % s for s in steps]:
        if not os.path.exists(os.path.join(out, name)):
            sys.exit('make_references.py: page_reference.exe wrote no %s' % name)
    print('references in ' + out)


if __name__ == '__main__':
    main()
