// A double as its bit pattern: for comparisons that must hold bit for bit
// (signs of zero included), and for failures that print the bits the way
// the tests write them.
#ifndef RODADERO_TESTS_DOUBLE_BITS_H
#define RODADERO_TESTS_DOUBLE_BITS_H

#include <cstdint>
#include <cstring>
#include <string>

inline std::uint64_t Bits(double v)
{
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

inline std::string HexBits(double v)
{
    static const char digits[] = "0123456789abcdef";
    std::uint64_t b = Bits(v);
    std::string text = "0x";
    for (int shift = 60; shift >= 0; shift -= 4)
        text += digits[(b >> shift) & 0xF];
    return text;
}

#endif
