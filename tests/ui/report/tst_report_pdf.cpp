// The report's pages: laid out so no line of text, table row or the life map
// crosses a page edge, tables that run on keep their header, and a write that
// fails keeps what was there before and leaves nothing beside it.
#include "analysis/DutyCycle.h"
#include "ui/report/Report.h"
#include "ui/report/ReportDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/resource.h>

namespace
{

TReportRequest requestWithSegments(int segments, QLocale locale = QLocale::c())
{
    TReportRequest r;
    r.TruckName = QStringLiteral("long.json");
    r.ReliabilityPct = 99;
    r.Locale = locale;
    for (int i = 0; i < segments; ++i)
        r.Truck.Duty.push_back({100.0 / segments, 20.0 + i % 60, TGear::Fifth, {}, {}});
    if (segments == 4) // the shares of a hand-made list, with a segment in fourth
        r.Truck.Duty = {{60, 55, TGear::Fifth, {}, {}},
                        {25, 40, TGear::Fifth, 0.03, {}},
                        {10, 30, TGear::Fourth, {}, 1500},
                        {5, 95, TGear::Fifth, 0.05, {}}};
    r.Point = PedalPoint(r.Truck, 55);
    r.PointText = PedalPointText(55, TGear::Fifth);
    return r;
}

// Every laid-out line lies on one page.
int linesAcrossAnEdge(QTextDocument &doc)
{
    const double page = doc.pageSize().height();
    int crossing = 0;
    for (QTextBlock b = doc.begin(); b != doc.end(); b = b.next()) {
        const QRectF block = doc.documentLayout()->blockBoundingRect(b);
        const QTextLayout *layout = b.layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const double top = block.top() + line.y();
            const double bottom = top + line.height();
            if (int(top / page) != int((bottom - 0.01) / page))
                ++crossing;
        }
    }
    return crossing;
}

// Tables short enough for a page that run across a page edge.
int shortTablesSplit(QTextDocument &doc)
{
    const double page = doc.pageSize().height();
    int split = 0;
    for (QTextFrame *frame : doc.rootFrame()->childFrames()) {
        auto *table = qobject_cast<QTextTable *>(frame);
        if (!table)
            continue;
        const QRectF r = doc.documentLayout()->frameBoundingRect(table);
        if (r.height() < page * 0.9 && int(r.top() / page) != int((r.bottom() - 1) / page))
            ++split;
    }
    return split;
}

class ReportPages : public testing::TestWithParam<std::tuple<int, bool>>
{
};

TEST_P(ReportPages, NoLineCrossesAPageEdge)
{
    const auto [segments, letter] = GetParam();
    const QLocale locale(QLocale::English, letter ? QLocale::UnitedStates : QLocale::UnitedKingdom);
    TReportRequest r = requestWithSegments(segments, locale);
    r.Truck.SpeedInMph = letter;
    r.Truck.LifeInMiles = letter;
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    QPdfWriter writer(&sink);
    SetUpReportWriter(writer, locale);
    const QSizeF page(writer.width(), writer.height() - ReportFooterHeight());
    auto doc = ReportDocument(r, &writer, page);
    EXPECT_GE(doc->pageCount(), 2);
    EXPECT_EQ(linesAcrossAnEdge(*doc), 0);
    // The inputs and the results stay whole; only a long duty table runs on.
    EXPECT_EQ(shortTablesSplit(*doc), 0);
}

// No list; a short list; one that runs onto the next page; one of several pages.
INSTANTIATE_TEST_SUITE_P(Report, ReportPages,
                         testing::Combine(testing::Values(0, 4, 12, 30, 150), testing::Bool()));

QString runPdfToText(const QString &pdf, int page)
{
    const QString txt = pdf + QStringLiteral(".txt");
    const QString cmd = QStringLiteral("pdftotext -enc UTF-8 -f %1 -l %1 '%2' '%3' 2>/dev/null")
                            .arg(page)
                            .arg(pdf, txt);
    if (std::system(cmd.toLocal8Bit().constData()) != 0)
        return {};
    QFile f(txt);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll()).simplified();
}

TEST(ReportPdf, ALongDutyTableKeepsItsHeaderOnEveryPageAndEverySegment)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("long.pdf"));
    TReportRequest r = requestWithSegments(150);
    r.Truck.Duty.back().SpeedMph = 99.5; // a line that can be told from the others
    ASSERT_EQ(WriteReport(pdf, r), QString());
    QString all;
    int withTable = 0;
    for (int page = 1; page <= 12; ++page) {
        const QString text = runPdfToText(pdf, page);
        if (text.isEmpty())
            break;
        all += text + QLatin1Char(' ');
        if (text.contains(QStringLiteral("0.67"))) { // a segment's share
            ++withTable;
            for (const char *h : {"Share %", "Gradient", "Damage %", "Note"})
                EXPECT_TRUE(text.contains(QLatin1String(h))) << page << " " << h;
        }
    }
    EXPECT_GE(withTable, 3);
    EXPECT_TRUE(all.contains(QStringLiteral("99.5")));
    EXPECT_TRUE(all.contains(QStringLiteral("Combined life [10%]")));
    EXPECT_TRUE(all.contains(QStringLiteral("Assumptions")));
}

TEST(ReportPdf, AFailedWriteKeepsTheOldFileAndLeavesNothingBeside)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("old.pdf"));
    {
        QFile old(pdf);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the report of yesterday");
    }
    // A full disk: the file may not grow past 16 KiB; the signal that would
    // end the process is ignored so the write itself fails.
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit small = before;
    small.rlim_cur = 16 * 1024;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const QString problem = WriteReport(pdf, requestWithSegments(3));
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_TRUE(problem.startsWith(pdf + QStringLiteral(": cannot be written: ")))
        << problem.toStdString();
    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("the report of yesterday"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(ReportPdf, AMissingFolderIsOneMessage)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("gone/r.pdf"));
    const QString problem = WriteReport(pdf, requestWithSegments(0));
    EXPECT_TRUE(problem.startsWith(pdf + QStringLiteral(": cannot be written: ")));
    EXPECT_FALSE(problem.contains(QLatin1Char('\n')));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

} // namespace
