#pragma once

#include <algorithm>
#include <limits>

// The value an edit holds, as the model runs on it. An edit keeps a long
// double, whose range is far wider than the model's doubles: a number typed
// beyond the largest double runs as the largest double (the inputs' upper
// limit), never as an infinity that would reach the readouts, a copy of the
// results or a truck file.
inline double ModelValue(long double shown)
{
    constexpr long double top = std::numeric_limits<double>::max();
    return double(std::clamp(shown, -top, top));
}
