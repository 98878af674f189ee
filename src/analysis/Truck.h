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

// Everything a truck file holds: the window's inputs (with the selected row of
// each table, never a row found back from its value: final-drive rows 3 and 4
// share a ratio), the gear, the bearing's load rating, the display units and a
// duty list. A default-constructed truck is the window's start-up state.
struct TTruck {
    TDriveInputs Inputs;
    TGear Gear = TGear::Fifth;
    double LoadRating = DefaultLoadRating; // lbf
    bool SpeedInMph = true;                // false: km/h
    bool LifeInMiles = true;               // false: thousands of km
    std::vector<TDutySegment> Duty;

    bool operator==(const TTruck &) const = default;
};

// Equal in everything but the duty list.
inline bool SameInputs(const TTruck &a, const TTruck &b)
{
    return a.Inputs == b.Inputs && a.Gear == b.Gear && a.LoadRating == b.LoadRating &&
           a.SpeedInMph == b.SpeedInMph && a.LifeInMiles == b.LifeInMiles;
}
