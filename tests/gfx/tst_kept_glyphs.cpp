#include "gfx/Bitmap.h"
#include "gfx/KeptGlyphs.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

// The painter's own picture of a text, as the canvas drew every text before
// glyphs were kept: black on white, clipped, baseline origin at `origin`.
QImage painted(const TFont &font, const QString &text, QSize size, QPoint origin, QRect clip)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setClipRect(clip);
    p.setFont(ResolvedFont(font).Font);
    p.setPen(Qt::black);
    p.drawText(origin, text);
    return img;
}

QImage kept(const TFont &font, const QString &text, QSize size, QPoint origin, QRect clip)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    EXPECT_TRUE(DrawKeptGlyphs(img, font, text, origin, clip, qRgb(0, 0, 0))) << text.toStdString();
    return img;
}

const TFont kFonts[] = {
    TFont(QStringLiteral("MS Sans Serif"), -11),
    TFont(QStringLiteral("MS Sans Serif"), -11, TFontStyle::fsBold),
    TFont(QStringLiteral("Liberation Sans Narrow"), -11),
    TFont(QStringLiteral("Courier New"), -13),
    TFont(QStringLiteral("MS Sans Serif"), -24, TFontStyle::fsItalic),
};

} // namespace

TEST(KeptGlyphs, NumbersComeOutAsThePainterDrawsAndMeasuresThem)
{
    const QString texts[] = {QStringLiteral("0"),          QStringLiteral("-1,234.5"),
                             QStringLiteral("+9.99E+07"),   QStringLiteral("1.5e-05"),
                             QStringLiteral("00FF:AB"),     QStringLiteral(" 7 7 "),
                             QStringLiteral("3,500,000.00")};
    for (const TFont &font : kFonts)
        for (const QString &t : texts) {
            SCOPED_TRACE(font.Name.toStdString() + " " + std::to_string(font.Height) + " " + t.toStdString());
            int advance = -1;
            ASSERT_TRUE(KeptTextAdvance(font, t, &advance));
            EXPECT_EQ(advance, ResolvedFont(font).Metrics.horizontalAdvance(t));
            const QSize size(advance + 20, 40);
            const QPoint origin(6, 25);
            EXPECT_EQ(kept(font, t, size, origin, QRect(QPoint(0, 0), size)),
                      painted(font, t, size, origin, QRect(QPoint(0, 0), size)));
        }
}

TEST(KeptGlyphs, ClipCutsEveryEdgeLikeThePainter)
{
    const TFont font(QStringLiteral("MS Sans Serif"), -11);
    const QString t = QStringLiteral("-88,888.8");
    const QSize size(70, 24);
    // Inside, straddling every edge, beyond the image, and empty.
    const QRect clips[] = {QRect(10, 6, 20, 8), QRect(-5, -5, 30, 15), QRect(40, 10, 100, 100),
                           QRect(0, 0, 70, 24), QRect(5, 5, 0, 0)};
    for (const QRect &clip : clips) {
        SCOPED_TRACE(std::to_string(clip.x()) + "," + std::to_string(clip.y()));
        for (const QPoint origin : {QPoint(2, 15), QPoint(-8, 3), QPoint(30, 30)})
            EXPECT_EQ(kept(font, t, size, origin, clip), painted(font, t, size, origin, clip));
    }
}

TEST(KeptGlyphs, OtherTextsAndFontsAreLeftToThePainter)
{
    QImage img(40, 20, QImage::Format_RGB32);
    img.fill(Qt::white);
    const QImage before = img;
    const TFont plain(QStringLiteral("MS Sans Serif"), -11);
    int advance = 0;
    for (const QString &t : {QString(), QStringLiteral("12 mph"), QStringLiteral("∞"), QStringLiteral("1\n2")}) {
        EXPECT_FALSE(KeptTextAdvance(plain, t, &advance)) << t.toStdString();
        EXPECT_FALSE(DrawKeptGlyphs(img, plain, t, {2, 12}, img.rect(), qRgb(0, 0, 0)));
    }
    TFont underlined = plain;
    underlined.Style = TFontStyle::fsUnderline;
    TFont turned = plain;
    turned.Orientation = 900;
    for (const TFont &f : {underlined, turned}) {
        EXPECT_FALSE(KeptTextAdvance(f, QStringLiteral("12"), &advance));
        EXPECT_FALSE(DrawKeptGlyphs(img, f, QStringLiteral("12"), {2, 12}, img.rect(), qRgb(0, 0, 0)));
    }
    QImage grey(40, 20, QImage::Format_Grayscale8);
    EXPECT_FALSE(DrawKeptGlyphs(grey, plain, QStringLiteral("12"), {2, 12}, grey.rect(), qRgb(0, 0, 0)));
    EXPECT_EQ(img, before);
    EXPECT_EQ(advance, 0);
}

TEST(KeptGlyphs, TheCanvasDrawsReadoutNumbersTheSameEitherWay)
{
    // The canvas takes the kept path for a number and the painter for the
    // same number followed by a letter; the number's pixels agree.
    TBitmap a(90, 20), b(90, 20);
    for (TBitmap *bmp : {&a, &b}) {
        TCanvas &c = bmp->Canvas();
        c.Brush.Color = clBlack;
        c.Font = TFont(QStringLiteral("MS Sans Serif"), -11, {}, clLime);
    }
    a.Canvas().TextRect(QRect(3, 2, 60, 14), 5, 3, QStringLiteral("12,345.6"));
    b.Canvas().TextRect(QRect(3, 2, 60, 14), 5, 3, QStringLiteral("12,345.6x"));
    const int w = a.Canvas().TextWidth(QStringLiteral("12,345.6"));
    EXPECT_EQ(w, ResolvedFont(a.Canvas().Font).Metrics.horizontalAdvance(QStringLiteral("12,345.6")));
    EXPECT_EQ(a.image().copy(0, 0, 5 + w, 20), b.image().copy(0, 0, 5 + w, 20));
    EXPECT_NE(a.image(), b.image());
}
