// Puts the web page together in one file: the HTML with the CSS, the page's
// script (page.js and the modules it imports, bundled by esbuild into one
// script, the script of the sweep's workers inside it as a text: that of
// sweep_worker.js and what it imports, bundled on its own), the
// WebAssembly module, the other languages' catalogs and the icon as a data
// address. The page's script, the module and the catalogs go in packed
// (packing.js: their gzip form, made by zopfli, the smallest gzip there is,
// written with 91 letters); one small script, loader.js, is read as the
// page is and unpacks the page's script and runs it. The page's texts are
// those of the program's language, the first catalog (texts/*.json), and
// the language switch and the notice for a browser without script have
// every catalog's. The scripts, the style and the HTML go in without
// comments, the sources' layout or the scripts' long local names: those
// are the sources' notes, not the program, and the page has a size to keep.
// The result needs nothing else, from disk or from anywhere.
//
//   node build_page.mjs --html PAGE --css STYLE --wasm MODULE --icon PNG
//                       --script ENTRY --worker ENTRY --loader ENTRY --letters MODULE
//                       --zopfli PROGRAM --output OUT --depfile DEPS
//                       --texts CATALOG [--texts CATALOG...]
//
// DEPS, for the build tool, names every file the page was made from, the
// modules the scripts import included. With RODADERO_PAGE_READABLE set in
// the environment the scripts keep their layout and names (for a profile
// of the page that names its functions), the rest as always.
import { build, transform } from 'esbuild';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { parseArgs } from 'node:util';
import { encodeLetters } from './packing.js';

const NAMES = ['html', 'css', 'wasm', 'icon', 'script', 'worker', 'loader', 'letters', 'zopfli',
               'output', 'depfile'];

function fail(message) {
  console.error(`build_page.mjs: ${message}`);
  process.exit(1);
}

function readOptions() {
  const { values } = parseArgs({
    options: { ...Object.fromEntries(NAMES.map((name) => [name, { type: 'string' }])),
               texts: { type: 'string', multiple: true } },
  });
  if (!values.texts)
    fail('--texts is missing');
  for (const name of NAMES)
    if (values[name] === undefined)
      fail(`--${name} is missing`);
  return values;
}

// One script from an entry module and everything it imports: strict, as
// modules are, its top-level names inside one function; the same bytes for
// the same sources. The files it was made from are added to `inputs`.
async function bundle(entry, inputs, catalogs, imported = {}) {
  const result = await build({
    entryPoints: [entry],
    bundle: true,
    format: 'iife',
    banner: { js: "'use strict';" },
    minify: !process.env.RODADERO_PAGE_READABLE,
    legalComments: 'none',
    plugins: [catalogsAsImported(catalogs), builtAsImported(imported)],
    charset: 'utf8',
    write: false,
    metafile: true,
    logLevel: 'warning',
  });
  for (const input of Object.keys(result.metafile.inputs))
    inputs.add(path.resolve(input));
  return result.outputFiles[0].text;
}

// What the build made that a script imports as 'rodadero:NAME': the
// workers' script, which the page's script imports as its text
// ('rodadero:sweep-worker'), and the module that reads packed texts, which
// the loader imports as its bytes in base64 ('rodadero:letters'). `imported` gives
// the contents and loader of each that the script may import.
function builtAsImported(imported) {
  return {
    name: 'built-as-imported',
    setup(b) {
      b.onResolve({ filter: /^rodadero:/ }, ({ path: name }) => ({ path: name.slice(9),
                                                                  namespace: 'rodadero' }));
      b.onLoad({ filter: /.*/, namespace: 'rodadero' }, ({ path: name }) => {
        if (!imported[name])
          fail(`a script imports rodadero:${name}, which the build does not hand it`);
        return imported[name];
      });
    },
  };
}

// A catalog as the page's script reads it: without the pictures' words,
// which the module has in its own build.
function withoutPictures(catalog) {
  const { pictures, ...rest } = catalog;
  return rest;
}

// The catalogs as the scripts import them: the first whole (but for the
// pictures' words), so that the page speaks its language from the start;
// of the others only their names ("language"), the rest of them being
// packed beside the script (packedCatalogs).
function catalogsAsImported(catalogs) {
  const byCode = new Map(catalogs.map((c) => [c.language.code, c]));
  return {
    name: 'catalogs-as-imported',
    setup(b) {
      b.onLoad({ filter: /[\\/]texts[\\/][^\\/]+\.json$/ }, ({ path: file }) => {
        const code = path.basename(file, '.json');
        const catalog = byCode.get(code);
        if (!catalog)
          fail(`the script imports ${file}, which is not a catalog of --texts`);
        const imported = catalog === catalogs[0] ? withoutPictures(catalog)
          : { language: catalog.language };
        return { contents: JSON.stringify(imported), loader: 'json' };
      });
    },
  };
}

// Bytes packed as the page carries them (packing.js): their gzip form,
// made by zopfli, which writes the same bytes for the same input, in 91
// letters.
function pack(zopfli, bytes) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'rodadero-page-'));
  try {
    const file = path.join(folder, 'packed');
    fs.writeFileSync(file, bytes);
    return encodeLetters(execFileSync(zopfli, ['--gzip', '-c', file], { maxBuffer: 1 << 26 }));
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
}

// The catalogs but the first, each without its pictures' words, as one
// JSON object by code: the page unpacks them once (language.js), as it
// does the module.
function catalogsText(catalogs) {
  const others = Object.fromEntries(catalogs.slice(1)
    .map((c) => [c.language.code, withoutPictures(c)]));
  return Buffer.from(JSON.stringify(others), 'utf8');
}

// The HTML without its comments (but the page's first, which says what
// the file is) and without the indentation of its lines.
function withoutNotes(html) {
  let first = true;
  return html.replace(/<!--[^]*?-->\n?/g, (comment) => {
    const kept = first;
    first = false;
    return kept ? comment : '';
  }).replace(/^[ ]+/gm, '');
}

// Text as HTML writes it, in an element or an attribute's quotes.
const HTML_ESCAPES = Object.freeze({ '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' });
const escapeHtml = (text) => text.replace(/[&<>"]/g, (c) => HTML_ESCAPES[c]);

// The texts of the catalogs in the HTML: each {{path}} by the first
// catalog's text there; the language switch, one choice a language named
// in its own; the notice for a browser without script, in every language.
function withTexts(html, catalogs) {
  const [first] = catalogs;
  const used = new Set();
  const filled = html.replace(/\{\{([\w.@-]+)\}\}/g, (marker, key) => {
    const text = key.split('.').reduce((part, name) => (part ? part[name] : undefined), first);
    if (typeof text !== 'string')
      fail(`the ${first.language.code} catalog has no text ${key}`);
    used.add(key);
    return escapeHtml(text);
  });
  for (const key of Object.keys(first.elements))
    if (!used.has(`elements.${key}`))
      fail(`the page has no place for the text elements.${key}`);
  return filled
    .replace('@LANGUAGES@', catalogs.map(({ language: l }) =>
      `<option value="${l.code}" lang="${l.code}">${escapeHtml(l.name)}</option>`).join(''))
    .replace('@NOSCRIPT@', catalogs.map(({ language: l, page }, i) => (i === 0
      ? escapeHtml(page.noScript) : `<span lang="${l.code}">${escapeHtml(page.noScript)}</span>`))
      .join('<br>'));
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
  const inputs = new Set([o.html, o.css, o.wasm, o.icon, o.letters, ...o.texts].map((f) => path.resolve(f)));
  const catalogs = o.texts.map((file) => JSON.parse(fs.readFileSync(file, 'utf8')));
  const worker = await bundle(o.worker, inputs, catalogs);
  const script = await bundle(o.script, inputs, catalogs,
                              { 'sweep-worker': { contents: worker, loader: 'text' } });
  const parts = {
    '/*@STYLE@*/': (await transform(fs.readFileSync(o.css, 'utf8'),
                                    { loader: 'css', minify: true, legalComments: 'none' })).code,
    '//@LOADER@': scriptText('the loader', await bundle(o.loader, inputs, catalogs, {
      letters: { contents: fs.readFileSync(o.letters).toString('base64'), loader: 'text' } })),
    '@SCRIPT@': pack(o.zopfli, Buffer.from(script, 'utf8')),
    '@MODULE@': pack(o.zopfli, fs.readFileSync(o.wasm)),
    '@CATALOGS@': pack(o.zopfli, catalogsText(catalogs)),
    '@ICON@': `data:image/png;base64,${fs.readFileSync(o.icon).toString('base64')}`,
  };
  const html = withTexts(withoutNotes(fs.readFileSync(o.html, 'utf8')), catalogs);
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
