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
// build_page.mjs packs (encodeLetters) in node; the page unpacks (unpack).

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

// Each letter's digit by its character code; -1 for a character that is
// not a letter.
function digitsOfLetters() {
  const digits = new Int8Array(128).fill(-1);
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

// Text as bytes: throws on a character that is not a letter, or on a pair
// beyond 13 bits.
export function decodeLetters(text) {
  const pairs = text.length >> 1;
  const single = text.length & 1;
  const bytes = new Uint8Array(Math.floor((pairs * PAIR_BITS + single * LETTER_BITS) / 8));
  const DIGITS = digitsOfLetters();
  const digit = (i) => {
    const c = text.charCodeAt(i);
    const d = c < 128 ? DIGITS[c] : -1;
    if (d < 0)
      throw new Error(`packed text holds ${JSON.stringify(text[i])} at ${i}`);
    return d;
  };
  let bits = 0;
  let count = 0;
  let at = 0;
  for (let i = 0; i < text.length; i += 2) {
    const v = i + 1 < text.length ? digit(i) + BASE * digit(i + 1) : digit(i);
    if (v >> PAIR_BITS)
      throw new Error(`packed text holds more than 13 bits at ${i}`);
    bits |= v << count;
    count += i + 1 < text.length ? PAIR_BITS : LETTER_BITS;
    for (; count >= 8 && at < bytes.length; count -= 8, bits >>>= 8)
      bytes[at++] = bits & 0xff;
  }
  return bytes;
}

// The bytes packed in `text`: its letters read, then ungzipped by the
// browser's DecompressionStream, straight from memory (a Response's body,
// not a Blob, which the browser would first register and hand back from
// another process).
export async function unpack(text) {
  const stream = new Response(decodeLetters(text)).body
    .pipeThrough(new DecompressionStream('gzip'));
  return new Uint8Array(await new Response(stream).arrayBuffer());
}
