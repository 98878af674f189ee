#pragma once

#include "analysis/Truck.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <vector>

class QAction;
class QWidget;
class TDutyWindow;
class TForm1;
class TLifeMapWindow;

// The main window's truck actions: open and save a truck file, open the life
// map and the duty-cycle window. It keeps the duty list (what the files carry
// beside the window's inputs) and, once per simulation step, notices when the
// window's truck changed so the windows beside it recompute only then.
class TTruckActions : public QObject
{
    Q_OBJECT
  public:
    explicit TTruckActions(TForm1 *form);
    ~TTruckActions() override;

    QAction *OpenAction = nullptr;
    QAction *SaveAction = nullptr;
    QAction *LifeMapAction = nullptr;
    QAction *DutyAction = nullptr;

    // Asks for a file: (parent, caption, folder, filter, saving) -> path or "".
    using FileDialog =
        std::function<QString(QWidget *, const QString &, const QString &, const QString &, bool)>;
    // Shows one problem to the user: (parent, text).
    using ProblemBox = std::function<void(QWidget *, const QString &)>;
    void setFileDialog(FileDialog dialog) { m_fileDialog = std::move(dialog); }
    void setProblemBox(ProblemBox box) { m_problemBox = std::move(box); }

    // Reads, validates and applies a file; on a problem shows it and changes nothing.
    bool OpenTruck(const QString &path);
    // Writes the window's truck and the duty list; on a problem shows it.
    bool SaveTruck(const QString &path);

    // The window's truck as of the last step (or the last open), duty list included.
    TTruck Truck() const;
    // The same without the duty list, not copied.
    const TTruck &Inputs() const { return m_truck; }

    // Asks the user for a file through the dialog seam; "" when cancelled.
    QString AskFile(QWidget *parent, const QString &caption, const QString &filter, bool saving);
    const std::vector<TDutySegment> &Duty() const { return m_duty; }
    void setDuty(const std::vector<TDutySegment> &duty);

    // The windows beside the main window, or null when closed.
    TLifeMapWindow *LifeMap() const;
    TDutyWindow *DutyWindow() const;
    TForm1 *Form() const { return m_form; }

    // Shows one problem through the problem box seam.
    void ShowProblem(const QString &text);

    // Takes the window's truck now; reports TruckChanged when it differs.
    void Resync();

    static QString LastFolder();

  Q_SIGNALS:
    void TruckChanged();
    void DutyChanged();

  private:
    void open();
    void save();
    void showLifeMap();
    void showDuty();
    void rememberFolder(const QString &path);

    TForm1 *m_form;
    TTruck m_truck;
    std::vector<TDutySegment> m_duty;
    QPointer<TLifeMapWindow> m_lifeMap;
    QPointer<TDutyWindow> m_dutyWindow;
    FileDialog m_fileDialog;
    ProblemBox m_problemBox;
};
