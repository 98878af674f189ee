// Renders the real main window driving at speed to a PNG:
//   QT_QPA_PLATFORM=offscreen velmora-screenshot docs/screenshot.png

#include "app/Application.h"
#include "ui/support/FormFixture.h"

#include <QImage>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmora-screenshot OUTPUT.png\n");
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    TApplication app(argc, argv);
    FormDriver d;
    d.driveTo(60); // cruising at 60 mph, lime on black
    const QImage shot = d.form().grab().toImage();
    if (!shot.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "velmora-screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
