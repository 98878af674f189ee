#include "ui/lifemap/LifeMapText.h"

#include <QLocale>

#include <cmath>

namespace
{

QLocale grouped()
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale;
}

} // namespace

QString SpokenLife(double thousands)
{
    if (!std::isfinite(thousands) || thousands <= 0)
        return QStringLiteral("0");
    const int magnitude = int(std::floor(std::log10(thousands)));
    if (magnitude < 1) {
        // Below ten: two significant figures, but no decimals from one up,
        // and no trailing zero ("0.5").
        const int decimals = std::max(0, 1 - magnitude - (thousands >= 1 ? 1 : 0));
        QString text = grouped().toString(thousands, 'f', decimals);
        const QString point = grouped().decimalPoint();
        if (text.contains(point)) {
            while (text.endsWith(QLatin1Char('0')))
                text.chop(1);
            if (text.endsWith(point))
                text.chop(point.size());
        }
        return text;
    }
    const double unit = std::pow(10.0, magnitude - 1);
    return grouped().toString(std::round(thousands / unit) * unit, 'f', 0);
}

QString LifeMapDescription(const std::vector<LifeMap::TCurveRun> &runs, bool inMph,
                           bool inMiles, std::optional<QPointF> now)
{
    const QLocale locale = grouped();
    const QString speedUnit = inMph ? QStringLiteral("mph") : QStringLiteral("km/h");
    const QString lifeUnit =
        inMiles ? QStringLiteral("thousand miles") : QStringLiteral("thousand km");
    const LifeMap::TCurvePoint *first = nullptr;
    const LifeMap::TCurvePoint *last = nullptr;
    for (const LifeMap::TCurveRun &run : runs) {
        if (run.Points.empty())
            continue;
        if (!first)
            first = &run.Points.front();
        last = &run.Points.back();
    }
    if (!first)
        return QStringLiteral("No L10 life to show.");
    const auto speed = [&](double s, int decimals) {
        return locale.toString(s, 'f', decimals) + QLatin1Char(' ') + speedUnit;
    };
    QString text = QStringLiteral("L10 life from %1 %2 at %3")
                       .arg(SpokenLife(first->Life), lifeUnit, speed(first->Speed, 0));
    if (last != first)
        text += QStringLiteral(" %1 to %2 at %3")
                    .arg(last->Life <= first->Life ? QStringLiteral("down") : QStringLiteral("up"),
                         SpokenLife(last->Life), speed(last->Speed, 0));
    if (now)
        text += LifeMapNowText(*now, inMph);
    return text;
}

QString LifeMapNowText(QPointF now, bool inMph)
{
    return QStringLiteral("; now %1 at %2 %3")
        .arg(SpokenLife(now.y()), grouped().toString(now.x(), 'f', 1),
             inMph ? QStringLiteral("mph") : QStringLiteral("km/h"));
}
