// Renders the duty window and the life map after a recorded drive is imported
// into a truck opened from a file (the README's pictures of the import):
//   QT_QPA_PLATFORM=offscreen velmora-route-screenshots docs/sample-truck.json
//       docs/sample-route.gpx docs/duty-route.png docs/lifemap-route.png

#include "app/Application.h"
#include "ui/duty/DutyWindow.h"
#include "ui/lifemap/LifeMapWindow.h"
#include "ui/support/RouteFiles.h"
#include "ui/support/WindowsFixture.h"

#include <QImage>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>

namespace
{

bool save(QWidget *window, const char *path)
{
    const QImage shot = window->grab().toImage();
    if (shot.save(QString::fromLocal8Bit(path)))
        return true;
    std::fprintf(stderr, "velmora-route-screenshots: cannot write %s\n", path);
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: velmora-route-screenshots TRUCK.json ROUTE.gpx DUTY.png "
                             "LIFEMAP.png\n");
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    TApplication app(argc, argv);
    WindowsFixture w;
    if (!w.actions().OpenTruck(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "%s\n", qPrintable(w.problems.join(QLatin1Char('\n'))));
        return 1;
    }
    w.driver.driveTo(50); // the red dot of the running truck
    w.actions().DutyAction->trigger();
    w.actions().LifeMapAction->trigger();
    if (!ImportAndWait(w, QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "%s\n", qPrintable(w.problems.join(QLatin1Char('\n'))));
        return 1;
    }
    TDutyWindow *duty = w.actions().DutyWindow();
    TLifeMapWindow *map = w.actions().LifeMap();
    duty->resize(720, 420);
    map->resize(720, 500);
    QCoreApplication::processEvents();
    return save(duty, argv[3]) && save(map, argv[4]) ? 0 : 1;
}
