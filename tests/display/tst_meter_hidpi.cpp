// Gauges drawn for high-density screens: the device picture is the ordinary
// picture with every pixel grown to a block (same shapes, lines as thick as
// the ratio), text aside; at ratio 1 nothing changes.
#include "tst_meter_window.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The ordinary picture grown to the device size the way the canvas grows it:
// logical pixel x covers device pixels [round(x * r), round((x + 1) * r)).
QImage grown(const QImage &img, double ratio)
{
    QImage out(int(std::lround(img.width() * ratio)), int(std::lround(img.height() * ratio)),
               QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            // The logical pixel whose block holds (x, y).
            int lx = int(x / ratio), ly = int(y / ratio);
            while (lx + 1 < img.width() && std::lround((lx + 1) * ratio) <= x)
                ++lx;
            while (lx > 0 && std::lround(lx * ratio) > x)
                --lx;
            while (ly + 1 < img.height() && std::lround((ly + 1) * ratio) <= y)
                ++ly;
            while (ly > 0 && std::lround(ly * ratio) > y)
                --ly;
            out.setPixel(x, y, img.pixel(lx, ly));
        }
    return out;
}

int differing(const QImage &a, const QImage &b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

class MeterRatio : public testing::TestWithParam<double>
{
};

TEST_P(MeterRatio, ShapesGrowToBlocksWithoutText)
{
    const double ratio = GetParam();
    TMeter m;
    setUpWindowGauge(m, QString(), 100);
    m.setScaleVisible(false); // no labels: nothing but shapes
    m.setAnchorCovered(true);
    m.setLimWatchHighOn(true);
    m.setValue(37);
    const QImage plain = m.render();
    const QImage device = m.renderAt(ratio);
    ASSERT_EQ(device.devicePixelRatio(), ratio);
    ASSERT_EQ(device.size(), QSize(int(std::lround(153 * ratio)), int(std::lround(137 * ratio))));
    EXPECT_EQ(differing(device, grown(plain, ratio)), 0);
    EXPECT_EQ(m.lastImage(), plain) << "the ordinary picture is kept beside it";

    // A one-pixel line of the frame is a band as wide as the ratio rounds to.
    const QRgb frame = device.pixel(0, device.height() / 2);
    EXPECT_EQ(device.pixel(int(std::lround(ratio)) - 1, device.height() / 2), frame);
}

INSTANTIATE_TEST_SUITE_P(Ratios, MeterRatio, testing::Values(1.0, 1.5, 2.0, 3.0));

TEST(MeterRatio, TextIsDrawnAtTheDeviceResolution)
{
    TMeter m;
    setUpWindowGauge(m, QStringLiteral("rpm"), 5000);
    m.setValue(2500);
    const QImage plain = m.render();
    const QImage device = m.renderAt(2);
    const QImage blocks = grown(plain, 2);
    // Only the labels and the caption differ from the grown picture, and
    // they do: their glyphs are drawn anew, not grown.
    const int diff = differing(device, blocks);
    EXPECT_GT(diff, 0);
    // The needle, rims and frame are shapes: the rims' rows are identical.
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < device.width(); ++x)
            ASSERT_EQ(device.pixel(x, y), blocks.pixel(x, y)) << x << "," << y;
    // The cached ordinary picture is untouched by the device render.
    EXPECT_EQ(m.render(), plain);
}

} // namespace
