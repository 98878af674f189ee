#pragma once

#include "ui/support/FormFixture.h"
#include "ui/truck/TruckActions.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A real main window whose truck actions ask no one: file dialogs answer
// with `nextPath` (and record that they were asked), problem boxes are
// collected in `problems`. Settings live in a temporary folder, never in the
// user's own.
class WindowsFixture
{
  public:
    WindowsFixture();
    ~WindowsFixture();

    FormDriver driver;
    TForm1 &form() { return driver.form(); }
    TTruckActions &actions() { return *driver.form().TruckActions; }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // Writes `text` to a file in the temporary folder and returns its path.
    QString writeFile(const QString &name, const QByteArray &text) const;

    QString nextPath;
    int dialogs = 0;
    bool lastDialogSaving = false;
    QStringList problems;

  private:
    QTemporaryDir m_dir;
};

// Points every QSettings of the test binary at a temporary folder.
void IsolateSettings();
