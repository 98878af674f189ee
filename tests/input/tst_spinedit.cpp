// The floating-point spin edit: glyphs, layout, loading, stepping by buttons
// and keys, range rules, auto-repeat, read-only and focus handling.

#include "widgets/input/ESBPCSSpinEdit.h"

#include "tst_numedit_support.h"

#include <QSignalSpy>

#include <functional>
#include <limits>

using SpinTest = EditTest;

namespace {

// Black pixels per row of a glyph; the rest must be transparent.
QVector<int> blackRuns(const QImage &g)
{
    QVector<int> runs;
    for (int y = 0; y < g.height(); ++y) {
        int n = 0;
        for (int x = 0; x < g.width(); ++x) {
            const QRgb p = g.pixel(x, y);
            if (qAlpha(p) == 255 && (p & 0xFFFFFF) == 0) {
                ++n;
            } else {
                EXPECT_EQ(qAlpha(p), 0) << x << "," << y;
            }
        }
        runs << n;
    }
    return runs;
}

// The main window's load spin edit, loaded in layout order.
void loadSELoad(TESBFloatSpinEdit &s)
{
    s.beginLoading();
    s.setDecimalPlaces(0);
    s.setMax(3000);
    s.setMaxLength(0);
    s.setPageStep(10);
    s.setStep(50);
    s.setValue(50);
    s.Loaded();
}

void loadSEGradient(TESBFloatSpinEdit &s)
{
    s.beginLoading();
    s.setValue(0);
    s.setMin(0);
    s.setMax(100);
    s.setStep(0.001L);
    s.setPageStep(10);
    s.Loaded();
}

} // namespace

TEST_F(SpinTest, GlyphsAreCentredTriangles)
{
    const QImage up = ESBSpinGlyph(true);
    const QImage down = ESBSpinGlyph(false);
    ASSERT_EQ(up.size(), QSize(9, 7));
    ASSERT_EQ(down.size(), QSize(9, 7));
    EXPECT_EQ(blackRuns(up), QVector<int>({0, 0, 1, 3, 5, 7, 0}));
    EXPECT_EQ(blackRuns(down), QVector<int>({0, 7, 5, 3, 1, 0, 0}));
    // Centred on column 3.
    EXPECT_EQ(qAlpha(up.pixel(3, 2)), 255);
    EXPECT_EQ(qAlpha(up.pixel(1, 4)), 255);
    EXPECT_EQ(qAlpha(up.pixel(0, 4)), 0);
    EXPECT_EQ(qAlpha(down.pixel(3, 4)), 255);
    EXPECT_EQ(qAlpha(down.pixel(2, 3)), 255);
    EXPECT_EQ(qAlpha(down.pixel(7, 1)), 0);
}

TEST_F(SpinTest, LayoutFollowsTheHeight)
{
    TESBFloatSpinEdit s;
    EXPECT_EQ(s.size(), QSize(87, 21));
    EXPECT_EQ(s.editor()->geometry(), QRect(0, 0, 71, 21));
    EXPECT_EQ(s.upButton()->geometry(), QRect(71, 0, 16, 11));
    EXPECT_EQ(s.downButton()->geometry(), QRect(71, 11, 16, 10));
    EXPECT_EQ(s.Alignment(), TAlignment::taRightJustify);
    EXPECT_EQ(s.editor()->text(), "0.0000");
    EXPECT_EQ(s.Min(), 0.0L);
    EXPECT_EQ(s.Max(), 100.0L);
    EXPECT_FALSE(s.focusPolicy() & Qt::TabFocus);

    // Children are laid out on the resize events of a shown control.
    s.show();
    s.resize(49, 40); // auto-size keeps the editor's height
    EXPECT_EQ(s.size(), QSize(49, 21));
    EXPECT_EQ(s.editor()->width(), 33);
    EXPECT_EQ(s.upButton()->x(), 33);

    s.setAutoSize(false);
    s.resize(49, 30);
    EXPECT_EQ(s.upButton()->geometry(), QRect(33, 0, 16, 15));
    EXPECT_EQ(s.downButton()->geometry(), QRect(33, 15, 16, 15));
    EXPECT_EQ(s.editor()->height(), 30);
}

TEST_F(SpinTest, LoadingShowsTheValueWithoutChange)
{
    TESBFloatSpinEdit load;
    QSignalSpy changes(&load, &TESBFloatSpinEdit::OnChange);
    loadSELoad(load);
    EXPECT_EQ(load.editor()->text(), "50");
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(load.Value(), 50.0L);

    TESBFloatSpinEdit gradient;
    loadSEGradient(gradient);
    EXPECT_EQ(gradient.editor()->text(), "0.0000");
}

TEST_F(SpinTest, StepsStopAtTheBoundsOrWrap)
{
    TESBFloatSpinEdit s;
    loadSELoad(s);
    QSignalSpy ups(&s, &TESBFloatSpinEdit::OnUpClick);
    s.setValue(2990);
    s.StepUp();
    EXPECT_EQ(s.editor()->text(), "3000");
    s.StepUp();
    EXPECT_EQ(s.editor()->text(), "3000");
    s.setWrap(true);
    s.StepUp();
    EXPECT_EQ(s.editor()->text(), "0");
    s.StepDown();
    EXPECT_EQ(s.editor()->text(), "3000");
    s.setWrap(false);
    s.setValue(20);
    s.StepDown();
    EXPECT_EQ(s.editor()->text(), "0");
    ASSERT_EQ(ups.count(), 3);
    EXPECT_EQ(ups.at(0).at(0).value<QObject *>(), s.upButton());
    QSignalSpy downs(&s, &TESBFloatSpinEdit::OnDownClick);
    s.StepDown();
    ASSERT_EQ(downs.count(), 1);
    EXPECT_EQ(downs.at(0).at(0).value<QObject *>(), s.downButton());
    EXPECT_EQ(ups.count(), 3);

    // The click event comes before the step.
    long double seen = -1;
    QObject::connect(&s, &TESBFloatSpinEdit::OnDownClick, [&] { seen = s.Value(); });
    s.setValue(100);
    s.downButton()->click();
    EXPECT_EQ(seen, 100.0L);
    EXPECT_EQ(s.Value(), 50.0L);
}

TEST_F(SpinTest, KeysSpinWhileTheEditorHasFocus)
{
    QWidget *w = activeWindow();
    auto *other = new TESBPosEdit(w);
    auto *s = new TESBFloatSpinEdit(w);
    loadSEGradient(*s);
    ASSERT_TRUE(activate());
    s->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), s->editor());
    EXPECT_FALSE(ESBInputOptions().ArrowsNavigate);

    TESBFloatEdit *e = s->editor();
    QTest::keyClick(e, Qt::Key_Up);
    EXPECT_EQ(e->text(), "0.0010");
    QTest::keyClick(e, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(e->text(), "0.0000");
    s->setValue(95);
    QTest::keyClick(e, Qt::Key_PageUp);
    EXPECT_EQ(e->text(), "100.0000");
    QTest::keyClick(e, Qt::Key_PageDown);
    EXPECT_EQ(e->text(), "90.0000");
    QTest::keyClick(e, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(e->text(), "0.0000");
    QTest::keyClick(e, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(e->text(), "100.0000");
    // Ctrl with the arrows does nothing.
    QTest::keyClick(e, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(e->text(), "100.0000");
    EXPECT_EQ(QApplication::focusWidget(), e);

    // Leaving clamps the text and gives Up/Down back to focus navigation.
    e->QLineEdit::setText("250");
    other->setFocus();
    EXPECT_TRUE(ESBInputOptions().ArrowsNavigate);
    EXPECT_EQ(e->text(), "100.0000");

    // Without Arrows Up moves focus as in any edit.
    s->setArrows(false);
    s->setFocus();
    QTest::keyClick(e, Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), other);
    EXPECT_EQ(e->text(), "100.0000");
}

TEST_F(SpinTest, TypingPastMaxIsCorrectedByAValueReadingHandler)
{
    TESBFloatSpinEdit s;
    loadSELoad(s);
    QStringList seen;
    QObject::connect(&s, &TESBFloatSpinEdit::OnChange, [&] {
        s.Value();
        seen << s.editor()->text();
    });
    s.editor()->clear();
    seen.clear();
    QTest::keyClicks(s.editor(), "5000");
    EXPECT_EQ(s.editor()->text(), "3000");
    EXPECT_EQ(seen, QStringList({"5", "50", "500", "3000", "3000"}));
}

TEST_F(SpinTest, ValueReadsClampExceptZero)
{
    TESBFloatSpinEdit s;
    s.setMin(5);
    EXPECT_EQ(s.editor()->text(), "5.0000");
    s.editor()->QLineEdit::setText("");
    EXPECT_EQ(s.Value(), 0.0L);
    s.editor()->QLineEdit::setText("1");
    EXPECT_EQ(s.Value(), 5.0L);
    EXPECT_EQ(s.editor()->text(), "5.0000");
    s.setValue(1000);
    EXPECT_EQ(s.Value(), 100.0L);

    // Min and Max pull each other along.
    s.setMin(200);
    EXPECT_EQ(s.Max(), 200.0L);
    EXPECT_EQ(s.Value(), 200.0L);
    s.setMax(-1);
    EXPECT_EQ(s.Min(), -1.0L);
    EXPECT_EQ(s.Value(), -1.0L);
}

TEST_F(SpinTest, ReadOnlyAndEditorDisabled)
{
    TESBFloatSpinEdit s;
    loadSELoad(s);
    s.setReadOnly(true);
    EXPECT_TRUE(s.editor()->ReadOnly());
    s.upButton()->click();
    s.downButton()->click();
    ESBInputOptions().ArrowsNavigate = false;
    for (int key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown})
        QTest::keyClick(s.editor(), Qt::Key(key));
    QTest::keyClick(s.editor(), Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(s.editor()->text(), "50");

    s.setReadOnly(false);
    s.setEditorEnabled(false);
    s.editor()->setCursorPosition(2);
    QTest::keyClicks(s.editor(), "7- x");
    EXPECT_EQ(s.editor()->text(), "50");
    QTest::keyClick(s.editor(), Qt::Key_Backspace);
    EXPECT_EQ(s.editor()->text(), "5");
    EXPECT_EQ(beeps, 0);

    // The spin edit's key handlers run first and may change the key.
    s.setEditorEnabled(true);
    s.OnKeyPress = [](QObject *, QChar &key) {
        if (key == QLatin1Char('x'))
            key = QLatin1Char('1');
    };
    QTest::keyClick(s.editor(), 'x');
    EXPECT_EQ(s.editor()->text(), "51");
}

TEST_F(SpinTest, HeldButtonRepeatsAndReleasingOutsideStops)
{
    TESBFloatSpinEdit s;
    loadSELoad(s);
    s.setValue(0);
    s.setInterval(100);
    EXPECT_EQ(s.upButton()->Interval(), 100u);
    s.show();
    QSignalSpy ups(&s, &TESBFloatSpinEdit::OnUpClick);
    TESBSpeedBtn *b = s.upButton();

    // A quick click steps once.
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(ups.count(), 1);

    // Held: three repeats take at least three intervals (a loaded machine may
    // only make them later), then the release over the button steps once more.
    QElapsedTimer clock;
    clock.start();
    QTest::mousePress(b, Qt::LeftButton);
    EXPECT_TRUE(b->Held());
    ASSERT_TRUE(waitFor([&] { return ups.count() >= 4; }));
    EXPECT_GE(clock.elapsed(), 280);
    const int repeated = ups.count();
    QTest::mouseRelease(b, Qt::LeftButton);
    EXPECT_FALSE(b->Held());
    EXPECT_EQ(ups.count(), repeated + 1);

    // Pulled off the button: no more steps, none on release.
    const int before = ups.count();
    QTest::mousePress(b, Qt::LeftButton);
    QMouseEvent away(QEvent::MouseMove, QPointF(-20, -20), b->mapToGlobal(QPointF(-20, -20)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(b, &away);
    // Off the button it is no longer down, and only a button that is down
    // repeats; what the event loop has pending brings no step either.
    EXPECT_FALSE(b->isDown());
    QCoreApplication::processEvents();
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(-20, -20));
    EXPECT_EQ(ups.count(), before);
    EXPECT_EQ(s.Value(), 50.0L * ups.count());
}

TEST_F(SpinTest, DestroyedWhileFocusedRestoresArrowNavigation)
{
    QWidget *w = activeWindow();
    new TESBPosEdit(w);
    auto *s = new TESBFloatSpinEdit(w);
    ASSERT_TRUE(activate());
    s->setFocus();
    ASSERT_FALSE(ESBInputOptions().ArrowsNavigate);
    delete s;
    EXPECT_TRUE(ESBInputOptions().ArrowsNavigate);
}

TEST_F(SpinTest, ForwardsTheEditorsOperations)
{
    TESBFloatSpinEdit s;
    s.setDecimalPlaces(1);
    s.setText("12.5");
    EXPECT_EQ(s.Text(), "12.5");
    s.SelectAll();
    EXPECT_EQ(s.SelLength(), 4);
    QChar buf[3];
    EXPECT_EQ(s.GetSelTextBuf(buf, 3), 2);
    EXPECT_EQ(QString(buf), "12");
    s.setColorRW(clYellow);
    EXPECT_EQ(s.editor()->ColorRW(), clYellow);
    EXPECT_FALSE(s.Color_Defaults());
    s.setNull(true);
    EXPECT_EQ(s.Text(), "");
    EXPECT_EQ(s.Value(), 0.0L);
    s.setLineEdit(true);
    EXPECT_TRUE(s.FlatEdit());
}

TEST_F(SpinTest, ButtonsDrawADottedRectangleThatMovesWhenPressed)
{
    TESBSpeedBtn b;
    b.resize(16, 11);
    const QColor dot = b.palette().color(QPalette::ButtonText);
    QImage img = b.grab().toImage();
    EXPECT_EQ(img.pixelColor(3, 3), dot);
    EXPECT_EQ(img.pixelColor(5, 3), dot);
    EXPECT_NE(img.pixelColor(4, 3), dot);
    EXPECT_EQ(img.pixelColor(3, 7), dot);
    EXPECT_EQ(img.pixelColor(12, 7), dot);
    b.setDown(true);
    img = b.grab().toImage();
    EXPECT_EQ(img.pixelColor(4, 4), dot);
    EXPECT_NE(img.pixelColor(3, 3), dot);
}

TEST_F(SpinTest, TabAndClickReachTheEditor)
{
    QWidget *w = activeWindow();
    auto *before = new TESBPosEdit(w);
    auto *s = new TESBFloatSpinEdit(w);
    s->move(0, 40);
    loadSELoad(*s);
    ASSERT_TRUE(activate());
    EXPECT_EQ(s->editor()->focusPolicy(), Qt::StrongFocus);
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), s->editor());
    before->setFocus();
    QTest::mouseClick(s->editor(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(QApplication::focusWidget(), s->editor());
}

// One spin by key near the ends of the range 20..80 (step 0.5, page 10):
// short of an end it moves the whole amount, past it stops on the end, and
// with Wrap turns over only from the end itself.
struct SpinRow {
    const char *Name;
    long double Start;
    int Key;
    bool Wrap;
    long double Expected;
};

void PrintTo(const SpinRow &r, std::ostream *os)
{
    *os << r.Name;
}

class SpinBoundsTest : public EditTest, public testing::WithParamInterface<SpinRow>
{
};

TEST_P(SpinBoundsTest, KeyMovesClampsOrWraps)
{
    const SpinRow &r = GetParam();
    QWidget *w = activeWindow();
    auto *s = new TESBFloatSpinEdit(w);
    s->beginLoading();
    s->setDecimalPlaces(2);
    s->setMin(20);
    s->setMax(80);
    s->setStep(0.5L);
    s->setPageStep(10);
    s->setWrap(r.Wrap);
    s->setValue(r.Start);
    s->Loaded();
    ASSERT_TRUE(activate());
    s->setFocus();
    QTest::keyClick(s->editor(), Qt::Key(r.Key));
    EXPECT_EQ(s->editor()->text(), QString::number(double(r.Expected), 'f', 2))
        << "the text itself, not only the clamped reading";
    EXPECT_EQ(s->Value(), r.Expected);
    EXPECT_EQ(SpinTarget(r.Start, r.Key == Qt::Key_PageUp     ? 10.0L
                                  : r.Key == Qt::Key_PageDown ? -10.0L
                                  : r.Key == Qt::Key_Up       ? 0.5L
                                                              : -0.5L,
                         20, 80, r.Wrap),
              r.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, SpinBoundsTest,
    testing::Values(SpinRow{"PageDownWithinAPageOfMin", 25, Qt::Key_PageDown, false, 20},
                    SpinRow{"PageDownExactlyAPageAboveMin", 30, Qt::Key_PageDown, false, 20},
                    SpinRow{"PageDownMoreThanAPageAboveMin", 31, Qt::Key_PageDown, false, 21},
                    SpinRow{"PageDownAtMinStays", 20, Qt::Key_PageDown, false, 20},
                    SpinRow{"PageDownAtMinWraps", 20, Qt::Key_PageDown, true, 80},
                    SpinRow{"PageDownNearMinStopsEvenWithWrap", 25, Qt::Key_PageDown, true, 20},
                    SpinRow{"PageUpWithinAPageOfMax", 75, Qt::Key_PageUp, false, 80},
                    SpinRow{"PageUpExactlyAPageBelowMax", 70, Qt::Key_PageUp, false, 80},
                    SpinRow{"PageUpMoreThanAPageBelowMax", 69, Qt::Key_PageUp, false, 79},
                    SpinRow{"PageUpAtMaxWraps", 80, Qt::Key_PageUp, true, 20},
                    SpinRow{"PageUpNearMaxStopsEvenWithWrap", 75, Qt::Key_PageUp, true, 80},
                    SpinRow{"UpWithinAStepOfMax", 79.75L, Qt::Key_Up, false, 80},
                    SpinRow{"UpAtMaxWraps", 80, Qt::Key_Up, true, 20},
                    SpinRow{"DownWithinAStepOfMin", 20.25L, Qt::Key_Down, false, 20},
                    SpinRow{"DownAtMinWraps", 20, Qt::Key_Down, true, 80}),
    [](const testing::TestParamInfo<SpinRow> &i) { return std::string(i.param.Name); });

namespace
{

// The value stays inside [Min, Max] however it is written, read or squeezed:
// the range 20..80 (2 places) starting at 50, then one action. The editor's
// own text is checked before Value() is read, since reading clamps too.
struct RangeRow {
    const char *Name;
    std::function<void(TESBFloatSpinEdit &)> Act;
    const char *Shown;
    long double Value, Min, Max;
};

void PrintTo(const RangeRow &r, std::ostream *os)
{
    *os << r.Name;
}

class SpinRangeTest : public EditTest, public testing::WithParamInterface<RangeRow>
{
};

TEST_P(SpinRangeTest, ValueStaysInRange)
{
    const RangeRow &r = GetParam();
    TESBFloatSpinEdit s;
    s.setDecimalPlaces(2);
    s.setMin(20);
    s.setMax(80);
    s.setValue(50);
    ASSERT_EQ(s.editor()->text(), "50.00");
    r.Act(s);
    EXPECT_EQ(s.editor()->text(), r.Shown);
    EXPECT_EQ(s.Value(), r.Value);
    EXPECT_EQ(s.Min(), r.Min);
    EXPECT_EQ(s.Max(), r.Max);
}

auto writeValue(long double v)
{
    return [v](TESBFloatSpinEdit &s) { s.setValue(v); };
}
auto typeText(const char *t)
{
    return [t](TESBFloatSpinEdit &s) { s.editor()->QLineEdit::setText(t); };
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SpinRangeTest,
    testing::Values(
        RangeRow{"WriteBelowMin", writeValue(19.99L), "20.00", 20, 20, 80},
        RangeRow{"WriteNegative", writeValue(-30), "20.00", 20, 20, 80},
        RangeRow{"WriteZero", writeValue(0), "20.00", 20, 20, 80},
        RangeRow{"WriteMin", writeValue(20), "20.00", 20, 20, 80},
        RangeRow{"WriteMax", writeValue(80), "80.00", 80, 20, 80},
        RangeRow{"WriteAboveMax", writeValue(80.01L), "80.00", 80, 20, 80},
        RangeRow{"WriteInfinity", writeValue(std::numeric_limits<long double>::infinity()),
                 "80.00", 80, 20, 80},
        RangeRow{"WriteMinusInfinity", writeValue(-std::numeric_limits<long double>::infinity()),
                 "20.00", 20, 20, 80},
        RangeRow{"WriteNaNIsIgnored", writeValue(std::numeric_limits<long double>::quiet_NaN()),
                 "50.00", 50, 20, 80},
        RangeRow{"TextBelowMinReadsMin", typeText("19"), "19", 20, 20, 80},
        RangeRow{"TextAboveMaxReadsMax", typeText("81"), "81", 80, 20, 80},
        RangeRow{"TextZeroReadsZero", typeText("0"), "0", 0, 20, 80},
        RangeRow{"MinRaisedAboveTheValue",
                 [](TESBFloatSpinEdit &s) { s.setMin(60); }, "60.00", 60, 60, 80},
        RangeRow{"MinRaisedUpToTheValue",
                 [](TESBFloatSpinEdit &s) { s.setMin(50); }, "50.00", 50, 50, 80},
        RangeRow{"MaxLoweredBelowTheValue",
                 [](TESBFloatSpinEdit &s) { s.setMax(40); }, "40.00", 40, 20, 40},
        RangeRow{"MaxLoweredDownToTheValue",
                 [](TESBFloatSpinEdit &s) { s.setMax(50); }, "50.00", 50, 20, 50},
        RangeRow{"MinAboveMaxPullsMax",
                 [](TESBFloatSpinEdit &s) { s.setMin(90); }, "90.00", 90, 90, 90},
        RangeRow{"MinNaNIsIgnored",
                 [](TESBFloatSpinEdit &s) { s.setMin(std::numeric_limits<long double>::quiet_NaN()); },
                 "50.00", 50, 20, 80},
        RangeRow{"MaxNaNIsIgnored",
                 [](TESBFloatSpinEdit &s) { s.setMax(std::numeric_limits<long double>::quiet_NaN()); },
                 "50.00", 50, 20, 80},
        RangeRow{"MaxBelowMinPullsMin",
                 [](TESBFloatSpinEdit &s) { s.setMax(10); }, "10.00", 10, 10, 10}),
    [](const testing::TestParamInfo<RangeRow> &i) { return std::string(i.param.Name); });

} // namespace
