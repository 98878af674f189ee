#include "ui/support/WindowsFixture.h"

#include "ui/duty/DutyTable.h"
#include "ui/duty/DutyWindow.h"
#include "widgets/input/ESBPCSSpinEdit.h"
#include "ui/form/FormTruck.h"
#include "analysis/LifeCurve.h"
#include "analysis/Reliability.h"
#include "analysis/TruckFile.h"

#include <QAccessible>
#include <QBrush>
#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

using Col = TDutyTableModel::Column;

class DutyTest : public ::testing::Test
{
  protected:
    void open()
    {
        w.actions().DutyAction->trigger();
        win = w.actions().DutyWindow();
        ASSERT_NE(win, nullptr);
        model = win->TableModel();
    }
    QVariant value(int row, int col) const
    {
        return model->data(model->index(row, col), TDutyTableModel::ValueRole);
    }
    bool edit(int row, int col, double v)
    {
        return model->setData(model->index(row, col), v, Qt::EditRole);
    }
    // The combined life the analysis gives for the window's list, in thousands.
    std::optional<double> combined(double a1 = 1)
    {
        const TTruck t = TruckOfForm(w.form());
        const auto r = DutyLife(t, model->Segments());
        if (!r.LifeKm)
            return std::nullopt;
        return LifeMap::LifeShown(*r.LifeKm, t.LifeInMiles) * a1;
    }

    WindowsFixture w;
    TDutyWindow *win = nullptr;
    TDutyTableModel *model = nullptr;
};

TEST_F(DutyTest, StartsWithOneSegmentAtThePedalSpeed)
{
    w.driver.pedal(48);
    open();
    ASSERT_EQ(model->rowCount(), 1);
    EXPECT_EQ(value(0, Col::Share).toDouble(), 100);
    EXPECT_EQ(value(0, Col::Speed).toDouble(), 48);
    EXPECT_EQ(value(0, Col::Gear).toInt(), 5);
    // Shown, not stored: the truck has no duty list until the user edits it.
    EXPECT_TRUE(w.session.Truck().Duty.empty());
    EXPECT_FALSE(w.session.DutyEdited());
    ASSERT_EQ(model->Segments().size(), 1u);
    EXPECT_EQ(model->Segments()[0].SpeedMph, 48);
    EXPECT_FALSE(model->Segments()[0].Load.has_value()); // follows the truck

    const auto point = SteadyState(TruckOfForm(w.form()), model->Segments()[0]);
    EXPECT_DOUBLE_EQ(value(0, Col::EngineRpm).toDouble(), *point.EngineRpm);
    EXPECT_DOUBLE_EQ(value(0, Col::RadialLoad).toDouble(), *point.RadialLoad);
    EXPECT_DOUBLE_EQ(value(0, Col::Damage).toDouble(), 100);
    ASSERT_TRUE(win->CombinedLife());
    EXPECT_DOUBLE_EQ(*win->CombinedLife(), *combined());
    EXPECT_FALSE(win->Combined->text().isEmpty());
}

TEST_F(DutyTest, AtRestTheSeedIsTheMiddleOfThePedalsTravel)
{
    open();
    ASSERT_EQ(model->rowCount(), 1);
    EXPECT_EQ(value(0, Col::Speed).toDouble(), 50);
}

TEST_F(DutyTest, EditsRecomputeTheCombinedLife)
{
    w.driver.pedal(50);
    open();
    const double single = *win->CombinedLife();
    // A new segment halves the one it copies: the shares still add up.
    win->AddRow->click();
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(value(0, Col::Share).toDouble(), 50);
    EXPECT_EQ(value(1, Col::Share).toDouble(), 50);
    ASSERT_TRUE(win->CombinedLife());
    EXPECT_DOUBLE_EQ(*win->CombinedLife(), single); // two equal halves

    ASSERT_TRUE(edit(0, Col::Share, 60));
    EXPECT_FALSE(win->CombinedLife()); // 110 %
    EXPECT_TRUE(win->Combined->text().isEmpty());
    EXPECT_TRUE(win->Problem->text().contains(QLatin1String("110")))
        << win->Problem->text().toStdString();
    ASSERT_TRUE(edit(1, Col::Share, 40));
    ASSERT_TRUE(edit(1, Col::Speed, 65));
    ASSERT_TRUE(win->CombinedLife());
    EXPECT_TRUE(win->Problem->text().isEmpty()) << win->Problem->text().toStdString();
    EXPECT_DOUBLE_EQ(*win->CombinedLife(), *combined());
    EXPECT_NE(*win->CombinedLife(), single);
    EXPECT_EQ(w.session.Truck().Duty[1].SpeedMph, 65);

    // A climb on one segment shortens the combined life, more so with a load.
    double before = *win->CombinedLife();
    ASSERT_TRUE(edit(1, Col::Gradient, 0.03));
    EXPECT_LT(*win->CombinedLife(), before);
    before = *win->CombinedLife();
    ASSERT_TRUE(edit(1, Col::Load, 2500));
    EXPECT_LT(*win->CombinedLife(), before);
    EXPECT_EQ(w.session.Truck().Duty[1].Load, 2500);
    EXPECT_EQ(w.session.Truck().Duty[1].Gradient, 0.03);
    EXPECT_FALSE(w.session.Truck().Duty[0].Gradient.has_value());

    // Damage shares add up to 100.
    EXPECT_NEAR(value(0, Col::Damage).toDouble() + value(1, Col::Damage).toDouble(), 100, 1e-9);

    // Removing the selected row leaves one with 60 %: shown inline, no figure.
    win->Table->selectRow(1);
    win->RemoveRow->click();
    EXPECT_EQ(model->rowCount(), 1);
    EXPECT_FALSE(win->CombinedLife());
    EXPECT_TRUE(win->Problem->text().contains(QLatin1String("60")))
        << win->Problem->text().toStdString();
}

TEST_F(DutyTest, ValuesOutsideTheInputRangesAreRefused)
{
    open();
    const auto before = w.session.Truck().Duty;
    struct Bad {
        Col col;
        double v;
    };
    for (Bad b : {Bad{Col::Share, 0}, Bad{Col::Share, -1}, Bad{Col::Share, 100.5},
                  Bad{Col::Speed, 0}, Bad{Col::Speed, 100.1}, Bad{Col::Gear, 3},
                  Bad{Col::Gear, 4.5}, Bad{Col::Gradient, -0.51}, Bad{Col::Gradient, 101},
                  Bad{Col::Load, 3001}, Bad{Col::Load, NAN}, Bad{Col::Load, INFINITY}})
        EXPECT_FALSE(edit(0, b.col, b.v)) << int(b.col) << " " << b.v;
    EXPECT_FALSE(model->setData(model->index(0, Col::Share), QStringLiteral("lots")));
    EXPECT_FALSE(edit(0, Col::Life, 5)); // computed columns are not edited
    EXPECT_EQ(w.session.Truck().Duty, before);
    EXPECT_FALSE(model->flags(model->index(0, Col::EngineRpm)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model->flags(model->index(0, Col::Gradient)) & Qt::ItemIsEditable);
    // The limits themselves are accepted.
    EXPECT_TRUE(edit(0, Col::Speed, 100));
    EXPECT_TRUE(edit(0, Col::Gradient, 100));
    EXPECT_TRUE(edit(0, Col::Gradient, -0.5)); // a segment may go downhill
    EXPECT_TRUE(edit(0, Col::Load, 0));
}

TEST_F(DutyTest, SharesThatDoNotAddUpNeverStormNorCrash)
{
    open();
    for (double s : {100.0, 99.5, 0.01, 100.0}) {
        ASSERT_TRUE(edit(0, Col::Share, s));
        EXPECT_EQ(win->CombinedLife().has_value(), s == 100) << s;
        EXPECT_EQ(win->Problem->text().isEmpty(), s == 100) << s;
    }
    win->RemoveRow->click();
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_FALSE(win->CombinedLife());
    EXPECT_FALSE(win->Problem->text().isEmpty());
    win->RemoveRow->click(); // nothing left to remove
    win->AddRow->click();
    EXPECT_EQ(model->rowCount(), 1);
    EXPECT_EQ(value(0, Col::Share).toDouble(), 100);
    EXPECT_TRUE(win->CombinedLife());
    EXPECT_TRUE(w.problems.isEmpty());
}

TEST_F(DutyTest, SegmentThatCannotHoldItsSpeedIsMarked)
{
    w.driver.pedal(40);
    open();
    EXPECT_TRUE(model->data(model->index(0, Col::Note)).toString().isEmpty());
    EXPECT_FALSE(model->data(model->index(0, Col::Share), Qt::BackgroundRole).isValid());
    // Steep and heavy (the model takes the sine of the gradient): forty mph
    // cannot be held in fifth.
    ASSERT_TRUE(edit(0, Col::Gradient, 0.3));
    ASSERT_TRUE(edit(0, Col::Load, 3000));
    const auto point = SteadyState(TruckOfForm(w.form()), w.session.Truck().Duty[0]);
    ASSERT_FALSE(point.Holds);
    EXPECT_EQ(model->data(model->index(0, Col::Note)).toString(), TDutyTableModel::CannotHold);
    EXPECT_TRUE(model->data(model->index(0, Col::Share), Qt::BackgroundRole).isValid());
    EXPECT_TRUE(win->Problem->text().contains(QLatin1String("cannot hold")));
    // Still computed.
    EXPECT_DOUBLE_EQ(value(0, Col::EngineRpm).toDouble(), *point.EngineRpm);
}

TEST_F(DutyTest, UnitsAndReliabilityFollowTheWindow)
{
    w.driver.pedal(62);
    open();
    const double l10 = *win->CombinedLife();
    win->Reliability->setCurrentIndex(2); // 99 %
    EXPECT_DOUBLE_EQ(*win->CombinedLife(), l10 * ReliabilityFactor(99));
    EXPECT_TRUE(win->Combined->text().contains(QLatin1String("99 %")));

    FormDriver::click(w.form().CBMph);
    FormDriver::click(w.form().CBMiles);
    w.driver.tick();
    EXPECT_DOUBLE_EQ(value(0, Col::Speed).toDouble(), 62 / 0.621);
    EXPECT_TRUE(model->headerData(Col::Speed, Qt::Horizontal).toString().contains("km/h"));
    EXPECT_DOUBLE_EQ(*win->CombinedLife(), *combined(ReliabilityFactor(99)));
    // A speed typed in km/h is kept in mph.
    ASSERT_TRUE(edit(0, Col::Speed, 100));
    EXPECT_DOUBLE_EQ(w.session.Truck().Duty[0].SpeedMph, 62.1);
}

TEST_F(DutyTest, TruckChangesAndOpenedFilesReachTheTable)
{
    w.driver.pedal(50);
    open();
    const double flat = *win->CombinedLife();
    w.form().SEGradient->setValue(0.02);
    w.driver.tick();
    EXPECT_LT(*win->CombinedLife(), flat);
    EXPECT_EQ(value(0, Col::Gradient).toDouble(), 0.02); // follows the truck's gradient

    TTruck t = TruckOfForm(w.form());
    TDutySegment a;
    a.SharePct = 25;
    a.SpeedMph = 30;
    TDutySegment b;
    b.SharePct = 75;
    b.SpeedMph = 58;
    t.Duty = {a, b};
    w.nextPath = w.path(QStringLiteral("duty.json"));
    ASSERT_FALSE(WriteTruckFile(w.nextPath.toStdString(), t));
    w.actions().OpenAction->trigger();
    ASSERT_TRUE(w.problems.isEmpty());
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(value(1, Col::Speed).toDouble(), 58);
    EXPECT_DOUBLE_EQ(*win->CombinedLife(), *combined());
}

TEST_F(DutyTest, TypingIntoACellEditsTheSegment)
{
    open();
    win->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(win));
    const QModelIndex cell = model->index(0, Col::Share);
    win->Table->setCurrentIndex(cell);
    win->Table->setFocus();
    win->Table->edit(cell);
    auto *editor = win->Table->findChild<QDoubleSpinBox *>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->maximum(), 100);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("80"));
    EXPECT_EQ(editor->value(), 80) << editor->text().toStdString();
    QTest::keyClick(editor, Qt::Key_Return);
    // The view commits the editor's value from its event loop.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const auto &duty = w.session.Truck().Duty;
            return !duty.empty() && duty[0].SharePct == 80;
        },
        10000));
    EXPECT_FALSE(win->CombinedLife());
}

TEST_F(DutyTest, DownhillSegmentIsMarkedCoastingAndAddsNoDamage)
{
    w.driver.pedal(50);
    open();
    win->AddRow->click(); // two halves at 50 mph
    ASSERT_EQ(model->rowCount(), 2);
    const double level = *win->CombinedLife();
    // The sine of 4 is negative: the second half runs downhill.
    ASSERT_TRUE(edit(1, Col::Gradient, 4));
    EXPECT_EQ(model->data(model->index(1, Col::Note)).toString(), TDutyTableModel::Coasting);
    EXPECT_TRUE(model->data(model->index(0, Col::Note)).toString().isEmpty());
    EXPECT_FALSE(value(1, Col::Damage).isValid());
    // Distance without damage: the life doubles, as with a fourth-gear half.
    ASSERT_TRUE(win->CombinedLife());
    EXPECT_NEAR(*win->CombinedLife(), 2 * level, 2 * level * 1e-9);
}

TEST_F(DutyTest, SegmentWhoseLifeCannotBeRatedIsNamedAndNoCombinedLifeShows)
{
    open();
    // No engine speed gives a road speed with this overdrive ratio.
    TTruck t = w.session.Truck();
    t.Inputs.OverdriveRatio = 1e308;
    TDutySegment a;
    a.SharePct = 50;
    a.SpeedMph = 62;
    TDutySegment b = a;
    b.Gear = TGear::Fourth;
    t.Duty = {b, a};
    w.session.Replace(t, {});
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_FALSE(win->CombinedLife());
    EXPECT_TRUE(win->Combined->text().isEmpty());
    const QString line = win->Problem->text();
    EXPECT_TRUE(line.contains(QLatin1String("Segment 2"))) << line.toStdString();
    EXPECT_TRUE(line.contains(QLatin1String("no engine speed gives 62 mph in fifth")))
        << line.toStdString();
    EXPECT_FALSE(line.contains(QLatin1String("cannot hold"))) << line.toStdString();
    EXPECT_EQ(model->data(model->index(1, Col::Note)).toString(), TDutyTableModel::NotRated);
    EXPECT_TRUE(model->data(model->index(1, Col::Note), Qt::ToolTipRole)
                    .toString()
                    .contains(QLatin1String("no engine speed")));
}

// A value typed into a cell is kept when the window goes while the editor is
// still open (the main window closing takes the duty window with it).
TEST_F(DutyTest, AnOpenEditorsValueIsKeptWhenTheWindowGoes)
{
    open();
    win->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(win));
    const QModelIndex cell = model->index(0, Col::Speed);
    win->Table->setCurrentIndex(cell);
    win->Table->setFocus();
    win->Table->edit(cell);
    auto *editor = win->Table->findChild<QDoubleSpinBox *>();
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("42"));
    QPointer<TDutyWindow> guard(win);
    delete win;
    EXPECT_FALSE(guard);
    ASSERT_EQ(w.session.Truck().Duty.size(), 1u);
    EXPECT_EQ(w.session.Truck().Duty[0].SpeedMph, 42);
}

// Each row's life is the segment's own L10 scaled by the chosen reliability,
// as the combined life is; the damage shares do not depend on it.
TEST_F(DutyTest, EveryRowsLifeTakesTheReliabilityFactor)
{
    w.driver.pedal(50);
    open();
    win->AddRow->click();
    ASSERT_TRUE(edit(1, Col::Speed, 64));
    const TTruck t = TruckOfForm(w.form());
    ASSERT_GE(win->Reliability->count(), 4);
    for (int i = 0; i < win->Reliability->count(); ++i) {
        win->Reliability->setCurrentIndex(i);
        const double a1 = ReliabilityFactor(win->Reliability->currentData().toDouble());
        SCOPED_TRACE(win->Reliability->currentText().toStdString());
        double damage = 0;
        for (int row = 0; row < 2; ++row) {
            const auto point = SteadyState(t, model->Segments()[std::size_t(row)]);
            ASSERT_TRUE(point.LifeKm);
            EXPECT_DOUBLE_EQ(value(row, Col::Life).toDouble(),
                             LifeMap::LifeShown(*point.LifeKm, t.LifeInMiles) * a1);
            damage += value(row, Col::Damage).toDouble();
        }
        EXPECT_NEAR(damage, 100, 1e-9);
        EXPECT_DOUBLE_EQ(*win->CombinedLife(), *combined(a1));
    }
}

// An editor never offers a value its column refuses: the share and the speed
// must be above 0, so their editors start one step above it, in either unit;
// the others start at their lowest value. The top is the column's limit in the shown unit.
struct EditorLimit {
    Col Column;
    bool Mph;
    double Min; // the smallest value the editor offers
    double Max;
};

class DutyEditorLimit : public DutyTest, public ::testing::WithParamInterface<EditorLimit>
{
};

TEST_P(DutyEditorLimit, StartsOneStepAboveAnExcludedZero)
{
    const EditorLimit c = GetParam();
    if (!c.Mph)
        FormDriver::click(w.form().CBMph);
    open();
    win->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(win));
    const QModelIndex cell = model->index(0, c.Column);
    win->Table->setCurrentIndex(cell);
    win->Table->edit(cell);
    auto *editor = win->Table->findChild<QDoubleSpinBox *>();
    ASSERT_NE(editor, nullptr);
    EXPECT_DOUBLE_EQ(editor->minimum(), c.Min);
    EXPECT_DOUBLE_EQ(editor->maximum(), c.Max);
    // Stepping down past the bottom stops at the minimum.
    for (int i = 0; i < 400; ++i)
        QTest::keyClick(editor, Qt::Key_PageDown);
    EXPECT_DOUBLE_EQ(editor->value(), c.Min);
}

INSTANTIATE_TEST_SUITE_P(Columns, DutyEditorLimit,
                         ::testing::Values(EditorLimit{Col::Share, true, 0.01, 100},
                                           EditorLimit{Col::Speed, true, 0.1, 100},
                                           EditorLimit{Col::Speed, false, 0.1, 161},
                                           EditorLimit{Col::Gradient, true, -0.5, 100},
                                           EditorLimit{Col::Load, true, 0, 3000}));

// A gradient or load the segment takes from the truck is grey with a tip
// saying so; once edited it is the segment's own, in the normal colour, and
// the other column still follows the truck.
class DutyFollowsTheTruck : public DutyTest, public ::testing::WithParamInterface<Col>
{
};

TEST_P(DutyFollowsTheTruck, IsGreyUntilTheSegmentHasItsOwnValue)
{
    const Col column = GetParam();
    const Col other = column == Col::Gradient ? Col::Load : Col::Gradient;
    open();
    auto grey = [&](Col c) {
        return model->data(model->index(0, c), Qt::ForegroundRole).value<QBrush>().color() ==
               QColor(Qt::gray);
    };
    auto tip = [&](Col c) {
        return model->data(model->index(0, c), Qt::ToolTipRole).toString();
    };
    EXPECT_TRUE(grey(column));
    EXPECT_TRUE(grey(other));
    EXPECT_FALSE(tip(column).isEmpty());
    for (Col c : {Col::Share, Col::Speed, Col::Gear})
        EXPECT_FALSE(model->data(model->index(0, c), Qt::ForegroundRole).isValid()) << int(c);

    ASSERT_TRUE(edit(0, column, column == Col::Gradient ? 0.01 : 1200));
    EXPECT_FALSE(model->data(model->index(0, column), Qt::ForegroundRole).isValid());
    EXPECT_TRUE(tip(column).isEmpty());
    EXPECT_TRUE(grey(other));
    EXPECT_FALSE(tip(other).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Columns, DutyFollowsTheTruck,
                         ::testing::Values(Col::Gradient, Col::Load));

} // namespace

namespace
{

TEST_F(DutyTest, ScreenReadersHearEachCellWithItsColumn)
{
    open();
    win->show();
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(win->Table);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->text(QAccessible::Name), QStringLiteral("Duty segments"));
    QAccessibleTableInterface *cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    const struct {
        int column;
        const char *header;
    } rows[] = {
        {Col::Share, "Share of the distance, %"}, {Col::Speed, "Speed, mph"},
        {Col::Gear, "Gear"}, {Col::Load, "Load, lb"}, {Col::EngineRpm, "Engine speed, rpm"},
        {Col::RadialLoad, "Bearing load P, lbf"}, {Col::Life, "Life, thousand miles"},
        {Col::Damage, "Share of the damage, %"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.header);
        QAccessibleInterface *cell = cells->cellAt(0, row.column);
        ASSERT_NE(cell, nullptr);
        const QString shown = model->index(0, row.column).data().toString();
        ASSERT_FALSE(shown.isEmpty());
        EXPECT_EQ(cell->text(QAccessible::Name),
                  QLatin1String(row.header) + QStringLiteral(": ") + shown);
        // The header cell the reader names the column by.
        QAccessibleTableCellInterface *c = cell->tableCellInterface();
        ASSERT_NE(c, nullptr);
        const QList<QAccessibleInterface *> headers = c->columnHeaderCells();
        ASSERT_EQ(headers.size(), 1);
        EXPECT_EQ(headers.front()->text(QAccessible::Name), QLatin1String(row.header));
    }
    // An empty cell says so; the units follow the window.
    EXPECT_EQ(cells->cellAt(0, Col::Note)->text(QAccessible::Name), QStringLiteral("Note: none"));
    FormDriver::click(w.form().CBMph);
    FormDriver::click(w.form().CBMiles);
    EXPECT_TRUE(cells->cellAt(0, Col::Speed)->text(QAccessible::Name).startsWith(
        QStringLiteral("Speed, km/h: ")));
    EXPECT_TRUE(cells->cellAt(0, Col::Life)->text(QAccessible::Name).startsWith(
        QStringLiteral("Life, thousand km: ")));
}

TEST_F(DutyTest, EveryControlThatTakesTheFocusIsNamedTheCellEditorsToo)
{
    open();
    win->show();
    // An open editor holds the focus.
    win->Table->edit(model->index(0, Col::Speed));
    QCoreApplication::processEvents();
    int checked = 0, editors = 0;
    for (QWidget *c : win->findChildren<QWidget *>()) {
        if (c->focusPolicy() == Qt::NoFocus || !c->isVisibleTo(win) || c->window() != win)
            continue;
        QAccessibleInterface *i = QAccessible::queryAccessibleInterface(c);
        ASSERT_NE(i, nullptr);
        SCOPED_TRACE(c->metaObject()->className());
        const QString n = i->text(QAccessible::Name);
        EXPECT_FALSE(n.isEmpty());
        if (i->role() != QAccessible::Table) { // a table's value is its name
            EXPECT_NE(n, i->text(QAccessible::Value));
        }
        editors += qobject_cast<QDoubleSpinBox *>(c) != nullptr;
        ++checked;
    }
    EXPECT_GE(checked, 5); // the table, two buttons, the list, the editor
    EXPECT_EQ(editors, 1);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(win->Reliability)->text(QAccessible::Name),
              QStringLiteral("Reliability"));
}

} // namespace
