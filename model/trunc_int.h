// The one conversion of a double to an integer used by the program: toward
// zero, like a C cast, but defined for every input. Values beyond the 32-bit
// range saturate at its limits and NaN gives 0, where a plain cast would be
// undefined behaviour.
#ifndef RODADERO_MODEL_TRUNC_INT_H
#define RODADERO_MODEL_TRUNC_INT_H

#include <cstdint>

inline std::int32_t TruncToInt(double v)
{
    if (!(v == v))
        return 0;
    if (v >= 2147483647.0)
        return INT32_MAX;
    if (v <= -2147483648.0)
        return INT32_MIN;
    return static_cast<std::int32_t>(v);
}

#endif
