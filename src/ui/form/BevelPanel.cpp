#include "ui/form/BevelPanel.h"

#include <QImage>
#include <QPainter>

TBevelPanel::TBevelPanel(QWidget *parent) : QWidget(parent) {}

void TBevelPanel::setColor(TColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void TBevelPanel::paintTo(QPainter &p) const
{
    const QRect r = rect();
    p.fillRect(r, ColorToQColor(m_color));
    const QColor light = ColorToQColor(clBtnHighlight);
    const QColor shadow = ColorToQColor(clBtnShadow);
    // One bevel: top and left edges in `topLeft`, bottom and right in `bottomRight`.
    auto bevel = [&](QRect b, const QColor &topLeft, const QColor &bottomRight) {
        if (b.width() < 2 || b.height() < 2)
            return;
        p.setPen(topLeft);
        p.drawLine(b.left(), b.top(), b.right() - 1, b.top());
        p.drawLine(b.left(), b.top(), b.left(), b.bottom() - 1);
        p.setPen(bottomRight);
        p.drawLine(b.left(), b.bottom(), b.right(), b.bottom());
        p.drawLine(b.right(), b.top(), b.right(), b.bottom());
    };
    bevel(r, light, shadow);
    bevel(r.adjusted(1, 1, -1, -1), shadow, light);
}

QImage TBevelPanel::renderImage() const
{
    QImage img(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    QPainter p(&img);
    paintTo(p);
    return img;
}

void TBevelPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    paintTo(p);
}
