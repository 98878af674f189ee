// The button drawn for a high-density screen: background, bevel and picture
// grow to blocks, the caption is drawn at the device resolution, and the
// cached faces keep serving the ordinary screen unchanged.
#include "ButtonTestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace
{

enum class Look { Up, Latched, Hot, Pressed, Disabled, Clear };

struct RatioCase {
    const char *name;
    Look look;
};

void apply(TestButton &b, Look look)
{
    switch (look) {
    case Look::Up:
        break;
    case Look::Latched:
        b.setValue(true);
        break;
    case Look::Hot:
        b.MouseEnter();
        break;
    case Look::Pressed:
        b.MouseDown(Qt::LeftButton, {}, 20, 20);
        break;
    case Look::Disabled:
        b.setEnabled(false);
        break;
    case Look::Clear:
        b.Background().setStyle(ToxBackgroundStyle::oxbClear);
        break;
    }
}

// Compares the device picture with the logical one: outside `text` every
// device pixel has its logical pixel's colour; returns how many inside differ.
int compareOutside(const QImage &plain, const QImage &device, const QRect &text)
{
    int insideDiffers = 0;
    for (int y = 0; y < device.height(); ++y)
        for (int x = 0; x < device.width(); ++x) {
            const QPoint logical(x / 2, y / 2);
            const bool same = device.pixel(x, y) == plain.pixel(logical);
            if (text.contains(logical)) {
                insideDiffers += !same;
            } else if (!same) {
                ADD_FAILURE() << "device pixel " << x << "," << y
                              << " is not its logical pixel's colour";
                return insideDiffers;
            }
        }
    return insideDiffers;
}

class ButtonRatio : public ::testing::TestWithParam<RatioCase>
{
};

TEST_P(ButtonRatio, FaceGrowsAndTheCaptionIsDrawnAnew)
{
    BoostFixture f;
    apply(*f.btn, GetParam().look);
    const QImage plain = f.btn->render();
    const QRect caption = f.btn->CaptionRect();
    ASSERT_FALSE(caption.isEmpty());
    // Twice: the second time the logical face is in the cache and must not
    // stand in for the device face.
    QImage device;
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        device = f.btn->renderAt(2);
        ASSERT_EQ(device.size(), plain.size() * 2);
        ASSERT_EQ(device.devicePixelRatio(), 2.0);
        // The glyphs drawn large may reach a pixel past the logical box.
        EXPECT_GT(compareOutside(plain, device, caption.adjusted(-2, -2, 2, 2)), 0)
            << "the caption is the grown logical one";
    }
    // Kept for a look by eye next to the gallery pictures.
    device.save(
        QDir(QStringLiteral(VELMORA_TEST_OUTPUT_DIR))
            .filePath(QStringLiteral("boost_ratio2_%1.png").arg(QLatin1String(GetParam().name))));
    // The ordinary picture is untouched by the device renders, cache included.
    EXPECT_EQ(f.btn->render(), plain);
    EXPECT_EQ(f.btn->renderAt(1), plain);
}

INSTANTIATE_TEST_SUITE_P(
    Looks, ButtonRatio,
    ::testing::Values(RatioCase{"Up", Look::Up}, RatioCase{"Latched", Look::Latched},
                      RatioCase{"Hot", Look::Hot}, RatioCase{"Pressed", Look::Pressed},
                      RatioCase{"Disabled", Look::Disabled}, RatioCase{"Clear", Look::Clear}),
    [](const auto &p) { return std::string(p.param.name); });

TEST(ButtonRatio, OddRatioFillsTheWholeDeviceImage)
{
    // 1.5 makes blocks of one and two pixels; no device pixel is left as the
    // plain background fill where the logical face is not background.
    BoostFixture f;
    f.btn->setColor(clYellow);
    f.btn->Background().setColor(clYellow);
    const QImage plain = f.btn->render();
    const QImage device = f.btn->renderAt(1.5);
    ASSERT_EQ(device.size(), QSize(110, 98));
    // The face's middle row below the caption: every device pixel of it is
    // some colour of the logical row (blocks, nothing unpainted between them).
    const int ly = plain.height() - 8;
    const int dy = int(ly * 1.5);
    for (int x = 0; x < device.width(); ++x) {
        const QRgb c = device.pixel(x, dy);
        const int lx = std::min(int(x / 1.5), plain.width() - 1);
        const bool near = c == plain.pixel(lx, ly) || (lx > 0 && c == plain.pixel(lx - 1, ly)) ||
                          (lx + 1 < plain.width() && c == plain.pixel(lx + 1, ly));
        EXPECT_TRUE(near) << x;
    }
}

} // namespace
