#pragma once

#include "analysis/Truck.h"

#include <QWidget>

#include <optional>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class TDutyTableModel;
class TTruckActions;

// The duty cycle: the segments the truck is driven in, each computed on the
// main window's truck, and the bearing life they give together at a chosen
// reliability. Opens beside the main window and is destroyed on closing; the
// list itself stays with the truck (it is what Save truck writes).
class TDutyWindow : public QWidget
{
    Q_OBJECT
  public:
    explicit TDutyWindow(TTruckActions *actions);
    ~TDutyWindow() override;

    QTableView *Table = nullptr;
    QPushButton *AddRow = nullptr;
    QPushButton *RemoveRow = nullptr;
    QComboBox *Reliability = nullptr;
    QLabel *Combined = nullptr; // the combined life, empty while the shares are wrong
    QLabel *Problem = nullptr;  // what is wrong with the list, empty when nothing is

    TDutyTableModel *TableModel() const { return m_model; }
    // The combined life in the window's unit at the chosen reliability, if any.
    std::optional<double> CombinedLife() const { return m_combined; }

  private:
    void takeDuty();
    void recompute();
    void edited();
    void addRow();
    TDutySegment seedSegment() const;
    void removeRow();

    TTruckActions *m_actions;
    TDutyTableModel *m_model;
    std::optional<double> m_combined;
};
