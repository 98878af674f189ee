#pragma once

#include "analysis/OperatingPoint.h"

#include <optional>
#include <string>
#include <vector>

// Combined bearing life over a duty list, Palmgren-Miner over distance.
struct TDutyResult {
    std::vector<TOperatingPoint> Points;         // one per segment, in order
    std::vector<std::optional<double>> DamagePct; // per segment; absent without a life
    std::optional<double> LifeKm;                 // combined L10; absent when no segment has a life
    double ShareSum = 0;
};

// Empty when the shares are all > 0 and add up to 100 (+- 0.01); otherwise the
// problem in one line, naming the sum.
std::string CheckDutyShares(const std::vector<TDutySegment> &duty);

// Computes every segment (also those that cannot hold their speed) and the
// combined life. The shares are not checked here.
// Fourth-gear segments, and fifth-gear ones without a defined life, add
// distance but no damage. A segment with a life of 0 makes the combined life 0
// and takes the damage, shared by distance with any other such segment.
TDutyResult DutyLife(const TTruck &truck, const std::vector<TDutySegment> &duty);
