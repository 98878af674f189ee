#include "analysis/GpxTime.h"

#include <cstdint>

namespace
{

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Reads exactly `n` digits at `pos`, advancing past them.
bool Digits(std::string_view s, std::size_t &pos, int n, int &out)
{
    if (pos + static_cast<std::size_t>(n) > s.size())
        return false;
    int v = 0;
    for (int i = 0; i < n; ++i) {
        const char c = s[pos + static_cast<std::size_t>(i)];
        if (!IsDigit(c))
            return false;
        v = v * 10 + (c - '0');
    }
    pos += static_cast<std::size_t>(n);
    out = v;
    return true;
}

bool Expect(std::string_view s, std::size_t &pos, char c)
{
    if (pos >= s.size() || s[pos] != c)
        return false;
    ++pos;
    return true;
}

bool IsLeap(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

} // namespace

std::optional<double> ParseIsoTime(std::string_view s)
{
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);

    std::size_t pos = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!Digits(s, pos, 4, year) || !Expect(s, pos, '-') || !Digits(s, pos, 2, month) ||
        !Expect(s, pos, '-') || !Digits(s, pos, 2, day))
        return std::nullopt;
    if (pos >= s.size() || (s[pos] != 'T' && s[pos] != 't'))
        return std::nullopt;
    ++pos;
    if (!Digits(s, pos, 2, hour) || !Expect(s, pos, ':') || !Digits(s, pos, 2, minute) ||
        !Expect(s, pos, ':') || !Digits(s, pos, 2, second))
        return std::nullopt;
    // A leap second (60) is kept as the first moment of the next minute.
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 60)
        return std::nullopt;

    double fraction = 0;
    if (pos < s.size() && (s[pos] == '.' || s[pos] == ',')) {
        ++pos;
        double scale = 0.1;
        const std::size_t first = pos;
        while (pos < s.size() && IsDigit(s[pos])) {
            fraction += (s[pos] - '0') * scale;
            scale /= 10;
            ++pos;
        }
        if (pos == first)
            return std::nullopt;
    }

    int offsetMinutes = 0;
    if (pos < s.size() && (s[pos] == 'Z' || s[pos] == 'z')) {
        ++pos;
    } else if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
        const int sign = s[pos] == '-' ? -1 : 1;
        ++pos;
        int oh = 0, om = 0;
        if (!Digits(s, pos, 2, oh))
            return std::nullopt;
        if (pos < s.size()) {
            Expect(s, pos, ':');
            if (!Digits(s, pos, 2, om))
                return std::nullopt;
        }
        if (oh > 23 || om > 59)
            return std::nullopt;
        offsetMinutes = sign * (oh * 60 + om);
    }
    if (pos != s.size())
        return std::nullopt;

    const std::int64_t days = DaysFromCivil(year, month, day);
    const std::int64_t whole =
        days * 86400 + hour * 3600 + minute * 60 + second - std::int64_t{offsetMinutes} * 60;
    return static_cast<double>(whole) + fraction;
}
