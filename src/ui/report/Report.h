#pragma once

#include "analysis/OperatingPoint.h"
#include "analysis/RouteDuty.h"

#include <QDateTime>
#include <QLocale>
#include <QPageSize>
#include <QString>

#include <optional>

class QPdfWriter;

// A PDF report of a truck: its inputs, the results at one operating point,
// the life map, the duty list with its combined life (and the route it came
// from) and the assumptions behind the figures.
struct TReportRequest {
    TTruck Truck;      // with its duty list
    QString TruckName; // the truck file's name; empty for a truck never saved
    double ReliabilityPct = 90;
    TOperatingPoint Point;
    QString PointText; // how the point was chosen, one sentence
    std::optional<TRouteSummary> Route;
    QDateTime When = QDateTime::currentDateTime();
    QLocale Locale = QLocale::system();
};

// The running point of the window: the steady state at the road speed its
// engine speed gives in its gear.
TOperatingPoint RunningPoint(const TTruck &truck, TGear gear, double engineRpm);
// The steady state holding the pedal's speed in the truck's gear.
TOperatingPoint PedalPoint(const TTruck &truck, double pedalMph);
QString PedalPointText(double pedalMph, TGear gear);
QString RunningPointText();

// Letter where the locale's paper is Letter (the US and its neighbours that
// use it), A4 elsewhere.
QPageSize ReportPageSize(const QLocale &locale);

// The writer's resolution, paper and margins, and the footer's height under
// the text on each page (device units).
void SetUpReportWriter(QPdfWriter &writer, const QLocale &locale);
double ReportFooterHeight();

// Writes the PDF through a temporary file in the target's folder renamed over
// the target, so a failed write leaves no half file behind. Returns "" on
// success, else one line: "FILE: cannot be written: REASON".
QString WriteReport(const QString &path, const TReportRequest &request);

// The program's version the report names.
QString ReportVersion();
