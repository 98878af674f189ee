#include "ui/lifemap/SpeedShares.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace
{

constexpr double WidestBarMph = 0.8 * 5;
constexpr double HighestBarFraction = 0.4;

} // namespace

std::vector<TSpeedShare> DistanceBySpeed(const std::vector<TDutySegment> &duty)
{
    std::map<double, double> bySpeed;
    double total = 0;
    for (const TDutySegment &s : duty) {
        if (!(std::isfinite(s.SharePct) && s.SharePct > 0) ||
            !(std::isfinite(s.SpeedMph) && s.SpeedMph > 0))
            continue;
        bySpeed[s.SpeedMph] += s.SharePct;
        total += s.SharePct;
    }
    std::vector<TSpeedShare> shares;
    if (!(total > 0) || !std::isfinite(total))
        return shares;
    shares.reserve(bySpeed.size());
    for (const auto &[speed, share] : bySpeed)
        shares.push_back({speed, share / total * 100});
    return shares;
}

double BarWidthMph(const std::vector<TSpeedShare> &shares)
{
    double width = WidestBarMph;
    for (std::size_t i = 1; i < shares.size(); ++i)
        width = std::min(width, 0.8 * (shares[i].SpeedMph - shares[i - 1].SpeedMph));
    return width;
}

double ShareAxisTop(const std::vector<TSpeedShare> &shares)
{
    double highest = 0;
    for (const TSpeedShare &s : shares)
        highest = std::max(highest, s.SharePct);
    const double wanted = highest / HighestBarFraction;
    for (double top : {5.0, 10.0, 20.0, 25.0, 50.0})
        if (wanted <= top)
            return top;
    return 100;
}
