#include "ui/support/WindowsFixture.h"

#include "model/DisplayValues.h"
#include "widgets/input/ESBPCSSpinEdit.h"
#include "ui/form/FormTruck.h"
#include "analysis/LifeCurve.h"
#include "ui/lifemap/LifeMapWindow.h"
#include "analysis/Reliability.h"
#include "ui/lifemap/LifeMapText.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QGraphicsScene>
#include <QPaintEvent>
#include <QSignalSpy>
#include "ui/lifemap/ChartDot.h"
#include <QtCharts/QChartView>

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

#include <cmath>

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
        ASSERT_TRUE(map->Marker().has_value());
        const QPointF p = *map->Marker();
        EXPECT_DOUBLE_EQ(p.x(), *Shown::SpeedMph(m));
        EXPECT_DOUBLE_EQ(p.y(), LifeMap::LifeShown(*Shown::LifeKm(m), true));
        xs.push_back(p.x());
    }
    EXPECT_LT(xs.front(), xs.back()); // boosting: the marker climbs with the truck
}

TEST_F(LifeMapTest, MarkerLeavesInFourthGear)
{
    w.driver.driveTo(50);
    ASSERT_TRUE(map->Marker().has_value());
    EXPECT_NE(map->MarkerPixel(), QPointF(-1, -1));
    FormDriver::click(w.form().RBFourth);
    w.driver.tick();
    EXPECT_FALSE(map->Marker().has_value());
    EXPECT_EQ(map->MarkerPixel(), QPointF(-1, -1));
}

// Where the chart itself puts the marker's point, on whole pixels of the view.
static QPointF chartPixel(const TLifeMapWindow &map)
{
    const QPointF at = map.Chart()->mapToPosition(*map.Marker(), map.MarkerSeries());
    const QPointF shown = map.View()->viewportTransform().map(at);
    return {std::round(shown.x()), std::round(shown.y())};
}

TEST_F(LifeMapTest, TheDotStandsOnItsPointWhenTheTruckStandsStill)
{
    // Opened beside a truck at rest: the axes get their ranges after the
    // first placing, and the dot must follow them, not stay where the empty
    // chart put it.
    w.driver.tick(); // the pedal up: the truck stays at rest
    map->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(map));
    QCoreApplication::processEvents();
    ASSERT_TRUE(map->Marker().has_value());
    EXPECT_LT(map->Marker()->x(), 1.0);
    EXPECT_EQ(map->MarkerPixel(), chartPixel(*map));

    // The axes change under a still truck: kilometres, then a heavier load.
    FormDriver::click(w.form().CBMiles);
    QCoreApplication::processEvents();
    EXPECT_EQ(map->MarkerPixel(), chartPixel(*map));
    w.form().SELoad->setValue(2500);
    w.driver.tick();
    QCoreApplication::processEvents();
    EXPECT_EQ(map->MarkerPixel(), chartPixel(*map));
    // Either axis alone, the plot area and the point unchanged.
    for (QAbstractAxis *axis : map->MarkerSeries()->attachedAxes()) {
        if (axis->orientation() == Qt::Horizontal)
            axis->setMin(-50.0);
        else
            axis->setMax(1e6);
        QCoreApplication::processEvents();
        EXPECT_EQ(map->MarkerPixel(), chartPixel(*map)) << axis->orientation();
    }
}

namespace
{
// The toolkit's warnings while alive (the charts warn of ranges they refuse).
struct WarningLog
{
    static QStringList &lines()
    {
        static QStringList l;
        return l;
    }
    WarningLog()
    {
        lines().clear();
        previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &m) {
            lines() << m;
        });
    }
    ~WarningLog() { qInstallMessageHandler(previous); }
    QtMessageHandler previous = nullptr;
};
} // namespace

TEST_F(LifeMapTest, AnOverdriveRatioBeyondReasonGivesTheChartNothingItCannotPlace)
{
    map->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(map));
    const WarningLog log;
    for (const long double ratio : {1e40L, 1e-40L, 1e308L, 1e-308L, 0.8130L}) {
        w.form().EditOverDriveRatio->setAsFloat(ratio);
        w.driver.tick();
        FormDriver::click(w.form().CBMph);
        w.driver.tick();
        QCoreApplication::processEvents();
        for (QAbstractAxis *axis : map->MarkerSeries()->attachedAxes()) {
            EXPECT_TRUE(std::isfinite(axis->property("min").toDouble())) << double(ratio);
            EXPECT_TRUE(std::isfinite(axis->property("max").toDouble())) << double(ratio);
        }
    }
    for (const QString &line : WarningLog::lines())
        EXPECT_FALSE(line.contains(QLatin1String("nan"), Qt::CaseInsensitive)
                     || line.contains(QLatin1String("Logarithms")))
            << line.toStdString();
    // Back to a sound ratio: the curve again.
    EXPECT_FALSE(pointsOf(seriesNamed(map->Chart(), TLifeMapWindow::LifeName)).empty());
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
    EXPECT_DOUBLE_EQ(map->Marker()->x(), *Shown::SpeedKmh(m));
    EXPECT_DOUBLE_EQ(map->Marker()->y(), *Shown::LifeKm(m) / 1000);
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

// Collects the regions a widget is asked to paint.
struct PaintWatch : QObject {
    QRegion painted;
    int paints = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint) {
            painted |= static_cast<QPaintEvent *>(e)->region();
            ++paints;
        }
        return false;
    }
};

TEST_F(LifeMapTest, TheDotIsDrawnRoundItsCentre)
{
    map->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(map));
    w.driver.driveTo(50);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    ASSERT_TRUE(map->MarkerLayer()->Centre().has_value());
    const QPoint centre = *map->MarkerLayer()->Centre();
    const QImage shown = map->MarkerLayer()->grab().toImage();
    // The dot's fill near its centre (the legend has a red mark of its own):
    // strongly red pixels, none of the curves' colours.
    QRect fill;
    const QRect near = QRect(centre - QPoint(15, 15), QSize(31, 31)).intersected(shown.rect());
    for (int y = near.top(); y <= near.bottom(); ++y)
        for (int x = near.left(); x <= near.right(); ++x) {
            const QColor c = shown.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 90 && c.blue() < 90)
                fill |= QRect(x, y, 1, 1);
        }
    ASSERT_FALSE(fill.isEmpty());
    EXPECT_LE(std::abs(fill.center().x() - centre.x()), 1);
    EXPECT_LE(std::abs(fill.center().y() - centre.y()), 1);
    EXPECT_GE(fill.width(), 7); // an 11-pixel dot less its outline
    EXPECT_LE(fill.width(), 11);
    // Black outline pixels on every side of the fill.
    const auto dark = [&](int x, int y) { return qGray(shown.pixel(x, y)) < 100; };
    EXPECT_TRUE(dark(fill.left() - 1, fill.center().y()) || dark(fill.left() - 2, fill.center().y()));
    EXPECT_TRUE(dark(fill.right() + 1, fill.center().y()) || dark(fill.right() + 2, fill.center().y()));
}

TEST_F(LifeMapTest, TheDotMovesByWholePixelsAndRepaintsOnlyWhereItWas)
{
    map->show();
    w.driver.tick();
    w.driver.boost();
    w.driver.pedal(100);
    // The window settles: the truck has a life, the chart has been taken.
    ASSERT_TRUE(w.driver.tickUntil([&] { return map->Marker().has_value(); }));
    for (int t = 0; t < 3; ++t) {
        w.driver.tick();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents(); // a picture's own layout settling
    }
    const int recomputes = map->Recomputes();
    PaintWatch layer, chart;
    map->MarkerLayer()->installEventFilter(&layer);
    map->View()->viewport()->installEventFilter(&chart);
    const int snapshots = map->MarkerLayer()->Snapshots();
    int moves = 0;
    QPointF last = map->MarkerPixel();
    for (int t = 0; t < 150; ++t) {
        layer.painted = {};
        w.driver.tick();
        QCoreApplication::processEvents(); // the paint happens here
        const QPointF now = map->MarkerPixel();
        if (map->Marker()) {
            // On the pixel nearest the point the chart maps the truck to.
            const QPointF exact = map->View()->viewportTransform().map(
                map->Chart()->mapToPosition(*map->Marker(), map->MarkerSeries()));
            EXPECT_EQ(now, QPointF(std::round(exact.x()), std::round(exact.y())));
        }
        const QRect dirty = layer.painted.boundingRect();
        if (now == last) {
            EXPECT_TRUE(dirty.isEmpty()) << "tick " << t << ": the dot did not move";
        } else {
            ++moves;
            // The places it left and entered, never the curves' whole area.
            EXPECT_LE(dirty.width(), std::abs(now.x() - last.x()) + 20) << "tick " << t;
            EXPECT_LE(dirty.height(), std::abs(now.y() - last.y()) + 20) << "tick " << t;
        }
        last = now;
    }
    EXPECT_GT(moves, 20);
    // At a steady speed the dot stays where it is and nothing is painted.
    w.driver.tickUntilSteady();
    QCoreApplication::processEvents();
    last = map->MarkerPixel();
    for (int t = 0; t < 5; ++t) {
        layer.painted = {};
        w.driver.tick();
        QCoreApplication::processEvents();
        EXPECT_EQ(map->MarkerPixel(), last);
        EXPECT_TRUE(layer.painted.isEmpty());
    }
    // The chart under the dot was neither drawn again nor taken anew.
    EXPECT_EQ(chart.paints, 0);
    EXPECT_EQ(map->MarkerLayer()->Snapshots(), snapshots);
    EXPECT_EQ(map->Recomputes(), recomputes);

    // A change of the chart is taken anew, once.
    w.form().SELoad->setValue(1500);
    w.driver.tick();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(map->MarkerLayer()->Snapshots(), snapshots + 1);
}

TEST_F(LifeMapTest, TheChartIsNamedAndDescribedInWordsKeptCurrent)
{
    QAccessibleInterface *chart = QAccessible::queryAccessibleInterface(map->View());
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->text(QAccessible::Name), map->Chart()->title());
    const auto words = [&](bool mph, bool miles) {
        return LifeMapDescription(
            LifeMap::LifeRuns(map->Points(), mph, miles), mph, miles, map->Marker());
    };
    // At rest the truck has no life yet: the curve alone.
    EXPECT_FALSE(map->Marker().has_value());
    EXPECT_EQ(map->Description(), words(true, true));
    EXPECT_TRUE(map->Description().startsWith(QStringLiteral("L10 life from ")));
    EXPECT_TRUE(map->Description().contains(QStringLiteral(" thousand miles at ")));

    w.driver.driveTo(60);
    ASSERT_TRUE(map->Marker().has_value());
    EXPECT_EQ(map->Description(), words(true, true));
    EXPECT_TRUE(map->Description().contains(QStringLiteral("; now ")));
    EXPECT_EQ(chart->text(QAccessible::Description), map->Description());

    FormDriver::click(w.form().CBMph);
    FormDriver::click(w.form().CBMiles);
    w.driver.tick();
    EXPECT_EQ(map->Description(), words(false, false));
    EXPECT_TRUE(map->Description().contains(QStringLiteral("thousand km")));
    EXPECT_TRUE(map->Description().endsWith(QStringLiteral(" km/h")));

    // In fourth gear the truck leaves the map, and the words say the curve only.
    FormDriver::click(w.form().RBFourth);
    w.driver.tick();
    EXPECT_FALSE(map->Description().contains(QStringLiteral("; now ")));
}

TEST_F(LifeMapTest, EveryControlThatTakesTheFocusIsNamed)
{
    map->show();
    int checked = 0;
    for (QWidget *c : map->findChildren<QWidget *>()) {
        if (c->focusPolicy() == Qt::NoFocus || !c->isVisibleTo(map) || c->window() != map)
            continue;
        QAccessibleInterface *i = QAccessible::queryAccessibleInterface(c);
        ASSERT_NE(i, nullptr);
        const QString n = i->text(QAccessible::Name);
        SCOPED_TRACE(c->metaObject()->className());
        EXPECT_FALSE(n.isEmpty());
        EXPECT_NE(n, i->text(QAccessible::Value));
        ++checked;
    }
    EXPECT_GE(checked, 4); // the chart, the list, two buttons
    EXPECT_EQ(QAccessible::queryAccessibleInterface(map->Reliability)->text(QAccessible::Name),
              QStringLiteral("Reliability"));
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
