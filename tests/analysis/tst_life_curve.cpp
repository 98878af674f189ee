#include "analysis/LifeCurve.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

using namespace LifeMap;

TOperatingPoint point(double mph, std::optional<double> lifeKm, bool holds)
{
    TOperatingPoint p;
    p.SpeedMph = mph;
    p.LifeKm = lifeKm;
    p.Holds = holds;
    return p;
}

TEST(LifeMapMath, UnitsFollowTheWindowsConversions)
{
    EXPECT_DOUBLE_EQ(SpeedShown(62.1, true), 62.1);
    EXPECT_DOUBLE_EQ(SpeedShown(62.1, false), 62.1 / 0.621);
    EXPECT_DOUBLE_EQ(SpeedToMph(SpeedShown(47.3, false), false), 47.3);
    EXPECT_DOUBLE_EQ(SpeedToMph(47.3, true), 47.3);
    EXPECT_DOUBLE_EQ(LifeShown(245348, false), 245.348);
    EXPECT_DOUBLE_EQ(LifeShown(245348, true), 245.348 * 0.621);
}

struct RunCase {
    const char *name;
    std::vector<TOperatingPoint> points;
    std::vector<std::pair<bool, int>> runs; // holds, point count
};

class LifeRunsSplit : public ::testing::TestWithParam<RunCase>
{
};

TEST_P(LifeRunsSplit, RunsBreakAtHoldsChangesAndMissingLives)
{
    const RunCase &c = GetParam();
    const auto runs = LifeRuns(c.points, true, false);
    ASSERT_EQ(runs.size(), c.runs.size());
    for (std::size_t i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(runs[i].Holds, c.runs[i].first) << i;
        EXPECT_EQ(int(runs[i].Points.size()), c.runs[i].second) << i;
        for (const auto &p : runs[i].Points)
            EXPECT_EQ(p.Holds, runs[i].Holds);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LifeRunsSplit,
    ::testing::Values(RunCase{"Empty", {}, {}},
                      RunCase{"AllHeld", {point(1, 1e5, true), point(2, 2e5, true)}, {{true, 2}}},
                      RunCase{"NotHeldAtBothEnds",
                              {point(1, 1e5, false), point(2, 2e5, true), point(3, 3e5, true),
                               point(4, 4e5, false)},
                              {{false, 1}, {true, 2}, {false, 1}}},
                      RunCase{
                          "MissingLifeSplitsARun",
                          {point(1, 1e5, true), point(2, std::nullopt, true), point(3, 3e5, true)},
                          {{true, 1}, {true, 1}}},
                      RunCase{"NonPositiveAndInfiniteLivesAreDropped",
                              {point(1, 0.0, true), point(2, -5.0, true), point(3, INFINITY, true),
                               point(4, 4e5, true)},
                              {{true, 1}}},
                      RunCase{"NoLifeAtAll", {point(1, std::nullopt, true)}, {}},
                      RunCase{"SpeedsAChartCannotPlaceSplitARun",
                              {point(1, 1e5, true), point(NAN, 2e5, true), point(3, 3e5, true),
                               point(INFINITY, 4e5, true), point(-INFINITY, 5e5, true)},
                              {{true, 1}, {true, 1}}},
                      RunCase{"LivesThatVanishInThousandsAreDropped",
                              {point(1, 1e-322, true), point(2, 2e5, true)},
                              {{true, 1}}}),
    [](const auto &c) { return std::string(c.param.name); });

TEST(LifeMapMath, RunsCarryShownUnitsAndTheReliabilityFactor)
{
    const auto runs = LifeRuns({point(62.1, 100000, true)}, false, true, 0.25);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_DOUBLE_EQ(runs[0].Points[0].Speed, 100);
    EXPECT_DOUBLE_EQ(runs[0].Points[0].Life, 100 * 0.621 * 0.25);
}

TEST(LifeMapMath, DecadeRangeEnclosesThePositiveValues)
{
    using R = std::pair<double, double>;
    EXPECT_EQ(DecadeRange({}), R(1, 10));
    EXPECT_EQ(DecadeRange({0, -3, NAN, INFINITY}), R(1, 10));
    EXPECT_EQ(DecadeRange({15, 850}), R(10, 1000));
    // An exact decade stays where it is; a single decade still spans one.
    EXPECT_EQ(DecadeRange({100, 1000}), R(100, 1000));
    EXPECT_EQ(DecadeRange({100}), R(100, 1000));
    const auto small = DecadeRange({0.02, 0.5});
    EXPECT_DOUBLE_EQ(small.first, 0.01);
    EXPECT_DOUBLE_EQ(small.second, 1);
}

} // namespace
