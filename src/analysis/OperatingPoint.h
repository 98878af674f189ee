#pragma once

#include "analysis/Truck.h"

#include <optional>
#include <string>
#include <vector>

// Why a point has a bearing life or not. The first three add distance to a
// duty list without damage; the others leave a fifth-gear segment without a
// life that can be rated, and with it the whole list.
enum class TLifeCause {
    Rated,                // a finite life >= 0
    FourthGear,           // direct drive puts no mesh load on the input gear
    Coasting,             // resistance at or below 0: the engine drives nothing
    UndefinedResistance,  // the road load is not a number
    NoEngineSpeed,        // no engine speed gives the road speed in this gear
    UndefinedBearingLoad, // P is not a number, infinite or negative
    UndefinedLife,        // C/P or the life is not a finite number
};

// The truck holding one road speed in one gear. Absent values are what the
// window shows empty: undefined or negative results, and the bearing values
// in fourth gear (direct drive puts no mesh load on the input gear).
struct TOperatingPoint {
    TGear Gear = TGear::Fifth;
    double SpeedMph = 0;
    // exact: RpmToSpeed(EngineRpm) == SpeedMph, a whole number where one gives
    // the speed; for the few speeds that no double reaches through
    // RpmToSpeed's roundings, the engine speed whose road speed is closest.
    // Absent when no finite engine speed gives the speed (an overdrive ratio
    // of 0 or 1e308); the force, the hold and the bearing values are then
    // absent too.
    std::optional<double> EngineRpm;
    std::optional<double> Resistance;     // lbf, road load plus gradient resistance
    std::optional<double> ForceAvailable; // lbf, absent above the rev limit
    bool Holds = false;                   // force available >= resistance, both present
    std::optional<double> InputTorque;    // ft.lb at the gearbox input
    std::optional<double> RadialLoad;     // P, lbf
    std::optional<double> COverP;
    std::optional<double> LifeKm;
    TLifeCause Cause = TLifeCause::Rated;
};

// Force available >= resistance, both present: the speed can be held.
bool HoldsSpeed(const std::optional<double> &force, const std::optional<double> &resistance);

// Distance without damage: fourth gear and coasting.
bool AddsNoDamage(TLifeCause cause);
// A fifth-gear point whose life cannot be rated: a duty list with one has no
// combined life.
bool LeavesLifeUnrated(TLifeCause cause);

// Why the point has no life, in words a window or a warning can show ("no
// engine speed gives 62 mph in fifth"); empty for a rated point.
std::string LifeCauseText(const TOperatingPoint &p);

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
