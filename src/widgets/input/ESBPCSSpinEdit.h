#pragma once

// The floating-point spin edit: a borderless panel with a signed numeric
// editor on the left and two auto-repeating arrow buttons on the right. The
// value moves by typing, by the buttons and Up/Down (Step) and by PgUp/PgDn
// (PageStep), and is kept inside [Min, Max].

#include "widgets/input/ESBPCSNumEdit.h"

#include <QFrame>
#include <QImage>
#include <QToolButton>

// The 9 x 7 arrow glyph built into the program ("UPGLYPH" or "DOWNGLYPH"),
// with its white pixels transparent.
QImage ESBSpinGlyph(bool up);

// The value one spin of `delta` (either sign) moves `value` to: past an end it
// stops there, or with `wrap` turns over to the other end when it already
// stood on the end it is moving towards.
long double SpinTarget(long double value, long double delta, long double min, long double max,
                       bool wrap);

// A flat-capable arrow button that, when Repeatable, clicks again every
// Interval ms while it is held down with the pointer over it.
class TESBSpeedBtn : public QToolButton
{
    Q_OBJECT
    Q_PROPERTY(uint Interval READ Interval WRITE setInterval)
    Q_PROPERTY(bool Repeatable READ Repeatable WRITE setRepeatable)

public:
    explicit TESBSpeedBtn(QWidget *parent = nullptr);

    uint Interval() const { return m_interval; }
    void setInterval(uint ms);
    bool Repeatable() const { return m_repeatable; }
    void setRepeatable(bool on);
    // True from mouse-down to mouse-up.
    bool Held() const { return m_held; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void applyRepeat();

    uint m_interval = 400;
    bool m_repeatable = false;
    bool m_held = false;
};

// A plain panel that keeps its height in step with its font.
class TESBCustomPanel : public QFrame
{
    Q_OBJECT

public:
    explicit TESBCustomPanel(QWidget *parent = nullptr);

    virtual void AdjustHeight() {}
    virtual bool Color_Defaults() const { return true; }
    virtual void setColor_Defaults(bool) {}

protected:
    void changeEvent(QEvent *event) override;
};

// A panel around an editor: the edit operations, neutral here, forwarded to
// the editor by the concrete control.
class TESBCustomBtnPanel : public TESBCustomPanel
{
    Q_OBJECT

public:
    using TESBCustomPanel::TESBCustomPanel;

    virtual int SelLength() const { return 0; }
    virtual int SelStart() const { return 0; }
    virtual void setSelLength(int) {}
    virtual void setSelStart(int) {}
    virtual QString SelText() const { return {}; }
    virtual void setSelText(const QString &) {}
    virtual bool Modified() const { return false; }
    virtual void setModified(bool) {}
    virtual QString Text() const { return {}; }
    virtual void setText(const QString &) {}
    virtual void setLineEdit(bool) {}
    virtual bool LineEdit() const { return false; }
    virtual void setFlatBorder(int) {}
    virtual int FlatBorder() const { return 2; }
    virtual TColor ColorFontNeg() const { return clNone; }
    virtual TColor ColorFontPos() const { return clNone; }
    virtual TColor ColorFocus() const { return clNone; }
    virtual TColor ColorRO() const { return clNone; }
    virtual TColor ColorRW() const { return clNone; }
    virtual TColor ColorBorderFocus() const { return clNone; }
    virtual TColor ColorBorderUnfocus() const { return clNone; }
    virtual TColor ColorDisabled() const { return clNone; }
    virtual void setColorFontNeg(TColor) {}
    virtual void setColorFontPos(TColor) {}
    virtual void setColorFocus(TColor) {}
    virtual void setColorRO(TColor) {}
    virtual void setColorRW(TColor) {}
    virtual void setColorBorderFocus(TColor) {}
    virtual void setColorBorderUnfocus(TColor) {}
    virtual void setColorDisabled(TColor) {}
    virtual void Clear() {}
    virtual void ClearSelection() {}
    virtual void CopyToClipboard() {}
    virtual void CutToClipboard() {}
    virtual void PasteFromClipboard() {}
    virtual void Undo() {}
    virtual void ClearUndo() {}
    // Copies at most size - 1 characters of the selection and a terminating
    // 0 into buffer; returns the number copied.
    virtual int GetSelTextBuf(QChar *buffer, int size) const;
    virtual void SelectAll() {}
    virtual void SetSelTextBuf(const QChar *buffer) { setSelText(QString(buffer)); }
};

class TESBFloatSpinEdit : public TESBCustomBtnPanel
{
    Q_OBJECT
    Q_PROPERTY(quint8 DecimalPlaces READ DecimalPlaces WRITE setDecimalPlaces)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE setMaxLength)
    Q_PROPERTY(bool Wrap READ Wrap WRITE setWrap)
    Q_PROPERTY(bool Arrows READ Arrows WRITE setArrows)
    Q_PROPERTY(bool EditorEnabled READ EditorEnabled WRITE setEditorEnabled)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE setReadOnly)
    Q_PROPERTY(uint Interval READ Interval WRITE setInterval)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE setAlignment)
    Q_PROPERTY(bool TabStop READ TabStop WRITE setTabStop)
    Q_PROPERTY(bool FlatEdit READ FlatEdit WRITE setFlatEdit)
    Q_PROPERTY(bool FlatSpinBtns READ FlatSpinBtns WRITE setFlatSpinBtns)
    Q_PROPERTY(bool StoreValue READ StoreValue WRITE setStoreValue)
    Q_PROPERTY(QString Text READ Text WRITE setText STORED false)

public:
    explicit TESBFloatSpinEdit(QWidget *parent = nullptr);
    ~TESBFloatSpinEdit() override;

    // Layout loading: the editor raises no change while loading; Loaded()
    // lays the children out.
    void beginLoading();
    void Loaded();

    // Reading corrects an out-of-range text (0 is returned as it is);
    // writing clamps into [Min, Max]. A NaN written to any of the three is
    // ignored.
    long double Value();
    void setValue(long double value);
    long double Min() const { return m_min; }
    void setMin(long double value);
    long double Max() const { return m_max; }
    void setMax(long double value);
    long double Step() const { return m_step; }
    void setStep(long double value) { m_step = value; }
    long double PageStep() const { return m_pageStep; }
    void setPageStep(long double value) { m_pageStep = value; }

    void StepUp();
    void StepDown();

    bool Wrap() const { return m_wrap; }
    void setWrap(bool on) { m_wrap = on; }
    bool Arrows() const { return m_arrows; }
    void setArrows(bool on) { m_arrows = on; }
    bool EditorEnabled() const { return m_editorEnabled; }
    void setEditorEnabled(bool on) { m_editorEnabled = on; }
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool on);
    uint Interval() const { return m_interval; }
    void setInterval(uint ms);
    bool AutoSize() const;
    void setAutoSize(bool on);
    bool TabStop() const;
    void setTabStop(bool on);
    bool FlatEdit() const;
    void setFlatEdit(bool on);
    bool FlatSpinBtns() const { return m_flatSpinBtns; }
    void setFlatSpinBtns(bool on);
    bool StoreValue() const { return m_storeValue; }
    void setStoreValue(bool on) { m_storeValue = on; }

    // Kept in the editor.
    quint8 DecimalPlaces() const;
    void setDecimalPlaces(quint8 places);
    int MaxLength() const;
    void setMaxLength(int length);
    TAlignment Alignment() const;
    void setAlignment(TAlignment alignment);
    TESBSeparatorStyle ThousandSeparators() const;
    void setThousandSeparators(TESBSeparatorStyle style);
    bool ShowThousandSeparators() const;
    void setShowThousandSeparators(bool on);
    bool ZeroPad() const;
    void setZeroPad(bool on);
    bool FullAccuracy() const;
    void setFullAccuracy(bool on);
    bool BlankWhenZero() const;
    void setBlankWhenZero(bool on);
    bool BlankWhenNull() const;
    void setBlankWhenNull(bool on);
    bool AllowKbdNull() const;
    void setAllowKbdNull(bool on);
    bool Null() const;
    void setNull(bool on);
    QString NullStr() const;
    void setNullStr(const QString &text);
    bool Color_Defaults() const override;
    void setColor_Defaults(bool on) override;
    QString AsString() const { return Text(); }
    void setAsString(const QString &text) { setText(text); }

    // The editor's operations.
    int SelLength() const override;
    int SelStart() const override;
    void setSelLength(int length) override;
    void setSelStart(int start) override;
    QString SelText() const override;
    void setSelText(const QString &text) override;
    bool Modified() const override;
    void setModified(bool on) override;
    QString Text() const override;
    void setText(const QString &text) override;
    void setLineEdit(bool on) override;
    bool LineEdit() const override;
    void setFlatBorder(int width) override;
    int FlatBorder() const override;
    TColor ColorFontNeg() const override;
    TColor ColorFontPos() const override;
    TColor ColorFocus() const override;
    TColor ColorRO() const override;
    TColor ColorRW() const override;
    TColor ColorBorderFocus() const override;
    TColor ColorBorderUnfocus() const override;
    TColor ColorDisabled() const override;
    void setColorFontNeg(TColor c) override;
    void setColorFontPos(TColor c) override;
    void setColorFocus(TColor c) override;
    void setColorRO(TColor c) override;
    void setColorRW(TColor c) override;
    void setColorBorderFocus(TColor c) override;
    void setColorBorderUnfocus(TColor c) override;
    void setColorDisabled(TColor c) override;
    void Clear() override;
    void ClearSelection() override;
    void CopyToClipboard() override;
    void CutToClipboard() override;
    void PasteFromClipboard() override;
    void Undo() override;
    void ClearUndo() override;
    void SelectAll() override;
    void AdjustHeight() override;

    TESBFloatEdit *editor() const { return m_editor; }
    TESBSpeedBtn *upButton() const { return m_upButton; }
    TESBSpeedBtn *downButton() const { return m_downButton; }

    // The editor's key events (Sender = the editor), before the spin edit's
    // own keys; they may change or clear the key.
    TESBKeyDownEvent OnKeyDown;
    TESBKeyPressEvent OnKeyPress;

signals:
    // Sender is the spin edit.
    void OnChange(QObject *Sender);
    // Sender is the button; raised before the step is applied.
    void OnUpClick(QObject *Sender);
    void OnDownClick(QObject *Sender);
    void OnNull(QObject *Sender);
    void OnEnter(QObject *Sender);
    void OnExit(QObject *Sender);

protected:
    void resizeEvent(QResizeEvent *event) override;
    virtual void EditorEnter();
    virtual void EditorExit();

private:
    void LayoutChildren();
    void EditorKeyDown(int key, Qt::KeyboardModifiers shift);
    void WriteEditor(long double value);
    void SpinBy(long double delta);
    void RestoreArrowsNavigate();

    TESBFloatEdit *m_editor = nullptr;
    TESBSpeedBtn *m_upButton = nullptr;
    TESBSpeedBtn *m_downButton = nullptr;
    long double m_min = 0;
    long double m_max = 100;
    long double m_step = 1;
    long double m_pageStep = 10;
    uint m_interval = 400;
    bool m_wrap = false;
    bool m_arrows = true;
    bool m_editorEnabled = true;
    bool m_readOnly = false;
    bool m_flatSpinBtns = false;
    bool m_storeValue = true;
    bool m_autoSize = true;
    // ArrowsNavigate as it was when the editor took focus, while switched off.
    bool m_arrowsSaved = false;
    bool m_savedArrowsNavigate = true;
};
