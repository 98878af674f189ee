#pragma once

#include "analysis/DutyCycle.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>

#include <vector>

// The duty list as an editable table: the five inputs of each segment in the
// window's units, and beside them what the segment computes to. Edits are
// checked against the ranges of the main window's inputs; a value outside
// them is refused and the cell keeps its value.
class TDutyTableModel : public QAbstractTableModel
{
    Q_OBJECT
  public:
    enum Column {
        Share,
        Speed,
        Gear,
        Gradient,
        Load,
        EngineRpm,
        RadialLoad,
        Life,
        Damage,
        Note,
        ColumnCount
    };
    // The raw number behind a computed cell; absent values have none.
    static constexpr int ValueRole = Qt::UserRole;
    static const QString CannotHold;
    // A segment whose resistance is at or below 0: the truck coasts downhill,
    // the engine drives nothing and the bearing takes no damage.
    static const QString Coasting;
    // A fifth-gear segment whose life cannot be rated (the tooltip says why).
    static const QString NotRated;

    using QAbstractTableModel::QAbstractTableModel;

    const std::vector<TDutySegment> &Segments() const { return m_segments; }
    void setSegments(const std::vector<TDutySegment> &segments);
    // The truck the segments run on: its units, gradient and load.
    void setTruck(const TTruck &truck);
    bool SpeedInMph() const { return m_truck.SpeedInMph; }
    // The computed columns; `a1` scales the lives.
    void setResults(const TDutyResult &result, double a1);
    void addSegment(const TDutySegment &segment);
    void removeSegment(int row);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // A column's header as it is spoken, with its unit in words
    // ("Life, thousand miles"); screen readers read each cell with it.
    QString SpokenColumn(int column) const;

  Q_SIGNALS:
    // The user changed the list (an edit, a row added or removed).
    void SegmentsEdited();

  private:
    std::optional<double> computed(int row, int column) const;
    QVariant input(int row, int column) const;
    QString note(int row) const;

    std::vector<TDutySegment> m_segments;
    TTruck m_truck;
    TDutyResult m_result;
    double m_a1 = 1;
};

// Spin boxes with each input column's range and precision. An editor shows
// the value rounded to its decimals; it writes only when its text was
// changed, so a value that was only looked at keeps every digit.
class TDutyDelegate : public QStyledItemDelegate
{
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
};
