// velmora-sim's options: every truck input by option, file and help alike,
// the options refused where they would change nothing, and the route's.
#include "SimTestSupport.h"
#include "analysis/TruckFile.h"
#include "analysis/TruckInputs.h"
#include "velmora-sim/SimOptions.h"
#include "velmora-sim/SimRows.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace SimTest;

namespace
{

// A value inside the input's range other than its start-up value.
double Unusual(const TTruckInput &input)
{
    if (input.Kind != TInputKind::Number)
        return input.Get(TTruck{}) == input.Range.Max ? input.Range.Min : input.Range.Max;
    if (input.Range.Whole)
        return 300;
    return input.Range.Bounded() ? input.Range.Max * 0.02 + 0.125
                                 : input.Get(TTruck{}) * 1.5 + 0.25;
}

std::variant<TSimOptions, TSimOptionError> Parse(std::vector<std::string_view> args)
{
    return ParseSimOptions(args);
}

class SimInput : public ::testing::TestWithParam<std::size_t>
{
  protected:
    const TTruckInput &Input() const { return TruckInputs()[GetParam()]; }
    std::string Value() const { return RangeNumber(Unusual(Input())); }
};

TEST_P(SimInput, ItsOptionSetsItsFieldAndNoOther)
{
    const std::string value = Value();
    const std::string inlineForm = std::string(Input().Option) + "=" + value;
    for (const std::vector<std::string_view> &args :
         {std::vector<std::string_view>{Input().Option, value},
          std::vector<std::string_view>{inlineForm}}) {
        const auto parsed = Parse(args);
        ASSERT_TRUE(std::holds_alternative<TSimOptions>(parsed))
            << std::get<TSimOptionError>(parsed).Message;
        const TSimOptions &o = std::get<TSimOptions>(parsed);
        EXPECT_EQ(o.Input(Input().Key), Unusual(Input()));
        const TTruck t = o.ApplyTo(TTruck{});
        for (const TTruckInput &other : TruckInputs()) {
            const double expected = &other == &Input() ? Unusual(other) : other.Get(TTruck{});
            EXPECT_EQ(other.Get(t), expected) << Input().Option << " and " << other.Key;
        }
    }
}

TEST_P(SimInput, TheOptionAndTheFileGiveTheSameRowsAndBothMatter)
{
    const std::string path =
        ::testing::TempDir() + "sim_input_" + std::string(Input().Key) + ".json";
    TTruck t;
    Input().Set(t, Unusual(Input()));
    ASSERT_FALSE(WriteTruckFile(path, t));
    const std::string value = Value();
    // On a slope, so that the weight matters too.
    std::vector<std::string_view> base{"--rpm", "2500"};
    if (Input().Key != "gradient")
        base.insert(base.end(), {"--gradient", "0.05"});
    std::vector<std::string_view> byOption = base, byFile = base;
    byOption.insert(byOption.end(), {Input().Option, value});
    byFile.insert(byFile.end(), {"--truck", path});
    const TRun option = Sim(byOption);
    const TRun file = Sim(byFile);
    std::filesystem::remove(path);
    ASSERT_EQ(option.Status, 0) << option.Err;
    EXPECT_EQ(option.Out, file.Out);
    EXPECT_NE(option.Out, Sim(base).Out) << Input().Option << " changes nothing";
}

TEST_P(SimInput, HelpListsItWithItsDefault)
{
    std::istringstream help(SimUsage);
    std::string line;
    bool found = false;
    while (std::getline(help, line)) {
        if (line.rfind("  " + std::string(Input().Option) + " ", 0) != 0)
            continue;
        found = true;
        EXPECT_NE(line.find(Input().Help), std::string::npos) << line;
        EXPECT_NE(line.find("(default " + RangeNumber(Input().Get(TTruck{})) + ")"),
                  std::string::npos)
            << line;
        if (Input().Kind == TInputKind::Number && Input().Range.Bounded()) {
            EXPECT_NE(line.find(" to " + RangeNumber(Input().Range.Max)), std::string::npos)
                << line;
        }
    }
    EXPECT_TRUE(found) << Input().Option;
}

TEST_P(SimInput, AValueOutsideItsRangeNamesTheOptionAndTheRange)
{
    if (Input().Kind != TInputKind::Number)
        GTEST_SKIP() << "rows are refused when selected, with the model's message";
    const TRun r = Sim({Input().Option, "-1"});
    EXPECT_EQ(r.Status, 2);
    EXPECT_EQ(r.Err, "velmora-sim: bad value \"-1\" for " + std::string(Input().Option) +
                         ": expected " + Input().Range.Text() + " (see --help)\n");
}

INSTANTIATE_TEST_SUITE_P(Inputs, SimInput, ::testing::Range<std::size_t>(0, 18),
                         [](const ::testing::TestParamInfo<std::size_t> &p) {
                             return std::string(TruckInputs()[p.param].Key);
                         });

struct TRefused {
    std::vector<std::string_view> Args;
    std::string Message; // the whole line, without "velmora-sim: " and " (see --help)"
};

void PrintTo(const TRefused &r, std::ostream *os)
{
    for (std::string_view a : r.Args)
        *os << a << ' ';
}

class SimRefused : public ::testing::TestWithParam<TRefused>
{
};

TEST_P(SimRefused, OneLineSayingWhyAndStatus2)
{
    const TRun r = Sim(GetParam().Args);
    EXPECT_EQ(r.Status, 2);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err, "velmora-sim: " + GetParam().Message + " (see --help)\n");
}

const std::string DrivingWhy = ": each row is computed at its own engine speed";
const std::string DutyWhy = ": each segment is the steady state at its own speed";

INSTANTIATE_TEST_SUITE_P(
    NoEffect, SimRefused,
    ::testing::Values(
        TRefused{{"--boost", "--sweep"}, "--boost has no effect with --sweep" + DrivingWhy},
        TRefused{{"--sweep", "--pedal", "40"}, "--pedal has no effect with --sweep" + DrivingWhy},
        TRefused{{"--start-rpm", "100", "--sweep"},
                 "--start-rpm has no effect with --sweep" + DrivingWhy},
        TRefused{{"--rpm", "1000", "--boost"}, "--boost has no effect with --rpm" + DrivingWhy},
        TRefused{{"--pedal=40", "--rpm=1000"}, "--pedal has no effect with --rpm" + DrivingWhy},
        TRefused{{"--rpm", "1000", "--start-rpm", "0"},
                 "--start-rpm has no effect with --rpm" + DrivingWhy},
        TRefused{{"--truck", "t.json", "--duty", "--boost"},
                 "--boost has no effect with --duty" + DutyWhy},
        TRefused{{"--truck", "t.json", "--duty", "--pedal", "0"},
                 "--pedal has no effect with --duty" + DutyWhy},
        TRefused{{"--truck", "t.json", "--duty", "--start-rpm", "10"},
                 "--start-rpm has no effect with --duty" + DutyWhy},
        TRefused{{"--truck", "t.json", "--duty", "--gear", "4"},
                 "--gear has no effect with --duty: each segment names its own gear"},
        TRefused{{"--every", "5"},
                 "--every has no effect without --steps: it prints a row after every K-th step"},
        TRefused{{"--every", "5", "--rpm", "1000"},
                 "--every has no effect without --steps: it prints a row after every K-th step"},
        TRefused{{"--sweep", "--every", "5"},
                 "--every has no effect without --steps: it prints a row after every K-th step"},
        TRefused{{"--truck", "t.json", "--duty", "--every", "5"},
                 "--every has no effect without --steps: it prints a row after every K-th step"},
        TRefused{{"--steps", "0", "--every", "1"},
                 "--every has no effect with --steps 0: there is no step to print"},
        TRefused{{"--truck", "t.json", "--duty", "--sweep"},
                 "choose one of --steps, --rpm, --sweep and --duty"},
        TRefused{{"--rpm", "100", "--steps", "5"},
                 "choose one of --steps, --rpm, --sweep and --duty"},
        TRefused{{"--slice", "50"}, "--slice has no effect without --route"},
        TRefused{{"--truck", "t.json", "--duty", "--smooth", "50"},
                 "--smooth has no effect without --route"},
        TRefused{{"--speed-bin=2", "--write-truck", "o.json"},
                 "--speed-bin has no effect without --route"},
        TRefused{{"--gradient-bin", "0.02"}, "--gradient-bin has no effect without --route"},
        TRefused{{"--route", "r.gpx"},
                 "--route has no effect without --duty or --write-truck: "
                 "only they use the duty list"},
        TRefused{{"--route", "r.gpx", "--sweep"},
                 "--route has no effect without --duty or "
                 "--write-truck: only they use the duty list"},
        TRefused{{"--duty"},
                 "--duty needs a truck file with a duty list (--truck FILE) or a "
                 "route (--route FILE)"}));

INSTANTIATE_TEST_SUITE_P(
    BadValues, SimRefused,
    ::testing::Values(
        TRefused{{"--slice", "9.99"},
                 "bad value \"9.99\" for --slice: expected a number from 10 "
                 "to 10000"},
        TRefused{{"--slice=10000.5"},
                 "bad value \"10000.5\" for --slice: expected a number from "
                 "10 to 10000"},
        TRefused{{"--smooth", "-1"},
                 "bad value \"-1\" for --smooth: expected a number from 0 to "
                 "5000"},
        TRefused{{"--speed-bin", "0.5"},
                 "bad value \"0.5\" for --speed-bin: expected a number "
                 "from 1 to 20"},
        TRefused{{"--gradient-bin", "0.2"},
                 "bad value \"0.2\" for --gradient-bin: expected a "
                 "number from 0.001 to 0.1"},
        TRefused{{"--route", ""}, "bad value \"\" for --route: expected a file name"},
        TRefused{{"--write-truck="}, "bad value \"\" for --write-truck: expected a file name"},
        TRefused{{"--write-truck"}, "option --write-truck needs a value"},
        TRefused{{"--load="}, "bad value \"\" for --load: expected a number from 0 to 3000"},
        TRefused{{"--gradient", "-0.01"},
                 "bad value \"-0.01\" for --gradient: expected a number from 0 to 100"},
        TRefused{{"--rolling-resistance", "45.5"},
                 "bad value \"45.5\" for --rolling-resistance: "
                 "expected a whole number from 0 to 2147483647"},
        TRefused{{"--gear", "4.5"}, "bad value \"4.5\" for --gear: expected 4 or 5"},
        TRefused{{"--engine", "1.5"}, "bad value \"1.5\" for --engine: expected a whole number"},
        TRefused{{"--steps", "1.0"},
                 "bad value \"1.0\" for --steps: expected a whole number, 0 "
                 "or more"},
        TRefused{{"--every=0", "--steps=5"},
                 "bad value \"0\" for --every: expected a whole "
                 "number, 1 or more"},
        TRefused{{"--reliability=100"},
                 "bad value \"100\" for --reliability: expected a number "
                 "from 90 to 99.95"},
        TRefused{{"--pedal", "100.5"},
                 "bad value \"100.5\" for --pedal: expected a number from 0 "
                 "to 100"}));

TEST(SimOptions, RouteOptionsFillTheRouteFields)
{
    const auto parsed =
        Parse({"--route", "r.gpx", "--slice", "10", "--smooth=0", "--speed-bin", "20",
               "--gradient-bin", "0.001", "--duty", "--write-truck", "o.json"});
    ASSERT_TRUE(std::holds_alternative<TSimOptions>(parsed))
        << std::get<TSimOptionError>(parsed).Message;
    const TSimOptions &o = std::get<TSimOptions>(parsed);
    EXPECT_EQ(o.RouteFile, "r.gpx");
    EXPECT_EQ(o.WriteTruck, "o.json");
    EXPECT_EQ(o.Route, (TRouteParams{10, 0, 20, 0.001}));
    EXPECT_TRUE(CheckRouteParams(o.Route).empty());

    // The gear a duty run ignores is still the truck's gear that --write-truck writes.
    EXPECT_TRUE(std::holds_alternative<TSimOptions>(
        Parse({"--truck", "t.json", "--duty", "--gear", "4", "--write-truck", "o.json"})));

    const auto plain = Parse({"--route", "r.gpx", "--write-truck", "o.json"});
    ASSERT_TRUE(std::holds_alternative<TSimOptions>(plain));
    EXPECT_EQ(std::get<TSimOptions>(plain).Route, TRouteParams{});
    EXPECT_FALSE(std::get<TSimOptions>(plain).Duty);
}

TEST(SimOptions, InlineValuesReadAsSeparateOnes)
{
    EXPECT_EQ(Sim({"--load=800", "--rpm=2000", "--format=json"}).Out,
              Sim({"--load", "800", "--rpm", "2000", "--format", "json"}).Out);
    EXPECT_EQ(Sim({"--drag-coef=0.5", "--steps=20", "--every=10"}).Out,
              Sim({"--drag-coef", "0.5", "--steps", "20", "--every", "10"}).Out);
}

TEST(SimOptions, WholeInputsTakeTheFilesDecimalForm)
{
    const TRun plain =
        Sim({"--rolling-resistance", "45", "--gear", "4", "--engine", "2", "--rpm", "2000"});
    ASSERT_EQ(plain.Status, 0) << plain.Err;
    EXPECT_EQ(
        Sim({"--rolling-resistance", "45.0", "--gear", "4.0", "--engine", "2.0", "--rpm", "2000"})
            .Out,
        plain.Out);
    EXPECT_EQ(
        Sim({"--rolling-resistance", "4.5e1", "--gear", "4", "--engine", "2", "--rpm", "2000"}).Out,
        plain.Out);
}

TEST(SimOptions, StepsZeroPrintsTheStartUpStateAndStartRpmZeroStartsAtRest)
{
    const TRun none = Sim({"--steps", "0"});
    ASSERT_EQ(none.Status, 0) << none.Err;
    ASSERT_EQ(Split(none.Out, '\n').size(), 2u);
    EXPECT_EQ(CsvRow(none.Out, 1)["step"], "0");
    EXPECT_EQ(CsvRow(none.Out, 1)["engine_rpm"], "10");
    EXPECT_EQ(none.Out, Sim({}).Out);

    const TRun rest = Sim({"--start-rpm", "0", "--steps", "3"});
    ASSERT_EQ(rest.Status, 0) << rest.Err;
    EXPECT_EQ(CsvRow(rest.Out, 1)["step"], "3");
    EXPECT_EQ(CsvRow(rest.Out, 1)["engine_rpm"], "0"); // no pedal: it stays at rest
}

TEST(SimOptions, DutyRowsShowTheGradientAndLoadEachSegmentRunsAt)
{
    const std::string path = ::testing::TempDir() + "sim_duty_gradient.json";
    TTruck t;
    t.Inputs.Gradient = 0.02;
    t.Inputs.Load = 700;
    t.Duty = {{50, 50, TGear::Fifth, std::nullopt, std::nullopt},
              {50, 40, TGear::Fifth, -0.03, 1200}};
    ASSERT_FALSE(WriteTruckFile(path, t));
    const TRun r = Sim({"--truck", path, "--duty"});
    std::filesystem::remove(path);
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(CsvRow(r.Out, 1)["gradient"], "0.02");
    EXPECT_EQ(CsvRow(r.Out, 1)["load_lb"], "700");
    EXPECT_EQ(CsvRow(r.Out, 2)["gradient"], "-0.03");
    EXPECT_EQ(CsvRow(r.Out, 2)["load_lb"], "1200");
}

TEST(SimOptions, HelpAndVersionSkipTheChecksBetweenOptions)
{
    EXPECT_EQ(Sim({"--help", "--boost", "--sweep"}).Status, 0);
    EXPECT_EQ(Sim({"--every", "3", "--version"}).Status, 0);
}

struct TNumberCase {
    double Value;
    const char *Text;
};

class SimNumberText : public ::testing::TestWithParam<TNumberCase>
{
};

TEST_P(SimNumberText, PlainDecimalsDownToOneMillionth)
{
    EXPECT_EQ(NumberText(GetParam().Value), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SimNumberText,
    ::testing::Values(TNumberCase{1e-6, "0.000001"}, TNumberCase{2.5e-6, "0.0000025"},
                      TNumberCase{9.99e-6, "0.00000999"}, TNumberCase{1e-5, "0.00001"},
                      TNumberCase{-3e-6, "-0.000003"}, TNumberCase{9.99e-7, "9.99e-07"},
                      TNumberCase{1e16, "1e+16"},
                      TNumberCase{9999999999999998, "9999999999999998"}));

} // namespace
