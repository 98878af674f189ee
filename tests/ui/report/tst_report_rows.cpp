// The report's texts: numbers as the window rounds them with the locale's
// mark, readouts shown empty where the window shows them empty, the duty
// table's columns and sentences, and the paper by the locale.
#include "analysis/Reliability.h"
#include "ui/report/LifeMapPicture.h"
#include "ui/report/Report.h"
#include "ui/report/ReportRows.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

const QLocale C = QLocale::c();
const QLocale German(QLocale::German, QLocale::Germany);

QString valueOf(const std::vector<TReportRow> &rows, const QString &caption)
{
    for (const auto &r : rows)
        if (r.Caption == caption)
            return r.Value;
    ADD_FAILURE() << "no row " << caption.toStdString();
    return {};
}

const TReportRow *inputRow(const std::vector<TReportGroup> &groups, const QString &caption)
{
    for (const auto &g : groups)
        for (const auto &r : g.Rows)
            if (r.Caption == caption)
                return &r;
    return nullptr;
}

struct TNumberCase {
    double Value;
    int Decimals;
    const char *Fixed;
    const char *Input;
};

class Numbers : public testing::TestWithParam<TNumberCase>
{
};

TEST_P(Numbers, RoundLikeTheWindowAndNeverHideAnInputDigit)
{
    const auto &c = GetParam();
    EXPECT_EQ(FixedText(c.Value, c.Decimals, C).toStdString(), c.Fixed);
    EXPECT_EQ(InputText(c.Value, c.Decimals, C).toStdString(), c.Input);
}

INSTANTIATE_TEST_SUITE_P(
    Report, Numbers,
    testing::Values(TNumberCase{0.17, 2, "0.17", "0.17"}, TNumberCase{1.115, 2, "1.11", "1.115"},
                    TNumberCase{0.813, 4, "0.8130", "0.8130"}, TNumberCase{45, 0, "45", "45"},
                    TNumberCase{-0.001, 2, "0.00", "-0.001"}, TNumberCase{2.5, 0, "2", "2.5"},
                    TNumberCase{3.5, 0, "4", "3.5"}, TNumberCase{-0.0, 1, "0.0", "0.0"},
                    TNumberCase{NAN, 2, "", ""}, TNumberCase{INFINITY, 0, "", ""}));

TEST(ReportNumbers, UseTheLocalesDecimalMarkWithoutGroups)
{
    EXPECT_EQ(FixedText(1234.5, 1, German), QStringLiteral("1234,5"));
    EXPECT_EQ(InputText(0.17, 2, German), QStringLiteral("0,17"));
    const auto groups = InputGroups(TTruck{}, German);
    const TReportRow *rating = inputRow(groups, QStringLiteral("Dynamic Load Rating (lbf) Cr"));
    ASSERT_TRUE(rating);
    EXPECT_EQ(rating->Value, QStringLiteral("2.081")); // the box groups thousands
}

TEST(ReportInputs, EveryInputOfTheStartUpTruckWithTheWindowsCaptionsAndUnits)
{
    const auto groups = InputGroups(TTruck{}, C);
    struct {
        const char *Caption, *Value, *Unit;
    } expected[] = {
        {"Engine", "SD22  63hp@4000  103ftlb@1800", ""},
        {"transmission loss", "0.17", ""},
        {"overdrive ratio", "0.8130", ""},
        {"final drive gear ratio", "H190   manual 3.889", ""},
        {"tyre size", "25.0\"", ""},
        {"PitchCircleRad (in)", "1.11", "in"},
        {"Pressure Angle", "20.0", "deg"},
        {"Helix Angle", "15.0", "deg"},
        {"Bearing Overhang", "1.15", ""},
        {"Load factor", "1.20", ""},
        {"Rolling Resistance (lbf)", "45", "lbf"},
        {"Frontal Area (sqft)", "22.5", "sqft"},
        {"Drag Coef", "0.650", ""},
        {"Unladen Weight (lbs)", "DualCab Diesel 4x4  3102 lb", ""},
        {"Load (lbs)", "50", "lbs"},
        {"Average Gradient", "0.0000", ""},
        {"Dynamic Load Rating (lbf) Cr", "2081", "lbf"}, // the C locale groups no digits
        {"Gear", "5th", ""},
    };
    for (const auto &e : expected) {
        const TReportRow *row = inputRow(groups, QString::fromUtf8(e.Caption));
        ASSERT_TRUE(row) << e.Caption;
        EXPECT_EQ(row->Value.toStdString(), e.Value) << e.Caption;
        EXPECT_EQ(row->Unit.toStdString(), e.Unit) << e.Caption;
    }
}

TEST(ReportResults, FifthGearShowsTheBearingRoundedAsTheReadouts)
{
    const TTruck truck;
    const TOperatingPoint p = PedalPoint(truck, 50);
    ASSERT_TRUE(p.LifeKm && p.RadialLoad && p.COverP);
    const auto rows = ResultRows(truck, p, C);
    EXPECT_EQ(valueOf(rows, QStringLiteral("Speed")), QStringLiteral("50.0"));
    EXPECT_EQ(valueOf(rows, QStringLiteral("Radial Load P")), FixedText(*p.RadialLoad, 2, C));
    EXPECT_EQ(valueOf(rows, QStringLiteral("C/P")), FixedText(*p.COverP, 2, C));
    // Whole kilometres first, then thousands, then miles: as the life readout.
    const double life = double(std::llround(*p.LifeKm)) / 1000 * 0.621;
    EXPECT_EQ(valueOf(rows, QStringLiteral("Life [10%]")), FixedText(life, 0, C));
    EXPECT_EQ(valueOf(rows, QStringLiteral("Engine speed")),
              QString::number(std::llround(p.EngineRpm.value_or(-1))));
    EXPECT_EQ(valueOf(rows, QStringLiteral("Speed held")), QStringLiteral("yes"));
}

TEST(ReportResults, UnitsFollowTheTruck)
{
    TTruck truck;
    truck.SpeedInMph = false;
    truck.LifeInMiles = false;
    const TOperatingPoint p = PedalPoint(truck, 62.1);
    const auto rows = ResultRows(truck, p, C);
    EXPECT_EQ(valueOf(rows, QStringLiteral("Speed")), QStringLiteral("100.0"));
    for (const auto &r : rows) {
        if (r.Caption == QStringLiteral("Speed")) {
            EXPECT_EQ(r.Unit, QStringLiteral("kph"));
        }
        if (r.Caption == QStringLiteral("Life [10%]")) {
            EXPECT_EQ(r.Unit, QStringLiteral("000kms"));
        }
    }
}

TEST(ReportResults, FourthGearAndTheRevLimitLeaveTheWindowsEmptyReadoutsEmpty)
{
    TTruck truck;
    truck.Gear = TGear::Fourth;
    auto rows = ResultRows(truck, PedalPoint(truck, 50), C);
    for (const char *c : {"Radial Load P", "C/P", "Life [10%]"})
        EXPECT_TRUE(valueOf(rows, QString::fromLatin1(c)).isEmpty()) << c;
    EXPECT_FALSE(valueOf(rows, QStringLiteral("Power")).isEmpty());

    // Far above the top speed in fifth: no power, torque or force.
    truck.Gear = TGear::Fifth;
    rows = ResultRows(truck, PedalPoint(truck, 100), C);
    ASSERT_GT(PedalPoint(truck, 100).EngineRpm.value_or(0), 4000); // the rev limit
    EXPECT_TRUE(valueOf(rows, QStringLiteral("Power")).isEmpty());
    EXPECT_TRUE(valueOf(rows, QStringLiteral("Force Available")).isEmpty());
    EXPECT_EQ(valueOf(rows, QStringLiteral("Speed held")), QStringLiteral("no"));
}

TEST(ReportDuty, ColumnsLivesAndSentences)
{
    TTruck truck;
    truck.Duty = {{60, 55, TGear::Fifth, {}, {}},
                  {25, 40, TGear::Fifth, 0.03, {}},
                  {15, 30, TGear::Fourth, {}, 1500}};
    const TDutyResult result = DutyLife(truck, truck.Duty);
    ASSERT_TRUE(result.LifeKm);

    const TDutyTable l10 = DutyTable(truck, result, 90, C);
    EXPECT_EQ(l10.Header.size(), 10);
    EXPECT_FALSE(l10.Header.join(' ').contains(QStringLiteral("[1%]")));
    ASSERT_EQ(l10.Lines.size(), 3u);
    EXPECT_EQ(l10.Lines[1][3], QStringLiteral("0.0300"));
    EXPECT_EQ(l10.Lines[2][4], QStringLiteral("1500"));
    EXPECT_EQ(l10.Lines[2][2], QStringLiteral("4th"));
    EXPECT_EQ(l10.Lines[2].back(), QStringLiteral("no mesh load"));
    EXPECT_EQ(l10.Lines[2][7], QString()); // fourth gear: no life, no damage
    EXPECT_EQ(l10.Lines[2][8], QString());
    const double combined = *result.LifeKm / 1000 * 0.621;
    EXPECT_EQ(
        l10.Summary.front(),
        QStringLiteral("Combined life [10%]: %1 thousand miles.").arg(FixedText(combined, 1, C)));

    const TDutyTable r99 = DutyTable(truck, result, 99, C);
    EXPECT_EQ(r99.Header.size(), 11);
    EXPECT_EQ(r99.Header[8], QStringLiteral("Life 000 mi [1%]"));
    ASSERT_EQ(r99.Summary.size(), 2);
    EXPECT_TRUE(r99.Summary[1].contains(FixedText(combined * ReliabilityFactor(99), 1, C)));
}

TEST(ReportDuty, SharesThatDoNotAddUpGiveNoCombinedLife)
{
    TTruck truck;
    truck.Duty = {{60, 55, TGear::Fifth, {}, {}}, {30, 40, TGear::Fifth, {}, {}}};
    const TDutyTable t = DutyTable(truck, DutyLife(truck, truck.Duty), 90, C);
    ASSERT_FALSE(t.Summary.isEmpty());
    EXPECT_TRUE(t.Summary.front().contains(QStringLiteral("No combined life")));
    EXPECT_FALSE(t.Summary.join(' ').contains(QStringLiteral("thousand")));
}

struct TNoteCase {
    const char *Name;
    TDutySegment Segment;
    const char *Note;
};

class DutyNotes : public testing::TestWithParam<TNoteCase>
{
};

TEST_P(DutyNotes, SayWhyASegmentAddsNoDamage)
{
    TTruck truck;
    truck.Duty = {GetParam().Segment, {50, 50, TGear::Fifth, {}, {}}};
    const TDutyTable t = DutyTable(truck, DutyLife(truck, truck.Duty), 90, C);
    ASSERT_EQ(t.Lines.size(), 2u);
    EXPECT_EQ(t.Lines[0].back().toStdString(), GetParam().Note);
    EXPECT_EQ(t.Lines[1].back(), QString());
}

INSTANTIATE_TEST_SUITE_P(
    Report, DutyNotes,
    testing::Values(TNoteCase{"Rated", {50, 40, TGear::Fifth, {}, {}}, ""},
                    TNoteCase{"Fourth", {50, 40, TGear::Fourth, {}, {}}, "no mesh load"},
                    TNoteCase{"Downhill", {50, 40, TGear::Fifth, -0.2, {}}, "coasting"},
                    TNoteCase{"TooFast", {50, 95, TGear::Fifth, {}, {}}, "not held"}),
    [](const testing::TestParamInfo<TNoteCase> &i) { return std::string(i.param.Name); });

TEST(ReportDuty, ASegmentWithoutAnEngineSpeedLeavesNoCombinedLifeAndSaysWhy)
{
    TTruck truck;
    truck.Inputs.OverdriveRatio = 0;
    truck.Duty = {{100, 50, TGear::Fifth, {}, {}}};
    const TDutyResult result = DutyLife(truck, truck.Duty);
    const TDutyTable t = DutyTable(truck, result, 90, C);
    ASSERT_FALSE(result.LifeKm);
    ASSERT_FALSE(t.Summary.isEmpty());
    EXPECT_EQ(
        t.Summary.front(),
        QStringLiteral("No combined life: segment 1: no engine speed gives 50 mph in fifth."));
    EXPECT_EQ(t.Lines[0][5], QString()); // no engine speed shown
    const auto rows = ResultRows(truck, PedalPoint(truck, 50), C);
    EXPECT_TRUE(valueOf(rows, QStringLiteral("Engine speed")).isEmpty());
    EXPECT_TRUE(valueOf(rows, QStringLiteral("Life [10%]")).isEmpty());
}

TEST(ReportRoute, DistancesInTheTrucksUnitAndTripsAtTheReliability)
{
    TRouteSummary route;
    route.DistanceM = 12000;
    route.MovingDistanceM = 10000;
    route.MovingTimeS = 3725;
    route.Pieces = 2;
    route.Trips = 5000;
    TTruck truck;
    auto rows = RouteRows(truck, route, 99, C);
    EXPECT_EQ(valueOf(rows, QStringLiteral("Distance")), QStringLiteral("7.5")); // 12 km in miles
    EXPECT_EQ(valueOf(rows, QStringLiteral("Moving time")), QStringLiteral("1:02"));
    EXPECT_EQ(valueOf(rows, QStringLiteral("Trips within the life [10%]")), QStringLiteral("5000"));
    EXPECT_EQ(valueOf(rows, QStringLiteral("Trips within the life [1%]")),
              C.toString(5000 * ReliabilityFactor(99), 'f', 0));
    truck.LifeInMiles = false;
    rows = RouteRows(truck, route, 90, C);
    EXPECT_EQ(valueOf(rows, QStringLiteral("Distance")), QStringLiteral("12.0"));
}

struct TPaperCase {
    QLocale::Language Language;
    QLocale::Territory Territory;
    QPageSize::PageSizeId Paper;
};

class Paper : public testing::TestWithParam<TPaperCase>
{
};

TEST_P(Paper, FollowsTheLocale)
{
    const auto &c = GetParam();
    EXPECT_EQ(ReportPageSize(QLocale(c.Language, c.Territory)).id(), c.Paper);
}

INSTANTIATE_TEST_SUITE_P(
    Report, Paper,
    testing::Values(TPaperCase{QLocale::English, QLocale::UnitedStates, QPageSize::Letter},
                    TPaperCase{QLocale::English, QLocale::Canada, QPageSize::Letter},
                    TPaperCase{QLocale::Spanish, QLocale::Mexico, QPageSize::Letter},
                    TPaperCase{QLocale::English, QLocale::Philippines, QPageSize::Letter},
                    TPaperCase{QLocale::English, QLocale::UnitedKingdom, QPageSize::A4},
                    TPaperCase{QLocale::German, QLocale::Germany, QPageSize::A4},
                    TPaperCase{QLocale::French, QLocale::Canada, QPageSize::Letter},
                    TPaperCase{QLocale::C, QLocale::AnyTerritory, QPageSize::A4}));

struct TTickCase {
    double Lo, Hi, From, To, Step;
};

class Ticks : public testing::TestWithParam<TTickCase>
{
};

TEST_P(Ticks, AreRoundAndEncloseTheRange)
{
    const auto &c = GetParam();
    const TAxisTicks t = NiceTicks(c.Lo, c.Hi);
    EXPECT_DOUBLE_EQ(t.From, c.From);
    EXPECT_DOUBLE_EQ(t.To, c.To);
    EXPECT_DOUBLE_EQ(t.Step, c.Step);
    EXPECT_LE((t.To - t.From) / t.Step, 10.0 + 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Report, Ticks,
                         testing::Values(TTickCase{0.2, 96.4, 0, 100, 20},
                                         TTickCase{0.3, 155.2, 0, 160, 20},
                                         TTickCase{12, 18, 12, 18, 1}, TTickCase{0, 1, 0, 1, 0.2},
                                         TTickCase{5, 5, 5, 6, 1}));

TEST(ReportLifeMap, ReliabilityCurveOnlyWhenChosenAndTheDotOnlyWithALifeInFifth)
{
    const TTruck truck;
    const TOperatingPoint fifth = PedalPoint(truck, 50);
    TLifeMapPicture pic = LifeMapPictureOf(truck, 90, fifth);
    EXPECT_TRUE(pic.HasCurve());
    EXPECT_TRUE(pic.Adjusted.empty());
    ASSERT_TRUE(pic.Point);
    EXPECT_DOUBLE_EQ(pic.Point->x(), 50);
    EXPECT_GE(pic.Point->y(), pic.Lives.first);
    EXPECT_LE(pic.Point->y(), pic.Lives.second);

    pic = LifeMapPictureOf(truck, 99.9, fifth);
    ASSERT_FALSE(pic.Adjusted.empty());
    EXPECT_LT(pic.Adjusted.front().Points.front().Life, pic.L10.front().Points.front().Life);

    TTruck fourth = truck;
    fourth.Gear = TGear::Fourth;
    EXPECT_FALSE(LifeMapPictureOf(fourth, 90, PedalPoint(fourth, 50)).Point);
    // The curve is fifth gear's whatever gear the truck runs in.
    EXPECT_TRUE(LifeMapPictureOf(fourth, 90, PedalPoint(fourth, 50)).HasCurve());
}

} // namespace
