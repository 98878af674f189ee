#include "analysis/GpxReader.h"

#include "analysis/GpxTime.h"

#include <expat.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>

namespace
{

constexpr char NsSeparator = ' ';
constexpr std::string_view Gpx10 = "http://www.topografix.com/GPX/1/0";
constexpr std::string_view Gpx11 = "http://www.topografix.com/GPX/1/1";
constexpr std::size_t ChunkBytes = 64 * 1024;
// Longer text in <time> or <ele> is kept only this far; it cannot be valid.
constexpr std::size_t MaxValueText = 256;
constexpr std::size_t QuoteChars = 60;

// File text in a message: control characters escaped, cut to about 60 characters.
std::string Quote(std::string_view text)
{
    std::string out = "\"";
    std::size_t shown = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        // Count characters, not the continuation bytes of UTF-8.
        if ((c & 0xC0) != 0x80 && ++shown > QuoteChars) {
            out += "...";
            break;
        }
        if (c < 0x20 || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
    return out;
}

std::optional<double> ParseNumber(std::string_view s)
{
    while (!s.empty() && std::strchr(" \t\r\n", s.front()))
        s.remove_prefix(1);
    while (!s.empty() && std::strchr(" \t\r\n", s.back()))
        s.remove_suffix(1);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    if (s.empty() || s.front() == '+')
        return std::nullopt;
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// What an open element is to the reader. Anything not listed is skipped with
// everything inside it (extensions, metadata, waypoints, route points).
enum class TElem { Other, Gpx, Trk, Rte, Trkseg, Trkpt, Time, Ele };

class TGpxParser
{
  public:
    TGpxParser(const std::string &file, const TGpxLimits &limits) : m_limits(limits)
    {
        m_error.File = file;
        m_parser = XML_ParserCreateNS(nullptr, NsSeparator);
        XML_SetUserData(m_parser, this);
        XML_SetElementHandler(m_parser, &TGpxParser::OnStart, &TGpxParser::OnEnd);
        XML_SetCharacterDataHandler(m_parser, &TGpxParser::OnText);
        // No DOCTYPE and no declaration in it is ever acted on: the parser
        // stops at the first sign of one. External entities stay unloaded
        // because no handler to load them is installed.
        XML_SetStartDoctypeDeclHandler(m_parser, &TGpxParser::OnDoctype);
        XML_SetEntityDeclHandler(m_parser, &TGpxParser::OnEntityDecl);
        XML_SetParamEntityParsing(m_parser, XML_PARAM_ENTITY_PARSING_NEVER);
    }
    ~TGpxParser() { XML_ParserFree(m_parser); }
    TGpxParser(const TGpxParser &) = delete;
    TGpxParser &operator=(const TGpxParser &) = delete;

    // False once the text is refused; error() then says why.
    bool Feed(const char *data, std::size_t size, bool last)
    {
        if (m_failed)
            return false;
        if (XML_Parse(m_parser, data, static_cast<int>(size), last ? 1 : 0) == XML_STATUS_OK)
            return !m_failed;
        if (!m_failed) // expat's own complaint, not one of ours
            Fail(TGpxProblem::NotXml,
                 std::string("not well-formed XML: ") + XML_ErrorString(XML_GetErrorCode(m_parser)),
                 XML_GetCurrentLineNumber(m_parser));
        return false;
    }

    // After the last Feed: the track, or what the file lacks.
    std::variant<TGpxTrack, TGpxError> Finish()
    {
        if (m_failed)
            return m_error;
        if (!m_sawTrack) {
            if (m_firstRouteLine)
                return Error(TGpxProblem::RouteOnly,
                             "the file holds a route (<rte>) but no track; routes carry no times, "
                             "so only a recorded track (<trk>) can be read",
                             m_firstRouteLine);
            return Error(TGpxProblem::NoTrack, "the file holds no track (<trk>)",
                         XML_GetCurrentLineNumber(m_parser));
        }
        if (m_track.Pieces.empty())
            return Error(TGpxProblem::NoTimedPoint, "the track has no point with a time",
                         m_firstTrackLine);
        return std::move(m_track);
    }

    void Fail(TGpxProblem kind, std::string problem, std::uint64_t line)
    {
        if (m_failed)
            return;
        m_failed = true;
        m_error.Kind = kind;
        m_error.Problem = std::move(problem);
        m_error.Line = line;
        XML_StopParser(m_parser, XML_FALSE);
    }

    std::uint64_t Line() const { return XML_GetCurrentLineNumber(m_parser); }
    bool Failed() const { return m_failed; }
    const TGpxError &Error() const { return m_error; }

  private:
    TGpxError Error(TGpxProblem kind, std::string problem, std::uint64_t line) const
    {
        TGpxError e = m_error;
        e.Kind = kind;
        e.Problem = std::move(problem);
        e.Line = line;
        return e;
    }

    // "uri local" from the namespace-aware parser, or "local" without a namespace.
    static std::pair<std::string_view, std::string_view> Split(const XML_Char *name)
    {
        const std::string_view n(name);
        const std::size_t sep = n.rfind(NsSeparator);
        if (sep == std::string_view::npos)
            return {{}, n};
        return {n.substr(0, sep), n.substr(sep + 1)};
    }

    TElem Classify(const XML_Char *name)
    {
        const auto [ns, local] = Split(name);
        if (m_stack.empty()) {
            if (local != "gpx" || (!ns.empty() && ns != Gpx10 && ns != Gpx11)) {
                Fail(TGpxProblem::NotGpx,
                     "not a GPX file: the root element is " + Quote(local) +
                         (ns.empty() ? std::string() : " in namespace " + Quote(ns)) + ", not gpx",
                     Line());
                return TElem::Other;
            }
            m_ns = std::string(ns);
            return TElem::Gpx;
        }
        if (ns != m_ns)
            return TElem::Other;
        switch (m_stack.back()) {
        case TElem::Gpx:
            if (local == "trk")
                return TElem::Trk;
            if (local == "rte")
                return TElem::Rte;
            break;
        case TElem::Trk:
            if (local == "trkseg")
                return TElem::Trkseg;
            break;
        case TElem::Trkseg:
            if (local == "trkpt")
                return TElem::Trkpt;
            break;
        case TElem::Trkpt:
            if (local == "time")
                return TElem::Time;
            if (local == "ele")
                return TElem::Ele;
            break;
        default:
            break;
        }
        return TElem::Other;
    }

    std::optional<double> Coordinate(const XML_Char **atts, std::string_view key, double limit)
    {
        const char *text = nullptr;
        // Unprefixed attributes carry no namespace; the parser passes them by name alone.
        for (int i = 0; atts[i]; i += 2)
            if (std::string_view(atts[i]) == key)
                text = atts[i + 1];
        const std::string range = " -" + std::to_string(static_cast<int>(limit)) + " to " +
                                  std::to_string(static_cast<int>(limit));
        const std::string name = key == "lat" ? "latitude" : "longitude";
        if (!text) {
            Fail(TGpxProblem::BadCoordinate, "a track point has no " + std::string(key), Line());
            return std::nullopt;
        }
        const std::optional<double> v = ParseNumber(text);
        if (!v) {
            Fail(TGpxProblem::BadCoordinate, name + " " + Quote(text) + " is not a number", Line());
            return std::nullopt;
        }
        if (*v < -limit || *v > limit) {
            Fail(TGpxProblem::BadCoordinate, name + " " + Quote(text) + " is outside" + range,
                 Line());
            return std::nullopt;
        }
        return v;
    }

    void StartPoint(const XML_Char **atts)
    {
        if (++m_track.PointsRead > m_limits.MaxPoints) {
            Fail(TGpxProblem::TooManyPoints,
                 "the track has more than " + std::to_string(m_limits.MaxPoints) + " points",
                 Line());
            return;
        }
        m_point = TTrackPoint{};
        m_pointTime.reset();
        const std::optional<double> lat = Coordinate(atts, "lat", 90);
        if (!lat)
            return;
        const std::optional<double> lon = Coordinate(atts, "lon", 180);
        if (!lon)
            return;
        m_point.Lat = *lat;
        m_point.Lon = *lon;
    }

    void EndValue(TElem kind)
    {
        if (kind == TElem::Time) {
            m_pointTime = ParseIsoTime(m_text);
            if (!m_pointTime)
                Fail(TGpxProblem::BadTime,
                     "time " + Quote(m_text) + " is not an ISO 8601 date and time", m_textLine);
        } else {
            m_point.Ele = ParseNumber(m_text);
            if (!m_point.Ele)
                Fail(TGpxProblem::BadElevation, "elevation " + Quote(m_text) + " is not a number",
                     m_textLine);
        }
    }

    void EndPoint()
    {
        if (!m_pointTime) {
            ++m_track.DroppedNoTime;
            return;
        }
        m_point.Time = *m_pointTime;
        if (m_newPiece) {
            m_track.Pieces.emplace_back();
            m_newPiece = false;
        }
        m_track.Pieces.back().push_back(m_point);
    }

    static void XMLCALL OnStart(void *self, const XML_Char *name, const XML_Char **atts)
    {
        auto &p = *static_cast<TGpxParser *>(self);
        if (p.m_failed)
            return;
        const TElem kind =
            p.m_stack.empty() || p.m_stack.back() != TElem::Other ? p.Classify(name) : TElem::Other;
        p.m_stack.push_back(kind);
        switch (kind) {
        case TElem::Trk:
            if (!p.m_sawTrack)
                p.m_firstTrackLine = p.Line();
            p.m_sawTrack = true;
            break;
        case TElem::Rte:
            if (!p.m_firstRouteLine)
                p.m_firstRouteLine = p.Line();
            break;
        case TElem::Trkseg:
            p.m_newPiece = true;
            break;
        case TElem::Trkpt:
            p.StartPoint(atts);
            break;
        case TElem::Time:
        case TElem::Ele:
            p.m_text.clear();
            p.m_textLine = p.Line();
            break;
        default:
            break;
        }
    }

    static void XMLCALL OnEnd(void *self, const XML_Char *)
    {
        auto &p = *static_cast<TGpxParser *>(self);
        if (p.m_failed || p.m_stack.empty())
            return;
        const TElem kind = p.m_stack.back();
        p.m_stack.pop_back();
        if (kind == TElem::Time || kind == TElem::Ele)
            p.EndValue(kind);
        else if (kind == TElem::Trkpt)
            p.EndPoint();
    }

    static void XMLCALL OnText(void *self, const XML_Char *s, int len)
    {
        auto &p = *static_cast<TGpxParser *>(self);
        if (p.m_failed || p.m_stack.empty())
            return;
        const TElem kind = p.m_stack.back();
        if (kind != TElem::Time && kind != TElem::Ele)
            return;
        const std::size_t room = MaxValueText - std::min(MaxValueText, p.m_text.size());
        p.m_text.append(s, std::min(room, static_cast<std::size_t>(len)));
    }

    static void XMLCALL OnDoctype(void *self, const XML_Char *, const XML_Char *, const XML_Char *,
                                  int)
    {
        auto &p = *static_cast<TGpxParser *>(self);
        p.Fail(TGpxProblem::Doctype,
               "the file has a DOCTYPE; GPX needs none, and its entities are never read", p.Line());
    }

    static void XMLCALL OnEntityDecl(void *self, const XML_Char *, int, const XML_Char *, int,
                                     const XML_Char *, const XML_Char *, const XML_Char *,
                                     const XML_Char *)
    {
        auto &p = *static_cast<TGpxParser *>(self);
        p.Fail(TGpxProblem::Doctype, "the file declares an entity; entities are never read",
               p.Line());
    }

    XML_Parser m_parser = nullptr;
    TGpxLimits m_limits;
    TGpxError m_error;
    bool m_failed = false;
    std::vector<TElem> m_stack;
    std::string m_ns; // the root's namespace: GPX elements are in it
    TGpxTrack m_track;
    bool m_sawTrack = false;
    bool m_newPiece = false;
    std::uint64_t m_firstTrackLine = 0;
    std::uint64_t m_firstRouteLine = 0;
    TTrackPoint m_point;
    std::optional<double> m_pointTime;
    std::string m_text;
    std::uint64_t m_textLine = 0;
};

std::string TooLargeProblem(const TGpxLimits &limits)
{
    constexpr std::uint64_t mib = 1024 * 1024;
    const std::string size = limits.MaxBytes % mib == 0
                                 ? std::to_string(limits.MaxBytes / mib) + " MiB"
                                 : std::to_string(limits.MaxBytes) + " bytes";
    return "the file is larger than " + size + ", more than a GPX track needs";
}

} // namespace

std::string TGpxError::Message() const
{
    if (Line == 0)
        return File + ": " + Problem;
    return File + ": line " + std::to_string(Line) + ": " + Problem;
}

std::variant<TGpxTrack, TGpxError> ParseGpx(std::string_view text, const std::string &file,
                                            const TGpxLimits &limits)
{
    if (text.size() > limits.MaxBytes)
        return TGpxError{TGpxProblem::TooLarge, file, 0, TooLargeProblem(limits)};
    TGpxParser parser(file, limits);
    // Chunks keep each call within expat's int length.
    std::size_t pos = 0;
    do {
        const std::size_t n = std::min(ChunkBytes, text.size() - pos);
        if (!parser.Feed(text.data() + pos, n, pos + n == text.size()))
            break;
        pos += n;
    } while (pos < text.size());
    return parser.Finish();
}

std::variant<TGpxTrack, TGpxError> ReadGpxFile(const std::string &path, const TGpxLimits &limits,
                                               const TGpxProgress &progress)
{
    auto cannotRead = [&](int err) {
        return TGpxError{TGpxProblem::CannotRead, path, 0,
                         std::string("cannot be read: ") + std::strerror(err)};
    };
    const std::unique_ptr<std::FILE, int (*)(std::FILE *)> f(std::fopen(path.c_str(), "rb"),
                                                             &std::fclose);
    if (!f)
        return cannotRead(errno);
    struct stat st {
    };
    if (fstat(fileno(f.get()), &st) != 0)
        return cannotRead(errno);
    if (S_ISDIR(st.st_mode))
        return cannotRead(EISDIR);
    const std::uint64_t total = S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size) : 0;
    if (total > limits.MaxBytes)
        return TGpxError{TGpxProblem::TooLarge, path, 0, TooLargeProblem(limits)};

    TGpxParser parser(path, limits);
    std::vector<char> buf(ChunkBytes);
    std::uint64_t done = 0;
    for (;;) {
        const std::size_t n = std::fread(buf.data(), 1, buf.size(), f.get());
        if (n < buf.size() && std::ferror(f.get()))
            return cannotRead(errno);
        done += n;
        // A file that grows while it is read, or a pipe, meets the same limit.
        if (done > limits.MaxBytes)
            return TGpxError{TGpxProblem::TooLarge, path, parser.Line(), TooLargeProblem(limits)};
        const bool last = n < buf.size() && std::feof(f.get());
        if (!parser.Feed(buf.data(), n, last) || last)
            break;
        if (progress && !progress(done, total))
            return TGpxError{TGpxProblem::Cancelled, path, 0, "the import was cancelled"};
    }
    return parser.Finish();
}
