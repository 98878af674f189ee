#pragma once

#include "analysis/Truck.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>

// A truck file problem, reading or writing: which file, which key ("" for the
// file as a whole, "duty[2].gear" inside the duty list, counting segments from
// 1 as velmora-sim numbers them) and what is wrong with it. Text taken from the
// file (an unknown key, a wrong word) is escaped, so the message is one line,
// and cut to about 60 characters.
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
// Writes atomically: a temporary file beside the target, synced, renamed over
// it, then the folder synced, all before returning. A symbolic link is
// followed and its target replaced; an existing file keeps its permissions, a
// new one gets 0666 less the umask. A read-only file, a folder or anything
// but a regular file is refused. Returns nothing on success, else the problem:
// "cannot be written: REASON" (no key), or the key and problem of a truck that
// could not be read back (a value outside its input's range). Nothing changes
// on disk when it fails, and no temporary file is left.
std::optional<TTruckFileError> WriteTruckFile(const std::string &path, const TTruck &truck);

// Text from a file as a message quotes it: control characters escaped
// ("\n", "\u0007"), at most `limit` characters, "..." where it was cut.
std::string PrintableText(std::string_view text, std::size_t limit = 60);
