#include "gfx/Canvas.h"

#include "gfx/KeptGlyphs.h"

#include "gfx/Bitmap.h"
#include "gfx/Numeric.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

bool resolve(TColor c, QRgb *out)
{
    const QColor q = ColorToQColor(c);
    if (!q.isValid())
        return false;
    *out = q.rgb() | 0xFF000000u;
    return true;
}

void normalize(int &a, int &b)
{
    if (b < a)
        std::swap(a, b);
}

} // namespace

void PrepareCanvasPainter(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

namespace
{

struct TDeviceLink {
    const QImage *Image;
    QImage *Device;
};

std::vector<TDeviceLink> &DeviceLinks()
{
    static std::vector<TDeviceLink> links; // GUI thread only, like all drawing
    return links;
}

} // namespace

TDeviceImageScope::TDeviceImageScope(const QImage *image, QImage *device) : m_image(image)
{
    DeviceLinks().push_back({image, device});
}

TDeviceImageScope::~TDeviceImageScope()
{
    auto &links = DeviceLinks();
    for (auto it = links.end(); it != links.begin();) {
        --it;
        if (it->Image == m_image) {
            links.erase(it);
            break;
        }
    }
}

QImage *TDeviceImageScope::deviceFor(const QImage *image)
{
    const auto &links = DeviceLinks();
    for (auto it = links.rbegin(); it != links.rend(); ++it)
        if (it->Image == image)
            return it->Device;
    return nullptr;
}

TCanvas::TCanvas(QImage *image) : m_image(image)
{
    if (m_image->format() != QImage::Format_RGB32 && m_image->format() != QImage::Format_ARGB32)
        *m_image = m_image->convertToFormat(QImage::Format_RGB32);
    if (QImage *device = TDeviceImageScope::deviceFor(image);
        device && device->devicePixelRatio() != 1 && !device->isNull()) {
        m_device = device;
        m_scale = device->devicePixelRatio();
    }
}

// ---- the device image -------------------------------------------------------

int TCanvas::edge(int v) const
{
    return int(std::lround(v * m_scale));
}

void TCanvas::mirrorFill(int x1, int x2, int y, QRgb c)
{
    const int dx1 = std::max(edge(x1), 0), dx2 = std::min(edge(x2), m_device->width());
    const int dy1 = std::max(edge(y), 0), dy2 = std::min(edge(y + 1), m_device->height());
    for (int dy = dy1; dy < dy2; ++dy) {
        QRgb *row = reinterpret_cast<QRgb *>(m_device->scanLine(dy));
        std::fill(row + dx1, row + std::max(dx1, dx2), c);
    }
}

void TCanvas::mirror(int x1, int x2, int y)
{
    if (!m_device || y < 0 || y >= m_image->height())
        return;
    x1 = std::max(x1, 0);
    x2 = std::min(x2, m_image->width());
    const QRgb *src = reinterpret_cast<const QRgb *>(m_image->constScanLine(y));
    for (int x = x1; x < x2; ++x)
        mirrorFill(x, x + 1, y, src[x]);
}

// ---- pixels ---------------------------------------------------------------

void TCanvas::plot(int x, int y, QRgb c)
{
    if (x < 0 || y < 0 || x >= m_image->width() || y >= m_image->height())
        return;
    reinterpret_cast<QRgb *>(m_image->scanLine(y))[x] = c;
    if (m_device)
        mirrorFill(x, x + 1, y, c);
}

void TCanvas::hspan(int x1, int x2, int y, QRgb c)
{
    if (y < 0 || y >= m_image->height())
        return;
    x1 = std::max(x1, 0);
    x2 = std::min(x2, m_image->width());
    if (x1 >= x2)
        return;
    QRgb *row = reinterpret_cast<QRgb *>(m_image->scanLine(y));
    std::fill(row + x1, row + x2, c);
    if (m_device)
        mirrorFill(x1, x2, y, c);
}

bool TCanvas::brushPaints() const
{
    if (Brush.Style == TBrushStyle::bsClear)
        return false;
    return !Brush.Bitmap.isNull() || ColorToQColor(Brush.Color).isValid();
}

bool TCanvas::penPaints(QRgb *c) const
{
    return Pen.Style != TPenStyle::psClear && Pen.Width > 0 && resolve(Pen.Color, c);
}

void TCanvas::fillSpanBrush(int x1, int x2, int y)
{
    if (Brush.Style == TBrushStyle::bsClear)
        return;
    if (Brush.Bitmap.isNull()) {
        QRgb c;
        if (resolve(Brush.Color, &c))
            hspan(x1, x2, y, c);
        return;
    }
    if (y < 0 || y >= m_image->height())
        return;
    x1 = std::max(x1, 0);
    x2 = std::min(x2, m_image->width());
    const QImage &pat = Brush.Bitmap;
    const int pw = pat.width(), ph = pat.height();
    QRgb *row = reinterpret_cast<QRgb *>(m_image->scanLine(y));
    for (int x = x1; x < x2; ++x)
        row[x] = pat.pixel(x % pw, y % ph) | 0xFF000000u;
    mirror(x1, x2, y);
}

TColor TCanvas::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_image->width() || y >= m_image->height())
        return clInvalid;
    return RgbToPlain(reinterpret_cast<const QRgb *>(m_image->constScanLine(y))[x]);
}

void TCanvas::setPixel(int x, int y, TColor c)
{
    QRgb rgb;
    if (resolve(c, &rgb))
        plot(x, y, rgb);
}

// ---- lines ----------------------------------------------------------------

void TCanvas::line(int x0, int y0, int x1, int y1, bool lastPoint)
{
    QRgb c;
    if (!penPaints(&c))
        return;
    const int w = Pen.Width;
    auto stamp = [&](int x, int y) {
        if (w == 1) {
            plot(x, y, c);
            return;
        }
        // A round pen tip of diameter w centred on the point.
        const double r = w / 2.0, off = (w - 1) / 2.0;
        for (int dy = 0; dy < w; ++dy)
            for (int dx = 0; dx < w; ++dx) {
                const double ex = dx - off, ey = dy - off;
                if (ex * ex + ey * ey <= r * r)
                    plot(x + dx - w / 2, y + dy - w / 2, c);
            }
    };
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    int x = x0, y = y0;
    for (;;) {
        if (x == x1 && y == y1) {
            if (lastPoint)
                stamp(x, y);
            break;
        }
        stamp(x, y);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void TCanvas::LineTo(int x, int y)
{
    line(m_penPos.x(), m_penPos.y(), x, y, false);
    m_penPos = QPoint(x, y);
}

void TCanvas::Polyline(const std::vector<QPoint> &points)
{
    for (std::size_t i = 1; i < points.size(); ++i)
        line(points[i - 1].x(), points[i - 1].y(), points[i].x(), points[i].y(), false);
}

void TCanvas::Polygon(const std::vector<QPoint> &points)
{
    const std::size_t n = points.size();
    if (n == 0)
        return;
    if (brushPaints() && n >= 3) {
        int ymin = points[0].y(), ymax = ymin;
        for (const QPoint &p : points) {
            ymin = std::min(ymin, p.y());
            ymax = std::max(ymax, p.y());
        }
        ymin = std::max(ymin, 0);
        ymax = std::min(ymax, m_image->height());
        std::vector<double> xs;
        for (int y = ymin; y < ymax; ++y) {
            xs.clear();
            for (std::size_t i = 0; i < n; ++i) {
                const QPoint &a = points[i];
                const QPoint &b = points[(i + 1) % n];
                if (a.y() == b.y())
                    continue;
                const int lo = std::min(a.y(), b.y()), hi = std::max(a.y(), b.y());
                if (y < lo || y >= hi)
                    continue; // top end in, bottom end out: shared vertices count once
                xs.push_back(a.x() + double(y - a.y()) * (b.x() - a.x()) / (b.y() - a.y()));
            }
            std::sort(xs.begin(), xs.end());
            for (std::size_t k = 0; k + 1 < xs.size(); k += 2)
                fillSpanBrush(int(std::ceil(xs[k])), int(std::ceil(xs[k + 1])), y);
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        const QPoint &a = points[i];
        const QPoint &b = points[(i + 1) % n];
        line(a.x(), a.y(), b.x(), b.y(), n == 1);
    }
}

// ---- boxes ----------------------------------------------------------------

void TCanvas::FillRect(int x1, int y1, int x2, int y2)
{
    normalize(x1, x2);
    normalize(y1, y2);
    for (int y = std::max(y1, 0); y < std::min(y2, m_image->height()); ++y)
        fillSpanBrush(x1, x2, y);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    normalize(x1, x2);
    normalize(y1, y2);
    QRgb c;
    if (!penPaints(&c)) {
        FillRect(x1, y1, x2, y2);
        return;
    }
    const int w = std::min({Pen.Width, (x2 - x1 + 1) / 2, (y2 - y1 + 1) / 2});
    FillRect(x1 + w, y1 + w, x2 - w, y2 - w);
    for (int i = 0; i < w; ++i) {
        hspan(x1, x2, y1 + i, c);
        hspan(x1, x2, y2 - 1 - i, c);
        for (int y = y1; y < y2; ++y) {
            plot(x1 + i, y, c);
            plot(x2 - 1 - i, y, c);
        }
    }
}

void TCanvas::FrameRect(int x1, int y1, int x2, int y2)
{
    normalize(x1, x2);
    normalize(y1, y2);
    if (x1 == x2 || y1 == y2)
        return;
    fillSpanBrush(x1, x2, y1);
    fillSpanBrush(x1, x2, y2 - 1);
    for (int y = y1 + 1; y < y2 - 1; ++y) {
        fillSpanBrush(x1, x1 + 1, y);
        fillSpanBrush(x2 - 1, x2, y);
    }
}

void TCanvas::DrawFocusRect(int x1, int y1, int x2, int y2)
{
    normalize(x1, x2);
    normalize(y1, y2);
    auto invert = [&](int x, int y) {
        if ((x - x1 + y - y1) % 2 != 0)
            return;
        if (x < 0 || y < 0 || x >= m_image->width() || y >= m_image->height())
            return;
        QRgb &p = reinterpret_cast<QRgb *>(m_image->scanLine(y))[x];
        p ^= 0x00FFFFFFu;
        mirror(x, x + 1, y);
    };
    if (x1 == x2 || y1 == y2)
        return;
    for (int x = x1; x < x2; ++x) {
        invert(x, y1);
        if (y2 - 1 != y1)
            invert(x, y2 - 1);
    }
    for (int y = y1 + 1; y < y2 - 1; ++y) {
        invert(x1, y);
        if (x2 - 1 != x1)
            invert(x2 - 1, y);
    }
}

// ---- ellipses, arcs, pies -------------------------------------------------

namespace {

// Inside pixels of row y of the ellipse centred at (cx, cy) with half-axes
// ra, rb (pixel centres on or inside the curve): [*lo, *hi], empty when lo > hi.
void ellipseRow(double cx, double cy, double ra, double rb, int y, int *lo, int *hi)
{
    *lo = 1;
    *hi = 0;
    if (ra <= 0 || rb <= 0)
        return;
    const double v = (y - cy) / rb;
    const double q = 1.0 - v * v;
    if (q < -1e-9)
        return;
    const double half = ra * std::sqrt(std::max(q, 0.0));
    *lo = int(std::ceil(cx - half - 1e-9));
    *hi = int(std::floor(cx + half + 1e-9));
}

// Which pixels lie on the counterclockwise sweep from the radial through S to
// the radial through E (vectors with y up). Exact for the half-integer
// coordinates the canvas works with.
class Sector
{
public:
    Sector(double su, double sv, double eu, double ev)
    {
        if (su == 0 && sv == 0)
            su = 1;
        if (eu == 0 && ev == 0)
            eu = 1;
        m_su = su;
        m_sv = sv;
        m_eu = eu;
        m_ev = ev;
        const double c = cross(su, sv, eu, ev), dot = su * eu + sv * ev;
        if (c == 0 && dot > 0)
            m_kind = Full;
        else if (c > 0)
            m_kind = Narrow;
        else if (c < 0)
            m_kind = Wide;
        else
            m_kind = Half;
    }

    bool contains(double u, double v) const
    {
        if (u == 0 && v == 0)
            return true;
        switch (m_kind) {
        case Full: return true;
        case Half: return cross(m_su, m_sv, u, v) >= 0;
        case Narrow: return cross(m_su, m_sv, u, v) >= 0 && cross(u, v, m_eu, m_ev) >= 0;
        case Wide: return !(cross(m_eu, m_ev, u, v) > 0 && cross(u, v, m_su, m_sv) > 0);
        }
        return true;
    }

private:
    static double cross(double au, double av, double bu, double bv) { return au * bv - av * bu; }
    enum Kind { Full, Half, Narrow, Wide } m_kind;
    double m_su, m_sv, m_eu, m_ev;
};

} // namespace

// mode 0: ellipse, 1: arc, 2: pie. The curve is the set of pixel centres
// inside the ellipse that fills the box; the outline is the part of it
// within the pen width of the edge (4-connected), the rest is the inside.
void TCanvas::ellipticShape(int x1, int y1, int x2, int y2, int mode, int sx, int sy, int ex, int ey)
{
    normalize(x1, x2);
    normalize(y1, y2);
    if (x1 == x2 || y1 == y2)
        return;
    const double cx = (x1 + x2 - 1) / 2.0, cy = (y1 + y2 - 1) / 2.0;
    const double ra = (x2 - x1) / 2.0, rb = (y2 - y1) / 2.0;
    const int w = std::max(Pen.Width, 1);
    QRgb pen = 0;
    const bool drawPen = penPaints(&pen);
    const bool fill = mode != 1;
    const Sector sector(sx - cx, cy - sy, ex - cx, cy - ey);
    auto inSector = [&](int x, int y) { return mode == 0 || sector.contains(x - cx, cy - y); };

    auto coreRow = [&](int y, int *lo, int *hi) { ellipseRow(cx, cy, ra - (w - 1), rb - (w - 1), y, lo, hi); };
    const int yTop = std::max(y1, 0), yEnd = std::min(y2, m_image->height());
    for (int y = yTop; y < yEnd; ++y) {
        int lo, hi;
        ellipseRow(cx, cy, ra, rb, y, &lo, &hi);
        lo = std::max(lo, x1);
        hi = std::min(hi, x2 - 1);
        if (lo > hi)
            continue;
        // Deep pixels: they and their four neighbours lie in the core.
        int cl, ch, ul, uh, dl, dh;
        coreRow(y, &cl, &ch);
        coreRow(y - 1, &ul, &uh);
        coreRow(y + 1, &dl, &dh);
        const int deepLo = std::max({cl + 1, ul, dl, lo});
        const int deepHi = std::min({ch - 1, uh, dh, hi});

        auto put = [&](int a, int b, bool outline) { // pixels a..b of this row
            if (a > b)
                return;
            if (mode == 0) {
                if (outline && drawPen)
                    hspan(a, b + 1, y, pen);
                else if (fill)
                    fillSpanBrush(a, b + 1, y);
                return;
            }
            for (int x = std::max(a, 0); x <= std::min(b, m_image->width() - 1); ++x) {
                if (!inSector(x, y))
                    continue;
                if (outline && drawPen)
                    plot(x, y, pen);
                else if (fill)
                    fillSpanBrush(x, x + 1, y);
            }
        };
        if (deepLo > deepHi) {
            put(lo, hi, true);
        } else {
            put(lo, deepLo - 1, true);
            if (fill)
                put(deepLo, deepHi, false);
            put(deepHi + 1, hi, true);
        }
    }
    if (mode == 2 && drawPen) {
        // The two radii, from the centre to where the radials meet the edge.
        auto edgePoint = [&](double px, double py) {
            double u = px - cx, v = cy - py;
            if (u == 0 && v == 0)
                u = 1;
            const double len = std::hypot(u, v);
            const double c = u / len, s = v / len;
            const double ea = std::max(ra - 0.5, 0.0), eb = std::max(rb - 0.5, 0.0);
            const double den = std::sqrt((c * eb) * (c * eb) + (s * ea) * (s * ea));
            const double r = den > 0 ? ea * eb / den : 0;
            return QPoint(int(Round(cx + r * c)), int(Round(cy - r * s)));
        };
        const QPoint centre(int(std::floor(cx)), int(std::floor(cy)));
        const QPoint p1 = edgePoint(sx, sy), p2 = edgePoint(ex, ey);
        line(centre.x(), centre.y(), p1.x(), p1.y(), true);
        line(centre.x(), centre.y(), p2.x(), p2.y(), true);
    }
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    ellipticShape(x1, y1, x2, y2, 0, 0, 0, 0, 0);
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int sx, int sy, int ex, int ey)
{
    ellipticShape(x1, y1, x2, y2, 1, sx, sy, ex, ey);
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int sx, int sy, int ex, int ey)
{
    ellipticShape(x1, y1, x2, y2, 2, sx, sy, ex, ey);
}

// ---- text -----------------------------------------------------------------

int TCanvas::TextWidth(const QString &text) const
{
    return TextAdvance(Font, text);
}

int TCanvas::TextHeight(const QString &) const
{
    return ResolvedFont(Font).Metrics.height();
}

void TCanvas::textCell(int x, int y, const QString &text, const QRect *clip, bool opaqueClip)
{
    if (m_image->isNull())
        return;
    const TResolvedFont resolved = ResolvedFont(Font);
    const QFont &qf = resolved.Font;
    const QFontMetrics &fm = resolved.Metrics;
    const int w = TextAdvance(Font, text), h = fm.height();
    // The cell's top-left relative to the reference point.
    int dx = 0, dy = 0;
    if (TextHAlign == TTextHAlign::Center)
        dx = -Div(w, 2);
    else if (TextHAlign == TTextHAlign::Right)
        dx = -w;
    if (TextVAlign == TTextVAlign::Baseline)
        dy = -fm.ascent();
    else if (TextVAlign == TTextVAlign::Bottom)
        dy = -h;
    const bool rotated = Font.Orientation % 3600 != 0;

    // Opaque background first, straight into the pixels.
    const bool opaque = brushPaints();
    if (opaque && clip && opaqueClip) {
        FillRect(*clip);
    } else if (opaque && !rotated) {
        QRect cell(x + dx, y + dy, w, h);
        if (clip)
            cell = cell.intersected(*clip);
        if (!cell.isEmpty())
            FillRect(cell);
    }

    const QColor fc = ColorToQColor(Font.Color);
    if (!fc.isValid() && !(opaque && rotated))
        return;
    // A number in a plain font is put together from kept glyphs, with no
    // painter at all.
    if (!rotated && !m_device && fc.isValid() && fc.alpha() == 255
        && DrawKeptGlyphs(*m_image, Font, text, QPoint(x + dx, y + dy + fm.ascent()),
                          clip ? *clip : m_image->rect(), fc.rgba()))
        return;
    // The glyphs go on the image and, at the device resolution, on the device
    // image: a painter on an image with a device pixel ratio takes the same
    // logical coordinates.
    auto glyphs = [&](QImage *target) {
        target->bits(); // detach before a painter holds on to the pixels
        QPainter p(target);
        PrepareCanvasPainter(p);
        if (clip)
            p.setClipRect(*clip);
        p.translate(x, y);
        if (rotated)
            p.rotate(-Font.Orientation / 10.0);
        p.translate(dx, dy);
        if (opaque && rotated && !(clip && opaqueClip))
            p.fillRect(QRect(0, 0, w, h), Brush.Bitmap.isNull() ? QBrush(ColorToQColor(Brush.Color))
                                                                : QBrush(Brush.Bitmap));
        if (!fc.isValid())
            return;
        p.setFont(qf);
        p.setPen(fc);
        p.drawText(0, fm.ascent(), text);
    };
    glyphs(m_image);
    if (m_device)
        glyphs(m_device);
}

void TCanvas::TextOut(int x, int y, const QString &text)
{
    textCell(x, y, text, nullptr, false);
}

void TCanvas::TextRect(const QRect &r, int x, int y, const QString &text)
{
    if (r.isEmpty())
        return;
    textCell(x, y, text, &r, true);
}

namespace {

struct PrefixedLine
{
    QString text;
    int underline = -1; // index of the character marked by "&"
};

PrefixedLine stripPrefix(const QString &s)
{
    PrefixedLine out;
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('&') && i + 1 < s.size()) {
            ++i;
            if (s[i] != QLatin1Char('&') && out.underline < 0)
                out.underline = int(out.text.size());
        }
        out.text += s[i];
    }
    return out;
}

QString expandTabs(const QString &s, const QFontMetrics &fm)
{
    if (!s.contains(QLatin1Char('\t')))
        return s;
    const int stop = std::max(1, 8 * fm.averageCharWidth());
    const int space = std::max(1, fm.horizontalAdvance(QLatin1Char(' ')));
    QString out;
    for (QChar ch : s) {
        if (ch != QLatin1Char('\t')) {
            out += ch;
            continue;
        }
        const int w = fm.horizontalAdvance(out);
        const int next = (w / stop + 1) * stop;
        out += QString((next - w + space - 1) / space, QLatin1Char(' '));
    }
    return out;
}

// Word-broken lines of one paragraph: break at spaces so each line fits;
// a word wider than the room keeps a line of its own.
QStringList wrapParagraph(const QString &para, int room, const QFontMetrics &fm)
{
    QStringList lines;
    QString current;
    const QStringList words = para.split(QLatin1Char(' '));
    for (const QString &word : words) {
        const QString candidate = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
        if (current.isEmpty() || fm.horizontalAdvance(candidate) <= room) {
            current = candidate;
        } else {
            lines << current;
            current = word;
        }
    }
    lines << current;
    return lines;
}

} // namespace

int TCanvas::DrawText(QRect &r, const QString &text, TTextFlags flags)
{
    const TResolvedFont resolved = ResolvedFont(Font);
    const QFontMetrics &fm = resolved.Metrics;
    const int lineH = fm.height();

    QStringList raw;
    if (flags.testFlag(TTextFlag::SingleLine)) {
        QString s = text;
        s.replace(QLatin1String("\r\n"), QLatin1String(" "));
        s.replace(QLatin1Char('\n'), QLatin1Char(' '));
        s.replace(QLatin1Char('\r'), QLatin1Char(' '));
        raw << s;
    } else {
        QString s = text;
        s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        raw = s.split(QLatin1Char('\n'));
    }

    std::vector<PrefixedLine> lines;
    for (const QString &para : raw) {
        PrefixedLine pl = flags.testFlag(TTextFlag::NoPrefix) ? PrefixedLine{para, -1} : stripPrefix(para);
        if (flags.testFlag(TTextFlag::ExpandTabs))
            pl.text = expandTabs(pl.text, fm);
        if (flags.testFlag(TTextFlag::WordBreak) && !flags.testFlag(TTextFlag::SingleLine)) {
            // Keep the mark on whichever wrapped line holds it.
            int offset = 0;
            for (const QString &l : wrapParagraph(pl.text, r.width(), fm)) {
                const int start = int(pl.text.indexOf(l, offset));
                PrefixedLine piece{l, -1};
                if (pl.underline >= start && pl.underline < start + l.size())
                    piece.underline = pl.underline - start;
                offset = start + int(l.size());
                lines.push_back(piece);
            }
        } else {
            lines.push_back(pl);
        }
    }

    int maxW = 0;
    for (const PrefixedLine &l : lines)
        maxW = std::max(maxW, fm.horizontalAdvance(l.text));
    const int total = lineH * int(lines.size());

    if (flags.testFlag(TTextFlag::CalcRect)) {
        r.setWidth(maxW);
        r.setHeight(total);
        return total;
    }

    int top = r.top();
    if (flags.testFlag(TTextFlag::SingleLine)) {
        if (flags.testFlag(TTextFlag::VCenter))
            top = r.top() + Div(r.height() - lineH, 2);
        else if (flags.testFlag(TTextFlag::Bottom))
            top = r.top() + r.height() - lineH;
    }

    const TTextHAlign savedH = TextHAlign;
    const TTextVAlign savedV = TextVAlign;
    TextHAlign = TTextHAlign::Left;
    TextVAlign = TTextVAlign::Top;
    const int savedOrientation = Font.Orientation;
    Font.Orientation = 0;
    const QRect clip = r;
    for (const PrefixedLine &l : lines) {
        const int w = fm.horizontalAdvance(l.text);
        int x = r.left();
        if (flags.testFlag(TTextFlag::Center))
            x = r.left() + Div(r.width() - w, 2);
        else if (flags.testFlag(TTextFlag::Right))
            x = r.left() + r.width() - w;
        textCell(x, top, l.text, flags.testFlag(TTextFlag::NoClip) ? nullptr : &clip, false);
        if (l.underline >= 0) {
            QRgb c;
            if (resolve(Font.Color, &c)) {
                const int ux = x + fm.horizontalAdvance(l.text.left(l.underline));
                const int uw = fm.horizontalAdvance(l.text.at(l.underline));
                const int uy = top + fm.ascent() + 1;
                if (flags.testFlag(TTextFlag::NoClip) || (uy >= clip.top() && uy <= clip.bottom()))
                    hspan(std::max(ux, flags.testFlag(TTextFlag::NoClip) ? ux : clip.left()),
                          std::min(ux + uw, flags.testFlag(TTextFlag::NoClip) ? ux + uw : clip.left() + clip.width()),
                          uy, c);
            }
        }
        top += lineH;
    }
    TextHAlign = savedH;
    TextVAlign = savedV;
    Font.Orientation = savedOrientation;
    return total;
}

// ---- images ---------------------------------------------------------------

void TCanvas::Draw(int x, int y, const TBitmap &bmp, TCopyMode mode)
{
    if (bmp.Transparent && mode == TCopyMode::cmSrcCopy)
        DrawTransparent(x, y, bmp.image(), bmp.EffectiveTransparentColor());
    else
        Draw(x, y, bmp.image(), mode);
}

void TCanvas::Draw(int x, int y, const QImage &img, TCopyMode mode)
{
    if (img.isNull())
        return;
    const QImage src = img.format() == QImage::Format_RGB32 || img.format() == QImage::Format_ARGB32
                           ? img
                           : img.convertToFormat(QImage::Format_RGB32);
    const QRect area = QRect(x, y, src.width(), src.height()).intersected(m_image->rect());
    for (int yy = area.top(); yy <= area.bottom(); ++yy) {
        const QRgb *s = reinterpret_cast<const QRgb *>(src.constScanLine(yy - y));
        QRgb *d = reinterpret_cast<QRgb *>(m_image->scanLine(yy));
        for (int xx = area.left(); xx <= area.right(); ++xx) {
            const QRgb sp = s[xx - x] | 0xFF000000u;
            switch (mode) {
            case TCopyMode::cmSrcCopy: d[xx] = sp; break;
            case TCopyMode::cmSrcAnd: d[xx] = (d[xx] & sp) | 0xFF000000u; break;
            case TCopyMode::cmSrcPaint: d[xx] = d[xx] | sp; break;
            }
        }
        mirror(area.left(), area.right() + 1, yy);
    }
}

void TCanvas::DrawTransparent(int x, int y, const QImage &img, TColor transparent)
{
    if (img.isNull())
        return;
    const QImage src = img.convertToFormat(QImage::Format_RGB32);
    const QRgb key = PlainToRgb(ColorToRGB(transparent)) & 0x00FFFFFFu;
    const QRect area = QRect(x, y, src.width(), src.height()).intersected(m_image->rect());
    for (int yy = area.top(); yy <= area.bottom(); ++yy) {
        const QRgb *s = reinterpret_cast<const QRgb *>(src.constScanLine(yy - y));
        QRgb *d = reinterpret_cast<QRgb *>(m_image->scanLine(yy));
        for (int xx = area.left(); xx <= area.right(); ++xx)
            if ((s[xx - x] & 0x00FFFFFFu) != key) {
                d[xx] = s[xx - x] | 0xFF000000u;
                mirror(xx, xx + 1, yy);
            }
    }
}

void TCanvas::StretchDraw(const QRect &dest, const TBitmap &bmp)
{
    if (bmp.Transparent) {
        if (dest.isEmpty() || bmp.Empty())
            return;
        DrawTransparent(dest.left(), dest.top(),
                        bmp.image().scaled(dest.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation),
                        bmp.EffectiveTransparentColor());
        return;
    }
    StretchDraw(dest, bmp.image());
}

void TCanvas::StretchDraw(const QRect &dest, const QImage &img)
{
    if (dest.isEmpty() || img.isNull())
        return;
    if (dest.size() == img.size())
        Draw(dest.left(), dest.top(), img);
    else
        Draw(dest.left(), dest.top(), img.scaled(dest.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

void TCanvas::CopyRect(const QRect &dest, const TCanvas &src, const QRect &srcRect)
{
    if (srcRect.isEmpty())
        return;
    StretchDraw(dest, src.image().copy(srcRect));
}
