// Live thousands grouping: regrouping changes nothing but the separators,
// is stable when repeated, leaves groups of exactly three digits left of the
// decimal separator, and in a live edit keeps the caret inside the text and
// the value unchanged.
//
// Input: separator selector (+2 UTF-16 units for custom pairs), caret byte,
// option byte (0x80 also through an edit), then the text as UTF-8.

#include "widgets/input/ESBPCSNumEdit.h"
#include "FuzzSupport.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Left of the first decimal separator, each stretch of digits and
// separators is 1-3 digits, then groups of exactly three, every separator
// between two digits.
bool wellGrouped(const QString &s, TESBSeparators seps)
{
    qsizetype end = s.indexOf(seps.Decimal);
    if (end < 0)
        end = s.size();
    int group = 0;       // digits since the last separator
    bool afterSep = false;
    bool inStretch = false;
    for (qsizetype i = 0; i < end; ++i) {
        const QChar c = s[i];
        if (isDigit(c)) {
            if (++group > 3)
                return false;
            inStretch = true;
        } else if (c == seps.Thousands) {
            if (!inStretch || group == 0 || (afterSep && group != 3))
                return false;
            group = 0;
            afterSep = true;
        } else {
            if (afterSep && group != 3)
                return false;
            group = 0;
            afterSep = false;
            inStretch = false;
        }
    }
    return !afterSep || group == 3;
}

void checkLiveEdit(const QString &text, const FuzzSeparators &fs, int caretByte)
{
    EnsureFuzzApplication();
    static TESBFloatEdit *edit = new TESBFloatEdit;
    edit->setCustomSeparators(true);
    edit->setCustomDecimal(fs.seps.Decimal);
    edit->setCustomThousands(fs.seps.Thousands);
    edit->setDecimalPlaces(2);
    edit->setThousandSeparators(TESBSeparatorStyle::essAuto);
    edit->setText(text);
    const QString before = edit->text();
    edit->setCursorPosition(before.isEmpty() ? 0 : caretByte % int(before.size() + 1));
    const long double valueBefore = edit->AsFloat();

    QKeyEvent release(QEvent::KeyRelease, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
    QCoreApplication::sendEvent(edit, &release);

    const QString after = edit->text();
    FuzzCheck(edit->cursorPosition() >= 0 && edit->cursorPosition() <= after.size(),
              "the caret stays inside the text", after);
    const QString regrouped = ESBRegroupText(before, fs.seps);
    FuzzCheck(after == before || after == regrouped, "live grouping only regroups",
              before + QStringLiteral(" -> ") + after);
    if (fs.plain)
        FuzzCheck(edit->AsFloat() == valueBefore, "live grouping keeps the value",
                  before + QStringLiteral(" -> ") + after);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzReader in(data, size);
    const FuzzSeparators fs = ReadSeparators(in);
    const int caretByte = in.u8();
    const std::uint8_t opt = in.u8();
    const QString text = in.restUtf8();

    const QString grouped = ESBRegroupText(text, fs.seps);
    FuzzCheck(ESBStripChar(grouped, fs.seps.Thousands) == ESBStripChar(text, fs.seps.Thousands),
              "regrouping changes only the separators", text + QStringLiteral(" -> ") + grouped);
    FuzzCheck(ESBRegroupText(grouped, fs.seps) == grouped, "regrouping twice changes nothing",
              grouped);
    if (fs.plain)
        FuzzCheck(wellGrouped(grouped, fs.seps), "groups of three left of the decimal separator",
                  text + QStringLiteral(" -> ") + grouped);

    if (opt & 0x80)
        checkLiveEdit(text, fs, caretByte);
    return 0;
}
