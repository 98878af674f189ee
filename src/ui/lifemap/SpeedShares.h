#pragma once

#include "analysis/Truck.h"

#include <vector>

// Where a duty list's distance lies by road speed, for the bars under the life
// curve. Plain arithmetic, no window.

struct TSpeedShare {
    double SpeedMph = 0;
    double SharePct = 0; // of the list's distance

    bool operator==(const TSpeedShare &) const = default;
};

// One entry per distinct speed in ascending order, gears and gradients taken
// together; the shares are scaled to add up to 100 so a list whose shares are
// still being typed shows its proportions. Segments without a positive finite
// share or speed cover no distance and are left out.
std::vector<TSpeedShare> DistanceBySpeed(const std::vector<TDutySegment> &duty);

// A bar's width in mph: 0.8 of the smallest gap between neighbouring speeds,
// and never wider than 0.8 of 5 mph, the route's speed bins.
double BarWidthMph(const std::vector<TSpeedShare> &shares);

// The top of the share axis in %: a round value that leaves the highest bar at
// most 40 % of the plot's height, or 100.
double ShareAxisTop(const std::vector<TSpeedShare> &shares);
