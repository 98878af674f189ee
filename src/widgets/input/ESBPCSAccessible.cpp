#include "widgets/input/ESBPCSAccessible.h"

#include "gfx/AccessibleFactory.h"
#include "widgets/input/ComboAccessible.h"
#include "widgets/input/ESBPCSBaseEdit.h"
#include "widgets/input/ESBPCSLabel.h"
#include "widgets/input/ESBPCSSpinEdit.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>

#include <algorithm>
#include <exception>

using Relations = QList<QPair<QAccessibleInterface *, QAccessible::Relation>>;

TESBCustomLabel *AttachedCaption(const QWidget *control)
{
    for (const QWidget *w = control; w; w = w->parentWidget()) {
        if (const QWidget *parent = w->parentWidget()) {
            for (QObject *o : parent->children()) {
                auto *label = qobject_cast<TESBCustomLabel *>(o);
                if (label && (label->AttachToControl() == w || label->FocusControl() == w))
                    return label;
            }
        }
        // Only an editor inside a spin edit borrows the caption of its panel.
        if (w != control || !qobject_cast<TESBFloatSpinEdit *>(w->parentWidget()))
            break;
    }
    return nullptr;
}

QString PlainCaption(const QString &caption)
{
    QString plain;
    plain.reserve(caption.size());
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

namespace
{

QString captionName(const QWidget *control)
{
    if (!control->accessibleName().isEmpty())
        return control->accessibleName();
    const TESBCustomLabel *label = AttachedCaption(control);
    if (!label)
        return {};
    return label->ShowAccelChar() ? PlainCaption(label->Caption()) : label->Caption().simplified();
}

void addCaptionRelation(const QWidget *control, QAccessible::Relation match, Relations &rels)
{
    if (!(match & QAccessible::Label))
        return;
    if (TESBCustomLabel *label = AttachedCaption(control))
        if (QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(label))
            rels.append({iface, QAccessible::Label});
}

// A single-line numeric edit: editable text named by its caption. The text
// interface lets a screen reader follow the caret and the selection; text
// changes reach it only through typing, which the edit checks.
class EditAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
  public:
    explicit EditAccessible(QLineEdit *edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}

    QLineEdit *edit() const { return static_cast<QLineEdit *>(widget()); }

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
            return captionName(edit());
        case QAccessible::Value:
            return edit()->text();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = !edit()->isReadOnly();
        s.readOnly = edit()->isReadOnly();
        s.selectableText = true;
        return s;
    }

    Relations relations(QAccessible::Relation match) const override
    {
        Relations rels = QAccessibleWidget::relations(match);
        addCaptionRelation(edit(), match, rels);
        return rels;
    }

    // ---- text
    QString text(int start, int end) const override
    {
        const QString all = edit()->text();
        start = std::clamp(start, 0, int(all.size()));
        end = std::clamp(end, start, int(all.size()));
        return all.mid(start, end - start);
    }
    int characterCount() const override { return int(edit()->text().size()); }
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(position); }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void selection(int index, int *start, int *end) const override
    {
        *start = *end = 0;
        if (index == 0 && edit()->hasSelectedText()) {
            *start = edit()->selectionStart();
            *end = edit()->selectionEnd();
        }
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override
    {
        if (index == 0)
            edit()->deselect();
    }
    void setSelection(int, int start, int end) override
    {
        edit()->setSelection(start, end - start);
    }
    QString attributes(int offset, int *start, int *end) const override
    {
        *start = *end = offset;
        return {};
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        return edit()->cursorPositionAt(edit()->mapFromGlobal(point));
    }
    QRect characterRect(int offset) const override
    {
        // From the caret's rectangle, moved by the advance of the text
        // between the caret and the character.
        const QString all = edit()->text();
        if (offset < 0 || offset >= all.size())
            return {};
        const QFontMetrics fm(edit()->font());
        const QRect caret = edit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int x = caret.x() + fm.horizontalAdvance(all.left(offset)) -
                      fm.horizontalAdvance(all.left(edit()->cursorPosition()));
        const QRect r(x, caret.y(), fm.horizontalAdvance(all[offset]), caret.height());
        return QRect(edit()->mapToGlobal(r.topLeft()), r.size());
    }
    void scrollToSubstring(int start, int end) override
    {
        edit()->setCursorPosition(end);
        edit()->setCursorPosition(start);
    }
};

// The spin edit: a spin box named by its caption, with the number as its
// value; its editor and arrow buttons are its children.
class SpinEditAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
  public:
    explicit SpinEditAccessible(TESBFloatSpinEdit *spin)
        : QAccessibleWidget(spin, QAccessible::SpinBox)
    {
    }

    TESBFloatSpinEdit *spin() const { return static_cast<TESBFloatSpinEdit *>(widget()); }

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
            return captionName(spin());
        case QAccessible::Value:
            return spin()->Text();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    Relations relations(QAccessible::Relation match) const override
    {
        Relations rels = QAccessibleWidget::relations(match);
        addCaptionRelation(spin(), match, rels);
        return rels;
    }

    // The number the editor holds, inside the range; reading it corrects
    // nothing on screen.
    QVariant currentValue() const override
    {
        try {
            const double v = double(spin()->editor()->AsFloat());
            return v == 0 ? v : std::clamp(v, double(spin()->Min()), double(spin()->Max()));
        } catch (const std::exception &) {
            return {}; // text that is no number (when conversion errors are raised)
        }
    }
    void setCurrentValue(const QVariant &value) override
    {
        if (!spin()->ReadOnly() && value.canConvert<double>())
            spin()->setValue(value.toDouble());
    }
    QVariant maximumValue() const override { return double(spin()->Max()); }
    QVariant minimumValue() const override { return double(spin()->Min()); }
    QVariant minimumStepSize() const override { return double(spin()->Step()); }
};

// The caption: static text that labels its control.
class CaptionAccessible : public QAccessibleWidget
{
  public:
    explicit CaptionAccessible(TESBCustomLabel *label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {
    }

    TESBCustomLabel *label() const { return static_cast<TESBCustomLabel *>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && label()->accessibleName().isEmpty())
            return label()->ShowAccelChar() ? PlainCaption(label()->Caption())
                                            : label()->Caption().simplified();
        return QAccessibleWidget::text(t);
    }

    Relations relations(QAccessible::Relation match) const override
    {
        Relations rels = QAccessibleWidget::relations(match);
        if (match & QAccessible::Labelled) {
            QWidget *control =
                label()->AttachToControl() ? label()->AttachToControl() : label()->FocusControl();
            if (QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control))
                rels.append({iface, QAccessible::Labelled});
        }
        return rels;
    }
};

QAccessibleInterface *inputFactory(const QString &key, QObject *object)
{
    if (key == QLatin1String("TESBCustomEdit"))
        if (auto *edit = qobject_cast<TESBCustomEdit *>(object))
            return new EditAccessible(edit);
    if (key == QLatin1String("TESBFloatSpinEdit"))
        if (auto *spin = qobject_cast<TESBFloatSpinEdit *>(object))
            return new SpinEditAccessible(spin);
    if (key == QLatin1String("TESBCustomLabel"))
        if (auto *label = qobject_cast<TESBCustomLabel *>(object))
            return new CaptionAccessible(label);
    // Every drop-down list of the program, the toolkit's own included.
    if (key == QLatin1String("QComboBox"))
        if (auto *combo = qobject_cast<QComboBox *>(object))
            return NewComboAccessible(combo);
    return nullptr;
}

} // namespace

void InstallInputAccessibility()
{
    InstallAccessibleFactoryOnce(inputFactory);
}
