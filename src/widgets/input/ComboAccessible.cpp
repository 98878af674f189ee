#include "widgets/input/ComboAccessible.h"

#include "widgets/input/ESBPCSAccessible.h"
#include "widgets/input/ESBPCSLabel.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

using Relations = QList<QPair<QAccessibleInterface *, QAccessible::Relation>>;

namespace
{

// The QLabel whose buddy is the list, among the widgets of its window.
QLabel *buddyLabel(const QWidget *combo)
{
    const QWidget *window = combo->window();
    for (QLabel *label : window->findChildren<QLabel *>())
        if (label->buddy() == combo)
            return label;
    return nullptr;
}

// A drop-down list as a screen reader meets it: a combo box named by the
// caption that labels it, whose value is the entry shown. (The toolkit's own
// interface names a list by its value on this platform, so a reader says
// "H190 manual 3.889, combo box" and never what the list is for.)
class ComboAccessible : public QAccessibleWidget
{
  public:
    explicit ComboAccessible(QComboBox *combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QComboBox *combo() const { return static_cast<QComboBox *>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return ComboName(*combo());
        case QAccessible::Value:
            return combo()->isEditable() ? combo()->lineEdit()->text() : combo()->currentText();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = combo()->view()->isVisible();
        s.editable = combo()->isEditable();
        return s;
    }

    Relations relations(QAccessible::Relation match) const override
    {
        Relations rels = QAccessibleWidget::relations(match);
        if (!(match & QAccessible::Label))
            return rels;
        QObject *caption = AttachedCaption(combo());
        if (!caption)
            caption = buddyLabel(combo());
        if (caption)
            if (QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(caption))
                if (!rels.contains({iface, QAccessible::Label}))
                    rels.append({iface, QAccessible::Label});
        return rels;
    }

    // Children: the list of entries, then the edit field of an editable list.
    int childCount() const override { return combo()->isEditable() ? 2 : 1; }
    QAccessibleInterface *child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(combo()->view());
        if (index == 1 && combo()->isEditable())
            return QAccessible::queryAccessibleInterface(combo()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        if (child->object() == combo()->view())
            return 0;
        if (combo()->isEditable() && child->object() == combo()->lineEdit())
            return 1;
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        if (combo()->isEditable() && combo()->lineEdit()->rect().contains(
                                         combo()->lineEdit()->mapFromGlobal(QPoint(x, y))))
            return child(1);
        return nullptr;
    }
    // The edit field is where the caret is, though the list holds the focus.
    QAccessibleInterface *focusChild() const override
    {
        return combo()->isEditable() ? child(1) : nullptr;
    }

    // ---- actions: open the list (Alt+Down), close it
    QStringList actionNames() const override
    {
        return {showMenuAction(), pressAction()};
    }
    QString localizedActionDescription(const QString &action) const override
    {
        if (action == showMenuAction() || action == pressAction())
            return QComboBox::tr("Open the combo box selection popup");
        return {};
    }
    void doAction(const QString &action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return;
        if (combo()->view()->isVisible())
            combo()->hidePopup();
        else
            combo()->showPopup();
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }
};

} // namespace

QString ComboName(const QComboBox &combo)
{
    if (!combo.accessibleName().isEmpty())
        return combo.accessibleName();
    if (const TESBCustomLabel *caption = AttachedCaption(&combo))
        return caption->ShowAccelChar() ? PlainCaption(caption->Caption())
                                        : caption->Caption().simplified();
    if (const QLabel *label = buddyLabel(&combo))
        return PlainCaption(label->text());
    return {};
}

QAccessibleInterface *NewComboAccessible(QComboBox *combo)
{
    return new ComboAccessible(combo);
}
