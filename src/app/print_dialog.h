#pragma once
// File > Print: which sections of the programming sheet to print, then a
// preview, the printer or a PDF. The sheet shows the live Codeplug, unsaved
// edits included.

#include "app/app_state.h"
#include "report/report.h"
#include "ui/prompter.h"

#include <QDialog>
#include <QMap>

class QCheckBox;
class QPushButton;

namespace qtx::app {

// The facts of the sheet's header for the state as it is now.
ReportFacts CurrentReportFacts(const AppState& st);

class PrintDialog : public QDialog {
    Q_OBJECT
public:
    PrintDialog(AppState& st, ui::Prompter& prompter, QWidget* parent = nullptr);

    QCheckBox* box(ReportSection s) const { return boxes_.value(s); }
    QPushButton* previewButton() const { return preview_; }
    QPushButton* printButton() const { return print_; }
    QPushButton* pdfButton() const { return pdf_; }

    // The ticked sections that are offered now, in print order.
    std::vector<ReportSection> chosen() const;
    Report report() const;

    // Asks where to and writes the PDF; false when cancelled or failed (the
    // user has been told).
    bool exportPdf();

private:
    void preview();
    void print();
    void follow();

    AppState& st_;
    ui::Prompter& prompter_;
    QMap<ReportSection, QCheckBox*> boxes_;
    QPushButton* preview_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* pdf_ = nullptr;
};

} // namespace qtx::app
