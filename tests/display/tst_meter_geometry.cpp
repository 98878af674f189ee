#include <gtest/gtest.h>

#include "widgets/display/MeterGeometry.h"

#include <cmath>

// ---- dial geometry -------------------------------------------------------------

TEST(MeterGeometry, WindowGaugeHangsFromTopWithWidthLimitedRadius)
{
    const TDialGeometry g = DialGeometry(TMeterLayout::mlCirc270, 153, 137, 8, 10, 10);
    EXPECT_EQ(g.cx, 76);
    EXPECT_DOUBLE_EQ(g.R, 58.0); // the height limit, about 60.34, is larger
    EXPECT_EQ(g.cy, 74);
    EXPECT_DOUBLE_EQ(g.startAngle(), 225.0);
    EXPECT_DOUBLE_EQ(g.endAngle(), -45.0);
}

TEST(MeterGeometry, EveryLayoutPlacesItsPivotAndRadius)
{
    struct Row
    {
        TMeterLayout layout;
        double sweep;
        double R;
        int cy;
    };
    // 297 x 209 with the default rims: height room 175, half width 148.
    const Row rows[] = {
        {TMeterLayout::mlCirc90, 90, 175, 191},          // (148.5-18)*1.414 = 184.5 > 175
        {TMeterLayout::mlCirc120, 120, (148.5 - 18) * 1.1547, 191},
        {TMeterLayout::mlCirc180, 180, 130, 191},
        {TMeterLayout::mlCirc270, 270, 175 / 1.7071, 119}, // 16 + 102.51 -> 119
        {TMeterLayout::mlCirc300, 300, 175 / 1.866, 110},  // 16 + 93.78 -> 110
        {TMeterLayout::mlCirc360, 360, 87.5, 104},         // 16 + 87.5 -> 104 (tie to even)
    };
    for (const Row &r : rows) {
        const TDialGeometry g = DialGeometry(r.layout, 297, 209, 8, 10, 10);
        SCOPED_TRACE(int(r.layout));
        EXPECT_EQ(g.cx, 148);
        EXPECT_DOUBLE_EQ(g.sweep, r.sweep);
        EXPECT_NEAR(g.R, r.R, 1e-9);
        EXPECT_EQ(g.cy, r.cy);
    }
}

TEST(MeterGeometry, TooSmallForItsRimsHasNoRadius)
{
    EXPECT_LE(DialGeometry(TMeterLayout::mlCirc270, 30, 137, 8, 10, 10).R, 0);
    EXPECT_LE(DialGeometry(TMeterLayout::mlCirc90, 153, 30, 8, 10, 10).R, 0);
}

// ---- value to angle --------------------------------------------------------------

TEST(MeterGeometry, ValuesTurnClockwiseFromTheStartAngle)
{
    EXPECT_DOUBLE_EQ(ValueToAngle(270, 0, 100, 0), 225);
    EXPECT_DOUBLE_EQ(ValueToAngle(270, 0, 100, 50), 90);
    EXPECT_DOUBLE_EQ(ValueToAngle(270, 0, 100, 100), -45);
    EXPECT_DOUBLE_EQ(ValueToAngle(90, -10, 10, 0), 90);
    EXPECT_DOUBLE_EQ(ValueToAngle(360, 0, 1, 1), -90);
}

TEST(MeterGeometry, DegenerateRangeKeepsEveryValueAtTheStart)
{
    EXPECT_DOUBLE_EQ(ValueToAngle(270, 5, 5, 7), 225);
    EXPECT_DOUBLE_EQ(ValueToAngle(270, 5, 1, 3), 225);
    EXPECT_DOUBLE_EQ(ValueToAngle(270, 0, 1, std::nan("")), 225);
}

TEST(MeterGeometry, PolarPointsRoundWholeCoordinateRadialPointsOnlyTheOffset)
{
    // 0.5 offsets expose the difference: Round(10.5) = 10 but 10 + Round(0.5) = 10,
    // Round(11.5) = 12 but 11 + Round(0.5) = 11.
    EXPECT_EQ(PolarPoint(11, 0, 0.5, 0), QPoint(12, 0));
    EXPECT_EQ(RadialPoint(11, 0, 0.5, 0), QPoint(11, 0));
    EXPECT_EQ(PolarPoint(76, 74, 58, 90), QPoint(76, 16));
    EXPECT_EQ(PolarPoint(76, 74, 58, 225), QPoint(35, 115));
}

// ---- scale steps ---------------------------------------------------------------

TEST(MeterScale, OneTwoFiveSteps)
{
    struct Row
    {
        int n;
        double min, max;
        double first, step;
        int subdivisions;
    };
    const Row rows[] = {
        {3, 0, 100, 0, 20, 4},
        {3, 0, 5000, 0, 1000, 5},
        {3, 0, 1, 0, 0.2, 4},
        {21, 0, 100, 0, 2, 4},
        {3, -7, 7, -6, 2, 4}, // the first multiple of the step not below the minimum
        {3, 13, 113, 20, 20, 4},
        {10, 0, 0.001, 0, 0.0001, 5},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << r.min << ".." << r.max << "/" << r.n);
        const TScaleSteps s = ComputeScale(r.n, r.min, r.max);
        EXPECT_NEAR(s.first, r.first, 1e-9 * std::fabs(r.step));
        EXPECT_NEAR(s.step, r.step, 1e-9 * std::fabs(r.step));
        EXPECT_EQ(s.subdivisions, r.subdivisions);
    }
}

TEST(MeterScale, EqualBoundsGiveNoStepAndReversedANegativeOne)
{
    const TScaleSteps equal = ComputeScale(3, 4, 4);
    EXPECT_EQ(equal.first, 4);
    EXPECT_EQ(equal.step, 0);
    EXPECT_EQ(equal.subdivisions, 1);
    EXPECT_LT(ComputeScale(3, 100, 0).step, 0);
}

TEST(MeterScale, TickValuesOfTheWindowGauges)
{
    const TScaleSteps mph = ComputeScale(3, 0, 100);
    const auto majors = MajorTickValues(mph, 0, 100);
    ASSERT_EQ(majors.size(), 6u);
    for (size_t i = 0; i < majors.size(); ++i)
        EXPECT_NEAR(majors[i], 20.0 * i, 1e-9);
    const auto minors = MinorTickValues(mph, 0, 100);
    ASSERT_EQ(minors.size(), 15u); // three between each pair of majors
    EXPECT_NEAR(minors.front(), 5, 1e-9);
    EXPECT_NEAR(minors.back(), 95, 1e-9);

    const TScaleSteps rpm = ComputeScale(3, 0, 5000);
    EXPECT_EQ(MajorTickValues(rpm, 0, 5000).size(), 6u);
    const auto rpmMinors = MinorTickValues(rpm, 0, 5000);
    ASSERT_EQ(rpmMinors.size(), 20u);
    EXPECT_NEAR(rpmMinors[0], 200, 1e-9);
    EXPECT_NEAR(rpmMinors[4], 1200, 1e-9);

    EXPECT_EQ(MajorTickValues(ComputeScale(21, 0, 100), 0, 100).size(), 51u);
}

TEST(MeterScale, MinorTicksStartAtTheMinimumWhenItIsBetweenMajors)
{
    // 13..113: majors from 20; minors 15 below the first major, none below 13.
    const TScaleSteps s = ComputeScale(3, 13, 113);
    const auto minors = MinorTickValues(s, 13, 113);
    ASSERT_FALSE(minors.empty());
    EXPECT_NEAR(minors.front(), 15, 1e-9);
    EXPECT_NEAR(minors.back(), 110, 1e-9);
    EXPECT_NEAR(MajorTickValues(s, 13, 113).back(), 100, 1e-9);
}

TEST(MeterScale, UnendingStepsGiveNoTicks)
{
    // A zero or negative step would never reach the maximum.
    for (const auto &[lo, hi] : {std::pair{5.0, 5.0}, {100.0, 0.0}, {0.0, INFINITY}}) {
        const TScaleSteps s = ComputeScale(3, lo, hi);
        EXPECT_TRUE(MajorTickValues(s, lo, hi).empty());
        EXPECT_TRUE(MinorTickValues(s, lo, hi).empty());
    }
}

TEST(MeterScale, LabelsAreFixedPointWithThePoint)
{
    EXPECT_EQ(FormatTickLabel(100, 0), "100");
    EXPECT_EQ(FormatTickLabel(0.2, 1), "0.2");
    EXPECT_EQ(FormatTickLabel(0.6000000000000001, 1), "0.6");
    EXPECT_EQ(FormatTickLabel(1234567, 2), "1234567.00");
    EXPECT_EQ(FormatTickLabel(-2.5, 1), "-2.5");
    EXPECT_EQ(FormatTickLabel(1.25, 4), "1.2500");
    // A tick computed a hair below zero is still labelled 0.
    EXPECT_EQ(FormatTickLabel(-1e-17, 1), "0.0");
    EXPECT_EQ(FormatTickLabel(-0.0, 0), "0");
}

// ---- coloured band ---------------------------------------------------------------

TEST(MeterBand, ThresholdsAtTheRangeEndsLeaveOutThatSide)
{
    const TDialGeometry g = DialGeometry(TMeterLayout::mlCirc270, 153, 137, 8, 10, 10);
    auto zones = [&](double lo, double hi) {
        std::vector<int> z;
        for (const TBandSegment &s : BandSegments(g, 0, 100, lo, hi))
            z.push_back(s.zone);
        return z;
    };
    EXPECT_EQ(zones(20, 80), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(zones(0, 80), (std::vector<int>{1, 2}));
    EXPECT_EQ(zones(20, 100), (std::vector<int>{0, 1}));
    EXPECT_EQ(zones(0, 100), (std::vector<int>{1}));
    EXPECT_EQ(zones(50, 50), (std::vector<int>{0, 2}));

    const auto segs = BandSegments(g, 0, 100, 20, 80);
    EXPECT_DOUBLE_EQ(segs[0].from, ValueToAngle(270, 0, 100, 20));
    EXPECT_DOUBLE_EQ(segs[0].to, 225);
    EXPECT_DOUBLE_EQ(segs[2].from, -45);
    EXPECT_DOUBLE_EQ(segs[2].to, ValueToAngle(270, 0, 100, 80));
}

// ---- needle ----------------------------------------------------------------------

TEST(MeterNeedleShape, WindowNeedleIsASpearheadOnAHairline)
{
    const TNeedleShape shape{5, 30, 20, 0, 100};
    const auto p = NeedlePolygon(76, 74, 54, 90, shape); // pointing straight up
    EXPECT_EQ(p[1], QPoint(76, 20));                      // tip
    EXPECT_EQ(p[0], QPoint(77, 25));                      // barbs 5 px back at +-15 deg
    EXPECT_EQ(p[2], QPoint(75, 25));
    EXPECT_EQ(p[3], QPoint(76, 40)); // joint 20 px behind the tip
    EXPECT_EQ(p[6], QPoint(76, 40));
    EXPECT_EQ(p[4], QPoint(76, 74)); // zero thickness: both base points on the pivot
    EXPECT_EQ(p[5], QPoint(76, 74));
}

TEST(MeterNeedleShape, ThickShaftSpreadsTheBaseAcrossTheNeedle)
{
    const TNeedleShape shape{20, 30, 20, 6, 100};
    const auto p = NeedlePolygon(100, 100, 50, 0, shape); // pointing right
    EXPECT_EQ(p[1], QPoint(150, 100));
    EXPECT_EQ(p[4], QPoint(100, 97));
    EXPECT_EQ(p[5], QPoint(100, 103));
    EXPECT_EQ(p[3], QPoint(130, 97));
    EXPECT_EQ(p[6], QPoint(130, 103));
}

TEST(MeterNeedleShape, ZeroLengthPutsTheTipOnThePivot)
{
    const TNeedleShape shape{5, 30, 20, 0, 0};
    const auto p = NeedlePolygon(76, 74, 54, 90, shape);
    EXPECT_EQ(p[1], QPoint(76, 74));
    // Barbs and joint are still placed back from the tip, below the pivot.
    EXPECT_EQ(p[3], QPoint(76, 94));
    EXPECT_EQ(p[0], QPoint(77, 79));
}

// Where the minimum falls among the minor ticks: a minor tick exactly at the
// minimum is drawn, one just below it is not.
struct MinorRow {
    const char *Name;
    int Wanted;
    double Min, Max;
    std::size_t Count;
    double Front, Back;
};

void PrintTo(const MinorRow &r, std::ostream *os)
{
    *os << r.Name;
}

class MinorTickEnds : public testing::TestWithParam<MinorRow>
{
};

TEST_P(MinorTickEnds, FirstAndLastMinorTick)
{
    const MinorRow &r = GetParam();
    const TScaleSteps s = ComputeScale(r.Wanted, r.Min, r.Max);
    const auto minors = MinorTickValues(s, r.Min, r.Max);
    ASSERT_EQ(minors.size(), r.Count);
    EXPECT_NEAR(minors.front(), r.Front, 1e-9);
    EXPECT_NEAR(minors.back(), r.Back, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, MinorTickEnds,
    testing::Values(MinorRow{"MinimumOnAMajorTick", 4, 0, 10, 15, 0.5, 9.5},
                    MinorRow{"MinimumExactlyOnAMinorTick", 5, 0.5, 12.5, 19, 0.5, 12.5},
                    MinorRow{"MinimumJustAboveAMinorTick", 5, 0.5000001, 12.5, 18, 1, 12.5},
                    MinorRow{"MaximumBetweenMinorTicks", 5, 0.5, 12.4, 18, 0.5, 11.5}),
    [](const testing::TestParamInfo<MinorRow> &i) { return std::string(i.param.Name); });

// Half the shaft thickness spreads the base either side of the pivot; odd
// thicknesses leave a half pixel, which rounds to the even neighbour.
struct ThicknessRow {
    const char *Name;
    int Thickness;
    int BaseTop, BaseBottom;
};

void PrintTo(const ThicknessRow &r, std::ostream *os)
{
    *os << r.Name;
}

class NeedleThickness : public testing::TestWithParam<ThicknessRow>
{
};

TEST_P(NeedleThickness, BaseAndJointAcrossAHorizontalNeedle)
{
    const ThicknessRow &r = GetParam();
    const TNeedleShape shape{20, 30, 20, r.Thickness, 100};
    const auto p = NeedlePolygon(100, 100, 50, 0, shape); // pointing right
    EXPECT_EQ(p[4], QPoint(100, r.BaseTop));
    EXPECT_EQ(p[5], QPoint(100, r.BaseBottom));
    EXPECT_EQ(p[3], QPoint(130, r.BaseTop));
    EXPECT_EQ(p[6], QPoint(130, r.BaseBottom));
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, NeedleThickness,
    testing::Values(ThicknessRow{"Zero", 0, 100, 100}, ThicknessRow{"One", 1, 100, 100},
                    ThicknessRow{"Two", 2, 99, 101}, ThicknessRow{"Three", 3, 98, 102},
                    ThicknessRow{"Six", 6, 97, 103}, ThicknessRow{"Seven", 7, 96, 104}),
    [](const testing::TestParamInfo<ThicknessRow> &i) { return std::string(i.param.Name); });
