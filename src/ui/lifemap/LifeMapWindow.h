#pragma once

#include "analysis/OperatingPoint.h"
#include "ui/lifemap/SpeedShares.h"
#include "ui/truck/Dialogs.h"

#include <QPointF>
#include <QWidget>

#include <optional>

#include <vector>

class QAbstractSeries;
class QAreaSeries;
class QChart;
class QChartView;
class QComboBox;
class QLineSeries;
class QLogValueAxis;
class QPushButton;
class QScatterSeries;
class QGraphicsEllipseItem;
class QGraphicsTextItem;
class QValueAxis;
class TChartDot;
class TTruckSession;

// L10 life of the input-shaft bearing against road speed in fifth gear, for
// the session's truck, with the operating point of the running truck and,
// as bars along the bottom against a share axis on the right, where the duty
// list's distance lies by speed. It opens beside the main window and is
// destroyed on closing.
class TLifeMapWindow : public QWidget
{
    Q_OBJECT
  public:
    TLifeMapWindow(TTruckSession *session, QWidget *parent);
    ~TLifeMapWindow() override;

    QChart *Chart() const { return m_chart; }
    QComboBox *Reliability = nullptr; // 90, 95, 99, 99.9 %
    QPushButton *HoldCurve = nullptr; // checkable: keeps the present curve faintly
    QPushButton *SaveChart = nullptr;

    // The operating points the curve was drawn from.
    const std::vector<TOperatingPoint> &Points() const { return m_points; }
    // How often the operating points were computed (not just redrawn).
    int Recomputes() const { return m_recomputes; }
    double ReliabilityPercent() const;
    // The running truck's point in the shown units (speed, thousands);
    // absent while it has no life to show.
    std::optional<QPointF> Marker() const { return m_markerPoint; }
    // The series that names the dot in the legend and places it.
    QScatterSeries *MarkerSeries() const { return m_marker; }
    // Where the dot's centre is drawn in the chart view, on whole pixels;
    // (-1, -1) while it is hidden.
    QPointF MarkerPixel() const;
    // The layer over the chart that shows the dot.
    TChartDot *MarkerLayer() const;
    // The chart as a screen reader finds it: named by the chart's title,
    // with the curve and the running truck described in words.
    QChartView *View() const;
    QString Description() const;
    // The duty list's distance by speed as drawn, and the bars drawing it
    // (one series, hidden while the list is empty).
    const std::vector<TSpeedShare> &Shares() const { return m_shares; }
    QAreaSeries *ShareBars() const { return m_bars; }
    QValueAxis *ShareAxis() const { return m_shareAxis; }

    // The series names, for the legend.
    static const QString LifeName;
    static const QString NotHeldName;
    static const QString ReliabilityName; // prefix; the percentage follows
    static const QString HeldName;
    static const QString MarkerName;
    static const QString SharesName;

    // PNG or SVG by the file's suffix (PNG when it has neither); false on failure.
    bool SaveChartTo(const QString &path);
    // How "Save chart" asks for a file and shows a problem.
    void setDialogs(TDialogs dialogs) { m_dialogs = std::move(dialogs); }
    // Why the chart has no curve (no point of the sweep has a life); empty
    // while it has one.
    QString EmptyReason() const;
    // Where the chart shows that reason.
    QGraphicsTextItem *EmptyNote() const { return m_emptyNote; }

  private:
    void recompute();
    void redraw();
    void moveMarker();
    void placeMarker();
    void describe();
    void updateBars();
    void applySpeedRange();
    void holdToggled(bool on);
    void saveChart();
    bool saveView(const QString &path);

    void showEmptyReason(const QString &reason);
    void placeEmptyNote();

    TTruckSession *m_session;
    TDialogs m_dialogs;
    QGraphicsTextItem *m_emptyNote = nullptr;
    QString m_emptyReason;
    QChart *m_chart = nullptr;
    QChartView *m_view = nullptr;
    QValueAxis *m_speedAxis = nullptr;
    QLogValueAxis *m_lifeAxis = nullptr;
    QScatterSeries *m_marker = nullptr; // the legend entry
    QGraphicsEllipseItem *m_dot = nullptr; // the dot in a saved drawing
    TChartDot *m_layer = nullptr;          // the dot on screen
    std::optional<QPointF> m_markerPoint;
    QString m_curveWords; // the description of the curve, without the truck
    QAreaSeries *m_bars = nullptr;
    QValueAxis *m_shareAxis = nullptr;
    std::vector<TSpeedShare> m_shares;
    double m_sweepLo = 0; // the curve's speeds, shown unit
    double m_sweepHi = 1;
    std::vector<QAbstractSeries *> m_curves;
    std::vector<TOperatingPoint> m_points;
    std::vector<TOperatingPoint> m_held;
    int m_recomputes = 0;
};
