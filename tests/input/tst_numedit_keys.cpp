// Typing into the numeric edits: the character sets, sign and separator keys,
// live grouping, the null state, read-only edits and focus keys.

#include "tst_numedit_support.h"

#include <QClipboard>
#include <QSignalSpy>

#include <tuple>

using KeyTest = EditTest;

TEST_F(KeyTest, RefusedCharactersBeepAndChangeNothing)
{
    TESBPosEdit pos;
    TESBPosFloatEdit posFloat;
    TESBFloatEdit signedFloat;
    for (TESBBaseNumericEdit *e : std::initializer_list<TESBBaseNumericEdit *>{&pos, &posFloat, &signedFloat}) {
        const QString before = e->text();
        QSignalSpy changes(e, &TESBCustomEdit::OnChange);
        QTest::keyClick(e, 'a');
        EXPECT_EQ(e->text(), before);
        EXPECT_EQ(changes.count(), 0);
    }
    EXPECT_EQ(beeps, 3);

    // "-" is no character of the positive edits.
    pos.clear();
    posFloat.clear();
    QTest::keyClick(&pos, '-');
    QTest::keyClick(&posFloat, '-');
    EXPECT_EQ(beeps, 5);
    EXPECT_EQ(pos.text(), "");
    EXPECT_EQ(posFloat.text(), "");

    // The signed edit takes "-" into an empty text.
    signedFloat.clear();
    QTest::keyClicks(&signedFloat, "-5");
    EXPECT_EQ(signedFloat.text(), "-5");
    EXPECT_EQ(signedFloat.AsFloat(), -5.0L);
    EXPECT_EQ(beeps, 5);
}

TEST_F(KeyTest, OneDecimalSeparatorUnderEitherLocale)
{
    for (const QLocale &loc : {pointLocale(), commaLocale()}) {
        QLocale::setDefault(loc);
        const QChar dec = loc.decimalPoint().at(0);
        TESBPosFloatEdit e;
        e.clear();
        beeps = 0;
        QTest::keyClicks(&e, QStringLiteral("1") + dec + "5");
        EXPECT_EQ(beeps, 0);
        QTest::keyClicks(&e, QString(dec));
        EXPECT_EQ(beeps, 1);
        EXPECT_EQ(e.text(), QStringLiteral("1") + dec + "5");

        // Typed over a selection that holds the first one: accepted.
        e.setSelection(1, 2);
        QTest::keyClicks(&e, QString(dec) + "7");
        EXPECT_EQ(beeps, 1);
        EXPECT_EQ(e.text(), QStringLiteral("1") + dec + "7");
        EXPECT_EQ(e.AsFloat(), 1.7L);
    }
}

TEST_F(KeyTest, SignKeys)
{
    TESBPosFloatEdit e;
    e.setAsFloat(1.5L);
    QTest::keyClick(&e, '+');
    EXPECT_EQ(e.text(), "+1.5000");
    EXPECT_TRUE(e.ShowPosSign());
    QTest::keyClick(&e, '+');
    EXPECT_EQ(e.text(), "1.5000");
    EXPECT_EQ(e.AsFloat(), 1.5L);

    // On an empty text "+" is typed only when it turns the sign display on.
    e.clear();
    QTest::keyClick(&e, '+');
    EXPECT_TRUE(e.ShowPosSign());
    EXPECT_EQ(e.text(), "+");
    e.clear();
    QTest::keyClick(&e, '+');
    EXPECT_FALSE(e.ShowPosSign());
    EXPECT_EQ(e.text(), "");

    // Without toggling "+" only keeps the value positive.
    e.setUseSignToggling(false);
    e.setAsString("-2");
    QTest::keyClick(&e, '+');
    EXPECT_EQ(e.text(), "2.0000");
    EXPECT_FALSE(e.ShowPosSign());

    TESBFloatEdit s;
    s.setAsFloat(2);
    QTest::keyClick(&s, '-');
    EXPECT_EQ(s.text(), "-2.0000");
    QTest::keyClick(&s, '-');
    EXPECT_EQ(s.text(), "2.0000");
    s.setUseSignToggling(false);
    QTest::keyClick(&s, '-');
    QTest::keyClick(&s, '-');
    EXPECT_EQ(s.text(), "-2.0000");

    // The most negative integer made non-negative does not overflow.
    TESBPosEdit i;
    i.setAsString("-9223372036854775808");
    QTest::keyClick(&i, '+');
    EXPECT_EQ(i.AsInt64(), std::numeric_limits<int64_t>::max());
}

TEST_F(KeyTest, LiveGroupingKeepsTheCaretAtTheEnd)
{
    for (const QLocale &loc : {pointLocale(), commaLocale()}) {
        QLocale::setDefault(loc);
        const QString sep = loc.groupSeparator();
        TESBPosFloatEdit e;
        e.setDecimalPlaces(0);
        e.setThousandSeparators(TESBSeparatorStyle::essAuto);
        e.clear();
        QStringList shown;
        for (char c : {'1', '2', '3', '4'}) {
            QTest::keyClick(&e, c);
            shown << e.text();
            EXPECT_EQ(e.cursorPosition(), e.text().size());
        }
        EXPECT_EQ(shown, QStringList({"1", "12", "123", "1" + sep + "234"}));
        EXPECT_EQ(e.AsFloat(), 1234.0L);
        QTest::keyClicks(&e, "567");
        EXPECT_EQ(e.text(), "1" + sep + "234" + sep + "567");
    }
}

TEST_F(KeyTest, LiveGroupingLeavesASelectionAlone)
{
    TESBPosFloatEdit e;
    e.setDecimalPlaces(0);
    e.setThousandSeparators(TESBSeparatorStyle::essAuto);
    e.setAsFloat(12345);
    e.setCursorPosition(0);
    QTest::keyClick(&e, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&e, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(e.selectedText(), "12");
}

TEST_F(KeyTest, ForceDecimalsStopsAFullFraction)
{
    TESBPosFloatEdit e;
    e.setDecimalPlaces(2);
    e.setForceDecimals(true);
    e.clear();
    QTest::keyClicks(&e, "1.234");
    EXPECT_EQ(e.text(), "1.23");
    EXPECT_EQ(beeps, 0);
    // The whole part still grows.
    e.setCursorPosition(0);
    QTest::keyClick(&e, '9');
    EXPECT_EQ(e.text(), "91.23");
}

TEST_F(KeyTest, CtrlNEntersTheNullState)
{
    TESBPosFloatEdit e;
    e.setNullStr("n/a");
    e.setAsFloat(3);
    QSignalSpy nulls(&e, &TESBCustomEdit::OnNull);
    QTest::keyClick(&e, Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(e.Null());
    EXPECT_EQ(nulls.count(), 1);
    EXPECT_EQ(e.text(), "n/a");
    EXPECT_EQ(e.AsString(), "");
    EXPECT_EQ(e.AsFloat(), 0.0L);

    // A typed digit replaces the null text.
    QTest::keyClick(&e, '7');
    EXPECT_FALSE(e.Null());
    EXPECT_EQ(e.text(), "7");
    EXPECT_EQ(e.AsFloat(), 7.0L);

    // Without AllowKbdNull Ctrl+N does nothing.
    e.setAllowKbdNull(false);
    QTest::keyClick(&e, Qt::Key_N, Qt::ControlModifier);
    EXPECT_FALSE(e.Null());

    // Writing a value leaves the null state; BlankWhenNull shows nothing.
    e.setBlankWhenNull(true);
    e.setNull(true);
    EXPECT_EQ(e.text(), "");
    e.setAsFloat(0);
    EXPECT_FALSE(e.Null());
    EXPECT_EQ(e.text(), "0.0000");
}

TEST_F(KeyTest, PasteFollowsTheTypingRules)
{
    TESBPosFloatEdit e;
    e.clear();
    // "-" is no character of a positive edit, pasted or typed: the whole
    // paste is refused with one beep.
    QGuiApplication::clipboard()->setText("-5");
    QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(e.text(), "");
    EXPECT_EQ(beeps, 1);

    // Huge pastes read as numbers or 0 and never crash; garbage is refused.
    const std::tuple<QString, QString, long double> cases[] = {
        {QStringLiteral("1") + QString(400, '0'), QStringLiteral("1") + QString(400, '0'), 1e400L},
        {QString(10000, '7'), QString(10000, '7'), 0.0L},
        {QStringLiteral(" 12.5\r\n7"), QStringLiteral("12.5"), 12.5L}, // first line, trimmed
        {QStringLiteral("."), QStringLiteral("."), 0.0L},
        {QStringLiteral("12abc"), QString(), 0.0L},
        {QStringLiteral("1.2.3"), QString(), 0.0L},
        {QStringLiteral("1\t2"), QString(), 0.0L},
    };
    for (const auto &[clip, shown, expected] : cases) {
        e.clear();
        QGuiApplication::clipboard()->setText(clip);
        e.PasteFromClipboard();
        EXPECT_EQ(e.text(), shown) << clip.left(20).toStdString();
        const long double v = e.AsFloat();
        EXPECT_TRUE(std::isfinite(v));
        EXPECT_NEAR(double(v / (expected == 0 ? 1 : expected)), expected == 0 ? 0.0 : 1.0, 1e-12);
        e.ValueToText();
        EXPECT_LT(e.text().size(), 40);
    }

    // MaxLength limits typing and pasting.
    e.setMaxLength(3);
    e.clear();
    QGuiApplication::clipboard()->setText("12345");
    e.PasteFromClipboard();
    EXPECT_EQ(e.text(), "123");
    QTest::keyClick(&e, '4');
    EXPECT_EQ(e.text(), "123");
    // A full edit still takes a key that replaces its selection.
    e.setSelection(1, 2);
    QTest::keyClick(&e, '4');
    EXPECT_EQ(e.text(), "14");
}

TEST_F(KeyTest, ReadOnlyEdit)
{
    QWidget *w = activeWindow();
    auto *first = new TESBPosFloatEdit(w);
    auto *ro = new TESBPosFloatEdit(w);
    auto *last = new TESBPosFloatEdit(w);
    ro->setAsFloat(4);
    ro->setReadOnly(true);
    ASSERT_TRUE(activate());

    ro->selectAll();
    QTest::keyClick(ro, '1');
    QTest::keyClick(ro, 'x');
    EXPECT_EQ(beeps, 2);
    QTest::keyClick(ro, Qt::Key_Delete);
    ro->setCursorPosition(0);
    QTest::keyClick(ro, Qt::Key_Delete);
    QGuiApplication::clipboard()->setText("99");
    QTest::keyClick(ro, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(ro, Qt::Key_V, Qt::ControlModifier);
    ro->selectAll();
    QTest::keyClick(ro, Qt::Key_X, Qt::ControlModifier);
    ro->PasteFromClipboard();
    ro->CutToClipboard();
    EXPECT_EQ(ro->text(), "4.0000");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "99");

    // Tab skips it.
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), last);

    // Switched off, it types again and takes Tab focus.
    ro->setReadOnly(false);
    EXPECT_TRUE(ro->TabStop());
    ro->clear();
    QTest::keyClicks(ro, "12");
    EXPECT_EQ(ro->text(), "12");
    EXPECT_EQ(ro->ValidChars(), TESBPosFloatEdit().ValidChars());
}

TEST_F(KeyTest, EnterArrowsAndEscape)
{
    QWidget *w = activeWindow();
    auto *a = new TESBPosEdit(w);
    auto *b = new TESBPosEdit(w);
    auto *c = new TESBPosEdit(w);
    ASSERT_TRUE(activate());
    b->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), b);

    QTest::keyClick(b, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), c);
    QTest::keyClick(c, Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), b);
    QTest::keyClick(b, Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), a);
    QTest::keyClick(a, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), b);

    // With the options off the keys stay in the edit.
    ESBInputOptions().ArrowsNavigate = false;
    ESBInputOptions().EnterAsTab = false;
    QTest::keyClick(b, Qt::Key_Down);
    QTest::keyClick(b, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), b);

    // Esc undoes the typing.
    b->setCursorPosition(1);
    QTest::keyClicks(b, "56");
    EXPECT_EQ(b->text(), "056");
    QTest::keyClick(b, Qt::Key_Escape);
    EXPECT_EQ(b->text(), "0");
    EXPECT_EQ(QApplication::focusWidget(), b);
}

TEST_F(KeyTest, EscapeUndoesTheLastEditOnly)
{
    TESBPosEdit e;
    e.setAsString("12");
    e.setCursorPosition(2);
    QTest::keyClick(&e, '3');
    QTest::keyClick(&e, Qt::Key_Home); // a caret move ends the first edit
    QTest::keyClick(&e, '4');
    ASSERT_EQ(e.text(), "4123");
    QSignalSpy changes(&e, &TESBCustomEdit::OnChange);
    QTest::keyClick(&e, Qt::Key_Escape);
    EXPECT_EQ(e.text(), "123");
    EXPECT_EQ(e.AsInteger(), 123);
    EXPECT_EQ(changes.count(), 1);
    QTest::keyClick(&e, Qt::Key_Escape);
    EXPECT_EQ(e.text(), "12");

    // A refused paste keeps the history: Esc still undoes the typing before it.
    QTest::keyClick(&e, Qt::Key_End);
    QTest::keyClick(&e, '3');
    QTest::keyClick(&e, Qt::Key_Home);
    QGuiApplication::clipboard()->setText("5x");
    QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(e.text(), "123");
    QTest::keyClick(&e, Qt::Key_Escape);
    EXPECT_EQ(e.text(), "12");

    // Esc is the edit's own, or, without EscapeUndoes, passed on (to close a
    // dialog) with the text left alone.
    for (bool undoes : {true, false}) {
        ESBInputOptions().EscapeUndoes = undoes;
        e.setAsString("12");
        QTest::keyClick(&e, '5');
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
        QApplication::sendEvent(&e, &esc);
        EXPECT_EQ(esc.isAccepted(), undoes);
        EXPECT_EQ(e.text(), undoes ? "12" : "125");
    }
}

TEST_F(KeyTest, CtrlASelectsEverything)
{
    TESBPosFloatEdit e;
    e.setAsFloat(12.5L);
    e.setCursorPosition(2);
    QTest::keyClick(&e, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(e.selectedText(), "12.5000");
    EXPECT_EQ(beeps, 0);
}

TEST_F(KeyTest, KeyHandlersMayChangeOrClearTheKey)
{
    TESBPosEdit e;
    e.clear();
    e.OnKeyPress = [](QObject *, QChar &key) {
        if (key == QLatin1Char('x'))
            key = QLatin1Char('9');
        else if (key == QLatin1Char('1'))
            key = QChar();
    };
    QTest::keyClicks(&e, "x1x");
    EXPECT_EQ(e.text(), "99");
    EXPECT_EQ(beeps, 0);

    int seen = 0;
    e.OnCNKeyDown = [&](QObject *, int &key, Qt::KeyboardModifiers) {
        ++seen;
        if (key == Qt::Key_Backspace)
            key = 0;
    };
    QTest::keyClick(&e, Qt::Key_Backspace);
    EXPECT_EQ(e.text(), "99");
    EXPECT_EQ(seen, 1);
}

TEST_F(KeyTest, NumPadDecimalTypesTheEditsSeparator)
{
    QLocale::setDefault(commaLocale());
    TESBPosFloatEdit e;
    e.setNumPadDecimal(true);
    e.clear();
    QTest::keyClick(&e, '1');
    QTest::keyClick(&e, Qt::Key_Period, Qt::KeypadModifier);
    QTest::keyClick(&e, '5');
    EXPECT_EQ(e.text(), "1,5");
    EXPECT_EQ(e.AsFloat(), 1.5L);
}

// The line edit's own setters, called through a QLineEdit pointer, are the
// edit's properties: nothing the edit keeps can fall out of step with them.
TEST_F(KeyTest, QLineEditSettersAreTheEditsOwn)
{
    TESBPosFloatEdit e;
    QLineEdit *line = &e;
    const QString digits = e.ValidChars().Chars;
    ASSERT_FALSE(digits.isEmpty());

    line->setReadOnly(true);
    EXPECT_TRUE(e.ReadOnly());
    EXPECT_TRUE(e.ValidChars().Chars.isEmpty()) << "no character may be typed";
    EXPECT_FALSE(e.TabStop()) << "a read-only edit leaves the tab order";
    e.clear();
    QTest::keyClick(&e, '5');
    EXPECT_EQ(beeps, 1);
    EXPECT_TRUE(e.text().isEmpty());
    line->setReadOnly(false);
    EXPECT_FALSE(e.ReadOnly());
    EXPECT_EQ(e.ValidChars().Chars, digits) << "the saved set comes back";
    EXPECT_TRUE(e.TabStop());
    e.setProperty("ReadOnly", true); // and the property writes the same state
    EXPECT_TRUE(line->isReadOnly());
    e.setProperty("ReadOnly", false);

    line->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(e.Alignment(), TAlignment::taRightJustify);
    line->setAlignment(Qt::AlignHCenter);
    EXPECT_EQ(e.Alignment(), TAlignment::taCenter);
    e.setAlignment(TAlignment::taLeftJustify);
    EXPECT_EQ(line->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);

    line->setMaxLength(3);
    EXPECT_EQ(e.MaxLength(), 3);
    e.clear();
    QTest::keyClicks(&e, "12345");
    EXPECT_EQ(e.text(), "123");
    e.setMaxLength(0);
    EXPECT_EQ(e.MaxLength(), 0);
    e.setAsFloat(123456.25L); // a text from code is never cut
    EXPECT_EQ(e.AsFloat(), 123456.25L);
}
