#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "gfx/Canvas.h"
#include "tst_meter_window.h"

// Pixel checks of the rendered gauge. The window's gauge is 153 x 137 with
// its pivot at (76, 74) and a scale radius of 58; needles are 54 long.

namespace {

TColor px(const QImage &img, int x, int y)
{
    return RgbToPlain(img.pixel(x, y));
}

TColor resolved(TColor c)
{
    return ColorToRGB(c);
}

struct WindowGauge : ::testing::Test
{
    void SetUp() override { setUpWindowGauge(m, QStringLiteral("mph"), 100); }
    TMeter m;
};

} // namespace

// ---- cover and opening edge ---------------------------------------------------

TEST(MeterPaint, CoverStripsWithTheLeftOnePixelNarrower)
{
    TMeter m; // 297 x 209, rims 8 / 10 / 10
    m.setFrameStyle(TFrameStyle::fsNone);
    m.setAnchorCovered(false);
    const QImage img = m.render();
    const TColor cover = resolved(clBtnFace);
    EXPECT_EQ(px(img, 0, 100), cover);
    EXPECT_EQ(px(img, 8, 100), cover);    // left strip: x 0..8
    EXPECT_EQ(px(img, 288, 100), cover);  // right strip: x 287..296, its first column is the edge
    EXPECT_EQ(px(img, 296, 100), cover);
    EXPECT_EQ(px(img, 100, 7), cover);    // top strip: rows 0..7
    EXPECT_EQ(px(img, 100, 200), cover);  // bottom strip: rows 199..208
    EXPECT_EQ(px(img, 100, 208), cover);
    EXPECT_EQ(px(img, 100, 198), clWhite); // dial face
}

TEST(MeterPaint, OpeningEdgeIsLightBottomRightAndDarkTopLeft)
{
    TMeter m;
    m.setFrameStyle(TFrameStyle::fsNone);
    m.setAnchorCovered(false);
    m.setColorBakG(clYellow);
    const QImage img = m.render();
    EXPECT_EQ(px(img, 100, 199), clWhite); // bottom
    EXPECT_EQ(px(img, 287, 100), clWhite); // right
    EXPECT_EQ(px(img, 9, 199), clWhite);   // where the light part starts
    EXPECT_EQ(px(img, 287, 199), clWhite);
    EXPECT_EQ(px(img, 100, 8), clGray);    // top
    EXPECT_EQ(px(img, 9, 100), clGray);    // left
    EXPECT_EQ(px(img, 287, 8), clGray);
    EXPECT_EQ(px(img, 9, 8), clGray);
    EXPECT_EQ(px(img, 10, 100), clYellow);
}

// ---- hub -------------------------------------------------------------------------

TEST_F(WindowGauge, NoHubUnlessTheAnchorIsCovered)
{
    m.setColorBakG(clYellow);
    m.setValue(50); // needle straight up, clear of the point tested
    EXPECT_EQ(px(m.render(), 66, 74), clYellow);
    m.setAnchorCovered(true);
    const QImage img = m.render();
    EXPECT_EQ(px(img, 66, 74), resolved(clBtnFace));
    EXPECT_EQ(px(img, 76, 74), resolved(clBtnFace)); // the disc covers the pivot
    EXPECT_EQ(px(img, 99, 74), clGray);              // lower-right rim is dark
    EXPECT_EQ(px(img, 52, 70), clWhite);             // upper-left rim is light
}

TEST(MeterPaint, SmallerLayoutsCarryAHalfDiscOnAPost)
{
    TMeter m; // mlCirc90: cx 148, cy 191, bottom strip from 199
    m.setFrameStyle(TFrameStyle::fsNone);
    const QImage img = m.render();
    const TColor cover = resolved(clBtnFace);
    EXPECT_EQ(px(img, 148, 170), cover); // upper half disc
    EXPECT_EQ(px(img, 148, 195), cover); // the post
    EXPECT_EQ(px(img, 171, 195), clGray);  // right side of the post
    EXPECT_EQ(px(img, 124, 195), clWhite); // left side of the post
    EXPECT_EQ(px(img, 100, 199), clWhite); // the opening edge beside it
    EXPECT_EQ(px(img, 180, 195), clWhite); // face right of the post
}

TEST_F(WindowGauge, HubImageLetsItsBlackPixelsShowThrough)
{
    QTemporaryDir dir;
    QImage hub(20, 20, QImage::Format_RGB32);
    hub.fill(Qt::black);
    for (int y = 7; y < 13; ++y)
        for (int x = 7; x < 13; ++x)
            hub.setPixel(x, y, qRgb(255, 0, 0));
    const QString file = dir.filePath("hub.bmp");
    ASSERT_TRUE(hub.save(file));

    m.NeedleLayout()->setColorBody(clBlue);
    m.NeedleLayout()->setColorOutline(clBlue);
    m.setValue(50);
    m.setAnchorCovered(true);
    m.setAnchorImage(file);
    ASSERT_EQ(m.AnchorImage(), file);
    const QImage img = m.render(); // the image sits at (66, 64)
    EXPECT_EQ(px(img, 76, 74), clRed);   // its red centre
    EXPECT_EQ(px(img, 68, 74), clWhite); // black: the face shows through
    EXPECT_EQ(px(img, 76, 66), clBlue);  // black: the needle shows through
}

// ---- lamps ---------------------------------------------------------------------

TEST(MeterPaint, LimitLampsShowTheirFlags)
{
    TMeter m; // lamps at x 269 (high) and 18 (low), rows 16..25
    QImage img = m.render();
    EXPECT_EQ(px(img, 274, 20), clGray);
    EXPECT_EQ(px(img, 23, 20), clGray);
    // Bevel of the high lamp.
    EXPECT_EQ(px(img, 269, 20), clBlack);
    EXPECT_EQ(px(img, 274, 16), clBlack);
    EXPECT_EQ(px(img, 278, 20), clWhite);
    EXPECT_EQ(px(img, 274, 25), clWhite);
    EXPECT_EQ(px(img, 277, 20), clSilver);
    EXPECT_EQ(px(img, 274, 24), clSilver);
    EXPECT_EQ(px(img, 270, 20), clGray);
    EXPECT_EQ(px(img, 274, 17), clGray);

    m.setValue(1);
    img = m.render();
    EXPECT_EQ(px(img, 274, 20), clRed);
    EXPECT_EQ(px(img, 23, 20), clGray);
    m.setValue(0);
    img = m.render();
    EXPECT_EQ(px(img, 274, 20), clGray);
    EXPECT_EQ(px(img, 23, 20), clRed);

    m.setLimWatchLowOn(false);
    m.setLimWatchHighOn(false);
    img = m.render();
    EXPECT_EQ(px(img, 23, 20), clWhite);
    EXPECT_EQ(px(img, 274, 20), clWhite);
}

// ---- outer frame ---------------------------------------------------------------

TEST_F(WindowGauge, FrameStyles)
{
    const int r = 152, b = 136; // last column and row
    using Points = std::vector<QPoint>;
    // Renders with `style` and checks which pixels have the scheme's dark
    // and which its light colour.
    auto check = [&](TFrameStyle style, const Points &dark, const Points &light) {
        m.setFrameStyle(style);
        const QImage img = m.render();
        for (const auto &[pts, color] : {std::pair{dark, m.SchemeShadowColor()},
                                         std::pair{light, m.SchemeHighlightColor()}}) {
            for (const QPoint &p : pts)
                EXPECT_EQ(px(img, p.x(), p.y()), resolved(color))
                    << "style " << int(style) << " at " << p.x() << "," << p.y();
        }
        return img;
    };
    const TColor cover = resolved(clBtnFace);
    for (TColorScheme scheme : {TColorScheme::csBWG, TColorScheme::csSystem}) {
        m.setColorScheme(scheme);
        const Points bevelTopLeft{{0, 60}, {60, 0}, {0, b}};
        const Points bevelBottomRight{{r, 60}, {60, b}, {r, 0}};
        check(TFrameStyle::fsLowered, bevelTopLeft, bevelBottomRight);
        check(TFrameStyle::fsRaised, bevelBottomRight, bevelTopLeft);
        const Points outline{{0, 60}, {60, 0}, {r - 1, 60}, {60, b - 1}};
        const Points edges{{1, 60}, {60, 1}, {r, 60}, {60, b}};
        EXPECT_EQ(px(check(TFrameStyle::fsEngraved, outline, edges), 0, b), cover);
        check(TFrameStyle::fsEmbossed, edges, outline);
    }

    m.setColorBakG(clYellow);
    m.setFrameStyle(TFrameStyle::fsSimple);
    QImage img = m.render();
    for (const QPoint &p : {QPoint(0, 60), QPoint(60, 0), QPoint(r, 60), QPoint(60, b)})
        EXPECT_EQ(px(img, p.x(), p.y()), clYellow);
    EXPECT_EQ(px(img, 1, 60), cover);

    m.setFrameStyle(TFrameStyle::fsNone);
    img = m.render();
    for (const QPoint &p : {QPoint(0, 60), QPoint(60, 0), QPoint(r, b)})
        EXPECT_EQ(px(img, p.x(), p.y()), cover);
}

// ---- needles -----------------------------------------------------------------------

TEST_F(WindowGauge, NeedleTipFollowsTheValue)
{
    const struct
    {
        double value;
        QPoint tip;
        QPoint beyond; // one step further out along the needle
    } rows[] = {
        {0, {38, 112}, {36, 114}},
        {50, {76, 20}, {76, 18}},
        {75, {126, 53}, {128, 52}},
        {100, {114, 112}, {116, 114}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.value);
        m.setValue(row.value);
        const QImage img = m.render();
        EXPECT_EQ(px(img, row.tip.x(), row.tip.y()), clRed);
        EXPECT_NE(px(img, row.beyond.x(), row.beyond.y()), clRed);
    }
}

TEST_F(WindowGauge, ZeroLengthNeedleHasItsTipOnThePivot)
{
    m.setValue(50);
    EXPECT_EQ(px(m.render(), 76, 35), clRed);
    m.NeedleLayout()->setPercentNeedleLength(0);
    const QImage img = m.render();
    EXPECT_EQ(px(img, 76, 74), clRed);
    EXPECT_EQ(px(img, 76, 90), clRed); // the head is still drawn back from the tip
    EXPECT_EQ(px(img, 76, 35), clWhite);
}

TEST_F(WindowGauge, ShadowLiesAtMinusTheOffsets)
{
    m.setValue(50);
    m.NeedleLayout()->setShadowDx(3);
    const QImage img = m.render();
    EXPECT_EQ(px(img, 73, 40), clGray);
    EXPECT_EQ(px(img, 76, 40), clRed);
    EXPECT_EQ(px(img, 79, 40), clWhite);
}

TEST_F(WindowGauge, SecondaryNeedleOnlyWhenVisible)
{
    m.NeedleLayoutSec()->setVisible(false);
    m.setValueSec(75);
    EXPECT_EQ(px(m.render(), 120, 56), clWhite);
    m.NeedleLayoutSec()->setVisible(true);
    const QImage img = m.render();
    EXPECT_EQ(px(img, 126, 53), clBlack); // outline at the tip
    EXPECT_EQ(px(img, 38, 112), clRed);   // primary at 0 drawn over it all
}

// ---- band ------------------------------------------------------------------------

struct WindowBand : WindowGauge
{
    void SetUp() override
    {
        WindowGauge::SetUp();
        m.setScaleVisible(false);
        m.setCaption(QString());
        m.setThresholdHigh(80);
        m.setThresholdLow(20);
        m.setScaleBkVisible(true);
    }
};

constexpr TColor kOrange = 0x0080FF;

TEST_F(WindowBand, FullWidthLeavesNoInnerDisc)
{
    m.setScaleBkWidth(100);
    const QImage img = m.render();
    EXPECT_EQ(px(img, 60, 60), kOrange);
    EXPECT_EQ(px(img, 38, 86), clLime); // value 10
    EXPECT_EQ(px(img, 114, 86), clRed); // value 90
    EXPECT_EQ(px(img, 76, 114), clWhite); // the gap below the pivot
}

TEST_F(WindowBand, ZeroWidthLeavesTheRimBeyondTheScale)
{
    m.setScaleBkWidth(0);
    const QImage img = m.render();
    EXPECT_EQ(px(img, 76, 14), kOrange);
    EXPECT_EQ(px(img, 76, 20), clWhite);
    EXPECT_EQ(px(img, 60, 60), clWhite);
}

TEST_F(WindowBand, ThresholdAtARangeEndDrawsNoSegmentThere)
{
    // An empty sector would otherwise come out as a whole disc.
    m.setScaleBkWidth(100);
    m.setThresholdLow(0);
    QImage img = m.render();
    EXPECT_EQ(px(img, 76, 114), clWhite);
    EXPECT_EQ(px(img, 38, 86), kOrange);
    m.setThresholdLow(20);
    m.setThresholdHigh(100);
    img = m.render();
    EXPECT_EQ(px(img, 76, 114), clWhite);
    EXPECT_EQ(px(img, 114, 86), kOrange);
}

// ---- labels ----------------------------------------------------------------------

TEST_F(WindowGauge, LabelHandlerSeesEveryLabelAndCanReplaceOrSuppressIt)
{
    const QImage plain = m.render();

    std::vector<QString> seen;
    QRect suppressed;
    m.OnBeforeDrawScaleLabel = [&](TMeter *sender, TCanvas &canvas, QString &text, int x, int y) {
        EXPECT_EQ(sender, &m);
        seen.push_back(text);
        if (text == "40") {
            suppressed = QRect(x, y, canvas.TextWidth(text), canvas.TextHeight(text));
            text.clear();
        }
    };
    const QImage img = m.render();
    EXPECT_EQ(seen, (std::vector<QString>{"0", "20", "40", "60", "80", "100"}));
    ASSERT_FALSE(suppressed.isEmpty());

    // Only the label's own cell changed, and it is now blank.
    int changed = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if (img.pixel(x, y) != plain.pixel(x, y)) {
                ++changed;
                EXPECT_TRUE(suppressed.contains(x, y)) << x << "," << y;
                EXPECT_EQ(px(img, x, y), clWhite);
            }
        }
    }
    EXPECT_GT(changed, 0);
    // The major tick at 40 (angle 117) is still there.
    const QPoint tick = PolarPoint(76, 74, 56, 117);
    EXPECT_EQ(px(img, tick.x(), tick.y()), clNavy);

    m.OnBeforeDrawScaleLabel = [](TMeter *, TCanvas &, QString &text, int, int) {
        if (text == "60")
            text = QStringLiteral("sixty");
    };
    EXPECT_NE(m.render(), plain);
}

TEST_F(WindowGauge, ThrowingLabelHandlerLeavesTheGaugeUsable)
{
    m.OnBeforeDrawScaleLabel = [](TMeter *, TCanvas &, QString &, int, int) {
        throw std::runtime_error("label");
    };
    EXPECT_THROW(m.setValue(50), std::runtime_error);
    m.OnBeforeDrawScaleLabel = nullptr;
    m.setValue(75);
    EXPECT_EQ(px(m.render(), 126, 53), clRed);
}

// ---- whole picture ---------------------------------------------------------------

TEST(MeterPaint, GaugeTooSmallForItsRimsDrawsNothing)
{
    TMeter m;
    m.setMeterLayout(TMeterLayout::mlCirc270);
    m.resize(30, 137);
    const QImage img = m.render();
    const QRgb first = img.pixel(0, 0);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            ASSERT_EQ(img.pixel(x, y), first);
}

TEST(MeterPaint, BackgroundBitmapFillModes)
{
    QTemporaryDir dir;
    // 10 x 10, red on the left half and blue on the right.
    QImage halves(10, 10, QImage::Format_RGB32);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            halves.setPixel(x, y, x < 5 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    const QString file = dir.filePath("halves.bmp");
    ASSERT_TRUE(halves.save(file));

    TMeter m;
    setUpWindowGauge(m, QString(), 100);
    m.setScaleVisible(false);
    m.setBackGroundImg(file);
    ASSERT_EQ(m.BackGroundImg(), file);

    m.setBkgndFillMode(TBkgFill::bfTile);
    QImage img = m.render();
    EXPECT_EQ(px(img, 22, 40), clRed);
    EXPECT_EQ(px(img, 27, 40), clBlue);
    EXPECT_EQ(px(img, 132, 40), clRed);

    m.setBkgndFillMode(TBkgFill::bfStretch);
    img = m.render();
    EXPECT_EQ(px(img, 30, 40), clRed);
    EXPECT_EQ(px(img, 120, 40), clBlue);

    m.setBkgndFillMode(TBkgFill::bfSimple);
    img = m.render();
    EXPECT_EQ(px(img, 9 + 0, 40), clGray); // opening edge over it
    EXPECT_EQ(px(img, 30, 40), clWhite);   // outside the bitmap: the canvas's white

    // The band's inner disc is the face colour, also over a bitmap.
    m.setBkgndFillMode(TBkgFill::bfStretch);
    m.setScaleBkVisible(true);
    m.setColorBakG(clYellow);
    m.setScaleBkWidth(10);
    EXPECT_EQ(px(m.render(), 60, 60), clYellow);
}
