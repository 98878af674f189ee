#include "ui/form/FormTruck.h"

#include "widgets/input/ESBPCSNumEdit.h"
#include "widgets/input/ESBPCSSpinEdit.h"
#include "ui/form/StdControls.h"
#include "ui/form/Form1.h"

#include <QCheckBox>
#include <QRadioButton>

#include <cmath>

namespace
{

// The row a table value was loaded from; 0 when none matches.
template <class Table, class Value> int rowOf(const Table &table, const Value &value)
{
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i] == value)
            return int(i);
    return 0;
}

} // namespace

TTruck TruckOfForm(TForm1 &form)
{
    using namespace VehicleTables;
    const TDriveModel &m = form.Model();
    TTruck t;
    // A list whose text was typed over has no selected entry; the model still
    // runs on the row it had, so that is the row of the truck.
    t.Inputs.EngineIndex = rowOf(Engines(), m.Engine);
    t.Inputs.FinalDriveIndex = rowOf(FinalDriveRatios(), m.FinalDriveRatio);
    t.Inputs.TyreSizeIndex = rowOf(TyreDiameters(), m.TyreDiameter);
    t.Inputs.KerbWeightIndex = rowOf(KerbWeights(), m.UnladenWeight);
    t.Inputs.FrontalArea = m.FrontalArea;
    t.Inputs.DragCoef = m.DragCoef;
    t.Inputs.RollingResistance = std::llround(m.RollingResistance);
    t.Inputs.PitchCircleRadius = m.PitchCircleRadius;
    t.Inputs.PressureAngle = m.PressureAngle;
    t.Inputs.HelixAngle = m.HelixAngle;
    t.Inputs.Overhang = m.Overhang;
    t.Inputs.LoadFactor = m.LoadFactor;
    t.Inputs.TransmissionLoss = m.TransmissionLoss;
    t.Inputs.OverdriveRatio = m.OverdriveRatio;
    t.Inputs.Load = m.Load;
    t.Inputs.Gradient = m.Gradient;
    t.Gear = m.Gear;
    t.LoadRating = form.LoadRating();
    t.SpeedInMph = form.CBMph->isChecked();
    t.LifeInMiles = form.CBMiles->isChecked();
    return t;
}

void ApplyTruckToForm(TForm1 &form, const TTruck &truck)
{
    const TDriveInputs &in = truck.Inputs;
    // Selecting from code reports nothing, so each handler is called, as at start-up.
    form.ComboFinalRatio->setItemIndex(in.FinalDriveIndex);
    form.ComboFinalRatioChange(&form);
    form.ComboTyreSize->setItemIndex(in.TyreSizeIndex);
    form.ComboTyreSizeChange(&form);
    form.ComboEngine->setItemIndex(in.EngineIndex);
    form.ComboEngineChange(&form);
    form.ComboKerbWeight->setItemIndex(in.KerbWeightIndex);
    form.ComboKerbWeightChange(&form);

    // An edit reports a change only when its value differs; the handler runs
    // either way, so the model holds exactly what the controls show.
    form.EditRollingResistance->setAsInt64(in.RollingResistance);
    form.EditFrontalArea->setAsFloat(in.FrontalArea);
    form.EditDragCoef->setAsFloat(in.DragCoef);
    form.EditRollingResistanceChange(form.EditRollingResistance);
    form.EditTransmissionLoss->setAsFloat(in.TransmissionLoss);
    form.EditTransmissionLossChange(form.EditTransmissionLoss);
    form.EditOverDriveRatio->setAsFloat(in.OverdriveRatio);
    form.EditOverDriveRatioChange(form.EditOverDriveRatio);
    form.EditPCR->setAsFloat(in.PitchCircleRadius);
    form.EditPressAngle->setAsFloat(in.PressureAngle);
    form.EditHelixAngle->setAsFloat(in.HelixAngle);
    form.EditOverhang->setAsFloat(in.Overhang);
    form.EditLoadFactor->setAsFloat(in.LoadFactor);
    form.EditGearInputChange(form.EditPCR);
    form.EditDynLoadRating->setAsFloat(truck.LoadRating);
    form.SELoad->setValue(in.Load);
    form.SELoadChange(form.SELoad);
    form.SEGradient->setValue(in.Gradient);
    form.SEGradientChange(form.SEGradient);

    if (truck.Gear == TGear::Fourth) {
        form.RBFourth->setChecked(true);
        form.RBFourthClick(form.RBFourth);
    } else {
        form.RBFifth->setChecked(true);
        form.RBFifthClick(form.RBFifth);
    }
    form.CBMph->setChecked(truck.SpeedInMph);
    form.CBMphClick(form.CBMph);
    form.CBMiles->setChecked(truck.LifeInMiles);
    form.CBMilesClick(form.CBMiles);

    // The overdrive ratio's handler leaves the flag alone; a new truck shows at once.
    form.Model().RecalcFlag = true;
}

bool SameInputs(const TTruck &a, const TTruck &b)
{
    const TDriveInputs &x = a.Inputs;
    const TDriveInputs &y = b.Inputs;
    return x.FinalDriveIndex == y.FinalDriveIndex && x.TyreSizeIndex == y.TyreSizeIndex &&
           x.EngineIndex == y.EngineIndex && x.KerbWeightIndex == y.KerbWeightIndex &&
           x.FrontalArea == y.FrontalArea && x.DragCoef == y.DragCoef &&
           x.RollingResistance == y.RollingResistance &&
           x.PitchCircleRadius == y.PitchCircleRadius && x.PressureAngle == y.PressureAngle &&
           x.HelixAngle == y.HelixAngle && x.Overhang == y.Overhang &&
           x.LoadFactor == y.LoadFactor && x.TransmissionLoss == y.TransmissionLoss &&
           x.OverdriveRatio == y.OverdriveRatio && x.Load == y.Load && x.Gradient == y.Gradient &&
           a.Gear == b.Gear && a.LoadRating == b.LoadRating && a.SpeedInMph == b.SpeedInMph &&
           a.LifeInMiles == b.LifeInMiles;
}
