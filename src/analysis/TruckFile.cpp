#include "analysis/TruckFile.h"

#include "analysis/TruckInputs.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

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
    return RangeNumber(v);
}

// A key from the file as a message names it.
std::string KeyText(const std::string &key)
{
    return PrintableText(key);
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

// A truck file goes three levels deep (the file, the duty list, a segment);
// deeper text is refused before it costs memory.
constexpr std::size_t MaxDepth = 16;
struct TTooDeep {
};

// Follows the parser through the text so that problems it cannot report
// itself (a key given twice, a number too large, lists in lists) name their key.
class TKeyTracker
{
  public:
    bool Event(int, json::parse_event_t event, json &parsed)
    {
        switch (event) {
        case json::parse_event_t::object_start:
        case json::parse_event_t::array_start:
            if (m_frames.size() >= MaxDepth)
                throw TTooDeep{};
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
                const auto &key = parsed.get_ref<const std::string &>();
                f.Key = KeyText(key);
                if (!f.Seen.insert(key).second && !Duplicate)
                    Duplicate = TProblem{Path(), "given more than once"};
            }
            break;
        case json::parse_event_t::value:
            BeginElement();
            break;
        }
        return true;
    }

    // The key being read: "load", "units.speed", "duty[2].gear" (lists count
    // from 1). `pending`: the parser stopped inside a value it had not yet
    // reported, which is the next element of a list being read.
    std::string Path(bool pending = false) const
    {
        std::string p;
        for (std::size_t i = 0; i < m_frames.size(); ++i) {
            const Frame &f = m_frames[i];
            if (f.IsArray) {
                const bool next = pending && i + 1 == m_frames.size();
                p += "[" + std::to_string(f.Count + (next ? 1 : 0)) + "]";
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
        if (!range.Contains(v)) {
            Fail(key, "must be " + range.Text() + ", not " + Number(v));
            return std::nullopt;
        }
        return v;
    }

    // A row of a table with `rows` entries.
    std::optional<double> Row(const json &j, const std::string &key, std::size_t rows,
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
        return v;
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
        Fail(key, "\"" + PrintableText(s) + "\" is not " + wanted);
        return std::nullopt;
    }
};

void ReadUnits(TReader &r, const json &j, TTruck &t)
{
    if (!j.is_object())
        return r.Fail("units", WrongType("an object", j));
    for (const auto &[key, value] : j.items()) {
        const std::string path = "units." + KeyText(key);
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
        const std::string path = at + "." + KeyText(key);
        if (key == "share_pct")
            s.SharePct = r.Value(value, path, *FindDutyRange(key)).value_or(0);
        else if (key == "speed_mph")
            s.SpeedMph = r.Value(value, path, *FindDutyRange(key)).value_or(0);
        else if (key == "gear")
            s.Gear = r.Gear(value, path).value_or(TGear::Fifth);
        else if (key == "gradient")
            s.Gradient = r.Value(value, path, *FindDutyRange(key));
        else if (key == "load")
            s.Load = r.Value(value, path, *FindDutyRange(key));
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
    if (key == "format" || key == "version")
        return; // checked first
    if (key == "units")
        return ReadUnits(r, v, t);
    if (key == "duty")
        return ReadDuty(r, v, t);
    for (const TTruckInput &input : TruckInputs()) {
        if (input.RowNames && key == std::string(input.Key) + "_name")
            return; // only there for people reading the file
        if (key != input.Key)
            continue;
        std::optional<double> value;
        switch (input.Kind) {
        case TInputKind::Row:
            value = r.Row(v, key, static_cast<std::size_t>(input.Range.Max) + 1,
                          std::string(input.Table).c_str());
            break;
        case TInputKind::Gear:
            if (const std::optional<TGear> gear = r.Gear(v, key))
                value = *gear == TGear::Fourth ? 4 : 5;
            break;
        case TInputKind::Number:
            value = r.Value(v, key, input.Range);
            break;
        }
        if (value)
            input.Set(t, *value);
        return;
    }
    r.Fail(KeyText(key), "unknown key");
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
    if (!version->is_number())
        return TProblem{"version", WrongType("a whole number", *version)};
    if (const double v = version->get<double>(); std::trunc(v) != v || v < 1)
        return TProblem{"version", "must be a whole number, 1 or more, not " + Number(v)};
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
    } catch (const TTooDeep &) {
        return error("",
                     "nested more than " + std::to_string(MaxDepth) + " deep: not a truck file");
    } catch (const json::out_of_range &) {
        // The only value JSON can hold but a double cannot: a number too large.
        return error(tracker.Path(true), "must be a finite number");
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
    ordered_json j;
    j["format"] = Format;
    j["version"] = Version;
    for (const TTruckInput &input : TruckInputs()) {
        const double v = input.Get(t);
        // Whole numbers are written as such; a value outside the int64 range
        // stays a double, and the read-back check refuses it.
        if (input.Range.Whole && std::trunc(v) == v && std::fabs(v) < 9.2e18)
            j[input.Key] = static_cast<std::int64_t>(v);
        else
            j[input.Key] = v;
        if (input.RowNames) {
            const auto names = input.RowNames();
            if (v >= 0 && v < static_cast<double>(names.size()))
                j[std::string(input.Key) + "_name"] = names[static_cast<std::size_t>(v)];
        }
    }
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

std::string PrintableText(std::string_view text, std::size_t limit)
{
    static constexpr char Hex[] = "0123456789abcdef";
    const auto code = [](unsigned v) {
        return std::string("\\u00") + Hex[(v >> 4) & 15] + Hex[v & 15];
    };
    std::string out;
    std::size_t shown = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (shown == limit) {
            out += "...";
            break;
        }
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t len = c < 0x80         ? 1
                          : (c >> 5) == 6  ? 2
                          : (c >> 4) == 14 ? 3
                          : (c >> 3) == 30 ? 4
                                           : 0;
        for (std::size_t k = 1; k < len; ++k)
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                len = 0;
        const std::string_view piece = text.substr(i, len);
        if (len == 0) { // not UTF-8: the byte in hex
            out += std::string("\\x") + Hex[c >> 4] + Hex[c & 15];
            len = 1;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            out += code(c);
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (len == 2 && c == 0xC2 && static_cast<unsigned char>(piece[1]) < 0xA0) {
            out += code(static_cast<unsigned char>(piece[1])); // C1 control
        } else if (piece == "\u2028" || piece == "\u2029") {   // line and paragraph separators
            out += piece == "\u2028" ? "\\u2028" : "\\u2029";
        } else {
            out += piece;
        }
        i += len;
        ++shown;
    }
    return out;
}
