// Copying the results (Ctrl+C and the window's menu), the tooltips and the
// keys in the About help, on the real window.

#include "ui/support/FormFixture.h"

#include "ui/form/About.h"
#include "widgets/input/ESBPCSNumEdit.h"
#include "widgets/input/ESBPCSSpinEdit.h"
#include "widgets/display/Meter.h"
#include "widgets/display/NumLab.h"
#include "ui/form/StdControls.h"
#include "widgets/button/oxBtns.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <limits>
#include <functional>

namespace
{

class FormCopy : public ::testing::Test
{
  protected:
    void SetUp() override { QApplication::clipboard()->setText(QStringLiteral("before")); }

    // Ctrl+C where the focus is now; returns the clipboard's text.
    QString copyFrom(QWidget *focus)
    {
        focus->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier);
        return QApplication::clipboard()->text();
    }

    static QStringList lines(const QString &text)
    {
        QStringList l = text.split(QLatin1Char('\n'));
        EXPECT_EQ(l.takeLast(), QString()); // every line ends with a newline
        return l;
    }

    static QString row(const QStringList &lines, const QString &caption)
    {
        for (const QString &l : lines)
            if (l.section(QLatin1Char('\t'), 0, 0) == caption)
                return l;
        return {};
    }

    FormDriver driver;
    TForm1 &f = driver.form();
};

TEST_F(FormCopy, CtrlCCopiesEveryReadoutThenEveryInput)
{
    driver.driveTo(60);
    const QStringList l = lines(copyFrom(f.TBGasPedal));
    ASSERT_EQ(l.size(), 30);
    for (const QString &line : l)
        EXPECT_EQ(line.count(QLatin1Char('\t')), 2) << line.toStdString();
    const QString T = QStringLiteral("\t");
    // The readouts first, in the window's reading order, as they show.
    EXPECT_EQ(l[0], "Engine speed" + T + f.NumLabRpm->ShownText() + T + "rpm");
    EXPECT_EQ(l[3], "Speed" + T + f.NumLabSpeed->ShownText() + T + "mph");
    EXPECT_EQ(l[6], "Radial Load P" + T + f.NUmLabIPBRadialForce->ShownText() + T + "lbf");
    EXPECT_EQ(l[7], "C/P" + T + f.NumLabCOnP->ShownText() + T);
    EXPECT_EQ(l[8], "Life [10%]" + T + f.NumLabIPBLife10->ShownText() + T + "000miles");
    EXPECT_EQ(l[9],
              "Percentage Torque Unused" + T + QString::number(f.PBPercTorque->value()) + T + "%");
    EXPECT_TRUE(l[3].contains(QLatin1String("\t59.")) || l[3].contains(QLatin1String("\t60.")))
        << l[3].toStdString();
    // Then the inputs.
    EXPECT_EQ(l[10], "Engine" + T + f.ComboEngine->Text() + T);
    EXPECT_EQ(row(l, "transmission loss"), "transmission loss" + T + "0.17" + T);
    EXPECT_EQ(row(l, "PitchCircleRad"), "PitchCircleRad" + T + "1.11" + T + "in");
    EXPECT_EQ(row(l, "Rolling Resistance"), "Rolling Resistance" + T + "45" + T + "lbf");
    EXPECT_EQ(row(l, "Load"), "Load" + T + "50" + T + "lbs");
    // The rating shows "2,081"; copied without the grouping comma.
    EXPECT_EQ(row(l, "Dynamic Load Rating Cr"), "Dynamic Load Rating Cr" + T + "2081" + T + "lbf");
    EXPECT_EQ(row(l, "Gas Pedal"), "Gas Pedal" + T + "60" + T + "mph");
    EXPECT_EQ(row(l, "Gear"), "Gear" + T + "5th" + T);
    EXPECT_EQ(l.last(), "Boost" + T + "off" + T);
}

TEST_F(FormCopy, CopiesInTheWindowsCurrentUnitsAndShowsEmptyReadoutsEmpty)
{
    driver.driveTo(50);
    FormDriver::click(f.CBMph);
    FormDriver::click(f.CBMiles);
    FormDriver::click(f.RBFourth);
    driver.tick();
    const QStringList l = lines(copyFrom(f.RBFourth));
    const QString T = QStringLiteral("\t");
    EXPECT_EQ(row(l, "Speed"), "Speed" + T + f.NumLabSpeed->ShownText() + T + "kph");
    EXPECT_EQ(row(l, "Life [10%]"), "Life [10%]" + T + T + "000kms");
    EXPECT_EQ(row(l, "Radial Load P"), "Radial Load P" + T + T + "lbf");
    EXPECT_EQ(row(l, "Gear"), "Gear" + T + "4th" + T);
}

// Each input's line follows its own control, one control at a time: the
// changed control's line takes the new value and no other input's line moves
// (a line that copies a neighbour's value, or a constant, is caught here).
struct CopiedInput {
    const char *Caption;
    std::function<void(FormDriver &)> Change;
    const char *Copied; // nullptr: the list's text after the change
    bool OthersStay = true;
};

void typeInto(QLineEdit *edit, const char *text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromLatin1(text));
}

template <class Edit>
std::function<void(FormDriver &)> typing(Edit *TForm1::*edit, const char *text)
{
    return [edit, text](FormDriver &d) { typeInto(d.form().*edit, text); };
}

template <class List> std::function<void(FormDriver &)> nextEntry(List *TForm1::*list)
{
    return [list](FormDriver &d) {
        QWidget *w = d.form().*list;
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Down);
    };
}

class FormCopyInput : public FormCopy, public ::testing::WithParamInterface<CopiedInput>
{
};

TEST_P(FormCopyInput, TheLineFollowsItsControlAndNoOther)
{
    const CopiedInput &c = GetParam();
    const QString caption = QString::fromLatin1(c.Caption);
    // The inputs follow the ten readout lines.
    const QStringList before = lines(f.ResultsText()).mid(10);
    ASSERT_FALSE(row(before, caption).isEmpty()) << c.Caption;
    c.Change(driver);
    const QStringList after = lines(f.ResultsText()).mid(10);
    ASSERT_EQ(after.size(), before.size());
    const QString value = row(after, caption).section(QLatin1Char('\t'), 1, 1);
    if (c.Copied) {
        EXPECT_EQ(value, QString::fromLatin1(c.Copied));
    } else {
        const QString was = row(before, caption).section(QLatin1Char('\t'), 1, 1);
        EXPECT_NE(value, was);
        for (const TComboBox *list :
             {f.ComboEngine, f.ComboFinalRatio, f.ComboTyreSize, f.ComboKerbWeight}) {
            if (list->hasFocus()) {
                EXPECT_EQ(value, list->Text());
            }
        }
    }
    EXPECT_NE(row(after, caption), row(before, caption));
    if (c.OthersStay) {
        for (int i = 0; i < after.size(); ++i) {
            if (after[i].section(QLatin1Char('\t'), 0, 0) != caption) {
                EXPECT_EQ(after[i], before[i]);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryInput, FormCopyInput,
    ::testing::Values(
        CopiedInput{"transmission loss", typing(&TForm1::EditTransmissionLoss, "0.23"), "0.23"},
        CopiedInput{"overdrive ratio", typing(&TForm1::EditOverDriveRatio, "0.9"), "0.9"},
        CopiedInput{"PitchCircleRad", typing(&TForm1::EditPCR, "1.37"), "1.37"},
        CopiedInput{"Pressure Angle", typing(&TForm1::EditPressAngle, "22.5"), "22.5"},
        CopiedInput{"Helix Angle", typing(&TForm1::EditHelixAngle, "17"), "17"},
        CopiedInput{"Bearing Overhang", typing(&TForm1::EditOverhang, "1.6"), "1.6"},
        CopiedInput{"Load factor", typing(&TForm1::EditLoadFactor, "2.4"), "2.4"},
        CopiedInput{"Rolling Resistance", typing(&TForm1::EditRollingResistance, "47"), "47"},
        CopiedInput{"Frontal Area", typing(&TForm1::EditFrontalArea, "23.5"), "23.5"},
        CopiedInput{"Drag Coef", typing(&TForm1::EditDragCoef, "0.5"), "0.5"},
        CopiedInput{"Dynamic Load Rating Cr", typing(&TForm1::EditDynLoadRating, "2500"), "2500"},
        CopiedInput{"Load", [](FormDriver &d) { typeInto(d.form().SELoad->editor(), "1200"); },
                    "1200"},
        CopiedInput{"Average Gradient",
                    [](FormDriver &d) { typeInto(d.form().SEGradient->editor(), "0.03"); }, "0.03"},
        CopiedInput{"Engine", nextEntry(&TForm1::ComboEngine), nullptr},
        CopiedInput{"final drive gear ratio", nextEntry(&TForm1::ComboFinalRatio), nullptr},
        CopiedInput{"tyre size", nextEntry(&TForm1::ComboTyreSize), nullptr},
        CopiedInput{"Unladen Weight", nextEntry(&TForm1::ComboKerbWeight), nullptr},
        CopiedInput{"Gas Pedal", [](FormDriver &d) { d.pedal(40); }, "40"},
        CopiedInput{"Gear", [](FormDriver &d) { FormDriver::click(d.form().RBFourth); }, "4th"},
        // Boost may move the pedal with it.
        CopiedInput{"Boost", [](FormDriver &d) { d.boost(); }, "on", false}),
    [](const ::testing::TestParamInfo<CopiedInput> &p) {
        std::string name;
        for (const char *c = p.param.Caption; *c; ++c)
            if (std::isalnum(static_cast<unsigned char>(*c)))
                name += *c;
        return name;
    });

// A number typed beyond the largest double (the edits keep a wider type)
// runs as the largest double: no infinity reaches the model, the readouts or
// the copied results.
class FormCopyHugeNumber : public FormCopy,
                           public ::testing::WithParamInterface<TESBPosFloatEdit *TForm1::*>
{
};

TEST_P(FormCopyHugeNumber, RunsAsTheLargestDouble)
{
    TESBPosFloatEdit *edit = f.*GetParam();
    edit->setFocus();
    edit->selectAll();
    QApplication::clipboard()->setText(QString(400, QLatin1Char('9')));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    ASSERT_GT(edit->AsFloat(), std::numeric_limits<double>::max()) << edit->text().toStdString();
    driver.driveTo(30);
    const TDriveModel &m = driver.model();
    for (double v : {m.TransmissionLoss, m.OverdriveRatio, m.PitchCircleRadius, m.PressureAngle,
                     m.HelixAngle, m.Overhang, m.LoadFactor, m.FrontalArea, m.DragCoef,
                     f.LoadRating()})
        EXPECT_TRUE(std::isfinite(v));
    const QString text = f.ResultsText();
    EXPECT_FALSE(text.contains(QLatin1String("inf"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QLatin1String("nan"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("e+308"))) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(EveryFloatEdit, FormCopyHugeNumber,
                         ::testing::Values(&TForm1::EditTransmissionLoss, &TForm1::EditOverDriveRatio,
                                           &TForm1::EditPCR, &TForm1::EditPressAngle,
                                           &TForm1::EditHelixAngle, &TForm1::EditOverhang,
                                           &TForm1::EditLoadFactor, &TForm1::EditFrontalArea,
                                           &TForm1::EditDragCoef, &TForm1::EditDynLoadRating));

// With a comma for a decimal mark every number of the text has one, and an
// input is copied as the model runs on it, not as its box rounds it.
TEST(FormCopyLocale, EveryNumberHasTheLocalesDecimalMarkAndTheModelsValue)
{
    struct Restore {
        ~Restore() { QLocale::setDefault(QLocale::c()); }
    } restore;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    FormDriver driver;
    TForm1 &f = driver.form();
    // As the program's binding does: a value from a file keeps its digits.
    f.SELoad->setFullAccuracy(true);
    f.SELoad->setValue(1500.5);
    ASSERT_EQ(driver.model().Load, 1500.5);
    ASSERT_NE(f.SELoad->editor()->text(), QStringLiteral("1500,5"));
    driver.driveTo(60);

    const QStringList l = f.ResultsText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(l.size(), 30);
    int withDecimals = 0;
    for (const QString &line : l) {
        const QString value = line.section(QLatin1Char('\t'), 1, 1);
        if (line.startsWith(QLatin1String("Engine\t")) ||
            line.startsWith(QLatin1String("final drive")) ||
            line.startsWith(QLatin1String("tyre size")) ||
            line.startsWith(QLatin1String("Unladen Weight")))
            continue; // list entries are names, not numbers
        EXPECT_FALSE(value.contains(QLatin1Char('.'))) << line.toStdString();
        withDecimals += value.contains(QLatin1Char(','));
    }
    EXPECT_GE(withDecimals, 8);
    const QString T = QStringLiteral("\t");
    EXPECT_TRUE(l.contains("Load" + T + "1500,5" + T + "lbs")) << l.join('\n').toStdString();
    EXPECT_TRUE(l.contains("transmission loss" + T + "0,17" + T));
    EXPECT_TRUE(l.contains("Dynamic Load Rating Cr" + T + "2081" + T + "lbf"));
}

TEST_F(FormCopy, AnEditWithASelectionKeepsItsOwnCtrlC)
{
    driver.tick();
    const QString results = f.ResultsText();

    // Edit, spin edit and list without a selection: the results.
    for (QWidget *w : {static_cast<QWidget *>(f.EditDragCoef), static_cast<QWidget *>(f.SELoad),
                       static_cast<QWidget *>(f.ComboTyreSize)}) {
        SCOPED_TRACE(w->objectName().toStdString());
        QApplication::clipboard()->setText(QStringLiteral("before"));
        w->setFocus();
        if (auto *edit = qobject_cast<QLineEdit *>(QApplication::focusWidget()))
            edit->deselect();
        else if (auto *combo = qobject_cast<QComboBox *>(QApplication::focusWidget()))
            combo->lineEdit()->deselect();
        EXPECT_EQ(copyFrom(w), results);
    }

    // With a selection: just the selected text.
    f.EditDragCoef->setFocus();
    f.EditDragCoef->setSelection(0, 3);
    EXPECT_EQ(copyFrom(f.EditDragCoef), f.EditDragCoef->text().left(3));
    f.SELoad->setFocus();
    f.SELoad->editor()->selectAll();
    EXPECT_EQ(copyFrom(f.SELoad), QStringLiteral("50"));
    f.ComboTyreSize->setFocus();
    f.ComboTyreSize->lineEdit()->setSelection(0, 2);
    EXPECT_EQ(copyFrom(f.ComboTyreSize), f.ComboTyreSize->Text().left(2));
}

// The entries of the menu that a right click at pos on w opens.
QStringList menuAt(QWidget *w, QPoint pos)
{
    QStringList seen;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            for (QAction *a : menu->actions())
                seen << a->text();
            menu->close();
            poll.stop();
        }
    });
    poll.start();
    QContextMenuEvent click(QContextMenuEvent::Mouse, pos, w->mapToGlobal(pos));
    QApplication::sendEvent(w, &click);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !poll.isActive(); }, 5000));
    return seen;
}

TEST_F(FormCopy, RightClickOnTheBackgroundOffersCopyResults)
{
    ASSERT_NE(f.ActionCopyResults, nullptr);
    EXPECT_TRUE(f.actions().contains(f.ActionCopyResults));
    EXPECT_EQ(f.ActionCopyResults->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));

    // Between two group boxes, inside a group box, on a readout. The menu
    // lists every action of the window, "Copy results" first.
    const QStringList menu = menuAt(&f, {445, 100});
    ASSERT_FALSE(menu.isEmpty());
    EXPECT_EQ(menu.first(), QStringLiteral("Copy results"));
    EXPECT_EQ(menu.size(), f.actions().size());
    EXPECT_TRUE(menuAt(f.GroupBox1, {20, 115}).contains(QStringLiteral("Copy results")));
    EXPECT_TRUE(menuAt(f.NumLabSpeed, {5, 5}).contains(QStringLiteral("Copy results")));

    // An edit keeps its own menu.
    const QStringList editMenu = menuAt(f.EditDragCoef, {5, 5});
    EXPECT_FALSE(editMenu.isEmpty());
    EXPECT_FALSE(editMenu.contains(QStringLiteral("Copy results")));

    // Choosing the entry copies.
    driver.tick();
    f.ActionCopyResults->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), f.ResultsText());
}

TEST_F(FormCopy, EveryInputAndReadoutHasATooltipInTheCurrentUnits)
{
    const std::vector<QWidget *> described = {f.ComboEngine,
                                              f.NumLabRpm,
                                              f.NumLabPower,
                                              f.NumLabTorque,
                                              f.EditTransmissionLoss,
                                              f.EditOverDriveRatio,
                                              f.ComboFinalRatio,
                                              f.ComboTyreSize,
                                              f.EditPCR,
                                              f.EditPressAngle,
                                              f.EditHelixAngle,
                                              f.EditOverhang,
                                              f.EditLoadFactor,
                                              f.EditRollingResistance,
                                              f.EditFrontalArea,
                                              f.EditDragCoef,
                                              f.CBMph,
                                              f.NumLabSpeed,
                                              f.NumLabResistance,
                                              f.NumLabForceAvailable,
                                              f.EditDynLoadRating,
                                              f.NUmLabIPBRadialForce,
                                              f.NumLabCOnP,
                                              f.CBMiles,
                                              f.NumLabIPBLife10,
                                              f.ComboKerbWeight,
                                              f.SELoad,
                                              f.SEGradient,
                                              f.BtnBoostMe,
                                              f.BtnAbout,
                                              f.MeterSpeed,
                                              f.MeterRpm,
                                              f.RBFourth,
                                              f.RBFifth,
                                              f.PBPercTorque,
                                              f.TBGasPedal};
    for (QWidget *w : described)
        EXPECT_GT(w->toolTip().size(), 20) << w->objectName().toStdString();

    // Long tips are broken into lines a tooltip can show.
    for (QWidget *w : described)
        for (const QString &line : w->toolTip().split(QLatin1Char('\n')))
            EXPECT_LE(line.size(), 60) << w->objectName().toStdString();
    EXPECT_TRUE(f.SEGradient->toolTip().simplified().startsWith(
        QStringLiteral("Average gradient as rise per distance travelled: 0.05 is a 5 % grade")));
    EXPECT_TRUE(f.EditDynLoadRating->toolTip().simplified().startsWith(
        QStringLiteral("Dynamic load rating C of the 63/22 bearing, in lbf")));
    EXPECT_TRUE(f.SELoad->toolTip().simplified().contains(QStringLiteral("0 to 3000")));
    // The readouts show their hint as their tooltip.
    EXPECT_EQ(f.NumLabSpeed->Hint(), f.NumLabSpeed->toolTip());
    EXPECT_TRUE(f.NumLabSpeed->ShowHint());

    EXPECT_TRUE(f.NumLabSpeed->toolTip().simplified().contains(QStringLiteral("mph")));
    EXPECT_TRUE(f.NumLabIPBLife10->toolTip().simplified().contains(QStringLiteral("thousands of miles")));
    FormDriver::click(f.CBMph);
    FormDriver::click(f.CBMiles);
    EXPECT_TRUE(f.NumLabSpeed->toolTip().simplified().contains(QStringLiteral("km/h")));
    EXPECT_FALSE(f.NumLabSpeed->toolTip().simplified().contains(QStringLiteral("mph")));
    EXPECT_TRUE(f.TBGasPedal->toolTip().simplified().contains(QStringLiteral("161 km/h")));
    EXPECT_TRUE(f.NumLabIPBLife10->toolTip().simplified().contains(QStringLiteral("thousands of kilometres")));
    FormDriver::click(f.CBMph);
    EXPECT_TRUE(f.NumLabSpeed->toolTip().simplified().contains(QStringLiteral("mph")));
    EXPECT_FALSE(f.TBGasPedal->toolTip().simplified().contains(QStringLiteral("km/h")));

    // Screen readers get the tooltip as the description.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(f.SEGradient)->text(QAccessible::Description),
              f.SEGradient->toolTip());
}

TEST(AboutKeys, TheHelpListsTheKeyboardKeys)
{
    const QStringList lines = AboutHelpText().split(QLatin1Char('\n'));
    const qsizetype keys = lines.indexOf(QStringLiteral("KEYBOARD:"));
    ASSERT_GT(keys, lines.indexOf(QStringLiteral("OTHER STUFF:")));
    const QString section = lines.mid(keys).join(QLatin1Char('\n'));
    for (const char *key : {"Tab", "Shift+Tab", "Enter", "Up", "Down", "Esc", "Ctrl+N", "PgUp",
                            "PgDn", "Ctrl+PgUp", "Ctrl+PgDn", "Alt+B", "Ctrl+C", "right click",
                            "Copy results", "Ctrl+O", "Ctrl+S", "Ctrl+L", "Ctrl+D", "Ctrl+I"})
        EXPECT_TRUE(section.contains(QLatin1String(key))) << key;
}

} // namespace
