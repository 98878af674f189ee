#pragma once

#include <ostream>
#include <span>
#include <string_view>

// Everything velmora-sim does, with its streams passed in: parses `args`
// (without the program name), drives one model and prints the rows. Returns
// the exit status: 0, or 2 after a one-line message on `err` for a bad option
// or a table row that does not exist (nothing goes to `out` then).
int RunVelmoraSim(std::span<const std::string_view> args, std::ostream &out, std::ostream &err);
