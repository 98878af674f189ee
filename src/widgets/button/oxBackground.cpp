#include "widgets/button/oxBackground.h"

#include "widgets/button/oxShade.h"

#include <QImage>

#include <memory>

namespace {

std::unique_ptr<QImage> &ditherPattern()
{
    static std::unique_ptr<QImage> pattern;
    return pattern;
}

void fillPicture(QImage &img, const QRect &F, ToxBackgroundStyle style, const ToxPicture &pic)
{
    if (pic.Kind() != ToxGraphicKind::Bitmap && pic.Kind() != ToxGraphicKind::Icon)
        return;
    const QImage src = pic.image();
    if (src.isNull())
        return;
    switch (style) {
    case ToxBackgroundStyle::oxbPictureClip:
        DrawPicture(img, pic, src, F.left() + (F.width() - src.width()) / 2,
                    F.top() + (F.height() - src.height()) / 2);
        break;
    case ToxBackgroundStyle::oxbPictureStretch:
        if (!F.isEmpty())
            DrawPicture(img, pic, src.scaled(F.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation),
                        F.left(), F.top());
        break;
    case ToxBackgroundStyle::oxbPicturePattern:
        // Tiles are not cut at F's right and bottom edges.
        for (int y = F.top(); y < F.top() + F.height(); y += src.height())
            for (int x = F.left(); x < F.left() + F.width(); x += src.width())
                DrawPicture(img, pic, src, x, y);
        break;
    default:
        break;
    }
}

} // namespace

ToxBackground::ToxBackground()
{
    m_picture.OnChange = [this] { faceChanged(); };
    m_gradient.OnChange = [this] { faceChanged(); };
}

void ToxBackground::faceChanged()
{
    if (OnFaceChange)
        OnFaceChange();
}

void ToxBackground::setStyle(ToxBackgroundStyle s)
{
    if (s == m_style)
        return;
    m_style = s;
    if (OnStyleChange)
        OnStyleChange(s);
}

void ToxBackground::setColor(TColor c)
{
    if (c == m_color)
        return;
    m_color = c;
    if (OnColorChange)
        OnColorChange(c);
}

void ToxBackground::setGradient(TColor c)
{
    m_gradient.setStartColor(c); // notifies through the gradient on a real change
}

void ToxBackground::Assign(const ToxBackground &other)
{
    if (&other == this)
        return;
    m_ditherDown = other.m_ditherDown;
    setStyle(other.m_style);
    m_picture.assign(other.m_picture);
}

void ToxBackground::Fill(QImage &img, const QRect &F, TColor effective, bool latched, bool hot)
{
    if (F.isEmpty())
        return;
    switch (m_style) {
    case ToxBackgroundStyle::oxbClear:
        // The parent shows through; a shade colour shades what is there.
        if (IsShadeColor(m_color))
            ShadeFill(img, F, ShadeAmount(m_color));
        break;
    case ToxBackgroundStyle::oxbGradient:
    case ToxBackgroundStyle::oxbVertGradient:
        m_gradient.setEndColor(effective);
        if (m_style == ToxBackgroundStyle::oxbGradient)
            m_gradient.DrawHorizontal(img, F);
        else
            m_gradient.DrawVertical(img, F);
        break;
    default:
        FillColor(img, F, effective);
        fillPicture(img, F, m_style, m_picture);
        break;
    }
    if (m_ditherDown && latched && !hot)
        DitherOverlay(img, F);
}

const QImage &DitherPattern()
{
    auto &pattern = ditherPattern();
    if (!pattern) {
        pattern = std::make_unique<QImage>(8, 8, QImage::Format_RGB32);
        const QRgb face = ColorToQColor(clBtnFace).rgb();
        const QRgb white = PlainToRgb(clWhite);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                pattern->setPixel(x, y, (x + y) % 2 == 0 ? white : face);
    }
    return *pattern;
}

bool HasDitherPattern()
{
    return ditherPattern() != nullptr;
}

void FreeDitherPattern()
{
    ditherPattern().reset();
}

void DitherOverlay(QImage &img, const QRect &F)
{
    if (F.isEmpty())
        return;
    const QImage &pattern = DitherPattern();
    const QRgb transparent = pattern.pixel(0, (F.height() - 1) % 8);
    const QRect area = F.intersected(img.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb px = pattern.pixel((x - F.left()) % 8, (y - F.top()) % 8);
            if (px != transparent)
                img.setPixel(x, y, px);
        }
}
