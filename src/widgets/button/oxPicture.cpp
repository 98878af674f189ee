#include "widgets/button/oxPicture.h"

QImage ToxPicture::image() const
{
    if (m_animation)
        return m_animation->FrameImage();
    return m_image;
}

void ToxPicture::setBitmap(const QImage &img, TColor transparent)
{
    m_animation.reset();
    m_image = img.convertToFormat(QImage::Format_ARGB32);
    m_kind = img.isNull() ? ToxGraphicKind::None : ToxGraphicKind::Bitmap;
    m_transparent = transparent;
    changed();
}

void ToxPicture::setIcon(const QImage &img)
{
    m_animation.reset();
    m_image = img.convertToFormat(QImage::Format_ARGB32);
    m_kind = img.isNull() ? ToxGraphicKind::None : ToxGraphicKind::Icon;
    m_transparent = clNone;
    changed();
}

void ToxPicture::setAnimation(std::shared_ptr<IoxAnimatedGraphic> anim)
{
    m_animation = std::move(anim);
    m_image = QImage();
    m_kind = m_animation ? ToxGraphicKind::Bitmap : ToxGraphicKind::None;
    m_transparent = clNone;
    changed();
}

void ToxPicture::setOther(const QImage &img)
{
    m_animation.reset();
    m_image = img;
    m_kind = img.isNull() ? ToxGraphicKind::None : ToxGraphicKind::Other;
    changed();
}

void ToxPicture::clear()
{
    if (m_kind == ToxGraphicKind::None && !m_animation)
        return;
    m_animation.reset();
    m_image = QImage();
    m_kind = ToxGraphicKind::None;
    m_transparent = clNone;
    changed();
}

void ToxPicture::assign(const ToxPicture &other)
{
    if (&other == this)
        return;
    m_kind = other.m_kind;
    m_image = other.m_image;
    m_transparent = other.m_transparent;
    m_animation = other.m_animation;
    changed();
}

void ToxPicture::swapWith(ToxPicture &other)
{
    if (&other == this)
        return;
    std::swap(m_kind, other.m_kind);
    std::swap(m_image, other.m_image);
    std::swap(m_transparent, other.m_transparent);
    std::swap(m_animation, other.m_animation);
    changed();
    other.changed();
}

void ToxPicture::changed()
{
    if (OnChange)
        OnChange();
}

TColor ToxPicture::TransparentColor() const
{
    if (m_kind != ToxGraphicKind::Bitmap)
        return clNone;
    if (m_transparent != clNone)
        return ColorToRGB(m_transparent);
    const QImage img = image();
    if (img.isNull())
        return clNone;
    return RgbToPlain(img.pixel(0, img.height() - 1));
}

bool ToxPicture::IsOpaqueAt(const QImage &img, int x, int y) const
{
    if (!img.valid(x, y))
        return false;
    const QRgb px = img.pixel(x, y);
    if (m_kind == ToxGraphicKind::Icon)
        return qAlpha(px) != 0;
    const TColor t = TransparentColor();
    return t == clNone || RgbToPlain(px) != t;
}

void DrawPicture(QImage &dst, const ToxPicture &pic, const QImage &src, int x, int y)
{
    for (int sy = 0; sy < src.height(); ++sy)
        for (int sx = 0; sx < src.width(); ++sx) {
            if (!dst.valid(x + sx, y + sy) || !pic.IsOpaqueAt(src, sx, sy))
                continue;
            dst.setPixel(x + sx, y + sy, src.pixel(sx, sy) | 0xFF000000u);
        }
}
