#pragma once

#include "gfx/Color.h"

#include <QRect>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <vector>

class QImage;

// Raised by TGradient::ColorAt for a band outside the table.
class EInvalidIndex : public std::out_of_range
{
public:
    EInvalidIndex() : std::out_of_range("Index out of range") {}
};

// Colour bands from StartColor toward EndColor. The table of band colours is
// built on first use and dropped whenever a colour or the band count changes.
class TGradient
{
public:
    TGradient() = default;
    virtual ~TGradient() = default;

    std::uint8_t Direction() const { return m_direction; } // 0 horizontal, 1 vertical
    void setDirection(std::uint8_t d);
    TColor StartColor() const { return m_startColor; }
    void setStartColor(TColor c);
    TColor EndColor() const { return m_endColor; }
    void setEndColor(TColor c);
    std::uint8_t Steps() const { return m_steps; }
    void setSteps(std::uint8_t steps);
    bool Reverse() const { return m_reverse; }
    void setReverse(bool r);

    // Fired after every change.
    std::function<void()> OnChange;

    bool HasTable() const { return !m_table.empty(); }
    // Plain colour of band i; throws EInvalidIndex when i >= Steps.
    TColor ColorAt(int i);

    virtual void Prepare();
    virtual void BuildTable();
    virtual void FreeTable();
    virtual void DrawVertical(QImage &img, const QRect &r);
    virtual void DrawHorizontal(QImage &img, const QRect &r);
    virtual void DrawVerticalIn(QImage &img, const QRect &r, const QRect &clip);
    virtual void DrawHorizontalIn(QImage &img, const QRect &r, const QRect &clip);
    void DrawGradient(QImage &img, const QRect &r);

private:
    void changed();
    void drawBands(QImage &img, const QRect &r, const QRect &clip, bool vertical);

    std::uint8_t m_direction = 0;
    TColor m_endColor = 0;
    TColor m_startColor = 0xFFFFFF;
    std::uint8_t m_steps = 128;
    bool m_reverse = false;
    std::vector<std::uint8_t> m_table; // Steps RGB triples
};
