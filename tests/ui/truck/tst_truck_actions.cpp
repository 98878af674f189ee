#include "ui/support/WindowsFixture.h"

#include "ui/duty/DutyWindow.h"
#include "widgets/input/ESBPCSNumEdit.h"
#include "widgets/input/ESBPCSSpinEdit.h"
#include "ui/form/FormTruck.h"
#include "ui/lifemap/LifeMapWindow.h"
#include "ui/form/StdControls.h"
#include "analysis/TruckFile.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{

// A truck unlike the start-up one in every field.
TTruck otherTruck()
{
    TTruck t;
    t.Inputs.EngineIndex = 2;
    t.Inputs.FinalDriveIndex = 3;
    t.Inputs.TyreSizeIndex = 9;
    t.Inputs.KerbWeightIndex = 1;
    t.Inputs.FrontalArea = 24.5;
    t.Inputs.DragCoef = 0.55;
    t.Inputs.RollingResistance = 60;
    t.Inputs.PitchCircleRadius = 1.25;
    t.Inputs.PressureAngle = 22.5;
    t.Inputs.HelixAngle = 18;
    t.Inputs.Overhang = 1.3;
    t.Inputs.LoadFactor = 1.5;
    t.Inputs.TransmissionLoss = 0.2;
    t.Inputs.OverdriveRatio = 0.7;
    t.Inputs.Load = 1500;
    t.Inputs.Gradient = 2.5;
    t.Gear = TGear::Fourth;
    t.LoadRating = 2500;
    t.SpeedInMph = false;
    t.LifeInMiles = false;
    return t;
}

std::vector<TDutySegment> twoSegments()
{
    TDutySegment a;
    a.SharePct = 70;
    a.SpeedMph = 55;
    TDutySegment b;
    b.SharePct = 30;
    b.SpeedMph = 35;
    b.Gear = TGear::Fourth;
    b.Gradient = 4;
    b.Load = 2500;
    return {a, b};
}

TEST(TruckActions, StartUpWindowIsTheStartUpTruck)
{
    WindowsFixture w;
    EXPECT_TRUE(SameInputs(TruckOfForm(w.form()), TTruck{}));
    EXPECT_TRUE(w.session.Truck() == TTruck{});
    EXPECT_FALSE(w.session.IsModified());
}

TEST(TruckActions, ApplyingATruckRunsEveryHandlerAndKeepsTheEngineSpeed)
{
    WindowsFixture w;
    w.driver.driveTo(60);
    const double rpm = w.driver.model().EngineRpm;
    ASSERT_GT(rpm, 1000);
    w.driver.model().RecalcFlag = false;

    const TTruck t = otherTruck();
    ApplyTruckToForm(w.form(), t);
    const TDriveModel &m = w.driver.model();
    EXPECT_TRUE(m.RecalcFlag);
    EXPECT_EQ(m.EngineRpm, rpm);
    EXPECT_EQ(m.Engine, VehicleTables::Engines()[2]);
    EXPECT_EQ(m.FinalDriveRatio, VehicleTables::FinalDriveRatios()[3]);
    EXPECT_EQ(m.TyreDiameter, VehicleTables::TyreDiameters()[9]);
    EXPECT_EQ(m.UnladenWeight, VehicleTables::KerbWeights()[1]);
    EXPECT_EQ(m.OverdriveRatio, 0.7);
    EXPECT_EQ(m.RollingResistance, 60);
    EXPECT_EQ(m.HelixAngle, 18);
    EXPECT_EQ(m.Load, 1500);
    EXPECT_EQ(m.Gradient, 2.5);
    EXPECT_EQ(m.Gear, TGear::Fourth);
    // The lists show their rows, the boxes their state.
    EXPECT_EQ(w.form().ComboEngine->ItemIndex(), 2);
    EXPECT_EQ(w.form().ComboTyreSize->ItemIndex(), 9);
    EXPECT_TRUE(w.form().RBFourth->isChecked());
    EXPECT_FALSE(w.form().CBMph->isChecked());
    EXPECT_FALSE(w.form().CBMiles->isChecked());
    EXPECT_EQ(double(w.form().EditDynLoadRating->AsFloat()), 2500);
    EXPECT_TRUE(SameInputs(TruckOfForm(w.form()), t));
}

TEST(TruckActions, SaveThenOpenRestoresEveryInputAndTheDutyList)
{
    WindowsFixture w;
    const TTruck t = otherTruck();
    w.session.Replace(t, {});
    w.session.SetDuty(twoSegments());
    w.nextPath = w.path(QStringLiteral("truck.json"));
    w.actions().SaveAction->trigger(); // no file yet: asks for one
    EXPECT_TRUE(w.lastDialogSaving);
    ASSERT_TRUE(w.problems.isEmpty()) << w.problems.join('\n').toStdString();

    // Back to the start-up truck, then open the file.
    w.actions().NewAction->trigger();
    ASSERT_FALSE(SameInputs(TruckOfForm(w.form()), t));
    ASSERT_TRUE(w.session.Truck().Duty.empty());
    w.actions().OpenAction->trigger();
    EXPECT_FALSE(w.lastDialogSaving);
    ASSERT_TRUE(w.problems.isEmpty()) << w.problems.join('\n').toStdString();
    EXPECT_TRUE(SameInputs(TruckOfForm(w.form()), t)) << TruckJson(TruckOfForm(w.form())) << "\n"
                                                      << TruckJson(t);
    EXPECT_EQ(w.session.Truck().Duty, twoSegments());
    EXPECT_TRUE(SameInputs(w.session.Truck(), t));
    // The last folder is remembered, nothing else.
    EXPECT_EQ(TTruckActions::LastFolder(), QFileInfo(w.nextPath).absolutePath());
}

// The folder a file dialog opens in: the last one used while it is still a
// folder, else the home folder.
enum class FolderFate { Kept, Removed, ReplacedByAFile };

class LastFolderOffered : public ::testing::TestWithParam<FolderFate>
{
};

TEST_P(LastFolderOffered, OnlyWhileItIsStillThere)
{
    WindowsFixture w;
    QStringList offered;
    TDialogs seam = w.actions().Dialogs();
    seam.AskFile = [&](QWidget *, const QString &, const QString &folder, const QString &, bool) {
        offered << folder;
        return w.nextPath;
    };
    w.actions().setDialogs(seam);
    const QString folder = w.path(QStringLiteral("trucks"));
    ASSERT_TRUE(QDir().mkpath(folder));
    w.nextPath = folder + QStringLiteral("/truck.json");
    w.actions().SaveAsAction->trigger();
    ASSERT_TRUE(w.problems.isEmpty()) << w.problems.join('\n').toStdString();
    ASSERT_EQ(TTruckActions::LastFolder(), folder);

    switch (GetParam()) {
    case FolderFate::Kept:
        break;
    case FolderFate::Removed:
        ASSERT_TRUE(QDir(folder).removeRecursively());
        break;
    case FolderFate::ReplacedByAFile:
        ASSERT_TRUE(QDir(folder).removeRecursively());
        ASSERT_TRUE(!w.writeFile(QStringLiteral("trucks"), "not a folder").isEmpty());
        break;
    }
    const QString expected = GetParam() == FolderFate::Kept ? folder : QDir::homePath();
    EXPECT_EQ(TTruckActions::LastFolder(), expected);
    w.nextPath.clear(); // cancelled
    w.actions().OpenAction->trigger();
    ASSERT_EQ(offered.size(), 2);
    EXPECT_EQ(offered.last(), expected);
}

INSTANTIATE_TEST_SUITE_P(EachFate, LastFolderOffered,
                         ::testing::Values(FolderFate::Kept, FolderFate::Removed,
                                           FolderFate::ReplacedByAFile));

TEST(TruckActions, CancelledDialogsChangeNothing)
{
    WindowsFixture w;
    w.nextPath.clear();
    w.actions().OpenAction->trigger();
    w.actions().SaveAction->trigger();
    EXPECT_EQ(w.dialogs, 2);
    EXPECT_TRUE(w.problems.isEmpty());
    EXPECT_TRUE(SameInputs(TruckOfForm(w.form()), TTruck{}));
}

TEST(TruckActions, SaveToAnUnwritablePlaceReportsOnce)
{
    WindowsFixture w;
    w.nextPath = w.path(QStringLiteral("no/such/folder/truck.json"));
    w.actions().SaveAction->trigger();
    ASSERT_EQ(w.problems.size(), 1);
    EXPECT_TRUE(w.problems[0].contains(w.nextPath));
}

struct BadFile {
    const char *name;
    QByteArray text;
    const char *key; // "" when the file as a whole is wrong
};

class OpenBadFile : public ::testing::TestWithParam<BadFile>
{
};

TEST_P(OpenBadFile, ShowsOneProblemNamingFileAndKeyAndChangesNothing)
{
    const BadFile &c = GetParam();
    WindowsFixture w;
    w.driver.driveTo(40);
    w.session.SetDuty(twoSegments());
    w.saveAnswer = QMessageBox::Discard; // the edited list may go
    const TTruck before = TruckOfForm(w.form());
    const TDriveModel model = w.driver.model();

    w.nextPath = w.writeFile(QStringLiteral("bad-%1.json").arg(QLatin1String(c.name)), c.text);
    w.actions().OpenAction->trigger();

    ASSERT_EQ(w.problems.size(), 1);
    EXPECT_TRUE(w.problems[0].contains(w.nextPath)) << w.problems[0].toStdString();
    EXPECT_TRUE(w.problems[0].contains(QLatin1String(c.key))) << w.problems[0].toStdString();
    EXPECT_TRUE(SameInputs(TruckOfForm(w.form()), before));
    EXPECT_EQ(w.session.Truck().Duty, twoSegments());
    EXPECT_EQ(w.driver.model().EngineRpm, model.EngineRpm);
    EXPECT_EQ(w.driver.model().Load, model.Load);
    EXPECT_EQ(w.driver.model().RecalcFlag, model.RecalcFlag);
}

#define HEAD R"("format": "velmora-truck", "version": 1, "load": 1000)"

INSTANTIATE_TEST_SUITE_P(
    Kinds, OpenBadFile,
    ::testing::Values(
        BadFile{"NotJson", "{ \"format\": ", ""},
        BadFile{"OtherFormat", R"({"format": "spreadsheet", "version": 1, "load": 1000})",
                "format"},
        BadFile{"NewerVersion", R"({"format": "velmora-truck", "version": 2, "load": 1000})",
                "version"},
        BadFile{"UnknownKey", "{" HEAD R"(, "colour": "red"})", "colour"},
        BadFile{"WrongType", R"({"format": "velmora-truck", "version": 1, "gradient": "steep"})",
                "gradient"},
        BadFile{"RowOutsideTable", "{" HEAD R"(, "engine": 7})", "engine"},
        BadFile{"OutsideInputRange", "{" HEAD R"(, "drag_coef": 1, "load": 5000})", "load"},
        BadFile{"BadDutyGear",
                "{" HEAD R"(, "duty": [{"share_pct": 100, "speed_mph": 50, "gear": 3}]})",
                "duty[1].gear"},
        BadFile{"DutyAtStandstill",
                "{" HEAD R"(, "duty": [{"share_pct": 100, "speed_mph": 0, "gear": 5}]})",
                "duty[1].speed_mph"},
        BadFile{"TooLarge",
                "{" HEAD R"(, "engine_name": ")" + QByteArray(int(MaxTruckFileBytes), 'x') + "\"}",
                ""}),
    [](const auto &c) { return std::string(c.param.name); });

TEST(TruckActions, MissingFileIsAProblemNotACrash)
{
    WindowsFixture w;
    w.nextPath = w.path(QStringLiteral("absent.json"));
    w.actions().OpenAction->trigger();
    ASSERT_EQ(w.problems.size(), 1);
    EXPECT_TRUE(w.problems[0].contains(w.nextPath));
}

// ---- reaching the actions ---------------------------------------------------

TEST(TruckActions, ShortcutsReachEveryAction)
{
    WindowsFixture w;
    TForm1 &f = w.form();
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    struct KeyAndMods {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        QAction *action;
    };
    for (const KeyAndMods k : {KeyAndMods{Qt::Key_O, ctrl, w.actions().OpenAction},
                               KeyAndMods{Qt::Key_S, ctrl, w.actions().SaveAction},
                               KeyAndMods{Qt::Key_S, ctrlShift, w.actions().SaveAsAction},
                               KeyAndMods{Qt::Key_L, ctrl, w.actions().LifeMapAction},
                               KeyAndMods{Qt::Key_D, ctrl, w.actions().DutyAction},
                               KeyAndMods{Qt::Key_I, ctrl, w.actions().ImportRouteAction}}) {
        int fired = 0;
        auto c = QObject::connect(k.action, &QAction::triggered, [&] { ++fired; });
        f.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
        QTest::keyClick(&f, k.key, k.mods);
        QObject::disconnect(c);
        EXPECT_EQ(fired, 1) << k.action->text().toStdString();
    }
    // Open, Save (no file yet), Save As and Import route asked for a file.
    EXPECT_EQ(w.dialogs, 4);
    EXPECT_NE(w.actions().LifeMap(), nullptr);
    EXPECT_NE(w.actions().DutyWindow(), nullptr);
}

TEST(TruckActions, ShortcutsWorkWhileAnEditOrASpinEditHasTheFocus)
{
    WindowsFixture w;
    TForm1 &f = w.form();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    QWidget *edit = f.EditDragCoef;
    QWidget *spin = f.SELoad->focusProxy() ? f.SELoad->focusProxy() : f.SELoad;
    edit->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::ControlModifier);
    EXPECT_NE(w.actions().LifeMap(), nullptr);
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    spin->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_NE(w.actions().DutyWindow(), nullptr);
    // From the life map too: the keys belong to the whole program.
    w.actions().LifeMap()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.actions().LifeMap()));
    w.nextPath.clear();
    QTest::keyClick(w.actions().LifeMap(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(w.dialogs, 1);
    EXPECT_TRUE(w.lastDialogSaving);
}

// Whether an edit keeps a key for itself instead of letting the program's
// shortcut have it, as the shortcut map asks before a shortcut fires.
bool EditKeepsKey(QWidget *edit, Qt::Key key, Qt::KeyboardModifiers mods)
{
    QKeyEvent override(QEvent::ShortcutOverride, key, mods);
    override.ignore();
    QApplication::sendEvent(edit, &override);
    return override.isAccepted();
}

TEST(TruckActions, ProgramKeysWinOverAnEditsOwnBindingsButCopyAndPasteStayWithTheEdit)
{
    WindowsFixture w;
    TForm1 &f = w.form();
    QWidget *edit = f.EditPCR;
    edit->setFocus();
    // Ctrl+D deletes a character in a line edit where the desktop uses the X11
    // bindings; in Velmora it opens the duty cycle.
    for (const Qt::Key key : {Qt::Key_D, Qt::Key_O, Qt::Key_S, Qt::Key_L, Qt::Key_I, Qt::Key_P})
        EXPECT_FALSE(EditKeepsKey(edit, key, Qt::ControlModifier)) << key;
    EXPECT_FALSE(EditKeepsKey(edit, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier));
    // Copy results is Ctrl+C too, but in an edit Ctrl+C copies its own text.
    for (const Qt::Key key : {Qt::Key_C, Qt::Key_V, Qt::Key_X, Qt::Key_Z, Qt::Key_A})
        EXPECT_TRUE(EditKeepsKey(edit, key, Qt::ControlModifier)) << key;
    QTest::keyClick(edit, Qt::Key_D, Qt::ControlModifier);
    EXPECT_NE(w.actions().DutyWindow(), nullptr);
    // Where the edit's bindings do claim a key (Ctrl+Home goes to the start
    // everywhere), a program action bound to it still wins.
    EXPECT_TRUE(EditKeepsKey(edit, Qt::Key_Home, Qt::ControlModifier));
    QAction claim(QStringLiteral("Claim"), &f);
    claim.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Home));
    claim.setShortcutContext(Qt::ApplicationShortcut);
    f.addAction(&claim);
    EXPECT_FALSE(EditKeepsKey(edit, Qt::Key_Home, Qt::ControlModifier));
    f.removeAction(&claim);
}

TEST(TruckActions, RightClickOnTheBackgroundOffersEveryAction)
{
    WindowsFixture w;
    TForm1 &f = w.form();
    EXPECT_EQ(f.contextMenuPolicy(), Qt::ActionsContextMenu);
    QStringList offered;
    // The menu runs its own loop: read it and close it from inside that loop.
    QTimer::singleShot(0, [&] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            for (QAction *a : menu->actions())
                offered << a->text();
            menu->close();
        }
    });
    // A group box has no menu of its own: the event reaches the window.
    QWidget *box = f.GroupBox1;
    const QPoint at(5, 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, box->mapToGlobal(at));
    QApplication::sendEvent(box, &event);
    for (const char *text : {"New truck", "Open truck…", "Save truck", "Save truck as…",
                             "Life map…", "Duty cycle…", "Import route…", "Quit"})
        EXPECT_TRUE(offered.contains(QString::fromUtf8(text))) << text;
}

TEST(TruckActions, EachWindowOpensOnceAndClosingFreesIt)
{
    WindowsFixture w;
    w.actions().LifeMapAction->trigger();
    QPointer<TLifeMapWindow> map = w.actions().LifeMap();
    ASSERT_TRUE(map);
    w.actions().LifeMapAction->trigger();
    EXPECT_EQ(w.actions().LifeMap(), map.data());
    EXPECT_TRUE(map->isVisible());
    EXPECT_FALSE(map->isModal());

    w.actions().DutyAction->trigger();
    QPointer<TDutyWindow> duty = w.actions().DutyWindow();
    ASSERT_TRUE(duty);

    map->close();
    duty->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(map);
    EXPECT_FALSE(duty);
    EXPECT_EQ(w.actions().LifeMap(), nullptr);
    // The simulation goes on and a new one opens.
    w.driver.tick(3);
    w.actions().LifeMapAction->trigger();
    EXPECT_NE(w.actions().LifeMap(), nullptr);
}

TEST(TruckActions, OpenWindowsDieWithTheMainWindow)
{
    auto w = std::make_unique<WindowsFixture>();
    w->actions().LifeMapAction->trigger();
    w->actions().DutyAction->trigger();
    QPointer<TLifeMapWindow> map = w->actions().LifeMap();
    QPointer<TDutyWindow> duty = w->actions().DutyWindow();
    w.reset();
    EXPECT_FALSE(map);
    EXPECT_FALSE(duty);
}

} // namespace
