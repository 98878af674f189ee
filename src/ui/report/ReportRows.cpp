#include "ui/report/ReportRows.h"

#include "analysis/LifeCurve.h"
#include "analysis/Reliability.h"
#include "model/DisplayValues.h"
#include "model/ModelMath.h"
#include "model/VehicleTables.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace
{

QString printfFixed(double v, int decimals)
{
    char buf[400];
    const int n = std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return n > 0 && n < int(sizeof buf) ? QString::fromLatin1(buf, n) : QString();
}

// "-0.00" reads as a negative number; show it unsigned, as the readouts do.
QString dropNegativeZero(QString s)
{
    if (s.startsWith(QLatin1Char('-')) &&
        std::none_of(s.cbegin() + 1, s.cend(), [](QChar c) { return c.isDigit() && c != u'0'; }))
        s.remove(0, 1);
    return s;
}

QString localMark(QString s, const QLocale &locale)
{
    s.replace(QLatin1Char('.'), locale.decimalPoint());
    return s;
}

QString optionalText(const std::optional<double> &v, int decimals, const QLocale &locale)
{
    return v ? FixedText(*v, decimals, locale) : QString();
}

QString listText(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

template <std::size_t N> QString rowText(const std::array<std::string_view, N> &list, int index)
{
    return index >= 0 && std::size_t(index) < N ? listText(list[std::size_t(index)]) : QString();
}

// The model as the window holds it at `p`, so the readouts' own rules
// (DisplayValues) decide what is shown and how it is rounded.
TDriveModel shownModel(const TTruck &truck, const TOperatingPoint &p)
{
    constexpr double none = std::numeric_limits<double>::quiet_NaN();
    TDriveModel m = ModelOf(truck);
    const double rpm = p.EngineRpm.value_or(none);
    m.Gear = p.Gear;
    m.EngineRpm = rpm;
    m.RoadSpeed = p.SpeedMph;
    m.Power = m.PowerAt(rpm);
    m.Torque = m.TorqueAt(rpm);
    m.Resistance = p.Resistance.value_or(none);
    m.ForceAvailable = m.ForceAvailableAt(rpm);
    m.RadialLoad = p.RadialLoad.value_or(none);
    m.COverP = p.COverP.value_or(none);
    m.LifeKm = p.LifeKm.value_or(none);
    return m;
}

QString lifeUnit(bool miles)
{
    return miles ? QStringLiteral("000miles") : QStringLiteral("000kms");
}

// The failure probability a reliability leaves: 99 % -> "1%", as "Life [10%]" reads.
QString failureText(double reliabilityPct, const QLocale &locale)
{
    return locale.toString(100 - reliabilityPct, 'g', 4) + QLatin1Char('%');
}

// Why a segment adds no damage, in a word for the table; the summary says more.
QString causeNote(TLifeCause cause)
{
    switch (cause) {
    case TLifeCause::Rated:
        return {};
    case TLifeCause::FourthGear:
        return QStringLiteral("no mesh load");
    case TLifeCause::Coasting:
        return QStringLiteral("coasting");
    default:
        return QStringLiteral("no life");
    }
}

QString thousands(double v, const QLocale &locale)
{
    return locale.toString(v, 'f', 0);
}

} // namespace

QString FixedText(double v, int decimals, const QLocale &locale)
{
    if (!std::isfinite(v))
        return {};
    return localMark(dropNegativeZero(printfFixed(v, decimals)), locale);
}

QString InputText(double v, int decimals, const QLocale &locale)
{
    if (!std::isfinite(v))
        return {};
    int d = std::max(decimals, 0);
    for (; d < 17; ++d)
        if (std::strtod(printfFixed(v, d).toLatin1().constData(), nullptr) == v)
            break;
    return FixedText(v, d, locale);
}

QString PercentText(double percent, const QLocale &locale)
{
    return locale.toString(percent, 'g', 4) + QStringLiteral(" %");
}

std::vector<TReportGroup> InputGroups(const TTruck &truck, const QLocale &locale)
{
    using namespace VehicleTables;
    const TDriveInputs &in = truck.Inputs;
    const auto S = [](const char *s) { return QString::fromUtf8(s); };
    const auto num = [&](double v, int decimals) { return InputText(v, decimals, locale); };
    QString loadRating = num(truck.LoadRating, 0);
    if (truck.LoadRating == std::trunc(truck.LoadRating) && std::fabs(truck.LoadRating) < 1e15)
        loadRating = locale.toString(truck.LoadRating, 'f', 0); // the box groups thousands

    return {
        {S("At Crankshaft"), {{S("Engine"), rowText(EngineListTexts(), in.EngineIndex), {}}}},
        {S("Drive Line"),
         {{S("transmission loss"), num(in.TransmissionLoss, 2), {}},
          {S("overdrive ratio"), num(in.OverdriveRatio, 4), {}},
          {S("final drive gear ratio"), rowText(FinalDriveListTexts(), in.FinalDriveIndex), {}},
          {S("tyre size"), rowText(TyreSizeListTexts(), in.TyreSizeIndex), {}}}},
        {S("Input Gear"),
         {{S("PitchCircleRad (in)"), num(in.PitchCircleRadius, 2), S("in")},
          {S("Pressure Angle"), num(in.PressureAngle, 1), S("deg")},
          {S("Helix Angle"), num(in.HelixAngle, 1), S("deg")},
          {S("Bearing Overhang"), num(in.Overhang, 2), {}},
          {S("Load factor"), num(in.LoadFactor, 2), {}}}},
        {S("Resistance"),
         {{S("Rolling Resistance (lbf)"), num(double(in.RollingResistance), 0), S("lbf")},
          {S("Frontal Area (sqft)"), num(in.FrontalArea, 1), S("sqft")},
          {S("Drag Coef"), num(in.DragCoef, 3), {}}}},
        {S("Loading"),
         {{S("Unladen Weight (lbs)"), rowText(KerbWeightListTexts(), in.KerbWeightIndex), {}},
          {S("Load (lbs)"), num(in.Load, 0), S("lbs")},
          {S("Average Gradient"), num(in.Gradient, 4), {}}}},
        // The window's group box, with the bearing its label names.
        {S("Input Bearing: 63/22 deep groove ball bearing"),
         {{S("Dynamic Load Rating (lbf) Cr"), loadRating, S("lbf")}}},
        {S("Gear and units"),
         {{S("Gear"), truck.Gear == TGear::Fourth ? S("4th") : S("5th"), {}},
          {S("Speed"), truck.SpeedInMph ? S("mph") : S("kph"), {}},
          {S("Life"), lifeUnit(truck.LifeInMiles), {}}}},
    };
}

std::vector<TReportRow> ResultRows(const TTruck &truck, const TOperatingPoint &point,
                                   const QLocale &locale)
{
    const TDriveModel m = shownModel(truck, point);
    const auto S = [](const char *s) { return QString::fromUtf8(s); };
    const auto num = [&](const std::optional<double> &v, int d) {
        return optionalText(v, d, locale);
    };
    const bool mph = truck.SpeedInMph;
    const bool miles = truck.LifeInMiles;
    return {
        {S("Gear"), point.Gear == TGear::Fourth ? S("4th") : S("5th"), {}},
        {S("Speed"), num(mph ? Shown::SpeedMph(m) : Shown::SpeedKmh(m), 1),
         mph ? S("mph") : S("kph")},
        {S("Speed held"), point.Holds ? S("yes") : S("no"), {}},
        {S("Engine speed"),
         point.EngineRpm ? FixedText(double(Shown::Rpm(m)), 0, locale) : QString(), S("rpm")},
        {S("Power"), num(Shown::Power(m), 1), S("hp")},
        {S("Torque"), num(Shown::Torque(m), 2), S("ft.lb")},
        {S("Resistance"), num(Shown::Resistance(m), 2), S("lbf")},
        {S("Force Available"), num(Shown::ForceAvailable(m), 2), S("lbf")},
        {S("Percentage Torque Unused"), QString::number(Shown::TorqueUnusedPercent(m)), S("%")},
        {S("Radial Load P"), num(Shown::RadialLoad(m), 2), S("lbf")},
        {S("C/P"), num(Shown::COverP(m), 2), {}},
        {S("Life [10%]"), num(miles ? Shown::LifeThousandMiles(m) : Shown::LifeThousandKm(m), 0),
         lifeUnit(miles)},
    };
}

TDutyTable DutyTable(const TTruck &truck, const TDutyResult &result, double reliabilityPct,
                     const QLocale &locale)
{
    const bool mph = truck.SpeedInMph;
    const bool miles = truck.LifeInMiles;
    const bool adjusted = reliabilityPct > MinReliability && IsReliabilityInRange(reliabilityPct);
    const double a1 = adjusted ? ReliabilityFactor(reliabilityPct) : 1;
    const QString lifeHeader =
        miles ? QStringLiteral("Life 000 mi") : QStringLiteral("Life 000 km");

    TDutyTable t;
    t.Header = {
        QStringLiteral("Share %"), mph ? QStringLiteral("Speed mph") : QStringLiteral("Speed km/h"),
        QStringLiteral("Gear"),    QStringLiteral("Gradient"),
        QStringLiteral("Load lb"), QStringLiteral("Engine rpm"),
        QStringLiteral("P lbf"),   lifeHeader + QStringLiteral(" [10%]")};
    if (adjusted)
        t.Header << lifeHeader + QStringLiteral(" [") + failureText(reliabilityPct, locale) +
                        QLatin1Char(']');
    t.Header << QStringLiteral("Damage %") << QStringLiteral("Note");

    for (std::size_t i = 0; i < truck.Duty.size(); ++i) {
        const TDutySegment &s = truck.Duty[i];
        const TOperatingPoint *p = i < result.Points.size() ? &result.Points[i] : nullptr;
        std::optional<double> damage;
        if (i < result.DamagePct.size())
            damage = result.DamagePct[i];
        std::optional<double> life;
        if (p && p->LifeKm)
            life = LifeMap::LifeShown(*p->LifeKm, miles);
        QStringList line{FixedText(s.SharePct, 2, locale),
                         FixedText(LifeMap::SpeedShown(s.SpeedMph, mph), 1, locale),
                         s.Gear == TGear::Fourth ? QStringLiteral("4th") : QStringLiteral("5th"),
                         FixedText(s.Gradient.value_or(truck.Inputs.Gradient), 4, locale),
                         FixedText(s.Load.value_or(truck.Inputs.Load), 0, locale),
                         p ? optionalText(p->EngineRpm, 0, locale) : QString(),
                         p ? optionalText(p->RadialLoad, 1, locale) : QString(),
                         optionalText(life, 0, locale)};
        if (adjusted)
            line << optionalText(life ? std::optional<double>(*life * a1) : std::nullopt, 0,
                                 locale);
        line << optionalText(damage, 1, locale);
        QStringList notes;
        if (p && !p->Holds)
            notes << QStringLiteral("not held");
        if (p)
            notes << causeNote(p->Cause);
        notes.removeAll(QString());
        line << notes.join(QStringLiteral(", "));
        t.Lines.push_back(line);
        t.Held.push_back(!p || p->Holds);
    }

    const QString unit = miles ? QStringLiteral("miles") : QStringLiteral("km");
    const std::string shares =
        truck.Duty.empty() ? std::string("The list has no segment.") : CheckDutyShares(truck.Duty);
    if (!shares.empty()) {
        t.Summary << QString::fromStdString(shares) + QStringLiteral(" No combined life.");
    } else if (!result.Unrated.empty()) {
        for (std::size_t i : result.Unrated)
            if (i < result.Points.size())
                t.Summary << QStringLiteral("No combined life: segment %1: %2.")
                                 .arg(i + 1)
                                 .arg(QString::fromStdString(LifeCauseText(result.Points[i])));
    } else if (result.LifeKm) {
        const double life = LifeMap::LifeShown(*result.LifeKm, miles);
        t.Summary << QStringLiteral("Combined life [10%]: %1 thousand %2.")
                         .arg(FixedText(life, 1, locale), unit);
        if (adjusted)
            t.Summary << QStringLiteral("Combined life [%1] at %2 reliability: %3 thousand %4.")
                             .arg(failureText(reliabilityPct, locale),
                                  PercentText(reliabilityPct, locale),
                                  FixedText(life * a1, 1, locale), unit);
    } else {
        t.Summary << QStringLiteral("No combined life: no segment in fifth gear has a life; the "
                                    "bearing is loaded in fifth only.");
    }
    const auto notHeld = std::count(t.Held.begin(), t.Held.end(), false);
    if (notHeld == 1)
        t.Summary << QStringLiteral("1 segment cannot hold its speed.");
    else if (notHeld > 1)
        t.Summary << QStringLiteral("%1 segments cannot hold their speed.").arg(notHeld);
    return t;
}

std::vector<TReportRow> RouteRows(const TTruck &truck, const TRouteSummary &route,
                                  double reliabilityPct, const QLocale &locale)
{
    const bool miles = truck.LifeInMiles;
    const auto distance = [&](double metres) {
        const double km = metres / 1000;
        return FixedText(miles ? km * ModelMath::MilesPerKm : km, 1, locale);
    };
    const QString unit = miles ? QStringLiteral("miles") : QStringLiteral("km");
    const auto count = [&](std::int64_t n) { return locale.toString(qlonglong(n)); };
    const qint64 minutes = qint64(std::llround(route.MovingTimeS / 60));

    std::vector<TReportRow> rows{
        {QStringLiteral("Distance"), distance(route.DistanceM), unit},
        {QStringLiteral("Moving distance"), distance(route.MovingDistanceM), unit},
        {QStringLiteral("Moving time"),
         QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0')),
         QStringLiteral("h:min")},
        {QStringLiteral("Climb"), FixedText(route.ClimbM, 0, locale), QStringLiteral("m")},
        {QStringLiteral("Pieces"), count(std::int64_t(route.Pieces)), {}},
        {QStringLiteral("Points read"), count(route.PointsRead), {}},
        {QStringLiteral("Points dropped"),
         QStringLiteral("%1 (no time %2, time not increasing %3, jump %4)")
             .arg(count(route.PointsDropped()), count(route.DroppedNoTime),
                  count(route.DroppedTimeNotIncreasing), count(route.DroppedJump)),
         {}},
        {QStringLiteral("Standing slices"),
         QStringLiteral("%1 of %2")
             .arg(count(std::int64_t(route.StandingSlices)), count(std::int64_t(route.Slices))),
         {}},
    };
    if (route.PiecesWithoutElevation > 0)
        rows.push_back({QStringLiteral("Pieces without elevation (the truck's gradient)"),
                        count(std::int64_t(route.PiecesWithoutElevation)),
                        {}});
    rows.push_back({QStringLiteral("Trips within the life [10%]"),
                    route.Trips ? thousands(*route.Trips, locale) : QString(),
                    {}});
    if (reliabilityPct > MinReliability) {
        const auto trips = TripsAt(route, reliabilityPct);
        rows.push_back(
            {QStringLiteral("Trips within the life [%1]").arg(failureText(reliabilityPct, locale)),
             trips ? thousands(*trips, locale) : QString(),
             {}});
    }
    return rows;
}
