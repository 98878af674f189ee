#include "widgets/input/ESBPCSSpinEdit.h"

#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QResizeEvent>

#include <cmath>

// The glyphs live in this static library; register them once before use.
static void initGlyphResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(ESBPCSSpinEdit);
        return true;
    }();
    (void)done;
}

QImage ESBSpinGlyph(bool up)
{
    initGlyphResources();
    QImage img(up ? QStringLiteral(":/UPGLYPH") : QStringLiteral(":/DOWNGLYPH"), "BMP");
    img = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == qRgb(255, 255, 255))
                img.setPixel(x, y, qRgba(0, 0, 0, 0));
    return img;
}

// --- TESBSpeedBtn ------------------------------------------------------------

TESBSpeedBtn::TESBSpeedBtn(QWidget *parent) : QToolButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    applyRepeat();
}

void TESBSpeedBtn::setInterval(uint ms)
{
    m_interval = ms;
    applyRepeat();
}

void TESBSpeedBtn::setRepeatable(bool on)
{
    m_repeatable = on;
    applyRepeat();
}

void TESBSpeedBtn::applyRepeat()
{
    // While held over the button it clicks Interval ms after the press and
    // every Interval ms after that; the release over it clicks once more.
    setAutoRepeat(m_repeatable);
    const int ms = int(std::min<uint>(m_interval, uint(std::numeric_limits<int>::max())));
    setAutoRepeatDelay(ms);
    setAutoRepeatInterval(std::max(ms, 1));
}

void TESBSpeedBtn::mousePressEvent(QMouseEvent *event)
{
    QToolButton::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        m_held = true;
}

void TESBSpeedBtn::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_held = false;
    QToolButton::mouseReleaseEvent(event);
}

void TESBSpeedBtn::paintEvent(QPaintEvent *event)
{
    QToolButton::paintEvent(event);
    // A dotted rectangle 3 pixels in, nudged right and down while pressed.
    QRect r = rect().adjusted(3, 3, -3, -3);
    if (isDown())
        r.translate(1, 1);
    if (r.width() < 1 || r.height() < 1)
        return;
    QPainter p(this);
    p.setPen(palette().color(QPalette::ButtonText));
    for (int x = r.left(); x <= r.right(); x += 2) {
        p.drawPoint(x, r.top());
        p.drawPoint(x, r.bottom());
    }
    for (int y = r.top(); y <= r.bottom(); y += 2) {
        p.drawPoint(r.left(), y);
        p.drawPoint(r.right(), y);
    }
}

// --- panels -------------------------------------------------------------------

TESBCustomPanel::TESBCustomPanel(QWidget *parent) : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
}

void TESBCustomPanel::changeEvent(QEvent *event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        AdjustHeight();
}

int TESBCustomBtnPanel::GetSelTextBuf(QChar *buffer, int size) const
{
    if (!buffer || size <= 0)
        return 0;
    const QString sel = SelText().left(size - 1);
    std::copy(sel.cbegin(), sel.cend(), buffer);
    buffer[sel.size()] = QChar();
    return int(sel.size());
}

// --- TESBFloatSpinEdit ---------------------------------------------------------

TESBFloatSpinEdit::TESBFloatSpinEdit(QWidget *parent) : TESBCustomBtnPanel(parent)
{
    m_editor = new TESBFloatEdit(this);
    m_editor->setGeometry(0, 0, 71, 21);
    m_editor->setAlignment(TAlignment::taRightJustify);
    // The policy must be set before the proxy: once proxied, Qt hands the
    // panel's policy on to the editor, which would then take no focus at all.
    setFocusPolicy(Qt::NoFocus);
    setFocusProxy(m_editor);

    m_upButton = new TESBSpeedBtn(this);
    m_upButton->setGeometry(71, 0, 16, 11);
    m_upButton->setIcon(QIcon(QPixmap::fromImage(ESBSpinGlyph(true))));
    m_upButton->setIconSize(QSize(9, 7));
    m_upButton->setRepeatable(true);
    m_upButton->setInterval(m_interval);

    m_downButton = new TESBSpeedBtn(this);
    m_downButton->setGeometry(71, 11, 16, 10);
    m_downButton->setIcon(QIcon(QPixmap::fromImage(ESBSpinGlyph(false))));
    m_downButton->setIconSize(QSize(9, 7));
    m_downButton->setRepeatable(true);
    m_downButton->setInterval(m_interval);

    connect(m_editor, &TESBCustomEdit::OnChange, this, [this] { emit OnChange(this); });
    connect(m_editor, &TESBCustomEdit::OnNull, this, [this] { emit OnNull(this); });
    connect(m_editor, &TESBCustomEdit::OnEnter, this, &TESBFloatSpinEdit::EditorEnter);
    connect(m_editor, &TESBCustomEdit::OnExit, this, &TESBFloatSpinEdit::EditorExit);
    m_editor->OnKeyDown = [this](QObject *sender, int &key, Qt::KeyboardModifiers shift) {
        if (OnKeyDown)
            OnKeyDown(sender, key, shift);
        if (key != 0)
            EditorKeyDown(key, shift);
    };
    m_editor->OnKeyPress = [this](QObject *sender, QChar &key) {
        if (OnKeyPress)
            OnKeyPress(sender, key);
        if (!m_editorEnabled && key.unicode() >= 32)
            key = QChar();
    };
    connect(m_upButton, &QAbstractButton::clicked, this, &TESBFloatSpinEdit::StepUp);
    connect(m_downButton, &QAbstractButton::clicked, this, &TESBFloatSpinEdit::StepDown);

    resize(87, 21);
    LayoutChildren();
}

TESBFloatSpinEdit::~TESBFloatSpinEdit()
{
    // Unwire first, so nothing calls back into a half-destroyed panel.
    m_editor->disconnect(this);
    m_upButton->disconnect(this);
    m_downButton->disconnect(this);
    m_editor->OnKeyDown = nullptr;
    m_editor->OnKeyPress = nullptr;
    RestoreArrowsNavigate();
    delete m_editor;
    delete m_upButton;
    delete m_downButton;
}

void TESBFloatSpinEdit::beginLoading()
{
    m_editor->beginLoading();
}

void TESBFloatSpinEdit::Loaded()
{
    m_editor->Loaded();
    LayoutChildren();
}

// --- value and range ---------------------------------------------------------

long double TESBFloatSpinEdit::Value()
{
    const long double v = m_editor->AsFloat();
    if (v == 0)
        return v;
    if (v < m_min) {
        m_editor->setAsFloat(m_min);
        return m_min;
    }
    if (v > m_max) {
        m_editor->setAsFloat(m_max);
        return m_max;
    }
    return v;
}

void TESBFloatSpinEdit::setValue(long double value)
{
    // No number at all: the value stays where it is (it would read as 0,
    // outside the range, once the editor had it).
    if (std::isnan(value))
        return;
    if (value > m_max)
        value = m_max;
    else if (value < m_min)
        value = m_min;
    if (value != m_editor->AsFloat())
        m_editor->setAsFloat(value);
}

void TESBFloatSpinEdit::setMax(long double value)
{
    if (std::isnan(value) || value == m_max)
        return;
    m_max = value;
    if (m_editor->AsFloat() > m_max)
        m_editor->setAsFloat(m_max);
    if (value < m_min)
        setMin(value);
}

void TESBFloatSpinEdit::setMin(long double value)
{
    if (std::isnan(value) || value == m_min)
        return;
    m_min = value;
    if (m_editor->AsFloat() < m_min)
        m_editor->setAsFloat(m_min);
    if (value > m_max)
        setMax(value);
}

void TESBFloatSpinEdit::WriteEditor(long double value)
{
    m_editor->setAsFloat(value);
}

long double SpinTarget(long double value, long double delta, long double min, long double max,
                       bool wrap)
{
    const long double moved = value + delta;
    if (delta >= 0) {
        if (moved <= max)
            return moved;
        return wrap && value == max ? min : max;
    }
    if (moved >= min)
        return moved;
    return wrap && value == min ? max : min;
}

void TESBFloatSpinEdit::SpinBy(long double delta)
{
    WriteEditor(SpinTarget(Value(), delta, m_min, m_max, m_wrap));
}

void TESBFloatSpinEdit::StepUp()
{
    if (m_readOnly)
        return;
    m_editor->setFocus(Qt::OtherFocusReason);
    emit OnUpClick(m_upButton);
    SpinBy(m_step);
}

void TESBFloatSpinEdit::StepDown()
{
    if (m_readOnly)
        return;
    m_editor->setFocus(Qt::OtherFocusReason);
    emit OnDownClick(m_downButton);
    SpinBy(-m_step);
}

void TESBFloatSpinEdit::EditorKeyDown(int key, Qt::KeyboardModifiers shift)
{
    if (m_readOnly)
        return;
    if (shift & Qt::ControlModifier) {
        if (key == Qt::Key_PageUp)
            WriteEditor(m_max);
        else if (key == Qt::Key_PageDown)
            WriteEditor(m_min);
        return;
    }
    switch (key) {
    case Qt::Key_PageUp: SpinBy(m_pageStep); break;
    case Qt::Key_PageDown: SpinBy(-m_pageStep); break;
    case Qt::Key_Up: m_upButton->click(); break;
    case Qt::Key_Down: m_downButton->click(); break;
    default: break;
    }
}

// --- focus ------------------------------------------------------------------

void TESBFloatSpinEdit::EditorEnter()
{
    // Up/Down spin the value instead of moving focus while the editor has it.
    if (m_arrows && !m_arrowsSaved) {
        m_savedArrowsNavigate = ESBInputOptions().ArrowsNavigate;
        m_arrowsSaved = true;
        ESBInputOptions().ArrowsNavigate = false;
    }
    emit OnEnter(this);
}

void TESBFloatSpinEdit::EditorExit()
{
    Value();
    RestoreArrowsNavigate();
    emit OnExit(this);
}

void TESBFloatSpinEdit::RestoreArrowsNavigate()
{
    if (!m_arrowsSaved)
        return;
    ESBInputOptions().ArrowsNavigate = m_savedArrowsNavigate;
    m_arrowsSaved = false;
}

// --- layout -------------------------------------------------------------------

void TESBFloatSpinEdit::resizeEvent(QResizeEvent *event)
{
    TESBCustomBtnPanel::resizeEvent(event);
    LayoutChildren();
}

void TESBFloatSpinEdit::LayoutChildren()
{
    if (m_autoSize && height() != m_editor->height())
        resize(width(), m_editor->height());
    const int h = height();
    const int editWidth = std::max(width() - 16, 0);
    m_editor->setGeometry(0, 0, editWidth, h);
    const int downHeight = h / 2;
    const int upHeight = h - downHeight;
    m_upButton->setGeometry(editWidth, 0, 16, upHeight);
    m_downButton->setGeometry(editWidth, upHeight, 16, downHeight);
}

void TESBFloatSpinEdit::AdjustHeight()
{
    if (m_autoSize)
        resize(width(), m_editor->height());
}

bool TESBFloatSpinEdit::AutoSize() const
{
    return m_autoSize;
}

void TESBFloatSpinEdit::setAutoSize(bool on)
{
    m_autoSize = on;
    m_editor->setAutoSize(on);
    if (on)
        AdjustHeight();
}

// --- own settings copied to the children -------------------------------------

void TESBFloatSpinEdit::setReadOnly(bool on)
{
    m_readOnly = on;
    m_editor->setReadOnly(on);
}

void TESBFloatSpinEdit::setInterval(uint ms)
{
    m_interval = ms;
    m_upButton->setInterval(ms);
    m_downButton->setInterval(ms);
}

bool TESBFloatSpinEdit::TabStop() const { return m_editor->TabStop(); }
void TESBFloatSpinEdit::setTabStop(bool on) { m_editor->setTabStop(on); }
bool TESBFloatSpinEdit::FlatEdit() const { return m_editor->Flat(); }
void TESBFloatSpinEdit::setFlatEdit(bool on) { m_editor->setFlat(on); }

void TESBFloatSpinEdit::setFlatSpinBtns(bool on)
{
    m_flatSpinBtns = on;
    m_upButton->setAutoRaise(on);
    m_downButton->setAutoRaise(on);
}

// --- kept in the editor ----------------------------------------------------------

quint8 TESBFloatSpinEdit::DecimalPlaces() const { return m_editor->DecimalPlaces(); }
void TESBFloatSpinEdit::setDecimalPlaces(quint8 places) { m_editor->setDecimalPlaces(places); }
int TESBFloatSpinEdit::MaxLength() const { return m_editor->MaxLength(); }
void TESBFloatSpinEdit::setMaxLength(int length) { m_editor->setMaxLength(length); }
TAlignment TESBFloatSpinEdit::Alignment() const { return m_editor->Alignment(); }
void TESBFloatSpinEdit::setAlignment(TAlignment a) { m_editor->setAlignment(a); }
TESBSeparatorStyle TESBFloatSpinEdit::ThousandSeparators() const { return m_editor->ThousandSeparators(); }
void TESBFloatSpinEdit::setThousandSeparators(TESBSeparatorStyle s) { m_editor->setThousandSeparators(s); }
bool TESBFloatSpinEdit::ShowThousandSeparators() const { return m_editor->ShowThousandSeparators(); }
void TESBFloatSpinEdit::setShowThousandSeparators(bool on) { m_editor->setShowThousandSeparators(on); }
bool TESBFloatSpinEdit::ZeroPad() const { return m_editor->ZeroPad(); }
void TESBFloatSpinEdit::setZeroPad(bool on) { m_editor->setZeroPad(on); }
bool TESBFloatSpinEdit::FullAccuracy() const { return m_editor->FullAccuracy(); }
void TESBFloatSpinEdit::setFullAccuracy(bool on) { m_editor->setFullAccuracy(on); }
bool TESBFloatSpinEdit::BlankWhenZero() const { return m_editor->BlankWhenZero(); }
void TESBFloatSpinEdit::setBlankWhenZero(bool on) { m_editor->setBlankWhenZero(on); }
bool TESBFloatSpinEdit::BlankWhenNull() const { return m_editor->BlankWhenNull(); }
void TESBFloatSpinEdit::setBlankWhenNull(bool on) { m_editor->setBlankWhenNull(on); }
bool TESBFloatSpinEdit::AllowKbdNull() const { return m_editor->AllowKbdNull(); }
void TESBFloatSpinEdit::setAllowKbdNull(bool on) { m_editor->setAllowKbdNull(on); }
bool TESBFloatSpinEdit::Null() const { return m_editor->Null(); }
void TESBFloatSpinEdit::setNull(bool on) { m_editor->setNull(on); }
QString TESBFloatSpinEdit::NullStr() const { return m_editor->NullStr(); }
void TESBFloatSpinEdit::setNullStr(const QString &text) { m_editor->setNullStr(text); }
bool TESBFloatSpinEdit::Color_Defaults() const { return m_editor->Color_Defaults(); }
void TESBFloatSpinEdit::setColor_Defaults(bool on) { m_editor->setColor_Defaults(on); }

int TESBFloatSpinEdit::SelLength() const { return int(m_editor->selectedText().size()); }
int TESBFloatSpinEdit::SelStart() const
{
    return m_editor->hasSelectedText() ? m_editor->selectionStart() : m_editor->cursorPosition();
}
void TESBFloatSpinEdit::setSelLength(int length) { m_editor->setSelection(SelStart(), length); }
void TESBFloatSpinEdit::setSelStart(int start) { m_editor->setCursorPosition(start); }
QString TESBFloatSpinEdit::SelText() const { return m_editor->selectedText(); }
void TESBFloatSpinEdit::setSelText(const QString &text) { m_editor->insert(text); }
bool TESBFloatSpinEdit::Modified() const { return m_editor->isModified(); }
void TESBFloatSpinEdit::setModified(bool on) { m_editor->setModified(on); }
QString TESBFloatSpinEdit::Text() const { return m_editor->AsString(); }
void TESBFloatSpinEdit::setText(const QString &text) { m_editor->setAsString(text); }
void TESBFloatSpinEdit::setLineEdit(bool on) { m_editor->setLineEdit(on); }
bool TESBFloatSpinEdit::LineEdit() const { return m_editor->LineEdit(); }
void TESBFloatSpinEdit::setFlatBorder(int width) { m_editor->setFlatBorder(width); }
int TESBFloatSpinEdit::FlatBorder() const { return m_editor->FlatBorder(); }
TColor TESBFloatSpinEdit::ColorFontNeg() const { return m_editor->ColorFontNeg(); }
TColor TESBFloatSpinEdit::ColorFontPos() const { return m_editor->ColorFontPos(); }
TColor TESBFloatSpinEdit::ColorFocus() const { return m_editor->ColorFocus(); }
TColor TESBFloatSpinEdit::ColorRO() const { return m_editor->ColorRO(); }
TColor TESBFloatSpinEdit::ColorRW() const { return m_editor->ColorRW(); }
TColor TESBFloatSpinEdit::ColorBorderFocus() const { return m_editor->ColorBorderFocus(); }
TColor TESBFloatSpinEdit::ColorBorderUnfocus() const { return m_editor->ColorBorderUnfocus(); }
TColor TESBFloatSpinEdit::ColorDisabled() const { return m_editor->ColorDisabled(); }
void TESBFloatSpinEdit::setColorFontNeg(TColor c) { m_editor->setColorFontNeg(c); }
void TESBFloatSpinEdit::setColorFontPos(TColor c) { m_editor->setColorFontPos(c); }
void TESBFloatSpinEdit::setColorFocus(TColor c) { m_editor->setColorFocus(c); }
void TESBFloatSpinEdit::setColorRO(TColor c) { m_editor->setColorRO(c); }
void TESBFloatSpinEdit::setColorRW(TColor c) { m_editor->setColorRW(c); }
void TESBFloatSpinEdit::setColorBorderFocus(TColor c) { m_editor->setColorBorderFocus(c); }
void TESBFloatSpinEdit::setColorBorderUnfocus(TColor c) { m_editor->setColorBorderUnfocus(c); }
void TESBFloatSpinEdit::setColorDisabled(TColor c) { m_editor->setColorDisabled(c); }
void TESBFloatSpinEdit::Clear() { m_editor->clear(); }
void TESBFloatSpinEdit::ClearSelection()
{
    if (m_editor->hasSelectedText())
        m_editor->del();
}
void TESBFloatSpinEdit::CopyToClipboard() { m_editor->copy(); }
void TESBFloatSpinEdit::CutToClipboard() { m_editor->CutToClipboard(); }
void TESBFloatSpinEdit::PasteFromClipboard() { m_editor->PasteFromClipboard(); }
void TESBFloatSpinEdit::Undo() { m_editor->undo(); }
void TESBFloatSpinEdit::ClearUndo()
{
    // The native edit drops its undo history when its text is set.
    const QString t = m_editor->text();
    const QSignalBlocker block(m_editor);
    m_editor->QLineEdit::setText(QString());
    m_editor->QLineEdit::setText(t);
}
void TESBFloatSpinEdit::SelectAll() { m_editor->selectAll(); }
