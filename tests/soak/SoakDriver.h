#pragma once

// A seeded stream of real input events against a real main window: clicks
// and drags anywhere, keys (Enter, Esc, arrows, PgUp/PgDn, Ctrl+N, clipboard
// shortcuts, ...), typed and pasted text of every kind into every edit and
// list, pedal moves, gear and unit switches, boost, the About window, and
// timer ticks in between. Modal windows that open on the way (the About
// window, the error box, a bounds report) are answered from inside their own
// event loop after a few ticks under them. After every tick the invariants
// are checked; the first one broken ends the run.

#include <QPoint>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <random>

class QObject;
class QWidget;
class TForm1;

class TSoakDriver
{
public:
    TSoakDriver(TForm1 &form, std::uint64_t seed);
    ~TSoakDriver();

    // Sends `events` events; false as soon as an invariant breaks.
    bool run(long events);

    // What broke, with the event number and the last events before it.
    QString failure() const { return m_failure; }
    long ticks() const { return m_ticks; }
    long climbingTicks() const { return m_climbingTicks; }
    double topRpm() const { return m_topRpm; }
    long errorBoxes() const { return m_errorBoxes; }
    long aboutWindows() const { return m_aboutWindows; }

    // The invariants of a shown window, "" when all hold.
    static QString CheckInvariants(TForm1 &form);

private:
    void step();
    void tick();
    void clickAnywhere();
    void dragAnywhere();
    void pressKey(QWidget *target);
    void typeText(bool paste);
    void movePedal();
    void chooseFromList();
    void answerModal();

    QPoint randomPoint();
    QWidget *randomInput();
    QString randomText();
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    bool chance(double p) { return std::bernoulli_distribution(p)(m_rng); }
    void note(const QString &event);
    void fail(const QString &what);

    TForm1 &m_form;
    std::mt19937_64 m_rng;
    long m_event = 0;
    long m_ticks = 0;
    long m_climbingTicks = 0;
    double m_topRpm = 0;
    long m_errorBoxes = 0;
    long m_aboutWindows = 0;
    bool m_inModal = false;
    QString m_failure;
    std::deque<QString> m_recent;
    QObject *m_watch = nullptr;
};
