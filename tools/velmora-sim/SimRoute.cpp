#include "velmora-sim/SimRoute.h"

#include <cmath>
#include <cstdio>

namespace
{

std::string Format(const char *format, double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

std::string Count(std::int64_t n, const char *one, const char *many)
{
    return std::to_string(n) + ' ' + (n == 1 ? one : many);
}

// "28 min 12 s", "1 h 05 min" from an hour on.
std::string Duration(double seconds)
{
    const auto s = static_cast<long long>(std::llround(seconds));
    char buf[48];
    if (s >= 3600)
        std::snprintf(buf, sizeof buf, "%lld h %02lld min", s / 3600, s / 60 % 60);
    else
        std::snprintf(buf, sizeof buf, "%lld min %02lld s", s / 60, s % 60);
    return buf;
}

// Whole trips where there are many; three digits where there are few.
std::string Trips(double t)
{
    if (t >= 100 && t < 1e15)
        return Format("%.0f", t);
    return Format("%.3g", t);
}

} // namespace

std::string RouteSummaryLine(const std::string &file, const TRouteSummary &s,
                             std::optional<double> reliabilityPct)
{
    std::string line = "route " + file + ": " + Format("%.1f", s.DistanceM / 1000) +
                       " km, moving " + Format("%.1f", s.MovingDistanceM / 1000) + " km in " +
                       Duration(s.MovingTimeS) + ", climb " + Format("%.0f", s.ClimbM) + " m, " +
                       Count(static_cast<std::int64_t>(s.Pieces), "piece", "pieces");
    if (s.PiecesWithoutElevation > 0)
        line += " (" + std::to_string(s.PiecesWithoutElevation) +
                " without elevation, at the truck's gradient)";
    line += ", " + Count(s.PointsDropped(), "point dropped", "points dropped") + ", " +
            Count(static_cast<std::int64_t>(s.StandingSlices), "standing slice", "standing slices");
    if (!s.Trips)
        return line + "; no combined life, so no trips";
    line += "; the L10 life allows " + Trips(*s.Trips) + " trips";
    if (reliabilityPct)
        if (const std::optional<double> at = TripsAt(s, *reliabilityPct))
            line += ", " + Trips(*at) + " at " + Format("%g", *reliabilityPct) + " %";
    return line;
}
