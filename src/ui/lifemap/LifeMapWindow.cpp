#include "ui/lifemap/LifeMapWindow.h"

#include "analysis/LifeCurve.h"
#include "analysis/Reliability.h"
#include "ui/lifemap/ChartDot.h"
#include "ui/lifemap/LifeMapText.h"
#include "ui/truck/TruckSession.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGraphicsEllipseItem>
#include <QGraphicsTextItem>
#include <QTextDocument>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QPainter>
#include <QPushButton>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QLogValueAxis>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

const QString TLifeMapWindow::LifeName = QStringLiteral("L10");
const QString TLifeMapWindow::NotHeldName = QStringLiteral("L10, speed not held");
const QString TLifeMapWindow::ReliabilityName = QStringLiteral("a1 × L10 at ");
const QString TLifeMapWindow::HeldName = QStringLiteral("Held curve");
const QString TLifeMapWindow::MarkerName = QStringLiteral("Now");
const QString TLifeMapWindow::SharesName = QStringLiteral("Distance share");

namespace
{

constexpr double MarkerSize = 11;
const QColor MarkerColor(200, 30, 30);

QString percentText(double p)
{
    return QString::number(p, 'g', 4) + QStringLiteral(" %");
}

bool any(const std::vector<TOperatingPoint> &points, bool (*test)(const TOperatingPoint &))
{
    return std::any_of(points.begin(), points.end(), test);
}

// Why the sweep draws no curve; empty when it draws one.
QString emptyReason(const std::vector<TOperatingPoint> &points, bool curveDrawn)
{
    if (points.empty())
        return QStringLiteral("No life to map: the engine reaches no road speed in fifth gear "
                              "with this truck.");
    if (curveDrawn)
        return {};
    if (!any(points, [](const TOperatingPoint &p) { return !p.Resistance || *p.Resistance >= 0; }))
        return QStringLiteral("No life to map: at every speed the road runs downhill (the "
                              "resistance is negative), so the truck coasts, the engine drives "
                              "nothing and the bearing carries no load.");
    if (!any(points, [](const TOperatingPoint &p) { return p.RadialLoad.has_value(); }))
        return QStringLiteral("No life to map: the bearing's radial load P is undefined or "
                              "negative at every speed with these inputs.");
    return QStringLiteral("No life to map: at every speed the bearing's life is zero, "
                          "undefined or beyond the range a life can have with these inputs.");
}

} // namespace

TLifeMapWindow::TLifeMapWindow(TTruckSession *session, QWidget *parent)
    : QWidget(parent, Qt::Window), m_session(session), m_dialogs(TDialogs::Standard())
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("LifeMap"));
    setWindowTitle(QStringLiteral("Life map"));

    m_chart = new QChart;
    m_chart->setTitle(QStringLiteral("Input-shaft bearing life in fifth gear"));
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_speedAxis = new QValueAxis;
    m_speedAxis->setLabelFormat(QStringLiteral("%.0f"));
    m_lifeAxis = new QLogValueAxis;
    m_lifeAxis->setBase(10);
    m_lifeAxis->setLabelFormat(QStringLiteral("%g"));
    m_lifeAxis->setMinorTickCount(8);
    m_chart->addAxis(m_speedAxis, Qt::AlignBottom);
    m_chart->addAxis(m_lifeAxis, Qt::AlignLeft);

    // The duty list's distance by speed: light bars along the bottom, drawn
    // before the curves so that these stay on top, against their own axis.
    m_shareAxis = new QValueAxis;
    m_shareAxis->setLabelFormat(QStringLiteral("%.0f"));
    m_shareAxis->setTitleText(QStringLiteral("Distance share (%)"));
    m_shareAxis->setGridLineVisible(false);
    m_shareAxis->setTickCount(6);
    m_chart->addAxis(m_shareAxis, Qt::AlignRight);
    m_bars = new QAreaSeries(new QLineSeries);
    m_bars->setName(SharesName);
    m_bars->setColor(QColor(240, 160, 60, 120));
    m_bars->setBorderColor(QColor(200, 120, 30));
    m_chart->addSeries(m_bars);
    m_bars->attachAxis(m_speedAxis);
    m_bars->attachAxis(m_shareAxis);

    // The running truck. The series only names it in the legend and lends
    // its axes for placing. On screen the dot is a layer over the view that
    // repaints the few pixels it leaves and enters from a picture of the
    // chart, never the curves; the item in the chart stands in for it when
    // the chart is saved as a drawing.
    m_marker = new QScatterSeries;
    m_marker->setName(MarkerName);
    m_marker->setMarkerSize(MarkerSize);
    m_marker->setColor(MarkerColor);
    m_marker->setBorderColor(Qt::black);
    m_chart->addSeries(m_marker);
    m_marker->attachAxis(m_speedAxis);
    m_marker->attachAxis(m_lifeAxis);
    m_dot = new QGraphicsEllipseItem(-MarkerSize / 2.0, -MarkerSize / 2.0, MarkerSize, MarkerSize,
                                     m_chart);
    m_dot->setBrush(MarkerColor);
    m_dot->setPen(QPen(Qt::black, 1));
    m_dot->setZValue(10); // over the curves
    m_dot->hide();

    // In place of the curve when there is none: why.
    m_emptyNote = new QGraphicsTextItem(m_chart);
    m_emptyNote->hide();
    connect(m_chart, &QChart::plotAreaChanged, this, &TLifeMapWindow::placeEmptyNote);

    m_view = new QChartView(m_chart);
    m_view->setRenderHint(QPainter::Antialiasing);
    m_layer = new TChartDot(m_view, MarkerSize, MarkerColor);
    // The dot follows the chart: its plot area and both axes' ranges, which
    // may change while the truck stands still. The chart takes a new range
    // after the axis announces it: the dot is placed once it has.
    connect(m_chart, &QChart::plotAreaChanged, this, &TLifeMapWindow::placeMarker);
    connect(m_speedAxis, &QValueAxis::rangeChanged, this, &TLifeMapWindow::placeMarker,
            Qt::QueuedConnection);
    connect(m_lifeAxis, &QLogValueAxis::rangeChanged, this, &TLifeMapWindow::placeMarker,
            Qt::QueuedConnection);
    // A reader hears what the chart shows, in words (kept current).
    // Its viewport takes the focus too; it goes by the same name.
    m_view->setAccessibleName(m_chart->title());
    m_view->viewport()->setAccessibleName(m_chart->title());

    Reliability = new QComboBox;
    for (double p : ReliabilityChoices)
        Reliability->addItem(percentText(p), p);
    HoldCurve = new QPushButton(QStringLiteral("&Hold curve"));
    HoldCurve->setCheckable(true);
    SaveChart = new QPushButton(QStringLiteral("&Save chart…"));

    auto *bar = new QHBoxLayout;
    auto *relLabel = new QLabel(QStringLiteral("&Reliability"));
    relLabel->setBuddy(Reliability);
    bar->addWidget(relLabel);
    bar->addWidget(Reliability);
    bar->addStretch();
    bar->addWidget(HoldCurve);
    bar->addWidget(SaveChart);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(bar);
    resize(640, 460);

    connect(Reliability, &QComboBox::currentIndexChanged, this, &TLifeMapWindow::redraw);
    connect(HoldCurve, &QPushButton::toggled, this, &TLifeMapWindow::holdToggled);
    connect(SaveChart, &QPushButton::clicked, this, &TLifeMapWindow::saveChart);
    connect(session, &TTruckSession::TruckChanged, this, &TLifeMapWindow::recompute);
    connect(session, &TTruckSession::RunningChanged, this, &TLifeMapWindow::moveMarker);
    connect(session, &TTruckSession::DutyChanged, this, &TLifeMapWindow::updateBars);
    recompute();
}

TLifeMapWindow::~TLifeMapWindow() = default;

double TLifeMapWindow::ReliabilityPercent() const
{
    return Reliability->currentData().toDouble();
}

void TLifeMapWindow::recompute()
{
    ++m_recomputes;
    m_points = SpeedSweep(m_session->Truck(), TGear::Fifth, LifeMap::CurvePoints);
    redraw();
}

void TLifeMapWindow::holdToggled(bool on)
{
    m_held = on ? m_points : std::vector<TOperatingPoint>{};
    redraw();
}

void TLifeMapWindow::redraw()
{
    const TTruck &truck = m_session->Truck();
    const bool mph = truck.SpeedInMph;
    const bool miles = truck.LifeInMiles;
    for (QAbstractSeries *s : m_curves) {
        m_chart->removeSeries(s);
        delete s;
    }
    m_curves.clear();

    std::vector<double> lives;
    bool legendShown[2] = {false, false};
    auto addRun = [&](const LifeMap::TCurveRun &run, const QString &name, QPen pen, bool legend) {
        auto *s = new QLineSeries;
        s->setName(name);
        for (const auto &p : run.Points) {
            s->append(p.Speed, p.Life);
            lives.push_back(p.Life);
        }
        s->setPen(pen);
        m_chart->addSeries(s);
        s->attachAxis(m_speedAxis);
        s->attachAxis(m_lifeAxis);
        for (QLegendMarker *mk : m_chart->legend()->markers(s))
            mk->setVisible(legend);
        m_curves.push_back(s);
    };

    if (!m_held.empty()) {
        QPen faint(QColor(150, 150, 150, 140), 1.5);
        bool first = true;
        for (const auto &run : LifeMap::LifeRuns(m_held, mph, miles)) {
            addRun(run, HeldName, faint, first);
            first = false;
        }
    }
    const double percent = ReliabilityPercent();
    if (percent > MinReliability) {
        const double a1 = ReliabilityFactor(percent);
        QPen pen(QColor(30, 140, 60), 2);
        bool first = true;
        for (const auto &run : LifeMap::LifeRuns(m_points, mph, miles, a1)) {
            QPen p = pen;
            if (!run.Holds)
                p.setStyle(Qt::DashLine);
            addRun(run, ReliabilityName + percentText(percent), p, first);
            first = false;
        }
    }
    const std::vector<LifeMap::TCurveRun> runs = LifeMap::LifeRuns(m_points, mph, miles);
    for (const auto &run : runs) {
        QPen pen = run.Holds ? QPen(QColor(20, 80, 200), 2.5)
                             : QPen(QColor(140, 140, 140), 2, Qt::DashLine);
        addRun(run, run.Holds ? LifeName : NotHeldName, pen, !legendShown[run.Holds]);
        legendShown[run.Holds] = true;
    }

    // The speeds swept, as far as they are numbers an axis can show.
    m_sweepLo = 0;
    m_sweepHi = 1;
    bool anySpeed = false;
    for (const TOperatingPoint &p : m_points) {
        const double v = LifeMap::SpeedShown(p.SpeedMph, mph);
        if (!std::isfinite(v))
            continue;
        m_sweepLo = anySpeed ? std::min(m_sweepLo, v) : v;
        m_sweepHi = anySpeed ? std::max(m_sweepHi, v) : v;
        anySpeed = true;
    }
    m_speedAxis->setTitleText(mph ? QStringLiteral("Road speed (mph)")
                                  : QStringLiteral("Road speed (km/h)"));
    const auto [lifeLo, lifeHi] = LifeMap::DecadeRange(lives);
    m_lifeAxis->setRange(lifeLo, lifeHi);
    m_lifeAxis->setTitleText(miles ? QStringLiteral("L10 life (thousand miles)")
                                   : QStringLiteral("L10 life (thousand km)"));
    showEmptyReason(emptyReason(m_points, !runs.empty()));
    updateBars();
    m_curveWords = m_emptyReason.isEmpty()
                       ? LifeMapDescription(runs, mph, miles, {})
                       : m_emptyReason;
    m_markerPoint.reset(); // the units or the axes may have changed
    moveMarker();
    if (!m_markerPoint) {
        placeMarker();
        describe();
    }
}

void TLifeMapWindow::updateBars()
{
    const TTruck &truck = m_session->Truck();
    m_shares = DistanceBySpeed(truck.Duty);
    // Without a curve the note stands alone.
    const bool shown = !m_shares.empty() && m_emptyReason.isEmpty();
    QList<QPointF> outline;
    if (shown) {
        const double half = LifeMap::SpeedShown(BarWidthMph(m_shares), truck.SpeedInMph) / 2;
        outline.reserve(qsizetype(m_shares.size()) * 4);
        for (const TSpeedShare &s : m_shares) {
            const double x = LifeMap::SpeedShown(s.SpeedMph, truck.SpeedInMph);
            outline << QPointF(x - half, 0) << QPointF(x - half, s.SharePct)
                    << QPointF(x + half, s.SharePct) << QPointF(x + half, 0);
        }
        m_shareAxis->setRange(0, ShareAxisTop(m_shares));
    }
    m_bars->upperSeries()->replace(outline);
    m_bars->setVisible(shown);
    m_shareAxis->setVisible(shown);
    for (QLegendMarker *mk : m_chart->legend()->markers(m_bars))
        mk->setVisible(shown);
    applySpeedRange();
}

void TLifeMapWindow::applySpeedRange()
{
    double lo = m_sweepLo;
    double hi = m_sweepHi;
    // Every bar whole on the axis, the curve's speeds as before.
    const QList<QPointF> outline =
        m_bars->isVisible() ? m_bars->upperSeries()->points() : QList<QPointF>();
    if (!outline.isEmpty()) {
        lo = std::min(lo, std::max(0.0, outline.constFirst().x()));
        hi = std::max(hi, outline.constLast().x());
    }
    m_speedAxis->setRange(lo, hi > lo ? hi : lo + 1);
    m_speedAxis->applyNiceNumbers(); // round ticks: 0, 20, 40 ...
}

void TLifeMapWindow::moveMarker()
{
    const TTruckSession::TRunning &now = m_session->Running();
    const TTruck &truck = m_session->Truck();
    const auto &speed = now.SpeedMph;
    const auto &life = now.LifeKm;
    std::optional<QPointF> point;
    // The bearing is computed in fifth gear only.
    if (now.Gear == TGear::Fifth && speed && life && *life > 0) {
        const QPointF shown(LifeMap::SpeedShown(*speed, truck.SpeedInMph),
                            LifeMap::LifeShown(*life, truck.LifeInMiles));
        if (LifeMap::Placeable(shown.x(), shown.y()))
            point = shown;
    }
    if (point == m_markerPoint)
        return;
    m_markerPoint = point;
    placeMarker();
    describe();
}

void TLifeMapWindow::placeMarker()
{
    if (!m_markerPoint || m_emptyNote->isVisible()) {
        m_layer->setCentre(std::nullopt);
        return;
    }
    // On whole pixels: a move smaller than a pixel changes nothing on screen.
    const QPointF at = m_chart->mapToPosition(*m_markerPoint, m_marker);
    const QPointF shown = m_view->viewportTransform().map(at);
    const bool inside = m_chart->plotArea().adjusted(-1, -1, 1, 1).contains(at);
    m_layer->setCentre(inside ? std::optional<QPoint>(QPoint(int(std::round(shown.x())),
                                                             int(std::round(shown.y()))))
                              : std::nullopt);
}

void TLifeMapWindow::describe()
{
    QString text = m_curveWords;
    if (m_markerPoint && m_emptyReason.isEmpty())
        text += LifeMapNowText(*m_markerPoint, m_session->Truck().SpeedInMph);
    if (text == m_view->accessibleDescription())
        return;
    m_view->setAccessibleDescription(text);
    m_view->viewport()->setAccessibleDescription(text);
}

QString TLifeMapWindow::Description() const
{
    return m_view->accessibleDescription();
}

QChartView *TLifeMapWindow::View() const
{
    return m_view;
}

QPointF TLifeMapWindow::MarkerPixel() const
{
    return m_layer->Centre() ? QPointF(*m_layer->Centre()) : QPointF(-1, -1);
}

TChartDot *TLifeMapWindow::MarkerLayer() const
{
    return m_layer;
}

bool TLifeMapWindow::SaveChartTo(const QString &path)
{
    // The dot as part of the chart, not as the picture the layer shows.
    m_layer->hide();
    if (m_layer->Centre()) {
        m_dot->setPos(m_chart->mapToPosition(*m_markerPoint, m_marker));
        m_dot->show();
    }
    const bool saved = saveView(path);
    m_dot->hide();
    m_layer->show();
    return saved;
}

bool TLifeMapWindow::saveView(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(m_view->size());
        svg.setViewBox(QRect(QPoint(0, 0), m_view->size()));
        svg.setTitle(m_chart->title());
        QPainter painter;
        if (!painter.begin(&svg))
            return false;
        m_view->render(&painter);
        return painter.end();
    }
    return m_view->grab().save(path, "PNG");
}

void TLifeMapWindow::saveChart()
{
    const QString path =
        AskFileInLastFolder(m_dialogs, this, QStringLiteral("Save chart"),
                            QStringLiteral("PNG image (*.png);;SVG drawing (*.svg)"), true);
    if (path.isEmpty())
        return;
    if (!SaveChartTo(path) && m_dialogs.ShowProblem)
        m_dialogs.ShowProblem(this, QStringLiteral("%1: cannot be written").arg(path));
}

QString TLifeMapWindow::EmptyReason() const
{
    return m_emptyReason;
}

void TLifeMapWindow::showEmptyReason(const QString &reason)
{
    m_emptyReason = reason;
    // Empty axes say nothing; the reason takes their place.
    const bool empty = !reason.isEmpty();
    m_speedAxis->setVisible(!empty);
    m_lifeAxis->setVisible(!empty);
    m_emptyNote->setPlainText(reason);
    m_emptyNote->setVisible(empty);
    placeEmptyNote();
}

void TLifeMapWindow::placeEmptyNote()
{
    const QRectF area = m_chart->plotArea();
    m_emptyNote->setTextWidth(std::max(120.0, area.width() * 0.8));
    const QRectF box = m_emptyNote->boundingRect();
    m_emptyNote->setPos(area.center() - QPointF(box.width() / 2, box.height() / 2));
}
