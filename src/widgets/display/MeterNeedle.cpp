#include "widgets/display/MeterNeedle.h"

#include <algorithm>

TNeedleLayout::TNeedleLayout(QObject *parent) : QObject(parent) {}

template<typename T> void TNeedleLayout::change(T &field, T value)
{
    if (field == value)
        return;
    field = value;
    Q_EMIT OnChange(this);
}

void TNeedleLayout::setHeadSize(int v) { change(m_headSize, v); }
void TNeedleLayout::setHeadAngle(int v) { change(m_headAngle, std::clamp(v, 0, 180)); }
void TNeedleLayout::setHeadMidLeng(int v) { change(m_headMidLeng, v); }
void TNeedleLayout::setThickness(int v) { change(m_thickness, v); }
void TNeedleLayout::setColorBody(TColor v) { change(m_colorBody, v); }
void TNeedleLayout::setColorOutline(TColor v) { change(m_colorOutline, v); }
void TNeedleLayout::setPercentNeedleLength(int v) { change(m_percentNeedleLength, std::clamp(v, 0, 100)); }
void TNeedleLayout::setShadowDx(int v) { change(m_shadowDx, v); }
void TNeedleLayout::setShadowDy(int v) { change(m_shadowDy, v); }
void TNeedleLayout::setShadowColor(TColor v) { change(m_shadowColor, v); }
void TNeedleLayout::setVisible(bool v) { change(m_visible, v); }

void TNeedleLayout::Assign(const TNeedleLayout &source)
{
    m_headSize = source.m_headSize;
    m_headAngle = source.m_headAngle;
    m_headMidLeng = source.m_headMidLeng;
    m_thickness = source.m_thickness;
    m_colorBody = source.m_colorBody;
    m_colorOutline = source.m_colorOutline;
    m_percentNeedleLength = source.m_percentNeedleLength;
    m_shadowDx = source.m_shadowDx;
    m_shadowDy = source.m_shadowDy;
    m_shadowColor = source.m_shadowColor;
    m_visible = source.m_visible;
}

TNeedleShape TNeedleLayout::shape() const
{
    return {m_headSize, m_headAngle, m_headMidLeng, m_thickness, m_percentNeedleLength};
}
