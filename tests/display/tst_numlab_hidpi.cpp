// A readout drawn for a high-density screen: frame and box grow to blocks,
// the number is drawn at the device resolution.
#include "widgets/display/NumLab.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(NumLabRatio, BoxGrowsAndTheNumberIsDrawnAnew)
{
    TNumLab n;
    n.resize(161, 17);
    n.setLeftSpace(60);
    n.setLabelWidth(80);
    n.setColorLabBakG(clBlack);
    n.setColorLabText(clLime);
    n.setValue(61.3);
    const QImage plain = n.render();
    const QImage device = n.renderAt(2);
    ASSERT_EQ(device.size(), QSize(322, 34));
    ASSERT_EQ(device.devicePixelRatio(), 2.0);

    // The number's clip box is (L + 3, 2) to (L + LW - 2, H - 4); elsewhere
    // every device pixel is its logical pixel's colour.
    const QRect clip(QPoint(63, 2), QPoint(138, 12));
    int insideDiffers = 0, lime = 0;
    for (int y = 0; y < device.height(); ++y)
        for (int x = 0; x < device.width(); ++x) {
            const QPoint logical(x / 2, y / 2);
            const bool same = device.pixel(x, y) == plain.pixel(logical);
            if (clip.contains(logical)) {
                insideDiffers += !same;
                lime += device.pixel(x, y) == qRgb(0, 255, 0);
            } else {
                ASSERT_TRUE(same) << x << "," << y;
            }
        }
    EXPECT_GT(insideDiffers, 0) << "the glyphs are not the grown ones";
    EXPECT_GT(lime, 0);
    // Ratio 1 is the ordinary render.
    EXPECT_EQ(n.renderAt(1), plain);
}
