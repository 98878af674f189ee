#include "widgets/input/ESBPCSNumEdit.h"

#include <QKeyEvent>
#include <QPalette>
#include <QLocale>
#include <QTimer>

#include <cmath>
#include <limits>

namespace {

QChar firstChar(const QString &s, char fallback)
{
    return s.isEmpty() ? QLatin1Char(fallback) : s.at(0);
}

QChar localeThousands()
{
    return firstChar(QLocale().groupSeparator(), ',');
}

QChar localeDecimal()
{
    return firstChar(QLocale().decimalPoint(), '.');
}

// Negation that cannot overflow: the minimum value turns into the maximum.
std::int64_t negated(std::int64_t v)
{
    return v == std::numeric_limits<std::int64_t>::min() ? std::numeric_limits<std::int64_t>::max()
                                                         : -v;
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

const QString BelowMessage = QStringLiteral("Your entered Value is below the acceptable limit of ");
const QString AboveMessage = QStringLiteral("Your entered Value is above the acceptable limit of ");

} // namespace

// --- TESBBaseNumericEdit ----------------------------------------------------

struct TESBBaseNumericEdit::Private {
    bool blankWhenZero = false;
    long double floatValue = 0;
    std::int64_t intValue = 0;
    bool showPosSign = false;
    bool useSignToggling = true;
    bool zeroPad = false;
    TESBSeparatorStyle thousandSeparators = TESBSeparatorStyle::essNone;
    bool customSeparators = false;
    QChar customThousands;
    QChar customDecimal;
    quint8 decimalPlaces = 4;
    bool forceDecimals = false;
    // What a refused text gives back (see KeepEntryState).
    struct Kept {
        long double floatValue = 0;
        std::int64_t intValue = 0;
        bool showPosSign = false;
        QPalette palette;
    } kept;
};

TESBBaseNumericEdit::TESBBaseNumericEdit(QWidget *parent)
    : TESBBaseEdit(parent), d(std::make_unique<Private>())
{
    d->customThousands = localeThousands();
    d->customDecimal = localeDecimal();
    // Every character must pass the key rules; composed input would skip them.
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

TESBBaseNumericEdit::~TESBBaseNumericEdit() = default;

TESBSeparators TESBBaseNumericEdit::Separators() const
{
    if (d->customSeparators)
        return {d->customDecimal, d->customThousands};
    return {localeDecimal(), localeThousands()};
}

QChar TESBBaseNumericEdit::DecimalSeparator() const
{
    return Separators().Decimal;
}

void TESBBaseNumericEdit::BuildValidChars() {}

long double TESBBaseNumericEdit::FloatValue() const { return d->floatValue; }
void TESBBaseNumericEdit::setFloatValue(long double value) { d->floatValue = value; }
std::int64_t TESBBaseNumericEdit::IntValue() const { return d->intValue; }
void TESBBaseNumericEdit::setIntValue(std::int64_t value) { d->intValue = value; }

long double TESBBaseNumericEdit::AsFloat()
{
    TextToValue();
    return d->floatValue;
}

void TESBBaseNumericEdit::setAsFloat(long double value)
{
    if (!std::isfinite(value))
        value = 0;
    if (value == d->floatValue && !Null())
        return;
    d->floatValue = value;
    setNullState(false);
    ValueToText();
}

bool TESBBaseNumericEdit::CustomSeparators() const { return d->customSeparators; }
QChar TESBBaseNumericEdit::CustomThousands() const { return d->customThousands; }
QChar TESBBaseNumericEdit::CustomDecimal() const { return d->customDecimal; }

void TESBBaseNumericEdit::setCustomSeparators(bool on)
{
    if (d->customSeparators == on)
        return;
    d->customSeparators = on;
    BuildValidChars();
    ValueToText();
}

void TESBBaseNumericEdit::setCustomThousands(QChar c)
{
    if (d->customThousands == c)
        return;
    d->customThousands = c;
    BuildValidChars();
    ValueToText();
}

void TESBBaseNumericEdit::setCustomDecimal(QChar c)
{
    if (d->customDecimal == c)
        return;
    d->customDecimal = c;
    BuildValidChars();
    ValueToText();
}

bool TESBBaseNumericEdit::BlankWhenZero() const { return d->blankWhenZero; }

void TESBBaseNumericEdit::setBlankWhenZero(bool on)
{
    if (d->blankWhenZero == on)
        return;
    d->blankWhenZero = on;
    ValueToText();
}

bool TESBBaseNumericEdit::ShowPosSign() const { return d->showPosSign; }

void TESBBaseNumericEdit::setShowPosSign(bool on)
{
    if (d->showPosSign == on)
        return;
    d->showPosSign = on;
    ValueToText();
}

TESBSeparatorStyle TESBBaseNumericEdit::ThousandSeparators() const
{
    return d->thousandSeparators;
}

void TESBBaseNumericEdit::setThousandSeparators(TESBSeparatorStyle style)
{
    if (d->thousandSeparators == style)
        return;
    d->thousandSeparators = style;
    ValueToText();
}

bool TESBBaseNumericEdit::ShowThousandSeparators() const
{
    return d->thousandSeparators != TESBSeparatorStyle::essNone;
}

void TESBBaseNumericEdit::setShowThousandSeparators(bool on)
{
    setThousandSeparators(on ? TESBSeparatorStyle::essExit : TESBSeparatorStyle::essNone);
}

bool TESBBaseNumericEdit::UseSignToggling() const { return d->useSignToggling; }
void TESBBaseNumericEdit::setUseSignToggling(bool on) { d->useSignToggling = on; }

bool TESBBaseNumericEdit::ZeroPad() const { return d->zeroPad; }

void TESBBaseNumericEdit::setZeroPad(bool on)
{
    if (d->zeroPad == on)
        return;
    d->zeroPad = on;
    ValueToText();
}

quint8 TESBBaseNumericEdit::DecimalPlaces() const { return d->decimalPlaces; }

void TESBBaseNumericEdit::setDecimalPlaces(quint8 places)
{
    if (d->decimalPlaces == places)
        return;
    d->decimalPlaces = places;
    ValueToText();
}

bool TESBBaseNumericEdit::ForceDecimals() const { return d->forceDecimals; }
void TESBBaseNumericEdit::setForceDecimals(bool on) { d->forceDecimals = on; }

void TESBBaseNumericEdit::ShowFormatted(QString shown, bool negative)
{
    if (d->zeroPad && MaxLength() > 0)
        shown = ESBZeroPad(shown, MaxLength());
    setDisplayText(shown);
    setFontColor(negative ? ColorFontNeg() : ColorFontPos());
}

void TESBBaseNumericEdit::ReportBoundsError(int kind, const QString &bound)
{
    setLastBoundsError(kind);
    if (kind == 0)
        return;
    if (BoundsErrorConnected()) {
        emit OnBoundsError(this, text(), TESBBoundsValidationType(kind));
        return;
    }
    ShowBoundsMessage(this, (kind == 1 ? BelowMessage : AboveMessage) + bound);
    // Back into the edit once the exit that checked the bounds has finished.
    QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
}

void TESBBaseNumericEdit::ClearForSignKey()
{
    if (Null())
        LeaveNullAndClear();
    else if (hasSelectedText())
        del();
}

void TESBBaseNumericEdit::NegateValues()
{
    d->intValue = negated(d->intValue);
    d->floatValue = -d->floatValue;
}

bool TESBBaseNumericEdit::KeyPress(QChar &key)
{
    if (OnKeyPress) {
        OnKeyPress(this, key);
        if (key.isNull())
            return false;
    }
    if (TakeNumPadDecimal())
        key = Separators().Decimal;
    const TESBCharSet valid = ValidChars();
    if (!valid.isEmpty() && valid.contains(key)) {
        const TESBSeparators seps = Separators();
        if (key == QLatin1Char('+')) {
            if (d->useSignToggling)
                d->showPosSign = !d->showPosSign;
            ClearForSignKey();
            if (text().isEmpty())
                return d->showPosSign ? BaseKeyFilter(key) : false;
            TextToValue();
            if (d->intValue < 0 || d->floatValue < 0)
                NegateValues();
            ValueToText();
            return false;
        }
        if (key == QLatin1Char('-')) {
            ClearForSignKey();
            if (!text().isEmpty()) {
                TextToValue();
                if (d->useSignToggling || d->intValue > 0 || d->floatValue > 0)
                    NegateValues();
                ValueToText();
                return false;
            }
        } else if (key == seps.Decimal) {
            ClearForSignKey();
            if (text().contains(seps.Decimal)) {
                Refuse();
                return false;
            }
        } else if (isDigit(key) && d->forceDecimals && !hasSelectedText()) {
            // Refuse a digit that would lengthen a full fraction.
            const qsizetype point = text().indexOf(seps.Decimal);
            if (point >= 0 && cursorPosition() > point &&
                text().size() - point - 1 >= d->decimalPlaces) {
                Refuse(false);
                return false;
            }
        }
    }
    return BaseKeyFilter(key);
}

void TESBBaseNumericEdit::keyReleaseEvent(QKeyEvent *event)
{
    TESBBaseEdit::keyReleaseEvent(event);
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Up:
    case Qt::Key_Down: return;
    default: break;
    }
    RegroupLive();
}

void TESBBaseNumericEdit::TextEntered()
{
    RegroupLive();
}

void TESBBaseNumericEdit::KeepEntryState()
{
    d->kept = {d->floatValue, d->intValue, d->showPosSign, palette()};
}

void TESBBaseNumericEdit::RestoreEntryState()
{
    // The kept values, not a parse of the old text: a value written from
    // code keeps its full precision.
    d->floatValue = d->kept.floatValue;
    d->intValue = d->kept.intValue;
    d->showPosSign = d->kept.showPosSign;
    if (palette() != d->kept.palette)
        setPalette(d->kept.palette);
}

void TESBBaseNumericEdit::RegroupLive()
{
    if (d->thousandSeparators != TESBSeparatorStyle::essAuto)
        return;
    struct LiveFlag {
        TESBBaseNumericEdit *edit;
        explicit LiveFlag(TESBBaseNumericEdit *e) : edit(e) { edit->setLiveGrouping(true); }
        ~LiveFlag() { edit->setLiveGrouping(false); }
    } live(this);
    InsertThousandSeparators();
}

void TESBBaseNumericEdit::InsertThousandSeparators()
{
    const QString old = text();
    const QString grouped = ESBRegroupText(old, Separators());
    // Nothing to regroup: leave the caret and any selection alone.
    if (grouped.isEmpty() || grouped == old)
        return;
    const qsizetype caret = cursorPosition();
    setAsString(grouped);
    const qsizetype newCaret = caret + grouped.size() - old.size();
    setCursorPosition(int(std::clamp<qsizetype>(newCaret, 0, text().size())));
}

// --- TESBPosEdit -------------------------------------------------------------

TESBPosEdit::TESBPosEdit(QWidget *parent) : TESBBaseNumericEdit(parent)
{
    TESBPosEdit::BuildValidChars();
    TESBPosEdit::ValueToText();
}

TESBPosEdit::~TESBPosEdit() = default;

void TESBPosEdit::BuildValidChars()
{
    setValidChars({false, QStringLiteral("+0123456789") + Separators().Thousands});
}

void TESBPosEdit::TextToValue()
{
    if (Null()) {
        setIntValue(0);
        return;
    }
    setIntValue(ESBTryParseInt64(text(), Separators().Thousands).value_or(0));
}

void TESBPosEdit::ValueToText()
{
    if (Null()) {
        TESBCustomEdit::ValueToText();
        return;
    }
    const std::int64_t v = IntValue();
    QString shown;
    if (!(BlankWhenZero() && v == 0)) {
        shown = ESBFormatInt64(v, Grouped(), Separators().Thousands);
        if (ShowPosSign() && v > 0)
            shown.prepend(QLatin1Char('+'));
    }
    ShowFormatted(shown, v < 0);
}

void TESBPosEdit::CheckBounds()
{
    if (!BoundsEnabled())
        return;
    const std::int64_t v = IntValue();
    if (v < m_boundLower)
        ReportBoundsError(1, QString::number(m_boundLower));
    else if (v > m_boundUpper)
        ReportBoundsError(2, QString::number(m_boundUpper));
    else
        setLastBoundsError(0);
}

void TESBPosEdit::writeInt(std::int64_t value)
{
    if (value == IntValue() && !Null())
        return;
    setIntValue(value);
    setNullState(false);
    ValueToText();
}

std::int32_t TESBPosEdit::AsInteger()
{
    TextToValue();
    return std::int32_t(std::uint32_t(std::uint64_t(IntValue())));
}

void TESBPosEdit::setAsInteger(std::int32_t value)
{
    writeInt(value);
}

std::uint32_t TESBPosEdit::AsLongWord()
{
    TextToValue();
    return std::uint32_t(std::uint64_t(IntValue()));
}

void TESBPosEdit::setAsLongWord(std::uint32_t value)
{
    writeInt(std::int64_t(value));
}

std::int64_t TESBPosEdit::AsInt64()
{
    TextToValue();
    return IntValue();
}

void TESBPosEdit::setAsInt64(std::int64_t value)
{
    writeInt(value);
}

std::int32_t TESBPosEdit::BoundLower() const { return m_boundLower; }
void TESBPosEdit::setBoundLower(std::int32_t bound) { m_boundLower = bound; }
std::int32_t TESBPosEdit::BoundUpper() const { return m_boundUpper; }
void TESBPosEdit::setBoundUpper(std::int32_t bound) { m_boundUpper = bound; }

// --- TESBPosFloatEdit --------------------------------------------------------

TESBPosFloatEdit::TESBPosFloatEdit(QWidget *parent) : TESBBaseNumericEdit(parent)
{
    TESBPosFloatEdit::BuildValidChars();
    TESBPosFloatEdit::ValueToText();
}

TESBPosFloatEdit::~TESBPosFloatEdit() = default;

QString TESBPosFloatEdit::FloatChars() const
{
    const TESBSeparators seps = Separators();
    return QStringLiteral("+0123456789") + seps.Thousands + seps.Decimal;
}

void TESBPosFloatEdit::BuildValidChars()
{
    setValidChars({false, FloatChars()});
}

long double TESBPosFloatEdit::storedScaled() const
{
    return m_scale < ZeroTolerance ? 0.0L : FloatValue() / m_scale;
}

QString TESBPosFloatEdit::plainText(long double scaled) const
{
    const int places = DecimalPlaces();
    const bool grouped = Grouped();
    const TESBSeparators separators = Separators();
    PlainMemo &m = m_plainMemo;
    // A NaN formats as a NaN, and a negative zero may not format as zero.
    const bool sameNumber = (m.scaled == scaled && std::signbit(m.scaled) == std::signbit(scaled))
                            || (std::isnan(m.scaled) && std::isnan(scaled));
    if (m.places != places || m.grouped != grouped || m.separators.Decimal != separators.Decimal
        || m.separators.Thousands != separators.Thousands || !sameNumber)
        m = {scaled, places, grouped, separators, ESBFormatFloat(scaled, places, grouped, separators)};
    return m.text;
}

void TESBPosFloatEdit::TextToValue()
{
    if (Null()) {
        setFloatValue(0);
        return;
    }
    // A value written from code keeps its precision while the text still
    // shows it unchanged.
    if (m_fullAccuracy && text() == plainText(storedScaled()))
        return;
    const long double x =
        ParseFloatText(text(), Separators(), ESBInputOptions().RaiseConvertErrors);
    long double v = x * m_scale;
    if (!std::isfinite(v))
        v = 0;
    if (v != FloatValue())
        setFloatValue(v);
}

void TESBPosFloatEdit::ValueToText()
{
    if (Null()) {
        TESBCustomEdit::ValueToText();
        return;
    }
    const long double x = storedScaled();
    QString shown;
    if (!(BlankWhenZero() && std::fabs(x) < ZeroTolerance)) {
        shown = plainText(x);
        if (!shown.isEmpty() && ShowPosSign() && x > 0)
            shown.prepend(QLatin1Char('+'));
    }
    if (m_trimTrailingZeroes)
        shown = ESBTrimTrailingZeroes(shown, Separators().Decimal);
    ShowFormatted(shown, x < 0);
}

void TESBPosFloatEdit::CheckBounds()
{
    if (!BoundsEnabled())
        return;
    const long double v = FloatValue();
    auto boundText = [this](long double b) {
        return ESBFormatFloat(b, DecimalPlaces(), false, Separators());
    };
    if (v < m_boundLower)
        ReportBoundsError(1, boundText(m_boundLower));
    else if (!(v <= m_boundUpper))
        ReportBoundsError(2, boundText(m_boundUpper));
    else
        setLastBoundsError(0);
}

long double TESBPosFloatEdit::AsScaledFloat()
{
    TextToValue();
    return storedScaled();
}

void TESBPosFloatEdit::setAsScaledFloat(long double value)
{
    long double v = value * m_scale;
    if (!std::isfinite(v))
        v = 0;
    if (v == FloatValue() && !Null())
        return;
    setFloatValue(v);
    setNullState(false);
    ValueToText();
}

long double TESBPosFloatEdit::Scale() const { return m_scale; }

void TESBPosFloatEdit::setScale(long double scale)
{
    scale = std::fabs(scale);
    if (!(scale >= ZeroTolerance) || !std::isfinite(scale))
        scale = 1;
    if (scale == m_scale)
        return;
    m_scale = scale;
    ValueToText();
}

bool TESBPosFloatEdit::TrimTrailingZeroes() const { return m_trimTrailingZeroes; }

void TESBPosFloatEdit::setTrimTrailingZeroes(bool on)
{
    if (m_trimTrailingZeroes == on)
        return;
    m_trimTrailingZeroes = on;
    ValueToText();
}

bool TESBPosFloatEdit::FullAccuracy() const { return m_fullAccuracy; }

void TESBPosFloatEdit::setFullAccuracy(bool on)
{
    m_fullAccuracy = on;
    if (!on)
        TextToValue();
}

long double TESBPosFloatEdit::BoundLower() const { return m_boundLower; }
void TESBPosFloatEdit::setBoundLower(long double bound) { m_boundLower = bound; }
long double TESBPosFloatEdit::BoundUpper() const { return m_boundUpper; }
void TESBPosFloatEdit::setBoundUpper(long double bound) { m_boundUpper = bound; }

// --- TESBFloatEdit -----------------------------------------------------------

TESBFloatEdit::TESBFloatEdit(QWidget *parent) : TESBPosFloatEdit(parent)
{
    TESBFloatEdit::BuildValidChars();
}

TESBFloatEdit::~TESBFloatEdit() = default;

void TESBFloatEdit::BuildValidChars()
{
    setValidChars({false, FloatChars() + QLatin1Char('-')});
}
