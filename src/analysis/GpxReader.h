#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// One recorded position of a GPX track.
struct TTrackPoint {
    double Lat = 0;            // degrees, -90 .. 90
    double Lon = 0;            // degrees, -180 .. 180
    double Time = 0;           // seconds since 1970-01-01T00:00:00Z
    std::optional<double> Ele; // metres
};

// Every <trkseg> of every <trk> in file order, each one piece of timed points
// in the file's order. Points without a time are dropped and counted here;
// pieces that kept no point are left out.
struct TGpxTrack {
    std::vector<std::vector<TTrackPoint>> Pieces;
    std::int64_t PointsRead = 0; // every <trkpt>
    std::int64_t DroppedNoTime = 0;
};

enum class TGpxProblem {
    CannotRead,
    TooLarge,
    TooManyPoints,
    NotXml,
    Doctype, // a DOCTYPE or an entity declaration: never expanded
    NotGpx,
    RouteOnly,
    NoTrack,
    NoTimedPoint,
    BadCoordinate, // missing, not a number, or outside its range
    BadTime,
    BadElevation,
    NoMovement, // read well, but the track never moves
    Cancelled,
};

// A GPX file problem: which file, which line (0 for the file as a whole) and
// what is wrong, in one line of text.
struct TGpxError {
    TGpxProblem Kind = TGpxProblem::NotXml;
    std::string File;
    std::uint64_t Line = 0;
    std::string Problem;
    // "FILE: line N: problem", or "FILE: problem" without a line.
    std::string Message() const;
};

struct TGpxLimits {
    std::uint64_t MaxBytes = 64ull * 1024 * 1024;
    std::int64_t MaxPoints = 1'000'000;
};

// Told the bytes read so far and the file's size; returning false cancels.
using TGpxProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

// Reads the file in chunks, never holding its whole text. A DOCTYPE is refused
// before anything it declares is read, so no entity is ever expanded and no
// other file is ever opened.
std::variant<TGpxTrack, TGpxError> ReadGpxFile(const std::string &path,
                                               const TGpxLimits &limits = {},
                                               const TGpxProgress &progress = {});
// The same from text already read; `file` names it in messages.
std::variant<TGpxTrack, TGpxError> ParseGpx(std::string_view text, const std::string &file,
                                            const TGpxLimits &limits = {});
