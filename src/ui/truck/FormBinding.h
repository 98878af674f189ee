#pragma once

#include <QObject>

class TForm1;
class TTruckSession;

// Keeps the main window and the truck session in step. When the user changes
// an input, that one value goes to the session as the model now holds it (a
// list's value as the row chosen); once per tick the running truck goes to
// the session. A truck the session loads is put into the window's controls
// as if typed, and every value keeps its precision while its text is not
// edited. It must go before the window and the session do.
class TFormBinding : public QObject
{
    Q_OBJECT
  public:
    TFormBinding(TForm1 *form, TTruckSession *session, QObject *parent = nullptr);
    ~TFormBinding() override;

  private:
    void bindInputs();
    void takeLoadedTruck();
    void takeRunning();

    TForm1 *m_form;
    TTruckSession *m_session;
    bool m_applying = false;
};
