#pragma once

#include "analysis/Truck.h"

#include <string>
#include <string_view>
#include <variant>

// A truck file problem: which file, which key ("" for the file as a whole,
// "duty[2].gear" inside the duty list, counting segments from 1 as
// velmora-sim numbers them) and what is wrong with it.
struct TTruckFileError {
    std::string File;
    std::string Key;
    std::string Problem;
    // "FILE: key: problem", or "FILE: problem" without a key.
    std::string Message() const;
};

inline constexpr std::size_t MaxTruckFileBytes = 1024 * 1024;

// Reads and validates the whole file; a field the file lacks keeps its
// start-up value. Nothing is returned but the error when any check fails.
// The duty shares' sum is not checked here (a list may be saved while it is
// being written); CheckDutyShares does that before a duty life is computed.
std::variant<TTruck, TTruckFileError> ReadTruckFile(const std::string &path);
// The same from text already read; `file` names it in messages.
std::variant<TTruck, TTruckFileError> ParseTruck(std::string_view text, const std::string &file);

// The file's text: every field, the list entry names, the units and the duty list.
std::string TruckJson(const TTruck &truck);
// Writes atomically (a temporary file renamed over the target; an existing
// file keeps its permissions). Returns the problem as one line,
// "FILE: cannot be written: REASON" or "FILE: key: problem" for a truck that
// could not be read back (a value outside its input's range); an empty string
// on success. Nothing is written when it fails.
std::string WriteTruckFile(const std::string &path, const TTruck &truck);
