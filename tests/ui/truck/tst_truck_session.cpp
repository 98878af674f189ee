// The truck session on its own: what counts as a change, which signals come
// and when, and files that cannot be read or written.

#include "ui/truck/TruckSession.h"

#include "analysis/DutyCycle.h"
#include "analysis/TruckFile.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace
{

TDutySegment segment(double share, double mph)
{
    TDutySegment s;
    s.SharePct = share;
    s.SpeedMph = mph;
    return s;
}

struct ModifiedCase {
    const char *name;
    bool withFile;
    std::function<void(TTruckSession &)> change;
    bool modified;
    int flips = -1; // ModifiedChanged signals; -1: one if modified, else none
};

void PrintTo(const ModifiedCase &c, std::ostream *os)
{
    *os << c.name;
}

class SessionModified : public ::testing::TestWithParam<ModifiedCase>
{
  protected:
    QTemporaryDir dir;
};

TEST_P(SessionModified, FollowsWhatWouldBeLost)
{
    const ModifiedCase &c = GetParam();
    TTruckSession s;
    if (c.withFile) {
        TTruck t;
        t.Duty = {segment(100, 50)};
        ASSERT_FALSE(WriteTruckFile(dir.filePath("t.json").toStdString(), t));
        ASSERT_EQ(s.Open(dir.filePath("t.json")), QString());
        ASSERT_FALSE(s.IsModified());
    }
    QSignalSpy spy(&s, &TTruckSession::ModifiedChanged);
    c.change(s);
    EXPECT_EQ(s.IsModified(), c.modified);
    // One signal per real change of the state, none for a repeat.
    EXPECT_EQ(spy.count(), c.flips >= 0 ? c.flips : c.modified ? 1 : 0);
}

TTruck withLoad(const TTruckSession &s, double load)
{
    TTruck changed = s.Truck();
    changed.Inputs.Load = load;
    return changed;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SessionModified,
    ::testing::Values(
        // A truck never saved: only a duty list the user made would be lost.
        ModifiedCase{"NoFileInputChanged", false,
                     [](TTruckSession &s) { s.SetInputs(withLoad(s, 900)); }, false},
        ModifiedCase{"NoFileDutyEdited", false,
                     [](TTruckSession &s) { s.SetDuty({segment(100, 40)}); }, true},
        ModifiedCase{"NoFileDutyEditedThenEmptied", false,
                     [](TTruckSession &s) {
                         s.SetDuty({segment(100, 40)});
                         s.SetDuty({});
                     },
                     false, 2},
        ModifiedCase{"NoFileRunning", false,
                     [](TTruckSession &s) {
                         s.SetRunning({1500, 40, TGear::Fifth, 1e5, 40});
                     },
                     false},
        // A truck with a file: any difference from the file.
        ModifiedCase{"FileInputChanged", true,
                     [](TTruckSession &s) { s.SetInputs(withLoad(s, 900)); }, true},
        ModifiedCase{"FileInputChangedAndBack", true,
                     [](TTruckSession &s) {
                         const double load = s.Truck().Inputs.Load;
                         s.SetInputs(withLoad(s, 900));
                         s.SetInputs(withLoad(s, load));
                     },
                     false, 2},
        ModifiedCase{"FileGearChanged", true,
                     [](TTruckSession &s) {
                         TTruck changed = s.Truck();
                         changed.Gear = TGear::Fourth;
                         s.SetInputs(changed);
                     },
                     true},
        ModifiedCase{"FileUnitsChanged", true,
                     [](TTruckSession &s) {
                         TTruck changed = s.Truck();
                         changed.SpeedInMph = false;
                         s.SetInputs(changed);
                     },
                     true},
        ModifiedCase{"FileRowChanged", true,
                     [](TTruckSession &s) {
                         TTruck changed = s.Truck();
                         changed.Inputs.FinalDriveIndex = 4;
                         s.SetInputs(changed);
                     },
                     true},
        ModifiedCase{"FileDutyEdited", true,
                     [](TTruckSession &s) {
                         s.SetDuty({segment(50, 40), segment(50, 60)});
                     },
                     true},
        ModifiedCase{"FileSameDutyAgain", true,
                     [](TTruckSession &s) { s.SetDuty({segment(100, 50)}); }, false},
        ModifiedCase{"FileRunning", true,
                     [](TTruckSession &s) {
                         s.SetRunning({1500, 40, TGear::Fifth, 1e5, 40});
                     },
                     false}),
    [](const auto &c) { return std::string(c.param.name); });

TEST(Session, SignalsOnlyOnRealChanges)
{
    TTruckSession s;
    QSignalSpy truck(&s, &TTruckSession::TruckChanged);
    QSignalSpy duty(&s, &TTruckSession::DutyChanged);
    QSignalSpy running(&s, &TTruckSession::RunningChanged);
    QSignalSpy loaded(&s, &TTruckSession::TruckLoaded);

    s.SetInputs(s.Truck());
    EXPECT_EQ(truck.count(), 0);
    s.SetInputs(withLoad(s, 700));
    s.SetInputs(withLoad(s, 700));
    EXPECT_EQ(truck.count(), 1);
    EXPECT_EQ(loaded.count(), 0); // the window's own change goes nowhere back

    // The inputs never carry a duty list in.
    TTruck carrying = withLoad(s, 800);
    carrying.Duty = {segment(100, 30)};
    s.SetInputs(carrying);
    EXPECT_TRUE(s.Truck().Duty.empty());

    TTruckSession::TRunning r{1200, 30, TGear::Fifth, 2e5, 30};
    s.SetRunning(r);
    s.SetRunning(r);
    EXPECT_EQ(running.count(), 1);
    r.LifeKm.reset();
    s.SetRunning(r);
    EXPECT_EQ(running.count(), 2);

    // The first edit counts even when it leaves the list as it was: the list
    // is now the user's.
    EXPECT_FALSE(s.DutyEdited());
    s.SetDuty({});
    EXPECT_TRUE(s.DutyEdited());
    EXPECT_EQ(duty.count(), 1);
    s.SetDuty({});
    EXPECT_EQ(duty.count(), 1);

    // New: the start-up truck comes to the window, the list is no longer edited.
    s.New();
    EXPECT_EQ(loaded.count(), 1);
    EXPECT_FALSE(s.DutyEdited());
    EXPECT_TRUE(s.Truck() == TTruck{});
}

TEST(Session, SaveMakesTheFileTheTruckAndAFailedOneChangesNothing)
{
    QTemporaryDir dir;
    TTruckSession s;
    s.SetDuty({segment(100, 45)});
    QSignalSpy file(&s, &TTruckSession::FileChanged);

    const QString bad = dir.filePath("no/such/folder/t.json");
    EXPECT_TRUE(s.SaveTo(bad).contains(bad));
    EXPECT_TRUE(s.FilePath().isEmpty());
    EXPECT_TRUE(s.IsModified());
    EXPECT_EQ(file.count(), 0);

    const QString good = dir.filePath("t.json");
    EXPECT_EQ(s.SaveTo(good), QString());
    EXPECT_EQ(s.FilePath(), good);
    EXPECT_FALSE(s.IsModified());
    EXPECT_EQ(file.count(), 1);
    // Saving again to the same file is no change of file.
    EXPECT_EQ(s.SaveTo(good), QString());
    EXPECT_EQ(file.count(), 1);

    // A file that cannot be read changes nothing either.
    QFile broken(dir.filePath("broken.json"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("{ \"format\": ");
    broken.close();
    s.SetInputs(withLoad(s, 650));
    const TTruck before = s.Truck();
    const QString problem = s.Open(broken.fileName());
    EXPECT_TRUE(problem.contains(broken.fileName())) << problem.toStdString();
    EXPECT_TRUE(s.Truck() == before);
    EXPECT_EQ(s.FilePath(), good);
    EXPECT_TRUE(s.IsModified());
}

// A route as the import gives it: two segments and what the drive was.
TRoute route()
{
    TRoute r;
    r.Duty = {segment(40, 30), segment(60, 60)};
    r.Summary.DistanceM = 5200;
    r.Summary.MovingDistanceM = 5000;
    r.Summary.Pieces = 1;
    r.Summary.LifeKm = 1; // stale: the session rates it on its own truck
    return r;
}

struct RouteCase {
    const char *name;
    std::function<void(TTruckSession &)> after;
    bool kept;
};

void PrintTo(const RouteCase &c, std::ostream *os)
{
    *os << c.name;
}

std::string routeCaseName(const ::testing::TestParamInfo<RouteCase> &p)
{
    return p.param.name;
}

class SessionRoute : public ::testing::TestWithParam<RouteCase>
{
};

TEST_P(SessionRoute, TheSummaryStaysWithTheListUntilItIsEditedOrReplaced)
{
    const RouteCase &c = GetParam();
    TTruckSession s;
    QSignalSpy duty(&s, &TTruckSession::DutyChanged);
    s.SetRoute(route());
    EXPECT_EQ(duty.count(), 1);
    EXPECT_EQ(s.Truck().Duty, route().Duty);
    EXPECT_TRUE(s.DutyEdited());
    EXPECT_TRUE(s.IsModified());
    EXPECT_TRUE(s.DutyModified());
    ASSERT_TRUE(s.RouteSummary());
    EXPECT_EQ(s.RouteSummary()->MovingDistanceM, 5000);

    duty.clear();
    c.after(s);
    EXPECT_EQ(s.RouteSummary().has_value(), c.kept);
    // Whoever shows the summary hears of its going with the list.
    if (!c.kept) {
        EXPECT_GE(duty.count(), 1);
    }
    if (c.kept && s.RouteSummary()) {
        // Life and trips are the present truck's.
        const auto life = DutyLife(s.Truck(), s.Truck().Duty).LifeKm;
        ASSERT_TRUE(life);
        EXPECT_EQ(s.RouteSummary()->LifeKm, life);
        ASSERT_TRUE(s.RouteSummary()->Trips);
        EXPECT_DOUBLE_EQ(*s.RouteSummary()->Trips, *life / 5);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SessionRoute,
    ::testing::Values(
        RouteCase{"Nothing", [](TTruckSession &) {}, true},
        RouteCase{"SameListAgain", [](TTruckSession &s) { s.SetDuty(route().Duty); }, true},
        RouteCase{"InputsChange",
                  [](TTruckSession &s) {
                      TTruck heavier = s.Truck();
                      heavier.Inputs.Load = 2500;
                      heavier.LoadRating = 1500;
                      s.SetInputs(heavier);
                  },
                  true},
        RouteCase{"ListEdited",
                  [](TTruckSession &s) {
                      s.SetDuty({segment(40, 35), segment(60, 60)});
                  },
                  false},
        RouteCase{"NewTruck", [](TTruckSession &s) { s.New(); }, false},
        RouteCase{"OtherTruck", [](TTruckSession &s) { s.Replace(TTruck{}, QString()); }, false}),
    routeCaseName);

TEST(SessionRoute, TheTripsMoveWithTheLife)
{
    TTruckSession s;
    s.SetRoute(route());
    const double before = *s.RouteSummary()->Trips;
    TTruck t = s.Truck();
    t.LoadRating /= 2; // life goes with (C/P)^3
    s.SetInputs(t);
    EXPECT_NEAR(*s.RouteSummary()->Trips, before / 8, before * 1e-9);
}

TEST(SessionRoute, DutyModifiedIsTheListAgainstTheFile)
{
    QTemporaryDir dir;
    TTruckSession s;
    EXPECT_FALSE(s.DutyModified());
    const QString path = dir.filePath(QStringLiteral("t.json"));
    TTruck t;
    t.Duty = {segment(100, 50)};
    ASSERT_FALSE(WriteTruckFile(path.toStdString(), t));
    ASSERT_TRUE(s.Open(path).isEmpty());
    EXPECT_FALSE(s.DutyModified());
    TTruck inputs = s.Truck();
    inputs.Inputs.Load = 2000;
    s.SetInputs(inputs);
    EXPECT_TRUE(s.IsModified());
    EXPECT_FALSE(s.DutyModified()); // the inputs changed, the list did not
    s.SetDuty({segment(100, 55)});
    EXPECT_TRUE(s.DutyModified());
    s.SetDuty({segment(100, 50)});
    EXPECT_FALSE(s.DutyModified()); // back as the file holds it
}

} // namespace
