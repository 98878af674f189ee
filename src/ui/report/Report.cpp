#include "ui/report/Report.h"

#include "ui/report/ReportDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

#include <algorithm>
#include <array>

#ifndef VELMORA_VERSION
#define VELMORA_VERSION "unknown"
#endif

namespace
{

constexpr int Resolution = 300; // dpi of the layout; the PDF itself is vector and text

QString problem(const QString &path, const QString &reason)
{
    return QStringLiteral("%1: cannot be written: %2").arg(path, reason);
}

// Each page: the document's slice of the page height, and a footer line
// naming the report and the page.
void paintPages(QPainter &painter, QPdfWriter &writer, QTextDocument &doc, const QString &title,
                double footer)
{
    const QSizeF page = doc.pageSize();
    const int pages = std::max(1, doc.pageCount());
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(8);
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            writer.newPage();
        painter.save();
        const QRectF slice(0, i * page.height(), page.width(), page.height());
        painter.translate(0, -slice.top());
        painter.setClipRect(slice);
        QAbstractTextDocumentLayout::PaintContext context;
        // A line that starts right on the page's lower edge belongs to the next
        // page; a clip that includes the edge would draw its text here as well,
        // out of sight but in the PDF's text.
        context.clip = slice.adjusted(0, 0.5, 0, -0.5);
        doc.documentLayout()->draw(&painter, context);
        painter.restore();

        painter.save();
        painter.setFont(QFont(font, &writer));
        painter.setPen(QColor(90, 90, 90));
        const QRectF foot(0, page.height(), page.width(), footer);
        painter.drawText(foot, Qt::AlignLeft | Qt::AlignBottom, title);
        painter.drawText(foot, Qt::AlignRight | Qt::AlignBottom,
                         QStringLiteral("Page %1 of %2").arg(i + 1).arg(pages));
        painter.restore();
    }
}

} // namespace

QString ReportVersion()
{
    return QStringLiteral(VELMORA_VERSION);
}

TOperatingPoint RunningPoint(const TTruck &truck, TGear gear, double engineRpm)
{
    TDriveModel m = ModelOf(truck);
    m.Gear = gear;
    return SteadyState(truck, gear, m.RpmToSpeed(engineRpm));
}

TOperatingPoint PedalPoint(const TTruck &truck, double pedalMph)
{
    return SteadyState(truck, truck.Gear, pedalMph);
}

QString PedalPointText(double pedalMph, TGear gear)
{
    return QStringLiteral("The steady state holding the gas pedal's speed, %1 mph, in %2 gear.")
        .arg(QString::number(pedalMph, 'g', 6),
             gear == TGear::Fourth ? QStringLiteral("fourth") : QStringLiteral("fifth"));
}

QString RunningPointText()
{
    return QStringLiteral("The running operating point of the main window, as a steady state.");
}

QPageSize ReportPageSize(const QLocale &locale)
{
    // The territories whose paper is Letter; the rest of the world uses A4.
    static constexpr std::array Letter{
        QLocale::UnitedStates, QLocale::Canada,     QLocale::Mexico,    QLocale::Chile,
        QLocale::Colombia,     QLocale::CostaRica,  QLocale::Guatemala, QLocale::Panama,
        QLocale::Philippines,  QLocale::PuertoRico, QLocale::Venezuela, QLocale::DominicanRepublic,
        QLocale::ElSalvador};
    const bool letter = locale.measurementSystem() == QLocale::ImperialUSSystem ||
                        std::find(Letter.begin(), Letter.end(), locale.territory()) != Letter.end();
    return QPageSize(letter ? QPageSize::Letter : QPageSize::A4);
}

void SetUpReportWriter(QPdfWriter &writer, const QLocale &locale)
{
    writer.setResolution(Resolution);
    writer.setPageLayout(QPageLayout(ReportPageSize(locale), QPageLayout::Portrait,
                                     QMarginsF(18, 15, 18, 12), QPageLayout::Millimeter));
}

double ReportFooterHeight()
{
    return 24.0 * Resolution / 72;
}

QString WriteReport(const QString &path, const TReportRequest &request)
{
    if (path.isEmpty())
        return problem(path, QStringLiteral("no file name"));
    const QFileInfo target(path);
    if (target.exists() && !target.isWritable())
        return problem(path, QStringLiteral("the file is read-only"));

    // The temporary file is removed unless it is committed.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return problem(path, file.errorString());
    {
        QPdfWriter writer(&file);
        SetUpReportWriter(writer, request.Locale);
        const QString title = ReportTitle(request);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Velmora ") + ReportVersion());

        QPainter painter;
        if (!painter.begin(&writer))
            return problem(path, QStringLiteral("the PDF could not be started"));
        const double footer = ReportFooterHeight();
        const QSizeF page(writer.width(), writer.height() - footer);
        auto doc = ReportDocument(request, &writer, page);
        paintPages(painter, writer, *doc, title, footer);
        if (!painter.end())
            return problem(path, QStringLiteral("the PDF could not be finished"));
    }
    if (!file.commit())
        return problem(path, file.errorString());
    return {};
}
