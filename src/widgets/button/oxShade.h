#pragma once

#include "gfx/Color.h"

#include <QRect>

class QImage;

// The shade colour: top byte 0x30, the amount in the low 16 bits biased by
// 256. It stands for "whatever lies beneath, lightened (amount > 0) or
// darkened (amount < 0)".
constexpr TColor MakeShadeColor(int amount)
{
    return 0x30000000u | TColor((amount + 256) & 0xFFFF);
}
constexpr int ShadeAmount(TColor c) { return int(c & 0xFFFF) - 256; }

// Hue 0..239, saturation and luminance 0..240.
struct THls
{
    int H = 0;
    int S = 0;
    int L = 0;
    bool operator==(const THls &) const = default;
};

THls RgbToHls(TColor rgb);
TColor HlsToRgb(const THls &hls);

// The luminance after shading by amount, clamped to 0..240.
int ShadedLuminance(int L, int amount);

// c lightened or darkened by amount (system colours are resolved first); a
// plain colour comes back. Amount 0 or c == 0xFFFFFFFF return c unchanged.
// Results are kept in a small process-wide cache valid for one amount.
TColor ShadeColor(TColor c, int amount);

// How many cache entries are filled (for tests of the cache rules).
int ShadeCacheCount();

// Replace the pixel at (x, y) by its shade; points outside the image are skipped.
void ShadePixel(QImage &img, int x, int y, int amount);
// Shade every pixel of r, column by column from the left.
void ShadeFill(QImage &img, const QRect &r, int amount);

// Fill r with a colour value: a plain or system colour fills, a shade colour
// shades what is there, no colour draws nothing.
void FillColor(QImage &img, const QRect &r, TColor c);
