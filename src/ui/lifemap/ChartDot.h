#pragma once

#include <QPixmap>
#include <QPointF>
#include <QWidget>

#include <optional>

class QGraphicsView;

// The running truck's dot over a chart view. It lies over the whole view
// and shows a picture of the chart taken when the chart last changed, with
// the dot on top: a move repaints the few pixels the dot leaves and enters
// from that picture, and the chart itself is not drawn again.
class TChartDot : public QWidget
{
    Q_OBJECT
  public:
    TChartDot(QGraphicsView *view, double diameter, QColor color);

    // Where the dot's centre is, in the view's pixels (whole ones); none
    // hides it. Repaints only when that changes.
    void setCentre(std::optional<QPoint> centre);
    std::optional<QPoint> Centre() const { return m_centre; }
    // How many times the picture of the chart was taken.
    int Snapshots() const { return m_snapshots; }

  protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void snapshot();
    QRect dotRect(QPoint centre) const;
    // The dot itself, drawn once for the screen's resolution and kept.
    const QPixmap &dotPicture();

    QGraphicsView *m_view;
    double m_diameter;
    QColor m_color;
    QPixmap m_chart;
    QPixmap m_dot;
    std::optional<QPoint> m_centre;
    bool m_snapshotPending = false;
    int m_snapshots = 0;
};
