#include "main.h"
#include "Application.h"

#include <QIcon>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{

// True when the toolkit would have no screen to open the window on.
bool noDisplay()
{
    const char *platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform && std::strncmp(platform, "xcb", 3) != 0 &&
        std::strncmp(platform, "wayland", 7) != 0)
        return false; // offscreen, vnc, ...: the user chose it
    auto unset = [](const char *name) {
        const char *v = std::getenv(name);
        return !v || !*v;
    };
    return unset("DISPLAY") && unset("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char **argv)
{
    if (noDisplay()) {
        std::fprintf(stderr,
                     "velmora: no display to open the window on; "
                     "try 'velmora-sim --pedal 100 --boost --steps 2000 --every 100' instead.\n");
        return 1;
    }
    TApplication app(argc, argv);
    app.setWindowIcon(QIcon(QStringLiteral(":/velmora/icon.png")));
    TForm1 form;
    form.show();
    return app.exec();
}
