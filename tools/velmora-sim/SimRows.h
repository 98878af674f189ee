#pragma once

#include "SimOptions.h"

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

class TDriveModel;

// One printed row: what the readouts show after a step, absent where a
// readout would be empty.
struct TSimRow {
    std::int64_t Step = 0;
    double EngineRpm = 0;
    std::optional<double> RoadSpeedMph, PowerHp, TorqueFtlb, ResistanceLbf, ForceAvailableLbf;
    std::optional<double> InputTorqueFtlb, RadialLoadLbf, COverP, LifeKm, LifeThousandMiles;
    int TorqueUnusedPct = 0;
    bool Recalc = false;
    bool Boost = false;
};

inline constexpr std::array<std::string_view, 15> SimColumns{
    "step",           "engine_rpm",          "road_speed_mph",    "power_hp",        "torque_ftlb",
    "resistance_lbf", "force_available_lbf", "input_torque_ftlb", "radial_load_lbf", "c_over_p",
    "life_km",        "life_thousand_miles", "torque_unused_pct", "recalc",          "boost"};

TSimRow RowFrom(const TDriveModel &m, std::int64_t step);

// The shortest text that reads back to the same 64-bit value.
std::string NumberText(double v);

void WriteHeader(std::ostream &out, TSimFormat format);
void WriteRow(std::ostream &out, TSimFormat format, const TSimRow &row);
