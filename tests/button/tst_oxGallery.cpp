// Renders of the "Boost" button in each state and of every bevel style, up
// and down: each must match its stored reference picture pixel for pixel, and
// is also written into the test build folder for a look by eye.

#include "ButtonTestSupport.h"
#include "ReferenceImage.h"
#include "widgets/button/oxStyleTheme.h"

#include <QDir>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

QString outPath(const QString &name)
{
    return QDir(QStringLiteral(VELMORA_TEST_OUTPUT_DIR)).filePath(name);
}

void save(const QImage &img, const QString &name)
{
    ASSERT_FALSE(img.isNull());
    EXPECT_TRUE(img.save(outPath(name))) << name.toStdString();
    QString stem = name;
    stem.chop(4); // ".png"
    EXPECT_TRUE(MatchesReference(img, QStringLiteral(VELMORA_TEST_REFERENCE_DIR),
                                 outPath(QStringLiteral("mismatch")), stem));
}

} // namespace

TEST(Gallery, BoostStates)
{
    BoostFixture f;
    save(f.btn->render(), QStringLiteral("boost_up.png"));
    f.btn->MouseEnter();
    save(f.btn->render(), QStringLiteral("boost_hot.png"));
    f.btn->MouseDown(Qt::LeftButton, {}, 30, 30);
    save(f.btn->render(), QStringLiteral("boost_pressed.png"));
    f.btn->MouseUp(Qt::LeftButton, {}, 30, 30);
    ASSERT_TRUE(f.btn->Value());
    save(f.btn->render(), QStringLiteral("boost_latched_hot.png"));
    f.btn->MouseLeave();
    save(f.btn->render(), QStringLiteral("boost_latched.png"));
    f.btn->setValue(false);
    f.btn->setEnabled(false);
    save(f.btn->render(), QStringLiteral("boost_disabled.png"));
}

TEST(Gallery, BevelStyles)
{
    const std::pair<ToxBtnStyle, const char *> styles[] = {
        {ToxBtnStyle::bsWin31, "win31"},   {ToxBtnStyle::bsWin95, "win95"},
        {ToxBtnStyle::bsInset, "inset"},   {ToxBtnStyle::bsTarsel, "tarsel"},
        {ToxBtnStyle::bsSpeed, "speed"},   {ToxBtnStyle::bsWin97, "win97"},
        {ToxBtnStyle::bsBorderless, "borderless"}, {ToxBtnStyle::bsShaped, "shaped"},
        {ToxBtnStyle::bsWinXP, "winxp"},   {ToxBtnStyle::bsWinXPToolBtn, "winxptoolbtn"},
    };
    // One sheet: a row per style with up, hot, pressed and latched, at twice the size.
    const int W = 73, H = 65, cols = 4;
    QImage sheet(cols * (W + 4) * 2, int(std::size(styles)) * (H + 4) * 2, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    int row = 0;
    for (const auto &[style, name] : styles) {
        BoostFixture f;
        f.btn->setStyle(style);
        QImage faces[cols];
        faces[0] = f.btn->render();
        f.btn->MouseEnter();
        faces[1] = f.btn->render();
        f.btn->MouseDown(Qt::LeftButton, {}, 30, 30);
        faces[2] = f.btn->render();
        f.btn->MouseUp(Qt::LeftButton, {}, 30, 30);
        f.btn->MouseLeave();
        faces[3] = f.btn->render();
        save(faces[0], QStringLiteral("bevel_%1_up.png").arg(QLatin1String(name)));
        save(faces[3], QStringLiteral("bevel_%1_down.png").arg(QLatin1String(name)));
        for (int c = 0; c < cols; ++c)
            p.drawImage(QRect(c * (W + 4) * 2, row * (H + 4) * 2, W * 2, H * 2), faces[c]);
        ++row;
    }
    p.end();
    save(sheet, QStringLiteral("bevel_styles_sheet.png"));
}

TEST(Gallery, StyleThemedBoost)
{
    // With the widget style as theme engine the button resolves to the toolbar look.
    ToxStyleTheme theme;
    SetOxThemeEngine(&theme);
    BoostFixture f;
    EXPECT_EQ(f.btn->ResolvedStyle(), ToxBtnStyle::bsWinXPToolBtn);
    const QImage up = f.btn->render();
    f.btn->MouseEnter();
    const QImage hot = f.btn->render();
    f.btn->clickAt(30, 30);
    const QImage latched = f.btn->render();
    SetOxThemeEngine(nullptr);
    QImage row(3 * 77, 65, QImage::Format_RGB32);
    row.fill(Qt::white);
    QPainter p(&row);
    p.drawImage(0, 0, up);
    p.drawImage(77, 0, hot);
    p.drawImage(154, 0, latched);
    p.end();
    EXPECT_NE(up, latched);
    save(row, QStringLiteral("boost_style_themed.png"));
}

TEST(Gallery, CaptionEffectsPicturesAndCombo)
{
    QWidget host;
    std::vector<QImage> faces;
    auto make = [&host]() {
        auto *b = new TestButton(&host);
        b->resize(73, 45);
        b->setCaption(QStringLiteral("Boost"));
        b->setFont(TFont(QStringLiteral("MS Sans Serif"), -13, TFontStyle::fsBold, clBtnText));
        b->setTextX(0);
        b->setTextY(0);
        b->setColor(clSilver);
        return b;
    };
    for (auto effect : {ToxFont3D::fsNormal, ToxFont3D::fsRaised, ToxFont3D::fsInset, ToxFont3D::fsRidged,
                        ToxFont3D::fsGrooved, ToxFont3D::fsShadow}) {
        auto *b = make();
        b->setFont3D(effect);
        faces.push_back(b->render());
    }
    auto *rotated = make();
    rotated->resize(45, 73);
    rotated->setTextAngle(90);
    faces.push_back(rotated->render());
    auto *multi = make();
    multi->setCaption(QStringLiteral("Boost||On"));
    multi->setMultiLine(true);
    faces.push_back(multi->render());

    QImage pic(12, 12, QImage::Format_RGB32);
    pic.fill(PlainToRgb(clWhite));
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < 12; ++j)
            if ((i - 6) * (i - 6) + (j - 6) * (j - 6) < 30)
                pic.setPixel(i, j, PlainToRgb(clRed));
    auto *withPic = make();
    withPic->PictureUp().setBitmap(pic);
    withPic->setPictureX(6);
    withPic->setPictureY(0);
    withPic->setTextX(-4);
    faces.push_back(withPic->render());
    withPic->setGrayed(true);
    faces.push_back(withPic->render());
    withPic->setEnabled(false);
    faces.push_back(withPic->render());
    auto *combo = make();
    combo->setButtonType(ToxButtonType::oxbCombo);
    combo->setTextX(4);
    faces.push_back(combo->render());

    QImage sheet(int(faces.size()) * 80, 80, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    for (std::size_t i = 0; i < faces.size(); ++i)
        p.drawImage(int(i) * 80, 0, faces[i]);
    p.end();
    save(sheet, QStringLiteral("caption_effects_sheet.png"));
}
