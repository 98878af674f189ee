// The kept face and overlay of a gauge: a moved needle reuses them, every
// change to what they show draws them anew, and the picture is always the
// one a fresh gauge in the same state draws.
#include "tst_meter_window.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct Change {
    const char *Name;
    std::function<void(TMeter &)> Apply;
    bool ReshapesFace;
};

void PrintTo(const Change &c, std::ostream *os)
{
    *os << c.Name;
}

class MeterCacheTest : public testing::TestWithParam<Change>
{
};

TEST_P(MeterCacheTest, PictureMatchesAFreshGaugeAndTheFaceIsRedrawnOnlyWhenShaped)
{
    const Change &c = GetParam();
    TMeter kept;
    setUpWindowGauge(kept, QStringLiteral("rpm"), 5000);
    kept.setLimWatchHighOn(true);
    kept.setThresholdHigh(4000);
    kept.setValue(1200);
    kept.render();
    const int faces = kept.faceRenderCount();
    c.Apply(kept);
    const QImage picture = kept.render();
    EXPECT_EQ(kept.faceRenderCount() > faces, c.ReshapesFace);

    TMeter fresh;
    setUpWindowGauge(fresh, QStringLiteral("rpm"), 5000);
    fresh.setLimWatchHighOn(true);
    fresh.setThresholdHigh(4000);
    fresh.setValue(1200);
    c.Apply(fresh);
    EXPECT_EQ(picture, fresh.render());
}

INSTANTIATE_TEST_SUITE_P(
    Changes, MeterCacheTest,
    testing::Values(
        Change{"NeedleMoved", [](TMeter &m) { m.setValue(2710); }, false},
        Change{"NeedleIntoTheHighLamp", [](TMeter &m) { m.setValue(4500); }, false},
        Change{"SecondNeedle",
               [](TMeter &m) {
                   m.NeedleLayoutSec()->setVisible(true);
                   m.setValueSec(3300);
               },
               false},
        Change{"NeedleColour", [](TMeter &m) { m.NeedleLayout()->setColorBody(clBlue); }, false},
        Change{"Caption", [](TMeter &m) { m.setCaption(QStringLiteral("km/h")); }, true},
        Change{"Range", [](TMeter &m) { m.setMeterMaxValue(8000); }, true},
        Change{"Band",
               [](TMeter &m) {
                   m.setScaleBkVisible(true);
                   m.setScaleBkWidth(10);
               },
               true},
        Change{"BackgroundColour", [](TMeter &m) { m.setColorBakG(clYellow); }, true},
        Change{"CoverColour", [](TMeter &m) { m.setColorCover(clNavy); }, true},
        Change{"Frame", [](TMeter &m) { m.setFrameStyle(TFrameStyle::fsEmbossed); }, true},
        Change{"Hub", [](TMeter &m) { m.setAnchorCovered(true); }, true},
        Change{"Size", [](TMeter &m) { m.resize(160, 140); }, true},
        Change{"Font", [](TMeter &m) { m.setFont(TFont(QStringLiteral("Courier New"), -12)); },
               true}),
    [](const testing::TestParamInfo<Change> &i) { return std::string(i.param.Name); });

TEST(MeterCache, AScaleLabelHandlerIsCalledOnEveryRender)
{
    // What the handler draws may change at any time: nothing is kept.
    TMeter m;
    setUpWindowGauge(m, QStringLiteral("mph"), 100);
    int calls = 0;
    m.OnBeforeDrawScaleLabel = [&](TMeter *, TCanvas &, QString &, int, int) { ++calls; };
    m.render();
    const int perRender = calls;
    ASSERT_GT(perRender, 0);
    m.setValue(40);
    EXPECT_EQ(calls, 2 * perRender);
}

TEST(MeterCache, KeptPicturesMatchTheWholeDrawingWhereverTheNeedlesGo)
{
    // A no-op label handler makes a gauge draw every part anew each time:
    // the kept face, overlay and needle boxes must give the same pixels,
    // the needles under the cover, over the hub and with their shadows.
    TMeter kept, whole;
    for (TMeter *m : {&kept, &whole}) {
        setUpWindowGauge(*m, QStringLiteral("rpm"), 5000);
        m->setLimWatchHighOn(true);
        m->setThresholdHigh(4000);
        m->NeedleLayout()->setShadowDx(3);
        m->NeedleLayout()->setShadowDy(-2);
        m->NeedleLayoutSec()->setVisible(true);
        m->NeedleLayoutSec()->setColorBody(clBlue);
    }
    whole.OnBeforeDrawScaleLabel = [](TMeter *, TCanvas &, QString &, int, int) {};
    for (double v : {0.0, 250.0, 1200.0, 2500.0, 3999.0, 4000.0, 4870.0, 5000.0, 6000.0, -10.0}) {
        for (TMeter *m : {&kept, &whole}) {
            m->setValue(v);
            m->setValueSec(5000 - v);
        }
        EXPECT_EQ(kept.render(), whole.render()) << v;
    }
}

TEST(MeterCache, AMoveThatLeavesNeedleAndLampsInPlaceDrawsNothing)
{
    TMeter m;
    setUpWindowGauge(m, QStringLiteral("rpm"), 5000);
    m.setLimWatchHighOn(true);
    m.setThresholdHigh(4000);
    m.setValue(3999.9);
    const int renders = m.renderCount();
    const QImage before = m.lastImage();
    m.setValue(3999.95); // a hundredth of a pixel at the tip
    EXPECT_EQ(m.renderCount(), renders);
    EXPECT_EQ(m.Value(), 3999.95);
    EXPECT_EQ(m.lastImage().cacheKey(), before.cacheKey());

    // The same needle, but the lamp lights: drawn.
    m.setValue(4000.05);
    EXPECT_EQ(m.renderCount(), renders + 1);
    EXPECT_TRUE(m.LimHighActive());
    EXPECT_NE(m.lastImage(), before);
    // A move the needle shows: drawn.
    m.setValue(4500);
    EXPECT_EQ(m.renderCount(), renders + 2);

    TMeter fresh;
    setUpWindowGauge(fresh, QStringLiteral("rpm"), 5000);
    fresh.setLimWatchHighOn(true);
    fresh.setThresholdHigh(4000);
    fresh.setValue(4500);
    EXPECT_EQ(m.lastImage(), fresh.render());
}

} // namespace
