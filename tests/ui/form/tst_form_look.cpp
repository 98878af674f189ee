#include "ui/support/FormFixture.h"

#include "gfx/Color.h"
#include "widgets/display/NumLab.h"
#include "ui/form/StdControls.h"
#include "widgets/button/oxBtns.h"

#include <QGroupBox>
#include <QImage>
#include <gtest/gtest.h>

namespace
{

// Pixels and colours compared as 8-bit RGB, as the screen holds them.
QRgb at(const QImage &img, int x, int y)
{
    return img.pixel(x, y) | 0xFF000000u;
}

QRgb rgb(TColor c)
{
    return ColorToQColor(c).rgb();
}

TEST(FormLook, GroupBoxesAreEtchedWithTheTitleOnTheFrameAndAPlainInterior)
{
    FormDriver d;
    TForm1 &f = d.form();
    const QRgb window = f.palette().color(QPalette::Window).rgb();
    const QRgb dark = rgb(clBtnShadow);
    const QRgb light = rgb(clBtnHighlight);
    ASSERT_NE(dark, window);
    for (QGroupBox *g : f.findChildren<QGroupBox *>()) {
        auto *box = qobject_cast<TGroupBox *>(g);
        ASSERT_NE(box, nullptr) << g->objectName().toStdString();
        const QImage img = g->grab().toImage();
        const int top = box->frameTop();
        const QRect title = box->titleRect();
        const int w = img.width(), h = img.height();
        const std::string name = g->objectName().toStdString();
        // The frame's top line runs through the title's middle: dark, then light below.
        EXPECT_EQ(top, title.center().y()) << name;
        EXPECT_EQ(at(img, 2, top), dark) << name;
        EXPECT_EQ(at(img, 3, top + 1), light) << name;
        EXPECT_EQ(at(img, title.right() + 4, top), dark) << name;
        // Around the title the line is broken by the window colour.
        EXPECT_EQ(at(img, title.left(), top), window) << name;
        EXPECT_EQ(at(img, title.right(), top), window) << name;
        // The other three sides, dark outside light.
        EXPECT_EQ(at(img, 0, h / 2), dark) << name;
        EXPECT_EQ(at(img, 1, h / 2), light) << name;
        EXPECT_EQ(at(img, w - 2, h / 2), dark) << name;
        EXPECT_EQ(at(img, w - 1, h / 2), light) << name;
        EXPECT_EQ(at(img, w / 2, h - 2), dark) << name;
        EXPECT_EQ(at(img, w / 2, h - 1), light) << name;
        // Nothing above the frame but the title, and the interior is the window.
        EXPECT_EQ(at(img, w - 4, 0), window) << name;
        EXPECT_EQ(at(img, w - 4, top + 3), window) << name;
        EXPECT_EQ(at(img, 3, h - 4), window) << name;
    }
}

TEST(FormLook, ReadoutCaptionsSitOnTheSameGreyAsTheirGroup)
{
    FormDriver d;
    TForm1 &f = d.form();
    const QImage group = f.GroupBox2->grab().toImage();
    // The caption strip of "Power", just inside the readout's left edge,
    // and the group's interior just left of it.
    const QPoint strip = f.NumLabPower->geometry().topLeft() + QPoint(2, 8);
    EXPECT_EQ(at(group, strip.x(), strip.y()), at(group, f.NumLabPower->x() - 2, strip.y()));
}

TEST(FormLook, BoostIsRaisedWithA3DLightLighterThanTheFace)
{
    FormDriver d;
    TForm1 &f = d.form();
    const QColor face = ColorToQColor(clBtnFace);
    const QColor light3D = ColorToQColor(cl3DLight);
    EXPECT_GT(light3D.lightness(), face.lightness());
    EXPECT_LE(light3D.lightness(), ColorToQColor(clBtnHighlight).lightness());

    const QImage img = f.BtnBoostMe->render();
    const int w = img.width(), h = img.height();
    // Raised: highlight then 3-D light at the top-left, dark shadow then
    // shadow at the bottom-right.
    EXPECT_EQ(at(img, w / 2, 0), rgb(clBtnHighlight));
    EXPECT_EQ(at(img, w / 2, 1), light3D.rgb());
    EXPECT_EQ(at(img, 1, h / 2), light3D.rgb());
    EXPECT_EQ(at(img, w / 2, h - 1), rgb(cl3DDkShadow));
    EXPECT_EQ(at(img, w / 2, h - 2), rgb(clBtnShadow));
    EXPECT_EQ(at(img, w - 2, h / 2), rgb(clBtnShadow));
    // The face inside the bevel is the face colour.
    EXPECT_EQ(at(img, 4, 4), face.rgb());
}

} // namespace
