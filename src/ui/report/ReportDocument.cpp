#include "ui/report/ReportDocument.h"

#include "analysis/DutyCycle.h"
#include "analysis/Reliability.h"
#include "ui/report/LifeMapPicture.h"
#include "ui/report/ReportRows.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextObjectInterface>
#include <QTextOption>
#include <QTextTable>
#include <QTextTableFormat>

#include <algorithm>
#include <cmath>

namespace
{

const QString BodyFamily = QStringLiteral("Liberation Sans");
constexpr int LifeMapObject = QTextFormat::UserObject + 1;
const QColor GroupShade(236, 236, 236);
const QColor HeaderShade(218, 226, 240);
const QColor NotHeldShade(255, 228, 228);

// Draws the life map where its object character stands in the text.
class TLifeMapObject : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
  public:
    TLifeMapObject(TLifeMapPicture picture, QSizeF size, double pt, QObject *parent)
        : QObject(parent), m_picture(std::move(picture)), m_size(size), m_pt(pt)
    {
    }

    QSizeF intrinsicSize(QTextDocument *, int, const QTextFormat &) override { return m_size; }

    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *, int,
                    const QTextFormat &) override
    {
        PaintLifeMap(*painter, rect, m_picture, m_pt, BodyFamily);
    }

  private:
    TLifeMapPicture m_picture;
    QSizeF m_size;
    double m_pt;
};

// Writes the document's parts in order with one set of formats.
class TWriter
{
  public:
    TWriter(QTextDocument &doc, double pt) : m_cursor(&doc), m_pt(pt)
    {
        m_body.setFontFamilies({BodyFamily});
        m_body.setFontPointSize(9.5);
        m_bold = m_body;
        m_bold.setFontWeight(QFont::Bold);
        m_small = m_body;
        m_small.setFontPointSize(8.5);
    }

    QTextCursor &Cursor() { return m_cursor; }
    const QTextCharFormat &Body() const { return m_body; }

    void Title(const QString &text, const QString &under)
    {
        QTextBlockFormat block;
        block.setBottomMargin(2 * m_pt);
        m_cursor.setBlockFormat(block);
        QTextCharFormat f = m_bold;
        f.setFontPointSize(17);
        m_cursor.insertText(text, f);
        paragraph(under, m_body, 10);
    }

    // Returns the heading's block, so what follows it can be kept with it.
    QTextBlock Heading(const QString &text)
    {
        QTextBlockFormat block;
        block.setTopMargin(12 * m_pt);
        block.setBottomMargin(4 * m_pt);
        block.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
        m_cursor.insertBlock(block);
        QTextCharFormat f = m_bold;
        f.setFontPointSize(12.5);
        m_cursor.insertText(text, f);
        return m_cursor.block();
    }

    void Paragraph(const QString &text, double after = 4) { paragraph(text, m_body, after); }
    void Note(const QString &text, double after = 4) { paragraph(text, m_small, after); }

    // Caption, value, unit rows under a header, grouped where groups have titles.
    QTextTable *RowTable(const QStringList &header, const std::vector<TReportGroup> &groups)
    {
        int rows = 1;
        for (const auto &g : groups)
            rows += int(g.Rows.size()) + (g.Title.isEmpty() ? 0 : 1);
        QTextTable *table = newTable(rows, 3, {44, 40, 16});
        headerRow(table, header);
        int r = 1;
        for (const auto &g : groups) {
            if (!g.Title.isEmpty()) {
                table->mergeCells(r, 0, 1, 3);
                shade(table->cellAt(r, 0), GroupShade);
                cellText(table, r, 0, g.Title, m_bold);
                ++r;
            }
            for (const auto &row : g.Rows) {
                cellText(table, r, 0, row.Caption, m_body);
                cellText(table, r, 1, row.Value, m_body, Qt::AlignRight);
                cellText(table, r, 2, row.Unit, m_body);
                ++r;
            }
        }
        after(table);
        return table;
    }

    QTextTable *LineTable(const QStringList &header, const std::vector<QStringList> &lines,
                          const std::vector<bool> &shaded)
    {
        const int columns = int(header.size());
        QTextTable *table = newTable(int(lines.size()) + 1, columns, {}); // widths by content
        QTextCharFormat head = m_small;
        head.setFontWeight(QFont::Bold);
        for (int c = 0; c < columns; ++c) {
            shade(table->cellAt(0, c), HeaderShade);
            cellText(table, 0, c, header[c], head,
                     c == columns - 1 ? Qt::AlignLeft : Qt::AlignRight);
        }
        for (std::size_t r = 0; r < lines.size(); ++r) {
            for (int c = 0; c < columns && c < lines[r].size(); ++c) {
                if (r < shaded.size() && shaded[r])
                    shade(table->cellAt(int(r) + 1, c), NotHeldShade);
                cellText(table, int(r) + 1, c, lines[r][c], m_small,
                         c == columns - 1 ? Qt::AlignLeft : Qt::AlignRight);
            }
        }
        after(table);
        return table;
    }

    void Object(int type, const QString &altText)
    {
        QTextBlockFormat block;
        block.setAlignment(Qt::AlignHCenter);
        block.setTopMargin(4 * m_pt);
        m_cursor.insertBlock(block);
        QTextCharFormat f;
        f.setObjectType(type);
        f.setToolTip(altText);
        m_cursor.insertText(QString(QChar::ObjectReplacementCharacter), f);
    }

  private:
    void paragraph(const QString &text, const QTextCharFormat &f, double afterPt)
    {
        QTextBlockFormat block;
        block.setBottomMargin(afterPt * m_pt);
        m_cursor.insertBlock(block);
        m_cursor.insertText(text, f);
    }

    QTextTable *newTable(int rows, int columns, const std::vector<double> &percent)
    {
        QTextTableFormat f;
        f.setHeaderRowCount(1);
        f.setBorder(0.75 * m_pt);
        f.setBorderBrush(QColor(170, 170, 170));
        f.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        f.setBorderCollapse(true);
        f.setCellSpacing(0);
        f.setCellPadding(3 * m_pt);
        f.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        f.setTopMargin(2 * m_pt);
        QList<QTextLength> widths;
        for (double p : percent)
            widths << QTextLength(QTextLength::PercentageLength, p);
        if (!widths.isEmpty())
            f.setColumnWidthConstraints(widths);
        return m_cursor.insertTable(rows, columns, f);
    }

    void headerRow(QTextTable *table, const QStringList &header)
    {
        for (int c = 0; c < header.size() && c < table->columns(); ++c) {
            shade(table->cellAt(0, c), HeaderShade);
            cellText(table, 0, c, header[c], m_bold, c == 1 ? Qt::AlignRight : Qt::AlignLeft);
        }
    }

    static void shade(QTextTableCell cell, const QColor &color)
    {
        QTextCharFormat f = cell.format();
        f.setBackground(color);
        cell.setFormat(f);
    }

    void cellText(QTextTable *table, int row, int column, const QString &text,
                  const QTextCharFormat &f, Qt::Alignment align = Qt::AlignLeft)
    {
        QTextCursor c = table->cellAt(row, column).firstCursorPosition();
        QTextBlockFormat block = c.blockFormat();
        block.setAlignment(align);
        c.setBlockFormat(block);
        c.insertText(text, f);
    }

    void after(QTextTable *table)
    {
        m_cursor = table->lastCursorPosition();
        m_cursor.movePosition(QTextCursor::NextBlock);
    }

    QTextCursor m_cursor;
    double m_pt;
    QTextCharFormat m_body, m_bold, m_small;
};

QString assumptions(const TReportRequest &r)
{
    QString text = QStringLiteral(
        "Lives are L10 lives: the distance that 90 % of a large group of such bearings reach "
        "before the first sign of fatigue, from the basic rating life (C/P)³ million "
        "revolutions of a ball bearing. ");
    if (r.ReliabilityPct > MinReliability)
        text += QStringLiteral("At a reliability R above 90 % the life is a1 × L10, with the "
                               "reliability factor a1 = 0.95 (ln(100/R) / ln(100/90))^(2/3) + 0.05 "
                               "(a1 = %1 at %2). ")
                    .arg(FixedText(ReliabilityFactor(r.ReliabilityPct), 3, r.Locale),
                         PercentText(r.ReliabilityPct, r.Locale));
    else
        text +=
            QStringLiteral("At a reliability R above 90 % a life would be a1 × L10 with the "
                           "reliability factor a1 = 0.95 (ln(100/R) / ln(100/90))^(2/3) + 0.05; "
                           "this report uses 90 %, a1 = 1. ");
    text += QStringLiteral(
        "The duty list's combined life adds the segments' damage by Palmgren–Miner over "
        "distance: each segment's share of the distance divided by its life, the combined life the "
        "inverse of the sum. Each segment is a steady state at its road speed. Fourth gear is "
        "direct drive and carries no mesh load on the input gear, so its segments, like coasting "
        "ones (resistance at or below 0: the engine drives nothing), add distance but no damage; "
        "a fifth-gear segment whose life cannot be rated leaves the combined life undefined. "
        "Readouts that the window shows empty (undefined, or above the rev limit) are empty here "
        "too.");
    return text;
}

// A heading with a table that fits on a page is moved to the next page
// rather than have the table run across a page edge. In document order, so
// each move is laid out before the next heading is looked at.
void keepTogether(QTextDocument &doc, const std::vector<std::pair<QTextBlock, QTextTable *>> &parts)
{
    const double page = doc.pageSize().height();
    auto *layout = doc.documentLayout();
    for (const auto &[heading, table] : parts) {
        const double top = layout->blockBoundingRect(heading).top();
        const double bottom = layout->frameBoundingRect(table).bottom();
        const bool fits = bottom - top <= page * 0.95;
        if (!fits || std::floor(top / page) == std::floor((bottom - 1) / page))
            continue;
        QTextCursor c(heading);
        QTextBlockFormat f = c.blockFormat();
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        f.setTopMargin(0);
        c.setBlockFormat(f);
    }
}

} // namespace

QString ReportTitle(const TReportRequest &request)
{
    return QStringLiteral("Velmora report: ") +
           (request.TruckName.isEmpty() ? QStringLiteral("unsaved truck") : request.TruckName);
}

std::unique_ptr<QTextDocument> ReportDocument(const TReportRequest &r, QPaintDevice *device,
                                              const QSizeF &page)
{
    auto doc = std::make_unique<QTextDocument>();
    doc->documentLayout()->setPaintDevice(device);
    doc->setDocumentMargin(0);
    doc->setPageSize(page);
    doc->setUndoRedoEnabled(false);
    const double pt = device->logicalDpiY() / 72.0;
    QFont base(BodyFamily);
    base.setPointSizeF(9.5);
    doc->setDefaultFont(base);

    QTextOption wrap;
    wrap.setWrapMode(QTextOption::WordWrap); // never inside a word: "Gradient", not "Gradie nt"
    doc->setDefaultTextOption(wrap);

    const TTruck &truck = r.Truck;
    // The text layout takes margins, borders and padding in units of 1/96 inch
    // and scales them to the device itself.
    TWriter w(*doc, 96.0 / 72);
    // One edit: the layout runs once at the end, not after every cell.
    w.Cursor().beginEditBlock();
    w.Title(ReportTitle(r),
            QStringLiteral("%1 · Velmora %2")
                .arg(r.When.toString(QStringLiteral("yyyy-MM-dd HH:mm")), ReportVersion()));

    std::vector<std::pair<QTextBlock, QTextTable *>> keep;
    QTextBlock heading = w.Heading(QStringLiteral("Inputs"));
    keep.emplace_back(heading, w.RowTable({QStringLiteral("Input"), QStringLiteral("Value"),
                                           QStringLiteral("Unit")},
                                          InputGroups(truck, r.Locale)));

    heading = w.Heading(QStringLiteral("Results at the operating point"));
    w.Paragraph(r.PointText);
    keep.emplace_back(heading, w.RowTable({QStringLiteral("Readout"), QStringLiteral("Value"),
                                           QStringLiteral("Unit")},
                                          {{QString(), ResultRows(truck, r.Point, r.Locale)}}));

    w.Heading(QStringLiteral("Life map"));
    const bool chosen = r.ReliabilityPct > MinReliability;
    w.Paragraph(QStringLiteral("L10 life of the input-shaft bearing against road speed in fifth "
                               "gear, dashed grey where the truck cannot hold the speed") +
                (chosen ? QStringLiteral(", with a1 × L10 at %1 reliability")
                              .arg(PercentText(r.ReliabilityPct, r.Locale))
                        : QString()) +
                QStringLiteral("; the dot is the operating point."));
    const TLifeMapPicture picture = LifeMapPictureOf(truck, r.ReliabilityPct, r.Point);
    const double width = page.width();
    const double height = std::min(width * 0.6, page.height() * 0.55);
    doc->documentLayout()->registerHandler(
        LifeMapObject, new TLifeMapObject(picture, QSizeF(width, height), pt, doc.get()));
    w.Object(LifeMapObject, QStringLiteral("Life map"));

    heading = w.Heading(QStringLiteral("Duty cycle"));
    if (truck.Duty.empty()) {
        w.Paragraph(QStringLiteral("The truck has no duty list."));
    } else {
        const TDutyResult result = DutyLife(truck, truck.Duty);
        const TDutyTable table = DutyTable(truck, result, r.ReliabilityPct, r.Locale);
        keep.emplace_back(heading, w.LineTable(table.Header, table.Lines, [&] {
            std::vector<bool> shaded;
            for (bool held : table.Held)
                shaded.push_back(!held);
            return shaded;
        }()));
        for (const QString &line : table.Summary)
            w.Paragraph(line, 2);
        if (r.Route) {
            heading = w.Heading(QStringLiteral("Route"));
            w.Paragraph(QStringLiteral("The duty list comes from a recorded route."));
            TRouteSummary route = *r.Route;
            route.LifeKm = result.LifeKm;
            route.Trips.reset();
            if (result.LifeKm && route.MovingDistanceM > 0)
                route.Trips = *result.LifeKm / (route.MovingDistanceM / 1000);
            keep.emplace_back(
                heading,
                w.RowTable(
                    {QStringLiteral("Route"), QStringLiteral("Value"), QStringLiteral("Unit")},
                    {{QString(), RouteRows(truck, route, r.ReliabilityPct, r.Locale)}}));
        }
    }

    w.Heading(QStringLiteral("Assumptions"));
    w.Paragraph(assumptions(r));
    w.Cursor().endEditBlock();
    keepTogether(*doc, keep);
    return doc;
}

#include "ReportDocument.moc"
