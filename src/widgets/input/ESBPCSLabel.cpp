#include "widgets/input/ESBPCSLabel.h"

#include "widgets/input/ESBPCSAccessible.h"

#include <QEnterEvent>
#include <QEvent>
#include <QFontMetrics>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QShortcutEvent>
#include <QTimer>

namespace
{

int textFlags(TAlignment align, TTextLayout layout)
{
    int flags = 0;
    switch (align) {
    case TAlignment::taLeftJustify:
        flags |= Qt::AlignLeft;
        break;
    case TAlignment::taRightJustify:
        flags |= Qt::AlignRight;
        break;
    case TAlignment::taCenter:
        flags |= Qt::AlignHCenter;
        break;
    }
    switch (layout) {
    case TTextLayout::tlTop:
        flags |= Qt::AlignTop;
        break;
    case TTextLayout::tlCenter:
        flags |= Qt::AlignVCenter;
        break;
    case TTextLayout::tlBottom:
        flags |= Qt::AlignBottom;
        break;
    }
    return flags;
}

// The caption as measured: an empty caption, or a lone accelerator marker,
// still gives the label the height of one line.
QString measuredText(const QString &caption, bool showAccelChar)
{
    if (caption.isEmpty() || (showAccelChar && caption == QLatin1String("&")))
        return QStringLiteral(" ");
    return caption;
}

} // namespace

QPoint ESBAttachedLabelPos(const QRect &c, QSize l, TESBLabelAttachType type,
                           TESBLabelAttachAlignH alignH, TESBLabelAttachAlignV alignV, int marginH,
                           int marginV)
{
    auto alongH = [&] {
        switch (alignH) {
        case TESBLabelAttachAlignH::elhLeft:
            return c.left() + marginH;
        case TESBLabelAttachAlignH::elhCenter:
            return c.left() + (c.width() - l.width()) / 2 + marginH;
        case TESBLabelAttachAlignH::elhRight:
            return c.left() + c.width() - l.width() + marginH;
        }
        return c.left();
    };
    auto alongV = [&] {
        switch (alignV) {
        case TESBLabelAttachAlignV::elvTop:
            return c.top() + marginV;
        case TESBLabelAttachAlignV::elvCenter:
            return c.top() + (c.height() - l.height()) / 2 + marginV;
        case TESBLabelAttachAlignV::elvBottom:
            return c.top() + c.height() - l.height() + marginV;
        }
        return c.top();
    };
    switch (type) {
    case TESBLabelAttachType::elaLeft:
        return {c.left() - (l.width() + marginH), alongV()};
    case TESBLabelAttachType::elaRight:
        return {c.left() + c.width() + marginH, alongV()};
    case TESBLabelAttachType::elaTop:
        return {alongH(), c.top() - (l.height() + marginV)};
    case TESBLabelAttachType::elaBottom:
        return {alongH(), c.top() + c.height() + marginV};
    }
    return {};
}

struct TESBCustomLabel::Private {
    TESBLabelStyle labelStyle = TESBLabelStyle::elsNormal;
    bool mouseInside = false;
    bool hotTrack = false;
    TColor hotColor = clHighlight;
    bool hotUnderline = true;
    TColor savedFontColor = clWindowText;
    bool savedUnderline = false;
    QPointer<QWidget> attachTo;
    int marginH = 2;
    int marginV = 2;
    TESBLabelAttachType attachType = TESBLabelAttachType::elaLeft;
    TESBLabelAttachAlignH alignH = TESBLabelAttachAlignH::elhLeft;
    TESBLabelAttachAlignV alignV = TESBLabelAttachAlignV::elvTop;

    QString caption;
    bool autoSize = true;
    TAlignment alignment = TAlignment::taLeftJustify;
    TTextLayout layout = TTextLayout::tlTop;
    bool wordWrap = false;
    bool showAccelChar = true;
    bool transparent = false;
    QPointer<QWidget> focusControl;
    TColor color = clWindow;
    bool parentColor = true;
    TColor fontColor = clWindowText;
    int shortcutId = 0;
    bool repositioning = false;
    // A hidden control reports no moves; while it is hidden the label looks
    // at its place now and then instead.
    QTimer hiddenWatch;
};

namespace
{
// How often the label looks where its hidden control is.
constexpr int kHiddenWatchMs = 50;
} // namespace

TESBCustomLabel::TESBCustomLabel(QWidget *parent) : QWidget(parent), d(std::make_unique<Private>())
{
    d->hiddenWatch.setInterval(kHiddenWatchMs);
    connect(&d->hiddenWatch, &QTimer::timeout, this, &TESBCustomLabel::Reposition);
    InstallInputAccessibility();
    adjustBounds();
}

TESBCustomLabel::~TESBCustomLabel()
{
    if (d->attachTo)
        d->attachTo->removeEventFilter(this);
}

// ---- attachment -----------------------------------------------------------

QWidget *TESBCustomLabel::AttachToControl() const
{
    return d->attachTo;
}

void TESBCustomLabel::setAttachToControl(QWidget *control)
{
    if (control == this)
        control = nullptr;
    if (control != d->attachTo) {
        if (d->attachTo) {
            d->attachTo->removeEventFilter(this);
            disconnect(d->attachTo, &QObject::destroyed, this, &TESBCustomLabel::controlDestroyed);
        }
        d->attachTo = control;
        d->hiddenWatch.stop();
        if (control) {
            connect(control, &QObject::destroyed, this, &TESBCustomLabel::controlDestroyed);
            control->installEventFilter(this);
            if (control->isHidden())
                d->hiddenWatch.start();
            Reposition();
        }
    }
    setFocusControl(control);
}

void TESBCustomLabel::controlDestroyed(QObject *)
{
    // The control is half gone: forget it without touching it. Detaching
    // also clears the focus control, as writing none would.
    d->attachTo = nullptr;
    d->focusControl = nullptr;
    d->hiddenWatch.stop();
}

TESBLabelAttachType TESBCustomLabel::AttachType() const
{
    return d->attachType;
}

void TESBCustomLabel::setAttachType(TESBLabelAttachType type)
{
    if (type == d->attachType)
        return;
    d->attachType = type;
    Reposition();
}

TESBLabelAttachAlignH TESBCustomLabel::AttachAlignH() const
{
    return d->alignH;
}

void TESBCustomLabel::setAttachAlignH(TESBLabelAttachAlignH align)
{
    if (align == d->alignH)
        return;
    d->alignH = align;
    d->marginH = 0;
    Reposition();
}

TESBLabelAttachAlignV TESBCustomLabel::AttachAlignV() const
{
    return d->alignV;
}

void TESBCustomLabel::setAttachAlignV(TESBLabelAttachAlignV align)
{
    if (align == d->alignV)
        return;
    d->alignV = align;
    d->marginV = 0;
    Reposition();
}

int TESBCustomLabel::AttachMarginH() const
{
    return d->marginH;
}

void TESBCustomLabel::setAttachMarginH(int margin)
{
    if (margin == d->marginH)
        return;
    d->marginH = margin;
    Reposition();
}

int TESBCustomLabel::AttachMarginV() const
{
    return d->marginV;
}

void TESBCustomLabel::setAttachMarginV(int margin)
{
    if (margin == d->marginV)
        return;
    d->marginV = margin;
    Reposition();
}

void TESBCustomLabel::Reposition()
{
    QWidget *c = d->attachTo;
    if (!c || d->repositioning)
        return;
    QRect r = c->geometry();
    if (c->parentWidget() != parentWidget() && c->parentWidget() && parentWidget()) {
        // Not siblings: take the control's place in our parent's coordinates.
        r.moveTopLeft(parentWidget()->mapFromGlobal(c->parentWidget()->mapToGlobal(r.topLeft())));
    }
    const QPoint pos =
        ESBAttachedLabelPos(r, size(), d->attachType, d->alignH, d->alignV, d->marginH, d->marginV);
    if (pos == this->pos())
        return;
    d->repositioning = true;
    move(pos);
    d->repositioning = false;
}

bool TESBCustomLabel::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == d->attachTo) {
        switch (e->type()) {
        case QEvent::Move:
        case QEvent::Resize: Reposition(); break;
        case QEvent::HideToParent: d->hiddenWatch.start(); break;
        case QEvent::ShowToParent:
            d->hiddenWatch.stop();
            Reposition();
            break;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, e);
}

void TESBCustomLabel::moveEvent(QMoveEvent *e)
{
    QWidget::moveEvent(e);
    Reposition();
}

void TESBCustomLabel::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    Reposition();
}

// ---- look -----------------------------------------------------------------

TESBLabelStyle TESBCustomLabel::LabelStyle() const
{
    return d->labelStyle;
}

void TESBCustomLabel::setLabelStyle(TESBLabelStyle style)
{
    if (style == d->labelStyle)
        return;
    d->labelStyle = style;
    update();
}

bool TESBCustomLabel::HotTrack() const
{
    return d->hotTrack;
}
void TESBCustomLabel::setHotTrack(bool on)
{
    d->hotTrack = on;
}
bool TESBCustomLabel::HotUnderline() const
{
    return d->hotUnderline;
}
void TESBCustomLabel::setHotUnderline(bool on)
{
    d->hotUnderline = on;
}
TColor TESBCustomLabel::HotColor() const
{
    return d->hotColor;
}
void TESBCustomLabel::setHotColor(TColor color)
{
    d->hotColor = color;
}
bool TESBCustomLabel::MouseInside() const
{
    return d->mouseInside;
}
QString TESBCustomLabel::Version()
{
    return QStringLiteral("2.3.1");
}

QString TESBCustomLabel::Caption() const
{
    return d->caption;
}

void TESBCustomLabel::setCaption(const QString &caption)
{
    if (caption == d->caption)
        return;
    d->caption = caption;
    updateAccelerator();
    adjustBounds();
    update();
}

bool TESBCustomLabel::AutoSize() const
{
    return d->autoSize;
}

void TESBCustomLabel::setAutoSize(bool on)
{
    if (on == d->autoSize)
        return;
    d->autoSize = on;
    adjustBounds();
}

TAlignment TESBCustomLabel::Alignment() const
{
    return d->alignment;
}

void TESBCustomLabel::setAlignment(TAlignment align)
{
    if (align == d->alignment)
        return;
    d->alignment = align;
    update();
}

TTextLayout TESBCustomLabel::Layout() const
{
    return d->layout;
}

void TESBCustomLabel::setLayout(TTextLayout layout)
{
    if (layout == d->layout)
        return;
    d->layout = layout;
    update();
}

bool TESBCustomLabel::WordWrap() const
{
    return d->wordWrap;
}

void TESBCustomLabel::setWordWrap(bool on)
{
    if (on == d->wordWrap)
        return;
    d->wordWrap = on;
    adjustBounds();
    update();
}

bool TESBCustomLabel::ShowAccelChar() const
{
    return d->showAccelChar;
}

void TESBCustomLabel::setShowAccelChar(bool on)
{
    if (on == d->showAccelChar)
        return;
    d->showAccelChar = on;
    updateAccelerator();
    adjustBounds();
    update();
}

bool TESBCustomLabel::Transparent() const
{
    return d->transparent;
}

void TESBCustomLabel::setTransparent(bool on)
{
    if (on == d->transparent)
        return;
    d->transparent = on;
    update();
}

QWidget *TESBCustomLabel::FocusControl() const
{
    return d->focusControl;
}
void TESBCustomLabel::setFocusControl(QWidget *control)
{
    d->focusControl = control;
}

TColor TESBCustomLabel::Color() const
{
    return d->color;
}

void TESBCustomLabel::setColor(TColor color)
{
    if (color == d->color && !d->parentColor)
        return;
    d->color = color;
    d->parentColor = false;
    update();
}

bool TESBCustomLabel::ParentColor() const
{
    return d->parentColor;
}

void TESBCustomLabel::setParentColor(bool on)
{
    if (on == d->parentColor)
        return;
    d->parentColor = on;
    update();
}

TColor TESBCustomLabel::FontColor() const
{
    return d->fontColor;
}

void TESBCustomLabel::setFontColor(TColor color)
{
    if (color == d->fontColor)
        return;
    d->fontColor = color;
    update();
}

QSize TESBCustomLabel::measuredSize() const
{
    const QString text = measuredText(d->caption, d->showAccelChar);
    int flags = Qt::TextExpandTabs | (d->showAccelChar ? Qt::TextShowMnemonic : 0);
    const QFontMetrics fm(font());
    if (d->wordWrap)
        return fm.boundingRect(QRect(0, 0, qMax(width(), 1), 0), flags | Qt::TextWordWrap, text)
            .size();
    return fm.boundingRect(QRect(), flags | Qt::TextSingleLine, text).size();
}

QSize TESBCustomLabel::sizeHint() const
{
    return measuredSize();
}

void TESBCustomLabel::adjustBounds()
{
    if (!d->autoSize)
        return;
    const QSize s = measuredSize();
    if (s == size())
        return;
    resize(s);
    // A hidden widget gets no resize event until it is shown: keep beside the
    // control now.
    Reposition();
}

void TESBCustomLabel::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::FontChange)
        adjustBounds();
    QWidget::changeEvent(e);
}

void TESBCustomLabel::paintCaption(QPainter &p) const
{
    if (!d->transparent && !d->parentColor)
        p.fillRect(rect(), ColorToQColor(d->color));
    int flags = textFlags(d->alignment, d->layout) | Qt::TextExpandTabs;
    flags |= d->wordWrap ? Qt::TextWordWrap : Qt::TextSingleLine;
    if (d->showAccelChar)
        flags |= Qt::TextShowMnemonic;
    p.setFont(font());
    auto pass = [&](int dx, int dy, TColor color) {
        p.setPen(ColorToQColor(color));
        p.drawText(rect().translated(dx, dy), flags, d->caption);
    };
    switch (d->labelStyle) {
    case TESBLabelStyle::elsRaised:
        pass(1, 1, clBtnShadow);
        pass(-1, -1, clBtnHighlight);
        break;
    case TESBLabelStyle::elsSunken:
        pass(1, 1, clBtnHighlight);
        pass(-1, -1, clBtnShadow);
        break;
    case TESBLabelStyle::elsNormal:
        break;
    }
    pass(0, 0, isEnabled() ? d->fontColor : clGrayText);
}

QImage TESBCustomLabel::renderImage() const
{
    QImage img(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    img.fill(palette().color(QPalette::Window));
    QPainter p(&img);
    paintCaption(p);
    return img;
}

void TESBCustomLabel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    paintCaption(p);
}

// ---- accelerator and mouse ------------------------------------------------

void TESBCustomLabel::updateAccelerator()
{
    if (d->shortcutId) {
        releaseShortcut(d->shortcutId);
        d->shortcutId = 0;
    }
    if (!d->showAccelChar)
        return;
    const QKeySequence key = QKeySequence::mnemonic(d->caption);
    if (!key.isEmpty())
        d->shortcutId = grabShortcut(key);
}

bool TESBCustomLabel::event(QEvent *e)
{
    if (e->type() == QEvent::Shortcut &&
        static_cast<QShortcutEvent *>(e)->shortcutId() == d->shortcutId) {
        QWidget *target = d->focusControl;
        if (target && target->isEnabled() && target->isVisible() &&
            target->focusPolicy() != Qt::NoFocus)
            target->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    return QWidget::event(e);
}

void TESBCustomLabel::enterEvent(QEnterEvent *e)
{
    d->mouseInside = true;
    if (d->hotTrack) {
        d->savedFontColor = d->fontColor;
        d->savedUnderline = font().underline();
        setFontColor(d->hotColor);
        QFont f = font();
        f.setUnderline(d->hotUnderline);
        setFont(f);
    }
    emit OnMouseEnter(this);
    QWidget::enterEvent(e);
}

void TESBCustomLabel::leaveEvent(QEvent *e)
{
    d->mouseInside = false;
    if (d->hotTrack) {
        setFontColor(d->savedFontColor);
        QFont f = font();
        f.setUnderline(d->savedUnderline);
        setFont(f);
    }
    emit OnMouseExit(this);
    QWidget::leaveEvent(e);
}

void TESBCustomLabel::mousePressEvent(QMouseEvent *e)
{
    const QPoint pt = e->position().toPoint();
    emit OnMouseDown(this, e->button(), e->modifiers(), pt.x(), pt.y());
}

void TESBCustomLabel::mouseMoveEvent(QMouseEvent *e)
{
    const QPoint pt = e->position().toPoint();
    emit OnMouseMove(this, e->modifiers(), pt.x(), pt.y());
}

void TESBCustomLabel::mouseReleaseEvent(QMouseEvent *e)
{
    const QPoint pt = e->position().toPoint();
    emit OnMouseUp(this, e->button(), e->modifiers(), pt.x(), pt.y());
    if (e->button() == Qt::LeftButton && rect().contains(pt))
        emit OnClick(this);
}

void TESBCustomLabel::mouseDoubleClickEvent(QMouseEvent *e)
{
    emit OnDblClick(this);
    QWidget::mouseDoubleClickEvent(e);
}

TESBPCSLabel::TESBPCSLabel(QWidget *parent) : TESBCustomLabel(parent) {}

TESBPCSLabel::~TESBPCSLabel() = default;
