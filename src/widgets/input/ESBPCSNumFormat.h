#pragma once

// Text <-> number conversions of the numeric edit boxes. Pure functions: no
// widget, no global locale; the caller passes the separators in force.

#include <QChar>
#include <QString>

#include <cstdint>
#include <optional>
#include <stdexcept>

// A float whose magnitude is below this counts as zero.
inline constexpr long double ZeroTolerance = 5.0E-324L;

// Raised by ParseFloatText when RaiseConvertErrors is on and the text does not
// convert.
class EConvertError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct TESBSeparators {
    QChar Decimal = QLatin1Char('.');
    QChar Thousands = QLatin1Char(',');
};

// Removes every occurrence of sep.
QString ESBStripChar(QString text, QChar sep);

// Parses a float the way the edits read their text: drops the first "%", every
// thousands separator, surrounding blanks and any trailing sign, exponent mark
// or decimal separator. Empty text is 0. Returns nullopt when the rest is not a
// plain decimal number (no hex, no inf/nan) or overflows the range.
std::optional<long double> ESBTryParseFloat(const QString &text, TESBSeparators seps);

// ESBTryParseFloat, failing as 0 or, with raiseErrors, as EConvertError.
long double ParseFloatText(const QString &text, TESBSeparators seps, bool raiseErrors);

// Signed 64-bit decimal after trimming and dropping thousands separators; a
// leading sign is allowed. nullopt when the text is not entirely a number or
// does not fit.
std::optional<int64_t> ESBTryParseInt64(const QString &text, QChar thousands);

// Fixed notation with exactly `places` digits after the decimal separator,
// rounded half away from zero after rounding to 18 significant digits.
// Magnitudes of 1e18 and above use the exponent form d.ddd…E+nnn. A value that
// rounds to zero carries no minus sign. Infinite or NaN values give "".
QString ESBFormatFloat(long double value, int places, bool grouped, TESBSeparators seps);

// Signed decimal, optionally grouped in threes (the minimum value included).
QString ESBFormatInt64(int64_t value, bool grouped, QChar thousands);

// Pads with "0" on the left to width (never truncates); a leading "+" or "-"
// stays in front and does not count towards the digits.
QString ESBZeroPad(const QString &text, int maxLength);

// Deletes trailing zeroes of the fraction and then a bare decimal separator.
// Whole numbers are left alone.
QString ESBTrimTrailingZeroes(const QString &text, QChar decimal);

// Regroups a number typed so far: drops every thousands separator and inserts
// one after each run of three digits left of the decimal separator. Non-digits
// (signs) break a run; the fraction is never grouped.
QString ESBRegroupText(const QString &text, TESBSeparators seps);
