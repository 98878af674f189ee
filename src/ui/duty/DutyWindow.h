#pragma once

#include "analysis/Truck.h"

#include <QWidget>

#include <optional>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class TDutyTableModel;
class TTruckSession;

// The duty cycle: the segments the truck is driven in, each computed on the
// session's truck, and the bearing life they give together at a chosen
// reliability. Opens beside the main window and is destroyed on closing; the
// list itself stays with the session (it is what Save truck writes). While the
// truck has no list the table shows a seed segment, stored only once edited.
// A list imported from a recorded route shows the route's summary above the
// table and the trips of the route the combined life allows.
class TDutyWindow : public QWidget
{
    Q_OBJECT
  public:
    TDutyWindow(TTruckSession *session, QWidget *parent);
    ~TDutyWindow() override;

    QTableView *Table = nullptr;
    QPushButton *AddRow = nullptr;
    QPushButton *RemoveRow = nullptr;
    QPushButton *ImportRoute = nullptr; // asks for ImportRouteRequested
    QComboBox *Reliability = nullptr;
    QLabel *Combined = nullptr;     // the combined life, empty while the shares are wrong
    QLabel *Problem = nullptr;      // what is wrong with the list, empty when nothing is
    QLabel *RouteSummary = nullptr; // above the table; hidden unless the list is a route's
    QLabel *Trips = nullptr;        // beside the combined life; empty unless a route's

    TDutyTableModel *TableModel() const { return m_model; }
    // The combined life in the window's unit at the chosen reliability, if any.
    std::optional<double> CombinedLife() const { return m_combined; }

  Q_SIGNALS:
    // The user asked to import a route; the truck actions do it.
    void ImportRouteRequested();

  private:
    void showRoute(const std::optional<double> &lifeKm, double percent, double a1);
    void takeDuty();
    void recompute();
    void edited();
    void addRow();
    TDutySegment seedSegment() const;
    void removeRow();

    void showSessionDuty();

    TTruckSession *m_session;
    TDutyTableModel *m_model;
    std::optional<double> m_combined;
};
