#include "analysis/DutyCycle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
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

TEST(DutyLife, ADownhillSegmentCoastsAddingDistanceWithoutDamage)
{
    // sin(4) < 0: a steep downhill; the engine drives nothing.
    const TTruck truck;
    TDutySegment down = Segment(50, 50);
    down.Gradient = 4;
    const TDutyResult r = DutyLife(truck, {Segment(50, 50), down});
    EXPECT_EQ(r.Points[1].Cause, TLifeCause::Coasting);
    EXPECT_FALSE(r.Points[1].LifeKm);
    EXPECT_TRUE(r.Unrated.empty());
    ASSERT_TRUE(r.LifeKm);
    EXPECT_DOUBLE_EQ(*r.LifeKm, 2 * *SteadyState(truck, TGear::Fifth, 50).LifeKm);
    EXPECT_EQ(r.DamagePct[0], 100.0);
    EXPECT_FALSE(r.DamagePct[1]);
    EXPECT_NE(LifeCauseText(r.Points[1]).find("coasting"), std::string::npos);

    // A gentle recorded downhill coasts too, in either gear.
    for (TGear gear : {TGear::Fifth, TGear::Fourth}) {
        TDutySegment gentle = Segment(30, 45, gear);
        gentle.Gradient = -0.05;
        const TDutyResult g = DutyLife(truck, {Segment(70, 60), gentle});
        EXPECT_EQ(g.Points[1].Cause, TLifeCause::Coasting);
        EXPECT_LT(*g.Points[1].Resistance, 0);
        EXPECT_DOUBLE_EQ(*g.LifeKm, *SteadyState(truck, TGear::Fifth, 60).LifeKm / 0.7);
    }
}

// A truck or segment that leaves the first (fifth-gear) segment's life
// unrated; the second segment is in fourth and adds no damage of its own.
struct TUnratedCase {
    const char *Name;
    void (*Change)(TTruck &, TDutySegment &);
    TLifeCause Cause;
    const char *Text;
    bool HasEngineSpeed;
};

void PrintTo(const TUnratedCase &c, std::ostream *os)
{
    *os << c.Name;
}

class UnratedLife : public ::testing::TestWithParam<TUnratedCase>
{
};

TEST_P(UnratedLife, LeavesTheCombinedLifeAbsentAndSaysWhy)
{
    const TUnratedCase &c = GetParam();
    TTruck truck;
    TDutySegment subject = Segment(50, 62);
    c.Change(truck, subject);
    const TDutyResult r = DutyLife(truck, {subject, Segment(50, 40, TGear::Fourth)});
    const TOperatingPoint &p = r.Points[0];
    EXPECT_EQ(p.Cause, c.Cause);
    EXPECT_TRUE(LeavesLifeUnrated(p.Cause));
    EXPECT_FALSE(p.LifeKm);
    EXPECT_EQ(LifeCauseText(p), c.Text);
    EXPECT_EQ(p.EngineRpm.has_value(), c.HasEngineSpeed);
    if (!c.HasEngineSpeed) {
        EXPECT_FALSE(p.ForceAvailable);
        EXPECT_FALSE(p.InputTorque);
        EXPECT_FALSE(p.RadialLoad);
        EXPECT_FALSE(p.Holds);
    }
    EXPECT_FALSE(r.LifeKm);
    EXPECT_EQ(r.Unrated, std::vector<std::size_t>{0});
    EXPECT_FALSE(r.DamagePct[0]);
    EXPECT_FALSE(r.DamagePct[1]);
    EXPECT_EQ(r.Points[1].Cause, TLifeCause::FourthGear);
    // Nothing the result holds is NaN or infinite.
    for (const TOperatingPoint &q : r.Points)
        for (const std::optional<double> &v : {q.EngineRpm, q.Resistance, q.ForceAvailable,
                                               q.InputTorque, q.RadialLoad, q.COverP, q.LifeKm})
            EXPECT_TRUE(!v || std::isfinite(*v));
}

constexpr double Inf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Causes, UnratedLife,
    ::testing::Values(
        TUnratedCase{"HugeOverdrive",
                     [](TTruck &tr, TDutySegment &) { tr.Inputs.OverdriveRatio = 1e308; },
                     TLifeCause::NoEngineSpeed, "no engine speed gives 62 mph in fifth", false},
        TUnratedCase{"ZeroOverdrive",
                     [](TTruck &tr, TDutySegment &) { tr.Inputs.OverdriveRatio = 0; },
                     TLifeCause::NoEngineSpeed, "no engine speed gives 62 mph in fifth", false},
        TUnratedCase{"OverdriveBeyondTheRange",
                     [](TTruck &tr, TDutySegment &seg) {
                         tr.Inputs.OverdriveRatio = 1e305; // the engine speed would overflow
                         seg.SpeedMph = 62.5;
                     },
                     TLifeCause::NoEngineSpeed, "no engine speed gives 62.5 mph in fifth", false},
        TUnratedCase{"NoLossLeft",
                     [](TTruck &tr, TDutySegment &) { tr.Inputs.TransmissionLoss = 1; },
                     TLifeCause::UndefinedBearingLoad, "the bearing load is undefined", true},
        TUnratedCase{"LossBeyondAll",
                     [](TTruck &tr, TDutySegment &) { tr.Inputs.TransmissionLoss = 1.5; },
                     TLifeCause::UndefinedBearingLoad, "the bearing load is undefined", true},
        TUnratedCase{"RightHelix", [](TTruck &tr, TDutySegment &) { tr.Inputs.HelixAngle = 90; },
                     TLifeCause::UndefinedBearingLoad, "the bearing load is undefined", true},
        TUnratedCase{"NoPitchRadius",
                     [](TTruck &tr, TDutySegment &) { tr.Inputs.PitchCircleRadius = 0; },
                     TLifeCause::UndefinedBearingLoad, "the bearing load is undefined", true},
        TUnratedCase{"NoPressureAngle",
                     [](TTruck &tr, TDutySegment &) { tr.Inputs.PressureAngle = 0; },
                     TLifeCause::UndefinedLife,
                     "the bearing carries no load, so its life has no bound", true},
        TUnratedCase{"LifeBeyondAnyNumber",
                     [](TTruck &tr, TDutySegment &) { tr.Inputs.OverdriveRatio = 1e300; },
                     TLifeCause::UndefinedLife, "the bearing life is not a finite number", true},
        TUnratedCase{"InfiniteDrag",
                     [](TTruck &tr, TDutySegment &) {
                         tr.Inputs.FrontalArea = 1e308;
                         tr.Inputs.DragCoef = 1e308;
                     },
                     TLifeCause::UndefinedResistance, "the resistance is undefined", true},
        TUnratedCase{"NanLoad",
                     [](TTruck &, TDutySegment &seg) {
                         seg.Load = std::numeric_limits<double>::quiet_NaN();
                     },
                     TLifeCause::UndefinedResistance, "the resistance is undefined", true},
        TUnratedCase{"InfiniteLoad", [](TTruck &, TDutySegment &seg) { seg.Load = Inf; },
                     TLifeCause::UndefinedResistance, "the resistance is undefined", true}),
    [](const ::testing::TestParamInfo<TUnratedCase> &c) { return std::string(c.param.Name); });

TEST(DutyLife, EveryUnratedSegmentIsListedAndARatedOneStillComputed)
{
    TDutySegment nan = Segment(20, 50);
    nan.Load = std::numeric_limits<double>::quiet_NaN();
    const TDutyResult r = DutyLife(
        TTruck{}, {nan, Segment(30, 60), Segment(10, 40, TGear::Fourth), nan, Segment(40, 55)});
    EXPECT_EQ(r.Unrated, (std::vector<std::size_t>{0, 3}));
    EXPECT_TRUE(r.Points[1].LifeKm);
    EXPECT_FALSE(r.LifeKm);
    for (const std::optional<double> &d : r.DamagePct)
        EXPECT_FALSE(d);
}

struct TCombineCase {
    std::vector<double> Shares;
    std::vector<std::optional<double>> Lives;
    std::optional<double> Life;
    std::vector<std::optional<double>> Damage;
};

class CombinedLives : public ::testing::TestWithParam<TCombineCase>
{
};

TEST_P(CombinedLives, FollowPalmgrenMinerByDistance)
{
    const TCombineCase &c = GetParam();
    const TCombinedLife r = CombineLives(c.Shares, c.Lives);
    ASSERT_EQ(r.LifeKm.has_value(), c.Life.has_value());
    if (c.Life) {
        EXPECT_NEAR(*r.LifeKm, *c.Life, 1e-9 * *c.Life);
    }
    ASSERT_EQ(r.DamagePct.size(), c.Damage.size());
    for (std::size_t i = 0; i < c.Damage.size(); ++i) {
        ASSERT_EQ(r.DamagePct[i].has_value(), c.Damage[i].has_value()) << i;
        if (c.Damage[i]) {
            EXPECT_NEAR(*r.DamagePct[i], *c.Damage[i], 1e-9) << i;
        }
    }
}

const std::optional<double> None;

INSTANTIATE_TEST_SUITE_P(
    Cases, CombinedLives,
    ::testing::Values(
        // 0.4/1000 + 0.6/3000 = 0.0006 per km: two thirds of it from the first.
        TCombineCase{{40, 60}, {1000.0, 3000.0}, 1 / 0.0006, {200.0 / 3, 100.0 / 3}},
        TCombineCase{{50, 50}, {1000.0, None}, 2000.0, {100.0, None}},
        // A zero life fails at once: it takes all the damage, the others 0 %.
        TCombineCase{{25, 75}, {0.0, 1000.0}, 0.0, {100.0, 0.0}},
        TCombineCase{{75, 25}, {1e-300, 0.0}, 0.0, {0.0, 100.0}},
        TCombineCase{{20, 30, 50}, {0.0, 0.0, 500.0}, 0.0, {40.0, 60.0, 0.0}},
        TCombineCase{{10, 50, 40}, {0.0, None, 800.0}, 0.0, {100.0, None, 0.0}},
        TCombineCase{{100}, {None}, None, {None}}, TCombineCase{{}, {}, None, {}}));

} // namespace
