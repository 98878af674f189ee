#pragma once

#include "analysis/RouteSlices.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

enum class TSimFormat { Csv, Json };

// The command line of velmora-sim. Every setting is optional; an absent one
// keeps the start-up value.
struct TSimOptions {
    std::optional<int> Engine, FinalDrive, Tyre, Body;
    std::optional<int> Gear; // 4 or 5
    std::optional<double> OverdriveRatio, TransmissionLoss;
    std::optional<std::int64_t> RollingResistance;
    std::optional<double> FrontalArea, DragCoef, Load, Gradient, LoadRating;
    std::optional<double> PitchRadius, PressureAngle, HelixAngle, Overhang, LoadFactor;
    std::optional<double> Pedal;
    std::optional<std::int64_t> StartRpm;
    bool Boost = false;
    std::int64_t Steps = 0;
    std::optional<std::int64_t> Every;
    std::vector<double> Rpms; // probe these speeds instead of stepping
    TSimFormat Format = TSimFormat::Csv;
    std::optional<std::string> TruckFile; // read first; the options above override it
    bool Sweep = false;                   // one row per 10 rpm up to the rev limit
    bool Duty = false;                    // the truck file's duty list and its combined life
    std::optional<std::string> RouteFile; // a GPX track whose segments replace the duty list
    TRouteParams Route;                   // how the track becomes segments
    std::optional<std::string> WriteTruck; // write the truck with its duty list here
    std::optional<double> Reliability;    // percent, 90 .. 99.95: adds a1 and the life at it
    bool Help = false;
    bool Version = false;
};

struct TSimOptionError {
    std::string Message; // one line, names the option or value
};

std::variant<TSimOptions, TSimOptionError> ParseSimOptions(std::span<const std::string_view> args);

extern const char *const SimUsage;
