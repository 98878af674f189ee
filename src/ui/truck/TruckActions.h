#pragma once

#include "ui/truck/Dialogs.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QAction;
class QWidget;
class TDutyWindow;
class TLifeMapWindow;
class TRouteImport;
class TTruckSession;
class QProgressDialog;

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
    QAction *ImportRouteAction = nullptr; // a recorded route (GPX) becomes the duty list
    QAction *ReportAction = nullptr;      // a PDF of the running truck
    QAction *QuitAction = nullptr;        // closes the main window, asking first as its X does

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
    // The same for the duty list alone: true when it holds nothing unsaved,
    // or the user saved or discarded it.
    bool MayDropDuty();

    // Reads a GPX file on a worker thread, showing progress after half a
    // second; on success asks MayDropDuty and makes the route the duty list.
    // A bad file is shown as one problem; a cancelled one changes nothing.
    // RouteImportFinished follows in every case. Ignored while one runs.
    void StartRouteImport(const QString &path);
    // The user's Cancel: the import ends without changing anything.
    void CancelRouteImport();
    bool RouteImportRunning() const;
    // The progress shown for the running import, null when none runs.
    QProgressDialog *RouteImportProgress() const;

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

  Q_SIGNALS:
    // An import ended; `applied` when its route became the duty list.
    void RouteImportFinished(bool applied);

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
    void importRoute();
    void routeImportDone();
    bool mayDrop(bool wouldLose, const QString &fileText);
    QWidget *dialogParent() const;
    void updateTitle();

    TTruckSession *m_session;
    QWidget *m_main;
    QPointer<TLifeMapWindow> m_lifeMap;
    QPointer<TDutyWindow> m_dutyWindow;
    TDialogs m_dialogs;
    TRouteImport *m_import = nullptr;
    QPointer<QProgressDialog> m_progress;
};
