#include "widgets/button/oxBtnsAccessible.h"

#include "gfx/AccessibleFactory.h"
#include "widgets/button/oxBtns.h"

#include <QAccessibleWidget>
#include <QPointer>

namespace
{

// The caption's lines as one name, without accelerator marks ("&&" is "&").
QString spokenCaption(ToxCustomGraphicButton &button)
{
    const QString caption = button.Lines().Strings().join(QLatin1Char(' '));
    QString plain;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&'))
                plain += caption[++i];
            continue;
        }
        plain += caption[i];
    }
    return plain.simplified();
}

class ButtonAccessible : public QAccessibleWidget
{
  public:
    explicit ButtonAccessible(ToxCustomGraphicButton *button)
        : QAccessibleWidget(button, QAccessible::Button)
    {
        // Latching and releasing (also when the program releases it) change
        // the checked state a screen reader shows.
        QObject::connect(button, &ToxCustomGraphicButton::OnChange, button, [button] {
            if (!QAccessible::isActive() || button->ButtonType() != ToxButtonType::oxbToggle)
                return;
            QAccessible::State changed;
            changed.checked = true;
            QAccessibleStateChangeEvent event(button, changed);
            QAccessible::updateAccessibility(&event);
        });
    }

    ToxCustomGraphicButton *button() const
    {
        return static_cast<ToxCustomGraphicButton *>(widget());
    }
    bool isToggle() const { return button()->ButtonType() == ToxButtonType::oxbToggle; }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && button()->accessibleName().isEmpty())
            return spokenCaption(*button());
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (isToggle()) {
            s.checkable = true;
            s.checked = button()->Value();
        }
        s.pressed = button()->VisualState() == ToxVisualState::Pressed;
        return s;
    }

    QStringList actionNames() const override
    {
        QStringList names;
        if (button()->isEnabled()) {
            names << pressAction();
            if (isToggle())
                names << toggleAction();
        }
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &actionName) override
    {
        if (!button()->isEnabled())
            return;
        if (actionName == pressAction() || actionName == toggleAction()) {
            // As a click does: a toggle changes its state, then reports the click.
            QPointer<ToxCustomGraphicButton> self(button());
            if (isToggle())
                self->Toggle();
            if (self)
                self->Click();
            return;
        }
        QAccessibleWidget::doAction(actionName);
    }

    QStringList keyBindingsForAction(const QString &actionName) const override
    {
        if (actionName == pressAction() || actionName == toggleAction()) {
            const QKeySequence mnemonic = QKeySequence::mnemonic(button()->Caption());
            if (!mnemonic.isEmpty())
                return {mnemonic.toString(QKeySequence::NativeText)};
        }
        return QAccessibleWidget::keyBindingsForAction(actionName);
    }
};

QAccessibleInterface *buttonFactory(const QString &key, QObject *object)
{
    if (key == QLatin1String("ToxCustomGraphicButton"))
        if (auto *button = qobject_cast<ToxCustomGraphicButton *>(object))
            return new ButtonAccessible(button);
    return nullptr;
}

} // namespace

void InstallButtonAccessibility()
{
    InstallAccessibleFactoryOnce(buttonFactory);
}
