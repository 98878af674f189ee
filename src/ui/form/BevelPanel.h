#pragma once

#include "gfx/Color.h"

#include <QWidget>

// A plain panel: filled with its colour, framed by a raised outer bevel and a
// lowered inner bevel, one pixel each.
class TBevelPanel : public QWidget
{
    Q_OBJECT
  public:
    explicit TBevelPanel(QWidget *parent = nullptr);

    TColor Color() const { return m_color; }
    void setColor(TColor color);

    // The panel's picture, as painted on screen.
    QImage renderImage() const;

  protected:
    void paintEvent(QPaintEvent *e) override;

  private:
    void paintTo(QPainter &p) const;
    TColor m_color = clBtnFace;
};
