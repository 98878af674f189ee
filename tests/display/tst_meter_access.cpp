// The dial gauge tells a screen reader when its needle moves: one
// value-change event per change of the value it reads, none otherwise.

#include "widgets/display/Meter.h"
#include "widgets/display/MeterAccessible.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QSignalSpy>
#include <QtGui/private/qguiapplication_p.h>
#include <gtest/gtest.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <functional>
#include <vector>

namespace
{

// Accessibility on, as while a screen reader runs, with every event the
// gauges send collected.
struct ValueEvents {
    static inline std::vector<std::pair<QObject *, QVariant>> seen;

    ValueEvents()
    {
        seen.clear();
        QAccessible::installUpdateHandler(&ValueEvents::handle);
        active(true);
    }
    ~ValueEvents()
    {
        active(false);
        QAccessible::installUpdateHandler(nullptr);
    }
    static void active(bool on)
    {
        if (QPlatformAccessibility *a =
                QGuiApplicationPrivate::platformIntegration()->accessibility())
            a->setActive(on);
    }
    static void handle(QAccessibleEvent *e)
    {
        if (e->type() == QAccessible::ValueChanged)
            seen.emplace_back(e->object(),
                              static_cast<QAccessibleValueChangeEvent *>(e)->value());
    }
};

struct Gauge {
    TMeter m;
    Gauge()
    {
        m.setCaption(QStringLiteral("rpm"));
        m.setMeterMaxValue(5000);
        m.setMeterDecPlaces(0);
        m.setValue(2000);
        QAccessible::queryAccessibleInterface(&m); // a reader has found it
    }
};

struct SettleCase {
    const char *what;
    std::function<void(TMeter &)> change;
    int events;          // value-change events after the event loop ran
    double announced;    // the value the last one carries
};

class MeterValueEvents : public ::testing::TestWithParam<SettleCase>
{
};

TEST_P(MeterValueEvents, OnePerChangeOfTheReadValue)
{
    const SettleCase &c = GetParam();
    Gauge g;
    ValueEvents events;
    c.change(g.m);
    QCoreApplication::processEvents();
    ASSERT_EQ(int(ValueEvents::seen.size()), c.events) << c.what;
    if (c.events) {
        EXPECT_EQ(ValueEvents::seen.back().first, &g.m);
        EXPECT_DOUBLE_EQ(ValueEvents::seen.back().second.toDouble(), c.announced);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Changes, MeterValueEvents,
    ::testing::Values(
        SettleCase{"a new value", [](TMeter &m) { m.setValue(2500); }, 1, 2500},
        SettleCase{"the same value", [](TMeter &m) { m.setValue(2000); }, 0, 0},
        SettleCase{"a move the scale does not show", [](TMeter &m) { m.setValue(2000.2); }, 0, 0},
        SettleCase{"several moves before the loop runs: one event, the last value",
                   [](TMeter &m) {
                       m.setValue(2100);
                       m.setValue(2200);
                       m.setValue(2300);
                   },
                   1, 2300},
        SettleCase{"moved and back again before the loop runs",
                   [](TMeter &m) {
                       m.setValue(2100);
                       m.setValue(2000);
                   },
                   0, 0},
        SettleCase{"past the end: the needle stops there",
                   [](TMeter &m) {
                       m.setValue(9000);
                       m.setValue(9500);
                   },
                   1, 5000},
        SettleCase{"a smaller scale that clamps the needle",
                   [](TMeter &m) { m.setMeterMaxValue(1500); }, 1, 1500},
        SettleCase{"a larger scale that leaves it", [](TMeter &m) { m.setMeterMaxValue(8000); },
                   0, 0},
        SettleCase{"the secondary needle", [](TMeter &m) { m.setValueSec(3000); }, 0, 0},
        SettleCase{"a colour", [](TMeter &m) { m.setColorBakG(clNavy); }, 0, 0}));

TEST(MeterValueEvents, NoneWhileNoReaderListensNorWhileLoading)
{
    Gauge g;
    QSignalSpy changed(&g.m, &TMeter::ValueChanged);
    {
        ValueEvents events;
        ValueEvents::active(false); // accessibility off: nothing is sent
        g.m.setValue(3000);
        QCoreApplication::processEvents();
        EXPECT_TRUE(ValueEvents::seen.empty());
    }
    EXPECT_EQ(changed.count(), 1); // the widget still says it changed

    ValueEvents events;
    g.m.beginLoading();
    g.m.setValue(100);
    QCoreApplication::processEvents();
    EXPECT_TRUE(ValueEvents::seen.empty());
    EXPECT_EQ(changed.count(), 1);
    g.m.Loaded();
    // Each later change is heard; a new scale precision is not a move.
    g.m.setMeterDecPlaces(2);
    QCoreApplication::processEvents();
    EXPECT_TRUE(ValueEvents::seen.empty());
    g.m.setValue(100.25);
    QCoreApplication::processEvents();
    ASSERT_EQ(ValueEvents::seen.size(), 1u);
    EXPECT_EQ(MeterValueText(g.m), QStringLiteral("100.25"));
}

} // namespace
