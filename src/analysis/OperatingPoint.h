#pragma once

#include "analysis/Truck.h"

#include <optional>
#include <vector>

// The truck holding one road speed in one gear. Absent values are what the
// window shows empty: undefined or negative results, and the bearing values
// in fourth gear (direct drive puts no mesh load on the input gear).
struct TOperatingPoint {
    TGear Gear = TGear::Fifth;
    double SpeedMph = 0;
    // exact: RpmToSpeed(EngineRpm) == SpeedMph, a whole number where one gives
    // the speed; for the few speeds that no double reaches through
    // RpmToSpeed's roundings, the engine speed whose road speed is closest.
    double EngineRpm = 0;
    std::optional<double> Resistance;     // lbf, road load plus gradient resistance
    std::optional<double> ForceAvailable; // lbf, absent above the rev limit
    bool Holds = false;                   // force available >= resistance, both present
    std::optional<double> InputTorque;    // ft.lb at the gearbox input
    std::optional<double> RadialLoad;     // P, lbf
    std::optional<double> COverP;
    std::optional<double> LifeKm;
};

// A model in the truck's start-up state (selections, inputs, gear), with no
// owner; the caller may change fields before computing.
TDriveModel ModelOf(const TTruck &truck);

// The steady state at `speedMph` in `gear` with the truck's other inputs.
TOperatingPoint SteadyState(const TTruck &truck, TGear gear, double speedMph);
// The same for one duty segment (its gradient and load where it has them).
TOperatingPoint SteadyState(const TTruck &truck, const TDutySegment &segment);

// Road speeds from the lowest to the highest the engine reaches in `gear`
// (engine speeds from the first 10-rpm step to MaxPowerRpm), `count` >= 2
// points evenly spaced in speed.
std::vector<TOperatingPoint> SpeedSweep(const TTruck &truck, TGear gear, int count);
