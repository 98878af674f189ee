#include "widgets/display/MeterAccessible.h"

#include "widgets/display/Meter.h"

#include <QAccessibleWidget>

namespace
{

class MeterAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
  public:
    explicit MeterAccessible(TMeter *meter) : QAccessibleWidget(meter, QAccessible::Dial) {}

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
            // As precise as the scale's labels.
            return QString::number(meter().Value(), 'f', meter().MeterDecPlaces());
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
};

} // namespace

QAccessibleInterface *NewMeterAccessible(TMeter *meter)
{
    return new MeterAccessible(meter);
}
