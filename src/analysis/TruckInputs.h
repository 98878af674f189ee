#pragma once

#include "analysis/InputRanges.h"
#include "analysis/Truck.h"

#include <span>
#include <string_view>

// How an input's value is taken: a number in its range, a row of one of the
// vehicle tables, or the gear (4 or 5).
enum class TInputKind { Number, Row, Gear };

// One input of the truck: the truck file's key, velmora-sim's option, the
// unit and words its help shows, the values it accepts and the field of
// TTruck it reads and writes. The file reader and writer, velmora-sim's
// options and help and the window's limits are all made from these rows, so
// a new input is added here alone.
struct TTruckInput {
    std::string_view Key;    // "load"
    std::string_view Option; // "--load"
    std::string_view Unit;   // "lb"; empty for a pure number
    std::string_view Help;   // "load carried"
    TInputRange Range;       // rows: 0 to the table's last row
    TInputKind Kind = TInputKind::Number;
    std::string_view Table; // rows: the table's name in messages ("tyre size")
    // Rows: the entries' names, which the truck file writes for people reading it.
    std::span<const std::string_view> (*RowNames)() = nullptr;
    double (*Get)(const TTruck &) = nullptr;
    void (*Set)(TTruck &, double) = nullptr; // takes a value the range contains
};

// Every input, in the order the truck file lists them.
std::span<const TTruckInput> TruckInputs();
// The row for a truck-file key, or null.
const TTruckInput *FindTruckInput(std::string_view key);
// The row for a key the program itself names; throws std::out_of_range for
// any other.
const TTruckInput &InputByKey(std::string_view key);
