#pragma once
// A core Report on paper: the sections as one flowing document, painted page
// by page under a header (title, file, model and band, date) and above a
// "Page n of m" footer. Tables repeat their heading row on every page and
// never split a row.

#include "report/report.h"

#include <QString>
#include <QPageSize>

#include <memory>

class QPagedPaintDevice;
class QPaintDevice;
class QTextDocument;

namespace qtx::print {

// The sections laid out for `device` (fonts by its resolution), one page of
// body `bodyHeight` device pixels high. Text goes in through QTextCursor, so
// markup characters print as themselves.
std::unique_ptr<QTextDocument> ReportDocument(const Report& report, QPaintDevice& device, qreal bodyHeight);

// Paints every page onto the device; the pages painted, or 0 when the
// device could not be painted on.
int PaintReport(const Report& report, QPagedPaintDevice& device);

// Writes the report as a PDF: a temporary file beside `path`, renamed over it
// only when complete. On failure no file is left and the reason is returned.
struct PdfResult {
    bool ok = false;
    QString error;
};
PdfResult WriteReportPdf(const Report& report, const QString& path,
                         QPageSize::PageSizeId pageSize = QPageSize::A4);

} // namespace qtx::print
