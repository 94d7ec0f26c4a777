// The parts of the page that tests and benchmarks take from it: the module
// and the other languages' catalogs as it carries them, read from its HTML, and the page's own module.js as a
// script that a test adds to an open page (an inline script, which the
// page's content security policy allows), its functions under one global
// name.
import { buildSync } from 'esbuild';
import fs from 'node:fs';
import { fileURLToPath } from 'node:url';
import zlib from 'node:zlib';

const MODULE_SOURCE = fileURLToPath(new URL('../../web/module.js', import.meta.url));

// The text of the page's <script id=ID> data block.
function inlinedText(html, id) {
  const match = new RegExp(`<script id="${id}" type="[^"]*">([^]*?)</script>`).exec(html);
  if (!match)
    throw new Error(`the page has no element ${id}`);
  return match[1];
}

// The page's module as it carries it: base64 of its gzip form.
export function packedModule(pagePath) {
  return inlinedText(fs.readFileSync(pagePath, 'latin1'), 'rodadero-module');
}

// The catalogs of the languages other than the page's own, as it carries
// them: base64 of the gzip form of one JSON object, by code.
export function packedCatalogs(pagePath) {
  return inlinedText(fs.readFileSync(pagePath, 'latin1'), 'rodadero-catalogs');
}

// The module's bytes, unpacked here by node.
export function moduleBytes(pagePath) {
  return zlib.gunzipSync(Buffer.from(packedModule(pagePath), 'base64'));
}

// web/module.js's exports as the global `name` of a classic script.
export function moduleScript(name) {
  return buildSync({ entryPoints: [MODULE_SOURCE], bundle: true, format: 'iife', globalName: name,
                     write: false, logLevel: 'warning' }).outputFiles[0].text;
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
