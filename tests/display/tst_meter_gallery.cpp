#include <QDir>
#include <gtest/gtest.h>

#include "tst_meter_window.h"

// Writes pictures of the gauges for a person to look at; the pixel tests
// check the details.

namespace {

QString galleryPath(const QString &name)
{
    QDir dir(QStringLiteral(VELMORA_TEST_OUTPUT_DIR));
    dir.mkpath(QStringLiteral("gallery"));
    return dir.filePath(QStringLiteral("gallery/") + name + QStringLiteral(".png"));
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
            const QImage img = m.render();
            EXPECT_TRUE(img.save(galleryPath(
                QStringLiteral("meter_%1_%2").arg(QLatin1String(g.caption)).arg(v))));
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
        EXPECT_TRUE(m.render().save(galleryPath(QStringLiteral("meter_layout_") + name)));
    }
}
