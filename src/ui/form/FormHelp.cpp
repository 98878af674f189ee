// What the window tells about its controls: a tooltip on every input and
// readout (meaning, unit and range in plain words, in the units the window
// shows now) and the names screen readers use where no caption gives one.

#include "ui/form/Form1.h"

#include "widgets/input/ComboAccessible.h"
#include "widgets/input/ESBPCSAccessible.h"
#include "widgets/input/ESBPCSLabel.h"
#include "widgets/input/ESBPCSNumEdit.h"
#include "widgets/input/ESBPCSSpinEdit.h"
#include "widgets/display/Meter.h"
#include "widgets/display/NumLab.h"
#include "ui/form/StdControls.h"
#include "widgets/button/oxBtns.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace
{

// Plain-text tooltips are not wrapped on screen: break the lines at blanks.
QString wrapped(const QString &text, qsizetype width = 60)
{
    QString out;
    qsizetype lineLength = 0;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (lineLength > 0 && lineLength + 1 + word.size() > width) {
            out += QLatin1Char('\n');
            lineLength = 0;
        } else if (lineLength > 0) {
            out += QLatin1Char(' ');
            ++lineLength;
        }
        out += word;
        lineLength += word.size();
    }
    return out;
}

// The program's own display widgets show their hint as their tooltip.
template <class W> void tip(W *w, const char *text)
{
    const QString lines = wrapped(QString::fromUtf8(text));
    if constexpr (requires { w->setHint(QString()); }) {
        w->setHint(lines);
        w->setShowHint(true);
    } else {
        w->setToolTip(lines);
    }
}

} // namespace

void TForm1::DescribeControls()
{
    // Names for the controls that have no caption of their own; a control
    // with an attached caption is named by it.
    NumLabRpm->setAccessibleName(QStringLiteral("Engine speed"));
    ComboEngine->setAccessibleName(QStringLiteral("Engine"));
    for (TESBPCSLabel *label : findChildren<TESBPCSLabel *>()) {
        QWidget *control = label->AttachToControl();
        // The edits and spin edits find their caption themselves.
        if (!control || qobject_cast<TESBCustomEdit *>(control) ||
            qobject_cast<TESBFloatSpinEdit *>(control) || !control->accessibleName().isEmpty())
            continue;
        control->setAccessibleName(PlainCaption(label->Caption()));
    }
    // The edit field of each list holds the caret while the list has the
    // focus: it goes by the list's name, not by the text in it.
    for (TComboBox *list : {ComboEngine, ComboFinalRatio, ComboTyreSize, ComboKerbWeight})
        list->lineEdit()->setAccessibleName(ComboName(*list));

    // "At Crankshaft"
    tip(ComboEngine, "Engine: its maximum power and torque, with the engine speeds at which "
                     "they occur. Pick one of the three from the list.");
    tip(NumLabRpm, "Engine speed in rpm (revolutions per minute), from standstill up to the "
                   "engine's rev limit and above it.");
    tip(NumLabPower, "Engine power at the present engine speed, in hp. Empty above the rev limit, "
                     "where the engine gives nothing.");
    tip(NumLabTorque, "Engine torque at the present engine speed, in ft.lb (foot-pounds). Empty "
                      "above the rev limit.");
    // "Drive Line"
    tip(EditTransmissionLoss, "Transmission loss: the fraction of the engine's torque lost "
                              "between engine and wheels, no unit, between 0 and 1: 0.17 is 17 %.");
    tip(EditOverDriveRatio, "Overdrive ratio: fifth gear's engine turns per gearbox output turn, "
                            "no unit, a positive number (below 1 for an overdrive). A new ratio "
                            "shows when something else next changes the results.");
    tip(ComboFinalRatio, "Final drive (rear-axle) gear ratio, with the axle and engine it belongs "
                         "to. Pick one of the six from the list.");
    tip(ComboTyreSize, "Tyre size; its outside diameter in inches sets how far the truck goes "
                       "per wheel turn. Pick one of the seventeen from the list.");
    // "Input Gear"
    tip(EditPCR, "Pitch-circle radius of the gearbox input gear, in inches, a positive number.");
    tip(EditPressAngle, "Pressure angle of the input gear's teeth, in degrees, above 0 and below "
                        "90 (commonly 14.5 to 25).");
    tip(EditHelixAngle, "Helix angle of the input gear's teeth, in degrees, from 0 (straight "
                        "teeth) to below 90.");
    tip(EditOverhang, "Bearing overhang: the factor for where the bearing sits relative to the "
                      "gear, no unit, a positive number.");
    tip(EditLoadFactor, "Load factor: the service factor applied to the bearing load, no unit, "
                        "usually 1 or more.");
    // "Resistance"
    tip(EditRollingResistance, "Rolling resistance of the tyres as a fixed force, in lbf "
                               "(pounds-force), a whole number from 0 up.");
    tip(EditFrontalArea, "Frontal area of the truck, in square feet (sqft), a positive number.");
    tip(EditDragCoef, "Aerodynamic drag coefficient, no unit, a positive number (trucks are "
                      "about 0.4 to 0.7).");
    // "Speed"
    tip(CBMph, "Ticked: speed in mph. Unticked: speed in km/h (kph).");
    tip(NumLabResistance, "Total resistance to motion at this speed: aerodynamic drag, rolling "
                          "resistance and the gradient, in lbf (pounds-force).");
    tip(NumLabForceAvailable, "Tractive force the engine gives at the wheels at this speed, in lbf "
                              "(pounds-force). Empty above the rev limit.");
    // "Input Bearing"
    tip(EditDynLoadRating, "Dynamic load rating C of the 63/22 bearing, in lbf (pounds-force), a "
                           "positive number; read at every step.");
    tip(NUmLabIPBRadialForce, "Radial load P on the gearbox input-shaft bearing, in lbf "
                              "(pounds-force). Shown in fifth gear only.");
    tip(NumLabCOnP, "C/P: the load rating divided by the radial load, no unit; the bigger, the "
                    "longer the bearing lasts. Shown in fifth gear only.");
    tip(CBMiles, "Ticked: bearing life in thousands of miles. Unticked: in thousands of "
                 "kilometres.");
    // "Loading"
    tip(ComboKerbWeight, "Body variant and its unladen (kerb) weight in lbs. Pick one of the "
                         "four from the list.");
    tip(SELoad, "Load carried, in lbs, from 0 to 3000; Up and Down step it by 50.");
    tip(SEGradient, "Average gradient as rise per distance travelled: 0.05 is a 5 % grade. From "
                    "0 to 100; Up and Down step it by 0.001.");
    // On the window
    tip(BtnBoostMe, "Boost: raises the engine speed whatever the force, to get the truck moving "
                    "in fifth gear; it lets go by itself above 1000 rpm.");
    tip(BtnAbout, "Help on the model, every control and the keyboard keys.");
    tip(MeterSpeed, "Speed dial: road speed in mph, on a 0 to 100 scale.");
    tip(MeterRpm, "Engine speed dial: engine speed in rpm, on a 0 to 5000 scale.");
    tip(RBFourth, "Fourth gear (direct drive). The bearing readouts are empty in fourth.");
    tip(RBFifth, "Fifth gear (overdrive). The bearing's load and life are shown in fifth.");
    tip(PBPercTorque, "Percentage of the engine's torque left over after overcoming the "
                      "resistance, 0 to 100 %; 0 when the truck cannot go faster.");

    UpdateUnitTips();
    connect(CBMph, &QCheckBox::toggled, this, [this] { UpdateUnitTips(); });
    connect(CBMiles, &QCheckBox::toggled, this, [this] { UpdateUnitTips(); });
}

void TForm1::UpdateUnitTips()
{
    const bool mph = CBMph->isChecked();
    tip(NumLabSpeed, mph ? "Road speed in mph. Lime on black while the truck can hold or gain "
                           "speed, white on red when the engine has run out of force."
                         : "Road speed in km/h (kph). Lime on black while the truck can hold or "
                           "gain speed, white on red when the engine has run out of force.");
    tip(TBGasPedal, mph ? "Gas pedal: the target road speed, 0 to 100 mph."
                        : "Gas pedal: the target road speed, 0 to 100 mph (0 to 161 km/h).");
    tip(NumLabIPBLife10,
        CBMiles->isChecked()
            ? "L10 life of the input-shaft bearing, the distance at which one bearing in ten has "
              "failed, in thousands of miles (000miles). Shown in fifth gear only."
            : "L10 life of the input-shaft bearing, the distance at which one bearing in ten has "
              "failed, in thousands of kilometres (000kms). Shown in fifth gear only.");
}
