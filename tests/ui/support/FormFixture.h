#pragma once

#include "ui/form/Form1.h"

#include <QString>

#include <functional>
#include <memory>
#include <ostream>

class QWidget;

// Readable texts in failure messages.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

// Drives a real main window the way a user does: clicks, keys and timer
// ticks. The window's own timer is stopped so every tick is one the test
// sends; tests that need ticks under a modal window start it again.
class FormDriver
{
  public:
    FormDriver();
    ~FormDriver();

    TForm1 &form() { return *m_form; }
    TDriveModel &model() { return m_form->Model(); }

    void tick(int n = 1);
    // Ticks until pred holds (true) or max ticks went by (false).
    bool tickUntil(const std::function<bool()> &pred, int max = 2000);
    // Ticks until the engine speed has not changed for a few ticks.
    void tickUntilSteady(int max = 2000);

    static void click(QWidget *w);
    // Moves the gas pedal with the keyboard, as a user would.
    void pedal(int position);
    void boost();
    // Boost from rest, then the pedal, then ticks until the truck is steady.
    void driveTo(int pedalPosition);

  private:
    std::unique_ptr<TForm1> m_form;
};
