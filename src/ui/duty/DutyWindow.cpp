#include "ui/duty/DutyWindow.h"

#include "analysis/DutyCycle.h"
#include "ui/duty/DutyTable.h"
#include "ui/duty/RouteText.h"
#include "analysis/LifeCurve.h"
#include "analysis/Reliability.h"
#include "ui/truck/TruckSession.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

TDutyWindow::TDutyWindow(TTruckSession *session, QWidget *parent)
    : QWidget(parent, Qt::Window), m_session(session), m_model(new TDutyTableModel(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("DutyCycle"));
    setWindowTitle(QStringLiteral("Duty cycle"));

    Table = new QTableView;
    Table->setAccessibleName(QStringLiteral("Duty segments"));
    Table->setModel(m_model);
    Table->setItemDelegate(new TDutyDelegate(Table));
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    Table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Table->horizontalHeader()->setStretchLastSection(true);

    AddRow = new QPushButton(QStringLiteral("&Add segment"));
    RemoveRow = new QPushButton(QStringLiteral("Re&move segment"));
    ImportRoute = new QPushButton(QStringLiteral("&Import route…"));
    ImportRoute->setToolTip(
        QStringLiteral("Make the duty cycle from a recorded drive (a GPX track)"));
    RouteSummary = new QLabel;
    RouteSummary->setObjectName(QStringLiteral("RouteSummary"));
    RouteSummary->setWordWrap(true);
    RouteSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    RouteSummary->hide();
    Trips = new QLabel;
    Trips->setObjectName(QStringLiteral("RouteTrips"));
    Reliability = new QComboBox;
    for (double p : ReliabilityChoices)
        Reliability->addItem(QString::number(p, 'g', 4) + QStringLiteral(" %"), p);
    Combined = new QLabel;
    Combined->setObjectName(QStringLiteral("CombinedLife"));
    QFont bold = Combined->font();
    bold.setBold(true);
    Combined->setFont(bold);
    Problem = new QLabel;
    Problem->setObjectName(QStringLiteral("DutyProblem"));
    Problem->setStyleSheet(QStringLiteral("color: #b00000"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(AddRow);
    buttons->addWidget(RemoveRow);
    buttons->addSpacing(12);
    buttons->addWidget(ImportRoute);
    buttons->addStretch();
    auto *relLabel = new QLabel(QStringLiteral("&Reliability"));
    relLabel->setBuddy(Reliability);
    buttons->addWidget(relLabel);
    buttons->addWidget(Reliability);
    auto *result = new QHBoxLayout;
    result->addWidget(new QLabel(QStringLiteral("Combined life:")));
    result->addWidget(Combined);
    result->addSpacing(12);
    result->addWidget(Trips);
    result->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(RouteSummary);
    layout->addWidget(Table, 1);
    layout->addLayout(buttons);
    layout->addLayout(result);
    layout->addWidget(Problem);
    resize(590, 320);

    showSessionDuty();

    connect(AddRow, &QPushButton::clicked, this, &TDutyWindow::addRow);
    connect(RemoveRow, &QPushButton::clicked, this, &TDutyWindow::removeRow);
    connect(ImportRoute, &QPushButton::clicked, this, &TDutyWindow::ImportRouteRequested);
    connect(Reliability, &QComboBox::currentIndexChanged, this, &TDutyWindow::recompute);
    connect(m_model, &TDutyTableModel::SegmentsEdited, this, &TDutyWindow::edited);
    connect(session, &TTruckSession::DutyChanged, this, &TDutyWindow::takeDuty);
    connect(session, &TTruckSession::TruckChanged, this, &TDutyWindow::recompute);
    recompute();
}

TDutyWindow::~TDutyWindow()
{
    // A cell editor that still has the focus commits its value when the focus
    // leaves it. Let it do so now, while this window can still take the edit
    // (QWidget's destructor would clear the focus after this part is gone).
    if (QWidget *focus = QApplication::focusWidget(); focus && isAncestorOf(focus))
        focus->clearFocus();
    disconnect(m_model, nullptr, this, nullptr);
}

void TDutyWindow::showSessionDuty()
{
    const std::vector<TDutySegment> &duty = m_session->Truck().Duty;
    // A truck without a list shows where to start; a list the user emptied stays empty.
    if (duty.empty() && !m_session->DutyEdited())
        m_model->setSegments({seedSegment()});
    else
        m_model->setSegments(duty);
}

void TDutyWindow::takeDuty()
{
    // Our own edits come back here too; only a list from elsewhere resets the table.
    if (m_session->DutyEdited() && m_session->Truck().Duty == m_model->Segments())
        return recompute();
    showSessionDuty();
    recompute();
}

void TDutyWindow::edited()
{
    m_session->SetDuty(m_model->Segments());
    recompute();
}

void TDutyWindow::recompute()
{
    const TTruck &truck = m_session->Truck();
    const auto &segments = m_model->Segments();
    const double percent = Reliability->currentData().toDouble();
    const double a1 = ReliabilityFactor(percent);
    m_model->setTruck(truck);
    const TDutyResult result = DutyLife(truck, segments);
    m_model->setResults(result, a1);

    std::string problem =
        segments.empty() ? std::string("The list has no segment.") : CheckDutyShares(segments);
    // A segment that cannot be rated leaves no combined life; say which and why.
    if (problem.empty() && !result.Unrated.empty()) {
        const std::size_t i = result.Unrated.front();
        problem = "Segment " + std::to_string(i + 1) + ": " + LifeCauseText(result.Points[i]) +
                  "; there is no combined life.";
    }
    m_combined.reset();
    if (problem.empty() && result.LifeKm)
        m_combined = LifeMap::LifeShown(*result.LifeKm, truck.LifeInMiles) * a1;
    else if (problem.empty())
        problem = "No segment in fifth gear has a life; the bearing is loaded in fifth only.";

    // A segment without an engine speed or a resistance has no hold to speak of.
    const int held = int(std::count_if(
        result.Points.begin(), result.Points.end(),
        [](const TOperatingPoint &p) { return !p.Holds && p.EngineRpm && p.Resistance; }));
    QString text = QString::fromStdString(problem);
    if (held > 0) {
        const QString note = held == 1
                                 ? QStringLiteral("1 segment cannot hold its speed.")
                                 : QStringLiteral("%1 segments cannot hold their speed.").arg(held);
        text = text.isEmpty() ? note : text + QLatin1Char(' ') + note;
    }
    Problem->setText(text);
    Combined->setText(
        m_combined ? QStringLiteral("%1 thousand %2 at %3 %")
                         .arg(QString::number(*m_combined, 'f', 1),
                              truck.LifeInMiles ? QStringLiteral("miles") : QStringLiteral("km"),
                              QString::number(percent, 'g', 4))
                   : QString());
    showRoute(m_combined ? result.LifeKm : std::optional<double>(), percent, a1);
}

void TDutyWindow::showRoute(const std::optional<double> &lifeKm, double percent, double a1)
{
    const std::optional<TRouteSummary> &route = m_session->RouteSummary();
    if (!route) {
        RouteSummary->clear();
        RouteSummary->hide();
        Trips->clear();
        return;
    }
    RouteSummary->setText(RouteSummaryText(*route, m_session->Truck().LifeInMiles, locale()));
    RouteSummary->show();
    // A trip's damage is its moving distance's: standing wears nothing.
    if (lifeKm && route->MovingDistanceM > 0)
        Trips->setText(TripsText(*lifeKm / (route->MovingDistanceM / 1000), percent, a1, locale()));
    else
        Trips->clear();
}

TDutySegment TDutyWindow::seedSegment() const
{
    // The speed the pedal asks for now; at rest, the middle of the pedal's
    // travel (a segment at standstill covers no distance).
    const TTruckSession::TRunning &now = m_session->Running();
    TDutySegment seed;
    seed.SharePct = 100;
    seed.SpeedMph = now.TargetMph > 0 ? now.TargetMph : 50;
    seed.Gear = m_session->Truck().Gear;
    return seed;
}

void TDutyWindow::addRow()
{
    const auto &segments = m_model->Segments();
    if (segments.empty()) {
        m_model->addSegment(seedSegment());
    } else {
        // The selected segment (else the last) is split in two halves, so the
        // shares still add up and the user adjusts the copy.
        int row = int(segments.size()) - 1;
        if (const QModelIndexList picked = Table->selectionModel()->selectedRows();
            !picked.isEmpty())
            row = picked.constFirst().row();
        TDutySegment half = segments[std::size_t(row)];
        half.SharePct /= 2;
        m_model->setData(m_model->index(row, TDutyTableModel::Share), half.SharePct);
        m_model->addSegment(half);
    }
    Table->selectRow(m_model->rowCount() - 1);
}

void TDutyWindow::removeRow()
{
    int row = m_model->rowCount() - 1;
    const QModelIndexList picked = Table->selectionModel()->selectedRows();
    if (!picked.isEmpty())
        row = picked.constFirst().row();
    m_model->removeSegment(row);
}
