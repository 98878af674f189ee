#pragma once

#include "model/IDriveModelOwner.h"
#include "model/VehicleTables.h"

#include <cstdint>

enum class TGear : std::uint8_t {
    Fifth = 0, // overdrive engaged: the gear factor is OverdriveRatio
    Fourth = 1 // direct drive: the gear factor is exactly 1
};

// The load rating used when a model runs without an owner.
inline constexpr double DefaultLoadRating = 2081; // lbf

// The drivetrain: inputs, engine speed, derived quantities and the two flags.
// Units: rpm, mph, lbf, ft.lb, hp, lb, tyre diameter in metres, gear geometry
// in inches and degrees, life in km.
//
// The equations follow IEEE arithmetic, so inputs that make a denominator zero
// leave an infinity or NaN in the derived fields; the readouts go through
// Shown:: (DisplayValues.h), which reports such values as absent.
class TDriveModel
{
  public:
    explicit TDriveModel(IDriveModelOwner *owner = nullptr) : m_owner(owner) {}

    IDriveModelOwner *Owner() const { return m_owner; }
    void SetOwner(IDriveModelOwner *owner) { m_owner = owner; }

    // Table selections: load row `index` and set the recalc flag, or throw
    // EIBError and change nothing when the index is not a row of the table.
    void SelectEngine(int index);
    void SelectFinalDrive(int index);
    void SelectTyreSize(int index);
    void SelectKerbWeight(int index);

    // The equations, pure functions of the state and their argument.
    double GearFactor() const;
    double RevsToDistance(double n) const; // engine revolutions -> metres
    double RpmToSpeed(double rpm) const;   // -> mph
    double PowerAt(double r) const;        // hp, 0.0001 at or below 600 rpm, -2 above the limit
    double TorqueAt(double r) const;       // ft.lb, same special values
    double RoadLoad(double v) const;       // mph -> lbf
    double RoadLoadAt(double r) const;
    double GradientResistance(double x) const;
    double WheelRadiusFeet() const;
    double ForceAvailableAt(double r) const; // lbf, or -2 above the limit
    double InputTorqueDemand() const;        // ft.lb at the gearbox input for Resistance
    double RadialLoadFor(double t) const;    // bearing radial load P in lbf

    // The bearing step of a fifth-gear refresh: C/P and LifeKm from RadialLoad.
    void ComputeBearingLife(double loadRating);

    // Whether the force of the last refresh holds (>=) or exceeds (>) the
    // resistance. A force above the rev limit (negative) does neither.
    bool ForceHolds() const;
    bool ForceExceeds() const;

    // One tick: moves the engine speed by at most 10 rpm, then refreshes.
    void SimulationStep();
    // Recomputes every derived field and publishes through the owner.
    void Refresh();

    TGear Gear = TGear::Fifth;
    double OverdriveRatio = 0;
    double FinalDriveRatio = 0;
    double TyreDiameter = 0;
    double EngineRpm = 0;
    double Power = 0;
    double Torque = 0;
    double Resistance = 0;
    double ForceAvailable = 0;
    double RoadSpeed = 0;
    TEngineInfo Engine;
    double FrontalArea = 0;
    double DragCoef = 0;
    double RollingResistance = 0;
    double TransmissionLoss = 0;
    double PitchCircleRadius = 0;
    double PressureAngle = 0;
    double HelixAngle = 0;
    double Overhang = 0;
    double LoadFactor = 0;
    double RadialLoad = 0;
    double LifeKm = 0;
    double TargetSpeed = 0;
    bool RecalcFlag = false;
    double UnladenWeight = 0;
    double Load = 0;
    double Gradient = 0;
    bool BoostFlag = false;
    // C/P of the last fifth-gear bearing step (the displayed ratio).
    double COverP = 0;

    static constexpr double RpmStep = 10;
    static constexpr double BoostEndRpm = 1000;
    static constexpr double DeadBand = 1; // mph either side of the target

  private:
    IDriveModelOwner *m_owner = nullptr;
};
