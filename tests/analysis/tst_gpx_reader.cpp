#include "analysis/GpxReader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace
{

namespace fs = std::filesystem;

constexpr double May1 = 1714550400; // 2024-05-01T08:00:00Z

// The same three points in each file: two timed with elevation, one without.
const char *const Points = R"(
      <trkpt lat="51.5" lon="-0.125"><ele>12.5</ele><time>2024-05-01T08:00:00Z</time></trkpt>
      <trkpt lat="51.501" lon="-0.124"><ele>13</ele><time>2024-05-01T10:00:10+02:00</time></trkpt>
      <trkpt lat="51.502" lon="-0.123"><time>2024-05-01T08:00:20.5Z</time></trkpt>
)";

std::string Wrap(const std::string &open, const std::string &close,
                 const std::string &points = Points)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + open + points + close;
}

struct TVersionCase {
    const char *Name;
    std::string Text;
};

class GpxVersions : public testing::TestWithParam<TVersionCase>
{
};

TEST_P(GpxVersions, ReadTheSameTrack)
{
    const auto r = ParseGpx(GetParam().Text, "t.gpx");
    ASSERT_TRUE(std::holds_alternative<TGpxTrack>(r)) << std::get<TGpxError>(r).Message();
    const TGpxTrack &t = std::get<TGpxTrack>(r);
    ASSERT_EQ(t.Pieces.size(), 1u);
    const auto &p = t.Pieces[0];
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(t.PointsRead, 3);
    EXPECT_EQ(t.DroppedNoTime, 0);
    EXPECT_EQ(p[0].Lat, 51.5);
    EXPECT_EQ(p[0].Lon, -0.125);
    EXPECT_EQ(p[0].Time, May1);
    EXPECT_EQ(p[0].Ele, 12.5);
    EXPECT_EQ(p[1].Time, May1 + 10);
    EXPECT_EQ(p[1].Ele, 13.0);
    EXPECT_EQ(p[2].Lat, 51.502);
    EXPECT_EQ(p[2].Time, May1 + 20.5);
    EXPECT_FALSE(p[2].Ele);
}

INSTANTIATE_TEST_SUITE_P(
    Files, GpxVersions,
    testing::Values(
        TVersionCase{
            "Gpx11",
            Wrap("<gpx version=\"1.1\" creator=\"x\" xmlns=\"http://www.topografix.com/GPX/1/1\">"
                 "<trk><name>a</name><trkseg>",
                 "</trkseg></trk></gpx>")},
        TVersionCase{"Gpx10",
                     Wrap("<gpx version=\"1.0\" xmlns=\"http://www.topografix.com/GPX/1/0\">"
                          "<time>2020-01-01T00:00:00Z</time><trk><trkseg>",
                          "</trkseg></trk></gpx>")},
        TVersionCase{"NoNamespace",
                     Wrap("<gpx version=\"1.1\"><trk><trkseg>", "</trkseg></trk></gpx>")},
        TVersionCase{
            "PrefixedNamespace",
            Wrap(
                "<g:gpx xmlns:g=\"http://www.topografix.com/GPX/1/1\"><g:trk><g:trkseg>",
                "</g:trkseg></g:trk></g:gpx>",
                R"(<g:trkpt lat="51.5" lon="-0.125"><g:ele>12.5</g:ele><g:time>2024-05-01T08:00:00Z</g:time></g:trkpt>
<g:trkpt lat="51.501" lon="-0.124"><g:ele>13</g:ele><g:time>2024-05-01T10:00:10+02:00</g:time></g:trkpt>
<g:trkpt lat="51.502" lon="-0.123"><g:time>2024-05-01T08:00:20.5Z</g:time></g:trkpt>)")},
        // Extensions, waypoints, metadata and other namespaces hold times and
        // elevations of their own that are not the points'.
        TVersionCase{"ExtensionsAndOtherNamespaces",
                     "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n"
                     R"(<gpx version="1.1" xmlns="http://www.topografix.com/GPX/1/1"
     xmlns:tpx="http://www.garmin.com/xmlschemas/TrackPointExtension/v1" xmlns:o="urn:other">
  <metadata><time>2019-01-01T00:00:00Z</time></metadata>
  <wpt lat="1" lon="1"><ele>999</ele><time>2019-01-01T00:00:00Z</time></wpt>
  <rte><rtept lat="2" lon="2"/></rte>
  <o:trk><o:trkseg><o:trkpt lat="3" lon="3"><o:time>2019-01-01T00:00:00Z</o:time></o:trkpt></o:trkseg></o:trk>
  <trk><trkseg>
    <trkpt lat=" 51.5 " lon="-0.125"><ele>12.5</ele><o:time>not a time</o:time><time>2024-05-01T08:00:00Z</time>
      <extensions><tpx:TrackPointExtension><tpx:hr>140</tpx:hr></tpx:TrackPointExtension>
        <time>garbage</time><ele>x</ele></extensions></trkpt>
    <trkpt lat="+51.501" lon="-0.124"><ele> 13 </ele><time><![CDATA[2024-05-01T10:00:10+02:00]]></time></trkpt>
    <!-- a comment --><?pi data?>
    <trkpt lat="51.502" lon="-0.123"><time>2024-05-01T08:00:20.5Z</time></trkpt>
  </trkseg></trk>
</gpx>)"}),
    [](const testing::TestParamInfo<TVersionCase> &i) { return std::string(i.param.Name); });

TEST(GpxReader, EveryTrksegIsItsOwnPieceAndUntimedPointsAreCounted)
{
    const std::string text = R"(<gpx xmlns="http://www.topografix.com/GPX/1/1">
<trk><trkseg>
  <trkpt lat="1" lon="1"><time>2024-05-01T08:00:00Z</time></trkpt>
  <trkpt lat="1.1" lon="1"/>
</trkseg><trkseg>
  <trkpt lat="2" lon="1"/>
</trkseg><trkseg/>
<trkseg><trkpt lat="3" lon="1"><time>2024-05-01T09:00:00Z</time></trkpt></trkseg></trk>
<trk><trkseg><trkpt lat="4" lon="1"><time>2024-05-01T10:00:00Z</time></trkpt>
  <trkpt lat="5" lon="1"><time>2024-05-01T11:00:00Z</time></trkpt></trkseg></trk>
</gpx>)";
    const auto r = ParseGpx(text, "t.gpx");
    ASSERT_TRUE(std::holds_alternative<TGpxTrack>(r)) << std::get<TGpxError>(r).Message();
    const TGpxTrack &t = std::get<TGpxTrack>(r);
    ASSERT_EQ(t.Pieces.size(), 3u); // the untimed and the empty pieces are left out
    EXPECT_EQ(t.Pieces[0].size(), 1u);
    EXPECT_EQ(t.Pieces[1][0].Lat, 3);
    EXPECT_EQ(t.Pieces[2].size(), 2u);
    EXPECT_EQ(t.PointsRead, 6);
    EXPECT_EQ(t.DroppedNoTime, 2);
}

struct TBadCase {
    const char *Name;
    std::string Text;
    TGpxProblem Kind;
    std::string Message;
    TGpxLimits Limits = {};
};

class GpxBadFiles : public testing::TestWithParam<TBadCase>
{
};

TEST_P(GpxBadFiles, RefusedWithFileLineAndProblem)
{
    const TBadCase &c = GetParam();
    const auto r = ParseGpx(c.Text, "bad.gpx", c.Limits);
    ASSERT_TRUE(std::holds_alternative<TGpxError>(r));
    const TGpxError &e = std::get<TGpxError>(r);
    EXPECT_EQ(e.Kind, c.Kind);
    EXPECT_EQ(e.Message(), c.Message);
}

const std::string Head = "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\">\n<trk><trkseg>\n";
const std::string Tail = "</trkseg></trk>\n</gpx>\n";
std::string OnePoint(const std::string &attrs, const std::string &inner)
{
    return Head + "<trkpt " + attrs + ">" + inner + "</trkpt>\n" + Tail;
}
const std::string Timed = "<time>2024-05-01T08:00:00Z</time>";
const std::string Laughs = R"(<?xml version="1.0"?>
<!DOCTYPE gpx [
 <!ENTITY a "ha">
 <!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;">
 <!ENTITY c "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;">
 <!ENTITY d "&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;">
 <!ENTITY e "&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;">
 <!ENTITY f "&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;">
 <!ENTITY g "&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;">
 <!ENTITY h "&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;">
 <!ENTITY i "&h;&h;&h;&h;&h;&h;&h;&h;&h;&h;">
]>
<gpx xmlns="http://www.topografix.com/GPX/1/1"><trk><trkseg><trkpt lat="1" lon="1"><time>&i;</time></trkpt></trkseg></trk></gpx>
)";
const std::string Doctype =
    "the file has a DOCTYPE; GPX needs none, and its entities are never read";

INSTANTIATE_TEST_SUITE_P(
    Cases, GpxBadFiles,
    testing::Values(
        TBadCase{"NotXml", "this is not XML", TGpxProblem::NotXml,
                 "bad.gpx: line 1: not well-formed XML: syntax error"},
        TBadCase{"Empty", "", TGpxProblem::NotXml,
                 "bad.gpx: line 1: not well-formed XML: no element found"},
        TBadCase{"MismatchedTag", Head + "<trkpt lat=\"1\" lon=\"1\">\n</trkseg>",
                 TGpxProblem::NotXml, "bad.gpx: line 4: not well-formed XML: mismatched tag"},
        TBadCase{"Truncated", Head + "<trkpt lat=\"1\" lon=\"1\">" + Timed, TGpxProblem::NotXml,
                 "bad.gpx: line 3: not well-formed XML: no element found"},
        TBadCase{"NotGpx", "<?xml version=\"1.0\"?>\n<kml><Document/></kml>", TGpxProblem::NotGpx,
                 "bad.gpx: line 2: not a GPX file: the root element is \"kml\", not gpx"},
        TBadCase{"GpxOfAnotherNamespace", "<gpx xmlns=\"urn:x\"/>", TGpxProblem::NotGpx,
                 "bad.gpx: line 1: not a GPX file: the root element is \"gpx\" in namespace "
                 "\"urn:x\", not gpx"},
        TBadCase{
            "RouteOnly",
            "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\">\n<metadata/>\n<rte>"
            "<rtept lat=\"1\" lon=\"1\"/></rte>\n</gpx>",
            TGpxProblem::RouteOnly,
            "bad.gpx: line 3: the file holds a route (<rte>) but no track; routes carry no times, "
            "so only a recorded track (<trk>) can be read"},
        TBadCase{
            "NoTrack",
            "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\">\n<wpt lat=\"1\" lon=\"1\"/>\n</gpx>",
            TGpxProblem::NoTrack, "bad.gpx: line 3: the file holds no track (<trk>)"},
        TBadCase{"TrackWithoutTimes",
                 "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\">\n\n<trk><trkseg>"
                 "<trkpt lat=\"1\" lon=\"1\"/><trkpt lat=\"2\" lon=\"1\"/></trkseg></trk></gpx>",
                 TGpxProblem::NoTimedPoint, "bad.gpx: line 3: the track has no point with a time"},
        TBadCase{"EmptyTrack", "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\"><trk/></gpx>",
                 TGpxProblem::NoTimedPoint, "bad.gpx: line 1: the track has no point with a time"},
        TBadCase{"LatitudeAbove90", OnePoint("lat=\"90.000001\" lon=\"0\"", Timed),
                 TGpxProblem::BadCoordinate,
                 "bad.gpx: line 3: latitude \"90.000001\" is outside -90 to 90"},
        TBadCase{"LatitudeBelow90", OnePoint("lat=\"-91\" lon=\"0\"", Timed),
                 TGpxProblem::BadCoordinate,
                 "bad.gpx: line 3: latitude \"-91\" is outside -90 to 90"},
        TBadCase{"LongitudeAbove180", OnePoint("lat=\"0\" lon=\"180.5\"", Timed),
                 TGpxProblem::BadCoordinate,
                 "bad.gpx: line 3: longitude \"180.5\" is outside -180 to 180"},
        TBadCase{"LongitudeBelow180", OnePoint("lat=\"0\" lon=\"-1e3\"", Timed),
                 TGpxProblem::BadCoordinate,
                 "bad.gpx: line 3: longitude \"-1e3\" is outside -180 to 180"},
        TBadCase{"LatitudeNotANumber", OnePoint("lat=\"north\" lon=\"0\"", Timed),
                 TGpxProblem::BadCoordinate, "bad.gpx: line 3: latitude \"north\" is not a number"},
        TBadCase{"LatitudeNan", OnePoint("lat=\"nan\" lon=\"0\"", Timed),
                 TGpxProblem::BadCoordinate, "bad.gpx: line 3: latitude \"nan\" is not a number"},
        TBadCase{"LongitudeDecimalComma", OnePoint("lat=\"0\" lon=\"1,5\"", Timed),
                 TGpxProblem::BadCoordinate, "bad.gpx: line 3: longitude \"1,5\" is not a number"},
        TBadCase{"LongitudeMissing", OnePoint("lat=\"0\"", Timed), TGpxProblem::BadCoordinate,
                 "bad.gpx: line 3: a track point has no lon"},
        TBadCase{"TimeUnparsable", OnePoint("lat=\"0\" lon=\"0\"", "\n<time>yesterday</time>"),
                 TGpxProblem::BadTime,
                 "bad.gpx: line 4: time \"yesterday\" is not an ISO 8601 date and time"},
        TBadCase{"TimeOnNoDay",
                 OnePoint("lat=\"0\" lon=\"0\"", "<time>2024-02-30T08:00:00Z</time>"),
                 TGpxProblem::BadTime,
                 "bad.gpx: line 3: time \"2024-02-30T08:00:00Z\" is not an ISO 8601 date and time"},
        TBadCase{"TimeEmpty", OnePoint("lat=\"0\" lon=\"0\"", "<time/>"), TGpxProblem::BadTime,
                 "bad.gpx: line 3: time \"\" is not an ISO 8601 date and time"},
        TBadCase{
            "TimeQuotedEscapedAndCut",
            OnePoint("lat=\"0\" lon=\"0\"", "<time>\"a\"\tb" + std::string(100, 'x') + "</time>"),
            TGpxProblem::BadTime,
            "bad.gpx: line 3: time \"\\\"a\\\"\\x09b" + std::string(55, 'x') +
                "...\" is not an ISO 8601 date and time"},
        TBadCase{"ElevationUnparsable", OnePoint("lat=\"0\" lon=\"0\"", Timed + "<ele>high</ele>"),
                 TGpxProblem::BadElevation, "bad.gpx: line 3: elevation \"high\" is not a number"},
        TBadCase{"ElevationInfinite", OnePoint("lat=\"0\" lon=\"0\"", "<ele>1e999</ele>"),
                 TGpxProblem::BadElevation, "bad.gpx: line 3: elevation \"1e999\" is not a number"},
        TBadCase{"TooManyPoints",
                 Head +
                     "<trkpt lat=\"0\" lon=\"0\"/><trkpt lat=\"0\" lon=\"0\"/>\n<trkpt lat=\"0\" "
                     "lon=\"0\"/>" +
                     Tail,
                 TGpxProblem::TooManyPoints,
                 "bad.gpx: line 4: the track has more than 2 points",
                 {1000, 2}},
        TBadCase{"TooLarge",
                 OnePoint("lat=\"0\" lon=\"0\"", Timed),
                 TGpxProblem::TooLarge,
                 "bad.gpx: the file is larger than 100 bytes, more than a GPX track needs",
                 {100, 10}},
        TBadCase{"BillionLaughs", Laughs, TGpxProblem::Doctype, "bad.gpx: line 2: " + Doctype},
        TBadCase{
            "ExternalEntity",
            "<?xml version=\"1.0\"?>\n<!DOCTYPE gpx [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>\n"
            "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><trkseg><trkpt lat=\"1\" "
            "lon=\"1\">"
            "<time>&x;</time></trkpt></trkseg></trk></gpx>",
            TGpxProblem::Doctype, "bad.gpx: line 2: " + Doctype},
        TBadCase{"ExternalDtd",
                 "<!DOCTYPE gpx SYSTEM \"/etc/passwd\">\n<gpx "
                 "xmlns=\"http://www.topografix.com/GPX/1/1\"/>",
                 TGpxProblem::Doctype, "bad.gpx: line 1: " + Doctype},
        TBadCase{"UndeclaredEntity", OnePoint("lat=\"0\" lon=\"0\"", "<time>&x;</time>"),
                 TGpxProblem::NotXml, "bad.gpx: line 3: not well-formed XML: undefined entity"}),
    [](const testing::TestParamInfo<TBadCase> &i) { return std::string(i.param.Name); });

class GpxFiles : public testing::Test
{
  protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("gpx_reader_" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Write(const std::string &name, const std::string &text)
    {
        const fs::path p = m_dir / name;
        std::ofstream(p, std::ios::binary) << text;
        return p.string();
    }

    fs::path m_dir;
};

TEST_F(GpxFiles, AFileReadInChunksGivesWhatTheTextGives)
{
    std::string points;
    for (int i = 0; i < 3000; ++i) // about 240 KB: several chunks
        points += "<trkpt lat=\"" + std::to_string(i * 1e-5) +
                  "\" lon=\"0\"><time>2024-05-01T08:" + std::to_string(10 + i / 60) + ":" +
                  (i % 60 < 10 ? "0" : "") + std::to_string(i % 60) + "Z</time></trkpt>\n";
    const std::string text = Head + points + Tail;
    const std::string path = Write("long.gpx", text);
    std::uint64_t calls = 0, last = 0;
    const auto fromFile = ReadGpxFile(path, {}, [&](std::uint64_t done, std::uint64_t total) {
        ++calls;
        EXPECT_EQ(total, text.size());
        EXPECT_GT(done, last);
        last = done;
        return true;
    });
    const auto fromText = ParseGpx(text, path);
    ASSERT_TRUE(std::holds_alternative<TGpxTrack>(fromFile))
        << std::get<TGpxError>(fromFile).Message();
    ASSERT_TRUE(std::holds_alternative<TGpxTrack>(fromText));
    const auto &a = std::get<TGpxTrack>(fromFile).Pieces;
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].size(), 3000u);
    EXPECT_EQ(a[0][2999].Time, std::get<TGpxTrack>(fromText).Pieces[0][2999].Time);
    EXPECT_GE(calls, 3u);
}

TEST_F(GpxFiles, ProgressCanCancel)
{
    const std::string path =
        Write("t.gpx", OnePoint("lat=\"0\" lon=\"0\"", Timed + std::string(200000, ' ')));
    const auto r = ReadGpxFile(path, {}, [](std::uint64_t, std::uint64_t) { return false; });
    ASSERT_TRUE(std::holds_alternative<TGpxError>(r));
    EXPECT_EQ(std::get<TGpxError>(r).Kind, TGpxProblem::Cancelled);
}

TEST_F(GpxFiles, MissingFileAndFolderCannotBeRead)
{
    const std::string missing = (m_dir / "none.gpx").string();
    const auto a = ReadGpxFile(missing);
    ASSERT_TRUE(std::holds_alternative<TGpxError>(a));
    EXPECT_EQ(std::get<TGpxError>(a).Message(),
              missing + ": cannot be read: No such file or directory");
    const auto b = ReadGpxFile(m_dir.string());
    ASSERT_TRUE(std::holds_alternative<TGpxError>(b));
    EXPECT_EQ(std::get<TGpxError>(b).Kind, TGpxProblem::CannotRead);
}

TEST_F(GpxFiles, OverTheSizeLimitIsRefusedBeforeReading)
{
    // A sparse file: the size is checked before a byte of it is parsed.
    const std::string path = Write("huge.gpx", OnePoint("lat=\"0\" lon=\"0\"", Timed));
    fs::resize_file(path, TGpxLimits{}.MaxBytes + 1);
    const auto r = ReadGpxFile(path);
    ASSERT_TRUE(std::holds_alternative<TGpxError>(r));
    EXPECT_EQ(std::get<TGpxError>(r).Message(),
              path + ": the file is larger than 64 MiB, more than a GPX track needs");
    fs::resize_file(path, TGpxLimits{}.MaxBytes); // at the limit: read (and refused for its NULs)
    EXPECT_EQ(std::get<TGpxError>(ReadGpxFile(path)).Kind, TGpxProblem::NotXml);
}

TEST_F(GpxFiles, AnEntityNamingAnotherFileIsNeverRead)
{
    const std::string secret = Write("secret.txt", "2024-05-01T08:00:00Z");
    const std::string path = Write(
        "xxe.gpx", "<?xml version=\"1.0\"?>\n<!DOCTYPE gpx [<!ENTITY t SYSTEM \"file://" + secret +
                       "\">]>\n<gpx xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><trkseg>"
                       "<trkpt lat=\"1\" lon=\"1\"><time>&t;</time></trkpt></trkseg></trk></gpx>");
    const auto r = ReadGpxFile(path);
    ASSERT_TRUE(std::holds_alternative<TGpxError>(r));
    EXPECT_EQ(std::get<TGpxError>(r).Kind, TGpxProblem::Doctype);
    EXPECT_EQ(std::get<TGpxError>(r).Line, 2u);
}

TEST(GpxLimits, AreTheDocumentedOnes)
{
    EXPECT_EQ(TGpxLimits{}.MaxBytes, 64u * 1024 * 1024);
    EXPECT_EQ(TGpxLimits{}.MaxPoints, 1'000'000);
}

} // namespace
