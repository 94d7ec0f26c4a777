// The program's WebAssembly module, for the page and for its workers: the
// bytes unpacked from the page, an instance, and what the script reads of
// its memory, by the contract the module hands out.

// An instance, started. The C++ library's paths that end the program with a
// message on the standard error stream (none is taken unless something is
// badly wrong) import the system's file calls: here each answers "not
// supported", and the path then traps, which the caller sees as an error.
export async function instantiateModule(source) {
  const module = source instanceof WebAssembly.Module ? source : await WebAssembly.compile(source);
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

// A text ended by a zero byte, at `address` in the module's memory.
export function readModuleString(e, address) {
  const bytes = new Uint8Array(e.memory.buffer, address);
  return new TextDecoder('utf-8').decode(bytes.subarray(0, bytes.indexOf(0)));
}

const MODULE_VIEWS = Object.freeze({ f64: Float64Array, i32: Int32Array, u32: Uint32Array });

// What the script and the module agree on (rodadero_contract), read once
// from an instance: the module's constants as they are in its text, and
// readers of the structs it lays out. view(struct, field) and
// value(struct, field) make, once, a function of a struct's address that
// gives the field's elements as a typed array or its first element; a
// view lasts until the module's memory grows, so each read makes its own.
// fields(struct, address) gives every field of one element; text(address)
// a text the module hands out (a PageText).
export function openContract(e) {
  const contract = JSON.parse(readModuleString(e, e.rodadero_contract()));
  const placeOf = (struct, field) => {
    const f = contract.structs[struct]?.fields[field];
    if (!f)
      throw new Error(`the module's contract has no field ${struct}.${field}`);
    return { View: MODULE_VIEWS[f.type], offset: f.offset, count: f.count };
  };
  const view = (struct, field) => {
    const { View, offset, count } = placeOf(struct, field);
    return (address) => new View(e.memory.buffer, address + offset, count);
  };
  const value = (struct, field) => {
    const { View, offset } = placeOf(struct, field);
    return (address) => new View(e.memory.buffer, address + offset, 1)[0];
  };
  // Each struct's readers of all its fields, made at their first use.
  const allFields = new Map();
  const fields = (struct, address) => {
    if (!allFields.has(struct)) {
      if (!contract.structs[struct])
        throw new Error(`the module's contract has no struct ${struct}`);
      allFields.set(struct, Object.keys(contract.structs[struct].fields)
        .map((field) => [field, value(struct, field)]));
    }
    return Object.fromEntries(allFields.get(struct).map(([field, read]) => [field, read(address)]));
  };
  let textParts = null;
  const text = (address) => {
    textParts = textParts || [value('PageText', 'bytes'), value('PageText', 'size')];
    const [bytes, size] = textParts;
    return new TextDecoder('utf-8').decode(new Uint8Array(e.memory.buffer, bytes(address), size(address)));
  };
  return Object.freeze({ ...contract, view, value, fields, text });
}
