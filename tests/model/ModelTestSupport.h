#pragma once

#include "model/DriveModel.h"
#include "model/StartUp.h"

#include <string>
#include <tuple>
#include <vector>

// An owner that records every call the model makes, in order.
class TRecordingOwner : public IDriveModelOwner
{
  public:
    std::vector<std::string> Calls;
    double Rating = DefaultLoadRating;

    void ShowSpeed() override { Calls.push_back("Speed"); }
    void ShowPower() override { Calls.push_back("Power"); }
    void ShowTorque() override { Calls.push_back("Torque"); }
    void ShowResistance() override { Calls.push_back("Resistance"); }
    void ShowForceAvailable() override { Calls.push_back("ForceAvailable"); }
    void ShowBearing() override { Calls.push_back("Bearing"); }
    void ShowRpm() override { Calls.push_back("Rpm"); }
    void ShowTorqueUnused() override { Calls.push_back("TorqueUnused"); }
    double LoadRating() override
    {
        Calls.push_back("LoadRating");
        return Rating;
    }
    void SwitchBoostOff() override { Calls.push_back("SwitchBoostOff"); }
};

inline TDriveModel StartedModel(IDriveModelOwner *owner = nullptr)
{
    TDriveModel m(owner);
    BringToStartUpState(m);
    return m;
}

// Every field, for "nothing changed" comparisons (NaN-free states only).
inline auto Fields(const TDriveModel &m)
{
    return std::make_tuple(m.Gear, m.OverdriveRatio, m.FinalDriveRatio, m.TyreDiameter, m.EngineRpm,
                           m.Power, m.Torque, m.Resistance, m.ForceAvailable, m.RoadSpeed, m.Engine,
                           m.FrontalArea, m.DragCoef, m.RollingResistance, m.TransmissionLoss,
                           m.PitchCircleRadius, m.PressureAngle, m.HelixAngle, m.Overhang,
                           m.LoadFactor, m.RadialLoad, m.LifeKm, m.TargetSpeed, m.RecalcFlag,
                           m.UnladenWeight, m.Load, m.Gradient, m.BoostFlag, m.COverP);
}
