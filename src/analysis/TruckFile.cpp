#include "analysis/TruckFile.h"

#include "analysis/InputRanges.h"
#include "model/VehicleTables.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

using nlohmann::json;

namespace
{

constexpr std::string_view Format = "velmora-truck";
constexpr int Version = 1;

// A problem found while checking: the key and what is wrong with it.
struct TProblem {
    std::string Key;
    std::string Text;
};

std::string Number(double v)
{
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc() ? std::string(buf, end) : std::string("?");
}

std::string TypeName(const json &j)
{
    if (j.is_number())
        return "a number";
    if (j.is_boolean())
        return "true or false";
    if (j.is_null())
        return "null";
    return std::string("a ") + j.type_name(); // "a string", "a array", "a object"
}

std::string WrongType(const char *wanted, const json &j)
{
    std::string got = TypeName(j);
    if (got == "a array" || got == "a object")
        got = got == "a array" ? "a list" : "an object";
    return std::string("must be ") + wanted + ", not " + got;
}

// Follows the parser through the text so that problems it cannot report
// itself (a key given twice, a number too large) name their key.
class TKeyTracker
{
  public:
    bool Event(int, json::parse_event_t event, json &parsed)
    {
        switch (event) {
        case json::parse_event_t::object_start:
        case json::parse_event_t::array_start:
            BeginElement();
            m_frames.push_back({event == json::parse_event_t::array_start, {}, 0, {}});
            break;
        case json::parse_event_t::object_end:
        case json::parse_event_t::array_end:
            if (!m_frames.empty())
                m_frames.pop_back();
            break;
        case json::parse_event_t::key:
            if (!m_frames.empty()) {
                Frame &f = m_frames.back();
                f.Key = parsed.get<std::string>();
                if (!f.Seen.insert(f.Key).second && !Duplicate)
                    Duplicate = TProblem{Path(), "given more than once"};
            }
            break;
        case json::parse_event_t::value:
            BeginElement();
            break;
        }
        return true;
    }

    // The key being read: "load", "units.speed", "duty[2].gear" (lists count from 1).
    std::string Path() const
    {
        std::string p;
        for (const Frame &f : m_frames) {
            if (f.IsArray) {
                p += "[" + std::to_string(f.Count) + "]";
            } else if (!f.Key.empty()) {
                if (!p.empty())
                    p += '.';
                p += f.Key;
            }
        }
        return p;
    }

    std::optional<TProblem> Duplicate;

  private:
    struct Frame {
        bool IsArray = false;
        std::string Key;
        int Count = 0; // elements begun, in a list
        std::set<std::string> Seen;
    };

    void BeginElement()
    {
        if (!m_frames.empty() && m_frames.back().IsArray)
            ++m_frames.back().Count;
    }

    std::vector<Frame> m_frames;
};

// Checks one object's members against the keys it may have.
class TReader
{
  public:
    std::optional<TProblem> Problem;

    bool Failed() const { return Problem.has_value(); }

    void Fail(std::string key, std::string text)
    {
        if (!Problem)
            Problem = TProblem{std::move(key), std::move(text)};
    }

    // A number within its input's range.
    std::optional<double> Value(const json &j, const std::string &key, const TInputRange &range)
    {
        if (!j.is_number()) {
            Fail(key, WrongType("a number", j));
            return std::nullopt;
        }
        const double v = j.get<double>();
        if (!std::isfinite(v)) {
            Fail(key, "must be a finite number");
            return std::nullopt;
        }
        if (range.Whole && std::trunc(v) != v) {
            Fail(key, Number(v) + " is not a whole number");
            return std::nullopt;
        }
        if (!range.Contains(v)) {
            Fail(key, Number(v) + " is outside the range " + std::string(range.Text));
            return std::nullopt;
        }
        return v;
    }

    // A row of a table with `rows` entries.
    std::optional<int> Row(const json &j, const std::string &key, std::size_t rows,
                           const char *table)
    {
        if (!j.is_number()) {
            Fail(key, WrongType("a row number", j));
            return std::nullopt;
        }
        const double v = j.get<double>();
        if (std::trunc(v) != v) {
            Fail(key, Number(v) + " is not a whole number");
            return std::nullopt;
        }
        if (!(v >= 0 && v < static_cast<double>(rows))) {
            Fail(key, "row " + Number(v) + " is outside the " + table + " table (rows 0 to " +
                          std::to_string(rows - 1) + ")");
            return std::nullopt;
        }
        return static_cast<int>(v);
    }

    std::optional<TGear> Gear(const json &j, const std::string &key)
    {
        if (!j.is_number()) {
            Fail(key, WrongType("4 or 5", j));
            return std::nullopt;
        }
        const double v = j.get<double>();
        if (v == 4)
            return TGear::Fourth;
        if (v == 5)
            return TGear::Fifth;
        Fail(key, Number(v) + " is not a gear: must be 4 or 5");
        return std::nullopt;
    }

    std::optional<bool> Choice(const json &j, const std::string &key, const char *yes,
                               const char *no)
    {
        const std::string wanted = std::string("\"") + yes + "\" or \"" + no + "\"";
        if (!j.is_string()) {
            Fail(key, WrongType(wanted.c_str(), j));
            return std::nullopt;
        }
        const auto &s = j.get_ref<const std::string &>();
        if (s == yes)
            return true;
        if (s == no)
            return false;
        Fail(key, "\"" + s + "\" is not " + wanted);
        return std::nullopt;
    }
};

double RangeValue(TReader &r, const json &j, const std::string &key, double current)
{
    return r.Value(j, key, *FindInputRange(key)).value_or(current);
}

void ReadUnits(TReader &r, const json &j, TTruck &t)
{
    if (!j.is_object())
        return r.Fail("units", WrongType("an object", j));
    for (const auto &[key, value] : j.items()) {
        const std::string path = "units." + key;
        if (key == "speed")
            t.SpeedInMph = r.Choice(value, path, "mph", "km/h").value_or(t.SpeedInMph);
        else if (key == "life")
            t.LifeInMiles = r.Choice(value, path, "miles", "km").value_or(t.LifeInMiles);
        else
            r.Fail(path, "unknown key");
        if (r.Failed())
            return;
    }
}

void ReadSegment(TReader &r, const json &j, const std::string &at, TDutySegment &s)
{
    if (!j.is_object())
        return r.Fail(at, WrongType("an object", j));
    for (const char *required : {"share_pct", "speed_mph", "gear"})
        if (!j.contains(required))
            return r.Fail(at + "." + required, "missing");
    for (const auto &[key, value] : j.items()) {
        const std::string path = at + "." + key;
        if (key == "share_pct")
            s.SharePct = r.Value(value, path, *FindInputRange("share_pct")).value_or(0);
        else if (key == "speed_mph")
            s.SpeedMph = r.Value(value, path, *FindInputRange("speed_mph")).value_or(0);
        else if (key == "gear")
            s.Gear = r.Gear(value, path).value_or(TGear::Fifth);
        else if (key == "gradient")
            s.Gradient = r.Value(value, path, *FindInputRange("gradient"));
        else if (key == "load")
            s.Load = r.Value(value, path, *FindInputRange("load"));
        else
            r.Fail(path, "unknown key");
        if (r.Failed())
            return;
    }
}

void ReadDuty(TReader &r, const json &j, TTruck &t)
{
    if (!j.is_array())
        return r.Fail("duty", WrongType("a list", j));
    t.Duty.clear();
    for (std::size_t i = 0; i < j.size(); ++i) {
        TDutySegment s;
        ReadSegment(r, j[i], "duty[" + std::to_string(i + 1) + "]", s);
        if (r.Failed())
            return;
        t.Duty.push_back(s);
    }
}

void ReadField(TReader &r, const std::string &key, const json &v, TTruck &t)
{
    TDriveInputs &in = t.Inputs;
    using namespace VehicleTables;
    if (key == "format" || key == "version" || key == "engine_name" || key == "final_drive_name" ||
        key == "tyre_name" || key == "body_name")
        return; // checked first, or only there for people reading the file
    if (key == "engine")
        in.EngineIndex = r.Row(v, key, EngineCount, "engine").value_or(0);
    else if (key == "final_drive")
        in.FinalDriveIndex = r.Row(v, key, FinalDriveCount, "final drive").value_or(0);
    else if (key == "tyre")
        in.TyreSizeIndex = r.Row(v, key, TyreSizeCount, "tyre size").value_or(0);
    else if (key == "body")
        in.KerbWeightIndex = r.Row(v, key, KerbWeightCount, "kerb weight").value_or(0);
    else if (key == "gear")
        t.Gear = r.Gear(v, key).value_or(TGear::Fifth);
    else if (key == "overdrive_ratio")
        in.OverdriveRatio = RangeValue(r, v, key, in.OverdriveRatio);
    else if (key == "transmission_loss")
        in.TransmissionLoss = RangeValue(r, v, key, in.TransmissionLoss);
    else if (key == "rolling_resistance")
        in.RollingResistance = static_cast<std::int64_t>(
            RangeValue(r, v, key, static_cast<double>(in.RollingResistance)));
    else if (key == "frontal_area")
        in.FrontalArea = RangeValue(r, v, key, in.FrontalArea);
    else if (key == "drag_coef")
        in.DragCoef = RangeValue(r, v, key, in.DragCoef);
    else if (key == "load")
        in.Load = RangeValue(r, v, key, in.Load);
    else if (key == "gradient")
        in.Gradient = RangeValue(r, v, key, in.Gradient);
    else if (key == "load_rating")
        t.LoadRating = RangeValue(r, v, key, t.LoadRating);
    else if (key == "pitch_radius")
        in.PitchCircleRadius = RangeValue(r, v, key, in.PitchCircleRadius);
    else if (key == "pressure_angle")
        in.PressureAngle = RangeValue(r, v, key, in.PressureAngle);
    else if (key == "helix_angle")
        in.HelixAngle = RangeValue(r, v, key, in.HelixAngle);
    else if (key == "overhang")
        in.Overhang = RangeValue(r, v, key, in.Overhang);
    else if (key == "load_factor")
        in.LoadFactor = RangeValue(r, v, key, in.LoadFactor);
    else if (key == "units")
        ReadUnits(r, v, t);
    else if (key == "duty")
        ReadDuty(r, v, t);
    else
        r.Fail(key, "unknown key");
}

std::optional<TProblem> CheckHeader(const json &root)
{
    if (!root.is_object())
        return TProblem{"", "not a truck file: the top level must be an object"};
    const auto format = root.find("format");
    if (format == root.end())
        return TProblem{"format", "missing: not a truck file"};
    if (!format->is_string() || format->get_ref<const std::string &>() != Format)
        return TProblem{"format", "not a truck file (the format must be \"velmora-truck\")"};
    const auto version = root.find("version");
    if (version == root.end())
        return TProblem{"version", "missing"};
    if (!version->is_number() || std::trunc(version->get<double>()) != version->get<double>() ||
        version->get<double>() < 1)
        return TProblem{"version", "must be a whole number from 1"};
    if (version->get<double>() > Version)
        return TProblem{"version", Number(version->get<double>()) +
                                       " is newer than this program reads (" +
                                       std::to_string(Version) + ")"};
    return std::nullopt;
}

} // namespace

std::string TTruckFileError::Message() const
{
    return Key.empty() ? File + ": " + Problem : File + ": " + Key + ": " + Problem;
}

std::variant<TTruck, TTruckFileError> ParseTruck(std::string_view text, const std::string &file)
{
    const auto error = [&file](std::string key, std::string problem) {
        return TTruckFileError{file, std::move(key), std::move(problem)};
    };
    if (text.size() > MaxTruckFileBytes)
        return error("", "larger than 1 MiB: not a truck file");

    TKeyTracker tracker;
    json root;
    try {
        root = json::parse(text, [&tracker](int d, json::parse_event_t e, json &p) {
            return tracker.Event(d, e, p);
        });
    } catch (const json::parse_error &e) {
        return error("", "not JSON (error at byte " + std::to_string(e.byte) + ")");
    } catch (const json::out_of_range &) {
        // The only value JSON can hold but a double cannot: a number too large.
        return error(tracker.Path(), "must be a finite number");
    } catch (const json::exception &) {
        return error("", "not JSON");
    }
    if (auto header = CheckHeader(root))
        return error(header->Key, header->Text);
    if (tracker.Duplicate)
        return error(tracker.Duplicate->Key, tracker.Duplicate->Text);

    TTruck truck;
    TReader reader;
    for (const auto &[key, value] : root.items()) {
        ReadField(reader, key, value, truck);
        if (reader.Failed())
            return error(reader.Problem->Key, reader.Problem->Text);
    }
    return truck;
}

std::variant<TTruck, TTruckFileError> ReadTruckFile(const std::string &path)
{
    const auto error = [&path](std::string problem) {
        return TTruckFileError{path, "", std::move(problem)};
    };
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return error("is a directory, not a truck file");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return error(std::string("cannot be opened: ") + std::strerror(errno));
    // Read one byte past the limit: enough to know the file is too large
    // without reading all of a huge one.
    std::string text(MaxTruckFileBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad())
        return error(std::string("cannot be read: ") + std::strerror(errno));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return ParseTruck(text, path);
}

std::string TruckJson(const TTruck &t)
{
    using nlohmann::ordered_json;
    using namespace VehicleTables;
    const TDriveInputs &in = t.Inputs;
    ordered_json j;
    j["format"] = Format;
    j["version"] = Version;
    const auto row = [&j](const char *key, int index, const auto &texts) {
        j[key] = index;
        if (index >= 0 && static_cast<std::size_t>(index) < texts.size())
            j[std::string(key) + "_name"] = texts[static_cast<std::size_t>(index)];
    };
    row("engine", in.EngineIndex, EngineListTexts());
    row("final_drive", in.FinalDriveIndex, FinalDriveListTexts());
    row("tyre", in.TyreSizeIndex, TyreSizeListTexts());
    row("body", in.KerbWeightIndex, KerbWeightListTexts());
    j["gear"] = t.Gear == TGear::Fourth ? 4 : 5;
    j["overdrive_ratio"] = in.OverdriveRatio;
    j["transmission_loss"] = in.TransmissionLoss;
    j["rolling_resistance"] = in.RollingResistance;
    j["frontal_area"] = in.FrontalArea;
    j["drag_coef"] = in.DragCoef;
    j["load"] = in.Load;
    j["gradient"] = in.Gradient;
    j["load_rating"] = t.LoadRating;
    j["pitch_radius"] = in.PitchCircleRadius;
    j["pressure_angle"] = in.PressureAngle;
    j["helix_angle"] = in.HelixAngle;
    j["overhang"] = in.Overhang;
    j["load_factor"] = in.LoadFactor;
    j["units"] = {{"speed", t.SpeedInMph ? "mph" : "km/h"},
                  {"life", t.LifeInMiles ? "miles" : "km"}};
    ordered_json duty = ordered_json::array();
    for (const TDutySegment &s : t.Duty) {
        ordered_json seg;
        seg["share_pct"] = s.SharePct;
        seg["speed_mph"] = s.SpeedMph;
        seg["gear"] = s.Gear == TGear::Fourth ? 4 : 5;
        if (s.Gradient)
            seg["gradient"] = *s.Gradient;
        if (s.Load)
            seg["load"] = *s.Load;
        duty.push_back(std::move(seg));
    }
    j["duty"] = std::move(duty);
    return j.dump(2) + "\n";
}

std::string WriteTruckFile(const std::string &path, const TTruck &truck)
{
    const std::string text = TruckJson(truck);
    // Never write what could not be read back.
    const auto check = ParseTruck(text, path);
    if (const auto *problem = std::get_if<TTruckFileError>(&check))
        return problem->Message();

    const auto failed = [&path](int err) {
        return path + ": cannot be written: " + std::strerror(err);
    };
    // The temporary file sits beside the target so that the rename stays on
    // one file system and replaces the target in one step.
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return failed(errno);
    // An existing file keeps its permissions; a new one gets the usual ones.
    struct stat st {
    };
    mode_t mode = 0;
    if (::stat(path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    int err = ::fchmod(fd, mode) == 0 ? 0 : errno;
    std::size_t done = 0;
    while (err == 0 && done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            err = n < 0 ? errno : EIO;
        else
            done += static_cast<std::size_t>(n);
    }
    if (err == 0 && ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err == 0 && std::rename(temp.c_str(), path.c_str()) != 0)
        err = errno;
    if (err == 0)
        return {};
    ::unlink(temp.c_str());
    return failed(err);
}
