#include "GraphicControl.h"

#include <QPaintEvent>
#include <QPainter>

TGraphicControl::TGraphicControl(QWidget *parent) : QWidget(parent) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::beginLoading()
{
    m_loading = true;
}

void TGraphicControl::Loaded()
{
    m_loading = false;
    loaded();
}

bool TGraphicControl::Visible() const
{
    return !(testAttribute(Qt::WA_WState_ExplicitShowHide) && testAttribute(Qt::WA_WState_Hidden));
}

QImage TGraphicControl::render()
{
    QImage img(qMax(width(), 0), qMax(height(), 0), QImage::Format_RGB32);
    if (!img.isNull()) {
        img.fill(palette().color(backgroundRole()));
        paintTo(img);
    }
    ++m_renderCount;
    m_image = img;
    m_stale = false;
    return m_image;
}

void TGraphicControl::repaintNow()
{
    if (m_loading)
        return;
    if (!Visible()) {
        // Hidden on purpose: draw nothing now, build at the next paint.
        m_stale = true;
        return;
    }
    render();
    update();
}

void TGraphicControl::paintEvent(QPaintEvent *)
{
    if (m_stale || m_image.size() != size())
        render();
    QPainter p(this);
    p.drawImage(0, 0, m_image);
}

void TGraphicControl::resizeEvent(QResizeEvent *event)
{
    m_stale = true;
    QWidget::resizeEvent(event);
}
