#include "ui/support/RouteFiles.h"
#include "ui/support/WindowsFixture.h"

#include "analysis/RouteDuty.h"
#include "analysis/TruckFile.h"
#include "ui/form/FormTruck.h"
#include "widgets/input/ESBPCSSpinEdit.h"

#include <QAction>
#include <QFile>
#include <QGuiApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <gtest/gtest.h>

#include <cstdlib>
#include <variant>

namespace
{

std::vector<TDutySegment> typedList()
{
    TDutySegment a;
    a.SharePct = 70;
    a.SpeedMph = 55;
    TDutySegment b;
    b.SharePct = 30;
    b.SpeedMph = 35;
    return {a, b};
}

// The route the analysis makes of `path` for the window's truck.
TRoute expectedRoute(WindowsFixture &w, const QString &path)
{
    auto r = ImportRoute(path.toStdString(), TruckOfForm(w.form()));
    EXPECT_TRUE(std::holds_alternative<TRoute>(r));
    return std::holds_alternative<TRoute>(r) ? std::get<TRoute>(r) : TRoute{};
}

TEST(RouteImport, TheMenuEntryAsksForAGpxFileAndTheRouteBecomesTheDutyList)
{
    WindowsFixture w;
    QString filter;
    TDialogs seam = w.actions().Dialogs();
    auto ask = seam.AskFile;
    seam.AskFile = [&](QWidget *p, const QString &c, const QString &dir, const QString &f,
                       bool saving) {
        filter = f;
        return ask(p, c, dir, f, saving);
    };
    w.actions().setDialogs(seam);
    w.nextPath = w.writeFile(QStringLiteral("drive.gpx"), TownThenHighwayGpx());
    const TRoute expected = expectedRoute(w, w.nextPath);

    w.actions().ImportRouteAction->trigger();
    bool applied = false;
    ASSERT_TRUE(WaitForImport(w, &applied));
    EXPECT_TRUE(applied);
    EXPECT_EQ(w.dialogs, 1);
    EXPECT_FALSE(w.lastDialogSaving);
    EXPECT_TRUE(filter.startsWith(QLatin1String("GPX tracks (*.gpx)"))) << filter.toStdString();
    EXPECT_TRUE(w.problems.isEmpty()) << w.problems.join('\n').toStdString();
    EXPECT_TRUE(w.saveQuestions.isEmpty()); // nothing was there to lose

    EXPECT_EQ(w.session.Truck().Duty, expected.Duty);
    ASSERT_EQ(w.session.Truck().Duty.size(), 2u);
    EXPECT_NEAR(w.session.Truck().Duty[0].SharePct, 40, 1e-9);
    EXPECT_EQ(w.session.Truck().Duty[0].SpeedMph, 30);
    EXPECT_NEAR(w.session.Truck().Duty[1].SharePct, 60, 1e-9);
    EXPECT_EQ(w.session.Truck().Duty[1].SpeedMph, 60);
    ASSERT_TRUE(w.session.RouteSummary());
    EXPECT_EQ(w.session.RouteSummary()->Pieces, 1u);
    EXPECT_DOUBLE_EQ(w.session.RouteSummary()->MovingDistanceM, expected.Summary.MovingDistanceM);
    EXPECT_EQ(w.session.RouteSummary()->Trips, expected.Summary.Trips);
    // An import is the user's change: it would be lost on closing.
    EXPECT_TRUE(w.session.DutyEdited());
    EXPECT_TRUE(w.session.IsModified());
    EXPECT_FALSE(w.actions().RouteImportRunning());
    EXPECT_TRUE(w.actions().ImportRouteAction->isEnabled());
}

TEST(RouteImport, ACancelledFileDialogStartsNothing)
{
    WindowsFixture w;
    w.session.SetDuty(typedList());
    w.nextPath.clear();
    w.actions().ImportRouteAction->trigger();
    EXPECT_EQ(w.dialogs, 1);
    EXPECT_FALSE(w.actions().RouteImportRunning());
    EXPECT_EQ(w.session.Truck().Duty, typedList());
    EXPECT_TRUE(w.saveQuestions.isEmpty());
}

struct PromptCase {
    bool withFile; // the truck was opened from a file, else never saved
    QMessageBox::StandardButton answer;
};

std::string promptName(const ::testing::TestParamInfo<PromptCase> &p)
{
    const char *answer = p.param.answer == QMessageBox::Save      ? "Save"
                         : p.param.answer == QMessageBox::Discard ? "Discard"
                                                                  : "Cancel";
    return std::string(p.param.withFile ? "OpenedFile" : "NeverSaved") + answer;
}

class RouteImportPrompt : public ::testing::TestWithParam<PromptCase>
{
};

TEST_P(RouteImportPrompt, AnEditedListIsAskedAboutOnceAndTheAnswerIsDone)
{
    const PromptCase &c = GetParam();
    WindowsFixture w;
    const QString own = w.path(QStringLiteral("own.json"));
    if (c.withFile) {
        ASSERT_FALSE(WriteTruckFile(own.toStdString(), TTruck{}));
        ASSERT_TRUE(w.actions().OpenTruck(own));
    }
    w.session.SetDuty(typedList());
    const QString route = w.writeFile(QStringLiteral("drive.gpx"), TownThenHighwayGpx());
    const TRoute expected = expectedRoute(w, route);
    w.saveAnswer = c.answer;
    // Save on a truck never saved asks where.
    w.nextPath = own;

    w.actions().StartRouteImport(route);
    bool applied = true;
    ASSERT_TRUE(WaitForImport(w, &applied));
    ASSERT_EQ(w.saveQuestions.size(), 1);
    EXPECT_TRUE(w.saveQuestions[0].contains(QLatin1String("duty cycle")))
        << w.saveQuestions[0].toStdString();
    EXPECT_TRUE(w.problems.isEmpty()) << w.problems.join('\n').toStdString();

    const bool goesOn = c.answer != QMessageBox::Cancel;
    EXPECT_EQ(applied, goesOn);
    EXPECT_EQ(w.session.Truck().Duty, goesOn ? expected.Duty : typedList());
    EXPECT_EQ(w.session.RouteSummary().has_value(), goesOn);
    if (c.answer == QMessageBox::Save) {
        // The typed list is in the file; the route is the new, unsaved list.
        const auto saved = ReadTruckFile(own.toStdString());
        ASSERT_TRUE(std::holds_alternative<TTruck>(saved));
        EXPECT_EQ(std::get<TTruck>(saved).Duty, typedList());
        EXPECT_EQ(w.session.FilePath(), own);
    }
    if (c.answer == QMessageBox::Cancel) {
        EXPECT_TRUE(w.session.IsModified());
    }
}

INSTANTIATE_TEST_SUITE_P(EachAnswer, RouteImportPrompt,
                         ::testing::Values(PromptCase{false, QMessageBox::Save},
                                           PromptCase{false, QMessageBox::Discard},
                                           PromptCase{false, QMessageBox::Cancel},
                                           PromptCase{true, QMessageBox::Save},
                                           PromptCase{true, QMessageBox::Discard},
                                           PromptCase{true, QMessageBox::Cancel}),
                         promptName);

TEST(RouteImport, ChangedInputsOfAnOpenedFileAreNotAskedAbout)
{
    // The import replaces the duty list only: the inputs are not lost.
    WindowsFixture w;
    const QString own = w.path(QStringLiteral("own.json"));
    ASSERT_FALSE(WriteTruckFile(own.toStdString(), TTruck{}));
    ASSERT_TRUE(w.actions().OpenTruck(own));
    w.form().SELoad->setValue(1234);
    ASSERT_TRUE(w.session.IsModified());
    ASSERT_TRUE(ImportAndWait(w, w.writeFile(QStringLiteral("d.gpx"), TownThenHighwayGpx())));
    EXPECT_TRUE(w.saveQuestions.isEmpty());
    EXPECT_EQ(w.session.Truck().Inputs.Load, 1234);
}

struct BadRoute {
    const char *name;
    QByteArray text;
    const char *line;    // "line N" the message names, "" for the file as a whole
    const char *problem; // a word of the problem
};

std::string badRouteName(const ::testing::TestParamInfo<BadRoute> &p)
{
    return p.param.name;
}

class RouteImportBadFile : public ::testing::TestWithParam<BadRoute>
{
};

TEST_P(RouteImportBadFile, ShowsOneProblemNamingFileLineAndProblemAndChangesNothing)
{
    const BadRoute &c = GetParam();
    WindowsFixture w;
    w.session.SetDuty(typedList());
    w.saveAnswer = QMessageBox::Discard;
    const TTruck before = w.session.Truck();
    const QString path = w.writeFile(QStringLiteral("%1.gpx").arg(QLatin1String(c.name)), c.text);

    w.actions().StartRouteImport(path);
    bool applied = true;
    ASSERT_TRUE(WaitForImport(w, &applied));
    EXPECT_FALSE(applied);
    ASSERT_EQ(w.problems.size(), 1);
    const QString &message = w.problems[0];
    EXPECT_TRUE(message.startsWith(path + QLatin1Char(':'))) << message.toStdString();
    EXPECT_TRUE(message.contains(QLatin1String(c.line))) << message.toStdString();
    EXPECT_TRUE(message.contains(QLatin1String(c.problem), Qt::CaseInsensitive))
        << message.toStdString();
    EXPECT_FALSE(message.contains(QLatin1Char('\n')));
    EXPECT_TRUE(w.saveQuestions.isEmpty()); // nothing to replace the list with
    EXPECT_TRUE(w.session.Truck() == before);
    EXPECT_FALSE(w.session.RouteSummary());
}

#define GPX_HEAD                                                                                   \
    "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"

INSTANTIATE_TEST_SUITE_P(
    Kinds, RouteImportBadFile,
    ::testing::Values(
        BadRoute{"NotXml", "this is not xml\n", "line 1", "xml"},
        BadRoute{"RouteOnly", GPX_HEAD "<rte><rtept lat=\"1\" lon=\"1\"/></rte>\n</gpx>\n", "",
                 "time"},
        BadRoute{"BadLatitude",
                 GPX_HEAD "<trk><trkseg>\n<trkpt lat=\"91\" lon=\"0\"><time>2024-05-01T08:00:00Z"
                          "</time></trkpt>\n</trkseg></trk></gpx>\n",
                 "line 4", "latitude"},
        BadRoute{"Entity",
                 "<?xml version=\"1.0\"?>\n<!DOCTYPE gpx [<!ENTITY e SYSTEM \"/etc/passwd\">]>\n"
                 "<gpx>&e;</gpx>\n",
                 "line 2", "DOCTYPE"},
        BadRoute{"Standing",
                 GPX_HEAD "<trk><trkseg>\n<trkpt lat=\"0\" lon=\"0\"><time>2024-05-01T08:00:00Z"
                          "</time></trkpt>\n<trkpt lat=\"0\" lon=\"0\"><time>2024-05-01T09:00:00Z"
                          "</time></trkpt>\n</trkseg></trk></gpx>\n",
                 "", "never moves"}),
    badRouteName);

TEST(RouteImport, AMissingFileIsOneProblem)
{
    WindowsFixture w;
    const QString path = w.path(QStringLiteral("gone.gpx"));
    w.actions().StartRouteImport(path);
    bool applied = true;
    ASSERT_TRUE(WaitForImport(w, &applied));
    EXPECT_FALSE(applied);
    ASSERT_EQ(w.problems.size(), 1);
    EXPECT_TRUE(w.problems[0].startsWith(path)) << w.problems[0].toStdString();
    EXPECT_TRUE(w.session.Truck().Duty.empty());
}

TEST(RouteImport, CancelChangesNothingEvenWhenTheWorkIsDone)
{
    WindowsFixture w;
    w.session.SetDuty(typedList());
    w.saveAnswer = QMessageBox::Discard;
    const QString path = w.writeFile(QStringLiteral("drive.gpx"), TownThenHighwayGpx());

    w.actions().StartRouteImport(path);
    ASSERT_TRUE(w.actions().RouteImportRunning());
    // Progress waits half a second before it shows, over the window.
    QProgressDialog *progress = w.actions().RouteImportProgress();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->minimumDuration(), 500);
    EXPECT_EQ(progress->windowModality(), Qt::WindowModal);
    EXPECT_FALSE(w.actions().ImportRouteAction->isEnabled()); // one import at a time
    auto *cancel = progress->findChild<QPushButton *>();
    ASSERT_NE(cancel, nullptr);
    cancel->click(); // the user's Cancel

    bool applied = true;
    ASSERT_TRUE(WaitForImport(w, &applied));
    EXPECT_FALSE(applied);
    EXPECT_TRUE(w.problems.isEmpty()) << w.problems.join('\n').toStdString();
    EXPECT_TRUE(w.saveQuestions.isEmpty());
    EXPECT_EQ(w.session.Truck().Duty, typedList());
    EXPECT_FALSE(w.session.RouteSummary());
    EXPECT_EQ(w.actions().RouteImportProgress(), nullptr);
    EXPECT_TRUE(w.actions().ImportRouteAction->isEnabled());

    // The next import runs as usual.
    EXPECT_TRUE(ImportAndWait(w, path));
    EXPECT_TRUE(w.session.RouteSummary());
}

TEST(RouteImport, ATruckChangedWhileReadingGetsTheGearsItHolds)
{
    WindowsFixture w;
    const QString path = w.writeFile(QStringLiteral("drive.gpx"), TownThenHighwayGpx());
    TTruck changed = w.session.Truck();
    changed.Inputs.OverdriveRatio = 0.45; // fifth too tall for town speeds
    const auto before = ImportRoute(path.toStdString(), w.session.Truck());
    const auto after = ImportRoute(path.toStdString(), changed);
    ASSERT_TRUE(std::holds_alternative<TRoute>(before));
    ASSERT_TRUE(std::holds_alternative<TRoute>(after));
    ASSERT_NE(std::get<TRoute>(before).Duty, std::get<TRoute>(after).Duty);

    w.actions().StartRouteImport(path);
    w.session.SetInputs(changed); // before the worker's result is taken
    bool applied = false;
    ASSERT_TRUE(WaitForImport(w, &applied));
    ASSERT_TRUE(applied);
    EXPECT_EQ(w.session.Truck().Duty, std::get<TRoute>(after).Duty);
}

TEST(RouteImport, TheReportFromTheWindowHoldsTheRoute)
{
    WindowsFixture w;
    ASSERT_TRUE(ImportAndWait(w, w.writeFile(QStringLiteral("d.gpx"), TownThenHighwayGpx())));
    const QString pdf = w.path(QStringLiteral("route.pdf"));
    ASSERT_TRUE(w.actions().SaveReport(pdf)) << w.problems.join('\n').toStdString();
    const QString txt = pdf + QStringLiteral(".txt");
    const QString cmd = QStringLiteral("pdftotext -enc UTF-8 '%1' '%2'").arg(pdf, txt);
    ASSERT_EQ(std::system(cmd.toLocal8Bit().constData()), 0);
    QFile f(txt);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll()).simplified();
    EXPECT_TRUE(text.contains(QLatin1String("Moving distance"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("Trips within the life")));

    // An edited list is no longer the route's.
    std::vector<TDutySegment> edited = w.session.Truck().Duty;
    edited[0].SpeedMph = 35;
    w.session.SetDuty(edited);
    ASSERT_TRUE(w.actions().SaveReport(pdf));
    ASSERT_EQ(std::system(cmd.toLocal8Bit().constData()), 0);
    QFile again(txt);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_FALSE(QString::fromUtf8(again.readAll()).contains(QLatin1String("Moving distance")));
}

TEST(RouteImport, ClosingTheWindowsDuringAnImportEndsIt)
{
    auto w = std::make_unique<WindowsFixture>();
    w->actions().StartRouteImport(w->writeFile(QStringLiteral("drive.gpx"), TownThenHighwayGpx()));
    ASSERT_TRUE(w->actions().RouteImportRunning());
    // The actions go with the worker still reading: it is stopped and waited for.
    w.reset();
    QCoreApplication::processEvents();
    SUCCEED();
}

} // namespace
