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
