#pragma once

#include "analysis/DutyCycle.h"
#include "analysis/RouteDuty.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The report's texts, made from the truck and its results the way the main
// window and the duty window show them: their captions, units and roundings,
// with the locale's decimal mark for every number.

struct TReportRow {
    QString Caption;
    QString Value; // empty where the window shows the readout empty
    QString Unit;
};

// A titled group of rows, as the window's group boxes hold them.
struct TReportGroup {
    QString Title;
    std::vector<TReportRow> Rows;
};

// `v` with `decimals` decimals (ties as printf rounds them, no "-0"), the
// locale's decimal mark and no group separators.
QString FixedText(double v, int decimals, const QLocale &locale);
// An input's value as its box shows it, with more decimals where the box's
// would change the value (a truck file may hold 1.115 in a two-decimal box):
// a report must not show a value the truck does not hold.
QString InputText(double v, int decimals, const QLocale &locale);

// Every input with its caption, value and unit, grouped as the window shows them.
std::vector<TReportGroup> InputGroups(const TTruck &truck, const QLocale &locale);

// The readouts at `point` (computed for `truck`), rounded as the window rounds them.
std::vector<TReportRow> ResultRows(const TTruck &truck, const TOperatingPoint &point,
                                   const QLocale &locale);

// The duty table: a header and one line per segment, as the duty window
// shows them, lives at L10 and, above 90 %, at `reliabilityPct` as well.
struct TDutyTable {
    QStringList Header;
    std::vector<QStringList> Lines;
    std::vector<bool> Held; // per line: the segment holds its speed
    QStringList Summary;    // the combined life and any problem, one sentence each
};
TDutyTable DutyTable(const TTruck &truck, const TDutyResult &result, double reliabilityPct,
                     const QLocale &locale);

// What a recorded route held, with the trips the life allows.
std::vector<TReportRow> RouteRows(const TTruck &truck, const TRouteSummary &route,
                                  double reliabilityPct, const QLocale &locale);

// The reliability as the windows list it: "90 %", "99.9 %".
QString PercentText(double percent, const QLocale &locale);
