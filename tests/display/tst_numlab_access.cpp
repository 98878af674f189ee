// The readout and the dial gauge as assistive technology sees them.

#include "widgets/display/Meter.h"
#include "widgets/display/NumLab.h"
#include "widgets/display/NumLabAccessible.h"

#include <QAccessible>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <ostream>

#include <functional>
#include <vector>

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace
{

TEST(NumLabAccess, ChangedOncePerRealChangeNeverWhileLoading)
{
    TNumLab n;
    QSignalSpy changed(&n, &TNumLab::Changed);
    const std::vector<std::pair<const char *, std::function<void()>>> setters = {
        {"Value", [&] { n.setValue(61.34); }},
        {"Empty", [&] { n.setEmpty(true); }},
        {"RightText", [&] { n.setRightText(QStringLiteral("kph")); }},
        {"Precision", [&] { n.setPrecision(3); }},
        {"ColorLabBakG", [&] { n.setColorLabBakG(clRed); }},
        {"ColorScheme", [&] { n.setColorScheme(TColorScheme::csSystem); }},
        {"Font", [&] { n.setFont(TFont(QStringLiteral("MS Sans Serif"), -11, TFontStyle::fsBold)); }},
    };
    for (const auto &[name, set] : setters) {
        const qsizetype before = changed.count();
        set();
        EXPECT_EQ(changed.count(), before + 1) << name;
        set();
        EXPECT_EQ(changed.count(), before + 1) << name << " told of the same value";
    }
    TNumLab other;
    other.setValue(5);
    const qsizetype before = changed.count();
    n.Assign(other);
    EXPECT_EQ(changed.count(), before + 1);

    TNumLab loading;
    QSignalSpy quiet(&loading, &TNumLab::Changed);
    loading.beginLoading();
    loading.setValue(3);
    loading.setRightText(QStringLiteral("lbf"));
    loading.Loaded();
    EXPECT_EQ(quiet.count(), 0);
}

TEST(NumLabAccess, NameIsTheCaptionValueIsTheShownTextWithItsUnit)
{
    const struct {
        const char *left, *right;
        TDisplay type;
        double value;
        bool empty;
        const char *name, *shown;
    } rows[] = {
        {"Radial Load   P", "lbf", TDisplay::dtFixP, 12.346, false, "Radial Load P", "12.35 lbf"},
        {"Life  [10%]", "000miles", TDisplay::dtInt, 152.4, false, "Life [10%]", "152 000miles"},
        {"C/P", "", TDisplay::dtFixP, 3.2, false, "C/P", "3.20"},
        {"", "rpm", TDisplay::dtInt, 2000, false, "rpm", "2000 rpm"}, // no caption: the unit
        {"Power", "hp", TDisplay::dtFixP, 95, true, "Power", ""},     // empty: no value
        {"Force", "lbf", TDisplay::dtFixP, 1e12, false, "Force", "********* lbf"}, // as shown
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.name);
        TNumLab n;
        n.setOverflowIndicator(QStringLiteral("*********"));
        n.setLeftText(QLatin1String(r.left));
        n.setRightText(QLatin1String(r.right));
        n.setDisplayType(r.type);
        n.setValue(r.value);
        n.setEmpty(r.empty);
        EXPECT_EQ(NumLabCaption(n), QLatin1String(r.name));
        EXPECT_EQ(NumLabValueWithUnit(n), QLatin1String(r.shown));
        QAccessibleInterface *i = QAccessible::queryAccessibleInterface(&n);
        ASSERT_NE(i, nullptr);
        EXPECT_EQ(i->role(), QAccessible::StaticText);
        EXPECT_EQ(i->text(QAccessible::Name), QLatin1String(r.name));
        EXPECT_EQ(i->text(QAccessible::Value), QLatin1String(r.shown));
    }
    TNumLab named;
    named.setLeftText(QStringLiteral("Speed"));
    named.setAccessibleName(QStringLiteral("Road speed"));
    EXPECT_EQ(NumLabCaption(named), QStringLiteral("Road speed"));
}

TEST(MeterAccess, ADialWhoseValueIsTheNeedleWithinTheScale)
{
    TMeter m;
    m.setCaption(QStringLiteral("rpm"));
    m.setMeterMaxValue(5000);
    m.setMeterDecPlaces(0);
    m.setValue(2345.6);
    QAccessibleInterface *i = QAccessible::queryAccessibleInterface(&m);
    ASSERT_NE(i, nullptr);
    EXPECT_EQ(i->role(), QAccessible::Dial);
    EXPECT_EQ(i->text(QAccessible::Name), QStringLiteral("rpm"));
    EXPECT_EQ(i->text(QAccessible::Value), QStringLiteral("2346"));
    ASSERT_NE(i->valueInterface(), nullptr);
    EXPECT_DOUBLE_EQ(i->valueInterface()->currentValue().toDouble(), 2345.6);
    EXPECT_DOUBLE_EQ(i->valueInterface()->maximumValue().toDouble(), 5000.0);
    m.setMeterDecPlaces(1);
    EXPECT_EQ(i->text(QAccessible::Value), QStringLiteral("2345.6"));
    m.setValue(9000); // the needle stops at the end of the scale
    EXPECT_DOUBLE_EQ(i->valueInterface()->currentValue().toDouble(), 5000.0);
    EXPECT_TRUE(i->state().readOnly);
}

} // namespace
