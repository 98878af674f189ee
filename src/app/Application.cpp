#include "Application.h"

#include "ErrorBox.h"
#include "WindowFont.h"

#include <QStyle>
#include <QStyleFactory>

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("velmora"));
    setApplicationDisplayName(Title());
    ApplyLook();
}

TApplication::~TApplication() = default;

QString TApplication::Title()
{
    return QStringLiteral("Velmora");
}

void TApplication::ApplyLook()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(QApplication::style()->standardPalette());
    QApplication::setFont(WindowFont());
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    // An exception must not travel on through the toolkit's event code: stop
    // it here, report it and let the event loop carry on.
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowUncaught(std::current_exception());
    }
    return false;
}
