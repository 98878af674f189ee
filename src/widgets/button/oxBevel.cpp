#include "widgets/button/oxBevel.h"

#include "widgets/button/oxShade.h"

#include <QImage>

#include <cstdlib>

namespace {

void plot(QImage &img, int x, int y, TColor c)
{
    if (!img.valid(x, y))
        return;
    if (IsShadeColor(c))
        ShadePixel(img, x, y, ShadeAmount(c));
    else
        img.setPixel(x, y, ColorToQColor(c).rgb());
}

bool drawable(TColor c)
{
    return IsShadeColor(c) || ColorToQColor(c).isValid();
}

// One ring on the box (l, t)..(r, b), all inclusive. A plain top-left line
// runs through both far corners; the bottom-right line, drawn after it, owns
// them. A shaded half leaves those corners to the other half so that no
// pixel is shaded twice.
void ring(QImage &img, int l, int t, int r, int b, TColor topLeft, TColor bottomRight)
{
    if (r < l || b < t)
        return;
    if (drawable(topLeft)) {
        const bool shade = IsShadeColor(topLeft);
        for (int y = shade ? t + 1 : t; y <= (shade ? b - 1 : b); ++y)
            plot(img, l, y, topLeft);
        for (int x = l; x <= (shade ? r - 1 : r); ++x)
            plot(img, x, t, topLeft);
    }
    if (drawable(bottomRight)) {
        for (int y = t; y <= b - 1; ++y)
            plot(img, r, y, bottomRight);
        for (int x = r; x >= l; --x)
            plot(img, x, b, bottomRight);
    }
}

} // namespace

void DrawBevel(QImage &img, ToxEdges &R, TColor topLeft, TColor bottomRight, int levels)
{
    const ToxEdges saved = R;
    for (int i = 0; i < std::abs(levels); ++i) {
        ring(img, R.Left, R.Top, R.Right - 1, R.Bottom - 1, topLeft, bottomRight);
        ++R.Left;
        ++R.Top;
        --R.Right;
        --R.Bottom;
    }
    if (levels < 0)
        R = saved;
}

void DrawStyleBevel(QImage &img, const ToxEdges &F, ToxBtnStyle style, const ToxBevelState &s,
                    const ToxBevelColors &c)
{
    ToxEdges R = F;
    const bool down = s.pressed || s.latched;
    const bool em = s.emphasised;
    switch (style) {
    case ToxBtnStyle::bsWin31:
        DrawBevel(img, R, c.DkShadow, c.DkShadow, em ? 2 : 1);
        if (!down) {
            DrawBevel(img, R, c.Highlight, c.Shadow, 2);
        } else if (s.pressed) {
            DrawBevel(img, R, c.Shadow, clNone, 1);
            DrawBevel(img, R, c.Shadow, clNone, 1);
        } else {
            DrawBevel(img, R, c.Shadow, clNone, 1);
        }
        break;
    case ToxBtnStyle::bsWin95:
        if (em)
            DrawBevel(img, R, c.Frame, c.Frame, 1);
        if (!down) {
            DrawBevel(img, R, c.Highlight, c.DkShadow, 1);
            DrawBevel(img, R, c.Light, c.Shadow, 1);
        } else if (!em) {
            DrawBevel(img, R, c.DkShadow, c.Highlight, 1);
            DrawBevel(img, R, c.Shadow, c.Light, 1);
        } else {
            DrawBevel(img, R, c.Shadow, c.Shadow, 1);
        }
        break;
    case ToxBtnStyle::bsInset:
        DrawBevel(img, R, c.Shadow, c.Highlight, 1);
        DrawBevel(img, R, c.DkShadow, c.DkShadow, 1);
        if (!down)
            DrawBevel(img, R, c.Highlight, em ? c.DkShadow : c.Shadow, 1);
        else
            DrawBevel(img, R, c.Shadow, clNone, 1);
        break;
    case ToxBtnStyle::bsTarsel:
        if (!down) {
            DrawBevel(img, R, c.Shadow, c.DkShadow, 1);
            DrawBevel(img, R, c.Highlight, em ? c.DkShadow : c.Shadow, 1);
        } else {
            DrawBevel(img, R, c.Shadow, c.Highlight, 1);
            DrawBevel(img, R, c.DkShadow, c.Shadow, 1);
        }
        break;
    case ToxBtnStyle::bsSpeed:
        if (!down) {
            DrawBevel(img, R, c.Highlight, c.DkShadow, 1);
            DrawBevel(img, R, c.Light, c.Shadow, 1);
        } else {
            DrawBevel(img, R, c.DkShadow, c.Highlight, 1);
            DrawBevel(img, R, c.Shadow, c.Light, 1);
        }
        break;
    case ToxBtnStyle::bsWin97:
        if (!down) {
            if (s.enabled && (s.hot || em)) {
                if (em)
                    DrawBevel(img, R, c.DkShadow, c.DkShadow, 1);
                DrawBevel(img, R, c.Highlight, c.Shadow, 1);
            } else if (s.designTime) {
                DrawBevel(img, R, clGray, clGray, 1);
            }
        } else if (!em) {
            DrawBevel(img, R, c.Shadow, c.Highlight, 1);
        } else {
            DrawBevel(img, R, c.DkShadow, c.DkShadow, 1);
            DrawBevel(img, R, c.Shadow, c.Shadow, 1);
        }
        break;
    default:
        break; // borderless, shaped and the themed styles draw no classic bevel
    }
}
