#include "ui/truck/TruckSession.h"

#include "analysis/DutyCycle.h"
#include "analysis/TruckFile.h"

#include <QFile>

#include <utility>
#include <variant>

struct TTruckSession::Private {
    TTruck truck;
    // What the file holds (or the start-up truck while there is no file).
    TTruck baseline;
    QString path;
    bool dutyEdited = false;
    bool modified = false;
    TRunning running;
    std::optional<TRouteSummary> route;
};

namespace
{

std::string localPath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

// The combined life of the truck's duty list and the trips of the route it allows.
void rateRoute(TRouteSummary &route, const TTruck &truck)
{
    route.LifeKm = DutyLife(truck, truck.Duty).LifeKm;
    route.Trips.reset();
    if (route.LifeKm && route.MovingDistanceM > 0)
        route.Trips = *route.LifeKm / (route.MovingDistanceM / 1000);
}

} // namespace

TTruckSession::TTruckSession(QObject *parent) : QObject(parent), d(std::make_unique<Private>()) {}

TTruckSession::~TTruckSession() = default;

const TTruck &TTruckSession::Truck() const
{
    return d->truck;
}

bool TTruckSession::DutyEdited() const
{
    return d->dutyEdited;
}

QString TTruckSession::FilePath() const
{
    return d->path;
}

bool TTruckSession::IsModified() const
{
    return d->modified;
}

void TTruckSession::updateModified()
{
    const bool now =
        d->path.isEmpty() ? d->truck.Duty != d->baseline.Duty : !(d->truck == d->baseline);
    if (now == d->modified)
        return;
    d->modified = now;
    emit ModifiedChanged(now);
}

void TTruckSession::SetInputs(const TTruck &truck)
{
    if (SameInputs(truck, d->truck))
        return;
    std::vector<TDutySegment> duty = std::move(d->truck.Duty);
    d->truck = truck;
    d->truck.Duty = std::move(duty);
    if (d->route)
        rateRoute(*d->route, d->truck);
    emit TruckChanged();
    updateModified();
}

void TTruckSession::SetDuty(std::vector<TDutySegment> duty)
{
    const bool changed = duty != d->truck.Duty;
    const bool firstEdit = !d->dutyEdited;
    d->dutyEdited = true;
    if (!changed && !firstEdit)
        return;
    d->truck.Duty = std::move(duty);
    if (changed)
        d->route.reset();
    emit DutyChanged();
    updateModified();
}

bool TTruckSession::DutyModified() const
{
    return d->truck.Duty != d->baseline.Duty;
}

void TTruckSession::SetRoute(TRoute route)
{
    d->dutyEdited = true;
    d->truck.Duty = std::move(route.Duty);
    d->route = std::move(route.Summary);
    rateRoute(*d->route, d->truck);
    emit DutyChanged();
    updateModified();
}

const std::optional<TRouteSummary> &TTruckSession::RouteSummary() const
{
    return d->route;
}

void TTruckSession::Replace(const TTruck &truck, const QString &path)
{
    const bool inputsChanged = !SameInputs(truck, d->truck);
    const bool dutyChanged = truck.Duty != d->truck.Duty || d->dutyEdited;
    const bool fileChanged = path != d->path;
    d->truck = truck;
    d->baseline = truck;
    d->path = path;
    d->dutyEdited = false;
    const bool hadRoute = d->route.has_value();
    d->route.reset();
    emit TruckLoaded();
    if (inputsChanged)
        emit TruckChanged();
    if (dutyChanged || hadRoute)
        emit DutyChanged();
    if (fileChanged)
        emit FileChanged();
    updateModified();
}

void TTruckSession::New()
{
    Replace(TTruck{}, QString());
}

QString TTruckSession::Open(const QString &path)
{
    auto read = ReadTruckFile(localPath(path));
    if (auto *error = std::get_if<TTruckFileError>(&read)) {
        // The message names the file as the user chose it.
        error->File = path.toStdString();
        return QString::fromStdString(error->Message());
    }
    Replace(std::get<TTruck>(read), path);
    return {};
}

QString TTruckSession::SaveTo(const QString &path)
{
    if (auto failure = WriteTruckFile(localPath(path), d->truck)) {
        // The message names the file as the user chose it.
        failure->File = path.toStdString();
        return QString::fromStdString(failure->Message());
    }
    d->baseline = d->truck;
    const bool fileChanged = path != d->path;
    d->path = path;
    if (fileChanged)
        emit FileChanged();
    updateModified();
    return {};
}

const TTruckSession::TRunning &TTruckSession::Running() const
{
    return d->running;
}

void TTruckSession::SetRunning(const TRunning &running)
{
    if (running == d->running)
        return;
    d->running = running;
    emit RunningChanged();
}
