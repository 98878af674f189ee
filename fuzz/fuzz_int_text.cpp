// Integer text conversion of the whole-number edit: a text is a 64-bit
// number exactly when it is an optional sign and decimal digits (thousands
// separators and surrounding blanks aside) that fit, and every value formats
// to a text that reads back to it, grouped or not.
//
// Input: separator selector (+2 UTF-16 units for custom pairs), option byte
// (0x01 grouped, 0x80 also through an edit), then the text as UTF-8.

#include "widgets/input/ESBPCSNumEdit.h"
#include "FuzzSupport.h"

namespace {

// The value a text must have, from first principles: digits accumulated in
// 128 bits so that overflow is seen, not wrapped.
std::optional<std::int64_t> reference(const QString &text, QChar thousands)
{
    QString s = text.trimmed();
    if (!thousands.isNull())
        s.remove(thousands);
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        negative = s[i++] == QLatin1Char('-');
    if (i == s.size())
        return std::nullopt;
    __int128 v = 0;
    for (; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        v = v * 10 + (c - u'0');
        if (v > (__int128(1) << 63))
            return std::nullopt;
    }
    if (negative)
        v = -v;
    if (v > INT64_MAX || v < INT64_MIN)
        return std::nullopt;
    return std::int64_t(v);
}

QString describe(const QString &text, std::optional<std::int64_t> v)
{
    return QStringLiteral("text \"%1\" -> %2")
        .arg(text.left(200), v ? QString::number(*v) : QStringLiteral("refused"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzReader in(data, size);
    const FuzzSeparators fs = ReadSeparators(in);
    const std::uint8_t opt = in.u8();
    const bool grouped = opt & 0x01;
    const QString text = in.restUtf8();
    const QChar thousands = fs.seps.Thousands;

    const std::optional<std::int64_t> parsed = ESBTryParseInt64(text, thousands);
    const std::optional<std::int64_t> expected = reference(text, thousands);
    FuzzCheck(parsed == expected, "the parser agrees with digit-by-digit reading",
              describe(text, parsed) + QStringLiteral(" expected ") + describe(text, expected));

    if (parsed && fs.plain) {
        const QString shown = ESBFormatInt64(*parsed, grouped, thousands);
        FuzzCheck(ESBTryParseInt64(shown, thousands) == parsed,
                  "a formatted value reads back", shown);
        FuzzCheck(ESBTryParseInt64(ESBZeroPad(shown, int(shown.size()) + 4), thousands) == parsed,
                  "zero padding keeps the value", shown);
    }

    if (opt & 0x80) {
        EnsureFuzzApplication();
        static TESBPosEdit *edit = new TESBPosEdit;
        edit->setCustomSeparators(true);
        edit->setCustomDecimal(fs.seps.Decimal);
        edit->setCustomThousands(thousands);
        edit->setThousandSeparators(grouped ? TESBSeparatorStyle::essExit
                                            : TESBSeparatorStyle::essNone);
        edit->setText(text);
        const std::int64_t read = edit->AsInt64();
        if (edit->text() == text && !edit->Null())
            FuzzCheck(read == parsed.value_or(0), "the edit reads what the parser reads",
                      describe(text, read));
        if (fs.plain) {
            edit->ValueToText();
            FuzzCheck(edit->AsInt64() == read, "the redisplayed value reads back",
                      edit->text() + QStringLiteral(" <- ") + describe(text, read));
        }
    }
    return 0;
}
