// The truck through the real window: every value round-trips from a file
// through the controls and back, the title names the file, and nothing the
// user made is dropped without asking.

#include "ui/support/WindowsFixture.h"

#include "analysis/TruckFile.h"
#include "ui/duty/DutyTable.h"
#include "ui/duty/DutyWindow.h"
#include "ui/form/FormTruck.h"
#include "ui/form/StdControls.h"
#include "widgets/input/ESBPCSSpinEdit.h"

#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace
{

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// ---- round trip -----------------------------------------------------------

struct RoundTrip {
    const char *name;
    std::function<void(TTruck &)> set;
};

class WindowRoundTrip : public ::testing::TestWithParam<RoundTrip>
{
};

// Values the window's edits show rounded (or lists whose rows share a value):
// open, let the window run, look at every control, save: the same file.
TEST_P(WindowRoundTrip, OpenThenSaveWritesTheSameValues)
{
    TTruck t;
    GetParam().set(t);
    WindowsFixture w;
    const QString source = w.path(QStringLiteral("source.json"));
    ASSERT_FALSE(WriteTruckFile(source.toStdString(), t));
    w.nextPath = source;
    w.actions().OpenAction->trigger();
    ASSERT_TRUE(w.problems.isEmpty()) << w.problems.join('\n').toStdString();
    EXPECT_TRUE(w.session.Truck() == t);
    EXPECT_FALSE(w.session.IsModified());

    // The model runs on the file's values, not on the rounded texts.
    const TTruck running = TruckOfForm(w.form());
    EXPECT_TRUE(SameInputs(running, t)) << TruckJson(running) << "\n" << TruckJson(t);

    // Ticks, and the focus going through every control, change nothing.
    w.driver.tick(5);
    QWidget *start = w.form().focusWidget();
    for (int i = 0; i < 40; ++i)
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : start,
                        Qt::Key_Tab);
    w.driver.tick();
    EXPECT_FALSE(w.session.IsModified()) << TruckJson(w.session.Truck());

    const QString copy = w.path(QStringLiteral("copy.json"));
    w.nextPath = copy;
    w.actions().SaveAsAction->trigger();
    ASSERT_TRUE(w.problems.isEmpty()) << w.problems.join('\n').toStdString();
    EXPECT_EQ(readAll(copy), readAll(source));
    // Ctrl+S writes the current file again, without asking.
    const int asked = w.dialogs;
    w.actions().SaveAction->trigger();
    EXPECT_EQ(w.dialogs, asked);
    EXPECT_EQ(readAll(copy), readAll(source));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, WindowRoundTrip,
    ::testing::Values(
        RoundTrip{"FinalDriveRow3", [](TTruck &truck) { truck.Inputs.FinalDriveIndex = 3; }},
        RoundTrip{"FinalDriveRow4", [](TTruck &truck) { truck.Inputs.FinalDriveIndex = 4; }},
        RoundTrip{"EveryRow",
                  [](TTruck &truck) {
                      truck.Inputs.EngineIndex = 2;
                      truck.Inputs.TyreSizeIndex = 9;
                      truck.Inputs.KerbWeightIndex = 1;
                  }},
        RoundTrip{"TransmissionLoss",
                  [](TTruck &truck) { truck.Inputs.TransmissionLoss = 0.123456789; }},
        RoundTrip{"OverdriveRatio",
                  [](TTruck &truck) { truck.Inputs.OverdriveRatio = 0.81234567891; }},
        RoundTrip{"RollingResistance", [](TTruck &truck) { truck.Inputs.RollingResistance = 47; }},
        RoundTrip{"FrontalArea", [](TTruck &truck) { truck.Inputs.FrontalArea = 22.56789; }},
        RoundTrip{"DragCoef", [](TTruck &truck) { truck.Inputs.DragCoef = 0.1 + 0.2; }},
        RoundTrip{"GearGeometry",
                  [](TTruck &truck) {
                      truck.Inputs.PitchCircleRadius = 1.1111111;
                      truck.Inputs.PressureAngle = 20.123456;
                      truck.Inputs.HelixAngle = 15.987654321;
                      truck.Inputs.Overhang = 1.15151515;
                      truck.Inputs.LoadFactor = 1.2345678;
                  }},
        RoundTrip{"LoadShownWhole", [](TTruck &truck) { truck.Inputs.Load = 1500.5; }},
        RoundTrip{"GradientBeyondItsDecimals",
                  [](TTruck &truck) { truck.Inputs.Gradient = 0.0123456789; }},
        RoundTrip{"LoadRating", [](TTruck &truck) { truck.LoadRating = 2081.75; }},
        RoundTrip{"FourthGearAndMetricUnits",
                  [](TTruck &truck) {
                      truck.Gear = TGear::Fourth;
                      truck.SpeedInMph = false;
                      truck.LifeInMiles = false;
                  }},
        RoundTrip{"DutyList",
                  [](TTruck &truck) {
                      TDutySegment a;
                      a.SharePct = 33.333;
                      a.SpeedMph = 62;
                      TDutySegment b;
                      b.SharePct = 66.667;
                      b.SpeedMph = 41.25;
                      b.Gear = TGear::Fourth;
                      b.Gradient = 0.0125;
                      b.Load = 1500.5;
                      truck.Duty = {a, b};
                  }}),
    [](const auto &c) { return std::string(c.param.name); });

TEST(WindowRoundTrip, ChoosingRowFourPicksRowFourNotTheFirstWithItsRatio)
{
    WindowsFixture w;
    ASSERT_EQ(VehicleTables::FinalDriveRatios()[3], VehicleTables::FinalDriveRatios()[4]);
    w.form().ComboFinalRatio->setFocus();
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(w.form().ComboFinalRatio, Qt::Key_Down);
    ASSERT_EQ(w.form().ComboFinalRatio->ItemIndex(), 4);
    EXPECT_EQ(w.session.Truck().Inputs.FinalDriveIndex, 4);
    EXPECT_EQ(TruckOfForm(w.form()).Inputs.FinalDriveIndex, 4);
}

TEST(WindowBinding, AWindowBoundToASessionWithATruckShowsThatTruck)
{
    TTruckSession session;
    TTruck t;
    t.Inputs.KerbWeightIndex = 1;
    t.Inputs.Load = 1234.25;
    t.SpeedInMph = false;
    session.Replace(t, {});
    FormDriver driver;
    TFormBinding binding(&driver.form(), &session);
    EXPECT_TRUE(SameInputs(TruckOfForm(driver.form()), t));
    EXPECT_TRUE(session.Truck() == t);
    // Each change reaches the session as it is made, no tick needed.
    FormDriver::click(driver.form().RBFourth);
    EXPECT_EQ(session.Truck().Gear, TGear::Fourth);
    driver.form().SEGradient->setValue(0.02);
    EXPECT_EQ(session.Truck().Inputs.Gradient, 0.02);
    EXPECT_EQ(session.Truck().Inputs.Load, 1234.25);
}

// ---- the duty table's editors ----------------------------------------------

struct LookedAt {
    const char *name;
    int column;
    bool mph;
    std::function<void(TDutySegment &)> set;
};

class DutyEditorLookedAt : public ::testing::TestWithParam<LookedAt>
{
};

// An editor opened on a cell and closed with Enter, its text untouched,
// keeps every digit of the value even where it shows it rounded.
TEST_P(DutyEditorLookedAt, KeepsTheValue)
{
    const LookedAt &c = GetParam();
    WindowsFixture w;
    TTruck t;
    t.SpeedInMph = c.mph;
    TDutySegment s;
    c.set(s);
    t.Duty = {s};
    w.session.Replace(t, {});
    w.actions().DutyAction->trigger();
    TDutyWindow *win = w.actions().DutyWindow();
    ASSERT_NE(win, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(win));

    const QModelIndex cell = win->TableModel()->index(0, c.column);
    win->Table->setCurrentIndex(cell);
    win->Table->setFocus();
    win->Table->edit(cell);
    auto *editor = win->Table->findChild<QAbstractSpinBox *>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::qWait(50);
    ASSERT_EQ(w.session.Truck().Duty.size(), 1u);
    EXPECT_EQ(w.session.Truck().Duty[0], s);
    EXPECT_FALSE(w.session.DutyEdited());

    // A changed text is written.
    win->Table->edit(cell);
    editor = win->Table->findChild<QAbstractSpinBox *>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Up);
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.session.DutyEdited(); }, 5000));
    EXPECT_NE(w.session.Truck().Duty[0], s);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, DutyEditorLookedAt,
    ::testing::Values(LookedAt{"SpeedInKmh", TDutyTableModel::Speed, false,
                               [](TDutySegment &s) {
                                   s.SharePct = 100;
                                   s.SpeedMph = 62; // shown 99.8
                               }},
                      LookedAt{"SpeedWithManyDigits", TDutyTableModel::Speed, true,
                               [](TDutySegment &s) { s.SpeedMph = 41.2345; }},
                      LookedAt{"ShareOfAThird", TDutyTableModel::Share, true,
                               [](TDutySegment &s) {
                                   s.SharePct = 33.333;
                                   s.SpeedMph = 50;
                               }},
                      LookedAt{"LoadWithAHalf", TDutyTableModel::Load, true,
                               [](TDutySegment &s) {
                                   s.SpeedMph = 50;
                                   s.Load = 1500.5;
                               }},
                      LookedAt{"GradientBeyondFourDecimals", TDutyTableModel::Gradient, true,
                               [](TDutySegment &s) {
                                   s.SpeedMph = 50;
                                   s.Gradient = 0.012345678;
                               }}),
    [](const auto &c) { return std::string(c.param.name); });

// ---- title -------------------------------------------------------------------

TEST(WindowTitle, NamesTheFileOnceThereIsOneAndMarksChanges)
{
    WindowsFixture w;
    EXPECT_EQ(w.form().windowTitle(), QStringLiteral("Velmora"));
    // A changed input of a truck never saved is no unsaved file.
    w.form().SELoad->setValue(700);
    EXPECT_EQ(w.form().windowTitle(), QStringLiteral("Velmora"));
    EXPECT_FALSE(w.form().isWindowModified());

    w.nextPath = w.path(QStringLiteral("hauler.json"));
    w.actions().SaveAction->trigger();
    EXPECT_EQ(w.form().windowTitle(), QStringLiteral("hauler.json[*] — Velmora"));
    EXPECT_FALSE(w.form().isWindowModified());

    w.form().SELoad->setValue(800);
    EXPECT_TRUE(w.form().isWindowModified());
    w.form().SELoad->setValue(700); // back to what the file says
    EXPECT_FALSE(w.form().isWindowModified());
    FormDriver::click(w.form().RBFourth);
    EXPECT_TRUE(w.form().isWindowModified());
    w.actions().SaveAction->trigger();
    EXPECT_FALSE(w.form().isWindowModified());

    w.nextPath = w.path(QStringLiteral("other.json"));
    w.actions().SaveAsAction->trigger();
    EXPECT_EQ(w.form().windowTitle(), QStringLiteral("other.json[*] — Velmora"));

    w.actions().NewAction->trigger();
    EXPECT_EQ(w.form().windowTitle(), QStringLiteral("Velmora"));
    EXPECT_FALSE(w.form().isWindowModified());
    EXPECT_TRUE(SameInputs(TruckOfForm(w.form()), TTruck{}));
}

// ---- the unsaved-changes question --------------------------------------------

enum class Way { Close, Quit, Open, New };
enum class State { EditedFile, EditedDutyNeverSaved };

struct PromptCase {
    Way way;
    State state;
    QMessageBox::StandardButton answer;
};

std::string caseName(const ::testing::TestParamInfo<PromptCase> &info)
{
    const PromptCase &c = info.param;
    const char *way[] = {"Close", "Quit", "Open", "New"};
    const char *state[] = {"EditedFile", "EditedDutyNeverSaved"};
    const char *answer = c.answer == QMessageBox::Save      ? "Save"
                         : c.answer == QMessageBox::Discard ? "Discard"
                                                            : "Cancel";
    return std::string(way[int(c.way)]) + state[int(c.state)] + answer;
}

class UnsavedPrompt : public ::testing::TestWithParam<PromptCase>
{
  protected:
    void SetUp() override { QGuiApplication::setQuitOnLastWindowClosed(false); }
};

TEST_P(UnsavedPrompt, AsksOnceAndDoesWhatTheAnswerSays)
{
    const PromptCase &c = GetParam();
    WindowsFixture w;
    TDutySegment seg;
    seg.SpeedMph = 55;

    // Another truck to open, and the truck being worked on.
    TTruck other;
    other.Inputs.EngineIndex = 1;
    const QString otherPath = w.path(QStringLiteral("other.json"));
    ASSERT_FALSE(WriteTruckFile(otherPath.toStdString(), other));
    const QString ownPath = w.path(QStringLiteral("own.json"));
    if (c.state == State::EditedFile) {
        ASSERT_FALSE(WriteTruckFile(ownPath.toStdString(), TTruck{}));
        ASSERT_TRUE(w.actions().OpenTruck(ownPath));
        w.form().SELoad->setValue(1234);
    } else {
        w.session.SetDuty({seg});
    }
    ASSERT_TRUE(w.session.IsModified());
    const TTruck edited = w.session.Truck();

    w.saveAnswer = c.answer;
    // Save on a truck never saved asks where (ownPath); Open then asks what.
    w.nextPaths = {ownPath, otherPath};
    if (c.state == State::EditedFile || c.answer != QMessageBox::Save)
        w.nextPaths.removeFirst();
    bool closed = false;
    switch (c.way) {
    case Way::Close:
        closed = w.form().close();
        break;
    case Way::Quit:
        w.actions().QuitAction->trigger();
        closed = !w.form().isVisible();
        break;
    case Way::Open:
        w.actions().OpenAction->trigger();
        break;
    case Way::New:
        w.actions().NewAction->trigger();
        break;
    }
    ASSERT_EQ(w.saveQuestions.size(), 1);
    EXPECT_TRUE(w.problems.isEmpty()) << w.problems.join('\n').toStdString();

    const bool goesOn = c.answer != QMessageBox::Cancel;
    if (c.answer == QMessageBox::Save) {
        // What the user made is in the file.
        const auto saved = ReadTruckFile(ownPath.toStdString());
        ASSERT_TRUE(std::holds_alternative<TTruck>(saved));
        EXPECT_TRUE(std::get<TTruck>(saved) == edited);
    }
    switch (c.way) {
    case Way::Close:
    case Way::Quit:
        EXPECT_EQ(closed, goesOn);
        EXPECT_EQ(w.form().isVisible(), !goesOn);
        break;
    case Way::Open:
        EXPECT_EQ(w.session.FilePath(),
                  goesOn ? otherPath : (c.state == State::EditedFile ? ownPath : QString()));
        EXPECT_TRUE(goesOn ? w.session.Truck() == other : w.session.Truck() == edited);
        break;
    case Way::New:
        EXPECT_TRUE(goesOn ? w.session.Truck() == TTruck{} : w.session.Truck() == edited);
        break;
    }
    if (!goesOn) {
        EXPECT_TRUE(w.session.IsModified());
    }
}

std::vector<PromptCase> promptCases()
{
    std::vector<PromptCase> cases;
    for (Way way : {Way::Close, Way::Quit, Way::Open, Way::New})
        for (State state : {State::EditedFile, State::EditedDutyNeverSaved})
            for (auto answer : {QMessageBox::Save, QMessageBox::Discard, QMessageBox::Cancel})
                cases.push_back({way, state, answer});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryWayOut, UnsavedPrompt, ::testing::ValuesIn(promptCases()), caseName);

TEST(UnsavedPromptNotAsked, WhenNothingWouldBeLost)
{
    QGuiApplication::setQuitOnLastWindowClosed(false);
    {
        // A truck never saved with changed inputs closes as it always did.
        WindowsFixture w;
        w.form().SELoad->setValue(900);
        EXPECT_TRUE(w.form().close());
        EXPECT_TRUE(w.saveQuestions.isEmpty());
    }
    {
        // An opened file, changed and changed back.
        WindowsFixture w;
        const QString path = w.path(QStringLiteral("t.json"));
        ASSERT_FALSE(WriteTruckFile(path.toStdString(), TTruck{}));
        ASSERT_TRUE(w.actions().OpenTruck(path));
        w.form().SELoad->setValue(900);
        w.form().SELoad->setValue(50);
        w.actions().NewAction->trigger();
        EXPECT_TRUE(w.saveQuestions.isEmpty());
        EXPECT_TRUE(w.form().close());
        EXPECT_TRUE(w.saveQuestions.isEmpty());
    }
}

TEST(UnsavedPromptNotAsked, SaveThatFailsKeepsTheWindowOpen)
{
    QGuiApplication::setQuitOnLastWindowClosed(false);
    WindowsFixture w;
    TDutySegment seg;
    seg.SpeedMph = 40;
    w.session.SetDuty({seg});
    w.saveAnswer = QMessageBox::Save;
    w.nextPath = w.path(QStringLiteral("no/such/folder/t.json"));
    EXPECT_FALSE(w.form().close());
    EXPECT_EQ(w.problems.size(), 1);
    EXPECT_TRUE(w.form().isVisible());
    EXPECT_EQ(w.session.Truck().Duty.size(), 1u);
}

// ---- the duty window looked at -------------------------------------------------

TEST(DutyLookedAt, OpenedAndClosedWithoutEditsLeavesNoSegment)
{
    QGuiApplication::setQuitOnLastWindowClosed(false);
    WindowsFixture w;
    w.driver.pedal(45);
    w.actions().DutyAction->trigger();
    QPointer<TDutyWindow> win = w.actions().DutyWindow();
    ASSERT_TRUE(win);
    EXPECT_EQ(win->TableModel()->rowCount(), 1); // the seed, shown
    win->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(win);
    EXPECT_TRUE(w.session.Truck().Duty.empty());
    EXPECT_FALSE(w.session.IsModified());

    // Saved, the file has no duty list; the window closes without asking.
    w.nextPath = w.path(QStringLiteral("t.json"));
    w.actions().SaveAction->trigger();
    const auto saved = ReadTruckFile(w.nextPath.toStdString());
    ASSERT_TRUE(std::holds_alternative<TTruck>(saved));
    EXPECT_TRUE(std::get<TTruck>(saved).Duty.empty());
    EXPECT_TRUE(w.form().close());
    EXPECT_TRUE(w.saveQuestions.isEmpty());
}

TEST(DutyLookedAt, AListTheUserEmptiedStaysEmpty)
{
    WindowsFixture w;
    w.actions().DutyAction->trigger();
    TDutyWindow *win = w.actions().DutyWindow();
    ASSERT_NE(win, nullptr);
    win->RemoveRow->click();
    EXPECT_EQ(win->TableModel()->rowCount(), 0);
    EXPECT_TRUE(w.session.DutyEdited());
    win->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    w.actions().DutyAction->trigger();
    EXPECT_EQ(w.actions().DutyWindow()->TableModel()->rowCount(), 0);
}

} // namespace
