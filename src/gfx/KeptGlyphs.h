#pragma once

#include "gfx/Font.h"

#include <QImage>
#include <QPoint>
#include <QRect>

// Numbers drawn from glyphs kept as pixels. A readout draws a new number on
// every tick; shaping the text and starting a painter for it cost far more
// than the few dozen pixels it sets. The digits, signs, separators and
// exponent marks of a font are drawn once, one by one, and a number is then
// put together from them. A font takes this path only once it has proved,
// on this machine, that a text of every pair of those characters comes out
// pixel for pixel as the painter draws it and measures as the painter
// measures it; otherwise, and for any other text, these return false and
// the caller draws as before. For the GUI thread only.

// The advance of `text` in `font`, when every character of it is kept.
bool KeptTextAdvance(const TFont &font, const QString &text, int *advance);

// Draws `text` with the left end of its baseline at `origin`, in `color`,
// setting only pixels inside `clip` and the image. Draws nothing and returns
// false when the text cannot be drawn exactly so from kept glyphs.
bool DrawKeptGlyphs(QImage &image, const TFont &font, const QString &text, QPoint origin,
                    const QRect &clip, QRgb color);
