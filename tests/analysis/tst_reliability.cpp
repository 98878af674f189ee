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

} // namespace
