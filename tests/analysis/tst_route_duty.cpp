#include "analysis/DutyCycle.h"
#include "analysis/Reliability.h"
#include "analysis/RouteDuty.h"

#include "GpxText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace
{

using namespace gpxtext;

double Flat(double)
{
    return 50;
}

TPiece With(TPiece p, double afterM, std::vector<TFix> extra)
{
    std::size_t i = 0;
    while (i < p.size() && p[i].DistM <= afterM)
        ++i;
    p.insert(p.begin() + static_cast<std::ptrdiff_t>(i), extra.begin(), extra.end());
    return p;
}

TPiece Join(TPiece a, const TPiece &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A kilometre at 10 m/s (22.356 mph: the 20 mph bin), level at 50 m.
TPiece Straight()
{
    return Line(0, 1000, 10, 10, 0, Flat);
}

struct TBin {
    double Mph;
    std::optional<double> Gradient;
    double SharePct;
};

struct TRouteCase {
    const char *Name;
    std::vector<TPiece> Pieces;
    std::size_t Slices;
    std::size_t Standing;
    double DistanceM;
    double MovingM;
    double MovingS;
    double ClimbM;
    std::vector<TBin> Bins;
    std::int64_t DroppedNoTime = 0;
    std::int64_t DroppedTime = 0;
    std::int64_t DroppedJump = 0;
    TRouteParams Params = {};
};

class RouteCases : public testing::TestWithParam<TRouteCase>
{
};

TEST_P(RouteCases, GiveTheWorkedOutSegments)
{
    const TRouteCase &c = GetParam();
    const auto read = ParseGpx(Track(c.Pieces), "t.gpx");
    ASSERT_TRUE(std::holds_alternative<TGpxTrack>(read)) << std::get<TGpxError>(read).Message();
    const TTruck truck;
    const TRoute r = RouteFromTrack(truck, std::get<TGpxTrack>(read), c.Params);
    const TRouteSummary &s = r.Summary;
    EXPECT_EQ(s.Slices, c.Slices);
    EXPECT_EQ(s.StandingSlices, c.Standing);
    EXPECT_NEAR(s.DistanceM, c.DistanceM, 1e-5);
    EXPECT_NEAR(s.MovingDistanceM, c.MovingM, 1e-5);
    EXPECT_NEAR(s.MovingTimeS, c.MovingS, 1e-5);
    EXPECT_NEAR(s.ClimbM, c.ClimbM, 1e-5);
    EXPECT_EQ(s.DroppedNoTime, c.DroppedNoTime);
    EXPECT_EQ(s.DroppedTimeNotIncreasing, c.DroppedTime);
    EXPECT_EQ(s.DroppedJump, c.DroppedJump);
    EXPECT_EQ(s.Pieces, c.Pieces.size());
    ASSERT_EQ(r.Duty.size(), c.Bins.size());
    for (std::size_t i = 0; i < c.Bins.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(r.Duty[i].SpeedMph, c.Bins[i].Mph);
        ASSERT_EQ(r.Duty[i].Gradient.has_value(), c.Bins[i].Gradient.has_value());
        if (c.Bins[i].Gradient) {
            EXPECT_NEAR(*r.Duty[i].Gradient, *c.Bins[i].Gradient, 1e-12);
        }
        EXPECT_NEAR(r.Duty[i].SharePct, c.Bins[i].SharePct, 1e-9);
        EXPECT_FALSE(r.Duty[i].Load); // the truck's
        EXPECT_EQ(r.Duty[i].Gear, RouteGear(truck, r.Duty[i].SpeedMph, r.Duty[i].Gradient));
    }
    EXPECT_EQ(CheckDutyShares(r.Duty), "");
}

TRouteParams Unsmoothed()
{
    TRouteParams p;
    p.SmoothM = 0;
    return p;
}

INSTANTIATE_TEST_SUITE_P(
    Tracks, RouteCases,
    testing::Values(
        TRouteCase{
            "StraightAtConstantSpeed", {Straight()}, 10, 0, 1000, 1000, 100, 0, {{20, 0.0, 100}}},
        // Standing a minute at 450 m: that slice takes 70 s for 100 m, under 5 mph.
        TRouteCase{"StopInTheMiddle",
                   {Join(Line(0, 450, 10, 10, 0, Flat), Line(450, 1000, 10, 10, 105, Flat))},
                   10,
                   1,
                   1000,
                   900,
                   90,
                   0,
                   {{20, 0.0, 100}}},
        // Up 4 % for a kilometre and down again; smoothing over +-100 m rounds
        // the foot, the top and the end into half-gradient slices, and the
        // climb of the smoothed profile is 38 - 2 m.
        TRouteCase{"ClimbThenDescent",
                   {Line(0, 2000, 10, 10, 0,
                         [](double d) { return d <= 1000 ? 0.04 * d : 40 - 0.04 * (d - 1000); })},
                   20,
                   0,
                   2000,
                   2000,
                   200,
                   36,
                   {{20, -0.04, 40}, {20, -0.02, 10}, {20, 0.02, 10}, {20, 0.04, 40}}},
        // Five kilometres and an hour apart: joined, they would make one slice
        // at an absurd speed or a long standing one.
        TRouteCase{"TwoPiecesNeverJoined",
                   {Line(0, 500, 10, 10, 0, Flat), Line(5000, 5500, 10, 20, 3600, Flat)},
                   10,
                   0,
                   1000,
                   1000,
                   75,
                   0,
                   {{20, 0.0, 50}, {45, 0.0, 50}}},
        TRouteCase{"PointJumpDropped",
                   {With(Straight(), 550, {{5550, 55.5, 50.0}})},
                   10,
                   0,
                   1000,
                   1000,
                   100,
                   0,
                   {{20, 0.0, 100}},
                   0,
                   0,
                   1},
        TRouteCase{"EqualAndBackwardTimesDropped",
                   {With(Straight(), 300, {{305, 30.0, 50.0}, {306, 29.0, 50.0}})},
                   10,
                   0,
                   1000,
                   1000,
                   100,
                   0,
                   {{20, 0.0, 100}},
                   0,
                   2},
        TRouteCase{"UntimedPointDropped",
                   {With(Straight(), 450, {{455, std::nullopt, 50.0}})},
                   10,
                   0,
                   1000,
                   1000,
                   100,
                   0,
                   {{20, 0.0, 100}},
                   1},
        // 100 m in 9.936 s is 22.5 mph exactly: half-way, up to 25.
        TRouteCase{"HalfWaySpeedGoesUp",
                   {Line(0, 1000, 100, 100 / 9.936, 0, Flat)},
                   10,
                   0,
                   1000,
                   1000,
                   99.36,
                   0,
                   {{25, 0.0, 100}}},
        TRouteCase{"HalfWayClimbGoesUp",
                   {Line(0, 1000, 10, 10, 0, [](double d) { return 0.025 * d; })},
                   10,
                   0,
                   1000,
                   1000,
                   100,
                   25,
                   {{20, 0.03, 100}},
                   0,
                   0,
                   0,
                   Unsmoothed()},
        TRouteCase{"HalfWayDescentGoesDown",
                   {Line(0, 1000, 10, 10, 0, [](double d) { return 100 - 0.025 * d; })},
                   10,
                   0,
                   1000,
                   1000,
                   100,
                   0,
                   {{20, -0.03, 100}},
                   0,
                   0,
                   0,
                   Unsmoothed()},
        TRouteCase{"NoElevationUsesTheTrucksGradient",
                   {Line(0, 1000, 10, 10, 0)},
                   10,
                   0,
                   1000,
                   1000,
                   100,
                   0,
                   {{20, std::nullopt, 100}}},
        TRouteCase{"ShortLastSliceDropped",
                   {Join(Straight(), {{1005, 100.5, 50.0}})},
                   10,
                   0,
                   1005,
                   1000,
                   100,
                   0,
                   {{20, 0.0, 100}}},
        TRouteCase{"LastSliceOver10mKept",
                   {Join(Straight(), {{1012, 101.2, 50.0}})},
                   11,
                   0,
                   1012,
                   1012,
                   101.2,
                   0,
                   {{20, 0.0, 100}}},
        TRouteCase{"LongerSlicesWiderBins",
                   {Line(0, 1000, 10, 10, 0, Flat)},
                   2,
                   0,
                   1000,
                   1000,
                   100,
                   0,
                   {{21, 0.0, 100}},
                   0,
                   0,
                   0,
                   TRouteParams{500, 100, 3, 0.05}}),
    [](const testing::TestParamInfo<TRouteCase> &i) { return std::string(i.param.Name); });

TEST(RouteSlices, StandingCountsInTheSliceWhereTheTruckStood)
{
    struct TStop {
        double AtM;
        double EndM;        // of the piece
        double SliceStartM; // the standing slice
    };
    // A stop exactly on a slice boundary is left out: the geodesic sums put
    // it a hair to either side.
    for (const TStop stop : {TStop{450, 1000, 400}, TStop{495, 1000, 400}, TStop{505, 1000, 500},
                             TStop{0, 1000, 0}, TStop{995, 995, 900}}) {
        SCOPED_TRACE(stop.AtM);
        TPiece p = Line(0, stop.AtM, 5, 10, 0, Flat);
        const TPiece rest = Line(stop.AtM, stop.EndM, 5, 10, stop.AtM / 10 + 60, Flat);
        p.insert(p.end(), rest.begin(), rest.end());
        const TGpxTrack track = std::get<TGpxTrack>(ParseGpx(Track({p}), "t.gpx"));
        const std::vector<TRouteSlice> slices = SliceTrack(KeepPoints(track), {});
        ASSERT_EQ(slices.size(), 10u);
        double total = 0;
        for (const TRouteSlice &s : slices) {
            EXPECT_EQ(s.Standing(), s.StartM == stop.SliceStartM) << s.StartM;
            total += s.TimeS;
        }
        EXPECT_NEAR(total, stop.EndM / 10 + 60, 1e-6); // every second is in some slice
    }
}

TEST(RouteSlices, SmoothedElevationIsTheMeanOverTheWindow)
{
    // A 10 m ridge at 100 m, and a piece whose first and third points have no elevation.
    TRoutePiece ridge{{{0, 0, 0.0}, {100, 10, 10.0}, {200, 20, 0.0}}};
    TRoutePiece gaps{
        {{0, 0, std::nullopt}, {100, 10, 10.0}, {200, 20, std::nullopt}, {300, 30, 20.0}}};
    struct TCase {
        const TRoutePiece *Piece;
        double At;
        double Half;
        double Mean;
    };
    const TCase cases[] = {{&ridge, 100, 100, 5}, {&ridge, 0, 100, 5},   {&ridge, 50, 50, 5},
                           {&ridge, 50, 0, 5},    {&ridge, 100, 0, 10},  {&ridge, 200, 50, 2.5},
                           {&ridge, 100, 1e6, 5}, {&gaps, 0, 0, 10},     {&gaps, 200, 0, 15},
                           {&gaps, 50, 50, 10},   {&gaps, 250, 50, 17.5}};
    for (const TCase &c : cases) {
        const std::vector<double> m = SmoothedElevations(*c.Piece, {c.At}, c.Half);
        ASSERT_EQ(m.size(), 1u);
        EXPECT_DOUBLE_EQ(m[0], c.Mean) << c.At << " +- " << c.Half;
    }
    EXPECT_TRUE(SmoothedElevations(TRoutePiece{{{0, 0, {}}, {100, 10, {}}}}, {50}, 10).empty());
}

TEST(RouteSlices, JumpsAreMeasuredAgainstTheLastKeptPoint)
{
    // 199 km/h is kept, 201 km/h dropped; the point after a dropped one is
    // measured from the one before it.
    const double kmh = 1000.0 / 3600;
    const TPiece p{{0, 0.0, {}},
                   {199 * kmh, 1.0, {}},
                   {199 * kmh + 201 * kmh, 2.0, {}},
                   {199 * kmh + 2 * 150 * kmh, 3.0, {}}};
    const TKeptTrack kept = KeepPoints(std::get<TGpxTrack>(ParseGpx(Track({p}), "t.gpx")));
    ASSERT_EQ(kept.Pieces.size(), 1u);
    EXPECT_EQ(kept.Pieces[0].Points.size(), 3u);
    EXPECT_EQ(kept.DroppedJump, 1);
    EXPECT_NEAR(kept.Pieces[0].LengthM(), 199 * kmh + 300 * kmh, 1e-6);
}

struct TBinCase {
    double Value;
    double Bin;
    double Expected;
};

class RoundToBinCases : public testing::TestWithParam<TBinCase>
{
};

TEST_P(RoundToBinCases, HalvesGoAwayFromZero)
{
    EXPECT_DOUBLE_EQ(RoundToBin(GetParam().Value, GetParam().Bin), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Bins, RoundToBinCases,
                         testing::Values(TBinCase{22.5, 5, 25}, TBinCase{22.49, 5, 20},
                                         TBinCase{17.5, 5, 20}, TBinCase{0.015, 0.01, 0.02},
                                         TBinCase{-0.015, 0.01, -0.02},
                                         TBinCase{0.0149, 0.01, 0.01},
                                         TBinCase{-0.0051, 0.01, -0.01}, TBinCase{0.004, 0.01, 0},
                                         TBinCase{0.035, 0.01, 0.04}, TBinCase{0.045, 0.01, 0.05},
                                         TBinCase{62.4, 5, 60}));

TEST(RouteSegments, SpeedsAndGradientsBeyondTheBinsGoToTheEndBins)
{
    const TTruck truck;
    std::vector<TRouteSlice> slices(3);
    slices[0] = {
        0, 0, 100, 100 / (130 / 2.2356), 70.0,
    };                                                    // 130 mph, 0.7 up
    slices[1] = {0, 100, 100, 100 / (6 / 2.2356), -60.0}; // 6 mph, 0.6 down
    slices[2] = {0, 200, 100, 100 / (4 / 2.2356), 0.0};   // standing
    const std::vector<TDutySegment> duty = RouteSegments(truck, slices, {});
    ASSERT_EQ(duty.size(), 2u);
    EXPECT_EQ(duty[0].SpeedMph, 5);
    EXPECT_DOUBLE_EQ(*duty[0].Gradient, -0.5);
    EXPECT_EQ(duty[1].SpeedMph, 100);
    EXPECT_DOUBLE_EQ(*duty[1].Gradient, 0.5);
    EXPECT_EQ(duty[0].SharePct, 50);
}

struct TGearCase {
    double Mph;
    std::optional<double> Gradient;
    TGear Gear;
};

class RouteGears : public testing::TestWithParam<TGearCase>
{
};

TEST_P(RouteGears, FifthWhereItHoldsElseFourth)
{
    const TTruck truck;
    EXPECT_EQ(RouteGear(truck, GetParam().Mph, GetParam().Gradient), GetParam().Gear);
}

INSTANTIATE_TEST_SUITE_P(Gears, RouteGears,
                         testing::Values(TGearCase{55, 0.0, TGear::Fifth},
                                         TGearCase{55, std::nullopt, TGear::Fifth},
                                         TGearCase{50, -0.1, TGear::Fifth},
                                         TGearCase{50, 0.2, TGear::Fourth},
                                         TGearCase{100, 0.0, TGear::Fourth}));

TEST(RouteSummary, TripsAreTheLifeOverTheMovingDistance)
{
    const TTruck truck;
    const TGpxTrack track = std::get<TGpxTrack>(ParseGpx(
        Track({Join(Line(0, 450, 10, 25, 0, Flat), Line(450, 3000, 10, 25, 78, Flat))}), "t.gpx"));
    const TRoute r = RouteFromTrack(truck, track, {});
    ASSERT_TRUE(r.Summary.LifeKm);
    EXPECT_DOUBLE_EQ(*r.Summary.LifeKm, *DutyLife(truck, r.Duty).LifeKm);
    EXPECT_NEAR(r.Summary.MovingDistanceM, 2900, 1e-6); // the stop's slice wears nothing
    EXPECT_NEAR(*r.Summary.Trips, *r.Summary.LifeKm / 2.9, 1e-9 * *r.Summary.Trips);
    EXPECT_DOUBLE_EQ(*TripsAt(r.Summary, 90), *r.Summary.Trips);
    EXPECT_DOUBLE_EQ(*TripsAt(r.Summary, 99), *r.Summary.Trips * ReliabilityFactor(99));
    EXPECT_FALSE(TripsAt(r.Summary, 80));
}

TEST(ImportRoute, AFileBecomesADutyListOrAMessage)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("route_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string moving = (dir / "moving.gpx").string();
    const std::string parked = (dir / "parked.gpx").string();
    std::ofstream(moving) << Track({Straight()});
    std::ofstream(parked) << Track({{{0, 0.0, {}}, {1, 100.0, {}}, {2, 200.0, {}}}});

    const auto ok = ImportRoute(moving, TTruck{});
    ASSERT_TRUE(std::holds_alternative<TRoute>(ok)) << std::get<TGpxError>(ok).Message();
    EXPECT_EQ(std::get<TRoute>(ok).Duty.size(), 1u);

    const auto still = ImportRoute(parked, TTruck{});
    ASSERT_TRUE(std::holds_alternative<TGpxError>(still));
    EXPECT_EQ(std::get<TGpxError>(still).Message(),
              parked + ": the track never moves: no slice is at 5 mph or faster");
    fs::remove_all(dir);
}

struct TParamCase {
    TRouteParams Params;
    std::string Problem;
};

class RouteParamChecks : public testing::TestWithParam<TParamCase>
{
};

TEST_P(RouteParamChecks, RefuseOutsideTheirRanges)
{
    const TParamCase &c = GetParam();
    EXPECT_EQ(CheckRouteParams(c.Params), c.Problem);
    // Unchecked numbers never reach the slicing (a 0 m slice would never end).
    const TKeptTrack track =
        KeepPoints(std::get<TGpxTrack>(ParseGpx(Track({Straight()}), "t.gpx")));
    if (c.Problem.empty()) {
        EXPECT_NO_THROW(RouteSegments(TTruck{}, SliceTrack(track, c.Params), c.Params));
    } else {
        EXPECT_THROW(SliceTrack(track, c.Params), std::invalid_argument);
        EXPECT_THROW(RouteSegments(TTruck{}, {}, c.Params), std::invalid_argument);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, RouteParamChecks,
    testing::Values(
        TParamCase{{}, ""}, TParamCase{{10, 0, 1, 0.001}, ""},
        TParamCase{{10000, 5000, 20, 0.1}, ""},
        TParamCase{{9.9, 100, 5, 0.01}, "the slice length must be from 10 to 10000, not 9.9"},
        TParamCase{{100, -1, 5, 0.01}, "the smoothing distance must be from 0 to 5000, not -1"},
        TParamCase{{100, 100, 0, 0.01}, "the speed bin must be from 1 to 20, not 0"},
        TParamCase{{0, 100, 5, 0.01}, "the slice length must be from 10 to 10000, not 0"},
        TParamCase{{100, 100, 5, 0.2}, "the gradient bin must be from 0.001 to 0.1, not 0.2"},
        TParamCase{{std::nan(""), 100, 5, 0.01},
                   "the slice length must be from 10 to 10000, not nan"}));

} // namespace
