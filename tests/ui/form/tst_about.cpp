#include "ui/support/FormFixture.h"

#include "ui/form/About.h"
#include "ui/form/BevelPanel.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace
{

TEST(About, PanelTitleAndHelpText)
{
    TFrmAbout about;
    about.resize(701, 300);
    about.show();
    EXPECT_TRUE(about.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(about.Panel1->geometry(), QRect(0, 0, 701, 41));
    EXPECT_EQ(about.SpeedButton1->geometry(), QRect(656, 11, 23, 22));
    EXPECT_EQ(about.SpeedButton1->text(), QStringLiteral("X"));
    EXPECT_TRUE(about.SpeedButton1->autoRaise());
    EXPECT_EQ(about.Label1->text(),
              QStringLiteral(
                  "Gearbox Input Bearing Load and Lifetime Calculator for Harwick  Series Trucks"));
    EXPECT_TRUE(about.Label1->font().bold());
    // The title stays clear of the "X".
    EXPECT_LT(about.Label1->geometry().right(), about.SpeedButton1->x());
    EXPECT_EQ(about.Memo1->geometry(), QRect(0, 41, 701, 259));
    EXPECT_EQ(about.Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(about.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(about.Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_FALSE(about.Memo1->isReadOnly());

    // The thirteen headings, in order, each on a line of its own.
    const QStringList headings = {"BACKGROUND:",
                                  "BASICS:",
                                  "WHAT THIS PROGRAM DOES:",
                                  "ASSUMPTIONS:",
                                  "USING THE PROGRAM:",
                                  "AT CRANKSHAFT:",
                                  "DRIVE LINE:",
                                  "INPUT GEAR:",
                                  "RESISTANCE:",
                                  "LOADING:",
                                  "SPEED:",
                                  "INPUT BEARING:",
                                  "OTHER STUFF:"};
    const QStringList lines = about.Memo1->toPlainText().split(QLatin1Char('\n'));
    qsizetype at = 0;
    for (const QString &h : headings) {
        const qsizetype found = lines.indexOf(h, at);
        EXPECT_GT(found, at) << h.toStdString();
        at = std::max(at, found);
    }
    // No line is cut off at the right edge of the window.
    const QFontMetrics fm(about.Memo1->font());
    const int room = about.Memo1->viewport()->width();
    for (const QString &l : lines)
        EXPECT_LE(fm.horizontalAdvance(l), room) << l.toStdString();
}

TEST(About, PanelDrawsARaisedOuterAndLoweredInnerBevel)
{
    TBevelPanel p;
    p.resize(40, 20);
    const QImage img = p.renderImage();
    const QRgb light = ColorToQColor(clBtnHighlight).rgb();
    const QRgb shadow = ColorToQColor(clBtnShadow).rgb();
    EXPECT_EQ(img.pixel(5, 0), light);   // outer top
    EXPECT_EQ(img.pixel(5, 19), shadow); // outer bottom
    EXPECT_EQ(img.pixel(5, 1), shadow);  // inner top
    EXPECT_EQ(img.pixel(5, 18), light);  // inner bottom
    EXPECT_EQ(img.pixel(0, 5), light);
    EXPECT_EQ(img.pixel(39, 5), shadow);
    EXPECT_EQ(img.pixel(20, 10), ColorToQColor(clBtnFace).rgb());
}

struct Seen {
    QPointer<TFrmAbout> window;
    QRect geometry;
    QPoint buttonPos;
    int panelWidth = 0;
    bool modal = false;
    QString memoText;
    double rpmShown = 0, rpmClosed = 0;
};

// Under the modal About window: note it, type into its memo, let the
// simulation run, then close it with its "X".
void inspectAbout(Seen &s, const TDriveModel &m, bool typeIntoMemo)
{
    QTimer::singleShot(0, [&s, &m, typeIntoMemo] {
        auto *about = qobject_cast<TFrmAbout *>(QApplication::activeModalWidget());
        if (!about)
            return;
        s.window = about;
        s.modal = about->isModal();
        s.geometry = about->geometry();
        s.buttonPos = about->SpeedButton1->pos();
        s.panelWidth = about->Panel1->width();
        if (typeIntoMemo) {
            about->Memo1->selectAll();
            QTest::keyClicks(about->Memo1, QStringLiteral("scribble"));
        }
        s.memoText = about->Memo1->toPlainText();
        if (!typeIntoMemo) // a picture for people to look at
            about->grab().save(QStringLiteral(VELMORA_TEST_OUTPUT_DIR "/about.png"));
        s.rpmShown = m.EngineRpm;
        QTest::qWait(300);
        s.rpmClosed = m.EngineRpm;
        QTest::mouseClick(about->SpeedButton1, Qt::LeftButton);
    });
}

TEST(About, EachClickOpensAFreshWindowOverTheUpperHalf)
{
    FormDriver d;
    TForm1 &f = d.form();
    d.tick();
    d.boost();
    f.Timer1->start();
    const QPoint origin = f.mapToGlobal(QPoint(0, 0));

    Seen first;
    inspectAbout(first, d.model(), true);
    FormDriver::click(f.BtnAbout);
    ASSERT_TRUE(first.modal);
    EXPECT_EQ(first.geometry, QRect(origin, QSize(701, 300)));
    EXPECT_EQ(first.panelWidth, 701);
    EXPECT_EQ(first.buttonPos, QPoint(656, 11));
    EXPECT_EQ(first.memoText, QStringLiteral("scribble"));
    EXPECT_GT(first.rpmClosed, first.rpmShown); // the simulation went on
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.window.isNull()); // closing destroyed it

    Seen second;
    inspectAbout(second, d.model(), false);
    FormDriver::click(f.BtnAbout);
    ASSERT_TRUE(second.modal);
    EXPECT_EQ(second.memoText, AboutHelpText()); // the typing was lost
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(second.window.isNull());
    EXPECT_TRUE(f.findChildren<TFrmAbout *>().isEmpty());
    f.Timer1->stop();
}

TEST(About, EscapeClosesAndDestroysItToo)
{
    FormDriver d;
    QPointer<TFrmAbout> seen;
    QTimer::singleShot(0, [&seen] {
        seen = qobject_cast<TFrmAbout *>(QApplication::activeModalWidget());
        if (seen)
            QTest::keyClick(seen->Memo1, Qt::Key_Escape);
    });
    FormDriver::click(d.form().BtnAbout);
    ASSERT_FALSE(seen.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(seen.isNull());
}

} // namespace
