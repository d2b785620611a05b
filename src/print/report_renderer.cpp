#include "print/report_renderer.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <algorithm>
#include <vector>

namespace qtx::print {

namespace {

constexpr qreal kTablePt = 8;
constexpr qreal kBodyPt = 9;
constexpr qreal kCaptionPt = 10;
constexpr qreal kHeadingPt = 12;
constexpr qreal kTitlePt = 13;
constexpr qreal kHeaderPt = 8;
constexpr qreal kCellPaddingPt = 1.5;
constexpr qreal kBorderPt = 0.5;

QString fromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QFont reportFont(const Report& r, qreal points, bool bold = false)
{
    QFont f(fromUtf8(r.font));
    f.setPointSizeF(points);
    f.setBold(bold);
    // No ligatures: "fl" stays two letters for whoever searches the PDF.
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

QTextCharFormat charFormat(const QFont& font)
{
    QTextCharFormat f;
    f.setFont(font);
    return f;
}

class DocumentWriter {
public:
    DocumentWriter(const Report& r, QTextDocument& doc, QPaintDevice& device)
        : r_(r), cursor_(&doc), device_(device), px_(layoutUnitsPerPoint())
    {
    }

    // Margins, borders and paddings are given in screen pixels; the layout
    // scales them to the device.
    static qreal layoutUnitsPerPoint()
    {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return (screen ? screen->logicalDotsPerInchY() : 96.0) / 72.0;
    }

    // Columns share the width by what they hold: a cell's whole text, a
    // heading's longest word, so rows stay on one line when the page allows.
    QList<QTextLength> columnWidths(const ReportTable& t) const
    {
        const QFontMetricsF cell(reportFont(r_, kTablePt), &device_);
        const QFontMetricsF heading(reportFont(r_, kTablePt, true), &device_);
        std::vector<qreal> widths(t.headings.size(), 0);
        qreal total = 0;
        for (size_t c = 0; c < widths.size(); ++c) {
            for (const QString& word : fromUtf8(t.headings[c]).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts))
                widths[c] = std::max(widths[c], heading.horizontalAdvance(word));
            for (const auto& row : t.rows)
                if (c < row.size())
                    widths[c] = std::max(widths[c], cell.horizontalAdvance(fromUtf8(row[c])));
            widths[c] += (2 * kCellPaddingPt + 2 * kBorderPt + 1) * device_.logicalDpiX() / 72.0;
            total += widths[c];
        }
        QList<QTextLength> out;
        for (qreal w : widths)
            out.append(QTextLength(QTextLength::PercentageLength, 100 * w / total));
        return out;
    }

    void paragraph(const std::string& text, qreal points, bool bold, qreal spaceAbove)
    {
        QTextBlockFormat block;
        block.setTopMargin(first_ ? 0 : spaceAbove * px_);
        block.setBottomMargin(2 * px_);
        const QTextCharFormat chars = charFormat(reportFont(r_, points, bold));
        if (first_)
            cursor_.setBlockFormat(block);
        else
            cursor_.insertBlock(block, chars);
        first_ = false;
        cursor_.insertText(fromUtf8(text), chars);
    }

    void table(const ReportTable& t)
    {
        const bool headed = !t.headings.empty();
        const int columns = headed ? static_cast<int>(t.headings.size()) : 2;
        const int rows = static_cast<int>(t.rows.size()) + (headed ? 1 : 0);
        QTextTableFormat format;
        format.setHeaderRowCount(headed ? 1 : 0);
        format.setBorder(kBorderPt * px_);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderCollapse(true);
        format.setCellSpacing(0);
        format.setCellPadding(kCellPaddingPt * px_);
        if (headed) {
            format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
            format.setColumnWidthConstraints(columnWidths(t));
        } else {
            format.setWidth(QTextLength(QTextLength::PercentageLength, 80));
            format.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 40),
                                              QTextLength(QTextLength::PercentageLength, 60)});
        }
        QTextBlockFormat space;
        space.setTopMargin(3 * px_);
        cursor_.insertBlock(space);
        first_ = false;
        QTextTable* table = cursor_.insertTable(rows, columns, format);
        const QTextCharFormat cell = charFormat(reportFont(r_, kTablePt));
        const QTextCharFormat heading = charFormat(reportFont(r_, kTablePt, true));
        auto put = [table](int row, int column, const std::string& text, const QTextCharFormat& chars) {
            QTextCursor c = table->cellAt(row, column).firstCursorPosition();
            c.insertText(fromUtf8(text), chars);
        };
        int row = 0;
        if (headed) {
            QTextTableCellFormat shade;
            shade.setBackground(QColor(225, 225, 225));
            for (int c = 0; c < columns; ++c) {
                table->cellAt(0, c).setFormat(shade);
                put(0, c, t.headings[static_cast<size_t>(c)], heading);
            }
            row = 1;
        }
        for (const auto& cells : t.rows) {
            for (int c = 0; c < columns && c < static_cast<int>(cells.size()); ++c)
                put(row, c, cells[static_cast<size_t>(c)], headed || c > 0 ? cell : heading);
            ++row;
        }
        cursor_.movePosition(QTextCursor::End);
    }

private:
    const Report& r_;
    QTextCursor cursor_;
    QPaintDevice& device_;
    qreal px_;
    bool first_ = true;
};

void writeParts(const Report& report, QTextDocument& doc, QPaintDevice& device);

} // namespace

std::unique_ptr<QTextDocument> ReportDocument(const Report& report, QPaintDevice& device, qreal bodyHeight)
{
    auto doc = std::make_unique<QTextDocument>();
    doc->setDocumentMargin(0);
    doc->setDefaultFont(reportFont(report, kBodyPt));
    // Filled first and laid out once: a layout kept up to date cell by cell
    // takes minutes for a full channel table.
    {
        QTextCursor batch(doc.get());
        batch.beginEditBlock();
        writeParts(report, *doc, device);
        batch.endEditBlock();
    }
    doc->documentLayout()->setPaintDevice(&device);
    doc->setPageSize(QSizeF(device.width(), bodyHeight));
    return doc;
}

namespace {

void writeParts(const Report& report, QTextDocument& doc, QPaintDevice& device)
{
    DocumentWriter out(report, doc, device);
    for (const ReportPart& part : report.parts) {
        out.paragraph(part.heading, kHeadingPt, true, 14);
        for (const ReportBlock& block : part.blocks) {
            if (!block.caption.empty())
                out.paragraph(block.caption, kCaptionPt, true, 6);
            if (!block.note.empty())
                out.paragraph(block.note, kBodyPt, false, 4);
            else
                out.table(block.table);
        }
    }
}

} // namespace

int PaintReport(const Report& report, QPagedPaintDevice& device)
{
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    const qreal px = device.logicalDpiY() / 72.0;
    const QFont titleFont = reportFont(report, kTitlePt, true);
    const QFont headerFont = reportFont(report, kHeaderPt);
    const QFontMetricsF title(titleFont, &device);
    const QFontMetricsF line(headerFont, &device);
    const qreal width = device.width();
    const qreal headerHeight = title.height() + 2 * line.height() + 2 * px;
    const qreal footerHeight = line.height() + 4 * px;
    const qreal bodyTop = headerHeight + 8 * px;
    const qreal bodyHeight = device.height() - bodyTop - footerHeight - 8 * px;
    if (bodyHeight <= 0)
        return 0;

    const auto doc = ReportDocument(report, device, bodyHeight);
    const int pages = doc->pageCount();
    const QString fileLine = fromUtf8(report.fileLine);
    const QString modelLine = fromUtf8(report.modelLine);
    const QString dateLine = fromUtf8(report.dateLine);
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !device.newPage())
            return page;
        painter.setPen(Qt::black);
        painter.setFont(titleFont);
        painter.drawText(QRectF(0, 0, width, title.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         fromUtf8(report.title));
        painter.setFont(headerFont);
        painter.drawText(QRectF(0, 0, width, title.height()), Qt::AlignRight | Qt::AlignVCenter, dateLine);
        painter.drawText(QRectF(0, title.height(), width, line.height()), Qt::AlignLeft, fileLine);
        painter.drawText(QRectF(0, title.height() + line.height(), width, line.height()), Qt::AlignLeft, modelLine);
        painter.drawLine(QPointF(0, headerHeight), QPointF(width, headerHeight));

        painter.save();
        painter.translate(0, bodyTop - page * bodyHeight);
        const QRectF clip(0, page * bodyHeight, width, bodyHeight);
        painter.setClipRect(clip);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = clip;
        context.palette.setColor(QPalette::Text, Qt::black);
        doc->documentLayout()->draw(&painter, context);
        painter.restore();

        const qreal footerTop = device.height() - footerHeight;
        painter.drawLine(QPointF(0, footerTop), QPointF(width, footerTop));
        painter.drawText(QRectF(0, footerTop, width, footerHeight), Qt::AlignHCenter | Qt::AlignBottom,
                         fromUtf8(ReportPageText(report, page + 1, pages)));
    }
    painter.end();
    return pages;
}

PdfResult WriteReportPdf(const Report& report, const QString& path, QPageSize::PageSizeId pageSize)
{
    // Laid out in memory first: nothing reaches the disk unless the whole
    // report was painted.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageSize(QPageSize(pageSize));
        writer.setPageMargins(QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
        writer.setResolution(600);
        writer.setTitle(fromUtf8(report.title));
        writer.setCreator(QStringLiteral("QTX"));
        if (PaintReport(report, writer) == 0)
            return {false, QStringLiteral("the report could not be laid out")};
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString()};
    if (file.write(pdf.data()) != pdf.data().size()) {
        file.cancelWriting();
        return {false, file.errorString()};
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {true, {}};
}

} // namespace qtx::print
