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
    m_binding = std::make_unique<TFormBinding>(&form(), &session);
    m_actions = std::make_unique<TTruckActions>(&session, &form());
    TDialogs seam;
    seam.AskFile = [this](QWidget *, const QString &, const QString &, const QString &,
                             bool saving) {
        ++dialogs;
        lastDialogSaving = saving;
        return nextPaths.isEmpty() ? nextPath : nextPaths.takeFirst();
    };
    seam.ShowProblem = [this](QWidget *, const QString &text) { problems << text; };
    seam.AskSave = [this](QWidget *, const QString &text) {
        saveQuestions << text;
        return saveAnswer;
    };
    m_actions->setDialogs(std::move(seam));
}

WindowsFixture::~WindowsFixture()
{
    // As in the program: the actions and the binding go before the window.
    m_actions.reset();
    m_binding.reset();
}

QString WindowsFixture::writeFile(const QString &name, const QByteArray &text) const
{
    const QString p = path(name);
    QFile f(p);
    if (f.open(QIODevice::WriteOnly))
        f.write(text);
    return p;
}
