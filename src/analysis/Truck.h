#pragma once

#include "model/DriveModel.h"
#include "model/StartUp.h"

#include <optional>
#include <vector>

// One stretch of the way a truck is driven: a share of the distance at a
// steady road speed in one gear. Gradient and load default to the truck's.
struct TDutySegment {
    double SharePct = 100;          // share of the distance, > 0
    double SpeedMph = 0;            // the road speed held
    TGear Gear = TGear::Fifth;
    std::optional<double> Gradient; // absent: the truck's gradient
    std::optional<double> Load;     // lb; absent: the truck's load

    bool operator==(const TDutySegment &) const = default;
};

// Everything a truck file holds: the window's inputs, the gear, the bearing's
// load rating, the display units and a duty list. A default-constructed truck
// is the window's start-up state.
struct TTruck {
    TDriveInputs Inputs;
    TGear Gear = TGear::Fifth;
    double LoadRating = DefaultLoadRating; // lbf
    bool SpeedInMph = true;                // false: km/h
    bool LifeInMiles = true;               // false: thousands of km
    std::vector<TDutySegment> Duty;
};
