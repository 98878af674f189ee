#include "SimTestSupport.h"
#include "model/DriveModel.h"
#include "model/StartUp.h"
#include "velmora-sim/SimRows.h"
#include "velmora-sim/SimRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

using namespace SimTest;

namespace
{

TDriveModel DefaultTruckAt(double rpm)
{
    TDriveModel m;
    BringToStartUpState(m);
    m.EngineRpm = rpm;
    m.Refresh();
    return m;
}

} // namespace

TEST(VelmoraSim, FullPedalWithBoostEndsAtTheTopSpeed)
{
    const TRun r = Sim({"--pedal", "100", "--boost", "--steps", "2000"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_TRUE(r.Err.empty());
    EXPECT_EQ(Split(r.Out, '\n').size(), 2u);
    EXPECT_EQ(Split(r.Out, '\n')[0],
              "step,engine_rpm,road_speed_mph,power_hp,torque_ftlb,resistance_lbf,"
              "force_available_lbf,input_torque_ftlb,radial_load_lbf,c_over_p,life_km,"
              "life_thousand_miles,torque_unused_pct,recalc,boost");
    auto row = CsvRow(r.Out, 1);
    EXPECT_EQ(row["step"], "2000");
    EXPECT_EQ(row["engine_rpm"], "3010");
    EXPECT_EQ(row["road_speed_mph"].substr(0, 7), "70.7627");
    EXPECT_EQ(row["torque_unused_pct"], "0");
    EXPECT_EQ(row["recalc"], "0");
    EXPECT_EQ(row["boost"], "0");

    // Every number reads back to the model's own 64-bit value.
    const TDriveModel m = DefaultTruckAt(3010);
    EXPECT_EQ(std::strtod(row["road_speed_mph"].c_str(), nullptr), m.RoadSpeed);
    EXPECT_EQ(std::strtod(row["resistance_lbf"].c_str(), nullptr), m.Resistance);
    EXPECT_EQ(std::strtod(row["force_available_lbf"].c_str(), nullptr), m.ForceAvailable);
    EXPECT_EQ(std::strtod(row["input_torque_ftlb"].c_str(), nullptr), m.InputTorqueDemand());
    EXPECT_EQ(std::strtod(row["life_km"].c_str(), nullptr), m.LifeKm);
}

TEST(VelmoraSim, EveryKthStepPrintsARow)
{
    const TRun r = Sim({"--pedal", "100", "--boost", "--steps", "400", "--every", "40"});
    ASSERT_EQ(r.Status, 0);
    ASSERT_EQ(Split(r.Out, '\n').size(), 11u);
    for (std::size_t n = 1; n <= 10; ++n)
        EXPECT_EQ(CsvRow(r.Out, n)["step"], std::to_string(40 * n));
    auto first = CsvRow(r.Out, 1);
    EXPECT_EQ(first["engine_rpm"], "410"); // boost: 10 rpm per step from 10
    EXPECT_EQ(first["boost"], "1");
    EXPECT_EQ(first["recalc"], "1");
    EXPECT_EQ(CsvRow(r.Out, 3)["boost"], "0"); // ended above 1000 rpm

    // A step count that is not a multiple of K ends without a row.
    EXPECT_EQ(Split(Sim({"--steps", "5", "--every", "2"}).Out, '\n').size(), 3u);
}

TEST(VelmoraSim, WithoutStepsItPrintsTheStartUpState)
{
    const TRun r = Sim({});
    ASSERT_EQ(r.Status, 0);
    auto row = CsvRow(r.Out, 1);
    EXPECT_EQ(row["step"], "0");
    EXPECT_EQ(row["engine_rpm"], "10");
    EXPECT_EQ(row["recalc"], "1");

    EXPECT_EQ(CsvRow(Sim({"--start-rpm", "2000"}).Out, 1)["engine_rpm"], "2000");
    EXPECT_EQ(
        CsvRow(Sim({"--start-rpm", "2000", "--pedal", "100", "--steps", "1"}).Out, 1)["engine_rpm"],
        "2010");
}

TEST(VelmoraSim, EmptyReadoutsAreEmptyFields)
{
    auto limit = CsvRow(Sim({"--rpm", "4010"}).Out, 1);
    EXPECT_EQ(limit["power_hp"], "");
    EXPECT_EQ(limit["torque_ftlb"], "");
    EXPECT_EQ(limit["force_available_lbf"], "");
    EXPECT_NE(limit["resistance_lbf"], "");

    auto fourth = CsvRow(Sim({"--gear", "4", "--rpm", "2000"}).Out, 1);
    EXPECT_EQ(fourth["radial_load_lbf"], "");
    EXPECT_EQ(fourth["c_over_p"], "");
    EXPECT_EQ(fourth["life_km"], "");
    EXPECT_EQ(fourth["life_thousand_miles"], "");
    EXPECT_EQ(fourth["boost"], "0"); // the last column, after the empty ones
    EXPECT_NE(fourth["input_torque_ftlb"], "");
    EXPECT_NEAR(std::strtod(fourth["road_speed_mph"].c_str(), nullptr), 38.2260, 5e-5);
}

TEST(VelmoraSim, RepeatedRpmProbesAndTableRows)
{
    const TRun r = Sim({"--rpm", "2000", "--rpm", "3000", "--load-rating", "4162"});
    ASSERT_EQ(Split(r.Out, '\n').size(), 3u);
    auto at2000 = CsvRow(r.Out, 1);
    EXPECT_EQ(at2000["step"], "0");
    EXPECT_NEAR(std::strtod(at2000["c_over_p"].c_str(), nullptr), 2 * 7.29898, 1e-4);
    EXPECT_EQ(at2000["life_thousand_miles"].substr(0, 6), "1218.8"); // 8 × 152.36
    EXPECT_EQ(CsvRow(r.Out, 2)["engine_rpm"], "3000");

    // The Z22 still pulls at 5000 rpm; the default engine has no power there.
    EXPECT_NE(
        CsvRow(Sim({"--engine", "2", "--final-drive", "4", "--rpm", "5000"}).Out, 1)["power_hp"],
        "");
    EXPECT_EQ(CsvRow(Sim({"--rpm", "5000"}).Out, 1)["power_hp"], "");
}

TEST(VelmoraSim, JsonPrintsOneObjectPerLineWithNulls)
{
    const TRun r = Sim({"--gear", "4", "--rpm", "2000", "--rpm", "4010", "--format", "json"});
    ASSERT_EQ(r.Status, 0);
    const std::vector<std::string> lines = Split(r.Out, '\n');
    ASSERT_EQ(lines.size(), 2u);
    const std::string &line = lines[0];
    EXPECT_EQ(line.front(), '{');
    EXPECT_EQ(line.back(), '}');
    std::vector<std::string> keys;
    const std::regex key("\"([a-z_]+)\":");
    for (auto it = std::sregex_iterator(line.begin(), line.end(), key);
         it != std::sregex_iterator(); ++it)
        keys.push_back((*it)[1]);
    ASSERT_EQ(keys.size(), SimColumns.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(keys[i], SimColumns[i]);
    EXPECT_NE(line.find("\"radial_load_lbf\":null,"), std::string::npos);
    EXPECT_NE(line.find("\"recalc\":true,\"boost\":false}"), std::string::npos);
    EXPECT_NE(lines[1].find("\"power_hp\":null,"), std::string::npos);
}

TEST(VelmoraSim, AFarGradientStopsAtTheLimitAndPrintsNoNegativeBearingValue)
{
    // sin(4) is negative: the resistance, and with it P, turn negative.
    const TRun r =
        Sim({"--gradient", "4", "--pedal", "100", "--boost", "--steps", "3000", "--every", "1"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const std::size_t rows = Split(r.Out, '\n').size() - 1;
    ASSERT_EQ(rows, 3000u);
    double highest = 0;
    int emptyLoads = 0;
    for (std::size_t n = 1; n <= rows; ++n) {
        auto row = CsvRow(r.Out, n);
        const double rpm = std::strtod(row["engine_rpm"].c_str(), nullptr);
        highest = std::max(highest, rpm);
        ASSERT_LE(rpm, 4010) << "row " << n;
        for (const char *column : {"radial_load_lbf", "c_over_p", "life_km", "life_thousand_miles"})
            ASSERT_EQ(row[column].find('-'), std::string::npos) << column << " row " << n;
        emptyLoads += row["radial_load_lbf"].empty();
        if (row["radial_load_lbf"].empty()) {
            ASSERT_EQ(row["c_over_p"], "");
            ASSERT_EQ(row["life_km"], "");
            ASSERT_EQ(row["life_thousand_miles"], "");
        }
    }
    EXPECT_EQ(highest, 4010);
    EXPECT_GT(emptyLoads, 0);

    const TRun json = Sim({"--gradient", "5", "--rpm", "2000", "--format", "json"});
    ASSERT_EQ(json.Status, 0);
    EXPECT_NE(json.Out.find("\"radial_load_lbf\":null,\"c_over_p\":null,\"life_km\":null,"
                            "\"life_thousand_miles\":null,"),
              std::string::npos)
        << json.Out;
}

TEST(VelmoraSim, UndefinedInputsPrintNoNanOrInfinity)
{
    for (const std::vector<std::string_view> &args :
         {std::vector<std::string_view>{"--transmission-loss", "1"},
          {"--overdrive-ratio", "0"},
          {"--pitch-radius", "0"},
          {"--helix-angle", "90"},
          {"--rolling-resistance", "0"},
          {"--load-factor", "0.000000001"}}) {
        for (const char *format : {"csv", "json"}) {
            std::vector<std::string_view> all = args;
            for (std::string_view a : {"--rpm", "0", "--rpm", "2000", "--rpm", "4010", "--format"})
                all.push_back(a);
            all.push_back(format);
            const TRun r = Sim(all);
            ASSERT_EQ(r.Status, 0) << args[0];
            EXPECT_EQ(r.Out.find("nan"), std::string::npos) << args[0] << "\n" << r.Out;
            EXPECT_EQ(r.Out.find("inf"), std::string::npos) << args[0] << "\n" << r.Out;
        }
    }
    EXPECT_EQ(CsvRow(Sim({"--helix-angle", "90", "--rpm", "2000"}).Out, 1)["radial_load_lbf"], "");
    auto still = CsvRow(Sim({"--rolling-resistance", "0", "--rpm", "0"}).Out, 1);
    EXPECT_EQ(still["radial_load_lbf"], "0");
    EXPECT_EQ(still["c_over_p"], "");
}

TEST(VelmoraSim, NumbersReadBackExactly)
{
    for (const double v : {0.1, 1.0 / 3, 70.7627097822608, 1e300, 5e-324, 123456789012345680.0, 0.0,
                           1.2345678901234567e-6, 9999999999999998.0, -2.5e-7})
        EXPECT_EQ(std::strtod(NumberText(v).c_str(), nullptr), v) << NumberText(v);
    EXPECT_EQ(NumberText(3010), "3010");
    EXPECT_EQ(NumberText(0.5), "0.5");
    EXPECT_EQ(NumberText(0.0001), "0.0001");
    EXPECT_EQ(NumberText(1e300), "1e+300");
}

struct TNumberCase {
    double Value;
    const char *Text;
};

class NumberTexts : public testing::TestWithParam<TNumberCase>
{
};

TEST_P(NumberTexts, ArePlainDecimalsInTheEverydayRange)
{
    EXPECT_EQ(NumberText(GetParam().Value), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, NumberTexts,
    testing::Values(TNumberCase{-0.0, "0"}, TNumberCase{0.0, "0"}, TNumberCase{1e-6, "0.000001"},
                    TNumberCase{2.5e-6, "0.0000025"}, TNumberCase{-9.99e-6, "-0.00000999"},
                    TNumberCase{1e-5, "0.00001"}, TNumberCase{9.99e-7, "9.99e-07"},
                    TNumberCase{1e16, "1e+16"}, TNumberCase{9999999999999998.0, "9999999999999998"},
                    TNumberCase{std::numeric_limits<double>::quiet_NaN(), ""},
                    TNumberCase{std::numeric_limits<double>::infinity(), ""},
                    TNumberCase{-std::numeric_limits<double>::infinity(), ""}));

TEST(VelmoraSim, ACellWithoutANumberIsEmptyOrNull)
{
    const std::array<std::string_view, 3> columns{"a", "b", "c"};
    const std::vector<TSimCell> cells{std::numeric_limits<double>::quiet_NaN(),
                                      -std::numeric_limits<double>::infinity(), -0.0};
    std::ostringstream csv, json;
    WriteCells(csv, TSimFormat::Csv, columns, cells);
    WriteCells(json, TSimFormat::Json, columns, cells);
    EXPECT_EQ(csv.str(), ",,0\n");
    EXPECT_EQ(json.str(), "{\"a\":null,\"b\":null,\"c\":0}\n");
}

TEST(VelmoraSim, StartRpmUpToTheEnginesLimitIsTaken)
{
    EXPECT_EQ(CsvRow(Sim({"--start-rpm", "4000"}).Out, 1)["engine_rpm"], "4000");
    EXPECT_EQ(CsvRow(Sim({"--engine", "2", "--start-rpm", "5200"}).Out, 1)["engine_rpm"], "5200");
    EXPECT_EQ(CsvRow(Sim({"--pedal", "100", "--load", "3000", "--gradient", "100"}).Out, 1)["step"],
              "0");
}

TEST(VelmoraSim, VersionComesFromTheProject)
{
    const TRun r = Sim({"--version"});
    EXPECT_EQ(r.Status, 0);
    EXPECT_EQ(r.Out, std::string("velmora-sim ") + VELMORA_VERSION + "\n");
}

TEST(VelmoraSim, HelpPrintsTheUsage)
{
    const TRun r = Sim({"--steps", "3", "--help"});
    EXPECT_EQ(r.Status, 0);
    EXPECT_EQ(r.Out.rfind("Usage: velmora-sim", 0), 0u);
    for (const char *option :
         {"--load-rating", "--truck", "--sweep", "--duty", "--reliability", "--version"})
        EXPECT_NE(r.Out.find(option), std::string::npos) << option;
}

// Readable test names in the runner's output: the arguments, space-separated.
void PrintArgs(const std::vector<std::string_view> &args, std::ostream *os)
{
    for (std::string_view a : args)
        *os << a << ' ';
}

struct BadArgs {
    std::vector<std::string_view> Args;
    std::string_view Named; // the message must name this
};

void PrintTo(const BadArgs &b, std::ostream *os)
{
    PrintArgs(b.Args, os);
}

class VelmoraSimBadArgs : public testing::TestWithParam<BadArgs>
{
};

TEST_P(VelmoraSimBadArgs, OneLineOnStandardErrorStatus2AndNoOutput)
{
    const TRun r = Sim(GetParam().Args);
    EXPECT_EQ(r.Status, 2);
    EXPECT_TRUE(r.Out.empty()) << r.Out;
    ASSERT_FALSE(r.Err.empty());
    EXPECT_EQ(r.Err.find('\n'), r.Err.size() - 1) << r.Err;
    EXPECT_EQ(r.Err.rfind("velmora-sim: ", 0), 0u) << r.Err;
    EXPECT_NE(r.Err.find(GetParam().Named), std::string::npos) << r.Err;
}

INSTANTIATE_TEST_SUITE_P(
    Options, VelmoraSimBadArgs,
    testing::Values(
        BadArgs{{"--frobnicate"}, "--frobnicate"}, BadArgs{{"stray"}, "stray"},
        BadArgs{{"--rpm", "abc"}, "--rpm"}, BadArgs{{"--rpm", "-10"}, "--rpm"},
        BadArgs{{"--gear", "3"}, "--gear"}, BadArgs{{"--gear", "4.5"}, "--gear"},
        BadArgs{{"--steps", "-1"}, "--steps"}, BadArgs{{"--steps"}, "--steps"},
        BadArgs{{"--steps", "99999999999999999999"}, "--steps"},
        BadArgs{{"--every", "0"}, "--every"}, BadArgs{{"--format", "xml"}, "--format"},
        BadArgs{{"--start-rpm", "15"}, "--start-rpm"},
        BadArgs{{"--start-rpm", "-10"}, "--start-rpm"}, BadArgs{{"--pedal", "nan"}, "--pedal"},
        BadArgs{{"--pedal", "inf"}, "--pedal"}, BadArgs{{"--load", "-5"}, "--load"},
        BadArgs{{"--load", ""}, "--load"}, BadArgs{{"--drag-coef", "0.6x"}, "--drag-coef"},
        BadArgs{{"--rolling-resistance", "4.5"}, "--rolling-resistance"},
        BadArgs{{"--engine", "x"}, "--engine"}, BadArgs{{"--boost=1"}, "--boost=1"},
        BadArgs{{"--rpm", "2000", "--steps", "5"}, "--rpm"},
        BadArgs{{"--steps", "5", "--gear", "3"}, "--gear"},
        // What the window's inputs cannot hold.
        BadArgs{{"--pedal", "100.5"}, "--pedal"}, BadArgs{{"--pedal", "-1"}, "--pedal"},
        BadArgs{{"--load", "3000.5"}, "0 to 3000"}, BadArgs{{"--gradient", "100.001"}, "0 to 100"},
        BadArgs{{"--gradient", "-0.01"}, "--gradient"},
        BadArgs{{"--rolling-resistance", "2147483648"}, "--rolling-resistance"},
        BadArgs{{"--start-rpm", "4010"}, "above 4000 rpm"},
        BadArgs{{"--engine", "2", "--start-rpm", "5210"}, "above 5200 rpm"},
        // The analysis options.
        BadArgs{{"--reliability", "89.99"}, "90 to 99.95"},
        BadArgs{{"--reliability", "99.951"}, "--reliability"},
        BadArgs{{"--reliability", "x"}, "--reliability"}, BadArgs{{"--truck"}, "--truck"},
        BadArgs{{"--truck", ""}, "--truck"}, BadArgs{{"--duty"}, "--duty needs a truck file"},
        BadArgs{{"--sweep", "--rpm", "100"}, "choose one"},
        BadArgs{{"--sweep", "--steps", "3"}, "choose one"}, BadArgs{{"--sweep=1"}, "--sweep=1"},
        // Routes: the four numbers within their ranges, and only with a route.
        BadArgs{{"--route", "r.gpx", "--duty", "--slice", "9.99"}, "from 10 to 10000"},
        BadArgs{{"--route", "r.gpx", "--duty", "--slice", "10000.5"}, "--slice"},
        BadArgs{{"--route", "r.gpx", "--duty", "--smooth", "-1"}, "from 0 to 5000"},
        BadArgs{{"--route", "r.gpx", "--duty", "--smooth", "5001"}, "--smooth"},
        BadArgs{{"--route", "r.gpx", "--duty", "--speed-bin", "0.5"}, "from 1 to 20"},
        BadArgs{{"--route", "r.gpx", "--duty", "--speed-bin", "nan"}, "--speed-bin"},
        BadArgs{{"--route", "r.gpx", "--duty", "--gradient-bin", "0.0009"}, "from 0.001 to 0.1"},
        BadArgs{{"--route", "r.gpx", "--duty", "--gradient-bin", "0.11"}, "--gradient-bin"},
        BadArgs{{"--steps", "3", "--slice", "50"}, "--slice has no effect without --route"},
        BadArgs{{"--duty", "--truck", "t.json", "--gradient-bin=0.02"}, "--gradient-bin has no"},
        BadArgs{{"--route", "r.gpx"}, "--route has no effect without --duty or --write-truck"},
        BadArgs{{"--route", "r.gpx", "--steps", "3"}, "--route"},
        BadArgs{{"--route", "", "--duty"}, "--route"}, BadArgs{{"--write-truck"}, "--write-truck"},
        BadArgs{{"--route", "r.gpx", "--duty", "--sweep"}, "choose one"}));

struct BadRow {
    std::vector<std::string_view> Args;
    std::string_view Message;
};

void PrintTo(const BadRow &b, std::ostream *os)
{
    PrintArgs(b.Args, os);
}

class VelmoraSimBadRow : public testing::TestWithParam<BadRow>
{
};

TEST_P(VelmoraSimBadRow, ShowsTheErrorMessageWithAFullStop)
{
    const TRun r = Sim(GetParam().Args);
    EXPECT_EQ(r.Status, 2);
    EXPECT_TRUE(r.Out.empty());
    EXPECT_EQ(r.Err, std::string(GetParam().Message) + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Tables, VelmoraSimBadRow,
    testing::Values(BadRow{{"--engine", "3"}, "velmora-sim: non enumerated engine type."},
                    BadRow{{"--final-drive", "-1"},
                           "velmora-sim: non enumerated final drive ratio."},
                    BadRow{{"--tyre", "17"}, "velmora-sim: non enumerated tyre size."},
                    BadRow{{"--steps", "10", "--body", "4"},
                           "velmora-sim: non enumerated kerb weight encountered."}));

// The real binary: exit status and the split between the two streams.
class VelmoraSimBinary : public testing::Test
{
  protected:
    TRun Exec(const std::string &args)
    {
        const std::string dir = testing::TempDir();
        // ctest runs tests in parallel: one pair of files per test.
        const std::string stem =
            dir + "sim_" + testing::UnitTest::GetInstance()->current_test_info()->name();
        const std::string out = stem + ".out", err = stem + ".err";
        const std::string cmd =
            std::string("'") + VELMORA_SIM_BINARY + "' " + args + " >'" + out + "' 2>'" + err + "'";
        const int raw = std::system(cmd.c_str());
        TRun r;
        r.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.Out = Slurp(out);
        r.Err = Slurp(err);
        return r;
    }

  private:
    static std::string Slurp(const std::string &path)
    {
        std::ifstream in(path);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

TEST_F(VelmoraSimBinary, DrivesToTheTopSpeed)
{
    const TRun r = Exec("--pedal 100 --boost --steps 2000");
    EXPECT_EQ(r.Status, 0);
    EXPECT_TRUE(r.Err.empty());
    EXPECT_NE(r.Out.find("\n2000,3010,70.7627"), std::string::npos) << r.Out;
}

TEST_F(VelmoraSimBinary, BadInputExitsWith2AndPrintsNothingToStandardOutput)
{
    TRun r = Exec("--gear 3");
    EXPECT_EQ(r.Status, 2);
    EXPECT_TRUE(r.Out.empty());
    EXPECT_NE(r.Err.find("--gear"), std::string::npos);

    r = Exec("--engine 9 --steps 5");
    EXPECT_EQ(r.Status, 2);
    EXPECT_TRUE(r.Out.empty());
    EXPECT_EQ(r.Err, "velmora-sim: non enumerated engine type.\n");

    r = Exec("--help");
    EXPECT_EQ(r.Status, 0);
    EXPECT_NE(r.Out.find("Usage"), std::string::npos);
}
