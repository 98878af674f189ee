#pragma once

#include "gfx/ControlAlign.h"

#include <QImage>
#include <QWidget>

// Base of the self-painting, windowless controls (readout, dial gauge, graphic
// button). A control builds its whole picture into an off-screen image of its
// own size through paintTo(); paintEvent only copies that image, so a paint is
// one operation and tests can render without a window or an event loop.
class TGraphicControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(TAlign Align READ Align WRITE setAlign)
    Q_PROPERTY(TAnchors Anchors READ Anchors WRITE setAnchors)
public:
    explicit TGraphicControl(QWidget *parent = nullptr);
    ~TGraphicControl() override;

    // Layout loading: setters may only store while loading; Loaded() ends it.
    void beginLoading();
    void Loaded();
    bool isLoading() const { return m_loading; }

    // False only when the control was hidden on purpose (setVisible(false));
    // a control whose window is not on screen yet still counts as visible.
    bool Visible() const;

    // Docking in the parent (follows the parent's size), and the parent edges
    // an undocked control keeps its distance to. Default: alNone, left|top.
    TAlign Align() const { return m_align; }
    void setAlign(TAlign align);
    TAnchors Anchors() const { return m_anchors; }
    void setAnchors(TAnchors anchors);

    // Builds the picture now and returns it (also kept for paintEvent).
    QImage render();
    // The same picture built for a screen of `ratio` device pixels per pixel:
    // an image of the device size with that device pixel ratio, whose shapes
    // are the picture's pixels grown to blocks and whose text is drawn at the
    // device resolution. At ratio 1 it is render().
    QImage renderAt(qreal ratio);
    // The picture of the last render (null before the first).
    const QImage &lastImage() const { return m_image; }
    // How many times the picture was built; tests use it to prove a setter
    // given the current value did not paint again.
    int renderCount() const { return m_renderCount; }

Q_SIGNALS:
    // The mouse events every windowless control publishes; X and Y are in the
    // control's own coordinates.
    void OnClick(QObject *Sender);
    void OnDblClick(QObject *Sender);
    void OnMouseDown(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                     int Y);
    void OnMouseUp(QObject *Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                   int Y);
    void OnMouseMove(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y);

protected:
    // Draw the whole control into img (already sized to the control, filled
    // with the parent's background colour).
    virtual void paintTo(QImage &img) = 0;
    // End-of-loading hook for subclasses; runs after the loading flag is cleared.
    virtual void loaded() {}
    // Repaint at once: re-render synchronously (when visible and not loading)
    // and schedule the copy to the screen of the pixels that changed.
    void repaintNow();

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // Press, move and release report themselves; a left release inside is a
    // click; a double click is reported and then counts as a second press.
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watchParent();
    void applyAlign();

    QImage m_image;
    QImage m_deviceImage; // the last renderAt() at a ratio other than 1
    QImage m_shown;       // what the screen holds, once painted whole (null: unknown)
    TAlign m_align = TAlign::alNone;
    TAnchors m_anchors = TAnchorKind::akLeft | TAnchorKind::akTop;
    QWidget *m_watched = nullptr;
    int m_renderCount = 0;
    bool m_loading = false;
    bool m_stale = true;
};
