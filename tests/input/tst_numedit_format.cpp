// Text <-> number conversions shared by the numeric edits.

#include "widgets/input/ESBPCSNumFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const TESBSeparators Point{QLatin1Char('.'), QLatin1Char(',')};
const TESBSeparators Comma{QLatin1Char(','), QLatin1Char('.')};

long double parse(const QString &s, TESBSeparators seps = Point)
{
    return ParseFloatText(s, seps, false);
}

} // namespace

TEST(ParseFloatText, DropsTrailingMarksSeparatorsAndPercent)
{
    EXPECT_EQ(parse("12."), 12.0L);
    EXPECT_EQ(parse("3e"), 3.0L);
    EXPECT_EQ(parse("1e-"), 1.0L);
    EXPECT_EQ(parse("-"), 0.0L);
    EXPECT_EQ(parse(""), 0.0L);
    EXPECT_EQ(parse("  "), 0.0L);
    EXPECT_EQ(parse("."), 0.0L);
    EXPECT_EQ(parse("1,234.5"), 1234.5L);
    EXPECT_EQ(parse(" 12.5% "), 12.5L);
    EXPECT_EQ(parse("-2.5E2"), -250.0L);
    EXPECT_EQ(parse("+.5"), 0.5L);
    EXPECT_EQ(parse("1.234,5", Comma), 1234.5L);
    EXPECT_EQ(parse("0,813", Comma), 0.813L);
}

TEST(ParseFloatText, GarbageAndOverflowGiveZeroOrRaise)
{
    for (const char *bad : {"abc", "1.2.3", "0x10", "inf", "nan", "1e5000", "--1", "1 2", "e5"})
        EXPECT_FALSE(ESBTryParseFloat(QString::fromLatin1(bad), Point)) << bad;
    EXPECT_EQ(parse("abc"), 0.0L);
    EXPECT_THROW(ParseFloatText("abc", Point, true), EConvertError);
    EXPECT_NO_THROW(ParseFloatText("12.", Point, true));
    // A point is not the decimal separator under a comma locale.
    EXPECT_EQ(parse("1.5", Comma), 15.0L);

    // 10^400 fits the extended range; ten thousand digits do not.
    const long double big = parse(QLatin1Char('1') + QString(400, QLatin1Char('0')));
    EXPECT_TRUE(std::isfinite(big));
    EXPECT_NEAR(double(std::log10(big)), 400.0, 1e-9);
    EXPECT_EQ(parse(QString(10000, QLatin1Char('9'))), 0.0L);
    EXPECT_EQ(parse(QStringLiteral("0.") + QString(10000, QLatin1Char('0')) + "1"), 0.0L);
}

TEST(ParseInt64, WholeTextMustConvert)
{
    const QChar sep = QLatin1Char(',');
    EXPECT_EQ(ESBTryParseInt64(" 1,234 ", sep), 1234);
    EXPECT_EQ(ESBTryParseInt64("+5", sep), 5);
    EXPECT_EQ(ESBTryParseInt64("-9223372036854775808", sep),
              std::numeric_limits<int64_t>::min());
    EXPECT_FALSE(ESBTryParseInt64("9223372036854775808", sep));
    EXPECT_FALSE(ESBTryParseInt64("12a", sep));
    EXPECT_FALSE(ESBTryParseInt64("-", sep));
    EXPECT_FALSE(ESBTryParseInt64("", sep));
    EXPECT_FALSE(ESBTryParseInt64("1.5", sep));
}

TEST(FormatFloat, FixedPlacesAndGrouping)
{
    EXPECT_EQ(ESBFormatFloat(0.81299L, 4, false, Point), "0.8130");
    EXPECT_EQ(ESBFormatFloat(0.65L, 3, false, Point), "0.650");
    EXPECT_EQ(ESBFormatFloat(22.5L, 1, false, Point), "22.5");
    EXPECT_EQ(ESBFormatFloat(2081, 0, true, Point), "2,081");
    EXPECT_EQ(ESBFormatFloat(2081, 0, true, Comma), "2.081");
    EXPECT_EQ(ESBFormatFloat(-1234567.5L, 2, true, Comma), "-1.234.567,50");
    EXPECT_EQ(ESBFormatFloat(0, 4, false, Point), "0.0000");
    EXPECT_EQ(ESBFormatFloat(0, 0, true, Point), "0");
    EXPECT_EQ(ESBFormatFloat(999.5L, 0, true, Point), "1,000");
    EXPECT_EQ(ESBFormatFloat(0.001L, 4, false, Point), "0.0010");
    EXPECT_EQ(ESBFormatFloat(1.0L, 20, false, Point), "1.00000000000000000000");
}

TEST(FormatFloat, RoundingSignAndRange)
{
    // Halves round away from zero on the 18-digit decimal form.
    EXPECT_EQ(ESBFormatFloat(2.5L, 0, false, Point), "3");
    EXPECT_EQ(ESBFormatFloat(-2.5L, 0, false, Point), "-3");
    EXPECT_EQ(ESBFormatFloat(9.9995L, 3, false, Point), "10.000");
    // No "-0.0000".
    EXPECT_EQ(ESBFormatFloat(-0.00001L, 4, false, Point), "0.0000");
    EXPECT_EQ(ESBFormatFloat(-0.0L, 2, false, Point), "0.00");
    EXPECT_EQ(ESBFormatFloat(1e400L, 2, true, Point), "1.00000000000000000E+400");
    EXPECT_EQ(ESBFormatFloat(std::numeric_limits<long double>::infinity(), 2, false, Point), "");
    EXPECT_EQ(ESBFormatFloat(std::numeric_limits<long double>::quiet_NaN(), 2, false, Point), "");
}

TEST(FormatInt64, GroupsTheMinimumValue)
{
    const QChar sep = QLatin1Char(',');
    EXPECT_EQ(ESBFormatInt64(std::numeric_limits<int64_t>::min(), true, sep),
              "-9,223,372,036,854,775,808");
    EXPECT_EQ(ESBFormatInt64(-123, true, sep), "-123");
    EXPECT_EQ(ESBFormatInt64(1234, false, sep), "1234");
    EXPECT_EQ(ESBFormatInt64(0, true, sep), "0");
}

TEST(NumberText, PaddingTrimmingAndRegrouping)
{
    EXPECT_EQ(ESBZeroPad("-12", 5), "-0012");
    EXPECT_EQ(ESBZeroPad("+12", 5), "+0012");
    EXPECT_EQ(ESBZeroPad("12", 5), "00012");
    EXPECT_EQ(ESBZeroPad("", 3), "000");
    EXPECT_EQ(ESBZeroPad("123456", 3), "123456");
    EXPECT_EQ(ESBZeroPad("12", 300).size(), 300);

    EXPECT_EQ(ESBTrimTrailingZeroes("1.5000", '.'), "1.5");
    EXPECT_EQ(ESBTrimTrailingZeroes("2.000", '.'), "2");
    EXPECT_EQ(ESBTrimTrailingZeroes("100", '.'), "100");
    EXPECT_EQ(ESBTrimTrailingZeroes("1,50", ','), "1,5");
    EXPECT_EQ(ESBTrimTrailingZeroes("1.0E+400", '.'), "1.0E+400");

    EXPECT_EQ(ESBRegroupText("1234", Point), "1,234");
    EXPECT_EQ(ESBRegroupText("-1234", Point), "-1,234");
    EXPECT_EQ(ESBRegroupText("1,2345", Point), "12,345");
    EXPECT_EQ(ESBRegroupText("1234567.12345", Point), "1,234,567.12345");
    EXPECT_EQ(ESBRegroupText("1234567,12345", Comma), "1.234.567,12345");
    EXPECT_EQ(ESBRegroupText(",", Point), "");
    EXPECT_EQ(ESBRegroupText("123-4567", Point), "123-4,567"); // a sign breaks a run
}

TEST(NumberText, NullThousandsSeparatorMeansNoGrouping)
{
    const TESBSeparators none{QLatin1Char('.'), QChar()};
    EXPECT_EQ(ESBFormatFloat(1234.5L, 1, true, none), "1234.5");
    EXPECT_EQ(ESBFormatInt64(-1234567, true, QChar()), "-1234567");
    EXPECT_EQ(ESBRegroupText("1234", none), "1234");
}
