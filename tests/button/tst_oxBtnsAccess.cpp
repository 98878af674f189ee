// The graphic button as assistive technology sees it.

#include "ButtonTestSupport.h"

#include <QAccessible>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace
{

TEST(ButtonAccess, AToggleIsCheckableAndItsPressActionClicks)
{
    TestButton b;
    b.setButtonType(ToxButtonType::oxbToggle);
    b.setGroupAllowNoSel(true);
    b.setCaption(QStringLiteral("&Boost"));
    QAccessibleInterface *i = QAccessible::queryAccessibleInterface(&b);
    ASSERT_NE(i, nullptr);
    EXPECT_EQ(i->role(), QAccessible::Button);
    EXPECT_EQ(i->text(QAccessible::Name), QStringLiteral("Boost"));
    EXPECT_TRUE(i->state().checkable);
    EXPECT_FALSE(i->state().checked);
    ASSERT_NE(i->actionInterface(), nullptr);
    EXPECT_EQ(i->actionInterface()->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
              QStringList{QKeySequence(Qt::ALT | Qt::Key_B).toString(QKeySequence::NativeText)});

    QSignalSpy clicks(&b, &ToxCustomGraphicButton::OnClick);
    i->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(b.Value());
    EXPECT_TRUE(i->state().checked);
    EXPECT_EQ(clicks.count(), 1);
    i->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_FALSE(b.Value());
    EXPECT_EQ(clicks.count(), 2);

    // Disabled: no actions, and asking anyway does nothing.
    b.setEnabled(false);
    EXPECT_FALSE(i->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::pressAction()));
    i->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(b.Value());
    EXPECT_EQ(clicks.count(), 2);
}

TEST(ButtonAccess, ACommandButtonOnlyClicks)
{
    TestButton b;
    b.setCaption(QStringLiteral("Two||Lines"));
    QAccessibleInterface *i = QAccessible::queryAccessibleInterface(&b);
    EXPECT_EQ(i->text(QAccessible::Name), QStringLiteral("Two Lines"));
    EXPECT_FALSE(i->state().checkable);
    const QStringList actions = i->actionInterface()->actionNames();
    EXPECT_TRUE(actions.contains(QAccessibleActionInterface::pressAction()));
    EXPECT_FALSE(actions.contains(QAccessibleActionInterface::toggleAction()));
    QSignalSpy clicks(&b, &ToxCustomGraphicButton::OnClick);
    i->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(b.Value());
}

} // namespace
