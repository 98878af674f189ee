#pragma once

#include "gfx/Color.h"
#include "gfx/Font.h"

#include <QFlags>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <vector>

class QPainter;

class TBitmap;

enum class TPenStyle { psSolid, psClear };
enum class TBrushStyle { bsSolid, bsClear };

struct TPen
{
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
};

struct TBrush
{
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
    // When not null and the style is solid, fills tile this 8 x 8 (or any
    // size) pattern from the image's top-left corner instead of Color.
    QImage Bitmap;
};

// How an image is combined with the pixels it is drawn over.
enum class TCopyMode { cmSrcCopy, cmSrcAnd, cmSrcPaint };

// Flags of DrawText. Vertical placement applies to single-line text only.
enum class TTextFlag : unsigned {
    Left = 0,
    Center = 0x1,
    Right = 0x2,
    Top = 0,
    VCenter = 0x4,
    Bottom = 0x8,
    WordBreak = 0x10,
    SingleLine = 0x20,
    ExpandTabs = 0x40,
    NoClip = 0x100,
    CalcRect = 0x400, // measure only: the rectangle gets the text's extent
    NoPrefix = 0x800, // "&" is an ordinary character
};
Q_DECLARE_FLAGS(TTextFlags, TTextFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TTextFlags)

// Reference point of TextOut.
enum class TTextHAlign { Left, Center, Right };
enum class TTextVAlign { Top, Baseline, Bottom };

// The drawing surface: integer pixels, origin top left, y downward, no
// antialiasing. Boxes given as (x1, y1, x2, y2) are half-open: they cover
// x1 <= x < x2, y1 <= y < y2. QRect arguments mean the same box as
// (left, top, left + width, top + height).
//
// Lines never draw their end point; Rectangle and Ellipse fill with the brush
// and outline with the pen inside their box; Arc and Pie run counterclockwise
// on screen from the radial through the start point to the radial through the
// end point. A colour that resolves to nothing (clNone, shade colours) makes
// the operation that would use it draw nothing.
//
// At a device pixel ratio other than 1 a canvas can keep a device image in
// step with its image (see TDeviceImageScope): every pixel it sets becomes a
// block of device pixels (so shapes and lines keep their proportions), and
// text is drawn again at the device resolution.
// The painter settings the canvas draws text with: no smoothing of any kind.
void PrepareCanvasPainter(QPainter &p);

class TCanvas
{
public:
    // Draws on *image, which must outlive the canvas and be Format_RGB32 or
    // Format_ARGB32 (other formats are converted on construction). A device
    // image registered for *image is kept in step.
    explicit TCanvas(QImage *image);
    TCanvas(const TCanvas &) = delete;
    TCanvas &operator=(const TCanvas &) = delete;

    TPen Pen;
    TBrush Brush;
    TFont Font;
    TTextHAlign TextHAlign = TTextHAlign::Left;
    TTextVAlign TextVAlign = TTextVAlign::Top;

    QImage &image() { return *m_image; }
    const QImage &image() const { return *m_image; }
    int width() const { return m_image->width(); }
    int height() const { return m_image->height(); }
    QRect ClipRect() const { return m_image->rect(); }

    // Current point of MoveTo/LineTo.
    QPoint PenPos() const { return m_penPos; }
    void MoveTo(int x, int y) { m_penPos = QPoint(x, y); }
    void LineTo(int x, int y);
    // Lines through the points, the last point not drawn (a closed path that
    // repeats its first point therefore draws every pixel once).
    void Polyline(const std::vector<QPoint> &points);
    // Filled with the brush (alternate rule), outlined with the pen, closed.
    void Polygon(const std::vector<QPoint> &points);

    void FillRect(int x1, int y1, int x2, int y2);
    void FillRect(const QRect &r) { FillRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()); }
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const QRect &r) { Rectangle(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()); }
    // A one-pixel frame in the brush colour.
    void FrameRect(int x1, int y1, int x2, int y2);
    void FrameRect(const QRect &r) { FrameRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()); }
    // Dotted focus frame: every other pixel of the box's edge inverted, so
    // drawing it twice restores the picture.
    void DrawFocusRect(int x1, int y1, int x2, int y2);
    void DrawFocusRect(const QRect &r) { DrawFocusRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()); }

    void Ellipse(int x1, int y1, int x2, int y2);
    void Arc(int x1, int y1, int x2, int y2, int sx, int sy, int ex, int ey);
    void Pie(int x1, int y1, int x2, int y2, int sx, int sy, int ex, int ey);

    // One pixel as a plain colour; clInvalid outside the image.
    TColor Pixel(int x, int y) const;
    void setPixel(int x, int y, TColor c);

    int TextWidth(const QString &text) const;
    int TextHeight(const QString &text) const;
    QSize TextExtent(const QString &text) const { return {TextWidth(text), TextHeight(text)}; }
    // Text with its reference point at (x, y) (top-left unless TextHAlign /
    // TextVAlign say otherwise), in Font and Font.Color, turned by
    // Font.Orientation. With a solid brush the text cell is first filled in
    // the brush colour.
    void TextOut(int x, int y, const QString &text);
    // TextOut clipped to r; with a solid brush all of r is filled first.
    void TextRect(const QRect &r, int x, int y, const QString &text);
    // Text laid out in r. Returns the height of the text; with CalcRect
    // nothing is drawn and r becomes the text's bounding box (its right edge
    // grows for single-line text, its bottom for word-broken text).
    int DrawText(QRect &r, const QString &text, TTextFlags flags);
    int DrawText(const QRect &r, const QString &text, TTextFlags flags)
    {
        QRect c = r;
        return DrawText(c, text, flags & ~TTextFlags(TTextFlag::CalcRect));
    }

    // Images. Draw puts the bitmap's top-left at (x, y); a Transparent bitmap
    // leaves the pixels of its transparent colour out.
    void Draw(int x, int y, const TBitmap &bmp, TCopyMode mode = TCopyMode::cmSrcCopy);
    void Draw(int x, int y, const QImage &img, TCopyMode mode = TCopyMode::cmSrcCopy);
    void DrawTransparent(int x, int y, const QImage &img, TColor transparent);
    // The bitmap scaled (nearest pixel) into the box.
    void StretchDraw(const QRect &dest, const TBitmap &bmp);
    void StretchDraw(const QRect &dest, const QImage &img);
    // Copies src's srcRect into dest (scaled when the sizes differ).
    void CopyRect(const QRect &dest, const TCanvas &src, const QRect &srcRect);

    // The device image kept in step, or null (always null at ratio 1).
    QImage *deviceImage() const { return m_device; }

private:
    // Device pixels of the logical column or row v: [edge(v), edge(v + 1)).
    int edge(int v) const;
    // Copies logical pixels [x1, x2) of row y to the device image as blocks.
    void mirror(int x1, int x2, int y);
    void mirrorFill(int x1, int x2, int y, QRgb c);
    void plot(int x, int y, QRgb c);
    void hspan(int x1, int x2, int y, QRgb c); // x1 <= x < x2
    void fillSpanBrush(int x1, int x2, int y); // with the brush; nothing when clear
    bool brushPaints() const;
    bool penPaints(QRgb *c) const;
    void line(int x0, int y0, int x1, int y1, bool lastPoint);
    void ellipticShape(int x1, int y1, int x2, int y2, int mode, int sx, int sy, int ex, int ey);
    void textCell(int x, int y, const QString &text, const QRect *clip, bool opaqueClip);

    QImage *m_image;
    QImage *m_device = nullptr;
    double m_scale = 1;
    QPoint m_penPos;
};

// While it lives, canvases made over `image` also draw on `device`, whose
// size is the image's times `device->devicePixelRatio()`. Controls rendered
// for a high-density screen use it; nesting for other images is allowed.
class TDeviceImageScope
{
public:
    TDeviceImageScope(const QImage *image, QImage *device);
    ~TDeviceImageScope();
    TDeviceImageScope(const TDeviceImageScope &) = delete;
    TDeviceImageScope &operator=(const TDeviceImageScope &) = delete;

    // The device image registered for `image`, or null.
    static QImage *deviceFor(const QImage *image);

private:
    const QImage *m_image;
};
