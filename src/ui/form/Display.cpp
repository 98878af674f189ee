// The display routines: each refresh of the model shows its results through
// these, in the order the model calls them. They only set widget properties;
// a readout or gauge repaints only when its value really changes.

#include "ui/form/Form1.h"
#include "ui/form/ModelValue.h"

#include "model/DisplayValues.h"
#include "widgets/input/ESBPCSNumEdit.h"
#include "widgets/input/ESBPCSSpinEdit.h"
#include "widgets/display/Meter.h"
#include "widgets/display/NumLab.h"
#include "widgets/button/oxBtns.h"

#include <QCheckBox>
#include <QProgressBar>

namespace
{

// A readout with a value shows it; one without is shown empty and keeps the
// value it had.
void showOrEmpty(TNumLab *readout, std::optional<double> value)
{
    if (value) {
        readout->setValue(*value);
        readout->setEmpty(false);
    } else {
        readout->setEmpty(true);
    }
}

} // namespace

void TForm1::ShowSpeed()
{
    if (CBMph->isChecked()) {
        showOrEmpty(NumLabSpeed, Shown::SpeedMph(m_model));
        NumLabSpeed->setRightText(QStringLiteral("mph"));
    } else {
        showOrEmpty(NumLabSpeed, Shown::SpeedKmh(m_model));
        NumLabSpeed->setRightText(QStringLiteral("kph"));
    }
    // The gauge is scaled in mph whatever unit the readout shows.
    if (auto mph = Shown::SpeedMph(m_model))
        MeterSpeed->setValue(*mph);
    if (Shown::SpeedHeld(m_model)) {
        NumLabSpeed->setColorLabBakG(clBlack);
        NumLabSpeed->setColorLabText(clLime);
    } else {
        NumLabSpeed->setColorLabBakG(clRed);
        NumLabSpeed->setColorLabText(clWhite);
    }
}

void TForm1::ShowPower()
{
    showOrEmpty(NumLabPower, Shown::Power(m_model));
}

void TForm1::ShowTorque()
{
    showOrEmpty(NumLabTorque, Shown::Torque(m_model));
}

void TForm1::ShowResistance()
{
    showOrEmpty(NumLabResistance, Shown::Resistance(m_model));
}

void TForm1::ShowForceAvailable()
{
    showOrEmpty(NumLabForceAvailable, Shown::ForceAvailable(m_model));
}

void TForm1::ShowBearing()
{
    if (m_model.Gear == TGear::Fourth) {
        NUmLabIPBRadialForce->setEmpty(true);
        NumLabCOnP->setEmpty(true);
        NumLabIPBLife10->setEmpty(true);
        return;
    }
    showOrEmpty(NUmLabIPBRadialForce, Shown::RadialLoad(m_model));
    showOrEmpty(NumLabCOnP, Shown::COverP(m_model));
    NumLabIPBLife10->setEmpty(false);
    ShowLife();
}

void TForm1::ShowLife()
{
    const bool miles = CBMiles->isChecked();
    NumLabIPBLife10->setRightText(miles ? QStringLiteral("000miles") : QStringLiteral("000kms"));
    // In fourth gear the readout stays empty; its hidden value still follows.
    if (auto life = Shown::LastLifeThousands(m_model, miles))
        NumLabIPBLife10->setValue(*life);
    else
        NumLabIPBLife10->setEmpty(true);
}

void TForm1::ShowRpm()
{
    NumLabRpm->setValue(double(Shown::Rpm(m_model)));
    MeterRpm->setValue(m_model.EngineRpm);
}

void TForm1::ShowTorqueUnused()
{
    const int percent = Shown::TorqueUnusedPercent(m_model);
    if (percent == PBPercTorque->value())
        return;
    // The bar would repaint itself at once, in the middle of the tick, and
    // the window would go to the screen twice a tick: it is painted with
    // the readouts and gauges instead.
    PBPercTorque->setUpdatesEnabled(false);
    PBPercTorque->setValue(percent);
    PBPercTorque->setUpdatesEnabled(true);
}

double TForm1::LoadRating()
{
    return ModelValue(EditDynLoadRating->AsFloat());
}

void TForm1::SwitchBoostOff()
{
    BtnBoostMe->setValue(false);
}

void TForm1::CBMphClick(QObject *)
{
    if (CBMph->isChecked()) {
        NumLabSpeed->setRightText(QStringLiteral("mph"));
        showOrEmpty(NumLabSpeed, Shown::SpeedMph(m_model));
    } else {
        NumLabSpeed->setRightText(QStringLiteral("kph"));
        showOrEmpty(NumLabSpeed, Shown::SpeedKmh(m_model));
    }
}

void TForm1::CBMilesClick(QObject *)
{
    ShowLife();
}
