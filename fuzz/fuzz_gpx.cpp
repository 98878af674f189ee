// The GPX reader and the route built from what it reads: any bytes either give
// a one-line message naming the file, or a track whose every point is in range
// and a duty list whose shares add up to 100 with binned speeds and gradients.

#include "analysis/DutyCycle.h"
#include "analysis/GpxReader.h"
#include "analysis/RouteDuty.h"

#include <cmath>
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
    for (const char c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return false;
    return true;
}

bool IsMultiple(double v, double bin)
{
    return std::fabs(v / bin - std::round(v / bin)) < 1e-9;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    // Fewer points than a real file may have keep each run short.
    const TGpxLimits limits{1024 * 1024, 20000};
    const auto read = ParseGpx(text, "fuzz.gpx", limits);
    if (const auto *e = std::get_if<TGpxError>(&read)) {
        const std::string m = e->Message();
        Check(m.rfind("fuzz.gpx: ", 0) == 0, "message names the file", m);
        Check(OnOneLine(m), "message is one line of printable text", m);
        Check(!e->Problem.empty(), "message says what is wrong", m);
        return 0;
    }
    const TGpxTrack &track = std::get<TGpxTrack>(read);
    Check(!track.Pieces.empty(), "a track read has a piece");
    for (const auto &piece : track.Pieces) {
        Check(!piece.empty(), "no empty piece");
        for (const TTrackPoint &p : piece) {
            Check(p.Lat >= -90 && p.Lat <= 90, "latitude in range");
            Check(p.Lon >= -180 && p.Lon <= 180, "longitude in range");
            Check(std::isfinite(p.Time), "time finite");
            Check(!p.Ele || std::isfinite(*p.Ele), "elevation finite");
        }
    }

    const TTruck truck;
    const TRoute route = RouteFromTrack(truck, track, {});
    const TRouteSummary &s = route.Summary;
    Check(std::isfinite(s.DistanceM) && s.DistanceM >= 0, "distance finite");
    Check(s.MovingDistanceM <= s.DistanceM + 1e-6, "moving distance within the distance");
    Check(std::isfinite(s.ClimbM) && s.ClimbM >= 0, "climb finite");
    Check(s.StandingSlices <= s.Slices, "standing slices among the slices");
    Check(s.PointsDropped() <= s.PointsRead, "no more dropped than read");
    if (route.Duty.empty())
        return 0;
    Check(CheckDutyShares(route.Duty).empty(), "shares add up to 100", CheckDutyShares(route.Duty));
    for (const TDutySegment &seg : route.Duty) {
        Check(seg.SpeedMph >= 5 && seg.SpeedMph <= 100 && IsMultiple(seg.SpeedMph, 5),
              "speed binned");
        Check(!seg.Gradient || (*seg.Gradient >= -0.5 - 1e-12 && *seg.Gradient <= 0.5 + 1e-12 &&
                                IsMultiple(*seg.Gradient, 0.01)),
              "gradient binned");
    }
    Check(!s.Trips || (std::isfinite(*s.Trips) && *s.Trips >= 0), "trips finite");
    return 0;
}
