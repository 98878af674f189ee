#include "analysis/OperatingPoint.h"

#include <gtest/gtest.h>

#include <cmath>

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
                const double miss = std::fabs(m.RpmToSpeed(p.EngineRpm) - v);
                exact += miss == 0;
                EXPECT_LE(miss, 4 * (std::nextafter(v, 200.0) - v)) << v;
                double below = p.EngineRpm;
                double above = p.EngineRpm;
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
    EXPECT_GT(p.EngineRpm, SteadyState(TTruck{}, TGear::Fifth, 40).EngineRpm);
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

} // namespace
