#include "gfx/Bitmap.h"
#include "gfx/GraphicControl.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class Swatch : public TGraphicControl
{
public:
    using TGraphicControl::TGraphicControl;
    TColor color = clRed;
    void setColor(TColor c)
    {
        color = c;
        repaintNow();
    }

protected:
    void paintTo(QImage &img) override
    {
        TCanvas c(&img);
        c.Brush.Color = color;
        c.FillRect(0, 0, img.width(), img.height());
    }
};

} // namespace

TEST(GraphicControl, RendersSynchronouslyExceptWhileLoadingOrHidden)
{
    Swatch s;
    s.resize(4, 3);
    s.setColor(clLime);
    EXPECT_EQ(s.renderCount(), 1);
    EXPECT_EQ(RgbToPlain(s.lastImage().pixel(3, 2)), clLime);

    s.beginLoading();
    s.setColor(clNavy);
    EXPECT_EQ(s.renderCount(), 1);
    s.Loaded();
    EXPECT_FALSE(s.isLoading());

    s.setVisible(false);
    EXPECT_FALSE(s.Visible());
    s.setColor(clRed);
    EXPECT_EQ(s.renderCount(), 1);
    s.setVisible(true);
    EXPECT_TRUE(s.Visible());
}

TEST(GraphicControl, AlignedAndAnchoredBounds)
{
    const QRect b(10, 20, 30, 40);
    const QSize p(200, 100);
    EXPECT_EQ(AlignedBounds(TAlign::alNone, b, p), b);
    EXPECT_EQ(AlignedBounds(TAlign::alTop, b, p), QRect(0, 0, 200, 40));
    EXPECT_EQ(AlignedBounds(TAlign::alBottom, b, p), QRect(0, 60, 200, 40));
    EXPECT_EQ(AlignedBounds(TAlign::alLeft, b, p), QRect(0, 0, 30, 100));
    EXPECT_EQ(AlignedBounds(TAlign::alRight, b, p), QRect(170, 0, 30, 100));
    EXPECT_EQ(AlignedBounds(TAlign::alClient, b, p), QRect(0, 0, 200, 100));

    const QSize grown(220, 90); // 20 wider, 10 lower
    EXPECT_EQ(AnchoredBounds(TAnchorKind::akLeft | TAnchorKind::akTop, b, p, grown), b);
    EXPECT_EQ(AnchoredBounds(TAnchorKind::akRight | TAnchorKind::akBottom, b, p, grown), QRect(30, 10, 30, 40));
    EXPECT_EQ(AnchoredBounds(TAnchorKind::akLeft | TAnchorKind::akRight | TAnchorKind::akTop, b, p, grown),
              QRect(10, 20, 50, 40));
    EXPECT_EQ(AnchoredBounds(TAnchors(), b, p, grown), QRect(20, 15, 30, 40));
    // Shrinking never gives a negative size.
    EXPECT_EQ(AnchoredBounds(TAnchorKind::akLeft | TAnchorKind::akRight, b, p, QSize(100, 100)).width(), 0);
}

TEST(GraphicControl, FollowsTheParentsSize)
{
    QWidget parent;
    parent.resize(200, 100);
    Swatch docked(&parent);
    docked.setAlign(TAlign::alBottom);
    docked.resize(200, 10);
    docked.setAlign(TAlign::alTop);
    EXPECT_EQ(docked.geometry(), QRect(0, 0, 200, 10));
    Swatch anchored(&parent);
    anchored.setGeometry(150, 40, 40, 20);
    anchored.setAnchors(TAnchorKind::akRight | TAnchorKind::akTop);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    parent.resize(260, 100);
    QApplication::processEvents();
    EXPECT_EQ(docked.geometry(), QRect(0, 0, 260, 10));
    EXPECT_EQ(anchored.geometry(), QRect(210, 40, 40, 20));
}
