#include "ui/truck/RouteImport.h"

#include <QFile>

#include <atomic>
#include <exception>
#include <thread>

struct TRouteImport::Private {
    QString path;
    TTruck truck;
    std::atomic<bool> cancel{false};
    std::atomic<bool> done{false};
    std::atomic<double> progress{0};
    // Written by the worker before it posts Finished, read after it.
    std::variant<TRoute, TGpxError> result{TGpxError{}};
    std::thread worker;
};

TRouteImport::TRouteImport(const QString &path, const TTruck &truck, QObject *parent)
    : QObject(parent), d(std::make_unique<Private>())
{
    d->path = path;
    d->truck = truck;
}

TRouteImport::~TRouteImport()
{
    d->cancel = true;
    if (d->worker.joinable())
        d->worker.join();
}

void TRouteImport::Start()
{
    if (d->worker.joinable())
        return;
    const std::string local = QFile::encodeName(d->path).toStdString();
    const std::string shown = d->path.toStdString();
    d->worker = std::thread([this, local, shown] {
        Private &p = *d;
        const TGpxProgress progress = [&p](std::uint64_t done, std::uint64_t total) {
            if (total > 0)
                p.progress = double(done) / double(total);
            return !p.cancel.load();
        };
        try {
            p.result = ImportRoute(local, p.truck, TRouteParams{}, TGpxLimits{}, progress);
        } catch (const std::exception &e) {
            // Out of memory or the like: a problem with this file, not a crash.
            p.result = TGpxError{TGpxProblem::CannotRead, local, 0, e.what()};
        }
        // The message names the file as the user chose it.
        if (auto *error = std::get_if<TGpxError>(&p.result))
            error->File = shown;
        p.done = true;
        // Dropped by Qt if this object is gone by then.
        QMetaObject::invokeMethod(
            this, [this] { emit Finished(); }, Qt::QueuedConnection);
    });
}

void TRouteImport::Cancel()
{
    d->cancel = true;
}

bool TRouteImport::Cancelled() const
{
    return d->cancel;
}

bool TRouteImport::Done() const
{
    return d->done;
}

double TRouteImport::Progress() const
{
    return d->progress;
}

const std::variant<TRoute, TGpxError> &TRouteImport::Result() const
{
    return d->result;
}

std::variant<TRoute, TGpxError> TRouteImport::TakeResult()
{
    return std::move(d->result);
}

QString TRouteImport::Path() const
{
    return d->path;
}

const TTruck &TRouteImport::Truck() const
{
    return d->truck;
}
