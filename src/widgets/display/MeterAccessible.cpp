#include "widgets/display/MeterAccessible.h"

#include "widgets/display/Meter.h"

#include <QAccessibleWidget>

#include <memory>

QString MeterValueText(const TMeter &meter)
{
    // As precise as the scale's labels.
    return QString::number(meter.Value(), 'f', meter.MeterDecPlaces());
}

namespace
{

class MeterAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
  public:
    explicit MeterAccessible(TMeter *meter) : QAccessibleWidget(meter, QAccessible::Dial)
    {
        announceChanges(meter);
    }

    const TMeter &meter() const { return *static_cast<const TMeter *>(widget()); }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return meter().accessibleName().isEmpty() ? meter().Caption().simplified()
                                                      : meter().accessibleName();
        case QAccessible::Value:
            return MeterValueText(meter());
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        return s;
    }

    QVariant currentValue() const override { return meter().Value(); }
    // A gauge only shows; nobody sets its needle from outside.
    void setCurrentValue(const QVariant &) override {}
    QVariant maximumValue() const override { return meter().MeterMaxValue(); }
    QVariant minimumValue() const override { return meter().MeterMinValue(); }
    QVariant minimumStepSize() const override { return 0.0; }

  private:
    // One value-change event per change a listener can hear: the needle's
    // value as the scale shows it. The check waits for the event loop, so a
    // tick that sets the value more than once says it once; a move too small
    // to change the shown value says nothing.
    static void announceChanges(TMeter *meter)
    {
        struct Announced {
            QString text;
            bool pending = false;
        };
        auto last = std::make_shared<Announced>(Announced{MeterValueText(*meter)});
        QObject::connect(meter, &TMeter::ValueChanged, meter, [meter, last] {
            if (last->pending || !QAccessible::isActive())
                return;
            last->pending = true;
            QMetaObject::invokeMethod(
                meter,
                [meter, last] {
                    last->pending = false;
                    QString now = MeterValueText(*meter);
                    if (now == last->text || !QAccessible::isActive())
                        return;
                    last->text = std::move(now);
                    QAccessibleValueChangeEvent event(meter, meter->Value());
                    QAccessible::updateAccessibility(&event);
                },
                Qt::QueuedConnection);
        });
    }
};

} // namespace

QAccessibleInterface *NewMeterAccessible(TMeter *meter)
{
    return new MeterAccessible(meter);
}
