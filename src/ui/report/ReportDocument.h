#pragma once

#include "ui/report/Report.h"

#include <QSizeF>

#include <memory>

class QPaintDevice;
class QTextDocument;

// The report as a text document laid out for `device` in pages of `page`
// (device units): real text, tables with their header row repeated on each
// page, the life map as a vector drawing in the flow.
std::unique_ptr<QTextDocument> ReportDocument(const TReportRequest &request, QPaintDevice *device,
                                              const QSizeF &page);

// The report's title line: "Velmora report: truck.json".
QString ReportTitle(const TReportRequest &request);
