#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "widgets/display/Meter.h"

// Counts the three range events in the order they fire.
struct RangeEvents
{
    explicit RangeEvents(TMeter &m)
    {
        QObject::connect(&m, &TMeter::OnUnderFlow, [this] { fired += 'U'; });
        QObject::connect(&m, &TMeter::OnNormalRange, [this] { fired += 'N'; });
        QObject::connect(&m, &TMeter::OnOverFlow, [this] { fired += 'O'; });
    }
    std::string take()
    {
        std::string s;
        s.swap(fired);
        return s;
    }
    std::string fired;
};

TEST(MeterProperties, ConstructorDefaults)
{
    TMeter m;
    EXPECT_EQ(m.size(), QSize(297, 209));
    EXPECT_EQ(m.AnchorSize(), 24);
    EXPECT_TRUE(m.AnchorCovered());
    EXPECT_TRUE(m.AnchorImage().isEmpty());
    EXPECT_TRUE(m.BackGroundImg().isEmpty());
    EXPECT_EQ(m.BkgndFillMode(), TBkgFill::bfSimple);
    EXPECT_TRUE(m.Caption().isEmpty());
    EXPECT_EQ(m.ColorBakG(), clWhite);
    EXPECT_EQ(m.ColorCover(), clBtnFace);
    EXPECT_EQ(m.ColorScale(), clNavy);
    EXPECT_EQ(m.ColorScheme(), TColorScheme::csBWG);
    EXPECT_EQ(m.ColorSclBkLow(), clLime);
    EXPECT_EQ(m.ColorSclBkNorm(), 0x0080FFu);
    EXPECT_EQ(m.ColorSclBkHigh(), clRed);
    EXPECT_EQ(m.FontCaption(), m.Font());
    EXPECT_EQ(m.FrameStyle(), TFrameStyle::fsRaised);
    EXPECT_TRUE(m.LimWatchHighOn());
    EXPECT_TRUE(m.LimWatchLowOn());
    EXPECT_EQ(m.LimWatchActColor(), clRed);
    EXPECT_EQ(m.LimWatchPsvColor(), clGray);
    EXPECT_EQ(m.ThresholdLow(), 0.0);
    EXPECT_EQ(m.ThresholdHigh(), 1.0);
    EXPECT_EQ(m.MeterMinValue(), 0.0);
    EXPECT_EQ(m.MeterMaxValue(), 1.0);
    EXPECT_EQ(m.MeterDecPlaces(), 1);
    EXPECT_EQ(m.MeterNrTicks(), 3);
    EXPECT_EQ(m.MeterLayout(), TMeterLayout::mlCirc90);
    EXPECT_TRUE(m.MeterShortTicks());
    EXPECT_TRUE(m.MeterScaleLine());
    EXPECT_EQ(m.RimBottom(), 10);
    EXPECT_EQ(m.RimTop(), 8);
    EXPECT_EQ(m.RimSide(), 10);
    EXPECT_EQ(m.ScaleBkWidth(), 0.0);
    EXPECT_FALSE(m.ScaleBkVisible());
    EXPECT_TRUE(m.ScaleVisible());
    EXPECT_EQ(m.Value(), 0.0);
    EXPECT_EQ(m.ValueSec(), 0.0);
    EXPECT_FALSE(m.LimHighActive());
    EXPECT_FALSE(m.LimLowActive());
    EXPECT_EQ(m.SchemeShadowColor(), clGray);
    EXPECT_EQ(m.SchemeHighlightColor(), clWhite);
    EXPECT_TRUE(m.ParentFont());

    for (TNeedleLayout *n : {m.NeedleLayout(), m.NeedleLayoutSec()}) {
        EXPECT_EQ(n->HeadSize(), 20);
        EXPECT_EQ(n->HeadAngle(), 30);
        EXPECT_EQ(n->HeadMidLeng(), 20);
        EXPECT_EQ(n->Thickness(), 0);
        EXPECT_EQ(n->ColorBody(), clSilver);
        EXPECT_EQ(n->ColorOutline(), clBlack);
        EXPECT_EQ(n->PercentNeedleLength(), 100);
        EXPECT_EQ(n->ShadowDx(), 0);
        EXPECT_EQ(n->ShadowDy(), 0);
        EXPECT_EQ(n->ShadowColor(), clGray);
    }
    EXPECT_TRUE(m.NeedleLayout()->Visible());
    EXPECT_FALSE(m.NeedleLayoutSec()->Visible());
}

TEST(MeterProperties, RoundTripThroughTheMetaObject)
{
    TMeter m;
    const std::pair<const char *, QVariant> values[] = {
        {"AnchorSize", 12},           {"AnchorCovered", false},       {"Caption", "rpm"},
        {"ColorBakG", 0x123456u},     {"ColorCover", 0x654321u},      {"ColorScale", 0x0000FFu},
        {"ColorSclBkLow", 1u},        {"ColorSclBkNorm", 2u},         {"ColorSclBkHigh", 3u},
        {"LimWatchHighOn", false},    {"LimWatchLowOn", false},       {"LimWatchActColor", 4u},
        {"LimWatchPsvColor", 5u},     {"MeterDecPlaces", 3},          {"MeterNrTicks", 7},
        {"MeterShortTicks", false},   {"MeterScaleLine", false},      {"RimBottom", 3},
        {"RimTop", 4},                {"RimSide", 5},                 {"ScaleBkWidth", 25.0},
        {"ScaleBkVisible", true},     {"ScaleVisible", false},        {"MeterMaxValue", 50.0},
        {"ThresholdHigh", 40.0},      {"ThresholdLow", 10.0},         {"Value", 20.0},
        {"Hint", "speed"},            {"ShowHint", true},
    };
    for (const auto &[name, v] : values) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(m.setProperty(name, v));
        EXPECT_EQ(m.property(name), v);
    }
    m.setFrameStyle(TFrameStyle::fsEngraved);
    EXPECT_EQ(m.FrameStyle(), TFrameStyle::fsEngraved);
    m.setMeterLayout(TMeterLayout::mlCirc300);
    EXPECT_EQ(m.MeterLayout(), TMeterLayout::mlCirc300);
    m.setBkgndFillMode(TBkgFill::bfTile);
    EXPECT_EQ(m.BkgndFillMode(), TBkgFill::bfTile);
    EXPECT_EQ(m.toolTip(), "speed");
}

TEST(MeterProperties, ClampsOfTheBoundedProperties)
{
    TMeter m;
    m.setMeterNrTicks(1);
    EXPECT_EQ(m.MeterNrTicks(), 2);
    m.setMeterNrTicks(30);
    EXPECT_EQ(m.MeterNrTicks(), 21);
    m.setMeterDecPlaces(-1);
    EXPECT_EQ(m.MeterDecPlaces(), 0);
    m.setMeterDecPlaces(9);
    EXPECT_EQ(m.MeterDecPlaces(), 4);
    m.setScaleBkWidth(150);
    EXPECT_EQ(m.ScaleBkWidth(), 100.0);
    m.setScaleBkWidth(-3);
    EXPECT_EQ(m.ScaleBkWidth(), 0.0);

    TNeedleLayout *n = m.NeedleLayout();
    n->setHeadAngle(200);
    EXPECT_EQ(n->HeadAngle(), 180);
    n->setHeadAngle(-1);
    EXPECT_EQ(n->HeadAngle(), 0);
    n->setPercentNeedleLength(-5);
    EXPECT_EQ(n->PercentNeedleLength(), 0);
    n->setPercentNeedleLength(101);
    EXPECT_EQ(n->PercentNeedleLength(), 100);
}

TEST(MeterProperties, ColorSchemePicksTheBevelColours)
{
    TMeter m;
    m.setColorScheme(TColorScheme::csSystem);
    EXPECT_EQ(m.SchemeShadowColor(), clBtnShadow);
    EXPECT_EQ(m.SchemeHighlightColor(), clBtnHighlight);
    m.setColorScheme(TColorScheme::csBWG);
    EXPECT_EQ(m.SchemeShadowColor(), clGray);
    EXPECT_EQ(m.SchemeHighlightColor(), clWhite);
}

TEST(MeterProperties, SettersGivenTheCurrentValueDoNotRepaint)
{
    TMeter m;
    m.render();
    const int before = m.renderCount();
    m.setColorBakG(m.ColorBakG());
    m.setAnchorSize(m.AnchorSize());
    m.setFrameStyle(m.FrameStyle());
    m.setMeterLayout(m.MeterLayout());
    m.setRimSide(m.RimSide());
    m.setMeterNrTicks(m.MeterNrTicks());
    m.setMeterDecPlaces(m.MeterDecPlaces());
    m.setColorScheme(m.ColorScheme());
    m.setValue(m.Value());
    m.setMeterMinValue(m.MeterMinValue());
    m.setMeterMaxValue(m.MeterMaxValue());
    m.setThresholdLow(m.ThresholdLow());
    m.setThresholdHigh(m.ThresholdHigh());
    m.NeedleLayout()->setHeadSize(m.NeedleLayout()->HeadSize());
    EXPECT_EQ(m.renderCount(), before);

    // These always repaint.
    m.setScaleVisible(m.ScaleVisible());
    m.setScaleBkVisible(m.ScaleBkVisible());
    m.setBkgndFillMode(m.BkgndFillMode());
    m.setScaleBkWidth(m.ScaleBkWidth());
    m.setCaption(m.Caption());
    EXPECT_EQ(m.renderCount(), before + 5);

    m.setColorBakG(clYellow);
    m.NeedleLayout()->setColorBody(clRed);
    EXPECT_EQ(m.renderCount(), before + 7);
}

TEST(MeterProperties, NeedleLayoutIsCopiedIntoTheOwnedOne)
{
    TMeter m;
    TNeedleLayout src;
    src.setHeadSize(5);
    src.setColorBody(clRed);
    src.setShadowDx(3);
    src.setVisible(false);
    const int before = m.renderCount();
    m.setNeedleLayoutSec(src);
    EXPECT_NE(m.NeedleLayoutSec(), &src);
    EXPECT_EQ(m.NeedleLayoutSec()->HeadSize(), 5);
    EXPECT_EQ(m.NeedleLayoutSec()->ColorBody(), clRed);
    EXPECT_EQ(m.NeedleLayoutSec()->ShadowDx(), 3);
    EXPECT_FALSE(m.NeedleLayoutSec()->Visible());
    EXPECT_EQ(m.renderCount(), before + 1);

    QSignalSpy changes(m.NeedleLayout(), &TNeedleLayout::OnChange);
    m.NeedleLayout()->setThickness(2);
    m.NeedleLayout()->setThickness(2);
    EXPECT_EQ(changes.count(), 1);
}

// ---- range events ------------------------------------------------------------------

TEST(MeterRange, EveryEffectiveValueChangeFiresItsRangeEvent)
{
    TMeter m;
    RangeEvents ev(m);
    m.setValue(0.5);
    EXPECT_EQ(ev.take(), "N");
    EXPECT_FALSE(m.LimHighActive());
    EXPECT_FALSE(m.LimLowActive());
    m.setValue(1);
    EXPECT_EQ(ev.take(), "O");
    EXPECT_TRUE(m.LimHighActive());
    m.setValue(0);
    EXPECT_EQ(ev.take(), "U");
    EXPECT_TRUE(m.LimLowActive());
    EXPECT_FALSE(m.LimHighActive());
    m.setValue(0);
    EXPECT_EQ(ev.take(), "");
    m.setValue(0.25);
    m.setValue(0.75);
    EXPECT_EQ(ev.take(), "NN"); // not only on entering a range
}

TEST(MeterRange, TheSameOutOfRangeValueFiresAgain)
{
    TMeter m;
    RangeEvents ev(m);
    const int before = m.renderCount();
    m.setValue(7);
    EXPECT_EQ(m.Value(), 1.0);
    m.setValue(7); // compared with the unclamped argument
    EXPECT_EQ(ev.take(), "OO");
    // The needle and the lamp are where they were: nothing new to draw.
    EXPECT_EQ(m.renderCount(), before + 1);
    m.setValue(-3);
    EXPECT_EQ(m.Value(), 0.0);
    EXPECT_EQ(ev.take(), "U");
}

TEST(MeterRange, HiddenPrimaryNeedleClearsTheFlagsWithoutEvents)
{
    TMeter m;
    RangeEvents ev(m);
    m.setValue(1);
    ASSERT_TRUE(m.LimHighActive());
    m.NeedleLayout()->setVisible(false);
    const int before = m.renderCount();
    m.setValue(0.5);
    EXPECT_EQ(ev.take(), "O");
    EXPECT_FALSE(m.LimHighActive());
    EXPECT_EQ(m.renderCount(), before + 1); // the primary needle is drawn anyway
}

TEST(MeterRange, SecondaryValueSharesFlagsAndEvents)
{
    TMeter m;
    RangeEvents ev(m);
    m.setValue(1);
    ASSERT_TRUE(m.LimHighActive());
    ev.take();

    // Hidden: clamps, clears both flags, fires nothing and does not repaint.
    const int before = m.renderCount();
    m.setValueSec(0.5);
    EXPECT_EQ(m.ValueSec(), 0.5);
    EXPECT_FALSE(m.LimHighActive());
    EXPECT_EQ(ev.take(), "");
    EXPECT_EQ(m.renderCount(), before);
    m.setValueSec(9);
    EXPECT_EQ(m.ValueSec(), 1.0);

    m.NeedleLayoutSec()->setVisible(true);
    const int shown = m.renderCount();
    m.setValueSec(0);
    EXPECT_EQ(ev.take(), "U");
    EXPECT_TRUE(m.LimLowActive());
    EXPECT_EQ(m.renderCount(), shown + 1);
}

TEST(MeterRange, MinimumPullsTheMaximumValueAndThresholds)
{
    TMeter m;
    m.setMeterMaxValue(100);
    m.setThresholdHigh(80);
    m.setThresholdLow(20);
    m.setValue(30);
    m.setValueSec(10);
    m.setMeterMinValue(50);
    EXPECT_EQ(m.MeterMaxValue(), 100.0);
    EXPECT_EQ(m.Value(), 50.0);
    EXPECT_EQ(m.ThresholdLow(), 50.0);
    EXPECT_EQ(m.ThresholdHigh(), 80.0);
    EXPECT_EQ(m.ValueSec(), 10.0); // not pulled along

    m.setMeterMinValue(200);
    EXPECT_EQ(m.MeterMaxValue(), 201.0);
    EXPECT_EQ(m.ThresholdHigh(), 200.0);
}

TEST(MeterRange, MaximumPullsTheMinimumValueAndThresholds)
{
    TMeter m;
    m.setMeterMaxValue(100);
    m.setThresholdHigh(90);
    m.setValue(95);
    m.setValueSec(99);
    m.setMeterMaxValue(60);
    EXPECT_EQ(m.Value(), 60.0);
    EXPECT_EQ(m.ThresholdHigh(), 60.0);
    EXPECT_EQ(m.ValueSec(), 99.0);

    m.setMeterMaxValue(-5); // not above the minimum: the minimum moves below it
    EXPECT_EQ(m.MeterMinValue(), -6.0);
    EXPECT_EQ(m.Value(), -5.0);
    EXPECT_EQ(m.ThresholdLow(), -5.0);
    EXPECT_EQ(m.ThresholdHigh(), -5.0);
}

TEST(MeterRange, ThresholdsAreClampedAndKeepTheirOrder)
{
    TMeter m;
    m.setMeterMaxValue(100);
    m.setThresholdHigh(150);
    EXPECT_EQ(m.ThresholdHigh(), 100.0);
    m.setThresholdLow(-10);
    EXPECT_EQ(m.ThresholdLow(), 0.0);
    m.setThresholdLow(70);
    m.setThresholdHigh(40); // below the low threshold: it comes down too
    EXPECT_EQ(m.ThresholdLow(), 40.0);
    EXPECT_EQ(m.ThresholdHigh(), 40.0);
    m.setThresholdLow(60); // above the high threshold: it goes up too
    EXPECT_EQ(m.ThresholdHigh(), 60.0);
}

TEST(MeterRange, ThresholdChangesEvaluateOnlyTheirOwnLimit)
{
    TMeter m;
    m.setMeterMaxValue(100);
    m.setValue(50);
    RangeEvents ev(m);

    m.setThresholdLow(60);
    EXPECT_EQ(ev.take(), "U");
    EXPECT_TRUE(m.LimLowActive());
    m.setThresholdLow(10);
    EXPECT_EQ(ev.take(), "");
    EXPECT_FALSE(m.LimLowActive());

    m.setThresholdHigh(40);
    EXPECT_EQ(ev.take(), "O");
    EXPECT_TRUE(m.LimHighActive());
    m.setThresholdHigh(90);
    EXPECT_EQ(ev.take(), "");
    EXPECT_FALSE(m.LimHighActive());
}

TEST(MeterRange, RangeChangesDoNotReevaluateTheFlags)
{
    TMeter m;
    m.setValue(1);
    ASSERT_TRUE(m.LimHighActive());
    RangeEvents ev(m);
    m.setMeterMaxValue(10);
    m.setLimWatchHighOn(false);
    EXPECT_TRUE(m.LimHighActive());
    EXPECT_EQ(ev.take(), "");
}

// ---- loading -------------------------------------------------------------------

TEST(MeterLoading, RangeSettersOnlyStoreUntilLoaded)
{
    TMeter m;
    RangeEvents ev(m);
    m.beginLoading();
    const int before = m.renderCount();
    m.setValue(250);
    m.setValueSec(-40);
    m.setThresholdHigh(80);
    m.setThresholdLow(20);
    m.setMeterMaxValue(100);
    m.setMeterDecPlaces(0);
    EXPECT_EQ(m.Value(), 250.0);
    EXPECT_EQ(m.MeterMinValue(), 0.0);
    EXPECT_EQ(ev.take(), "");
    EXPECT_EQ(m.renderCount(), before);

    m.Loaded();
    EXPECT_EQ(m.Value(), 100.0);    // clamped
    EXPECT_EQ(m.ValueSec(), -40.0); // left alone
    EXPECT_EQ(ev.take(), "");
    EXPECT_EQ(m.renderCount(), before + 1);
}

TEST(MeterLoading, ReversedBoundsAreRepairedSoTheScaleEnds)
{
    TMeter m;
    m.beginLoading();
    m.setMeterMinValue(10);
    m.setMeterMaxValue(10);
    m.setValue(30);
    m.Loaded(); // would never finish painting with a zero step
    EXPECT_EQ(m.MeterMinValue(), 10.0);
    EXPECT_EQ(m.MeterMaxValue(), 11.0);
    EXPECT_EQ(m.Value(), 11.0);

    TMeter r;
    r.beginLoading();
    r.setMeterMinValue(50);
    r.setMeterMaxValue(5);
    r.Loaded();
    EXPECT_EQ(r.MeterMaxValue(), 51.0);
}

TEST(MeterLoading, MissingImageFilesAreForgotten)
{
    TMeter m;
    m.setBackGroundImg("/nonexistent/face.bmp");
    m.setAnchorImage("/nonexistent/hub.bmp");
    EXPECT_TRUE(m.BackGroundImg().isEmpty());
    EXPECT_TRUE(m.AnchorImage().isEmpty());
}

TEST(MeterLoading, UnreadableImageFiles)
{
    QTemporaryDir dir;
    const QString junk = dir.filePath("junk.bmp");
    {
        QFile f(junk);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a picture");
    }
    TMeter m;
    // At run time the background reports the failure after storing the name...
    EXPECT_THROW(m.setBackGroundImg(junk), std::runtime_error);
    EXPECT_EQ(m.BackGroundImg(), junk);
    // ...while the hub image quietly clears it.
    m.setAnchorImage(junk);
    EXPECT_TRUE(m.AnchorImage().isEmpty());

    // While loading the setter only keeps the name; the end of loading drops it.
    TMeter l;
    l.beginLoading();
    EXPECT_NO_THROW(l.setBackGroundImg(junk));
    EXPECT_EQ(l.BackGroundImg(), junk);
    l.Loaded();
    EXPECT_TRUE(l.BackGroundImg().isEmpty());
}

TEST(MeterProperties, FontsAndParentFont)
{
    TMeter m;
    TFont big(QStringLiteral("DejaVu Sans"), -16, TFontStyle::fsBold, clRed);
    m.setFont(big);
    EXPECT_EQ(m.Font(), big);
    EXPECT_FALSE(m.ParentFont());
    EXPECT_NE(m.FontCaption(), big); // the caption font is its own copy
    m.setParentFont(true);
    EXPECT_EQ(m.Font(), TFont());

    m.setFontCaption(big);
    EXPECT_EQ(m.FontCaption(), big);
}

TEST(MeterEvents, MouseEventsReachTheirSignals)
{
    TMeter m;
    QSignalSpy down(&m, &TMeter::OnMouseDown);
    QSignalSpy up(&m, &TMeter::OnMouseUp);
    QSignalSpy click(&m, &TMeter::OnClick);
    QSignalSpy dbl(&m, &TMeter::OnDblClick);
    QTest::mouseClick(&m, Qt::LeftButton, Qt::NoModifier, QPoint(20, 30));
    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(down.at(0).at(3).toInt(), 20);
    EXPECT_EQ(down.at(0).at(4).toInt(), 30);
    EXPECT_EQ(up.count(), 1);
    EXPECT_EQ(click.count(), 1);
    QTest::mouseDClick(&m, Qt::LeftButton, Qt::NoModifier, QPoint(20, 30));
    EXPECT_EQ(dbl.count(), 1);
}
