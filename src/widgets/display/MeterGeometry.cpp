#include "widgets/display/MeterGeometry.h"

#include "gfx/Numeric.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kLn10 = 2.302585092994046;
constexpr double kLog10Of2 = 0.3010299956639812;
constexpr double kLog10Of5 = 0.6989700043360189;
constexpr double kDegToRad = std::numbers::pi / 180.0;

// The tick loops never need more than about 2.5 x 21 majors with five minors
// each; the cap only matters for ranges too narrow for a double to step through.
constexpr int kMaxTicks = 10000;

int roundEven(double x)
{
    return static_cast<int>(Round(x));
}

bool usableSteps(const TScaleSteps &s, double minValue, double maxValue)
{
    return std::isfinite(s.first) && std::isfinite(s.step) && s.step > 0 && s.subdivisions > 0
        && std::isfinite(minValue) && std::isfinite(maxValue);
}

} // namespace

TDialGeometry DialGeometry(TMeterLayout layout, int width, int height, int rimTop, int rimBottom,
                           int rimSide)
{
    TDialGeometry g;
    g.cx = width / 2;
    const int halfW = width / 2;
    const int freeH = height - rimTop - rimBottom - 16;
    const double hangFromTop = rimTop + 8;
    switch (layout) {
    case TMeterLayout::mlCirc90:
        g.sweep = 90;
        g.R = std::min<double>(freeH, (width / 2.0 - rimSide - 8) * 1.414);
        g.cy = height - rimBottom - 8;
        break;
    case TMeterLayout::mlCirc120:
        g.sweep = 120;
        g.R = std::min<double>(freeH, (width / 2.0 - rimSide - 8) * 1.1547);
        g.cy = height - rimBottom - 8;
        break;
    case TMeterLayout::mlCirc180:
        g.sweep = 180;
        g.R = std::min(halfW - rimSide - 8, freeH);
        g.cy = height - rimBottom - 8;
        break;
    case TMeterLayout::mlCirc270:
        g.sweep = 270;
        g.R = std::min<double>(halfW - rimSide - 8, freeH / 1.7071);
        g.cy = roundEven(hangFromTop + g.R);
        break;
    case TMeterLayout::mlCirc300:
        g.sweep = 300;
        g.R = std::min<double>(halfW - rimSide - 8, freeH / 1.866);
        g.cy = roundEven(hangFromTop + g.R);
        break;
    case TMeterLayout::mlCirc360:
        g.sweep = 360;
        g.R = std::min<double>(halfW - rimSide - 8, freeH / 2.0);
        g.cy = roundEven(hangFromTop + g.R);
        break;
    }
    return g;
}

double ValueToAngle(double sweep, double minValue, double maxValue, double v)
{
    const double span = maxValue - minValue;
    if (!(span > 0) || !std::isfinite(span) || !std::isfinite(v))
        return sweep / 2 + 90;
    return sweep / 2 + 90 - sweep * (v - minValue) / span;
}

QPoint PolarPoint(int cx, int cy, double d, double angleDeg)
{
    const double a = angleDeg * kDegToRad;
    return {roundEven(cx + d * std::cos(a)), roundEven(cy - d * std::sin(a))};
}

QPoint RadialPoint(int cx, int cy, double d, double angleDeg)
{
    const double a = angleDeg * kDegToRad;
    return {cx + roundEven(d * std::cos(a)), cy - roundEven(d * std::sin(a))};
}

TScaleSteps ComputeScale(int wantedIntervals, double minValue, double maxValue)
{
    TScaleSteps r;
    if (maxValue == minValue || wantedIntervals <= 0) {
        r.first = minValue;
        r.step = 0;
        r.subdivisions = 1;
        return r;
    }
    const double dir = maxValue > minValue ? 1.0 : -1.0;
    double x = std::log(std::fabs(maxValue - minValue) / wantedIntervals) / kLn10;
    if (!std::isfinite(x)) {
        // An infinite or NaN range has no step; the tick loops then draw nothing.
        r.first = minValue;
        r.step = 0;
        return r;
    }
    double f = x - std::trunc(x);
    if (x < 0 && f != 0)
        x -= 1;
    if (f < 0)
        f += 1;
    const double k = std::trunc(x);
    double mantissaLog;
    if (f < kLog10Of2) {
        mantissaLog = 0;
        r.subdivisions = 5;
    } else if (f < kLog10Of5) {
        mantissaLog = kLog10Of2;
        r.subdivisions = 4;
    } else {
        mantissaLog = kLog10Of5;
        r.subdivisions = 5;
    }
    r.step = std::exp(kLn10 * (k + mantissaLog)) * dir;
    r.first = (std::trunc(minValue / r.step) - 1) * r.step;
    const double tolerance = 0.001 * std::fabs(r.step);
    for (int guard = 0; (minValue - r.first) * dir > tolerance && guard < kMaxTicks; ++guard)
        r.first += r.step;
    return r;
}

QString FormatTickLabel(double v, int decPlaces)
{
    QString text = QString::number(v, 'f', std::clamp(decPlaces, 0, 4));
    if (text.startsWith(QLatin1Char('-'))
        && std::all_of(text.begin() + 1, text.end(),
                       [](QChar c) { return c == QLatin1Char('0') || c == QLatin1Char('.'); }))
        text.remove(0, 1);
    return text;
}

std::vector<double> MinorTickValues(const TScaleSteps &steps, double minValue, double maxValue)
{
    std::vector<double> values;
    if (!usableSteps(steps, minValue, maxValue))
        return values;
    const double s = steps.step;
    const double m = s / steps.subdivisions;
    const double start = steps.first - s;
    for (int i = 0; i < kMaxTicks; ++i) {
        const double v = start + i * m;
        // Off a major tick: away from the nearest whole number of steps (a
        // quotient of 2.9999999999999996 is on the major tick at 3).
        const double q = (v - steps.first) / s;
        if (std::fabs(q - std::nearbyint(q)) > 1e-5 && v >= minValue)
            values.push_back(v);
        if (start + (i + 1) * m - maxValue > 0.001 * m)
            break;
    }
    return values;
}

std::vector<double> MajorTickValues(const TScaleSteps &steps, double minValue, double maxValue)
{
    std::vector<double> values;
    if (!usableSteps(steps, minValue, maxValue))
        return values;
    const double s = steps.step;
    for (int i = 0; i < kMaxTicks; ++i) {
        values.push_back(steps.first + i * s);
        if (steps.first + (i + 1) * s - maxValue > 0.001 * s)
            break;
    }
    return values;
}

std::vector<TBandSegment> BandSegments(const TDialGeometry &g, double minValue, double maxValue,
                                       double thresholdLow, double thresholdHigh)
{
    const double aLow = ValueToAngle(g.sweep, minValue, maxValue, thresholdLow);
    const double aHigh = ValueToAngle(g.sweep, minValue, maxValue, thresholdHigh);
    const TBandSegment candidates[] = {
        {0, aLow, g.startAngle()},
        {1, aHigh, aLow},
        {2, g.endAngle(), aHigh},
    };
    std::vector<TBandSegment> drawn;
    for (const TBandSegment &seg : candidates) {
        if (std::fabs(seg.to * kDegToRad - seg.from * kDegToRad) > 1e-6)
            drawn.push_back(seg);
    }
    return drawn;
}

std::array<QPoint, 7> NeedlePolygon(int cx, int cy, double baseLength, double angleDeg,
                                    const TNeedleShape &shape)
{
    const double len = shape.percentLength * baseLength * 0.01;
    const double th = angleDeg * kDegToRad;
    const double c = std::cos(th);
    const double s = std::sin(th);
    const int tx = roundEven(cx + len * c);
    const int ty = roundEven(cy - len * s);
    const double h = shape.headAngle * kDegToRad;
    const double t = shape.thickness / 2.0;
    const double ex = t * s;
    const double ey = t * c;
    const double hs = shape.headSize;
    const double hm = shape.headMidLeng;
    auto pt = [](double x, double y) { return QPoint(roundEven(x), roundEven(y)); };
    return {
        pt(tx - hs * std::cos(th + h / 2), ty + hs * std::sin(th + h / 2)),
        QPoint(tx, ty),
        pt(tx - hs * std::cos(th - h / 2), ty + hs * std::sin(th - h / 2)),
        pt(tx - ex - hm * c, ty - ey + hm * s),
        pt(cx - ex, cy - ey),
        pt(cx + ex, cy + ey),
        pt(tx + ex - hm * c, ty + ey + hm * s),
    };
}
