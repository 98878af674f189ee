#include "ui/form/About.h"

#include "ui/form/BevelPanel.h"
#include "gfx/Font.h"
#include "ui/form/WindowFont.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

TFrmAbout::TFrmAbout(QWidget *owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(QStringLiteral("FrmAbout"));
    setFont(WindowFont());
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ColorToQColor(clBtnFace));
    setPalette(pal);
    setGeometry(279, 136, 725, 368);

    // The panel sticks to the top edge; the memo takes the rest.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel1 = new TBevelPanel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(41);
    Panel1->setColor(clBtnFace);
    layout->addWidget(Panel1);

    Label1 = new QLabel(Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(TFont(QStringLiteral("MS Sans Serif"), -13, TFontStyle::fsBold).toQFont());
    Label1->setText(QStringLiteral(
        "Gearbox Input Bearing Load and Lifetime Calculator for Harwick  Series Trucks"));
    Label1->setGeometry(16, 13, 562, 16);
    Label1->adjustSize(); // an auto-sized caption: as wide as its text
    Label1->move(16, 13);

    SpeedButton1 = new QToolButton(Panel1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("X"));
    SpeedButton1->setAutoRaise(true); // flat until the mouse is over it
    SpeedButton1->setFocusPolicy(Qt::NoFocus);
    SpeedButton1->setFont(
        TFont(QStringLiteral("MS Sans Serif"), -11, TFontStyle::fsBold).toQFont());
    SpeedButton1->setGeometry(656, 11, 23, 22);
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(SpeedButton1); });

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setReadOnly(false);
    Memo1->setPlainText(AboutHelpText());
    layout->addWidget(Memo1, 1);

    setTabOrder(Panel1, Memo1);
    Memo1->setFocus();
}

TFrmAbout::~TFrmAbout() = default;

void TFrmAbout::FormClose(QObject *, TCloseAction &Action)
{
    Action = TCloseAction::caFree;
}

void TFrmAbout::SpeedButton1Click(QObject *)
{
    close();
}

void TFrmAbout::closeEvent(QCloseEvent *e)
{
    TCloseAction action = TCloseAction::caHide;
    FormClose(this, action);
    switch (action) {
    case TCloseAction::caNone:
        e->ignore();
        return;
    case TCloseAction::caFree:
        // Destroyed once the modal showing has ended.
        setAttribute(Qt::WA_DeleteOnClose, true);
        break;
    case TCloseAction::caHide:
    case TCloseAction::caMinimize:
        break;
    }
    QDialog::closeEvent(e);
}

void TFrmAbout::done(int result)
{
    QDialog::done(result);
    if (testAttribute(Qt::WA_DeleteOnClose))
        return; // closed through close(): already on its way out
    TCloseAction action = TCloseAction::caHide;
    FormClose(this, action);
    if (action == TCloseAction::caFree)
        deleteLater();
}
