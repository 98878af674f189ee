// The life map in words, as a screen reader says it.

#include "ui/lifemap/LifeMapText.h"

#include <gtest/gtest.h>

namespace
{

struct SpokenCase {
    double life;
    const char *spoken;
};

class SpokenLifeTest : public ::testing::TestWithParam<SpokenCase>
{
};

TEST_P(SpokenLifeTest, TwoSignificantFiguresAndNoDecimalsFromOneUp)
{
    EXPECT_EQ(SpokenLife(GetParam().life).toStdString(), GetParam().spoken);
}

INSTANTIATE_TEST_SUITE_P(Lives, SpokenLifeTest,
                         ::testing::Values(SpokenCase{3488, "3,500"}, SpokenCase{12345, "12,000"},
                                           SpokenCase{99.7, "100"}, SpokenCase{25.3, "25"},
                                           SpokenCase{10, "10"}, SpokenCase{9.96, "10"},
                                           SpokenCase{5.94, "6"}, SpokenCase{1, "1"},
                                           SpokenCase{0.351, "0.35"}, SpokenCase{0.0349, "0.035"},
                                           SpokenCase{0.5, "0.5"}, SpokenCase{0.999, "1"},
                                           SpokenCase{0, "0"}, SpokenCase{-3, "0"}));

LifeMap::TCurveRun run(bool holds, std::initializer_list<std::pair<double, double>> points)
{
    LifeMap::TCurveRun r;
    r.Holds = holds;
    for (auto [speed, life] : points)
        r.Points.push_back({speed, life, holds});
    return r;
}

TEST(LifeMapDescription, FromTheFirstPointOfTheCurveToItsLastAndWhereTheTruckIs)
{
    // Runs split where the truck stops holding its speed; a run without
    // points (no life) is passed over.
    const std::vector<LifeMap::TCurveRun> runs = {
        run(false, {{0, 3488}, {10, 2400}}), run(true, {}), run(true, {{20, 900}, {70, 26}}),
        run(false, {{80, 14}, {94, 5.94}})};
    EXPECT_EQ(LifeMapDescription(runs, true, true, QPointF(70.83, 25.2)).toStdString(),
              "L10 life from 3,500 thousand miles at 0 mph down to 6 at 94 mph; "
              "now 25 at 70.8 mph");
    EXPECT_EQ(LifeMapDescription(runs, false, false, std::nullopt).toStdString(),
              "L10 life from 3,500 thousand km at 0 km/h down to 6 at 94 km/h");
    // A curve that rises, a curve of one point, no curve at all.
    EXPECT_EQ(LifeMapDescription({run(true, {{30, 5}, {60, 50}})}, true, true, {}).toStdString(),
              "L10 life from 5 thousand miles at 30 mph up to 50 at 60 mph");
    EXPECT_EQ(LifeMapDescription({run(true, {{30, 5}})}, true, true, {}).toStdString(),
              "L10 life from 5 thousand miles at 30 mph");
    EXPECT_EQ(LifeMapDescription({}, true, true, QPointF(1, 1)).toStdString(),
              "No L10 life to show.");
    EXPECT_EQ(LifeMapNowText(QPointF(112.04, 0.5), false).toStdString(),
              "; now 0.5 at 112.0 km/h");
}

} // namespace
