#include "analysis/TruckFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

// Bit-for-bit: a round trip must not move any double by an ulp.
bool Same(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void ExpectSameTruck(const TTruck &a, const TTruck &b)
{
    const TDriveInputs &x = a.Inputs;
    const TDriveInputs &y = b.Inputs;
    EXPECT_EQ(x.EngineIndex, y.EngineIndex);
    EXPECT_EQ(x.FinalDriveIndex, y.FinalDriveIndex);
    EXPECT_EQ(x.TyreSizeIndex, y.TyreSizeIndex);
    EXPECT_EQ(x.KerbWeightIndex, y.KerbWeightIndex);
    EXPECT_EQ(x.RollingResistance, y.RollingResistance);
    for (auto field :
         {&TDriveInputs::FrontalArea, &TDriveInputs::DragCoef, &TDriveInputs::PitchCircleRadius,
          &TDriveInputs::PressureAngle, &TDriveInputs::HelixAngle, &TDriveInputs::Overhang,
          &TDriveInputs::LoadFactor, &TDriveInputs::TransmissionLoss, &TDriveInputs::OverdriveRatio,
          &TDriveInputs::Load, &TDriveInputs::Gradient})
        EXPECT_TRUE(Same(x.*field, y.*field)) << x.*field << " vs " << y.*field;
    EXPECT_TRUE(Same(a.LoadRating, b.LoadRating));
    EXPECT_EQ(a.Gear, b.Gear);
    EXPECT_EQ(a.SpeedInMph, b.SpeedInMph);
    EXPECT_EQ(a.LifeInMiles, b.LifeInMiles);
    EXPECT_EQ(a.Duty, b.Duty);
}

TTruck Unusual()
{
    TTruck t;
    t.Inputs.EngineIndex = 2;
    t.Inputs.FinalDriveIndex = 5;
    t.Inputs.TyreSizeIndex = 16;
    t.Inputs.KerbWeightIndex = 3;
    t.Inputs.FrontalArea = 0.1 + 0.2;
    t.Inputs.DragCoef = 1.0 / 3;
    t.Inputs.RollingResistance = 2147483647;
    t.Inputs.PitchCircleRadius = std::nextafter(1.11, 2.0);
    t.Inputs.PressureAngle = 1e-300;
    t.Inputs.HelixAngle = std::numeric_limits<double>::denorm_min();
    t.Inputs.Overhang = 1e300;
    t.Inputs.LoadFactor = 0;
    t.Inputs.TransmissionLoss = 0.17;
    t.Inputs.OverdriveRatio = 0.8130000000000001;
    t.Inputs.Load = 3000;
    t.Inputs.Gradient = std::nextafter(100.0, 0.0);
    t.LoadRating = 2081.5;
    t.Gear = TGear::Fourth;
    t.SpeedInMph = false;
    t.LifeInMiles = false;
    t.Duty = {{33.33, 55.5, TGear::Fifth, std::nullopt, std::nullopt},
              {33.33, 30, TGear::Fourth, 0.07, std::nullopt},
              {33.34, 1.0 / 7, TGear::Fifth, std::nullopt, 2999.9999999999995}};
    return t;
}

const TTruck &Parsed(const std::variant<TTruck, TTruckFileError> &v)
{
    if (const auto *e = std::get_if<TTruckFileError>(&v))
        ADD_FAILURE() << e->Message();
    static const TTruck none;
    const auto *t = std::get_if<TTruck>(&v);
    return t ? *t : none;
}

TEST(TruckFile, RoundTripsEveryValueExactly)
{
    for (const TTruck &t : {TTruck{}, Unusual()}) {
        const std::string text = TruckJson(t);
        ExpectSameTruck(Parsed(ParseTruck(text, "t.json")), t);
        EXPECT_EQ(TruckJson(Parsed(ParseTruck(text, "t.json"))), text);
    }
}

TEST(TruckFile, WritesNamesForReadersAndReadsThemBackIgnored)
{
    const std::string text = TruckJson(Unusual());
    EXPECT_NE(text.find("\"engine_name\": \"Z22     95hp@5200  127ftlb@2600\""), std::string::npos);
    EXPECT_NE(text.find("\"body_name\": \"StdCab  Petrol 4x4    2816 lb\""), std::string::npos);
    EXPECT_EQ(text.find("\"format\": \"velmora-truck\""), 4u); // first, for `file` and people
    const std::string renamed =
        R"({"format":"velmora-truck","version":1,"engine":1,"engine_name":"whatever"})";
    EXPECT_EQ(Parsed(ParseTruck(renamed, "t.json")).Inputs.EngineIndex, 1);
}

TEST(TruckFile, MissingFieldsKeepTheStartUpValues)
{
    const TTruck t =
        Parsed(ParseTruck(R"({"version":1,"format":"velmora-truck","load":1200})", "t"));
    TTruck expected;
    expected.Inputs.Load = 1200;
    ExpectSameTruck(t, expected);
}

TEST(TruckFile, AcceptsWholeNumbersWrittenAsDecimalsAndTheEdges)
{
    const TTruck t = Parsed(ParseTruck(
        R"({"format":"velmora-truck","version":1,"rolling_resistance":45.0,"engine":2.0,
            "gear":4,"gradient":100,"load":0,"units":{"life":"km"},"duty":[]})",
        "t"));
    EXPECT_EQ(t.Inputs.RollingResistance, 45);
    EXPECT_EQ(t.Inputs.EngineIndex, 2);
    EXPECT_EQ(t.Gear, TGear::Fourth);
    EXPECT_EQ(t.Inputs.Gradient, 100);
    EXPECT_TRUE(t.SpeedInMph);
    EXPECT_FALSE(t.LifeInMiles);
    EXPECT_TRUE(t.Duty.empty());
}

struct TBadFile {
    const char *Name;
    std::string Text;
    std::string Message;
};

std::string WithHeader(const std::string &rest)
{
    return R"({"format":"velmora-truck","version":1,)" + rest + "}";
}

std::ostream &operator<<(std::ostream &os, const TBadFile &b)
{
    return os << b.Name;
}

class BadTruckFile : public ::testing::TestWithParam<TBadFile>
{
};

TEST_P(BadTruckFile, IsRefusedWithOneMessageNamingFileKeyAndProblem)
{
    const auto result = ParseTruck(GetParam().Text, "bad.json");
    const auto *e = std::get_if<TTruckFileError>(&result);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Message(), GetParam().Message);
    EXPECT_EQ(e->Message().find('\n'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadTruckFile,
    ::testing::Values(
        TBadFile{"NotJson", "{\"format\": ", "bad.json: not JSON (error at byte 12)"},
        TBadFile{"Empty", "", "bad.json: not JSON (error at byte 1)"},
        TBadFile{"NotAnObject", "[1, 2]",
                 "bad.json: not a truck file: the top level must be an object"},
        TBadFile{"NoFormat", R"({"version":1})", "bad.json: format: missing: not a truck file"},
        TBadFile{"OtherFormat", R"({"format":"velmora-layout","version":1})",
                 "bad.json: format: not a truck file (the format must be \"velmora-truck\")"},
        TBadFile{"NoVersion", R"({"format":"velmora-truck"})", "bad.json: version: missing"},
        TBadFile{"NewerVersion", R"({"format":"velmora-truck","version":2})",
                 "bad.json: version: 2 is newer than this program reads (1)"},
        TBadFile{"VersionText", R"({"format":"velmora-truck","version":"1"})",
                 "bad.json: version: must be a whole number, not a string"},
        TBadFile{"UnknownKey", WithHeader(R"("lode":50)"), "bad.json: lode: unknown key"},
        TBadFile{"UnknownUnitsKey", WithHeader(R"("units":{"speed":"mph","fuel":"l"})"),
                 "bad.json: units.fuel: unknown key"},
        TBadFile{"UnknownSegmentKey",
                 WithHeader(R"("duty":[{"share_pct":100,"speed_mph":50,"gear":5,"wind":3}])"),
                 "bad.json: duty[1].wind: unknown key"},
        TBadFile{"DuplicateKey", WithHeader(R"("load":50,"load":60)"),
                 "bad.json: load: given more than once"},
        TBadFile{"WrongTypeString", WithHeader(R"("load":"50")"),
                 "bad.json: load: must be a number, not a string"},
        TBadFile{"WrongTypeBool", WithHeader(R"("gradient":true)"),
                 "bad.json: gradient: must be a number, not true or false"},
        TBadFile{"WrongTypeNull", WithHeader(R"("drag_coef":null)"),
                 "bad.json: drag_coef: must be a number, not null"},
        TBadFile{"UnitsNotObject", WithHeader(R"("units":"mph")"),
                 "bad.json: units: must be an object, not a string"},
        TBadFile{"UnitsValue", WithHeader(R"("units":{"speed":"kph"})"),
                 "bad.json: units.speed: \"kph\" is not \"mph\" or \"km/h\""},
        TBadFile{"DutyNotList", WithHeader(R"("duty":{})"),
                 "bad.json: duty: must be a list, not an object"},
        TBadFile{"NonFinite", WithHeader(R"("frontal_area":1e400)"),
                 "bad.json: frontal_area: must be a finite number"},
        TBadFile{"NonFiniteInDuty", WithHeader(R"("duty":[{"share_pct":50,"speed_mph":50,"gear":5},
                                       {"share_pct":50,"speed_mph":-1e999,"gear":5}])"),
                 "bad.json: duty[2].speed_mph: must be a finite number"},
        TBadFile{"RowOutside", WithHeader(R"("engine":3)"),
                 "bad.json: engine: row 3 is outside the engine table (rows 0 to 2)"},
        TBadFile{"RowNegative", WithHeader(R"("tyre":-1)"),
                 "bad.json: tyre: row -1 is outside the tyre size table (rows 0 to 16)"},
        TBadFile{"RowFraction", WithHeader(R"("body":1.5)"),
                 "bad.json: body: 1.5 is not a whole number"},
        TBadFile{"Gear", WithHeader(R"("gear":3)"),
                 "bad.json: gear: 3 is not a gear: must be 4 or 5"},
        TBadFile{"LoadAbove", WithHeader(R"("load":3000.5)"),
                 "bad.json: load: must be a number from 0 to 3000, not 3000.5"},
        TBadFile{"GradientBelow", WithHeader(R"("gradient":-0.01)"),
                 "bad.json: gradient: must be a number from 0 to 100, not -0.01"},
        TBadFile{"NegativeRating", WithHeader(R"("load_rating":-1)"),
                 "bad.json: load_rating: must be 0 or more, not -1"},
        TBadFile{
            "RollingFraction", WithHeader(R"("rolling_resistance":45.5)"),
            "bad.json: rolling_resistance: must be a whole number from 0 to 2147483647, not 45.5"},
        TBadFile{"RollingTooLarge", WithHeader(R"("rolling_resistance":2147483648)"),
                 "bad.json: rolling_resistance: must be a whole number from 0 to 2147483647, "
                 "not 2147483648"},
        TBadFile{"SegmentMissingSpeed", WithHeader(R"("duty":[{"share_pct":100,"gear":5}])"),
                 "bad.json: duty[1].speed_mph: missing"},
        TBadFile{"SegmentZeroShare",
                 WithHeader(R"("duty":[{"share_pct":0,"speed_mph":50,"gear":5}])"),
                 "bad.json: duty[1].share_pct: must be above 0 and at most 100, not 0"},
        TBadFile{"SegmentLoad",
                 WithHeader(R"("duty":[{"share_pct":100,"speed_mph":50,"gear":4,"load":-5}])"),
                 "bad.json: duty[1].load: must be a number from 0 to 3000, not -5"},
        TBadFile{"SegmentNotObject",
                 WithHeader(R"("duty":[{"share_pct":100,"speed_mph":5,"gear":5},7])"),
                 "bad.json: duty[2]: must be an object, not a number"},
        TBadFile{"TooLarge", std::string(MaxTruckFileBytes + 1, ' '),
                 "bad.json: larger than 1 MiB: not a truck file"},
        TBadFile{"VersionZero", R"({"format":"velmora-truck","version":0})",
                 "bad.json: version: must be a whole number, 1 or more, not 0"},
        TBadFile{"VersionFraction", R"({"format":"velmora-truck","version":1.5})",
                 "bad.json: version: must be a whole number, 1 or more, not 1.5"},
        TBadFile{"SegmentMissingGear", WithHeader(R"("duty":[{"share_pct":100,"speed_mph":50}])"),
                 "bad.json: duty[1].gear: missing"},
        TBadFile{
            "SegmentGradientAboveItsOwnRange",
            WithHeader(R"("duty":[{"share_pct":100,"speed_mph":50,"gear":5,"gradient":100.5}])"),
            "bad.json: duty[1].gradient: must be a number from -0.5 to 100, not 100.5"},
        TBadFile{
            "SegmentGradientTooSteepDown",
            WithHeader(R"("duty":[{"share_pct":100,"speed_mph":50,"gear":5,"gradient":-0.51}])"),
            "bad.json: duty[1].gradient: must be a number from -0.5 to 100, not -0.51"},
        TBadFile{"ThirdSegmentNamed",
                 WithHeader(R"("duty":[{"share_pct":20,"speed_mph":50,"gear":5},
                                       {"share_pct":20,"speed_mph":50,"gear":5},
                                       {"share_pct":60,"speed_mph":500,"gear":5}])"),
                 "bad.json: duty[3].speed_mph: must be above 0 and at most 100, not 500"},
        TBadFile{"DuplicateInSecondSegment",
                 WithHeader(R"("duty":[{"share_pct":50,"speed_mph":50,"gear":5},
                                       {"share_pct":50,"gear":5,"speed_mph":50,"gear":4}])"),
                 "bad.json: duty[2].gear: given more than once"},
        TBadFile{"HugeNumberAsFirstElement", WithHeader(R"("duty":[1e400])"),
                 "bad.json: duty[1]: must be a finite number"},
        TBadFile{"HugeNumberAfterASegment",
                 WithHeader(R"("duty":[{"share_pct":50,"speed_mph":50,"gear":5},1e400])"),
                 "bad.json: duty[2]: must be a finite number"},
        TBadFile{"HugeNumberAfterANumber", WithHeader(R"("duty":[1, 2, -1e400])"),
                 "bad.json: duty[3]: must be a finite number"},
        TBadFile{"NestedTooDeep", WithHeader(R"("duty":)" + std::string(16, '[')),
                 "bad.json: nested more than 16 deep: not a truck file"},
        TBadFile{"NestedTooDeepInAnUnknownKey",
                 WithHeader(R"("x":)" + std::string(500000, '[') + std::string(500000, ']')),
                 "bad.json: nested more than 16 deep: not a truck file"},
        TBadFile{"NestedJustDeepEnoughIsOnlyAnUnknownKey",
                 WithHeader(R"("x":)" + std::string(15, '[') + std::string(15, ']')),
                 "bad.json: x: unknown key"},
        // Text from the file is quoted on one line, escaped and cut.
        TBadFile{"KeyWithNewline", WithHeader(R"("lo\nad":50)"),
                 R"(bad.json: lo\nad: unknown key)"},
        TBadFile{"KeyWithControlCharacters", WithHeader(R"("a\u0007\u001b\u007f\u0085b":1)"),
                 R"(bad.json: a\u0007\u001b\u007f\u0085b: unknown key)"},
        TBadFile{"KeyWithLineSeparators", WithHeader(R"("a\u2028b\u2029":1)"),
                 R"(bad.json: a\u2028b\u2029: unknown key)"},
        TBadFile{"LongKeyCut", WithHeader("\"" + std::string(100, 'k') + "\":1"),
                 "bad.json: " + std::string(60, 'k') + "...: unknown key"},
        TBadFile{"UnitsWordEscaped", WithHeader(R"("units":{"speed":"k\"m\\h\r\n"})"),
                 R"(bad.json: units.speed: "k\"m\\h\r\n" is not "mph" or "km/h")"},
        TBadFile{"UnitsWordCut", WithHeader(R"("units":{"life":")" + std::string(70, 'x') + "\"}"),
                 "bad.json: units.life: \"" + std::string(60, 'x') +
                     "...\" is not \"miles\" or \"km\""},
        TBadFile{"UnitsWordKeepsOtherLetters", WithHeader(R"("units":{"speed":"km/h\u00e9"})"),
                 "bad.json: units.speed: \"km/h\xc3\xa9\" is not \"mph\" or \"km/h\""},
        TBadFile{"SegmentKeyEscaped",
                 WithHeader(R"("duty":[{"share_pct":100,"speed_mph":50,"gear":5,"x\ty":1}])"),
                 R"(bad.json: duty[1].x\ty: unknown key)"}));

TEST(TruckFile, DutyGradientsGoDownhillButTheTrucksOwnDoesNot)
{
    const TTruck t = Parsed(
        ParseTruck(WithHeader(R"("duty":[{"share_pct":50,"speed_mph":50,"gear":5,"gradient":-0.5},
                              {"share_pct":50,"speed_mph":50,"gear":5,"gradient":100}])"),
                   "t"));
    ASSERT_EQ(t.Duty.size(), 2u);
    EXPECT_EQ(t.Duty[0].Gradient, -0.5);
    EXPECT_EQ(t.Duty[1].Gradient, 100);
    EXPECT_TRUE(std::holds_alternative<TTruckFileError>(
        ParseTruck(WithHeader(R"("gradient":-0.01)"), "t")));
}

TEST(TruckFile, TakesAFileOfExactlyOneMebibyte)
{
    std::string text = WithHeader(R"("load":75)");
    text.insert(1, MaxTruckFileBytes - text.size(), ' ');
    ASSERT_EQ(text.size(), MaxTruckFileBytes);
    EXPECT_EQ(Parsed(ParseTruck(text, "t")).Inputs.Load, 75);
    text.insert(1, " ");
    EXPECT_TRUE(std::holds_alternative<TTruckFileError>(ParseTruck(text, "t")));
}

struct TPrintable {
    std::string In;
    std::string Out;
};

class PrintableTextTest : public ::testing::TestWithParam<TPrintable>
{
};

TEST_P(PrintableTextTest, EscapesAndCuts)
{
    EXPECT_EQ(PrintableText(GetParam().In, 8), GetParam().Out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintableTextTest,
    ::testing::Values(
        TPrintable{"plain", "plain"}, TPrintable{"12345678", "12345678"},
        TPrintable{"123456789", "12345678..."}, TPrintable{"a\nb", R"(a\nb)"},
        TPrintable{std::string("a\0b", 3), R"(a\u0000b)"}, TPrintable{"\t\r\x1f", R"(\t\r\u001f)"},
        TPrintable{R"("q\)", R"(\"q\\)"},
        // Nine two-byte letters: cut between letters, never inside one.
        TPrintable{"\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9",
                   "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9..."},
        TPrintable{"\xff\xc3", R"(\xff\xc3)"}, // not UTF-8
        TPrintable{"\xc2\x85", R"(\u0085)"}));

class TruckFileOnDisk : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() /
                ("velmora-truck-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(m_dir);
    }
    std::string Path(const char *name) const { return (m_dir / name).string(); }
    std::size_t FileCount() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(m_dir), {}));
    }

    fs::path m_dir;
};

// "" when the write succeeded, else its message.
std::string Written(const std::string &path, const TTruck &truck)
{
    const std::optional<TTruckFileError> e = WriteTruckFile(path, truck);
    return e ? e->Message() : std::string();
}

mode_t ModeOf(const std::string &path)
{
    struct stat st {
    };
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

TEST_F(TruckFileOnDisk, WritesAtomicallyAndReadsBack)
{
    const std::string path = Path("truck.json");
    EXPECT_EQ(Written(path, TTruck{}), "");
    EXPECT_EQ(Written(path, Unusual()), ""); // replaces the first
    ExpectSameTruck(Parsed(ReadTruckFile(path)), Unusual());
    EXPECT_EQ(FileCount(), 1u); // no temporary file left behind
}

TEST_F(TruckFileOnDisk, RefusesToWriteWhatCouldNotBeReadBack)
{
    const std::string path = Path("truck.json");
    TTruck t;
    t.Inputs.Load = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(Written(path, t), path + ": load: must be a number, not null");
    t.Inputs.Load = 5000;
    const std::optional<TTruckFileError> e = WriteTruckFile(path, t);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->File, path);
    EXPECT_EQ(e->Key, "load");
    EXPECT_EQ(e->Problem, "must be a number from 0 to 3000, not 5000");
    EXPECT_FALSE(fs::exists(path));

    ASSERT_EQ(Written(path, Unusual()), "");
    EXPECT_NE(Written(path, t), "");
    ExpectSameTruck(Parsed(ReadTruckFile(path)), Unusual()); // the old file stays
    EXPECT_EQ(FileCount(), 1u);
}

TEST_F(TruckFileOnDisk, AWriteIntoAMissingFolderFails)
{
    const std::string path = Path("gone/truck.json");
    const std::optional<TTruckFileError> e = WriteTruckFile(path, TTruck{});
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Key, "");
    EXPECT_EQ(e->Message(), path + ": cannot be written: No such file or directory");
    EXPECT_EQ(FileCount(), 0u);
}

TEST_F(TruckFileOnDisk, AFailedWriteLeavesTheOldFileWholeAndNoTemporaryFile)
{
    const std::string path = Path("truck.json");
    ASSERT_EQ(Written(path, Unusual()), "");
    // A file-size limit below the text makes the write itself fail, for root too.
    struct rlimit old {
    };
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string problem = Written(path, TTruck{});
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(problem, path + ": cannot be written: File too large");
    ExpectSameTruck(Parsed(ReadTruckFile(path)), Unusual());
    EXPECT_EQ(FileCount(), 1u);
}

TEST_F(TruckFileOnDisk, AFolderWithoutWritePermissionIsReported)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const std::string path = Path("truck.json");
    ASSERT_EQ(Written(path, Unusual()), "");
    fs::permissions(m_dir, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_EQ(Written(path, TTruck{}), path + ": cannot be written: Permission denied");
    fs::permissions(m_dir, fs::perms::owner_write, fs::perm_options::add);
    ExpectSameTruck(Parsed(ReadTruckFile(path)), Unusual());
}

TEST_F(TruckFileOnDisk, AReadOnlyFileIsRefusedNotReplaced)
{
    const std::string path = Path("truck.json");
    ASSERT_EQ(Written(path, Unusual()), "");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(Written(path, TTruck{}), path + ": cannot be written: the file is read-only");
    ExpectSameTruck(Parsed(ReadTruckFile(path)), Unusual());
    EXPECT_EQ(ModeOf(path), 0444u);
    EXPECT_EQ(FileCount(), 1u);
}

TEST_F(TruckFileOnDisk, FoldersAndOtherFilesAreRefused)
{
    const std::string folder = Path("folder.json");
    fs::create_directory(folder);
    EXPECT_EQ(Written(folder, TTruck{}), folder + ": cannot be written: it is a folder");
    const std::string fifo = Path("pipe.json");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    EXPECT_EQ(Written(fifo, TTruck{}), fifo + ": cannot be written: it is not a regular file");
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(FileCount(), 2u);
}

TEST_F(TruckFileOnDisk, ASymbolicLinkIsFollowedAndItsTargetReplaced)
{
    fs::create_directory(m_dir / "real");
    const std::string target = Path("real/truck.json");
    ASSERT_EQ(Written(target, TTruck{}), "");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    fs::create_symlink("real/truck.json", m_dir / "link.json");    // relative
    fs::create_symlink(m_dir / "link.json", m_dir / "chain.json"); // a link to the link

    for (const char *name : {"link.json", "chain.json"}) {
        const std::string link = Path(name);
        TTruck t = Unusual();
        t.Inputs.Load = name[0] == 'l' ? 100 : 200;
        ASSERT_EQ(Written(link, t), "") << name;
        EXPECT_TRUE(fs::is_symlink(link)) << name;
        ExpectSameTruck(Parsed(ReadTruckFile(target)), t);
        EXPECT_EQ(ModeOf(target), 0640u);
    }
    EXPECT_EQ(FileCount(), 3u); // real/, link.json, chain.json
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir / "real"), {}), 1);
}

TEST_F(TruckFileOnDisk, ALinkToAMissingFileCreatesIt)
{
    fs::create_symlink("new.json", m_dir / "link.json");
    ASSERT_EQ(Written(Path("link.json"), Unusual()), "");
    EXPECT_TRUE(fs::is_symlink(Path("link.json")));
    ExpectSameTruck(Parsed(ReadTruckFile(Path("new.json"))), Unusual());
}

TEST_F(TruckFileOnDisk, ALoopOfLinksIsReported)
{
    fs::create_symlink("b.json", m_dir / "a.json");
    fs::create_symlink("a.json", m_dir / "b.json");
    EXPECT_EQ(Written(Path("a.json"), TTruck{}),
              Path("a.json") + ": cannot be written: Too many levels of symbolic links");
}

class TruckFileModes : public TruckFileOnDisk, public ::testing::WithParamInterface<mode_t>
{
};

TEST_P(TruckFileModes, AnExistingFileKeepsItsPermissions)
{
    const std::string path = Path("truck.json");
    ASSERT_EQ(Written(path, TTruck{}), "");
    ASSERT_EQ(::chmod(path.c_str(), GetParam()), 0);
    ASSERT_EQ(Written(path, Unusual()), "");
    EXPECT_EQ(ModeOf(path), GetParam());
    ExpectSameTruck(Parsed(ReadTruckFile(path)), Unusual());
}

INSTANTIATE_TEST_SUITE_P(Modes, TruckFileModes,
                         ::testing::Values(0600, 0640, 0644, 0664, 0666, 0604));

class TruckFileUmask : public TruckFileOnDisk, public ::testing::WithParamInterface<mode_t>
{
};

TEST_P(TruckFileUmask, ANewFileGetsTheUsualModeAndTheUmaskStays)
{
    const mode_t saved = ::umask(GetParam());
    const std::string path = Path("truck.json");
    const std::string problem = Written(path, TTruck{});
    const mode_t after = ::umask(saved);
    EXPECT_EQ(problem, "");
    EXPECT_EQ(after, GetParam());
    EXPECT_EQ(ModeOf(path), 0666 & ~GetParam());
}

INSTANTIATE_TEST_SUITE_P(Masks, TruckFileUmask, ::testing::Values(022, 002, 077, 027, 0));

TEST_F(TruckFileOnDisk, ReadProblemsNameTheFile)
{
    const std::string missing = Path("none.json");
    const auto a = ReadTruckFile(missing);
    ASSERT_TRUE(std::holds_alternative<TTruckFileError>(a));
    EXPECT_EQ(std::get<TTruckFileError>(a).Message(),
              missing + ": cannot be opened: No such file or directory");

    const auto b = ReadTruckFile(m_dir.string());
    ASSERT_TRUE(std::holds_alternative<TTruckFileError>(b));
    EXPECT_EQ(std::get<TTruckFileError>(b).Message(),
              m_dir.string() + ": is a directory, not a truck file");
}

TEST_F(TruckFileOnDisk, ReadsUpToOneMebibyteAndNoMore)
{
    for (const std::size_t size : {MaxTruckFileBytes, MaxTruckFileBytes + 1}) {
        const std::string path = Path("big.json");
        std::string text = WithHeader(R"("load":75)");
        text.append(size - text.size(), ' ');
        std::ofstream(path, std::ios::binary) << text;
        ASSERT_EQ(fs::file_size(path), size);
        const auto read = ReadTruckFile(path);
        if (size == MaxTruckFileBytes) {
            EXPECT_EQ(Parsed(read).Inputs.Load, 75);
        } else {
            ASSERT_TRUE(std::holds_alternative<TTruckFileError>(read));
            EXPECT_EQ(std::get<TTruckFileError>(read).Message(),
                      path + ": larger than 1 MiB: not a truck file");
        }
    }
}

} // namespace
