#include "model/StartUp.h"

void BringToStartUpState(TDriveModel &m, const TDriveInputs &in)
{
    // Build the state aside so that a bad index leaves `m` as it was.
    TDriveModel s(m.Owner());
    s.SelectFinalDrive(in.FinalDriveIndex);
    s.SelectTyreSize(in.TyreSizeIndex);
    s.SelectEngine(in.EngineIndex);
    s.SelectKerbWeight(in.KerbWeightIndex);
    s.FrontalArea = in.FrontalArea;
    s.DragCoef = in.DragCoef;
    s.RollingResistance = static_cast<double>(in.RollingResistance);
    s.RecalcFlag = true;
    s.PitchCircleRadius = in.PitchCircleRadius;
    s.PressureAngle = in.PressureAngle;
    s.HelixAngle = in.HelixAngle;
    s.Overhang = in.Overhang;
    s.LoadFactor = in.LoadFactor;
    s.TransmissionLoss = in.TransmissionLoss;
    s.EngineRpm = 10;
    s.OverdriveRatio = in.OverdriveRatio;
    s.Gear = TGear::Fifth;
    s.Load = in.Load;
    s.Gradient = in.Gradient;
    m = s;
}
