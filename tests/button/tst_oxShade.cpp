#include "widgets/button/oxBackground.h"
#include "widgets/button/oxGradient.h"
#include "widgets/button/oxShade.h"

#include <QImage>
#include <gtest/gtest.h>

TEST(ShadeColorForm, AmountIsLowWordMinus256)
{
    EXPECT_EQ(ShadeAmount(0x30000104u), 4);
    EXPECT_EQ(ShadeAmount(0x300000FAu), -6);
    for (int a : {-256, -8, -1, 0, 1, 8, 300})
        EXPECT_EQ(ShadeAmount(MakeShadeColor(a)), a) << a;
    EXPECT_TRUE(IsShadeColor(MakeShadeColor(-4)));
}

TEST(ShadeColor, IdentityCases)
{
    EXPECT_EQ(ShadeColor(0x123456, 0), 0x123456u);
    EXPECT_EQ(ShadeColor(0xFFFFFFFFu, 4), 0xFFFFFFFFu);
    EXPECT_EQ(ShadeColor(clWhite, 4), clWhite);
    EXPECT_EQ(ShadeColor(clBlack, -4), clBlack);
}

TEST(ShadeColor, HlsRoundTripOfGreysAndPrimaries)
{
    EXPECT_EQ(RgbToHls(clWhite), (THls{0, 0, 240}));
    EXPECT_EQ(RgbToHls(clRed), (THls{0, 240, 120}));
    EXPECT_EQ(RgbToHls(clLime), (THls{80, 240, 120}));
    for (TColor c : {clBlack, clWhite, clGray, clSilver, clRed})
        EXPECT_EQ(HlsToRgb(RgbToHls(c)), c) << std::hex << c;
    // Hue is kept on a 0..239 scale, so other hues come back a step off.
    EXPECT_EQ(HlsToRgb(RgbToHls(clLime)), RGBColor(0, 255, 2));
}

TEST(ShadeColor, LuminanceSteps)
{
    // Small amounts move by eighths of the room left; large ones add directly.
    EXPECT_EQ(ShadedLuminance(120, 2), 120 + 2 * 15);
    EXPECT_EQ(ShadedLuminance(120, -3), 120 - 3 * 15);
    EXPECT_EQ(ShadedLuminance(100, 20), 120);
    EXPECT_EQ(ShadedLuminance(100, -9), 91);
    EXPECT_EQ(ShadedLuminance(230, 20), 240);
    EXPECT_EQ(ShadedLuminance(5, -20), 0);
    // Grey 0x808080 has luminance 120; +20 gives 140, i.e. 149 per component.
    EXPECT_EQ(RgbToHls(clGray).L, 120);
    EXPECT_EQ(ShadeColor(clGray, 20), RGBColor(149, 149, 149));
    EXPECT_EQ(RgbToHls(ShadeColor(clGray, 20)).L, 140);
}

TEST(ShadeColor, SystemColoursAreResolvedAndCached)
{
    const TColor face = ColorToRGB(clBtnFace);
    const TColor viaSystem = ShadeColor(clBtnFace, -2);
    EXPECT_EQ(viaSystem, ShadeColor(face, -2));
    EXPECT_TRUE(IsPlainColor(viaSystem));

    // A new amount starts an empty cache; repeated colours do not grow it.
    ShadeColor(0x010101, 5);
    EXPECT_EQ(ShadeCacheCount(), 1);
    ShadeColor(0x010101, 5);
    EXPECT_EQ(ShadeCacheCount(), 1);
    for (int i = 0; i < 40; ++i)
        ShadeColor(RGBColor(i, 2 * i, 3), 5);
    EXPECT_EQ(ShadeCacheCount(), 32); // never beyond the 32 entries
    // Entries past the cache still come out right.
    EXPECT_EQ(ShadeColor(RGBColor(39, 78, 3), 5), HlsToRgb([] {
                  THls h = RgbToHls(RGBColor(39, 78, 3));
                  h.L = ShadedLuminance(h.L, 5);
                  return h;
              }()));
}

TEST(ShadedDrawing, FillShadesEachPixelAndPlainFillPaints)
{
    QImage img(4, 3, QImage::Format_RGB32);
    img.fill(PlainToRgb(clGray));
    img.setPixel(0, 0, PlainToRgb(clBlack));
    ShadeFill(img, QRect(0, 0, 2, 3), 20);
    EXPECT_EQ(RgbToPlain(img.pixel(0, 0)), ShadeColor(clBlack, 20));
    EXPECT_EQ(RgbToPlain(img.pixel(1, 2)), RGBColor(149, 149, 149));
    EXPECT_EQ(RgbToPlain(img.pixel(2, 0)), clGray);

    FillColor(img, QRect(2, 0, 2, 3), clNone); // no colour draws nothing
    EXPECT_EQ(RgbToPlain(img.pixel(3, 1)), clGray);
    FillColor(img, QRect(2, 0, 5, 9), clRed); // clipped to the image
    EXPECT_EQ(RgbToPlain(img.pixel(3, 2)), clRed);
}

TEST(Gradient, TableRunsFromStartToOneStepShortOfEnd)
{
    TGradient g;
    EXPECT_FALSE(g.HasTable());
    EXPECT_EQ(g.ColorAt(0), clWhite);
    EXPECT_TRUE(g.HasTable());
    EXPECT_EQ(g.ColorAt(127), RGBColor(2, 2, 2));
    EXPECT_THROW(g.ColorAt(128), EInvalidIndex);
    try {
        g.ColorAt(g.Steps());
    } catch (const EInvalidIndex &e) {
        EXPECT_STREQ(e.what(), "Index out of range");
    }
    EXPECT_THROW(g.ColorAt(-1), EInvalidIndex);

    int notices = 0;
    g.OnChange = [&] { ++notices; };
    g.setEndColor(0);
    EXPECT_TRUE(g.HasTable()); // same colour: table kept
    g.setEndColor(clRed);
    EXPECT_FALSE(g.HasTable());
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(g.ColorAt(127), RGBColor(255, 2, 2));

    g.setSteps(0);
    EXPECT_THROW(g.ColorAt(0), EInvalidIndex);
}

TEST(Gradient, HorizontalBandsOverlapByOnePixelAndClip)
{
    TGradient g;
    QImage img(260, 4, QImage::Format_RGB32);
    img.fill(PlainToRgb(clRed));
    g.DrawHorizontal(img, QRect(0, 0, 256, 4));
    EXPECT_EQ(RgbToPlain(img.pixel(0, 0)), clWhite);
    EXPECT_EQ(RgbToPlain(img.pixel(1, 3)), clWhite);
    EXPECT_EQ(RgbToPlain(img.pixel(2, 0)), g.ColorAt(1)); // band 1 starts over band 0's third pixel
    EXPECT_EQ(RgbToPlain(img.pixel(255, 0)), RGBColor(2, 2, 2));
    EXPECT_EQ(RgbToPlain(img.pixel(256, 0)), clRed); // clipped

    g.setReverse(true);
    g.DrawHorizontal(img, QRect(0, 0, 256, 4));
    EXPECT_EQ(RgbToPlain(img.pixel(0, 0)), RGBColor(2, 2, 2));
    EXPECT_EQ(RgbToPlain(img.pixel(255, 0)), clWhite);
}

TEST(Gradient, VerticalBandsMayReachOnePixelBelow)
{
    TGradient g;
    g.setSteps(4);
    QImage img(2, 12, QImage::Format_RGB32);
    img.fill(PlainToRgb(clRed));
    g.setDirection(1);
    g.DrawGradient(img, QRect(0, 0, 2, 10)); // bands of 2.5 -> 3 pixels at 0, 2, 5, 7
    EXPECT_EQ(RgbToPlain(img.pixel(0, 0)), clWhite);
    EXPECT_EQ(RgbToPlain(img.pixel(0, 9)), g.ColorAt(3));
    EXPECT_EQ(RgbToPlain(img.pixel(1, 10)), clRed); // 7 + 3 = 10: nothing below
    g.setSteps(3);
    g.DrawGradient(img, QRect(0, 0, 2, 10)); // bands of 3.33 -> 4 pixels at 0, 3, 6
    EXPECT_EQ(RgbToPlain(img.pixel(0, 9)), g.ColorAt(2));
    EXPECT_EQ(RgbToPlain(img.pixel(0, 10)), clRed);
    g.setSteps(5);
    g.DrawGradient(img, QRect(0, 0, 2, 10)); // bands of 2 -> 3 pixels: last at 8..10
    EXPECT_EQ(RgbToPlain(img.pixel(0, 10)), g.ColorAt(4));
}

TEST(Dither, OddHeightPaintsFacePixelsEvenHeightPaintsWhite)
{
    const QRgb face = ColorToQColor(clBtnFace).rgb();
    QImage img(6, 6, QImage::Format_RGB32);
    img.fill(PlainToRgb(clBlack));
    DitherOverlay(img, QRect(1, 1, 4, 3)); // odd height
    EXPECT_EQ(img.pixel(1, 1), PlainToRgb(clBlack)); // x + y even relative to F: transparent
    EXPECT_EQ(img.pixel(2, 1), face);
    EXPECT_EQ(img.pixel(0, 0), PlainToRgb(clBlack)); // outside F

    img.fill(PlainToRgb(clBlack));
    DitherOverlay(img, QRect(1, 1, 4, 4)); // even height
    EXPECT_EQ(img.pixel(1, 1), PlainToRgb(clWhite));
    EXPECT_EQ(img.pixel(2, 1), PlainToRgb(clBlack));
    EXPECT_TRUE(HasDitherPattern());
}

TEST(Background, FillDrawsDitherOnlyWhenLatchedAndNotHot)
{
    ToxBackground bk;
    bk.setColor(clBlack);
    QImage img(4, 4, QImage::Format_RGB32);
    bk.Fill(img, img.rect(), clBlack, true, true);
    EXPECT_EQ(img.pixel(0, 0), PlainToRgb(clBlack));
    bk.Fill(img, img.rect(), clBlack, true, false);
    EXPECT_EQ(img.pixel(0, 0), PlainToRgb(clWhite));
    bk.setDitherDown(false);
    bk.Fill(img, img.rect(), clBlack, true, false);
    EXPECT_EQ(img.pixel(0, 0), PlainToRgb(clBlack));
}

TEST(Background, ClearStyleDrawsNothingOrShades)
{
    ToxBackground bk;
    bk.setStyle(ToxBackgroundStyle::oxbClear);
    bk.setDitherDown(false);
    QImage img(3, 3, QImage::Format_RGB32);
    img.fill(PlainToRgb(clGray));
    bk.setColor(clRed);
    bk.Fill(img, img.rect(), clRed, false, false);
    EXPECT_EQ(RgbToPlain(img.pixel(1, 1)), clGray);
    bk.setColor(MakeShadeColor(20));
    bk.Fill(img, QRect(0, 0, 2, 3), clGray, false, false);
    EXPECT_EQ(RgbToPlain(img.pixel(1, 1)), RGBColor(149, 149, 149));
    EXPECT_EQ(RgbToPlain(img.pixel(2, 1)), clGray);
}

TEST(Background, PictureStylesPlaceAndTile)
{
    ToxBackground bk;
    bk.setDitherDown(false);
    QImage pic(3, 2, QImage::Format_RGB32);
    pic.fill(PlainToRgb(clRed));
    pic.setPixel(0, 1, PlainToRgb(clLime)); // bottom-left: the transparent colour
    bk.Picture().setBitmap(pic);

    QImage img(10, 6, QImage::Format_RGB32);
    bk.setStyle(ToxBackgroundStyle::oxbPictureClip);
    bk.Fill(img, img.rect(), clBlack, false, false);
    // centred at ((10 - 3) / 2, (6 - 2) / 2) = (3, 2)
    EXPECT_EQ(RgbToPlain(img.pixel(3, 2)), clRed);
    EXPECT_EQ(RgbToPlain(img.pixel(3, 3)), clBlack); // transparent pixel shows the fill
    EXPECT_EQ(RgbToPlain(img.pixel(2, 2)), clBlack);

    bk.setStyle(ToxBackgroundStyle::oxbPicturePattern);
    bk.Fill(img, QRect(0, 0, 7, 3), clBlack, false, false);
    EXPECT_EQ(RgbToPlain(img.pixel(6, 0)), clRed);  // third tile starts at 6
    EXPECT_EQ(RgbToPlain(img.pixel(8, 0)), clRed);  // ...and is not cut at 7
    EXPECT_EQ(RgbToPlain(img.pixel(7, 3)), clRed);  // second row reaches y = 3

    bk.setStyle(ToxBackgroundStyle::oxbPictureStretch);
    bk.Fill(img, img.rect(), clBlack, false, false);
    EXPECT_EQ(RgbToPlain(img.pixel(9, 0)), clRed);
    EXPECT_EQ(RgbToPlain(img.pixel(0, 5)), clBlack);
}

TEST(Background, AssignCopiesStylePictureAndDitherOnly)
{
    ToxBackground a;
    ToxBackground b;
    a.setStyle(ToxBackgroundStyle::oxbGradient);
    a.setDitherDown(false);
    a.setColor(clRed);
    a.setGradient(clLime);
    QImage pic(2, 2, QImage::Format_RGB32);
    pic.fill(0);
    a.Picture().setBitmap(pic);
    int styleNotices = 0;
    b.OnStyleChange = [&](ToxBackgroundStyle) { ++styleNotices; };
    b.Assign(a);
    EXPECT_EQ(b.Style(), ToxBackgroundStyle::oxbGradient);
    EXPECT_FALSE(b.DitherDown());
    EXPECT_EQ(b.Picture().Width(), 2);
    EXPECT_EQ(b.Color(), 0u);
    EXPECT_EQ(b.Gradient(), clWhite);
    EXPECT_EQ(styleNotices, 1);
}
