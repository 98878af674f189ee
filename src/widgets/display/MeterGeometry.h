#pragma once

// The dial gauge's pure maths: where the dial sits, how values map to angles,
// which ticks and labels the scale has, and where the needle's vertices lie.
// Nothing here draws; the paint steps in MeterPaint.cpp use these results.

#include <QPoint>
#include <QString>

#include <array>
#include <vector>

// Sweep of the dial, in the order the window layouts number them.
enum class TMeterLayout { mlCirc90, mlCirc120, mlCirc180, mlCirc270, mlCirc300, mlCirc360 };

// Pivot and scale radius of a dial. cx and cy are pixels, R is real; sweep is
// the scale's angular extent in degrees.
struct TDialGeometry
{
    int cx = 0;
    int cy = 0;
    double R = 0.0;
    double sweep = 0.0;

    double startAngle() const { return sweep / 2 + 90; } // the minimum
    double endAngle() const { return 90 - sweep / 2; }   // the maximum
};

TDialGeometry DialGeometry(TMeterLayout layout, int width, int height, int rimTop, int rimBottom,
                           int rimSide);

// Angle in degrees (counterclockwise from +x) of v on a scale spanning
// [minValue, maxValue]. A degenerate range puts every value at the start.
double ValueToAngle(double sweep, double minValue, double maxValue, double v);

// Point at angle (degrees) and distance d from the pivot, each coordinate
// rounded: the rule for ticks, labels and needle vertices.
QPoint PolarPoint(int cx, int cy, double d, double angleDeg);
// Radial point of an arc or pie: only the offset from the pivot is rounded.
QPoint RadialPoint(int cx, int cy, double d, double angleDeg);

// First major tick, major step (signed like maxValue - minValue) and the
// number of minor subdivisions per major step.
struct TScaleSteps
{
    double first = 0.0;
    double step = 0.0;
    int subdivisions = 1;
};

TScaleSteps ComputeScale(int wantedIntervals, double minValue, double maxValue);

// Scale label: fixed point with decPlaces decimals, '.' whatever the locale,
// no grouping. A value that rounds to zero shows no minus sign.
QString FormatTickLabel(double v, int decPlaces);

// Values of the minor ticks (those not on a major tick and not below the
// minimum) and of the major ticks, in drawing order. Empty when the steps
// cannot end the loop (a zero, negative or non-finite step).
std::vector<double> MinorTickValues(const TScaleSteps &steps, double minValue, double maxValue);
std::vector<double> MajorTickValues(const TScaleSteps &steps, double minValue, double maxValue);

// One sector of the coloured band: pie from `from` to `to` (degrees,
// counterclockwise). `zone` is 0 low, 1 normal, 2 high.
struct TBandSegment
{
    int zone = 0;
    double from = 0.0;
    double to = 0.0;
};

// The band sectors that are drawn, in drawing order: a sector whose two end
// angles coincide (within 1e-6 rad) is left out.
std::vector<TBandSegment> BandSegments(const TDialGeometry &g, double minValue, double maxValue,
                                       double thresholdLow, double thresholdHigh);

// Shape of one needle as the paint needs it.
struct TNeedleShape
{
    int headSize = 20;
    int headAngle = 30;
    int headMidLeng = 20;
    int thickness = 0;
    int percentLength = 100;
};

// The seven polygon vertices of a needle of base length baseLength pointing
// at angleDeg: barb, tip, barb, joint, base, base, joint.
std::array<QPoint, 7> NeedlePolygon(int cx, int cy, double baseLength, double angleDeg,
                                    const TNeedleShape &shape);
