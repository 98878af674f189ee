#pragma once

#include "gfx/Color.h"
#include "widgets/button/oxGradient.h"
#include "widgets/button/oxPicture.h"

#include <QRect>

#include <functional>

class QImage;

enum class ToxBackgroundStyle {
    oxbSolid,
    oxbClear,
    oxbPictureClip,
    oxbPictureStretch,
    oxbPicturePattern,
    oxbGradient,
    oxbVertGradient
};

// How a graphic button fills its face. One per button; the button listens
// to the three change notices.
class ToxBackground
{
public:
    ToxBackground();
    ToxBackground(const ToxBackground &) = delete;
    ToxBackground &operator=(const ToxBackground &) = delete;

    ToxBackgroundStyle Style() const { return m_style; }
    void setStyle(ToxBackgroundStyle s);
    TColor Color() const { return m_color; }
    void setColor(TColor c);
    // The start colour of the gradient styles.
    TColor Gradient() const { return m_gradient.StartColor(); }
    void setGradient(TColor c);
    ToxPicture &Picture() { return m_picture; }
    const ToxPicture &Picture() const { return m_picture; }
    bool DitherDown() const { return m_ditherDown; }
    void setDitherDown(bool d) { m_ditherDown = d; } // shown at the next repaint
    TGradient &GradientTable() { return m_gradient; }

    // Copies DitherDown, Style and Picture; Color and Gradient stay.
    void Assign(const ToxBackground &other);

    // Fill F on img. effective is the button's effective background colour;
    // latched and hot decide the dither overlay.
    void Fill(QImage &img, const QRect &F, TColor effective, bool latched, bool hot);

    std::function<void(ToxBackgroundStyle)> OnStyleChange;
    std::function<void(TColor)> OnColorChange;
    std::function<void()> OnFaceChange; // picture or gradient changed

private:
    void faceChanged();

    ToxBackgroundStyle m_style = ToxBackgroundStyle::oxbSolid;
    TColor m_color = 0;
    ToxPicture m_picture;
    TGradient m_gradient;
    bool m_ditherDown = true;
};

// The shared 8 x 8 pattern: button face with white where x and y are both
// even or both odd. Made on first use.
const QImage &DitherPattern();
bool HasDitherPattern();
void FreeDitherPattern();

// Lay the dither pattern over F: the pattern's pixels of the colour of its
// bottom-left pixel (within F) show through.
void DitherOverlay(QImage &img, const QRect &F);
