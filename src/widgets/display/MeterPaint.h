#pragma once

#include <QImage>

#include <initializer_list>

#include "gfx/Canvas.h"
#include "widgets/display/Meter.h"

struct TMeterCache;
struct TMeterPose;

class TBitmap;

// Turns a hub picture into its mask in place: pixels that are zero (black)
// become white, every other pixel black. Drawn by AND before the picture is
// drawn by OR, the black parts of the picture let the dial show through.
void BuildAnchorMask(TBitmap &bmp);

// Draws one gauge into its off-screen image, step by step in drawing order.
class TMeterPainter
{
public:
    TMeterPainter(TMeter &meter, const TMeter::Private &d, QImage &img);

    // The whole picture; does nothing when the dial has no room (R <= 0).
    void paint();
    // The pose a gauge in an image of `size` would be drawn in now.
    static TMeterPose pose(const TMeter::Private &d, QSize size);

private:
    // The picture under the needles and the one over them, in drawing order.
    void paintFace();
    void paintOverlay();
    // The kept face and overlay, drawn anew when what shapes them changed.
    const QImage &cachedFace();
    TMeterCache &cachedOverlay();
    // The face with an opaque overlay on it: the picture without needles.
    const QImage &cachedBase();
    // The kept overlay's pixels within a box, over whatever lies there.
    static void copyOverlay(QImage &img, const TMeterCache &cache, const QRect &within);
    bool overlayIsOpaque() const;

    void drawBackground();
    void drawBand();
    void drawScale();
    void drawScaleLine();
    void drawMinorTicks(const TScaleSteps &steps);
    void chooseLabelInset();
    void drawMajorTicks(const TScaleSteps &steps);
    void drawCaption();
    // Each returns the box of the pixels it may have drawn.
    QRect drawNeedles();
    QRect drawNeedle(const TNeedleLayout &layout, double value);
    void drawCover();
    void drawHubAndOpeningEdge();
    void drawOpeningEdge();
    void drawDiscHub();
    void drawHalfDiscHub();
    void drawImageHub();
    void drawLimitLamps();
    void drawLamp(int x0, bool active);
    void drawFrame();

    double angleOf(double v) const;
    QPoint at(double distance, double angleDeg) const;
    void line(QPoint from, QPoint to);
    // Lines in one colour on from the current point through the points.
    void lineOn(TColor color, std::initializer_list<QPoint> points);

    TMeter &m_meter;
    const TMeter::Private &d;
    TCanvas m_c;
    TDialGeometry m_g;
    int m_w;
    int m_h;
    double m_labelInsetX = 0;
    double m_labelInsetY = 0;
};
