// The truck file reader: any bytes either give one line of printable text
// naming the file, or a truck whose every value is in its input's range and
// which the writer writes back to a file that reads as the same truck.

#include "analysis/InputRanges.h"
#include "analysis/TruckFile.h"
#include "analysis/TruckInputs.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace
{

[[noreturn]] void Fail(const char *what, std::string_view detail)
{
    std::fprintf(stderr, "fuzz check failed: %s: %.*s\n", what, static_cast<int>(detail.size()),
                 detail.data());
    std::abort();
}

void Check(bool ok, const char *what, std::string_view detail = {})
{
    if (!ok)
        Fail(what, detail);
}

bool OnOneLine(const std::string &s)
{
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x20 || c == 0x7F)
            return false;
        if (c == 0xC2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) < 0xA0)
            return false; // a C1 control such as NEL
        if (s.compare(i, 3, "\u2028") == 0 || s.compare(i, 3, "\u2029") == 0)
            return false;
    }
    return true;
}

void CheckInRange(const TTruck &t)
{
    for (const TTruckInput &input : TruckInputs())
        Check(input.Range.Contains(input.Get(t)), "input in range", input.Key);
    for (const TDutySegment &s : t.Duty) {
        Check(FindDutyRange("share_pct")->Contains(s.SharePct), "share in range");
        Check(FindDutyRange("speed_mph")->Contains(s.SpeedMph), "speed in range");
        Check(!s.Gradient || FindDutyRange("gradient")->Contains(*s.Gradient), "gradient in range");
        Check(!s.Load || FindDutyRange("load")->Contains(*s.Load), "load in range");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const auto read = ParseTruck(text, "fuzz.json");
    if (const auto *e = std::get_if<TTruckFileError>(&read)) {
        const std::string m = e->Message();
        Check(m.rfind("fuzz.json: ", 0) == 0, "message names the file", m);
        Check(OnOneLine(m), "message is one line of printable text", m);
        Check(!e->Problem.empty(), "message says what is wrong", m);
        Check(m.size() < 400, "message is short", m);
        return 0;
    }
    const TTruck &truck = std::get<TTruck>(read);
    CheckInRange(truck);
    const std::string written = TruckJson(truck);
    const auto again = ParseTruck(written, "fuzz.json");
    if (const auto *e = std::get_if<TTruckFileError>(&again))
        Fail("what was written reads back", e->Message());
    Check(TruckJson(std::get<TTruck>(again)) == written, "a second write is the same", written);
    return 0;
}
