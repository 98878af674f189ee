#pragma once

#include <QString>

#include <exception>

// The application's default handling of an exception that left an event
// handler: its message, followed by "." when the last character sorts after
// ".", in an error box (error icon, one OK button, the application's title).
// The program then carries on.
QString ErrorBoxText(const QString &message);
void ShowErrorBox(const QString &message);
// The message of a caught exception, shown as above.
void ShowUncaught(std::exception_ptr error);
