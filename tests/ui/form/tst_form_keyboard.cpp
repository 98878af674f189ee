#include "ui/support/FormFixture.h"

#include "widgets/input/ESBPCSNumEdit.h"
#include "widgets/input/ESBPCSSpinEdit.h"
#include "ui/form/StdControls.h"
#include "widgets/button/oxBtns.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

namespace
{

// The control a focus widget belongs to: a spin edit for its inner editor, a
// selection list for its line edit.
QWidget *owner(TForm1 &f, QWidget *w)
{
    for (QWidget *compound : std::initializer_list<QWidget *>{f.SELoad, f.SEGradient})
        if (w && compound->isAncestorOf(w))
            return compound;
    for (TComboBox *c : f.findChildren<TComboBox *>())
        if (w && c->isAncestorOf(w))
            return c;
    return w;
}

// Every tab stop of the window in the layout's order: group by group, each
// group's controls by their own order, the checked gear button for the pair.
std::vector<QWidget *> expectedCycle(TForm1 &f)
{
    return {f.EditRollingResistance,
            f.EditFrontalArea,
            f.EditDragCoef, // Resistance
            f.ComboEngine,  // At Crankshaft
            f.ComboFinalRatio,
            f.ComboTyreSize,
            f.EditTransmissionLoss, // Drive Line
            f.EditOverDriveRatio,
            f.CBMph, // Speed
            f.EditPCR,
            f.EditPressAngle,
            f.EditHelixAngle,
            f.EditOverhang, // Input Gear
            f.EditLoadFactor,
            f.EditDynLoadRating,
            f.CBMiles, // Input Bearing
            f.TBGasPedal,
            f.ComboKerbWeight,
            f.SEGradient,
            f.SELoad, // Loading
            f.RBFifth,
            f.BtnAbout};
}

QStringList names(const std::vector<QWidget *> &widgets)
{
    QStringList n;
    for (QWidget *w : widgets)
        n << (w ? w->objectName() : QStringLiteral("(none)"));
    return n;
}

// The controls that Tab or Shift+Tab visits, by name, from the focus now.
QStringList walk(TForm1 &f, Qt::Key key, std::size_t steps)
{
    std::vector<QWidget *> seen;
    for (std::size_t i = 0; i < steps; ++i) {
        QTest::keyClick(QApplication::focusWidget(), key);
        seen.push_back(owner(f, QApplication::focusWidget()));
    }
    return names(seen);
}

TEST(FormKeyboard, StartUpFocusIsTheFirstTabStop)
{
    FormDriver d;
    EXPECT_EQ(QApplication::focusWidget(), d.form().EditRollingResistance);
    EXPECT_TRUE(d.form().RBFifth->isChecked());
}

TEST(FormKeyboard, TabGoesRoundEveryStopOnceAndShiftTabWalksBack)
{
    FormDriver d;
    TForm1 &f = d.form();
    const std::vector<QWidget *> cycle = expectedCycle(f);
    ASSERT_EQ(owner(f, QApplication::focusWidget()), cycle.front());

    // Twice round, so a cycle that only comes round once is caught too.
    std::vector<QWidget *> want(cycle.begin() + 1, cycle.end());
    want.push_back(cycle.front());
    want.insert(want.end(), want.begin(), want.end());
    EXPECT_EQ(walk(f, Qt::Key_Tab, want.size()).join(' ').toStdString(),
              names(want).join(' ').toStdString());

    std::vector<QWidget *> back(cycle.rbegin(), cycle.rend());
    back.insert(back.end(), back.begin(), back.end());
    EXPECT_EQ(walk(f, Qt::Key_Backtab, back.size()).join(' ').toStdString(),
              names(back).join(' ').toStdString());
}

TEST(FormKeyboard, EnterAndArrowsInTheEditsFollowTheTabOrder)
{
    FormDriver d;
    TForm1 &f = d.form();
    // Enter moves on like Tab, from a plain edit and from a spin edit.
    f.EditOverhang->setFocus(Qt::TabFocusReason);
    QTest::keyClick(f.EditOverhang, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), f.EditLoadFactor);
    QTest::keyClick(f.EditLoadFactor, Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), f.EditOverhang);
    QTest::keyClick(f.EditOverhang, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), f.EditLoadFactor);

    f.SELoad->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), f.RBFifth);
    f.SEGradient->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(owner(f, QApplication::focusWidget()), f.SELoad);
}

TEST(FormKeyboard, TheCheckedGearIsTheTabStopAndArrowsSwitchGear)
{
    FormDriver d;
    TForm1 &f = d.form();
    EXPECT_TRUE(f.RBFifth->focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(f.RBFourth->focusPolicy() & Qt::TabFocus);

    f.RBFifth->setFocus(Qt::TabFocusReason);
    QTest::keyClick(f.RBFifth, Qt::Key_Left);
    EXPECT_TRUE(f.RBFourth->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), f.RBFourth);
    EXPECT_EQ(d.model().Gear, TGear::Fourth);
    EXPECT_TRUE(f.RBFourth->focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(f.RBFifth->focusPolicy() & Qt::TabFocus);

    // Tab from the gear pair leaves it; Shift+Tab comes back to the checked one.
    QTest::keyClick(f.RBFourth, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), f.BtnAbout);
    QTest::keyClick(f.BtnAbout, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), f.RBFourth);

    QTest::keyClick(f.RBFourth, Qt::Key_Right);
    EXPECT_TRUE(f.RBFifth->isChecked());
    EXPECT_EQ(d.model().Gear, TGear::Fifth);
}

TEST(FormKeyboard, AltBFromRestWithThePedalSetDrivesTheTruck)
{
    FormDriver d;
    TForm1 &f = d.form();
    d.tick();
    // Pedal first, from the keyboard, then Boost by its accelerator.
    f.TBGasPedal->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 40; ++i)
        QTest::keyClick(f.TBGasPedal, Qt::Key_Right);
    ASSERT_EQ(f.TBGasPedal->value(), 40);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::AltModifier);
    EXPECT_TRUE(f.BtnBoostMe->Value());
    EXPECT_TRUE(d.model().BoostFlag);
    EXPECT_TRUE(d.tickUntil([&] { return d.model().RoadSpeed > 30; }));
    EXPECT_FALSE(f.BtnBoostMe->Value());

    // From an edit too, and a second Alt+B while boosting switches it off.
    FormDriver d2;
    d2.tick();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::AltModifier);
    EXPECT_TRUE(d2.form().BtnBoostMe->Value());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::AltModifier);
    EXPECT_FALSE(d2.form().BtnBoostMe->Value());
    EXPECT_FALSE(d2.model().BoostFlag);
}

} // namespace
