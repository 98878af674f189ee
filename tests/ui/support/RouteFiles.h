#pragma once

#include <QByteArray>
#include <QString>

class WindowsFixture;

// Recorded drives for the window tests, written as GPX text.

// 2 km at 50 km/h (the 30 mph bin) then 3 km at 60 mph on the level: 40 % of
// the moving distance at 30 mph and 60 % at 60 mph, in one piece.
QByteArray TownThenHighwayGpx();
// Two pieces, the second without elevation, with a stop in the first.
QByteArray TwoPiecesWithStopGpx();

// Imports `path` through the truck actions (as the program's own Import route
// does after its file dialog) and waits for the end; true when the route
// became the duty list.
bool ImportAndWait(WindowsFixture &w, const QString &path);
// Waits for a running import to end; false when it does not within seconds.
bool WaitForImport(WindowsFixture &w, bool *applied = nullptr);
