#include "DisplayValues.h"
#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

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
