#include "analysis/LifeCurve.h"

#include "model/ModelMath.h"

#include <algorithm>
#include <cmath>

namespace LifeMap
{

using ModelMath::MilesPerKm;

double SpeedShown(double mph, bool inMph)
{
    return inMph ? mph : mph / MilesPerKm;
}

double SpeedToMph(double shown, bool inMph)
{
    return inMph ? shown : shown * MilesPerKm;
}

double LifeShown(double lifeKm, bool inMiles)
{
    const double thousands = lifeKm / 1000;
    return inMiles ? thousands * MilesPerKm : thousands;
}

bool Placeable(double speed, double life)
{
    return std::isfinite(speed) && std::isfinite(life) && life > 0;
}

std::vector<TCurveRun> LifeRuns(const std::vector<TOperatingPoint> &points, bool inMph,
                                bool inMiles, double factor)
{
    std::vector<TCurveRun> runs;
    bool open = false;
    for (const TOperatingPoint &p : points) {
        // Judged in the shown units: a tiny life may vanish in thousands.
        const double speed = SpeedShown(p.SpeedMph, inMph);
        const double life = p.LifeKm ? LifeShown(*p.LifeKm, inMiles) * factor : 0.0;
        if (!Placeable(speed, life)) {
            open = false;
            continue;
        }
        if (!open || runs.back().Holds != p.Holds) {
            runs.push_back({p.Holds, {}});
            open = true;
        }
        runs.back().Points.push_back({speed, life, p.Holds});
    }
    return runs;
}

std::pair<double, double> DecadeRange(const std::vector<double> &values)
{
    double lo = 0;
    double hi = 0;
    for (double v : values) {
        if (!(v > 0) || !std::isfinite(v))
            continue;
        lo = lo == 0 ? v : std::min(lo, v);
        hi = std::max(hi, v);
    }
    if (lo == 0)
        return {1, 10};
    double a = std::pow(10.0, std::floor(std::log10(lo)));
    double b = std::pow(10.0, std::ceil(std::log10(hi)));
    if (b <= a)
        b = a * 10;
    return {a, b};
}

} // namespace LifeMap
