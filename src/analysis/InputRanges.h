#pragma once

#include <span>
#include <string_view>

// The values the window's inputs accept, one row per truck-file key, so the
// truck file, velmora-sim and the windows refuse the same things. Table rows
// (engine, final_drive, tyre, body) and the gear are checked against the
// tables themselves, not here. A duty segment's "gradient" and "load" use the
// truck's rows.
struct TInputRange {
    std::string_view Key; // the truck-file key ("load") or duty-segment key ("share_pct")
    double Min = 0;
    double Max = 0; // inclusive; the largest finite double where the input has no upper limit
    bool MinExclusive = false; // the value must be above Min, not equal to it
    bool Whole = false;        // whole numbers only
    std::string_view Text;     // the range in words: "0 to 3000", "0 or more"

    bool Contains(double v) const; // false for NaN and infinities
};

// Every row, truck inputs first, then the duty-segment keys.
std::span<const TInputRange> InputRanges();
// The row for `key`, or nullptr when the key has no range of its own.
const TInputRange *FindInputRange(std::string_view key);
