#include "gfx/Bitmap.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The picture as rows of characters: '.' white, '#' black, 'r' red, '?' other.
std::string art(const TBitmap &b)
{
    std::string s;
    for (int y = 0; y < b.Height(); ++y) {
        for (int x = 0; x < b.Width(); ++x) {
            const TColor c = b.Canvas().Pixel(x, y);
            s += c == clWhite ? '.' : c == clBlack ? '#' : c == clRed ? 'r' : '?';
        }
        s += '\n';
    }
    return s;
}

struct Sheet
{
    explicit Sheet(int w, int h) : bmp(w, h), c(bmp.Canvas())
    {
        c.Pen.Color = clBlack;
        c.Brush.Color = clRed;
    }
    TBitmap bmp;
    TCanvas &c;
};

} // namespace

TEST(CanvasLines, LineToStopsBeforeItsEndAndMovesThePen)
{
    Sheet s(6, 4);
    s.c.MoveTo(0, 1);
    s.c.LineTo(5, 1);
    EXPECT_EQ(s.c.PenPos(), QPoint(5, 1));
    s.c.LineTo(5, 3); // starts at the old end point, so that pixel is drawn now
    EXPECT_EQ(art(s.bmp), "......\n"
                          "######\n"
                          ".....#\n"
                          "......\n");
}

TEST(CanvasLines, DiagonalsAndReverseDirections)
{
    Sheet s(5, 5);
    s.c.MoveTo(4, 4);
    s.c.LineTo(0, 0);
    EXPECT_EQ(art(s.bmp), ".....\n"
                          ".#...\n"
                          "..#..\n"
                          "...#.\n"
                          "....#\n");
    Sheet t(3, 3);
    t.c.MoveTo(1, 1);
    t.c.LineTo(1, 1); // zero length: nothing
    EXPECT_EQ(art(t.bmp), "...\n...\n...\n");
}

TEST(CanvasLines, ClosedPolylineDrawsEveryCornerOnceAndOpenOneSkipsTheLastPoint)
{
    Sheet s(5, 4);
    s.c.Polyline({{0, 0}, {4, 0}, {4, 3}, {0, 3}, {0, 0}});
    EXPECT_EQ(art(s.bmp), "#####\n"
                          "#...#\n"
                          "#...#\n"
                          "#####\n");
    Sheet t(5, 2);
    t.c.Polyline({{0, 0}, {4, 0}});
    EXPECT_EQ(t.c.Pixel(4, 0), clWhite);
    EXPECT_EQ(t.c.Pixel(3, 0), clBlack);
}

TEST(CanvasLines, ClearPenAndNoColourDrawNothing)
{
    Sheet s(4, 1);
    s.c.Pen.Style = TPenStyle::psClear;
    s.c.MoveTo(0, 0);
    s.c.LineTo(4, 0);
    s.c.Pen.Style = TPenStyle::psSolid;
    s.c.Pen.Color = clNone;
    s.c.LineTo(0, 0);
    EXPECT_EQ(art(s.bmp), "....\n");
}

TEST(CanvasBoxes, RectangleOutlinesAndFillsInsideTheHalfOpenBox)
{
    Sheet s(7, 6);
    s.c.Rectangle(1, 1, 6, 5);
    EXPECT_EQ(art(s.bmp), ".......\n"
                          ".#####.\n"
                          ".#rrr#.\n"
                          ".#rrr#.\n"
                          ".#####.\n"
                          ".......\n");
}

TEST(CanvasBoxes, RectangleVariants)
{
    Sheet clear(5, 4);
    clear.c.Brush.Style = TBrushStyle::bsClear;
    clear.c.Rectangle(0, 0, 5, 4);
    EXPECT_EQ(clear.c.Pixel(2, 2), clWhite);

    Sheet wide(6, 6);
    wide.c.Pen.Width = 2;
    wide.c.Rectangle(0, 0, 6, 6); // a thick pen stays inside the box too
    EXPECT_EQ(art(wide.bmp), "######\n"
                             "######\n"
                             "##rr##\n"
                             "##rr##\n"
                             "######\n"
                             "######\n");

    Sheet swapped(4, 3);
    swapped.c.Rectangle(4, 3, 0, 0); // corners in either order
    EXPECT_EQ(art(swapped.bmp), "####\n"
                                "#rr#\n"
                                "####\n");
}

TEST(CanvasBoxes, FillFrameAndFocusRect)
{
    Sheet s(5, 4);
    s.c.FillRect(1, 1, 3, 3);
    EXPECT_EQ(art(s.bmp), ".....\n"
                          ".rr..\n"
                          ".rr..\n"
                          ".....\n");
    s.c.Brush.Color = clBlack;
    s.c.FrameRect(QRect(0, 0, 5, 4));
    EXPECT_EQ(art(s.bmp), "#####\n"
                          "#rr.#\n"
                          "#rr.#\n"
                          "#####\n");

    Sheet f(5, 4);
    f.c.DrawFocusRect(0, 0, 5, 4);
    EXPECT_EQ(art(f.bmp), "#.#.#\n"
                          ".....\n"
                          "#...#\n"
                          ".#.#.\n");
    f.c.DrawFocusRect(0, 0, 5, 4); // inverting twice restores the picture
    EXPECT_EQ(art(f.bmp), ".....\n.....\n.....\n.....\n");
}

TEST(CanvasBoxes, PatternBrushTilesFromTheImageOrigin)
{
    QImage pattern(2, 2, QImage::Format_RGB32);
    pattern.fill(Qt::white);
    pattern.setPixel(0, 0, qRgb(0, 0, 0));
    pattern.setPixel(1, 1, qRgb(0, 0, 0));
    Sheet s(4, 3);
    s.c.Brush.Bitmap = pattern;
    s.c.FillRect(1, 0, 4, 3);
    EXPECT_EQ(art(s.bmp), "..#.\n"
                          ".#.#\n"
                          "..#.\n");
}

TEST(CanvasEllipse, TouchesEveryEdgeOfItsBoxAndNothingOutside)
{
    Sheet s(14, 12);
    s.c.Ellipse(1, 1, 13, 11); // 12 x 10 box
    for (int x = 0; x < 14; ++x) {
        EXPECT_EQ(s.c.Pixel(x, 0), clWhite);
        EXPECT_EQ(s.c.Pixel(x, 11), clWhite);
    }
    for (int y = 0; y < 12; ++y) {
        EXPECT_EQ(s.c.Pixel(0, y), clWhite);
        EXPECT_EQ(s.c.Pixel(13, y), clWhite);
    }
    EXPECT_EQ(s.c.Pixel(6, 1), clBlack);  // top
    EXPECT_EQ(s.c.Pixel(6, 10), clBlack); // bottom
    EXPECT_EQ(s.c.Pixel(1, 5), clBlack);  // left
    EXPECT_EQ(s.c.Pixel(12, 5), clBlack); // right
    EXPECT_EQ(s.c.Pixel(6, 5), clRed);
    EXPECT_EQ(s.c.Pixel(1, 1), clWhite); // corners stay out
    // Mirror symmetric about both axes of the box.
    for (int y = 1; y < 11; ++y)
        for (int x = 1; x < 13; ++x) {
            EXPECT_EQ(s.c.Pixel(x, y), s.c.Pixel(13 - x, y)) << x << "," << y;
            EXPECT_EQ(s.c.Pixel(x, y), s.c.Pixel(x, 11 - y)) << x << "," << y;
        }
}

TEST(CanvasEllipse, ArcRunsCounterclockwiseFromStartToEnd)
{
    // Start on the right, end at the top: only the upper-right quarter.
    Sheet q(11, 11);
    q.c.Arc(0, 0, 11, 11, 10, 5, 5, 0);
    EXPECT_EQ(q.c.Pixel(10, 5), clBlack);
    EXPECT_EQ(q.c.Pixel(5, 0), clBlack);
    EXPECT_EQ(q.c.Pixel(9, 2), clBlack);
    EXPECT_EQ(q.c.Pixel(1, 2), clWhite);  // upper left
    EXPECT_EQ(q.c.Pixel(1, 8), clWhite);  // lower left
    EXPECT_EQ(q.c.Pixel(9, 8), clWhite);  // lower right
    EXPECT_EQ(q.c.Pixel(5, 5), clWhite);  // an arc is not filled

    // The same two points swapped: the other three quarters.
    Sheet r(11, 11);
    r.c.Arc(0, 0, 11, 11, 5, 0, 10, 5);
    EXPECT_EQ(r.c.Pixel(9, 2), clWhite);
    EXPECT_EQ(r.c.Pixel(1, 2), clBlack);
    EXPECT_EQ(r.c.Pixel(1, 8), clBlack);
    EXPECT_EQ(r.c.Pixel(9, 8), clBlack);

    // Equal radials: the whole ellipse.
    Sheet full(11, 11);
    full.c.Arc(0, 0, 11, 11, 10, 5, 10, 5);
    EXPECT_EQ(full.c.Pixel(0, 5), clBlack);
    EXPECT_EQ(full.c.Pixel(9, 8), clBlack);
}

TEST(CanvasEllipse, PieFillsTheSectorAndDrawsBothRadii)
{
    Sheet s(11, 11);
    s.c.Pie(0, 0, 11, 11, 0, 5, 10, 5); // from the left, counterclockwise to the right: the lower half
    EXPECT_EQ(s.c.Pixel(5, 8), clRed);
    EXPECT_EQ(s.c.Pixel(5, 2), clWhite);
    for (int x = 0; x < 11; ++x)
        EXPECT_EQ(s.c.Pixel(x, 5), clBlack) << x; // the two radii along the diameter
    EXPECT_EQ(s.c.Pixel(5, 10), clBlack);           // arc at the bottom
}

TEST(CanvasPolygon, FillsInsideAndOutlinesEveryEdge)
{
    Sheet s(7, 6);
    s.c.Polygon({{1, 1}, {5, 1}, {5, 4}, {1, 4}});
    EXPECT_EQ(art(s.bmp), ".......\n"
                          ".#####.\n"
                          ".#rrr#.\n"
                          ".#rrr#.\n"
                          ".#####.\n"
                          ".......\n");
    Sheet t(7, 5);
    t.c.Pen.Style = TPenStyle::psClear;
    t.c.Polygon({{0, 0}, {6, 0}, {0, 4}}); // fill only: left and top edges in, the slanted one out
    EXPECT_EQ(t.c.Pixel(0, 0), clRed);
    EXPECT_EQ(t.c.Pixel(5, 0), clRed);
    EXPECT_EQ(t.c.Pixel(6, 0), clWhite);
    EXPECT_EQ(t.c.Pixel(0, 3), clRed);
    EXPECT_EQ(t.c.Pixel(0, 4), clWhite);
}

TEST(CanvasPixels, ReadAndWriteSinglePixels)
{
    Sheet s(3, 2);
    s.c.setPixel(2, 1, clNavy);
    EXPECT_EQ(s.c.Pixel(2, 1), clNavy);
    s.c.setPixel(1, 1, clBtnFace);
    EXPECT_EQ(s.c.Pixel(1, 1), ColorToRGB(clBtnFace));
    s.c.setPixel(5, 5, clBlack); // outside: ignored
    s.c.setPixel(0, 0, clNone);  // no colour: ignored
    EXPECT_EQ(s.c.Pixel(0, 0), clWhite);
    EXPECT_EQ(s.c.Pixel(-1, 0), clInvalid);
    EXPECT_EQ(s.c.Pixel(3, 0), clInvalid);
}

TEST(CanvasClipping, DrawingBeyondTheImageIsSafe)
{
    Sheet s(4, 4);
    s.c.Rectangle(-10, -10, 20, 20);
    s.c.Ellipse(-5, -5, 9, 9);
    s.c.Pie(-5, -5, 9, 9, 0, 0, 4, 4);
    s.c.Polygon({{-100, -100}, {100, -50}, {50, 100}});
    s.c.MoveTo(-50, 2);
    s.c.LineTo(50, 2);
    s.c.FillRect(2, 2, 100, 100);
    EXPECT_EQ(s.c.Pixel(3, 3), clRed);
}

TEST(CanvasEllipse, ExactOutlineOfASmallEllipseAndPie)
{
    Sheet e(12, 10);
    e.c.Ellipse(0, 0, 12, 10);
    EXPECT_EQ(art(e.bmp), "...######...\n"
                          "..#rrrrrr#..\n"
                          ".#rrrrrrrr#.\n"
                          "#rrrrrrrrrr#\n"
                          "#rrrrrrrrrr#\n"
                          "#rrrrrrrrrr#\n"
                          "#rrrrrrrrrr#\n"
                          ".#rrrrrrrr#.\n"
                          "..#rrrrrr#..\n"
                          "...######...\n");
    Sheet p(12, 6);
    p.c.Pie(0, 0, 11, 11, 11, 5, 5, 0); // the upper-right quarter
    EXPECT_EQ(art(p.bmp), ".....###....\n"
                          ".....#rr#...\n"
                          ".....#rrr#..\n"
                          ".....#rrrr#.\n"
                          ".....#rrrr#.\n"
                          ".....######.\n");
}

TEST(CanvasEllipse, PieWiderThanAHalfTurn)
{
    Sheet s(11, 11);
    s.c.Pie(0, 0, 11, 11, 5, 0, 10, 5); // top, counterclockwise round to the right: three quarters
    EXPECT_EQ(s.c.Pixel(2, 3), clRed);
    EXPECT_EQ(s.c.Pixel(3, 8), clRed);
    EXPECT_EQ(s.c.Pixel(8, 8), clRed);
    EXPECT_EQ(s.c.Pixel(8, 2), clWhite);
    EXPECT_EQ(s.c.Pixel(5, 5), clBlack); // centre, on both radii
}
