// Where the duty list's distance lies: the arithmetic and the bars under the curve.

#include "ui/support/RouteFiles.h"
#include "ui/support/WindowsFixture.h"

#include "analysis/LifeCurve.h"
#include "ui/lifemap/LifeMapWindow.h"
#include "ui/lifemap/SpeedShares.h"

#include <QCheckBox>
#include <QLegendMarker>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numeric>

namespace
{

TDutySegment seg(double share, double mph, double gradient = 0)
{
    TDutySegment s;
    s.SharePct = share;
    s.SpeedMph = mph;
    s.Gradient = gradient;
    return s;
}

double sum(const std::vector<TSpeedShare> &shares)
{
    return std::accumulate(shares.begin(), shares.end(), 0.0,
                           [](double a, const TSpeedShare &s) { return a + s.SharePct; });
}

struct SharesCase {
    const char *name;
    std::vector<TDutySegment> duty;
    std::vector<TSpeedShare> shares;
};

std::string sharesName(const ::testing::TestParamInfo<SharesCase> &p)
{
    return p.param.name;
}

class DistanceBySpeedCases : public ::testing::TestWithParam<SharesCase>
{
};

TEST_P(DistanceBySpeedCases, OneBarPerSpeedAddingUpToAHundred)
{
    const SharesCase &c = GetParam();
    const auto got = DistanceBySpeed(c.duty);
    ASSERT_EQ(got.size(), c.shares.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].SpeedMph, c.shares[i].SpeedMph) << i;
        EXPECT_NEAR(got[i].SharePct, c.shares[i].SharePct, 1e-9) << i;
    }
    if (!got.empty()) {
        EXPECT_NEAR(sum(got), 100, 1e-9);
    }
}

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Cases, DistanceBySpeedCases,
    ::testing::Values(SharesCase{"Empty", {}, {}}, SharesCase{"One", {seg(100, 50)}, {{50, 100}}},
                      SharesCase{"SortedBySpeed", {seg(60, 55), seg(40, 30)}, {{30, 40}, {55, 60}}},
                      // Gradients and gears of one speed go together.
                      SharesCase{"SameSpeedAdds",
                                 {seg(20, 40, 0.02), seg(30, 40, -0.03), seg(50, 60)},
                                 {{40, 50}, {60, 50}}},
                      // A list whose shares are still being typed shows its proportions.
                      SharesCase{"ScaledTo100", {seg(30, 40), seg(30, 60)}, {{40, 50}, {60, 50}}},
                      SharesCase{"NoDistanceLeftOut",
                                 {seg(0, 40), seg(50, 0), seg(-5, 30), seg(NaN, 20), seg(50, NaN),
                                  seg(Inf, 70), seg(100, 45)},
                                 {{45, 100}}},
                      SharesCase{"NothingLeft", {seg(0, 40), seg(50, -10)}, {}}),
    sharesName);

TEST(SpeedShares, BarsNeverOverlapAndNeverExceedTheRouteBin)
{
    EXPECT_DOUBLE_EQ(BarWidthMph({}), 4);
    EXPECT_DOUBLE_EQ(BarWidthMph({{50, 100}}), 4);
    EXPECT_DOUBLE_EQ(BarWidthMph({{30, 50}, {35, 50}}), 4);
    EXPECT_DOUBLE_EQ(BarWidthMph({{30, 50}, {32, 25}, {60, 25}}), 1.6);
}

TEST(SpeedShares, TheShareAxisKeepsTheBarsLow)
{
    EXPECT_EQ(ShareAxisTop({{50, 100}}), 100);
    EXPECT_EQ(ShareAxisTop({{40, 60}, {60, 40}}), 100); // 60 % needs 150
    EXPECT_EQ(ShareAxisTop({{40, 20}, {60, 20}}), 50);
    EXPECT_EQ(ShareAxisTop({{40, 10}}), 25);
    EXPECT_EQ(ShareAxisTop({{40, 8}}), 20);
    EXPECT_EQ(ShareAxisTop({{40, 1}}), 5);
    EXPECT_EQ(ShareAxisTop({}), 5);
}

class LifeMapShares : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        w.actions().LifeMapAction->trigger();
        map = w.actions().LifeMap();
        ASSERT_NE(map, nullptr);
    }
    // The bars' heights and centres as drawn.
    std::vector<TSpeedShare> drawn() const
    {
        std::vector<TSpeedShare> bars;
        const QList<QPointF> pts = map->ShareBars()->upperSeries()->points();
        EXPECT_EQ(pts.size() % 4, 0);
        for (qsizetype i = 0; i + 3 < pts.size(); i += 4) {
            EXPECT_EQ(pts[i].y(), 0);
            EXPECT_EQ(pts[i + 1].y(), pts[i + 2].y());
            EXPECT_EQ(pts[i + 3].y(), 0);
            bars.push_back({(pts[i].x() + pts[i + 3].x()) / 2, pts[i + 1].y()});
        }
        return bars;
    }

    WindowsFixture w;
    TLifeMapWindow *map = nullptr;
};

TEST_F(LifeMapShares, NoListNoBars)
{
    EXPECT_TRUE(map->Shares().empty());
    EXPECT_FALSE(map->ShareBars()->isVisible());
    EXPECT_FALSE(map->ShareAxis()->isVisible());
    for (QLegendMarker *mk : map->Chart()->legend()->markers(map->ShareBars()))
        EXPECT_FALSE(mk->isVisible());
}

TEST_F(LifeMapShares, AnImportedRouteShowsItsDistanceBySpeed)
{
    ASSERT_TRUE(ImportAndWait(w, w.writeFile(QStringLiteral("drive.gpx"), TownThenHighwayGpx())));
    const auto &shares = map->Shares();
    EXPECT_EQ(shares, DistanceBySpeed(w.session.Truck().Duty));
    ASSERT_EQ(shares.size(), 2u);
    EXPECT_EQ(shares[0].SpeedMph, 30);
    EXPECT_NEAR(shares[0].SharePct, 40, 1e-9);
    EXPECT_EQ(shares[1].SpeedMph, 60);
    EXPECT_NEAR(shares[1].SharePct, 60, 1e-9);
    EXPECT_NEAR(sum(shares), 100, 1e-9);

    const auto bars = drawn();
    ASSERT_EQ(bars.size(), shares.size());
    for (std::size_t i = 0; i < bars.size(); ++i) {
        EXPECT_NEAR(bars[i].SpeedMph, shares[i].SpeedMph, 1e-9);
        EXPECT_EQ(bars[i].SharePct, shares[i].SharePct);
    }
    EXPECT_TRUE(map->ShareBars()->isVisible());
    EXPECT_TRUE(map->ShareAxis()->isVisible());
    EXPECT_EQ(map->ShareAxis()->max(), 100);
    EXPECT_EQ(map->ShareAxis()->alignment(), Qt::AlignRight);
    // Its own series on its own axis: the curve and the marker keep theirs.
    EXPECT_EQ(map->ShareBars()->name(), TLifeMapWindow::SharesName);
    EXPECT_TRUE(map->ShareBars()->attachedAxes().contains(map->ShareAxis()));
    EXPECT_FALSE(map->MarkerSeries()->attachedAxes().contains(map->ShareAxis()));
    // Every bar lies whole on the speed axis.
    const auto *speed = qobject_cast<QValueAxis *>(map->Chart()->axes(Qt::Horizontal).constFirst());
    ASSERT_NE(speed, nullptr);
    const QList<QPointF> outline = map->ShareBars()->upperSeries()->points();
    EXPECT_LE(speed->min(), outline.constFirst().x());
    EXPECT_GE(speed->max(), outline.constLast().x());
}

TEST_F(LifeMapShares, TheBarsFollowTheListAndTheSpeedUnit)
{
    w.session.SetDuty({seg(25, 20), seg(25, 45), seg(50, 70)});
    EXPECT_EQ(map->Shares(), DistanceBySpeed(w.session.Truck().Duty));
    ASSERT_EQ(drawn().size(), 3u);
    EXPECT_EQ(map->ShareAxis()->max(), 100);
    // A slow segment widens the speed axis to hold its bar.
    const auto *speed = qobject_cast<QValueAxis *>(map->Chart()->axes(Qt::Horizontal).constFirst());
    EXPECT_LE(speed->min(), 18);

    w.session.SetDuty({seg(10, 40), seg(10, 45), seg(10, 50), seg(10, 55), seg(60, 60)});
    ASSERT_EQ(drawn().size(), 5u);
    EXPECT_NEAR(sum(drawn()), 100, 1e-9);

    FormDriver::click(w.form().CBMph);
    ASSERT_FALSE(w.session.Truck().SpeedInMph);
    const auto bars = drawn();
    ASSERT_EQ(bars.size(), 5u);
    for (std::size_t i = 0; i < bars.size(); ++i)
        EXPECT_NEAR(bars[i].SpeedMph, LifeMap::SpeedShown(map->Shares()[i].SpeedMph, false), 1e-9);

    w.session.SetDuty({});
    EXPECT_TRUE(drawn().empty());
    EXPECT_FALSE(map->ShareBars()->isVisible());
}

} // namespace
