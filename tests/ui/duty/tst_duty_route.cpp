// The duty window with a list imported from a recorded route.

#include "ui/support/RouteFiles.h"
#include "ui/support/WindowsFixture.h"

#include "analysis/DutyCycle.h"
#include "analysis/Reliability.h"
#include "ui/duty/DutyTable.h"
#include "ui/duty/DutyWindow.h"
#include "ui/duty/RouteText.h"
#include "ui/form/FormTruck.h"
#include "widgets/input/ESBPCSSpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace
{

class DutyRoute : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        w.actions().DutyAction->trigger();
        win = w.actions().DutyWindow();
        ASSERT_NE(win, nullptr);
        gpx = w.writeFile(QStringLiteral("drive.gpx"), TownThenHighwayGpx());
    }
    // The window's button, the file dialog answering with the drive.
    bool importByButton()
    {
        w.nextPath = gpx;
        win->ImportRoute->click();
        bool applied = false;
        return WaitForImport(w, &applied) && applied;
    }
    double tripsL10() const
    {
        const auto life = DutyLife(w.session.Truck(), w.session.Truck().Duty).LifeKm;
        return *life / (w.session.RouteSummary()->MovingDistanceM / 1000);
    }

    WindowsFixture w;
    TDutyWindow *win = nullptr;
    QString gpx;
};

TEST_F(DutyRoute, TheButtonImportsAndTheTableSummaryAndTripsFollow)
{
    EXPECT_TRUE(win->RouteSummary->isHidden());
    EXPECT_TRUE(win->Trips->text().isEmpty());
    ASSERT_TRUE(importByButton());
    EXPECT_EQ(w.dialogs, 1);

    // The table is the route's list.
    EXPECT_EQ(win->TableModel()->Segments(), w.session.Truck().Duty);
    EXPECT_EQ(win->TableModel()->rowCount(), 2);
    EXPECT_TRUE(win->Problem->text().isEmpty()) << win->Problem->text().toStdString();
    ASSERT_TRUE(win->CombinedLife());

    ASSERT_TRUE(w.session.RouteSummary());
    EXPECT_FALSE(win->RouteSummary->isHidden());
    EXPECT_EQ(
        win->RouteSummary->text(),
        RouteSummaryText(*w.session.RouteSummary(), w.session.Truck().LifeInMiles, win->locale()));
    EXPECT_TRUE(win->RouteSummary->text().contains(QLatin1String("1 piece,")))
        << win->RouteSummary->text().toStdString();
    EXPECT_EQ(win->Trips->text(), TripsText(tripsL10(), 90, 1, win->locale()));
    EXPECT_TRUE(win->Trips->text().contains(QLatin1String("trips of this route")));

    // At another reliability, the trips it allows as well.
    win->Reliability->setCurrentIndex(2); // 99 %
    EXPECT_EQ(win->Trips->text(), TripsText(tripsL10(), 99, ReliabilityFactor(99), win->locale()));
    EXPECT_TRUE(win->Trips->text().contains(QLatin1String("at 99 %")));
}

TEST_F(DutyRoute, TheSummaryFollowsTheUnitsAndTheTripsTheTruck)
{
    ASSERT_TRUE(importByButton());
    const QString before = win->Trips->text();
    w.form().CBMiles->setChecked(!w.form().CBMiles->isChecked());
    const bool miles = w.session.Truck().LifeInMiles;
    EXPECT_EQ(win->RouteSummary->text().contains(QLatin1String(" miles,")), miles);
    EXPECT_EQ(win->RouteSummary->text().contains(QLatin1String(" km,")), !miles);
    // A bearing of half the load rating lasts an eighth as long: fewer trips.
    TTruck weaker = w.session.Truck();
    weaker.LoadRating /= 2;
    w.session.SetInputs(weaker);
    EXPECT_NE(win->Trips->text(), before);
    EXPECT_EQ(win->Trips->text(), TripsText(tripsL10(), 90, 1, win->locale()));
}

TEST_F(DutyRoute, EditingTheListDropsTheSummary)
{
    ASSERT_TRUE(importByButton());
    auto *model = win->TableModel();
    ASSERT_TRUE(model->setData(model->index(0, TDutyTableModel::Speed), 35.0, Qt::EditRole));
    EXPECT_FALSE(w.session.RouteSummary());
    EXPECT_TRUE(win->RouteSummary->isHidden());
    EXPECT_TRUE(win->Trips->text().isEmpty());
    EXPECT_TRUE(win->CombinedLife()); // the list itself stays
}

TEST_F(DutyRoute, ABadFileLeavesTheTableAsItWas)
{
    auto *model = win->TableModel();
    ASSERT_TRUE(model->setData(model->index(0, TDutyTableModel::Speed), 45.0, Qt::EditRole));
    const auto shown = model->Segments();
    w.nextPath = w.writeFile(QStringLiteral("bad.gpx"), "<gpx><trk>");
    win->ImportRoute->click();
    bool applied = true;
    ASSERT_TRUE(WaitForImport(w, &applied));
    EXPECT_FALSE(applied);
    EXPECT_EQ(w.problems.size(), 1);
    EXPECT_EQ(model->Segments(), shown);
    EXPECT_TRUE(win->RouteSummary->isHidden());
}

TEST_F(DutyRoute, AnotherTruckDropsTheSummary)
{
    ASSERT_TRUE(importByButton());
    w.saveAnswer = QMessageBox::Discard;
    w.actions().NewAction->trigger();
    EXPECT_TRUE(win->RouteSummary->isHidden());
    EXPECT_TRUE(win->Trips->text().isEmpty());
    EXPECT_EQ(win->TableModel()->rowCount(), 1); // the seed again
}

} // namespace
