// Sounds, the repeat timer and picture animation of the button.

#include "widgets/button/oxBtns.h"

#include "widgets/button/oxBtnsPrivate.h"
#include "widgets/button/oxSound.h"

#include "gfx/ErrorReport.h"

#include <stdexcept>

// ---- sounds ---------------------------------------------------------------

void ToxCustomGraphicButton::setSoundLink(QPointer<QObject> &slot, QObject *c)
{
    if (c && !dynamic_cast<IoxSound *>(c))
        throw std::invalid_argument(QStringLiteral("%1 does not support the %2 interface")
                                        .arg(QLatin1String(c->metaObject()->className()),
                                             QStringLiteral("IoxSound"))
                                        .toStdString());
    slot = c; // a destroyed component unlinks itself
}

void ToxCustomGraphicButton::setSoundClick_Component(QObject *c) { setSoundLink(d->soundClick, c); }
void ToxCustomGraphicButton::setSoundDown_Component(QObject *c) { setSoundLink(d->soundDown, c); }
void ToxCustomGraphicButton::setSoundEnter_Component(QObject *c) { setSoundLink(d->soundEnter, c); }
void ToxCustomGraphicButton::setSoundExit_Component(QObject *c) { setSoundLink(d->soundExit, c); }

void ToxCustomGraphicButton::playSound(QObject *link)
{
    if (auto *s = dynamic_cast<IoxSound *>(link))
        s->Play();
}

// ---- repeat and animation --------------------------------------------------

void ToxCustomGraphicButton::dropRepeatTimer()
{
    if (!d->repeatTimer)
        return;
    d->repeatTimer->stop();
    d->repeatTimer->deleteLater();
    d->repeatTimer = nullptr;
}

void ToxCustomGraphicButton::repeatTick()
{
    if (!d->repeatTimer)
        return;
    d->repeatTimer->setInterval(d->delay);
    if (d->visual != ToxVisualState::Pressed || !d->captured)
        return;
    if (!d->pictureUp.IsEmpty() && !d->pictureDown.IsEmpty()) {
        d->picturesSwapped = !d->picturesSwapped;
        d->pictureUp.swapWith(d->pictureDown);
    }
    // Nothing may unwind out of a timer slot: on an error stop repeating and
    // hand it to the application's handler. The timer is running this very
    // slot, so it goes later.
    CallReportingEscapes([this] { Click(); }, [this] { dropRepeatTimer(); });
}

void ToxCustomGraphicButton::updateAnimation()
{
    ToxPicture *phase = nullptr;
    if (d->animate && parentWidget()
        && !(testAttribute(Qt::WA_WState_ExplicitShowHide) && testAttribute(Qt::WA_WState_Hidden))) {
        if (d->visual == ToxVisualState::Pressed)
            phase = &d->pictureDown;
        else if (d->hot)
            phase = &d->pictureOver;
        else
            phase = &d->pictureUp;
        if (!phase->Animation())
            phase = nullptr;
    }
    if (phase == d->animPicture && (!phase || (d->animTimer && d->animTimer->isActive())))
        return;
    if (d->animTimer)
        d->animTimer->stop();
    d->animPicture = phase;
    if (!phase)
        return;
    if (!d->animTimer) {
        d->animTimer = new QTimer(this);
        connect(d->animTimer, &QTimer::timeout, this, &ToxCustomGraphicButton::animationTick);
    }
    d->animTimer->start(20);
}

void ToxCustomGraphicButton::animationTick()
{
    if (!d->animPicture || !d->animPicture->Animation()) {
        if (d->animTimer)
            d->animTimer->stop();
        return;
    }
    auto anim = d->animPicture->Animation();
    if (!anim->Looping() && anim->CurrentFrame() >= anim->FrameCount() - 1) {
        d->animTimer->stop();
        return;
    }
    anim->Advance();
    d->animPicture->changed(); // new frame: the cached faces are stale
}

