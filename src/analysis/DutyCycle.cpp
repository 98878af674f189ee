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

TDutyResult DutyLife(const TTruck &truck, const std::vector<TDutySegment> &duty)
{
    TDutyResult r;
    r.Points.reserve(duty.size());
    r.DamagePct.assign(duty.size(), std::nullopt);

    // Damage per unit of distance: the share of the distance over the life.
    // A segment with a life of 0 fails at once; its damage is infinite and
    // the combined life is 0, shared among such segments by distance.
    std::vector<std::optional<double>> damage(duty.size());
    double total = 0;
    double zeroLifeShare = 0;
    bool anyLife = false;
    for (std::size_t i = 0; i < duty.size(); ++i) {
        r.ShareSum += duty[i].SharePct;
        r.Points.push_back(SteadyState(truck, duty[i]));
        const std::optional<double> &life = r.Points.back().LifeKm;
        if (!life)
            continue; // fourth gear or no defined life: distance without damage
        anyLife = true;
        if (*life == 0) {
            zeroLifeShare += duty[i].SharePct;
            damage[i] = 0;
            continue;
        }
        damage[i] = duty[i].SharePct / 100 / *life;
        total += *damage[i];
    }
    if (!anyLife)
        return r;

    if (zeroLifeShare > 0) {
        r.LifeKm = 0;
        for (std::size_t i = 0; i < duty.size(); ++i)
            if (damage[i])
                r.DamagePct[i] =
                    r.Points[i].LifeKm == 0.0 ? duty[i].SharePct / zeroLifeShare * 100 : 0.0;
        return r;
    }
    if (total > 0 && std::isfinite(total)) {
        r.LifeKm = 1 / total;
        for (std::size_t i = 0; i < duty.size(); ++i)
            if (damage[i])
                r.DamagePct[i] = *damage[i] / total * 100;
    }
    return r;
}
