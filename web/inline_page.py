#!/usr/bin/env python3
"""Puts the web page together in one file: the HTML with the CSS, the
scripts (without their comment lines), the text of the sweep's worker and
the WebAssembly module (gzip, then base64) inlined, and the icon as a data
address. The result needs nothing else, from disk or from anywhere.

inline_page.py --html PAGE --css STYLE --wasm MODULE --icon ICON --output OUT
               --worker SCRIPT [--worker SCRIPT...] SCRIPT...
"""
import argparse
import base64
import gzip
import json
import os
import sys


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    for option in ('html', 'css', 'wasm', 'icon', 'output'):
        parser.add_argument('--' + option, required=True)
    parser.add_argument('--worker', action='append', required=True,
                        help="a script of the worker's text, in order")
    parser.add_argument('scripts', nargs='+')
    args = parser.parse_args()

    def text(path):
        with open(path, encoding='utf-8') as f:
            return f.read()

    def script_text(path):
        # The page ships without the scripts' comment lines: they are the
        # sources' notes, not the program, and the page has a size to keep.
        return ''.join(line for line in text(path).splitlines(keepends=True)
                       if not line.lstrip().startswith('//'))

    def binary(path):
        with open(path, 'rb') as f:
            return f.read()

    def b64(data):
        return base64.b64encode(data).decode('ascii')

    # The module's gzip form, the same bytes for the same module (no time
    # stamp in it); the page unpacks it with the browser's DecompressionStream.
    packed = gzip.compress(binary(args.wasm), compresslevel=9, mtime=0)
    worker = "'use strict';\n" + '\n'.join(script_text(s) for s in args.worker)
    script = "'use strict';\nconst RODADERO_WASM = \"%s\";\n" % b64(packed)
    script += 'const RODADERO_SWEEP_WORKER = %s;\n' % json.dumps(worker)
    script += '\n'.join(script_text(s) for s in args.scripts)
    if '</script' in script.lower():
        sys.exit('inline_page.py: a script holds "</script"')
    page = text(args.html)
    for needle, value in (('/*@STYLE@*/', text(args.css)),
                          ('//@SCRIPT@', script),
                          ('@ICON@', 'data:image/x-icon;base64,' + b64(binary(args.icon)))):
        if needle not in page:
            sys.exit('inline_page.py: %s has no %s' % (args.html, needle))
        page = page.replace(needle, value)

    temporary = args.output + '.tmp'
    with open(temporary, 'w', encoding='utf-8') as f:
        f.write(page)
    os.replace(temporary, args.output)


if __name__ == '__main__':
    main()
