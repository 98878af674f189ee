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
#include <QLocale>
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

// Every number of the copied text has the locale's decimal mark and no
// grouping, so a spreadsheet in that locale reads all of it.
QLocale copyLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

// An input as the model runs on it: every digit it has, none it lacks.
QString inputNumber(double v)
{
    return copyLocale().toString(v, 'g', QLocale::FloatingPointShortest);
}

// A readout's text with the locale's decimal mark in place of its own.
QString readoutNumber(const QString &shown)
{
    const QLocale locale = copyLocale();
    QString text = shown;
    for (QChar &c : text)
        if (c == QLatin1Char('.') || c == QLatin1Char(','))
            c = locale.decimalPoint().front();
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
        text += line(NumLabCaption(*readout), readoutNumber(readout->ShownText()),
                     readout->RightText().simplified());
    text += line(QStringLiteral("Percentage Torque Unused"), inputNumber(PBPercTorque->value()),
                 QStringLiteral("%"));

    const auto S = [](const char *s) { return QString::fromLatin1(s); };
    text += line(S("Engine"), ComboEngine->Text(), {});
    const TDriveModel &m = m_model;
    text += line(S("transmission loss"), inputNumber(m.TransmissionLoss), {});
    text += line(S("overdrive ratio"), inputNumber(m.OverdriveRatio), {});
    text += line(S("final drive gear ratio"), ComboFinalRatio->Text(), {});
    text += line(S("tyre size"), ComboTyreSize->Text(), {});
    text += line(S("PitchCircleRad"), inputNumber(m.PitchCircleRadius), S("in"));
    text += line(S("Pressure Angle"), inputNumber(m.PressureAngle), S("deg"));
    text += line(S("Helix Angle"), inputNumber(m.HelixAngle), S("deg"));
    text += line(S("Bearing Overhang"), inputNumber(m.Overhang), {});
    text += line(S("Load factor"), inputNumber(m.LoadFactor), {});
    text += line(S("Rolling Resistance"), inputNumber(m.RollingResistance), S("lbf"));
    text += line(S("Frontal Area"), inputNumber(m.FrontalArea), S("sqft"));
    text += line(S("Drag Coef"), inputNumber(m.DragCoef), {});
    text += line(S("Unladen Weight"), ComboKerbWeight->Text(), {});
    text += line(S("Load"), inputNumber(m.Load), S("lbs"));
    text += line(S("Average Gradient"), inputNumber(m.Gradient), {});
    // The rating has no handler; the model reads it at every step.
    text += line(S("Dynamic Load Rating Cr"),
                 inputNumber(double(EditDynLoadRating->AsFloat())), S("lbf"));
    text += line(S("Gas Pedal"), inputNumber(TBGasPedal->value()), S("mph"));
    text += line(S("Gear"), RBFourth->isChecked() ? S("4th") : S("5th"), {});
    text += line(S("Boost"), BtnBoostMe->Value() ? S("on") : S("off"), {});
    return text;
}

void TForm1::CopyResults()
{
    QApplication::clipboard()->setText(ResultsText());
}
