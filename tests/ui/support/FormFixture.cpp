#include "ui/support/FormFixture.h"

#include "gfx/ErrorReport.h"
#include "ui/form/ErrorBox.h"
#include "widgets/button/oxBtns.h"

#include <QApplication>
#include <QSlider>
#include <QTest>
#include <QTimer>

FormDriver::FormDriver()
{
    QApplication::setApplicationDisplayName(QStringLiteral("Velmora"));
    // What the application object installs: an exception that escapes a
    // handler shows in the error box.
    SetUncaughtHandler(&ShowUncaught);
    m_form = std::make_unique<TForm1>();
    m_form->Timer1->stop();
    m_form->show();
    m_form->activateWindow();
    if (!QTest::qWaitForWindowActive(m_form.get()))
        qWarning("the main window did not become active");
}

FormDriver::~FormDriver() = default;

void FormDriver::tick(int n)
{
    for (int i = 0; i < n; ++i)
        m_form->Timer1Timer(m_form->Timer1);
}

bool FormDriver::tickUntil(const std::function<bool()> &pred, int max)
{
    for (int i = 0; i < max; ++i) {
        if (pred())
            return true;
        tick();
    }
    return pred();
}

void FormDriver::tickUntilSteady(int max)
{
    int still = 0;
    double last = model().EngineRpm;
    for (int i = 0; i < max && still < 5; ++i) {
        tick();
        still = model().EngineRpm == last ? still + 1 : 0;
        last = model().EngineRpm;
    }
}

void FormDriver::click(QWidget *w)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

void FormDriver::boost()
{
    click(m_form->BtnBoostMe);
}

void FormDriver::pedal(int position)
{
    QSlider *s = m_form->TBGasPedal;
    s->setFocus();
    QTest::keyClick(s, Qt::Key_Home);
    for (int i = 0; i < position / s->pageStep(); ++i)
        QTest::keyClick(s, Qt::Key_PageUp);
    for (int i = 0; i < position % s->pageStep(); ++i)
        QTest::keyClick(s, Qt::Key_Right);
}

void FormDriver::driveTo(int pedalPosition)
{
    tick(); // start-up: the first tick finds the truck unable to move
    boost();
    tickUntil([this] { return !model().BoostFlag; });
    pedal(pedalPosition);
    tickUntilSteady();
}
