#pragma once

#include <optional>
#include <string_view>

// An ISO 8601 date and time as GPX files write it, "2024-05-01T08:00:00Z",
// with optional fractional seconds and any offset ("+02:00", "-0530", "+02");
// no offset is UTC. Returns seconds since 1970-01-01T00:00:00Z, or nothing for
// text that is not such a time (a day the month does not have, an hour of 24).
// Surrounding white space is allowed.
std::optional<double> ParseIsoTime(std::string_view text);
