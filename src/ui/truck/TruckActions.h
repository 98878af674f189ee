#pragma once

#include "ui/truck/Dialogs.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QAction;
class QWidget;
class TDutyWindow;
class TLifeMapWindow;
class TTruckSession;

// The main window's truck actions: new, open, save and save as a truck file,
// the life map and the duty-cycle window. They act on the session; the main
// window only lends its menu, its title and its close button. Before anything
// drops unsaved changes (closing the main window, New, Open) the user is
// asked to save, discard or cancel.
class TTruckActions : public QObject
{
    Q_OBJECT
  public:
    TTruckActions(TTruckSession *session, QWidget *mainWindow);
    ~TTruckActions() override;

    QAction *NewAction = nullptr;
    QAction *OpenAction = nullptr;
    QAction *SaveAction = nullptr;
    QAction *SaveAsAction = nullptr;
    QAction *LifeMapAction = nullptr;
    QAction *DutyAction = nullptr;
    QAction *ReportAction = nullptr; // a PDF of the running truck
    QAction *QuitAction = nullptr;   // closes the main window, asking first as its X does

    // The seam through which the user is asked; tests answer here.
    void setDialogs(TDialogs dialogs);
    const TDialogs &Dialogs() const { return m_dialogs; }

    // Opens a file without asking first; on a problem shows it and changes nothing.
    bool OpenTruck(const QString &path);
    // Writes the truck to `path`, which becomes its file; on a problem shows it.
    bool SaveTruck(const QString &path);
    // Save to the current file, or ask for one when there is none.
    bool Save();
    bool SaveAs();
    // True when nothing unsaved would be lost, or the user saved or
    // discarded it; false when the user cancelled (or saving failed).
    bool MayDropTruck();
    // Writes the report of the running truck to `path`, at the life map's
    // reliability (90 % while it is closed); on a problem shows it.
    bool SaveReport(const QString &path);

    // The windows beside the main window, or null when closed.
    TLifeMapWindow *LifeMap() const;
    TDutyWindow *DutyWindow() const;
    TTruckSession *Session() const { return m_session; }

    // "Velmora" before a file is opened or saved, then "NAME[*] — Velmora".
    static QString TitleFor(const QString &filePath);
    static QString LastFolder();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    QString askFile(const QString &caption, bool saving);
    void showProblem(const QString &text);
    void newTruck();
    void open();
    void showLifeMap();
    void showDuty();
    void saveReport();
    void quit();
    void updateTitle();

    TTruckSession *m_session;
    QWidget *m_main;
    QPointer<TLifeMapWindow> m_lifeMap;
    QPointer<TDutyWindow> m_dutyWindow;
    TDialogs m_dialogs;
};
