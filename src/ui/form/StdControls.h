#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QStringList>

class QRadioButton;

// The editable drop-down selection list of the window. Like the platform's
// list, typing into its edit field leaves it with no entry selected
// (ItemIndex -1), and OnChange reports both a choice from the list and typing;
// selecting from code (setItemIndex) reports nothing.
class TComboBox : public QComboBox
{
    Q_OBJECT
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE setItemIndex)
    Q_PROPERTY(QString Text READ Text WRITE setText)
  public:
    explicit TComboBox(QWidget *parent = nullptr);

    int ItemIndex() const { return m_itemIndex; }
    void setItemIndex(int index);
    QString Text() const;
    void setText(const QString &text);

  Q_SIGNALS:
    void OnChange(QObject *Sender);

  private:
    void showTextStart();
    int m_itemIndex = -1;
};

// Radio buttons of one group take one place in the tab cycle: the checked
// one is the tab stop, the others take focus only by click or arrow keys.
void KeepCheckedRadioAsTabStop(QRadioButton *button);

// A group box drawn the classic way: an etched frame whose top line runs
// through the middle of the title, the title on the window colour, and an
// interior that is the window colour itself, so controls on it show no
// patches.
class TGroupBox : public QGroupBox
{
    Q_OBJECT
  public:
    using QGroupBox::QGroupBox;

    // The row of the frame's top (dark) line.
    int frameTop() const;
    // Where the title's text is drawn.
    QRect titleRect() const;

  protected:
    void paintEvent(QPaintEvent *event) override;
};
