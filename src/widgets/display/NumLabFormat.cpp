#include "widgets/display/NumLabFormat.h"

#include "gfx/Numeric.h"

#include <QDate>
#include <QTime>

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

QString printfDouble(const char *format, int precision, double v)
{
    char buf[512];
    const int n = std::snprintf(buf, sizeof buf, format, precision, v);
    if (n < 0)
        return {};
    if (n < int(sizeof buf))
        return QString::fromLatin1(buf, n);
    std::string big(std::size_t(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), format, precision, v);
    return QString::fromLatin1(big.c_str(), n);
}

// "-0.0" and the like read as a negative number; show them unsigned.
QString dropNegativeZero(QString s)
{
    if (!s.startsWith(QLatin1Char('-')))
        return s;
    for (int i = 1; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == QLatin1Char('e') || c == QLatin1Char('E'))
            break;
        if (c.isDigit() && c != QLatin1Char('0'))
            return s;
    }
    return s.mid(1);
}

QString lastChars(const QString &s, int q)
{
    return q <= 0 ? QString() : s.right(q);
}

// The lowest `digits` digits of a 32-bit two's-complement value in a
// power-of-two base, most significant first.
QString radixDigits(std::uint32_t bits, int digits, int bitsPerDigit)
{
    QString s;
    const std::uint32_t mask = (1u << bitsPerDigit) - 1;
    for (int i = digits - 1; i >= 0; --i) {
        const int shift = i * bitsPerDigit;
        const std::uint32_t d = shift >= 32 ? 0 : (bits >> shift) & mask;
        s += QChar(QLatin1Char("0123456789ABCDEF"[d]));
    }
    return s;
}

bool inUnsignedRange(double v) { return !(v > 4294967295.0 || v < -2147483648.0); }

QString zeroPadded(std::int64_t n, int minDigits)
{
    const bool negative = n < 0;
    const std::uint64_t mag = negative ? std::uint64_t(0) - std::uint64_t(n) : std::uint64_t(n);
    QString digits = QString::number(mag);
    if (digits.size() < minDigits)
        digits.prepend(QString(minDigits - digits.size(), QLatin1Char('0')));
    return negative ? QLatin1Char('-') + digits : digits;
}

} // namespace

QString NumLabValueText(double v, const TNumLabFormat &f)
{
    const int p = f.Precision;
    const TDisplay type = f.DisplayType;
    const bool numeric = type != TDisplay::dtState && type != TDisplay::dtDateTime;
    if (numeric && !std::isfinite(v))
        return f.OverflowIndicator;

    QString text;
    switch (type) {
    case TDisplay::dtFloat:
        text = dropNegativeZero(printfDouble("%.*g", p, v));
        break;
    case TDisplay::dtFixP:
        text = dropNegativeZero(printfDouble("%.*f", p, v));
        break;
    case TDisplay::dtExp:
        // p significant digits: one before the point, p - 1 after it.
        text = dropNegativeZero(printfDouble("%.*E", p > 0 ? p - 1 : 0, v));
        break;
    case TDisplay::dtInt:
        text = dropNegativeZero(printfDouble("%.*f", 0, v));
        break;
    case TDisplay::dtHex: {
        if (!inUnsignedRange(v))
            return f.OverflowIndicator;
        const int q = std::min(p, 8);
        text = lastChars(radixDigits(std::uint32_t(Round(v)), std::max(q, 1), 4), q);
        break;
    }
    case TDisplay::dtZeroInt:
        if (v > 2147483647.0 || v < -2147483648.0)
            return f.OverflowIndicator;
        text = zeroPadded(Round(v), p);
        break;
    case TDisplay::dtDateTime:
        text = FormatDateTimePattern(f.DTFormat, v);
        if (text.isEmpty() && !f.DTFormat.isEmpty())
            return f.OverflowIndicator;
        break;
    case TDisplay::dtState:
        text = f.StateText;
        break;
    case TDisplay::dtBin: {
        if (!inUnsignedRange(v))
            return f.OverflowIndicator;
        const int q = std::min(p, 32);
        text = lastChars(radixDigits(std::uint32_t(Round(v)), std::max(q, 1), 1), q);
        break;
    }
    case TDisplay::dtOct: {
        if (!inUnsignedRange(v))
            return f.OverflowIndicator;
        const int q = std::min(p, 12);
        text = lastChars(radixDigits(std::uint32_t(Round(v)), std::min(std::max(q, 1), 8), 3), q);
        break;
    }
    }

    if (type == TDisplay::dtHex || type == TDisplay::dtDateTime || type == TDisplay::dtState
        || type == TDisplay::dtBin)
        return text;
    if (f.Comma)
        text.replace(QLatin1Char('.'), QLatin1Char(','));
    else
        text.replace(QLatin1Char(','), QLatin1Char('.'));
    if (f.ForcePlusSign && v > 0)
        text.prepend(QLatin1Char('+'));
    return text;
}

// ---- date-time patterns -----------------------------------------------------

namespace {

const char *const shortMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char *const longMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                  "July",    "August",   "September", "October", "November", "December"};
const char *const shortDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const char *const longDays[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};

bool startsWithCI(const QString &s, int at, const char *word)
{
    return s.mid(at).startsWith(QLatin1String(word), Qt::CaseInsensitive);
}

int runLength(const QString &s, int at)
{
    const QChar c = s[at].toLower();
    int n = 1;
    while (at + n < s.size() && s[at + n].toLower() == c)
        ++n;
    return n;
}

QString two(int n) { return QString::number(n).rightJustified(2, QLatin1Char('0')); }

} // namespace

QString FormatDateTimePattern(const QString &pattern, double dateTime)
{
    if (!std::isfinite(dateTime) || std::fabs(dateTime) > 3.0e6)
        return {};
    // The whole part counts days; the fraction's size is the time of day,
    // also for dates before the epoch.
    const double whole = std::trunc(dateTime);
    const std::int64_t ms = Round(std::fabs(dateTime - whole) * 86400000.0);
    QDate date = QDate(1899, 12, 30).addDays(std::int64_t(whole));
    QTime time = QTime(0, 0).addMSecs(int(std::min<std::int64_t>(ms, 86399999)));
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return {};

    // Is there an am/pm marker anywhere? Then hours run 1..12.
    const bool twelveHour = pattern.contains(QLatin1String("am/pm"), Qt::CaseInsensitive)
                            || pattern.contains(QLatin1String("a/p"), Qt::CaseInsensitive);

    QString out;
    bool lastWasHour = false;
    int i = 0;
    while (i < pattern.size()) {
        const QChar c = pattern[i];
        const QChar lc = c.toLower();
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const int end = int(pattern.indexOf(c, i + 1));
            const int stop = end < 0 ? int(pattern.size()) : end;
            out += pattern.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        if (startsWithCI(pattern, i, "am/pm")) {
            out += time.hour() < 12 ? QLatin1String("am") : QLatin1String("pm");
            i += 5;
            continue;
        }
        if (startsWithCI(pattern, i, "a/p")) {
            out += time.hour() < 12 ? QLatin1Char('a') : QLatin1Char('p');
            i += 3;
            continue;
        }
        const int n = (lc.isLetter()) ? runLength(pattern, i) : 1;
        bool wasHour = false;
        if (lc == QLatin1Char('d')) {
            const int dow = date.dayOfWeek() - 1;
            if (n == 1)
                out += QString::number(date.day());
            else if (n == 2)
                out += two(date.day());
            else if (n == 3)
                out += QLatin1String(shortDays[dow]);
            else
                out += QLatin1String(longDays[dow]);
        } else if (lc == QLatin1Char('m')) {
            if (lastWasHour && n <= 2) {
                out += n == 1 ? QString::number(time.minute()) : two(time.minute());
            } else {
                const int m = date.month() - 1;
                if (n == 1)
                    out += QString::number(m + 1);
                else if (n == 2)
                    out += two(m + 1);
                else if (n == 3)
                    out += QLatin1String(shortMonths[m]);
                else
                    out += QLatin1String(longMonths[m]);
            }
        } else if (lc == QLatin1Char('y')) {
            out += n <= 2 ? two(date.year() % 100) : QString::number(date.year()).rightJustified(4, QLatin1Char('0'));
        } else if (lc == QLatin1Char('h')) {
            int h = time.hour();
            if (twelveHour) {
                h %= 12;
                if (h == 0)
                    h = 12;
            }
            out += n == 1 ? QString::number(h) : two(h);
            wasHour = true;
        } else if (lc == QLatin1Char('n')) {
            out += n == 1 ? QString::number(time.minute()) : two(time.minute());
        } else if (lc == QLatin1Char('s')) {
            out += n == 1 ? QString::number(time.second()) : two(time.second());
        } else if (lc == QLatin1Char('z')) {
            out += n >= 3 ? QString::number(time.msec()).rightJustified(3, QLatin1Char('0'))
                          : QString::number(time.msec());
        } else if (!lc.isLetter()) {
            // Separators between "hh" and "mm" keep the minute reading.
            out += c;
            i += 1;
            continue;
        } else {
            out += QString(n, c);
        }
        lastWasHour = wasHour;
        i += n;
    }
    return out;
}
