#include "ui/truck/TruckActions.h"

#include "ui/duty/DutyWindow.h"
#include "ui/form/ErrorBox.h"
#include "ui/form/FormTruck.h"
#include "ui/lifemap/LifeMapWindow.h"
#include "analysis/TruckFile.h"
#include "ui/form/Form1.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>

#include <algorithm>

namespace
{

const QString FolderKey = QStringLiteral("files/lastFolder");
const QString TruckFilter = QStringLiteral("Truck files (*.json);;All files (*)");

QString askWithDialog(QWidget *parent, const QString &caption, const QString &folder,
                      const QString &filter, bool saving)
{
    QFileDialog dialog(parent, caption, folder, filter);
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // A name typed without a suffix gets the first one the filter offers.
    const auto match = QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter);
    if (saving && match.hasMatch())
        dialog.setDefaultSuffix(match.captured(1));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void warn(QWidget *parent, const QString &text)
{
    QMessageBox::warning(parent, QApplication::applicationDisplayName(), text);
}

std::string localPath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

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

} // namespace

TTruckActions::TTruckActions(TForm1 *form)
    : QObject(form), m_form(form), m_fileDialog(askWithDialog), m_problemBox(warn)
{
    auto add = [form](const QString &text, QKeySequence keys) {
        auto *a = new QAction(text, form);
        a->setShortcut(keys);
        // The keys also work from the windows beside the main window.
        a->setShortcutContext(Qt::ApplicationShortcut);
        form->addAction(a);
        return a;
    };
    OpenAction = add(QStringLiteral("Open truck…"), QKeySequence(Qt::CTRL | Qt::Key_O));
    SaveAction = add(QStringLiteral("Save truck…"), QKeySequence(Qt::CTRL | Qt::Key_S));
    LifeMapAction = add(QStringLiteral("Life map…"), QKeySequence(Qt::CTRL | Qt::Key_L));
    DutyAction = add(QStringLiteral("Duty cycle…"), QKeySequence(Qt::CTRL | Qt::Key_D));
    // A handler that throws must not unwind through the toolkit.
    auto guarded = [](auto f) {
        return [f] {
            try {
                f();
            } catch (...) {
                ShowUncaught(std::current_exception());
            }
        };
    };
    connect(OpenAction, &QAction::triggered, this, guarded([this] { open(); }));
    connect(SaveAction, &QAction::triggered, this, guarded([this] { save(); }));
    connect(LifeMapAction, &QAction::triggered, this, guarded([this] { showLifeMap(); }));
    connect(DutyAction, &QAction::triggered, this, guarded([this] { showDuty(); }));
    connect(form, &TForm1::Stepped, this, &TTruckActions::Resync);
    m_truck = TruckOfForm(*form);
}

TTruckActions::~TTruckActions()
{
    // The windows read the main window; they go before it does.
    delete m_lifeMap.data();
    delete m_dutyWindow.data();
}

TLifeMapWindow *TTruckActions::LifeMap() const
{
    return m_lifeMap;
}

TDutyWindow *TTruckActions::DutyWindow() const
{
    return m_dutyWindow;
}

TTruck TTruckActions::Truck() const
{
    TTruck t = m_truck;
    t.Duty = m_duty;
    return t;
}

void TTruckActions::setDuty(const std::vector<TDutySegment> &duty)
{
    if (duty == m_duty)
        return;
    m_duty = duty;
    emit DutyChanged();
}

void TTruckActions::Resync()
{
    TTruck now = TruckOfForm(*m_form);
    if (SameInputs(now, m_truck))
        return;
    m_truck = std::move(now);
    emit TruckChanged();
}

QString TTruckActions::LastFolder()
{
    const QString folder = QSettings().value(FolderKey).toString();
    return !folder.isEmpty() && QDir(folder).exists() ? folder : QDir::homePath();
}

void TTruckActions::rememberFolder(const QString &path)
{
    QSettings().setValue(FolderKey, QFileInfo(path).absolutePath());
}

void TTruckActions::ShowProblem(const QString &text)
{
    if (m_problemBox)
        m_problemBox(m_form, text);
}

QString TTruckActions::AskFile(QWidget *parent, const QString &caption, const QString &filter,
                               bool saving)
{
    const QString path =
        m_fileDialog ? m_fileDialog(parent, caption, LastFolder(), filter, saving) : QString();
    if (!path.isEmpty())
        rememberFolder(path);
    return path;
}

void TTruckActions::open()
{
    const QString path = AskFile(m_form, QStringLiteral("Open truck"), TruckFilter, false);
    if (!path.isEmpty())
        OpenTruck(path);
}

void TTruckActions::save()
{
    const QString path = AskFile(m_form, QStringLiteral("Save truck"), TruckFilter, true);
    if (!path.isEmpty())
        SaveTruck(path);
}

bool TTruckActions::OpenTruck(const QString &path)
{
    auto read = ReadTruckFile(localPath(path));
    if (auto *error = std::get_if<TTruckFileError>(&read)) {
        // The message names the file as the user chose it.
        error->File = path.toStdString();
        ShowProblem(QString::fromStdString(error->Message()));
        return false;
    }
    const TTruck &truck = std::get<TTruck>(read);
    ApplyTruckToForm(*m_form, truck);
    setDuty(truck.Duty);
    Resync();
    return true;
}

bool TTruckActions::SaveTruck(const QString &path)
{
    Resync(); // what the window holds now, not as of the last step
    if (const auto failure = WriteTruckFile(localPath(path), Truck())) {
        ShowProblem(QString::fromStdString(failure->Message())); // it names the file
        return false;
    }
    return true;
}

void TTruckActions::showLifeMap()
{
    if (!m_lifeMap) {
        Resync();
        m_lifeMap = new TLifeMapWindow(this);
        placeBeside(m_lifeMap, m_form, m_dutyWindow ? m_dutyWindow->frameGeometry() : QRect());
    }
    m_lifeMap->show();
    m_lifeMap->raise();
    m_lifeMap->activateWindow();
}

void TTruckActions::showDuty()
{
    if (!m_dutyWindow) {
        Resync();
        m_dutyWindow = new TDutyWindow(this);
        placeBeside(m_dutyWindow, m_form, m_lifeMap ? m_lifeMap->frameGeometry() : QRect());
    }
    m_dutyWindow->show();
    m_dutyWindow->raise();
    m_dutyWindow->activateWindow();
}
