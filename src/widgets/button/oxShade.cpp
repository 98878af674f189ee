#include "widgets/button/oxShade.h"

#include "gfx/Numeric.h"

#include <QImage>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {

struct TShadeEntry
{
    TColor in = 0;
    TColor out = 0;
};

// One set of results for the amount of the previous call. The lookup sees
// the first 31 entries; once they are full, every new result lands in the
// 32nd, which is overwritten each time.
struct TShadeCache
{
    std::array<TShadeEntry, 32> entries{};
    int count = 0;
    int amount = 0;
};

TShadeCache &shadeCache()
{
    static TShadeCache cache;
    return cache;
}

double hueToComponent(double m1, double m2, double t)
{
    if (t < 0)
        t += 1;
    if (t > 1)
        t -= 1;
    if (6 * t < 1)
        return m1 + (m2 - m1) * 6 * t;
    if (2 * t < 1)
        return m2;
    if (3 * t < 2)
        return m1 + (m2 - m1) * (2.0 / 3.0 - t) * 6;
    return m1;
}

int toByte(double v)
{
    return int(std::clamp<std::int64_t>(Round(255 * v), 0, 255));
}

} // namespace

THls RgbToHls(TColor rgb)
{
    const double r = GetRValue(rgb) / 255.0;
    const double g = GetGValue(rgb) / 255.0;
    const double b = GetBValue(rgb) / 255.0;
    const double mx = std::max({r, g, b});
    const double mn = std::min({r, g, b});
    const double l = (mx + mn) / 2;
    double h = 0;
    double s = 0;
    if (mx != mn) {
        const double d = mx - mn;
        s = l < 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
        if (mx == r)
            h = (g - b) / d;
        else if (mx != g)
            h = (r - g) / d + 4;
        else
            h = (b - r) / d + 2;
        h /= 6;
        if (h < 0)
            h += 1;
    }
    return {int(Round(h * 239)), int(Round(s * 240)), int(Round(l * 240))};
}

TColor HlsToRgb(const THls &hls)
{
    const double h = hls.H / 239.0;
    const double s = hls.S / 240.0;
    const double l = hls.L / 240.0;
    if (hls.S == 0) {
        const int grey = toByte(l);
        return RGBColor(grey, grey, grey);
    }
    const double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
    const double m1 = 2 * l - m2;
    return RGBColor(toByte(hueToComponent(m1, m2, h + 1.0 / 3.0)),
                    toByte(hueToComponent(m1, m2, h)),
                    toByte(hueToComponent(m1, m2, h - 1.0 / 3.0)));
}

int ShadedLuminance(int L, int amount)
{
    int n = L;
    if (std::abs(amount) > 8)
        n = L + amount;
    else if (amount > 0)
        n = L + amount * ((240 - L) / 8);
    else if (amount < 0)
        n = L - (-amount) * (L / 8);
    return std::clamp(n, 0, 240);
}

TColor ShadeColor(TColor c, int amount)
{
    TShadeCache &cache = shadeCache();
    if (amount != cache.amount || cache.amount == 0)
        cache.count = 0;
    cache.amount = amount;

    if (c == 0xFFFFFFFFu || amount == 0)
        return c;
    const int searchable = std::min(cache.count, 31);
    for (int i = 0; i < searchable; ++i)
        if (cache.entries[std::size_t(i)].in == c)
            return cache.entries[std::size_t(i)].out;

    THls hls = RgbToHls(ColorToRGB(c) & 0xFFFFFF);
    hls.L = ShadedLuminance(hls.L, amount);
    const TColor result = HlsToRgb(hls);

    const int slot = cache.count < 31 ? cache.count++ : 31;
    cache.count = std::max(cache.count, slot + 1);
    cache.entries[std::size_t(slot)] = {c, result};
    return result;
}

int ShadeCacheCount()
{
    return shadeCache().count;
}

void ShadePixel(QImage &img, int x, int y, int amount)
{
    if (!img.valid(x, y))
        return;
    const TColor c = RgbToPlain(img.pixel(x, y));
    img.setPixel(x, y, PlainToRgb(ShadeColor(c, amount)));
}

void ShadeFill(QImage &img, const QRect &r, int amount)
{
    const QRect area = r.intersected(img.rect());
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            ShadePixel(img, x, y, amount);
}

void FillColor(QImage &img, const QRect &r, TColor c)
{
    if (IsShadeColor(c)) {
        ShadeFill(img, r, ShadeAmount(c));
        return;
    }
    const QColor q = ColorToQColor(c);
    if (!q.isValid())
        return;
    const QRect area = r.intersected(img.rect());
    const QRgb px = q.rgb();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            img.setPixel(x, y, px);
}
