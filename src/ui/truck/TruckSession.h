#pragma once

#include "analysis/RouteDuty.h"
#include "analysis/Truck.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

// The one owner of the current truck: its inputs, gear, selected table rows,
// load rating and units, its duty list, the file it came from and whether it
// differs from that file. The main window tells it when an input changes and
// once per tick where the running truck is; the windows beside the main
// window read it and listen to it, never to the main window.
class TTruckSession : public QObject
{
    Q_OBJECT
  public:
    explicit TTruckSession(QObject *parent = nullptr);
    ~TTruckSession() override;

    // The truth: inputs, gear, rows, load rating, units and duty list.
    const TTruck &Truck() const;
    // The user edited the duty list since the truck was opened or started.
    bool DutyEdited() const;
    // The file the truck was opened from or last saved to; empty before that.
    QString FilePath() const;
    // Something would be lost by dropping the truck now: for a truck with a
    // file, any difference from that file; for one never saved, a duty list
    // the user made (its inputs are the window's, as at start-up).
    bool IsModified() const;

    // Everything but the duty list, as the main window holds it now.
    void SetInputs(const TTruck &truck);
    // A user's edit of the duty list: marks the list edited. A list that
    // differs from the present one drops the route summary.
    void SetDuty(std::vector<TDutySegment> duty);
    // The duty list differs from what the file holds (without a file: from
    // none); dropping it would lose it.
    bool DutyModified() const;

    // A recorded route's segments become the duty list (an edit, as if typed)
    // and its summary is kept beside it.
    void SetRoute(TRoute route);
    // The summary of the route the duty list came from; absent once the list
    // is edited or replaced. Its life and trips follow the truck's inputs.
    const std::optional<TRouteSummary> &RouteSummary() const;

    // Reads and checks a truck file and makes it the truck, unmodified; on a
    // problem returns it in one line (naming the file as given) and changes
    // nothing. Emits TruckLoaded first so the main window takes the values.
    QString Open(const QString &path);
    // Writes the truck to `path`, which becomes its file; on a problem
    // returns it in one line and changes nothing.
    QString SaveTo(const QString &path);
    // The start-up truck with no file and an empty duty list.
    void New();
    // Makes `truck` the truck with `path` as its file (empty: none), unmodified.
    void Replace(const TTruck &truck, const QString &path);

    // The truck as it runs in the main window, once per tick.
    struct TRunning {
        double EngineRpm = 0;
        std::optional<double> SpeedMph; // absent: the speed readout is empty
        TGear Gear = TGear::Fifth;
        std::optional<double> LifeKm; // absent in fourth gear or without a life
        double TargetMph = 0;         // where the gas pedal stands

        bool operator==(const TRunning &) const = default;
    };
    const TRunning &Running() const;
    void SetRunning(const TRunning &running);

  Q_SIGNALS:
    // A whole truck came from elsewhere (a file, New): the main window puts
    // each value into its control as if typed. Comes before TruckChanged.
    void TruckLoaded();
    // The inputs, gear, rows, load rating or units changed.
    void TruckChanged();
    void DutyChanged();
    void RunningChanged();
    void FileChanged();
    void ModifiedChanged(bool modified);

  private:
    void updateModified();

    struct Private;
    std::unique_ptr<Private> d;
};
