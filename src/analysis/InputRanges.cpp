#include "analysis/InputRanges.h"

#include <array>
#include <cmath>
#include <limits>

namespace
{

constexpr double Unlimited = std::numeric_limits<double>::max();
// The integer edit is read as a signed 32-bit value: anything larger would
// come back negative.
constexpr double IntEditMax = 2147483647;

// The positive edits take any value from 0 up; the spin edits have their own
// limits; the gas pedal sets a target speed of 0 to 100 mph, which bounds the
// speed a duty segment may ask for (a segment at standstill covers no distance).
constexpr std::array<TInputRange, 15> Rows{{
    {"overdrive_ratio", 0, Unlimited, false, false, "0 or more"},
    {"transmission_loss", 0, Unlimited, false, false, "0 or more"},
    {"rolling_resistance", 0, IntEditMax, false, true, "a whole number from 0 to 2147483647"},
    {"frontal_area", 0, Unlimited, false, false, "0 or more"},
    {"drag_coef", 0, Unlimited, false, false, "0 or more"},
    {"load", 0, 3000, false, false, "0 to 3000"},
    {"gradient", 0, 100, false, false, "0 to 100"},
    {"load_rating", 0, Unlimited, false, false, "0 or more"},
    {"pitch_radius", 0, Unlimited, false, false, "0 or more"},
    {"pressure_angle", 0, Unlimited, false, false, "0 or more"},
    {"helix_angle", 0, Unlimited, false, false, "0 or more"},
    {"overhang", 0, Unlimited, false, false, "0 or more"},
    {"load_factor", 0, Unlimited, false, false, "0 or more"},
    {"share_pct", 0, 100, true, false, "above 0 and at most 100"},
    {"speed_mph", 0, 100, true, false, "above 0 and at most 100"},
}};

} // namespace

bool TInputRange::Contains(double v) const
{
    if (!std::isfinite(v))
        return false;
    if (MinExclusive ? !(v > Min) : !(v >= Min))
        return false;
    if (!(v <= Max))
        return false;
    return !Whole || std::trunc(v) == v;
}

std::span<const TInputRange> InputRanges()
{
    return Rows;
}

const TInputRange *FindInputRange(std::string_view key)
{
    for (const TInputRange &r : Rows)
        if (r.Key == key)
            return &r;
    return nullptr;
}
