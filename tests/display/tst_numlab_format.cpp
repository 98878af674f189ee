#include "widgets/display/NumLabFormat.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

QString text(TDisplay type, int precision, double v, bool comma = false, bool plus = false)
{
    TNumLabFormat f;
    f.DisplayType = type;
    f.Precision = precision;
    f.Comma = comma;
    f.ForcePlusSign = plus;
    return NumLabValueText(v, f);
}

const QString overflow = QStringLiteral("*********");

} // namespace

TEST(NumLabFormat, DecimalMarkFollowsCommaOnly)
{
    EXPECT_EQ(text(TDisplay::dtFixP, 1, 61.34), "61.3");
    EXPECT_EQ(text(TDisplay::dtFixP, 1, 61.34, true), "61,3");
    EXPECT_EQ(text(TDisplay::dtFloat, 3, 61.34, true), "61,3");
    EXPECT_EQ(text(TDisplay::dtExp, 3, 1234.5, true), "1,23E+03");
    EXPECT_EQ(text(TDisplay::dtFixP, 0, 61.34), "61");
    EXPECT_EQ(text(TDisplay::dtFixP, 2, -0.004), "0.00"); // no "-0.00"
}

TEST(NumLabFormat, IntegerFormsRound)
{
    EXPECT_EQ(text(TDisplay::dtInt, 2, 1234.7), "1235");
    EXPECT_EQ(text(TDisplay::dtInt, 2, -1234.7), "-1235");
    EXPECT_EQ(text(TDisplay::dtInt, 2, 1e6, true), "1000000");
    EXPECT_EQ(text(TDisplay::dtZeroInt, 5, 42), "00042");
    EXPECT_EQ(text(TDisplay::dtZeroInt, 5, -42), "-00042");
    EXPECT_EQ(text(TDisplay::dtZeroInt, 0, 0), "0");
    EXPECT_EQ(text(TDisplay::dtZeroInt, 3, 2.5), "002"); // halves to even
    EXPECT_EQ(text(TDisplay::dtZeroInt, 3, 3.5), "004");
    EXPECT_EQ(text(TDisplay::dtZeroInt, 5, 3e9), overflow);
    EXPECT_EQ(text(TDisplay::dtZeroInt, 1, 2147483647.0), "2147483647");
    EXPECT_EQ(text(TDisplay::dtZeroInt, 1, -2147483649.0), overflow);
}

TEST(NumLabFormat, PlusSignOnlyAboveZeroAndOnlyForSignedForms)
{
    EXPECT_EQ(text(TDisplay::dtFixP, 2, 5, false, true), "+5.00");
    EXPECT_EQ(text(TDisplay::dtFixP, 2, 0, false, true), "0.00");
    EXPECT_EQ(text(TDisplay::dtFixP, 2, -5, false, true), "-5.00");
    EXPECT_EQ(text(TDisplay::dtZeroInt, 3, 7, false, true), "+007");
    EXPECT_EQ(text(TDisplay::dtHex, 2, 255, false, true), "FF");
    EXPECT_EQ(text(TDisplay::dtBin, 2, 3, false, true), "11");
}

TEST(NumLabFormat, HexBinaryAndOctalKeepTheLastDigits)
{
    EXPECT_EQ(text(TDisplay::dtHex, 4, 255), "00FF");
    EXPECT_EQ(text(TDisplay::dtHex, 4, 4294967296.0), overflow);
    EXPECT_EQ(text(TDisplay::dtHex, 8, 4294967295.0), "FFFFFFFF");
    EXPECT_EQ(text(TDisplay::dtHex, 8, -1), "FFFFFFFF");
    EXPECT_EQ(text(TDisplay::dtHex, 15, 0x1234), "00001234"); // at most eight digits
    EXPECT_EQ(text(TDisplay::dtHex, 2, 0x1234), "34");
    EXPECT_EQ(text(TDisplay::dtHex, 4, -2147483649.0), overflow);

    EXPECT_EQ(text(TDisplay::dtBin, 4, 5), "0101");
    EXPECT_EQ(text(TDisplay::dtBin, 2, 5), "01");
    EXPECT_EQ(text(TDisplay::dtBin, 15, -1), QString(15, QLatin1Char('1')));
    EXPECT_EQ(text(TDisplay::dtBin, 4, 5e9), overflow);

    EXPECT_EQ(text(TDisplay::dtOct, 3, 8), "010");
    EXPECT_EQ(text(TDisplay::dtOct, 12, 4294967295.0), "77777777"); // never more than eight
    EXPECT_EQ(text(TDisplay::dtOct, 12, 8), "00000010");
}

TEST(NumLabFormat, PrecisionZeroLeavesRadixFormsEmpty)
{
    EXPECT_EQ(text(TDisplay::dtHex, 0, 255), "");
    EXPECT_EQ(text(TDisplay::dtBin, 0, 5), "");
    EXPECT_EQ(text(TDisplay::dtOct, 0, 5), "");
    EXPECT_EQ(text(TDisplay::dtOct, 0, 5, false, true), "+");
    EXPECT_EQ(text(TDisplay::dtHex, 0, 5, false, true), "");
}

TEST(NumLabFormat, GeneralAndScientificForms)
{
    EXPECT_EQ(text(TDisplay::dtFloat, 3, 61.34), "61.3");
    EXPECT_EQ(text(TDisplay::dtFloat, 5, 0.5), "0.5"); // trailing zeros go
    EXPECT_EQ(text(TDisplay::dtFloat, 3, 1234567), "1.23e+06");
    EXPECT_EQ(text(TDisplay::dtExp, 3, 1234.5), "1.23E+03");
    EXPECT_EQ(text(TDisplay::dtExp, 1, 1234.5), "1E+03");
    EXPECT_EQ(text(TDisplay::dtExp, 0, 1234.5), "1E+03");
}

TEST(NumLabFormat, NonFiniteValuesOverflow)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (TDisplay t : {TDisplay::dtFloat, TDisplay::dtFixP, TDisplay::dtExp, TDisplay::dtInt, TDisplay::dtHex,
                       TDisplay::dtZeroInt, TDisplay::dtBin, TDisplay::dtOct, TDisplay::dtDateTime}) {
        EXPECT_EQ(text(t, 2, nan), overflow) << int(t);
        EXPECT_EQ(text(t, 2, -inf), overflow) << int(t);
    }
}

TEST(NumLabFormat, StateTextIsShownAsItIs)
{
    TNumLabFormat f;
    f.DisplayType = TDisplay::dtState;
    f.StateText = QStringLiteral("v1.2, ok");
    f.Comma = true;
    f.ForcePlusSign = true;
    EXPECT_EQ(NumLabValueText(12, f), "v1.2, ok");
}

TEST(NumLabFormat, DateTimePatterns)
{
    TNumLabFormat f;
    f.DisplayType = TDisplay::dtDateTime;
    EXPECT_EQ(NumLabValueText(0, f), "Dec-30, 1899");
    EXPECT_EQ(NumLabValueText(45000.75, f), "Mar-15, 2023");
    EXPECT_EQ(FormatDateTimePattern(QStringLiteral("yyyy-mm-dd hh:mm:ss"), 45000.75), "2023-03-15 18:00:00");
    EXPECT_EQ(FormatDateTimePattern(QStringLiteral("d/m/yy h:nn am/pm"), 45000.75), "15/3/23 6:00 pm");
    EXPECT_EQ(FormatDateTimePattern(QStringLiteral("dddd d mmmm"), 45000.75), "Wednesday 15 March");
    EXPECT_EQ(FormatDateTimePattern(QStringLiteral("'day' d"), 45000.75), "day 15");
    // Before the epoch the fraction still counts forward from midnight.
    EXPECT_EQ(FormatDateTimePattern(QStringLiteral("yyyy-mm-dd hh:nn"), -1.25), "1899-12-29 06:00");
    f.DTFormat = QStringLiteral("yyyy");
    EXPECT_EQ(NumLabValueText(1e12, f), QStringLiteral("*********"));
}

// The hour on a 12-hour clock: 0 and 12 both read 12, the marker turns at noon.
struct ClockRow {
    const char *Name;
    double DayFraction;
    const char *Pattern, *Expected;
};

void PrintTo(const ClockRow &r, std::ostream *os)
{
    *os << r.Name;
}

class TwelveHourClock : public testing::TestWithParam<ClockRow>
{
};

TEST_P(TwelveHourClock, HourAndMarker)
{
    const ClockRow &r = GetParam();
    EXPECT_EQ(FormatDateTimePattern(QString::fromLatin1(r.Pattern), 45000 + r.DayFraction),
              QString::fromLatin1(r.Expected));
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, TwelveHourClock,
    testing::Values(ClockRow{"Midnight", 0, "h:nn am/pm", "12:00 am"},
                    ClockRow{"OneMinutePastMidnight", 1.0 / 1440, "hh:nn am/pm", "12:01 am"},
                    ClockRow{"OneAm", 1.0 / 24, "h:nn am/pm", "1:00 am"},
                    ClockRow{"MinuteBeforeNoon", 0.5 - 1.0 / 1440, "h:nn am/pm", "11:59 am"},
                    ClockRow{"Noon", 0.5, "h:nn am/pm", "12:00 pm"},
                    ClockRow{"NoonShortMarker", 0.5, "h a/p", "12 p"},
                    ClockRow{"OnePm", 13.0 / 24, "hh:nn AM/PM", "01:00 pm"},
                    ClockRow{"MinuteBeforeMidnight", 1 - 1.0 / 1440, "h:nn am/pm", "11:59 pm"},
                    ClockRow{"MidnightOn24HourClock", 0, "hh:nn", "00:00"},
                    ClockRow{"NoonOn24HourClock", 0.5, "h:nn", "12:00"}),
    [](const testing::TestParamInfo<ClockRow> &i) { return std::string(i.param.Name); });
