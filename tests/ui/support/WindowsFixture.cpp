#include "ui/support/WindowsFixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

void IsolateSettings()
{
    static QTemporaryDir settingsDir;
    static bool done = false;
    if (done)
        return;
    done = true;
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("velmora-tests"));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
}

namespace
{
struct Isolated {
    Isolated() { IsolateSettings(); }
};
} // namespace

WindowsFixture::WindowsFixture()
{
    static Isolated isolated;
    actions().setFileDialog(
        [this](QWidget *, const QString &, const QString &, const QString &, bool saving) {
            ++dialogs;
            lastDialogSaving = saving;
            return nextPath;
        });
    actions().setProblemBox([this](QWidget *, const QString &text) { problems << text; });
}

WindowsFixture::~WindowsFixture() = default;

QString WindowsFixture::writeFile(const QString &name, const QByteArray &text) const
{
    const QString p = path(name);
    QFile f(p);
    if (f.open(QIODevice::WriteOnly))
        f.write(text);
    return p;
}
