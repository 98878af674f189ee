#include "widgets/display/NumLabAccessible.h"

#include "gfx/AccessibleFactory.h"
#include "widgets/display/Meter.h"
#include "widgets/display/MeterAccessible.h"
#include "widgets/display/NumLab.h"

#include <QAccessibleWidget>

#include <algorithm>
#include <memory>

QString NumLabCaption(const TNumLab &readout)
{
    if (!readout.accessibleName().isEmpty())
        return readout.accessibleName();
    const QString caption = readout.LeftText().simplified();
    return caption.isEmpty() ? readout.RightText().simplified() : caption;
}

QString NumLabValueWithUnit(const TNumLab &readout)
{
    const QString shown = readout.ShownText();
    if (shown.isEmpty())
        return {};
    const QString unit = readout.RightText().simplified();
    return unit.isEmpty() ? shown : shown + QLatin1Char(' ') + unit;
}

namespace
{

// The readout: static text named by its caption. Its text (and value) is
// the number with its unit, so a screen reader reads "59.0 mph".
class NumLabAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
  public:
    explicit NumLabAccessible(TNumLab *readout)
        : QAccessibleWidget(readout, QAccessible::StaticText)
    {
        announceChanges(readout);
    }

    const TNumLab &readout() const { return *static_cast<const TNumLab *>(widget()); }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return NumLabCaption(readout());
        case QAccessible::Value:
            return NumLabValueWithUnit(readout());
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

    // ---- text: the value with its unit, read-only
    QString text(int start, int end) const override
    {
        const QString all = NumLabValueWithUnit(readout());
        start = std::clamp(start, 0, int(all.size()));
        end = std::clamp(end, start, int(all.size()));
        return all.mid(start, end - start);
    }
    int characterCount() const override { return int(NumLabValueWithUnit(readout()).size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    int selectionCount() const override { return 0; }
    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QString attributes(int offset, int *start, int *end) const override
    {
        *start = *end = offset;
        return {};
    }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    QRect characterRect(int) const override { return {}; }
    void scrollToSubstring(int, int) override {}

  private:
    // Announces the new text once per change of what the readout shows. The
    // check waits for the event loop, so the several setters of one update
    // (unit and value) make one announcement; a change of colour alone, or
    // a value that formats the same, says nothing.
    static void announceChanges(TNumLab *readout)
    {
        struct Announced {
            QString text;
            bool pending = false;
        };
        auto last = std::make_shared<Announced>(Announced{NumLabValueWithUnit(*readout)});
        QObject::connect(readout, &TNumLab::Changed, readout, [readout, last] {
            if (last->pending || !QAccessible::isActive())
                return;
            last->pending = true;
            QMetaObject::invokeMethod(
                readout,
                [readout, last] {
                    last->pending = false;
                    QString now = NumLabValueWithUnit(*readout);
                    if (now == last->text || !QAccessible::isActive())
                        return;
                    QAccessibleTextUpdateEvent event(readout, 0, last->text, now);
                    last->text = std::move(now);
                    QAccessible::updateAccessibility(&event);
                },
                Qt::QueuedConnection);
        });
    }
};

QAccessibleInterface *displayFactory(const QString &key, QObject *object)
{
    if (key == QLatin1String("TNumLab"))
        if (auto *readout = qobject_cast<TNumLab *>(object))
            return new NumLabAccessible(readout);
    if (key == QLatin1String("TMeter"))
        if (auto *meter = qobject_cast<TMeter *>(object))
            return NewMeterAccessible(meter);
    return nullptr;
}

} // namespace

void InstallDisplayAccessibility()
{
    InstallAccessibleFactoryOnce(displayFactory);
}
