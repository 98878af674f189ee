#pragma once

#include "model/DriveModel.h"
#include "model/IDriveModelOwner.h"

#include <QWidget>

#include <vector>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QTimer;
class TComboBox;
class TESBFloatSpinEdit;
class TESBPCSLabel;
class TESBPosEdit;
class TESBPosFloatEdit;
class TFrmAbout;
class TMeter;
class TNumLab;
class ToxGraphicButton;

// The tab stop after (or before) the control that holds the focus, coming
// round at either end; skips controls that are hidden, disabled or no tab
// stop. Null when none can take the focus.
QWidget *NextTabStop(const std::vector<QWidget *> &cycle, QWidget *focus, bool next);

// The main window: every input and every result at its fixed place, the
// handlers that write the inputs into the model, the 50 ms timer that drives
// the simulation, and the display routines through which each refresh shows
// its results. Handlers only write the model; the next tick shows the effect.
class TForm1 : public QWidget, public IDriveModelOwner
{
    Q_OBJECT
  public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    TDriveModel &Model() { return m_model; }
    const TDriveModel &Model() const { return m_model; }

    // ---- the controls, by their layout names
    QGroupBox *GroupBox1 = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    QGroupBox *GroupBox3 = nullptr;
    QGroupBox *GroupBox4 = nullptr;
    QGroupBox *GroupBox5 = nullptr;
    QGroupBox *GroupBox6 = nullptr;
    QGroupBox *Loading = nullptr;

    TComboBox *ComboEngine = nullptr;
    TNumLab *NumLabRpm = nullptr;
    TNumLab *NumLabPower = nullptr;
    TNumLab *NumLabTorque = nullptr;

    TESBPCSLabel *ESBPCSLabel2 = nullptr;
    TESBPosFloatEdit *EditTransmissionLoss = nullptr;
    TESBPCSLabel *ESBPCSLabel18 = nullptr;
    TESBPosFloatEdit *EditOverDriveRatio = nullptr;
    TComboBox *ComboFinalRatio = nullptr;
    TESBPCSLabel *ESBPCSLabel1 = nullptr;
    TComboBox *ComboTyreSize = nullptr;
    TESBPCSLabel *ESBPCSLabel7 = nullptr;

    TESBPCSLabel *ESBPCSLabel8 = nullptr;
    TESBPosFloatEdit *EditPCR = nullptr;
    TESBPCSLabel *ESBPCSLabel9 = nullptr;
    TESBPosFloatEdit *EditPressAngle = nullptr;
    TESBPCSLabel *ESBPCSLabel10 = nullptr;
    TESBPosFloatEdit *EditHelixAngle = nullptr;
    TESBPCSLabel *ESBPCSLabel11 = nullptr;
    TESBPosFloatEdit *EditOverhang = nullptr;
    TESBPCSLabel *ESBPCSLabel12 = nullptr;
    TESBPosFloatEdit *EditLoadFactor = nullptr;

    TESBPCSLabel *ESBPCSLabel4 = nullptr;
    TESBPosEdit *EditRollingResistance = nullptr;
    TESBPCSLabel *ESBPCSLabel5 = nullptr;
    TESBPosFloatEdit *EditFrontalArea = nullptr;
    TESBPCSLabel *ESBPCSLabel6 = nullptr;
    TESBPosFloatEdit *EditDragCoef = nullptr;

    QCheckBox *CBMph = nullptr;
    TNumLab *NumLabSpeed = nullptr;
    TNumLab *NumLabResistance = nullptr;
    TNumLab *NumLabForceAvailable = nullptr;

    QLabel *Label2 = nullptr;
    TESBPCSLabel *ESBPCSLabel13 = nullptr;
    TESBPosFloatEdit *EditDynLoadRating = nullptr;
    TNumLab *NUmLabIPBRadialForce = nullptr;
    TNumLab *NumLabCOnP = nullptr;
    QCheckBox *CBMiles = nullptr;
    TNumLab *NumLabIPBLife10 = nullptr;

    TESBPCSLabel *ESBPCSLabel3 = nullptr;
    TComboBox *ComboKerbWeight = nullptr;
    TESBPCSLabel *ESBPCSLabel14 = nullptr;
    TESBFloatSpinEdit *SELoad = nullptr;
    TESBPCSLabel *ESBPCSLabel15 = nullptr;
    TESBFloatSpinEdit *SEGradient = nullptr;

    ToxGraphicButton *BtnBoostMe = nullptr;
    QPushButton *BtnAbout = nullptr;
    TMeter *MeterSpeed = nullptr;
    TMeter *MeterRpm = nullptr;
    QRadioButton *RBFourth = nullptr;
    QRadioButton *RBFifth = nullptr;
    QProgressBar *PBPercTorque = nullptr;
    TESBPCSLabel *ESBPCSLabel16 = nullptr;
    QSlider *TBGasPedal = nullptr;
    TESBPCSLabel *ESBPCSLabel17 = nullptr;
    QTimer *Timer1 = nullptr;

    // "Copy results" (Ctrl+C, and in the window's right-click menu).
    QAction *ActionCopyResults = nullptr;

    // ---- handlers
    void FormCreate(QObject *Sender);
    void ComboEngineChange(QObject *Sender);
    void ComboFinalRatioChange(QObject *Sender);
    void ComboTyreSizeChange(QObject *Sender);
    void ComboKerbWeightChange(QObject *Sender);
    void EditRollingResistanceChange(QObject *Sender);
    void EditFrontalAreaChange(QObject *Sender);
    void EditDragCoefChange(QObject *Sender);
    void EditTransmissionLossChange(QObject *Sender);
    void EditOverDriveRatioChange(QObject *Sender);
    void EditGearInputChange(QObject *Sender);
    void SELoadChange(QObject *Sender);
    void SEGradientChange(QObject *Sender);
    void CBMphClick(QObject *Sender);
    void CBMilesClick(QObject *Sender);
    void RBFourthClick(QObject *Sender);
    void RBFifthClick(QObject *Sender);
    void TBGasPedalChange(QObject *Sender);
    void BtnBoostMeClick(QObject *Sender);
    void BtnAboutClick(QObject *Sender);
    void Timer1Timer(QObject *Sender);

    // ---- display routines, called by the model's refresh in this order
    void ShowSpeed() override;
    void ShowPower() override;
    void ShowTorque() override;
    void ShowResistance() override;
    void ShowForceAvailable() override;
    void ShowBearing() override;
    void ShowRpm() override;
    void ShowTorqueUnused() override;
    double LoadRating() override;
    void SwitchBoostOff() override;
    void ShowLife();

    // Every readout, then every input, one per line: caption, value and
    // unit separated by tabs, in the window's current units.
    QString ResultsText() const;
    // Puts ResultsText on the clipboard.
    void CopyResults();

  Q_SIGNALS:
    // After every simulation step, for the windows that follow the running truck.
    void Stepped();

  protected:
    // Tab, Shift+Tab, Enter and Up/Down in the edits walk the window's tab
    // cycle and come round at either end.
    bool focusNextPrevChild(bool next) override;

  private:
    void CreateControls();
    void ConnectHandlers();
    void CreateCopyAction();
    // Tooltips and the names screen readers use; the units follow the
    // mph and miles boxes.
    void DescribeControls();
    void UpdateUnitTips();
    void ReadResistanceInputs();
    void ReadGearInputs();

    TDriveModel m_model;
    // The window's tab stops in order: controls, not their inner editors.
    std::vector<QWidget *> m_tabCycle;
};
