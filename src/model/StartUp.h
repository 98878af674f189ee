#pragma once

#include "model/DriveModel.h"

#include <cstdint>

// The values the window's inputs hold when the model is brought into its
// start-up state; the defaults are the window's layout values.
struct TDriveInputs {
    int FinalDriveIndex = 0;
    int TyreSizeIndex = 0;
    int EngineIndex = 0;
    int KerbWeightIndex = 0;
    double FrontalArea = 22.5;
    double DragCoef = 0.65;
    std::int64_t RollingResistance = 45; // a whole number of lbf
    double PitchCircleRadius = 1.11;
    double PressureAngle = 20;
    double HelixAngle = 15;
    double Overhang = 1.15;
    double LoadFactor = 1.2;
    double TransmissionLoss = 0.17;
    double OverdriveRatio = 0.813;
    double Load = 50;
    double Gradient = 0;

    bool operator==(const TDriveInputs &) const = default;
};

// Brings `m` into the start-up state: the four selections, the inputs, engine
// speed 10 rpm, fifth gear, the recalc flag set, everything else 0 or false.
// No refresh runs. Throws EIBError (before anything else changes) when an
// index is outside its table.
void BringToStartUpState(TDriveModel &m, const TDriveInputs &inputs = {});
