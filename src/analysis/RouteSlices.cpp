#include "analysis/RouteSlices.h"

#include "model/ModelMath.h"

#include <GeographicLib/Geodesic.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace
{

std::string RangeProblem(const TRouteParamRange &r, double v)
{
    char buf[160];
    std::snprintf(buf, sizeof buf, "the %s must be from %g to %g, not %g", r.Name, r.Min, r.Max, v);
    return buf;
}

// Elevation as a function of distance along one piece: linear between the
// points, a point without elevation taking the value between its neighbours
// (level before the first and after the last that have one).
class TProfile
{
  public:
    explicit TProfile(const TRoutePiece &piece)
    {
        const auto &pts = piece.Points;
        m_dist.reserve(pts.size());
        m_ele.reserve(pts.size());
        for (const TRoutePoint &p : pts)
            m_dist.push_back(p.DistM);
        std::size_t prev = pts.size(); // the last point with an elevation
        for (std::size_t i = 0; i < pts.size(); ++i) {
            if (!pts[i].Ele) {
                m_ele.push_back(0); // filled below
                continue;
            }
            m_ele.push_back(*pts[i].Ele);
            const double e = *pts[i].Ele;
            if (prev == pts.size()) {
                std::fill(m_ele.begin(), m_ele.begin() + static_cast<std::ptrdiff_t>(i), e);
            } else {
                const double d0 = m_dist[prev], e0 = m_ele[prev], span = m_dist[i] - d0;
                for (std::size_t k = prev + 1; k < i; ++k)
                    m_ele[k] = span > 0 ? e0 + (e - e0) * (m_dist[k] - d0) / span : e0;
            }
            prev = i;
        }
        if (prev == pts.size())
            return; // no elevation at all
        std::fill(m_ele.begin() + static_cast<std::ptrdiff_t>(prev) + 1, m_ele.end(), m_ele[prev]);
        m_integral.assign(pts.size(), 0);
        for (std::size_t i = 1; i < pts.size(); ++i)
            m_integral[i] =
                m_integral[i - 1] + (m_dist[i] - m_dist[i - 1]) * (m_ele[i] + m_ele[i - 1]) / 2;
    }

    bool Empty() const { return m_integral.empty(); }
    double Length() const { return m_dist.back(); }

    double At(double x) const
    {
        const std::size_t i = Below(x);
        if (i + 1 >= m_dist.size())
            return m_ele[i];
        const double span = m_dist[i + 1] - m_dist[i];
        return span > 0 ? m_ele[i] + (m_ele[i + 1] - m_ele[i]) * (x - m_dist[i]) / span : m_ele[i];
    }

    // The integral of the elevation from the start to x.
    double Integral(double x) const
    {
        const std::size_t i = Below(x);
        return m_integral[i] + (x - m_dist[i]) * (m_ele[i] + At(x)) / 2;
    }

    double Mean(double s, double half) const
    {
        const double a = std::max(0.0, s - half);
        const double b = std::min(Length(), s + half);
        if (!(b - a > 0))
            return At(s);
        return (Integral(b) - Integral(a)) / (b - a);
    }

  private:
    // The last point at or before x (the first one for x before the start).
    std::size_t Below(double x) const
    {
        const auto it = std::upper_bound(m_dist.begin(), m_dist.end(), x);
        return it == m_dist.begin() ? 0 : static_cast<std::size_t>(it - m_dist.begin()) - 1;
    }

    std::vector<double> m_dist;
    std::vector<double> m_ele;
    std::vector<double> m_integral;
};

// The time at which the track first reaches distance x along the piece.
double ArrivalTime(const std::vector<TRoutePoint> &pts, double x)
{
    const auto it = std::lower_bound(pts.begin(), pts.end(), x,
                                     [](const TRoutePoint &p, double d) { return p.DistM < d; });
    if (it == pts.end())
        return pts.back().Time;
    if (it == pts.begin() || it->DistM == x)
        return it->Time;
    const TRoutePoint &a = *(it - 1);
    return a.Time + (it->Time - a.Time) * (x - a.DistM) / (it->DistM - a.DistM);
}

} // namespace

std::string CheckRouteParams(const TRouteParams &p)
{
    const std::pair<const TRouteParamRange &, double> checks[] = {
        {SliceRange, p.SliceM},
        {SmoothRange, p.SmoothM},
        {SpeedBinRange, p.SpeedBinMph},
        {GradientBinRange, p.GradientBin}};
    for (const auto &[range, v] : checks)
        if (!(v >= range.Min && v <= range.Max))
            return RangeProblem(range, v);
    return {};
}

void RequireRouteParams(const TRouteParams &params)
{
    if (std::string problem = CheckRouteParams(params); !problem.empty())
        throw std::invalid_argument(problem);
}

bool TRoutePiece::HasElevation() const
{
    return std::any_of(Points.begin(), Points.end(),
                       [](const TRoutePoint &p) { return p.Ele.has_value(); });
}

double TRouteSlice::SpeedMph() const
{
    return LengthM / TimeS * 3.6 * ModelMath::MilesPerKm;
}

std::optional<double> TRouteSlice::Gradient() const
{
    if (!RiseM)
        return std::nullopt;
    return *RiseM / LengthM;
}

TKeptTrack KeepPoints(const TGpxTrack &track)
{
    const GeographicLib::Geodesic &wgs84 = GeographicLib::Geodesic::WGS84();
    constexpr double maxMps = MaxTrackSpeedKmh / 3.6;
    TKeptTrack kept;
    kept.Pieces.reserve(track.Pieces.size());
    for (const std::vector<TTrackPoint> &raw : track.Pieces) {
        TRoutePiece piece;
        piece.Points.reserve(raw.size());
        const TTrackPoint *last = nullptr;
        for (const TTrackPoint &p : raw) {
            if (!last) {
                piece.Points.push_back({0, p.Time, p.Ele});
                last = &p;
                continue;
            }
            const double dt = p.Time - last->Time;
            if (!(dt > 0)) {
                ++kept.DroppedTimeNotIncreasing;
                continue;
            }
            double d = 0;
            wgs84.Inverse(last->Lat, last->Lon, p.Lat, p.Lon, d);
            if (!(d <= maxMps * dt)) {
                ++kept.DroppedJump;
                continue;
            }
            piece.Points.push_back({piece.Points.back().DistM + d, p.Time, p.Ele});
            last = &p;
        }
        if (!piece.Points.empty())
            kept.Pieces.push_back(std::move(piece));
    }
    return kept;
}

std::vector<double> SmoothedElevations(const TRoutePiece &piece, const std::vector<double> &at,
                                       double halfM)
{
    std::vector<double> out;
    if (piece.Points.empty())
        return out;
    const TProfile profile(piece);
    if (profile.Empty())
        return out;
    out.reserve(at.size());
    for (double s : at)
        out.push_back(profile.Mean(s, halfM));
    return out;
}

std::vector<TRouteSlice> SliceTrack(const TKeptTrack &track, const TRouteParams &params)
{
    RequireRouteParams(params);
    std::vector<TRouteSlice> slices;
    for (std::size_t k = 0; k < track.Pieces.size(); ++k) {
        const TRoutePiece &piece = track.Pieces[k];
        const double length = piece.LengthM();
        // Slice boundaries; the last one is the piece's end when the remainder is long enough.
        std::vector<double> cuts;
        for (std::size_t i = 0; static_cast<double>(i) * params.SliceM < length; ++i)
            cuts.push_back(static_cast<double>(i) * params.SliceM);
        if (cuts.empty())
            continue;
        if (length - cuts.back() >= MinLastSliceM)
            cuts.push_back(length); // else the short rest is dropped with its time
        if (cuts.size() < 2)
            continue;
        const std::vector<double> smooth = SmoothedElevations(piece, cuts, params.SmoothM);
        for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
            TRouteSlice s;
            s.Piece = k;
            s.StartM = cuts[i];
            s.LengthM = cuts[i + 1] - cuts[i];
            // Standing at the end of a piece counts in its last slice.
            const double end = i + 2 == cuts.size() && cuts[i + 1] == length
                                   ? piece.Points.back().Time
                                   : ArrivalTime(piece.Points, cuts[i + 1]);
            s.TimeS = end - ArrivalTime(piece.Points, cuts[i]);
            if (!smooth.empty())
                s.RiseM = smooth[i + 1] - smooth[i];
            slices.push_back(s);
        }
    }
    return slices;
}
