// The parts of the page that tests and benchmarks take from it: its
// script, the module and the other languages' catalogs as it carries them
// (packed, web/packing.js), read from its HTML and unpacked here, and the
// page's own module.js as a script that a test adds to an open page (an
// inline script, which the page's content security policy allows), its
// functions under one global name.
import { buildSync } from 'esbuild';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import zlib from 'node:zlib';
import { lettersReader } from '../../web/packing.js';

const WEB = fileURLToPath(new URL('../../web/', import.meta.url));

// The text of the page's <script id=ID> data block.
function inlinedText(html, id) {
  const match = new RegExp(`<script id="${id}" type="[^"]*">([^]*?)</script>`).exec(html);
  if (!match)
    throw new Error(`the page has no element ${id}`);
  return match[1];
}

// The page's module as it carries it: its gzip form, in letters.
export function packedModule(pagePath) {
  return inlinedText(fs.readFileSync(pagePath, 'latin1'), 'rodadero-module');
}

// The catalogs of the languages other than the page's own, as it carries
// them: the gzip form of one JSON object by code, in letters.
export function packedCatalogs(pagePath) {
  return inlinedText(fs.readFileSync(pagePath, 'latin1'), 'rodadero-catalogs');
}

// The page's script as it carries it: the gzip form of its text, in
// letters.
export function packedScript(pagePath) {
  return inlinedText(fs.readFileSync(pagePath, 'latin1'), 'rodadero-script');
}

// The reader of packed texts of the page at `pagePath` (the module beside
// it that its loader carries).
export function readerOf(pagePath) {
  return lettersReader(fs.readFileSync(path.join(path.dirname(pagePath), 'web',
                                                 'rodadero-letters.wasm')));
}

// What a packed text of the page holds, unpacked here by node.
export function unpacked(text, pagePath) {
  return zlib.gunzipSync(readerOf(pagePath)(text));
}

// The module's bytes, unpacked here by node.
export function moduleBytes(pagePath) {
  return unpacked(packedModule(pagePath), pagePath);
}

// web/module.js's exports as the global `name` of a classic script.
export function moduleScript(name) {
  return buildSync({ entryPoints: [path.join(WEB, 'module.js')], bundle: true, format: 'iife',
                     globalName: name, write: false, logLevel: 'warning' }).outputFiles[0].text;
}

// An instance of the module in node, its imports answered by one number,
// and the contract it hands out.
export function moduleInstance(module) {
  const imports = {};
  for (const { module: from, name } of WebAssembly.Module.imports(module))
    (imports[from] = imports[from] || {})[name] = () => 52;
  const e = new WebAssembly.Instance(module, imports).exports;
  e._initialize();
  const address = e.rodadero_contract(); // made first: making it may grow the memory
  const bytes = new Uint8Array(e.memory.buffer, address);
  const contract = JSON.parse(new TextDecoder().decode(bytes.subarray(0, bytes.indexOf(0))));
  return { e, contract };
}
