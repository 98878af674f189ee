#pragma once

#include <QApplication>
#include <QString>

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
    // The look the program and its tests share.
    static void ApplyLook();
};
