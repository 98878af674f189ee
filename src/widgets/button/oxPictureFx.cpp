#include "widgets/button/oxPictureFx.h"

#include "widgets/button/oxShade.h"

ToxPictureMask BuildMask(const ToxPicture &pic, const QImage &img)
{
    ToxPictureMask m;
    m.width = img.width();
    m.height = img.height();
    m.bits.assign(std::size_t(m.width) * std::size_t(m.height), 0);
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x)
            m.bits[std::size_t(y * m.width + x)] = pic.IsOpaqueAt(img, x, y) ? 1 : 0;
    return m;
}

void PaintMask(QImage &dst, const ToxPictureMask &mask, int x, int y, TColor c)
{
    const bool shade = IsShadeColor(c);
    const QColor q = ColorToQColor(c);
    if (!shade && !q.isValid())
        return;
    for (int my = 0; my < mask.height; ++my)
        for (int mx = 0; mx < mask.width; ++mx) {
            if (!mask.at(mx, my) || !dst.valid(x + mx, y + my))
                continue;
            if (shade)
                ShadePixel(dst, x + mx, y + my, ShadeAmount(c));
            else
                dst.setPixel(x + mx, y + my, q.rgb());
        }
}

void DrawGreyPicture(QImage &dst, const ToxPicture &pic, const QImage &img, int x, int y)
{
    for (int sy = 0; sy < img.height(); ++sy)
        for (int sx = 0; sx < img.width(); ++sx) {
            if (!dst.valid(x + sx, y + sy) || !pic.IsOpaqueAt(img, sx, sy))
                continue;
            const QRgb px = img.pixel(sx, sy);
            const int g = (qRed(px) + qGreen(px) + qBlue(px)) / 3;
            dst.setPixel(x + sx, y + sy, qRgb(g, g, g));
        }
}
