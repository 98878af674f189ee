#include "analysis/InputRanges.h"

#include <array>
#include <charconv>
#include <cmath>
#include <utility>

namespace
{

constexpr std::array<std::pair<std::string_view, TInputRange>, 4> DutyRows{{
    {"share_pct", {0, 100, true, false}},
    {"speed_mph", {0, 100, true, false}},
    {"gradient", DutyGradientRange},
    {"load", LoadRange},
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

bool TInputRange::Bounded() const
{
    return Max < NoUpperLimit;
}

std::string TInputRange::Text() const
{
    const std::string lo = RangeNumber(Min);
    const std::string hi = RangeNumber(Max);
    const std::string kind = Whole ? "a whole number" : "a number";
    if (MinExclusive)
        return Bounded() ? "above " + lo + " and at most " + hi : kind + " above " + lo;
    if (Bounded())
        return kind + " from " + lo + " to " + hi;
    return Whole ? kind + ", " + lo + " or more" : lo + " or more";
}

const TInputRange *FindDutyRange(std::string_view key)
{
    for (const auto &[name, range] : DutyRows)
        if (name == key)
            return &range;
    return nullptr;
}

std::string RangeNumber(double v)
{
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc() ? std::string(buf, end) : std::string("?");
}
