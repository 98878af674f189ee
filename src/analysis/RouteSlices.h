#pragma once

#include "analysis/GpxReader.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The four numbers that turn a track into a duty list.
struct TRouteParams {
    double SliceM = 100;       // slice length along each piece
    double SmoothM = 100;      // elevation is averaged over this distance either side
    double SpeedBinMph = 5;    // speeds go to the nearest multiple of this
    double GradientBin = 0.01; // gradients go to the nearest multiple of this

    bool operator==(const TRouteParams &) const = default;
};

// Sensible ranges for the four numbers, each inclusive.
struct TRouteParamRange {
    const char *Name;
    double Min;
    double Max;
};
inline constexpr TRouteParamRange SliceRange{"slice length", 10, 10000};
inline constexpr TRouteParamRange SmoothRange{"smoothing distance", 0, 5000};
inline constexpr TRouteParamRange SpeedBinRange{"speed bin", 1, 20};
inline constexpr TRouteParamRange GradientBinRange{"gradient bin", 0.001, 0.1};
// Empty when all four are inside their ranges; otherwise the first problem.
std::string CheckRouteParams(const TRouteParams &params);
// Throws std::invalid_argument with that problem: the functions below take
// only checked numbers (a slice of 0 m would never end).
void RequireRouteParams(const TRouteParams &params);

inline constexpr double MaxTrackSpeedKmh = 200; // a faster step is a bad fix
inline constexpr double MinLastSliceM = 10;     // a shorter last slice is dropped
inline constexpr double StandingMph = 5;        // a slower slice is standing time

// A kept point: its distance from the first point of its piece along the track.
struct TRoutePoint {
    double DistM = 0;
    double Time = 0; // seconds, strictly increasing along a piece
    std::optional<double> Ele;
};

struct TRoutePiece {
    std::vector<TRoutePoint> Points;
    bool HasElevation() const;
    double LengthM() const { return Points.empty() ? 0 : Points.back().DistM; }
};

// The track with only the points that make sense: a point whose time does not
// increase, or that would need more than 200 km/h from the last kept point, is
// dropped and counted. Distances are WGS84 geodesics between kept points.
struct TKeptTrack {
    std::vector<TRoutePiece> Pieces;
    std::int64_t DroppedTimeNotIncreasing = 0;
    std::int64_t DroppedJump = 0;
};
TKeptTrack KeepPoints(const TGpxTrack &track);

// The mean of the piece's piecewise-linear elevation over [s - half, s + half]
// clipped to the piece, at each distance of `at`. Points without an elevation
// take one interpolated from their neighbours. Empty for a piece without any
// elevation.
std::vector<double> SmoothedElevations(const TRoutePiece &piece, const std::vector<double> &at,
                                       double halfM);

// A stretch of one piece; time spent standing counts in the slice where the
// truck stood.
struct TRouteSlice {
    std::size_t Piece = 0;
    double StartM = 0;
    double LengthM = 0;
    double TimeS = 0;            // > 0
    std::optional<double> RiseM; // of the smoothed elevation; absent without elevation
    double SpeedMph() const;
    std::optional<double> Gradient() const;
    bool Standing() const { return SpeedMph() < StandingMph; }
};

// Each piece cut into slices of params.SliceM from its start; a last slice
// under MinLastSliceM is dropped.
std::vector<TRouteSlice> SliceTrack(const TKeptTrack &track, const TRouteParams &params);
