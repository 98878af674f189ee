#pragma once

#include "analysis/RouteDuty.h"

#include <QLocale>
#include <QString>

// The words the duty window puts beside a list that came from a recorded route.

// One line: distance, moving time, climb, pieces, points dropped and standing
// slices; miles and feet with `inMiles`, else km and metres.
QString RouteSummaryText(const TRouteSummary &route, bool inMiles, const QLocale &locale);

// A number of trips to three significant figures with the locale's grouping
// ("2,540"); one decimal under ten.
QString TripsNumber(double trips, const QLocale &locale);

// "≈ 2,540 trips of this route" for the L10 life; at any other reliability
// than 90 % followed by the trips it allows (" (L10); ≈ 1,120 at 99 %").
QString TripsText(double tripsL10, double reliabilityPct, double a1, const QLocale &locale);
