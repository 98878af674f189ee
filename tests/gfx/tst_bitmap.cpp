#include "gfx/Bitmap.h"

#include <QDir>

#include <gtest/gtest.h>

TEST(Bitmap, StartsWhiteWithBlackPenAndWhiteBrush)
{
    TBitmap b(3, 2);
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(b.Height(), 2);
    EXPECT_EQ(b.Canvas().Pen.Color, clBlack);
    EXPECT_EQ(b.Canvas().Brush.Color, clWhite);
    EXPECT_EQ(b.Canvas().Pixel(2, 1), clWhite);
    b.SetSize(5, 4);
    EXPECT_EQ(b.Canvas().width(), 5); // the canvas follows the new picture
    b.Canvas().setPixel(4, 3, clRed);
    EXPECT_EQ(b.Canvas().Pixel(4, 3), clRed);
    TBitmap empty;
    EXPECT_TRUE(empty.Empty());
}

TEST(Bitmap, DrawAtAPointAndCombineByAndOr)
{
    TBitmap src(2, 1);
    src.Canvas().setPixel(0, 0, 0x0F0F0F);
    src.Canvas().setPixel(1, 0, 0xF0F000);
    TBitmap dst(4, 2);
    dst.Canvas().Brush.Color = 0x3C3C3C;
    dst.Canvas().FillRect(0, 0, 4, 2);

    TBitmap copy(4, 2);
    copy.Canvas().Draw(1, 1, src);
    EXPECT_EQ(copy.Canvas().Pixel(1, 1), 0x0F0F0Fu);
    EXPECT_EQ(copy.Canvas().Pixel(2, 1), 0xF0F000u);
    EXPECT_EQ(copy.Canvas().Pixel(0, 1), clWhite);

    dst.Canvas().Draw(0, 0, src, TCopyMode::cmSrcAnd);
    EXPECT_EQ(dst.Canvas().Pixel(0, 0), 0x0C0C0Cu);
    EXPECT_EQ(dst.Canvas().Pixel(1, 0), 0x303000u);
    dst.Canvas().Draw(0, 1, src, TCopyMode::cmSrcPaint);
    EXPECT_EQ(dst.Canvas().Pixel(0, 1), 0x3F3F3Fu);
    EXPECT_EQ(dst.Canvas().Pixel(1, 1), 0xFCFC3Cu);

    dst.Canvas().Draw(3, 1, src); // hangs over the edge: clipped
    EXPECT_EQ(dst.Canvas().Pixel(3, 1), 0x0F0F0Fu);
}

TEST(Bitmap, TransparentColourIsLeftOut)
{
    TBitmap glyph(2, 2);
    glyph.Canvas().setPixel(0, 0, clRed);
    glyph.Canvas().setPixel(1, 1, clLime); // (0,1), bottom left, stays white
    glyph.Transparent = true;
    TBitmap dst(2, 2);
    dst.Canvas().Brush.Color = clNavy;
    dst.Canvas().FillRect(0, 0, 2, 2);
    dst.Canvas().Draw(0, 0, glyph);
    EXPECT_EQ(dst.Canvas().Pixel(0, 0), clRed);
    EXPECT_EQ(dst.Canvas().Pixel(1, 1), clLime);
    EXPECT_EQ(dst.Canvas().Pixel(1, 0), clNavy); // white, the bottom-left colour
    glyph.TransparentColor = clRed;
    dst.Canvas().FillRect(0, 0, 2, 2);
    dst.Canvas().Draw(0, 0, glyph);
    EXPECT_EQ(dst.Canvas().Pixel(0, 0), clNavy);
    EXPECT_EQ(dst.Canvas().Pixel(1, 0), clWhite);
}

TEST(Bitmap, StretchAndCopyRectScaleByWholePixels)
{
    TBitmap src(2, 1);
    src.Canvas().setPixel(0, 0, clBlack);
    src.Canvas().setPixel(1, 0, clRed);
    TBitmap dst(6, 3);
    dst.Canvas().StretchDraw(QRect(1, 1, 4, 2), src);
    EXPECT_EQ(dst.Canvas().Pixel(1, 1), clBlack);
    EXPECT_EQ(dst.Canvas().Pixel(2, 2), clBlack);
    EXPECT_EQ(dst.Canvas().Pixel(3, 1), clRed);
    EXPECT_EQ(dst.Canvas().Pixel(4, 2), clRed);
    EXPECT_EQ(dst.Canvas().Pixel(5, 1), clWhite);
    EXPECT_EQ(dst.Canvas().Pixel(1, 0), clWhite);

    TBitmap part(2, 2);
    part.Canvas().CopyRect(QRect(0, 0, 1, 1), dst.Canvas(), QRect(3, 1, 1, 1));
    EXPECT_EQ(part.Canvas().Pixel(0, 0), clRed);
}

TEST(Bitmap, LoadsFilesAndExposesRowBytes)
{
    TBitmap b(3, 2);
    b.Canvas().setPixel(1, 0, RGBColor(0x11, 0x22, 0x33));
    const QString file = QDir(QStringLiteral(VELMORA_TEST_OUTPUT_DIR)).filePath(QStringLiteral("bitmap_roundtrip.bmp"));
    ASSERT_TRUE(b.SaveToFile(file));

    TBitmap loaded;
    ASSERT_TRUE(loaded.LoadFromFile(file));
    EXPECT_EQ(loaded.Width(), 3);
    EXPECT_EQ(loaded.Canvas().Pixel(1, 0), RGBColor(0x11, 0x22, 0x33));
    const unsigned char *row = loaded.ScanLine(0);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row[4], 0x33); // blue, green, red per pixel
    EXPECT_EQ(row[5], 0x22);
    EXPECT_EQ(row[6], 0x11);
    EXPECT_EQ(loaded.ScanLine(2), nullptr);

    // A missing or broken file leaves the picture alone.
    EXPECT_FALSE(loaded.LoadFromFile(QStringLiteral("/nonexistent/none.bmp")));
    EXPECT_EQ(loaded.Width(), 3);
    EXPECT_FALSE(loaded.LoadFromResourceName(QStringLiteral("NOSUCHGLYPH")));
}
