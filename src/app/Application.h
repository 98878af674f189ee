#pragma once

#include <QApplication>
#include <QString>
#include <QStringList>

// The application object. It sets the look every desktop shares (the Fusion
// style with its standard palette and the small sans-serif window font) and is
// the default handler for exceptions: one that leaves an event handler is
// caught here, its message is shown in an error box and the program carries on.
class TApplication : public QApplication
{
    Q_OBJECT
  public:
    TApplication(int &argc, char **argv);
    ~TApplication() override;

    bool notify(QObject *receiver, QEvent *event) override;

    // The application's title: the caption of its windows' error boxes.
    static QString Title();
    // The look the program and its tests share: the style the user asked for
    // (-style NAME or QT_STYLE_OVERRIDE) if there is one, else Fusion; and
    // that style's standard palette.
    static void ApplyLook();
    static void ApplyLook(const QString &requestedStyle);
    // The style keeps no pictures between paints (see the .cpp for why).
    static void KeepNoStylePictures();
    // The style named on the command line (-style NAME, -style=NAME, also
    // with two dashes) or else in QT_STYLE_OVERRIDE; empty when neither is.
    static QString RequestedStyle(const QStringList &arguments, const QString &styleOverride);
};
