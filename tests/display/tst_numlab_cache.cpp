// The kept picture of a readout without its number: a new value reuses it,
// any change to the frame, captions or colours draws it anew, and the result
// is always what a fresh readout in the same state draws.
#include "widgets/display/NumLab.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

void setUpSpeed(TNumLab &n)
{
    n.resize(161, 17);
    n.setLeftSpace(60);
    n.setLabelWidth(80);
    n.setLeftText(QStringLiteral("Speed"));
    n.setRightText(QStringLiteral("mph"));
    n.setColorLabBakG(clBlack);
    n.setColorLabText(clLime);
    n.setPrecision(1);
    n.setValue(47.0);
}

struct Change {
    const char *Name;
    std::function<void(TNumLab &)> Apply;
    bool ReshapesBase;
};

void PrintTo(const Change &c, std::ostream *os)
{
    *os << c.Name;
}

class NumLabCacheTest : public testing::TestWithParam<Change>
{
};

TEST_P(NumLabCacheTest, PictureMatchesAFreshReadout)
{
    const Change &c = GetParam();
    TNumLab kept;
    setUpSpeed(kept);
    kept.render();
    const int bases = kept.baseRenderCount();
    c.Apply(kept);
    const QImage picture = kept.render();
    EXPECT_EQ(kept.baseRenderCount() > bases, c.ReshapesBase);

    TNumLab fresh;
    setUpSpeed(fresh);
    c.Apply(fresh);
    EXPECT_EQ(picture, fresh.render());
}

INSTANTIATE_TEST_SUITE_P(
    Changes, NumLabCacheTest,
    testing::Values(
        Change{"NewValue", [](TNumLab &n) { n.setValue(59.04); }, false},
        Change{"SameShownText", [](TNumLab &n) { n.setValue(47.04); }, false},
        Change{"Precision", [](TNumLab &n) { n.setPrecision(3); }, false},
        Change{"Overflow", [](TNumLab &n) { n.setValue(1e30); }, false},
        Change{"Emptied", [](TNumLab &n) { n.setEmpty(true); }, false},
        Change{"TextColour", [](TNumLab &n) { n.setColorLabText(clWhite); }, false},
        Change{"ValueAlignment", [](TNumLab &n) { n.setAlignment(TAlignment::taLeftJustify); },
               false},
        Change{"BoxColour", [](TNumLab &n) { n.setColorLabBakG(clRed); }, true},
        Change{"Caption", [](TNumLab &n) { n.setLeftText(QStringLiteral("Power")); }, true},
        Change{"Unit", [](TNumLab &n) { n.setRightText(QStringLiteral("km/h")); }, true},
        Change{"Frame", [](TNumLab &n) { n.setFrameStyle(TFrameStyle::fsRaised); }, true},
        Change{"Scheme", [](TNumLab &n) { n.setColorScheme(TColorScheme::csSystem); }, true},
        Change{"LabelWidth", [](TNumLab &n) { n.setLabelWidth(70); }, true},
        Change{"Size", [](TNumLab &n) { n.resize(208, 20); }, true},
        Change{"Font", [](TNumLab &n) { n.setFont(TFont(QStringLiteral("Arial"), -13)); }, true}),
    [](const testing::TestParamInfo<Change> &i) { return std::string(i.param.Name); });

TEST(NumLabCache, AValueThatShowsTheSameTextKeepsThePicture)
{
    // The picture is shared, not drawn again: the screen has nothing new.
    TNumLab n;
    setUpSpeed(n);
    const QImage shown = n.render();
    n.setValue(47.04);
    EXPECT_EQ(n.Value(), 47.04);
    EXPECT_EQ(n.lastImage().cacheKey(), shown.cacheKey());
    n.setValue(47.06); // "47.1"
    EXPECT_NE(n.lastImage(), shown);
    n.setValue(47.0);
    EXPECT_EQ(n.lastImage(), shown);
}

} // namespace
