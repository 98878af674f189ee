#include "gfx/Bitmap.h"
#include "widgets/display/NumLab.h"
#include "ReferenceImage.h"

#include <QDir>
#include <QImageReader>

#include <gtest/gtest.h>

// Renders of a readout in each frame style and each display type: each must
// match its stored reference pixel for pixel, and all are written to the
// build folder so a person can look at them.
namespace {

const char *const frameNames[] = {"fsNone", "fsSimple", "fsLowered", "fsRaised", "fsEmbossed", "fsEngraved"};
const char *const displayNames[] = {"dtFloat", "dtFixP", "dtExp", "dtHex", "dtZeroInt",
                                    "dtInt", "dtDateTime", "dtState", "dtBin", "dtOct"};

struct Sample
{
    TDisplay type;
    int precision;
    double value;
};

const Sample samples[] = {
    {TDisplay::dtFloat, 4, 61.34},   {TDisplay::dtFixP, 1, 61.34},      {TDisplay::dtExp, 3, 1234.5},
    {TDisplay::dtHex, 4, 255},       {TDisplay::dtZeroInt, 5, 42},      {TDisplay::dtInt, 2, 1234.7},
    {TDisplay::dtDateTime, 2, 45000}, {TDisplay::dtState, 2, 0},        {TDisplay::dtBin, 8, 5},
    {TDisplay::dtOct, 4, 64},
};

QDir galleryDir()
{
    QDir dir(QStringLiteral(VELMORA_TEST_OUTPUT_DIR));
    dir.mkpath(QStringLiteral("numlab_gallery"));
    dir.cd(QStringLiteral("numlab_gallery"));
    return dir;
}

testing::AssertionResult matches(const QImage &img, QString name)
{
    name.chop(4); // ".png"
    return MatchesReference(img, QStringLiteral(VELMORA_TEST_REFERENCE_DIR),
                            QStringLiteral(VELMORA_TEST_OUTPUT_DIR "/mismatch"),
                            QStringLiteral("numlab_") + name);
}

QImage renderReadout(const std::function<void(TNumLab &)> &setup)
{
    TNumLab n;
    n.resize(190, 19);
    n.setLeftSpace(60);
    n.setLeftText(QStringLiteral("Power"));
    n.setRightText(QStringLiteral("hp"));
    setup(n);
    return n.render();
}

} // namespace

TEST(NumLabGallery, WritesEveryFrameStyleAndDisplayType)
{
    const QDir dir = galleryDir();
    std::vector<QImage> all;
    for (int s = 0; s < 6; ++s)
        for (TColorScheme scheme : {TColorScheme::csBWG, TColorScheme::csSystem}) {
            const QImage img = renderReadout([&](TNumLab &n) {
                n.setFrameStyle(TFrameStyle(s));
                n.setColorScheme(scheme);
                n.setValue(61.34);
            });
            const QString name = QStringLiteral("frame_%1_%2.png")
                                     .arg(QLatin1String(frameNames[s]),
                                          scheme == TColorScheme::csBWG ? QLatin1String("csBWG") : QLatin1String("csSystem"));
            ASSERT_TRUE(img.save(dir.filePath(name))) << name.toStdString();
            EXPECT_TRUE(matches(img, name));
            all.push_back(img);
        }
    for (const Sample &sample : samples) {
        const QImage img = renderReadout([&](TNumLab &n) {
            n.setDisplayType(sample.type);
            n.setPrecision(sample.precision);
            n.setValue(sample.value);
            n.setColorLabBakG(clBlack);
            n.setColorLabText(clLime);
        });
        const QString name = QStringLiteral("display_%1.png").arg(QLatin1String(displayNames[int(sample.type)]));
        ASSERT_TRUE(img.save(dir.filePath(name))) << name.toStdString();
        EXPECT_TRUE(matches(img, name));
        all.push_back(img);
    }
    all.push_back(renderReadout([](TNumLab &n) { n.setEmpty(true); }));
    EXPECT_TRUE(matches(all.back(), QStringLiteral("empty.png")));
    all.push_back(renderReadout([](TNumLab &n) { n.setValue(1e20); }));
    EXPECT_TRUE(matches(all.back(), QStringLiteral("overflow.png")));

    // One sheet of everything, three times the size.
    TBitmap sheet(190, 21 * int(all.size()));
    sheet.Canvas().Brush.Color = clWhite;
    sheet.Canvas().FillRect(0, 0, sheet.Width(), sheet.Height());
    for (std::size_t i = 0; i < all.size(); ++i)
        sheet.Canvas().Draw(0, int(i) * 21, all[i]);
    const QImage big = sheet.image().scaled(sheet.Width() * 3, sheet.Height() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    ASSERT_TRUE(big.save(dir.filePath(QStringLiteral("sheet.png"))));

    EXPECT_EQ(QImageReader(dir.filePath(QStringLiteral("display_dtHex.png"))).size(), QSize(190, 19));
    EXPECT_EQ(dir.entryList({QStringLiteral("*.png")}).size(), 12 + 10 + 1);
}
