#pragma once

#include <string>
#include <string_view>

// The values one input accepts: inclusive bounds, or an exclusive lower one,
// and whether only whole numbers are taken.
struct TInputRange {
    double Min = 0;
    double Max = 0;            // inclusive; the largest finite double where there is no upper limit
    bool MinExclusive = false; // the value must be above Min, not equal to it
    bool Whole = false;        // whole numbers only

    bool Contains(double v) const; // false for NaN and infinities
    bool Bounded() const;          // an upper limit a user would meet
    // The range in words, to follow "must be" or "expected": "a number from 0
    // to 3000", "a whole number from 0 to 2147483647", "0 or more", "above 0
    // and at most 100".
    std::string Text() const;
};

inline constexpr double NoUpperLimit = 1.7976931348623157e308;

// The ranges two tables share: the truck's load and gradient, as the window's
// spin edits hold them, and a duty segment's gradient, which may go downhill.
inline constexpr TInputRange LoadRange{0, 3000};
inline constexpr TInputRange GradientRange{0, 100};
inline constexpr TInputRange DutyGradientRange{-0.5, 100};

// What a duty segment's numbers accept. The share and speed are above 0 (a
// segment at standstill covers no distance) and at most 100; the gradient may
// be negative down to -0.5 (recorded routes go downhill); the load has the
// truck's range. Null for a key that is not a number of a segment.
const TInputRange *FindDutyRange(std::string_view key);

// A number as the messages and the help show it: the shortest text that reads
// back to the same value ("0.5", "2147483647", "1e-300").
std::string RangeNumber(double v);
