// The parts of the page that tests and benchmarks take from it: its
// script, the module and the other languages' catalogs as it carries them
// (packed, web/packing.js), read from its HTML and unpacked here, and the
// page's own module.js and packing.js as a script that a test adds to an
// open page (an inline script, which the page's content security policy
// allows), their functions under one global name.
import { buildSync } from 'esbuild';
import fs from 'node:fs';
import { fileURLToPath } from 'node:url';
import zlib from 'node:zlib';
import { decodeLetters } from '../../web/packing.js';

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

// What a packed text holds, unpacked here by node.
export function unpacked(text) {
  return zlib.gunzipSync(decodeLetters(text));
}

// The module's bytes, unpacked here by node.
export function moduleBytes(pagePath) {
  return unpacked(packedModule(pagePath));
}

// web/module.js's and web/packing.js's exports as the global `name` of a
// classic script.
export function moduleScript(name) {
  return buildSync({
    stdin: { contents: "export * from './module.js'; export * from './packing.js';", resolveDir: WEB },
    bundle: true, format: 'iife', globalName: name, write: false, logLevel: 'warning',
  }).outputFiles[0].text;
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
