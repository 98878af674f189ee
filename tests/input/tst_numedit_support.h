#pragma once

// Shared set-up of the edit widget tests: a pinned locale, a counted beep,
// an active window to hold focus, and a catcher for modal message boxes.

#include "widgets/input/ESBPCSNumEdit.h"

#include <QString>

#include <ostream>

// Readable failure messages for texts.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <QtTest/QTest>
#include <gtest/gtest.h>

// Restores the shared edit options and the C locale after each test.
class EditTest : public ::testing::Test
{
protected:
    static QLocale pointLocale() { return QLocale(QLocale::English, QLocale::UnitedStates); }
    static QLocale commaLocale() { return QLocale(QLocale::German, QLocale::Germany); }

    void SetUp() override
    {
        saved = ESBInputOptions();
        QLocale::setDefault(pointLocale());
        ESBInputOptions().Beep = [this] { ++beeps; };
    }
    void TearDown() override
    {
        ESBInputOptions() = saved;
        QLocale::setDefault(QLocale::c());
    }

    // A shown, active window, so focus moves for real.
    QWidget *activeWindow()
    {
        window = std::make_unique<QWidget>();
        window->resize(300, 200);
        return window.get();
    }
    bool activate()
    {
        window->show();
        QApplication::setActiveWindow(window.get());
        return QTest::qWaitForWindowActive(window.get());
    }

    // Runs the event loop until done() or a few seconds have passed.
    template <class F>
    static bool waitFor(F done)
    {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < 5000)
            QTest::qWait(5);
        return done();
    }

    int beeps = 0;
    TESBInputOptions saved;
    std::unique_ptr<QWidget> window;
};

// Closes the next modal message box and keeps its text.
struct MessageCatcher {
    QString text;
    int seen = 0;
    QTimer timer;
    MessageCatcher()
    {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                text = box->text();
                ++seen;
                box->accept();
            }
        });
        timer.start();
    }
};
