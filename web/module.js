// The program's WebAssembly module, for the page and for its workers: the
// bytes unpacked from the page, an instance, and the texts it hands out.
'use strict';

// The module's bytes from the page's base64 text of their gzip form.
async function unpackModule(packed) {
  const binary = atob(packed);
  const bytes = new Uint8Array(binary.length);
  for (let i = 0; i < binary.length; ++i)
    bytes[i] = binary.charCodeAt(i);
  const stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('gzip'));
  return new Uint8Array(await new Response(stream).arrayBuffer());
}

// An instance, started. The C++ library's paths that end the program with a
// message on the standard error stream (none is taken unless something is
// badly wrong) import the system's file calls: here each answers "not
// supported", and the path then traps, which the caller sees as an error.
async function instantiateModule(bytes) {
  const module = await WebAssembly.compile(bytes);
  const imports = {};
  const NOT_SUPPORTED = 52;
  for (const { module: from, name, kind } of WebAssembly.Module.imports(module)) {
    if (kind !== 'function')
      throw new Error(`the module imports the ${kind} ${from}.${name}`);
    (imports[from] = imports[from] || {})[name] = () => NOT_SUPPORTED;
  }
  const instance = await WebAssembly.instantiate(module, imports);
  instance.exports._initialize();
  return instance.exports;
}

// A text the module hands out: the address of {address of its UTF-8
// bytes, their number}.
function readModuleText(e, address) {
  const [bytes, size] = new Int32Array(e.memory.buffer, address, 2);
  return new TextDecoder('utf-8').decode(new Uint8Array(e.memory.buffer, bytes >>> 0, size));
}
