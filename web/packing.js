// What the page carries packed: bytes in their gzip form, written as text
// of 91 letters, two letters for every 13 bits (91 * 91 = 8,281 is more
// than 2^13 = 8,192): 16 letters for 13 bytes, where base64 takes 18. The
// letters are the printable ASCII characters but < > &, so that the text
// can stand inside a <script> element (it can never hold "</script" or
// "<!--") and means nothing else to HTML.
//
// The bytes are read as one stream of bits, the first byte's lowest bit
// first; each 13 bits, as a number v, are the letters of v % 91 and of
// the quotient. The last bits, padded with zeros, are a pair as well, or
// one letter where they are 6 or fewer: the padding is then always less
// than a byte, and reading the letters back gives the bytes and no more.
//
// build_page.mjs packs (encodeLetters) in node; the page's loader unpacks
// (unpack, with lettersReader).

const LETTERS = (() => {
  let letters = '';
  for (let code = 0x21; code <= 0x7e; ++code) {
    const c = String.fromCharCode(code);
    if (!'<>&'.includes(c))
      letters += c;
  }
  return letters;
})();
const BASE = 91;
const PAIR_BITS = 13;
const LETTER_BITS = 6;

// A digit no letter has: a pair holding it is beyond 13 bits.
const NOT_A_LETTER = 1 << PAIR_BITS;

// Each letter's digit by its character code (0 to 127); NOT_A_LETTER for
// a character that is not a letter.
function digitsOfLetters() {
  const digits = new Uint16Array(128).fill(NOT_A_LETTER);
  for (let i = 0; i < LETTERS.length; ++i)
    digits[LETTERS.charCodeAt(i)] = i;
  return digits;
}

// Bytes as text (a Uint8Array or a node Buffer).
export function encodeLetters(bytes) {
  const letters = [];
  let bits = 0;
  let count = 0;
  for (const byte of bytes) {
    bits |= byte << count;
    count += 8;
    if (count >= PAIR_BITS) {
      const v = bits & ((1 << PAIR_BITS) - 1);
      letters.push(LETTERS[v % BASE], LETTERS[Math.floor(v / BASE)]);
      bits >>>= PAIR_BITS;
      count -= PAIR_BITS;
    }
  }
  if (count > LETTER_BITS)
    letters.push(LETTERS[bits % BASE], LETTERS[Math.floor(bits / BASE)]);
  else if (count > 0)
    letters.push(LETTERS[bits]);
  return letters.join('');
}

// Why `text` cannot be read: the first character that is not a letter,
// the first pair beyond 13 bits, or a last lone letter beyond 6.
function fault(text, digits) {
  for (let i = 0; i < text.length; ++i) {
    const c = text.charCodeAt(i);
    if (c > 127 || digits[c] === NOT_A_LETTER)
      return new Error(`packed text holds ${JSON.stringify(text[i])} at ${i}`);
  }
  for (let i = 0; i + 1 < text.length; i += 2)
    if (digits[text.charCodeAt(i)] + BASE * digits[text.charCodeAt(i + 1)] >= 1 << PAIR_BITS)
      return new Error(`packed text holds more than 13 bits at ${i}`);
  return new Error(`packed text ends in more than 6 bits at ${text.length - 1}`);
}

// A reader of packed texts, text to bytes, from the bytes of the module
// that reads them (letters.c): it throws on a character that is not a
// letter, on a pair beyond 13 bits or on a last lone letter beyond 6.
// Each text is read in memory of its own, added to the module's.
export function lettersReader(moduleBytes) {
  const { memory, read_letters: readLetters } =
    new WebAssembly.Instance(new WebAssembly.Module(moduleBytes), {}).exports;
  const digits = digitsOfLetters();
  return (text) => {
    const size = Math.floor(((text.length >> 1) * PAIR_BITS + (text.length & 1) * LETTER_BITS) / 8);
    const needed = digits.byteLength + text.length + size;
    const base = memory.grow(Math.ceil(needed / 65536)) * 65536;
    new Uint16Array(memory.buffer, base, digits.length).set(digits);
    const at = base + digits.byteLength;
    // Letters are ASCII, one byte each: a text that is not all ASCII does
    // not fit.
    const { read } = new TextEncoder().encodeInto(text, new Uint8Array(memory.buffer, at,
                                                                       text.length));
    const out = at + text.length;
    if (read !== text.length || readLetters(base, at, text.length, out) !== size)
      throw fault(text, digits);
    return new Uint8Array(memory.buffer.slice(out, out + size));
  };
}

// The bytes packed in `text`, read by `read` (lettersReader), as they are
// ungzipped by the browser's DecompressionStream, straight from memory (a
// Response's body, not a Blob, which the browser would first register and
// hand back from another process).
export function unpackedStream(text, read) {
  return new Response(read(text)).body.pipeThrough(new DecompressionStream('gzip'));
}

// The same bytes, whole.
export async function unpack(text, read) {
  return new Uint8Array(await new Response(unpackedStream(text, read)).arrayBuffer());
}
