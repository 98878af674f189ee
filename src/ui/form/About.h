#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QToolButton;
class TBevelPanel;

// What closing a window does with it.
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

// The About window: a borderless window with the program's title on a top
// panel, a flat "X" that closes it and the help text below. The opener
// creates a fresh one for every showing; closing destroys it.
class TFrmAbout : public QDialog
{
    Q_OBJECT
  public:
    explicit TFrmAbout(QWidget *owner = nullptr);
    ~TFrmAbout() override;

    TBevelPanel *Panel1 = nullptr;
    QLabel *Label1 = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;

    void FormClose(QObject *Sender, TCloseAction &Action);
    void SpeedButton1Click(QObject *Sender);

    // Ending the modal showing any other way (Escape) closes the window too.
    void done(int result) override;

  protected:
    void closeEvent(QCloseEvent *e) override;
};

// The help text shown in the About window.
QString AboutHelpText();
