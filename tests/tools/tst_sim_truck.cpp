// velmora-sim with truck files: --truck, --sweep, --reliability and --duty.
#include "SimTestSupport.h"
#include "analysis/DutyCycle.h"
#include "analysis/OperatingPoint.h"
#include "analysis/Reliability.h"
#include "analysis/TruckFile.h"
#include "velmora-sim/SimRows.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace SimTest;

namespace
{

double Num(const std::string &text)
{
    return std::strtod(text.c_str(), nullptr);
}

class SimTruck : public ::testing::Test
{
  protected:
    // A file of this test's own: ctest runs tests in parallel.
    std::string File(const std::string &text)
    {
        const std::string path = ::testing::TempDir() + "sim_truck_" +
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                                 std::to_string(m_files++) + ".json";
        std::ofstream(path) << text;
        m_paths.push_back(path);
        return path;
    }
    void TearDown() override
    {
        for (const std::string &p : m_paths)
            std::filesystem::remove(p);
    }

    static std::string Truck(const std::string &fields)
    {
        return R"({"format":"velmora-truck","version":1)" + (fields.empty() ? "" : "," + fields) +
               "}";
    }

  private:
    int m_files = 0;
    std::vector<std::string> m_paths;
};

TEST(SimSweep, RowsAreTheRpmRowsPlusHoldsSpeed)
{
    const TRun sweep = Sim({"--sweep"});
    ASSERT_EQ(sweep.Status, 0) << sweep.Err;
    const std::vector<std::string> lines = Split(sweep.Out, '\n');
    ASSERT_EQ(lines.size(), 401u); // header and 10 .. 4000 rpm
    EXPECT_EQ(lines[0], Split(Sim({}).Out, '\n')[0] + ",holds_speed");

    std::vector<std::string> args;
    for (int rpm = 10; rpm <= 4000; rpm += 10) {
        args.emplace_back("--rpm");
        args.push_back(std::to_string(rpm));
    }
    const std::vector<std::string_view> views(args.begin(), args.end());
    const std::vector<std::string> probes = Split(Sim(views).Out, '\n');
    ASSERT_EQ(probes.size(), lines.size());
    int held = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string &line = lines[i];
        EXPECT_EQ(line.substr(0, line.rfind(',')), probes[i]) << i;
        auto row = CsvRow(sweep.Out, i);
        const bool holds = Num(row["force_available_lbf"]) >= Num(row["resistance_lbf"]);
        EXPECT_EQ(row["holds_speed"], holds ? "1" : "0") << line;
        held += holds;
    }
    // The default truck holds from the knee up to the crossing near 3000 rpm.
    EXPECT_EQ(CsvRow(sweep.Out, 300)["holds_speed"], "1");
    EXPECT_EQ(CsvRow(sweep.Out, 301)["holds_speed"], "0");
    EXPECT_GT(held, 200);
}

TEST(SimSweep, FollowsTheEnginesLimitAndTheGear)
{
    const TRun z22 = Sim({"--sweep", "--engine", "2", "--gear", "4", "--format", "json"});
    const std::vector<std::string> lines = Split(z22.Out, '\n');
    ASSERT_EQ(lines.size(), 520u); // no header in JSON
    EXPECT_NE(lines.back().find("\"engine_rpm\":5200,"), std::string::npos);
    EXPECT_NE(lines.back().find("\"radial_load_lbf\":null"), std::string::npos);
    EXPECT_NE(lines.back().find(",\"holds_speed\":"), std::string::npos);
    EXPECT_TRUE(lines.back().ends_with("true}") || lines.back().ends_with("false}"));
}

TEST(SimReliability, AddsTheFactorAndTheLifeAtIt)
{
    const TRun r = Sim({"--rpm", "2000", "--gear", "4", "--reliability", "99"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_TRUE(Split(r.Out, '\n')[0].ends_with(",boost,a1,life_km_at_reliability"));
    auto fourth = CsvRow(r.Out, 1);
    EXPECT_EQ(Num(fourth["a1"]), ReliabilityFactor(99));
    EXPECT_EQ(fourth["life_km_at_reliability"], ""); // no life in fourth

    for (const char *level : {"90", "95", "99.95"}) {
        auto row = CsvRow(Sim({"--rpm", "2000", "--reliability", level}).Out, 1);
        const double a1 = ReliabilityFactor(Num(level));
        EXPECT_EQ(Num(row["a1"]), a1);
        EXPECT_EQ(Num(row["life_km_at_reliability"]), a1 * Num(row["life_km"])) << level;
    }
    // Stepping rows get them too, and without the option nothing changes.
    EXPECT_NE(Sim({"--steps", "3", "--reliability", "95"}).Out.find(",a1,"), std::string::npos);
    EXPECT_EQ(Sim({"--steps", "3"}).Out.find("a1"), std::string::npos);
}

TEST_F(SimTruck, LoadsTheFileAndOptionsOverrideIt)
{
    const std::string path =
        File(Truck(R"("engine":2,"final_drive":4,"load":1500,"load_rating":4162)"));
    const TRun r = Sim({"--truck", path, "--rpm", "5000", "--load", "0"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    auto row = CsvRow(r.Out, 1);
    EXPECT_NE(row["power_hp"], ""); // the Z22 still pulls at 5000 rpm

    TTruck truck;
    truck.Inputs.EngineIndex = 2;
    truck.Inputs.FinalDriveIndex = 4;
    truck.Inputs.Load = 0; // the option, not the file's 1500
    truck.LoadRating = 4162;
    TDriveModel m = ModelOf(truck);
    m.EngineRpm = 5000;
    m.Refresh();
    m.ComputeBearingLife(truck.LoadRating);
    EXPECT_EQ(Num(row["resistance_lbf"]), m.Resistance);
    EXPECT_EQ(Num(row["c_over_p"]), m.COverP);
}

TEST_F(SimTruck, FileErrorsAreOneLineWithStatus2)
{
    const std::string bad = File(Truck(R"("load":4000)"));
    for (const std::string &path : {bad, File("not json"), std::string("/nonexistent/t.json")}) {
        const TRun r = Sim({"--truck", path, "--steps", "5"});
        EXPECT_EQ(r.Status, 2);
        EXPECT_TRUE(r.Out.empty());
        const auto expected = std::get<TTruckFileError>(ReadTruckFile(path)).Message();
        EXPECT_EQ(r.Err, "velmora-sim: " + expected + "\n");
    }
    EXPECT_EQ(Sim({"--truck", bad}).Err,
              "velmora-sim: " + bad + ": load: must be a number from 0 to 3000, not 4000\n");
}

TEST_F(SimTruck, DutyPrintsEverySegmentAndTheCombinedLife)
{
    const std::string path = File(Truck(R"("load":800,"duty":[
        {"share_pct":70,"speed_mph":60,"gear":5},
        {"share_pct":20,"speed_mph":50,"gear":5,"gradient":0.01,"load":2000},
        {"share_pct":10,"speed_mph":30,"gear":4}])"));
    const TRun r = Sim({"--truck", path, "--duty"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_TRUE(r.Err.empty()) << r.Err;
    const std::vector<std::string> lines = Split(r.Out, '\n');
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "segment,share_pct,gear,speed_mph,gradient,load_lb,engine_rpm,"
                        "resistance_lbf,force_available_lbf,holds_speed,radial_load_lbf,"
                        "c_over_p,life_km,damage_pct");

    const TTruck truck = std::get<TTruck>(ReadTruckFile(path));
    const TDutyResult expected = DutyLife(truck, truck.Duty);
    auto second = CsvRow(r.Out, 2);
    EXPECT_EQ(second["segment"], "2");
    EXPECT_EQ(second["gradient"], "0.01");
    EXPECT_EQ(second["load_lb"], "2000");
    EXPECT_EQ(Num(second["engine_rpm"]), expected.Points[1].EngineRpm);
    EXPECT_EQ(Num(second["life_km"]), *expected.Points[1].LifeKm);
    EXPECT_EQ(Num(second["damage_pct"]), *expected.DamagePct[1]);
    auto third = CsvRow(r.Out, 3);
    EXPECT_EQ(third["gear"], "4");
    EXPECT_EQ(third["gradient"], "0"); // the truck's
    EXPECT_EQ(third["load_lb"], "800");
    EXPECT_EQ(third["life_km"], "");
    EXPECT_EQ(third["damage_pct"], "");
    EXPECT_EQ(lines[4], "all,100,,,,,,,,,,," + NumberText(*expected.LifeKm) + ",");

    const TRun rel = Sim({"--truck", path, "--duty", "--reliability", "99", "--format", "json"});
    const std::vector<std::string> json = Split(rel.Out, '\n');
    ASSERT_EQ(json.size(), 4u);
    const double a1 = ReliabilityFactor(99);
    EXPECT_TRUE(json[3].starts_with("{\"segment\":\"all\",\"share_pct\":100,\"gear\":null,"));
    EXPECT_TRUE(json[3].ends_with("\"a1\":" + NumberText(a1) + ",\"life_km_at_reliability\":" +
                                  NumberText(a1 * *expected.LifeKm) + "}"))
        << json[3];
}

TEST_F(SimTruck, ASegmentThatCannotHoldWarnsOnStandardError)
{
    const std::string path = File(Truck(R"("duty":[{"share_pct":50,"speed_mph":60,"gear":5},
        {"share_pct":50,"speed_mph":70,"gear":5,"gradient":0.2}])"));
    const TRun r = Sim({"--truck", path, "--duty"});
    EXPECT_EQ(r.Status, 0);
    EXPECT_EQ(CsvRow(r.Out, 2)["holds_speed"], "0");
    EXPECT_NE(CsvRow(r.Out, 2)["life_km"], "");
    EXPECT_EQ(Split(r.Err, '\n').size(), 1u);
    EXPECT_TRUE(
        r.Err.starts_with("velmora-sim: warning: segment 2 cannot hold 70 mph in fifth gear "
                          "(force available "))
        << r.Err;

    // Beyond the top speed the engine would have to pass its rev limit.
    const std::string fast = File(Truck(R"("duty":[{"share_pct":100,"speed_mph":99,"gear":5}])"));
    const TRun over = Sim({"--truck", fast, "--duty"});
    EXPECT_EQ(over.Status, 0);
    EXPECT_EQ(CsvRow(over.Out, 1)["force_available_lbf"], "");
    EXPECT_EQ(over.Err, "velmora-sim: warning: segment 1 cannot hold 99 mph in fifth gear (the "
                        "engine would turn at 4211 rpm, above its 4000)\n");
}

TEST_F(SimTruck, DutyNeedsAListWhoseSharesAddUp)
{
    const std::string none = File(Truck(""));
    TRun r = Sim({"--truck", none, "--duty"});
    EXPECT_EQ(r.Status, 2);
    EXPECT_TRUE(r.Out.empty());
    EXPECT_EQ(r.Err, "velmora-sim: " + none + ": duty: no duty list in the file\n");

    const std::string short80 = File(Truck(R"("duty":[{"share_pct":50,"speed_mph":60,"gear":5},
        {"share_pct":30,"speed_mph":70,"gear":4}])"));
    r = Sim({"--truck", short80, "--duty"});
    EXPECT_EQ(r.Status, 2);
    EXPECT_TRUE(r.Out.empty());
    EXPECT_EQ(r.Err, "velmora-sim: " + short80 + ": duty: the shares add up to 80 %, not 100 %\n");

    // The other modes ignore the list, whatever its sum.
    EXPECT_EQ(Sim({"--truck", short80, "--steps", "2"}).Status, 0);
}

TEST_F(SimTruck, AllFourthGivesAnEmptyCombinedLife)
{
    const std::string path = File(Truck(R"("duty":[{"share_pct":100,"speed_mph":40,"gear":4}])"));
    const TRun r = Sim({"--truck", path, "--duty", "--reliability", "95"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    auto all = CsvRow(r.Out, 2);
    EXPECT_EQ(all["segment"], "all");
    EXPECT_EQ(all["life_km"], "");
    EXPECT_EQ(all["life_km_at_reliability"], "");
    EXPECT_EQ(Num(all["a1"]), ReliabilityFactor(95));
}

TEST_F(SimTruck, ADownhillSegmentCoastsAndIsNamedOnStandardError)
{
    // Two halves at 50 mph, one level, one down a slope steep enough that
    // its sine turns negative: the downhill half adds distance, not damage.
    const std::string path = File(Truck(R"("duty":[{"share_pct":50,"speed_mph":50,"gear":5},
        {"share_pct":50,"speed_mph":50,"gear":5,"gradient":4}])"));
    const TRun r = Sim({"--truck", path, "--duty"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Err, "velmora-sim: warning: segment 2 is coasting at 50 mph (its resistance is "
                     "at or below 0): distance without damage\n");
    auto down = CsvRow(r.Out, 2);
    EXPECT_LT(Num(down["resistance_lbf"]), 0);
    EXPECT_EQ(down["holds_speed"], "1");
    for (const char *column : {"radial_load_lbf", "c_over_p", "life_km", "damage_pct"})
        EXPECT_EQ(down[column], "") << column;
    EXPECT_EQ(CsvRow(r.Out, 1)["damage_pct"], "100");
    const double level = *SteadyState(TTruck{}, TGear::Fifth, 50).LifeKm;
    EXPECT_EQ(Num(CsvRow(r.Out, 3)["life_km"]), 2 * level);
}

TEST_F(SimTruck, TheGradientAndLoadColumnsShowTheTrucksWhereASegmentHasNone)
{
    const std::string path = File(Truck(R"("gradient":0.03,"load":700,"duty":[
        {"share_pct":50,"speed_mph":45,"gear":5},
        {"share_pct":50,"speed_mph":45,"gear":5,"gradient":0,"load":0}])"));
    const TRun r = Sim({"--truck", path, "--duty"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    auto own = CsvRow(r.Out, 1);
    EXPECT_EQ(own["gradient"], "0.03");
    EXPECT_EQ(own["load_lb"], "700");
    auto given = CsvRow(r.Out, 2);
    EXPECT_EQ(given["gradient"], "0");
    EXPECT_EQ(given["load_lb"], "0");
    // The option overrides the file's gradient, and so the column.
    EXPECT_EQ(CsvRow(Sim({"--truck", path, "--duty", "--gradient", "0.05"}).Out, 1)["gradient"],
              "0.05");
    // A negative zero reads as plain 0.
    const TRun zero = Sim({"--truck", path, "--duty", "--gradient", "-0", "--load=-0"});
    ASSERT_EQ(zero.Status, 0) << zero.Err;
    EXPECT_EQ(CsvRow(zero.Out, 1)["gradient"], "0");
    EXPECT_EQ(CsvRow(zero.Out, 1)["load_lb"], "0");
    EXPECT_EQ(zero.Out.find("-0"), std::string::npos) << zero.Out;
}

// A fifth-gear segment at 62 mph whose life cannot be rated, beside a
// fourth-gear one: the options, and the lines standard error must hold.
struct TUnratedRun {
    const char *Name;
    std::vector<std::string_view> Options;
    std::vector<std::string> Lines; // each warning line after "velmora-sim: warning: "
    bool EngineSpeed;
};

void PrintTo(const TUnratedRun &c, std::ostream *os)
{
    *os << c.Name;
}

class SimUnrated : public ::testing::TestWithParam<TUnratedRun>
{
  protected:
    void TearDown() override { std::filesystem::remove(m_path); }
    std::string m_path = ::testing::TempDir() + "sim_unrated_" + GetParam().Name + ".json";
};

TEST_P(SimUnrated, EmptiesTheCombinedLifeAndSaysWhyInBothFormats)
{
    std::ofstream(m_path) << R"({"format":"velmora-truck","version":1,"duty":[
        {"share_pct":60,"speed_mph":62,"gear":5},{"share_pct":40,"speed_mph":40,"gear":4}]})";
    for (const char *format : {"csv", "json"}) {
        std::vector<std::string_view> args{"--truck", m_path, "--duty", "--format", format};
        args.insert(args.end(), GetParam().Options.begin(), GetParam().Options.end());
        const TRun r = Sim(args);
        ASSERT_EQ(r.Status, 0) << r.Err;
        for (const char *word : {"nan", "inf", "-0,"}) {
            EXPECT_EQ(r.Out.find(word), std::string::npos) << word << "\n" << r.Out;
            EXPECT_EQ(r.Err.find(word), std::string::npos) << word << "\n" << r.Err;
        }
        const std::vector<std::string> lines = Split(r.Err, '\n');
        ASSERT_EQ(lines.size(), GetParam().Lines.size()) << r.Err;
        for (std::size_t i = 0; i < lines.size(); ++i)
            EXPECT_EQ(lines[i], "velmora-sim: warning: " + GetParam().Lines[i]);
        if (std::string_view(format) == "json") {
            const std::vector<std::string> rows = Split(r.Out, '\n');
            ASSERT_EQ(rows.size(), 3u);
            EXPECT_NE(rows[2].find("\"life_km\":null"), std::string::npos) << rows[2];
            EXPECT_EQ(rows[0].find("\"engine_rpm\":null") != std::string::npos,
                      !GetParam().EngineSpeed)
                << rows[0];
            continue;
        }
        auto first = CsvRow(r.Out, 1);
        EXPECT_EQ(first["life_km"], "");
        EXPECT_EQ(first["damage_pct"], "");
        EXPECT_EQ(first["engine_rpm"].empty(), !GetParam().EngineSpeed);
        EXPECT_EQ(CsvRow(r.Out, 3)["segment"], "all");
        EXPECT_EQ(CsvRow(r.Out, 3)["life_km"], "");
    }
}

const std::string NoLife = ", so neither has the duty list";

INSTANTIATE_TEST_SUITE_P(
    Causes, SimUnrated,
    ::testing::Values(
        TUnratedRun{"NoEngineSpeed",
                    {"--overdrive-ratio", "1e308"},
                    {"segment 1 has no life (no engine speed gives 62 mph in fifth)" + NoLife},
                    false},
        TUnratedRun{"NoGearFactor",
                    {"--overdrive-ratio=0"},
                    {"segment 1 has no life (no engine speed gives 62 mph in fifth)" + NoLife},
                    false},
        TUnratedRun{"UndefinedResistance",
                    {"--frontal-area", "1e308", "--drag-coef", "1e308"},
                    {"segment 1 has no life (the resistance is undefined)" + NoLife,
                     "segment 1 cannot hold 62 mph in fifth gear (the resistance is undefined)",
                     "segment 2 cannot hold 40 mph in fourth gear (the resistance is undefined)"},
                    true},
        TUnratedRun{"UndefinedBearingLoad",
                    {"--helix-angle", "90"},
                    {"segment 1 has no life (the bearing load is undefined)" + NoLife},
                    true},
        TUnratedRun{"UnboundedLife",
                    {"--pressure-angle", "0"},
                    {"segment 1 has no life (the bearing carries no load, so its life has no "
                     "bound)" +
                     NoLife},
                    true}),
    [](const ::testing::TestParamInfo<TUnratedRun> &c) { return std::string(c.param.Name); });

} // namespace
