#include "ui/truck/TruckActions.h"

#include "gfx/ErrorReport.h"
#include "ui/duty/DutyWindow.h"
#include "ui/lifemap/LifeMapWindow.h"
#include "ui/report/Report.h"
#include "ui/truck/RouteImport.h"
#include "ui/truck/TruckSession.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QProgressDialog>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace
{

const QString TruckFilter = QStringLiteral("Truck files (*.json);;All files (*)");
const QString RouteFilter = QStringLiteral("GPX tracks (*.gpx);;All files (*)");
// Progress shows only for an import that takes longer than this.
constexpr int ProgressAfterMs = 500;
constexpr int ProgressSteps = 1000;

// A new window goes beside the main window: to its right, below it, to its
// left or above it, whichever is first to fit on the screen without covering
// the main window or `taken`; else at the screen's right edge.
void placeBeside(QWidget *window, QWidget *form, const QRect &taken)
{
    const QRect main = form->frameGeometry();
    const QSize size = window->frameGeometry().size().expandedTo(window->size());
    const QRect screen = form->screen() ? form->screen()->availableGeometry() : QRect();
    const int gap = 8;
    const QPoint candidates[] = {
        {main.right() + gap, main.top()},
        {main.left(), main.bottom() + gap},
        {main.left() - gap - size.width(), main.top()},
        {main.left(), main.top() - gap - size.height()},
        {main.right() + gap, main.bottom() + gap},
    };
    for (const QPoint &at : candidates) {
        const QRect r(at, size);
        if ((!screen.isValid() || screen.contains(r)) && !r.intersects(taken)) {
            window->move(at);
            return;
        }
    }
    if (screen.isValid())
        window->move(std::max(screen.left(), screen.right() - size.width()),
                     std::max(screen.top(), screen.bottom() - size.height()));
}

void showAndRaise(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

TTruckActions::TTruckActions(TTruckSession *session, QWidget *mainWindow)
    : QObject(mainWindow), m_session(session), m_main(mainWindow), m_dialogs(TDialogs::Standard())
{
    auto add = [this](const QString &text, QKeySequence keys, auto slot) {
        auto *a = new QAction(text, m_main);
        a->setShortcut(keys);
        // The keys also work from the windows beside the main window.
        a->setShortcutContext(Qt::ApplicationShortcut);
        m_main->addAction(a);
        connect(a, &QAction::triggered, this,
                [this, slot] { CallReportingEscapes([this, slot] { (this->*slot)(); }); });
        return a;
    };
    // They follow "Copy results" in the menu of a right click on the background.
    // No key for New: Ctrl+N belongs to the edits, where it empties the field.
    NewAction = add(QStringLiteral("New truck"), QKeySequence(), &TTruckActions::newTruck);
    OpenAction = add(QStringLiteral("Open truck…"), QKeySequence(Qt::CTRL | Qt::Key_O),
                     &TTruckActions::open);
    SaveAction =
        add(QStringLiteral("Save truck"), QKeySequence(Qt::CTRL | Qt::Key_S), &TTruckActions::Save);
    SaveAsAction = add(QStringLiteral("Save truck as…"),
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &TTruckActions::SaveAs);
    LifeMapAction = add(QStringLiteral("Life map…"), QKeySequence(Qt::CTRL | Qt::Key_L),
                        &TTruckActions::showLifeMap);
    DutyAction = add(QStringLiteral("Duty cycle…"), QKeySequence(Qt::CTRL | Qt::Key_D),
                     &TTruckActions::showDuty);
    ImportRouteAction = add(QStringLiteral("Import route…"), QKeySequence(Qt::CTRL | Qt::Key_I),
                            &TTruckActions::importRoute);
    ReportAction = add(QStringLiteral("Save report…"), QKeySequence(Qt::CTRL | Qt::Key_P),
                       &TTruckActions::saveReport);
    QuitAction =
        add(QStringLiteral("Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), &TTruckActions::quit);

    connect(session, &TTruckSession::FileChanged, this, &TTruckActions::updateTitle);
    connect(session, &TTruckSession::ModifiedChanged, this, &TTruckActions::updateTitle);
    // Closing the main window asks first when something would be lost.
    m_main->installEventFilter(this);
    updateTitle();
}

TTruckActions::~TTruckActions()
{
    // A running import stops and its thread is waited for.
    delete m_import;
    delete m_progress.data();
    // The windows read the session; they go before it may.
    delete m_lifeMap.data();
    delete m_dutyWindow.data();
}

void TTruckActions::setDialogs(TDialogs dialogs)
{
    m_dialogs = std::move(dialogs);
    if (m_lifeMap)
        m_lifeMap->setDialogs(m_dialogs);
}

TLifeMapWindow *TTruckActions::LifeMap() const
{
    return m_lifeMap;
}

TDutyWindow *TTruckActions::DutyWindow() const
{
    return m_dutyWindow;
}

QString TTruckActions::TitleFor(const QString &filePath)
{
    const QString app = QStringLiteral("Velmora");
    if (filePath.isEmpty())
        return app;
    return QFileInfo(filePath).fileName() + QStringLiteral("[*] — ") + app;
}

QString TTruckActions::LastFolder()
{
    return ::LastFolder();
}

void TTruckActions::updateTitle()
{
    const QString path = m_session->FilePath();
    m_main->setWindowTitle(TitleFor(path));
    // A truck never saved has no file whose changes the title could mark.
    m_main->setWindowModified(!path.isEmpty() && m_session->IsModified());
}

bool TTruckActions::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_main && event->type() == QEvent::Close) {
        bool mayClose = true;
        CallReportingEscapes([&] { mayClose = MayDropTruck(); });
        if (!mayClose) {
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

QString TTruckActions::askFile(const QString &caption, bool saving)
{
    return AskFileInLastFolder(m_dialogs, m_main, caption, TruckFilter, saving);
}

void TTruckActions::showProblem(const QString &text)
{
    if (m_dialogs.ShowProblem)
        m_dialogs.ShowProblem(m_main, text);
}

bool TTruckActions::MayDropTruck()
{
    return mayDrop(m_session->IsModified(),
                   QStringLiteral("The truck has changes that are not saved in %1. Save them?"));
}

bool TTruckActions::MayDropDuty()
{
    return mayDrop(m_session->DutyModified(),
                   QStringLiteral("The duty cycle has changes that are not saved in %1. "
                                  "Save them?"));
}

bool TTruckActions::mayDrop(bool wouldLose, const QString &fileText)
{
    if (!wouldLose)
        return true;
    const QString path = m_session->FilePath();
    // A truck never saved loses only its duty list: its inputs are the window's.
    const QString text =
        path.isEmpty()
            ? QStringLiteral("The duty cycle has not been saved. Save it with the truck?")
            : fileText.arg(QFileInfo(path).fileName());
    const QMessageBox::StandardButton answer =
        m_dialogs.AskSave ? m_dialogs.AskSave(m_main, text) : QMessageBox::Cancel;
    if (answer == QMessageBox::Discard)
        return true;
    if (answer == QMessageBox::Save)
        return Save();
    return false;
}

void TTruckActions::newTruck()
{
    if (MayDropTruck())
        m_session->New();
}

void TTruckActions::open()
{
    if (!MayDropTruck())
        return;
    const QString path = askFile(QStringLiteral("Open truck"), false);
    if (!path.isEmpty())
        OpenTruck(path);
}

bool TTruckActions::Save()
{
    const QString path = m_session->FilePath();
    return path.isEmpty() ? SaveAs() : SaveTruck(path);
}

bool TTruckActions::SaveAs()
{
    const QString path = askFile(QStringLiteral("Save truck"), true);
    return !path.isEmpty() && SaveTruck(path);
}

bool TTruckActions::OpenTruck(const QString &path)
{
    const QString problem = m_session->Open(path);
    if (!problem.isEmpty())
        showProblem(problem);
    return problem.isEmpty();
}

bool TTruckActions::SaveTruck(const QString &path)
{
    const QString problem = m_session->SaveTo(path);
    if (!problem.isEmpty())
        showProblem(problem);
    return problem.isEmpty();
}

void TTruckActions::saveReport()
{
    const QString path = AskFileInLastFolder(m_dialogs, m_main, QStringLiteral("Save report"),
                                             QStringLiteral("PDF document (*.pdf)"), true);
    if (!path.isEmpty())
        SaveReport(path);
}

bool TTruckActions::SaveReport(const QString &path)
{
    // A report written over the truck's own file would lose the truck.
    const QString truckFile = m_session->FilePath();
    if (!truckFile.isEmpty() && QFileInfo::exists(path) &&
        QFileInfo(path).canonicalFilePath() == QFileInfo(truckFile).canonicalFilePath()) {
        showProblem(path +
                    QStringLiteral(": is the truck's own file; the report would replace it"));
        return false;
    }
    const TTruckSession::TRunning &running = m_session->Running();
    TReportRequest request;
    request.Truck = m_session->Truck();
    request.TruckName = QFileInfo(m_session->FilePath()).fileName();
    request.ReliabilityPct = m_lifeMap ? m_lifeMap->ReliabilityPercent() : 90;
    request.Point = RunningPoint(request.Truck, running.Gear, running.EngineRpm);
    request.PointText = RunningPointText();
    // A list imported from a recorded route is reported with what the drive was.
    request.Route = m_session->RouteSummary();
    const QString problem = WriteReport(path, request);
    if (!problem.isEmpty())
        showProblem(problem);
    return problem.isEmpty();
}

void TTruckActions::quit()
{
    m_main->close();
}

void TTruckActions::showLifeMap()
{
    if (!m_lifeMap) {
        m_lifeMap = new TLifeMapWindow(m_session, m_main);
        m_lifeMap->setDialogs(m_dialogs);
        placeBeside(m_lifeMap, m_main, m_dutyWindow ? m_dutyWindow->frameGeometry() : QRect());
    }
    showAndRaise(m_lifeMap);
}

void TTruckActions::showDuty()
{
    if (!m_dutyWindow) {
        m_dutyWindow = new TDutyWindow(m_session, m_main);
        connect(m_dutyWindow, &TDutyWindow::ImportRouteRequested, ImportRouteAction,
                &QAction::trigger);
        placeBeside(m_dutyWindow, m_main, m_lifeMap ? m_lifeMap->frameGeometry() : QRect());
    }
    showAndRaise(m_dutyWindow);
}

QWidget *TTruckActions::dialogParent() const
{
    // The question goes over the window the user asked from.
    if (m_dutyWindow && m_dutyWindow->isActiveWindow())
        return m_dutyWindow;
    return m_main;
}

void TTruckActions::importRoute()
{
    if (m_import)
        return;
    const QString path = AskFileInLastFolder(m_dialogs, dialogParent(),
                                             QStringLiteral("Import route"), RouteFilter, false);
    if (!path.isEmpty())
        StartRouteImport(path);
}

bool TTruckActions::RouteImportRunning() const
{
    return m_import != nullptr;
}

QProgressDialog *TTruckActions::RouteImportProgress() const
{
    return m_progress;
}

void TTruckActions::StartRouteImport(const QString &path)
{
    if (m_import)
        return;
    m_import = new TRouteImport(path, m_session->Truck(), this);
    connect(m_import, &TRouteImport::Finished, this,
            [this] { CallReportingEscapes([this] { routeImportDone(); }); });
    ImportRouteAction->setEnabled(false);

    m_progress = new QProgressDialog(QStringLiteral("Reading %1…").arg(QFileInfo(path).fileName()),
                                     QStringLiteral("Cancel"), 0, ProgressSteps, dialogParent());
    m_progress->setWindowTitle(QStringLiteral("Import route"));
    m_progress->setObjectName(QStringLiteral("RouteImportProgress"));
    m_progress->setWindowModality(Qt::WindowModal);
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    m_progress->setMinimumDuration(ProgressAfterMs);
    m_progress->setValue(0);
    connect(m_progress, &QProgressDialog::canceled, this, &TTruckActions::CancelRouteImport);
    // The worker only stores how far it is; the dialog looks now and then.
    auto *timer = new QTimer(m_progress);
    timer->setInterval(100);
    connect(timer, &QTimer::timeout, m_progress, [this] {
        if (m_import && m_progress)
            m_progress->setValue(int(m_import->Progress() * (ProgressSteps - 1)));
    });
    timer->start();

    m_import->Start();
}

void TTruckActions::CancelRouteImport()
{
    if (m_import)
        m_import->Cancel();
}

void TTruckActions::routeImportDone()
{
    TRouteImport *import = m_import;
    if (!import)
        return;
    m_import = nullptr;
    // The worker is done; the object goes once its signal has returned.
    import->deleteLater();
    if (m_progress) {
        m_progress->disconnect(this);
        m_progress->deleteLater();
        m_progress->hide();
        m_progress = nullptr;
    }
    ImportRouteAction->setEnabled(true);

    bool applied = false;
    // Cancel means nothing changes, even when the work finished meanwhile.
    if (!import->Cancelled()) {
        std::variant<TRoute, TGpxError> result = import->TakeResult();
        if (const auto *error = std::get_if<TGpxError>(&result)) {
            showProblem(QString::fromStdString(error->Message()));
        } else if (MayDropDuty()) {
            TRoute route = std::move(std::get<TRoute>(result));
            // The truck may have changed while the file was read: each
            // segment's gear is chosen again for the truck it joins.
            const TTruck &now = m_session->Truck();
            if (!SameInputs(now, import->Truck()))
                for (TDutySegment &segment : route.Duty)
                    segment.Gear = RouteGear(now, segment.SpeedMph, segment.Gradient);
            m_session->SetRoute(std::move(route));
            applied = true;
        }
    }
    emit RouteImportFinished(applied);
}
