#include "gfx/Bitmap.h"
#include "widgets/display/NumLab.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

constexpr int L = 45, LW = 80, W = 160, H = 17;

using Mask = std::set<std::pair<int, int>>;

TColor px(const QImage &img, int x, int y) { return RgbToPlain(img.pixel(x, y)); }

Mask inkOf(const QImage &img, TColor ink)
{
    Mask m;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (px(img, x, y) == ink)
                m.insert({x, y});
    return m;
}

QRect boundsOf(const Mask &m)
{
    QRect r;
    for (const auto &[x, y] : m)
        r |= QRect(x, y, 1, 1);
    return r;
}

// Where a text drawn at (x, y) in the default font puts its ink, optionally
// clipped to a rectangle.
Mask referenceInk(const QString &text, int x, int y, const QRect &clip = QRect())
{
    TBitmap b(W, H);
    TCanvas &c = b.Canvas();
    c.Brush.Color = clSilver;
    c.FillRect(0, 0, W, H);
    c.Font.Color = clRed;
    if (clip.isNull())
        c.TextOut(x, y, text);
    else
        c.TextRect(clip, x, y, text);
    return inkOf(b.image(), clRed);
}

int textWidth(const QString &t)
{
    TBitmap b(1, 1);
    return b.Canvas().TextWidth(t);
}

struct Readout : TNumLab
{
    Readout()
    {
        resize(W, H);
        setLeftSpace(L);
        setColorOutBakG(clSilver);
        setColorLabBakG(clNavy);
    }
};

const int textY = (H - 13) / 2;
const QRect valueClip(QPoint(L + 3, 2), QPoint(L + LW - 2, H - 4));

} // namespace

TEST(NumLabPaint, BevelOfEveryFrameStyle)
{
    struct Style
    {
        TFrameStyle style;
        TColor outline, upperLeft, lowerRight;
    };
    const Style styles[] = {
        {TFrameStyle::fsLowered, clGray, clBlack, clWhite},
        {TFrameStyle::fsRaised, clGray, clWhite, clBlack},
        {TFrameStyle::fsEngraved, clGray, clWhite, clWhite},
        {TFrameStyle::fsEmbossed, clWhite, clGray, clGray},
    };
    for (const Style &s : styles) {
        Readout n;
        n.setEmpty(true);
        n.setFrameStyle(s.style);
        const QImage img = n.render();
        SCOPED_TRACE(int(s.style));
        // Outline of the box (L, 0, L + LW + 2, H - 1).
        EXPECT_EQ(px(img, L, 0), s.outline);
        EXPECT_EQ(px(img, L + LW + 1, 0), s.outline);
        EXPECT_EQ(px(img, L, H - 2), s.outline);
        EXPECT_EQ(px(img, L + 1, H - 2), s.outline);
        EXPECT_EQ(px(img, L + LW + 1, 1), s.outline); // the upper line stops short
        // Upper-left line: (L+1, H-3) up to (L+1, 1) and on to (L+LW+1, 1), end excluded.
        EXPECT_EQ(px(img, L + 1, H - 3), s.upperLeft);
        EXPECT_EQ(px(img, L + 1, 1), s.upperLeft);
        EXPECT_EQ(px(img, L + LW, 1), s.upperLeft);
        // Lower-right line: (L+1, H-1) to (L+LW+2, H-1) up to (L+LW+2, 0), end excluded.
        EXPECT_EQ(px(img, L + 1, H - 1), s.lowerRight);
        EXPECT_EQ(px(img, L + LW + 2, H - 1), s.lowerRight);
        EXPECT_EQ(px(img, L + LW + 2, 1), s.lowerRight);
        EXPECT_EQ(px(img, L + LW + 2, 0), clSilver);
        EXPECT_EQ(px(img, L, H - 1), clSilver);
        EXPECT_EQ(px(img, L + LW + 3, 5), clSilver);
        EXPECT_EQ(px(img, L - 1, 5), clSilver);
        EXPECT_EQ(px(img, L + 2, 2), clNavy);
        EXPECT_EQ(px(img, L + LW, H - 3), clNavy);
    }
}

TEST(NumLabPaint, FlatStylesFillTheWholeHeight)
{
    for (const auto &[style, outline] : {std::pair{TFrameStyle::fsNone, clNavy}, std::pair{TFrameStyle::fsSimple, clGray}}) {
        Readout n;
        n.setEmpty(true);
        n.setFrameStyle(style);
        const QImage img = n.render();
        EXPECT_EQ(px(img, L, 0), outline);
        EXPECT_EQ(px(img, L, H - 1), outline);
        EXPECT_EQ(px(img, L + LW + 1, H - 1), outline);
        EXPECT_EQ(px(img, L + LW + 2, H - 1), clSilver);
        EXPECT_EQ(px(img, L + 1, 1), clNavy);
    }
}

TEST(NumLabPaint, SystemSchemeUsesThePaletteBevel)
{
    Readout n;
    n.setEmpty(true);
    n.setColorScheme(TColorScheme::csSystem);
    const QImage img = n.render();
    EXPECT_EQ(px(img, L, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(px(img, L + 1, H - 1), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(px(img, L + 1, 1), clBlack);
}

TEST(NumLabPaint, LeftTextAlignments)
{
    const QString t = QStringLiteral("Power");
    const int lw = textWidth(t);
    for (const auto &[align, x] : {std::pair{TAlignment::taLeftJustify, 7}, std::pair{TAlignment::taRightJustify, L - lw - 5},
                                   std::pair{TAlignment::taCenter, (L - lw) / 2}}) {
        Readout n;
        n.setColorOutText(clRed);
        n.setEmpty(true);
        n.setLeftText(t);
        n.setLeftTextAlignment(align);
        EXPECT_EQ(inkOf(n.render(), clRed), referenceInk(t, x, textY)) << int(align);
    }
}

TEST(NumLabPaint, RightTextAlignments)
{
    const QString t = QStringLiteral("ft.lb");
    const int rw = textWidth(t);
    for (const auto &[align, x] : {std::pair{TAlignment::taLeftJustify, L + LW + 7}, std::pair{TAlignment::taRightJustify, W - rw - 6},
                                   std::pair{TAlignment::taCenter, L + LW + 1 + (W - L - LW - rw) / 2}}) {
        Readout n;
        n.setColorOutText(clRed);
        n.setEmpty(true);
        n.setRightText(t);
        n.setRightTextAlignment(align);
        const QImage img = n.render();
        EXPECT_EQ(inkOf(img, clRed), referenceInk(t, x, textY)) << int(align);
    }
}

TEST(NumLabPaint, SideTextsAreOpaqueOnTheOuterBackground)
{
    Readout n;
    n.setEmpty(true);
    n.setColorOutBakG(clYellow);
    n.setLeftText(QStringLiteral("Torque"));
    const QImage img = n.render();
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < L; ++x)
            EXPECT_TRUE(px(img, x, y) == clYellow || px(img, x, y) == clBlack) << x << "," << y;
}

TEST(NumLabPaint, ValueTextAlignmentsInsideTheBox)
{
    const QString t = QStringLiteral("61.3");
    const int tw = textWidth(t);
    for (const auto &[align, x] : {std::pair{TAlignment::taLeftJustify, L + 4}, std::pair{TAlignment::taRightJustify, L + LW - 2 - tw},
                                   std::pair{TAlignment::taCenter, L + 2 + (LW - tw) / 2}}) {
        Readout n;
        n.setColorLabText(clRed);
        n.setPrecision(1);
        n.setValue(61.34);
        n.setAlignment(align);
        EXPECT_EQ(n.ShownText(), t);
        EXPECT_EQ(inkOf(n.render(), clRed), referenceInk(t, x, textY, valueClip)) << int(align);
    }
}

TEST(NumLabPaint, TextsCentreVerticallyOnTheLineHeight)
{
    Readout n;
    n.resize(W, 28);
    n.setColorLabText(clRed);
    n.setDisplayType(TDisplay::dtInt);
    n.setValue(8);
    const QRect ink = boundsOf(inkOf(n.render(), clRed));
    TBitmap ref(W, 28);
    ref.Canvas().Font.Color = clRed;
    ref.Canvas().TextOut(0, (28 - 13) / 2, QStringLiteral("8"));
    EXPECT_EQ(ink.top(), boundsOf(inkOf(ref.image(), clRed)).top());
}

TEST(NumLabPaint, OverflowIndicatorBeyondLabelWidthMinusSix)
{
    Readout n;
    n.setDisplayType(TDisplay::dtInt);
    n.setValue(123456789012345.0);
    EXPECT_GT(textWidth(QStringLiteral("123456789012345")), 74);
    EXPECT_EQ(n.ShownText(), "*********");

    // The boundary itself: a text exactly LabelWidth - 6 wide still fits.
    n.setValue(12345);
    const int tw = textWidth(QStringLiteral("12345"));
    n.setLabelWidth(tw + 6);
    EXPECT_EQ(n.ShownText(), "12345");
    n.setLabelWidth(tw + 5);
    EXPECT_EQ(n.ShownText(), "*********");

    n.setLabelWidth(LW);
    n.setValue(1e300);
    n.setColorLabText(clRed);
    const int iw = textWidth(QStringLiteral("*********"));
    EXPECT_EQ(inkOf(n.render(), clRed), referenceInk(QStringLiteral("*********"), L + 2 + (LW - iw) / 2, textY, valueClip));
}

TEST(NumLabPaint, StateTextIsClippedNeverReplaced)
{
    Readout n;
    n.setDisplayType(TDisplay::dtState);
    n.setStateText(QStringLiteral("a state text far too wide for its box"));
    n.setAlignment(TAlignment::taLeftJustify);
    n.setColorLabText(clRed);
    EXPECT_EQ(n.ShownText(), n.StateText());
    const Mask ink = inkOf(n.render(), clRed);
    ASSERT_FALSE(ink.empty());
    const QRect box = boundsOf(ink);
    EXPECT_TRUE(valueClip.contains(box));
    EXPECT_GE(box.right(), valueClip.right() - 2); // runs on to the clip edge
    EXPECT_EQ(ink, referenceInk(n.StateText(), L + 4, textY, valueClip));
}

TEST(NumLabPaint, EmptyBoxHasNoNumberWhateverTheType)
{
    for (int t = 0; t <= int(TDisplay::dtOct); ++t) {
        Readout n;
        n.setColorLabText(clRed);
        n.setDisplayType(TDisplay(t));
        n.setValue(42);
        n.setEmpty(true);
        const QImage img = n.render();
        EXPECT_TRUE(inkOf(img, clRed).empty()) << t;
        EXPECT_EQ(px(img, L + LW / 2, H / 2), clNavy) << t;
        EXPECT_EQ(n.ShownText(), "");
    }
}

TEST(NumLabPaint, EmptyNumberTextLeavesTheBoxBlank)
{
    Readout n;
    n.setColorLabText(clRed);
    n.setDisplayType(TDisplay::dtHex);
    n.setPrecision(0);
    n.setValue(255);
    EXPECT_EQ(n.ShownText(), "");
    EXPECT_TRUE(inkOf(n.render(), clRed).empty());
}

TEST(NumLabPaint, HiddenReadoutDrawsNothing)
{
    Readout n;
    n.setLeftText(QStringLiteral("Power"));
    n.setVisible(false);
    const int renders = n.renderCount();
    n.setValue(5); // stored, not painted while hidden
    EXPECT_EQ(n.renderCount(), renders);
    const QImage img = n.render();
    const QRgb first = img.pixel(0, 0);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            ASSERT_EQ(img.pixel(x, y), first) << x << "," << y;
    n.setVisible(true);
    EXPECT_EQ(px(n.render(), L, 0), clGray);
}

TEST(NumLabPaint, LifeReadoutColours)
{
    // Yellow digits on black in a bold font, as the life readout shows them.
    Readout n;
    n.resize(208, 20);
    n.setLeftSpace(65);
    n.setDisplayType(TDisplay::dtInt);
    n.setColorLabBakG(clBlack);
    n.setColorLabText(clYellow);
    n.setFont(TFont(QStringLiteral("MS Sans Serif"), -11, TFontStyle::fsBold, clWindowText));
    n.setValue(1234.7);
    EXPECT_EQ(n.ShownText(), "1235");
    const QImage img = n.render();
    std::set<TColor> inside;
    for (int y = 2; y < 20 - 3; ++y)
        for (int x = 65 + 3; x < 65 + 80 - 1; ++x)
            inside.insert(px(img, x, y));
    EXPECT_EQ(inside, (std::set<TColor>{clBlack, clYellow}));
}
