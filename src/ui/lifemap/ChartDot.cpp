#include "ui/lifemap/ChartDot.h"

#include <QEvent>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

#include <cmath>

TChartDot::TChartDot(QGraphicsView *view, double diameter, QColor color)
    : QWidget(view->viewport()), m_view(view), m_diameter(diameter), m_color(color)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent); // the picture covers all of it
    setFocusPolicy(Qt::NoFocus);
    view->viewport()->installEventFilter(this);
    setGeometry(view->viewport()->rect());
    // Whatever changes in the chart (curves, axes, size) is taken anew once
    // the scene has settled.
    connect(view->scene(), &QGraphicsScene::changed, this, [this] {
        if (m_snapshotPending)
            return;
        m_snapshotPending = true;
        QTimer::singleShot(0, this, &TChartDot::snapshot);
    });
    m_snapshotPending = true;
    QTimer::singleShot(0, this, &TChartDot::snapshot);
}

QRect TChartDot::dotRect(QPoint centre) const
{
    const int half = int(std::ceil(m_diameter / 2)) + 2; // the outline and its smoothing
    return {centre.x() - half, centre.y() - half, 2 * half + 1, 2 * half + 1};
}

void TChartDot::setCentre(std::optional<QPoint> centre)
{
    if (centre == m_centre)
        return;
    if (m_centre)
        update(dotRect(*m_centre));
    m_centre = centre;
    if (m_centre)
        update(dotRect(*m_centre));
}

void TChartDot::snapshot()
{
    m_snapshotPending = false;
    QWidget *viewport = m_view->viewport();
    const qreal ratio = devicePixelRatioF();
    QPixmap picture(viewport->size() * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(viewport->palette().color(viewport->backgroundRole()));
    // The view draws the chart; this layer, its child, is left out.
    viewport->render(&picture, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    m_chart = picture;
    ++m_snapshots;
    update();
}

void TChartDot::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    if (m_chart.isNull()) {
        p.fillRect(event->rect(), palette().color(QPalette::Base));
        return;
    }
    for (const QRect &r : event->region())
        p.drawPixmap(r, m_chart, QRectF(r.topLeft() * m_chart.devicePixelRatio(),
                                        r.size() * m_chart.devicePixelRatio()));
    if (!m_centre)
        return;
    p.drawPixmap(dotRect(*m_centre).topLeft(), dotPicture());
}

const QPixmap &TChartDot::dotPicture()
{
    // A smooth outline costs more to draw than the pixels it covers: the dot
    // moves on every tick of a climb, so it is drawn once, on whole pixels
    // at the same place in its box as on the chart.
    const qreal ratio = devicePixelRatioF();
    if (!m_dot.isNull() && m_dot.devicePixelRatio() == ratio)
        return m_dot;
    const QRect box = dotRect(QPoint(0, 0));
    QPixmap dot(box.size() * ratio);
    dot.setDevicePixelRatio(ratio);
    dot.fill(Qt::transparent);
    QPainter p(&dot);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(m_color);
    p.drawEllipse(QPointF(-box.topLeft()), m_diameter / 2, m_diameter / 2);
    p.end();
    m_dot = dot;
    return m_dot;
}

bool TChartDot::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view->viewport() && event->type() == QEvent::Resize)
        setGeometry(m_view->viewport()->rect());
    return QWidget::eventFilter(watched, event);
}
