#pragma once

#include "velmora-sim/SimOptions.h"

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

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

// The shortest text that reads back to the same 64-bit value; plain decimals
// from 1e-6 up to 1e16, exponents beyond; 0 for -0 and nothing for NaN or an
// infinity.
std::string NumberText(double v);

// One field of a printed row: empty (an empty csv field, JSON null), a
// number, a whole number, a flag (0/1 in csv, a boolean in JSON) or one of
// the program's own words (a string that outlives the row).
using TSimCell = std::variant<std::monostate, double, std::int64_t, bool, std::string_view>;

TSimCell Cell(const std::optional<double> &v);

// The row's fields in the order of SimColumns.
std::vector<TSimCell> CellsOf(const TSimRow &row);

// Any table: the csv header line (nothing in JSON), then one line per row,
// a JSON object keyed by the column names.
void WriteHeader(std::ostream &out, TSimFormat format, std::span<const std::string_view> columns);
void WriteCells(std::ostream &out, TSimFormat format, std::span<const std::string_view> columns,
                std::span<const TSimCell> cells);

// The model rows with SimColumns.
void WriteHeader(std::ostream &out, TSimFormat format);
void WriteRow(std::ostream &out, TSimFormat format, const TSimRow &row);
