#include "ui/form/StdControls.h"

#include "gfx/Color.h"

#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>

TComboBox::TComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr); // typing must not pick an entry by itself
    setCurrentIndex(-1);
    connect(this, &QComboBox::activated, this, [this](int index) {
        m_itemIndex = index;
        // Choosing the entry that was current puts back text typed over it.
        if (currentText() != itemText(index))
            setEditText(itemText(index));
        showTextStart();
        emit OnChange(this);
    });
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] {
        m_itemIndex = -1;
        emit OnChange(this);
    });
}

void TComboBox::setItemIndex(int index)
{
    if (index < -1 || index >= count())
        index = -1;
    m_itemIndex = index;
    setCurrentIndex(index);
    if (index >= 0)
        setEditText(itemText(index)); // also when typing had replaced it
    showTextStart();
}

void TComboBox::showTextStart()
{
    // Like the platform's list, show the beginning of a text too long for the field.
    lineEdit()->setCursorPosition(0);
}

QString TComboBox::Text() const
{
    return currentText();
}

void TComboBox::setText(const QString &text)
{
    setEditText(text);
}

void KeepCheckedRadioAsTabStop(QRadioButton *button)
{
    auto follow = [button](bool checked) {
        button->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
    };
    follow(button->isChecked());
    QObject::connect(button, &QRadioButton::toggled, button, follow);
}

int TGroupBox::frameTop() const
{
    return fontMetrics().height() / 2;
}

QRect TGroupBox::titleRect() const
{
    // The title starts 8 pixels in, with a blank pixel either side.
    const QFontMetrics fm = fontMetrics();
    return {8, 0, fm.horizontalAdvance(title()) + 2, fm.height()};
}

void TGroupBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QColor window = palette().color(QPalette::Window);
    p.fillRect(rect(), window);
    // The etched frame: a dark ring with a light ring one pixel down-right.
    const QRect frame(0, frameTop(), width() - 2, height() - frameTop() - 2);
    p.setPen(ColorToQColor(clBtnHighlight));
    p.drawRect(frame.translated(1, 1));
    p.setPen(ColorToQColor(clBtnShadow));
    p.drawRect(frame);
    if (title().isEmpty())
        return;
    const QRect t = titleRect();
    p.fillRect(t, window);
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                             QPalette::WindowText));
    p.drawText(t.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, title());
}
