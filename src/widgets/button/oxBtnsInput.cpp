// Pointer, mouse, accelerator and platform notifications of the button.

#include "widgets/button/oxBtns.h"

#include "widgets/button/oxBtnsPrivate.h"
#include "widgets/button/oxSound.h"

#include <QCursor>
#include <QEnterEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QShortcutEvent>

namespace {

constexpr int kArrowZone = 14;

// The character after a single "&" in the caption, or a null character.
QChar acceleratorOf(const QString &caption)
{
    for (int i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            return caption[i + 1];
        ++i; // "&&" is a literal ampersand
    }
    return {};
}

bool holdsPicture(const ToxPicture &p)
{
    return !p.IsEmpty();
}

} // namespace

// ---- hit test and pointer --------------------------------------------------

bool ToxCustomGraphicButton::HitTest(int x, int y) const
{
    if (d->resolved == ToxBtnStyle::bsBorderless || d->resolved == ToxBtnStyle::bsShaped) {
        const QPoint pt(x, y);
        if (d->pictureRect.contains(pt))
            return true;
        if (d->font3D != ToxFont3D::fsNone && d->captionRect.contains(pt))
            return true;
        if (d->type == ToxButtonType::oxbCombo) {
            const int top = (height() - kArrowZone) / 2;
            return x >= width() - kArrowZone && x <= width() - 1 && y >= top && y <= top + kArrowZone;
        }
        return false;
    }
    return x >= 0 && x < width() && y >= 0 && y < height();
}

QPoint ToxCustomGraphicButton::pointerPos() const
{
    return mapFromGlobal(QCursor::pos());
}

bool ToxCustomGraphicButton::lookDependsOnHot() const
{
    switch (d->resolved) {
    case ToxBtnStyle::bsWin97:
    case ToxBtnStyle::bsBorderless:
    case ToxBtnStyle::bsShaped:
    case ToxBtnStyle::bsWinXP:
    case ToxBtnStyle::bsWinXPToolBtn:
        return true;
    default:
        break;
    }
    return d->grayed || (holdsPicture(d->pictureOver) && holdsPicture(d->pictureUp));
}

void ToxCustomGraphicButton::setHot(bool hot)
{
    if (d->hot == hot)
        return;
    d->hot = hot;
    if (lookDependsOnHot())
        repaintNow();
    updateAnimation();
}

// ---- mouse ----------------------------------------------------------------

void ToxCustomGraphicButton::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)
{
    if (button != Qt::LeftButton || !isEnabled() || !HitTest(x, y)) {
        updateAnimation();
        return;
    }
    playSound(d->soundDown);
    d->visual = ToxVisualState::Pressed;
    d->tracking = true;
    d->captured = true;
    QPointer<ToxCustomGraphicButton> self(this);
    if (d->type == ToxButtonType::oxbMenu || (d->type == ToxButtonType::oxbCombo && x > width() - kArrowZone)) {
        d->captured = false;
        if (d->type == ToxButtonType::oxbCombo)
            d->visual = ToxVisualState::ArrowPressed;
        repaintNow();
        showMenu(d->type == ToxButtonType::oxbCombo);
        if (!self)
            return;
        d->visual = ToxVisualState::Up;
        d->tracking = false;
        const QPoint p = pointerPos();
        d->hot = HitTest(p.x(), p.y());
    }
    emit OnMouseDown(this, button, shift, x, y);
    if (!self)
        return;
    repaintNow();
    if (d->type == ToxButtonType::oxbRepeat && d->tracking) {
        if (!d->repeatTimer) {
            d->repeatTimer = new QTimer(this);
            connect(d->repeatTimer, &QTimer::timeout, this, &ToxCustomGraphicButton::repeatTick);
        }
        d->repeatTimer->start(d->initDelay);
    }
    updateAnimation();
}

void ToxCustomGraphicButton::MouseMove(Qt::KeyboardModifiers shift, int x, int y)
{
    QPointer<ToxCustomGraphicButton> self(this);
    emit OnMouseMove(this, shift, x, y);
    if (!self)
        return;
    if (d->tracking) {
        const bool h = HitTest(x, y);
        d->hot = h;
        const ToxVisualState v = h ? ToxVisualState::Pressed : ToxVisualState::Up;
        if (v != d->visual) {
            d->visual = v;
            repaintNow();
        }
        updateAnimation();
    } else if (d->resolved == ToxBtnStyle::bsBorderless && isEnabled()) {
        const bool h = HitTest(x, y);
        if (h != d->hot) {
            d->hot = h;
            repaintNow();
            updateAnimation();
        }
    }
}

void ToxCustomGraphicButton::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)
{
    QPointer<ToxCustomGraphicButton> self(this);
    emit OnMouseUp(this, button, shift, x, y);
    if (!self)
        return;
    dropRepeatTimer();
    if (d->tracking) {
        d->tracking = false;
        d->captured = false;
        const bool click = HitTest(x, y) && d->type != ToxButtonType::oxbRepeat;
        d->visual = ToxVisualState::Up;
        if (!click)
            d->hot = false;
        if (d->type == ToxButtonType::oxbRepeat && d->picturesSwapped) {
            d->picturesSwapped = false;
            d->pictureUp.swapWith(d->pictureDown);
        }
        if (d->type != ToxButtonType::oxbToggle) {
            repaintNow();
        } else if (click) {
            Toggle();
            if (d->value && d->visual != ToxVisualState::Latched) {
                // A latched toggle that may not be released shows its latched look again.
                d->visual = ToxVisualState::Latched;
                repaintNow();
            }
        } else {
            d->visual = d->value ? ToxVisualState::Latched : ToxVisualState::Up;
            repaintNow();
        }
        if (click)
            Click();
    }
    if (self)
        updateAnimation();
}

void ToxCustomGraphicButton::MouseEnter()
{
    if (!d->hot && !d->tracking && isEnabled()) {
        playSound(d->soundEnter);
        setHot(true);
    }
    emit OnMouseEnter(this);
}

void ToxCustomGraphicButton::MouseLeave()
{
    auto playing = [](QObject *o) {
        auto *s = dynamic_cast<IoxSound *>(o);
        return s && s->IsPlaying();
    };
    if (d->soundExit && !playing(d->soundClick) && !playing(d->soundDown))
        playSound(d->soundExit);
    if (d->hot && !d->tracking && isEnabled())
        setHot(false);
    emit OnMouseLeave(this);
}

void ToxCustomGraphicButton::mousePressEvent(QMouseEvent *e)
{
    const QPoint p = e->position().toPoint();
    MouseDown(e->button(), e->modifiers(), p.x(), p.y());
}

void ToxCustomGraphicButton::mouseDoubleClickEvent(QMouseEvent *e)
{
    // A double click is a second press.
    mousePressEvent(e);
}

void ToxCustomGraphicButton::mouseMoveEvent(QMouseEvent *e)
{
    const QPoint p = e->position().toPoint();
    MouseMove(e->modifiers(), p.x(), p.y());
}

void ToxCustomGraphicButton::mouseReleaseEvent(QMouseEvent *e)
{
    const QPoint p = e->position().toPoint();
    MouseUp(e->button(), e->modifiers(), p.x(), p.y());
}

void ToxCustomGraphicButton::enterEvent(QEnterEvent *)
{
    MouseEnter();
}

void ToxCustomGraphicButton::leaveEvent(QEvent *)
{
    MouseLeave();
}

// ---- click, accelerator, menu -----------------------------------------------

void ToxCustomGraphicButton::Click()
{
    playSound(d->soundClick);
    emit OnClick(this);
}

void ToxCustomGraphicButton::showMenu(bool)
{
    if (!d->popupMenu)
        return;
    d->popupMenu->exec(mapToGlobal(QPoint(0, height())));
}

bool ToxCustomGraphicButton::DialogChar(QChar ch)
{
    const QChar accel = acceleratorOf(d->caption);
    if (accel.isNull() || accel.toUpper() != ch.toUpper())
        return false;
    if (!isEnabled() || !isVisible())
        return false;
    QPointer<ToxCustomGraphicButton> self(this);
    switch (d->type) {
    case ToxButtonType::oxbToggle:
        Toggle();
        if (self)
            Click();
        break;
    case ToxButtonType::oxbMenu:
        d->visual = ToxVisualState::Pressed;
        repaintNow();
        showMenu(false);
        if (!self)
            return true;
        d->visual = ToxVisualState::Up;
        repaintNow();
        break;
    default:
        Click();
        break;
    }
    return true;
}

void ToxCustomGraphicButton::updateShortcut()
{
    if (d->shortcutId != 0) {
        releaseShortcut(d->shortcutId);
        d->shortcutId = 0;
    }
    const QKeySequence seq = QKeySequence::mnemonic(d->caption);
    if (!seq.isEmpty())
        d->shortcutId = grabShortcut(seq);
}

// ---- platform notifications -------------------------------------------------

bool ToxCustomGraphicButton::event(QEvent *e)
{
    switch (e->type()) {
    case QEvent::Shortcut: {
        auto *se = static_cast<QShortcutEvent *>(e);
        if (se->shortcutId() == d->shortcutId) {
            const QString keys = se->key().toString(QKeySequence::PortableText);
            if (!keys.isEmpty())
                DialogChar(keys.back());
            return true;
        }
        break;
    }
    case QEvent::ParentChange:
        refreshParentColor();
        break;
    case QEvent::StyleChange:
        ResolveStyle();
        break;
    default:
        break;
    }
    return TGraphicControl::event(e);
}

void ToxCustomGraphicButton::changeEvent(QEvent *e)
{
    switch (e->type()) {
    case QEvent::EnabledChange: {
        const QPoint p = pointerPos();
        d->hot = HitTest(p.x(), p.y());
        repaintNow();
        updateAnimation();
        break;
    }
    case QEvent::PaletteChange:
        refreshParentColor();
        ResolveStyle(); // system colours may have changed
        break;
    case QEvent::FontChange:
        InvalidateFace();
        break;
    default:
        break;
    }
    TGraphicControl::changeEvent(e);
}

void ToxCustomGraphicButton::resizeEvent(QResizeEvent *e)
{
    resizeCache();
    TGraphicControl::resizeEvent(e);
}

void ToxCustomGraphicButton::resizeCache()
{
    d->cacheValid = 0;
    if (!d->options.testFlag(ToxbOption::oxbCacheImages) || width() <= 0 || height() <= 0) {
        d->imageCache = QImage();
        return;
    }
    d->imageCache = QImage(7 * width(), height(), QImage::Format_RGB32);
}

void ToxCustomGraphicButton::InvalidateFace()
{
    d->cacheValid = 0;
    if (!d->constructing)
        repaintNow();
}

void ToxCustomGraphicButton::SetDefaultLook(bool v)
{
    if (d->defaultLook == v)
        return;
    d->defaultLook = v;
    InvalidateFace();
}

void ToxCustomGraphicButton::paintTo(QImage &img)
{
    PaintFace(img);
}

