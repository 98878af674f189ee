#include "analysis/OperatingPoint.h"

#include "model/DisplayValues.h"

#include <cmath>
#include <limits>

namespace
{

using Shown::NonNegative;

// The engine speed whose road speed is exactly `v`. RpmToSpeed is a chain of
// correctly rounded multiplications and divisions, so it never decreases with
// its argument; a few steps of one ulp from the quotient find the exact
// preimage where there is one, and the closest speed where there is none.
double RpmFor(const TDriveModel &m, double v)
{
    double r = v / m.RpmToSpeed(1);
    if (!std::isfinite(r))
        return std::numeric_limits<double>::quiet_NaN();
    // Several engine speeds can give the same road speed; a whole one reads
    // better and keeps a sweep's top speed at the rev limit, not an ulp above.
    if (const double whole = std::round(r); m.RpmToSpeed(whole) == v)
        return whole;
    double best = r;
    double bestMiss = std::fabs(m.RpmToSpeed(r) - v);
    for (int i = 0; i < 64 && bestMiss != 0; ++i) {
        const double s = m.RpmToSpeed(r);
        r = std::nextafter(r, s < v ? std::numeric_limits<double>::infinity() : 0.0);
        const double miss = std::fabs(m.RpmToSpeed(r) - v);
        if (miss < bestMiss) {
            best = r;
            bestMiss = miss;
        }
    }
    return best;
}

TOperatingPoint Evaluate(const TTruck &truck, TDriveModel &m, double speedMph)
{
    TOperatingPoint p;
    p.Gear = m.Gear;
    p.SpeedMph = speedMph;
    m.EngineRpm = RpmFor(m, speedMph);
    p.EngineRpm = m.EngineRpm;
    m.RoadSpeed = speedMph;
    m.Power = m.PowerAt(m.EngineRpm);
    m.Torque = m.TorqueAt(m.EngineRpm);
    m.Resistance = m.RoadLoad(speedMph) + m.GradientResistance(m.Gradient);
    m.ForceAvailable = m.ForceAvailableAt(m.EngineRpm);
    p.Resistance = Shown::Finite(m.Resistance);
    // Above the rev limit the force is -2: no value, and the speed cannot be held.
    p.ForceAvailable = NonNegative(m.ForceAvailable);
    p.Holds = p.ForceAvailable && p.Resistance && *p.ForceAvailable >= *p.Resistance;
    p.InputTorque = NonNegative(m.InputTorqueDemand());

    if (m.Gear != TGear::Fifth)
        return p; // direct drive: no mesh load on the input gear
    m.RadialLoad = m.RadialLoadFor(m.InputTorqueDemand());
    m.ComputeBearingLife(truck.LoadRating);
    p.RadialLoad = NonNegative(m.RadialLoad);
    if (p.RadialLoad) {
        p.COverP = NonNegative(m.COverP);
        if (p.COverP)
            p.LifeKm = NonNegative(m.LifeKm);
    }
    return p;
}

} // namespace

TDriveModel ModelOf(const TTruck &truck)
{
    TDriveModel m;
    BringToStartUpState(m, truck.Inputs);
    m.Gear = truck.Gear;
    return m;
}

TOperatingPoint SteadyState(const TTruck &truck, TGear gear, double speedMph)
{
    TDriveModel m = ModelOf(truck);
    m.Gear = gear;
    return Evaluate(truck, m, speedMph);
}

TOperatingPoint SteadyState(const TTruck &truck, const TDutySegment &segment)
{
    TDriveModel m = ModelOf(truck);
    m.Gear = segment.Gear;
    if (segment.Gradient)
        m.Gradient = *segment.Gradient;
    if (segment.Load)
        m.Load = *segment.Load;
    return Evaluate(truck, m, segment.SpeedMph);
}

std::vector<TOperatingPoint> SpeedSweep(const TTruck &truck, TGear gear, int count)
{
    std::vector<TOperatingPoint> points;
    if (count < 2)
        return points;
    TDriveModel m = ModelOf(truck);
    m.Gear = gear;
    const double lo = m.RpmToSpeed(TDriveModel::RpmStep);
    const double hi = m.RpmToSpeed(m.Engine.MaxPowerRpm);
    points.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        // The last point is the top speed itself, not lo plus a rounded span.
        const double v = i == count - 1 ? hi : lo + (hi - lo) * i / (count - 1);
        points.push_back(Evaluate(truck, m, v));
    }
    return points;
}
