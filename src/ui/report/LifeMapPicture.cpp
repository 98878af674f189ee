#include "ui/report/LifeMapPicture.h"

#include "analysis/Reliability.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace
{

const QColor HeldColor(20, 80, 200);
const QColor NotHeldColor(140, 140, 140);
const QColor AdjustedColor(30, 140, 60);
const QColor PointColor(200, 30, 30);
const QColor GridColor(225, 225, 225);

// Only positive lives have a place on a log axis: a run is cut where one is not.
std::vector<LifeMap::TCurveRun> positiveRuns(std::vector<LifeMap::TCurveRun> runs)
{
    std::vector<LifeMap::TCurveRun> out;
    for (auto &run : runs) {
        LifeMap::TCurveRun piece{run.Holds, {}};
        for (const auto &p : run.Points) {
            if (p.Life > 0 && std::isfinite(p.Life)) {
                piece.Points.push_back(p);
            } else if (!piece.Points.empty()) {
                out.push_back(std::move(piece));
                piece = {run.Holds, {}};
            }
        }
        if (!piece.Points.empty())
            out.push_back(std::move(piece));
    }
    return out;
}

QString axisNumber(double v)
{
    return QString::number(v, 'g', 6);
}

struct TPlot {
    QRectF Area;
    TAxisTicks X;
    double LogLo = 0;
    double LogHi = 1;

    QPointF map(double speed, double life) const
    {
        const double fx = (speed - X.From) / (X.To - X.From);
        const double fy = (std::log10(life) - LogLo) / (LogHi - LogLo);
        return {Area.left() + fx * Area.width(), Area.bottom() - fy * Area.height()};
    }
};

void drawRuns(QPainter &painter, const TPlot &plot, const std::vector<LifeMap::TCurveRun> &runs,
              const QColor &held, const QColor &notHeld, double width, double pt)
{
    for (const auto &run : runs) {
        QPainterPath path;
        for (std::size_t i = 0; i < run.Points.size(); ++i) {
            const QPointF at = plot.map(run.Points[i].Speed, run.Points[i].Life);
            if (i == 0)
                path.moveTo(at);
            else
                path.lineTo(at);
        }
        QPen pen(run.Holds ? held : notHeld, width * pt);
        if (!run.Holds)
            pen.setStyle(Qt::DashLine);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        if (run.Points.size() == 1)
            painter.drawEllipse(path.currentPosition(), width * pt, width * pt);
        else
            painter.drawPath(path);
    }
}

} // namespace

TAxisTicks NiceTicks(double lo, double hi)
{
    if (!(hi > lo) || !std::isfinite(lo) || !std::isfinite(hi))
        return {lo, lo + 1, 1};
    const double span = hi - lo;
    // The smallest of 1, 2, 5 times a power of ten that needs at most eight steps.
    const double base = std::pow(10.0, std::floor(std::log10(span)) - 1);
    double step = base;
    for (int i = 0; span / step > 8; ++i)
        step = base * std::pow(10.0, i / 3) * (i % 3 == 0 ? 2 : i % 3 == 1 ? 5 : 10);
    // A bound a rounding away from a whole step stays on it.
    return {std::floor(lo / step + 1e-9) * step, std::ceil(hi / step - 1e-9) * step, step};
}

TLifeMapPicture LifeMapPictureOf(const TTruck &truck, double reliabilityPct,
                                 const TOperatingPoint &point)
{
    TLifeMapPicture pic;
    pic.Mph = truck.SpeedInMph;
    pic.Miles = truck.LifeInMiles;
    pic.ReliabilityPct = reliabilityPct;
    const auto sweep = SpeedSweep(truck, TGear::Fifth, LifeMap::CurvePoints);
    pic.L10 = positiveRuns(LifeMap::LifeRuns(sweep, pic.Mph, pic.Miles));
    if (reliabilityPct > MinReliability && IsReliabilityInRange(reliabilityPct))
        pic.Adjusted = positiveRuns(
            LifeMap::LifeRuns(sweep, pic.Mph, pic.Miles, ReliabilityFactor(reliabilityPct)));
    if (point.Gear == TGear::Fifth && point.LifeKm && *point.LifeKm > 0)
        pic.Point = QPointF(LifeMap::SpeedShown(point.SpeedMph, pic.Mph),
                            LifeMap::LifeShown(*point.LifeKm, pic.Miles));

    std::vector<double> lives;
    for (const auto *runs : {&pic.L10, &pic.Adjusted})
        for (const auto &run : *runs)
            for (const auto &p : run.Points)
                lives.push_back(p.Life);
    if (pic.Point)
        lives.push_back(pic.Point->y());
    pic.Lives = LifeMap::DecadeRange(lives);
    if (!sweep.empty()) {
        pic.Speeds = {LifeMap::SpeedShown(sweep.front().SpeedMph, pic.Mph),
                      LifeMap::SpeedShown(sweep.back().SpeedMph, pic.Mph)};
        if (pic.Point)
            pic.Speeds = {std::min(pic.Speeds.first, pic.Point->x()),
                          std::max(pic.Speeds.second, pic.Point->x())};
    }
    return pic;
}

void PaintLifeMap(QPainter &painter, const QRectF &box, const TLifeMapPicture &pic, double pt,
                  const QString &fontFamily)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font(fontFamily);
    font.setPixelSize(std::max(1, int(std::lround(8.5 * pt))));
    QFont titleFont = font;
    titleFont.setPixelSize(std::max(1, int(std::lround(10 * pt))));
    titleFont.setBold(true);
    const QFontMetricsF fm(font, painter.device());
    const QFontMetricsF tfm(titleFont, painter.device());
    const double line = fm.height();

    // Title on top, legend at the bottom, axis titles and numbers around the plot.
    const QString title = QStringLiteral("Input-shaft bearing life in fifth gear");
    painter.setFont(titleFont);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(box.left(), box.top(), box.width(), tfm.height()), Qt::AlignHCenter,
                     title);

    const double left = box.left() + line * 1.6 + fm.horizontalAdvance(QStringLiteral("100000"));
    const double top = box.top() + tfm.height() + line * 0.8;
    const double bottom = box.bottom() - line * 4.4;
    const double right = box.right() - fm.horizontalAdvance(QStringLiteral("000"));
    TPlot plot;
    plot.Area = QRectF(QPointF(left, top), QPointF(right, bottom));
    plot.X = NiceTicks(pic.Speeds.first, pic.Speeds.second);
    plot.LogLo = std::log10(pic.Lives.first);
    plot.LogHi = std::log10(pic.Lives.second);
    if (!(plot.LogHi > plot.LogLo))
        plot.LogHi = plot.LogLo + 1;

    painter.setFont(font);
    // Grid and tick labels.
    const QPen gridPen(GridColor, 0.5 * pt);
    const QPen axisPen(Qt::black, 0.8 * pt);
    for (double x = plot.X.From; x <= plot.X.To + plot.X.Step * 1e-9; x += plot.X.Step) {
        const double px = plot.map(x, pic.Lives.first).x();
        painter.setPen(gridPen);
        painter.drawLine(QPointF(px, plot.Area.top()), QPointF(px, plot.Area.bottom()));
        painter.setPen(Qt::black);
        const QString label = axisNumber(std::abs(x) < plot.X.Step * 1e-9 ? 0 : x);
        painter.drawText(QRectF(px - 3 * line, plot.Area.bottom() + 0.3 * line, 6 * line, line),
                         Qt::AlignHCenter | Qt::AlignTop, label);
    }
    for (int decade = int(std::lround(plot.LogLo)); decade <= int(std::lround(plot.LogHi));
         ++decade) {
        const double value = std::pow(10.0, decade);
        const double py = plot.map(plot.X.From, value).y();
        painter.setPen(QPen(GridColor.darker(115), 0.6 * pt));
        painter.drawLine(QPointF(plot.Area.left(), py), QPointF(plot.Area.right(), py));
        painter.setPen(Qt::black);
        painter.drawText(
            QRectF(box.left(), py - line / 2, plot.Area.left() - box.left() - 0.4 * line, line),
            Qt::AlignRight | Qt::AlignVCenter, axisNumber(value));
        if (decade < int(std::lround(plot.LogHi)))
            for (int m = 2; m <= 9; ++m) {
                const double my = plot.map(plot.X.From, value * m).y();
                painter.setPen(gridPen);
                painter.drawLine(QPointF(plot.Area.left(), my), QPointF(plot.Area.right(), my));
            }
    }
    painter.setPen(axisPen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot.Area);

    // Axis titles.
    painter.setPen(Qt::black);
    const QString xTitle =
        pic.Mph ? QStringLiteral("Road speed (mph)") : QStringLiteral("Road speed (km/h)");
    painter.drawText(
        QRectF(plot.Area.left(), plot.Area.bottom() + 1.4 * line, plot.Area.width(), line),
        Qt::AlignHCenter, xTitle);
    const QString yTitle = pic.Miles ? QStringLiteral("L10 life (thousand miles)")
                                     : QStringLiteral("L10 life (thousand km)");
    painter.save();
    painter.translate(box.left(), plot.Area.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-plot.Area.height() / 2, 0, plot.Area.height(), line), Qt::AlignHCenter,
                     yTitle);
    painter.restore();

    if (!pic.HasCurve()) {
        painter.drawText(plot.Area.adjusted(line, line, -line, -line),
                         Qt::AlignCenter | Qt::TextWordWrap,
                         QStringLiteral("No speed in fifth gear gives the bearing a life with "
                                        "these inputs."));
    }

    // The curves, clipped to the plot.
    painter.save();
    painter.setClipRect(plot.Area.adjusted(-pt, -pt, pt, pt), Qt::IntersectClip);
    drawRuns(painter, plot, pic.Adjusted, AdjustedColor, AdjustedColor, 1.4, pt);
    drawRuns(painter, plot, pic.L10, HeldColor, NotHeldColor, 1.6, pt);
    if (pic.Point) {
        painter.setPen(QPen(Qt::black, 0.7 * pt));
        painter.setBrush(PointColor);
        painter.drawEllipse(plot.map(pic.Point->x(), pic.Point->y()), 3.2 * pt, 3.2 * pt);
    }
    painter.restore();

    // The legend, one row under the axis title.
    struct TEntry {
        QString Text;
        QColor Color;
        bool Dashed = false;
        bool Dot = false;
    };
    std::vector<TEntry> entries{{QStringLiteral("L10"), HeldColor},
                                {QStringLiteral("L10, speed not held"), NotHeldColor, true}};
    if (!pic.Adjusted.empty())
        entries.push_back({QStringLiteral("a1 × L10 at ") +
                               QString::number(pic.ReliabilityPct, 'g', 4) + QStringLiteral(" %"),
                           AdjustedColor});
    if (pic.Point)
        entries.push_back({QStringLiteral("Operating point"), PointColor, false, true});
    double width = 0;
    const double sample = 2.2 * line;
    for (const auto &e : entries)
        width += sample + 0.4 * line + fm.horizontalAdvance(e.Text) + 1.2 * line;
    double x = plot.Area.center().x() - width / 2;
    const double y = plot.Area.bottom() + 3.0 * line;
    for (const auto &e : entries) {
        const double mid = y + line / 2;
        if (e.Dot) {
            painter.setPen(QPen(Qt::black, 0.7 * pt));
            painter.setBrush(e.Color);
            painter.drawEllipse(QPointF(x + sample / 2, mid), 3.2 * pt, 3.2 * pt);
        } else {
            QPen pen(e.Color, 1.6 * pt);
            if (e.Dashed)
                pen.setStyle(Qt::DashLine);
            painter.setPen(pen);
            painter.drawLine(QPointF(x, mid), QPointF(x + sample, mid));
        }
        x += sample + 0.4 * line;
        painter.setPen(Qt::black);
        painter.drawText(QRectF(x, y, fm.horizontalAdvance(e.Text) + line, line),
                         Qt::AlignLeft | Qt::AlignVCenter, e.Text);
        x += fm.horizontalAdvance(e.Text) + 1.2 * line;
    }
    painter.restore();
}
