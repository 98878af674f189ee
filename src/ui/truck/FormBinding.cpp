#include "ui/truck/FormBinding.h"

#include "gfx/ErrorReport.h"
#include "model/DisplayValues.h"
#include "ui/form/Form1.h"
#include "ui/form/FormTruck.h"
#include "ui/form/StdControls.h"
#include "ui/truck/TruckSession.h"
#include "widgets/input/ESBPCSNumEdit.h"
#include "widgets/input/ESBPCSSpinEdit.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QSlider>

#include <cmath>

namespace
{

// The list's row when it is one of the table's (the model loaded it); else
// the row the truck had (typing over a list's text leaves the model's row).
int chosenRow(const TComboBox &list, int rows, int had)
{
    const int i = list.ItemIndex();
    return i >= 0 && i < rows ? i : had;
}

} // namespace

TFormBinding::TFormBinding(TForm1 *form, TTruckSession *session, QObject *parent)
    : QObject(parent), m_form(form), m_session(session)
{
    // A value put in from a file keeps all its digits while the edit shows
    // it unchanged; the model runs on what the file says.
    for (TESBPosFloatEdit *edit :
         {form->EditTransmissionLoss, form->EditOverDriveRatio, form->EditPCR, form->EditPressAngle,
          form->EditHelixAngle, form->EditOverhang, form->EditLoadFactor, form->EditFrontalArea,
          form->EditDragCoef, form->EditDynLoadRating})
        edit->setFullAccuracy(true);
    form->SELoad->setFullAccuracy(true);
    form->SEGradient->setFullAccuracy(true);

    bindInputs();
    connect(session, &TTruckSession::TruckLoaded, this,
            [this] { CallReportingEscapes([this] { takeLoadedTruck(); }); });
    // The session is the truth: a window that shows another truck takes its.
    if (!SameInputs(TruckOfForm(*form), session->Truck()))
        takeLoadedTruck();
    connect(form, &TForm1::Stepped, this, &TFormBinding::takeRunning);
    // The pedal's target shows before the next tick (a new duty segment starts there).
    connect(form->TBGasPedal, &QSlider::valueChanged, this, &TFormBinding::takeRunning);
    takeRunning();
}

TFormBinding::~TFormBinding() = default;

void TFormBinding::bindInputs()
{
    using namespace VehicleTables;
    TForm1 *f = m_form;
    const TDriveModel &m = f->Model();
    // Each control's change, after the window's own handler has run: the one
    // value it changed, as the model holds it now.
    auto on = [this](auto *sender, auto signal, auto update) {
        connect(sender, signal, this, [this, update](auto &&...) {
            if (m_applying)
                return;
            CallReportingEscapes([&] {
                TTruck t = m_session->Truck();
                update(t);
                m_session->SetInputs(t);
            });
        });
    };
    auto rows = [](const auto &table) { return int(table.size()); };
    on(f->ComboEngine, &TComboBox::OnChange, [f, rows](TTruck &t) {
        t.Inputs.EngineIndex = chosenRow(*f->ComboEngine, rows(Engines()), t.Inputs.EngineIndex);
    });
    on(f->ComboFinalRatio, &TComboBox::OnChange, [f, rows](TTruck &t) {
        t.Inputs.FinalDriveIndex =
            chosenRow(*f->ComboFinalRatio, rows(FinalDriveRatios()), t.Inputs.FinalDriveIndex);
    });
    on(f->ComboTyreSize, &TComboBox::OnChange, [f, rows](TTruck &t) {
        t.Inputs.TyreSizeIndex =
            chosenRow(*f->ComboTyreSize, rows(TyreDiameters()), t.Inputs.TyreSizeIndex);
    });
    on(f->ComboKerbWeight, &TComboBox::OnChange, [f, rows](TTruck &t) {
        t.Inputs.KerbWeightIndex =
            chosenRow(*f->ComboKerbWeight, rows(KerbWeights()), t.Inputs.KerbWeightIndex);
    });
    on(f->EditRollingResistance, &TESBPosEdit::OnChange,
       [&m](TTruck &t) { t.Inputs.RollingResistance = std::llround(m.RollingResistance); });
    on(f->EditFrontalArea, &TESBPosFloatEdit::OnChange,
       [&m](TTruck &t) { t.Inputs.FrontalArea = m.FrontalArea; });
    on(f->EditDragCoef, &TESBPosFloatEdit::OnChange,
       [&m](TTruck &t) { t.Inputs.DragCoef = m.DragCoef; });
    on(f->EditTransmissionLoss, &TESBPosFloatEdit::OnChange,
       [&m](TTruck &t) { t.Inputs.TransmissionLoss = m.TransmissionLoss; });
    on(f->EditOverDriveRatio, &TESBPosFloatEdit::OnChange,
       [&m](TTruck &t) { t.Inputs.OverdriveRatio = m.OverdriveRatio; });
    on(f->EditPCR, &TESBPosFloatEdit::OnChange,
       [&m](TTruck &t) { t.Inputs.PitchCircleRadius = m.PitchCircleRadius; });
    on(f->EditPressAngle, &TESBPosFloatEdit::OnChange,
       [&m](TTruck &t) { t.Inputs.PressureAngle = m.PressureAngle; });
    on(f->EditHelixAngle, &TESBPosFloatEdit::OnChange,
       [&m](TTruck &t) { t.Inputs.HelixAngle = m.HelixAngle; });
    on(f->EditOverhang, &TESBPosFloatEdit::OnChange,
       [&m](TTruck &t) { t.Inputs.Overhang = m.Overhang; });
    on(f->EditLoadFactor, &TESBPosFloatEdit::OnChange,
       [&m](TTruck &t) { t.Inputs.LoadFactor = m.LoadFactor; });
    // The rating has no handler: the model reads it at every step.
    on(f->EditDynLoadRating, &TESBPosFloatEdit::OnChange,
       [f](TTruck &t) { t.LoadRating = f->LoadRating(); });
    on(f->SELoad, &TESBFloatSpinEdit::OnChange, [&m](TTruck &t) { t.Inputs.Load = m.Load; });
    on(f->SEGradient, &TESBFloatSpinEdit::OnChange,
       [&m](TTruck &t) { t.Inputs.Gradient = m.Gradient; });
    on(f->RBFourth, &QRadioButton::toggled, [&m](TTruck &t) { t.Gear = m.Gear; });
    on(f->RBFifth, &QRadioButton::toggled, [&m](TTruck &t) { t.Gear = m.Gear; });
    on(f->CBMph, &QCheckBox::toggled, [f](TTruck &t) { t.SpeedInMph = f->CBMph->isChecked(); });
    on(f->CBMiles, &QCheckBox::toggled,
       [f](TTruck &t) { t.LifeInMiles = f->CBMiles->isChecked(); });
}

void TFormBinding::takeLoadedTruck()
{
    // The session's truck is the truth; the controls' echoes are not news.
    m_applying = true;
    struct Reset {
        bool &flag;
        ~Reset() { flag = false; }
    } reset{m_applying};
    ApplyTruckToForm(*m_form, m_session->Truck());
}

void TFormBinding::takeRunning()
{
    const TDriveModel &m = m_form->Model();
    TTruckSession::TRunning r;
    r.EngineRpm = m.EngineRpm;
    r.SpeedMph = Shown::SpeedMph(m);
    r.Gear = m.Gear;
    r.LifeKm = Shown::LifeKm(m);
    r.TargetMph = m.TargetSpeed;
    m_session->SetRunning(r);
}
