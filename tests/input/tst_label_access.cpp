// Edits, spin edits and captions as assistive technology sees them.

#include "widgets/input/ESBPCSAccessible.h"
#include "widgets/input/ESBPCSLabel.h"
#include "widgets/input/ESBPCSNumEdit.h"
#include "widgets/input/ESBPCSSpinEdit.h"

#include <QAccessible>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace
{

TEST(LabelAccess, PlainCaptionDropsAcceleratorsAndExtraBlanks)
{
    const std::pair<const char *, const char *> rows[] = {
        {"&Load (lbs)", "Load (lbs)"},
        {"Drag && Lift", "Drag & Lift"},
        {"Dynamic Load Rating (lbf)  Cr", "Dynamic Load Rating (lbf) Cr"},
        {" Gas &Pedal ", "Gas Pedal"},
        {"trailing &", "trailing"},
        {"", ""},
    };
    for (const auto &[caption, plain] : rows)
        EXPECT_EQ(PlainCaption(QLatin1String(caption)), QLatin1String(plain)) << caption;
}

bool labelledBy(QObject *control, QObject *caption)
{
    for (const auto &[other, rel] : QAccessible::queryAccessibleInterface(control)->relations(
             QAccessible::Label))
        if (rel == QAccessible::Label && other->object() == caption)
            return true;
    return false;
}

struct Rig {
    std::unique_ptr<QWidget> parent = std::make_unique<QWidget>();
    TESBPosFloatEdit *edit = new TESBPosFloatEdit(parent.get());
    TESBFloatSpinEdit *spin = new TESBFloatSpinEdit(parent.get());
    TESBPCSLabel *editCaption = new TESBPCSLabel(parent.get());
    TESBPCSLabel *spinCaption = new TESBPCSLabel(parent.get());
    Rig()
    {
        editCaption->setCaption(QStringLiteral("&Drag Coef"));
        editCaption->setAttachToControl(edit);
        spinCaption->setCaption(QStringLiteral("Load (lbs)"));
        spinCaption->setAttachToControl(spin);
    }
};

TEST(LabelAccess, AnEditIsNamedAndLabelledByItsAttachedCaption)
{
    Rig r;
    QAccessibleInterface *edit = QAccessible::queryAccessibleInterface(r.edit);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->role(), QAccessible::EditableText);
    EXPECT_EQ(edit->text(QAccessible::Name), QStringLiteral("Drag Coef"));
    EXPECT_TRUE(labelledBy(r.edit, r.editCaption));
    EXPECT_FALSE(labelledBy(r.edit, r.spinCaption));

    QAccessibleInterface *caption = QAccessible::queryAccessibleInterface(r.editCaption);
    EXPECT_EQ(caption->role(), QAccessible::StaticText);
    EXPECT_EQ(caption->text(QAccessible::Name), QStringLiteral("Drag Coef"));
    const auto labelled = caption->relations(QAccessible::Labelled);
    ASSERT_EQ(labelled.size(), 1);
    EXPECT_EQ(labelled[0].first->object(), r.edit);

    // The caption follows its text; without accelerators a "&" is literal.
    r.editCaption->setShowAccelChar(false);
    r.editCaption->setCaption(QStringLiteral("Drag & Lift"));
    EXPECT_EQ(edit->text(QAccessible::Name), QStringLiteral("Drag & Lift"));
    // An accessible name set on purpose wins.
    r.edit->setAccessibleName(QStringLiteral("Drag coefficient"));
    EXPECT_EQ(edit->text(QAccessible::Name), QStringLiteral("Drag coefficient"));
    // Detached, the edit has no caption any more.
    r.editCaption->setAttachToControl(nullptr);
    EXPECT_FALSE(labelledBy(r.edit, r.editCaption));
}

TEST(LabelAccess, ASpinEditAndItsEditorShareTheCaption)
{
    Rig r;
    r.spin->setMax(3000);
    r.spin->setStep(50);
    r.spin->setValue(150);
    QAccessibleInterface *spin = QAccessible::queryAccessibleInterface(r.spin);
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->role(), QAccessible::SpinBox);
    EXPECT_EQ(spin->text(QAccessible::Name), QStringLiteral("Load (lbs)"));
    EXPECT_TRUE(labelledBy(r.spin, r.spinCaption));
    ASSERT_NE(spin->valueInterface(), nullptr);
    EXPECT_DOUBLE_EQ(spin->valueInterface()->currentValue().toDouble(), 150.0);
    EXPECT_DOUBLE_EQ(spin->valueInterface()->minimumStepSize().toDouble(), 50.0);
    spin->valueInterface()->setCurrentValue(-20.0); // clamped like typing would be
    EXPECT_EQ(double(r.spin->Value()), 0.0);

    // The editor takes the focus; a screen reader names it by the same caption.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(r.spin->editor())->text(QAccessible::Name),
              QStringLiteral("Load (lbs)"));
    EXPECT_EQ(AttachedCaption(r.spin->editor()), r.spinCaption);
    // A plain edit does not borrow its parent's caption.
    QWidget holder;
    auto *inner = new TESBPosFloatEdit(&holder);
    EXPECT_EQ(AttachedCaption(inner), nullptr);
}

} // namespace
