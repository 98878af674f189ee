// velmora-sim with recorded routes: --route, the four route numbers,
// --write-truck and bad GPX files.
#include "GpxText.h"
#include "SimTestSupport.h"
#include "analysis/DutyCycle.h"
#include "analysis/RouteDuty.h"
#include "analysis/TruckFile.h"
#include "velmora-sim/SimRoute.h"
#include "velmora-sim/SimRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace SimTest;

namespace
{

double Num(const std::string &text)
{
    return std::strtod(text.c_str(), nullptr);
}

// 1 km level at 20 m/s, 1 km up 40 m at 15 m/s, 1 km down 60 m at 25 m/s,
// a point every 20 m.
std::string HillTrack()
{
    using namespace gpxtext;
    const auto ele = [](double d) {
        return d <= 1000 ? 100.0 : d <= 2000 ? 100 + (d - 1000) * 0.04 : 140 - (d - 2000) * 0.06;
    };
    TPiece p = Line(0, 1000, 20, 20, 0, ele);
    const TPiece up = Line(1020, 2000, 20, 15, 50 + 20.0 / 15, ele);
    const TPiece down = Line(2020, 3000, 20, 25, 50 + 1000.0 / 15 + 20.0 / 25, ele);
    p.insert(p.end(), up.begin(), up.end());
    p.insert(p.end(), down.begin(), down.end());
    return Track({p});
}

class SimRoute : public ::testing::Test
{
  protected:
    // A file of this test's own: ctest runs tests in parallel.
    std::string File(const std::string &text, const std::string &suffix = ".gpx")
    {
        const std::string path = Path(suffix);
        std::ofstream(path) << text;
        return path;
    }
    std::string Path(const std::string &suffix)
    {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_'); // parameterised names have one
        const std::string path =
            ::testing::TempDir() + "sim_route_" + name + std::to_string(m_paths.size()) + suffix;
        m_paths.push_back(path);
        return path;
    }
    void TearDown() override
    {
        for (const std::string &p : m_paths)
            std::filesystem::remove(p);
    }

    static TRoute Imported(const std::string &path, const TTruck &truck = {},
                           const TRouteParams &params = {})
    {
        auto r = ImportRoute(path, truck, params);
        EXPECT_TRUE(std::holds_alternative<TRoute>(r));
        return std::get<TRoute>(r);
    }

  private:
    std::vector<std::string> m_paths;
};

TEST_F(SimRoute, DutyPrintsTheRoutesSegmentsAndTheirCombinedLife)
{
    const std::string gpx = File(HillTrack());
    const TRun r = Sim({"--route", gpx, "--duty"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const TRoute route = Imported(gpx);
    const std::vector<std::string> lines = Split(r.Out, '\n');
    ASSERT_EQ(lines.size(), route.Duty.size() + 2);
    ASSERT_GE(route.Duty.size(), 3u);
    TTruck truck;
    truck.Duty = route.Duty;
    const TDutyResult life = DutyLife(truck, route.Duty);
    std::size_t downhill = 0;
    for (std::size_t i = 0; i < route.Duty.size(); ++i) {
        auto row = CsvRow(r.Out, i + 1);
        const TDutySegment &s = route.Duty[i];
        EXPECT_EQ(Num(row["share_pct"]), s.SharePct);
        EXPECT_EQ(Num(row["speed_mph"]), s.SpeedMph);
        EXPECT_EQ(Num(row["gradient"]), s.Gradient.value_or(0));
        EXPECT_EQ(row["gear"], s.Gear == TGear::Fifth ? "5" : "4");
        const bool coasting = life.Points[i].Cause == TLifeCause::Coasting;
        downhill += coasting;
        // Each coasting segment is named on standard error.
        const std::string named = "velmora-sim: warning: segment " + std::to_string(i + 1) +
                                  " is coasting at " + NumberText(s.SpeedMph) + " mph";
        EXPECT_EQ(r.Err.find(named) != std::string::npos, coasting) << i;
    }
    EXPECT_GE(downhill, 1u); // the 6 % descent at 55 mph
    ASSERT_TRUE(life.LifeKm);
    EXPECT_EQ(lines.back(), "all,100,,,,,,,,,,," + NumberText(*life.LifeKm) + ",");

    // The summary is the first line on standard error, worked out by hand
    // where it can be: 3 km, all moving, in 50 + 66.7 + 40 s.
    const std::string first = Split(r.Err, '\n').at(0);
    EXPECT_EQ(first, "velmora-sim: " + RouteSummaryLine(gpx, route.Summary, std::nullopt));
    EXPECT_TRUE(first.starts_with("velmora-sim: route " + gpx +
                                  ": 3.0 km, moving 3.0 km in 2 min 37 s, climb "))
        << first;
    EXPECT_NE(first.find(", 1 piece, 0 points dropped, 0 standing slices; the L10 life allows "),
              std::string::npos)
        << first;
    EXPECT_EQ(Num(first.substr(first.rfind("allows ") + 7)),
              std::round(*life.LifeKm / (route.Summary.MovingDistanceM / 1000)));
}

TEST_F(SimRoute, TheTruckDecidesTheGearsAndTheReliabilityTheSecondTripsFigure)
{
    const std::string gpx = File(HillTrack());
    const std::string path = File(R"({"format":"velmora-truck","version":1,"engine":2,"load":1500,
        "duty":[{"share_pct":100,"speed_mph":10,"gear":4}]})",
                                  ".json");
    const TRun r =
        Sim({"--truck", path, "--route", gpx, "--duty", "--reliability", "99", "--format", "json"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const TTruck truck = std::get<TTruck>(ReadTruckFile(path));
    const TRoute route = Imported(gpx, truck);
    // The file's own list is replaced.
    ASSERT_EQ(Split(r.Out, '\n').size(), route.Duty.size() + 1);
    EXPECT_EQ(r.Out.find("\"speed_mph\":10,"), std::string::npos);
    const std::string first = Split(r.Err, '\n').at(0);
    EXPECT_EQ(first, "velmora-sim: " + RouteSummaryLine(gpx, route.Summary, 99.0));
    EXPECT_TRUE(first.ends_with(" at 99 %")) << first;
}

TEST_F(SimRoute, TheFourNumbersChangeTheSegments)
{
    const std::string gpx = File(HillTrack());
    TRouteParams params;
    params.SliceM = 200;
    params.SmoothM = 0;
    params.SpeedBinMph = 10;
    params.GradientBin = 0.02;
    const TRun r = Sim({"--route", gpx, "--duty", "--slice", "200", "--smooth=0", "--speed-bin",
                        "10", "--gradient-bin", "0.02"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const TRoute route = Imported(gpx, {}, params);
    ASSERT_EQ(Split(r.Out, '\n').size(), route.Duty.size() + 2);
    for (std::size_t i = 0; i < route.Duty.size(); ++i) {
        auto row = CsvRow(r.Out, i + 1);
        EXPECT_EQ(Num(row["speed_mph"]), route.Duty[i].SpeedMph);
        EXPECT_EQ(std::fmod(Num(row["speed_mph"]), 10), 0);
        EXPECT_EQ(Num(row["gradient"]), route.Duty[i].Gradient.value_or(0));
    }
    EXPECT_NE(Split(r.Out, '\n').size(), Split(Sim({"--route", gpx, "--duty"}).Out, '\n').size());
}

TEST_F(SimRoute, WriteTruckSavesTheRoutesDutyListToReadBack)
{
    const std::string gpx = File(HillTrack()); // downhill segments too
    const std::string out = Path(".json");
    const TRun r = Sim({"--route", gpx, "--write-truck", out, "--load", "900", "--engine", "1"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_TRUE(r.Out.empty()) << r.Out;
    EXPECT_TRUE(r.Err.starts_with("velmora-sim: route " + gpx + ": ")) << r.Err;
    auto read = ReadTruckFile(out);
    ASSERT_TRUE(std::holds_alternative<TTruck>(read)) << std::get<TTruckFileError>(read).Message();
    const TTruck &saved = std::get<TTruck>(read);
    TTruck truck;
    truck.Inputs.Load = 900;
    truck.Inputs.EngineIndex = 1;
    EXPECT_EQ(saved.Duty, Imported(gpx, truck).Duty);
    EXPECT_TRUE(std::any_of(saved.Duty.begin(), saved.Duty.end(),
                            [](const TDutySegment &s) { return s.Gradient < 0.0; }));
    EXPECT_EQ(saved.Inputs.Load, 900);
    EXPECT_EQ(saved.Inputs.EngineIndex, 1);

    // The saved truck gives the same duty rows as the route did.
    const TRun fromFile = Sim({"--truck", out, "--duty"});
    const TRun fromRoute = Sim({"--route", gpx, "--duty", "--load", "900", "--engine", "1"});
    EXPECT_EQ(fromFile.Out, fromRoute.Out);

    // Without a route it writes the truck the options describe.
    const std::string plain = Path(".json");
    ASSERT_EQ(Sim({"--write-truck", plain, "--gradient", "0.02"}).Status, 0);
    EXPECT_EQ(std::get<TTruck>(ReadTruckFile(plain)).Inputs.Gradient, 0.02);

    // A file that cannot be written: one line, status 2, no rows.
    const TRun bad = Sim({"--route", gpx, "--duty", "--write-truck", "/nonexistent/dir/t.json"});
    EXPECT_EQ(bad.Status, 2);
    EXPECT_TRUE(bad.Out.empty());
    const std::vector<std::string> lines = Split(bad.Err, '\n');
    ASSERT_EQ(lines.size(), 2u) << bad.Err; // the summary, then the problem
    EXPECT_TRUE(lines[1].starts_with("velmora-sim: /nonexistent/dir/t.json: cannot be written"))
        << lines[1];
}

struct TBadGpx {
    const char *Name;
    std::string Text;
    const char *Problem; // the message must hold this
};

void PrintTo(const TBadGpx &c, std::ostream *os)
{
    *os << c.Name;
}

class SimBadRoute : public SimRoute, public ::testing::WithParamInterface<TBadGpx>
{
};

TEST_P(SimBadRoute, OneLineNamingTheFileAndLineStatus2)
{
    const std::string gpx = File(GetParam().Text);
    const TRun r = Sim({"--route", gpx, "--duty"});
    EXPECT_EQ(r.Status, 2);
    EXPECT_TRUE(r.Out.empty()) << r.Out;
    auto imported = ImportRoute(gpx, TTruck{});
    ASSERT_TRUE(std::holds_alternative<TGpxError>(imported));
    EXPECT_EQ(r.Err, "velmora-sim: " + std::get<TGpxError>(imported).Message() + "\n");
    EXPECT_TRUE(r.Err.starts_with("velmora-sim: " + gpx + ": ")) << r.Err;
    EXPECT_NE(r.Err.find(GetParam().Problem), std::string::npos) << r.Err;
}

const std::string Head = "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" "
                         "xmlns=\"http://www.topografix.com/GPX/1/1\">\n";

INSTANTIATE_TEST_SUITE_P(
    Files, SimBadRoute,
    ::testing::Values(
        TBadGpx{"NotXml", "this is not xml <", "line 1"},
        TBadGpx{"NotGpx", "<?xml version=\"1.0\"?>\n<kml></kml>\n", "line 2"},
        TBadGpx{"RouteOnly", Head + "<rte><rtept lat=\"1\" lon=\"1\"/></rte>\n</gpx>\n",
                "routes carry no times"},
        TBadGpx{"LatitudeOutOfRange",
                Head +
                    "<trk><trkseg>\n<trkpt lat=\"91\" lon=\"0\"><time>2024-05-01T08:00:00Z</time>"
                    "</trkpt>\n</trkseg></trk></gpx>\n",
                "line 4: latitude \"91\" is outside -90 to 90"},
        TBadGpx{"BadTime",
                Head + "<trk><trkseg>\n\n<trkpt lat=\"1\" lon=\"0\"><time>yesterday</time>"
                       "</trkpt>\n</trkseg></trk></gpx>\n",
                "line 5: time \"yesterday\" is not an ISO 8601"},
        TBadGpx{"NeverMoves", gpxtext::Track({{{0, 0.0, std::nullopt}, {1, 60.0, std::nullopt}}}),
                "never moves"}),
    [](const ::testing::TestParamInfo<TBadGpx> &c) { return std::string(c.param.Name); });

TEST(SimRouteFile, AMissingFileIsNamed)
{
    const TRun r = Sim({"--route", "/nonexistent/route.gpx", "--duty"});
    EXPECT_EQ(r.Status, 2);
    EXPECT_TRUE(r.Out.empty());
    EXPECT_TRUE(r.Err.starts_with("velmora-sim: /nonexistent/route.gpx: ")) << r.Err;
    EXPECT_EQ(r.Err.find('\n'), r.Err.size() - 1);
}

// The summary line from a summary worked out by hand.
struct TSummaryCase {
    TRouteSummary Summary;
    std::optional<double> Reliability;
    const char *Line;
};

class RouteSummaryLines : public ::testing::TestWithParam<TSummaryCase>
{
};

TEST_P(RouteSummaryLines, ReadAsOneLine)
{
    EXPECT_EQ(RouteSummaryLine("r.gpx", GetParam().Summary, GetParam().Reliability),
              GetParam().Line);
}

TRouteSummary Summary(double km, double movingKm, double seconds, double climb, std::size_t pieces,
                      std::int64_t dropped, std::size_t standing, std::optional<double> trips,
                      std::size_t withoutEle = 0)
{
    TRouteSummary s;
    s.DistanceM = km * 1000;
    s.MovingDistanceM = movingKm * 1000;
    s.MovingTimeS = seconds;
    s.ClimbM = climb;
    s.Pieces = pieces;
    s.PiecesWithoutElevation = withoutEle;
    s.DroppedJump = dropped;
    s.StandingSlices = standing;
    s.Trips = trips;
    if (trips)
        s.LifeKm = *trips * movingKm;
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RouteSummaryLines,
    ::testing::Values(
        TSummaryCase{Summary(24.36, 23.96, 1692, 311.6, 1, 0, 4, 2540.4), std::nullopt,
                     "route r.gpx: 24.4 km, moving 24.0 km in 28 min 12 s, climb 312 m, 1 piece, "
                     "0 points dropped, 4 standing slices; the L10 life allows 2540 trips"},
        TSummaryCase{Summary(130, 128, 5430, 0, 2, 1, 1, 12.345, 1), 99.0,
                     "route r.gpx: 130.0 km, moving 128.0 km in 1 h 30 min, climb 0 m, 2 pieces "
                     "(1 without elevation, at the truck's gradient), 1 point dropped, 1 standing "
                     "slice; the L10 life allows 12.3 trips, 3.07 at 99 %"},
        TSummaryCase{Summary(3, 3, 59.6, 12, 1, 3, 0, std::nullopt), 95.0,
                     "route r.gpx: 3.0 km, moving 3.0 km in 1 min 00 s, climb 12 m, 1 piece, 3 "
                     "points dropped, 0 standing slices; no combined life, so no trips"},
        TSummaryCase{Summary(3, 3, 600, 12, 1, 0, 0, 0.0), std::nullopt,
                     "route r.gpx: 3.0 km, moving 3.0 km in 10 min 00 s, climb 12 m, 1 piece, 0 "
                     "points dropped, 0 standing slices; the L10 life allows 0 trips"}));

} // namespace
