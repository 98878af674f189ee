#include "ui/support/FormFixture.h"

#include "model/DisplayValues.h"
#include "widgets/input/ESBPCSNumEdit.h"
#include "widgets/input/ESBPCSSpinEdit.h"
#include "widgets/display/Meter.h"
#include "widgets/display/NumLab.h"
#include "ui/form/StdControls.h"
#include "widgets/button/oxBtns.h"

#include <QCheckBox>
#include <QProgressBar>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace
{

// How often each readout and gauge has painted: unchanged counts prove a
// tick showed nothing new.
std::vector<int> renderCounts(TForm1 &f)
{
    std::vector<int> n;
    for (TNumLab *l : f.findChildren<TNumLab *>())
        n.push_back(l->renderCount());
    for (TMeter *m : f.findChildren<TMeter *>())
        n.push_back(m->renderCount());
    return n;
}

TEST(FormDrive, BoostFromRestClimbsTo1010AndReleasesTheButton)
{
    FormDriver d;
    TForm1 &f = d.form();
    d.tick();
    ASSERT_EQ(d.model().EngineRpm, 0);
    d.boost();
    EXPECT_TRUE(f.BtnBoostMe->Value());
    EXPECT_TRUE(d.model().BoostFlag);

    d.tick(100);
    EXPECT_EQ(d.model().EngineRpm, 1000);
    EXPECT_TRUE(f.BtnBoostMe->Value());
    d.tick();
    EXPECT_EQ(d.model().EngineRpm, 1010);
    EXPECT_FALSE(f.BtnBoostMe->Value());
    EXPECT_FALSE(d.model().BoostFlag);
    EXPECT_EQ(f.NumLabRpm->Value(), 1010);
    EXPECT_DOUBLE_EQ(f.MeterRpm->Value(), 1010);

    // Released by the window, not clicked: the next tick goes on normally.
    d.tick();
    EXPECT_FALSE(d.model().RecalcFlag);
    EXPECT_EQ(f.NumLabSpeed->ColorLabBakG(), clBlack);
    EXPECT_EQ(f.NumLabSpeed->ColorLabText(), clLime);
}

TEST(FormDrive, FullPedalReachesTopSpeedAndStaysWhiteOnRed)
{
    FormDriver d;
    TForm1 &f = d.form();
    d.driveTo(100);
    EXPECT_EQ(d.model().EngineRpm, 3010);
    EXPECT_NEAR(f.NumLabSpeed->Value(), 70.7627, 1e-4);
    EXPECT_EQ(f.NumLabSpeed->ShownText(), QStringLiteral("70.8"));
    EXPECT_NEAR(f.MeterSpeed->Value(), 70.7627, 1e-4);
    EXPECT_EQ(f.NumLabSpeed->ColorLabBakG(), clRed);
    EXPECT_EQ(f.NumLabSpeed->ColorLabText(), clWhite);
    EXPECT_EQ(f.PBPercTorque->value(), 0);
    d.tick(10);
    EXPECT_EQ(d.model().EngineRpm, 3010);
    EXPECT_EQ(f.NumLabSpeed->ColorLabBakG(), clRed);
}

TEST(FormDrive, InsideTheDeadBandTicksChangeNothing)
{
    FormDriver d;
    TForm1 &f = d.form();
    d.driveTo(50);
    const double v = d.model().RoadSpeed;
    ASSERT_GT(v, 49);
    ASSERT_LT(v, 51);
    ASSERT_FALSE(d.model().RecalcFlag);
    EXPECT_EQ(f.NumLabSpeed->ColorLabBakG(), clBlack);

    const auto before = renderCounts(f);
    const double rpm = d.model().EngineRpm;
    d.tick(20);
    EXPECT_EQ(d.model().EngineRpm, rpm);
    EXPECT_EQ(renderCounts(f), before);

    // A new overdrive ratio sets no recalc: still nothing shows.
    f.EditOverDriveRatio->setFocus();
    f.EditOverDriveRatio->selectAll();
    QTest::keyClicks(f.EditOverDriveRatio, QStringLiteral("0.9"));
    EXPECT_DOUBLE_EQ(d.model().OverdriveRatio, 0.9);
    d.tick(20);
    EXPECT_EQ(d.model().EngineRpm, rpm);
    EXPECT_EQ(renderCounts(f), before);

    // Anything that does set it brings the new ratio in.
    FormDriver::click(f.RBFourth);
    FormDriver::click(f.RBFifth);
    d.tick();
    EXPECT_NE(renderCounts(f), before);
    EXPECT_NEAR(f.NumLabSpeed->Value(), v * 0.813 / 0.9, 0.5);
}

TEST(FormDrive, SpeedInKmhAtOnceAndTheGaugeStaysInMph)
{
    FormDriver d;
    TForm1 &f = d.form();
    d.driveTo(50);
    const double mph = d.model().RoadSpeed;

    FormDriver::click(f.CBMph);
    ASSERT_FALSE(f.CBMph->isChecked());
    EXPECT_EQ(f.NumLabSpeed->RightText(), QStringLiteral("kph"));
    EXPECT_DOUBLE_EQ(f.NumLabSpeed->Value(), mph / 0.621);

    // Refreshes keep km/h; the gauge's scale is in mph and keeps getting mph.
    d.pedal(30);
    d.tick(5);
    EXPECT_EQ(f.NumLabSpeed->RightText(), QStringLiteral("kph"));
    EXPECT_DOUBLE_EQ(f.NumLabSpeed->Value(), d.model().RoadSpeed / 0.621);
    EXPECT_DOUBLE_EQ(f.MeterSpeed->Value(), d.model().RoadSpeed);

    FormDriver::click(f.CBMph);
    EXPECT_EQ(f.NumLabSpeed->RightText(), QStringLiteral("mph"));
    EXPECT_DOUBLE_EQ(f.NumLabSpeed->Value(), d.model().RoadSpeed);
}

TEST(FormDrive, LifeAt2000RpmInMilesAndKilometres)
{
    FormDriver d;
    TForm1 &f = d.form();
    d.tick();
    d.boost();
    d.tickUntil([&] { return !d.model().BoostFlag; });
    d.pedal(100);
    ASSERT_TRUE(d.tickUntil([&] { return d.model().EngineRpm == 2000; }));

    EXPECT_NEAR(f.NumLabIPBLife10->Value(), 152.3611, 1e-4);
    EXPECT_EQ(f.NumLabIPBLife10->ShownText(), QStringLiteral("152"));
    EXPECT_EQ(f.NumLabIPBLife10->RightText(), QStringLiteral("000miles"));
    EXPECT_NEAR(f.NumLabCOnP->Value(), 7.29898, 1e-5);
    EXPECT_NEAR(f.NUmLabIPBRadialForce->Value(), 285.1082, 1e-4);
    EXPECT_EQ(f.PBPercTorque->value(), 50);

    FormDriver::click(f.CBMiles);
    EXPECT_DOUBLE_EQ(f.NumLabIPBLife10->Value(), 245.348);
    EXPECT_EQ(f.NumLabIPBLife10->ShownText(), QStringLiteral("245"));
    EXPECT_EQ(f.NumLabIPBLife10->RightText(), QStringLiteral("000kms"));
}

TEST(FormDrive, FourthGearEmptiesTheBearingReadoutsButKeepsTheUnitSwitch)
{
    FormDriver d;
    TForm1 &f = d.form();
    d.driveTo(50);
    const double lifeKm = d.model().LifeKm;
    FormDriver::click(f.RBFourth);
    EXPECT_TRUE(f.RBFourth->isChecked());
    EXPECT_FALSE(f.RBFifth->isChecked());
    EXPECT_EQ(d.model().Gear, TGear::Fourth);
    d.tick();
    EXPECT_TRUE(f.NUmLabIPBRadialForce->Empty());
    EXPECT_TRUE(f.NumLabCOnP->Empty());
    EXPECT_TRUE(f.NumLabIPBLife10->Empty());
    EXPECT_FALSE(f.NumLabResistance->Empty());
    EXPECT_EQ(d.model().LifeKm, lifeKm);

    FormDriver::click(f.CBMiles);
    EXPECT_EQ(f.NumLabIPBLife10->RightText(), QStringLiteral("000kms"));
    EXPECT_DOUBLE_EQ(f.NumLabIPBLife10->Value(), *Shown::LastLifeThousands(d.model(), false));
    EXPECT_TRUE(f.NumLabIPBLife10->Empty());

    FormDriver::click(f.RBFifth);
    d.tick();
    EXPECT_FALSE(f.NumLabIPBLife10->Empty());
    EXPECT_FALSE(f.NumLabCOnP->Empty());
}

TEST(FormDrive, AboveTheRevLimitPowerTorqueAndForceAreEmpty)
{
    // The big engine in fourth runs past 4000 rpm; the small one's limit is 4000.
    FormDriver d;
    TForm1 &f = d.form();
    f.ComboEngine->setFocus();
    QTest::keyClick(f.ComboEngine, Qt::Key_Down);
    QTest::keyClick(f.ComboEngine, Qt::Key_Down);
    ASSERT_EQ(d.model().Engine.Code, "Z22");
    FormDriver::click(f.RBFourth);
    d.tick();
    d.boost();
    d.tickUntil([&] { return !d.model().BoostFlag; });
    d.pedal(100);
    ASSERT_TRUE(d.tickUntil([&] { return d.model().EngineRpm > 4100; }));

    QTest::keyClick(f.ComboEngine, Qt::Key_Up);
    QTest::keyClick(f.ComboEngine, Qt::Key_Up);
    ASSERT_EQ(d.model().Engine.Code, "SD22");
    const double rpm = d.model().EngineRpm;
    d.tick();
    EXPECT_TRUE(f.NumLabPower->Empty());
    EXPECT_TRUE(f.NumLabTorque->Empty());
    EXPECT_TRUE(f.NumLabForceAvailable->Empty());
    EXPECT_FALSE(f.NumLabResistance->Empty());
    EXPECT_EQ(f.PBPercTorque->value(), 0);
    EXPECT_EQ(f.NumLabSpeed->ColorLabBakG(), clRed);
    EXPECT_EQ(f.NumLabSpeed->ColorLabText(), clWhite);
    EXPECT_EQ(f.NumLabRpm->Value(), rpm);
    // The engine then falls back under its limit, step by step.
    EXPECT_EQ(d.model().EngineRpm, rpm - 10);
    ASSERT_TRUE(d.tickUntil([&] { return !f.NumLabPower->Empty(); }));
    EXPECT_LE(d.model().EngineRpm, 4000);
}

TEST(FormDrive, InputsReachTheModelOnlyAtTheNextTick)
{
    FormDriver d;
    TForm1 &f = d.form();
    d.driveTo(50);
    const double resistance = f.NumLabResistance->Value();

    // The load: Up on the spin edit adds a step of 50 lb.
    f.SELoad->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_DOUBLE_EQ(d.model().Load, 100);
    EXPECT_TRUE(d.model().RecalcFlag);
    EXPECT_EQ(f.NumLabResistance->Value(), resistance);

    // A steeper road: the gradient's arrow steps 0.001 at a time.
    f.SEGradient->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_DOUBLE_EQ(d.model().Gradient, 0.002);
    d.tick();
    EXPECT_GT(f.NumLabResistance->Value(), resistance);

    // An input-gear edit takes effect too.
    f.EditLoadFactor->setFocus();
    f.EditLoadFactor->selectAll();
    QTest::keyClicks(f.EditLoadFactor, QStringLiteral("2.4"));
    EXPECT_DOUBLE_EQ(d.model().LoadFactor, 2.4);
    EXPECT_TRUE(d.model().RecalcFlag);
    const double p = d.model().RadialLoad;
    d.tick();
    EXPECT_NEAR(f.NUmLabIPBRadialForce->Value(), p * 2, p * 0.05);

    // The resistance edits are all re-read whichever changed.
    f.EditDragCoef->setFocus();
    f.EditDragCoef->selectAll();
    QTest::keyClicks(f.EditDragCoef, QStringLiteral("0.5"));
    EXPECT_DOUBLE_EQ(d.model().DragCoef, 0.5);
    EXPECT_DOUBLE_EQ(d.model().FrontalArea, 22.5);
    EXPECT_DOUBLE_EQ(d.model().RollingResistance, 45);
}

TEST(FormDrive, AGradientOfAHundredStopsAtTheLimitWithEmptyBearingReadouts)
{
    // The spin edit allows 0..100 and the sine of 100 is negative: the road
    // pulls, yet the engine must stop at its 4000 rpm limit and no bearing
    // readout may show a negative P, C/P or life.
    FormDriver d;
    TForm1 &f = d.form();
    f.SEGradient->setFocus();
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
    ASSERT_DOUBLE_EQ(d.model().Gradient, 100);
    d.tick();
    d.boost();
    d.pedal(100);
    double highest = 0;
    for (int i = 0; i < 700; ++i) {
        d.tick();
        highest = std::max(highest, d.model().EngineRpm);
        ASSERT_LE(f.NumLabRpm->Value(), 4010) << "tick " << i;
        if (d.model().RadialLoad < 0) {
            ASSERT_TRUE(f.NUmLabIPBRadialForce->Empty()) << "tick " << i;
            ASSERT_TRUE(f.NumLabCOnP->Empty()) << "tick " << i;
            ASSERT_TRUE(f.NumLabIPBLife10->Empty()) << "tick " << i;
        }
    }
    EXPECT_EQ(highest, 4010);
    EXPECT_LT(d.model().RadialLoad, 0);
    EXPECT_EQ(f.NumLabSpeed->ColorLabBakG(), clRed) << "no force above the limit";
    EXPECT_DOUBLE_EQ(f.MeterRpm->Value(), d.model().EngineRpm);
}

} // namespace
