#include "BenchSupport.h"

#include "app/Application.h"
#include "gfx/GraphicControl.h"
#include "ui/form/Form1.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <QTimerEvent>

#include <cstdlib>

void BenchApplication(int &argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static TApplication *app = new TApplication(argc, argv);
    (void)app;
}

double PeakMemoryMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

long long RenderCount(TForm1 &form)
{
    long long n = 0;
    for (const TGraphicControl *c : form.findChildren<TGraphicControl *>())
        n += c->renderCount();
    return n;
}

void SendTick(TForm1 &form)
{
    if (form.Timer1->interval() < 3600 * 1000)
        form.Timer1->start(24 * 3600 * 1000);
    QTimerEvent e(form.Timer1->timerId());
    QCoreApplication::sendEvent(form.Timer1, &e);
}

namespace {

class TPaintSpy : public QObject
{
public:
    bool painted = false;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

} // namespace

void WaitForFirstPaint(TForm1 &form)
{
    TPaintSpy spy;
    form.installEventFilter(&spy);
    for (int i = 0; i < 1000 && !spy.painted; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    form.removeEventFilter(&spy);
}
