// The application object: its look and its default handler for exceptions
// that leave an event handler. This binary runs under the real
// TApplication, so it has its own main().

#include "app/Application.h"
#include "model/EIBError.h"
#include "gfx/ErrorReport.h"

#include <QAbstractButton>
#include <QLocale>
#include <QMessageBox>
#include <QMouseEvent>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QSettings>
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
    // The program's own folder for its settings, not "Unknown Organization".
    EXPECT_TRUE(QSettings().fileName().endsWith(QStringLiteral("/velmora/velmora.conf")))
        << QSettings().fileName().toStdString();
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
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticked; }, 5000));
}

TEST(Application, AnErrorReportedFromATimerSlotIsShownTheSameWay)
{
    // Controls catch what their timer slots throw and report it here.
    Box box;
    answerBox(box);
    ReportUncaught(std::make_exception_ptr(EIBError("non enumerated engine type")));
    EXPECT_TRUE(box.shown);
    EXPECT_EQ(box.text, QStringLiteral("non enumerated engine type."));
    EXPECT_EQ(box.title, QStringLiteral("Velmora"));
}

struct StyleRequest {
    const char *Name;
    QStringList Arguments;
    QString Override, Expected;
};

void PrintTo(const StyleRequest &r, std::ostream *os)
{
    *os << r.Name;
}

class RequestedStyleTest : public testing::TestWithParam<StyleRequest>
{
};

TEST_P(RequestedStyleTest, CommandLineFirstThenTheEnvironment)
{
    const StyleRequest &r = GetParam();
    EXPECT_EQ(TApplication::RequestedStyle(r.Arguments, r.Override), r.Expected);
}

const QString prog = QStringLiteral("velmora");

INSTANTIATE_TEST_SUITE_P(
    Look, RequestedStyleTest,
    testing::Values(StyleRequest{"Nothing", {prog}, {}, {}},
                    StyleRequest{"OptionAndName", {prog, "-style", "Windows"}, {}, "Windows"},
                    StyleRequest{"OptionWithEquals", {prog, "-style=windows"}, {}, "windows"},
                    StyleRequest{"TwoDashes", {prog, "--style", "Fusion"}, {}, "Fusion"},
                    StyleRequest{"Environment", {prog}, "Windows", "Windows"},
                    StyleRequest{"CommandLineBeatsEnvironment", {prog, "-style", "Fusion"}, "Windows", "Fusion"},
                    StyleRequest{"OptionWithoutName", {prog, "-style"}, {}, {}},
                    StyleRequest{"ProgramNameIsNoOption", {"-style=windows"}, {}, {}}),
    [](const testing::TestParamInfo<StyleRequest> &i) { return std::string(i.param.Name); });

TEST(Application, AnExplicitStyleIsHonouredAndFusionIsTheDefault)
{
    TApplication::ApplyLook(QStringLiteral("Windows"));
    EXPECT_EQ(QApplication::style()->name().toLower(), QStringLiteral("windows"));
    // The style's own colours (the style may polish the rest of the palette).
    for (const QPalette::ColorRole role : {QPalette::Window, QPalette::Button, QPalette::Base})
        EXPECT_EQ(QApplication::palette().color(role),
                  QApplication::style()->standardPalette().color(role));
    TApplication::ApplyLook(QStringLiteral("no such style"));
    EXPECT_EQ(QApplication::style()->name().toLower(), QStringLiteral("fusion"));
    TApplication::ApplyLook(QString());
    EXPECT_EQ(QApplication::style()->name().toLower(), QStringLiteral("fusion"));
    EXPECT_EQ(QApplication::palette(), QApplication::style()->standardPalette());
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
