#include "widgets/display/NumLab.h"

#include "gfx/Bitmap.h"
#include "widgets/display/NumLabAccessible.h"
#include "gfx/Numeric.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPointer>

#include <array>
#include <cmath>
#include <optional>
#include <stdexcept>

namespace {

// Everything the picture without its number depends on. A colour is kept as
// its value and as what it resolves to, so a palette change redraws too.
struct TBaseKey
{
    QSize size;
    int leftSpace = 0, labelWidth = 0;
    TFont font;
    QString leftText, rightText;
    TAlignment leftAlign = TAlignment::taLeftJustify, rightAlign = TAlignment::taLeftJustify;
    TFrameStyle frame = TFrameStyle::fsNone;
    std::array<TColor, 6> colors{};
    std::array<QRgb, 6> resolved{};

    bool operator==(const TBaseKey &) const = default;
};

} // namespace

struct TNumLab::Private
{
    TAlignment alignment = TAlignment::taCenter;
    TColor colorLabBakG = clBtnFace;
    TColor colorLabText = clBlack;
    TColor colorOutBakG = clBtnFace;
    TColor colorOutText = clBlack;
    TColorScheme colorScheme = TColorScheme::csBWG;
    TNumLabFormat format; // display type, precision, comma, plus sign, texts
    bool empty = false;
    TFrameStyle frameStyle = TFrameStyle::fsLowered;
    int labelWidth = 80;
    int leftSpace = 35;
    QString leftText;
    TAlignment leftTextAlignment = TAlignment::taRightJustify;
    QString rightText;
    TAlignment rightTextAlignment = TAlignment::taLeftJustify;
    double value = 0.0;

    TColor schemeShadowColor = clGray;
    TColor schemeHighlightColor = clWhite;
    TColor frameBlackColor = clBlack;

    TFont font;
    bool parentFont = true;
    QString hint;
    bool showHint = false;
    bool parentShowHint = true;
    QPointer<QMenu> popupMenu;

    // The frame, captions and value box without the number, kept between
    // renders: a new value only draws its text over a copy.
    std::optional<TBaseKey> baseKey;
    QImage base;
    int baseRenders = 0;

    // The last whole picture and what its number was drawn from: a new value
    // that shows the same text reuses it, and the screen is left alone.
    struct ValueKey
    {
        qint64 base = 0;
        QString text;
        TColor color = clBlack;
        QRgb resolved = 0;
        TAlignment alignment = TAlignment::taCenter;
        bool operator==(const ValueKey &) const = default;
    };
    std::optional<ValueKey> valueKey;
    QImage picture;

    void applyScheme()
    {
        if (colorScheme == TColorScheme::csBWG) {
            schemeShadowColor = clGray;
            schemeHighlightColor = clWhite;
        } else {
            schemeShadowColor = clBtnShadow;
            schemeHighlightColor = clBtnHighlight;
        }
    }
};

namespace {

template <typename T>
bool assignIfChanged(T &field, const T &value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace

TNumLab::TNumLab(QWidget *parent) : TGraphicControl(parent), d(std::make_unique<Private>())
{
    InstallDisplayAccessibility();
    resize(160, 28);
}

TNumLab::~TNumLab() = default;

// ---- getters ----------------------------------------------------------------

TAlignment TNumLab::Alignment() const { return d->alignment; }
TColor TNumLab::ColorLabBakG() const { return d->colorLabBakG; }
TColor TNumLab::ColorLabText() const { return d->colorLabText; }
TColor TNumLab::ColorOutBakG() const { return d->colorOutBakG; }
TColor TNumLab::ColorOutText() const { return d->colorOutText; }
TColorScheme TNumLab::ColorScheme() const { return d->colorScheme; }
bool TNumLab::Comma() const { return d->format.Comma; }
TDisplay TNumLab::DisplayType() const { return d->format.DisplayType; }
QString TNumLab::DTFormat() const { return d->format.DTFormat; }
bool TNumLab::Empty() const { return d->empty; }
bool TNumLab::ForcePlusSign() const { return d->format.ForcePlusSign; }
TFrameStyle TNumLab::FrameStyle() const { return d->frameStyle; }
int TNumLab::LabelWidth() const { return d->labelWidth; }
int TNumLab::LeftSpace() const { return d->leftSpace; }
QString TNumLab::LeftText() const { return d->leftText; }
TAlignment TNumLab::LeftTextAlignment() const { return d->leftTextAlignment; }
QString TNumLab::OverflowIndicator() const { return d->format.OverflowIndicator; }
int TNumLab::Precision() const { return d->format.Precision; }
QString TNumLab::RightText() const { return d->rightText; }
TAlignment TNumLab::RightTextAlignment() const { return d->rightTextAlignment; }
QString TNumLab::StateText() const { return d->format.StateText; }
double TNumLab::Value() const { return d->value; }
TFont TNumLab::Font() const { return d->font; }
bool TNumLab::ParentFont() const { return d->parentFont; }
QString TNumLab::Hint() const { return d->hint; }
bool TNumLab::ShowHint() const { return d->showHint; }
bool TNumLab::ParentShowHint() const { return d->parentShowHint; }
QMenu *TNumLab::PopupMenu() const { return d->popupMenu; }
TColor TNumLab::SchemeShadowColor() const { return d->schemeShadowColor; }
TColor TNumLab::SchemeHighlightColor() const { return d->schemeHighlightColor; }
TColor TNumLab::FrameBlackColor() const { return d->frameBlackColor; }

// ---- setters: store and repaint only on a real change -------------------------

#define NUMLAB_SETTER(Name, Type, field)                                                                               \
    void TNumLab::set##Name(Type v)                                                                                    \
    {                                                                                                                  \
        if (assignIfChanged(field, v))                                                                                 \
            changed();                                                                                                 \
    }

NUMLAB_SETTER(Alignment, TAlignment, d->alignment)
NUMLAB_SETTER(ColorLabBakG, TColor, d->colorLabBakG)
NUMLAB_SETTER(ColorLabText, TColor, d->colorLabText)
NUMLAB_SETTER(ColorOutBakG, TColor, d->colorOutBakG)
NUMLAB_SETTER(ColorOutText, TColor, d->colorOutText)
NUMLAB_SETTER(Comma, bool, d->format.Comma)
NUMLAB_SETTER(DisplayType, TDisplay, d->format.DisplayType)
NUMLAB_SETTER(DTFormat, const QString &, d->format.DTFormat)
NUMLAB_SETTER(Empty, bool, d->empty)
NUMLAB_SETTER(ForcePlusSign, bool, d->format.ForcePlusSign)
NUMLAB_SETTER(FrameStyle, TFrameStyle, d->frameStyle)
NUMLAB_SETTER(LabelWidth, int, d->labelWidth)
NUMLAB_SETTER(LeftText, const QString &, d->leftText)
NUMLAB_SETTER(LeftTextAlignment, TAlignment, d->leftTextAlignment)
NUMLAB_SETTER(OverflowIndicator, const QString &, d->format.OverflowIndicator)
NUMLAB_SETTER(RightText, const QString &, d->rightText)
NUMLAB_SETTER(RightTextAlignment, TAlignment, d->rightTextAlignment)
NUMLAB_SETTER(StateText, const QString &, d->format.StateText)

#undef NUMLAB_SETTER

void TNumLab::setValue(double v)
{
    // A NaN never equals itself; treat a NaN over a NaN as no change.
    if (v == d->value || (std::isnan(v) && std::isnan(d->value)))
        return;
    d->value = v;
    changed();
}

void TNumLab::setColorScheme(TColorScheme v)
{
    if (!assignIfChanged(d->colorScheme, v))
        return;
    d->applyScheme();
    changed();
}

void TNumLab::setPrecision(int v)
{
    if (v < 0)
        return;
    if (assignIfChanged(d->format.Precision, std::min(v, 15)))
        changed();
}

void TNumLab::setLeftSpace(int v)
{
    if (v < 0)
        return;
    if (assignIfChanged(d->leftSpace, std::min(v, width())))
        changed();
}

void TNumLab::setFont(const TFont &v)
{
    d->parentFont = false;
    if (assignIfChanged(d->font, v))
        changed();
}

void TNumLab::setParentFont(bool v)
{
    if (!assignIfChanged(d->parentFont, v))
        return;
    if (v && assignIfChanged(d->font, TFont()))
        changed();
}

void TNumLab::setHint(const QString &v)
{
    d->hint = v;
    setToolTip(d->showHint ? d->hint : QString());
}

void TNumLab::setShowHint(bool v)
{
    d->showHint = v;
    d->parentShowHint = false;
    setToolTip(d->showHint ? d->hint : QString());
}

void TNumLab::setParentShowHint(bool v) { d->parentShowHint = v; }

void TNumLab::setPopupMenu(QMenu *menu) { d->popupMenu = menu; }

// ---- copying ---------------------------------------------------------------------

void TNumLab::Assign(const TNumLab &s)
{
    if (&s == this)
        return;
    d->leftSpace = s.d->leftSpace;
    d->empty = s.d->empty;
    d->labelWidth = s.d->labelWidth;
    d->format.Precision = s.d->format.Precision;
    d->leftText = s.d->leftText;
    d->rightText = s.d->rightText;
    d->frameStyle = s.d->frameStyle;
    d->alignment = s.d->alignment;
    d->rightTextAlignment = s.d->rightTextAlignment;
    d->leftTextAlignment = s.d->leftTextAlignment;
    d->format.OverflowIndicator = s.d->format.OverflowIndicator;
    d->value = s.d->value;
    d->format.StateText = s.d->format.StateText;
    d->colorLabBakG = s.d->colorLabBakG;
    d->colorLabText = s.d->colorLabText;
    d->colorOutBakG = s.d->colorOutBakG;
    d->colorOutText = s.d->colorOutText;
    d->schemeShadowColor = s.d->schemeShadowColor;
    d->schemeHighlightColor = s.d->schemeHighlightColor;
    d->frameBlackColor = s.d->frameBlackColor;
    d->colorScheme = s.d->colorScheme;
    d->format.DisplayType = s.d->format.DisplayType;
    changed();
}

void TNumLab::Assign(const QObject *Source)
{
    if (const auto *other = qobject_cast<const TNumLab *>(Source)) {
        Assign(*other);
        return;
    }
    const QString kind = Source ? QString::fromLatin1(Source->metaObject()->className()) : QStringLiteral("nil");
    throw std::invalid_argument(QStringLiteral("Cannot assign a %1 to a TNumLab").arg(kind).toStdString());
}

void TNumLab::AssignTo(QObject *Dest) const
{
    if (auto *other = qobject_cast<TNumLab *>(Dest)) {
        other->Assign(*this);
        return;
    }
    const QString kind = Dest ? QString::fromLatin1(Dest->metaObject()->className()) : QStringLiteral("nil");
    throw std::invalid_argument(QStringLiteral("Cannot assign a TNumLab to a %1").arg(kind).toStdString());
}

// ---- painting ----------------------------------------------------------------------

QString TNumLab::ShownText() const
{
    if (d->empty)
        return {};
    const QString text = NumLabValueText(d->value, d->format);
    if (d->format.DisplayType == TDisplay::dtState)
        return text; // never replaced, only clipped
    return TextAdvance(d->font, text) > d->labelWidth - 6
               ? d->format.OverflowIndicator
               : text;
}

struct TNumLab::Geometry
{
    int W, H, L, LW, th, textY;
};

namespace {

using Geometry = TNumLab::Geometry;

int alignedX(TAlignment a, int left, int right, int center)
{
    switch (a) {
    case TAlignment::taLeftJustify: return left;
    case TAlignment::taRightJustify: return right;
    case TAlignment::taCenter: return center;
    }
    return left;
}

void drawSideTexts(TCanvas &c, const Geometry &g, const QString &leftText, TAlignment leftAlign,
                   const QString &rightText, TAlignment rightAlign)
{
    const int lw = c.TextWidth(leftText);
    c.TextOut(alignedX(leftAlign, 7, g.L - lw - 5, Div(g.L - lw, 2)), g.textY, leftText);
    const int rw = c.TextWidth(rightText);
    c.TextOut(alignedX(rightAlign, g.L + g.LW + 7, g.W - rw - 6, g.L + g.LW + 1 + Div(g.W - g.L - g.LW - rw, 2)),
              g.textY, rightText);
}

void drawValueBox(TCanvas &c, const Geometry &g, TFrameStyle style, TColor boxColor, TColor shadow, TColor highlight,
                  TColor black)
{
    c.Pen.Color = style == TFrameStyle::fsNone       ? boxColor
                  : style == TFrameStyle::fsEmbossed ? highlight
                                                     : shadow;
    c.Brush.Color = boxColor;
    const int L = g.L, LW = g.LW, H = g.H;
    if (style == TFrameStyle::fsNone || style == TFrameStyle::fsSimple) {
        c.Rectangle(L, 0, L + LW + 2, H);
        return;
    }
    c.Rectangle(L, 0, L + LW + 2, H - 1);
    TColor upperLeft = black, lowerRight = highlight;
    switch (style) {
    case TFrameStyle::fsLowered: upperLeft = black; lowerRight = highlight; break;
    case TFrameStyle::fsRaised: upperLeft = highlight; lowerRight = black; break;
    case TFrameStyle::fsEngraved: upperLeft = highlight; lowerRight = highlight; break;
    case TFrameStyle::fsEmbossed: upperLeft = shadow; lowerRight = shadow; break;
    default: break;
    }
    c.Pen.Color = upperLeft;
    c.Polyline({{L + 1, H - 3}, {L + 1, 1}, {L + LW + 1, 1}});
    c.Pen.Color = lowerRight;
    c.Polyline({{L + 1, H - 1}, {L + LW + 2, H - 1}, {L + LW + 2, 0}});
}

void drawValueText(TCanvas &c, const Geometry &g, const QString &text, TAlignment align, TColor textColor)
{
    c.Font.Color = textColor;
    const QRect clip(QPoint(g.L + 3, 2), QPoint(g.L + g.LW - 2, g.H - 4)); // (L+3, 2, L+LW-1, H-3), right/bottom out
    const int tw = c.TextWidth(text);
    const int x = alignedX(align, g.L + 4, g.L + g.LW - 2 - tw, g.L + 2 + Div(g.LW - tw, 2));
    c.TextRect(clip, x, g.textY, text);
}

} // namespace

void TNumLab::paintTo(QImage &img)
{
    if (!Visible())
        return;
    Geometry g{img.width(), img.height(), d->leftSpace, d->labelWidth, 0, 0};
    // The line height of the font: what a sample with ascenders, descenders
    // and accents measures.
    g.th = ResolvedFont(d->font).Metrics.height();
    g.textY = Div(g.H - g.th, 2);

    if (TDeviceImageScope::deviceFor(&img)) {
        // For a high-density screen: straight onto the image, whose canvas
        // also draws the device picture; nothing is kept.
        TCanvas c(&img);
        c.Font = d->font;
        drawBase(c, g);
        if (!d->empty)
            drawValueText(c, g, ShownText(), d->alignment, d->colorLabText);
        return;
    }

    TBaseKey key{img.size(),   d->leftSpace,  d->labelWidth,        d->font,
                 d->leftText,  d->rightText,  d->leftTextAlignment, d->rightTextAlignment,
                 d->frameStyle, {d->colorOutBakG, d->colorOutText, d->colorLabBakG,
                                 d->schemeShadowColor, d->schemeHighlightColor, d->frameBlackColor}};
    for (std::size_t i = 0; i < key.colors.size(); ++i)
        key.resolved[i] = ColorToQColor(key.colors[i]).rgba();
    if (key != d->baseKey) {
        TBitmap bmp(g.W, g.H);
        TCanvas &c = bmp.Canvas();
        c.Font = d->font;
        drawBase(c, g);
        d->base = bmp.image().convertToFormat(img.format());
        d->baseKey = std::move(key);
        ++d->baseRenders;
    }

    img = d->base; // shared until the number is drawn over it
    if (d->empty)
        return;
    Private::ValueKey valueKey{d->base.cacheKey(), ShownText(), d->colorLabText,
                               ColorToQColor(d->colorLabText).rgba(), d->alignment};
    if (valueKey == d->valueKey) {
        img = d->picture;
        return;
    }
    TCanvas c(&img);
    c.Font = d->font;
    // The value box left its colours in the pen and brush: the number's
    // opaque cell is filled in the box colour.
    c.Pen.Color = d->frameStyle == TFrameStyle::fsNone       ? d->colorLabBakG
                  : d->frameStyle == TFrameStyle::fsEmbossed ? d->schemeHighlightColor
                                                             : d->schemeShadowColor;
    c.Brush.Color = d->colorLabBakG;
    drawValueText(c, g, valueKey.text, d->alignment, d->colorLabText);
    d->picture = img;
    d->valueKey = std::move(valueKey);
}

void TNumLab::drawBase(TCanvas &c, const Geometry &g) const
{
    c.Pen.Color = d->colorOutBakG;
    c.Brush.Color = d->colorOutBakG;
    c.FillRect(0, 0, g.W, g.H);

    c.Font.Color = d->colorOutText;
    drawSideTexts(c, g, d->leftText, d->leftTextAlignment, d->rightText, d->rightTextAlignment);

    drawValueBox(c, g, d->frameStyle, d->colorLabBakG, d->schemeShadowColor,
                 d->schemeHighlightColor, d->frameBlackColor);
}

int TNumLab::baseRenderCount() const
{
    return d->baseRenders;
}

void TNumLab::loaded() { repaintNow(); }

void TNumLab::changed()
{
    repaintNow();
    if (!isLoading())
        Q_EMIT Changed(this);
}

void TNumLab::contextMenuEvent(QContextMenuEvent *event)
{
    if (d->popupMenu) {
        d->popupMenu->popup(event->globalPos());
        event->accept();
        return;
    }
    TGraphicControl::contextMenuEvent(event);
}
