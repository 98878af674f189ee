#include "gfx/Canvas.h"
#include "gfx/Color.h"
#include "gfx/Font.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>

#include <gtest/gtest.h>

TEST(Color, PlainColoursAreBlueGreenRed)
{
    EXPECT_EQ(ColorToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(ColorToQColor(clNavy), QColor(0, 0, 128));
    EXPECT_EQ(ColorToQColor(clYellow), QColor(255, 255, 0));
    EXPECT_EQ(ColorToQColor(RGBColor(1, 2, 3)), QColor(1, 2, 3));
    EXPECT_EQ(RgbToPlain(qRgb(0x12, 0x34, 0x56)), 0x563412u);
}

TEST(Color, SystemColoursComeFromTheApplicationPalette)
{
    const QPalette pal = QGuiApplication::palette();
    EXPECT_EQ(ColorToQColor(clBtnFace), pal.color(QPalette::Button));
    EXPECT_EQ(ColorToQColor(clBtnShadow), pal.color(QPalette::Dark));
    EXPECT_EQ(ColorToQColor(clBtnHighlight), pal.color(QPalette::Light));
    EXPECT_EQ(ColorToQColor(clWindow), pal.color(QPalette::Base));
    EXPECT_EQ(ColorToQColor(clWindowText), pal.color(QPalette::Text));
    EXPECT_EQ(ColorToRGB(clBtnFace), QColorToColor(pal.color(QPalette::Button)));
    EXPECT_EQ(ColorToRGB(clRed), clRed);
}

TEST(Color, NoColourAndShadeColoursResolveToNothing)
{
    EXPECT_FALSE(ColorToQColor(clNone).isValid());
    EXPECT_FALSE(ColorToQColor(0x30000104).isValid());
    EXPECT_TRUE(IsShadeColor(0x300000FA));
    EXPECT_FALSE(IsSystemColor(clNone));
    EXPECT_FALSE(IsSystemColor(clInvalid));
    EXPECT_FALSE(ColorToQColor(0x80000099).isValid()); // unknown system index
    EXPECT_EQ(ColorToRGB(clNone), clNone);
}

TEST(Font, SmallSansHasThirteenPixelLinesAtHeightMinusEleven)
{
    const TFont f; // MS Sans Serif, -11
    const QFont q = f.toQFont();
    EXPECT_TRUE(QFontInfo(q).family().startsWith(QStringLiteral("DejaVu Sans")));
    EXPECT_EQ(q.pixelSize(), 11);
    EXPECT_EQ(QFontMetrics(q).height(), 13);
    EXPECT_EQ(f.Size(), 8);
    // Narrow enough that the window's captions fit the boxes they were laid out in.
    EXPECT_LE(QFontMetrics(q).horizontalAdvance(QStringLiteral("Resistance")), 56);
}

TEST(Font, SizeAndHeightConvertBothWays)
{
    TFont f;
    f.setSize(10);
    EXPECT_EQ(f.Height, -13);
    f.Height = -13;
    EXPECT_EQ(f.Size(), 10);
    // A positive height is the whole cell: the line never exceeds it.
    f.Height = 13;
    EXPECT_LE(QFontMetrics(f.toQFont()).height(), 13);
    EXPECT_EQ(f.toQFont().pixelSize(), 11);
}

TEST(Font, CopyTakesEverything)
{
    TFont a(QStringLiteral("Arial"), -13, TFontStyle::fsBold | TFontStyle::fsItalic, clRed);
    a.Orientation = 900;
    TFont b;
    b = a;
    EXPECT_EQ(a, b);
    EXPECT_TRUE(b.toQFont().bold());
    EXPECT_TRUE(b.toQFont().italic());
    EXPECT_FALSE(TFont().toQFont().bold());
}
