#pragma once

#include "gfx/Color.h"
#include "widgets/button/oxPicture.h"

#include <QImage>

#include <cstdint>
#include <vector>

// Which pixels of a picture are its own (dark in a monochrome mask) and
// which show through.
struct ToxPictureMask
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bits;
    bool at(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < width && y < height && bits[std::size_t(y * width + x)] != 0;
    }
};

ToxPictureMask BuildMask(const ToxPicture &pic, const QImage &img);

// Paint the mask's pixels at (x, y) in c; a shade colour shades them, no
// colour draws nothing.
void PaintMask(QImage &dst, const ToxPictureMask &mask, int x, int y, TColor c);

// The picture in grey: every own pixel becomes (R + G + B) / 3 in all three
// components; transparent pixels stay transparent.
void DrawGreyPicture(QImage &dst, const ToxPicture &pic, const QImage &img, int x, int y);
