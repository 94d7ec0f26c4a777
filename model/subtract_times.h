// The same rounded subtraction applied many times over, without doing it
// one application at a time.
//
// Applying the same s again and again moves x by the same whole number of
// units in the last place each time, as long as x stays within one binade
// (one sign, one exponent): x - s rounds to the nearest multiple of that
// unit, and which multiple depends only on s. A tie (s an odd multiple of
// half a unit) is broken toward an even significand, so from the first
// application on, every later one lands on an even significand again and the
// move is the even one of the two neighbours. Below half a unit nothing
// moves at all. Among the subnormals every difference is exact, and the
// move is s itself.
//
// So: take three applications one by one, read the move off the last two
// (by then a tie has settled), and jump as far as the binade allows. The
// three single applications also carry x over every power of two, up or
// down, where the unit changes; zeros, infinities and NaNs simply go on one
// application at a time.
#ifndef RODADERO_MODEL_SUBTRACT_TIMES_H
#define RODADERO_MODEL_SUBTRACT_TIMES_H

#include <cstdint>
#include <cstring>

// x after `times` applications of x = x - s, each rounded to nearest on its
// own: bit for bit what the plain loop gives, signs of zero, infinities and
// NaNs included. times >= 0.
double SubtractTimes(double x, double s, int times);

// How the closed form reads doubles: their bits as integers, in the
// order of their values, and their binade; and its jump within one binade.
namespace subtract_times {
const std::int64_t MAGNITUDE_BITS = 0x7FFFFFFFFFFFFFFF;
const std::uint64_t FRACTION_BITS = 0x000FFFFFFFFFFFFF;
const std::uint64_t EXPONENT_MAX = 0x7FF;

inline std::uint64_t BitsOf(double v)
{
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

// Doubles as integers in the order of their values: a positive double keeps
// its bits, a negative one becomes -1 - (its magnitude's bits). Neighbouring
// doubles of one sign are neighbouring integers. The map is its own inverse.
inline std::int64_t OrderKey(std::uint64_t bits)
{
    std::int64_t b = static_cast<std::int64_t>(bits);
    return b ^ ((b >> 63) & MAGNITUDE_BITS);
}

inline double FromOrderKey(std::int64_t key)
{
    std::uint64_t b = static_cast<std::uint64_t>(key ^ ((key >> 63) & MAGNITUDE_BITS));
    double v;
    std::memcpy(&v, &b, sizeof v);
    return v;
}

// Sign and exponent: doubles with the same top bits share a binade.
inline std::uint64_t Binade(std::uint64_t bits)
{
    return bits >> 52;
}

// x1, x2 and x3 are three applications in a row. When they and the value
// `times` moves after x3 all lie in one finite binade, and none of them is
// the binade's lowest magnitude (just below it the unit is finer, so an
// exact x - s there may round elsewhere), every move in between is the same
// as the one from x2 to x3: the value after those moves goes to *out. The
// applications only ever move one way, so checking the first and the last
// value covers every one in between; and the first may well be the lowest
// magnitude, since then x moves up and away from it. The end is worked out in
// unsigned arithmetic, which wraps where a signed product could overflow;
// with x1 and x3 in one binade the move is below 2^52 and, times being below
// 2048, nothing wraps at all.
inline bool JumpWithinBinade(double x1, double x2, double x3, int times, double *out)
{
    std::uint64_t b1 = BitsOf(x1);
    std::uint64_t b3 = BitsOf(x3);
    std::uint64_t k3 = static_cast<std::uint64_t>(OrderKey(b3));
    std::uint64_t move = static_cast<std::uint64_t>(OrderKey(BitsOf(x2))) - k3;
    std::int64_t end = static_cast<std::int64_t>(k3 - static_cast<std::uint64_t>(times) * move);
    std::uint64_t e = static_cast<std::uint64_t>(OrderKey(static_cast<std::uint64_t>(end)));
    bool inside = Binade(b1) == Binade(b3) && Binade(b1) == Binade(e) &&
                  (Binade(b1) & EXPONENT_MAX) != EXPONENT_MAX &&
                  (e & FRACTION_BITS) != 0 && times < 2048;
    *out = FromOrderKey(end);
    return inside || move == 0;
}

} // namespace subtract_times

#endif
