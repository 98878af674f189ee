#include "widgets/button/oxGradient.h"

#include <QImage>

#include <cmath>

void TGradient::changed()
{
    if (OnChange)
        OnChange();
}

void TGradient::setDirection(std::uint8_t d)
{
    if (d == m_direction)
        return;
    m_direction = d;
    changed();
}

void TGradient::setStartColor(TColor c)
{
    if (c == m_startColor)
        return;
    m_startColor = c;
    FreeTable();
    changed();
}

void TGradient::setEndColor(TColor c)
{
    if (c == m_endColor)
        return;
    m_endColor = c;
    FreeTable();
    changed();
}

void TGradient::setSteps(std::uint8_t steps)
{
    if (steps == m_steps)
        return;
    m_steps = steps;
    FreeTable();
    changed();
}

void TGradient::setReverse(bool r)
{
    if (r == m_reverse)
        return;
    m_reverse = r;
    changed();
}

void TGradient::Prepare()
{
    FreeTable();
    if (m_steps > 0) {
        m_table.assign(std::size_t(m_steps) * 3, 0);
        BuildTable();
    }
}

void TGradient::BuildTable()
{
    const TColor s = ColorToRGB(m_startColor);
    const TColor e = ColorToRGB(m_endColor);
    const int start[3] = {GetRValue(s), GetGValue(s), GetBValue(s)};
    const int end[3] = {GetRValue(e), GetGValue(e), GetBValue(e)};
    m_table.resize(std::size_t(m_steps) * 3);
    for (int i = 0; i < m_steps; ++i)
        for (int k = 0; k < 3; ++k) {
            const double step = std::trunc(double(i) * (start[k] - end[k]) / m_steps);
            m_table[std::size_t(i) * 3 + std::size_t(k)] = std::uint8_t(start[k] - int(step));
        }
}

void TGradient::FreeTable()
{
    m_table.clear();
    m_table.shrink_to_fit();
}

TColor TGradient::ColorAt(int i)
{
    if (!HasTable())
        Prepare();
    if (i < 0 || i >= m_steps)
        throw EInvalidIndex();
    const std::size_t at = std::size_t(i) * 3;
    return RGBColor(m_table[at], m_table[at + 1], m_table[at + 2]);
}

void TGradient::drawBands(QImage &img, const QRect &r, const QRect &clip, bool vertical)
{
    if (!HasTable())
        Prepare();
    if (m_steps == 0 || r.isEmpty())
        return;
    const QRect area = clip.intersected(img.rect());
    const int extent = vertical ? r.height() : r.width();
    const double w = double(extent) / m_steps;
    const int bandSize = int(std::trunc(w + 1));
    for (int i = 0; i < m_steps; ++i) {
        const QRgb px = PlainToRgb(ColorAt(m_reverse ? m_steps - 1 - i : i));
        const int from = int(std::trunc(i * w));
        const QRect band = vertical
            ? QRect(r.left(), r.top() + from, r.width(), bandSize)
            : QRect(r.left() + from, r.top(), bandSize, r.height());
        const QRect part = band.intersected(area);
        for (int y = part.top(); y <= part.bottom(); ++y)
            for (int x = part.left(); x <= part.right(); ++x)
                img.setPixel(x, y, px);
    }
}

void TGradient::DrawHorizontal(QImage &img, const QRect &r)
{
    drawBands(img, r, r, false);
}

void TGradient::DrawVertical(QImage &img, const QRect &r)
{
    // Vertical bands are not clipped: the last may reach one pixel below r.
    drawBands(img, r, img.rect(), true);
}

void TGradient::DrawHorizontalIn(QImage &img, const QRect &r, const QRect &clip)
{
    drawBands(img, r, clip.intersected(r), false);
}

void TGradient::DrawVerticalIn(QImage &img, const QRect &r, const QRect &clip)
{
    drawBands(img, r, clip, true);
}

void TGradient::DrawGradient(QImage &img, const QRect &r)
{
    if (m_direction == 1)
        DrawVertical(img, r);
    else
        DrawHorizontal(img, r);
}
