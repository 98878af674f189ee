#include "gfx/Bitmap.h"

#include <QFontMetrics>
#include <QSet>

#include <gtest/gtest.h>

namespace {

QRect inkBox(const TBitmap &b, TColor ink)
{
    QRect box;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (b.Canvas().Pixel(x, y) == ink)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST(CanvasText, TextOutIsCrispAndStaysInItsCell)
{
    TBitmap b(80, 20);
    TCanvas &c = b.Canvas();
    c.Brush.Style = TBrushStyle::bsClear;
    c.Font.Color = clBlack;
    c.TextOut(5, 3, QStringLiteral("Power (8g]"));
    QSet<QRgb> colours;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 80; ++x)
            colours.insert(b.image().pixel(x, y));
    EXPECT_EQ(colours.size(), 2); // no antialiasing: ink and paper only
    const QRect ink = inkBox(b, clBlack);
    const QRect cell(5, 3, c.TextWidth(QStringLiteral("Power (8g]")), c.TextHeight(QStringLiteral("x")));
    EXPECT_TRUE(cell.contains(ink)) << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
    EXPECT_LE(ink.left(), 6);
    EXPECT_EQ(c.TextHeight(QStringLiteral("")), 13);
}

TEST(CanvasText, SolidBrushFillsExactlyTheTextCell)
{
    TBitmap b(60, 20);
    TCanvas &c = b.Canvas();
    c.Brush.Color = clRed;
    c.Font.Color = clBlack;
    c.TextOut(4, 2, QStringLiteral("Ab"));
    const int w = c.TextWidth(QStringLiteral("Ab"));
    QRect filled;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x)
            if (c.Pixel(x, y) != clWhite)
                filled |= QRect(x, y, 1, 1);
    EXPECT_EQ(filled, QRect(4, 2, w, 13));
}

TEST(CanvasText, ReferencePointAlignments)
{
    TBitmap b(100, 40);
    TCanvas &c = b.Canvas();
    c.Brush.Color = clRed;
    c.Font.Color = clRed; // measure the cell through the fill only
    const QString t = QStringLiteral("Wide");
    const int w = c.TextWidth(t);
    c.TextHAlign = TTextHAlign::Center;
    c.TextVAlign = TTextVAlign::Baseline;
    c.TextOut(50, 20, t);
    const QRect box = inkBox(b, clRed);
    EXPECT_EQ(box.left(), 50 - w / 2);
    EXPECT_EQ(box.width(), w);
    EXPECT_EQ(box.top(), 20 - QFontMetrics(c.Font.toQFont()).ascent());
}

TEST(CanvasText, TextRectFillsAndClipsToItsRectangle)
{
    TBitmap b(60, 20);
    TCanvas &c = b.Canvas();
    c.Brush.Color = clRed;
    c.Font.Color = clBlack;
    const QRect r(10, 4, 12, 9);
    c.TextRect(r, 8, 2, QStringLiteral("WWWWWW"));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            const bool in = r.contains(x, y);
            const TColor p = c.Pixel(x, y);
            if (!in)
                EXPECT_EQ(p, clWhite) << x << "," << y;
            else
                EXPECT_TRUE(p == clRed || p == clBlack) << x << "," << y;
        }
    EXPECT_TRUE(inkBox(b, clBlack).isValid());
}

TEST(CanvasText, DrawTextAlignsInItsRectangle)
{
    const QString t = QStringLiteral("Abc");
    for (const auto &[flag, expectLeft] : std::vector<std::pair<TTextFlags, int>>{
             {TTextFlag::Left, 10}, {TTextFlag::Center, -1}, {TTextFlag::Right, -2}}) {
        TBitmap b(100, 40);
        TCanvas &c = b.Canvas();
        c.Brush.Color = clRed;
        c.Font.Color = clRed;
        const int w = c.TextWidth(t);
        const QRect r(10, 5, 60, 30);
        c.DrawText(r, t, flag | TTextFlag::SingleLine | TTextFlag::VCenter);
        const QRect box = inkBox(b, clRed);
        const int left = expectLeft == 10 ? 10 : expectLeft == -1 ? 10 + (60 - w) / 2 : 70 - w;
        EXPECT_EQ(box, QRect(left, 5 + (30 - 13) / 2, w, 13));
    }
}

TEST(CanvasText, WordBreakAndMeasuring)
{
    TBitmap b(100, 60);
    TCanvas &c = b.Canvas();
    const QString t = QStringLiteral("one two three");
    QRect r(0, 0, c.TextWidth(QStringLiteral("one two")) + 2, 0);
    const int h = c.DrawText(r, t, TTextFlag::WordBreak | TTextFlag::CalcRect);
    EXPECT_EQ(h, 26);
    EXPECT_EQ(r.height(), 26);
    EXPECT_EQ(r.width(), c.TextWidth(QStringLiteral("one two")));

    QRect single(0, 0, 5, 0);
    c.DrawText(single, t, TTextFlag::SingleLine | TTextFlag::CalcRect);
    EXPECT_EQ(single.width(), c.TextWidth(t));
    EXPECT_EQ(single.height(), 13);

    // "&" marks an accelerator and is not shown; "&&" is one ampersand.
    QRect amp(0, 0, 100, 0);
    c.DrawText(amp, QStringLiteral("&Boost && go"), TTextFlag::SingleLine | TTextFlag::CalcRect);
    EXPECT_EQ(amp.width(), c.TextWidth(QStringLiteral("Boost & go")));
    QRect plain(0, 0, 100, 0);
    c.DrawText(plain, QStringLiteral("&B"), TTextFlag::SingleLine | TTextFlag::CalcRect | TTextFlag::NoPrefix);
    EXPECT_EQ(plain.width(), c.TextWidth(QStringLiteral("&B")));
}

TEST(CanvasText, RotatedFontTurnsCounterclockwise)
{
    TBitmap b(40, 80);
    TCanvas &c = b.Canvas();
    c.Brush.Style = TBrushStyle::bsClear;
    c.Font.Color = clBlack;
    c.Font.Orientation = 900;
    c.TextOut(5, 70, QStringLiteral("Rotated"));
    const QRect ink = inkBox(b, clBlack);
    EXPECT_GT(ink.height(), ink.width()); // runs upward
    EXPECT_LE(ink.bottom(), 70);
    EXPECT_GE(ink.left(), 5);
}
