#include "analysis/OperatingPoint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

namespace
{

double SpeedAt(TGear gear, double rpm, const TTruck &truck = {})
{
    TDriveModel m = ModelOf(truck);
    m.Gear = gear;
    return m.RpmToSpeed(rpm);
}

struct TFigures {
    double Rpm;
    double Resistance, Force, InputTorque, RadialLoad, COverP, LifeKm;
    bool Holds;
};

class SteadyStateFigures : public ::testing::TestWithParam<TFigures>
{
};

// The start-up truck in fifth gear holding the speed of a whole engine speed
// gives the same figures as the model does at that engine speed.
TEST_P(SteadyStateFigures, MatchTheModelAtThatEngineSpeed)
{
    const TFigures &f = GetParam();
    const TOperatingPoint p = SteadyState(TTruck{}, TGear::Fifth, SpeedAt(TGear::Fifth, f.Rpm));
    EXPECT_EQ(p.EngineRpm, f.Rpm);
    ASSERT_TRUE(p.Resistance && p.ForceAvailable && p.InputTorque);
    EXPECT_NEAR(*p.Resistance, f.Resistance, 5e-5);
    EXPECT_NEAR(*p.ForceAvailable, f.Force, 5e-5);
    EXPECT_NEAR(*p.InputTorque, f.InputTorque, 5e-5);
    ASSERT_TRUE(p.RadialLoad && p.COverP && p.LifeKm);
    EXPECT_NEAR(*p.RadialLoad, f.RadialLoad, 5e-5);
    EXPECT_NEAR(*p.COverP, f.COverP, 5e-6);
    EXPECT_NEAR(*p.LifeKm, f.LifeKm, 0.05);
    EXPECT_EQ(p.Holds, f.Holds);
}

INSTANTIATE_TEST_SUITE_P(Published, SteadyStateFigures,
                         ::testing::Values(TFigures{2000, 127.7698, 254.8418, 50.7166, 285.1082,
                                                    7.29898, 245347.8, true},
                                           TFigures{3000, 231.2320, 231.6174, 91.7847, 515.9760,
                                                    4.03313, 41392.6, true}));

TEST(SteadyState, JustPastTheCrossingTheSpeedCannotBeHeld)
{
    const TOperatingPoint p = SteadyState(TTruck{}, TGear::Fifth, SpeedAt(TGear::Fifth, 3010));
    EXPECT_FALSE(p.Holds);
    EXPECT_TRUE(p.LifeKm); // still computed
}

TEST(SteadyState, EngineSpeedGivesBackTheRoadSpeedExactly)
{
    TTruck odd;
    odd.Inputs.TyreSizeIndex = 7;
    odd.Inputs.FinalDriveIndex = 5;
    odd.Inputs.OverdriveRatio = 0.79;
    // The chain of roundings inside RpmToSpeed skips some doubles (a third of
    // these); where it does, no neighbouring engine speed comes closer.
    int exact = 0;
    for (const TTruck &truck : {TTruck{}, odd})
        for (TGear gear : {TGear::Fifth, TGear::Fourth})
            for (double v = 0.25; v <= 100; v += 0.37) {
                const TOperatingPoint p = SteadyState(truck, gear, v);
                TDriveModel m = ModelOf(truck);
                m.Gear = gear;
                ASSERT_TRUE(p.EngineRpm) << v;
                const double miss = std::fabs(m.RpmToSpeed(*p.EngineRpm) - v);
                exact += miss == 0;
                EXPECT_LE(miss, 4 * (std::nextafter(v, 200.0) - v)) << v;
                double below = *p.EngineRpm;
                double above = *p.EngineRpm;
                for (int i = 0; i < 8; ++i) {
                    below = std::nextafter(below, 0.0);
                    above = std::nextafter(above, 1e9);
                    EXPECT_LE(miss, std::fabs(m.RpmToSpeed(below) - v)) << v;
                    EXPECT_LE(miss, std::fabs(m.RpmToSpeed(above) - v)) << v;
                }
            }
    EXPECT_GT(exact, 600); // of 1080
}

TEST(SteadyState, FourthGearHasNoBearingValues)
{
    const TOperatingPoint p = SteadyState(TTruck{}, TGear::Fourth, 40);
    EXPECT_EQ(p.Gear, TGear::Fourth);
    EXPECT_TRUE(p.InputTorque);
    EXPECT_FALSE(p.RadialLoad);
    EXPECT_FALSE(p.COverP);
    EXPECT_FALSE(p.LifeKm);
    // Direct drive needs more engine speed for the same road speed.
    EXPECT_GT(*p.EngineRpm, *SteadyState(TTruck{}, TGear::Fifth, 40).EngineRpm);
}

TEST(SteadyState, AboveTheRevLimitThereIsNoForceAndNoHold)
{
    const TOperatingPoint p = SteadyState(TTruck{}, TGear::Fifth, SpeedAt(TGear::Fifth, 4010));
    EXPECT_FALSE(p.ForceAvailable);
    EXPECT_FALSE(p.Holds);
    EXPECT_TRUE(p.Resistance);
}

TEST(SteadyState, UsesTheTrucksLoadRating)
{
    TTruck stronger;
    stronger.LoadRating = 2 * DefaultLoadRating;
    const double v = SpeedAt(TGear::Fifth, 2500);
    const TOperatingPoint a = SteadyState(TTruck{}, TGear::Fifth, v);
    const TOperatingPoint b = SteadyState(stronger, TGear::Fifth, v);
    EXPECT_DOUBLE_EQ(*b.COverP, 2 * *a.COverP);
    EXPECT_NEAR(*b.LifeKm / *a.LifeKm, 8, 1e-9);
}

TEST(SteadyState, UndefinedAndNegativeValuesAreAbsent)
{
    TTruck lossless; // a loss of 1 leaves no torque through the driveline
    lossless.Inputs.TransmissionLoss = 1;
    const TOperatingPoint p = SteadyState(lossless, TGear::Fifth, 50);
    EXPECT_FALSE(p.InputTorque);
    EXPECT_FALSE(p.RadialLoad);
    EXPECT_FALSE(p.COverP);
    EXPECT_FALSE(p.LifeKm);

    TTruck pastHalfTurn; // sin(4) < 0: the gradient pushes the truck along
    pastHalfTurn.Inputs.Gradient = 4;
    pastHalfTurn.Inputs.Load = 3000;
    const TOperatingPoint q = SteadyState(pastHalfTurn, TGear::Fifth, 20);
    ASSERT_TRUE(q.Resistance);
    EXPECT_LT(*q.Resistance, 0);
    EXPECT_FALSE(q.InputTorque);
    EXPECT_FALSE(q.RadialLoad);
    EXPECT_FALSE(q.LifeKm);

    TTruck noRating;
    noRating.LoadRating = 0;
    const TOperatingPoint z = SteadyState(noRating, TGear::Fifth, 50);
    EXPECT_EQ(z.COverP, 0.0);
    EXPECT_EQ(z.LifeKm, 0.0);
}

TEST(SteadyState, SegmentOverridesGradientAndLoadOnly)
{
    TTruck truck;
    truck.Inputs.Gradient = 0.02;
    TDutySegment s{100, 45, TGear::Fifth, std::nullopt, std::nullopt};
    const TOperatingPoint plain = SteadyState(truck, s);
    EXPECT_EQ(*plain.Resistance, *SteadyState(truck, TGear::Fifth, 45).Resistance);

    s.Gradient = 0.05;
    s.Load = 1000;
    TTruck same = truck;
    same.Inputs.Gradient = 0.05;
    same.Inputs.Load = 1000;
    EXPECT_EQ(*SteadyState(truck, s).Resistance, *SteadyState(same, TGear::Fifth, 45).Resistance);
    EXPECT_GT(*SteadyState(truck, s).Resistance, *plain.Resistance);
}

TEST(SpeedSweep, SpansTheEngineRangeEvenlyAndEndsAtTheLimit)
{
    const std::vector<TOperatingPoint> points = SpeedSweep(TTruck{}, TGear::Fifth, 400);
    ASSERT_EQ(points.size(), 400u);
    EXPECT_EQ(points.front().SpeedMph, SpeedAt(TGear::Fifth, 10));
    EXPECT_EQ(points.back().SpeedMph, SpeedAt(TGear::Fifth, 4000));
    EXPECT_EQ(points.back().EngineRpm, 4000);
    EXPECT_TRUE(points.back().ForceAvailable);
    for (std::size_t i = 1; i < points.size(); ++i)
        EXPECT_GT(points[i].SpeedMph, points[i - 1].SpeedMph);

    EXPECT_TRUE(SpeedSweep(TTruck{}, TGear::Fifth, 1).empty());
    EXPECT_EQ(SpeedSweep(TTruck{}, TGear::Fourth, 2).size(), 2u);
}

struct THoldCase {
    std::optional<double> Force, Resistance;
    bool Holds;
};

class HoldsSpeedCases : public ::testing::TestWithParam<THoldCase>
{
};

TEST_P(HoldsSpeedCases, NeedsTheForceAtLeastEqualToTheResistance)
{
    EXPECT_EQ(HoldsSpeed(GetParam().Force, GetParam().Resistance), GetParam().Holds);
}

const double JustAbove = std::nextafter(231.5, 1e9);
const std::optional<double> Absent;

INSTANTIATE_TEST_SUITE_P(
    Cases, HoldsSpeedCases,
    ::testing::Values(THoldCase{231.5, 231.5, true}, THoldCase{JustAbove, 231.5, true},
                      THoldCase{231.5, JustAbove, false}, THoldCase{0.0, 0.0, true},
                      THoldCase{0.0, -40.0, true}, THoldCase{Absent, 10.0, false},
                      THoldCase{10.0, Absent, false}, THoldCase{Absent, Absent, false}));

// A segment at `v` whose resistance is exactly `force`, or one without a
// load when none is found: for a few loads, the gradient from the sine's
// estimate and its neighbours an ulp apart (the sum's rounding skips some
// values, so not every load has one).
TDutySegment SegmentMeeting(const TTruck &truck, double v, double force)
{
    const TDriveModel m = ModelOf(truck);
    for (double load = 0; load <= 3000; load += 10) {
        TDutySegment s{100, v, TGear::Fifth, 0.0, load};
        const double g0 =
            std::asin((force - *SteadyState(truck, s).Resistance) / (m.UnladenWeight + load));
        double below = g0;
        double above = g0;
        for (int i = 0; i < 64; ++i) {
            for (const double g : {below, above}) {
                s.Gradient = g;
                if (*SteadyState(truck, s).Resistance == force)
                    return s;
            }
            below = std::nextafter(below, -1.0);
            above = std::nextafter(above, 1.0);
        }
    }
    return {100, v, TGear::Fifth, std::nullopt, std::nullopt};
}

TEST(SteadyState, HoldsWhenTheForceMeetsTheResistanceExactly)
{
    const TTruck truck;
    for (const double rpm : {1500.0, 2000.0, 2500.0}) {
        const double v = SpeedAt(TGear::Fifth, rpm);
        const double force = *SteadyState(truck, TGear::Fifth, v).ForceAvailable;
        TDutySegment s = SegmentMeeting(truck, v, force);
        ASSERT_TRUE(s.Load) << rpm;
        const TOperatingPoint at = SteadyState(truck, s);
        ASSERT_EQ(*at.Resistance, *at.ForceAvailable) << rpm;
        EXPECT_TRUE(at.Holds) << rpm;
        // The next steeper gradient whose resistance is larger cannot be held.
        do
            s.Gradient = std::nextafter(*s.Gradient, 1.0);
        while (*SteadyState(truck, s).Resistance == force);
        EXPECT_FALSE(SteadyState(truck, s).Holds) << rpm;
    }
}

TEST(SteadyState, NoEngineSpeedForTheRoadSpeedLeavesEverythingFromItAbsent)
{
    for (const double ratio : {0.0, 1e305, 1e308}) {
        TTruck truck;
        truck.Inputs.OverdriveRatio = ratio;
        const TOperatingPoint p = SteadyState(truck, TGear::Fifth, 62);
        EXPECT_FALSE(p.EngineRpm) << ratio;
        EXPECT_FALSE(p.ForceAvailable);
        EXPECT_FALSE(p.Holds);
        EXPECT_FALSE(p.InputTorque);
        EXPECT_FALSE(p.RadialLoad);
        EXPECT_FALSE(p.COverP);
        EXPECT_FALSE(p.LifeKm);
        EXPECT_TRUE(p.Resistance); // the road's, whatever the drivetrain
        EXPECT_EQ(p.Cause, TLifeCause::NoEngineSpeed);
        EXPECT_EQ(LifeCauseText(p), "no engine speed gives 62 mph in fifth");
        // Fourth gear does not go through the overdrive.
        const TOperatingPoint fourth = SteadyState(truck, TGear::Fourth, 62);
        EXPECT_TRUE(fourth.EngineRpm);
        EXPECT_EQ(fourth.Cause, TLifeCause::FourthGear);
    }
    // Standing still needs no engine speed but 0.
    EXPECT_EQ(SteadyState(TTruck{}, TGear::Fifth, 0).EngineRpm, 0.0);
}

// engine, final drive, tyre size, gear
using namespace VehicleTables;
using TDriveLine = std::tuple<int, int, int, TGear>;

class SweepTop : public ::testing::TestWithParam<TDriveLine>
{
};

// Where a whole engine speed gives the road speed it is the one taken, so
// the top of a sweep is the rev limit itself, not an ulp above it (which
// would leave the top point without force).
TEST_P(SweepTop, EndsAtTheRevLimitWithForceAvailable)
{
    const auto [engine, axle, tyre, gear] = GetParam();
    TTruck truck;
    truck.Inputs.EngineIndex = engine;
    truck.Inputs.FinalDriveIndex = axle;
    truck.Inputs.TyreSizeIndex = tyre;
    const std::vector<TOperatingPoint> points = SpeedSweep(truck, gear, 3);
    ASSERT_EQ(points.size(), 3u);
    const double limit = Engines()[std::size_t(engine)].MaxPowerRpm;
    EXPECT_EQ(points.back().EngineRpm, limit);
    EXPECT_TRUE(points.back().ForceAvailable);
    EXPECT_EQ(points.front().EngineRpm, TDriveModel::RpmStep);
}

INSTANTIATE_TEST_SUITE_P(EveryCombination, SweepTop,
                         ::testing::Combine(::testing::Range(0, int(EngineCount)),
                                            ::testing::Range(0, int(FinalDriveCount)),
                                            ::testing::Range(0, int(TyreSizeCount)),
                                            ::testing::Values(TGear::Fifth, TGear::Fourth)));

} // namespace
