#pragma once

#include "analysis/RouteDuty.h"
#include "analysis/Truck.h"

#include <QObject>
#include <QString>

#include <memory>
#include <variant>

// One recorded route read and turned into a duty list on a worker thread, so
// the window stays responsive. Finished comes on the owner's thread once the
// work is done, also after Cancel; a cancelled import has no result to use.
// Destroying it cancels the work and waits for the thread.
class TRouteImport : public QObject
{
    Q_OBJECT
  public:
    // `path` names the file in messages as the user chose it.
    TRouteImport(const QString &path, const TTruck &truck, QObject *parent = nullptr);
    ~TRouteImport() override;

    void Start();
    // Asks the reader to stop at its next chunk; Finished still follows.
    void Cancel();
    bool Cancelled() const;
    bool Done() const;
    // How much of the file is read, 0 to 1.
    double Progress() const;
    // After Finished: the route, or the problem with the file.
    const std::variant<TRoute, TGpxError> &Result() const;
    std::variant<TRoute, TGpxError> TakeResult();
    QString Path() const;
    // The truck the route's gears were chosen for.
    const TTruck &Truck() const;

  Q_SIGNALS:
    void Finished();

  private:
    struct Private;
    std::unique_ptr<Private> d;
};
