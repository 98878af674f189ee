#include "widgets/display/MeterPaint.h"

#include "gfx/Bitmap.h"
#include "widgets/display/MeterPrivate.h"
#include "gfx/Numeric.h"

#include <cmath>
#include <cstring>
#include <numbers>

void BuildAnchorMask(TBitmap &bmp)
{
    for (int y = 0; y < bmp.Height(); ++y) {
        unsigned char *row = bmp.ScanLine(y);
        for (int x = 0; x < bmp.Width(); ++x) {
            unsigned char *px = row + 4 * x;
            const bool black = px[0] == 0 && px[1] == 0 && px[2] == 0;
            px[0] = px[1] = px[2] = black ? 0xFF : 0x00;
        }
    }
}

TMeterPainter::TMeterPainter(TMeter &meter, const TMeter::Private &data, QImage &img)
    : m_meter(meter),
      d(data),
      m_c(&img),
      m_g(DialGeometry(d.meterLayout, img.width(), img.height(), d.rimTop, d.rimBottom,
                       d.rimSide)),
      m_w(img.width()),
      m_h(img.height())
{
}

void TMeterPainter::paint()
{
    if (m_g.R <= 0)
        return;
    if (m_meter.OnBeforeDrawScaleLabel || m_c.deviceImage()) {
        // The handler may draw something new every time, and a picture for a
        // high-density screen is drawn whole with its device picture: nothing
        // is kept.
        paintFace();
        drawNeedles();
        paintOverlay();
        return;
    }
    if (!overlayIsOpaque()) {
        m_c.image() = cachedFace(); // shared until the needles draw on it
        drawNeedles();
        paintOverlay();
        return;
    }
    // The face with the overlay already on it: only where a needle went can
    // the overlay have been drawn over, and only there is it put back.
    m_c.image() = cachedBase();
    const QRect needles = drawNeedles();
    copyOverlay(m_c.image(), d.cache, needles);
}

void TMeterPainter::copyOverlay(QImage &img, const TMeterCache &cache, const QRect &within)
{
    const int left = within.left(), right = within.left() + within.width();
    for (const TMeterCache::Run &r : cache.overlayRuns) {
        if (r.y < within.top() || r.y > within.bottom())
            continue;
        const int x1 = std::max(r.x1, left), x2 = std::min(r.x2, right);
        if (x1 < x2)
            std::memcpy(reinterpret_cast<QRgb *>(img.scanLine(r.y)) + x1,
                        reinterpret_cast<const QRgb *>(cache.overlay.constScanLine(r.y)) + x1,
                        sizeof(QRgb) * std::size_t(x2 - x1));
    }
}

const QImage &TMeterPainter::cachedBase()
{
    const QImage &face = cachedFace();
    TMeterCache &cache = cachedOverlay();
    if (cache.baseFace != face.cacheKey() || cache.baseOverlay != cache.overlay.cacheKey()
        || cache.base.isNull()) {
        QImage base = face.copy();
        copyOverlay(base, cache, base.rect());
        cache.base = base;
        cache.baseFace = face.cacheKey();
        cache.baseOverlay = cache.overlay.cacheKey();
    }
    return cache.base;
}

void TMeterPainter::paintFace()
{
    drawBackground();
    if (d.scaleBkVisible)
        drawBand();
    // Scale, labels and caption go on without a background.
    m_c.Brush.Style = TBrushStyle::bsClear;
    if (d.scaleVisible)
        drawScale();
    drawCaption();
}

void TMeterPainter::paintOverlay()
{
    m_c.Brush.Style = TBrushStyle::bsSolid; // as the needles leave it
    drawCover();
    drawHubAndOpeningEdge();
    drawLimitLamps();
    drawFrame();
}

const QImage &TMeterPainter::cachedFace()
{
    // The face starts from the background the control was filled with.
    TMeterCache &cache = d.cache;
    const QImage &img = m_c.image();
    const QRgb fill = img.isNull() ? 0 : img.pixel(0, 0);
    if (cache.faceShape != cache.shape || cache.faceSize != img.size() || cache.faceFill != fill
        || cache.face.isNull()) {
        QImage face = img.copy();
        TMeterPainter(m_meter, d, face).paintFace();
        cache.face = face;
        cache.faceShape = cache.shape;
        cache.faceSize = img.size();
        cache.faceFill = fill;
        ++cache.faceRenders;
    }
    return cache.face;
}

bool TMeterPainter::overlayIsOpaque() const
{
    // A hub picture is combined with what lies under it (AND, then OR); every
    // other part of the overlay paints its pixels whatever was there.
    return !(d.anchorCovered && !d.anchorImage.isEmpty());
}

TMeterCache &TMeterPainter::cachedOverlay()
{
    TMeterCache &cache = d.cache;
    const QSize size(m_w, m_h);
    if (cache.overlayShape == cache.shape && cache.overlaySize == size
        && cache.overlayHigh == d.limHighActive && cache.overlayLow == d.limLowActive
        && !cache.overlay.isNull())
        return cache;
    // Drawn over black and over white: where the two agree, the overlay
    // painted the pixel.
    QImage black(size, QImage::Format_RGB32);
    black.fill(qRgb(0, 0, 0));
    QImage white(size, QImage::Format_RGB32);
    white.fill(qRgb(255, 255, 255));
    TMeterPainter(m_meter, d, black).paintOverlay();
    TMeterPainter(m_meter, d, white).paintOverlay();
    cache.overlayRuns.clear();
    for (int y = 0; y < m_h; ++y) {
        const QRgb *a = reinterpret_cast<const QRgb *>(black.constScanLine(y));
        const QRgb *b = reinterpret_cast<const QRgb *>(white.constScanLine(y));
        int x = 0;
        while (x < m_w) {
            if (a[x] != b[x]) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < m_w && a[x] == b[x])
                ++x;
            cache.overlayRuns.push_back({y, start, x});
        }
    }
    cache.overlay = black;
    cache.overlayShape = cache.shape;
    cache.overlaySize = size;
    cache.overlayHigh = d.limHighActive;
    cache.overlayLow = d.limLowActive;
    ++cache.overlayRenders;
    return cache;
}

double TMeterPainter::angleOf(double v) const
{
    return ValueToAngle(m_g.sweep, d.meterMinValue, d.meterMaxValue, v);
}

QPoint TMeterPainter::at(double distance, double angleDeg) const
{
    return PolarPoint(m_g.cx, m_g.cy, distance, angleDeg);
}

void TMeterPainter::line(QPoint from, QPoint to)
{
    m_c.MoveTo(from.x(), from.y());
    m_c.LineTo(to.x(), to.y());
}

void TMeterPainter::lineOn(TColor color, std::initializer_list<QPoint> points)
{
    m_c.Pen.Color = color;
    for (const QPoint &p : points)
        m_c.LineTo(p.x(), p.y());
}

// ---- background and band -------------------------------------------------

void TMeterPainter::drawBackground()
{
    if (d.backGroundImg.isEmpty()) {
        m_c.Font = d.font;
        m_c.Pen.Color = d.colorBakG;
        m_c.Brush.Color = d.colorBakG;
        m_c.FillRect(0, 0, m_w, m_h);
        return;
    }
    const TBitmap &bmp = d.backgroundBitmap;
    switch (d.bkgndFillMode) {
    case TBkgFill::bfSimple:
        m_c.FillRect(0, 0, m_w, m_h);
        m_c.Draw(0, 0, bmp);
        break;
    case TBkgFill::bfStretch:
        m_c.StretchDraw(QRect(0, 0, m_w, m_h), bmp);
        break;
    case TBkgFill::bfTile: {
        const int bw = bmp.Width();
        const int bh = bmp.Height();
        if (bw <= 0 || bh <= 0)
            break;
        const int nx = (m_w - 1) / bw + 1;
        const int ny = (m_h - 1) / bh + 1;
        for (int i = 1; i <= nx; ++i) {
            for (int j = 1; j <= ny; ++j)
                m_c.Draw(bw * (i - 1), bh * (j - 1), bmp);
        }
        break;
    }
    }
}

void TMeterPainter::drawBand()
{
    const int cx = m_g.cx;
    const int cy = m_g.cy;
    const int ro = int(Round(m_g.R + 4));
    const int ri = int(Round((100 - d.scaleBkWidth) * m_g.R / 100));
    const TColor zoneColors[] = {d.colorSclBkLow, d.colorSclBkNorm, d.colorSclBkHigh};
    for (const TBandSegment &seg :
         BandSegments(m_g, d.meterMinValue, d.meterMaxValue, d.thresholdLow, d.thresholdHigh)) {
        m_c.Pen.Color = zoneColors[seg.zone];
        m_c.Brush.Color = zoneColors[seg.zone];
        const QPoint from = RadialPoint(cx, cy, m_g.R, seg.from);
        const QPoint to = RadialPoint(cx, cy, m_g.R, seg.to);
        m_c.Pie(cx - ro, cy - ro, cx + ro + 1, cy + ro, from.x(), from.y(), to.x(), to.y());
    }
    m_c.Pen.Color = d.colorBakG;
    m_c.Brush.Color = d.colorBakG;
    m_c.Ellipse(cx - ri, cy - ri, cx + ri + 1, cy + ri);
}

// ---- scale ---------------------------------------------------------------

void TMeterPainter::drawScale()
{
    m_c.Pen.Color = d.colorScale;
    if (d.meterScaleLine)
        drawScaleLine();
    const TScaleSteps steps = ComputeScale(d.meterNrTicks, d.meterMinValue, d.meterMaxValue);
    if (d.meterShortTicks)
        drawMinorTicks(steps);
    chooseLabelInset();
    drawMajorTicks(steps);
}

void TMeterPainter::drawScaleLine()
{
    const int cx = m_g.cx;
    const int cy = m_g.cy;
    const int rr = int(Round(m_g.R));
    const QPoint from = RadialPoint(cx, cy, m_g.R, m_g.endAngle());
    const QPoint to = RadialPoint(cx, cy, m_g.R, m_g.startAngle());
    m_c.Arc(cx - rr, cy - rr, cx + rr + 1, cy + rr, from.x(), from.y(), to.x(), to.y());
}

void TMeterPainter::drawMinorTicks(const TScaleSteps &steps)
{
    for (double v : MinorTickValues(steps, d.meterMinValue, d.meterMaxValue)) {
        const double a = angleOf(v);
        line(at(m_g.R, a), at(m_g.R - 4, a));
    }
}

void TMeterPainter::chooseLabelInset()
{
    // Measured in the font the canvas has now (the background step chose it),
    // then the labels switch to the gauge's font.
    const QString widest = FormatTickLabel(d.meterMaxValue, d.meterDecPlaces);
    m_labelInsetX = m_c.TextWidth(widest) / 2.0 + 15;
    m_labelInsetY = m_c.TextHeight(widest) / 2.0 + 15;
    m_c.Font = d.font;
}

void TMeterPainter::drawMajorTicks(const TScaleSteps &steps)
{
    const double r = m_g.R;
    for (double v : MajorTickValues(steps, d.meterMinValue, d.meterMaxValue)) {
        const double a = angleOf(v);
        line(at(r, a), at(r - 8, a));

        const double rad = a * std::numbers::pi / 180.0;
        const int lx = int(Round(m_g.cx + (r - m_labelInsetX) * std::cos(rad)));
        const int ly = int(Round(m_g.cy - (r - m_labelInsetY) * std::sin(rad)));
        QString text = FormatTickLabel(v, d.meterDecPlaces);
        if (m_meter.OnBeforeDrawScaleLabel) {
            m_meter.OnBeforeDrawScaleLabel(&m_meter, m_c, text, lx - m_c.TextWidth(text) / 2,
                                           ly - m_c.TextHeight(text) / 2);
        }
        if (!text.isEmpty())
            m_c.TextOut(lx - m_c.TextWidth(text) / 2, ly - m_c.TextHeight(text) / 2, text);
    }
}

void TMeterPainter::drawCaption()
{
    m_c.Font = d.fontCaption;
    const int tw = m_c.TextWidth(d.caption);
    const int th = m_c.TextHeight(d.caption);
    m_c.TextOut(m_g.cx - tw / 2, m_g.cy - int(Round(m_g.R / 3)) - th / 2, d.caption);
}

// ---- needles -------------------------------------------------------------

QRect TMeterPainter::drawNeedles()
{
    m_c.Brush.Style = TBrushStyle::bsSolid;
    QRect box;
    if (d.needleSec->Visible())
        box |= drawNeedle(*d.needleSec, d.valueSec);
    // The primary needle's Visible only gates the range events.
    box |= drawNeedle(*d.needle, d.value);
    return box;
}

namespace {

std::vector<QPoint> needleOutline(const TDialGeometry &g, double angleDeg, const TNeedleLayout &n)
{
    const auto vertices = NeedlePolygon(g.cx, g.cy, g.R - 4, angleDeg, n.shape());
    return {vertices.begin(), vertices.end()};
}

} // namespace

TMeterPose TMeterPainter::pose(const TMeter::Private &d, QSize size)
{
    TMeterPose pose{size, {}, {}, d.limHighActive, d.limLowActive};
    const TDialGeometry g = DialGeometry(d.meterLayout, size.width(), size.height(), d.rimTop,
                                         d.rimBottom, d.rimSide);
    if (g.R <= 0)
        return pose;
    auto angle = [&](double v) { return ValueToAngle(g.sweep, d.meterMinValue, d.meterMaxValue, v); };
    pose.needle = needleOutline(g, angle(d.value), *d.needle);
    if (d.needleSec->Visible())
        pose.needleSec = needleOutline(g, angle(d.valueSec), *d.needleSec);
    return pose;
}

QRect TMeterPainter::drawNeedle(const TNeedleLayout &n, double value)
{
    std::vector<QPoint> poly = needleOutline(m_g, angleOf(value), n);
    // Every pixel the outline or its shadow can touch, with a pixel to spare.
    const QRect body = QPolygon(poly.begin(), poly.end()).boundingRect().adjusted(-1, -1, 1, 1);
    const QRect box = body | body.translated(-n.ShadowDx(), -n.ShadowDy());
    // The shadow lies at minus the offsets from the needle.
    if (n.ShadowDx() != 0 || n.ShadowDy() != 0) {
        std::vector<QPoint> shadow = poly;
        for (QPoint &p : shadow)
            p -= QPoint(n.ShadowDx(), n.ShadowDy());
        m_c.Pen.Color = n.ShadowColor();
        m_c.Brush.Color = n.ShadowColor();
        m_c.Polygon(shadow);
    }
    m_c.Pen.Color = n.ColorOutline();
    m_c.Brush.Color = n.ColorBody();
    m_c.Polygon(poly);
    return box;
}

// ---- cover, opening edge and hub -------------------------------------------

void TMeterPainter::drawCover()
{
    m_c.Pen.Color = d.colorCover;
    m_c.Brush.Color = d.colorCover;
    m_c.FillRect(0, 0, d.rimSide - 1, m_h); // one pixel narrower than the right strip
    m_c.FillRect(0, 0, m_w, d.rimTop);
    m_c.FillRect(m_w - d.rimSide, 0, m_w, m_h);
    m_c.FillRect(0, m_h - d.rimBottom, m_w, m_h);
}

void TMeterPainter::drawOpeningEdge()
{
    const int left = d.rimSide - 1;
    const int right = m_w - d.rimSide;
    const int top = d.rimTop;
    const int bottom = m_h - d.rimBottom;
    m_c.MoveTo(left, bottom);
    lineOn(clWhite, {{right, bottom}, {right, top}});
    lineOn(clGray, {{left, top}, {left, bottom}});
}

void TMeterPainter::drawHubAndOpeningEdge()
{
    if (!d.anchorCovered) {
        drawOpeningEdge();
        return;
    }
    if (!d.anchorImage.isEmpty()) {
        drawOpeningEdge();
        drawImageHub();
        return;
    }
    switch (d.meterLayout) {
    case TMeterLayout::mlCirc270:
    case TMeterLayout::mlCirc300:
    case TMeterLayout::mlCirc360:
        drawDiscHub();
        break;
    case TMeterLayout::mlCirc90:
    case TMeterLayout::mlCirc120:
    case TMeterLayout::mlCirc180:
        drawHalfDiscHub();
        break;
    }
}

void TMeterPainter::drawDiscHub()
{
    const int cx = m_g.cx;
    const int cy = m_g.cy;
    const int as = d.anchorSize;
    m_c.Pen.Color = d.colorCover;
    m_c.Brush.Color = d.colorCover;
    m_c.Ellipse(cx - as, cy - as, cx + as, cy + as);
    drawOpeningEdge();
    // Light upper-left half, dark lower-right half: the hub looks raised.
    m_c.Pen.Color = clWhite;
    m_c.Arc(cx - as, cy - as, cx + as, cy + as, cx + as, cy - as, cx - as, cy + as);
    m_c.Pen.Color = clGray;
    m_c.Arc(cx - as, cy - as, cx + as, cy + as, cx - as, cy + as, cx + as, cy - as);
}

void TMeterPainter::drawHalfDiscHub()
{
    const int cx = m_g.cx;
    const int cy = m_g.cy;
    const int as = d.anchorSize;
    const int left = d.rimSide - 1;
    const int right = m_w - d.rimSide;
    const int top = d.rimTop;
    const int bottom = m_h - d.rimBottom;
    m_c.Pen.Color = d.colorCover;
    m_c.Brush.Color = d.colorCover;
    m_c.Pie(cx - as, cy - as, cx + as, cy + as, m_w, cy, 0, cy);
    m_c.Rectangle(cx - as, cy, cx + as, bottom);
    // The opening edge runs round the post that carries the half disc.
    m_c.MoveTo(cx + as - 1, cy);
    lineOn(clGray, {{cx + as - 1, bottom}});
    lineOn(clWhite, {{right, bottom}, {right, top}});
    lineOn(clGray, {{left, top}, {left, bottom}});
    lineOn(clWhite, {{cx - as, bottom}, {cx - as, cy - 1}});
    m_c.Pen.Color = clWhite;
    m_c.Arc(cx - as, cy - as, cx + as, cy + as, m_w, cy, 0, cy);
    m_c.Pen.Color = clGray;
    m_c.Arc(cx - as, cy - as, cx + as, cy + as, cx + as, cy, cx + as, cy - as);
}

void TMeterPainter::drawImageHub()
{
    const int x = m_g.cx - d.anchorBitmap.Width() / 2;
    const int y = m_g.cy - d.anchorBitmap.Height() / 2;
    m_c.Draw(x, y, d.anchorMask, TCopyMode::cmSrcAnd);
    m_c.Draw(x, y, d.anchorBitmap, TCopyMode::cmSrcPaint);
}

// ---- lamps and frame -------------------------------------------------------

void TMeterPainter::drawLimitLamps()
{
    if (d.limWatchHighOn)
        drawLamp(m_w - d.rimSide - 18, d.limHighActive);
    if (d.limWatchLowOn)
        drawLamp(d.rimSide + 8, d.limLowActive);
}

void TMeterPainter::drawLamp(int x0, bool active)
{
    const int t = d.rimTop;
    m_c.Brush.Style = TBrushStyle::bsSolid;
    m_c.Brush.Color = active ? d.limWatchActColor : d.limWatchPsvColor;
    m_c.Pen.Color = clBlack;
    m_c.Rectangle(x0, t + 8, x0 + 10, t + 18);
    m_c.MoveTo(x0 + 1, t + 17);
    lineOn(clWhite, {{x0 + 9, t + 17}, {x0 + 9, t + 8}});
    m_c.MoveTo(x0 + 2, t + 16);
    lineOn(clSilver, {{x0 + 8, t + 16}, {x0 + 8, t + 9}});
    m_c.MoveTo(x0 + 1, t + 16);
    lineOn(clGray, {{x0 + 1, t + 9}, {x0 + 9, t + 9}});
}

void TMeterPainter::drawFrame()
{
    const int w = m_w;
    const int h = m_h;
    const TColor dark = d.schemeShadowColor;
    const TColor light = d.schemeHighlightColor;
    // Lowered and raised: one pixel, first the top-left then the bottom-right.
    auto bevel = [&](TColor topLeft, TColor bottomRight) {
        m_c.MoveTo(0, h - 1);
        lineOn(topLeft, {{0, 0}, {w - 1, 0}});
        lineOn(bottomRight, {{w - 1, h - 1}, {0, h - 1}});
    };
    // Engraved and embossed: two pixels, an outline in one colour and an
    // inner and outer edge in the other.
    auto groove = [&](TColor outline, TColor edge) {
        m_c.MoveTo(0, 0);
        lineOn(outline, {{w - 2, 0}, {w - 2, h - 2}, {0, h - 2}, {0, 0}});
        m_c.MoveTo(1, h - 3);
        lineOn(edge, {{1, 1}, {w - 2, 1}});
        m_c.MoveTo(1, h - 1);
        lineOn(edge, {{w - 1, h - 1}, {w - 1, 0}});
    };
    switch (d.frameStyle) {
    case TFrameStyle::fsNone:
        break;
    case TFrameStyle::fsSimple:
        m_c.MoveTo(0, h - 1);
        lineOn(d.colorBakG, {{0, 0}, {w - 1, 0}, {w - 1, h - 1}, {0, h - 1}});
        break;
    case TFrameStyle::fsLowered:
        bevel(dark, light);
        break;
    case TFrameStyle::fsRaised:
        bevel(light, dark);
        break;
    case TFrameStyle::fsEngraved:
        groove(dark, light);
        break;
    case TFrameStyle::fsEmbossed:
        groove(light, dark);
        break;
    }
}

// ---- the gauge's paint entry -----------------------------------------------

void TMeter::paintTo(QImage &img)
{
    TMeterPainter(*this, *d, img).paint();
    d->drawnPose = TMeterPainter::pose(*d, img.size());
}
