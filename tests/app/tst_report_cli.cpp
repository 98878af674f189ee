// `velmora --truck FILE --report OUT.pdf` as a user runs it: no window, no
// display, the PDF's text read back with pdftotext and its pages with
// pdfinfo, and every way a report can fail leaving no file behind.
#include "analysis/DutyCycle.h"
#include "analysis/RouteDuty.h"
#include "analysis/TruckFile.h"
#include "ui/report/Report.h"
#include "ui/report/ReportRows.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QRegularExpression>
#include <QString>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace
{

struct TRun {
    int Status = -1;
    std::string Out, Err;
};

std::string slurp(const fs::path &path)
{
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string quoted(const std::string &s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

class ReportCli : public testing::Test
{
  protected:
    void SetUp() override
    {
        m_dir = fs::path(testing::TempDir()) /
                ("report_cli_" +
                 std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "out");
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path writeTruck(const std::string &name, const TTruck &truck)
    {
        const fs::path p = m_dir / name;
        EXPECT_FALSE(WriteTruckFile(p.string(), truck));
        return p;
    }

    // Runs the shell command line `command` with no display at all.
    TRun run(const std::string &command, const std::string &locale = "en_GB.UTF-8")
    {
        const fs::path out = m_dir / "stdout", err = m_dir / "stderr";
        const std::string line =
            "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LC_ALL=" + locale + " " +
            command + " >" + quoted(out.string()) + " 2>" + quoted(err.string()) + " </dev/null";
        const int raw = std::system(line.c_str());
        TRun r;
        r.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.Out = slurp(out);
        r.Err = slurp(err);
        fs::remove(out);
        fs::remove(err);
        return r;
    }

    static std::string velmora(const std::string &args)
    {
        return quoted(VELMORA_BINARY) + " " + args;
    }

    // The PDF's text, lines as they stand on the page (a table row on one line),
    // with every run of white space made one blank.
    QString pdfText(const fs::path &pdf)
    {
        const fs::path txt = m_dir / "text.txt";
        EXPECT_EQ(std::system(("pdftotext -layout -enc UTF-8 " + quoted(pdf.string()) + " " +
                               quoted(txt.string()))
                                  .c_str()),
                  0);
        return QString::fromStdString(slurp(txt)).simplified();
    }

    std::string pdfInfo(const fs::path &pdf)
    {
        const fs::path info = m_dir / "info.txt";
        EXPECT_EQ(
            std::system(("pdfinfo " + quoted(pdf.string()) + " >" + quoted(info.string())).c_str()),
            0);
        return slurp(info);
    }

    static int pages(const std::string &info)
    {
        const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                           .match(QString::fromStdString(info));
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    }

    static std::size_t filesIn(const fs::path &dir)
    {
        return std::size_t(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }

    // Every row's caption and value, each made one line as pdftotext gives it.
    static void expectRows(const QString &text, const std::vector<TReportRow> &rows)
    {
        for (const auto &r : rows) {
            EXPECT_TRUE(text.contains(r.Caption.simplified())) << r.Caption.toStdString();
            if (!r.Value.isEmpty()) {
                EXPECT_TRUE(
                    text.contains(r.Caption.simplified() + QLatin1Char(' ') + r.Value.simplified()))
                    << r.Caption.toStdString() << " = " << r.Value.toStdString();
            }
        }
    }

    fs::path m_dir;
};

const QLocale British(QLocale::English, QLocale::UnitedKingdom);

TEST_F(ReportCli, TheStartUpTruckWithoutADisplayHoldsEveryInputAndResult)
{
    const TTruck truck;
    const fs::path file = writeTruck("start-up.json", truck);
    const fs::path pdf = m_dir / "out" / "start-up.pdf";
    const TRun r =
        run(velmora("--truck " + quoted(file.string()) + " --report " + quoted(pdf.string())));
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err, "");
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_EQ(filesIn(m_dir / "out"), 1u); // no temporary file left beside it

    const std::string info = pdfInfo(pdf);
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
    EXPECT_EQ(pages(info), 3);

    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Velmora report: start-up.json")));
    EXPECT_TRUE(text.contains(QDate::currentDate().toString(Qt::ISODate)));
    EXPECT_TRUE(text.contains(QStringLiteral("Velmora ") + QStringLiteral(VELMORA_VERSION)));
    for (const auto &g : InputGroups(truck, British)) {
        EXPECT_TRUE(text.contains(g.Title)) << g.Title.toStdString();
        expectRows(text, g.Rows);
    }
    // Without --pedal: the middle of the pedal's travel.
    expectRows(text, ResultRows(truck, PedalPoint(truck, 50), British));
    EXPECT_TRUE(text.contains(QStringLiteral("50 mph, in fifth gear")));
    for (const char *s :
         {"Inputs", "Results at the operating point", "Life map", "Road speed (mph)",
          "L10 life (thousand miles)", "L10, speed not held", "Operating point", "Duty cycle",
          "The truck has no duty list.", "Assumptions", "a1", "Palmgren–Miner", "no mesh load",
          "Page 1 of 3", "Page 3 of 3"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s;
    EXPECT_FALSE(text.contains(QStringLiteral("a1 × L10 at"))) << "no reliability was chosen";
    // Each heading once: nothing is drawn out of sight on the page before its own.
    for (const char *s :
         {"Inputs", "Results at the operating point", "Life map", "Duty cycle", "Assumptions"})
        EXPECT_EQ(text.count(QString::fromUtf8(s) + QLatin1Char(' ')), 1) << s;
}

TEST_F(ReportCli, ADutyListWithItsLivesDamageAndTheReliabilityCurve)
{
    TTruck truck;
    truck.SpeedInMph = false;
    truck.LifeInMiles = false;
    truck.Duty = {{60, 55, TGear::Fifth, {}, {}},
                  {25, 40, TGear::Fifth, 0.03, {}},
                  {10, 30, TGear::Fourth, {}, 1500},
                  {5, 95, TGear::Fifth, 0.05, {}}};
    const fs::path file = writeTruck("duty.json", truck);
    const fs::path pdf = m_dir / "out" / "duty.pdf";
    const TRun r =
        run(velmora("--truck " + quoted(file.string()) + " --report=" + quoted(pdf.string()) +
                    " --pedal 62 --reliability 99"),
            "en_US.UTF-8");
    ASSERT_EQ(r.Status, 0) << r.Err;
    const std::string info = pdfInfo(pdf);
    EXPECT_NE(info.find("(letter)"), std::string::npos) << info;
    EXPECT_EQ(pages(info), 3);

    const QLocale american(QLocale::English, QLocale::UnitedStates);
    const QString text = pdfText(pdf);
    expectRows(text, ResultRows(truck, PedalPoint(truck, 62), american));
    const TDutyTable table = DutyTable(truck, DutyLife(truck, truck.Duty), 99, american);
    // A header may wrap in its cell: its words are there.
    for (const QString &h : table.Header)
        for (const QString &word : h.split(QLatin1Char(' ')))
            EXPECT_TRUE(text.contains(word)) << h.toStdString();
    for (const QStringList &line : table.Lines)
        for (const QString &cell : line)
            EXPECT_TRUE(text.contains(cell)) << cell.toStdString();
    ASSERT_EQ(table.Summary.size(), 3); // L10, 99 %, one segment not held
    for (const QString &s : table.Summary)
        EXPECT_TRUE(text.contains(s)) << s.toStdString();
    for (const char *s : {"a1 × L10 at 99 %", "Road speed (km/h)", "L10 life (thousand km)",
                          "(a1 = 0.248 at 99 %)"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s;
}

TEST_F(ReportCli, ARouteGivesTheDutyListAndItsSummary)
{
    const std::string docs = std::string(VELMORA_SOURCE_DIR) + "/docs/";
    const fs::path pdf = m_dir / "out" / "route.pdf";
    const TRun r = run(velmora("--truck " + quoted(docs + "sample-truck.json") + " --route " +
                               quoted(docs + "sample-route.gpx") + " --report " +
                               quoted(pdf.string()) + " --reliability 99"));
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Err, "");

    auto truck = std::get<TTruck>(ReadTruckFile(docs + "sample-truck.json"));
    auto route = std::get<TRoute>(ImportRoute(docs + "sample-route.gpx", truck));
    truck.Duty = route.Duty;
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("The duty list comes from a recorded route.")));
    expectRows(text, RouteRows(truck, route.Summary, 99, British));
    const TDutyTable table = DutyTable(truck, DutyLife(truck, truck.Duty), 99, British);
    for (const QString &s : table.Summary)
        EXPECT_TRUE(text.contains(s)) << s.toStdString();
}

struct TFailure {
    const char *Name;
    std::string Args; // {truck} and {out} are replaced
    std::string Message;
    std::string Shell = ""; // in front of the program: limits
};

void PrintTo(const TFailure &f, std::ostream *os)
{
    *os << f.Name;
}

class ReportCliFailure : public ReportCli, public testing::WithParamInterface<TFailure>
{
};

TEST_P(ReportCliFailure, OneLineStatusTwoAndNoFileLeft)
{
    const TFailure &f = GetParam();
    const fs::path truck = writeTruck("t.json", TTruck{});
    {
        std::ofstream bad(m_dir / "bad.json");
        bad << "{\"format\": \"velmora-truck\", \"version\": 1, \"load\": -5}";
    }
    auto args = f.Args;
    const auto replace = [&args](const std::string &from, const std::string &to) {
        for (auto at = args.find(from); at != std::string::npos;
             at = args.find(from, at + to.size()))
            args.replace(at, from.size(), to);
    };
    replace("{truck}", quoted(truck.string()));
    replace("{bad}", quoted((m_dir / "bad.json").string()));
    replace("{out}", quoted((m_dir / "out").string()));
    const std::string command =
        f.Shell.empty() ? velmora(args) : "sh -c " + quoted(f.Shell + "; exec " + velmora(args));
    const TRun r = run(command);
    EXPECT_EQ(r.Status, 2) << r.Err;
    EXPECT_EQ(r.Out, "");
    ASSERT_FALSE(r.Err.empty());
    EXPECT_EQ(r.Err.find('\n'), r.Err.size() - 1) << r.Err; // one line
    EXPECT_EQ(r.Err.rfind("velmora: ", 0), 0u) << r.Err;
    EXPECT_NE(r.Err.find(f.Message), std::string::npos) << r.Err;
    EXPECT_EQ(filesIn(m_dir / "out"), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Report, ReportCliFailure,
    testing::Values(
        TFailure{"MissingFolder", "--truck {truck} --report {out}/none/r.pdf",
                 "/none/r.pdf: cannot be written: "},
        TFailure{"ReadOnlyFolder", "--truck {truck} --report /proc/velmora-report.pdf",
                 "/proc/velmora-report.pdf: cannot be written: "},
        // A full disk: writes past 16 KiB fail (the signal is ignored, the call fails).
        TFailure{"DiskFull", "--truck {truck} --report {out}/r.pdf",
                 "r.pdf: cannot be written: ", "trap '' XFSZ; ulimit -f 32"},
        TFailure{"BadTruckFile", "--truck {bad} --report {out}/r.pdf", "bad.json: load: "},
        TFailure{"MissingTruckFile", "--truck {out}/none.json --report {out}/r.pdf", "none.json"},
        TFailure{"OverTheTruckFile", "--truck {truck} --report {truck}",
                 "t.json: is the file the report is made from; it would be replaced"},
        TFailure{"NoTruck", "--report {out}/r.pdf", "--report needs --truck FILE"},
        TFailure{"NoReport", "--truck {truck} --pedal 40", "--truck works with --report"},
        TFailure{"ReportWithoutValue", "--truck {truck} --report", "--report needs a value"},
        TFailure{"PedalTooHigh", "--truck {truck} --report {out}/r.pdf --pedal 101",
                 "--pedal must be a speed from 0 to 100"},
        TFailure{"PedalNotANumber", "--truck {truck} --report {out}/r.pdf --pedal=fast",
                 "--pedal must be a speed from 0 to 100 (mph), not \"fast\""},
        TFailure{"ReliabilityTooLow", "--truck {truck} --report {out}/r.pdf --reliability 80",
                 "--reliability must be a percentage from 90 to 99.95"},
        TFailure{"ReliabilityNan", "--truck {truck} --report {out}/r.pdf --reliability nan",
                 "--reliability must be"}),
    [](const testing::TestParamInfo<TFailure> &i) { return std::string(i.param.Name); });

TEST_F(ReportCli, ADesktopPlatformLeftInTheEnvironmentNeedsNoDisplay)
{
    const fs::path file = writeTruck("t.json", TTruck{});
    const fs::path pdf = m_dir / "out" / "t.pdf";
    const TRun r = run("QT_QPA_PLATFORM=xcb " + velmora("--truck " + quoted(file.string()) +
                                                        " --report " + quoted(pdf.string())));
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Err, "");
    EXPECT_TRUE(fs::exists(pdf));
}

TEST_F(ReportCli, HelpNamesTheReport)
{
    const TRun r = run(velmora("--help"));
    EXPECT_EQ(r.Status, 0);
    for (const char *s : {"--truck FILE", "--report OUT.pdf", "--pedal MPH", "--reliability R"})
        EXPECT_NE(r.Out.find(s), std::string::npos) << s;
}

} // namespace
