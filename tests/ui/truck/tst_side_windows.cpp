// The windows beside the main window: where they open (on a screen wide
// enough for both, which this binary's platform gives), and every input of
// the main window reaching them.

#include "ui/support/WindowsFixture.h"

#include "analysis/DutyCycle.h"
#include "analysis/LifeCurve.h"
#include "analysis/OperatingPoint.h"
#include "ui/duty/DutyTable.h"
#include "ui/duty/DutyWindow.h"
#include "ui/form/StdControls.h"
#include "ui/lifemap/LifeMapWindow.h"
#include "widgets/input/ESBPCSNumEdit.h"
#include "widgets/input/ESBPCSSpinEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace
{

QRect screenArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// Where the main window stands, and which window opens first.
struct Placement {
    const char *Name;
    QPoint MainAt; // from the screen's top left
    bool LifeMapFirst;
};

class SideWindowPlacement : public ::testing::TestWithParam<Placement>
{
};

TEST_P(SideWindowPlacement, EachOpensBesideTheMainWindowAndOverNeither)
{
    const Placement c = GetParam();
    // The platform of this binary has a wide screen; on a small one nothing
    // fits beside the main window and there is nothing to test.
    ASSERT_GE(screenArea().width(), 1900);
    ASSERT_GE(screenArea().height(), 1000);
    WindowsFixture w;
    w.form().move(screenArea().topLeft() + c.MainAt);
    QAction *first = c.LifeMapFirst ? w.actions().LifeMapAction : w.actions().DutyAction;
    QAction *second = c.LifeMapFirst ? w.actions().DutyAction : w.actions().LifeMapAction;
    first->trigger();
    second->trigger();
    QWidget *map = w.actions().LifeMap();
    QWidget *duty = w.actions().DutyWindow();
    ASSERT_TRUE(map && duty);
    const QRect main = w.form().frameGeometry();
    for (QWidget *side : {map, duty}) {
        SCOPED_TRACE(side->objectName().toStdString());
        EXPECT_TRUE(screenArea().contains(side->frameGeometry()));
        EXPECT_FALSE(side->frameGeometry().intersects(main));
    }
    EXPECT_FALSE(map->frameGeometry().intersects(duty->frameGeometry()))
        << "life map at " << map->x() << "," << map->y() << ", duty window at " << duty->x()
        << "," << duty->y();
}

INSTANTIATE_TEST_SUITE_P(
    MainWindowAtEachSide, SideWindowPlacement,
    ::testing::Values(Placement{"LeftLifeMapFirst", {0, 0}, true},
                      Placement{"LeftDutyFirst", {0, 0}, false},
                      Placement{"RightLifeMapFirst", {1200, 0}, true},
                      Placement{"RightDutyFirst", {1200, 0}, false}),
    [](const ::testing::TestParamInfo<Placement> &p) { return std::string(p.param.Name); });

// The window already open is avoided where it stands now, after the user
// moved it, and a window opened again is placed again.
TEST(SideWindowPlacementAfterAMove, AvoidsTheOtherWindowWhereItIsNow)
{
    ASSERT_GE(screenArea().width(), 1900);
    WindowsFixture w;
    w.form().move(screenArea().topLeft());
    w.actions().LifeMapAction->trigger();
    QWidget *map = w.actions().LifeMap();
    ASSERT_TRUE(map);
    // Right where the duty window would go first.
    map->move(w.form().frameGeometry().right() + 8, w.form().frameGeometry().top());
    w.actions().DutyAction->trigger();
    QWidget *duty = w.actions().DutyWindow();
    ASSERT_TRUE(duty);
    EXPECT_FALSE(map->frameGeometry().intersects(duty->frameGeometry()));
    EXPECT_FALSE(duty->frameGeometry().intersects(w.form().frameGeometry()));

    // Closed, the map is placed anew beside the main window, away from the duty window.
    map->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    duty->move(w.form().frameGeometry().right() + 8, w.form().frameGeometry().top());
    w.actions().LifeMapAction->trigger();
    map = w.actions().LifeMap();
    ASSERT_TRUE(map);
    EXPECT_FALSE(map->frameGeometry().intersects(duty->frameGeometry()));
    EXPECT_FALSE(map->frameGeometry().intersects(w.form().frameGeometry()));
}

// Every input of the main window changed as a user does reaches the session
// and both windows beside it: the life map's curve and the duty window's
// combined life are the analysis of the truck as it is now.
struct InputChange {
    const char *Name;
    std::function<void(TForm1 &)> Change;
    // On level ground the weights only change what the truck can hold, and
    // the engine only what force is available: not the lives.
    bool MovesTheLives = true;
};

void typeInto(QLineEdit *edit, const char *text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromLatin1(text));
}

std::function<void(TForm1 &)> typing(QLineEdit *(*edit)(TForm1 &), const char *text)
{
    return [edit, text](TForm1 &f) { typeInto(edit(f), text); };
}

std::function<void(TForm1 &)> nextEntry(QWidget *(*list)(TForm1 &))
{
    return [list](TForm1 &f) {
        list(f)->setFocus();
        QTest::keyClick(list(f), Qt::Key_Down);
    };
}

class InputsReachTheSideWindows : public ::testing::TestWithParam<InputChange>
{
};

std::vector<std::optional<double>> lives(const std::vector<TOperatingPoint> &points)
{
    std::vector<std::optional<double>> out;
    for (const TOperatingPoint &p : points)
        out.push_back(p.LifeKm);
    return out;
}

TEST_P(InputsReachTheSideWindows, TheCurveAndTheCombinedLifeFollow)
{
    WindowsFixture w;
    w.driver.pedal(50);
    w.actions().LifeMapAction->trigger();
    w.actions().DutyAction->trigger();
    TLifeMapWindow *map = w.actions().LifeMap();
    TDutyWindow *duty = w.actions().DutyWindow();
    ASSERT_TRUE(map && duty);
    const TTruck before = w.session.Truck();
    const auto curveBefore = lives(map->Points());
    const int recomputes = map->Recomputes();

    GetParam().Change(w.form());
    w.driver.tick();

    const TTruck &now = w.session.Truck();
    ASSERT_FALSE(SameInputs(now, before)) << "the session did not take the change";
    EXPECT_GT(map->Recomputes(), recomputes);
    const auto curve = lives(SpeedSweep(now, TGear::Fifth, LifeMap::CurvePoints));
    EXPECT_EQ(lives(map->Points()), curve);
    if (GetParam().MovesTheLives) {
        EXPECT_NE(curve, curveBefore) << "the input does not move the curve: pick another value";
    }
    const TDutyResult result = DutyLife(now, duty->TableModel()->Segments());
    ASSERT_TRUE(result.LifeKm);
    ASSERT_TRUE(duty->CombinedLife());
    EXPECT_DOUBLE_EQ(*duty->CombinedLife(), LifeMap::LifeShown(*result.LifeKm, now.LifeInMiles));
}

INSTANTIATE_TEST_SUITE_P(
    EveryInput, InputsReachTheSideWindows,
    ::testing::Values(
        InputChange{"LoadRating",
                    typing([](TForm1 &f) -> QLineEdit * { return f.EditDynLoadRating; }, "2500")},
        InputChange{"TransmissionLoss",
                    typing([](TForm1 &f) -> QLineEdit * { return f.EditTransmissionLoss; }, "0.3")},
        InputChange{"OverdriveRatio",
                    typing([](TForm1 &f) -> QLineEdit * { return f.EditOverDriveRatio; }, "0.9")},
        InputChange{"PitchRadius", typing([](TForm1 &f) -> QLineEdit * { return f.EditPCR; }, "1.3")},
        InputChange{"PressureAngle",
                    typing([](TForm1 &f) -> QLineEdit * { return f.EditPressAngle; }, "25")},
        InputChange{"HelixAngle",
                    typing([](TForm1 &f) -> QLineEdit * { return f.EditHelixAngle; }, "25")},
        InputChange{"Overhang", typing([](TForm1 &f) -> QLineEdit * { return f.EditOverhang; }, "1.6")},
        InputChange{"LoadFactor",
                    typing([](TForm1 &f) -> QLineEdit * { return f.EditLoadFactor; }, "1.5")},
        InputChange{"RollingResistance",
                    typing([](TForm1 &f) -> QLineEdit * { return f.EditRollingResistance; }, "90")},
        InputChange{"FrontalArea",
                    typing([](TForm1 &f) -> QLineEdit * { return f.EditFrontalArea; }, "30")},
        InputChange{"DragCoef", typing([](TForm1 &f) -> QLineEdit * { return f.EditDragCoef; }, "0.9")},
        InputChange{"Load", typing([](TForm1 &f) -> QLineEdit * { return f.SELoad->editor(); }, "2000"),
                    false},
        InputChange{"Gradient",
                    typing([](TForm1 &f) -> QLineEdit * { return f.SEGradient->editor(); }, "0.02")},
        InputChange{"Engine", nextEntry([](TForm1 &f) -> QWidget * { return f.ComboEngine; }), false},
        InputChange{"FinalDrive", nextEntry([](TForm1 &f) -> QWidget * { return f.ComboFinalRatio; })},
        InputChange{"TyreSize", nextEntry([](TForm1 &f) -> QWidget * { return f.ComboTyreSize; })},
        InputChange{"KerbWeight", nextEntry([](TForm1 &f) -> QWidget * { return f.ComboKerbWeight; }), false}),
    [](const ::testing::TestParamInfo<InputChange> &p) { return std::string(p.param.Name); });

} // namespace
