// The dial's scale over arbitrary bounds: the step is a 1-2-5 decade no
// wider than the wanted interval, the ticks are finite in number and lie on
// the scale, the labels are plain fixed-point numbers, and a real dial with
// those bounds paints whatever the values.
//
// Input: layout, tick count, decimal places, flags (0x80 also paint a dial),
// then eight bytes each of minimum, maximum, value and a threshold.

#include "FuzzSupport.h"
#include "widgets/display/Meter.h"

#include <QRegularExpression>

#include <cfloat>
#include <cmath>

namespace {

QString describe(int n, double lo, double hi, const TScaleSteps &s)
{
    return QStringLiteral("n %1 min %2 max %3 -> first %4 step %5 sub %6")
        .arg(n)
        .arg(lo, 0, 'g', 17)
        .arg(hi, 0, 'g', 17)
        .arg(s.first, 0, 'g', 17)
        .arg(s.step, 0, 'g', 17)
        .arg(s.subdivisions);
}

// Ranges a double can step through with room to spare: finite, normal and
// wide enough that each step moves the value by many units in the last place.
bool steppable(double lo, double hi, const TScaleSteps &s)
{
    const double span = hi - lo;
    const double top = std::max(std::fabs(lo), std::fabs(hi));
    return std::isfinite(span) && span > 0 && span > DBL_MIN * 1e6 && top < 1e300 &&
           std::fabs(s.step) > top * 1e-12;
}

void checkScale(int n, double lo, double hi, int decPlaces)
{
    const TScaleSteps s = ComputeScale(n, lo, hi);
    const QString info = describe(n, lo, hi, s);
    const auto majors = MajorTickValues(s, lo, hi);
    const auto minors = MinorTickValues(s, lo, hi);
    FuzzCheck(majors.size() <= 10000 && minors.size() <= 10000, "a bounded number of ticks", info);
    if (!(lo < hi) || !steppable(lo, hi, s))
        return;

    // A 1, 2 or 5 times a power of ten, at most the wanted interval and more
    // than 1/2.5 of it, with four minors per 2 and five otherwise.
    const double wanted = (hi - lo) / n;
    FuzzCheck(s.step > 0 && s.step <= wanted * (1 + 1e-9) && s.step > wanted / 2.5 * (1 - 1e-9),
              "the step fits the wanted interval", info);
    const double mantissa = s.step / std::pow(10.0, std::floor(std::log10(s.step) + 1e-12));
    const bool two = std::fabs(mantissa - 2) < 1e-6;
    FuzzCheck(std::fabs(mantissa - 1) < 1e-6 || two || std::fabs(mantissa - 5) < 1e-6,
              "the step is 1, 2 or 5 times a power of ten", info);
    FuzzCheck(s.subdivisions == (two ? 4 : 5), "subdivisions by the step's mantissa", info);

    const double tol = 0.0011 * s.step;
    FuzzCheck(!majors.empty() && majors.size() <= std::size_t(2.5 * n + 3), "major tick count",
              info);
    for (double m : majors)
        FuzzCheck(m >= lo - tol && m <= hi + tol, "major ticks lie on the scale",
                  info + QStringLiteral(" tick %1").arg(m, 0, 'g', 17));
    FuzzCheck(majors.front() - lo < s.step + tol, "the first major is within a step of the minimum",
              info);
    for (double m : minors)
        FuzzCheck(m >= lo && m <= hi + tol, "minor ticks lie on the scale",
                  info + QStringLiteral(" tick %1").arg(m, 0, 'g', 17));

    static const QRegularExpression label[] = {
        QRegularExpression(QStringLiteral("^-?\\d+$")),
        QRegularExpression(QStringLiteral("^-?\\d+\\.\\d{1}$")),
        QRegularExpression(QStringLiteral("^-?\\d+\\.\\d{2}$")),
        QRegularExpression(QStringLiteral("^-?\\d+\\.\\d{3}$")),
        QRegularExpression(QStringLiteral("^-?\\d+\\.\\d{4}$")),
    };
    for (double m : majors) {
        const QString text = FormatTickLabel(m, decPlaces);
        FuzzCheck(label[std::clamp(decPlaces, 0, 4)].match(text).hasMatch(),
                  "labels are fixed-point numbers", text);
        FuzzCheck(!(text.startsWith(QLatin1Char('-')) && !text.contains(QRegularExpression(
                                                              QStringLiteral("[1-9]")))),
                  "no minus sign on a zero label", text);
    }

    for (auto layout : {TMeterLayout::mlCirc90, TMeterLayout::mlCirc270, TMeterLayout::mlCirc360}) {
        const TDialGeometry g = DialGeometry(layout, 153, 137, 8, 10, 10);
        // Ticks may sit a thousandth of a step off the ends.
        const double slack = 1e-6 + g.sweep * tol / (hi - lo);
        for (double v : {lo, hi, majors.front(), majors.back()}) {
            const double a = ValueToAngle(g.sweep, lo, hi, v);
            FuzzCheck(a <= g.startAngle() + slack && a >= g.endAngle() - slack,
                      "values on the scale map into its sweep", info);
        }
    }
}

void checkDial(std::uint8_t layout, int n, int decPlaces, double lo, double hi, double value,
               double threshold)
{
    EnsureFuzzApplication();
    static TMeter *meter = [] {
        auto *m = new TMeter;
        m->resize(153, 137);
        m->setCaption(QStringLiteral("rpm"));
        m->setAnchorSize(24);
        m->setFrameStyle(TFrameStyle::fsLowered);
        return m;
    }();
    meter->setMeterLayout(TMeterLayout(layout % 6));
    meter->setMeterNrTicks(n);
    meter->setMeterDecPlaces(decPlaces);
    meter->setScaleBkVisible(layout & 0x10);
    meter->setLimWatchHighOn(layout & 0x20);
    meter->setMeterMinValue(lo);
    meter->setMeterMaxValue(hi);
    meter->setThresholdHigh(threshold);
    meter->setValue(value);
    const QImage img = meter->render();
    FuzzCheck(img.size() == QSize(153, 137), "the dial renders at its size");
    const double lo2 = meter->MeterMinValue();
    const double hi2 = meter->MeterMaxValue();
    const double shown = meter->Value();
    if (std::isfinite(lo2) && std::isfinite(hi2) && !std::isnan(shown))
        FuzzCheck(shown >= lo2 && shown <= hi2, "the value is kept on the scale",
                  QStringLiteral("%1 in [%2, %3]").arg(shown).arg(lo2).arg(hi2));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzReader in(data, size);
    const std::uint8_t layout = in.u8();
    const int n = 2 + in.u8() % 20; // the dial keeps 2..21
    const int decPlaces = in.u8() % 5;
    const std::uint8_t flags = in.u8();
    const double lo = in.f64();
    const double hi = in.f64();
    const double value = in.f64();
    const double threshold = in.f64();

    checkScale(n, lo, hi, decPlaces);
    // The raw function also meets counts the dial never asks for.
    (void)ComputeScale(int(std::int8_t(flags & 0x7F)) - 8, lo, hi);
    if (flags & 0x80)
        checkDial(layout, n, decPlaces, lo, hi, value, threshold);
    return 0;
}
