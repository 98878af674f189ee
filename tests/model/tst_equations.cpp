#include "model/DisplayValues.h"
#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

// A figure given to a number of decimals matches within half its last digit.
void ExpectFigure(double actual, double expected, int decimals, const char *what)
{
    EXPECT_NEAR(actual, expected, 0.5 * std::pow(10.0, -decimals)) << what;
}

TDriveModel RefreshedAt(double rpm)
{
    TDriveModel m = StartedModel();
    m.EngineRpm = rpm;
    m.Refresh();
    return m;
}

} // namespace

struct OperatingPoint {
    double Rpm;
    double RoadSpeed, Power, Torque, Resistance, ForceAvailable, InputTorque, RadialLoad;
    double COverP, LifeKm, LifeMiles;
    int Unused;
};

void PrintTo(const OperatingPoint &p, std::ostream *os)
{
    *os << p.Rpm << " rpm";
}


class OperatingPointTest : public testing::TestWithParam<OperatingPoint>
{
};

TEST_P(OperatingPointTest, RefreshGivesTheTabulatedFigures)
{
    const OperatingPoint &p = GetParam();
    const TDriveModel m = RefreshedAt(p.Rpm);
    ExpectFigure(m.RoadSpeed, p.RoadSpeed, 4, "road speed");
    ExpectFigure(m.Power, p.Power, 4, "power");
    ExpectFigure(m.Torque, p.Torque, 4, "torque");
    ExpectFigure(m.Resistance, p.Resistance, 4, "resistance");
    ExpectFigure(m.ForceAvailable, p.ForceAvailable, 4, "force available");
    ExpectFigure(m.InputTorqueDemand(), p.InputTorque, 4, "input torque demand");
    ExpectFigure(m.RadialLoad, p.RadialLoad, 4, "radial load");
    ExpectFigure(m.COverP, p.COverP, 5, "C/P");
    ExpectFigure(m.LifeKm, p.LifeKm, 1, "life km");
    ASSERT_TRUE(Shown::LifeThousandMiles(m));
    ExpectFigure(*Shown::LifeThousandMiles(m), p.LifeMiles, 4, "life shown in miles");
    EXPECT_EQ(Shown::TorqueUnusedPercent(m), p.Unused);
}

INSTANTIATE_TEST_SUITE_P(
    DefaultTruck, OperatingPointTest,
    testing::Values(OperatingPoint{2000, 47.0184, 37.8189, 101.1563, 127.7698, 254.8418, 50.7166,
                                   285.1082, 7.29898, 245347.8, 152.3611, 50},
                    OperatingPoint{3000, 70.5276, 50.4095, 91.9376, 231.2320, 231.6174, 91.7847,
                                   515.9760, 4.03313, 41392.6, 25.7051, 0}));

TEST(Equations, ForceAndResistanceCrossBetween3000And3010)
{
    const TDriveModel below = RefreshedAt(3000);
    EXPECT_GT(below.ForceAvailable, below.Resistance);
    const TDriveModel above = RefreshedAt(3010);
    ExpectFigure(above.ForceAvailable, 231.3851, 4, "force");
    ExpectFigure(above.Resistance, 232.4756, 4, "resistance");
    ExpectFigure(above.RoadSpeed, 70.7627, 4, "speed");
    EXPECT_LT(above.ForceAvailable, above.Resistance);
    EXPECT_FALSE(Shown::SpeedHeld(above));
    EXPECT_TRUE(Shown::SpeedHeld(below));
}

TEST(Equations, CurveKneesAndTheRevLimit)
{
    TDriveModel m = StartedModel();
    EXPECT_EQ(m.PowerAt(600), 0.0001);
    EXPECT_EQ(m.TorqueAt(600), 0.0001);
    EXPECT_EQ(m.PowerAt(0), 0.0001);
    EXPECT_EQ(m.TorqueAt(1800), 103); // the upper line starts at the maximum-torque speed
    EXPECT_EQ(m.PowerAt(1800), m.Engine.PowerAtMaxTorque);
    EXPECT_NEAR(m.TorqueAt(1790), 103.0 * 1190 / 1200, 1e-12); // still on the lower line
    EXPECT_NEAR(m.TorqueAt(4000), 82.719, 1e-12);
    EXPECT_NEAR(m.PowerAt(4000), 63, 1e-12);
    EXPECT_EQ(m.TorqueAt(4010), -2);
    EXPECT_EQ(m.PowerAt(4010), -2);
    EXPECT_EQ(m.ForceAvailableAt(4010), -2);
    EXPECT_GT(m.ForceAvailableAt(4000), 0);

    m.SelectEngine(2); // a higher limit
    EXPECT_GT(m.TorqueAt(5200), 0);
    EXPECT_EQ(m.TorqueAt(5210), -2);
}

TEST(Equations, AboveTheRevLimitTheReadoutsAreEmpty)
{
    const TDriveModel m = RefreshedAt(4010);
    EXPECT_FALSE(Shown::Power(m));
    EXPECT_FALSE(Shown::Torque(m));
    EXPECT_FALSE(Shown::ForceAvailable(m));
    EXPECT_TRUE(Shown::Resistance(m));
    EXPECT_EQ(Shown::TorqueUnusedPercent(m), 0);
    EXPECT_FALSE(Shown::SpeedHeld(m));
}

TEST(Equations, FourthGearIsDirectDriveAndHasNoBearingValues)
{
    TDriveModel m = StartedModel();
    const double fifth = m.RpmToSpeed(2000);
    m.Gear = TGear::Fourth;
    ExpectFigure(m.RpmToSpeed(2000), 38.2260, 4, "fourth-gear speed");
    EXPECT_NEAR(m.RpmToSpeed(2000), fifth * 0.813, 1e-12);

    TDriveModel fourth = RefreshedAt(2000);
    const double fifthLife = fourth.LifeKm;
    fourth.Gear = TGear::Fourth;
    fourth.EngineRpm = 1500;
    fourth.Refresh();
    EXPECT_EQ(fourth.LifeKm, fifthLife) << "fourth gear keeps the last life";
    EXPECT_FALSE(Shown::RadialLoad(fourth));
    EXPECT_FALSE(Shown::COverP(fourth));
    EXPECT_FALSE(Shown::LifeThousandKm(fourth));
    EXPECT_FALSE(Shown::LifeThousandMiles(fourth));
    EXPECT_TRUE(std::isfinite(fourth.RadialLoad)) << "P is computed in either gear";
    ASSERT_TRUE(Shown::LastLifeThousands(fourth, false));
    EXPECT_DOUBLE_EQ(*Shown::LastLifeThousands(fourth, false), 245.348);
}

TEST(Equations, GradientAddsTheSineOfItsValueTimesTheWeight)
{
    TDriveModel m = StartedModel();
    EXPECT_EQ(m.GradientResistance(0), 0);
    ExpectFigure(m.GradientResistance(0.05), 157.5343, 4, "gradient resistance");
    m.Gradient = 0.05;
    m.EngineRpm = 2000;
    m.Refresh();
    ExpectFigure(m.Resistance, 127.7698 + 157.5343, 3, "total resistance");
}

TEST(DisplayValues, UnitsAndRounding)
{
    const TDriveModel m = RefreshedAt(2000);
    EXPECT_EQ(*Shown::SpeedKmh(m), m.RoadSpeed / 0.621);
    EXPECT_EQ(*Shown::SpeedMph(m), m.RoadSpeed);
    // Whole kilometres first: 245347.77 km -> 245348 -> 245.348 thousand.
    EXPECT_DOUBLE_EQ(*Shown::LifeThousandKm(m), 245.348);
    EXPECT_DOUBLE_EQ(*Shown::LifeThousandMiles(m), 245.348 * 0.621);
    EXPECT_EQ(Shown::Rpm(m), 2000);
    EXPECT_EQ(*Shown::Resistance(m), m.Resistance);
}

TEST(DisplayValues, TorqueUnusedStaysWithin0To100)
{
    TDriveModel m = StartedModel();
    m.ForceAvailable = 100;
    m.Resistance = 50.5;
    EXPECT_EQ(Shown::TorqueUnusedPercent(m), 50); // 49.5 rounds to even
    m.Resistance = 49.5;
    EXPECT_EQ(Shown::TorqueUnusedPercent(m), 50); // 50.5 rounds to even
    m.Resistance = 150;
    EXPECT_EQ(Shown::TorqueUnusedPercent(m), 0); // force below resistance
    m.Resistance = -20;                          // a gradient whose sine is negative
    EXPECT_EQ(Shown::TorqueUnusedPercent(m), 100);
    m.ForceAvailable = 0;
    EXPECT_EQ(Shown::TorqueUnusedPercent(m), 0);
    m.ForceAvailable = -2;
    EXPECT_EQ(Shown::TorqueUnusedPercent(m), 0);
}
