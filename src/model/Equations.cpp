// The road-load, tractive-force and bearing equations, each evaluated left to
// right in the order its formula is written.
#include "model/DriveModel.h"
#include "model/ModelMath.h"

#include <cmath>
#include <limits>

// Inputs that zero a denominator rely on IEEE division giving an infinity or
// NaN, which the readouts then show as empty.
static_assert(std::numeric_limits<double>::is_iec559);

using ModelMath::MilesPerKm;
using ModelMath::Pi;

namespace
{

constexpr double KneeRpm = 600;        // the curves start here, the same for every engine
constexpr double IdleValue = 0.0001;   // power and torque at or below the knee
constexpr double OverLimit = -2;       // power, torque and force above the rev limit
constexpr double DragFactor = 0.00256; // lbf per (mph² · sq ft)

} // namespace

double TDriveModel::GearFactor() const
{
    return Gear == TGear::Fifth ? OverdriveRatio : 1.0;
}

double TDriveModel::RevsToDistance(double n) const
{
    return n * TyreDiameter * Pi / FinalDriveRatio / GearFactor();
}

double TDriveModel::RpmToSpeed(double rpm) const
{
    return RevsToDistance(rpm) * 60 / 1000 * MilesPerKm;
}

namespace {

// An engine curve: a tiny value up to the knee, a straight line from zero at
// the knee to atMaxTorque at MaxTorqueRpm, then a straight line to atMaxPower at
// MaxPowerRpm, and nothing (OverLimit) beyond. Each slope is rounded to a double
// before it multiplies.
double EngineCurve(const TEngineInfo &e, double r, double atMaxTorque, double atMaxPower)
{
    if (r > e.MaxPowerRpm)
        return OverLimit;
    if (r <= KneeRpm)
        return IdleValue;
    if (r < e.MaxTorqueRpm)
        return (r - KneeRpm) * (atMaxTorque / (e.MaxTorqueRpm - KneeRpm));
    const double slope = (atMaxPower - atMaxTorque) / (e.MaxPowerRpm - e.MaxTorqueRpm);
    return atMaxTorque + (r - e.MaxTorqueRpm) * slope;
}

} // namespace

double TDriveModel::PowerAt(double r) const
{
    return EngineCurve(Engine, r, Engine.PowerAtMaxTorque, Engine.MaxPower);
}

double TDriveModel::TorqueAt(double r) const
{
    return EngineCurve(Engine, r, Engine.MaxTorque, Engine.TorqueAtMaxPower);
}

double TDriveModel::RoadLoad(double v) const
{
    return v * v * (FrontalArea * DragCoef * DragFactor) + RollingResistance;
}

double TDriveModel::RoadLoadAt(double r) const
{
    return RoadLoad(RpmToSpeed(r));
}

double TDriveModel::GradientResistance(double x) const
{
    // The gradient goes to the sine as it is; for small rises sin(x) is x.
    return std::sin(x) * (UnladenWeight + Load);
}

double TDriveModel::WheelRadiusFeet() const
{
    return TyreDiameter * 1000 / 25.4 / 12 / 2;
}

double TDriveModel::ForceAvailableAt(double r) const
{
    const double t = TorqueAt(r);
    if (t < 0)
        return t;
    return t * GearFactor() * FinalDriveRatio * (1 - TransmissionLoss) / WheelRadiusFeet();
}

double TDriveModel::InputTorqueDemand() const
{
    // Torque at the wheels for Resistance, back through the axle, the gear and
    // the driveline efficiency. A loss of 1 divides by zero: the result is then
    // infinite or NaN and the bearing readouts show empty.
    return (TyreDiameter * 1000 / 25.4 / 12 * Resistance / 2) / FinalDriveRatio / GearFactor() /
           (1 - TransmissionLoss);
}

double TDriveModel::RadialLoadFor(double t) const
{
    // A helix angle of 90° (cosine zero) or a pressure angle of 90° (tangent
    // pole) has no radial load: NaN, shown empty.
    if (ModelMath::IsOddRightAngle(HelixAngle) || ModelMath::IsOddRightAngle(PressureAngle))
        return std::numeric_limits<double>::quiet_NaN();
    const double ft = t / (PitchCircleRadius / 12);
    const double fr = std::tan(PressureAngle * Pi / 180) * ft / std::cos(HelixAngle * Pi / 180);
    return fr * Overhang * LoadFactor;
}

void TDriveModel::ComputeBearingLife(double loadRating)
{
    // An undefined P (NaN or infinite) leaves C/P and the life undefined too,
    // rather than a plausible-looking 0 from C / infinity.
    if (!std::isfinite(RadialLoad)) {
        COverP = std::numeric_limits<double>::quiet_NaN();
        LifeKm = COverP;
        return;
    }
    const double q = loadRating / RadialLoad;
    COverP = q;
    const double revolutions = q * q * q * 1000000;
    LifeKm = RevsToDistance(revolutions) / 1000;
}
