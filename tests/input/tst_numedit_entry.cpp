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
