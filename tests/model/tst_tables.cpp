#include "model/DriveModel.h"
#include "model/EIBError.h"
#include "ModelTestSupport.h"
#include "model/VehicleTables.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <type_traits>

using namespace VehicleTables;

TEST(VehicleTables, EngineRowsAndTheirDerivedColumns)
{
    const auto &e = Engines();
    EXPECT_EQ(e[0], (TEngineInfo{"SD22", 35.3008377760853, 103, 1800, 63, 82.719, 4000}));
    EXPECT_EQ(e[1], (TEngineInfo{"SD25", 45.316070068545315, 119, 2000, 75, 98.475, 4000}));
    EXPECT_EQ(e[2], (TEngineInfo{"Z22", 62.87128712871287, 127, 2600, 95, 95.95, 5200}));
    // The stored constants are the nearest doubles to the hp/ft.lb/rpm relation.
    for (const TEngineInfo &row : e) {
        SCOPED_TRACE(row.Code);
        EXPECT_EQ(row.PowerAtMaxTorque, row.MaxTorque * row.MaxTorqueRpm / 5252);
    }
}

TEST(VehicleTables, ListTextsKeepTheirBlanksAndInchSign)
{
    EXPECT_EQ(EngineListTexts()[0], "SD22  63hp@4000  103ftlb@1800");
    EXPECT_EQ(EngineListTexts()[1], "SD25  75hp@4000  119ftlb@2000");
    EXPECT_EQ(EngineListTexts()[2], "Z22     95hp@5200  127ftlb@2600");

    EXPECT_EQ(FinalDriveListTexts()[0], "H190   manual 3.889");
    EXPECT_EQ(FinalDriveListTexts()[1], "H190   auto      4.111");
    EXPECT_EQ(FinalDriveListTexts()[2], "H190  4WD      4.375");
    EXPECT_EQ(FinalDriveListTexts()[3], "H190   SD25    4.625");
    EXPECT_EQ(FinalDriveListTexts()[4], "C200   Z22       4.625");
    EXPECT_EQ(FinalDriveListTexts()[5], "C200   SD25    4.875");

    EXPECT_EQ(KerbWeightListTexts()[0], "DualCab Diesel 4x4  3102 lb");
    EXPECT_EQ(KerbWeightListTexts()[1], "KingCab Petrol 4x4   2893 lb");
    EXPECT_EQ(KerbWeightListTexts()[2], "StdCab  Diesel 4x4   3025 lb");
    EXPECT_EQ(KerbWeightListTexts()[3], "StdCab  Petrol 4x4    2816 lb");

    for (std::size_t i = 0; i < TyreSizeCount; ++i) {
        char text[16];
        std::snprintf(text, sizeof text, "%.1f\"", 25.0 + 0.5 * static_cast<double>(i));
        EXPECT_EQ(TyreSizeListTexts()[i], text) << "row " << i;
    }
}

TEST(VehicleTables, SelectionsLoadTheirRowAndSetTheRecalcFlag)
{
    TDriveModel m;
    m.SelectTyreSize(0);
    EXPECT_NEAR(m.TyreDiameter, 0.635, 1e-15);
    m.SelectTyreSize(16);
    EXPECT_NEAR(m.TyreDiameter, 0.8382, 1e-15);
    m.SelectFinalDrive(3);
    EXPECT_EQ(m.FinalDriveRatio, 4.625);
    m.SelectFinalDrive(4);
    EXPECT_EQ(m.FinalDriveRatio, 4.625);
    m.SelectKerbWeight(3);
    EXPECT_EQ(m.UnladenWeight, 2816);
    m.SelectEngine(2);
    EXPECT_EQ(m.Engine.MaxPowerRpm, 5200);
    m.SelectEngine(1);
    EXPECT_EQ(m.Engine.MaxPowerRpm, 4000);
    EXPECT_EQ(m.Engine.Code, "SD25");

    using Select = std::function<void(TDriveModel &)>;
    for (const Select &select : {Select([](TDriveModel &x) { x.SelectEngine(0); }),
                                 Select([](TDriveModel &x) { x.SelectFinalDrive(0); }),
                                 Select([](TDriveModel &x) { x.SelectTyreSize(0); }),
                                 Select([](TDriveModel &x) { x.SelectKerbWeight(0); })}) {
        TDriveModel fresh;
        select(fresh);
        EXPECT_TRUE(fresh.RecalcFlag);
    }
}

struct BadSelection {
    const char *Message;
    void (TDriveModel::*Select)(int);
    int Index;
};

void PrintTo(const BadSelection &p, std::ostream *os)
{
    *os << p.Message << " at " << p.Index;
}


class BadSelectionTest : public testing::TestWithParam<BadSelection>
{
};

TEST_P(BadSelectionTest, ThrowsItsMessageAndChangesNothing)
{
    const BadSelection &p = GetParam();
    for (const bool recalc : {false, true}) {
        TDriveModel m = StartedModel();
        m.SelectEngine(2);
        m.EngineRpm = 2000;
        m.Refresh();
        m.RecalcFlag = recalc;
        const auto before = Fields(m);
        try {
            (m.*p.Select)(p.Index);
            FAIL() << "no exception for index " << p.Index;
        } catch (const EIBError &e) {
            EXPECT_STREQ(e.what(), p.Message);
        }
        EXPECT_EQ(Fields(m), before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    VehicleTables, BadSelectionTest,
    testing::Values(
        BadSelection{"non enumerated engine type", &TDriveModel::SelectEngine, -1},
        BadSelection{"non enumerated engine type", &TDriveModel::SelectEngine, 3},
        BadSelection{"non enumerated final drive ratio", &TDriveModel::SelectFinalDrive, -1},
        BadSelection{"non enumerated final drive ratio", &TDriveModel::SelectFinalDrive, 6},
        BadSelection{"non enumerated tyre size", &TDriveModel::SelectTyreSize, -1},
        BadSelection{"non enumerated tyre size", &TDriveModel::SelectTyreSize, 17},
        BadSelection{"non enumerated kerb weight encountered", &TDriveModel::SelectKerbWeight, -1},
        BadSelection{"non enumerated kerb weight encountered", &TDriveModel::SelectKerbWeight, 4},
        BadSelection{"non enumerated engine type", &TDriveModel::SelectEngine, -2147483647 - 1}));

TEST(EIBError, IsAMessageOnlyStandardError)
{
    static_assert(std::is_base_of_v<std::runtime_error, EIBError>);
    const EIBError e("non enumerated tyre size");
    EXPECT_STREQ(e.what(), "non enumerated tyre size");
}

TEST(EIBError, DefaultHandlerAddsAFullStopAfterLettersAndDigits)
{
    EXPECT_EQ(WithFullStop("non enumerated tyre size"), "non enumerated tyre size.");
    EXPECT_EQ(WithFullStop("row 7"), "row 7.");
    EXPECT_EQ(WithFullStop("done."), "done.");
    EXPECT_EQ(WithFullStop("really!"), "really!"); // '!' sorts before '.'
    EXPECT_EQ(WithFullStop("a-"), "a-");
    EXPECT_EQ(WithFullStop("path/"), "path/.");
    EXPECT_EQ(WithFullStop(""), "");
}

TEST(StartUp, BringsTheModelIntoItsStartUpState)
{
    TRecordingOwner owner;
    TDriveModel m(&owner);
    m.TargetSpeed = 70; // left over from an earlier drive
    m.BoostFlag = true;
    BringToStartUpState(m);
    EXPECT_EQ(m.Owner(), &owner);
    EXPECT_TRUE(owner.Calls.empty()) << "start-up must not refresh";
    EXPECT_EQ(m.FinalDriveRatio, 3.889);
    EXPECT_EQ(m.Engine, Engines()[0]);
    EXPECT_EQ(m.UnladenWeight, 3102);
    EXPECT_EQ(m.FrontalArea, 22.5);
    EXPECT_EQ(m.DragCoef, 0.65);
    EXPECT_EQ(m.RollingResistance, 45);
    EXPECT_EQ(m.PitchCircleRadius, 1.11);
    EXPECT_EQ(m.PressureAngle, 20);
    EXPECT_EQ(m.HelixAngle, 15);
    EXPECT_EQ(m.Overhang, 1.15);
    EXPECT_EQ(m.LoadFactor, 1.2);
    EXPECT_EQ(m.TransmissionLoss, 0.17);
    EXPECT_EQ(m.EngineRpm, 10);
    EXPECT_EQ(m.OverdriveRatio, 0.813);
    EXPECT_EQ(m.Gear, TGear::Fifth);
    EXPECT_EQ(m.Load, 50);
    EXPECT_EQ(m.Gradient, 0);
    EXPECT_TRUE(m.RecalcFlag);
    EXPECT_FALSE(m.BoostFlag);
    EXPECT_EQ(m.TargetSpeed, 0);
    EXPECT_EQ(m.RoadSpeed, 0);
    EXPECT_EQ(m.Power, 0);
    EXPECT_EQ(m.LifeKm, 0);
}

TEST(StartUp, ABadIndexLeavesTheModelAsItWas)
{
    TDriveModel m = StartedModel();
    m.SelectTyreSize(5);
    m.EngineRpm = 1230;
    const auto before = Fields(m);
    TDriveInputs in;
    in.KerbWeightIndex = -1; // selected last: the earlier selections must not stick
    EXPECT_THROW(BringToStartUpState(m, in), EIBError);
    EXPECT_EQ(Fields(m), before);
}
