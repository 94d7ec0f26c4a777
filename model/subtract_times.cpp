// The closed form of a repeated rounded subtraction (see subtract_times.h).
#include "subtract_times.h"

using namespace subtract_times;

double SubtractTimes(double x, double s, int times)
{
    while (times > 3) {
        double x1 = x - s;
        double x2 = x1 - s;
        double x3 = x2 - s;
        times -= 3;
        x = x3;
        std::uint64_t b1 = BitsOf(x1), b2 = BitsOf(x2), b3 = BitsOf(x3);
        if (b2 == b3)
            return x3; // nothing moves any more

        std::uint64_t binade = Binade(b3);
        if (Binade(b1) != binade || (binade & EXPONENT_MAX) == EXPONENT_MAX ||
            (b3 & FRACTION_BITS) == 0)
            continue; // crossing into another binade, or not finite

        // Keys of the lowest and highest magnitude still inside; how many
        // moves fit before the binade ends.
        std::int64_t lowMagnitude = OrderKey((binade << 52) | 1);
        std::int64_t highMagnitude = OrderKey((binade << 52) | FRACTION_BITS);
        std::int64_t lowest = lowMagnitude < highMagnitude ? lowMagnitude : highMagnitude;
        std::int64_t highest = lowMagnitude < highMagnitude ? highMagnitude : lowMagnitude;
        std::int64_t k3 = OrderKey(b3);
        std::int64_t move = OrderKey(b2) - k3;
        std::int64_t room = move > 0 ? (k3 - lowest) / move : (highest - k3) / -move;
        if (room >= times)
            return FromOrderKey(k3 - times * move);
        // Go to the binade's last value, then cross one by one.
        x = FromOrderKey(k3 - room * move);
        times -= static_cast<int>(room);
    }
    for (; times > 0; --times)
        x = x - s;
    return x;
}
