#pragma once

#include <array>
#include <string>
#include <string_view>

// The characteristic points of one engine.
struct TEngineInfo {
    std::string Code;
    double PowerAtMaxTorque = 0; // hp at the maximum-torque speed
    double MaxTorque = 0;        // ft.lb
    double MaxTorqueRpm = 0;
    double MaxPower = 0;         // hp
    double TorqueAtMaxPower = 0; // ft.lb at the maximum-power speed
    double MaxPowerRpm = 0;      // also the rev limit of both curves

    bool operator==(const TEngineInfo &) const = default;
};

// The four fixed tables. Row i of each table is entry i of its selection list;
// the list texts keep their internal runs of blanks exactly.
namespace VehicleTables
{

inline constexpr std::size_t EngineCount = 3;
inline constexpr std::size_t FinalDriveCount = 6;
inline constexpr std::size_t TyreSizeCount = 17;
inline constexpr std::size_t KerbWeightCount = 4;

const std::array<TEngineInfo, EngineCount> &Engines();
const std::array<std::string_view, EngineCount> &EngineListTexts();

const std::array<double, FinalDriveCount> &FinalDriveRatios();
const std::array<std::string_view, FinalDriveCount> &FinalDriveListTexts();

// Outside diameters in metres: 25.0" to 33.0" in half-inch steps.
const std::array<double, TyreSizeCount> &TyreDiameters();
const std::array<std::string_view, TyreSizeCount> &TyreSizeListTexts();

// Unladen weights in lb.
const std::array<double, KerbWeightCount> &KerbWeights();
const std::array<std::string_view, KerbWeightCount> &KerbWeightListTexts();

} // namespace VehicleTables
