#include "oxBtns.h"

#include "oxBtnsPrivate.h"
#include "oxShade.h"
#include "oxSound.h"
#include "oxTheme.h"

#include <QCursor>
#include <QEnterEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QShortcutEvent>

#include <stdexcept>

namespace {

// Buttons alive; the last one to go frees the shared dither pattern.
int g_liveButtons = 0;

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

// ---- lines view of the caption --------------------------------------------

QStringList TCaptionStrings::Strings() const
{
    QString text = m_button->Caption().left(254);
    text.replace(QLatin1String("||"), QLatin1String("\n"));
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        lines.removeLast(); // a trailing break ends the last line, it starts none
    return lines;
}

void TCaptionStrings::Assign(const QStringList &lines)
{
    m_button->setCaption(lines.join(QLatin1String("||")));
}

void TCaptionStrings::Put(int i, const QString &s)
{
    QStringList l = Strings();
    if (i < 0 || i >= l.size())
        throw std::out_of_range("List index out of bounds");
    l[i] = s;
    Assign(l);
}

void TCaptionStrings::Insert(int i, const QString &s)
{
    QStringList l = Strings();
    if (i < 0 || i > l.size())
        throw std::out_of_range("List index out of bounds");
    l.insert(i, s);
    Assign(l);
}

void TCaptionStrings::Delete(int i)
{
    QStringList l = Strings();
    if (i < 0 || i >= l.size())
        throw std::out_of_range("List index out of bounds");
    l.removeAt(i);
    Assign(l);
}

void TCaptionStrings::Clear()
{
    m_button->setCaption(QString());
}

// ---- construction ---------------------------------------------------------

ToxCustomGraphicButton::ToxCustomGraphicButton(QWidget *parent)
    : TGraphicControl(parent), d(std::make_unique<Private>(this))
{
    ++g_liveButtons;
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);

    auto face = [this] { InvalidateFace(); };
    d->pictureUp.OnChange = face;
    d->pictureDown.OnChange = face;
    d->pictureDisabled.OnChange = face;
    d->pictureOver.OnChange = face;
    d->background.OnFaceChange = face;
    d->background.OnStyleChange = [this](ToxBackgroundStyle s) {
        setAttribute(Qt::WA_OpaquePaintEvent, s != ToxBackgroundStyle::oxbClear);
        InvalidateFace();
    };
    d->background.OnColorChange = [this](TColor c) {
        if (c != d->color && d->inset.IsZero()) {
            setColor(c);
        } else {
            if (d->borderColors == ToxBorderColors::oxbAutoColor)
                recomputeBorderColors();
            InvalidateFace();
        }
    };

    resize(25, 25);
    refreshParentColor();
    d->background.setColor(d->color);
    ResolveStyle();
    resizeCache();
}

ToxCustomGraphicButton::~ToxCustomGraphicButton()
{
    delete d->repeatTimer;
    delete d->animTimer;
    d->repeatTimer = nullptr;
    d->animTimer = nullptr;
    if (--g_liveButtons == 0)
        FreeDitherPattern();
}

void ToxCustomGraphicButton::loaded()
{
    refreshParentColor();
    ResolveStyle();
}

// ---- simple properties ----------------------------------------------------

#define OX_LOOK_SETTER(Name, member, Type)                                                         \
    void ToxCustomGraphicButton::set##Name(Type v)                                                 \
    {                                                                                              \
        if (d->member == v)                                                                        \
            return;                                                                                \
        d->member = v;                                                                             \
        InvalidateFace();                                                                          \
    }

OX_LOOK_SETTER(Font3D, font3D, ToxFont3D)
OX_LOOK_SETTER(MultiLine, multiLine, bool)
OX_LOOK_SETTER(TextX, textX, int)
OX_LOOK_SETTER(TextY, textY, int)
OX_LOOK_SETTER(PictureX, pictureX, int)
OX_LOOK_SETTER(PictureY, pictureY, int)
OX_LOOK_SETTER(ImageIndex, imageIndex, int)
OX_LOOK_SETTER(Grayed, grayed, bool)
#undef OX_LOOK_SETTER

ToxBtnStyle ToxCustomGraphicButton::Style() const { return d->style; }
ToxBtnStyle ToxCustomGraphicButton::ResolvedStyle() const { return d->resolved; }
QString ToxCustomGraphicButton::Caption() const { return d->caption; }
TColor ToxCustomGraphicButton::Color() const { return d->color; }
bool ToxCustomGraphicButton::ParentColor() const { return d->parentColor; }
const TFont &ToxCustomGraphicButton::Font() const { return d->font; }
bool ToxCustomGraphicButton::ParentFont() const { return d->parentFont; }
ToxFont3D ToxCustomGraphicButton::Font3D() const { return d->font3D; }
bool ToxCustomGraphicButton::MultiLine() const { return d->multiLine; }
int ToxCustomGraphicButton::TextAngle() const { return d->textAngle; }
int ToxCustomGraphicButton::TextX() const { return d->textX; }
int ToxCustomGraphicButton::TextY() const { return d->textY; }
ToxPicture &ToxCustomGraphicButton::PictureUp() { return d->pictureUp; }
ToxPicture &ToxCustomGraphicButton::PictureDown() { return d->pictureDown; }
ToxPicture &ToxCustomGraphicButton::PictureDisabled() { return d->pictureDisabled; }
ToxPicture &ToxCustomGraphicButton::PictureOver() { return d->pictureOver; }
int ToxCustomGraphicButton::PictureX() const { return d->pictureX; }
int ToxCustomGraphicButton::PictureY() const { return d->pictureY; }
ToxImageList *ToxCustomGraphicButton::Images() const { return d->images; }
int ToxCustomGraphicButton::ImageIndex() const { return d->imageIndex; }
ToxbOptions ToxCustomGraphicButton::Options() const { return d->options; }
ToxButtonType ToxCustomGraphicButton::ButtonType() const { return d->type; }
bool ToxCustomGraphicButton::Value() const { return d->value; }
int ToxCustomGraphicButton::Group() const { return d->group; }
bool ToxCustomGraphicButton::GroupAllowNoSel() const { return d->allowNoSel; }
std::uint16_t ToxCustomGraphicButton::Delay() const { return d->delay; }
void ToxCustomGraphicButton::setDelay(std::uint16_t ms) { d->delay = ms; }
std::uint16_t ToxCustomGraphicButton::InitDelay() const { return d->initDelay; }
void ToxCustomGraphicButton::setInitDelay(std::uint16_t ms) { d->initDelay = ms; }
TCaptionStrings &ToxCustomGraphicButton::Lines() { return d->lines; }
bool ToxCustomGraphicButton::Grayed() const { return d->grayed; }
bool ToxCustomGraphicButton::Animate() const { return d->animate; }
ToxBorderColors ToxCustomGraphicButton::BorderColors() const { return d->borderColors; }
TColor ToxCustomGraphicButton::ShadowColor() const { return d->shadowColor; }
TColor ToxCustomGraphicButton::BtnLightColor() const { return d->lightColor; }
TColor ToxCustomGraphicButton::BtnHighlightColor() const { return d->highlightColor; }
TColor ToxCustomGraphicButton::BtnShadowColor() const { return d->btnShadowColor; }
TColor ToxCustomGraphicButton::BtnDkShadowColor() const { return d->dkShadowColor; }
ToxBorderInset ToxCustomGraphicButton::BorderInset() const { return d->inset; }
ToxBackground &ToxCustomGraphicButton::Background() { return d->background; }
QMenu *ToxCustomGraphicButton::PopupMenu() const { return d->popupMenu; }
void ToxCustomGraphicButton::setPopupMenu(QMenu *menu) { d->popupMenu = menu; }
QObject *ToxCustomGraphicButton::SoundClick_Component() const { return d->soundClick; }
QObject *ToxCustomGraphicButton::SoundDown_Component() const { return d->soundDown; }
QObject *ToxCustomGraphicButton::SoundEnter_Component() const { return d->soundEnter; }
QObject *ToxCustomGraphicButton::SoundExit_Component() const { return d->soundExit; }
ToxVisualState ToxCustomGraphicButton::VisualState() const { return d->visual; }
bool ToxCustomGraphicButton::Tracking() const { return d->tracking; }
bool ToxCustomGraphicButton::Hot() const { return d->hot; }
QRect ToxCustomGraphicButton::CaptionRect() const { return d->captionRect; }
QRect ToxCustomGraphicButton::PictureRect() const { return d->pictureRect; }
bool ToxCustomGraphicButton::DefaultLook() const { return d->defaultLook; }
bool ToxCustomGraphicButton::FocusLook() const { return d->focusLook; }
unsigned ToxCustomGraphicButton::CacheValid() const { return d->cacheValid; }
const QImage &ToxCustomGraphicButton::ImageCache() const { return d->imageCache; }

void ToxCustomGraphicButton::setStyle(ToxBtnStyle s)
{
    if (d->style == s)
        return;
    d->style = s;
    ResolveStyle();
}

void ToxCustomGraphicButton::setCaption(const QString &c)
{
    if (d->caption == c)
        return;
    d->caption = c;
    updateShortcut();
    InvalidateFace();
}

void ToxCustomGraphicButton::setColor(TColor c)
{
    d->parentColor = false;
    if (d->color == c)
        return;
    d->color = c;
    colorChanged();
}

void ToxCustomGraphicButton::setParentColor(bool p)
{
    if (d->parentColor == p)
        return;
    d->parentColor = p;
    refreshParentColor();
}

void ToxCustomGraphicButton::setFont(const TFont &f)
{
    d->parentFont = false;
    if (d->font == f)
        return;
    d->font = f;
    InvalidateFace();
}

void ToxCustomGraphicButton::setParentFont(bool p)
{
    d->parentFont = p;
}

void ToxCustomGraphicButton::setTextAngle(int degrees)
{
    const int a = std::clamp(degrees, 0, 360);
    if (d->textAngle == a)
        return;
    d->textAngle = a;
    InvalidateFace();
}

void ToxCustomGraphicButton::setImages(ToxImageList *list)
{
    if (d->images == list)
        return;
    d->images = list;
    InvalidateFace();
}

void ToxCustomGraphicButton::setOptions(ToxbOptions o)
{
    if (d->options == o)
        return;
    d->options = o;
    resizeCache();
    InvalidateFace();
}

void ToxCustomGraphicButton::setButtonType(ToxButtonType t)
{
    if (d->type == t)
        return;
    d->type = t;
    if (t != ToxButtonType::oxbToggle && d->value) {
        // Only a toggle can stay latched.
        d->value = false;
        d->visual = ToxVisualState::Up;
        DoChange();
    }
    InvalidateFace();
}

void ToxCustomGraphicButton::setGroup(int g)
{
    if (d->group == g)
        return;
    d->group = g;
    notifyGroup();
}

void ToxCustomGraphicButton::setGroupAllowNoSel(bool a)
{
    if (d->allowNoSel == a)
        return;
    d->allowNoSel = a;
    notifyGroup();
}

void ToxCustomGraphicButton::setAnimate(bool a)
{
    if (d->animate == a)
        return;
    d->animate = a;
    updateAnimation();
}

void ToxCustomGraphicButton::setBorderInset(const ToxBorderInset &inset)
{
    ToxBorderInset v = inset;
    v.Left = std::max(v.Left, 0);
    v.Top = std::max(v.Top, 0);
    v.Right = std::max(v.Right, 0);
    v.Bottom = std::max(v.Bottom, 0);
    if (d->inset == v)
        return;
    d->inset = v;
    InvalidateFace();
}

// ---- bevel colours --------------------------------------------------------

void ToxCustomGraphicButton::setBorderColors(ToxBorderColors b)
{
    if (d->borderColors == b)
        return;
    d->borderColors = b;
    recomputeBorderColors();
    InvalidateFace();
}

void ToxCustomGraphicButton::recomputeBorderColors()
{
    switch (d->borderColors) {
    case ToxBorderColors::oxbCustomColor:
        return;
    case ToxBorderColors::oxbWinColor:
        d->lightColor = cl3DLight;
        d->highlightColor = clBtnHighlight;
        d->btnShadowColor = clBtnShadow;
        d->dkShadowColor = cl3DDkShadow;
        d->shadowColor = clBtnShadow;
        return;
    case ToxBorderColors::oxbAutoColor: {
        const TColor e = EffectiveBackgroundColor();
        d->lightColor = ShadeColor(e, 2);
        d->highlightColor = ShadeColor(e, 4);
        d->btnShadowColor = ShadeColor(e, -2);
        d->dkShadowColor = ShadeColor(e, -4);
        d->shadowColor = ShadeColor(e, -4);
        return;
    }
    case ToxBorderColors::oxbAutoShade:
        d->lightColor = MakeShadeColor(4);
        d->highlightColor = MakeShadeColor(6);
        d->btnShadowColor = MakeShadeColor(-4);
        d->dkShadowColor = MakeShadeColor(-6);
        d->shadowColor = MakeShadeColor(-6);
        return;
    }
}

void ToxCustomGraphicButton::setCustomColor(TColor &slot, TColor c)
{
    if (slot == c)
        return;
    slot = c;
    d->borderColors = ToxBorderColors::oxbCustomColor;
    InvalidateFace();
}

void ToxCustomGraphicButton::setShadowColor(TColor c) { setCustomColor(d->shadowColor, c); }
void ToxCustomGraphicButton::setBtnLightColor(TColor c) { setCustomColor(d->lightColor, c); }
void ToxCustomGraphicButton::setBtnHighlightColor(TColor c) { setCustomColor(d->highlightColor, c); }
void ToxCustomGraphicButton::setBtnShadowColor(TColor c) { setCustomColor(d->btnShadowColor, c); }
void ToxCustomGraphicButton::setBtnDkShadowColor(TColor c) { setCustomColor(d->dkShadowColor, c); }

// ---- colours --------------------------------------------------------------

void ToxCustomGraphicButton::colorChanged()
{
    if (d->inset.IsZero() && d->background.Color() != d->color)
        d->background.setColor(d->color); // comes back here through OnColorChange: equal, stops
    recomputeBorderColors();
    InvalidateFace();
}

void ToxCustomGraphicButton::refreshParentColor()
{
    if (!d->parentColor)
        return;
    QWidget *p = parentWidget();
    TColor c = clBtnFace;
    if (auto *btn = qobject_cast<ToxCustomGraphicButton *>(p))
        c = btn->Color();
    else if (p)
        c = QColorToColor(p->palette().color(p->backgroundRole()));
    if (c == d->color)
        return;
    d->color = c;
    colorChanged();
}

TColor ToxCustomGraphicButton::EffectiveBackgroundColor() const
{
    const TColor c = d->background.Color();
    if (!IsShadeColor(c))
        return c;
    QWidget *p = parentWidget();
    if (!p)
        return c;
    TColor under;
    if (auto *btn = qobject_cast<ToxCustomGraphicButton *>(p))
        under = btn->Color();
    else
        under = QColorToColor(p->palette().color(p->backgroundRole()));
    return ShadeColor(under, ShadeAmount(c));
}

TColor ToxCustomGraphicButton::ResolveColor(TColor c) const
{
    if (!IsShadeColor(c))
        return c;
    return ShadeColor(EffectiveBackgroundColor(), ShadeAmount(c));
}

// ---- style ----------------------------------------------------------------

void ToxCustomGraphicButton::ResolveStyle()
{
    ToxBtnStyle s = d->style;
    IoxThemeEngine *theme = oxThemeEngine();
    if (s == ToxBtnStyle::bsWinXP || s == ToxBtnStyle::bsWinXPToolBtn) {
        const QString cls = s == ToxBtnStyle::bsWinXP ? QStringLiteral("Button") : QStringLiteral("Toolbar");
        if (!(theme && theme->CanOpen(cls)))
            s = ToxBtnStyle::bsAuto;
    } else if (s == ToxBtnStyle::bsAuto && theme && theme->CanOpen(QStringLiteral("Toolbar"))) {
        s = ToxBtnStyle::bsWinXPToolBtn;
    }
    if (s == ToxBtnStyle::bsAuto)
        s = FlatLookPreferred() ? ToxBtnStyle::bsWin97 : ToxBtnStyle::bsWin95; // 3-D controls always present
    d->resolved = s;
    InvalidateFace();
}

// ---- value and groups -----------------------------------------------------

void ToxCustomGraphicButton::setValue(bool v)
{
    if (d->type != ToxButtonType::oxbToggle)
        v = false;
    if (v == d->value)
        return;
    if (d->value && !d->allowNoSel)
        return; // only a sibling of the group can release a latched toggle
    d->value = v;
    DoChange();
    d->visual = v ? ToxVisualState::Latched : ToxVisualState::Up;
    InvalidateFace();
    if (v)
        notifyGroup();
}

void ToxCustomGraphicButton::DoChange()
{
    if (!isLoading())
        emit OnChange(this);
}

void ToxCustomGraphicButton::Toggle()
{
    setValue(!d->value);
}

void ToxCustomGraphicButton::notifyGroup()
{
    if (d->type != ToxButtonType::oxbToggle || !parentWidget())
        return;
    const auto siblings =
        parentWidget()->findChildren<ToxCustomGraphicButton *>(Qt::FindDirectChildrenOnly);
    QPointer<ToxCustomGraphicButton> self(this);
    for (ToxCustomGraphicButton *b : siblings) {
        if (!self)
            return; // a handler destroyed the sender
        b->GroupNotice(d->group, this);
    }
}

void ToxCustomGraphicButton::GroupNotice(int group, ToxCustomGraphicButton *sender)
{
    if (group != d->group || sender == this || !sender)
        return;
    const bool allowNoSel = sender->GroupAllowNoSel();
    if (sender->Value() && d->value) {
        d->value = false;
        d->visual = ToxVisualState::Up;
        InvalidateFace();
        DoChange();
    }
    d->allowNoSel = allowNoSel;
}

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
    delete d->repeatTimer;
    d->repeatTimer = nullptr;
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

void ToxCustomGraphicButton::repeatTick()
{
    if (!d->repeatTimer)
        return;
    d->repeatTimer->setInterval(d->delay);
    if (d->visual != ToxVisualState::Pressed || !d->captured)
        return;
    if (holdsPicture(d->pictureUp) && holdsPicture(d->pictureDown)) {
        d->picturesSwapped = !d->picturesSwapped;
        d->pictureUp.swapWith(d->pictureDown);
    }
    try {
        Click();
    } catch (...) {
        delete d->repeatTimer;
        d->repeatTimer = nullptr;
        throw;
    }
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
