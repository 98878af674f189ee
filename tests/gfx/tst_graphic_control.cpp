#include "gfx/Bitmap.h"
#include "gfx/GraphicControl.h"

#include <QApplication>
#include <QPaintEvent>
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

// Two halves, each in its own colour; records what reaches the screen.
class Halves : public TGraphicControl
{
public:
    using TGraphicControl::TGraphicControl;
    TColor left = clRed, right = clBlue;
    QList<QRegion> painted;
    void setColors(TColor l, TColor r)
    {
        left = l;
        right = r;
        repaintNow();
    }

protected:
    void paintTo(QImage &img) override
    {
        TCanvas c(&img);
        c.Brush.Color = left;
        c.FillRect(0, 0, img.width() / 2, img.height());
        c.Brush.Color = right;
        c.FillRect(img.width() / 2, 0, img.width(), img.height());
    }
    void paintEvent(QPaintEvent *event) override
    {
        painted << event->region();
        TGraphicControl::paintEvent(event);
    }
};

} // namespace

TEST(GraphicControl, OnlyChangedPixelsGoToTheScreen)
{
    QWidget window;
    window.resize(100, 60);
    Halves h(&window);
    h.setGeometry(10, 10, 40, 20);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::processEvents();
    h.painted.clear();

    h.setColors(clRed, clLime); // the right half only
    QApplication::processEvents();
    ASSERT_EQ(h.painted.size(), 1);
    EXPECT_EQ(h.painted.front(), QRegion(20, 0, 20, 20));

    h.painted.clear();
    h.setColors(clRed, clLime); // drawn again, nothing differs
    QApplication::processEvents();
    EXPECT_EQ(h.renderCount(), 3);
    EXPECT_TRUE(h.painted.isEmpty());

    // Exposed again by the window system: all of it, from the kept picture.
    h.painted.clear();
    h.update();
    QApplication::processEvents();
    ASSERT_EQ(h.painted.size(), 1);
    EXPECT_EQ(h.painted.front(), QRegion(h.rect()));
    EXPECT_EQ(h.renderCount(), 3);
    const QImage onScreen = window.grab().toImage().copy(10, 10, 40, 20).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(onScreen, h.lastImage());

    // A resize draws and shows the whole picture.
    h.painted.clear();
    h.resize(30, 20);
    h.setColors(clYellow, clLime);
    QApplication::processEvents();
    ASSERT_FALSE(h.painted.isEmpty());
    EXPECT_EQ(h.painted.back(), QRegion(h.rect()));
}

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
