// Every way text reaches a numeric edit (keys with modifiers, the clipboard,
// the context menu, a drop, an input method) obeys the typing rules and
// leaves the null state the same way; AutoSelect holds for every entry.

#include "tst_numedit_support.h"

#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>

namespace
{

using EntryTest = EditTest;

// A key event that types text with the given modifiers held, as the
// platform delivers Alt+a, AltGr+Q or Ctrl+Shift with a format character.
void typeWith(QWidget *w, int key, Qt::KeyboardModifiers mods, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &release);
}

// Drags text over the edit and drops it; true when the drop was taken.
bool drop(QWidget *w, const QString &text)
{
    QMimeData mime;
    mime.setText(text);
    const QPoint at(2, 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
    QDropEvent dropped(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &dropped);
    return dropped.isAccepted();
}

TEST_F(EntryTest, KeysWithModifiersObeyTheCharacterRules)
{
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        QString text;
        bool accepted;
    };
    const Case cases[] = {
        {Qt::Key_A, Qt::AltModifier, QStringLiteral("a"), false},
        {Qt::Key_Minus, Qt::AltModifier, QStringLiteral("-"), false},
        {Qt::Key_At, Qt::GroupSwitchModifier, QStringLiteral("@"), false}, // AltGr+Q
        {Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier, QStringLiteral("@"),
         false},                                                               // Ctrl+Alt as AltGr
        {Qt::Key_E, Qt::GroupSwitchModifier, QStringLiteral("\u20ac"), false}, // AltGr+E
        {Qt::Key_unknown, Qt::ControlModifier | Qt::ShiftModifier, QStringLiteral("\u200d"), false},
        {Qt::Key_A, Qt::MetaModifier, QStringLiteral("a"), false},
        {Qt::Key_6, Qt::AltModifier, QStringLiteral("6"), true}, // a digit is a digit
        {Qt::Key_Period, Qt::GroupSwitchModifier, QStringLiteral("."), true},
    };
    for (const Case &c : cases) {
        TESBPosEdit pos;
        TESBPosFloatEdit posFloat;
        pos.setAsLongWord(5);
        posFloat.setDecimalPlaces(0);
        posFloat.setAsFloat(5);
        for (TESBBaseNumericEdit *e :
             std::initializer_list<TESBBaseNumericEdit *>{&pos, &posFloat}) {
            e->setCursorPosition(1);
            beeps = 0;
            typeWith(e, c.key, c.mods, c.text);
            const bool takes = c.accepted && (e == &posFloat || c.text != QStringLiteral("."));
            EXPECT_EQ(e->text(), takes ? QStringLiteral("5") + c.text : QStringLiteral("5"))
                << e->metaObject()->className() << " " << c.text.toStdString();
            EXPECT_EQ(beeps, takes ? 0 : 1);
        }
    }
}

TEST_F(EntryTest, EveryPasteAndDropLeavesTheNullStateAsCtrlVDoes)
{
    QWidget *w = activeWindow();
    auto *e = new TESBPosEdit(w);
    e->setNullStr(QStringLiteral("n/a"));
    ASSERT_TRUE(activate());
    e->setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("5"));

    // The menu is driven by triggering its Paste entry while it is open.
    auto viaMenu = [&] {
        QTimer::singleShot(0, [] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            QAction *paste = nullptr;
            for (QAction *a : menu->actions())
                if (a->objectName() == QLatin1String("edit-paste"))
                    paste = a;
            menu->close(); // first, so a failed check cannot leave it open
            ASSERT_NE(paste, nullptr);
            ASSERT_TRUE(paste->isEnabled());
            paste->trigger();
        });
        QContextMenuEvent ev(QContextMenuEvent::Mouse, QPoint(2, 2), e->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(e, &ev);
    };
    auto viaDrop = [&] { drop(e, QStringLiteral("5")); };
    auto viaInputMethod = [&] {
        QInputMethodEvent im;
        im.setCommitString(QStringLiteral("5"));
        QApplication::sendEvent(e, &im);
    };
    const std::pair<const char *, std::function<void()>> ways[] = {
        {"Ctrl+V", [&] { QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier); }},
        {"Shift+Insert", [&] { QTest::keyClick(e, Qt::Key_Insert, Qt::ShiftModifier); }},
        {"context menu", viaMenu},
        {"drop", viaDrop},
        {"input method", viaInputMethod},
    };
    for (const auto &[name, enter] : ways) {
        e->setNull(true);
        ASSERT_EQ(e->text(), "n/a");
        QSignalSpy changes(e, &TESBCustomEdit::OnChange);
        enter();
        EXPECT_FALSE(e->Null()) << name;
        EXPECT_EQ(e->text(), "5") << name;
        EXPECT_EQ(e->AsInteger(), 5) << name;
        EXPECT_EQ(changes.count(), 1) << name;
    }

    // A refused text leaves the null state and the text as they were.
    QGuiApplication::clipboard()->setText(QStringLiteral("x5"));
    for (const auto &[name, enter] : ways) {
        if (std::string_view(name) == "drop" || std::string_view(name) == "input method")
            continue; // these carry their own text, below
        e->setNull(true);
        beeps = 0;
        enter();
        EXPECT_TRUE(e->Null()) << name;
        EXPECT_EQ(e->text(), "n/a") << name;
        EXPECT_EQ(beeps, 1) << name;
    }
    e->setNull(true);
    QInputMethodEvent im;
    im.setCommitString(QStringLiteral("\u20ac"));
    QApplication::sendEvent(e, &im);
    EXPECT_TRUE(e->Null());
    EXPECT_FALSE(drop(e, QStringLiteral("-3")));
    EXPECT_TRUE(e->Null());
}

TEST_F(EntryTest, PastedTextObeysSignAndSeparatorRulesAndRegroupsLive)
{
    TESBPosFloatEdit e;
    e.setDecimalPlaces(0);
    e.setThousandSeparators(TESBSeparatorStyle::essAuto);
    e.clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("12345"));
    e.PasteFromClipboard();
    EXPECT_EQ(e.text(), "12,345");
    EXPECT_EQ(e.AsFloat(), 12345.0L);

    // "+" on a text keeps it positive as the key does; a second decimal
    // separator refuses the paste.
    TESBPosFloatEdit f;
    f.setAsFloat(1.5);
    f.setCursorPosition(f.text().size());
    QGuiApplication::clipboard()->setText(QStringLiteral("+"));
    f.PasteFromClipboard();
    EXPECT_EQ(f.AsFloat(), 1.5L);
    beeps = 0;
    QGuiApplication::clipboard()->setText(QStringLiteral("5.1"));
    f.PasteFromClipboard();
    EXPECT_EQ(f.text(), "+1.5000");
    EXPECT_EQ(beeps, 1);
}

TEST_F(EntryTest, AutoSelectFalseHoldsWhenTabBringsTheFocus)
{
    QWidget *w = activeWindow();
    auto *first = new TESBPosFloatEdit(w);
    auto *second = new TESBPosFloatEdit(w);
    second->setAsFloat(2.5);
    ASSERT_TRUE(activate());
    for (bool autoSelect : {true, false}) {
        second->setAutoSelect(autoSelect);
        second->setCursorPosition(0);
        first->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(first, Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), second);
        EXPECT_EQ(second->hasSelectedText(), autoSelect);
        EXPECT_EQ(second->selectedText(), autoSelect ? second->text() : QString());
        QTest::keyClick(second, Qt::Key_Backtab);
        ASSERT_EQ(QApplication::focusWidget(), first);
        EXPECT_EQ(first->selectedText(), first->text()); // the default stays on
    }
}

} // namespace

// ---- refused and accepted pastes, row by row --------------------------------

namespace
{

enum class Kind { Plain, Integer, Positive, Signed };

std::unique_ptr<TESBBaseEdit> makeEdit(Kind kind)
{
    switch (kind) {
    case Kind::Plain: return std::make_unique<TESBBaseEdit>();
    case Kind::Integer: return std::make_unique<TESBPosEdit>();
    case Kind::Positive: return std::make_unique<TESBPosFloatEdit>();
    case Kind::Signed: return std::make_unique<TESBFloatEdit>();
    }
    return nullptr;
}

// Where the caret or the selection stands before the paste.
struct Place {
    int Start = -1; // -1: the caret at the end
    int Length = 0; // > 0: a selection from Start
};

void placeCaret(QLineEdit &e, Place p)
{
    if (p.Length > 0)
        e.setSelection(p.Start, p.Length);
    else
        e.setCursorPosition(p.Start < 0 ? int(e.text().size()) : p.Start);
}

void paste(QLineEdit &e, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier);
}

// Everything a refused paste must give back.
struct Seen {
    QString Text;
    bool Null;
    int SelStart;
    QString Selected;
    int Caret;
    bool PosSign;
    long double Value;
    QColor Ink;

    static Seen of(TESBBaseNumericEdit &e)
    {
        auto *i = qobject_cast<TESBPosEdit *>(&e);
        return {e.text(),
                e.Null(),
                e.selectionStart(),
                e.selectedText(),
                e.cursorPosition(),
                e.ShowPosSign(),
                i ? static_cast<long double>(i->AsInt64()) : e.AsFloat(),
                e.palette().color(QPalette::Text)};
    }
    bool operator==(const Seen &) const = default;
};

void PrintTo(const Seen &s, std::ostream *os)
{
    *os << '"' << s.Text.toStdString() << "\" null " << s.Null << " sel " << s.SelStart << '+'
        << s.Selected.size() << " caret " << s.Caret << " +sign " << s.PosSign << " value "
        << double(s.Value) << " ink " << s.Ink.name().toStdString();
}

struct RefusedRow {
    const char *Name;
    Kind Edit;
    long double Value;
    bool Null;
    bool FullAccuracy;
    Place At;
    const char *Clip;
};

void PrintTo(const RefusedRow &r, std::ostream *os)
{
    *os << r.Name;
}

class RefusedPaste : public EditTest, public testing::WithParamInterface<RefusedRow>
{
};

// A paste whose first characters go in before a later one is refused: the
// edit ends as it began, down to the stored value, the sign shown, the ink
// and the selection, with one beep and no change notification.
TEST_P(RefusedPaste, LeavesTheEditAsItWas)
{
    const RefusedRow &r = GetParam();
    std::unique_ptr<TESBBaseEdit> owner = makeEdit(r.Edit);
    auto &e = static_cast<TESBBaseNumericEdit &>(*owner);
    e.setNullStr(QStringLiteral("n/a"));
    e.setColorFontNeg(clRed);
    e.setColorFontPos(clNavy);
    if (auto *f = qobject_cast<TESBPosFloatEdit *>(&e))
        f->setFullAccuracy(r.FullAccuracy);
    e.setAsFloat(r.Value);
    if (auto *i = qobject_cast<TESBPosEdit *>(&e))
        i->setAsInt64(std::int64_t(r.Value));
    e.setNull(r.Null);
    placeCaret(e, r.At);
    const Seen before = Seen::of(e);

    QSignalSpy changes(&e, &TESBCustomEdit::OnChange);
    paste(e, QString::fromUtf8(r.Clip));
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(Seen::of(e), before);
    // The stored value, not only the text, is the old one.
    e.ValueToText();
    EXPECT_EQ(e.text(), before.Text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RefusedPaste,
    testing::Values(
        RefusedRow{"DigitThenLetterIntoANullEdit", Kind::Positive, 0, true, false, {}, "5x"},
        RefusedRow{"DigitsThenLetterIntoANullIntegerEdit", Kind::Integer, 0, true, false, {},
                   "12x"},
        RefusedRow{"MinusThenLetterOnAPositiveValue", Kind::Signed, 5, false, false, {}, "-x"},
        RefusedRow{"MinusThenLetterOnANegativeValue", Kind::Signed, -5, false, false, {}, "-x"},
        RefusedRow{"MinusThenLetterKeepsTheFullValue", Kind::Signed, 0.81299L, false, true, {},
                   "-x"},
        RefusedRow{"PlusThenLetterKeepsTheSignHidden", Kind::Positive, 1.5L, false, false, {},
                   "+x"},
        RefusedRow{"PlusThenLetterOnAnInteger", Kind::Integer, 7, false, false, {}, "+x"},
        RefusedRow{"DigitThenLetterOverASelection", Kind::Positive, 12.5L, false, false, {1, 3},
                   "9x"},
        RefusedRow{"DigitThenLetterAtTheCaret", Kind::Positive, 12.5L, false, false, {2, 0},
                   "9x"},
        RefusedRow{"SeparatorThenSecondSeparatorOverASelection", Kind::Positive, 1.5L, false,
                   false, {1, 2}, ".5."}),
    [](const testing::TestParamInfo<RefusedRow> &i) { return std::string(i.param.Name); });

struct AcceptedRow {
    const char *Name;
    Kind Edit;
    const char *Start; // set as the line edit's own text
    bool Null;
    int MaxLength;
    Place At;
    const char *Clip;
    const char *Shown;
    int Changes;
};

void PrintTo(const AcceptedRow &r, std::ostream *os)
{
    *os << r.Name;
}

class AcceptedPaste : public EditTest, public testing::WithParamInterface<AcceptedRow>
{
};

// One change notification for a paste that changes the text, however many
// characters it holds; none for one that leaves the text as it was.
TEST_P(AcceptedPaste, NotifiesOnlyARealChange)
{
    const AcceptedRow &r = GetParam();
    std::unique_ptr<TESBBaseEdit> e = makeEdit(r.Edit);
    e->QLineEdit::setText(QString::fromLatin1(r.Start));
    e->setMaxLength(r.MaxLength);
    e->setNull(r.Null);
    placeCaret(*e, r.At);
    QSignalSpy changes(e.get(), &TESBCustomEdit::OnChange);
    paste(*e, QString::fromLatin1(r.Clip));
    EXPECT_EQ(e->text(), r.Shown);
    EXPECT_EQ(changes.count(), r.Changes);
    EXPECT_FALSE(e->Null());
    EXPECT_EQ(beeps, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AcceptedPaste,
    testing::Values(
        AcceptedRow{"SeveralCharactersIntoRoom", Kind::Positive, "", false, 0, {}, "1.25", "1.25", 1},
        AcceptedRow{"IntoAFullEdit", Kind::Integer, "123", false, 3, {}, "4", "123", 0},
        AcceptedRow{"IntoAFullEditAtItsStart", Kind::Integer, "123", false, 3, {0, 0}, "45", "123",
                    0},
        AcceptedRow{"TheSameTextOverItsSelection", Kind::Integer, "123", false, 0, {1, 1}, "2",
                    "123", 0},
        AcceptedRow{"OverTheWholeTextOfAFullEdit", Kind::Integer, "123", false, 3, {0, 3}, "45",
                    "45", 1},
        AcceptedRow{"OverPartOfAFullEditUpToTheLimit", Kind::Integer, "123", false, 3, {1, 1},
                    "45", "143", 1},
        AcceptedRow{"IntoANullEdit", Kind::Integer, "", true, 0, {}, "12", "12", 1},
        AcceptedRow{"InnerBlankIntoAPlainEdit", Kind::Plain, "", false, 0, {}, " a b ", "a b", 1}),
    [](const testing::TestParamInfo<AcceptedRow> &i) { return std::string(i.param.Name); });

// With ForceDecimals a typed digit that would lengthen a full fraction is
// dropped; a pasted text holding such a digit is refused whole, judged
// character by character as typing judges it.
struct ForcedRow {
    const char *Name;
    quint8 Places;
    const char *Start;
    Place At;
    const char *Input;
    const char *Typed;
    const char *Pasted;
};

void PrintTo(const ForcedRow &r, std::ostream *os)
{
    *os << r.Name;
}

class ForcedDecimals : public EditTest, public testing::WithParamInterface<ForcedRow>
{
  protected:
    std::unique_ptr<TESBPosFloatEdit> edit()
    {
        const ForcedRow &r = GetParam();
        auto e = std::make_unique<TESBPosFloatEdit>();
        e->setDecimalPlaces(r.Places);
        e->setForceDecimals(true);
        e->QLineEdit::setText(QString::fromLatin1(r.Start));
        placeCaret(*e, r.At);
        return e;
    }
};

TEST_P(ForcedDecimals, TypedAndPasted)
{
    const ForcedRow &r = GetParam();
    auto typed = edit();
    QTest::keyClicks(typed.get(), QString::fromLatin1(r.Input));
    EXPECT_EQ(typed->text(), r.Typed);
    EXPECT_EQ(beeps, 0) << "a dropped digit is silent";

    auto pasted = edit();
    paste(*pasted, QString::fromLatin1(r.Input));
    EXPECT_EQ(pasted->text(), r.Pasted);
    EXPECT_EQ(beeps, r.Pasted == std::string_view(r.Start) ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ForcedDecimals,
    testing::Values(
        ForcedRow{"LongFraction", 2, "", {}, "1.2345", "1.23", ""},
        ForcedRow{"FractionOfExactlyThePlaces", 2, "", {}, "1.23", "1.23", "1.23"},
        ForcedRow{"FractionFilledUp", 2, "1.2", {}, "3", "1.23", "1.23"},
        ForcedRow{"FractionFilledPastThePlaces", 2, "1.2", {}, "34", "1.23", "1.2"},
        ForcedRow{"FullFraction", 2, "1.23", {}, "4", "1.23", "1.23"},
        ForcedRow{"WholePartJustBeforeTheSeparator", 2, "1.23", {1, 0}, "9", "19.23", "19.23"},
        ForcedRow{"WholePartAtTheStart", 2, "1.23", {0, 0}, "90", "901.23", "901.23"},
        ForcedRow{"OverASelectedFractionDigit", 2, "1.23", {3, 1}, "4", "1.24", "1.24"},
        ForcedRow{"NoPlaces", 0, "", {}, "1.5", "1.", ""},
        ForcedRow{"LongWholeNumber", 2, "", {}, "123456", "123456", "123456"}),
    [](const testing::TestParamInfo<ForcedRow> &i) { return std::string(i.param.Name); });

} // namespace
