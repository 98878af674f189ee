// The readout's ten display formats: for any value (NaN, infinities and
// subnormals included) and any precision the number text is the overflow
// indicator or a number of its format that reads back to the value within
// the digits shown; a date-time text names the right day and time; a real
// readout shows that text or the overflow indicator, and paints.
//
// Input: display type, precision, flags (0x01 Comma, 0x02 ForcePlusSign),
// eight bytes of value, then the date-time pattern / state text as UTF-8.

#include "FuzzSupport.h"
#include "widgets/display/NumLab.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

const QString kOverflow = QStringLiteral("*********");

QString describe(double v, const TNumLabFormat &f, const QString &text)
{
    return QStringLiteral("type %1 precision %2 comma %3 plus %4 value %5 -> \"%6\"")
        .arg(int(f.DisplayType))
        .arg(f.Precision)
        .arg(f.Comma)
        .arg(f.ForcePlusSign)
        .arg(v, 0, 'g', 17)
        .arg(text.left(200));
}

bool matches(const QString &pattern, const QString &text)
{
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(text).hasMatch();
}

// The number a decimal text stands for, whatever its decimal mark.
double readBack(QString text)
{
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    if (text.startsWith(QLatin1Char('+')))
        text.remove(0, 1);
    return std::strtod(text.toLatin1().constData(), nullptr);
}

bool hasNonZeroDigit(const QString &text)
{
    for (QChar c : text) {
        if (c == QLatin1Char('e') || c == QLatin1Char('E'))
            break;
        if (c >= QLatin1Char('1') && c <= QLatin1Char('9'))
            return true;
    }
    return false;
}

// A leading "+" exactly when forced for a value above zero; a "-" only for a
// value below zero that does not show as zero.
bool signRight(const QString &text, double v, const TNumLabFormat &f)
{
    const bool plus = text.startsWith(QLatin1Char('+'));
    const bool minus = text.startsWith(QLatin1Char('-'));
    if (plus != (f.ForcePlusSign && v > 0))
        return false;
    if (minus)
        return v < 0 && hasNonZeroDigit(text);
    return !(v < 0 && hasNonZeroDigit(text));
}

void checkDecimalForms(double v, const TNumLabFormat &f, const QString &text)
{
    const int p = f.Precision;
    const QString mark = f.Comma ? QStringLiteral(",") : QStringLiteral("\\.");
    const QString info = describe(v, f, text);
    FuzzCheck(signRight(text, v, f), "sign", info);
    const double back = readBack(text);
    const double mag = std::fabs(v);
    switch (f.DisplayType) {
    case TDisplay::dtFixP:
    case TDisplay::dtInt: {
        const int places = f.DisplayType == TDisplay::dtInt ? 0 : p;
        const QString frac = places > 0 ? mark + QStringLiteral("\\d{%1}").arg(places) : QString();
        FuzzCheck(matches(QStringLiteral("[+-]?\\d+") + frac, text), "fixed-point form", info);
        FuzzCheck(std::fabs(back - v) <= 0.5 * std::pow(10.0, -places) * (1 + 1e-9) + mag * 0x1p-52,
                  "fixed-point value", info);
        break;
    }
    case TDisplay::dtFloat:
    case TDisplay::dtExp: {
        const int digits = std::max(p, 1);
        if (f.DisplayType == TDisplay::dtFloat) {
            FuzzCheck(matches(QStringLiteral("[+-]?\\d+(%1\\d+)?(e[+-]\\d{2,3})?").arg(mark), text),
                      "general form", info);
        } else {
            const QString frac =
                digits > 1 ? mark + QStringLiteral("\\d{%1}").arg(digits - 1) : QString();
            FuzzCheck(matches(QStringLiteral("[+-]?\\d") + frac + QStringLiteral("E[+-]\\d{2,3}"),
                              text),
                      "exponent form", info);
        }
        FuzzCheck(std::fabs(back - v) <= mag * 0.5 * std::pow(10.0, 1 - digits) * (1 + 1e-9) + 5e-324,
                  "significant digits value", info);
        break;
    }
    case TDisplay::dtZeroInt:
        FuzzCheck(matches(QStringLiteral("[+-]?\\d{%1,}").arg(std::max(p, 1)), text),
                  "zero-padded form", info);
        FuzzCheck(back == std::nearbyint(v), "zero-padded value", info);
        break;
    default:
        break;
    }
}

// The lowest digits of the 32-bit two's complement of the rounded value.
void checkRadixForm(double v, const TNumLabFormat &f, const QString &text, int bitsPerDigit,
                    int maxDigits)
{
    const QString info = describe(v, f, text);
    const int q = std::min(f.Precision, maxDigits);
    QString digits = text;
    if (f.DisplayType == TDisplay::dtOct && f.ForcePlusSign && v > 0) {
        FuzzCheck(digits.startsWith(QLatin1Char('+')), "forced plus on octal", info);
        digits.remove(0, 1);
    }
    const QString set = bitsPerDigit == 4 ? QStringLiteral("[0-9A-F]")
                        : bitsPerDigit == 3 ? QStringLiteral("[0-7]")
                                            : QStringLiteral("[01]");
    FuzzCheck(matches(set + QStringLiteral("{0,%1}").arg(q), digits), "radix form", info);
    if (digits.isEmpty())
        return;
    const auto bits = std::uint32_t(std::int64_t(std::nearbyint(v)));
    const int shown = int(digits.size()) * bitsPerDigit;
    const std::uint64_t mask = shown >= 32 ? 0xFFFFFFFFull : ((1ull << shown) - 1);
    bool ok = false;
    const std::uint64_t read = digits.toULongLong(&ok, 1 << bitsPerDigit);
    FuzzCheck(ok && read == (bits & mask), "radix digits are the low bits", info);
}

void checkDateTime(double v)
{
    const QString text = FormatDateTimePattern(QStringLiteral("yyyy/mm/dd hh:nn:ss.zzz"), v);
    if (text.isEmpty())
        return;
    const QDateTime dt =
        QDateTime::fromString(text, QStringLiteral("yyyy/MM/dd hh:mm:ss.zzz"));
    const QString info = QStringLiteral("%1 -> %2").arg(v, 0, 'g', 17).arg(text);
    FuzzCheck(dt.isValid(), "a date-time text is a valid date and time", info);
    const double whole = std::trunc(v);
    FuzzCheck(QDate(1899, 12, 30).daysTo(dt.date()) == std::int64_t(whole), "day count", info);
    const double ms = std::fabs(v - whole) * 86400000.0;
    FuzzCheck(std::fabs(dt.time().msecsSinceStartOfDay() - std::min(ms, 86399999.0)) <= 1.0,
              "time of day", info);
}

void checkReadout(double v, const TNumLabFormat &f, const QString &text)
{
    EnsureFuzzApplication();
    static TNumLab *lab = [] {
        auto *l = new TNumLab;
        l->resize(160, 17);
        l->setLeftText(QStringLiteral("Power"));
        l->setRightText(QStringLiteral("hp"));
        l->setLeftSpace(45);
        return l;
    }();
    lab->setDisplayType(f.DisplayType);
    lab->setPrecision(f.Precision);
    lab->setComma(f.Comma);
    lab->setForcePlusSign(f.ForcePlusSign);
    lab->setDTFormat(f.DTFormat);
    lab->setStateText(f.StateText);
    lab->setValue(v);
    const QImage img = lab->render();
    FuzzCheck(img.size() == QSize(160, 17), "the readout renders at its size");
    const QString shown = lab->ShownText();
    FuzzCheck(shown == text || shown == kOverflow, "the readout shows its text or the indicator",
              describe(v, f, shown));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzReader in(data, size);
    TNumLabFormat f;
    f.DisplayType = TDisplay(in.u8() % 10);
    f.Precision = in.u8() % 16; // the readout keeps 0..15
    const std::uint8_t flags = in.u8();
    f.Comma = flags & 0x01;
    f.ForcePlusSign = flags & 0x02;
    const double v = in.f64();
    const QString rest = in.restUtf8();
    f.DTFormat = rest;
    f.StateText = rest;
    f.OverflowIndicator = kOverflow;

    const QString text = NumLabValueText(v, f);
    const bool numeric = f.DisplayType != TDisplay::dtState && f.DisplayType != TDisplay::dtDateTime;
    if (numeric && !std::isfinite(v))
        FuzzCheck(text == kOverflow, "a value that is not finite overflows", describe(v, f, text));
    else if (text != kOverflow) {
        switch (f.DisplayType) {
        case TDisplay::dtHex: checkRadixForm(v, f, text, 4, 8); break;
        case TDisplay::dtBin: checkRadixForm(v, f, text, 1, 32); break;
        case TDisplay::dtOct: checkRadixForm(v, f, text, 3, 8); break;
        case TDisplay::dtState:
            FuzzCheck(text == f.StateText, "state text", describe(v, f, text));
            break;
        case TDisplay::dtDateTime: break;
        default: checkDecimalForms(v, f, text); break;
        }
    }
    checkDateTime(v);
    if (flags & 0x80)
        checkReadout(v, f, text);
    return 0;
}
