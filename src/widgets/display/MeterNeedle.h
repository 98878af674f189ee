#pragma once

#include <QObject>

#include "gfx/Color.h"
#include "widgets/display/MeterGeometry.h"

// Shape and colours of one needle of a dial gauge. Owned by its gauge, which
// repaints whenever OnChange fires.
class TNeedleLayout : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int HeadSize READ HeadSize WRITE setHeadSize)
    Q_PROPERTY(int HeadAngle READ HeadAngle WRITE setHeadAngle)
    Q_PROPERTY(int HeadMidLeng READ HeadMidLeng WRITE setHeadMidLeng)
    Q_PROPERTY(int Thickness READ Thickness WRITE setThickness)
    Q_PROPERTY(TColor ColorBody READ ColorBody WRITE setColorBody)
    Q_PROPERTY(TColor ColorOutline READ ColorOutline WRITE setColorOutline)
    Q_PROPERTY(int PercentNeedleLength READ PercentNeedleLength WRITE setPercentNeedleLength)
    Q_PROPERTY(int ShadowDx READ ShadowDx WRITE setShadowDx)
    Q_PROPERTY(int ShadowDy READ ShadowDy WRITE setShadowDy)
    Q_PROPERTY(TColor ShadowColor READ ShadowColor WRITE setShadowColor)
    Q_PROPERTY(bool Visible READ Visible WRITE setVisible)

public:
    explicit TNeedleLayout(QObject *parent = nullptr);

    int HeadSize() const { return m_headSize; }
    int HeadAngle() const { return m_headAngle; }
    int HeadMidLeng() const { return m_headMidLeng; }
    int Thickness() const { return m_thickness; }
    TColor ColorBody() const { return m_colorBody; }
    TColor ColorOutline() const { return m_colorOutline; }
    int PercentNeedleLength() const { return m_percentNeedleLength; }
    int ShadowDx() const { return m_shadowDx; }
    int ShadowDy() const { return m_shadowDy; }
    TColor ShadowColor() const { return m_shadowColor; }
    bool Visible() const { return m_visible; }

    void setHeadSize(int v);
    void setHeadAngle(int v);      // clamped to 0..180
    void setHeadMidLeng(int v);
    void setThickness(int v);
    void setColorBody(TColor v);
    void setColorOutline(TColor v);
    void setPercentNeedleLength(int v); // clamped to 0..100
    void setShadowDx(int v);
    void setShadowDy(int v);
    void setShadowColor(TColor v);
    void setVisible(bool v);

    // Copies every published field without firing OnChange; the caller repaints.
    void Assign(const TNeedleLayout &source);

    TNeedleShape shape() const;

Q_SIGNALS:
    void OnChange(QObject *Sender);

private:
    template<typename T> void change(T &field, T value);

    int m_headSize = 20;
    int m_headAngle = 30;
    int m_headMidLeng = 20;
    int m_thickness = 0;
    TColor m_colorBody = clSilver;
    TColor m_colorOutline = clBlack;
    int m_percentNeedleLength = 100;
    int m_shadowDx = 0;
    int m_shadowDy = 0;
    TColor m_shadowColor = clGray;
    bool m_visible = true;
};
