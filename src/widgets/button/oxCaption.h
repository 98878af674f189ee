#pragma once

#include "gfx/Canvas.h"
#include "gfx/Color.h"
#include "widgets/button/oxBtnTypes.h"

#include <QRect>
#include <QSize>
#include <QString>

// What places and draws a button caption.
struct ToxCaptionParams
{
    QString caption;
    QSize client;         // the button's client size
    bool pressed = false; // held down
    bool latched = false; // Value true
    ToxFont3D effect = ToxFont3D::fsNormal;
    int angle = 0;        // degrees counter-clockwise
    bool multiLine = false;
    int textX = -5;
    int textY = -5;
};

// Longest caption laid out or drawn; longer ones are cut.
inline constexpr int kMaxCaptionLength = 255;

// The caption as drawn: at most 255 characters, "||" a line break when multi-line.
QString CaptionDrawText(const QString &caption, bool multiLine);
TTextFlags CaptionFlags(const ToxCaptionParams &p);

// CaptionRect for the canvas's current font; empty for an empty caption.
QRect LayoutCaption(TCanvas &canvas, const ToxCaptionParams &p);

// The colours of the caption's copies; highlight and shadow already resolved.
struct ToxCaptionColors
{
    TColor text = clBtnText;
    TColor highlight = clBtnHighlight;
    TColor shadow = clBtnShadow;
};

// Draw the caption into rect (from LayoutCaption) with its 3-D effect. A
// disabled caption is inset grey whatever the effect.
void DrawCaption(TCanvas &canvas, const ToxCaptionParams &p, const QRect &rect, bool enabled,
                 const ToxCaptionColors &colors);
