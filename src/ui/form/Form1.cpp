#include "ui/form/Form1.h"

#include "ui/form/About.h"
#include "widgets/input/ESBPCSLabel.h"
#include "widgets/input/ESBPCSNumEdit.h"
#include "widgets/input/ESBPCSSpinEdit.h"
#include "gfx/ErrorReport.h"
#include "gfx/Font.h"
#include "widgets/display/Meter.h"
#include "widgets/display/NumLab.h"
#include "ui/form/StdControls.h"
#include "ui/form/WindowFont.h"
#include "widgets/button/oxBtns.h"

#include <QCheckBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

TForm1::TForm1(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_model(this)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Velmora"));
    setFont(WindowFont());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ColorToQColor(clBtnFace));
    setPalette(pal);
    setAutoFillBackground(true);
    // A single border: the client area is fixed, nothing can resize it.
    setFixedSize(701, 600);
    move(299, 114);

    CreateControls();
    ConnectHandlers();
    CreateCopyAction();
    DescribeControls();
    FormCreate(this);
    Timer1->start();
}

TForm1::~TForm1()
{
    // The widgets go after the model they report to: stop the ticks and let
    // no control reach a handler while it is being torn down.
    Timer1->stop();
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
    m_model.SetOwner(nullptr);
}

namespace
{

// Binds a handler to a signal. A handler may let an exception escape (a
// selection outside its table); it is handed to the application's default
// handler right here, so it never unwinds through the toolkit's signal code.
template <class Sender, class Signal, class Handler>
void bind(Sender *sender, Signal signal, TForm1 *form, Handler handler)
{
    QObject::connect(sender, signal, form, [handler](auto &&...args) {
        CallReportingEscapes([&] { handler(args...); });
    });
}

} // namespace

void TForm1::ConnectHandlers()
{
    auto call = [this](void (TForm1::*handler)(QObject *), QObject *sender) {
        return [this, handler, sender](auto &&...) { (this->*handler)(sender); };
    };
    bind(ComboEngine, &TComboBox::OnChange, this, call(&TForm1::ComboEngineChange, ComboEngine));
    bind(ComboFinalRatio, &TComboBox::OnChange, this,
         call(&TForm1::ComboFinalRatioChange, ComboFinalRatio));
    bind(ComboTyreSize, &TComboBox::OnChange, this,
         call(&TForm1::ComboTyreSizeChange, ComboTyreSize));
    bind(ComboKerbWeight, &TComboBox::OnChange, this,
         call(&TForm1::ComboKerbWeightChange, ComboKerbWeight));
    bind(EditRollingResistance, &TESBPosEdit::OnChange, this,
         call(&TForm1::EditRollingResistanceChange, EditRollingResistance));
    bind(EditFrontalArea, &TESBPosFloatEdit::OnChange, this,
         call(&TForm1::EditFrontalAreaChange, EditFrontalArea));
    bind(EditDragCoef, &TESBPosFloatEdit::OnChange, this,
         call(&TForm1::EditDragCoefChange, EditDragCoef));
    bind(EditTransmissionLoss, &TESBPosFloatEdit::OnChange, this,
         call(&TForm1::EditTransmissionLossChange, EditTransmissionLoss));
    bind(EditOverDriveRatio, &TESBPosFloatEdit::OnChange, this,
         call(&TForm1::EditOverDriveRatioChange, EditOverDriveRatio));
    for (TESBPosFloatEdit *gear :
         {EditPCR, EditPressAngle, EditHelixAngle, EditOverhang, EditLoadFactor})
        bind(gear, &TESBPosFloatEdit::OnChange, this, call(&TForm1::EditGearInputChange, gear));
    bind(SELoad, &TESBFloatSpinEdit::OnChange, this, call(&TForm1::SELoadChange, SELoad));
    bind(SEGradient, &TESBFloatSpinEdit::OnChange, this,
         call(&TForm1::SEGradientChange, SEGradient));
    // A check box reports every change of its state, as a click does.
    bind(CBMph, &QCheckBox::toggled, this, call(&TForm1::CBMphClick, CBMph));
    bind(CBMiles, &QCheckBox::toggled, this, call(&TForm1::CBMilesClick, CBMiles));
    // A radio button reports becoming checked.
    bind(RBFourth, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RBFourthClick(RBFourth);
    });
    bind(RBFifth, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RBFifthClick(RBFifth);
    });
    bind(TBGasPedal, &QSlider::valueChanged, this, call(&TForm1::TBGasPedalChange, TBGasPedal));
    bind(BtnBoostMe, &ToxGraphicButton::OnClick, this, call(&TForm1::BtnBoostMeClick, BtnBoostMe));
    bind(BtnAbout, &QPushButton::clicked, this, call(&TForm1::BtnAboutClick, BtnAbout));
    bind(Timer1, &QTimer::timeout, this, call(&TForm1::Timer1Timer, Timer1));
}

// ---- start-up --------------------------------------------------------------

void TForm1::FormCreate(QObject *)
{
    // Selecting from code reports no change, so each list's handler is called here.
    ComboFinalRatio->setItemIndex(0);
    ComboFinalRatioChange(this);
    ComboTyreSize->setItemIndex(0);
    ComboTyreSizeChange(this);
    ComboEngine->setItemIndex(0);
    ComboEngineChange(this);
    ComboKerbWeight->setItemIndex(0);
    ComboKerbWeightChange(this);
    ReadResistanceInputs();
    ReadGearInputs();
    m_model.TransmissionLoss = double(EditTransmissionLoss->AsFloat());
    m_model.EngineRpm = 10;
    m_model.OverdriveRatio = double(EditOverDriveRatio->AsFloat());
    m_model.Gear = TGear::Fifth;
    m_model.Load = double(SELoad->Value());
    m_model.Gradient = double(SEGradient->Value());
}

void TForm1::ReadResistanceInputs()
{
    m_model.FrontalArea = double(EditFrontalArea->AsFloat());
    m_model.DragCoef = double(EditDragCoef->AsFloat());
    m_model.RollingResistance = double(EditRollingResistance->AsInteger());
    m_model.RecalcFlag = true;
}

void TForm1::ReadGearInputs()
{
    m_model.PitchCircleRadius = double(EditPCR->AsFloat());
    m_model.PressureAngle = double(EditPressAngle->AsFloat());
    m_model.HelixAngle = double(EditHelixAngle->AsFloat());
    m_model.Overhang = double(EditOverhang->AsFloat());
    m_model.LoadFactor = double(EditLoadFactor->AsFloat());
}

// ---- input handlers: they write the model; the next tick shows the effect ---

void TForm1::ComboEngineChange(QObject *)
{
    m_model.SelectEngine(ComboEngine->ItemIndex());
}

void TForm1::ComboFinalRatioChange(QObject *)
{
    m_model.SelectFinalDrive(ComboFinalRatio->ItemIndex());
}

void TForm1::ComboTyreSizeChange(QObject *)
{
    m_model.SelectTyreSize(ComboTyreSize->ItemIndex());
}

void TForm1::ComboKerbWeightChange(QObject *)
{
    m_model.SelectKerbWeight(ComboKerbWeight->ItemIndex());
}

void TForm1::EditRollingResistanceChange(QObject *)
{
    ReadResistanceInputs();
}

void TForm1::EditFrontalAreaChange(QObject *)
{
    ReadResistanceInputs();
}

void TForm1::EditDragCoefChange(QObject *)
{
    ReadResistanceInputs();
}

void TForm1::EditTransmissionLossChange(QObject *)
{
    m_model.TransmissionLoss = double(EditTransmissionLoss->AsFloat());
    m_model.RecalcFlag = true;
}

void TForm1::EditOverDriveRatioChange(QObject *)
{
    // No recalc: the new ratio shows with the next refresh something else causes.
    m_model.OverdriveRatio = double(EditOverDriveRatio->AsFloat());
}

void TForm1::EditGearInputChange(QObject *)
{
    ReadGearInputs();
    m_model.RecalcFlag = true;
}

void TForm1::SELoadChange(QObject *)
{
    m_model.Load = double(SELoad->Value());
    m_model.RecalcFlag = true;
}

void TForm1::SEGradientChange(QObject *)
{
    m_model.Gradient = double(SEGradient->Value());
    m_model.RecalcFlag = true;
}

void TForm1::RBFourthClick(QObject *)
{
    m_model.Gear = TGear::Fourth;
    m_model.RecalcFlag = true;
}

void TForm1::RBFifthClick(QObject *)
{
    m_model.Gear = TGear::Fifth;
    m_model.RecalcFlag = true;
}

void TForm1::TBGasPedalChange(QObject *)
{
    m_model.TargetSpeed = double(TBGasPedal->value());
}

void TForm1::BtnBoostMeClick(QObject *)
{
    m_model.BoostFlag = BtnBoostMe->Value();
}

void TForm1::Timer1Timer(QObject *)
{
    m_model.SimulationStep();
    emit Stepped();
}

// ---- the About window --------------------------------------------------------

void TForm1::BtnAboutClick(QObject *)
{
    // A fresh window each time, over the upper half of the client area.
    QPointer<TFrmAbout> about = new TFrmAbout(this);
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    about->setGeometry(origin.x(), origin.y(), width(), height() / 2);
    about->exec(); // closing destroys it
}
