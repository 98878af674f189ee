#include "StdControls.h"

#include <QLineEdit>
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
