#include "analysis/OperatingPoint.h"

#include "model/DisplayValues.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace
{

using Shown::NonNegative;

// A road speed is given by an engine speed when the chain of roundings in
// RpmToSpeed brings it back to within a few ulps of the speed.
constexpr double GivesSpeedTolerance = 1e-12; // relative

// The engine speed whose road speed is exactly `v`. RpmToSpeed is a chain of
// correctly rounded multiplications and divisions, so it never decreases with
// its argument; a few steps of one ulp from the quotient find the exact
// preimage where there is one, and the closest speed where there is none.
// Absent when no finite engine speed comes back to `v` (a gear factor of 0
// makes every speed NaN; one of 1e308 needs an infinite engine speed).
std::optional<double> RpmFor(const TDriveModel &m, double v)
{
    double r = v / m.RpmToSpeed(1);
    if (!std::isfinite(r))
        return std::nullopt;
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
    // NaN misses compare false: the test is written to refuse them.
    if (!(bestMiss <= GivesSpeedTolerance * std::fabs(v)))
        return std::nullopt;
    return best;
}

// Why a point computed this far has no life, or Rated.
TLifeCause CauseOf(const TOperatingPoint &p)
{
    if (p.Resistance && *p.Resistance <= 0)
        return TLifeCause::Coasting;
    if (p.Gear == TGear::Fourth)
        return TLifeCause::FourthGear;
    if (!p.Resistance)
        return TLifeCause::UndefinedResistance;
    if (!p.EngineRpm)
        return TLifeCause::NoEngineSpeed;
    if (!p.RadialLoad)
        return TLifeCause::UndefinedBearingLoad;
    if (!p.COverP || !p.LifeKm)
        return TLifeCause::UndefinedLife;
    return TLifeCause::Rated;
}

TOperatingPoint Evaluate(const TTruck &truck, TDriveModel &m, double speedMph)
{
    TOperatingPoint p;
    p.Gear = m.Gear;
    p.SpeedMph = speedMph;
    m.RoadSpeed = speedMph;
    m.Resistance = m.RoadLoad(speedMph) + m.GradientResistance(m.Gradient);
    p.Resistance = Shown::Finite(m.Resistance);
    p.EngineRpm = RpmFor(m, speedMph);
    if (!p.EngineRpm) {
        // The drivetrain cannot turn at this road speed: nothing follows from it.
        p.Cause = CauseOf(p);
        return p;
    }
    m.EngineRpm = *p.EngineRpm;
    m.Power = m.PowerAt(m.EngineRpm);
    m.Torque = m.TorqueAt(m.EngineRpm);
    m.ForceAvailable = m.ForceAvailableAt(m.EngineRpm);
    // Above the rev limit the force is -2: no value, and the speed cannot be held.
    p.ForceAvailable = NonNegative(m.ForceAvailable);
    p.Holds = HoldsSpeed(p.ForceAvailable, p.Resistance);
    p.InputTorque = NonNegative(m.InputTorqueDemand());

    if (m.Gear == TGear::Fifth) {
        // Direct drive puts no mesh load on the input gear: only fifth has these.
        m.RadialLoad = m.RadialLoadFor(m.InputTorqueDemand());
        m.ComputeBearingLife(truck.LoadRating);
        p.RadialLoad = NonNegative(m.RadialLoad);
        if (p.RadialLoad) {
            p.COverP = NonNegative(m.COverP);
            if (p.COverP)
                p.LifeKm = NonNegative(m.LifeKm);
        }
    }
    p.Cause = CauseOf(p);
    if (p.Cause == TLifeCause::Coasting) {
        // The engine drives nothing: no drive load reaches the input gear.
        p.InputTorque.reset();
        p.RadialLoad.reset();
        p.COverP.reset();
        p.LifeKm.reset();
    }
    return p;
}

std::string SpeedText(double v)
{
    if (v == 0)
        return "0"; // never "-0"
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc() ? std::string(buf, end) : std::string("?");
}

} // namespace

bool HoldsSpeed(const std::optional<double> &force, const std::optional<double> &resistance)
{
    return force && resistance && *force >= *resistance;
}

bool AddsNoDamage(TLifeCause cause)
{
    return cause == TLifeCause::FourthGear || cause == TLifeCause::Coasting;
}

bool LeavesLifeUnrated(TLifeCause cause)
{
    return cause != TLifeCause::Rated && !AddsNoDamage(cause);
}

std::string LifeCauseText(const TOperatingPoint &p)
{
    switch (p.Cause) {
    case TLifeCause::Rated:
        return {};
    case TLifeCause::FourthGear:
        return "fourth gear: direct drive puts no load on the input gear";
    case TLifeCause::Coasting:
        return "coasting: the resistance is at or below 0, the engine drives nothing";
    case TLifeCause::UndefinedResistance:
        return "the resistance is undefined";
    case TLifeCause::NoEngineSpeed:
        return "no engine speed gives " + SpeedText(p.SpeedMph) + " mph in " +
               (p.Gear == TGear::Fourth ? "fourth" : "fifth");
    case TLifeCause::UndefinedBearingLoad:
        return "the bearing load is undefined";
    case TLifeCause::UndefinedLife:
        if (p.RadialLoad == 0.0)
            return "the bearing carries no load, so its life has no bound";
        return "the bearing life is not a finite number";
    }
    return {};
}

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
