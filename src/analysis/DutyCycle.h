#pragma once

#include "analysis/OperatingPoint.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

// Combined bearing life over a duty list, Palmgren-Miner over distance.
struct TDutyResult {
    std::vector<TOperatingPoint> Points;          // one per segment, in order; Cause says why
                                                  // a segment has no life
    std::vector<std::optional<double>> DamagePct; // per segment; absent without a life
    // Combined L10; absent when no segment has a life, or when a fifth-gear
    // segment's life cannot be rated (those segments are listed in Unrated).
    std::optional<double> LifeKm;
    std::vector<std::size_t> Unrated; // indices into Points, in order
    double ShareSum = 0;
};

// Palmgren-Miner over distance: each segment's damage is its share of the
// distance over its life. `livesKm[i]` absent: distance without damage; every
// present life is finite and >= 0. A life of 0 fails at once: the combined
// life is 0 and the damage is shared, by distance, among the zero-life
// segments, the others taking 0 %. No life at all: no combined life.
struct TCombinedLife {
    std::optional<double> LifeKm;
    std::vector<std::optional<double>> DamagePct; // absent where the life is
};
TCombinedLife CombineLives(std::span<const double> sharesPct,
                           std::span<const std::optional<double>> livesKm);

// Empty when the shares are all > 0 and add up to 100 (+- 0.01); otherwise the
// problem in one line, naming the sum.
std::string CheckDutyShares(const std::vector<TDutySegment> &duty);

// Computes every segment (also those that cannot hold their speed) and the
// combined life. The shares are not checked here.
// Fourth-gear and coasting segments add distance but no damage. A fifth-gear
// segment whose life cannot be rated leaves the combined life and every
// damage share absent. A segment with a life of 0 makes the combined life 0
// and takes the damage, shared by distance with any other such segment.
TDutyResult DutyLife(const TTruck &truck, const std::vector<TDutySegment> &duty);
