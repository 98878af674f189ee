#pragma once

#include "analysis/LifeCurve.h"

#include <QPointF>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

class QPainter;
class QRectF;

// The life map as the report draws it: L10 life against road speed in fifth
// gear on a log life axis, the stretches where the truck cannot hold its speed
// dashed, the curve at a chosen reliability beside it and the operating point
// as a dot. Values are in the truck's units.
struct TLifeMapPicture {
    bool Mph = true;
    bool Miles = true;
    double ReliabilityPct = 90;
    std::vector<LifeMap::TCurveRun> L10;
    std::vector<LifeMap::TCurveRun> Adjusted; // empty at 90 %
    std::optional<QPointF> Point;             // speed, life: absent without a life in fifth
    std::pair<double, double> Speeds{0, 1};   // the speed axis
    std::pair<double, double> Lives{1, 10};   // the life axis, whole decades

    bool HasCurve() const { return !L10.empty(); }
};

TLifeMapPicture LifeMapPictureOf(const TTruck &truck, double reliabilityPct,
                                 const TOperatingPoint &point);

// Round ticks for a linear axis: a step of 1, 2 or 5 times a power of ten
// needing at most eight intervals, and the range widened to whole steps.
struct TAxisTicks {
    double From = 0;
    double To = 1;
    double Step = 1;
};
TAxisTicks NiceTicks(double lo, double hi);

// Draws the picture into `box` with `pt` device units to a point; the chart's
// texts are real text in `fontFamily`.
void PaintLifeMap(QPainter &painter, const QRectF &box, const TLifeMapPicture &picture, double pt,
                  const QString &fontFamily);
