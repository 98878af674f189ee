#include "widgets/input/ESBPCSNumFormat.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Inserts sep between groups of three digits counted from the right. A null
// separator means none, as for ESBStripChar.
QString groupDigits(const QString &digits, QChar sep)
{
    if (sep.isNull())
        return digits;
    QString out;
    out.reserve(digits.size() + digits.size() / 3);
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += sep;
        out += digits[i];
    }
    return out;
}

// Checks [+-]digits[.digits][(e|E)[+-]digits] with at least one mantissa digit
// and rewrites it in ASCII with "." as the decimal point. Anything else
// (letters, hex, inf, nan, a second separator) is refused.
std::optional<std::string> plainNumber(const QString &text, QChar decimal)
{
    std::string out;
    out.reserve(text.size());
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        if (text[i] == QLatin1Char('-'))
            out += '-';
        ++i;
    }
    int mantissaDigits = 0;
    bool seenPoint = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isDigit(c)) {
            out += char(c.unicode());
            ++mantissaDigits;
        } else if (c == decimal && !seenPoint) {
            out += '.';
            seenPoint = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        out += 'e';
        ++i;
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
            out += char(text[i++].unicode());
        int expDigits = 0;
        for (; i < n && isDigit(text[i]); ++i, ++expDigits)
            out += char(text[i].unicode());
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    return out;
}

// Adds one unit in the last place of a digit string; returns true on carry out.
bool incrementDigits(std::string &digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    return true;
}

} // namespace

QString ESBStripChar(QString text, QChar sep)
{
    if (!sep.isNull())
        text.remove(sep);
    return text;
}

std::optional<long double> ESBTryParseFloat(const QString &text, TESBSeparators seps)
{
    QString s = text;
    const qsizetype percent = s.indexOf(QLatin1Char('%'));
    if (percent >= 0)
        s.remove(percent, 1);
    s = ESBStripChar(s, seps.Thousands).trimmed();
    while (!s.isEmpty()) {
        const QChar last = s.back();
        if (last != QLatin1Char('+') && last != QLatin1Char('-') && last != QLatin1Char('E') &&
            last != QLatin1Char('e') && last != seps.Decimal)
            break;
        s.chop(1);
        s = s.trimmed();
    }
    if (s.isEmpty())
        return 0.0L;
    const std::optional<std::string> plain = plainNumber(s, seps.Decimal);
    if (!plain)
        return std::nullopt;
    const char *first = plain->data();
    const char *last = first + plain->size();
    long double value = 0;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

long double ParseFloatText(const QString &text, TESBSeparators seps, bool raiseErrors)
{
    if (const auto value = ESBTryParseFloat(text, seps))
        return *value;
    if (raiseErrors)
        throw EConvertError("\"" + text.left(64).toStdString() +
                            "\" is not a valid floating point value");
    return 0.0L;
}

std::optional<int64_t> ESBTryParseInt64(const QString &text, QChar thousands)
{
    const QString s = ESBStripChar(text.trimmed(), thousands);
    std::string ascii;
    ascii.reserve(s.size());
    qsizetype i = 0;
    if (!s.isEmpty() && (s[0] == QLatin1Char('+') || s[0] == QLatin1Char('-'))) {
        if (s[0] == QLatin1Char('-'))
            ascii += '-';
        i = 1;
    }
    if (i == s.size())
        return std::nullopt;
    for (; i < s.size(); ++i) {
        if (!isDigit(s[i]))
            return std::nullopt;
        ascii += char(s[i].unicode());
    }
    int64_t value = 0;
    const char *last = ascii.data() + ascii.size();
    const auto [ptr, ec] = std::from_chars(ascii.data(), last, value);
    if (ec != std::errc() || ptr != last)
        return std::nullopt;
    return value;
}

QString ESBFormatFloat(long double value, int places, bool grouped, TESBSeparators seps)
{
    if (!std::isfinite(value))
        return {};
    places = std::max(places, 0);
    bool negative = value < 0;
    long double magnitude = std::fabs(value);
    if (magnitude < ZeroTolerance)
        magnitude = 0;

    // 18 significant digits: d.ddddddddddddddddde±x
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 17);
    if (res.ec != std::errc())
        return {};
    const std::string sci(buf, res.ptr);
    const std::size_t ePos = sci.find('e');
    std::string digits = sci.substr(0, 1) + sci.substr(2, ePos - 2);
    const int exponent = std::stoi(sci.substr(ePos + 1));
    const QString sign = negative && magnitude != 0 ? QStringLiteral("-") : QString();

    if (magnitude != 0 && exponent >= 18) {
        QString mantissa = QString::fromLatin1(digits.substr(0, 1)) + seps.Decimal +
                           QString::fromLatin1(digits.substr(1));
        return sign + mantissa + QStringLiteral("E+") + QString::number(exponent);
    }

    // Digits with the decimal point after intDigits of them.
    int intDigits = magnitude == 0 ? 1 : exponent + 1;
    if (magnitude == 0)
        digits = "0";
    if (intDigits <= 0) {
        digits.insert(0, std::size_t(1 - intDigits), '0');
        intDigits = 1;
    }
    const std::size_t keep = std::size_t(intDigits) + std::size_t(places);
    if (digits.size() > keep) {
        const bool roundUp = digits[keep] >= '5';
        digits.resize(keep);
        if (roundUp && incrementDigits(digits)) {
            digits.insert(digits.begin(), '1');
            ++intDigits;
        }
    } else {
        digits.append(keep - digits.size(), '0');
    }
    // Strip the leading zeroes the shift above may have left in the integer part.
    std::size_t lead = 0;
    while (lead + 1 < std::size_t(intDigits) && digits[lead] == '0')
        ++lead;
    QString intPart = QString::fromLatin1(digits.substr(lead, std::size_t(intDigits) - lead));
    const QString fracPart = QString::fromLatin1(digits.substr(std::size_t(intDigits)));
    const bool allZero = digits.find_first_not_of('0') == std::string::npos;
    if (grouped)
        intPart = groupDigits(intPart, seps.Thousands);
    QString out = (allZero ? QString() : sign) + intPart;
    if (places > 0)
        out += seps.Decimal + fracPart;
    return out;
}

QString ESBFormatInt64(int64_t value, bool grouped, QChar thousands)
{
    // The magnitude as unsigned, so the minimum value needs no special case.
    const uint64_t magnitude = value < 0 ? uint64_t(0) - uint64_t(value) : uint64_t(value);
    QString digits = QString::number(magnitude);
    if (grouped)
        digits = groupDigits(digits, thousands);
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

QString ESBZeroPad(const QString &text, int maxLength)
{
    const bool signedText =
        !text.isEmpty() && (text[0] == QLatin1Char('-') || text[0] == QLatin1Char('+'));
    const QString sign = signedText ? text.left(1) : QString();
    QString body = signedText ? text.mid(1) : text;
    const int width = signedText ? maxLength - 1 : maxLength;
    if (body.size() < width)
        body.prepend(QString(width - body.size(), QLatin1Char('0')));
    return sign + body;
}

QString ESBTrimTrailingZeroes(const QString &text, QChar decimal)
{
    const qsizetype point = text.indexOf(decimal);
    if (point < 0)
        return text;
    // Only trim when the fraction runs to the end (not an exponent form).
    for (qsizetype i = point + 1; i < text.size(); ++i)
        if (!isDigit(text[i]))
            return text;
    QString s = text;
    while (s.size() > point + 1 && s.back() == QLatin1Char('0'))
        s.chop(1);
    if (s.size() == point + 1)
        s.chop(1);
    return s;
}

QString ESBRegroupText(const QString &text, TESBSeparators seps)
{
    QString s = ESBStripChar(text, seps.Thousands);
    if (s.isEmpty() || seps.Thousands.isNull())
        return s;
    qsizetype point = s.indexOf(seps.Decimal);
    if (point < 0)
        point = s.size();
    int run = 0;
    for (qsizetype i = point - 1; i >= 0; --i) {
        if (!isDigit(s[i])) {
            run = 0;
            continue;
        }
        if (++run == 4) {
            s.insert(i + 1, seps.Thousands);
            run = 1;
        }
    }
    return s;
}
