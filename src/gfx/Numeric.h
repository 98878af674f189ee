#pragma once

#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>
#include <type_traits>

// Rounding to the nearest whole number, halves to the even neighbour
// (0.5 -> 0, 1.5 -> 2, -2.5 -> -2). NaN gives 0; values beyond the 64-bit
// range saturate instead of being undefined.
inline std::int64_t Round(double v)
{
    if (std::isnan(v))
        return 0;
    constexpr double lim = 9223372036854775807.0; // 2^63
    if (v >= lim)
        return std::numeric_limits<std::int64_t>::max();
    if (v < -lim)
        return std::numeric_limits<std::int64_t>::min();
    const double r = v - std::remainder(v, 1.0); // remainder rounds ties to even
    return static_cast<std::int64_t>(r);
}

// Integer division truncating toward zero. A zero divisor gives 0 rather
// than a crash: the pixel arithmetic that uses it treats it as "no room".
template <std::integral T>
constexpr T Div(T a, T b)
{
    if (b == 0)
        return 0;
    if constexpr (std::is_signed_v<T>) {
        if (b == T(-1)) // the one quotient that overflows wraps instead of trapping
            return T(std::make_unsigned_t<T>(0) - std::make_unsigned_t<T>(a));
    }
    return a / b;
}
