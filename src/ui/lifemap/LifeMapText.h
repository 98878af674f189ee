#pragma once

#include "analysis/LifeCurve.h"

#include <QPointF>
#include <QString>

#include <optional>
#include <vector>

// The life map in words, for a screen reader: where the curve starts and
// ends and where the running truck is on it, e.g. "L10 life from 3,500
// thousand miles at 0 mph down to 6 at 94 mph; now 25 at 70.8 mph".
// `now` is the marker in the shown units (speed, thousands); absent while
// the truck has no life to show.
QString LifeMapDescription(const std::vector<LifeMap::TCurveRun> &runs, bool inMph,
                           bool inMiles, std::optional<QPointF> now);

// The running truck's part of that description: "; now 25 at 70.8 mph".
QString LifeMapNowText(QPointF now, bool inMph);

// A life as it is spoken: whole numbers rounded to two significant figures
// ("3,500", "25", "6"), smaller ones to two significant figures ("0.35").
QString SpokenLife(double thousands);
