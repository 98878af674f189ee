#include "analysis/TruckFile.h"
#include "analysis/TruckInputs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <stdexcept>
#include <string>

namespace
{

struct TRangeCase {
    TInputRange Range;
    double In;  // contained
    double Out; // not contained
    const char *Text;
};

class InputRangeTest : public ::testing::TestWithParam<TRangeCase>
{
};

TEST_P(InputRangeTest, ContainsItsEdgesAndSaysSoInWords)
{
    const TRangeCase &c = GetParam();
    EXPECT_TRUE(c.Range.Contains(c.In)) << c.In;
    EXPECT_FALSE(c.Range.Contains(c.Out)) << c.Out;
    EXPECT_FALSE(c.Range.Contains(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(c.Range.Contains(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(c.Range.Contains(-std::numeric_limits<double>::infinity()));
    EXPECT_EQ(c.Range.Text(), c.Text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InputRangeTest,
    ::testing::Values(
        TRangeCase{LoadRange, 3000, std::nextafter(3000.0, 4000.0), "a number from 0 to 3000"},
        TRangeCase{LoadRange, 0, std::nextafter(0.0, -1.0), "a number from 0 to 3000"},
        TRangeCase{GradientRange, 100, -0.01, "a number from 0 to 100"},
        TRangeCase{DutyGradientRange, -0.5, std::nextafter(-0.5, -1.0),
                   "a number from -0.5 to 100"},
        TRangeCase{DutyGradientRange, 100, 100.5, "a number from -0.5 to 100"},
        TRangeCase{{0, 100, true}, 100, 0, "above 0 and at most 100"},
        TRangeCase{{0, 100, true}, 5e-324, -0.0, "above 0 and at most 100"},
        TRangeCase{{0, NoUpperLimit}, 1e308, -1e-300, "0 or more"},
        TRangeCase{{0, 2147483647, false, true},
                   2147483647,
                   2147483648.0,
                   "a whole number from 0 to 2147483647"},
        TRangeCase{{0, 2147483647, false, true}, 45, 45.5, "a whole number from 0 to 2147483647"},
        TRangeCase{{1, NoUpperLimit, false, true}, 1e300, 1.5, "a whole number, 1 or more"},
        TRangeCase{{0, NoUpperLimit, true}, 1, 0, "a number above 0"}));

TEST(TruckInputs, EachKeyAndOptionIsItsOwnAndReadsAsTheOther)
{
    std::set<std::string_view> keys, options;
    for (const TTruckInput &input : TruckInputs()) {
        EXPECT_TRUE(keys.insert(input.Key).second) << input.Key;
        EXPECT_TRUE(options.insert(input.Option).second) << input.Option;
        std::string option = "--" + std::string(input.Key);
        for (char &c : option)
            c = c == '_' ? '-' : c;
        EXPECT_EQ(input.Option, option);
        EXPECT_FALSE(input.Help.empty()) << input.Key;
        EXPECT_EQ(FindTruckInput(input.Key), &input);
        EXPECT_EQ(&InputByKey(input.Key), &input);
        EXPECT_EQ(input.Kind == TInputKind::Row, input.RowNames != nullptr) << input.Key;
        EXPECT_EQ(input.Kind == TInputKind::Row, !input.Table.empty()) << input.Key;
    }
    EXPECT_EQ(keys.size(), 18u);
    EXPECT_EQ(FindTruckInput("units"), nullptr);
    EXPECT_EQ(FindTruckInput("share_pct"), nullptr);
    EXPECT_THROW(InputByKey("lode"), std::out_of_range);
}

TEST(TruckInputs, RowsSpanTheirTablesAndGearsAreFourOrFive)
{
    for (const TTruckInput &input : TruckInputs()) {
        if (input.Kind == TInputKind::Row) {
            EXPECT_EQ(input.Range.Max + 1, static_cast<double>(input.RowNames().size()))
                << input.Key;
            EXPECT_EQ(input.Range.Min, 0);
        }
        EXPECT_EQ(input.Range.Whole,
                  input.Kind != TInputKind::Number || input.Key == "rolling_resistance")
            << input.Key;
    }
    EXPECT_EQ(InputByKey("gear").Range.Min, 4);
    EXPECT_EQ(InputByKey("gear").Range.Max, 5);
}

// A value inside the input's range other than its start-up value.
double Unusual(const TTruckInput &input)
{
    if (input.Kind != TInputKind::Number)
        return input.Get(TTruck{}) == input.Range.Max ? input.Range.Min : input.Range.Max;
    if (input.Range.Whole)
        return 2147483647;
    return input.Range.Bounded() ? input.Range.Max * 0.7 + 0.123 : 1.0 / 3 + 7;
}

// Each input changes its own field of the truck and no other.
TEST(TruckInputs, SetChangesOneFieldAndGetReadsItBack)
{
    for (const TTruckInput &input : TruckInputs()) {
        TTruck t;
        const double v = Unusual(input);
        ASSERT_NE(input.Get(t), v) << input.Key;
        ASSERT_TRUE(input.Range.Contains(v)) << input.Key;
        EXPECT_TRUE(input.Range.Contains(input.Get(t))) << input.Key << ": start-up value";
        input.Set(t, v);
        EXPECT_EQ(input.Get(t), v) << input.Key;
        for (const TTruckInput &other : TruckInputs()) {
            if (&other == &input)
                continue;
            EXPECT_EQ(other.Get(t), other.Get(TTruck{})) << input.Key << " set " << other.Key;
        }
    }
}

class EveryInput : public ::testing::TestWithParam<std::size_t>
{
  protected:
    const TTruckInput &Input() const { return TruckInputs()[GetParam()]; }
};

std::string File(const std::string &members)
{
    return R"({"format":"velmora-truck","version":1,)" + members + "}";
}

TEST_P(EveryInput, IsReadFromItsKey)
{
    const double v = Unusual(Input());
    const auto read =
        ParseTruck(File("\"" + std::string(Input().Key) + "\":" + RangeNumber(v)), "t");
    ASSERT_TRUE(std::holds_alternative<TTruck>(read)) << std::get<TTruckFileError>(read).Message();
    EXPECT_EQ(Input().Get(std::get<TTruck>(read)), v);
}

TEST_P(EveryInput, IsWrittenUnderItsKeyAndReadBack)
{
    TTruck t;
    Input().Set(t, Unusual(Input()));
    const std::string text = TruckJson(t);
    EXPECT_NE(text.find("\"" + std::string(Input().Key) + "\": " + RangeNumber(Unusual(Input()))),
              std::string::npos)
        << text;
    const auto read = ParseTruck(text, "t");
    ASSERT_TRUE(std::holds_alternative<TTruck>(read));
    EXPECT_EQ(Input().Get(std::get<TTruck>(read)), Unusual(Input()));
}

TEST_P(EveryInput, AValueOutsideItsRangeIsRefusedNamingTheKey)
{
    const TInputRange &r = Input().Range;
    const double below = r.MinExclusive ? r.Min : std::nextafter(r.Min, -1e308);
    const auto read =
        ParseTruck(File("\"" + std::string(Input().Key) + "\":" + RangeNumber(below)), "t");
    ASSERT_TRUE(std::holds_alternative<TTruckFileError>(read));
    const TTruckFileError &e = std::get<TTruckFileError>(read);
    EXPECT_EQ(e.Key, Input().Key);
    if (Input().Kind == TInputKind::Number) {
        EXPECT_EQ(e.Problem, "must be " + r.Text() + ", not " + RangeNumber(below));
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, EveryInput, ::testing::Range<std::size_t>(0, 18),
                         [](const ::testing::TestParamInfo<std::size_t> &p) {
                             return std::string(TruckInputs()[p.param].Key);
                         });

} // namespace
