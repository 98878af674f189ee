#include "ui/duty/RouteText.h"

#include "analysis/LifeCurve.h"

#include <cmath>

namespace
{

constexpr double FeetPerMetre = 1 / 0.3048;

// Large counts read better grouped ("27,800"), also where the locale would
// leave the groups out (the C locale does).
QLocale grouped(QLocale locale)
{
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale;
}

QString counted(long long n, const char *one, const char *many, const QLocale &locale)
{
    return locale.toString(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
}

} // namespace

QString RouteSummaryText(const TRouteSummary &route, bool inMiles, const QLocale &shown)
{
    const QLocale locale = grouped(shown);
    // Thousands of the shown unit, times a thousand.
    const double distance = LifeMap::LifeShown(route.DistanceM, inMiles);
    const double climb = inMiles ? route.ClimbM * FeetPerMetre : route.ClimbM;
    const long long minutes = std::llround(route.MovingTimeS / 60);
    const QString time =
        QStringLiteral("%1:%2 h").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
    QString text =
        QStringLiteral("Route: %1 %2, %3 moving, climb %4 %5; %6, %7 dropped, %8")
            .arg(locale.toString(distance, 'f', 1),
                 inMiles ? QStringLiteral("miles") : QStringLiteral("km"), time,
                 locale.toString(std::llround(climb)),
                 inMiles ? QStringLiteral("ft") : QStringLiteral("m"),
                 counted(static_cast<long long>(route.Pieces), "piece", "pieces", locale),
                 counted(route.PointsDropped(), "point", "points", locale),
                 counted(static_cast<long long>(route.StandingSlices), "standing slice",
                         "standing slices", locale));
    if (route.PiecesWithoutElevation > 0)
        text += QStringLiteral("; %1 without elevation %2 the truck's gradient")
                    .arg(counted(static_cast<long long>(route.PiecesWithoutElevation), "piece",
                                 "pieces", locale),
                         route.PiecesWithoutElevation == 1 ? QStringLiteral("uses")
                                                           : QStringLiteral("use"));
    return text + QLatin1Char('.');
}

QString TripsNumber(double trips, const QLocale &shown)
{
    const QLocale locale = grouped(shown);
    if (!std::isfinite(trips) || trips < 0)
        return {};
    if (trips < 10)
        return locale.toString(trips, 'f', 1);
    // Three significant figures: 2,537 -> 2,540.
    const double unit = std::pow(10.0, std::floor(std::log10(trips)) - 2);
    const double rounded = std::max(1.0, std::round(trips / unit) * unit);
    if (rounded >= 9.2e18)
        return locale.toString(rounded, 'g', 3);
    return locale.toString(static_cast<long long>(std::llround(rounded)));
}

QString TripsText(double tripsL10, double reliabilityPct, double a1, const QLocale &locale)
{
    const QString l10 = TripsNumber(tripsL10, locale);
    if (l10.isEmpty())
        return {};
    QString text = QStringLiteral("≈ %1 trips of this route").arg(l10);
    if (reliabilityPct != 90) {
        const QString at = TripsNumber(tripsL10 * a1, locale);
        if (!at.isEmpty())
            text += QStringLiteral(" (L10); ≈ %1 at %2 %")
                        .arg(at, QString::number(reliabilityPct, 'g', 4));
    }
    return text;
}
