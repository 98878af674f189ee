#include "ui/support/WindowsFixture.h"

#include "model/DisplayValues.h"
#include "widgets/input/ESBPCSSpinEdit.h"
#include "ui/form/FormTruck.h"
#include "analysis/LifeCurve.h"
#include "ui/lifemap/LifeMapWindow.h"
#include "analysis/Reliability.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGraphicsTextItem>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QtCharts/QAbstractAxis>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <gtest/gtest.h>

namespace
{

// The line series with this name; with the reliability curve's name, those
// that start with it (the percentage follows).
std::vector<QLineSeries *> seriesNamed(QChart *chart, const QString &name)
{
    std::vector<QLineSeries *> found;
    for (QAbstractSeries *s : chart->series()) {
        auto *line = qobject_cast<QLineSeries *>(s);
        if (line && (line->name() == name ||
                     (name == TLifeMapWindow::ReliabilityName && line->name().startsWith(name))))
            found.push_back(line);
    }
    return found;
}

// Every point of the given series, in order.
std::vector<QPointF> pointsOf(const std::vector<QLineSeries *> &series)
{
    std::vector<QPointF> all;
    for (QLineSeries *s : series)
        for (const QPointF &p : s->points())
            all.push_back(p);
    return all;
}

// The model's operating points with a life, as the chart should show them.
std::vector<QPointF> expected(const TTruck &truck, double factor, bool onlyHeld, bool onlyNotHeld)
{
    std::vector<QPointF> pts;
    for (const TOperatingPoint &p : SpeedSweep(truck, TGear::Fifth, LifeMap::CurvePoints)) {
        if (!p.LifeKm || !(*p.LifeKm > 0) || (onlyHeld && !p.Holds) || (onlyNotHeld && p.Holds))
            continue;
        pts.emplace_back(LifeMap::SpeedShown(p.SpeedMph, truck.SpeedInMph),
                         LifeMap::LifeShown(*p.LifeKm, truck.LifeInMiles) * factor);
    }
    return pts;
}

void expectSamePoints(const std::vector<QPointF> &got, const std::vector<QPointF> &want)
{
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_DOUBLE_EQ(got[i].x(), want[i].x()) << i;
        EXPECT_DOUBLE_EQ(got[i].y(), want[i].y()) << i;
    }
}

class LifeMapTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        w.actions().LifeMapAction->trigger();
        map = w.actions().LifeMap();
        ASSERT_NE(map, nullptr);
    }
    TTruck truck() { return TruckOfForm(w.form()); }

    WindowsFixture w;
    TLifeMapWindow *map = nullptr;
};

TEST_F(LifeMapTest, SeriesPointsAreTheModelsOperatingPoints)
{
    const TTruck t = truck();
    expectSamePoints(pointsOf(seriesNamed(map->Chart(), TLifeMapWindow::LifeName)),
                     expected(t, 1, true, false));
    expectSamePoints(pointsOf(seriesNamed(map->Chart(), TLifeMapWindow::NotHeldName)),
                     expected(t, 1, false, true));
    ASSERT_EQ(int(map->Points().size()), LifeMap::CurvePoints);
}

TEST_F(LifeMapTest, DashedRangeIsWhereTheTruckCannotHoldItsSpeed)
{
    // A load up a hill narrows the band that can be held from both ends.
    w.form().SELoad->setValue(1500);
    w.form().SEGradient->setValue(0.01);
    w.driver.tick();
    ASSERT_EQ(w.driver.model().Gradient, 0.01);
    const TTruck t = truck();
    const auto sweep = SpeedSweep(t, TGear::Fifth, LifeMap::CurvePoints);
    ASSERT_TRUE(std::any_of(sweep.begin(), sweep.end(), [](auto &p) { return !p.Holds; }));
    ASSERT_TRUE(std::any_of(sweep.begin(), sweep.end(), [](auto &p) { return p.Holds; }));

    for (QLineSeries *s : seriesNamed(map->Chart(), TLifeMapWindow::NotHeldName))
        EXPECT_EQ(s->pen().style(), Qt::DashLine);
    for (QLineSeries *s : seriesNamed(map->Chart(), TLifeMapWindow::LifeName))
        EXPECT_EQ(s->pen().style(), Qt::SolidLine);
    expectSamePoints(pointsOf(seriesNamed(map->Chart(), TLifeMapWindow::NotHeldName)),
                     expected(t, 1, false, true));
    expectSamePoints(pointsOf(seriesNamed(map->Chart(), TLifeMapWindow::LifeName)),
                     expected(t, 1, true, false));
}

TEST_F(LifeMapTest, MarkerFollowsTheSimulationTickByTick)
{
    w.driver.tick();
    w.driver.boost();
    w.driver.tickUntil([&] { return Shown::LifeKm(w.driver.model()).has_value(); });
    std::vector<double> xs;
    for (int i = 0; i < 30; ++i) {
        w.driver.tick();
        const TDriveModel &m = w.driver.model();
        ASSERT_EQ(map->Marker()->count(), 1);
        const QPointF p = map->Marker()->at(0);
        EXPECT_DOUBLE_EQ(p.x(), *Shown::SpeedMph(m));
        EXPECT_DOUBLE_EQ(p.y(), LifeMap::LifeShown(*Shown::LifeKm(m), true));
        xs.push_back(p.x());
    }
    EXPECT_LT(xs.front(), xs.back()); // boosting: the marker climbs with the truck
}

TEST_F(LifeMapTest, MarkerLeavesInFourthGear)
{
    w.driver.driveTo(50);
    ASSERT_EQ(map->Marker()->count(), 1);
    FormDriver::click(w.form().RBFourth);
    w.driver.tick();
    EXPECT_EQ(map->Marker()->count(), 0);
}

TEST_F(LifeMapTest, CurveIsRecomputedOnlyWhenAnInputChanges)
{
    const int before = map->Recomputes();
    w.driver.driveTo(45);
    EXPECT_EQ(map->Recomputes(), before); // driving changes no input

    // The change reaches the map when it is made, once; ticks add nothing.
    w.form().SELoad->setValue(1000);
    EXPECT_EQ(map->Recomputes(), before + 1);
    w.driver.tick(5);
    EXPECT_EQ(map->Recomputes(), before + 1);
    const auto sweep = SpeedSweep(truck(), TGear::Fifth, LifeMap::CurvePoints);
    ASSERT_EQ(map->Points().size(), sweep.size());
    EXPECT_EQ(map->Points().back().RadialLoad, sweep.back().RadialLoad);

    // Changing the reliability redraws without recomputing.
    map->Reliability->setCurrentIndex(2);
    EXPECT_EQ(map->Recomputes(), before + 1);
}

TEST_F(LifeMapTest, UnitsFollowTheCheckBoxes)
{
    FormDriver::click(w.form().CBMph);
    FormDriver::click(w.form().CBMiles);
    ASSERT_FALSE(w.form().CBMph->isChecked());
    w.driver.tick();
    const TTruck t = truck();
    ASSERT_FALSE(t.SpeedInMph);
    ASSERT_FALSE(t.LifeInMiles);
    expectSamePoints(pointsOf(seriesNamed(map->Chart(), TLifeMapWindow::LifeName)),
                     expected(t, 1, true, false));
    const auto axes = map->Chart()->axes(Qt::Horizontal);
    ASSERT_EQ(axes.size(), 1);
    EXPECT_TRUE(axes[0]->titleText().contains(QLatin1String("km/h")));
    EXPECT_TRUE(map->Chart()->axes(Qt::Vertical)[0]->titleText().contains(QLatin1String("km")));

    w.driver.driveTo(50);
    const TDriveModel &m = w.driver.model();
    EXPECT_DOUBLE_EQ(map->Marker()->at(0).x(), *Shown::SpeedKmh(m));
    EXPECT_DOUBLE_EQ(map->Marker()->at(0).y(), *Shown::LifeKm(m) / 1000);
}

TEST_F(LifeMapTest, ReliabilityAddsTheScaledCurve)
{
    EXPECT_TRUE(seriesNamed(map->Chart(), TLifeMapWindow::ReliabilityName).empty());
    struct Choice {
        int index;
        double percent;
    };
    for (Choice c : {Choice{1, 95}, Choice{2, 99}, Choice{3, 99.9}}) {
        map->Reliability->setCurrentIndex(c.index);
        EXPECT_EQ(map->ReliabilityPercent(), c.percent);
        expectSamePoints(pointsOf(seriesNamed(map->Chart(), TLifeMapWindow::ReliabilityName)),
                         expected(truck(), ReliabilityFactor(c.percent), false, false));
    }
    map->Reliability->setCurrentIndex(0);
    EXPECT_TRUE(seriesNamed(map->Chart(), TLifeMapWindow::ReliabilityName).empty());
}

TEST_F(LifeMapTest, HoldCurveKeepsTheOldCurveBesideTheNewOne)
{
    const TTruck old = truck();
    map->HoldCurve->click();
    ASSERT_TRUE(map->HoldCurve->isChecked());
    w.form().SEGradient->setValue(0.05);
    w.driver.tick();

    expectSamePoints(pointsOf(seriesNamed(map->Chart(), TLifeMapWindow::HeldName)),
                     expected(old, 1, false, false));
    std::vector<QPointF> now = pointsOf(seriesNamed(map->Chart(), TLifeMapWindow::LifeName));
    const auto notHeld = pointsOf(seriesNamed(map->Chart(), TLifeMapWindow::NotHeldName));
    now.insert(now.end(), notHeld.begin(), notHeld.end());
    std::sort(now.begin(), now.end(), [](auto a, auto b) { return a.x() < b.x(); });
    expectSamePoints(now, expected(truck(), 1, false, false));
    EXPECT_NE(expected(old, 1, false, false)[10], expected(truck(), 1, false, false)[10]);

    map->HoldCurve->click();
    EXPECT_TRUE(seriesNamed(map->Chart(), TLifeMapWindow::HeldName).empty());
}

TEST_F(LifeMapTest, SavesTheChartAsPngAndSvg)
{
    map->resize(500, 360);
    const QString png = w.path(QStringLiteral("map.png"));
    const QString svg = w.path(QStringLiteral("map.svg"));
    ASSERT_TRUE(map->SaveChartTo(png));
    ASSERT_TRUE(map->SaveChartTo(svg));
    QImage image(png);
    EXPECT_FALSE(image.isNull());
    EXPECT_GT(image.width(), 100);
    QFile f(svg);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.contains("<svg"));
    EXPECT_TRUE(text.contains("</svg>"));
    EXPECT_FALSE(map->SaveChartTo(w.path(QStringLiteral("no/such/dir/map.png"))));

    // Through the button and the file dialog seam.
    w.nextPath = w.path(QStringLiteral("button.svg"));
    map->SaveChart->click();
    EXPECT_TRUE(QFile::exists(w.nextPath));
    EXPECT_TRUE(w.problems.isEmpty());
    w.nextPath = w.path(QStringLiteral("no/such/dir/button.png"));
    map->SaveChart->click();
    ASSERT_EQ(w.problems.size(), 1);
    EXPECT_TRUE(w.problems[0].contains(w.nextPath));
}

TEST_F(LifeMapTest, SaysWhyWhenNoSpeedHasALife)
{
    EXPECT_TRUE(map->EmptyReason().isEmpty());
    QGraphicsTextItem *note = map->EmptyNote();
    ASSERT_NE(note, nullptr);
    EXPECT_FALSE(note->isVisible());

    // The sine of 4 is negative: downhill at every speed, no load on the bearing.
    w.form().SEGradient->setValue(4);
    EXPECT_TRUE(map->EmptyReason().contains(QLatin1String("downhill")))
        << map->EmptyReason().toStdString();
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->toPlainText(), map->EmptyReason());
    for (QAbstractAxis *axis : map->Chart()->axes())
        EXPECT_FALSE(axis->isVisible());
    // It is drawn into a saved chart too.
    const QString svg = w.path(QStringLiteral("empty.svg"));
    ASSERT_TRUE(map->SaveChartTo(svg));
    QFile f(svg);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("downhill"));

    w.form().SEGradient->setValue(0);
    EXPECT_TRUE(map->EmptyReason().isEmpty());
    EXPECT_FALSE(note->isVisible());
    // The distance shares have their axis only while there is a duty list.
    for (QAbstractAxis *axis : map->Chart()->axes())
        EXPECT_EQ(axis->isVisible(), axis != static_cast<QAbstractAxis *>(map->ShareAxis()));
}

TEST(SaveChartDialog, ANameWithoutSuffixTakesTheChosenFilters)
{
    EXPECT_EQ(FilterSuffix(QStringLiteral("SVG drawing (*.svg)")), QStringLiteral("svg"));
    EXPECT_EQ(FilterSuffix(QStringLiteral("All files (*)")), QString());
    QFileDialog dialog(nullptr, QStringLiteral("Save chart"), QString(),
                       QStringLiteral("PNG image (*.png);;SVG drawing (*.svg)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    FollowFilterSuffix(dialog);
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("png"));
    dialog.selectNameFilter(QStringLiteral("SVG drawing (*.svg)"));
    emit dialog.filterSelected(QStringLiteral("SVG drawing (*.svg)"));
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("svg"));
    emit dialog.filterSelected(QStringLiteral("PNG image (*.png)"));
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("png"));
}

} // namespace
