// What a screen reader finds in the real window, asked through Qt's
// accessibility interfaces.

#include "ui/support/FormFixture.h"

#include "widgets/input/ESBPCSLabel.h"
#include "widgets/input/ESBPCSNumEdit.h"
#include "widgets/input/ESBPCSSpinEdit.h"
#include "widgets/display/Meter.h"
#include "widgets/display/NumLab.h"
#include "ui/form/StdControls.h"
#include "widgets/button/oxBtns.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QAbstractItemView>
#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QtGui/private/qguiapplication_p.h>
#include <gtest/gtest.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <vector>

namespace
{

QAccessibleInterface *iface(QObject *o)
{
    QAccessibleInterface *i = QAccessible::queryAccessibleInterface(o);
    EXPECT_NE(i, nullptr) << o->objectName().toStdString();
    return i;
}

QString name(QObject *o)
{
    return iface(o)->text(QAccessible::Name);
}
QString value(QObject *o)
{
    return iface(o)->text(QAccessible::Value);
}

bool related(QObject *from, QObject *to, QAccessible::Relation rel)
{
    for (const auto &[other, r] : iface(from)->relations(rel))
        if (r == rel && other->object() == to)
            return true;
    return false;
}

// Accessibility on, as when a screen reader runs: only then does Qt pass
// events on.
void setAccessibilityActive(bool on)
{
    if (QPlatformAccessibility *a = QGuiApplicationPrivate::platformIntegration()->accessibility())
        a->setActive(on);
}

// The accessibility events the window sends while a test listens.
struct Listener {
    static inline std::vector<std::pair<QObject *, QAccessible::Event>> events;
    static inline std::vector<std::pair<QObject *, QString>> inserted;

    Listener()
    {
        events.clear();
        inserted.clear();
        QAccessible::installUpdateHandler(&Listener::handle);
        setAccessibilityActive(true);
    }
    ~Listener()
    {
        setAccessibilityActive(false);
        QAccessible::installUpdateHandler(nullptr);
    }
    static void handle(QAccessibleEvent *e)
    {
        events.emplace_back(e->object(), e->type());
        if (e->type() == QAccessible::TextUpdated)
            inserted.emplace_back(e->object(),
                                  static_cast<QAccessibleTextUpdateEvent *>(e)->textInserted());
    }
    static QString lastInserted(QObject *o)
    {
        for (auto it = inserted.rbegin(); it != inserted.rend(); ++it)
            if (it->first == o)
                return it->second;
        return QStringLiteral("(none)");
    }
    static int count(QObject *o, QAccessible::Event type)
    {
        int n = 0;
        for (const auto &[obj, t] : events)
            n += obj == o && t == type;
        return n;
    }
};

class FormAccess : public ::testing::Test
{
  protected:
    FormDriver driver;
    TForm1 &f = driver.form();
};

TEST_F(FormAccess, ReadoutsAreStaticTextNamedByCaptionWithValueAndUnit)
{
    driver.driveTo(60);
    const struct {
        TNumLab *readout;
        const char *name;
        const char *unit;
    } rows[] = {
        {f.NumLabRpm, "Engine speed", "rpm"},
        {f.NumLabPower, "Power", "hp"},
        {f.NumLabTorque, "Torque", "ft.lb"},
        {f.NumLabSpeed, "Speed", "mph"},
        {f.NumLabResistance, "Resistance", "lbf"},
        {f.NumLabForceAvailable, "Force Available", "lbf"},
        {f.NUmLabIPBRadialForce, "Radial Load P", "lbf"},
        {f.NumLabCOnP, "C/P", nullptr},
        {f.NumLabIPBLife10, "Life [10%]", "000miles"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        QAccessibleInterface *i = iface(row.readout);
        EXPECT_EQ(i->role(), QAccessible::StaticText);
        EXPECT_TRUE(i->state().readOnly);
        EXPECT_EQ(name(row.readout), QLatin1String(row.name));
        const QString shown = row.readout->ShownText();
        ASSERT_FALSE(shown.isEmpty());
        const QString expected =
            row.unit ? shown + QLatin1Char(' ') + QLatin1String(row.unit) : shown;
        EXPECT_EQ(value(row.readout), expected);
        // The text a screen reader reads is the same.
        ASSERT_NE(i->textInterface(), nullptr);
        EXPECT_EQ(i->textInterface()->text(0, i->textInterface()->characterCount()), expected);
    }
    EXPECT_TRUE(value(f.NumLabSpeed).endsWith(QLatin1String(" mph")));

    // Empty readouts have no value; the unit follows the window's units.
    FormDriver::click(f.RBFourth);
    driver.tick();
    EXPECT_EQ(value(f.NUmLabIPBRadialForce), QString());
    EXPECT_EQ(value(f.NumLabIPBLife10), QString());
    EXPECT_EQ(iface(f.NumLabIPBLife10)->textInterface()->characterCount(), 0);
    FormDriver::click(f.CBMph);
    EXPECT_EQ(value(f.NumLabSpeed), f.NumLabSpeed->ShownText() + QLatin1String(" kph"));
}

TEST_F(FormAccess, GaugesAreDialsNamedByCaptionWithTheNeedleValue)
{
    driver.driveTo(40);
    for (TMeter *m : {f.MeterSpeed, f.MeterRpm}) {
        SCOPED_TRACE(m->objectName().toStdString());
        QAccessibleInterface *i = iface(m);
        EXPECT_EQ(i->role(), QAccessible::Dial);
        EXPECT_EQ(name(m), m->Caption());
        ASSERT_NE(i->valueInterface(), nullptr);
        EXPECT_DOUBLE_EQ(i->valueInterface()->currentValue().toDouble(), m->Value());
        EXPECT_DOUBLE_EQ(i->valueInterface()->minimumValue().toDouble(), 0.0);
        EXPECT_DOUBLE_EQ(i->valueInterface()->maximumValue().toDouble(), m->MeterMaxValue());
        EXPECT_EQ(value(m), QString::number(m->Value(), 'f', 0));
        // A screen reader cannot move the needle.
        i->valueInterface()->setCurrentValue(1.0);
        EXPECT_NE(m->Value(), 1.0);
    }
    EXPECT_EQ(name(f.MeterSpeed), QStringLiteral("mph"));
    EXPECT_EQ(name(f.MeterRpm), QStringLiteral("rpm"));
    EXPECT_GT(f.MeterRpm->Value(), 1000);
}

TEST_F(FormAccess, BoostIsACheckableButtonWhosePressActionClicksIt)
{
    driver.tick();
    QAccessibleInterface *i = iface(f.BtnBoostMe);
    EXPECT_EQ(i->role(), QAccessible::Button);
    EXPECT_EQ(name(f.BtnBoostMe), QStringLiteral("Boost"));
    EXPECT_TRUE(i->state().checkable);
    EXPECT_FALSE(i->state().checked);
    ASSERT_NE(i->actionInterface(), nullptr);
    const QStringList actions = i->actionInterface()->actionNames();
    EXPECT_TRUE(actions.contains(QAccessibleActionInterface::pressAction()));
    EXPECT_TRUE(actions.contains(QAccessibleActionInterface::toggleAction()));

    Listener listen;
    i->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(f.BtnBoostMe->Value());
    EXPECT_TRUE(f.Model().BoostFlag); // the click reached the window's handler
    EXPECT_TRUE(i->state().checked);
    EXPECT_EQ(Listener::count(f.BtnBoostMe, QAccessible::StateChanged), 1);

    // The model lets go above 1000 rpm: unchecked, and said so once more.
    ASSERT_TRUE(driver.tickUntil([&] { return !f.BtnBoostMe->Value(); }));
    EXPECT_FALSE(i->state().checked);
    EXPECT_EQ(Listener::count(f.BtnBoostMe, QAccessible::StateChanged), 2);

    // The other buttons keep Qt's own interfaces.
    EXPECT_EQ(iface(f.BtnAbout)->role(), QAccessible::Button);
    EXPECT_EQ(name(f.BtnAbout), QStringLiteral("About Velmora"));
    EXPECT_EQ(iface(f.RBFifth)->role(), QAccessible::RadioButton);
    EXPECT_TRUE(iface(f.RBFifth)->state().checked);
}

TEST_F(FormAccess, EditsAreNamedByTheirCaptionWhichLabelsThem)
{
    const struct {
        QWidget *edit;
        TESBPCSLabel *caption;
        const char *name;
    } rows[] = {
        {f.EditTransmissionLoss, f.ESBPCSLabel2, "transmission loss"},
        {f.EditOverDriveRatio, f.ESBPCSLabel18, "overdrive ratio"},
        {f.EditPCR, f.ESBPCSLabel8, "PitchCircleRad (in)"},
        {f.EditPressAngle, f.ESBPCSLabel9, "Pressure Angle"},
        {f.EditHelixAngle, f.ESBPCSLabel10, "Helix Angle"},
        {f.EditOverhang, f.ESBPCSLabel11, "Bearing Overhang"},
        {f.EditLoadFactor, f.ESBPCSLabel12, "Load factor"},
        {f.EditRollingResistance, f.ESBPCSLabel4, "Rolling Resistance (lbf)"},
        {f.EditFrontalArea, f.ESBPCSLabel5, "Frontal Area (sqft)"},
        {f.EditDragCoef, f.ESBPCSLabel6, "Drag Coef"},
        {f.EditDynLoadRating, f.ESBPCSLabel13, "Dynamic Load Rating (lbf) Cr"},
        {f.SELoad, f.ESBPCSLabel14, "Load (lbs)"},
        {f.SEGradient, f.ESBPCSLabel15, "Average Gradient"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(name(row.edit), QLatin1String(row.name));
        EXPECT_TRUE(related(row.edit, row.caption, QAccessible::Label));
        EXPECT_TRUE(related(row.caption, row.edit, QAccessible::Labelled));
        EXPECT_EQ(iface(row.caption)->role(), QAccessible::StaticText);
        EXPECT_EQ(name(row.caption), QLatin1String(row.name));
    }
    QAccessibleInterface *edit = iface(f.EditDragCoef);
    EXPECT_EQ(edit->role(), QAccessible::EditableText);
    EXPECT_TRUE(edit->state().editable);
    EXPECT_EQ(value(f.EditDragCoef), f.EditDragCoef->text());
    ASSERT_NE(edit->textInterface(), nullptr);
    EXPECT_EQ(edit->textInterface()->text(0, 99), f.EditDragCoef->text());
    edit->textInterface()->setSelection(0, 1, 3);
    EXPECT_EQ(f.EditDragCoef->selectedText(), f.EditDragCoef->text().mid(1, 2));
    int start = -1, end = -1;
    edit->textInterface()->selection(0, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(1, 3));

    // The spin edits: spin boxes with the number as their value; the editor
    // inside, which takes the focus, is named by the same caption.
    QAccessibleInterface *load = iface(f.SELoad);
    EXPECT_EQ(load->role(), QAccessible::SpinBox);
    ASSERT_NE(load->valueInterface(), nullptr);
    EXPECT_DOUBLE_EQ(load->valueInterface()->currentValue().toDouble(), 50.0);
    EXPECT_DOUBLE_EQ(load->valueInterface()->maximumValue().toDouble(), 3000.0);
    EXPECT_DOUBLE_EQ(load->valueInterface()->minimumStepSize().toDouble(), 50.0);
    load->valueInterface()->setCurrentValue(5000.0); // kept inside the range
    EXPECT_EQ(double(f.SELoad->Value()), 3000.0);
    EXPECT_EQ(name(f.SELoad->editor()), QStringLiteral("Load (lbs)"));
    EXPECT_EQ(name(f.SEGradient->editor()), QStringLiteral("Average Gradient"));

    // The gas pedal takes its name from its caption too.
    EXPECT_EQ(name(f.TBGasPedal), QStringLiteral("Gas Pedal"));
}

TEST_F(FormAccess, AReadoutAnnouncesEachShownChangeOnce)
{
    Listener listen;
    QObject *speed = f.NumLabSpeed;
    iface(speed); // a screen reader has found the readout
    driver.tick();
    driver.boost();
    QCoreApplication::processEvents();
    int expected = Listener::count(speed, QAccessible::TextUpdated);
    QString before = value(speed);
    for (int i = 0; i < 60; ++i) {
        driver.tick();
        QCoreApplication::processEvents(); // announcements wait for the event loop
        if (value(speed) != before)
            ++expected;
        before = value(speed);
        ASSERT_EQ(Listener::count(speed, QAccessible::TextUpdated), expected) << "tick " << i;
    }
    EXPECT_GT(expected, 10);
    EXPECT_EQ(Listener::lastInserted(speed), value(speed));

    // No new text, no announcement: the same value, a colour, a value that
    // rounds to the shown text.
    const int now = Listener::count(speed, QAccessible::TextUpdated);
    f.NumLabSpeed->setValue(f.NumLabSpeed->Value());
    f.NumLabSpeed->setColorLabBakG(clNavy);
    f.NumLabSpeed->setValue(f.NumLabSpeed->Value() + 0.001);
    QCoreApplication::processEvents();
    EXPECT_EQ(Listener::count(speed, QAccessible::TextUpdated), now);
    // A change of unit is one shown change, though unit and value change.
    FormDriver::click(f.CBMph);
    QCoreApplication::processEvents();
    EXPECT_EQ(Listener::count(speed, QAccessible::TextUpdated), now + 1);
    EXPECT_TRUE(Listener::lastInserted(speed).endsWith(QLatin1String(" kph")));
    f.NumLabSpeed->setEmpty(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(Listener::count(speed, QAccessible::TextUpdated), now + 2);
    EXPECT_EQ(Listener::lastInserted(speed), QString());
}

TEST_F(FormAccess, ListsAreNamedAndLabelledByTheirCaptionNotByTheirEntry)
{
    const struct {
        TComboBox *list;
        TESBPCSLabel *caption; // nullptr: named by its group's subject
        const char *name;
    } rows[] = {
        {f.ComboEngine, nullptr, "Engine"},
        {f.ComboFinalRatio, f.ESBPCSLabel1, "final drive gear ratio"},
        {f.ComboTyreSize, f.ESBPCSLabel7, "tyre size"},
        {f.ComboKerbWeight, f.ESBPCSLabel3, "Unladen Weight (lbs)"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        QAccessibleInterface *i = iface(row.list);
        EXPECT_EQ(i->role(), QAccessible::ComboBox);
        EXPECT_EQ(name(row.list), QLatin1String(row.name));
        EXPECT_EQ(value(row.list), row.list->currentText());
        EXPECT_NE(name(row.list), value(row.list));
        if (row.caption) {
            EXPECT_TRUE(related(row.list, row.caption, QAccessible::Label));
            EXPECT_TRUE(related(row.caption, row.list, QAccessible::Labelled));
        }
        // The edit field, where the caret is, goes by the same name; the
        // list's children are its popup and that field.
        ASSERT_EQ(i->childCount(), 2);
        EXPECT_EQ(i->child(1)->object(), row.list->lineEdit());
        EXPECT_EQ(i->indexOfChild(i->child(1)), 1);
        EXPECT_EQ(i->focusChild()->object(), row.list->lineEdit());
        EXPECT_EQ(name(row.list->lineEdit()), QLatin1String(row.name));
        // A new entry changes the value, never the name.
        const int other = (row.list->ItemIndex() + 1) % row.list->count();
        row.list->setItemIndex(other);
        EXPECT_EQ(value(row.list), row.list->itemText(other));
        EXPECT_EQ(name(row.list), QLatin1String(row.name));
    }
    // The press action opens the list and closes it again.
    QAccessibleInterface *tyres = iface(f.ComboTyreSize);
    ASSERT_NE(tyres->actionInterface(), nullptr);
    f.show();
    tyres->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    EXPECT_TRUE(f.ComboTyreSize->view()->isVisible());
    EXPECT_TRUE(tyres->state().expanded);
    tyres->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    EXPECT_FALSE(f.ComboTyreSize->view()->isVisible());
}

// Every control a user can reach with Tab or a click, in a window, has a
// name of its own, and that name is not what the control shows as its value.
void expectEveryFocusableControlNamed(QWidget *window)
{
    int checked = 0;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(window) || !w->isEnabled())
            continue;
        // The list inside a drop-down list is a popup of its own.
        if (w->window() != window)
            continue;
        SCOPED_TRACE(w->metaObject()->className() + std::string(" ") +
                     w->objectName().toStdString());
        QAccessibleInterface *i = QAccessible::queryAccessibleInterface(w);
        ASSERT_NE(i, nullptr);
        const QString n = i->text(QAccessible::Name);
        EXPECT_FALSE(n.trimmed().isEmpty());
        const QString v = i->text(QAccessible::Value);
        if (!v.isEmpty()) {
            EXPECT_NE(n, v);
        }
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST_F(FormAccess, EveryControlThatTakesTheFocusHasANameOfItsOwn)
{
    f.show();
    expectEveryFocusableControlNamed(&f);
    // Also after a choice that makes a list's entry read like a caption.
    f.ComboKerbWeight->setItemIndex(1);
    FormDriver::click(f.CBMph);
    expectEveryFocusableControlNamed(&f);
}

TEST_F(FormAccess, AGaugeAnnouncesEachShownChangeOfItsNeedleOnce)
{
    Listener listen;
    for (TMeter *m : {f.MeterSpeed, f.MeterRpm})
        iface(m); // a screen reader has found the gauges
    driver.tick();
    driver.boost();
    driver.pedal(100);
    QCoreApplication::processEvents();
    int expected[2] = {Listener::count(f.MeterSpeed, QAccessible::ValueChanged),
                       Listener::count(f.MeterRpm, QAccessible::ValueChanged)};
    QString before[2] = {value(f.MeterSpeed), value(f.MeterRpm)};
    for (int t = 0; t < 80; ++t) {
        driver.tick();
        QCoreApplication::processEvents(); // announcements wait for the event loop
        int k = 0;
        for (TMeter *m : {f.MeterSpeed, f.MeterRpm}) {
            if (value(m) != before[k])
                ++expected[k];
            before[k] = value(m);
            ASSERT_EQ(Listener::count(m, QAccessible::ValueChanged), expected[k])
                << m->objectName().toStdString() << " tick " << t;
            ++k;
        }
    }
    EXPECT_GT(expected[1], 20); // the rpm needle moved nearly every tick

    // No new value, no event: the same value, or a move smaller than the
    // scale shows.
    const int now = Listener::count(f.MeterRpm, QAccessible::ValueChanged);
    f.MeterRpm->setValue(f.MeterRpm->Value());
    f.MeterRpm->setValue(f.MeterRpm->Value() + 0.01);
    QCoreApplication::processEvents();
    EXPECT_EQ(Listener::count(f.MeterRpm, QAccessible::ValueChanged), now);
}

} // namespace
