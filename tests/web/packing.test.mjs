// How the page carries its script, its module and its catalogs
// (web/packing.js): bytes to letters (encodeLetters) and back (the module
// that reads them, web/letters.c, as the page's loader does), against a
// plain reading of the format, and the module the page carries against the
// module the build linked. Node only, no browser.
import { test, expect } from '@playwright/test';
import crypto from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';
import { encodeLetters } from '../../web/packing.js';
import { moduleBytes, readerOf } from './page_parts.mjs';

const PAGE = process.env.RODADERO_PAGE || 'build/web/rodadero.html';
const LETTERS = '!"#$%\'()*+,-./0123456789:;=?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~';

// The format read plainly: the letters' digits, pairs of them as numbers
// d0 + 91 d1 of 13 bits and a last lone letter of 6, laid end to end as
// one number, lowest first, and cut into its whole bytes.
function plainlyRead(text) {
  let all = 0n;
  let bits = 0n;
  for (let i = 0; i < text.length; i += 2) {
    const lone = i + 1 === text.length;
    const value = lone ? LETTERS.indexOf(text[i])
      : LETTERS.indexOf(text[i]) + 91 * LETTERS.indexOf(text[i + 1]);
    all += BigInt(value) << bits;
    bits += lone ? 6n : 13n;
  }
  return Buffer.from(Array.from({ length: Number(bits / 8n) },
                                (_, k) => Number((all >> BigInt(8 * k)) & 255n)));
}

const CASES = [];
for (let length = 0; length <= 27; ++length)
  CASES.push(['zeros', Buffer.alloc(length, 0)], ['ones', Buffer.alloc(length, 0xff)],
             ['random', crypto.randomBytes(length)]);
CASES.push(['random', crypto.randomBytes(100003)]);

test('bytes written as letters and read back', () => {
  const decodeLetters = readerOf(PAGE);
  expect(LETTERS).toHaveLength(91);
  for (const [kind, bytes] of CASES) {
    const text = encodeLetters(bytes);
    const what = `${kind} ${bytes.length}`;
    expect([...text].filter((c) => !LETTERS.includes(c)), what).toEqual([]);
    // 16 letters for 13 bytes, the last ones as few as hold them.
    expect(text.length, what).toBe(Math.ceil(bytes.length * 8 / 13) * 2
                                   - (bytes.length * 8 % 13 >= 1 && bytes.length * 8 % 13 <= 6));
    expect(plainlyRead(text).equals(bytes), what).toBe(true);
    expect(Buffer.from(decodeLetters(text)).equals(bytes), what).toBe(true);
  }
});

test('a text that is not letters is refused', () => {
  const decodeLetters = readerOf(PAGE);
  for (const [text, message] of [['ab<d', '"<" at 2'], ['abcé', '"é" at 3'], ['ab&', '"&" at 2'],
                                 ['~~', 'more than 13 bits at 0'], ['ab\n', '"\\n" at 2'],
                                 ['ab~', 'more than 6 bits at 2']])
    expect(() => decodeLetters(text), text).toThrow(message);
});

// The page carries the module the build linked, byte for byte.
test('the page\'s module is the one linked', () => {
  const linked = fs.readFileSync(path.join(path.dirname(PAGE), 'web', 'rodadero.wasm'));
  expect(moduleBytes(PAGE).equals(linked)).toBe(true);
});
