#include <QDir>
#include <gtest/gtest.h>

#include "ReferenceImage.h"
#include "tst_meter_window.h"

// Pictures of the gauges: each must match its stored reference pixel for
// pixel, and is written out for a person to look at; the pixel tests check
// the details.

namespace {

QString galleryPath(const QString &name)
{
    QDir dir(QStringLiteral(VELMORA_TEST_OUTPUT_DIR));
    dir.mkpath(QStringLiteral("gallery"));
    return dir.filePath(QStringLiteral("gallery/") + name + QStringLiteral(".png"));
}

void show(const QImage &img, const QString &name)
{
    EXPECT_TRUE(img.save(galleryPath(name)));
    EXPECT_TRUE(MatchesReference(img, QStringLiteral(VELMORA_TEST_REFERENCE_DIR),
                                 QStringLiteral(VELMORA_TEST_OUTPUT_DIR "/mismatch"), name));
}

} // namespace

TEST(MeterGallery, WindowGauges)
{
    struct Gauge
    {
        const char *caption;
        double max;
        std::vector<double> values;
    };
    const Gauge gauges[] = {
        {"mph", 100, {0, 27.5, 50, 88, 100}},
        {"rpm", 5000, {0, 850, 2500, 4200, 5000}},
    };
    for (const Gauge &g : gauges) {
        TMeter m;
        setUpWindowGauge(m, QString::fromLatin1(g.caption), g.max);
        for (double v : g.values) {
            m.setValue(v);
            show(m.render(), QStringLiteral("meter_%1_%2").arg(QLatin1String(g.caption)).arg(v));
        }
    }
}

TEST(MeterGallery, EveryLayout)
{
    const std::pair<TMeterLayout, const char *> layouts[] = {
        {TMeterLayout::mlCirc90, "90"},   {TMeterLayout::mlCirc120, "120"},
        {TMeterLayout::mlCirc180, "180"}, {TMeterLayout::mlCirc270, "270"},
        {TMeterLayout::mlCirc300, "300"}, {TMeterLayout::mlCirc360, "360"},
    };
    for (const auto &[layout, name] : layouts) {
        TMeter m;
        m.setMeterLayout(layout);
        m.setMeterMaxValue(100);
        m.setThresholdHigh(80);
        m.setThresholdLow(20);
        m.setScaleBkVisible(true);
        m.setScaleBkWidth(12);
        m.setMeterDecPlaces(0);
        m.setCaption(QStringLiteral("%"));
        m.NeedleLayoutSec()->setVisible(true);
        m.NeedleLayoutSec()->setColorBody(clYellow);
        m.NeedleLayoutSec()->setThickness(4);
        m.NeedleLayout()->setShadowDx(-2);
        m.NeedleLayout()->setShadowDy(-2);
        m.setValueSec(35);
        m.setValue(85);
        show(m.render(), QStringLiteral("meter_layout_") + QLatin1String(name));
    }
}
