#!/usr/bin/env python3
"""Puts the web page together in one file: the HTML with the CSS, the
scripts and the WebAssembly module (base64) inlined, and the icon as a data
address. The result needs nothing else, from disk or from anywhere.

inline_page.py --html PAGE --css STYLE --wasm MODULE --icon ICON --output OUT SCRIPT...
"""
import argparse
import base64
import os
import sys


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    for option in ('html', 'css', 'wasm', 'icon', 'output'):
        parser.add_argument('--' + option, required=True)
    parser.add_argument('scripts', nargs='+')
    args = parser.parse_args()

    def text(path):
        with open(path, encoding='utf-8') as f:
            return f.read()

    def b64(path):
        with open(path, 'rb') as f:
            return base64.b64encode(f.read()).decode('ascii')

    page = text(args.html)
    script = "'use strict';\nconst RODADERO_WASM = \"%s\";\n" % b64(args.wasm)
    script += '\n'.join(text(s) for s in args.scripts)
    if '</script' in script.lower():
        sys.exit('inline_page.py: a script holds "</script"')
    for needle, value in (('/*@STYLE@*/', text(args.css)),
                          ('//@SCRIPT@', script),
                          ('@ICON@', 'data:image/x-icon;base64,' + b64(args.icon))):
        if needle not in page:
            sys.exit('inline_page.py: %s has no %s' % (args.html, needle))
        page = page.replace(needle, value)

    temporary = args.output + '.tmp'
    with open(temporary, 'w', encoding='utf-8') as f:
        f.write(page)
    os.replace(temporary, args.output)


if __name__ == '__main__':
    main()
