#include "gfx/GraphicControl.h"

#include "gfx/Canvas.h"
#include "gfx/ImageDiff.h"

#include <QMouseEvent>

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

TGraphicControl::TGraphicControl(QWidget *parent) : QWidget(parent)
{
    // paintEvent copies a picture that covers the whole control: what lies
    // under it need not be painted first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

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
    m_deviceImage = QImage();
    m_stale = false;
    return m_image;
}

QImage TGraphicControl::renderAt(qreal ratio)
{
    if (ratio == 1 || !(ratio > 0))
        return render();
    const QColor background = palette().color(backgroundRole());
    QImage img(qMax(width(), 0), qMax(height(), 0), QImage::Format_RGB32);
    QImage device(qRound(img.width() * ratio), qRound(img.height() * ratio), QImage::Format_RGB32);
    device.setDevicePixelRatio(ratio);
    if (!img.isNull()) {
        img.fill(background);
        device.fill(background);
        const TDeviceImageScope scope(&img, &device);
        paintTo(img);
    }
    ++m_renderCount;
    m_image = img;
    m_deviceImage = device;
    m_stale = false;
    return m_deviceImage;
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
    const qreal ratio = devicePixelRatioF();
    renderAt(ratio);
    if (ratio != 1 || m_shown.isNull()) {
        m_shown = ratio != 1 ? QImage() : m_image;
        update();
        return;
    }
    // Only the pixels that differ from what the screen shows go to it: a
    // readout whose digits did not change costs no paint at all.
    const QRect changed = ChangedRect(m_shown, m_image);
    m_shown = m_image;
    if (!changed.isEmpty())
        update(changed);
}

void TGraphicControl::paintEvent(QPaintEvent *event)
{
    // At a ratio other than 1 the device picture is copied pixel for pixel.
    const qreal ratio = devicePixelRatioF();
    const bool device = ratio != 1;
    if (m_stale || m_image.size() != size() || device == m_deviceImage.isNull()
        || (device && m_deviceImage.devicePixelRatio() != ratio))
        renderAt(ratio);
    QPainter p(this);
    if (device) {
        p.drawImage(0, 0, m_deviceImage);
        m_shown = QImage();
        return;
    }
    for (const QRect &r : event->region())
        p.drawImage(r.topLeft(), m_image, r);
    // What the screen holds now: the picture, when the whole control was
    // painted; otherwise unknown, and the next change repaints it whole.
    if (m_shown.cacheKey() != m_image.cacheKey())
        m_shown = (QRegion(rect()) - event->region()).isEmpty() ? m_image : QImage();
}

void TGraphicControl::resizeEvent(QResizeEvent *event)
{
    m_stale = true;
    QWidget::resizeEvent(event);
}

void TGraphicControl::setAlign(TAlign align)
{
    if (align == m_align)
        return;
    m_align = align;
    watchParent();
    applyAlign();
}

void TGraphicControl::setAnchors(TAnchors anchors)
{
    m_anchors = anchors;
    watchParent();
}

void TGraphicControl::watchParent()
{
    QWidget *p = parentWidget();
    if (p == m_watched)
        return;
    if (m_watched)
        m_watched->removeEventFilter(this);
    m_watched = p;
    if (m_watched)
        m_watched->installEventFilter(this);
}

void TGraphicControl::applyAlign()
{
    if (m_align != TAlign::alNone && parentWidget())
        setGeometry(AlignedBounds(m_align, geometry(), parentWidget()->size()));
}

bool TGraphicControl::event(QEvent *event)
{
    if (event->type() == QEvent::ParentChange) {
        watchParent();
        applyAlign();
    }
    return QWidget::event(event);
}

bool TGraphicControl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_watched && event->type() == QEvent::Resize) {
        const auto *re = static_cast<QResizeEvent *>(event);
        if (m_align != TAlign::alNone)
            applyAlign();
        else if (re->oldSize().isValid())
            setGeometry(AnchoredBounds(m_anchors, geometry(), re->oldSize(), re->size()));
    }
    return QWidget::eventFilter(watched, event);
}

void TGraphicControl::mousePressEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    Q_EMIT OnMouseDown(this, event->button(), event->modifiers(), p.x(), p.y());
}

void TGraphicControl::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    Q_EMIT OnMouseUp(this, event->button(), event->modifiers(), p.x(), p.y());
    if (event->button() == Qt::LeftButton && rect().contains(p))
        Q_EMIT OnClick(this);
}

void TGraphicControl::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    Q_EMIT OnMouseMove(this, event->modifiers(), p.x(), p.y());
}

void TGraphicControl::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT OnDblClick(this);
    mousePressEvent(event);
}
