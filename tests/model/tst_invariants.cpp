// Long random drives: whatever the user does between ticks, the engine speed
// stays a non-negative multiple of 10 and every readout value is sound.
#include "model/DisplayValues.h"
#include "model/EIBError.h"
#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace
{

class TRandomUser
{
  public:
    explicit TRandomUser(unsigned seed) : m_rng(seed) {}

    // One action between two ticks, as the window's handlers would do it.
    void Act(TDriveModel &m)
    {
        switch (Pick(0, 14)) {
        case 0:
            m.TargetSpeed = Pick(0, 100);
            break;
        case 1:
            m.BoostFlag = !m.BoostFlag;
            break;
        case 2:
            Select(m, &TDriveModel::SelectEngine, 3);
            break;
        case 3:
            Select(m, &TDriveModel::SelectFinalDrive, 6);
            break;
        case 4:
            Select(m, &TDriveModel::SelectTyreSize, 17);
            break;
        case 5:
            Select(m, &TDriveModel::SelectKerbWeight, 4);
            break;
        case 6:
            m.Gear = Pick(0, 1) ? TGear::Fourth : TGear::Fifth;
            m.RecalcFlag = true;
            break;
        case 7:
            m.Gradient = Pick(0, 1) ? 0 : Real(0, 0.2);
            m.RecalcFlag = true;
            break;
        case 8:
            m.Load = Pick(0, 60) * 50;
            m.RecalcFlag = true;
            break;
        case 9:
            m.TransmissionLoss = Pick(0, 10) ? Real(0, 0.5) : 1;
            m.RecalcFlag = true;
            break;
        case 10:
            m.OverdriveRatio = Pick(0, 10) ? Real(0.5, 1) : 0;
            break;
        case 11:
            m.RollingResistance = Pick(0, 100);
            m.RecalcFlag = true;
            break;
        case 12:
            m.HelixAngle = Pick(0, 10) ? Real(0, 45) : 90;
            break;
        case 13:
            m.PitchCircleRadius = Pick(0, 10) ? Real(0.5, 2) : 0;
            break;
        default:
            break; // most ticks see no input at all
        }
    }

    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    double Real(double lo, double hi)
    {
        return std::uniform_real_distribution<double>(lo, hi)(m_rng);
    }

  private:
    void Select(TDriveModel &m, void (TDriveModel::*select)(int), int rows)
    {
        const int index = Pick(-1, rows); // -1 and `rows` are outside the table
        if (index >= 0 && index < rows) {
            (m.*select)(index);
            return;
        }
        const double rpm = m.EngineRpm;
        const bool recalc = m.RecalcFlag;
        EXPECT_THROW((m.*select)(index), EIBError);
        EXPECT_EQ(m.EngineRpm, rpm);
        EXPECT_EQ(m.RecalcFlag, recalc);
    }

    std::mt19937 m_rng;
};

bool Sound(const std::optional<double> &v)
{
    return !v || std::isfinite(*v);
}

} // namespace

class RandomDriveTest : public testing::TestWithParam<unsigned>
{
};

TEST_P(RandomDriveTest, InvariantsHoldOnEveryStep)
{
    TRecordingOwner owner;
    TDriveModel m = StartedModel(&owner);
    TRandomUser user(GetParam());
    for (int step = 0; step < 20000; ++step) {
        if (user.Pick(0, 3) == 0)
            user.Act(m);
        m.SimulationStep();
        owner.Calls.clear();
        SCOPED_TRACE(step);
        ASSERT_GE(m.EngineRpm, 0);
        ASSERT_EQ(std::fmod(m.EngineRpm, 10), 0);
        const int pct = Shown::TorqueUnusedPercent(m);
        ASSERT_TRUE(pct >= 0 && pct <= 100) << pct;
        ASSERT_TRUE(Sound(Shown::SpeedMph(m)) && Sound(Shown::SpeedKmh(m)));
        ASSERT_TRUE(Sound(Shown::Power(m)) && Sound(Shown::Torque(m)));
        ASSERT_TRUE(Sound(Shown::Resistance(m)) && Sound(Shown::ForceAvailable(m)));
        ASSERT_TRUE(Sound(Shown::RadialLoad(m)) && Sound(Shown::COverP(m)) &&
                    Sound(Shown::LifeKm(m)));
        ASSERT_TRUE(Sound(Shown::LifeThousandKm(m)) && Sound(Shown::LifeThousandMiles(m)));
        ASSERT_TRUE(Sound(Shown::LastLifeThousands(m, true)));
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomDriveTest, testing::Values(1u, 7u, 42u, 2024u, 99991u));
