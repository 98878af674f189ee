#pragma once

#include "Truck.h"

#include <string>
#include <string_view>
#include <variant>

// A truck file problem: which file, which key ("" for the file as a whole,
// "duty[2].gear" inside the duty list) and what is wrong with it.
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
std::variant<TTruck, TTruckFileError> ReadTruckFile(const std::string &path);
// The same from text already read; `file` names it in messages.
std::variant<TTruck, TTruckFileError> ParseTruck(std::string_view text, const std::string &file);

// The file's text: every field, the list entry names, the units and the duty list.
std::string TruckJson(const TTruck &truck);
// Writes atomically (a temporary file renamed over the target). Returns the
// problem, or an empty string on success.
std::string WriteTruckFile(const std::string &path, const TTruck &truck);
