#pragma once

#include "analysis/GpxReader.h"
#include "analysis/RouteSlices.h"
#include "analysis/Truck.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

// What a recorded route holds, beside its duty list.
struct TRouteSummary {
    double DistanceM = 0;       // between kept points, every piece
    double MovingDistanceM = 0; // in slices at StandingMph or faster
    double MovingTimeS = 0;
    double ClimbM = 0; // the smoothed elevation's rises, summed over the slices
    std::size_t Pieces = 0;
    std::size_t PiecesWithoutElevation = 0; // these use the truck's gradient
    std::int64_t PointsRead = 0;
    std::int64_t DroppedNoTime = 0;
    std::int64_t DroppedTimeNotIncreasing = 0;
    std::int64_t DroppedJump = 0;
    std::size_t Slices = 0;
    std::size_t StandingSlices = 0;
    std::optional<double> LifeKm; // the duty list's combined L10 life
    std::optional<double> Trips;  // of this route within LifeKm

    std::int64_t PointsDropped() const
    {
        return DroppedNoTime + DroppedTimeNotIncreasing + DroppedJump;
    }
};

struct TRoute {
    std::vector<TDutySegment> Duty;
    TRouteSummary Summary;
};

// `v` to the nearest multiple of `bin`, halves away from zero. A value within
// a millionth of a bin of the half-way mark counts as half-way, so 0.015 (which
// no double holds exactly) goes to 0.02 as written.
double RoundToBin(double v, double bin);

// Fifth where the truck holds `speedMph` at `gradient` (absent: its own) in
// fifth; else fourth, as a driver changes down rather than stall.
TGear RouteGear(const TTruck &truck, double speedMph, std::optional<double> gradient);

// One segment per (speed, gradient) bin of the moving slices, its share the
// bin's distance over the moving distance; ordered by speed, then gradient
// (the truck's own gradient first). Speeds bin from one bin to 100 mph,
// gradients from -0.5 to 0.5; values beyond go to the end bins.
std::vector<TDutySegment> RouteSegments(const TTruck &truck, const std::vector<TRouteSlice> &slices,
                                        const TRouteParams &params);

// Everything from a read track: points kept, slices, segments and summary,
// with the combined life and the trips it allows.
TRoute RouteFromTrack(const TTruck &truck, const TGpxTrack &track, const TRouteParams &params);

// Reads the file and builds the route. A track that never moves is refused
// (TGpxProblem::NoMovement): it has no duty list to give.
std::variant<TRoute, TGpxError> ImportRoute(const std::string &path, const TTruck &truck,
                                            const TRouteParams &params = {},
                                            const TGpxLimits &limits = {},
                                            const TGpxProgress &progress = {});

// The trips this route allows within the life at `reliabilityPct` (90: L10).
std::optional<double> TripsAt(const TRouteSummary &summary, double reliabilityPct);
