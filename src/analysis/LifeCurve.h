#pragma once

#include "analysis/OperatingPoint.h"

#include <utility>
#include <vector>

// The arithmetic behind the life map, the duty-cycle table and the report, free of any
// window: unit conversions as the main window makes them, and the curve of
// life against road speed split where the truck stops holding its speed.
namespace LifeMap
{

// Points of the life curve across the speed range of fifth gear.
inline constexpr int CurvePoints = 200;

// The window's conversions with the model's one factor (ModelMath::MilesPerKm):
// km/h = mph / 0.621, miles = km x 0.621.
double SpeedShown(double mph, bool inMph);
double SpeedToMph(double shown, bool inMph);
// A life in km as thousands of miles or of km.
double LifeShown(double lifeKm, bool inMiles);

// Whether a chart with a log life axis can place a point in the shown units:
// both numbers finite and the life above zero.
bool Placeable(double speed, double life);

struct TCurvePoint {
    double Speed = 0; // in the shown unit
    double Life = 0;  // thousands, in the shown unit, times the reliability factor
    bool Holds = false;
};

// Consecutive operating points that have a life and the same Holds. A point
// without a life ends a run and starts no other.
struct TCurveRun {
    bool Holds = false;
    std::vector<TCurvePoint> Points;
};

std::vector<TCurveRun> LifeRuns(const std::vector<TOperatingPoint> &points, bool inMph,
                                bool inMiles, double factor = 1);

// Whole decades enclosing every positive value (a log axis range); {1, 10}
// when there is none.
std::pair<double, double> DecadeRange(const std::vector<double> &values);

} // namespace LifeMap
