#include "ui/duty/DutyTable.h"

#include "analysis/InputRanges.h"
#include "analysis/LifeCurve.h"

#include <QBrush>
#include <QColor>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSpinBox>

#include <cmath>

const QString TDutyTableModel::CannotHold = QStringLiteral("not held");
const QString TDutyTableModel::Coasting = QStringLiteral("coasting");
const QString TDutyTableModel::NotRated = QStringLiteral("no life");

namespace
{

// The editable columns: the truck file's range of each (the main window's
// inputs' ranges), the decimals an editor offers.
struct TColumnInput {
    const char *Key = nullptr;
    int Decimals = 0;
};

TColumnInput inputOf(int column)
{
    switch (column) {
    case TDutyTableModel::Share:
        return {"share_pct", 2};
    case TDutyTableModel::Speed:
        return {"speed_mph", 1};
    case TDutyTableModel::Gradient:
        return {"gradient", 4};
    case TDutyTableModel::Load:
        return {"load", 0};
    default:
        return {};
    }
}

// The smallest step above an exclusive lower limit at the given decimals.
double editorMin(const TInputRange &r, int decimals)
{
    return r.MinExclusive ? r.Min + std::pow(10.0, -decimals) : r.Min;
}

QString number(double v, int decimals)
{
    return QString::number(v, 'f', decimals);
}

} // namespace

void TDutyTableModel::setSegments(const std::vector<TDutySegment> &segments)
{
    beginResetModel();
    m_segments = segments;
    m_result = {};
    endResetModel();
}

void TDutyTableModel::setTruck(const TTruck &truck)
{
    const bool unitsChanged =
        truck.SpeedInMph != m_truck.SpeedInMph || truck.LifeInMiles != m_truck.LifeInMiles;
    m_truck = truck;
    m_truck.Duty.clear();
    if (unitsChanged)
        emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (!m_segments.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void TDutyTableModel::setResults(const TDutyResult &result, double a1)
{
    m_result = result;
    m_a1 = a1;
    if (!m_segments.empty())
        emit dataChanged(index(0, EngineRpm), index(rowCount() - 1, ColumnCount - 1));
}

void TDutyTableModel::addSegment(const TDutySegment &segment)
{
    const int row = rowCount();
    beginInsertRows({}, row, row);
    m_segments.push_back(segment);
    endInsertRows();
    emit SegmentsEdited();
}

void TDutyTableModel::removeSegment(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    beginRemoveRows({}, row, row);
    m_segments.erase(m_segments.begin() + row);
    if (std::size_t(row) < m_result.Points.size()) {
        m_result.Points.erase(m_result.Points.begin() + row);
        m_result.DamagePct.erase(m_result.DamagePct.begin() + row);
    }
    endRemoveRows();
    emit SegmentsEdited();
}

int TDutyTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_segments.size());
}

int TDutyTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

std::optional<double> TDutyTableModel::computed(int row, int column) const
{
    if (std::size_t(row) >= m_result.Points.size())
        return std::nullopt;
    const TOperatingPoint &p = m_result.Points[std::size_t(row)];
    switch (column) {
    case EngineRpm:
        return p.EngineRpm;
    case RadialLoad:
        return p.RadialLoad;
    case Life:
        if (p.LifeKm)
            return LifeMap::LifeShown(*p.LifeKm, m_truck.LifeInMiles) * m_a1;
        return std::nullopt;
    case Damage:
        return std::size_t(row) < m_result.DamagePct.size() ? m_result.DamagePct[std::size_t(row)]
                                                            : std::nullopt;
    default:
        return std::nullopt;
    }
}

QVariant TDutyTableModel::input(int row, int column) const
{
    const TDutySegment &s = m_segments[std::size_t(row)];
    switch (column) {
    case Share:
        return s.SharePct;
    case Speed:
        return LifeMap::SpeedShown(s.SpeedMph, m_truck.SpeedInMph);
    case Gear:
        return s.Gear == TGear::Fourth ? 4 : 5;
    case Gradient:
        return s.Gradient.value_or(m_truck.Inputs.Gradient);
    case Load:
        return s.Load.value_or(m_truck.Inputs.Load);
    default:
        return {};
    }
}

QString TDutyTableModel::note(int row) const
{
    if (std::size_t(row) >= m_result.Points.size())
        return {};
    const TOperatingPoint &p = m_result.Points[std::size_t(row)];
    if (LeavesLifeUnrated(p.Cause))
        return NotRated;
    if (!p.Holds)
        return CannotHold;
    if (p.Cause == TLifeCause::Coasting)
        return Coasting;
    return {};
}

QVariant TDutyTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int row = index.row();
    const int column = index.column();
    const TDutySegment &s = m_segments[std::size_t(row)];
    const bool holds =
        std::size_t(row) >= m_result.Points.size() || m_result.Points[std::size_t(row)].Holds;

    if (role == Qt::BackgroundRole)
        return holds ? QVariant() : QBrush(QColor(255, 215, 215));
    if (role == Qt::AccessibleTextRole) {
        // A screen reader hears each cell with its column: "Speed, mph: 50.0".
        const QString shown = data(index, Qt::DisplayRole).toString();
        return SpokenColumn(column) + QStringLiteral(": ") +
               (shown.isEmpty() ? QStringLiteral("none") : shown);
    }
    if (column < EngineRpm) {
        const QVariant v = input(row, column);
        switch (role) {
        case Qt::EditRole:
        case ValueRole:
            return v;
        case Qt::DisplayRole:
            return number(v.toDouble(), column == Gear ? 0 : inputOf(column).Decimals);
        case Qt::ForegroundRole: {
            const bool follows = (column == Gradient && !s.Gradient) || (column == Load && !s.Load);
            return follows ? QBrush(Qt::gray) : QVariant();
        }
        case Qt::ToolTipRole:
            if ((column == Gradient && !s.Gradient) || (column == Load && !s.Load))
                return QStringLiteral("The truck's value; edit it to fix it for this segment");
            return {};
        case Qt::TextAlignmentRole:
            return int(Qt::AlignRight | Qt::AlignVCenter);
        default:
            return {};
        }
    }
    if (column == Note) {
        if (role == Qt::DisplayRole || role == ValueRole)
            return note(row);
        if (role == Qt::ToolTipRole && note(row) == Coasting)
            return QStringLiteral("Downhill: the resistance is at or below 0, the truck coasts "
                                  "and the bearing takes no damage");
        if (role == Qt::ToolTipRole && note(row) == NotRated)
            return QString::fromStdString(LifeCauseText(m_result.Points[std::size_t(row)]));
        return {};
    }
    const auto value = computed(row, column);
    switch (role) {
    case ValueRole:
        return value ? QVariant(*value) : QVariant();
    case Qt::DisplayRole: {
        if (!value)
            return QString();
        const int decimals = column == Damage ? 1 : column == RadialLoad ? 1 : 0;
        return number(*value, decimals);
    }
    case Qt::TextAlignmentRole:
        return int(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

bool TDutyTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() >= EngineRpm ||
        index.row() >= rowCount())
        return false;
    bool ok = false;
    double v = value.toDouble(&ok);
    if (!ok)
        return false;
    const int column = index.column();
    if (column == Speed)
        v = LifeMap::SpeedToMph(v, m_truck.SpeedInMph);
    if (column == Gear) {
        if (v != 4 && v != 5)
            return false;
    } else if (const TInputRange *range = FindDutyRange(inputOf(column).Key);
               !range || !range->Contains(v)) {
        return false;
    }
    TDutySegment s = m_segments[std::size_t(index.row())];
    switch (column) {
    case Share:
        s.SharePct = v;
        break;
    case Speed:
        s.SpeedMph = v;
        break;
    case Gear:
        s.Gear = v == 4 ? TGear::Fourth : TGear::Fifth;
        break;
    case Gradient:
        s.Gradient = v;
        break;
    case Load:
        s.Load = v;
        break;
    }
    if (s == m_segments[std::size_t(index.row())])
        return true;
    m_segments[std::size_t(index.row())] = s;
    emit dataChanged(index, index);
    emit SegmentsEdited();
    return true;
}

Qt::ItemFlags TDutyTableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() < EngineRpm)
        f |= Qt::ItemIsEditable;
    return f;
}

QString TDutyTableModel::SpokenColumn(int column) const
{
    const bool mph = m_truck.SpeedInMph;
    const bool miles = m_truck.LifeInMiles;
    switch (column) {
    case Share:
        return QStringLiteral("Share of the distance, %");
    case Speed:
        return mph ? QStringLiteral("Speed, mph") : QStringLiteral("Speed, km/h");
    case Gear:
        return QStringLiteral("Gear");
    case Gradient:
        return QStringLiteral("Gradient");
    case Load:
        return QStringLiteral("Load, lb");
    case EngineRpm:
        return QStringLiteral("Engine speed, rpm");
    case RadialLoad:
        return QStringLiteral("Bearing load P, lbf");
    case Life:
        return miles ? QStringLiteral("Life, thousand miles") : QStringLiteral("Life, thousand km");
    case Damage:
        return QStringLiteral("Share of the damage, %");
    case Note:
        return QStringLiteral("Note");
    default:
        return {};
    }
}

QVariant TDutyTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::AccessibleTextRole)
        return orientation == Qt::Horizontal ? QVariant(SpokenColumn(section))
                                             : QVariant(QStringLiteral("Segment %1").arg(section + 1));
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    const bool mph = m_truck.SpeedInMph;
    const bool miles = m_truck.LifeInMiles;
    switch (section) {
    case Share:
        return QStringLiteral("Share %");
    case Speed:
        return mph ? QStringLiteral("Speed mph") : QStringLiteral("Speed km/h");
    case Gear:
        return QStringLiteral("Gear");
    case Gradient:
        return QStringLiteral("Gradient");
    case Load:
        return QStringLiteral("Load lb");
    case EngineRpm:
        return QStringLiteral("Engine rpm");
    case RadialLoad:
        return QStringLiteral("P lbf");
    case Life:
        return miles ? QStringLiteral("Life 000 mi") : QStringLiteral("Life 000 km");
    case Damage:
        return QStringLiteral("Damage %");
    case Note:
        return QString();
    default:
        return {};
    }
}

namespace
{

// A spin box and the edit field inside it, which holds the caret.
void nameEditor(QAbstractSpinBox *box, const QString &name)
{
    box->setAccessibleName(name);
    if (auto *field = box->findChild<QLineEdit *>())
        field->setAccessibleName(name);
}

} // namespace

QWidget *TDutyDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const
{
    const int column = index.column();
    const auto *table = qobject_cast<const TDutyTableModel *>(index.model());
    // The editor holds the focus while it is open: it goes by its column.
    const QString name = table ? table->SpokenColumn(column) : QString();
    if (column == TDutyTableModel::Gear) {
        auto *box = new QSpinBox(parent);
        box->setRange(4, 5);
        box->setFrame(false);
        nameEditor(box, name);
        return box;
    }
    const TColumnInput input = inputOf(column);
    const TInputRange *range = input.Key ? FindDutyRange(input.Key) : nullptr;
    if (!range)
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto *box = new QDoubleSpinBox(parent);
    box->setFrame(false);
    nameEditor(box, name);
    box->setDecimals(input.Decimals);
    double lo = editorMin(*range, input.Decimals);
    double hi = range->Max;
    if (column == TDutyTableModel::Speed) {
        // The speed is edited in the window's unit; the limits are in mph.
        const bool mph = !table || table->SpeedInMph();
        lo = std::ceil(LifeMap::SpeedShown(range->Min, mph) * 10 + 1) / 10;
        hi = std::floor(LifeMap::SpeedShown(range->Max, mph) * 10) / 10;
    }
    box->setRange(lo, hi);
    return box;
}

namespace
{
// The text an editor showed when it opened.
const char *const ShownTextProperty = "velmoraShownText";

QString editorText(const QWidget *editor)
{
    if (const auto *box = qobject_cast<const QAbstractSpinBox *>(editor))
        return box->text();
    return {};
}
} // namespace

void TDutyDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    QStyledItemDelegate::setEditorData(editor, index);
    editor->setProperty(ShownTextProperty, editorText(editor));
}

void TDutyDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                 const QModelIndex &index) const
{
    const QVariant shown = editor->property(ShownTextProperty);
    if (shown.isValid() && shown.toString() == editorText(editor))
        return; // looked at, not changed
    QStyledItemDelegate::setModelData(editor, model, index);
}
