#pragma once

// GPX text for tests: tracks along the meridian of Greenwich, north from the
// equator, so that a point's distance from the start is simply its meridian
// distance.
#include <GeographicLib/Geodesic.hpp>

#include <cstddef>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

namespace gpxtext
{

inline constexpr double T0 = 1714550400; // 2024-05-01T08:00:00Z

// A track point `DistM` north of the equator, `TimeS` after T0.
struct TFix {
    double DistM = 0;
    std::optional<double> TimeS;
    std::optional<double> Ele;
};
using TPiece = std::vector<TFix>;

inline double LatAt(double distM)
{
    double lat = 0, lon = 0;
    GeographicLib::Geodesic::WGS84().Direct(0, 0, 0, distM, lat, lon);
    return lat;
}

inline std::string IsoTime(double secondsAfterT0)
{
    const double t = T0 + secondsAfterT0;
    const auto whole = static_cast<std::time_t>(t);
    std::tm tm{};
    gmtime_r(&whole, &tm);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%06.3fZ", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                  tm.tm_sec + (t - static_cast<double>(whole)));
    return buf;
}

inline std::string Point(const TFix &f)
{
    char buf[96];
    std::snprintf(buf, sizeof buf, "<trkpt lat=\"%.12f\" lon=\"0\">", LatAt(f.DistM));
    std::string s = buf;
    if (f.Ele) {
        std::snprintf(buf, sizeof buf, "<ele>%.6f</ele>", *f.Ele);
        s += buf;
    }
    if (f.TimeS)
        s += "<time>" + IsoTime(*f.TimeS) + "</time>";
    return s + "</trkpt>\n";
}

// GPX 1.1 with one track, one <trkseg> per piece.
inline std::string Track(const std::vector<TPiece> &pieces)
{
    std::string s =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<gpx version=\"1.1\" creator=\"test\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
        "<trk><name>test</name>\n";
    for (const TPiece &p : pieces) {
        s += "<trkseg>\n";
        for (const TFix &f : p)
            s += Point(f);
        s += "</trkseg>\n";
    }
    return s + "</trk>\n</gpx>\n";
}

// Points every `stepM` from `fromM` to `toM` at `mps` metres a second,
// starting `startS` after T0; elevation from `ele` when given.
template <class Ele = std::nullptr_t>
TPiece Line(double fromM, double toM, double stepM, double mps, double startS, Ele ele = nullptr)
{
    TPiece p;
    for (double d = fromM; d <= toM + 1e-9; d += stepM) {
        TFix f{d, startS + (d - fromM) / mps, std::nullopt};
        if constexpr (!std::is_same_v<Ele, std::nullptr_t>)
            f.Ele = ele(d);
        p.push_back(f);
    }
    return p;
}

} // namespace gpxtext
