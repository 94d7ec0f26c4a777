// Puts the web page together in one file: the HTML with the CSS, the page's
// script (page.js and the modules it imports, bundled by esbuild into one
// script), the script of the sweep's workers (sweep_worker.js and what it
// imports, bundled on its own), the WebAssembly module (gzip, then base64)
// and the icon as a data address. The scripts go in without comments or
// the sources' layout: they are the sources' notes, not the program, and
// the page has a size to keep. The result needs nothing else, from disk or
// from anywhere.
//
//   node build_page.mjs --html PAGE --css STYLE --wasm MODULE --icon ICON
//                       --script ENTRY --worker ENTRY --output OUT --depfile DEPS
//
// DEPS, for the build tool, names every file the page was made from, the
// modules the scripts import included.
import { build } from 'esbuild';
import fs from 'node:fs';
import path from 'node:path';
import { parseArgs } from 'node:util';
import zlib from 'node:zlib';

const NAMES = ['html', 'css', 'wasm', 'icon', 'script', 'worker', 'output', 'depfile'];

function fail(message) {
  console.error(`build_page.mjs: ${message}`);
  process.exit(1);
}

function readOptions() {
  const { values } = parseArgs({
    options: Object.fromEntries(NAMES.map((name) => [name, { type: 'string' }])),
  });
  for (const name of NAMES)
    if (values[name] === undefined)
      fail(`--${name} is missing`);
  return values;
}

// One script from an entry module and everything it imports: strict, as
// modules are, its top-level names inside one function; the same bytes for
// the same sources. The files it was made from are added to `inputs`.
async function bundle(entry, inputs) {
  const result = await build({
    entryPoints: [entry],
    bundle: true,
    format: 'iife',
    banner: { js: "'use strict';" },
    minifyWhitespace: true,
    legalComments: 'none',
    charset: 'utf8',
    write: false,
    metafile: true,
    logLevel: 'warning',
  });
  for (const input of Object.keys(result.metafile.inputs))
    inputs.add(path.resolve(input));
  return result.outputFiles[0].text;
}

// Text that goes inside a <script> element as it is: one that held
// "</script" or "<!--" would end it early or change how it is read.
function scriptText(what, text) {
  if (/<\/script|<!--/i.test(text))
    fail(`${what} holds "</script" or "<!--"`);
  return text;
}

async function main() {
  const o = readOptions();
  const inputs = new Set([o.html, o.css, o.wasm, o.icon].map((f) => path.resolve(f)));
  const base64 = (data) => data.toString('base64');
  // The module's gzip form, the same bytes for the same module (no time
  // stamp in it); the page unpacks it with the browser's DecompressionStream.
  const packed = zlib.gzipSync(fs.readFileSync(o.wasm), { level: 9 });
  const parts = {
    '/*@STYLE@*/': fs.readFileSync(o.css, 'utf8'),
    '//@SCRIPT@': scriptText('the page\'s script', await bundle(o.script, inputs)),
    '@SWEEP_WORKER@': scriptText('the worker\'s script', await bundle(o.worker, inputs)),
    '@MODULE@': base64(packed),
    '@ICON@': `data:image/x-icon;base64,${base64(fs.readFileSync(o.icon))}`,
  };
  const html = fs.readFileSync(o.html, 'utf8');
  for (const needle of Object.keys(parts))
    if (!html.includes(needle))
      fail(`${o.html} has no ${needle}`);
  // Each needle of the HTML replaced in one pass: nothing put in is read
  // again for needles.
  const needles = new RegExp(Object.keys(parts).map((n) => n.replace(/[/*]/g, '\\$&')).join('|'),
                             'g');
  const page = html.replace(needles, (needle) => parts[needle]);

  const temporary = `${o.output}.tmp`;
  fs.writeFileSync(temporary, page);
  fs.renameSync(temporary, o.output);
  // Make's and Ninja's escapes: a blank or a hash after a backslash, a
  // dollar doubled.
  const escaped = (file) => file.replace(/[ #$]/g, (c) => (c === '$' ? '$$' : `\\${c}`));
  fs.writeFileSync(o.depfile, `${escaped(path.resolve(o.output))}: ` +
                              `${[...inputs].map(escaped).join(' \\\n  ')}\n`);
}

main().catch((error) => fail(error.stack || String(error)));
