#pragma once

#include "gfx/Canvas.h"

#include <QImage>
#include <QString>

// An off-screen image with its own canvas (pen black, brush white at the
// start). Pixels are 32-bit: ScanLine(y) gives the row's bytes, four per
// pixel (blue, green, red, unused).
class TBitmap
{
public:
    explicit TBitmap(int width = 0, int height = 0);
    explicit TBitmap(const QImage &image);
    TBitmap(const TBitmap &) = delete;
    TBitmap &operator=(const TBitmap &) = delete;
    ~TBitmap();

    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    bool Empty() const { return m_image.isNull(); }
    // New size; the picture is cleared to white.
    void SetSize(int width, int height);
    void setWidth(int w) { SetSize(w, Height()); }
    void setHeight(int h) { SetSize(Width(), h); }

    TCanvas &Canvas() { return m_canvas; }
    const TCanvas &Canvas() const { return m_canvas; }
    QImage &image() { return m_image; }
    const QImage &image() const { return m_image; }

    // Copies the picture (not the canvas state) of another bitmap.
    void Assign(const TBitmap &other);
    void Assign(const QImage &image);

    // Loads a bitmap file; on failure the picture is left as it was and
    // false is returned.
    bool LoadFromFile(const QString &fileName);
    // Loads a resource of the program by name (":/<name>", with or without a
    // ".bmp" or ".png" extension).
    bool LoadFromResourceName(const QString &name);
    bool SaveToFile(const QString &fileName) const;

    unsigned char *ScanLine(int y);
    const unsigned char *ScanLine(int y) const;
    int BytesPerLine() const { return int(m_image.bytesPerLine()); }

    // Drawn with one colour left out when Transparent is set; TransparentColor
    // clNone means the colour of the bottom-left pixel.
    bool Transparent = false;
    TColor TransparentColor = clNone;
    TColor EffectiveTransparentColor() const;

private:
    QImage m_image;
    TCanvas m_canvas;
};
