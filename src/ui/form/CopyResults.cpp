// Copying the results: every readout and every input as tab-separated lines,
// from Ctrl+C or the window's right-click menu.

#include "ui/form/Form1.h"

#include "widgets/input/ESBPCSNumEdit.h"
#include "widgets/input/ESBPCSSpinEdit.h"
#include "widgets/display/NumLab.h"
#include "widgets/display/NumLabAccessible.h"
#include "ui/form/StdControls.h"
#include "widgets/button/oxBtns.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QSlider>

namespace
{

// An edit keeps Ctrl+C for itself only while it has a selection to copy;
// otherwise the key goes on to the window's "Copy results".
class CopyKeyPassThrough : public QObject
{
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ShortcutOverride ||
            !static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy))
            return false;
        const QLineEdit *edit = qobject_cast<QLineEdit *>(watched);
        if (const auto *combo = qobject_cast<QComboBox *>(watched))
            edit = combo->lineEdit();
        if (!edit || edit->hasSelectedText())
            return false;
        event->ignore();
        return true;
    }
};

// A number as the edit shows it, without thousands separators, which a
// spreadsheet would take for a decimal mark.
QString plainNumber(const QLineEdit &edit)
{
    QString text = edit.text().trimmed();
    text.remove(edit.locale().groupSeparator());
    return text;
}

QString line(const QString &caption, const QString &value, const QString &unit)
{
    return caption + QLatin1Char('\t') + value + QLatin1Char('\t') + unit + QLatin1Char('\n');
}

} // namespace

void TForm1::CreateCopyAction()
{
    ActionCopyResults = new QAction(QStringLiteral("Copy results"), this);
    ActionCopyResults->setObjectName(QStringLiteral("ActionCopyResults"));
    ActionCopyResults->setShortcuts(QKeySequence::Copy);
    ActionCopyResults->setShortcutContext(Qt::WindowShortcut);
    connect(ActionCopyResults, &QAction::triggered, this, [this] { CopyResults(); });
    addAction(ActionCopyResults);
    // A right click on the window's background lists the window's actions;
    // the edits and lists keep their own menus.
    setContextMenuPolicy(Qt::ActionsContextMenu);

    auto *passThrough = new CopyKeyPassThrough(this);
    for (QLineEdit *edit : findChildren<QLineEdit *>())
        edit->installEventFilter(passThrough);
    for (QComboBox *combo : findChildren<QComboBox *>())
        combo->installEventFilter(passThrough);
}

QString TForm1::ResultsText() const
{
    QString text;
    for (const TNumLab *readout :
         {NumLabRpm, NumLabPower, NumLabTorque, NumLabSpeed, NumLabResistance, NumLabForceAvailable,
          NUmLabIPBRadialForce, NumLabCOnP, NumLabIPBLife10})
        text +=
            line(NumLabCaption(*readout), readout->ShownText(), readout->RightText().simplified());
    text += line(QStringLiteral("Percentage Torque Unused"), QString::number(PBPercTorque->value()),
                 QStringLiteral("%"));

    const auto S = [](const char *s) { return QString::fromLatin1(s); };
    text += line(S("Engine"), ComboEngine->Text(), {});
    text += line(S("transmission loss"), plainNumber(*EditTransmissionLoss), {});
    text += line(S("overdrive ratio"), plainNumber(*EditOverDriveRatio), {});
    text += line(S("final drive gear ratio"), ComboFinalRatio->Text(), {});
    text += line(S("tyre size"), ComboTyreSize->Text(), {});
    text += line(S("PitchCircleRad"), plainNumber(*EditPCR), S("in"));
    text += line(S("Pressure Angle"), plainNumber(*EditPressAngle), S("deg"));
    text += line(S("Helix Angle"), plainNumber(*EditHelixAngle), S("deg"));
    text += line(S("Bearing Overhang"), plainNumber(*EditOverhang), {});
    text += line(S("Load factor"), plainNumber(*EditLoadFactor), {});
    text += line(S("Rolling Resistance"), plainNumber(*EditRollingResistance), S("lbf"));
    text += line(S("Frontal Area"), plainNumber(*EditFrontalArea), S("sqft"));
    text += line(S("Drag Coef"), plainNumber(*EditDragCoef), {});
    text += line(S("Unladen Weight"), ComboKerbWeight->Text(), {});
    text += line(S("Load"), plainNumber(*SELoad->editor()), S("lbs"));
    text += line(S("Average Gradient"), plainNumber(*SEGradient->editor()), {});
    text += line(S("Dynamic Load Rating Cr"), plainNumber(*EditDynLoadRating), S("lbf"));
    text += line(S("Gas Pedal"), QString::number(TBGasPedal->value()), S("mph"));
    text += line(S("Gear"), RBFourth->isChecked() ? S("4th") : S("5th"), {});
    text += line(S("Boost"), BtnBoostMe->Value() ? S("on") : S("off"), {});
    return text;
}

void TForm1::CopyResults()
{
    QApplication::clipboard()->setText(ResultsText());
}
