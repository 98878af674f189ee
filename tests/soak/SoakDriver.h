#pragma once

// A seeded stream of real input events against a real main window: clicks
// and drags anywhere, keys (Enter, Esc, arrows, PgUp/PgDn, Ctrl+N, clipboard
// shortcuts, ...), typed and pasted text of every kind into every edit and
// list, pedal moves, gear and unit switches, boost, the About window, and
// timer ticks in between. Given the truck actions, the stream also walks the
// rest of the program: the life map and the duty window opened, used and
// closed, duty segments added, edited (with bad values too) and removed,
// good and bad truck files opened, trucks saved into `folder`, results
// copied. The actions' questions (file dialogs, problems, "save changes?")
// are answered through their seam, never by a window. Modal windows that open
// on the way (the About window, the error box) are answered from inside
// their own event loop after a few ticks under them. After every tick and
// every program event the invariants are checked; the first one broken ends
// the run.

#include <QPoint>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <random>

class QObject;
class QWidget;
class TForm1;
class TTruckActions;

// Types `text` into `w` one key event per character, whatever the character
// (QTest's own typing knows only the keys of a US keyboard).
void SendChars(QWidget *w, const QString &text);

// What a run went through.
struct TSoakCounts {
    long Events = 0;
    long Ticks = 0;
    long ClimbingTicks = 0;
    long ErrorBoxes = 0;
    long AboutWindows = 0;
    long WindowsOpened = 0; // the life map and the duty window
    long FilesRead = 0;     // truck files the program was asked to open
    long FilesRefused = 0;  // of those, the ones it refused with a problem
    long FilesWritten = 0;  // truck files and charts written
    long WritesRefused = 0; // saves it refused with a problem
    long CellEdits = 0;     // duty cells edited, good values and bad
    long Copies = 0;        // results copied
    long SaveQuestions = 0; // "save changes?" answered
};

class TSoakDriver
{
public:
    // Without `actions` only the main window is driven.
    TSoakDriver(TForm1 &form, std::uint64_t seed, TTruckActions *actions = nullptr,
                const QString &folder = {});
    ~TSoakDriver();

    // Sends `events` events; false as soon as an invariant breaks.
    bool run(long events);

    // What broke, with the event number and the last events before it.
    QString failure() const { return m_failure; }
    const TSoakCounts &counts() const { return m_counts; }
    long ticks() const { return m_counts.Ticks; }
    long climbingTicks() const { return m_counts.ClimbingTicks; }
    double topRpm() const { return m_topRpm; }
    long errorBoxes() const { return m_counts.ErrorBoxes; }
    long aboutWindows() const { return m_counts.AboutWindows; }
    // The resident size and the live heap after the first tenth of the run, in KiB.
    long residentAtTenthKiB() const { return m_residentAtTenth; }
    long heapAtTenthKiB() const { return m_heapAtTenth; }

    // The invariants of a shown window, "" when all hold.
    static QString CheckInvariants(TForm1 &form);
    // The invariants of the windows beside it and of the session, "" when all hold.
    static QString CheckProgramInvariants(TTruckActions &actions);

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

    // The rest of the program (SoakProgram.cpp).
    void setUpProgram();
    void programEvent();
    void toggleLifeMap();
    void toggleDutyWindow();
    void useLifeMap();
    void useDutyWindow();
    void editDutyCell();
    void openTruckFile();
    void saveTruck();
    void copyResults();
    void quitAndReopen();
    void eventInSideWindow();
    void checkProgram();
    QString truckFileToOpen();

    QPoint randomPoint();
    QWidget *randomInput();
    QString randomText();
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    bool chance(double p) { return std::bernoulli_distribution(p)(m_rng); }
    void note(const QString &event);
    void fail(const QString &what);

    TForm1 &m_form;
    std::mt19937_64 m_rng;
    TTruckActions *m_actions = nullptr;
    QString m_folder;
    QStringList m_goodFiles;
    QStringList m_badFiles;
    QStringList m_nextPaths; // what the next file dialogs answer ("" cancels)
    QStringList m_problems;  // problems shown since the last program event began
    long m_event = 0;
    long m_residentAtTenth = 0;
    long m_heapAtTenth = 0;
    long m_heapEvery = qEnvironmentVariableIntValue("VELMORA_SOAK_HEAP_EVERY");
    TSoakCounts m_counts;
    double m_topRpm = 0;
    bool m_inModal = false;
    QString m_failure;
    std::deque<QString> m_recent;
    QObject *m_watch = nullptr;
};
