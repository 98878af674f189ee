#include "gfx/Numeric.h"

#include <gtest/gtest.h>

#include <limits>

TEST(Round, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(Round(0.5), 0);
    EXPECT_EQ(Round(1.5), 2);
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(-0.5), 0);
    EXPECT_EQ(Round(-1.5), -2);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(2.4999), 2);
    EXPECT_EQ(Round(-2.5001), -3);
}

TEST(Round, KeepsSixtyFourBitsAndNeverOverflows)
{
    EXPECT_EQ(Round(4294967296.4), 4294967296LL);
    EXPECT_EQ(Round(-4294967296.6), -4294967297LL);
    EXPECT_EQ(Round(1e300), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(Round(-1e300), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(Round(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(Div, TruncatesTowardZero)
{
    EXPECT_EQ(Div(7, 2), 3);
    EXPECT_EQ(Div(-7, 2), -3);
    EXPECT_EQ(Div(7, -2), -3);
    EXPECT_EQ(Div(-1, 2), 0);
    EXPECT_EQ(Div(5, 0), 0);
    EXPECT_EQ(Div(std::numeric_limits<int>::min(), -1), std::numeric_limits<int>::min());
}
