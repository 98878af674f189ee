// Save report… from the window: Ctrl+P asks for a PDF and writes the running
// truck with the readouts exactly as the window shows them, at the life
// map's reliability; a failed write is one problem and leaves no file.
#include "ui/support/WindowsFixture.h"

#include "analysis/TruckFile.h"
#include "ui/lifemap/LifeMapWindow.h"
#include "widgets/display/NumLab.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>

namespace
{

QString pdfText(const QString &pdf)
{
    const QString txt = pdf + QStringLiteral(".txt");
    const QString cmd = QStringLiteral("pdftotext -layout -enc UTF-8 '%1' '%2'").arg(pdf, txt);
    if (std::system(cmd.toLocal8Bit().constData()) != 0)
        return {};
    QFile f(txt);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll()).simplified();
}

QString openTruckWithADutyList(WindowsFixture &w)
{
    TTruck truck;
    truck.Duty = {{70, 50, TGear::Fifth, {}, {}}, {30, 30, TGear::Fourth, {}, {}}};
    const QString path =
        w.writeFile(QStringLiteral("fleet.json"), QByteArray::fromStdString(TruckJson(truck)));
    EXPECT_TRUE(w.actions().OpenTruck(path));
    return path;
}

TEST(TruckReport, CtrlPWritesTheRunningTruckAsTheWindowShowsIt)
{
    WindowsFixture w;
    openTruckWithADutyList(w);
    w.driver.driveTo(50);
    TForm1 &f = w.form();
    w.nextPath = w.path(QStringLiteral("fleet.pdf"));
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    QTest::keyClick(&f, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(w.dialogs, 1);
    EXPECT_TRUE(w.lastDialogSaving);
    ASSERT_TRUE(QFileInfo::exists(w.nextPath));
    EXPECT_TRUE(w.problems.isEmpty()) << w.problems.join(QLatin1Char('\n')).toStdString();

    const QString text = pdfText(w.nextPath);
    EXPECT_TRUE(text.contains(QStringLiteral("Velmora report: fleet.json")));
    EXPECT_TRUE(text.contains(QStringLiteral("The running operating point")));
    // The readouts' own texts: same values, same rounding.
    EXPECT_TRUE(text.contains(QStringLiteral("Speed ") + f.NumLabSpeed->ShownText() +
                              QStringLiteral(" mph")))
        << f.NumLabSpeed->ShownText().toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Engine speed ") + f.NumLabRpm->ShownText() +
                              QStringLiteral(" rpm")));
    EXPECT_TRUE(text.contains(QStringLiteral("Radial Load P ") +
                              f.NUmLabIPBRadialForce->ShownText() + QStringLiteral(" lbf")));
    EXPECT_TRUE(text.contains(QStringLiteral("Life [10%] ") + f.NumLabIPBLife10->ShownText() +
                              QStringLiteral(" 000miles")));
    EXPECT_TRUE(text.contains(QStringLiteral("Combined life [10%]:")));
    EXPECT_FALSE(text.contains(QStringLiteral("a1 × L10 at"))); // the life map is closed: 90 %
}

TEST(TruckReport, AtTheReliabilityTheLifeMapShows)
{
    WindowsFixture w;
    openTruckWithADutyList(w);
    w.actions().LifeMapAction->trigger();
    ASSERT_TRUE(w.actions().LifeMap());
    QComboBox *reliability = w.actions().LifeMap()->Reliability;
    reliability->setCurrentIndex(reliability->findData(99.0));
    const QString pdf = w.path(QStringLiteral("r99.pdf"));
    ASSERT_TRUE(w.actions().SaveReport(pdf));
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("a1 × L10 at 99 %")));
    EXPECT_TRUE(text.contains(QStringLiteral("Combined life [1%] at 99 % reliability")));
}

TEST(TruckReport, AFailedWriteIsOneProblemAndLeavesNoFile)
{
    WindowsFixture w;
    const QString pdf = w.path(QStringLiteral("missing/r.pdf"));
    EXPECT_FALSE(w.actions().SaveReport(pdf));
    ASSERT_EQ(w.problems.size(), 1);
    EXPECT_TRUE(w.problems.front().startsWith(pdf + QStringLiteral(": cannot be written: ")));
    EXPECT_FALSE(QFileInfo::exists(pdf));
    // An unsaved truck: the title says so.
    const QString ok = w.path(QStringLiteral("new.pdf"));
    ASSERT_TRUE(w.actions().SaveReport(ok));
    EXPECT_TRUE(pdfText(ok).contains(QStringLiteral("Velmora report: unsaved truck")));
}

TEST(TruckReport, NeverOverTheTrucksOwnFile)
{
    WindowsFixture w;
    const QString truck = openTruckWithADutyList(w);
    QFile before(truck);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray text = before.readAll();
    before.close();
    EXPECT_FALSE(w.actions().SaveReport(truck));
    ASSERT_EQ(w.problems.size(), 1);
    EXPECT_TRUE(w.problems.front().contains(QStringLiteral("the report would replace it")));
    QFile after(truck);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), text);
}

} // namespace
