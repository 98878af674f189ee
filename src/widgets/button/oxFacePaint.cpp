// Rendering of the button's face: cache, background, picture effects,
// caption, bevel and picture, composed off-screen and copied in one go.

#include "widgets/button/oxBevel.h"
#include "widgets/button/oxBtns.h"
#include "widgets/button/oxBtnsPrivate.h"
#include "widgets/button/oxCaption.h"
#include "widgets/button/oxPictureFx.h"
#include "widgets/button/oxShade.h"
#include "widgets/button/oxTheme.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr int kArrowZone = 14;

enum TImageSlot { SlotUp = 0, SlotHot = 1, SlotPressed = 2, SlotDefault = 3, SlotFocus = 4,
                  SlotDisabled = 5, SlotArrow = 6 };

// Placement along one axis: positive from the start, negative from the end,
// zero centred.
int placeAlong(int pos, int room, int extent)
{
    if (pos == 0)
        return (room - extent) / 2;
    if (pos < 0)
        return int(std::max<qint64>(qint64(room) - extent + pos, -(1 << 24)));
    return std::min(pos, 1 << 24);
}

bool drawableKind(const ToxPicture &p)
{
    return p.Kind() == ToxGraphicKind::Bitmap || p.Kind() == ToxGraphicKind::Icon;
}

void copyImage(QImage &dst, int x, int y, const QImage &src, const QRect &from)
{
    QPainter p(&dst);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(QPoint(x, y), src, from);
}

// Device pixels of the logical column or row v at the given ratio; the same
// rounding as the canvas uses, so blocks meet the canvas's blocks.
int deviceEdge(int v, qreal ratio)
{
    return int(std::lround(v * ratio));
}

// Every logical pixel of `after` that differs from `before` becomes a block of
// that colour in `device`. The face's own painters write the logical image
// directly; this keeps the device face in step with them.
void mirrorChanged(const QImage &before, const QImage &after, QImage &device)
{
    const qreal ratio = device.devicePixelRatio();
    for (int y = 0; y < after.height(); ++y) {
        const QRgb *was = reinterpret_cast<const QRgb *>(before.constScanLine(y));
        const QRgb *now = reinterpret_cast<const QRgb *>(after.constScanLine(y));
        const int dy1 = deviceEdge(y, ratio);
        const int dy2 = std::min(deviceEdge(y + 1, ratio), device.height());
        for (int x = 0; x < after.width(); ++x) {
            if (was[x] == now[x])
                continue;
            const int dx1 = deviceEdge(x, ratio);
            const int dx2 = std::min(deviceEdge(x + 1, ratio), device.width());
            for (int dy = dy1; dy < dy2; ++dy) {
                QRgb *row = reinterpret_cast<QRgb *>(device.scanLine(dy));
                std::fill(row + dx1, row + std::max(dx1, dx2), now[x]);
            }
        }
    }
}

// Down-pointing triangle of the combo zone.
void drawArrow(QImage &img, const ToxEdges &zone, bool pressed)
{
    const QRgb c = ColorToQColor(clBtnText).rgb();
    const int shift = pressed ? 1 : 0;
    const int cx = zone.Left + (zone.Right - zone.Left) / 2 + shift;
    const int cy = zone.Top + (zone.Bottom - zone.Top) / 2 - 1 + shift;
    for (int i = 0; i < 4; ++i)
        for (int x = cx - 3 + i; x <= cx + 3 - i; ++x)
            if (img.valid(x, cy + i))
                img.setPixel(x, cy + i, c);
}

} // namespace

void ToxCustomGraphicButton::PaintFace(QImage &out)
{
    const int W = width();
    const int H = height();
    if (W <= 0 || H <= 0 || out.isNull())
        return;

    // 1-2. State and cache slot.
    const bool enabled = isEnabled();
    const bool pressed = d->visual == ToxVisualState::Pressed;
    // A latched toggle dragged off while held looks up until the release;
    // that look is transient and never cached.
    const bool transient = d->tracking && d->value && d->visual == ToxVisualState::Up;
    const bool latched = d->value && !transient;
    const bool themed = d->resolved == ToxBtnStyle::bsWinXP || d->resolved == ToxBtnStyle::bsWinXPToolBtn;
    int slot = SlotUp;
    if (!enabled)
        slot = SlotDisabled;
    else if (pressed)
        slot = SlotPressed;
    else if (d->visual == ToxVisualState::ArrowPressed)
        slot = SlotArrow;
    else if (d->focusLook)
        slot = SlotFocus;
    else if (d->defaultLook)
        slot = SlotDefault;
    else if (!d->hot)
        slot = SlotUp;
    else if (d->resolved >= ToxBtnStyle::bsWin97 || d->grayed)
        slot = SlotHot;
    else if (!d->pictureOver.IsEmpty() && !d->pictureUp.IsEmpty())
        slot = SlotHot;

    // 3. A cached face is copied as it is.
    const bool clear = d->background.Style() == ToxBackgroundStyle::oxbClear;
    if (d->options.testFlag(ToxbOption::oxbCacheImages) && d->imageCache.size() != QSize(7 * W, H))
        resizeCache(); // resized while hidden: no resize event came yet
    const bool caching = d->options.testFlag(ToxbOption::oxbCacheImages) && !clear && !transient
        && d->imageCache.size() == QSize(7 * W, H);
    // For a high-density screen the face is painted afresh every time: the
    // cache holds logical faces only, and the caption must be drawn at the
    // device resolution.
    QImage *outDevice = TDeviceImageScope::deviceFor(&out);
    if (outDevice && (outDevice->isNull() || outDevice->devicePixelRatio() == 1))
        outDevice = nullptr;
    if (!outDevice && caching && (d->cacheValid & (1u << slot))) {
        copyImage(out, 0, 0, d->imageCache, QRect(W * slot, 0, W, H));
        return;
    }

    // 4. The target: the canvas itself for a clear face, else an off-screen image.
    QImage face;
    if (!clear) {
        face = out.copy();
        FillColor(face, face.rect(), d->color);
    }
    QImage &target = clear ? out : face;
    // The device face: the control's own device image for a clear face, else
    // an off-screen one that starts as the filled face does.
    QImage deviceFace;
    if (outDevice && !clear) {
        deviceFace = outDevice->copy();
        FillColor(deviceFace, deviceFace.rect(), d->color);
    }
    QImage *targetDevice = !outDevice ? nullptr : clear ? outDevice : &deviceFace;
    QImage unmirrored = outDevice ? target.copy() : QImage();

    // 5. The picture, its mask and its place.
    ToxPicture fromList;
    const ToxPicture *pic = nullptr;
    if (d->images) {
        fromList.setBitmap(d->images->Image(d->imageIndex));
        pic = &fromList;
    } else if ((pressed || latched) && d->pictureDown.Height() >= 2) {
        pic = &d->pictureDown;
    } else if ((d->hot || d->focusLook) && !d->pictureOver.IsEmpty()) {
        pic = &d->pictureOver;
    } else if (!d->pictureUp.IsEmpty()) {
        pic = &d->pictureUp;
    } else {
        pic = &d->pictureOver;
    }
    if (!enabled && d->pictureDisabled.Height() >= 2)
        pic = &d->pictureDisabled;
    QImage picImg = pic->image();
    if (pic->Kind() == ToxGraphicKind::Icon && d->options.testFlag(ToxbOption::oxbSmallIcons) && !picImg.isNull())
        picImg = picImg.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const bool hasPicture = drawableKind(*pic) && picImg.height() >= 2;
    ToxPictureMask mask;
    if (hasPicture) {
        mask = BuildMask(*pic, picImg);
        d->pictureRect = QRect(placeAlong(d->pictureX, W, picImg.width()),
                               placeAlong(d->pictureY, H, picImg.height()), picImg.width(), picImg.height());
    } else {
        d->pictureRect = QRect();
    }
    const QRect pr = d->pictureRect;

    // 6. The face rectangle inside the border inset.
    // Insets wider than the control leave an empty face rather than overflowing.
    const int fl = std::min(d->inset.Left, W);
    const int ft = std::min(d->inset.Top, H);
    const ToxEdges F{fl, ft, std::max(fl, W - std::min(d->inset.Right, W)),
                     std::max(ft, H - std::min(d->inset.Bottom, H))};
    const QRect faceRect(QPoint(F.Left, F.Top), QPoint(F.Right - 1, F.Bottom - 1));
    const bool emphasised = d->focusLook || d->defaultLook;
    const bool combo = d->type == ToxButtonType::oxbCombo;

    // 7. Themed bevel, or the classic background.
    if (themed) {
        QString cls;
        int state = 1;
        if (d->resolved == ToxBtnStyle::bsWinXP) {
            cls = QStringLiteral("Button");
            if (emphasised)
                state = 5;
            if (d->hot)
                state = 2;
            if (pressed || latched)
                state = 3;
        } else {
            cls = QStringLiteral("Toolbar");
            if (d->hot)
                state = 2;
            if (pressed)
                state = 3;
            if (latched)
                state = 5;
        }
        if (!enabled)
            state = 4;
        if (IoxThemeEngine *theme = oxThemeEngine()) {
            theme->DrawPart(target, cls, 1, state, faceRect);
            if (combo) {
                const QRect zone(F.Right - kArrowZone, F.Top, kArrowZone, F.Bottom - F.Top);
                theme->DrawPart(target, cls, 2, d->visual == ToxVisualState::ArrowPressed ? 3 : state, zone);
            }
        }
    } else {
        d->background.Fill(target, faceRect, EffectiveBackgroundColor(), latched, d->hot);
    }

    // 8. Shadow or disabled forms of the picture.
    const bool effects = !d->options.testFlag(ToxbOption::oxbNoPicEffects);
    const TColor highlight = ResolveColor(d->highlightColor);
    const TColor shadow = ResolveColor(d->btnShadowColor);
    if (hasPicture && effects) {
        if (enabled && (!d->grayed || d->hot)) {
            if (d->resolved != ToxBtnStyle::bsShaped && d->shadowColor != d->color && d->shadowColor != clNone) {
                int off = pressed ? 4 : latched ? 3 : 2;
                if (d->resolved == ToxBtnStyle::bsBorderless)
                    off = 2;
                PaintMask(target, mask, pr.left() + off, pr.top() + off, d->shadowColor);
            }
        } else if (!enabled) {
            if (pic != &d->pictureDisabled) {
                const int b = pressed ? 2 : latched ? 1 : 0;
                PaintMask(target, mask, pr.left() + b + 1, pr.top() + b + 1, highlight);
                PaintMask(target, mask, pr.left() + b - 1, pr.top() + b - 1, shadow);
                PaintMask(target, mask, pr.left() + b, pr.top() + b, d->color);
            } else {
                DrawPicture(target, *pic, picImg, pr.left(), pr.top());
            }
        }
    }

    // 9-12. Font, caption layout, focus frame, caption. The canvas draws the
    // caption on the device face as well, at its resolution.
    if (targetDevice)
        mirrorChanged(unmirrored, target, *targetDevice);
    std::optional<TDeviceImageScope> deviceScope;
    if (targetDevice && !clear)
        deviceScope.emplace(&target, targetDevice);
    TCanvas canvas(&target);
    canvas.Font = d->font;
    if (d->textAngle != 0)
        canvas.Font.Orientation = d->textAngle * 10;
    ToxCaptionParams cp;
    cp.caption = d->caption;
    cp.client = QSize(W, H);
    cp.pressed = pressed;
    cp.latched = latched;
    cp.effect = d->font3D;
    cp.angle = d->textAngle;
    cp.multiLine = d->multiLine;
    cp.textX = d->textX;
    cp.textY = d->textY;
    d->captionRect = LayoutCaption(canvas, cp);
    if (d->focusLook)
        canvas.DrawFocusRect(faceRect.adjusted(3, 3, -3, -3));
    DrawCaption(canvas, cp, d->captionRect, enabled, {d->font.Color, highlight, shadow});
    if (targetDevice)
        unmirrored = target.copy();

    // 13. The classic bevel goes over the caption.
    if (!themed) {
        ToxBevelColors colors{d->lightColor, d->highlightColor, d->btnShadowColor, d->dkShadowColor,
                              d->borderColors == ToxBorderColors::oxbWinColor ? clWindowFrame : d->dkShadowColor};
        ToxBevelState bs;
        bs.pressed = pressed;
        bs.latched = latched;
        bs.emphasised = emphasised;
        bs.hot = d->hot;
        bs.enabled = enabled;
        if (combo) {
            const ToxEdges body{F.Left, F.Top, F.Right - kArrowZone, F.Bottom};
            const ToxEdges zone{F.Right - kArrowZone, F.Top, F.Right, F.Bottom};
            DrawStyleBevel(target, body, d->resolved, bs, colors);
            ToxBevelState zs = bs;
            zs.pressed = d->visual == ToxVisualState::ArrowPressed;
            zs.latched = false;
            DrawStyleBevel(target, zone, d->resolved, zs, colors);
            drawArrow(target, zone, zs.pressed);
        } else {
            DrawStyleBevel(target, F, d->resolved, bs, colors);
        }
    }

    // 14. The picture itself.
    if (hasPicture) {
        if (!effects) {
            DrawPicture(target, *pic, picImg, pr.left(), pr.top());
        } else if (enabled) {
            QPoint at = pr.topLeft();
            const QPoint stateShift = pressed ? QPoint(2, 2) : latched ? QPoint(1, 1) : QPoint(0, 0);
            if (d->shadowColor == d->color)
                at += stateShift;
            else if (d->resolved == ToxBtnStyle::bsBorderless)
                at += (d->hot ? QPoint(-1, -1) : QPoint(0, 0)) + stateShift;
            if (d->resolved == ToxBtnStyle::bsShaped) {
                // Outline of mask copies: light above-left, dark below-right (swapped when down).
                const bool sunken = pressed || latched;
                const TColor outer1 = sunken ? d->dkShadowColor : d->lightColor;
                const TColor outer2 = sunken ? d->lightColor : d->dkShadowColor;
                const TColor inner1 = sunken ? d->btnShadowColor : d->highlightColor;
                const TColor inner2 = sunken ? d->highlightColor : d->btnShadowColor;
                PaintMask(target, mask, at.x() - 2, at.y() - 2, outer1);
                PaintMask(target, mask, at.x() + 2, at.y() + 2, outer2);
                PaintMask(target, mask, at.x() - 1, at.y() - 1, inner1);
                PaintMask(target, mask, at.x() + 1, at.y() + 1, inner2);
            }
            if (d->grayed && !d->hot && !d->focusLook)
                DrawGreyPicture(target, *pic, picImg, at.x(), at.y());
            else
                DrawPicture(target, *pic, picImg, at.x(), at.y());
        }
    }

    // 15. Keep the face and show it.
    if (targetDevice)
        mirrorChanged(unmirrored, target, *targetDevice);
    if (outDevice && !clear)
        *outDevice = deviceFace;
    if (!transient)
        d->cacheValid |= 1u << slot;
    if (clear)
        return;
    if (caching) {
        copyImage(d->imageCache, W * slot, 0, face, face.rect());
        copyImage(out, 0, 0, d->imageCache, QRect(W * slot, 0, W, H));
    } else {
        copyImage(out, 0, 0, face, face.rect());
    }
}
