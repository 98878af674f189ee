#include "analysis/DutyCycle.h"

#include <cmath>
#include <cstdio>

namespace
{

constexpr double ShareTolerance = 0.01; // percentage points either side of 100

// Ten significant digits: a sum of shares such as 99.97999999999999 reads as 99.98.
std::string Number(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.10g", v);
    return buf;
}

} // namespace

std::string CheckDutyShares(const std::vector<TDutySegment> &duty)
{
    if (duty.empty())
        return "the duty list is empty";
    double sum = 0;
    for (std::size_t i = 0; i < duty.size(); ++i) {
        const double s = duty[i].SharePct;
        if (!(s > 0) || !std::isfinite(s))
            return "segment " + std::to_string(i + 1) + " has a share of " + Number(s) +
                   " %; every share must be above 0";
        sum += s;
    }
    if (!(std::fabs(sum - 100) <= ShareTolerance))
        return "the shares add up to " + Number(sum) + " %, not 100 %";
    return {};
}

TCombinedLife CombineLives(std::span<const double> sharesPct,
                           std::span<const std::optional<double>> livesKm)
{
    const std::size_t n = sharesPct.size();
    TCombinedLife c;
    c.DamagePct.assign(n, std::nullopt);
    // Damage per unit of distance: the share of the distance over the life.
    double total = 0;
    double zeroLifeShare = 0;
    bool anyLife = false;
    for (std::size_t i = 0; i < n && i < livesKm.size(); ++i) {
        if (!livesKm[i])
            continue;
        anyLife = true;
        if (*livesKm[i] == 0)
            zeroLifeShare += sharesPct[i];
        else
            total += sharesPct[i] / 100 / *livesKm[i];
    }
    if (!anyLife)
        return c;

    if (zeroLifeShare > 0) {
        // Infinite damage in the zero-life segments: they take all of it.
        c.LifeKm = 0;
        for (std::size_t i = 0; i < n && i < livesKm.size(); ++i)
            if (livesKm[i])
                c.DamagePct[i] = *livesKm[i] == 0 ? sharesPct[i] / zeroLifeShare * 100 : 0.0;
        return c;
    }
    if (total > 0 && std::isfinite(total)) {
        c.LifeKm = 1 / total;
        for (std::size_t i = 0; i < n && i < livesKm.size(); ++i)
            if (livesKm[i])
                c.DamagePct[i] = sharesPct[i] / 100 / *livesKm[i] / total * 100;
    }
    return c;
}

TDutyResult DutyLife(const TTruck &truck, const std::vector<TDutySegment> &duty)
{
    TDutyResult r;
    r.Points.reserve(duty.size());
    std::vector<double> shares;
    std::vector<std::optional<double>> lives;
    for (std::size_t i = 0; i < duty.size(); ++i) {
        r.ShareSum += duty[i].SharePct;
        r.Points.push_back(SteadyState(truck, duty[i]));
        const TOperatingPoint &p = r.Points.back();
        if (LeavesLifeUnrated(p.Cause))
            r.Unrated.push_back(i);
        shares.push_back(duty[i].SharePct);
        lives.push_back(p.Cause == TLifeCause::Rated ? p.LifeKm : std::nullopt);
    }
    if (!r.Unrated.empty()) {
        // A segment that wears the bearing by an unknown amount: no total to give.
        r.DamagePct.assign(duty.size(), std::nullopt);
        return r;
    }
    TCombinedLife combined = CombineLives(shares, lives);
    r.LifeKm = combined.LifeKm;
    r.DamagePct = std::move(combined.DamagePct);
    return r;
}
