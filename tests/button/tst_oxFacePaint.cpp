#include "ButtonTestSupport.h"
#include "widgets/button/oxBevel.h"
#include "widgets/button/oxShade.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

// Distinct bevel colours so every ring can be told apart.
constexpr TColor kFace = clSilver;
constexpr TColor kLight = clYellow;
constexpr TColor kHi = clLime;
constexpr TColor kSh = clNavy;
constexpr TColor kDk = clRed;

struct Ring
{
    TColor tl;
    TColor br;
};

void paintBevelColours(TestButton &b)
{
    b.setColor(kFace);
    b.setBtnLightColor(kLight);
    b.setBtnHighlightColor(kHi);
    b.setBtnShadowColor(kSh);
    b.setBtnDkShadowColor(kDk);
    b.Background().setDitherDown(false);
}

enum class Look { Up, Hot, Pressed, Latched, LatchedHot };

QImage renderLook(ToxBtnStyle style, Look look)
{
    QWidget host;
    TestButton b(&host);
    b.resize(30, 20);
    paintBevelColours(b);
    b.setButtonType(ToxButtonType::oxbToggle);
    b.setStyle(style);
    if (look == Look::Latched || look == Look::LatchedHot)
        b.setValue(true);
    if (look == Look::Hot || look == Look::LatchedHot)
        b.MouseEnter();
    if (look == Look::Pressed)
        b.MouseDown(Qt::LeftButton, {}, 5, 5);
    return b.render();
}

// Checks ring i's four sides at their middles, and the face just inside.
void expectRings(const QImage &img, const std::vector<Ring> &rings, const char *what)
{
    const int W = img.width(), H = img.height();
    int i = 0;
    for (const Ring &r : rings) {
        const TColor tl = r.tl == clNone ? kFace : r.tl;
        const TColor br = r.br == clNone ? kFace : r.br;
        EXPECT_EQ(px(img, i, H / 2), tl) << what << " ring " << i << " left";
        EXPECT_EQ(px(img, W / 2, i), tl) << what << " ring " << i << " top";
        EXPECT_EQ(px(img, W - 1 - i, H / 2), br) << what << " ring " << i << " right";
        EXPECT_EQ(px(img, W / 2, H - 1 - i), br) << what << " ring " << i << " bottom";
        ++i;
    }
    EXPECT_EQ(px(img, i, H / 2), kFace) << what << " face inside the rings";
    EXPECT_EQ(px(img, W - 1 - i, H / 2), kFace) << what << " face inside the rings";
}

QRect boostCaption(int dx, int dy)
{
    const TFont font(QStringLiteral("MS Sans Serif"), -13, TFontStyle::fsBold, clBtnText);
    const QFontMetrics fm(font.toQFont());
    const int w = fm.horizontalAdvance(QStringLiteral("Boost"));
    return QRect((73 - (w + 4)) / 2 + dx, 26 + dy, w + 4, fm.height() + 2);
}

std::set<TColor> coloursIn(const QImage &img, const QRect &r)
{
    std::set<TColor> out;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (img.valid(x, y))
                out.insert(px(img, x, y));
    return out;
}

} // namespace

TEST(DrawBevel, PlainRingsNestAndCornersBelongToTheBottomRight)
{
    QImage img(6, 5, QImage::Format_RGB32);
    img.fill(PlainToRgb(clWhite));
    ToxEdges R{0, 0, 6, 5};
    DrawBevel(img, R, clRed, clBlue, 2);
    EXPECT_EQ(R.Left, 2);
    EXPECT_EQ(R.Bottom, 3);
    EXPECT_EQ(px(img, 0, 0), clRed);
    EXPECT_EQ(px(img, 5, 0), clBlue); // top-right corner
    EXPECT_EQ(px(img, 0, 4), clBlue); // bottom-left corner
    EXPECT_EQ(px(img, 1, 1), clRed);  // second ring
    EXPECT_EQ(px(img, 4, 3), clBlue);
    EXPECT_EQ(px(img, 2, 2), clWhite);

    // Negative levels restore R; no colour skips its half, corners included.
    img.fill(PlainToRgb(clWhite));
    ToxEdges S{0, 0, 6, 5};
    DrawBevel(img, S, clRed, clNone, -1);
    EXPECT_EQ(S.Left, 0);
    EXPECT_EQ(S.Right, 6);
    EXPECT_EQ(px(img, 5, 0), clRed);
    EXPECT_EQ(px(img, 0, 4), clRed);
    EXPECT_EQ(px(img, 5, 4), clWhite);
}

TEST(DrawBevel, ShadedRingShadesEachPixelOnce)
{
    QImage img(5, 4, QImage::Format_RGB32);
    img.fill(PlainToRgb(clGray));
    ToxEdges R{0, 0, 5, 4};
    DrawBevel(img, R, MakeShadeColor(20), MakeShadeColor(-20), 1);
    const TColor light = ShadeColor(clGray, 20);
    const TColor dark = ShadeColor(clGray, -20);
    EXPECT_EQ(px(img, 0, 0), light);
    EXPECT_EQ(px(img, 3, 0), light);
    EXPECT_EQ(px(img, 4, 0), dark); // corners go to the bottom-right half
    EXPECT_EQ(px(img, 0, 3), dark);
    EXPECT_EQ(px(img, 0, 2), light);
    EXPECT_EQ(px(img, 4, 3), dark);
    EXPECT_EQ(px(img, 2, 2), clGray);
    // A tiny box must not draw outside itself.
    QImage tiny(3, 3, QImage::Format_RGB32);
    tiny.fill(PlainToRgb(clWhite));
    ToxEdges T{1, 1, 1, 1};
    DrawBevel(tiny, T, clRed, clRed, 3);
    EXPECT_EQ(coloursIn(tiny, tiny.rect()), std::set<TColor>({clWhite}));
}

TEST(Bevels, ClassicStylesUpAndDown)
{
    const Ring DkDk{kDk, kDk}, HiSh{kHi, kSh}, HiDk{kHi, kDk}, LiSh{kLight, kSh}, DkHi{kDk, kHi},
        ShLi{kSh, kLight}, ShHi{kSh, kHi}, ShDk{kSh, kDk}, DkSh{kDk, kSh}, ShNone{kSh, clNone};
    struct Case
    {
        ToxBtnStyle style;
        Look look;
        std::vector<Ring> rings;
        const char *what;
    };
    const Case cases[] = {
        {ToxBtnStyle::bsWin31, Look::Up, {DkDk, HiSh, HiSh}, "win31 up"},
        {ToxBtnStyle::bsWin31, Look::Pressed, {DkDk, ShNone, ShNone}, "win31 pressed"},
        {ToxBtnStyle::bsWin31, Look::Latched, {DkDk, ShNone}, "win31 latched"},
        {ToxBtnStyle::bsWin95, Look::Up, {HiDk, LiSh}, "win95 up"},
        {ToxBtnStyle::bsWin95, Look::Pressed, {DkHi, ShLi}, "win95 pressed"},
        {ToxBtnStyle::bsWin95, Look::Latched, {DkHi, ShLi}, "win95 latched"},
        {ToxBtnStyle::bsInset, Look::Up, {ShHi, DkDk, HiSh}, "inset up"},
        {ToxBtnStyle::bsInset, Look::Latched, {ShHi, DkDk, ShNone}, "inset down"},
        {ToxBtnStyle::bsTarsel, Look::Up, {ShDk, HiSh}, "tarsel up"},
        {ToxBtnStyle::bsTarsel, Look::Pressed, {ShHi, DkSh}, "tarsel down"},
        {ToxBtnStyle::bsSpeed, Look::Up, {HiDk, LiSh}, "speed up"},
        {ToxBtnStyle::bsSpeed, Look::Latched, {DkHi, ShLi}, "speed down"},
        {ToxBtnStyle::bsWin97, Look::Up, {}, "win97 up"},
        {ToxBtnStyle::bsWin97, Look::Hot, {HiSh}, "win97 hot"},
        {ToxBtnStyle::bsWin97, Look::Latched, {ShHi}, "win97 latched"},
        {ToxBtnStyle::bsWin97, Look::LatchedHot, {ShHi}, "win97 latched hot"},
        {ToxBtnStyle::bsWin97, Look::Pressed, {ShHi}, "win97 pressed"},
        {ToxBtnStyle::bsBorderless, Look::Hot, {}, "borderless"},
        {ToxBtnStyle::bsShaped, Look::Latched, {}, "shaped"},
    };
    for (const Case &c : cases)
        expectRings(renderLook(c.style, c.look), c.rings, c.what);

    // The second pressed bsWin31 shadow line starts one pixel further in.
    const QImage pressed = renderLook(ToxBtnStyle::bsWin31, Look::Pressed);
    EXPECT_EQ(px(pressed, 2, 2), kSh);
    EXPECT_EQ(px(pressed, 28, 1), kSh);  // top-left line runs through its corner
    EXPECT_EQ(px(pressed, 28, 18), kFace);
}

TEST(Bevels, AutoShadeRingsShadeTheFace)
{
    QWidget host;
    TestButton b(&host);
    b.resize(30, 20);
    b.setColor(clGray);
    b.setBorderColors(ToxBorderColors::oxbAutoShade);
    const QImage img = b.render(); // bsWin95 up: Highlight/DkShadow, Light/Shadow
    EXPECT_EQ(px(img, 0, 10), ShadeColor(clGray, 6));
    EXPECT_EQ(px(img, 29, 10), ShadeColor(clGray, -6));
    EXPECT_EQ(px(img, 1, 10), ShadeColor(clGray, 4));
    EXPECT_EQ(px(img, 28, 10), ShadeColor(clGray, -4));
}

TEST(CaptionLayout, BoostFaceInEachState)
{
    BoostFixture f;
    f.btn->render();
    EXPECT_EQ(f.btn->CaptionRect(), boostCaption(0, 0));
    f.btn->MouseEnter();
    f.btn->render();
    EXPECT_EQ(f.btn->CaptionRect(), boostCaption(0, 0));
    f.btn->MouseDown(Qt::LeftButton, {}, 30, 30);
    f.btn->render();
    EXPECT_EQ(f.btn->CaptionRect(), boostCaption(2, 2));
    f.btn->MouseUp(Qt::LeftButton, {}, 30, 30);
    f.btn->MouseLeave();
    f.btn->render();
    EXPECT_EQ(f.btn->CaptionRect(), boostCaption(1, 1));

    // The bold caption is drawn in button text inside its rectangle.
    const QImage img = f.btn->render();
    EXPECT_TRUE(coloursIn(img, boostCaption(1, 1)).count(rgb(clBtnText)));
    // Latched "Boost": the odd-height overlay paints button face on button face.
    EXPECT_EQ(px(img, 10, 10), rgb(clBtnFace));
    EXPECT_EQ(px(img, 11, 10), rgb(clBtnFace));
}

TEST(CaptionLayout, PlacementRules)
{
    TestButton b;
    b.resize(80, 40);
    b.setCaption(QStringLiteral("Go"));
    b.render();
    const QFontMetrics fm(b.Font().toQFont());
    const int w = fm.horizontalAdvance(QStringLiteral("Go")) + 4;
    const int h = fm.height() + 2;
    EXPECT_EQ(b.CaptionRect(), QRect(80 - 5 - w, 40 - 5 - h, w, h)); // defaults -5, -5
    b.setTextX(3);
    b.setTextY(0);
    b.render();
    EXPECT_EQ(b.CaptionRect(), QRect(3, (40 - h) / 2, w, h));

    b.setCaption(QString());
    b.render();
    EXPECT_EQ(b.CaptionRect(), QRect(0, 0, 0, 0));

    b.setCaption(QStringLiteral("A||B"));
    b.render();
    EXPECT_EQ(b.CaptionRect().height(), h); // single line: "||" stays as text
    b.setMultiLine(true);
    b.render();
    EXPECT_EQ(b.CaptionRect().height(), 2 * fm.height() + 2);

    // Very long captions are cut at 255 characters, safely.
    b.setMultiLine(false);
    b.setCaption(QString(1000, QLatin1Char('i')));
    b.render();
    EXPECT_EQ(b.CaptionRect().width(), fm.horizontalAdvance(QString(255, QLatin1Char('i'))) + 4);

    // Rotated: the measured bottom becomes the right edge.
    b.setCaption(QStringLiteral("Go"));
    b.setTextAngle(90);
    b.setTextX(2);
    b.setTextY(2);
    b.render();
    EXPECT_EQ(b.CaptionRect(), QRect(2, 2, fm.height() + 4, h));
}

TEST(CaptionEffects, NoneShadowAndDisabled)
{
    QWidget host;
    TestButton b(&host);
    b.resize(60, 30);
    paintBevelColours(b);
    b.setStyle(ToxBtnStyle::bsBorderless);
    b.setCaption(QStringLiteral("Go"));
    b.setTextX(0);
    b.setTextY(0);
    b.setFont3D(ToxFont3D::fsNone);
    QImage img = b.render();
    EXPECT_EQ(coloursIn(img, img.rect()), std::set<TColor>({kFace}));

    b.setFont3D(ToxFont3D::fsShadow);
    b.setButtonType(ToxButtonType::oxbToggle);
    img = b.render();
    const QRect up = b.CaptionRect();
    EXPECT_TRUE(coloursIn(img, up).count(kSh));
    b.MouseDown(Qt::LeftButton, {}, up.center().x(), up.center().y());
    img = b.render();
    EXPECT_EQ(b.CaptionRect(), up); // the caption stays, its shadow moves to +4
    EXPECT_TRUE(coloursIn(img, up.translated(4, 4)).count(kSh));
    b.MouseUp(Qt::LeftButton, {}, 0, 0);

    b.setFont3D(ToxFont3D::fsRaised);
    b.setEnabled(false);
    img = b.render();
    const std::set<TColor> disabled = coloursIn(img, img.rect());
    EXPECT_TRUE(disabled.count(clGray));
    EXPECT_TRUE(disabled.count(kHi)); // the embossed copy one pixel down-right
    EXPECT_FALSE(disabled.count(rgb(clBtnText)));
}

TEST(FaceCache, SlotsFillAndClearOnValueChange)
{
    BoostFixture f;
    const QImage first = f.btn->render();
    EXPECT_EQ(f.btn->CacheValid(), 1u << 0);
    f.btn->setStyle(ToxBtnStyle::bsWin97);
    f.btn->MouseEnter();
    EXPECT_EQ(f.btn->CacheValid(), (1u << 0) | (1u << 1));
    f.btn->MouseDown(Qt::LeftButton, {}, 5, 5);
    EXPECT_TRUE(f.btn->CacheValid() & (1u << 2));
    f.btn->MouseUp(Qt::LeftButton, {}, 5, 5); // toggles: every face is stale
    EXPECT_EQ(f.btn->CacheValid(), 1u << 1);
    // A cached face is the same picture as a fresh one.
    const QImage cached = f.btn->render();
    f.btn->InvalidateFace();
    EXPECT_EQ(f.btn->render(), cached);
    f.btn->setEnabled(false);
    EXPECT_TRUE(f.btn->CacheValid() & (1u << 5));
}

TEST(FaceCache, DraggingALatchedToggleOffShowsItUp)
{
    BoostFixture f;
    f.btn->setStyle(ToxBtnStyle::bsSpeed);
    f.btn->setValue(true);
    const QImage latched = f.btn->render();
    f.btn->setValue(false);
    const QImage up = f.btn->render();
    f.btn->setValue(true);
    f.btn->MouseDown(Qt::LeftButton, {}, 5, 5);
    f.btn->MouseMove({}, 200, 5);
    EXPECT_EQ(f.btn->render(), up);
    f.btn->MouseUp(Qt::LeftButton, {}, 200, 5);
    EXPECT_EQ(f.btn->render(), latched);
}

TEST(Backgrounds, DitherClearAndGradientOnTheButton)
{
    QWidget host;
    QPalette pal = host.palette();
    pal.setColor(QPalette::Window, QColor(128, 128, 128));
    host.setPalette(pal);
    TestButton b(&host);
    b.resize(20, 20); // even height: white pixels where x + y is even
    b.setStyle(ToxBtnStyle::bsWin97);
    b.setCaption(QString());
    b.setButtonType(ToxButtonType::oxbToggle);
    b.setColor(kFace);
    b.setValue(true);
    QImage img = b.render();
    EXPECT_EQ(px(img, 10, 10), clWhite);
    EXPECT_EQ(px(img, 11, 10), kFace);
    b.MouseEnter(); // not while hot
    img = b.render();
    EXPECT_EQ(px(img, 10, 10), kFace);
    b.MouseLeave();

    b.setGroupAllowNoSel(true);
    b.setValue(false);
    b.setBorderInset({1, 1, 1, 1});
    b.Background().setStyle(ToxBackgroundStyle::oxbClear);
    b.Background().setColor(MakeShadeColor(20));
    EXPECT_FALSE(b.testAttribute(Qt::WA_OpaquePaintEvent));
    img = b.render();
    EXPECT_EQ(px(img, 10, 10), RGBColor(149, 149, 149)); // the parent's grey, lightened
    EXPECT_EQ(px(img, 0, 0), RGBColor(128, 128, 128));  // the margin is not painted

    b.Background().setStyle(ToxBackgroundStyle::oxbGradient);
    b.Background().setColor(clBlack);
    b.Background().setGradient(clWhite);
    img = b.render();
    // 128 bands over 18 pixels: later bands overwrite earlier ones, pixel 0 of F ends with band 7.
    EXPECT_EQ(px(img, 1, 10), RGBColor(242, 242, 242));
    EXPECT_EQ(px(img, 18, 10), RGBColor(2, 2, 2));
    EXPECT_EQ(px(img, 0, 0), kFace); // the margin shows Color
}

TEST(Pictures, ShadowGreyAndDisabledForms)
{
    QWidget host;
    TestButton b(&host);
    b.resize(40, 40);
    paintBevelColours(b);
    b.setStyle(ToxBtnStyle::bsWin97);
    b.setCaption(QString());
    b.setShadowColor(clBlack);
    b.setButtonType(ToxButtonType::oxbToggle);
    QImage pic(8, 8, QImage::Format_RGB32);
    pic.fill(PlainToRgb(RGBColor(200, 50, 20)));
    pic.setPixel(0, 7, PlainToRgb(clWhite)); // the transparent colour
    b.PictureUp().setBitmap(pic);
    b.setPictureX(0);
    b.setPictureY(0);

    QImage img = b.render();
    const QRect pr = b.PictureRect();
    EXPECT_EQ(pr, QRect(16, 16, 8, 8));
    EXPECT_EQ(px(img, 20, 20), RGBColor(200, 50, 20));
    EXPECT_EQ(px(img, 16, 23), kFace);               // transparent pixel
    EXPECT_EQ(px(img, 25, 25), clBlack);             // drop shadow at +2
    b.MouseDown(Qt::LeftButton, {}, 20, 20);
    img = b.render();
    EXPECT_EQ(px(img, 27, 27), clBlack); // +4 while pressed
    b.MouseUp(Qt::LeftButton, {}, 200, 200);

    b.setGrayed(true);
    img = b.render();
    EXPECT_EQ(px(img, 20, 20), RGBColor(90, 90, 90));
    EXPECT_EQ(px(img, 25, 25), kFace); // no shadow for a grey picture
    b.MouseEnter();
    img = b.render();
    EXPECT_EQ(px(img, 20, 20), RGBColor(200, 50, 20));
    b.MouseLeave();

    b.setEnabled(false);
    img = b.render();
    EXPECT_FALSE(coloursIn(img, img.rect()).count(RGBColor(200, 50, 20)));
    EXPECT_EQ(px(img, 20, 20), kFace);  // the copy in Color on top
    EXPECT_EQ(px(img, 24, 24), kHi);    // highlight copy at +1
    EXPECT_EQ(px(img, 15, 15), kSh);    // shadow copy at -1
}

TEST(FaceGeometry, OutlandishInsetsAndPositionsStaySafe)
{
    TestButton b;
    b.resize(30, 20);
    b.setColor(kFace);
    b.setBorderInset({2147483647, 0, 2147483647, 2147483647});
    b.setTextX(-2147483647 - 1);
    b.setTextY(2147483647);
    b.setPictureX(-2147483647 - 1);
    QImage pic(4, 4, QImage::Format_RGB32);
    pic.fill(0);
    b.PictureUp().setBitmap(pic);
    b.setCaption(QStringLiteral("Go"));
    const QImage img = b.render(); // all margin: nothing but Color
    EXPECT_EQ(coloursIn(img, img.rect()), std::set<TColor>({kFace}));
}

TEST(ComboButton, ArrowZoneDrawn)
{
    QWidget host;
    TestButton b(&host);
    b.resize(60, 24);
    paintBevelColours(b);
    b.setStyle(ToxBtnStyle::bsSpeed);
    b.setCaption(QString());
    b.setButtonType(ToxButtonType::oxbCombo);
    const QImage img = b.render();
    EXPECT_EQ(px(img, 45, 12), kDk); // the body's bevel ends left of the zone
    EXPECT_EQ(px(img, 46, 12), kHi); // the zone's own bevel
    EXPECT_TRUE(coloursIn(img, QRect(46, 6, 14, 12)).count(rgb(clBtnText)));
}
