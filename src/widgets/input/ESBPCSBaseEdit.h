#pragma once

// The base of every edit box of the input widgets: a single-line edit with a
// valid-character set, a null state, keyboard conveniences (Enter and Up/Down
// move focus, Esc undoes), colours by state, an optional flat border and an
// exit sequence that normalises the text and may check bounds.

#include "gfx/Alignment.h"
#include "gfx/Color.h"

#include <QLineEdit>
#include <QString>

#include <functional>
#include <memory>

// Options shared by every edit of the family; changed only from code.
struct TESBInputOptions {
    bool EnterAsTab = true;
    bool EscapeUndoes = true;
    bool ArrowsNavigate = true;
    bool ReadOnlySkipsTab = true;
    bool RaiseConvertErrors = false;
    QString NullStr;
    int FlatBorder = 2;
    TColor ColorBorderFocus = clWindowFrame;
    TColor ColorBorderUnfocus = clWindow;
    TColor ColorDisabled = clBtnFace;
    TColor ColorFocus = clWindow;
    TColor ColorRO = 0x00CCBDB5;
    TColor ColorRW = clWindow;
    TColor ColorFontNeg = clWindowText;
    TColor ColorFontPos = clWindowText;
    // The feedback for a refused key; the platform beep when empty.
    std::function<void()> Beep;
};

TESBInputOptions &ESBInputOptions();
void ESBBeep();

// The characters a key press may insert. AllPrintable admits every character
// from 32 up; otherwise only those in Chars.
struct TESBCharSet {
    bool AllPrintable = false;
    QString Chars;

    bool isEmpty() const { return !AllPrintable && Chars.isEmpty(); }
    bool contains(QChar c) const
    {
        return AllPrintable ? c.unicode() >= 32 : Chars.contains(c);
    }
    bool operator==(const TESBCharSet &) const = default;
};

// Handlers that may change their arguments (clear a key with QChar() or 0).
using TESBKeyPressEvent = std::function<void(QObject *Sender, QChar &Key)>;
using TESBKeyDownEvent =
    std::function<void(QObject *Sender, int &Key, Qt::KeyboardModifiers Shift)>;
using TESBExitStartEvent =
    std::function<void(QObject *Sender, QString &Text, bool &FurtherChecking)>;

class TESBCustomEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(bool StoreValue READ StoreValue WRITE setStoreValue)
    Q_PROPERTY(bool NumPadDecimal READ NumPadDecimal WRITE setNumPadDecimal)
    Q_PROPERTY(bool Flat READ Flat WRITE setFlat)
    Q_PROPERTY(bool LineEdit READ LineEdit WRITE setLineEdit)
    Q_PROPERTY(int FlatBorder READ FlatBorder WRITE setFlatBorder)
    Q_PROPERTY(bool AllowKbdNull READ AllowKbdNull WRITE setAllowKbdNull)
    Q_PROPERTY(bool Null READ Null WRITE setNull)
    Q_PROPERTY(QString NullStr READ NullStr WRITE setNullStr)
    Q_PROPERTY(bool BlankWhenNull READ BlankWhenNull WRITE setBlankWhenNull)
    Q_PROPERTY(bool Color_Defaults READ Color_Defaults WRITE setColor_Defaults)
    Q_PROPERTY(TColor ColorBorderFocus READ ColorBorderFocus WRITE setColorBorderFocus)
    Q_PROPERTY(TColor ColorBorderUnfocus READ ColorBorderUnfocus WRITE setColorBorderUnfocus)
    Q_PROPERTY(TColor ColorDisabled READ ColorDisabled WRITE setColorDisabled)
    Q_PROPERTY(TColor ColorFocus READ ColorFocus WRITE setColorFocus)
    Q_PROPERTY(TColor ColorRO READ ColorRO WRITE setColorRO)
    Q_PROPERTY(TColor ColorRW READ ColorRW WRITE setColorRW)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE setReadOnly)
    Q_PROPERTY(QString AsString READ AsString WRITE setAsString)
    Q_PROPERTY(QString Version READ Version)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE setAutoSelect)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)

public:
    explicit TESBCustomEdit(QWidget *parent = nullptr);
    ~TESBCustomEdit() override;

    // Layout loading: while loading, text changes raise no OnChange.
    void beginLoading();
    void Loaded();
    bool isLoading() const;

    // The text ("" while null). Writing it converts at once and redisplays
    // the normalised form (1234 with grouping becomes 1,234).
    virtual QString AsString() const;
    virtual void setAsString(const QString &text);
    QString Text() const { return AsString(); }

    // Conversion between text and the stored value; redisplay of the value.
    virtual void TextToValue();
    virtual void ValueToText();
    virtual void ApplyColorDefaults();

    bool StoreValue() const;
    void setStoreValue(bool on);
    bool NumPadDecimal() const;
    void setNumPadDecimal(bool on);
    bool Flat() const;
    void setFlat(bool on);
    bool LineEdit() const;
    void setLineEdit(bool on);
    int FlatBorder() const;
    void setFlatBorder(int width);
    bool AllowKbdNull() const;
    void setAllowKbdNull(bool on);
    bool Null() const;
    void setNull(bool on);
    QString NullStr() const;
    void setNullStr(const QString &text);
    bool BlankWhenNull() const;
    void setBlankWhenNull(bool on);
    // The line edit holds the alignment; Qt's own setter stays visible.
    TAlignment Alignment() const;
    void setAlignment(TAlignment alignment);
    using QLineEdit::setAlignment;
    bool Color_Defaults() const;
    void setColor_Defaults(bool on);
    TColor ColorBorderFocus() const;
    void setColorBorderFocus(TColor c);
    TColor ColorBorderUnfocus() const;
    void setColorBorderUnfocus(TColor c);
    TColor ColorDisabled() const;
    void setColorDisabled(TColor c);
    TColor ColorFocus() const;
    void setColorFocus(TColor c);
    TColor ColorRO() const;
    void setColorRO(TColor c);
    TColor ColorRW() const;
    void setColorRW(TColor c);
    // Written with QLineEdit::setReadOnly; the edit follows every change.
    bool ReadOnly() const;
    QString Version() const { return QStringLiteral("2.3.1"); }
    bool AutoSize() const;
    void setAutoSize(bool on);
    bool AutoSelect() const;
    void setAutoSelect(bool on);
    bool TabStop() const;
    void setTabStop(bool on);

    // The valid-character set in force (empty while read-only).
    TESBCharSet ValidChars() const;

    // Background colour by state, or the flat border when Flat.
    void UpdateColors();
    // Clipboard requests; a read-only edit ignores them.
    void PasteFromClipboard();
    void CutToClipboard();
    // Text from outside the keys (a paste, a drop, an input method): its
    // first line, trimmed, goes in character by character under the same
    // rules as typing. A refused character refuses the whole text with one
    // beep and leaves the edit as it was. True when the text went in.
    bool EnterText(const QString &incoming);

    // The null text: "" with BlankWhenNull, else NullStr.
    QString NullText() const;
    // True between enter and exit.
    bool Focused() const;
    bool MouseInside() const;

    TESBKeyPressEvent OnKeyPress;
    // Raised when a key goes down, before anything else sees it.
    TESBKeyDownEvent OnCNKeyDown;
    // Raised after the edit's own key-down rules, before the key is handled.
    TESBKeyDownEvent OnKeyDown;

signals:
    void OnChange(QObject *Sender);
    void OnEnter(QObject *Sender);
    void OnExit(QObject *Sender);
    void OnNull(QObject *Sender);
    void OnMouseEnter(QObject *Sender);
    void OnMouseExit(QObject *Sender);

protected:
    // Character rules of a key press. Returns false when the key is
    // swallowed; may change the key. The base runs OnKeyPress, then
    // BaseKeyFilter.
    virtual bool KeyPress(QChar &key);
    bool BaseKeyFilter(QChar &key);
    virtual QChar DecimalSeparator() const;
    // A refused key: the beep, or, while text is entered, the refusal of
    // the whole text (silent refusals too).
    void Refuse(bool audible = true);
    // After text went in through EnterText.
    virtual void TextEntered() {}
    // Around EnterText: what the keys of a text may change besides the text,
    // the null state and the selection is kept first and given back when the
    // text is refused. The base re-reads its value from the text.
    virtual void KeepEntryState() {}
    virtual void RestoreEntryState() { TextToValue(); }
    // True when the rule for a digit depends on the text before it.
    virtual bool DigitsNeedText() const { return false; }
    virtual void DoEnter();
    virtual void DoExit();

    void setValidChars(const TESBCharSet &set);
    // Shows text without touching the null state; raises the change
    // notification when the text differs.
    void setDisplayText(const QString &text);
    // Leaves the null state without redisplay, clearing the null text.
    void LeaveNullAndClear();
    void setNullState(bool on);
    bool LiveGrouping() const;
    void setLiveGrouping(bool on);
    bool TakeNumPadDecimal();
    void setFontColor(TColor c);
    // Writing any colour property turns Color_Defaults off.
    void clearColorDefaults();
    // The typing limit (0: none); a text set from code is never cut.
    int TextLimit() const;
    void setTextLimit(int length);

    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void nativeTextChanged();
    void readOnlyChanged();
    bool KeyDown(int key, Qt::KeyboardModifiers mods, bool keypad);
    void insertTyped(QString typed);
    void PaintFlatBorder(QPainter &painter);
    QColor StateBackground() const;
    void adjustHeight();
    void setColor(TColor &field, TColor c);

    struct Private;
    std::unique_ptr<Private> d;
};

class TESBBaseEdit : public TESBCustomEdit
{
    Q_OBJECT
    Q_PROPERTY(bool BoundsEnabled READ BoundsEnabled WRITE setBoundsEnabled)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE setMaxLength)

public:
    enum TESBBoundsValidationType { bvtBelowLower = 1, bvtAboveUpper = 2 };
    Q_ENUM(TESBBoundsValidationType)

    explicit TESBBaseEdit(QWidget *parent = nullptr);
    ~TESBBaseEdit() override;

    void ApplyColorDefaults() override;
    virtual void CheckBounds();

    bool BoundsEnabled() const;
    virtual void setBoundsEnabled(bool on);
    // 0 means no limit. Limits typing and pasting, never a text set from code.
    int MaxLength() const;
    void setMaxLength(int length);

    TColor ColorFontNeg() const;
    void setColorFontNeg(TColor c);
    TColor ColorFontPos() const;
    void setColorFontPos(TColor c);

    // 0 none, 1 below the lower bound, 2 above the upper bound.
    int LastBoundsError() const;

    // An error dialog with one OK button; the cursor is the arrow meanwhile.
    static void ShowBoundsMessage(QWidget *parent, const QString &message);

    TESBExitStartEvent OnExitStart;

signals:
    void OnBoundsError(QObject *Sender, const QString &Value,
                       TESBBaseEdit::TESBBoundsValidationType ErrType);

protected:
    void DoExit() override;
    void setLastBoundsError(int kind);
    bool BoundsErrorConnected() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};
