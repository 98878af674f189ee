#include "gfx/Color.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

// The 3-D light of a raised edge: between the face and the highlight, so a
// bevel reads as raised on a light face too.
QColor threeDLight(const QPalette &pal)
{
    const QColor face = pal.color(QPalette::Button);
    const QColor light = pal.color(QPalette::Light);
    return QColor((face.red() + light.red() + 1) / 2, (face.green() + light.green() + 1) / 2,
                  (face.blue() + light.blue() + 1) / 2);
}

QColor systemColor(int index)
{
    const QPalette pal = QGuiApplication::palette();
    switch (index) {
    case 0: return pal.color(QPalette::Button);                          // scroll bar
    case 1: return pal.color(QPalette::Dark);                            // desktop
    case 2: return pal.color(QPalette::Active, QPalette::Highlight);      // active caption
    case 3: return pal.color(QPalette::Inactive, QPalette::Highlight);    // inactive caption
    case 4: return pal.color(QPalette::Window);                           // menu
    case 5: return pal.color(QPalette::Base);                             // window
    case 6: return pal.color(QPalette::Shadow);                           // window frame
    case 7: return pal.color(QPalette::WindowText);                       // menu text
    case 8: return pal.color(QPalette::Text);                             // window text
    case 9: return pal.color(QPalette::Active, QPalette::HighlightedText); // caption text
    case 10: return pal.color(QPalette::Window);                          // active border
    case 11: return pal.color(QPalette::Window);                          // inactive border
    case 12: return pal.color(QPalette::Dark);                            // app workspace
    case 13: return pal.color(QPalette::Highlight);
    case 14: return pal.color(QPalette::HighlightedText);
    case 15: return pal.color(QPalette::Button);                          // button face
    case 16: return pal.color(QPalette::Dark);                            // button shadow
    case 17: return pal.color(QPalette::Disabled, QPalette::Text);        // grey text
    case 18: return pal.color(QPalette::ButtonText);
    case 19: return pal.color(QPalette::Inactive, QPalette::HighlightedText);
    case 20: return pal.color(QPalette::Light);                           // button highlight
    case 21: return pal.color(QPalette::Shadow);                          // 3-D dark shadow
    case 22: return threeDLight(pal);                                     // 3-D light
    case 23: return pal.color(QPalette::ToolTipText);
    case 24: return pal.color(QPalette::ToolTipBase);
    default: return {};
    }
}

} // namespace

QColor ColorToQColor(TColor c)
{
    if (IsPlainColor(c))
        return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
    if (IsSystemColor(c) && (c & 0x7FFFFF00u) == 0) {
        QColor q = systemColor(int(c & 0xFF));
        if (q.isValid())
            q.setAlpha(255);
        return q;
    }
    return {};
}

TColor ColorToRGB(TColor c)
{
    if (!IsSystemColor(c))
        return c;
    const QColor q = ColorToQColor(c);
    return q.isValid() ? QColorToColor(q) : c;
}
