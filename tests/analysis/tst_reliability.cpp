#include "analysis/InputRanges.h"
#include "analysis/Reliability.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{

struct TFactorCase {
    double Percent;
    double Factor;
    double Tolerance;
};

class ReliabilityFactorTest : public ::testing::TestWithParam<TFactorCase>
{
};

TEST_P(ReliabilityFactorTest, MatchesTheTabulatedFactor)
{
    const TFactorCase &c = GetParam();
    EXPECT_NEAR(ReliabilityFactor(c.Percent), c.Factor, c.Tolerance) << c.Percent;
}

// 90 % is the basic rating itself; the others are the standard's tabulated
// values (0.64, 0.25, 0.077) to the digits it gives.
INSTANTIATE_TEST_SUITE_P(Levels, ReliabilityFactorTest,
                         ::testing::Values(TFactorCase{90, 1, 0}, TFactorCase{95, 0.64, 0.005},
                                           TFactorCase{99, 0.25, 0.005},
                                           TFactorCase{99.95, 0.077, 0.0005}));

TEST(ReliabilityFactor, FallsAsTheReliabilityRises)
{
    double last = 2;
    for (double r = MinReliability; r <= MaxReliability; r += 0.05) {
        const double a1 = ReliabilityFactor(r);
        EXPECT_LT(a1, last) << r;
        EXPECT_GT(a1, 0.05) << r;
        last = a1;
    }
}

TEST(ReliabilityFactor, RangeIsInclusiveAndRefusesNaN)
{
    EXPECT_TRUE(IsReliabilityInRange(90));
    EXPECT_TRUE(IsReliabilityInRange(99.95));
    EXPECT_FALSE(IsReliabilityInRange(std::nextafter(90.0, 0.0)));
    EXPECT_FALSE(IsReliabilityInRange(std::nextafter(99.95, 100.0)));
    EXPECT_FALSE(IsReliabilityInRange(std::numeric_limits<double>::quiet_NaN()));
}

TEST(InputRanges, BoundsAreInclusiveExceptWhereMarked)
{
    const TInputRange &load = *FindInputRange("load");
    EXPECT_TRUE(load.Contains(0));
    EXPECT_TRUE(load.Contains(3000));
    EXPECT_FALSE(load.Contains(std::nextafter(3000.0, 4000.0)));
    EXPECT_FALSE(load.Contains(-0.5));

    const TInputRange &share = *FindInputRange("share_pct");
    EXPECT_FALSE(share.Contains(0));
    EXPECT_TRUE(share.Contains(100));

    const TInputRange &rolling = *FindInputRange("rolling_resistance");
    EXPECT_TRUE(rolling.Contains(2147483647));
    EXPECT_FALSE(rolling.Contains(2147483648.0)); // would read back negative
    EXPECT_FALSE(rolling.Contains(45.5));

    for (const TInputRange &r : InputRanges()) {
        EXPECT_FALSE(r.Contains(std::numeric_limits<double>::infinity())) << r.Key;
        EXPECT_FALSE(r.Contains(std::numeric_limits<double>::quiet_NaN())) << r.Key;
        EXPECT_FALSE(r.Text.empty()) << r.Key;
        EXPECT_EQ(FindInputRange(r.Key), &r);
    }
    EXPECT_EQ(FindInputRange("engine"), nullptr);
}

} // namespace
