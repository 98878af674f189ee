// Inputs that make the equations undefined: nothing may reach a readout as
// NaN or infinity, and the model must keep stepping.
#include "model/DisplayValues.h"
#include "model/ModelMath.h"
#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace
{

// Every displayed value is either absent or finite.
void ExpectShowable(const TDriveModel &m)
{
    for (const auto &v :
         {Shown::SpeedMph(m), Shown::SpeedKmh(m), Shown::Power(m), Shown::Torque(m),
          Shown::Resistance(m), Shown::ForceAvailable(m), Shown::RadialLoad(m), Shown::COverP(m),
          Shown::LifeKm(m), Shown::LifeThousandKm(m), Shown::LifeThousandMiles(m),
          Shown::LastLifeThousands(m, false), Shown::LastLifeThousands(m, true)}) {
        if (v) {
            ASSERT_TRUE(std::isfinite(*v)) << "engine speed " << m.EngineRpm;
        }
    }
    const int pct = Shown::TorqueUnusedPercent(m);
    ASSERT_GE(pct, 0);
    ASSERT_LE(pct, 100);
}

TDriveModel At(const std::function<void(TDriveModel &)> &configure, double rpm)
{
    TDriveModel m = StartedModel();
    configure(m);
    m.EngineRpm = rpm;
    m.Refresh();
    return m;
}

} // namespace

struct UndefinedInput {
    const char *Name;
    std::function<void(TDriveModel &)> Configure;
    bool SpeedAbsent, RadialLoadAbsent, COverPAbsent, LifeAbsent; // at 2000 rpm
};

void PrintTo(const UndefinedInput &p, std::ostream *os)
{
    *os << p.Name;
}


class UndefinedInputTest : public testing::TestWithParam<UndefinedInput>
{
};

TEST_P(UndefinedInputTest, ReadoutsAreFiniteOrEmptyAndStepsGoOn)
{
    const UndefinedInput &p = GetParam();
    const TDriveModel at2000 = At(p.Configure, 2000);
    EXPECT_EQ(!Shown::SpeedMph(at2000), p.SpeedAbsent);
    EXPECT_EQ(!Shown::RadialLoad(at2000), p.RadialLoadAbsent);
    EXPECT_EQ(!Shown::COverP(at2000), p.COverPAbsent);
    EXPECT_EQ(!Shown::LifeThousandMiles(at2000), p.LifeAbsent);
    for (const double rpm : {0.0, 10.0, 600.0, 2000.0, 4000.0, 4010.0})
        ExpectShowable(At(p.Configure, rpm));

    // A drive with boost and pedal changes: bounded steps, sound readouts.
    TDriveModel m = StartedModel();
    p.Configure(m);
    m.TargetSpeed = 100;
    m.BoostFlag = true;
    for (int i = 0; i < 600; ++i) {
        if (i == 300)
            m.TargetSpeed = 0;
        m.SimulationStep();
        ASSERT_GE(m.EngineRpm, 0);
        ExpectShowable(m);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Model, UndefinedInputTest,
    testing::Values(
        UndefinedInput{"TransmissionLossOne", [](TDriveModel &m) { m.TransmissionLoss = 1; }, false,
                       true, true, true},
        UndefinedInput{"OverdriveRatioZero", [](TDriveModel &m) { m.OverdriveRatio = 0; }, true,
                       true, true, true},
        UndefinedInput{"PitchRadiusZero", [](TDriveModel &m) { m.PitchCircleRadius = 0; }, false,
                       true, true, true},
        UndefinedInput{"HelixAngle90", [](TDriveModel &m) { m.HelixAngle = 90; }, false, true, true,
                       true},
        UndefinedInput{"HelixAngle270", [](TDriveModel &m) { m.HelixAngle = 270; }, false, true,
                       true, true},
        UndefinedInput{"PressureAngle90", [](TDriveModel &m) { m.PressureAngle = 90; }, false, true,
                       true, true},
        UndefinedInput{"NoRollingResistance", [](TDriveModel &m) { m.RollingResistance = 0; },
                       false, false, false, false},
        UndefinedInput{"TinyLoadFactor", [](TDriveModel &m) { m.LoadFactor = 1e-9; }, false, false,
                       false, true}),
    [](const testing::TestParamInfo<UndefinedInput> &p) { return p.param.Name; });

TEST(UndefinedInputs, FourthGearIgnoresAZeroOverdriveRatio)
{
    const TDriveModel m = At(
        [](TDriveModel &x) {
            x.OverdriveRatio = 0;
            x.Gear = TGear::Fourth;
        },
        2000);
    EXPECT_NEAR(*Shown::SpeedMph(m), 38.2260, 5e-5);
}

TEST(UndefinedInputs, ZeroResistanceAtRestShowsAZeroLoadAndNoRatio)
{
    const TDriveModel m = At([](TDriveModel &x) { x.RollingResistance = 0; }, 0);
    EXPECT_EQ(*Shown::Resistance(m), 0);
    EXPECT_EQ(*Shown::RadialLoad(m), 0);
    EXPECT_FALSE(Shown::COverP(m)) << "C/P would be infinite";
    EXPECT_FALSE(Shown::LifeKm(m));
    EXPECT_FALSE(Shown::LifeThousandKm(m));
}

TEST(UndefinedInputs, ALifeBeyondThe64BitRangeIsNotShownAsAThousandCount)
{
    const TDriveModel m = At([](TDriveModel &x) { x.LoadFactor = 1e-9; }, 2000);
    ASSERT_TRUE(Shown::LifeKm(m));
    EXPECT_GT(*Shown::LifeKm(m), 9.3e18);
    EXPECT_FALSE(Shown::LifeThousandKm(m));
    EXPECT_FALSE(Shown::LifeThousandMiles(m));
}

TEST(UndefinedInputs, HelixAnglesNear90StillHaveALoad)
{
    const TDriveModel m = At([](TDriveModel &x) { x.HelixAngle = 89.9; }, 2000);
    ASSERT_TRUE(Shown::RadialLoad(m));
    EXPECT_GT(*Shown::RadialLoad(m), 285.1082 * 100);
}

TEST(ModelMath, RoundIsHalfToEvenAndRefusesWhatDoesNotFit)
{
    using ModelMath::Round;
    EXPECT_EQ(Round(0.5), 0);
    EXPECT_EQ(Round(1.5), 2);
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(245347.77), 245348);
    EXPECT_EQ(Round(-9223372036854775808.0), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(Round(9223372036854774784.0), 9223372036854774784);
    EXPECT_FALSE(Round(9223372036854775808.0));
    EXPECT_FALSE(Round(1e300));
    EXPECT_FALSE(Round(-1e300));
    EXPECT_FALSE(Round(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(Round(std::numeric_limits<double>::quiet_NaN()));
}
