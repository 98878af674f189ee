#include "Canvas.h"

#include "Bitmap.h"
#include "Numeric.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

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

// Angle of (dx, dy) counterclockwise on screen, in [0, 2 pi).
double screenAngle(double dx, double dy)
{
    double a = std::atan2(-dy, dx);
    if (a < 0)
        a += 2 * std::numbers::pi;
    return a;
}

double wrapAngle(double a)
{
    const double full = 2 * std::numbers::pi;
    a = std::fmod(a, full);
    if (a < 0)
        a += full;
    return a;
}

void preparePainter(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

} // namespace

TCanvas::TCanvas(QImage *image) : m_image(image)
{
    if (m_image->format() != QImage::Format_RGB32 && m_image->format() != QImage::Format_ARGB32)
        *m_image = m_image->convertToFormat(QImage::Format_RGB32);
}

// ---- pixels ---------------------------------------------------------------

void TCanvas::plot(int x, int y, QRgb c)
{
    if (x < 0 || y < 0 || x >= m_image->width() || y >= m_image->height())
        return;
    reinterpret_cast<QRgb *>(m_image->scanLine(y))[x] = c;
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

// mode 0: ellipse, 1: arc, 2: pie.
void TCanvas::ellipticShape(int x1, int y1, int x2, int y2, int mode, int sx, int sy, int ex, int ey)
{
    normalize(x1, x2);
    normalize(y1, y2);
    if (x1 == x2 || y1 == y2)
        return;
    const double cx = (x1 + x2 - 1) / 2.0, cy = (y1 + y2 - 1) / 2.0;
    const int w = std::max(Pen.Width, 1);
    auto insideBox = [](double px, double py, double ccx, double ccy, double ra, double rb) {
        if (ra <= 0 || rb <= 0)
            return false;
        const double u = (px - ccx) / ra, v = (py - ccy) / rb;
        return u * u + v * v <= 1.0 + 1e-9;
    };
    const double ra = (x2 - x1) / 2.0, rb = (y2 - y1) / 2.0;
    auto inside = [&](int x, int y) { return insideBox(x, y, cx, cy, ra, rb); };
    // Pixels within the pen width of the edge form the outline.
    auto core = [&](int x, int y) { return insideBox(x, y, cx, cy, ra - (w - 1), rb - (w - 1)); };
    auto isOutline = [&](int x, int y) {
        return inside(x, y) && !(core(x, y) && core(x - 1, y) && core(x + 1, y) && core(x, y - 1) && core(x, y + 1));
    };

    const double a0 = screenAngle(sx - cx, sy - cy);
    double sweep = wrapAngle(screenAngle(ex - cx, ey - cy) - a0);
    if (sweep == 0)
        sweep = 2 * std::numbers::pi;
    auto inSector = [&](int x, int y) {
        if (mode == 0)
            return true;
        if (x == cx && y == cy)
            return true;
        return wrapAngle(screenAngle(x - cx, y - cy) - a0) <= sweep + 1e-9;
    };

    QRgb pen;
    const bool drawPen = penPaints(&pen);
    const bool fill = mode != 1;
    for (int y = std::max(y1, 0); y < std::min(y2, m_image->height()); ++y) {
        for (int x = std::max(x1, 0); x < std::min(x2, m_image->width()); ++x) {
            if (!inside(x, y) || !inSector(x, y))
                continue;
            if (isOutline(x, y)) {
                if (drawPen)
                    plot(x, y, pen);
                else if (fill)
                    fillSpanBrush(x, x + 1, y);
            } else if (fill) {
                fillSpanBrush(x, x + 1, y);
            }
        }
    }
    if (mode == 2 && drawPen) {
        // The two radii, from the centre to where the radials meet the edge.
        auto edgePoint = [&](double px, double py) {
            const double t = screenAngle(px - cx, py - cy);
            const double c = std::cos(t), s = std::sin(t);
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
    return QFontMetrics(Font.toQFont()).horizontalAdvance(text);
}

int TCanvas::TextHeight(const QString &) const
{
    return QFontMetrics(Font.toQFont()).height();
}

void TCanvas::textCell(int x, int y, const QString &text, const QRect *clip, bool opaqueClip)
{
    const QFont qf = Font.toQFont();
    const QFontMetrics fm(qf);
    const int w = fm.horizontalAdvance(text), h = fm.height();
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
    m_image->bits(); // detach before a painter holds on to the pixels
    QPainter p(m_image);
    preparePainter(p);
    if (clip)
        p.setClipRect(*clip);
    p.translate(x, y);
    if (rotated)
        p.rotate(-Font.Orientation / 10.0);
    p.translate(dx, dy);
    if (opaque && rotated && !(clip && opaqueClip))
        p.fillRect(QRect(0, 0, w, h),
                   Brush.Bitmap.isNull() ? QBrush(ColorToQColor(Brush.Color)) : QBrush(Brush.Bitmap));
    if (!fc.isValid())
        return;
    p.setFont(qf);
    p.setPen(fc);
    p.drawText(0, fm.ascent(), text);
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
    const QFont qf = Font.toQFont();
    const QFontMetrics fm(qf);
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
            if ((s[xx - x] & 0x00FFFFFFu) != key)
                d[xx] = s[xx - x] | 0xFF000000u;
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
