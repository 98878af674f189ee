#include "analysis/GpxTime.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace
{

constexpr double May1 = 1714550400; // 2024-05-01T08:00:00Z

struct TTimeCase {
    const char *Name;
    const char *Text;
    std::optional<double> Seconds;
};

class IsoTime : public testing::TestWithParam<TTimeCase>
{
};

TEST_P(IsoTime, ReadsOrRefuses)
{
    const TTimeCase &c = GetParam();
    const std::optional<double> t = ParseIsoTime(c.Text);
    ASSERT_EQ(t.has_value(), c.Seconds.has_value()) << c.Text;
    if (t) {
        EXPECT_DOUBLE_EQ(*t, *c.Seconds) << c.Text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Times, IsoTime,
    testing::Values(TTimeCase{"Epoch", "1970-01-01T00:00:00Z", 0.0},
                    TTimeCase{"Utc", "2024-05-01T08:00:00Z", May1},
                    TTimeCase{"LowerCase", "2024-05-01t08:00:00z", May1},
                    TTimeCase{"OffsetEast", "2024-05-01T10:00:00+02:00", May1},
                    TTimeCase{"OffsetWestHalfHour", "2024-05-01T02:30:00-05:30", May1},
                    TTimeCase{"OffsetWithoutColon", "2024-05-01T10:00:00+0200", May1},
                    TTimeCase{"OffsetHoursOnly", "2024-05-01T10:00:00+02", May1},
                    TTimeCase{"OffsetCrossesMidnight", "2024-04-30T23:00:00-09:00", May1},
                    TTimeCase{"NoOffsetIsUtc", "2024-05-01T08:00:00", May1},
                    TTimeCase{"Fraction", "2024-05-01T08:00:00.250Z", May1 + 0.25},
                    TTimeCase{"LongFraction", "2024-05-01T08:00:00.123456789Z", May1 + 0.123456789},
                    TTimeCase{"SurroundingSpace", "\n  2024-05-01T08:00:00Z \t", May1},
                    TTimeCase{"LeapDay", "2024-02-29T00:00:00Z", 1709164800.0},
                    TTimeCase{"CenturyLeapYear", "2000-03-01T00:00:00Z", 951868800.0},
                    TTimeCase{"BeforeEpoch", "1969-12-31T23:59:59Z", -1.0},
                    TTimeCase{"LeapSecond", "2016-12-31T23:59:60Z", 1483228800.0},
                    TTimeCase{"NoLeapDay", "2023-02-29T00:00:00Z", std::nullopt},
                    TTimeCase{"CenturyNoLeapDay", "1900-02-29T00:00:00Z", std::nullopt},
                    TTimeCase{"Month13", "2024-13-01T00:00:00Z", std::nullopt},
                    TTimeCase{"Day31OfApril", "2024-04-31T00:00:00Z", std::nullopt},
                    TTimeCase{"Hour24", "2024-05-01T24:00:00Z", std::nullopt},
                    TTimeCase{"Minute60", "2024-05-01T08:60:00Z", std::nullopt},
                    TTimeCase{"NoSeconds", "2024-05-01T08:00Z", std::nullopt},
                    TTimeCase{"SpaceForT", "2024-05-01 08:00:00Z", std::nullopt},
                    TTimeCase{"DateOnly", "2024-05-01", std::nullopt},
                    TTimeCase{"EmptyFraction", "2024-05-01T08:00:00.Z", std::nullopt},
                    TTimeCase{"OneDigitOffset", "2024-05-01T08:00:00+2:00", std::nullopt},
                    TTimeCase{"OffsetMinutes60", "2024-05-01T08:00:00+02:60", std::nullopt},
                    TTimeCase{"TwoZones", "2024-05-01T08:00:00ZZ", std::nullopt},
                    TTimeCase{"Words", "yesterday", std::nullopt},
                    TTimeCase{"Empty", "", std::nullopt},
                    TTimeCase{"SignedYear", "+2024-05-01T08:00:00Z", std::nullopt}),
    [](const testing::TestParamInfo<TTimeCase> &i) { return std::string(i.param.Name); });

} // namespace
