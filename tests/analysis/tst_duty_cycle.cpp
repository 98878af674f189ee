#include "analysis/DutyCycle.h"

#include <gtest/gtest.h>

#include <numeric>

namespace
{

TDutySegment Segment(double share, double mph, TGear gear = TGear::Fifth)
{
    return {share, mph, gear, std::nullopt, std::nullopt};
}

TEST(DutyLife, OneSegmentIsThatOperatingPoint)
{
    const TTruck truck;
    const TDutyResult r = DutyLife(truck, {Segment(100, 55)});
    ASSERT_TRUE(r.LifeKm);
    EXPECT_DOUBLE_EQ(*r.LifeKm, *SteadyState(truck, TGear::Fifth, 55).LifeKm);
    EXPECT_EQ(r.DamagePct[0], 100.0);
    EXPECT_EQ(r.ShareSum, 100);
}

TEST(DutyLife, TwoEqualHalvesAreTheSingleSegment)
{
    const TTruck truck;
    const TDutyResult one = DutyLife(truck, {Segment(100, 62)});
    const TDutyResult two = DutyLife(truck, {Segment(50, 62), Segment(50, 62)});
    EXPECT_DOUBLE_EQ(*two.LifeKm, *one.LifeKm);
    EXPECT_DOUBLE_EQ(*two.DamagePct[0], 50);
    EXPECT_DOUBLE_EQ(*two.DamagePct[1], 50);
}

TEST(DutyLife, CombinesByDistanceAfterPalmgrenMiner)
{
    TTruck truck;
    TDutySegment hill = Segment(30, 40);
    hill.Gradient = 0.06;
    hill.Load = 2000;
    const std::vector<TDutySegment> duty{Segment(70, 60), hill};
    const TDutyResult r = DutyLife(truck, duty);
    const double l1 = *r.Points[0].LifeKm;
    const double l2 = *r.Points[1].LifeKm;
    EXPECT_LT(l2, l1);
    EXPECT_NEAR(*r.LifeKm, 1 / (0.7 / l1 + 0.3 / l2), 1e-9 * *r.LifeKm);
    EXPECT_NEAR(*r.DamagePct[0] + *r.DamagePct[1], 100, 1e-9);
    EXPECT_GT(*r.DamagePct[1], *r.DamagePct[0]); // the hill wears the bearing out
}

TEST(DutyLife, FourthGearAddsDistanceButNoDamage)
{
    const TTruck truck;
    const double fifth = *SteadyState(truck, TGear::Fifth, 60).LifeKm;
    const TDutyResult r = DutyLife(truck, {Segment(50, 60), Segment(50, 45, TGear::Fourth)});
    EXPECT_DOUBLE_EQ(*r.LifeKm, 2 * fifth);
    EXPECT_EQ(r.DamagePct[0], 100.0);
    EXPECT_FALSE(r.DamagePct[1]);
}

TEST(DutyLife, AllFourthHasNoLife)
{
    const TDutyResult r =
        DutyLife(TTruck{}, {Segment(40, 30, TGear::Fourth), Segment(60, 50, TGear::Fourth)});
    EXPECT_FALSE(r.LifeKm);
    EXPECT_EQ(r.Points.size(), 2u);
    EXPECT_FALSE(r.DamagePct[0]);
    EXPECT_FALSE(r.DamagePct[1]);
}

TEST(DutyLife, ASegmentThatCannotHoldIsComputedAndFlagged)
{
    TDutySegment steep = Segment(20, 70);
    steep.Gradient = 0.2;
    const TDutyResult r = DutyLife(TTruck{}, {Segment(80, 50), steep});
    EXPECT_TRUE(r.Points[0].Holds);
    EXPECT_FALSE(r.Points[1].Holds);
    EXPECT_TRUE(r.Points[1].LifeKm);
    EXPECT_TRUE(r.DamagePct[1]);
    EXPECT_TRUE(r.LifeKm);
}

TEST(DutyLife, AZeroLifeSegmentTakesAllTheDamage)
{
    TTruck truck;
    truck.LoadRating = 0;
    const TDutyResult r = DutyLife(truck, {Segment(25, 50), Segment(75, 60)});
    EXPECT_EQ(r.LifeKm, 0.0);
    EXPECT_DOUBLE_EQ(*r.DamagePct[0], 25);
    EXPECT_DOUBLE_EQ(*r.DamagePct[1], 75);
}

struct TShareCase {
    std::vector<double> Shares;
    const char *Problem; // "" when the shares are fine
};

class DutyShares : public ::testing::TestWithParam<TShareCase>
{
};

TEST_P(DutyShares, AreCheckedAndTheSumNamed)
{
    std::vector<TDutySegment> duty;
    for (double s : GetParam().Shares)
        duty.push_back(Segment(s, 50));
    EXPECT_EQ(CheckDutyShares(duty), GetParam().Problem);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DutyShares,
    ::testing::Values(
        TShareCase{{100}, ""}, TShareCase{{60, 40}, ""}, TShareCase{{60, 39.99}, ""},
        TShareCase{{60, 40.01}, ""},
        TShareCase{{60, 39.98}, "the shares add up to 99.98 %, not 100 %"},
        TShareCase{{50, 30}, "the shares add up to 80 %, not 100 %"},
        TShareCase{{100, 0}, "segment 2 has a share of 0 %; every share must be above 0"},
        TShareCase{{120, -20}, "segment 2 has a share of -20 %; every share must be above 0"},
        TShareCase{{}, "the duty list is empty"}));

} // namespace
