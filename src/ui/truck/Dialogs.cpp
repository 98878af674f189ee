#include "ui/truck/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

namespace
{

// Gives the keyboard back to the window that asked once a dialog has closed:
// without a window manager (a bare X server) nothing else does, and the
// program's shortcuts would go nowhere.
void giveBackFocus(QWidget *parent)
{
    if (parent && parent->isVisible())
        parent->window()->activateWindow();
}

const QString FolderKey = QStringLiteral("files/lastFolder");

QString askWithDialog(QWidget *parent, const QString &caption, const QString &folder,
                      const QString &filter, bool saving)
{
    QFileDialog dialog(parent, caption, folder, filter);
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (saving)
        FollowFilterSuffix(dialog);
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    giveBackFocus(parent);
    return chosen ? dialog.selectedFiles().constFirst() : QString();
}

void warn(QWidget *parent, const QString &text)
{
    QMessageBox::warning(parent, QApplication::applicationDisplayName(), text);
    giveBackFocus(parent);
}

QMessageBox::StandardButton askSave(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, QApplication::applicationDisplayName(), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setObjectName(QStringLiteral("SaveChanges"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    const int answer = box.exec();
    giveBackFocus(parent);
    return answer == QMessageBox::Save || answer == QMessageBox::Discard
               ? QMessageBox::StandardButton(answer)
               : QMessageBox::Cancel;
}

} // namespace

TDialogs TDialogs::Standard()
{
    return {askWithDialog, warn, askSave};
}

QString FilterSuffix(const QString &filterEntry)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    const auto match = pattern.match(filterEntry);
    return match.hasMatch() ? match.captured(1) : QString();
}

void FollowFilterSuffix(QFileDialog &dialog)
{
    dialog.setDefaultSuffix(FilterSuffix(dialog.selectedNameFilter()));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog](const QString &entry) { dialog.setDefaultSuffix(FilterSuffix(entry)); });
}

QString LastFolder()
{
    const QString folder = QSettings().value(FolderKey).toString();
    return !folder.isEmpty() && QDir(folder).exists() ? folder : QDir::homePath();
}

void RememberFolder(const QString &filePath)
{
    QSettings().setValue(FolderKey, QFileInfo(filePath).absolutePath());
}

QString AskFileInLastFolder(const TDialogs &dialogs, QWidget *parent, const QString &caption,
                            const QString &filter, bool saving)
{
    const QString path = dialogs.AskFile
                             ? dialogs.AskFile(parent, caption, LastFolder(), filter, saving)
                             : QString();
    if (!path.isEmpty())
        RememberFolder(path);
    return path;
}
