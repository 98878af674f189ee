#include "model/DisplayValues.h"
#include "model/ModelMath.h"

#include <algorithm>
#include <cmath>

using ModelMath::MilesPerKm;

namespace Shown
{

std::optional<double> Finite(double v)
{
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

// Negative power, torque and force mean "no value" (above the rev limit).
std::optional<double> NonNegative(double v)
{
    if (!(v >= 0))
        return std::nullopt;
    return Finite(v);
}

} // namespace Shown

namespace
{

using Shown::Finite;
using Shown::NonNegative;

// The bearing values are magnitudes: a negative P (a gradient whose sine is
// negative pulls the truck) has no C/P or life, so all three are absent.
std::optional<double> InFifth(const TDriveModel &m, double v)
{
    if (m.Gear != TGear::Fifth)
        return std::nullopt;
    return NonNegative(v);
}

} // namespace

namespace Shown
{

std::optional<double> SpeedMph(const TDriveModel &m)
{
    return Finite(m.RoadSpeed);
}

std::optional<double> SpeedKmh(const TDriveModel &m)
{
    return Finite(m.RoadSpeed / MilesPerKm);
}

bool SpeedHeld(const TDriveModel &m)
{
    return m.ForceHolds(); // false when either is NaN
}

std::optional<double> Power(const TDriveModel &m)
{
    return NonNegative(m.Power);
}

std::optional<double> Torque(const TDriveModel &m)
{
    return NonNegative(m.Torque);
}

std::optional<double> Resistance(const TDriveModel &m)
{
    return Finite(m.Resistance);
}

std::optional<double> ForceAvailable(const TDriveModel &m)
{
    return NonNegative(m.ForceAvailable);
}

std::optional<double> RadialLoad(const TDriveModel &m)
{
    return InFifth(m, m.RadialLoad);
}

std::optional<double> COverP(const TDriveModel &m)
{
    return InFifth(m, m.COverP);
}

std::optional<double> LifeKm(const TDriveModel &m)
{
    return InFifth(m, m.LifeKm);
}

std::optional<double> LastLifeThousands(const TDriveModel &m, bool miles)
{
    // Whole kilometres first, then thousands, then miles.
    if (!(m.LifeKm >= 0))
        return std::nullopt;
    const std::optional<std::int64_t> km = ModelMath::Round(m.LifeKm);
    if (!km)
        return std::nullopt;
    const double thousands = static_cast<double>(*km) / 1000;
    return miles ? thousands * MilesPerKm : thousands;
}

std::optional<double> LifeThousandKm(const TDriveModel &m)
{
    if (m.Gear != TGear::Fifth)
        return std::nullopt;
    return LastLifeThousands(m, false);
}

std::optional<double> LifeThousandMiles(const TDriveModel &m)
{
    if (m.Gear != TGear::Fifth)
        return std::nullopt;
    return LastLifeThousands(m, true);
}

std::int64_t Rpm(const TDriveModel &m)
{
    // The engine speed only moves in steps of 10 from a whole start value, but
    // a field set from outside could hold anything.
    return ModelMath::Round(m.EngineRpm).value_or(0);
}

int TorqueUnusedPercent(const TDriveModel &m)
{
    if (!(m.ForceAvailable > 0))
        return 0;
    const double share = (m.ForceAvailable - m.Resistance) / m.ForceAvailable * 100;
    if (std::isnan(share))
        return 0;
    // Clamping first keeps the rounding in range; it cannot change the result.
    return static_cast<int>(ModelMath::Round(std::clamp(share, 0.0, 100.0)).value_or(0));
}

} // namespace Shown
