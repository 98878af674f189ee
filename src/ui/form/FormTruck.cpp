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

// The row the model loaded `value` from: the list's selected row when that row
// holds the value (two rows may hold the same value), else the first row that
// does (the list's text was typed over and the model kept its row); 0 when none.
template <class Table, class Value>
int rowOf(const TComboBox &list, const Table &table, const Value &value)
{
    const int selected = list.ItemIndex();
    if (selected >= 0 && std::size_t(selected) < table.size() &&
        table[std::size_t(selected)] == value)
        return selected;
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
    t.Inputs.EngineIndex = rowOf(*form.ComboEngine, Engines(), m.Engine);
    t.Inputs.FinalDriveIndex = rowOf(*form.ComboFinalRatio, FinalDriveRatios(), m.FinalDriveRatio);
    t.Inputs.TyreSizeIndex = rowOf(*form.ComboTyreSize, TyreDiameters(), m.TyreDiameter);
    t.Inputs.KerbWeightIndex = rowOf(*form.ComboKerbWeight, KerbWeights(), m.UnladenWeight);
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
