#include "model/DisplayValues.h"
#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{

const std::vector<std::string> FifthGearRefresh{
    "Speed",      "Power",   "Torque", "Resistance",  "ForceAvailable",
    "LoadRating", "Bearing", "Rpm",    "TorqueUnused"};

int Refreshes(const TRecordingOwner &o)
{
    return static_cast<int>(std::count(o.Calls.begin(), o.Calls.end(), "Speed"));
}

void Steps(TDriveModel &m, int n)
{
    for (int i = 0; i < n; ++i)
        m.SimulationStep();
}

// From start-up: one step (down to 0 rpm), then boost with the pedal at `pedal`
// until the climb ends.
TDriveModel Cruising(IDriveModelOwner *owner, double pedal)
{
    TDriveModel m = StartedModel(owner);
    m.SimulationStep();
    m.TargetSpeed = pedal;
    m.BoostFlag = true;
    Steps(m, 1000);
    return m;
}

} // namespace

TEST(Refresh, PublishesInOrderAndReadsTheRatingOnlyInFifth)
{
    TRecordingOwner owner;
    owner.Rating = 4162; // twice the default: C/P doubles
    TDriveModel m = StartedModel(&owner);
    m.EngineRpm = 2000;
    m.Refresh();
    EXPECT_EQ(owner.Calls, FifthGearRefresh);
    EXPECT_NEAR(m.COverP, 2 * 7.29898, 1e-4);

    owner.Calls.clear();
    m.Gear = TGear::Fourth;
    m.Refresh();
    std::vector<std::string> fourth = FifthGearRefresh;
    fourth.erase(std::find(fourth.begin(), fourth.end(), "LoadRating"));
    EXPECT_EQ(owner.Calls, fourth);
}

TEST(Refresh, AModelWithoutOwnerComputesTheLifeWithTheDefaultRating)
{
    TDriveModel m = StartedModel();
    m.EngineRpm = 2000;
    m.Refresh();
    EXPECT_NEAR(m.COverP, 7.29898, 1e-5);
    EXPECT_NEAR(m.LifeKm, 245347.8, 0.05);
}

TEST(SimulationStep, FromStartUpTheTruckCannotMoveWithoutBoost)
{
    TRecordingOwner owner;
    TDriveModel m = StartedModel(&owner);
    m.SimulationStep();
    EXPECT_EQ(Refreshes(owner), 1);
    EXPECT_NEAR(m.ForceAvailable, 0.000252, 5e-7);
    EXPECT_EQ(m.EngineRpm, 0);
    EXPECT_TRUE(m.RecalcFlag);

    m.TargetSpeed = 60; // the pedal alone does not start it
    Steps(m, 50);
    EXPECT_EQ(m.EngineRpm, 0);
    EXPECT_TRUE(m.RecalcFlag);
    EXPECT_EQ(Refreshes(owner), 51);
    EXPECT_FALSE(Shown::SpeedHeld(m));
}

TEST(SimulationStep, BoostFromRestEndsAbove1000Rpm)
{
    TRecordingOwner owner;
    TDriveModel m = StartedModel(&owner);
    m.SimulationStep(); // down to 0
    m.TargetSpeed = 100;
    m.BoostFlag = true;
    for (int rpm = 10; rpm <= 1000; rpm += 10) {
        m.SimulationStep();
        ASSERT_EQ(m.EngineRpm, rpm);
        ASSERT_TRUE(m.BoostFlag);
    }
    owner.Calls.clear();
    m.SimulationStep(); // 1000 -> 1010 switches the button off
    EXPECT_EQ(m.EngineRpm, 1010);
    EXPECT_FALSE(m.BoostFlag);
    EXPECT_EQ(std::count(owner.Calls.begin(), owner.Calls.end(), "SwitchBoostOff"), 1);
    EXPECT_EQ(owner.Calls.front(), "SwitchBoostOff");
    EXPECT_TRUE(m.RecalcFlag) << "boost neither tests nor clears the flag";
    EXPECT_NEAR(m.ForceAvailable, 88.66, 0.005);
    EXPECT_NEAR(m.Resistance, 66.11, 0.005);
    EXPECT_NEAR(m.RoadSpeed, 23.74, 0.005);

    m.SimulationStep();
    EXPECT_EQ(m.EngineRpm, 1020);
    EXPECT_FALSE(m.RecalcFlag);
}

TEST(SimulationStep, BoostAbove1000RpmGivesExactlyOneStep)
{
    TRecordingOwner owner;
    TDriveModel m = StartedModel(&owner);
    m.EngineRpm = 2000;
    m.TargetSpeed = 0; // boost ignores the target
    m.BoostFlag = true;
    m.SimulationStep();
    EXPECT_EQ(m.EngineRpm, 2010);
    EXPECT_FALSE(m.BoostFlag);
    EXPECT_EQ(Refreshes(owner), 1);
}

TEST(SimulationStep, FullPedalClimbsToTheTopSpeedAndStaysThere)
{
    TRecordingOwner owner;
    TDriveModel m = StartedModel(&owner);
    m.TargetSpeed = 100;
    m.BoostFlag = true;
    double last = m.EngineRpm;
    for (int i = 0; i < 2000; ++i) {
        m.SimulationStep();
        ASSERT_LE(std::abs(m.EngineRpm - last), 10);
        last = m.EngineRpm;
    }
    EXPECT_EQ(m.EngineRpm, 3010);
    EXPECT_NEAR(m.RoadSpeed, 70.7627, 5e-5);
    EXPECT_FALSE(Shown::SpeedHeld(m)) << "white on red at the top speed";

    owner.Calls.clear();
    Steps(m, 10);
    EXPECT_EQ(m.EngineRpm, 3010);
    EXPECT_EQ(Refreshes(owner), 10) << "every step still refreshes";
}

TEST(SimulationStep, InsideTheDeadBandNothingHappensUntilSomethingChanges)
{
    TRecordingOwner owner;
    TDriveModel m = Cruising(&owner, 50);
    EXPECT_GT(m.RoadSpeed, 49);
    EXPECT_LT(m.RoadSpeed, 51);
    EXPECT_FALSE(m.RecalcFlag);
    const auto before = Fields(m);

    owner.Calls.clear();
    Steps(m, 20);
    EXPECT_TRUE(owner.Calls.empty());
    EXPECT_EQ(Fields(m), before);

    m.OverdriveRatio = 0.9; // no flag: still nothing shows
    m.SimulationStep();
    EXPECT_TRUE(owner.Calls.empty());

    m.RecalcFlag = true;
    m.SimulationStep();
    EXPECT_GE(Refreshes(owner), 1);
    EXPECT_FALSE(m.RecalcFlag);
}

TEST(SimulationStep, PedalBackToZeroSlowsToBelow1Mph)
{
    TDriveModel m = Cruising(nullptr, 50);
    m.TargetSpeed = 0;
    double last = m.EngineRpm;
    for (int i = 0; i < 1000 && m.RoadSpeed >= 1; ++i) {
        m.SimulationStep();
        ASSERT_EQ(m.EngineRpm, last - 10) << "falls every step regardless of force";
        last = m.EngineRpm;
    }
    EXPECT_EQ(m.EngineRpm, 40); // 0.94 mph: the first speed inside the band
    Steps(m, 10);
    EXPECT_EQ(m.EngineRpm, 40);
}

TEST(SimulationStep, ASmallerEngineAboveItsLimitPullsTheSpeedDown)
{
    TDriveModel m = StartedModel();
    m.SelectEngine(2);
    m.TargetSpeed = 100;
    m.EngineRpm = 4500;
    m.SelectEngine(0); // the SD22 ends at 4000 rpm
    m.SimulationStep();
    EXPECT_EQ(m.ForceAvailable, -2);
    EXPECT_FALSE(Shown::SpeedHeld(m));
    double last = m.EngineRpm;
    EXPECT_EQ(last, 4490);
    for (int i = 0; i < 500 && m.RecalcFlag; ++i) {
        m.SimulationStep();
        if (m.RecalcFlag) {
            ASSERT_EQ(m.EngineRpm, last - 10);
        }
        last = m.EngineRpm;
    }
    // 3000 rpm is the first speed whose force holds the resistance; that step
    // goes on, climbs once more into the crossing and clears the flag.
    EXPECT_EQ(m.EngineRpm, 3010);
    EXPECT_FALSE(m.RecalcFlag);
    Steps(m, 10);
    EXPECT_EQ(m.EngineRpm, 3010);
}

TEST(SimulationStep, ASteepGradientStopsTheTruckUntilBoost)
{
    TDriveModel m = Cruising(nullptr, 60);
    m.Gradient = 0.3;
    m.RecalcFlag = true;
    Steps(m, 1000);
    EXPECT_EQ(m.EngineRpm, 0);
    EXPECT_TRUE(m.RecalcFlag);
    Steps(m, 5);
    EXPECT_EQ(m.EngineRpm, 0) << "a decrement from 0 gives 0";
}

TEST(SimulationStep, TheDeadBandIsOpenAtBothEnds)
{
    TDriveModel m = StartedModel();
    m.EngineRpm = 2000;
    m.Refresh();
    m.RecalcFlag = false;
    const double speed = m.RoadSpeed; // 47.02 mph: one mph either way is exact

    m.TargetSpeed = speed - 1; // the band's upper edge: outside, so slow down
    m.SimulationStep();
    EXPECT_EQ(m.EngineRpm, 1990);

    m.EngineRpm = 2000;
    m.Refresh();
    m.TargetSpeed = speed + 1; // the lower edge: outside, so speed up
    m.SimulationStep();
    EXPECT_EQ(m.EngineRpm, 2010);
}

TEST(SimulationStep, AForceThatOnlyEqualsTheResistanceDoesNotAccelerate)
{
    // No rolling resistance, no gradient and no torque reaching the wheels:
    // at rest both force and resistance are exactly 0.
    TDriveModel m = StartedModel();
    m.RollingResistance = 0;
    m.TransmissionLoss = 1;
    m.EngineRpm = 0;
    m.TargetSpeed = 50;
    Steps(m, 20);
    EXPECT_EQ(m.ForceAvailable, 0);
    EXPECT_EQ(m.Resistance, 0);
    EXPECT_EQ(m.EngineRpm, 0);
    EXPECT_FALSE(m.RecalcFlag);
}

// Force and resistance as the last refresh left them, and what the step and
// the speed readout make of the pair.
struct ForcePair {
    const char *Name;
    double Force, Resistance;
    bool Holds, Exceeds;
};

void PrintTo(const ForcePair &p, std::ostream *os)
{
    *os << p.Name;
}

class ForcePairTest : public testing::TestWithParam<ForcePair>
{
};

TEST_P(ForcePairTest, HoldsAndExceedsAreTheStepsComparisons)
{
    const ForcePair &p = GetParam();
    TDriveModel m = StartedModel();
    m.ForceAvailable = p.Force;
    m.Resistance = p.Resistance;
    EXPECT_EQ(m.ForceHolds(), p.Holds);
    EXPECT_EQ(m.ForceExceeds(), p.Exceeds);
    EXPECT_EQ(Shown::SpeedHeld(m), p.Holds) << "lime exactly when the force holds";
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, ForcePairTest,
    testing::Values(ForcePair{"Equal", 231.5, 231.5, true, false},
                    ForcePair{"OneUlpAbove", std::nextafter(231.5, 1e9), 231.5, true, true},
                    ForcePair{"OneUlpBelow", std::nextafter(231.5, 0.0), 231.5, false, false},
                    ForcePair{"BothZero", 0, 0, true, false},
                    ForcePair{"OverLimitAgainstNegativeResistance", -2, -2000, false, false},
                    ForcePair{"OverLimitAgainstEqualResistance", -2, -2, false, false},
                    ForcePair{"ZeroForceAgainstNegativeResistance", 0, -5, true, true},
                    ForcePair{"NaNResistance", 100, std::nan(""), false, false}),
    [](const testing::TestParamInfo<ForcePair> &i) { return std::string(i.param.Name); });

TEST(SimulationStep, AForceEqualToTheResistanceHoldsTheSpeedAfterAChange)
{
    // The configuration-change branch falls only when the force is below the
    // resistance: at equality the step goes on, does not climb and clears the
    // flag.
    TDriveModel m = StartedModel();
    m.RollingResistance = 0;
    m.TransmissionLoss = 1;
    m.EngineRpm = 0;
    m.TargetSpeed = 50;
    m.RecalcFlag = true;
    m.SimulationStep();
    EXPECT_EQ(m.ForceAvailable, m.Resistance);
    EXPECT_TRUE(Shown::SpeedHeld(m));
    EXPECT_EQ(m.EngineRpm, 0);
    EXPECT_FALSE(m.RecalcFlag);
}

// Gradients whose sine is negative make the resistance negative: the engine
// must still stop at its limit and the bearing values must not go negative.
struct FarGradient {
    const char *Name;
    double Gradient;
};

void PrintTo(const FarGradient &p, std::ostream *os)
{
    *os << p.Name;
}

class FarGradientTest : public testing::TestWithParam<FarGradient>
{
};

TEST_P(FarGradientTest, TheEngineStopsAtItsLimitAndNoBearingValueIsNegative)
{
    TDriveModel m = StartedModel();
    m.Gradient = GetParam().Gradient;
    m.TargetSpeed = 100;
    m.BoostFlag = true;
    const double limit = m.Engine.MaxPowerRpm;
    double highest = 0;
    bool sawNegativeLoad = false;
    for (int i = 0; i < 3000; ++i) {
        m.SimulationStep();
        highest = std::max(highest, m.EngineRpm);
        ASSERT_LE(m.EngineRpm, limit + TDriveModel::RpmStep) << "step " << i;
        sawNegativeLoad |= m.RadialLoad < 0;
        for (const auto &v : {Shown::RadialLoad(m), Shown::COverP(m), Shown::LifeKm(m),
                              Shown::LifeThousandKm(m), Shown::LifeThousandMiles(m),
                              Shown::LastLifeThousands(m, false),
                              Shown::LastLifeThousands(m, true)}) {
            if (v) {
                ASSERT_GE(*v, 0) << "step " << i;
            }
        }
        if (m.RadialLoad < 0) {
            ASSERT_FALSE(Shown::RadialLoad(m));
            ASSERT_FALSE(Shown::COverP(m));
            ASSERT_FALSE(Shown::LifeKm(m));
        }
    }
    EXPECT_EQ(highest, limit + TDriveModel::RpmStep) << "the truck does reach the limit";
    EXPECT_TRUE(sawNegativeLoad);
    EXPECT_FALSE(Shown::SpeedHeld(m)) << "no force above the limit";
}

INSTANTIATE_TEST_SUITE_P(
    SineBelowZero, FarGradientTest,
    testing::Values(FarGradient{"Four", 4}, FarGradient{"Five", 5},
                    FarGradient{"JustPastPi", 3.2}, FarGradient{"Hundred", 100}),
    [](const testing::TestParamInfo<FarGradient> &i) { return std::string(i.param.Name); });
