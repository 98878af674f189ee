#include "widgets/input/ESBPCSBaseEdit.h"

#include "widgets/input/ESBPCSAccessible.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QLocale>
#include <QMessageBox>
#include <QMetaMethod>
#include <QPainter>
#include <QTimer>

TESBInputOptions &ESBInputOptions()
{
    static TESBInputOptions options;
    return options;
}

void ESBBeep()
{
    if (ESBInputOptions().Beep)
        ESBInputOptions().Beep();
    else
        QApplication::beep();
}

namespace {

constexpr int NativeNoLimit = 32767;

// The options as the family ships them, before any code changes them.
const TESBInputOptions &BuiltInOptions()
{
    static const TESBInputOptions options;
    return options;
}

// The character a key event types, as the classic key-press codes: Enter 13,
// Esc 27, Backspace 8, Ctrl+letter 1..26; a printable character otherwise;
// a null QChar for keys that type nothing.
QChar typedChar(const QKeyEvent *e)
{
    const int key = e->key();
    const Qt::KeyboardModifiers mods = e->modifiers();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return QChar(13);
    if (key == Qt::Key_Escape)
        return QChar(27);
    if (key == Qt::Key_Backspace)
        return QChar(8);
    if (mods & Qt::ControlModifier) {
        if (!(mods & Qt::AltModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
            return QChar(char16_t(key - Qt::Key_A + 1));
        return {};
    }
    if (mods & (Qt::AltModifier | Qt::MetaModifier))
        return {};
    const QString text = e->text();
    if (text.size() == 1 && text[0].unicode() >= 32 && text[0].unicode() != 127)
        return text[0];
    return {};
}

// Text that a key with modifiers would still insert into a plain line edit:
// AltGr and Alt combinations, and format characters even with Ctrl held.
QString insertableText(const QKeyEvent *e)
{
    const QString text = e->text();
    if (text.isEmpty())
        return {};
    const QChar c = text.front();
    if (c.category() == QChar::Other_Format)
        return text;
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::ControlModifier || mods == (Qt::ControlModifier | Qt::ShiftModifier))
        return {};
    if (c.isPrint() || c.category() == QChar::Other_PrivateUse || c.isHighSurrogate())
        return text;
    return {};
}

// The part of a pasted or dropped text that enters an edit: the first line,
// without surrounding blanks, so a number copied with its line break pastes.
QString singleLine(const QString &text)
{
    QString line = text.section(QLatin1Char('\n'), 0, 0);
    line.remove(QLatin1Char('\r'));
    return line.trimmed();
}

bool isNumPadDecimalKey(int key)
{
    return key == Qt::Key_Period || key == Qt::Key_Comma;
}

} // namespace

struct TESBCustomEdit::Private {
    bool allowKbdNull = true;
    bool blankWhenNull = false;
    // The colours start as the options' built-in defaults, written only
    // there; the constructor then copies the options in force.
    TColor colorFocus = BuiltInOptions().ColorFocus;
    TColor colorRO = BuiltInOptions().ColorRO;
    TColor colorRW = BuiltInOptions().ColorRW;
    TColor colorBorderFocus = BuiltInOptions().ColorBorderFocus;
    TColor colorBorderUnfocus = BuiltInOptions().ColorBorderUnfocus;
    TColor colorDisabled = BuiltInOptions().ColorDisabled;
    bool focused = false;
    bool null = false;
    QString nullStr;
    bool mouseInside = false;
    bool colorDefaults = true;
    int flatBorder = 2;
    bool flat = false;
    bool storeValue = true;
    bool lineEdit = false;
    bool numPadDecimal = false;
    TESBCharSet validChars{true, {}};
    TESBCharSet savedValidChars{true, {}};
    bool numPadPending = false;
    bool liveGrouping = false;
    bool loading = false;
    bool autoSize = true;
    bool autoSelect = true;
    int textLimit = 0;
    // While EnterText feeds characters: one notification at the end, and
    // refusals recorded instead of heard.
    bool entering = false;
    bool refused = false;
};

TESBCustomEdit::TESBCustomEdit(QWidget *parent) : QLineEdit(parent), d(std::make_unique<Private>())
{
    InstallInputAccessibility();
    const TESBInputOptions &opts = ESBInputOptions();
    d->nullStr = opts.NullStr;
    d->flatBorder = opts.FlatBorder;
    QLineEdit::setMaxLength(NativeNoLimit);
    connect(this, &QLineEdit::textChanged, this, &TESBCustomEdit::nativeTextChanged);
    // An edit by the user (a context-menu paste, a drop) ends the null state.
    connect(this, &QLineEdit::textEdited, this, [this] { d->null = false; });
    adjustHeight();
    TESBCustomEdit::ApplyColorDefaults();
}

TESBCustomEdit::~TESBCustomEdit() = default;

void TESBCustomEdit::beginLoading()
{
    d->loading = true;
}

void TESBCustomEdit::Loaded()
{
    d->loading = false;
}

bool TESBCustomEdit::isLoading() const
{
    return d->loading;
}

QString TESBCustomEdit::AsString() const
{
    return d->null ? QString() : text();
}

void TESBCustomEdit::setAsString(const QString &newText)
{
    if (newText == text())
        return;
    if (d->null)
        d->null = newText == NullText();
    setDisplayText(newText);
    TextToValue();
    if (!d->liveGrouping)
        ValueToText();
}

void TESBCustomEdit::TextToValue() {}

void TESBCustomEdit::ValueToText()
{
    if (d->null)
        setDisplayText(NullText());
}

void TESBCustomEdit::ApplyColorDefaults()
{
    const TESBInputOptions &opts = ESBInputOptions();
    d->colorBorderFocus = opts.ColorBorderFocus;
    d->colorBorderUnfocus = opts.ColorBorderUnfocus;
    d->colorDisabled = opts.ColorDisabled;
    d->colorFocus = opts.ColorFocus;
    d->colorRO = opts.ColorRO;
    d->colorRW = opts.ColorRW;
    d->colorDefaults = true;
    UpdateColors();
}

// --- plain properties -------------------------------------------------------

bool TESBCustomEdit::StoreValue() const
{
    return d->storeValue;
}

void TESBCustomEdit::setStoreValue(bool on)
{
    d->storeValue = on;
}

bool TESBCustomEdit::NumPadDecimal() const
{
    return d->numPadDecimal;
}

void TESBCustomEdit::setNumPadDecimal(bool on)
{
    d->numPadDecimal = on;
}

bool TESBCustomEdit::Flat() const
{
    return d->flat;
}

void TESBCustomEdit::setFlat(bool on)
{
    if (!on)
        d->lineEdit = false;
    if (d->flat == on)
        return;
    d->flat = on;
    UpdateColors();
}

bool TESBCustomEdit::LineEdit() const
{
    return d->lineEdit;
}

void TESBCustomEdit::setLineEdit(bool on)
{
    if (d->lineEdit == on)
        return;
    d->lineEdit = on;
    if (on)
        d->flat = true;
    UpdateColors();
}

int TESBCustomEdit::FlatBorder() const
{
    return d->flatBorder;
}

void TESBCustomEdit::setFlatBorder(int width)
{
    width = std::clamp(width, 1, 2);
    if (d->flatBorder == width)
        return;
    d->flatBorder = width;
    update();
}

bool TESBCustomEdit::AllowKbdNull() const
{
    return d->allowKbdNull;
}

void TESBCustomEdit::setAllowKbdNull(bool on)
{
    d->allowKbdNull = on;
}

bool TESBCustomEdit::Null() const
{
    return d->null;
}

void TESBCustomEdit::setNull(bool on)
{
    if (d->null == on)
        return;
    d->null = on;
    ValueToText();
}

QString TESBCustomEdit::NullStr() const
{
    return d->nullStr;
}

void TESBCustomEdit::setNullStr(const QString &nullText)
{
    if (d->nullStr == nullText)
        return;
    d->nullStr = nullText;
    ValueToText();
}

bool TESBCustomEdit::BlankWhenNull() const
{
    return d->blankWhenNull;
}

void TESBCustomEdit::setBlankWhenNull(bool on)
{
    if (d->blankWhenNull == on)
        return;
    d->blankWhenNull = on;
    ValueToText();
}

QString TESBCustomEdit::NullText() const
{
    return d->blankWhenNull ? QString() : d->nullStr;
}

TAlignment TESBCustomEdit::Alignment() const
{
    // Read back from the line edit, so a Qt alignment set through a QLineEdit
    // pointer is the edit's alignment too.
    const Qt::Alignment h = QLineEdit::alignment() & Qt::AlignHorizontal_Mask;
    if (h & Qt::AlignRight)
        return TAlignment::taRightJustify;
    if (h & Qt::AlignHCenter)
        return TAlignment::taCenter;
    return TAlignment::taLeftJustify;
}

void TESBCustomEdit::setAlignment(TAlignment alignment)
{
    if (Alignment() == alignment)
        return;
    switch (alignment) {
    case TAlignment::taLeftJustify: QLineEdit::setAlignment(Qt::AlignLeft | Qt::AlignVCenter); break;
    case TAlignment::taRightJustify: QLineEdit::setAlignment(Qt::AlignRight | Qt::AlignVCenter); break;
    case TAlignment::taCenter: QLineEdit::setAlignment(Qt::AlignHCenter | Qt::AlignVCenter); break;
    }
}

bool TESBCustomEdit::Color_Defaults() const
{
    return d->colorDefaults;
}

void TESBCustomEdit::setColor_Defaults(bool on)
{
    d->colorDefaults = on;
    if (on)
        ApplyColorDefaults();
}

void TESBCustomEdit::clearColorDefaults()
{
    d->colorDefaults = false;
}

void TESBCustomEdit::setColor(TColor &field, TColor c)
{
    d->colorDefaults = false;
    if (field == c)
        return;
    field = c;
    UpdateColors();
}

TColor TESBCustomEdit::ColorBorderFocus() const { return d->colorBorderFocus; }
void TESBCustomEdit::setColorBorderFocus(TColor c) { setColor(d->colorBorderFocus, c); }
TColor TESBCustomEdit::ColorBorderUnfocus() const { return d->colorBorderUnfocus; }
void TESBCustomEdit::setColorBorderUnfocus(TColor c) { setColor(d->colorBorderUnfocus, c); }
TColor TESBCustomEdit::ColorDisabled() const { return d->colorDisabled; }
void TESBCustomEdit::setColorDisabled(TColor c) { setColor(d->colorDisabled, c); }
TColor TESBCustomEdit::ColorFocus() const { return d->colorFocus; }
void TESBCustomEdit::setColorFocus(TColor c) { setColor(d->colorFocus, c); }
TColor TESBCustomEdit::ColorRO() const { return d->colorRO; }
void TESBCustomEdit::setColorRO(TColor c) { setColor(d->colorRO, c); }
TColor TESBCustomEdit::ColorRW() const { return d->colorRW; }
void TESBCustomEdit::setColorRW(TColor c) { setColor(d->colorRW, c); }

bool TESBCustomEdit::ReadOnly() const
{
    return isReadOnly();
}

void TESBCustomEdit::readOnlyChanged()
{
    // The line edit holds the state and announces every real change, however
    // it was set (also through a QLineEdit pointer).
    const bool on = isReadOnly();
    if (on) {
        d->savedValidChars = d->validChars;
        d->validChars = {};
    } else {
        d->validChars = d->savedValidChars;
    }
    if (ESBInputOptions().ReadOnlySkipsTab)
        setTabStop(!on);
    UpdateColors();
}

bool TESBCustomEdit::AutoSize() const
{
    return d->autoSize;
}

void TESBCustomEdit::setAutoSize(bool on)
{
    if (d->autoSize == on)
        return;
    d->autoSize = on;
    adjustHeight();
}

void TESBCustomEdit::adjustHeight()
{
    // The classic edit height: the text height plus room for the border.
    if (d->autoSize)
        resize(width(), fontMetrics().height() + 8);
}

bool TESBCustomEdit::AutoSelect() const
{
    return d->autoSelect;
}

void TESBCustomEdit::setAutoSelect(bool on)
{
    d->autoSelect = on;
}

bool TESBCustomEdit::TabStop() const
{
    return focusPolicy() & Qt::TabFocus;
}

void TESBCustomEdit::setTabStop(bool on)
{
    setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
}

TESBCharSet TESBCustomEdit::ValidChars() const
{
    return d->validChars;
}

void TESBCustomEdit::setValidChars(const TESBCharSet &set)
{
    // While read-only the set stays empty; the new one waits to be restored.
    if (isReadOnly())
        d->savedValidChars = set;
    else
        d->validChars = set;
}

bool TESBCustomEdit::Focused() const
{
    return d->focused;
}

bool TESBCustomEdit::MouseInside() const
{
    return d->mouseInside;
}

bool TESBCustomEdit::LiveGrouping() const
{
    return d->liveGrouping;
}

void TESBCustomEdit::setLiveGrouping(bool on)
{
    d->liveGrouping = on;
}

bool TESBCustomEdit::TakeNumPadDecimal()
{
    return std::exchange(d->numPadPending, false);
}

int TESBCustomEdit::TextLimit() const
{
    // The line edit's own limit stays at its maximum, so that a text set from
    // code is never cut; anything else was set through a QLineEdit pointer and
    // is the limit.
    const int native = QLineEdit::maxLength();
    return native != NativeNoLimit ? native : d->textLimit;
}

void TESBCustomEdit::setTextLimit(int length)
{
    d->textLimit = std::max(length, 0);
    QLineEdit::setMaxLength(NativeNoLimit);
}

void TESBCustomEdit::setNullState(bool on)
{
    d->null = on;
}

void TESBCustomEdit::LeaveNullAndClear()
{
    d->null = false;
    setDisplayText(QString());
}

void TESBCustomEdit::setDisplayText(const QString &newText)
{
    if (newText != text())
        QLineEdit::setText(newText);
}

void TESBCustomEdit::setFontColor(TColor c)
{
    const QColor q = ColorToQColor(c);
    if (!q.isValid() || palette().color(QPalette::Text) == q)
        return;
    QPalette pal = palette();
    pal.setColor(QPalette::Text, q);
    setPalette(pal);
    update();
}

QChar TESBCustomEdit::DecimalSeparator() const
{
    return QLocale().decimalPoint().at(0);
}

// --- change notification ----------------------------------------------------

void TESBCustomEdit::nativeTextChanged()
{
    if (d->loading || d->entering)
        return;
    TextToValue();
    emit OnChange(this);
}

// --- keys -------------------------------------------------------------------

bool TESBCustomEdit::KeyDown(int key, Qt::KeyboardModifiers mods, bool keypad)
{
    if (mods == Qt::NoModifier) {
        if (key == Qt::Key_Delete && isReadOnly())
            return false;
        if (keypad && d->numPadDecimal && isNumPadDecimalKey(key))
            d->numPadPending = true;
        if (ESBInputOptions().ArrowsNavigate) {
            if (key == Qt::Key_Up) {
                focusNextPrevChild(false);
                return false;
            }
            if (key == Qt::Key_Down) {
                focusNextPrevChild(true);
                return false;
            }
        }
    }
    if (mods == Qt::ShiftModifier && key == Qt::Key_Insert && isReadOnly())
        return false;
    return true;
}

bool TESBCustomEdit::KeyPress(QChar &key)
{
    if (OnKeyPress)
        OnKeyPress(this, key);
    if (key.isNull())
        return false;
    return BaseKeyFilter(key);
}

bool TESBCustomEdit::BaseKeyFilter(QChar &key)
{
    const TESBInputOptions &opts = ESBInputOptions();
    const char16_t k = key.unicode();
    if (k == 13 && opts.EnterAsTab) {
        focusNextPrevChild(true);
        return false;
    }
    if (k == 27 && opts.EscapeUndoes) {
        undo();
        return false;
    }
    if (k == 14 && d->allowKbdNull) {
        setNull(true);
        emit OnNull(this);
        return false;
    }
    if (k == 1) {
        selectAll();
        return false;
    }
    if (k < 32)
        return true;
    if (!d->validChars.contains(key)) {
        Refuse();
        return false;
    }
    if (d->null)
        LeaveNullAndClear();
    return true;
}

void TESBCustomEdit::insertTyped(QString typed)
{
    if (TextLimit() > 0) {
        const qsizetype room = TextLimit() - (text().size() - selectedText().size());
        typed.truncate(std::max<qsizetype>(room, 0));
    }
    if (!typed.isEmpty())
        insert(typed);
}

namespace
{

// A key that one of the program's actions is bound to, other than the keys an
// edit keeps for itself (copy, cut, paste, undo, redo, select all, Ctrl+N).
bool BoundToAnAction(const QKeyEvent *key, const QWidget *edit)
{
    if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    for (const auto standard : {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste,
                                QKeySequence::Undo, QKeySequence::Redo, QKeySequence::SelectAll})
        if (key->matches(standard))
            return false;
    const QKeySequence pressed(key->keyCombination());
    if (pressed == QKeySequence(Qt::CTRL | Qt::Key_N))
        return false;
    for (const QWidget *top : QApplication::topLevelWidgets()) {
        for (const QAction *a : top->actions()) {
            const bool reaches =
                a->shortcutContext() == Qt::ApplicationShortcut || top == edit->window();
            if (reaches && a->isEnabled() && a->shortcuts().contains(pressed))
                return true;
        }
    }
    return false;
}

} // namespace

bool TESBCustomEdit::event(QEvent *event)
{
    // The platform's line-edit bindings claim some Ctrl keys (Ctrl+D deletes
    // a character on X11); the program's own keys win over those.
    if (event->type() == QEvent::ShortcutOverride &&
        BoundToAnAction(static_cast<QKeyEvent *>(event), this)) {
        event->ignore();
        return true;
    }
    return QLineEdit::event(event);
}

void TESBCustomEdit::keyPressEvent(QKeyEvent *event)
{
    int key = event->key();
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    event->accept();
    if (OnCNKeyDown) {
        OnCNKeyDown(this, key, mods);
        if (key == 0)
            return;
    }
    if (!KeyDown(key, mods, keypad))
        return;
    if (d->numPadPending)
        key = DecimalSeparator().unicode();
    if (OnKeyDown) {
        OnKeyDown(this, key, mods);
        if (key == 0)
            return;
    }

    const QChar typed = typedChar(event);
    if (!typed.isNull()) {
        QChar k = typed;
        if (!KeyPress(k))
            return;
        if (k.unicode() >= 32) {
            insertTyped(QString(k));
            return;
        }
    } else if (const QString text = insertableText(event); !text.isEmpty()) {
        // A character typed with Alt, AltGr, Meta or Ctrl held obeys the
        // same rules as one typed without.
        EnterText(text);
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        PasteFromClipboard();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        CutToClipboard();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TESBCustomEdit::PasteFromClipboard()
{
    if (!isReadOnly())
        EnterText(QGuiApplication::clipboard()->text());
}

void TESBCustomEdit::Refuse(bool audible)
{
    if (d->entering)
        d->refused = true;
    else if (audible)
        ESBBeep();
}

bool TESBCustomEdit::EnterText(const QString &incoming)
{
    if (isReadOnly() || d->entering)
        return false;
    const QString chars = singleLine(incoming);
    if (chars.isEmpty())
        return false;
    const QString oldText = text();
    const int oldCursor = cursorPosition();
    const int oldSelStart = selectionStart();
    const int oldSelLength = int(selectedText().size());
    const bool oldNull = d->null;
    KeepEntryState();

    d->entering = true;
    d->refused = false;
    // Runs of digits go in at once when no rule needs to see the text
    // between them, so a long paste does not lay the line out per digit.
    QString run;
    for (QChar c : chars) {
        if (c.unicode() < 32) { // control characters are no text
            d->refused = true;
            break;
        }
        const bool batchable =
            c >= QLatin1Char('0') && c <= QLatin1Char('9') && !OnKeyPress && !d->null &&
            !DigitsNeedText();
        if (!batchable) {
            insertTyped(std::exchange(run, {}));
        }
        QChar k = c;
        if (KeyPress(k) && k.unicode() >= 32) {
            if (batchable)
                run += k;
            else
                insertTyped(QString(k));
        }
        if (d->refused)
            break;
    }
    if (!d->refused)
        insertTyped(run);
    if (d->refused) {
        // Undo what went in, so Esc still undoes the edits before the text;
        // when a sign key's redisplay has already reset the history, the old
        // text is set instead.
        while (text() != oldText && isUndoAvailable())
            undo();
        setDisplayText(oldText);
        if (oldSelLength > 0)
            setSelection(oldSelStart, oldSelLength);
        else
            setCursorPosition(oldCursor);
        d->null = oldNull;
        RestoreEntryState();
    }
    d->entering = false;
    if (d->refused) {
        d->refused = false;
        ESBBeep();
        return false;
    }
    if (text() != oldText && !d->loading) {
        TextToValue();
        emit OnChange(this);
    }
    TextEntered();
    return true;
}

void TESBCustomEdit::contextMenuEvent(QContextMenuEvent *event)
{
    // The menu's Paste enters the clipboard as Ctrl+V does.
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    const QString pasteText = QCoreApplication::translate("QLineEdit", "&Paste");
    for (QAction *action : menu->actions()) {
        if (action->text().section(QLatin1Char('\t'), 0, 0) != pasteText)
            continue;
        action->setObjectName(QStringLiteral("edit-paste"));
        disconnect(action, &QAction::triggered, nullptr, nullptr);
        connect(action, &QAction::triggered, this, &TESBCustomEdit::PasteFromClipboard);
    }
    menu->exec(event->globalPos());
}

void TESBCustomEdit::dropEvent(QDropEvent *event)
{
    if (isReadOnly() || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    if (EnterText(event->mimeData()->text())) {
        event->acceptProposedAction();
        setFocus(Qt::OtherFocusReason);
    } else {
        event->ignore();
    }
    update();
}

void TESBCustomEdit::inputMethodEvent(QInputMethodEvent *event)
{
    const QString commit = event->commitString();
    if (commit.isEmpty() || isReadOnly()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    // The composition goes on as usual; the committed text is entered.
    QInputMethodEvent composing(event->preeditString(), event->attributes());
    QLineEdit::inputMethodEvent(&composing);
    EnterText(commit);
    event->accept();
}

void TESBCustomEdit::CutToClipboard()
{
    if (!isReadOnly())
        cut();
}

// --- focus, mouse, state ----------------------------------------------------

void TESBCustomEdit::focusInEvent(QFocusEvent *event)
{
    const Qt::FocusReason reason = event->reason();
    const int caret = cursorPosition();
    const bool hadSelection = hasSelectedText();
    QLineEdit::focusInEvent(event);
    // The line edit selects everything when Tab brings the focus; without
    // AutoSelect the caret stays where it was.
    const bool byKey = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                       reason == Qt::ShortcutFocusReason;
    if (!d->autoSelect && byKey && !hadSelection && hasSelectedText())
        setCursorPosition(caret);
    // Coming back from a popup or another window is no new entry; the first
    // focus of a window being shown is.
    if (reason == Qt::PopupFocusReason || d->focused)
        return;
    DoEnter();
    if (d->autoSelect && reason != Qt::MouseFocusReason)
        selectAll();
}

void TESBCustomEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return;
    DoExit();
}

void TESBCustomEdit::DoEnter()
{
    d->focused = true;
    UpdateColors();
    emit OnEnter(this);
}

void TESBCustomEdit::DoExit()
{
    d->focused = false;
    UpdateColors();
    emit OnExit(this);
}

void TESBCustomEdit::enterEvent(QEnterEvent *event)
{
    QLineEdit::enterEvent(event);
    d->mouseInside = true;
    if (d->flat)
        UpdateColors();
    emit OnMouseEnter(this);
}

void TESBCustomEdit::leaveEvent(QEvent *event)
{
    QLineEdit::leaveEvent(event);
    d->mouseInside = false;
    if (d->flat)
        UpdateColors();
    emit OnMouseExit(this);
}

void TESBCustomEdit::mouseReleaseEvent(QMouseEvent *event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton) {
        d->focused = false;
        d->mouseInside = false;
        UpdateColors();
    }
}

void TESBCustomEdit::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange:
        adjustHeight();
        UpdateColors();
        break;
    case QEvent::EnabledChange: UpdateColors(); break;
    case QEvent::ReadOnlyChange: readOnlyChanged(); break;
    default: break;
    }
}

// --- colours and the flat border --------------------------------------------

QColor TESBCustomEdit::StateBackground() const
{
    // The colour shown when a property holds no colour: the parent's colour
    // when ColorRW is unset, else the edit's own.
    QColor current = palette().color(QPalette::Base);
    if (d->colorRW == clNone && parentWidget())
        current = parentWidget()->palette().color(QPalette::Window);
    auto pick = [&](TColor first, TColor second) {
        if (first != clNone)
            return ColorToQColor(first);
        if (second != clNone)
            return ColorToQColor(second);
        return current;
    };
    // A flat edit lights up while hot (focused or under the mouse).
    const bool active = d->flat ? d->focused || d->mouseInside : d->focused;
    if (!isEnabled())
        return pick(d->colorDisabled, d->colorRW);
    if (isReadOnly())
        return pick(d->colorRO, d->colorRW);
    if (active)
        return pick(d->colorFocus, d->colorRW);
    return pick(d->colorRW, clNone);
}

void TESBCustomEdit::UpdateColors()
{
    const QColor bg = StateBackground();
    if (bg.isValid() && palette().color(QPalette::Base) != bg) {
        QPalette pal = palette();
        pal.setColor(QPalette::Base, bg);
        setPalette(pal);
    }
    update();
}

void TESBCustomEdit::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    if (d->flat) {
        QPainter painter(this);
        PaintFlatBorder(painter);
    }
}

void TESBCustomEdit::PaintFlatBorder(QPainter &painter)
{
    const QColor current = palette().color(QPalette::Base);
    auto chain = [&](std::initializer_list<TColor> colours) {
        for (TColor c : colours)
            if (c != clNone)
                return ColorToQColor(c);
        return current;
    };
    const QColor focusBorder = chain({d->colorBorderFocus, d->colorBorderUnfocus, d->colorRW});
    const QColor unfocusBorder = chain({d->colorBorderUnfocus, d->colorBorderFocus, d->colorRW});
    const QColor background = current;
    const bool hot = d->focused || d->mouseInside;

    painter.setBrush(Qt::NoBrush);
    auto frame = [&](const QRect &r, const QColor &c) {
        painter.setPen(QPen(c, 1));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    };
    QRect r = rect();
    if (!d->lineEdit) {
        const QColor border = hot ? focusBorder : unfocusBorder;
        for (int i = 0; i < d->flatBorder; ++i) {
            frame(r, border);
            r.adjust(1, 1, -1, -1);
        }
        frame(r, background);
        return;
    }
    for (int i = 0; i < 2; ++i) {
        frame(r, background);
        r.adjust(1, 1, -1, -1);
    }
    // The underline: FlatBorder rows ending at the bottom pixel row.
    painter.fillRect(QRect(QPoint(r.left() - 2, height() - d->flatBorder),
                           QPoint(r.right() + 2, height() - 1)),
                     focusBorder);
    r.setBottom(r.bottom() - 1);
    frame(r, background);
}

// --- TESBBaseEdit -----------------------------------------------------------

struct TESBBaseEdit::Private {
    bool boundsEnabled = false;
    int lastBoundsError = 0;
    TColor colorFontNeg = BuiltInOptions().ColorFontNeg;
    TColor colorFontPos = BuiltInOptions().ColorFontPos;
};

TESBBaseEdit::TESBBaseEdit(QWidget *parent) : TESBCustomEdit(parent), d(std::make_unique<Private>())
{
    resize(81, height());
    TESBBaseEdit::ApplyColorDefaults();
}

TESBBaseEdit::~TESBBaseEdit() = default;

void TESBBaseEdit::ApplyColorDefaults()
{
    TESBCustomEdit::ApplyColorDefaults();
    d->colorFontNeg = ESBInputOptions().ColorFontNeg;
    d->colorFontPos = ESBInputOptions().ColorFontPos;
    ValueToText();
}

bool TESBBaseEdit::BoundsEnabled() const
{
    return d->boundsEnabled;
}

void TESBBaseEdit::setBoundsEnabled(bool on)
{
    d->boundsEnabled = on;
}

int TESBBaseEdit::MaxLength() const
{
    return TextLimit();
}

void TESBBaseEdit::setMaxLength(int length)
{
    length = std::max(length, 0);
    if (TextLimit() == length)
        return;
    setTextLimit(length);
    ValueToText();
}

TColor TESBBaseEdit::ColorFontNeg() const
{
    return d->colorFontNeg;
}

void TESBBaseEdit::setColorFontNeg(TColor c)
{
    clearColorDefaults();
    if (d->colorFontNeg == c)
        return;
    d->colorFontNeg = c;
    ValueToText();
}

TColor TESBBaseEdit::ColorFontPos() const
{
    return d->colorFontPos;
}

void TESBBaseEdit::setColorFontPos(TColor c)
{
    clearColorDefaults();
    if (d->colorFontPos == c)
        return;
    d->colorFontPos = c;
    ValueToText();
}

int TESBBaseEdit::LastBoundsError() const
{
    return d->lastBoundsError;
}

void TESBBaseEdit::setLastBoundsError(int kind)
{
    d->lastBoundsError = kind;
}

bool TESBBaseEdit::BoundsErrorConnected() const
{
    return isSignalConnected(QMetaMethod::fromSignal(&TESBBaseEdit::OnBoundsError));
}

void TESBBaseEdit::CheckBounds()
{
    if (!d->boundsEnabled)
        return;
    if (BoundsErrorConnected()) {
        emit OnBoundsError(this, text(), TESBBoundsValidationType(d->lastBoundsError));
        return;
    }
    ShowBoundsMessage(this, QStringLiteral("Your entered Value is not acceptable!"));
}

void TESBBaseEdit::ShowBoundsMessage(QWidget *parent, const QString &message)
{
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    struct RestoreCursor {
        ~RestoreCursor() { QGuiApplication::restoreOverrideCursor(); }
    } restore;
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), message, QMessageBox::Ok,
                    parent);
    box.exec();
}

void TESBBaseEdit::DoExit()
{
    bool furtherChecking = true;
    if (OnExitStart) {
        QString current = text();
        OnExitStart(this, current, furtherChecking);
        setAsString(current);
    }
    TextToValue();
    ValueToText();
    if (d->boundsEnabled && furtherChecking)
        CheckBounds();
    TESBCustomEdit::DoExit();
}
