#include "app/Application.h"
#include "app/ReportCommand.h"
#include "ui/form/Form1.h"
#include "ui/truck/FormBinding.h"
#include "ui/truck/TruckActions.h"
#include "ui/truck/TruckSession.h"

#include <QGuiApplication>
#include <QIcon>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#ifndef VELMORA_VERSION
#define VELMORA_VERSION "unknown"
#endif

namespace
{

constexpr const char *Usage = R"(Usage: velmora [options]
       velmora --truck FILE --report OUT.pdf [--pedal MPH] [--reliability R]
Opens the Velmora window: a light truck driven by the gas pedal, with the load
and L10 life of its gearbox input-shaft bearing. With --report it opens no
window and needs no display: it writes a PDF report of a truck file and ends.

Options:
  --help                this text
  --version             the program's version
  -style NAME           the widget style instead of the program's own (Fusion)
  -display NAME         the X display to open the window on (default $DISPLAY)
  -platform NAME        the windowing platform (default: the desktop's)

Report (A4 or Letter by the locale; status 2 and one line on a problem):
  --truck FILE          the truck file to report
  --report OUT.pdf      the PDF to write; a failed write leaves no file
  --pedal MPH           the gas pedal's speed, 0 to 100 mph (default 50): the
                        results are the steady state holding it in the truck's gear
  --reliability R       also the lives at R %, 90 to 99.95 (default 90: L10 only)
  --route FILE.gpx      the duty list from a recorded route, with its summary

Example: velmora --truck my-truck.json --report my-truck.pdf --pedal 62 --reliability 99

The same model runs without a window, from the command line: velmora-sim
(see velmora-sim --help).
)";

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

// The display the toolkit tries to open: a -display argument, else the
// environment's.
std::string displayName(int argc, char **argv)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "-display") == 0 || std::strcmp(argv[i], "--display") == 0)
            return argv[i + 1];
    const char *platform = std::getenv("QT_QPA_PLATFORM");
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    if (platform && std::strncmp(platform, "wayland", 7) == 0 && wayland)
        return wayland;
    const char *x = std::getenv("DISPLAY");
    return x && *x ? x : (wayland ? wayland : "");
}

std::string g_display;
QtMessageHandler g_previousHandler = nullptr;

// The platform's warnings while it starts, passed on once it has started.
struct THeldMessage {
    QtMsgType Type;
    std::string Category;
    QString Text;
};
std::vector<THeldMessage> g_held;

// While the application object starts, the windowing platform reports a
// display it cannot open with warnings and then a fatal error that aborts.
// Say it in one line instead, point to the program that needs no display,
// and end with status 1.
void startUpMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr,
                     "velmora: cannot open the display \"%s\"; velmora-sim runs the same model "
                     "without a window (see velmora-sim --help)\n",
                     g_display.c_str());
        std::fflush(stderr);
        std::_Exit(1);
    }
    const char *category = context.category ? context.category : "";
    if (std::strncmp(category, "qt.qpa.", 7) == 0) {
        // Perhaps the platform's own account of a failure told above.
        g_held.push_back({type, category, message});
        return;
    }
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}

void passOnHeldMessages()
{
    for (const THeldMessage &m : g_held) {
        const QMessageLogContext context(nullptr, 0, nullptr, m.Category.c_str());
        if (g_previousHandler)
            g_previousHandler(m.Type, context, m.Text);
    }
    g_held.clear();
}

void reportMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg)
        return;
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}

// The running window sends the X server a few small rectangles twenty times
// a second. Through shared memory every frame first waits for the server to
// say it has read the last one, a round trip that cost more than the frame;
// through the socket nothing waits. An environment that sets the variable
// keeps its own choice.
void sendFramesThroughTheSocket()
{
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
}

} // namespace

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(Usage, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::printf("velmora %s\n", VELMORA_VERSION);
            return 0;
        }
    }
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (const auto report = ParseReportCommand(args)) {
        if (const auto *problem = std::get_if<std::string>(&*report)) {
            std::fprintf(stderr, "velmora: %s\n", problem->c_str());
            return 2;
        }
        UseOffscreenPlatformUnlessChosen(args);
        // A problem is one line of our own; the toolkit's notes on its
        // environment (no runtime folder, a font substituted) are not problems.
        g_previousHandler = qInstallMessageHandler(reportMessages);
        QGuiApplication app(argc, argv);
        return RunReport(std::get<TReportCommand>(*report));
    }
    if (noDisplay()) {
        std::fprintf(stderr,
                     "velmora: no display to open the window on; "
                     "try 'velmora-sim --pedal 100 --boost --steps 2000 --every 100' instead.\n");
        return 1;
    }
    g_display = displayName(argc, argv);
    sendFramesThroughTheSocket();
    g_previousHandler = qInstallMessageHandler(startUpMessages);
    TApplication app(argc, argv);
    qInstallMessageHandler(g_previousHandler);
    passOnHeldMessages();

    app.setWindowIcon(QIcon(QStringLiteral(":/velmora/icon.png")));
    // The session owns the truck; the main window shows it and edits it, the
    // actions open and save it. They go in the reverse order.
    TTruckSession session;
    TForm1 form;
    TFormBinding binding(&form, &session);
    TTruckActions actions(&session, &form);
    form.show();
    // Ask for the keyboard focus as well: without a window manager (a bare X
    // server) nothing else gives it, and keys would go nowhere.
    form.activateWindow();
    return app.exec();
}
