// Values, redisplay, notifications, loading, the exit sequence with bounds
// checks, and colours of the numeric edits.

#include "tst_numedit_support.h"

#include <QSignalSpy>

#include <functional>
#include <limits>

using ValueTest = EditTest;

TEST_F(ValueTest, NewEditsShowZero)
{
    EXPECT_EQ(TESBPosEdit().text(), "0");
    EXPECT_EQ(TESBPosFloatEdit().text(), "0.0000");
    EXPECT_EQ(TESBFloatEdit().width(), 81);
    EXPECT_EQ(TESBFloatEdit().Version(), "2.3.1");
}

TEST_F(ValueTest, ReadsFollowTheTextRoundedToTheShownPlaces)
{
    TESBPosFloatEdit e;
    e.setAsFloat(0.81299L);
    EXPECT_EQ(e.text(), "0.8130");
    EXPECT_EQ(e.AsFloat(), 0.813L);

    const std::pair<const char *, long double> texts[] = {
        {"", 0}, {"12.", 12}, {"1e", 1}, {".", 0}, {"1,234.5", 1234.5L}, {"abc", 0}};
    for (const auto &[t, v] : texts) {
        e.QLineEdit::setText(QString::fromLatin1(t));
        EXPECT_EQ(e.AsFloat(), v) << t;
    }

    // FullAccuracy keeps a value written from code until the text changes.
    e.setFullAccuracy(true);
    e.setAsFloat(0.81299L);
    EXPECT_EQ(e.AsFloat(), 0.81299L);
    e.QLineEdit::setText("0.5");
    EXPECT_EQ(e.AsFloat(), 0.5L);
}

TEST_F(ValueTest, WritesNotifyOncePerRealChange)
{
    TESBPosFloatEdit e;
    QSignalSpy changes(&e, &TESBCustomEdit::OnChange);
    e.setAsFloat(1.5L);
    e.setAsFloat(1.5L);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).value<QObject *>(), &e);

    // The handler reads a value that matches the text.
    long double seen = -1;
    QObject::connect(&e, &TESBCustomEdit::OnChange, [&] { seen = e.AsFloat(); });
    QTest::keyClick(&e, '7');
    EXPECT_EQ(e.text(), "1.50007");
    EXPECT_EQ(seen, 1.50007L);

    // A text written from code is normalised at once.
    TESBPosEdit i;
    i.setShowThousandSeparators(true);
    i.setAsString("1234");
    EXPECT_EQ(i.text(), "1,234");
    EXPECT_EQ(i.AsInteger(), 1234);
}

TEST_F(ValueTest, LoadingInLayoutOrderRaisesNoChange)
{
    struct Row {
        long double value;
        quint8 places;
        bool autoGroup;
        const char *shown;
    };
    for (const Row &r : {Row{22.5L, 1, false, "22.5"}, Row{0.65L, 3, false, "0.650"},
                         Row{2081, 0, true, "2,081"}, Row{0.813L, 4, false, "0.8130"}}) {
        TESBPosFloatEdit e;
        QSignalSpy changes(&e, &TESBCustomEdit::OnChange);
        e.beginLoading();
        e.setAsFloat(r.value);
        if (r.places != 4)
            e.setDecimalPlaces(r.places);
        if (r.autoGroup)
            e.setThousandSeparators(TESBSeparatorStyle::essAuto);
        e.setScale(1);
        e.Loaded();
        EXPECT_EQ(e.text(), r.shown);
        EXPECT_EQ(changes.count(), 0);
        EXPECT_EQ(e.AsFloat(), r.value);
    }

    QLocale::setDefault(commaLocale());
    TESBPosFloatEdit e;
    e.setAsFloat(2081);
    e.setDecimalPlaces(0);
    e.setThousandSeparators(TESBSeparatorStyle::essAuto);
    EXPECT_EQ(e.text(), "2.081");

    TESBPosEdit i;
    i.beginLoading();
    i.setAsLongWord(45);
    i.Loaded();
    EXPECT_EQ(i.text(), "45");
    EXPECT_EQ(i.AsInteger(), 45);
}

TEST_F(ValueTest, NonFiniteWritesShowZero)
{
    for (long double v : {std::numeric_limits<long double>::quiet_NaN(),
                          std::numeric_limits<long double>::infinity(),
                          -std::numeric_limits<long double>::infinity()}) {
        TESBFloatEdit e;
        e.setAsFloat(2);
        e.setAsFloat(v);
        EXPECT_EQ(e.text(), "0.0000") << double(v);
        EXPECT_EQ(e.AsFloat(), 0.0L);
        e.setAsFloat(2);
        e.setAsScaledFloat(v);
        EXPECT_EQ(e.text(), "0.0000") << double(v);
    }
}

TEST_F(ValueTest, IntegerWidths)
{
    TESBPosEdit e;
    e.setAsInt64(0x1'0000'0005LL);
    EXPECT_EQ(e.AsInt64(), 0x1'0000'0005LL);
    EXPECT_EQ(e.AsInteger(), 5);
    e.setAsLongWord(0xFFFFFFFFu);
    EXPECT_EQ(e.text(), "4294967295");
    EXPECT_EQ(e.AsInteger(), -1);
    e.setAsInteger(-1);
    EXPECT_EQ(e.AsInt64(), -1);
    EXPECT_EQ(e.AsLongWord(), 0xFFFFFFFFu);
    e.QLineEdit::setText("99999999999999999999");
    EXPECT_EQ(e.AsInt64(), 0);
}

TEST_F(ValueTest, DisplayOptions)
{
    TESBPosFloatEdit f;
    f.setDecimalPlaces(2);
    f.setAsFloat(0);
    f.setBlankWhenZero(true);
    EXPECT_EQ(f.text(), "");
    f.setAsFloat(1234.5L);
    f.setShowThousandSeparators(true);
    f.setShowPosSign(true);
    EXPECT_EQ(f.text(), "+1,234.50");
    f.setTrimTrailingZeroes(true);
    EXPECT_EQ(f.text(), "+1,234.5");

    f.setScale(100);
    EXPECT_EQ(f.text(), "+12.35");
    EXPECT_NEAR(double(f.AsScaledFloat()), 12.35, 1e-15);
    f.setAsScaledFloat(2);
    EXPECT_EQ(f.AsFloat(), 200.0L);
    f.setScale(-1e-400L);
    EXPECT_EQ(f.Scale(), 1.0L);

    TESBPosEdit i;
    i.setMaxLength(5);
    i.setZeroPad(true);
    i.setAsInteger(42);
    EXPECT_EQ(i.text(), "00042");
    i.setAsInteger(-42);
    EXPECT_EQ(i.text(), "-0042");
    EXPECT_EQ(i.AsInteger(), -42);
    i.setMaxLength(6); // the padding follows at once
    EXPECT_EQ(i.text(), "-00042");

    // Custom separators apply to every conversion.
    TESBPosFloatEdit c;
    c.setCustomDecimal(QLatin1Char('/'));
    c.setCustomThousands(QLatin1Char('_'));
    c.setCustomSeparators(true);
    c.setShowThousandSeparators(true);
    c.setAsFloat(1234.5L);
    EXPECT_EQ(c.text(), "1_234/5000");
    EXPECT_TRUE(c.ValidChars().contains(QLatin1Char('/')));
    EXPECT_FALSE(c.ValidChars().contains(QLatin1Char('.')));
    c.clear();
    QTest::keyClicks(&c, "7/25");
    EXPECT_EQ(c.AsFloat(), 7.25L);
}

TEST_F(ValueTest, ExitNormalisesTheTextAndChecksBounds)
{
    QWidget *w = activeWindow();
    auto *e = new TESBPosFloatEdit(w);
    auto *other = new TESBPosEdit(w);
    e->setDecimalPlaces(3);
    ASSERT_TRUE(activate());
    e->setFocus();
    e->clear();
    QTest::keyClicks(e, "0.65");
    QSignalSpy changes(e, &TESBCustomEdit::OnChange);
    QSignalSpy exits(e, &TESBCustomEdit::OnExit);
    other->setFocus();
    EXPECT_EQ(e->text(), "0.650");
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(exits.count(), 1);

    // Out of bounds: the message ends with the bound at the edit's places and
    // focus comes back.
    e->setDecimalPlaces(2);
    e->setBoundLower(1);
    e->setBoundUpper(5);
    e->setBoundsEnabled(true);
    {
        MessageCatcher box;
        e->setFocus();
        other->setFocus();
        EXPECT_EQ(box.seen, 1);
        EXPECT_EQ(box.text, "Your entered Value is below the acceptable limit of 1.00");
    }
    EXPECT_TRUE(waitFor([&] { return w->focusWidget() == e; }));
    EXPECT_EQ(e->LastBoundsError(), 1);

    // With a handler no message appears; the handler gets the kind.
    ASSERT_TRUE(activate());
    QSignalSpy errors(e, &TESBBaseEdit::OnBoundsError);
    e->QLineEdit::setText("6");
    {
        MessageCatcher box;
        other->setFocus(); // a box would be modal: it would have been seen by now
        QCoreApplication::processEvents();
        EXPECT_EQ(box.seen, 0);
    }
    ASSERT_EQ(errors.count(), 1);
    EXPECT_EQ(errors.at(0).at(1).toString(), "6.00");
    EXPECT_EQ(errors.at(0).at(2).value<TESBBaseEdit::TESBBoundsValidationType>(),
              TESBBaseEdit::bvtAboveUpper);

    // OnExitStart may change the text and skip the check.
    e->OnExitStart = [](QObject *, QString &text, bool &further) {
        text = "9";
        further = false;
    };
    e->setFocus();
    other->setFocus();
    EXPECT_EQ(e->text(), "9.00");
    EXPECT_EQ(errors.count(), 1);
}

TEST_F(ValueTest, IntegerBoundsAndZeroBounds)
{
    QWidget *w = activeWindow();
    auto *e = new TESBPosEdit(w);
    auto *other = new TESBPosEdit(w);
    e->setBoundsEnabled(true);
    e->setBoundUpper(10);
    e->setAsInteger(11);
    ASSERT_TRUE(activate());
    {
        MessageCatcher box;
        e->setFocus();
        other->setFocus();
        EXPECT_EQ(box.text, "Your entered Value is above the acceptable limit of 10");
    }
    // Both bounds at 0: every positive value is above.
    e->setBoundsEnabled(false);
    auto *f = new TESBPosFloatEdit(w);
    f->setBoundsEnabled(true);
    f->setAsFloat(0.5L);
    f->show();
    ASSERT_TRUE(activate());
    {
        MessageCatcher box;
        f->setFocus();
        other->setFocus();
        EXPECT_EQ(box.text, "Your entered Value is above the acceptable limit of 0.0000");
    }
}

TEST_F(ValueTest, BackgroundFollowsTheState)
{
    QWidget *w = activeWindow();
    auto *e = new TESBPosFloatEdit(w);
    auto *other = new TESBPosFloatEdit(w);
    e->setColorRW(clWhite);
    e->setColorFocus(clYellow);
    e->setColorRO(clSilver);
    e->setColorDisabled(clGray);
    EXPECT_FALSE(e->Color_Defaults());
    auto base = [&] { return e->palette().color(QPalette::Base); };
    EXPECT_EQ(base(), QColor(Qt::white));
    ASSERT_TRUE(activate());
    e->setFocus();
    EXPECT_EQ(base(), QColor(255, 255, 0));
    other->setFocus();
    EXPECT_EQ(base(), QColor(Qt::white));
    e->setReadOnly(true);
    EXPECT_EQ(base(), QColor(0xC0, 0xC0, 0xC0));
    e->setReadOnly(false);
    e->setEnabled(false);
    EXPECT_EQ(base(), QColor(0x80, 0x80, 0x80));

    // Unset colours fall back: disabled to ColorRW, ColorRW to the parent.
    e->setColorDisabled(clNone);
    EXPECT_EQ(base(), QColor(Qt::white));
    e->setEnabled(true);
    e->setColorRW(clNone);
    EXPECT_EQ(base(), w->palette().color(QPalette::Window));

    e->setColor_Defaults(true);
    EXPECT_EQ(e->ColorRO(), TColor(0x00CCBDB5));
    EXPECT_EQ(base(), ColorToQColor(clWindow));
}

TEST_F(ValueTest, FlatBorderPixels)
{
    TESBPosFloatEdit e;
    e.resize(40, 21);
    e.setColorRW(clWhite);
    e.setColorBorderUnfocus(clRed);
    e.setFlat(true);
    QImage img = e.grab().toImage();
    EXPECT_EQ(img.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(img.pixelColor(1, 10), QColor(Qt::red));
    EXPECT_EQ(img.pixelColor(2, 10), QColor(Qt::white));
    e.setFlatBorder(7);
    EXPECT_EQ(e.FlatBorder(), 2);
    e.setFlatBorder(0);
    img = e.grab().toImage();
    EXPECT_EQ(img.pixelColor(1, 10), QColor(Qt::white));

    // LineEdit: only an underline in the focus-border colour.
    e.setColorBorderFocus(clNavy);
    e.setLineEdit(true);
    EXPECT_TRUE(e.Flat());
    img = e.grab().toImage();
    EXPECT_EQ(img.pixelColor(20, 20), QColor(0, 0, 0x80));
    EXPECT_EQ(img.pixelColor(0, 0), QColor(Qt::white));
    e.setFlat(false);
    EXPECT_FALSE(e.LineEdit());
}

// Values on and next to the bounds: a value equal to a bound is accepted.
struct BoundsRow {
    const char *Name;
    bool Float;
    const char *Text;
    int Error; // 0 accepted, 1 below the lower bound, 2 above the upper
};

void PrintTo(const BoundsRow &r, std::ostream *os)
{
    *os << r.Name;
}

class BoundsTest : public EditTest, public testing::WithParamInterface<BoundsRow>
{
};

TEST_P(BoundsTest, OnlyValuesOutsideTheBoundsAreReported)
{
    const BoundsRow &r = GetParam();
    std::unique_ptr<TESBBaseNumericEdit> e;
    if (r.Float) {
        auto f = std::make_unique<TESBPosFloatEdit>();
        f->setDecimalPlaces(2);
        f->setBoundLower(1.25L);
        f->setBoundUpper(5);
        e = std::move(f);
    } else {
        auto i = std::make_unique<TESBPosEdit>();
        i->setBoundLower(3);
        i->setBoundUpper(10);
        e = std::move(i);
    }
    e->setBoundsEnabled(true);
    QSignalSpy errors(e.get(), &TESBBaseEdit::OnBoundsError); // reported, not a message box
    e->QLineEdit::setText(QString::fromLatin1(r.Text));
    e->CheckBounds();
    EXPECT_EQ(e->LastBoundsError(), r.Error);
    EXPECT_EQ(errors.count(), r.Error ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, BoundsTest,
    testing::Values(BoundsRow{"FloatAtLower", true, "1.25", 0},
                    BoundsRow{"FloatJustBelowLower", true, "1.24", 1},
                    BoundsRow{"FloatJustAboveLower", true, "1.26", 0},
                    BoundsRow{"FloatAtUpper", true, "5.00", 0},
                    BoundsRow{"FloatJustAboveUpper", true, "5.01", 2},
                    BoundsRow{"IntegerAtLower", false, "3", 0},
                    BoundsRow{"IntegerBelowLower", false, "2", 1},
                    BoundsRow{"IntegerAtUpper", false, "10", 0},
                    BoundsRow{"IntegerAboveUpper", false, "11", 2}),
    [](const testing::TestParamInfo<BoundsRow> &i) { return std::string(i.param.Name); });

namespace
{

// Entering and leaving the null state: every way in or out, and the text and
// value it leaves. The edits start at 0 with the null text "n/a".
enum class Kind { Integer, Positive, Signed };

struct NullRow {
    const char *Name;
    Kind Edit;
    bool StartNull;
    std::function<void(TESBBaseNumericEdit &)> Act;
    bool Null;
    const char *Shown;
};

void PrintTo(const NullRow &r, std::ostream *os)
{
    *os << r.Name;
}

class NullState : public EditTest, public testing::WithParamInterface<NullRow>
{
};

TEST_P(NullState, WaysInAndOut)
{
    const NullRow &r = GetParam();
    std::unique_ptr<TESBBaseNumericEdit> e;
    switch (r.Edit) {
    case Kind::Integer: e = std::make_unique<TESBPosEdit>(); break;
    case Kind::Positive: e = std::make_unique<TESBPosFloatEdit>(); break;
    case Kind::Signed: e = std::make_unique<TESBFloatEdit>(); break;
    }
    e->setNullStr("n/a");
    e->setNull(r.StartNull);
    QSignalSpy nulls(e.get(), &TESBCustomEdit::OnNull);
    r.Act(*e);
    EXPECT_EQ(e->Null(), r.Null);
    EXPECT_EQ(e->text(), r.Shown);
    EXPECT_EQ(e->AsString(), r.Null ? QString() : e->text());
    EXPECT_EQ(e->AsFloat(), 0.0L);
    EXPECT_EQ(nulls.count(), r.Null && !r.StartNull ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NullState,
    testing::Values(
        NullRow{"SetNullFalseShowsTheValue", Kind::Positive, true,
                [](TESBBaseNumericEdit &e) { e.setNull(false); }, false, "0.0000"},
        NullRow{"SameFloatLeaves", Kind::Positive, true, [](TESBBaseNumericEdit &e) { e.setAsFloat(0); },
                false, "0.0000"},
        NullRow{"SameScaledFloatLeaves", Kind::Positive, true,
                [](TESBBaseNumericEdit &e) {
                    static_cast<TESBPosFloatEdit &>(e).setAsScaledFloat(0);
                },
                false, "0.0000"},
        NullRow{"SameIntegerLeaves", Kind::Integer, true,
                [](TESBBaseNumericEdit &e) { static_cast<TESBPosEdit &>(e).setAsInteger(0); },
                false, "0"},
        NullRow{"SameInt64Leaves", Kind::Integer, true,
                [](TESBBaseNumericEdit &e) { static_cast<TESBPosEdit &>(e).setAsInt64(0); }, false,
                "0"},
        NullRow{"TextOtherThanTheNullTextLeaves", Kind::Positive, true,
                [](TESBBaseNumericEdit &e) { e.setAsString(""); }, false, "0.0000"},
        NullRow{"EmptyTextOnAValueStaysAValue", Kind::Positive, false,
                [](TESBBaseNumericEdit &e) {
                    e.setNullStr("");
                    e.setAsString("");
                },
                false, "0.0000"},
        NullRow{"NullStrFollowsWhileNull", Kind::Positive, true,
                [](TESBBaseNumericEdit &e) { e.setNullStr("none"); }, true, "none"},
        NullRow{"BlankWhenNullFollowsWhileNull", Kind::Positive, true,
                [](TESBBaseNumericEdit &e) { e.setBlankWhenNull(true); }, true, ""},
        NullRow{"CtrlNEnters", Kind::Positive, false,
                [](TESBBaseNumericEdit &e) {
                    QTest::keyClick(&e, Qt::Key_N, Qt::ControlModifier);
                },
                true, "n/a"},
        NullRow{"RefusedKeyStaysNull", Kind::Positive, true,
                [](TESBBaseNumericEdit &e) { QTest::keyClick(&e, 'x'); }, true, "n/a"},
        NullRow{"DecimalSeparatorLeaves", Kind::Positive, true,
                [](TESBBaseNumericEdit &e) { QTest::keyClick(&e, '.'); }, false, "."},
        NullRow{"MinusRefusedWhereItIsNoCharacter", Kind::Positive, true,
                [](TESBBaseNumericEdit &e) { QTest::keyClick(&e, '-'); }, true, "n/a"},
        NullRow{"MinusLeavesWhereItIsTyped", Kind::Signed, true,
                [](TESBBaseNumericEdit &e) { QTest::keyClick(&e, '-'); }, false, "-"},
        NullRow{"PlusLeavesAndShowsTheSign", Kind::Positive, true,
                [](TESBBaseNumericEdit &e) { QTest::keyClick(&e, '+'); }, false, "+"}),
    [](const testing::TestParamInfo<NullRow> &i) { return std::string(i.param.Name); });

// One change notification per change of the text, whatever made it, and
// none for what leaves the text as it was. The edit starts showing 1.5000.
struct ChangeRow {
    const char *Name;
    std::function<void(TESBPosFloatEdit &)> Act;
    int Changes;
};

void PrintTo(const ChangeRow &r, std::ostream *os)
{
    *os << r.Name;
}

class ChangeCount : public EditTest, public testing::WithParamInterface<ChangeRow>
{
};

TEST_P(ChangeCount, OncePerRealChange)
{
    TESBPosFloatEdit e;
    e.setAsFloat(1.5L);
    e.setCursorPosition(int(e.text().size()));
    QSignalSpy changes(&e, &TESBCustomEdit::OnChange);
    GetParam().Act(e);
    EXPECT_EQ(changes.count(), GetParam().Changes) << e.text().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ChangeCount,
    testing::Values(
        ChangeRow{"TypedDigit", [](TESBPosFloatEdit &e) { QTest::keyClick(&e, '7'); }, 1},
        ChangeRow{"Backspace", [](TESBPosFloatEdit &e) { QTest::keyClick(&e, Qt::Key_Backspace); },
                  1},
        ChangeRow{"CutOfEverything",
                  [](TESBPosFloatEdit &e) {
                      e.selectAll();
                      e.CutToClipboard();
                  },
                  1},
        ChangeRow{"TypedDigitThenEsc",
                  [](TESBPosFloatEdit &e) {
                      QTest::keyClick(&e, '7');
                      QTest::keyClick(&e, Qt::Key_Escape);
                  },
                  2},
        ChangeRow{"RefusedKey", [](TESBPosFloatEdit &e) { QTest::keyClick(&e, 'a'); }, 0},
        ChangeRow{"SecondSeparator", [](TESBPosFloatEdit &e) { QTest::keyClick(&e, '.'); }, 0},
        ChangeRow{"PlusShowsTheSign", [](TESBPosFloatEdit &e) { QTest::keyClick(&e, '+'); }, 1},
        ChangeRow{"SameText", [](TESBPosFloatEdit &e) { e.setAsString(e.text()); }, 0},
        ChangeRow{"SameValue", [](TESBPosFloatEdit &e) { e.setAsFloat(1.5L); }, 0},
        ChangeRow{"TextThenItsNormalForm", [](TESBPosFloatEdit &e) { e.setAsString("2"); }, 2},
        ChangeRow{"SamePlacesKeepTheTypedText",
                  [](TESBPosFloatEdit &e) {
                      QTest::keyClick(&e, '7');
                      e.setDecimalPlaces(4);
                  },
                  1},
        ChangeRow{"OtherPlaces", [](TESBPosFloatEdit &e) { e.setDecimalPlaces(2); }, 1},
        ChangeRow{"NullTwice",
                  [](TESBPosFloatEdit &e) {
                      e.setNull(true);
                      e.setNull(true);
                  },
                  1},
        ChangeRow{"CtrlN",
                  [](TESBPosFloatEdit &e) { QTest::keyClick(&e, Qt::Key_N, Qt::ControlModifier); },
                  1},
        ChangeRow{"WhileLoading",
                  [](TESBPosFloatEdit &e) {
                      e.beginLoading();
                      e.setAsFloat(3);
                      QTest::keyClick(&e, '7');
                      e.Loaded();
                  },
                  0}),
    [](const testing::TestParamInfo<ChangeRow> &i) { return std::string(i.param.Name); });

} // namespace
