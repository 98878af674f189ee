#pragma once

// The numeric edit boxes: a non-negative whole number (TESBPosEdit), a
// non-negative decimal (TESBPosFloatEdit) and a signed decimal (TESBFloatEdit).
// Each filters keys against its own character set, converts its text into a
// stored value on every change and redisplays the value in normalised form.
//
// Values that need more than a double are `long double` and are plain C++
// accessors (AsFloat, AsScaledFloat, Scale, BoundLower/BoundUpper of the
// float edits); the rest are also Qt properties.

#include "widgets/input/ESBPCSBaseEdit.h"
#include "widgets/input/ESBPCSNumFormat.h"

#include <cstdint>

enum class TESBSeparatorStyle {
    essNone, // no grouping
    essExit, // grouped whenever the value is redisplayed
    essAuto, // as essExit, and regrouped live after each key release
};

class TESBBaseNumericEdit : public TESBBaseEdit
{
    Q_OBJECT
    Q_PROPERTY(bool BlankWhenZero READ BlankWhenZero WRITE setBlankWhenZero)
    Q_PROPERTY(TColor ColorFontNeg READ ColorFontNeg WRITE setColorFontNeg)
    Q_PROPERTY(TColor ColorFontPos READ ColorFontPos WRITE setColorFontPos)
    Q_PROPERTY(bool ShowPosSign READ ShowPosSign WRITE setShowPosSign)
    Q_PROPERTY(TESBSeparatorStyle ThousandSeparators READ ThousandSeparators WRITE
                   setThousandSeparators)
    Q_PROPERTY(bool ShowThousandSeparators READ ShowThousandSeparators WRITE
                   setShowThousandSeparators STORED false)
    Q_PROPERTY(bool UseSignToggling READ UseSignToggling WRITE setUseSignToggling)
    Q_PROPERTY(bool ZeroPad READ ZeroPad WRITE setZeroPad)

public:
    explicit TESBBaseNumericEdit(QWidget *parent = nullptr);
    ~TESBBaseNumericEdit() override;

    // Regroups the text as typed so far, keeping the caret where it was
    // relative to the end.
    virtual void InsertThousandSeparators();
    // Reading parses the text first, so the value matches the screen.
    virtual long double AsFloat();
    // Stores and redisplays when the value differs or the edit is null.
    virtual void setAsFloat(long double value);
    bool CustomSeparators() const;
    virtual void setCustomSeparators(bool on);
    QChar CustomThousands() const;
    virtual void setCustomThousands(QChar c);
    QChar CustomDecimal() const;
    virtual void setCustomDecimal(QChar c);
    // Fills the valid-character set from the separators in force.
    virtual void BuildValidChars();

    // The custom pair with CustomSeparators, else the locale's.
    TESBSeparators Separators() const;

    bool BlankWhenZero() const;
    void setBlankWhenZero(bool on);
    bool ShowPosSign() const;
    void setShowPosSign(bool on);
    TESBSeparatorStyle ThousandSeparators() const;
    void setThousandSeparators(TESBSeparatorStyle style);
    bool ShowThousandSeparators() const;
    void setShowThousandSeparators(bool on);
    bool UseSignToggling() const;
    void setUseSignToggling(bool on);
    bool ZeroPad() const;
    void setZeroPad(bool on);
    quint8 DecimalPlaces() const;
    void setDecimalPlaces(quint8 places);
    bool ForceDecimals() const;
    void setForceDecimals(bool on);

protected:
    long double FloatValue() const;
    void setFloatValue(long double value);
    std::int64_t IntValue() const;
    void setIntValue(std::int64_t value);
    bool Grouped() const { return ThousandSeparators() != TESBSeparatorStyle::essNone; }
    // Zero padding, the text and the font colour by sign.
    void ShowFormatted(QString text, bool negative);
    // Reports a bounds violation of the given kind with the bound's text.
    void ReportBoundsError(int kind, const QString &bound);

    bool KeyPress(QChar &key) override;
    QChar DecimalSeparator() const override;
    void keyReleaseEvent(QKeyEvent *event) override;
    // Pasted or dropped text is regrouped as typed text is.
    void TextEntered() override;
    bool DigitsNeedText() const override { return ForceDecimals(); }
    // A sign key changes the values, the shown "+" and the ink.
    void KeepEntryState() override;
    void RestoreEntryState() override;

private:
    // With essAuto: regroups the text as typed so far.
    void RegroupLive();
    void ClearForSignKey();
    void NegateValues();

    struct Private;
    std::unique_ptr<Private> d;
};

class TESBPosEdit : public TESBBaseNumericEdit
{
    Q_OBJECT
    Q_PROPERTY(int AsInteger READ AsInteger WRITE setAsInteger STORED false)
    Q_PROPERTY(qint64 AsInt64 READ AsInt64 WRITE setAsInt64 STORED false)
    Q_PROPERTY(quint32 AsLongWord READ AsLongWord WRITE setAsLongWord)
    Q_PROPERTY(qint32 BoundLower READ BoundLower WRITE setBoundLower)
    Q_PROPERTY(qint32 BoundUpper READ BoundUpper WRITE setBoundUpper)

public:
    explicit TESBPosEdit(QWidget *parent = nullptr);
    ~TESBPosEdit() override;

    void TextToValue() override;
    void ValueToText() override;
    void CheckBounds() override;
    void BuildValidChars() override;

    // The low 32 bits of the value, signed or unsigned; all 64 bits.
    std::int32_t AsInteger();
    void setAsInteger(std::int32_t value);
    std::uint32_t AsLongWord();
    void setAsLongWord(std::uint32_t value);
    std::int64_t AsInt64();
    void setAsInt64(std::int64_t value);

    std::int32_t BoundLower() const;
    void setBoundLower(std::int32_t bound);
    std::int32_t BoundUpper() const;
    void setBoundUpper(std::int32_t bound);

private:
    void writeInt(std::int64_t value);

    std::int32_t m_boundLower = 0;
    std::int32_t m_boundUpper = 0;
};

class TESBPosFloatEdit : public TESBBaseNumericEdit
{
    Q_OBJECT
    Q_PROPERTY(bool TrimTrailingZeroes READ TrimTrailingZeroes WRITE setTrimTrailingZeroes)
    Q_PROPERTY(bool FullAccuracy READ FullAccuracy WRITE setFullAccuracy)
    Q_PROPERTY(bool ForceDecimals READ ForceDecimals WRITE setForceDecimals)
    Q_PROPERTY(quint8 DecimalPlaces READ DecimalPlaces WRITE setDecimalPlaces)

public:
    explicit TESBPosFloatEdit(QWidget *parent = nullptr);
    ~TESBPosFloatEdit() override;

    void TextToValue() override;
    void ValueToText() override;
    void CheckBounds() override;
    void BuildValidChars() override;

    // The displayed number; AsFloat = AsScaledFloat x Scale.
    long double AsScaledFloat();
    void setAsScaledFloat(long double value);
    // Always positive; a magnitude below ZeroTolerance becomes 1.
    long double Scale() const;
    void setScale(long double scale);

    bool TrimTrailingZeroes() const;
    void setTrimTrailingZeroes(bool on);
    // Keeps a value written from code at full precision until the text is
    // edited.
    bool FullAccuracy() const;
    void setFullAccuracy(bool on);

    long double BoundLower() const;
    void setBoundLower(long double bound);
    long double BoundUpper() const;
    void setBoundUpper(long double bound);

protected:
    // "+", the digits and both separators.
    QString FloatChars() const;

private:
    long double storedScaled() const;
    QString plainText(long double scaled) const;

    long double m_boundLower = 0;
    long double m_boundUpper = 0;
    bool m_fullAccuracy = false;
    long double m_scale = 1;
    bool m_trimTrailingZeroes = false;

    // The last number formatted and its text: the value is read on every
    // tick of a running window, and formatting is the dear part of reading.
    struct PlainMemo
    {
        long double scaled = 0;
        int places = -1;
        bool grouped = false;
        TESBSeparators separators;
        QString text;
    };
    mutable PlainMemo m_plainMemo;
};

// The signed decimal edit: "-" is a valid character.
class TESBFloatEdit : public TESBPosFloatEdit
{
    Q_OBJECT

public:
    explicit TESBFloatEdit(QWidget *parent = nullptr);
    ~TESBFloatEdit() override;

    void BuildValidChars() override;
};
