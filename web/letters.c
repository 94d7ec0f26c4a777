/* The page's packed texts read as the page opens (web/packing.js says how
 * they are written): in WebAssembly, because the page reads some 180,000
 * letters before its script runs, too early for the script's engine to
 * have made a loop of its own fast.
 *
 * `text` holds `length` letters, one byte each (ASCII); `digits` gives
 * each letter's digit by its code (0 to 127), 2^13 for a code that is no
 * letter. Pairs of letters are 13 bits, d0 + 91 d1, a last lone letter 6,
 * laid end to end from the lowest bit up; their whole bytes go to `out`.
 * Gives the number of bytes, or -1 where a pair is beyond 13 bits or the
 * lone letter beyond 6 (a character that is no letter among them). */

#define PAIR_BITS 13
#define LETTER_BITS 6
#define BASE 91u

__attribute__((export_name("read_letters")))
int read_letters(const unsigned short *digits, const unsigned char *text, int length,
                 unsigned char *out)
{
    unsigned bits = 0, count = 0, seen = 0;
    int at = 0, i = 0;
    for (; i + 1 < length; i += 2) {
        unsigned v = digits[text[i]] + BASE * digits[text[i + 1]];
        seen |= v;
        bits |= v << count;
        out[at++] = (unsigned char)bits;
        bits >>= 8;
        count += PAIR_BITS - 8;
        if (count >= 8) {
            out[at++] = (unsigned char)bits;
            bits >>= 8;
            count -= 8;
        }
    }
    if (i < length) {
        unsigned v = digits[text[i]];
        seen |= v >> LETTER_BITS ? 1u << PAIR_BITS : v;
        bits |= v << count;
        if (count + LETTER_BITS >= 8)
            out[at++] = (unsigned char)bits;
    }
    return seen >> PAIR_BITS ? -1 : at;
}
