#include "ui/support/FormFixture.h"

#include "ui/form/ErrorBox.h"
#include "ui/form/StdControls.h"
#include "widgets/button/oxBtns.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{

struct BoxSeen {
    bool shown = false;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    double rpmWhenShown = 0, rpmWhenClosed = 0;
};

// Waits for the modal error box, notes what it shows, lets the simulation
// run under it for a while, then presses OK.
void answerErrorBox(BoxSeen &seen, const TDriveModel &m)
{
    QTimer::singleShot(0, [&seen, &m] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.shown = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttons = int(box->buttons().size());
        seen.rpmWhenShown = m.EngineRpm;
        QTest::qWait(400);
        seen.rpmWhenClosed = m.EngineRpm;
        box->button(QMessageBox::Ok)->click();
    });
}

TEST(ErrorBox, FullStopAfterLettersAndDigitsOnly)
{
    EXPECT_EQ(ErrorBoxText(QStringLiteral("non enumerated tyre size")),
              QStringLiteral("non enumerated tyre size."));
    EXPECT_EQ(ErrorBoxText(QStringLiteral("rated 10")), QStringLiteral("rated 10."));
    EXPECT_EQ(ErrorBoxText(QStringLiteral("done.")), QStringLiteral("done."));
    EXPECT_EQ(ErrorBoxText(QStringLiteral("what?")), QStringLiteral("what?."));
    EXPECT_EQ(ErrorBoxText(QStringLiteral("(a, b)")), QStringLiteral("(a, b)"));
    EXPECT_EQ(ErrorBoxText(QStringLiteral("a-")), QStringLiteral("a-"));
    EXPECT_EQ(ErrorBoxText(QString()), QString());
}

TEST(FormErrors, TypingIntoTheEngineListShowsTheErrorWhileTicksGoOn)
{
    FormDriver d;
    TForm1 &f = d.form();
    d.tick();
    d.boost(); // every tick now adds 10 rpm, so ticks under the box show
    f.Timer1->start();
    const TEngineInfo engine = d.model().Engine;

    BoxSeen seen;
    answerErrorBox(seen, d.model());
    f.ComboEngine->lineEdit()->setFocus();
    QTest::keyClick(f.ComboEngine->lineEdit(), Qt::Key_X);

    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.text, QStringLiteral("non enumerated engine type."));
    EXPECT_EQ(seen.title, QStringLiteral("Velmora"));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, 1);
    EXPECT_GT(seen.rpmWhenClosed, seen.rpmWhenShown);

    // The model kept its engine and the program carries on.
    EXPECT_EQ(f.ComboEngine->ItemIndex(), -1);
    EXPECT_EQ(d.model().Engine, engine);
    f.Timer1->stop();
    const double rpm = d.model().EngineRpm;
    d.tick();
    EXPECT_GT(d.model().EngineRpm, rpm);

    // Choosing the same entry from the list again restores its text.
    emit f.ComboEngine->activated(0);
    EXPECT_EQ(f.ComboEngine->ItemIndex(), 0);
    EXPECT_EQ(f.ComboEngine->Text(), f.ComboEngine->itemText(0));

    // Choosing another entry is accepted.
    f.ComboEngine->setFocus();
    QTest::keyClick(f.ComboEngine, Qt::Key_Down);
    EXPECT_EQ(f.ComboEngine->ItemIndex(), 1);
    EXPECT_EQ(d.model().Engine.Code, "SD25");
}

TEST(FormErrors, EachListReportsItsOwnTable)
{
    FormDriver d;
    TForm1 &f = d.form();
    const struct {
        TComboBox *list;
        const char *message;
    } lists[] = {
        {f.ComboFinalRatio, "non enumerated final drive ratio."},
        {f.ComboTyreSize, "non enumerated tyre size."},
        {f.ComboKerbWeight, "non enumerated kerb weight encountered."},
    };
    for (const auto &l : lists) {
        SCOPED_TRACE(l.message);
        const double ratio = d.model().FinalDriveRatio, tyre = d.model().TyreDiameter,
                     weight = d.model().UnladenWeight;
        BoxSeen seen;
        answerErrorBox(seen, d.model());
        l.list->lineEdit()->setFocus();
        QTest::keyClick(l.list->lineEdit(), Qt::Key_Delete);
        ASSERT_TRUE(seen.shown);
        EXPECT_EQ(seen.text, QLatin1String(l.message));
        EXPECT_EQ(d.model().FinalDriveRatio, ratio);
        EXPECT_EQ(d.model().TyreDiameter, tyre);
        EXPECT_EQ(d.model().UnladenWeight, weight);
    }
}

} // namespace
