#include "widgets/button/oxBtns.h"

#include "widgets/button/oxBtnsAccessible.h"
#include "widgets/button/oxBtnsPrivate.h"
#include "widgets/button/oxShade.h"
#include "widgets/button/oxTheme.h"

namespace {

// Buttons alive; the last one to go frees the shared dither pattern.
int g_liveButtons = 0;

} // namespace

// ---- construction ---------------------------------------------------------

ToxCustomGraphicButton::ToxCustomGraphicButton(QWidget *parent)
    : TGraphicControl(parent), d(std::make_unique<Private>(this))
{
    InstallButtonAccessibility();
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

    // Set-up paints nothing: the first face is built when it is first shown.
    d->constructing = true;
    resize(25, 25);
    refreshParentColor();
    d->background.setColor(d->color);
    ResolveStyle();
    resizeCache();
    d->constructing = false;
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
    // Guarded: an OnChange handler of a released sibling may destroy buttons.
    QList<QPointer<ToxCustomGraphicButton>> siblings;
    for (auto *b : parentWidget()->findChildren<ToxCustomGraphicButton *>(Qt::FindDirectChildrenOnly))
        siblings << b;
    QPointer<ToxCustomGraphicButton> self(this);
    for (const auto &b : siblings) {
        if (!self)
            return;
        if (b)
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

