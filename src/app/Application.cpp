#include "app/Application.h"

#include "ui/form/ErrorBox.h"
#include "gfx/ErrorReport.h"
#include "ui/form/WindowFont.h"

#include <QPixmapCache>
#include <QStyle>
#include <QStyleFactory>

namespace
{

// What the user asked for, noted before the toolkit takes its own options
// out of the argument list.
QString g_requestedStyle;

char **NoteRequestedStyle(int argc, char **argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    g_requestedStyle =
        TApplication::RequestedStyle(args, qEnvironmentVariable("QT_STYLE_OVERRIDE"));
    return argv;
}

} // namespace

TApplication::TApplication(int &argc, char **argv)
    : QApplication(argc, NoteRequestedStyle(argc, argv))
{
    // The settings go to ~/.config/velmora/velmora.conf.
    setOrganizationName(QStringLiteral("velmora"));
    setApplicationName(QStringLiteral("velmora"));
    setApplicationDisplayName(Title());
    ApplyLook();
    // Controls that catch an error in a timer slot report it here too.
    SetUncaughtHandler(&ShowUncaught);
}

TApplication::~TApplication()
{
    SetUncaughtHandler({});
}

QString TApplication::Title()
{
    return QStringLiteral("Velmora");
}

QString TApplication::RequestedStyle(const QStringList &arguments, const QString &styleOverride)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        for (const QLatin1String option : {QLatin1String("-style"), QLatin1String("--style")}) {
            if (a == option && i + 1 < arguments.size())
                return arguments[i + 1];
            if (a.startsWith(option + QLatin1Char('=')))
                return a.mid(option.size() + 1);
        }
    }
    return styleOverride;
}

void TApplication::ApplyLook()
{
    ApplyLook(g_requestedStyle);
}

void TApplication::ApplyLook(const QString &requestedStyle)
{
    // A style the user named and this Qt has wins; otherwise Fusion, which
    // shows the same colours on every desktop.
    QStyle *style = requestedStyle.isEmpty() ? nullptr : QStyleFactory::create(requestedStyle);
    if (!style)
        style = QStyleFactory::create(QStringLiteral("Fusion"));
    QApplication::setStyle(style);
    QApplication::setPalette(QApplication::style()->standardPalette());
    QApplication::setFont(WindowFont());
    KeepNoStylePictures();
}

void TApplication::KeepNoStylePictures()
{
    // The style keeps the pictures of frames, headers and buttons it drew,
    // under keys made from each widget's palette, and every window gets a
    // palette of its own each time it opens: a side window opened and closed
    // a thousand times fills the store with pictures nobody asks for again,
    // and this toolkit never frees their keys (2 MiB more for every 10,000
    // events of the soak). Drawn anew, those few pictures cost nothing one
    // would measure; the running window's own controls keep theirs.
    QPixmapCache::setCacheLimit(0);
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    // An exception must not travel on through the toolkit's event code: stop
    // it here, report it and let the event loop carry on.
    bool handled = false;
    CallReportingEscapes([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
