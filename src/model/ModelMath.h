#pragma once

#include <cmath>
#include <cstdint>
#include <optional>

namespace ModelMath
{

inline constexpr double Pi = 3.1415926535897932385;
inline constexpr double MilesPerKm = 0.621;

// Round to the nearest whole number, halves to the even neighbour. Absent for
// NaN, infinity and anything outside the 64-bit integer range, where the
// conversion would be undefined.
inline std::optional<std::int64_t> Round(double v)
{
    constexpr double two63 = 9223372036854775808.0;
    if (!std::isfinite(v))
        return std::nullopt;
    const double r = std::nearbyint(v); // the default rounding mode: ties to even
    if (!(r >= -two63 && r < two63))
        return std::nullopt;
    return static_cast<std::int64_t>(r);
}

// True when `degrees` is an odd multiple of 90, where the cosine is zero and
// the tangent has a pole. The library cosine of the rounded radian value is
// only near zero there, which would turn an undefined load into a huge one.
inline bool IsOddRightAngle(double degrees)
{
    return std::isfinite(degrees) && std::fabs(std::remainder(degrees, 180.0)) == 90.0;
}

} // namespace ModelMath
