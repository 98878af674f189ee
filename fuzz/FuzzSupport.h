#pragma once

// Helpers shared by the fuzz targets: a byte reader that takes options from
// the front of the input and leaves the rest as text, the separator pairs the
// edits may run with, an offscreen application for the widget checks, and a
// failure report that libFuzzer records as a crash.

#include "widgets/input/ESBPCSNumFormat.h"

#include <QString>

#include <cstddef>
#include <cstdint>

class FuzzReader
{
public:
    FuzzReader(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint8_t u8() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    std::uint16_t u16() { return std::uint16_t(u8() | (u8() << 8)); }
    std::uint64_t u64();
    // Eight raw bytes as a double: every bit pattern, NaNs and infinities too.
    double f64();
    // The bytes not read yet, as UTF-8 (invalid sequences become U+FFFD).
    QString restUtf8();
    std::size_t remaining() const { return m_size - m_pos; }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// A decimal/thousands pair chosen by one option byte: the usual locale pairs,
// or (selector 7) two arbitrary UTF-16 units read from the input. `plain` is
// true when the pair can be told apart from digits, signs, blanks and the
// exponent mark, so that formatted numbers must read back.
struct FuzzSeparators
{
    TESBSeparators seps;
    bool plain = true;
};
FuzzSeparators ReadSeparators(FuzzReader &in);

// Creates the offscreen QApplication (Fusion style, C locale) on first use.
void EnsureFuzzApplication();

// Prints what failed with the input's text and aborts.
[[noreturn]] void FuzzFail(const char *what, const QString &detail);
inline void FuzzCheck(bool ok, const char *what, const QString &detail = {})
{
    if (!ok)
        FuzzFail(what, detail);
}
