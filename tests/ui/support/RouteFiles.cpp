#include "ui/support/RouteFiles.h"

#include "analysis/GpxText.h"
#include "ui/support/WindowsFixture.h"

#include <QSignalSpy>

using namespace gpxtext;

QByteArray TownThenHighwayGpx()
{
    const double town = 50 / 3.6;
    const double highway = 60 * 0.44704;
    TPiece p = Line(0, 2000, 50, town, 0, [](double) { return 100.0; });
    const TPiece fast =
        Line(2050, 5000, 50, highway, 2000 / town + 50 / highway, [](double) { return 100.0; });
    p.insert(p.end(), fast.begin(), fast.end());
    return QByteArray::fromStdString(Track({p}));
}

QByteArray TwoPiecesWithStopGpx()
{
    const double v = 50 / 3.6;
    auto climb = [](double d) { return 100 + d * 0.02; };
    TPiece first = Line(0, 1000, 50, v, 0, climb);
    // Two minutes standing at 1 km, then on.
    TPiece on = Line(1050, 2000, 50, v, 1000 / v + 120 + 50 / v, climb);
    first.insert(first.end(), on.begin(), on.end());
    const TPiece second = Line(0, 1500, 50, 80 / 3.6, 5000);
    return QByteArray::fromStdString(Track({first, second}));
}

bool WaitForImport(WindowsFixture &w, bool *applied)
{
    if (!w.actions().RouteImportRunning())
        return false;
    QSignalSpy spy(&w.actions(), &TTruckActions::RouteImportFinished);
    if (!spy.wait(20000))
        return false;
    if (applied)
        *applied = spy.constFirst().constFirst().toBool();
    return true;
}

bool ImportAndWait(WindowsFixture &w, const QString &path)
{
    w.actions().StartRouteImport(path);
    bool applied = false;
    return WaitForImport(w, &applied) && applied;
}
