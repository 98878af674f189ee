#include "ButtonTestSupport.h"
#include "gfx/ErrorReport.h"
#include "widgets/button/oxShade.h"
#include "widgets/button/oxSound.h"
#include "widgets/button/oxTheme.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

TEST(ButtonDefaults, ConstructorValues)
{
    TestButton b;
    EXPECT_EQ(b.width(), 25);
    EXPECT_EQ(b.height(), 25);
    EXPECT_EQ(b.Style(), ToxBtnStyle::bsAuto);
    EXPECT_EQ(b.ResolvedStyle(), ToxBtnStyle::bsWin95);
    EXPECT_EQ(b.Font3D(), ToxFont3D::fsNormal);
    EXPECT_EQ(b.TextX(), -5);
    EXPECT_EQ(b.TextY(), -5);
    EXPECT_EQ(b.PictureX(), 1);
    EXPECT_EQ(b.PictureY(), 1);
    EXPECT_EQ(b.ImageIndex(), -1);
    EXPECT_EQ(b.Options(), ToxbOptions(ToxbOption::oxbCacheImages));
    EXPECT_EQ(b.ButtonType(), ToxButtonType::oxbCommand);
    EXPECT_EQ(b.Delay(), 200);
    EXPECT_EQ(b.InitDelay(), 400);
    EXPECT_EQ(b.BorderColors(), ToxBorderColors::oxbWinColor);
    EXPECT_EQ(b.ShadowColor(), clBtnShadow);
    EXPECT_EQ(b.BtnLightColor(), cl3DLight);
    EXPECT_EQ(b.BtnDkShadowColor(), cl3DDkShadow);
    EXPECT_EQ(b.Font().Color, clBtnText);
    EXPECT_EQ(b.Background().Color(), b.Color()); // follows the button's colour
    EXPECT_TRUE(b.Background().DitherDown());
    EXPECT_FALSE(b.Value());
    EXPECT_EQ(b.Group(), 0);
    EXPECT_FALSE(b.GroupAllowNoSel());
    EXPECT_EQ(b.ImageCache().size(), QSize(7 * 25, 25));
}

TEST(ButtonProperties, RoundTripThroughMetaProperties)
{
    TestButton b;
    const std::pair<const char *, QVariant> values[] = {
        {"Caption", QStringLiteral("Go")}, {"MultiLine", true}, {"TextAngle", 90},
        {"TextX", 3},  {"TextY", -2},  {"PictureX", 0},  {"PictureY", 4},
        {"Group", 7},  {"GroupAllowNoSel", true}, {"Grayed", true},
        {"Color", QVariant::fromValue<quint32>(clRed)},
        {"ShadowColor", QVariant::fromValue<quint32>(clNavy)},
    };
    for (const auto &[name, v] : values) {
        ASSERT_TRUE(b.setProperty(name, v)) << name;
        EXPECT_EQ(b.property(name), v) << name;
    }
    b.setTextAngle(400);
    EXPECT_EQ(b.TextAngle(), 360);
    b.setTextAngle(-1);
    EXPECT_EQ(b.TextAngle(), 0);
    b.setBorderInset({-3, 1, 2, 3});
    EXPECT_EQ(b.BorderInset(), (ToxBorderInset{0, 1, 2, 3}));
}

TEST(ButtonProperties, SettersRepaintOnlyOnRealChange)
{
    TestButton b;
    b.render();
    const int before = b.renderCount();
    b.setTextX(-5);
    b.setCaption(QString());
    b.setFont3D(ToxFont3D::fsNormal);
    b.Background().setDitherDown(false); // only stored
    EXPECT_EQ(b.renderCount(), before);
    b.setTextX(4);
    EXPECT_EQ(b.renderCount(), before + 1);
    EXPECT_EQ(b.CacheValid(), 1u); // the new face, slot 0
}

TEST(BoostToggle, ClickLatchesThenReleasesWithChangeBeforeClick)
{
    BoostFixture f;
    EventLog log;
    log.attach(f.btn);
    bool seenInHandler = false;
    QObject::connect(f.btn, &ToxCustomGraphicButton::OnClick, f.btn,
                     [&](QObject *s) { seenInHandler = static_cast<ToxCustomGraphicButton *>(s)->Value(); });

    f.btn->clickAt();
    EXPECT_TRUE(f.btn->Value());
    EXPECT_TRUE(seenInHandler);
    EXPECT_EQ(f.btn->VisualState(), ToxVisualState::Latched);
    EXPECT_EQ(log.events, QStringList({"down", "up", "change", "click"}));

    log.events.clear();
    f.btn->clickAt();
    EXPECT_FALSE(f.btn->Value());
    EXPECT_FALSE(seenInHandler);
    EXPECT_EQ(f.btn->VisualState(), ToxVisualState::Up);
    EXPECT_EQ(log.events, QStringList({"down", "up", "change", "click"}));
}

TEST(BoostToggle, WritingValueFromOutside)
{
    BoostFixture f;
    f.btn->clickAt();
    ASSERT_TRUE(f.btn->Value());
    EventLog log;
    log.attach(f.btn);

    f.btn->setValue(false); // how the timer switches boost off
    EXPECT_FALSE(f.btn->Value());
    EXPECT_EQ(f.btn->VisualState(), ToxVisualState::Up);
    EXPECT_EQ(log.events, QStringList({"change"}));

    const int renders = f.btn->renderCount();
    f.btn->setValue(false);
    EXPECT_EQ(log.events, QStringList({"change"}));
    EXPECT_EQ(f.btn->renderCount(), renders);
}

TEST(BoostToggle, RealMouseEventsAndDoubleClick)
{
    BoostFixture f;
    EventLog log;
    log.attach(f.btn);
    QTest::mouseClick(f.btn, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(f.btn->Value());

    // The platform's double click: press, release, double-click, release.
    log.events.clear();
    const QPointF p(20, 20);
    auto send = [&](QEvent::Type t) {
        QMouseEvent e(t, p, f.btn->mapToGlobal(p), Qt::LeftButton,
                      t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
        QApplication::sendEvent(f.btn, &e);
    };
    send(QEvent::MouseButtonPress);
    send(QEvent::MouseButtonRelease);
    send(QEvent::MouseButtonDblClick);
    send(QEvent::MouseButtonRelease);
    EXPECT_TRUE(f.btn->Value()); // toggled twice
    EXPECT_EQ(log.events.count(QStringLiteral("click")), 2);
    EXPECT_EQ(log.events.count(QStringLiteral("change")), 2);
}

TEST(ToggleGroups, LatchedToggleWithoutNoSelCannotBeReleased)
{
    BoostFixture f;
    f.btn->setGroupAllowNoSel(false);
    f.btn->clickAt();
    ASSERT_TRUE(f.btn->Value());
    EventLog log;
    log.attach(f.btn);
    f.btn->clickAt();
    EXPECT_TRUE(f.btn->Value());
    EXPECT_EQ(f.btn->VisualState(), ToxVisualState::Latched);
    EXPECT_EQ(log.events, QStringList({"down", "up", "click"}));
    f.btn->setValue(false);
    f.btn->Toggle();
    EXPECT_TRUE(f.btn->Value());
    EXPECT_EQ(log.events.count(QStringLiteral("change")), 0);
}

TEST(ToggleGroups, SiblingsInOneGroupActAsRadioButtons)
{
    QWidget host;
    auto *a = BoostFixture::makeBoost(&host);
    auto *b = BoostFixture::makeBoost(&host);
    auto *zeroA = new TestButton(&host);
    auto *zeroB = new TestButton(&host);
    for (auto *z : {zeroA, zeroB})
        z->setButtonType(ToxButtonType::oxbToggle);
    auto *other = BoostFixture::makeBoost(&host);
    other->setGroup(2);
    QWidget elsewhere;
    auto *far = BoostFixture::makeBoost(&elsewhere);

    EventLog log;
    log.attach(a, "a.");
    log.attach(b, "b.");
    a->clickAt();
    other->clickAt();
    far->clickAt();
    b->clickAt();
    EXPECT_FALSE(a->Value());
    EXPECT_TRUE(b->Value());
    EXPECT_TRUE(other->Value()); // another group
    EXPECT_TRUE(far->Value());   // another parent
    EXPECT_EQ(log.events, QStringList({"a.down", "a.up", "a.change", "a.click", "b.down", "b.up", "b.change",
                                       "a.change", "b.click"}));
    EXPECT_EQ(a->VisualState(), ToxVisualState::Up);

    // Group 0 is an ordinary group number.
    zeroA->setValue(true);
    zeroB->setValue(true);
    EXPECT_FALSE(zeroA->Value());
    EXPECT_TRUE(zeroB->Value());

    // The group follows the last-set GroupAllowNoSel.
    a->setGroupAllowNoSel(false);
    EXPECT_FALSE(b->GroupAllowNoSel());
    EXPECT_TRUE(other->GroupAllowNoSel());
    b->setValue(false);
    EXPECT_TRUE(b->Value());

    // A latched button that joins a group releases that group's latched members.
    other->setGroup(1);
    EXPECT_FALSE(b->Value());
    EXPECT_TRUE(other->Value());
}

TEST(ButtonTypes, OnlyTogglesHoldValue)
{
    for (auto t : {ToxButtonType::oxbCommand, ToxButtonType::oxbRepeat, ToxButtonType::oxbMenu,
                   ToxButtonType::oxbCombo}) {
        TestButton b;
        b.setButtonType(t);
        QSignalSpy changes(&b, &ToxCustomGraphicButton::OnChange);
        b.setValue(true);
        EXPECT_FALSE(b.Value());
        EXPECT_EQ(changes.count(), 0);
    }
    TestButton b;
    b.setButtonType(ToxButtonType::oxbToggle);
    b.setValue(true);
    QSignalSpy changes(&b, &ToxCustomGraphicButton::OnChange);
    b.setButtonType(ToxButtonType::oxbCommand); // a command button cannot stay latched
    EXPECT_FALSE(b.Value());
    EXPECT_EQ(changes.count(), 1);
}

TEST(MouseGestures, DragOffAndBack)
{
    BoostFixture f;
    f.btn->clickAt();
    EventLog log;
    log.attach(f.btn);
    f.btn->MouseDown(Qt::LeftButton, {}, 10, 10);
    EXPECT_EQ(f.btn->VisualState(), ToxVisualState::Pressed);
    EXPECT_TRUE(f.btn->Tracking());
    f.btn->MouseMove({}, 73, 10); // x == Width is outside
    EXPECT_EQ(f.btn->VisualState(), ToxVisualState::Up);
    EXPECT_FALSE(f.btn->Hot());
    f.btn->MouseMove({}, 72, 64);
    EXPECT_EQ(f.btn->VisualState(), ToxVisualState::Pressed);
    f.btn->MouseMove({}, 5, 65); // y == Height is outside
    f.btn->MouseUp(Qt::LeftButton, {}, 5, 65);
    EXPECT_TRUE(f.btn->Value());
    EXPECT_FALSE(f.btn->Tracking());
    EXPECT_EQ(f.btn->VisualState(), ToxVisualState::Latched);
    EXPECT_EQ(log.events, QStringList({"down", "up"}));
}

TEST(MouseGestures, OtherButtonsAndDisabledButtonsDoNothing)
{
    BoostFixture f;
    EventLog log;
    log.attach(f.btn);
    f.btn->MouseDown(Qt::RightButton, {}, 10, 10);
    EXPECT_FALSE(f.btn->Tracking());
    f.btn->MouseUp(Qt::RightButton, {}, 10, 10);
    f.btn->MouseDown(Qt::MiddleButton, {}, 10, 10);
    f.btn->MouseUp(Qt::MiddleButton, {}, 10, 10);
    EXPECT_EQ(log.events, QStringList({"up", "up"}));

    log.events.clear();
    QCursor::setPos(-500, -500); // the pointer elsewhere
    f.btn->setEnabled(false);
    f.btn->clickAt();
    EXPECT_FALSE(f.btn->Value());
    EXPECT_EQ(log.events, QStringList({"up"}));
    f.btn->MouseEnter();
    EXPECT_FALSE(f.btn->Hot());

    // Re-enabled with the pointer over it: hot at once.
    QCursor::setPos(f.btn->mapToGlobal(QPoint(30, 30)));
    if (f.btn->mapFromGlobal(QCursor::pos()) == QPoint(30, 30)) {
        f.btn->setEnabled(true);
        EXPECT_TRUE(f.btn->Hot());
    }
}

TEST(HitTesting, FramedBorderlessAndCombo)
{
    TestButton b;
    b.resize(40, 30);
    EXPECT_TRUE(b.HitTest(0, 0));
    EXPECT_TRUE(b.HitTest(39, 29));
    EXPECT_FALSE(b.HitTest(40, 5));
    EXPECT_FALSE(b.HitTest(5, 30));
    EXPECT_FALSE(b.HitTest(-1, 5));

    b.setStyle(ToxBtnStyle::bsBorderless);
    b.setCaption(QStringLiteral("Go"));
    b.setTextX(0);
    b.setTextY(0);
    b.render();
    const QRect cr = b.CaptionRect();
    ASSERT_FALSE(cr.isEmpty());
    EXPECT_TRUE(b.HitTest(cr.center().x(), cr.center().y()));
    EXPECT_FALSE(b.HitTest(0, 0));
    b.setFont3D(ToxFont3D::fsNone); // a hidden caption is not hit
    EXPECT_FALSE(b.HitTest(cr.center().x(), cr.center().y()));

    b.setButtonType(ToxButtonType::oxbCombo);
    EXPECT_TRUE(b.HitTest(26, 8));  // zone: x 26..39, y 8..22
    EXPECT_TRUE(b.HitTest(39, 22));
    EXPECT_FALSE(b.HitTest(25, 10));
    EXPECT_FALSE(b.HitTest(30, 23));
}

TEST(HotTracking, RepaintOnlyWhenTheLookDependsOnHot)
{
    BoostFixture f;
    f.btn->render();
    QSignalSpy enter(f.btn, &ToxCustomGraphicButton::OnMouseEnter);
    QSignalSpy leave(f.btn, &ToxCustomGraphicButton::OnMouseLeave);
    int renders = f.btn->renderCount();
    f.btn->MouseEnter();
    EXPECT_TRUE(f.btn->Hot());
    EXPECT_EQ(f.btn->renderCount(), renders); // bsWin95 looks the same when hot
    f.btn->MouseLeave();
    EXPECT_FALSE(f.btn->Hot());
    EXPECT_EQ(enter.count(), 1);
    EXPECT_EQ(leave.count(), 1);

    f.btn->setStyle(ToxBtnStyle::bsWin97);
    renders = f.btn->renderCount();
    f.btn->MouseEnter();
    EXPECT_EQ(f.btn->renderCount(), renders + 1);
    f.btn->MouseLeave();
    EXPECT_EQ(f.btn->renderCount(), renders + 2);

    // bsBorderless follows the pointer over its picture and caption while not held.
    f.btn->setStyle(ToxBtnStyle::bsBorderless);
    f.btn->render();
    const QPoint onCaption = f.btn->CaptionRect().center();
    f.btn->MouseMove({}, onCaption.x(), onCaption.y());
    EXPECT_TRUE(f.btn->Hot());
    f.btn->MouseMove({}, 1, 1);
    EXPECT_FALSE(f.btn->Hot());
}

TEST(Colours, ColorAndBackgroundColorStayInStep)
{
    QWidget host;
    TestButton b(&host);
    EXPECT_TRUE(b.ParentColor());
    EXPECT_EQ(b.Color(), QColorToColor(host.palette().color(host.backgroundRole())));

    b.Background().setColor(clRed);
    EXPECT_EQ(b.Color(), clRed);
    EXPECT_FALSE(b.ParentColor());
    b.setColor(clLime);
    EXPECT_EQ(b.Background().Color(), clLime);

    b.setBorderInset({1, 0, 0, 0});
    b.Background().setColor(clNavy);
    EXPECT_EQ(b.Color(), clLime);
    b.setColor(clYellow);
    EXPECT_EQ(b.Background().Color(), clNavy);
}

TEST(Colours, BorderColorSchemes)
{
    QWidget host;
    TestButton b(&host);
    b.setColor(clGray);
    b.setBorderColors(ToxBorderColors::oxbAutoColor);
    EXPECT_EQ(b.BtnHighlightColor(), ShadeColor(clGray, 4));
    EXPECT_EQ(b.BtnDkShadowColor(), ShadeColor(clGray, -4));
    b.setColor(clSilver); // recomputed with the colour
    EXPECT_EQ(b.BtnLightColor(), ShadeColor(clSilver, 2));
    EXPECT_EQ(b.ShadowColor(), ShadeColor(clSilver, -4));

    b.setBorderColors(ToxBorderColors::oxbAutoShade);
    EXPECT_EQ(b.BtnHighlightColor(), MakeShadeColor(6));
    EXPECT_EQ(b.BtnShadowColor(), MakeShadeColor(-4));

    b.setBtnShadowColor(clRed);
    EXPECT_EQ(b.BorderColors(), ToxBorderColors::oxbCustomColor);
    b.setColor(clNavy);
    EXPECT_EQ(b.BtnShadowColor(), clRed); // kept

    b.setBorderColors(ToxBorderColors::oxbWinColor);
    EXPECT_EQ(b.BtnShadowColor(), clBtnShadow);
    EXPECT_EQ(b.BtnHighlightColor(), clBtnHighlight);
}

TEST(Colours, EffectiveBackgroundAndResolveColor)
{
    TestButton orphan;
    orphan.Background().setColor(MakeShadeColor(4));
    EXPECT_EQ(orphan.EffectiveBackgroundColor(), MakeShadeColor(4)); // no parent: unchanged

    QWidget host;
    QPalette pal = host.palette();
    pal.setColor(host.backgroundRole(), QColor(128, 128, 128));
    host.setPalette(pal);
    TestButton b(&host);
    b.setBorderInset({1, 1, 1, 1}); // keep Color apart
    b.Background().setColor(MakeShadeColor(20));
    EXPECT_EQ(b.EffectiveBackgroundColor(), RGBColor(149, 149, 149));
    EXPECT_EQ(b.ResolveColor(MakeShadeColor(-20)), ShadeColor(RGBColor(149, 149, 149), -20));
    EXPECT_EQ(b.ResolveColor(clRed), clRed);
}

namespace {
struct FakeTheme : IoxThemeEngine
{
    bool CanOpen(const QString &cls) const override { return cls == QLatin1String("Toolbar"); }
    bool DrawPart(QImage &, const QString &cls, int part, int state, const QRect &) override
    {
        drawn << QStringLiteral("%1/%2/%3").arg(cls).arg(part).arg(state);
        return true;
    }
    QStringList drawn;
};
} // namespace

TEST(Styles, ResolveWithAndWithoutTheme)
{
    TestButton b;
    b.setStyle(ToxBtnStyle::bsWinXP);
    EXPECT_EQ(b.ResolvedStyle(), ToxBtnStyle::bsWin95);
    SetFlatLookPreferred(true);
    b.ResolveStyle();
    EXPECT_EQ(b.ResolvedStyle(), ToxBtnStyle::bsWin97);
    SetFlatLookPreferred(false);
    b.setStyle(ToxBtnStyle::bsInset);
    EXPECT_EQ(b.ResolvedStyle(), ToxBtnStyle::bsInset);

    FakeTheme theme;
    SetOxThemeEngine(&theme);
    b.setStyle(ToxBtnStyle::bsAuto);
    EXPECT_EQ(b.ResolvedStyle(), ToxBtnStyle::bsWinXPToolBtn);
    b.setStyle(ToxBtnStyle::bsWinXP); // its class cannot be opened
    EXPECT_EQ(b.ResolvedStyle(), ToxBtnStyle::bsWin95);

    // A latched toolbar button is drawn in state 5 even while hot or pressed.
    b.setStyle(ToxBtnStyle::bsWinXPToolBtn);
    b.setButtonType(ToxButtonType::oxbToggle);
    b.setOptions({}); // no cache: every render draws
    b.setValue(true);
    b.MouseEnter();
    b.MouseDown(Qt::LeftButton, {}, 3, 3);
    theme.drawn.clear();
    b.render();
    EXPECT_EQ(theme.drawn, QStringList({"Toolbar/1/5"}));
    b.setEnabled(false);
    theme.drawn.clear();
    b.render();
    EXPECT_EQ(theme.drawn, QStringList({"Toolbar/1/4"}));
    SetOxThemeEngine(nullptr);
}

TEST(CaptionLines, ViewOfTheCaption)
{
    TestButton b;
    b.setCaption(QStringLiteral("one||two"));
    EXPECT_EQ(b.Lines().Strings(), QStringList({"one", "two"}));
    b.Lines().Add(QStringLiteral("three"));
    EXPECT_EQ(b.Caption(), QStringLiteral("one||two||three"));
    b.Lines().Delete(0);
    b.Lines().Put(0, QStringLiteral("2"));
    b.Lines().Insert(0, QStringLiteral("1"));
    EXPECT_EQ(b.Caption(), QStringLiteral("1||2||three"));
    EXPECT_THROW(b.Lines().Put(5, QStringLiteral("x")), std::out_of_range);
    b.Lines().Clear();
    EXPECT_EQ(b.Lines().Count(), 0);
    b.setCaption(QStringLiteral("a||"));
    EXPECT_EQ(b.Lines().Strings(), QStringList({"a"}));
    b.setCaption(QString(300, QLatin1Char('x')));
    EXPECT_EQ(b.Lines()[0].size(), 254);
}

namespace {
class FakeSound : public QObject, public IoxSound
{
public:
    void Play() override { ++plays; }
    bool IsPlaying() const override { return false; }
    int plays = 0;
};
} // namespace

TEST(Sounds, LinksNeedTheSoundInterface)
{
    BoostFixture f;
    QObject plain;
    try {
        f.btn->setSoundClick_Component(&plain);
        FAIL() << "a component without the interface was linked";
    } catch (const std::invalid_argument &e) {
        EXPECT_STREQ(e.what(), "QObject does not support the IoxSound interface");
    }
    EXPECT_EQ(f.btn->SoundClick_Component(), nullptr);

    auto *click = new FakeSound;
    FakeSound down;
    f.btn->setSoundClick_Component(click);
    f.btn->setSoundDown_Component(&down);
    EXPECT_THROW(f.btn->setSoundClick_Component(&plain), std::invalid_argument);
    EXPECT_EQ(f.btn->SoundClick_Component(), click); // the old link stays
    f.btn->clickAt();
    EXPECT_EQ(click->plays, 1);
    EXPECT_EQ(down.plays, 1);
    delete click;
    EXPECT_EQ(f.btn->SoundClick_Component(), nullptr);
    f.btn->clickAt(); // no dangling link
    f.btn->setSoundDown_Component(nullptr);
}

namespace
{
// Timers of the button that are running: the repeat and the animation timer.
int activeTimers(const QObject &button)
{
    int n = 0;
    for (const QTimer *t : button.findChildren<QTimer *>())
        n += t->isActive();
    return n;
}
} // namespace

TEST(RepeatButton, ClicksComeFromTheTimerOnly)
{
    QWidget host;
    TestButton b(&host);
    b.setButtonType(ToxButtonType::oxbRepeat);
    b.setInitDelay(20);
    b.setDelay(5);
    QImage up(4, 4, QImage::Format_RGB32);
    up.fill(PlainToRgb(clRed));
    QImage down(4, 4, QImage::Format_RGB32);
    down.fill(PlainToRgb(clLime));
    b.PictureUp().setBitmap(up, clNone);
    b.PictureDown().setBitmap(down, clNone);
    QSignalSpy clicks(&b, &ToxCustomGraphicButton::OnClick);

    b.clickAt(); // released before the first delay: no click, and no timer left to make one
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(activeTimers(b), 0);

    b.MouseDown(Qt::LeftButton, {}, 3, 3);
    EXPECT_EQ(activeTimers(b), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks.count() >= 3; }, 5000));
    b.MouseUp(Qt::LeftButton, {}, 3, 3);
    EXPECT_EQ(activeTimers(b), 0) << "the release stops the repeat";
    const int after = clicks.count();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks.count(), after);
    EXPECT_TRUE(b.findChildren<QTimer *>().isEmpty()) << "the stopped timer is deleted";
    // The pictures swapped back on release.
    EXPECT_EQ(b.PictureUp().image().pixel(0, 0), PlainToRgb(clRed));
}

TEST(RepeatButton, AnErrorInARepeatedClickIsReportedAndStopsTheRepeat)
{
    QWidget host;
    TestButton b(&host);
    b.setButtonType(ToxButtonType::oxbRepeat);
    b.setInitDelay(1);
    b.setDelay(1);
    int clicks = 0;
    QObject::connect(&b, &ToxCustomGraphicButton::OnClick, &b, [&] {
        if (++clicks == 2)
            throw std::runtime_error("the handler failed");
    });
    std::vector<std::string> reported;
    const TUncaughtHandler previous = SetUncaughtHandler([&](std::exception_ptr e) {
        try {
            std::rethrow_exception(e);
        } catch (const std::exception &x) {
            reported.emplace_back(x.what());
        }
    });

    b.MouseDown(Qt::LeftButton, {}, 3, 3);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !reported.empty(); }, 5000));
    EXPECT_EQ(reported, std::vector<std::string>{"the handler failed"});
    EXPECT_EQ(activeTimers(b), 0) << "no more repeats after the error";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(b.findChildren<QTimer *>().isEmpty());
    EXPECT_EQ(clicks, 2);

    // The button still works: the release ends the press, a new press repeats.
    b.MouseUp(Qt::LeftButton, {}, 3, 3);
    b.MouseDown(Qt::LeftButton, {}, 3, 3);
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks >= 4; }, 5000));
    b.MouseUp(Qt::LeftButton, {}, 3, 3);
    SetUncaughtHandler(previous);
}

TEST(MenuButton, PressShowsTheMenuAndNeverClicks)
{
    QWidget host;
    TestButton b(&host);
    b.setButtonType(ToxButtonType::oxbMenu);
    QMenu menu;
    menu.addAction(QStringLiteral("One"));
    b.setPopupMenu(&menu);
    QSignalSpy clicks(&b, &ToxCustomGraphicButton::OnClick);
    bool shown = false;
    QObject::connect(&menu, &QMenu::aboutToShow, &menu, [&] {
        shown = true;
        EXPECT_EQ(b.VisualState(), ToxVisualState::Pressed);
        QTimer::singleShot(0, &menu, &QMenu::close);
    });
    b.clickAt(3, 3);
    EXPECT_TRUE(shown);
    EXPECT_EQ(b.VisualState(), ToxVisualState::Up);
    EXPECT_FALSE(b.Tracking());
    EXPECT_EQ(clicks.count(), 0);

    // A combo button opens its menu from the arrow zone only.
    b.setButtonType(ToxButtonType::oxbCombo);
    b.resize(60, 20);
    shown = false;
    QObject::disconnect(&menu, &QMenu::aboutToShow, nullptr, nullptr);
    QObject::connect(&menu, &QMenu::aboutToShow, &menu, [&] {
        shown = true;
        EXPECT_EQ(b.VisualState(), ToxVisualState::ArrowPressed);
        QTimer::singleShot(0, &menu, &QMenu::close);
    });
    b.clickAt(10, 10);
    EXPECT_FALSE(shown);
    EXPECT_EQ(clicks.count(), 1);
    b.clickAt(55, 10);
    EXPECT_TRUE(shown);
    EXPECT_EQ(clicks.count(), 1);
}

TEST(Accelerator, CaptionCharacterTogglesAndClicks)
{
    QWidget host;
    auto *b = BoostFixture::makeBoost(&host);
    b->setCaption(QStringLiteral("&Boost"));
    host.show();
    QSignalSpy clicks(b, &ToxCustomGraphicButton::OnClick);
    EXPECT_FALSE(b->DialogChar(QLatin1Char('x')));
    EXPECT_TRUE(b->DialogChar(QLatin1Char('b')));
    EXPECT_TRUE(b->Value());
    EXPECT_EQ(clicks.count(), 1);
    // The same through the keyboard: Alt and the character.
    QApplication::setActiveWindow(&host);
    QTest::keyClick(&host, Qt::Key_B, Qt::AltModifier);
    EXPECT_FALSE(b->Value());
    EXPECT_EQ(clicks.count(), 2);

    b->setCaption(QStringLiteral("Fish && Chips"));
    EXPECT_FALSE(b->DialogChar(QLatin1Char('c')));
    b->setEnabled(false);
    b->setCaption(QStringLiteral("&Boost"));
    EXPECT_FALSE(b->DialogChar(QLatin1Char('B')));
}

namespace {
class FakeAnimation : public IoxAnimatedGraphic
{
public:
    explicit FakeAnimation(bool looping) : loop(looping) {}
    int FrameCount() const override { return 3; }
    int CurrentFrame() const override { return frame; }
    void Advance() override { frame = (frame + 1) % 3; ++advances; }
    void Reset() override { frame = 0; }
    bool Looping() const override { return loop; }
    QImage FrameImage() const override
    {
        QImage img(4, 4, QImage::Format_RGB32);
        img.fill(qRgb(frame * 50, 0, 0));
        return img;
    }
    bool loop;
    int frame = 0;
    int advances = 0;
};
} // namespace

TEST(Animation, FramesAdvanceAndStopAtTheEndUnlessLooping)
{
    QWidget host;
    TestButton b(&host);
    auto once = std::make_shared<FakeAnimation>(false);
    b.PictureUp().setAnimation(once);
    b.setAnimate(true);
    // Not looping: the timer stops itself on the last frame.
    EXPECT_TRUE(QTest::qWaitFor([&] { return activeTimers(b) == 0; }, 5000));
    EXPECT_EQ(once->frame, 2);
    EXPECT_EQ(once->advances, 2);

    auto loop = std::make_shared<FakeAnimation>(true);
    b.PictureUp().setAnimation(loop);
    b.setAnimate(false);
    b.setAnimate(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return loop->advances >= 4; }, 2000));
    b.setAnimate(false);
    EXPECT_EQ(activeTimers(b), 0) << "switching animation off stops its timer";
    const int stopped = loop->advances;
    QCoreApplication::processEvents();
    EXPECT_EQ(loop->advances, stopped);
}
