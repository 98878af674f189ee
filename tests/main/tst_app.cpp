// The application object: its look and its default handler for exceptions
// that leave an event handler. This binary runs under the real
// TApplication, so it has its own main().

#include "Application.h"
#include "EIBError.h"

#include <QAbstractButton>
#include <QLocale>
#include <QMessageBox>
#include <QMouseEvent>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>

namespace
{

// A widget whose click handler fails, the way a handler meeting a
// selection outside its table does.
class Failing : public QWidget
{
  public:
    int clicks = 0;
    bool throwUnknown = false;

  protected:
    void mousePressEvent(QMouseEvent *) override
    {
        ++clicks;
        if (throwUnknown)
            throw 42;
        throw EIBError("non enumerated tyre size");
    }
};

struct Box {
    bool shown = false;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
};

void answerBox(Box &b)
{
    QTimer::singleShot(0, [&b] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        b.shown = true;
        b.title = box->windowTitle();
        b.text = box->text();
        b.icon = box->icon();
        b.buttons = int(box->buttons().size());
        box->button(QMessageBox::Ok)->click();
    });
}

TEST(Application, SharedLook)
{
    EXPECT_EQ(QApplication::style()->name().toLower(), QStringLiteral("fusion"));
    EXPECT_EQ(QApplication::palette(), QApplication::style()->standardPalette());
    EXPECT_EQ(QFontMetrics(QApplication::font()).height(), 13);
    EXPECT_EQ(QApplication::applicationDisplayName(), QStringLiteral("Velmora"));
}

TEST(Application, ExceptionLeavingAnEventHandlerIsShownAndTheProgramCarriesOn)
{
    Failing w;
    w.resize(50, 50);
    w.show();

    Box first;
    answerBox(first);
    QTest::mouseClick(&w, Qt::LeftButton);
    ASSERT_TRUE(first.shown);
    EXPECT_EQ(first.text, QStringLiteral("non enumerated tyre size."));
    EXPECT_EQ(first.title, QStringLiteral("Velmora"));
    EXPECT_EQ(first.icon, QMessageBox::Critical);
    EXPECT_EQ(first.buttons, 1);

    // The event loop and the widget go on working.
    Box second;
    answerBox(second);
    w.throwUnknown = true;
    QTest::mouseClick(&w, Qt::LeftButton);
    EXPECT_TRUE(second.shown);
    EXPECT_EQ(second.text, QStringLiteral("Unknown error."));
    EXPECT_EQ(w.clicks, 2);
    bool ticked = false;
    QTimer::singleShot(0, [&] { ticked = true; });
    QTest::qWait(50);
    EXPECT_TRUE(ticked);
}

} // namespace

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    TApplication app(argc, argv);
    QLocale::setDefault(QLocale::c());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
