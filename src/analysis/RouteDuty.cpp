#include "analysis/RouteDuty.h"

#include "analysis/DutyCycle.h"
#include "analysis/OperatingPoint.h"
#include "analysis/Reliability.h"

#include <cmath>
#include <map>
#include <utility>

namespace
{

constexpr double MaxBinMph = 100;
constexpr double MaxBinGradient = 0.5;
constexpr double HalfTolerance = 1e-6; // of a bin

// A bin is its index of whole bins; the gradient's is absent where the
// piece had no elevation.
using TBinKey = std::pair<long long, std::optional<long long>>;

long long BinIndex(double v, double bin)
{
    const double q = v / bin;
    const double whole = std::trunc(q);
    if (std::fabs(std::fabs(q - whole) - 0.5) <= HalfTolerance)
        return static_cast<long long>(whole + std::copysign(1.0, q));
    return static_cast<long long>(std::round(q));
}

long long Clamp(long long v, long long lo, long long hi)
{
    return v < lo ? lo : v > hi ? hi : v;
}

} // namespace

double RoundToBin(double v, double bin)
{
    return static_cast<double>(BinIndex(v, bin)) * bin;
}

TGear RouteGear(const TTruck &truck, double speedMph, std::optional<double> gradient)
{
    const TDutySegment fifth{100, speedMph, TGear::Fifth, gradient, std::nullopt};
    return SteadyState(truck, fifth).Holds ? TGear::Fifth : TGear::Fourth;
}

std::vector<TDutySegment> RouteSegments(const TTruck &truck, const std::vector<TRouteSlice> &slices,
                                        const TRouteParams &params)
{
    RequireRouteParams(params);
    const long long topSpeed = std::llround(MaxBinMph / params.SpeedBinMph);
    const long long topGradient = std::llround(MaxBinGradient / params.GradientBin);
    std::map<TBinKey, double> distance; // ordered: by speed, then gradient, absent first
    double moving = 0;
    for (const TRouteSlice &s : slices) {
        if (s.Standing())
            continue;
        const double mph = s.SpeedMph();
        // An infinite speed cannot come from a kept track; keep it in the top bin anyway.
        const long long speed =
            std::isfinite(mph) ? Clamp(BinIndex(mph, params.SpeedBinMph), 1, topSpeed) : topSpeed;
        std::optional<long long> gradient;
        if (const std::optional<double> g = s.Gradient(); g && std::isfinite(*g))
            gradient = Clamp(BinIndex(*g, params.GradientBin), -topGradient, topGradient);
        else if (g)
            gradient = *g > 0 ? topGradient : -topGradient;
        distance[{speed, gradient}] += s.LengthM;
        moving += s.LengthM;
    }

    std::vector<TDutySegment> duty;
    duty.reserve(distance.size());
    for (const auto &[key, metres] : distance) {
        TDutySegment seg;
        seg.SharePct = metres / moving * 100;
        seg.SpeedMph = static_cast<double>(key.first) * params.SpeedBinMph;
        if (key.second)
            seg.Gradient = static_cast<double>(*key.second) * params.GradientBin;
        seg.Gear = RouteGear(truck, seg.SpeedMph, seg.Gradient);
        duty.push_back(seg);
    }
    return duty;
}

TRoute RouteFromTrack(const TTruck &truck, const TGpxTrack &track, const TRouteParams &params)
{
    const TKeptTrack kept = KeepPoints(track);
    const std::vector<TRouteSlice> slices = SliceTrack(kept, params);

    TRoute route;
    TRouteSummary &sum = route.Summary;
    sum.PointsRead = track.PointsRead;
    sum.DroppedNoTime = track.DroppedNoTime;
    sum.DroppedTimeNotIncreasing = kept.DroppedTimeNotIncreasing;
    sum.DroppedJump = kept.DroppedJump;
    sum.Pieces = kept.Pieces.size();
    for (const TRoutePiece &p : kept.Pieces) {
        sum.DistanceM += p.LengthM();
        if (!p.HasElevation())
            ++sum.PiecesWithoutElevation;
    }
    sum.Slices = slices.size();
    for (const TRouteSlice &s : slices) {
        if (s.RiseM && *s.RiseM > 0)
            sum.ClimbM += *s.RiseM;
        if (s.Standing()) {
            ++sum.StandingSlices;
            continue;
        }
        sum.MovingDistanceM += s.LengthM;
        sum.MovingTimeS += s.TimeS;
    }

    route.Duty = RouteSegments(truck, slices, params);
    if (!route.Duty.empty()) {
        sum.LifeKm = DutyLife(truck, route.Duty).LifeKm;
        // The standing slices wear nothing: a trip's damage is its moving distance's.
        if (sum.LifeKm)
            sum.Trips = *sum.LifeKm / (sum.MovingDistanceM / 1000);
    }
    return route;
}

std::variant<TRoute, TGpxError> ImportRoute(const std::string &path, const TTruck &truck,
                                            const TRouteParams &params, const TGpxLimits &limits,
                                            const TGpxProgress &progress)
{
    std::variant<TGpxTrack, TGpxError> read = ReadGpxFile(path, limits, progress);
    if (auto *error = std::get_if<TGpxError>(&read))
        return std::move(*error);
    TRoute route = RouteFromTrack(truck, std::get<TGpxTrack>(read), params);
    if (route.Duty.empty())
        return TGpxError{TGpxProblem::NoMovement, path, 0,
                         "the track never moves: no slice is at 5 mph or faster"};
    return route;
}

std::optional<double> TripsAt(const TRouteSummary &summary, double reliabilityPct)
{
    if (!summary.Trips || !IsReliabilityInRange(reliabilityPct))
        return std::nullopt;
    return *summary.Trips * ReliabilityFactor(reliabilityPct);
}
