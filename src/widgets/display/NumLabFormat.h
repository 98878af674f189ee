#pragma once

#include <QString>

// How a readout turns its value into text.
enum class TDisplay { dtFloat, dtFixP, dtExp, dtHex, dtZeroInt, dtInt, dtDateTime, dtState, dtBin, dtOct };

// What the readout's number text depends on, apart from the value.
struct TNumLabFormat
{
    TDisplay DisplayType = TDisplay::dtFixP;
    int Precision = 2;
    bool Comma = false;
    bool ForcePlusSign = false;
    QString DTFormat = QStringLiteral("mmm-dd, yyyy");
    QString StateText = QStringLiteral("undefined");
    QString OverflowIndicator = QStringLiteral("*********");
};

// The number text of a readout before the width test: the display type's
// form, the decimal mark chosen by Comma alone, the forced plus sign. Values
// outside an integer type's range, and values that are not finite, give the
// overflow indicator.
QString NumLabValueText(double value, const TNumLabFormat &format);

// A date-time (days since 1899-12-30, the fraction the time of day) written
// with a pattern: d dd ddd dddd, m mm mmm mmmm (minutes right after an hour
// field), yy yyyy, h hh, n nn, s ss, z zzz, am/pm and a/p for a 12-hour
// clock, '/' and ':' as separators, text in single or double quotes copied
// as it is. Returns an empty string when the date is outside years 1..9999.
QString FormatDateTimePattern(const QString &pattern, double dateTime);
