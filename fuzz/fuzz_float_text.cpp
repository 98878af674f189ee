// Float text conversion of the numeric edits: any text parses to a finite
// number or is refused (as 0, or EConvertError when asked), and every number
// the edits format reads back to itself within the places shown.
//
// Input: separator selector (+2 UTF-16 units for custom pairs), option byte
// (places in the low six bits, 0x40 grouped, 0x80 also through an edit),
// then the text as UTF-8.

#include "widgets/input/ESBPCSNumEdit.h"
#include "FuzzSupport.h"

#include <cmath>

namespace {

QString describe(const QString &text, long double v, int places)
{
    return QStringLiteral("text \"%1\" value %2 places %3")
        .arg(text.left(200))
        .arg(double(v), 0, 'g', 21)
        .arg(places);
}

bool closeEnough(long double a, long double b, int places)
{
    const long double mag = std::fabs(b);
    // Half a unit in the last place shown, or in the 18th significant digit.
    const long double tol = 0.51L * std::pow(10.0L, -places) + mag * 1e-17L;
    return std::fabs(a - b) <= tol;
}

bool onlyNumberChars(const QString &s, TESBSeparators seps)
{
    for (QChar c : s) {
        const bool ok = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == seps.Decimal ||
                        c == seps.Thousands || c == QLatin1Char('-') || c == QLatin1Char('+') ||
                        c == QLatin1Char('E');
        if (!ok)
            return false;
    }
    return true;
}

void checkFormatRoundTrip(long double v, int places, bool grouped, const FuzzSeparators &fs,
                          const QString &text)
{
    const QString shown = ESBFormatFloat(v, places, grouped, fs.seps);
    FuzzCheck(!shown.isEmpty(), "a finite value formats to a text", describe(text, v, places));
    FuzzCheck(onlyNumberChars(shown, fs.seps), "formatted text holds only number characters",
              shown);
    if (!fs.plain)
        return;
    const auto back = ESBTryParseFloat(shown, fs.seps);
    FuzzCheck(back.has_value(), "formatted text parses", shown);
    FuzzCheck(closeEnough(*back, v, places), "formatted text reads back within its places",
              shown + QStringLiteral(" <- ") + describe(text, v, places));
    FuzzCheck(ESBFormatFloat(*back, places, grouped, fs.seps) == shown,
              "formatting what was read back gives the same text", shown);

    const QString trimmed = ESBTrimTrailingZeroes(shown, fs.seps.Decimal);
    const auto trimmedBack = ESBTryParseFloat(trimmed, fs.seps);
    FuzzCheck(trimmedBack && *trimmedBack == *back, "trimming zeroes keeps the value", trimmed);
    const QString padded = ESBZeroPad(shown, int(shown.size()) + 3);
    const auto paddedBack = ESBTryParseFloat(padded, fs.seps);
    FuzzCheck(paddedBack && *paddedBack == *back, "zero padding keeps the value", padded);
}

void checkThroughEdit(const QString &text, const FuzzSeparators &fs, int places, bool grouped,
                      std::optional<long double> parsed)
{
    EnsureFuzzApplication();
    static TESBFloatEdit *edit = new TESBFloatEdit;
    edit->setCustomSeparators(true);
    edit->setCustomDecimal(fs.seps.Decimal);
    edit->setCustomThousands(fs.seps.Thousands);
    edit->setDecimalPlaces(quint8(places));
    edit->setThousandSeparators(grouped ? TESBSeparatorStyle::essExit
                                        : TESBSeparatorStyle::essNone);
    edit->setText(text);
    const long double read = edit->AsFloat();
    FuzzCheck(std::isfinite(read), "the edit reads a finite value", text.left(200));
    if (edit->text() == text)
        FuzzCheck(read == parsed.value_or(0.0L), "the edit reads what the parser reads",
                  describe(text, read, places));
    if (!fs.plain)
        return;
    // Redisplay in normal form, as leaving the edit does, and read again.
    edit->ValueToText();
    FuzzCheck(closeEnough(edit->AsFloat(), read, places),
              "the redisplayed value reads back within its places",
              edit->text() + QStringLiteral(" <- ") + describe(text, read, places));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzReader in(data, size);
    const FuzzSeparators fs = ReadSeparators(in);
    const std::uint8_t opt = in.u8();
    const int places = opt & 0x3F;
    const bool grouped = opt & 0x40;
    const QString text = in.restUtf8();

    const std::optional<long double> parsed = ESBTryParseFloat(text, fs.seps);
    if (parsed)
        FuzzCheck(std::isfinite(*parsed), "a parsed value is finite", text.left(200));
    try {
        const long double v = ParseFloatText(text, fs.seps, true);
        FuzzCheck(parsed && v == *parsed, "the raising parse agrees with the plain one",
                  text.left(200));
    } catch (const EConvertError &) {
        FuzzCheck(!parsed, "only a refused text raises EConvertError", text.left(200));
    }
    FuzzCheck(ParseFloatText(text, fs.seps, false) == parsed.value_or(0.0L),
              "a refused text reads as 0", text.left(200));

    if (parsed)
        checkFormatRoundTrip(*parsed, places, grouped, fs, text);
    if (opt & 0x80)
        checkThroughEdit(text, fs, places, grouped, parsed);
    return 0;
}
