#pragma once

#include "analysis/RouteSlices.h"
#include "analysis/Truck.h"
#include "analysis/TruckInputs.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

enum class TSimFormat { Csv, Json };

// The command line of velmora-sim. Every setting is optional; an absent one
// keeps the start-up value.
struct TSimOptions {
    // The truck's inputs given as options (--load 800), in the order given.
    std::vector<std::pair<const TTruckInput *, double>> Inputs;
    std::optional<double> Pedal;
    std::optional<std::int64_t> StartRpm;
    bool Boost = false;
    std::int64_t Steps = 0;
    std::optional<std::int64_t> Every;
    std::vector<double> Rpms; // probe these speeds instead of stepping
    TSimFormat Format = TSimFormat::Csv;
    std::optional<std::string> TruckFile;  // read first; the options above override it
    bool Sweep = false;                    // one row per 10 rpm up to the rev limit
    bool Duty = false;                     // the duty list and its combined life
    std::optional<double> Reliability;     // percent, 90 .. 99.95: adds a1 and the life at it
    std::optional<std::string> RouteFile;  // a GPX track whose segments replace the duty list
    TRouteParams Route;                    // how the track becomes segments (checked)
    std::optional<std::string> WriteTruck; // write the truck and its duty list here
    bool Help = false;
    bool Version = false;

    // The value given for the input with this truck-file key; the last one
    // given wins.
    std::optional<double> Input(std::string_view key) const;
    // The truck with every input given put over its own values.
    TTruck ApplyTo(TTruck truck) const;
};

struct TSimOptionError {
    std::string Message; // one line, names the option or value
};

std::variant<TSimOptions, TSimOptionError> ParseSimOptions(std::span<const std::string_view> args);

// The --help text; its truck inputs come from the table of inputs.
extern const std::string SimUsage;
