#pragma once

#include "ui/support/FormFixture.h"
#include "ui/truck/FormBinding.h"
#include "ui/truck/TruckActions.h"
#include "ui/truck/TruckSession.h"

#include <QMessageBox>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A real main window bound to a truck session with its truck actions, as the
// program makes them, asking no one: file dialogs answer with the first of
// `nextPaths` while there is one, else with `nextPath` (and record that they
// were asked), problem boxes are collected in
// `problems`, the save question answers `saveAnswer` (and is counted).
// Settings live in a temporary folder, never in the user's own.
class WindowsFixture
{
  public:
    WindowsFixture();
    ~WindowsFixture();

    TTruckSession session;
    FormDriver driver;
    TForm1 &form() { return driver.form(); }
    TTruckActions &actions() { return *m_actions; }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // Writes `text` to a file in the temporary folder and returns its path.
    QString writeFile(const QString &name, const QByteArray &text) const;

    QString nextPath;
    QStringList nextPaths;
    int dialogs = 0;
    bool lastDialogSaving = false;
    QStringList problems;
    QMessageBox::StandardButton saveAnswer = QMessageBox::Cancel;
    QStringList saveQuestions;

  private:
    QTemporaryDir m_dir;
    std::unique_ptr<TFormBinding> m_binding;
    std::unique_ptr<TTruckActions> m_actions;
};

// Points every QSettings of the test binary at a temporary folder.
void IsolateSettings();
