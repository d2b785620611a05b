#include "app/print_dialog.h"

#include "files/change_tracking.h"
#include "print/report_renderer.h"
#include "ui/captions.h"
#include "ui/help_topic.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLocale>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QVBoxLayout>

namespace qtx::app {

namespace {

// The caption of each section's box: the heading it prints under.
QString sectionCaption(const AppState& st, ReportSection s)
{
    switch (s) {
    case ReportSection::Channels: return st.text(7001);
    case ReportSection::Options: return st.text(5021);
    case ReportSection::Keys: return st.text(5029);
    case ReportSection::Scan: return st.text(2400);
    case ReportSection::Alarm: return st.text(2600);
    case ReportSection::Dtmf: return st.text(5023);
    case ReportSection::TwoTone: return st.text(5024);
    case ReportSection::FiveTone: return st.text(5025);
    case ReportSection::CommBook: return st.text(5804);
    case ReportSection::EmbeddedInfo: return st.builtIn(BuiltIn::InfoTitle);
    }
    return {};
}

// A menu caption as a window title: no mnemonic, no trailing dots.
QString titleOf(QString caption)
{
    caption.remove(QRegularExpression("\\(&.\\)")); // "打印(&P)..."
    caption.remove('&');
    while (caption.endsWith('.'))
        caption.chop(1);
    return caption.trimmed();
}

} // namespace

ReportFacts CurrentReportFacts(const AppState& st)
{
    ReportFacts f;
    f.fileName = st.ws.fileName;
    f.untitled = st.ws.isUntitled;
    f.modified = IsModified(st.ws);
    f.modelLabel = st.modelLabel.toStdString();
    f.dateTime = QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm").toStdString();
    f.switches = st.switches;
    return f;
}

PrintDialog::PrintDialog(AppState& st, ui::Prompter& prompter, QWidget* parent)
    : QDialog(parent), st_(st), prompter_(prompter)
{
    setObjectName("FrmPrint");
    ui::SetHelpTopic(this, "print");
    setWindowTitle(titleOf(st.text(1005)));

    auto* group = new QGroupBox(st.text(7016), this);
    auto* boxes = new QVBoxLayout(group);
    const bool infoRead = st.radioInfo != nullptr;
    for (ReportSection s : kReportSections) {
        auto* box = new QCheckBox(sectionCaption(st, s), group);
        box->setObjectName(QString("chkSection_%1").arg(QString::fromLatin1(ReportSectionName(s).data())));
        // Offered as its editor is: the signalling ones by their switches,
        // the radio's information after a read in this run.
        box->setVisible(ReportSectionOffered(s, st.switches, infoRead));
        const bool ticked = !st.printSections || std::find(st.printSections->begin(), st.printSections->end(), s) !=
                                                     st.printSections->end();
        box->setChecked(ticked);
        connect(box, &QCheckBox::toggled, this, [this] {
            st_.printSections = chosen();
            follow();
        });
        boxes->addWidget(box);
        boxes_.insert(s, box);
    }

    auto* selectAll = new QPushButton(st.text(7002), this);
    selectAll->setObjectName("cmdSelectAll");
    auto* clearAll = new QPushButton(st.text(7003), this);
    clearAll->setObjectName("cmdClearAll");
    auto tickAll = [this](bool on) {
        for (QCheckBox* box : std::as_const(boxes_))
            if (!box->isHidden()) {
                const QSignalBlocker quiet(box);
                box->setChecked(on);
            }
        st_.printSections = chosen();
        follow();
    };
    connect(selectAll, &QPushButton::clicked, this, [tickAll] { tickAll(true); });
    connect(clearAll, &QPushButton::clicked, this, [tickAll] { tickAll(false); });
    auto* ticks = new QHBoxLayout;
    ticks->addWidget(selectAll);
    ticks->addWidget(clearAll);
    ticks->addStretch();

    auto* buttons = new QDialogButtonBox(this);
    preview_ = buttons->addButton(st.text(7004), QDialogButtonBox::ActionRole);
    preview_->setObjectName("cmdPreview");
    print_ = buttons->addButton(st.text(7005), QDialogButtonBox::ActionRole);
    print_->setObjectName("cmdPrint");
    pdf_ = buttons->addButton(st.text(7006), QDialogButtonBox::ActionRole);
    pdf_->setObjectName("cmdExportPdf");
    QPushButton* close = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    close->setObjectName("CommandClose");
    ui::SetCloseHelpCaptions(this, st);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(preview_, &QPushButton::clicked, this, &PrintDialog::preview);
    connect(print_, &QPushButton::clicked, this, &PrintDialog::print);
    connect(pdf_, &QPushButton::clicked, this, &PrintDialog::exportPdf);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(ticks);
    layout->addWidget(buttons);
    follow();
}

std::vector<ReportSection> PrintDialog::chosen() const
{
    std::vector<ReportSection> out;
    for (ReportSection s : kReportSections) {
        const QCheckBox* box = boxes_.value(s);
        if (box && !box->isHidden() && box->isChecked())
            out.push_back(s);
    }
    return out;
}

Report PrintDialog::report() const
{
    const std::vector<ReportSection> sections = chosen();
    return BuildPrintReport(st_.ws.live, st_.radioInfo.get(), sections, st_.table, st_.language,
                            CurrentReportFacts(st_));
}

void PrintDialog::follow()
{
    const bool any = !chosen().empty();
    for (QPushButton* b : {preview_, print_, pdf_})
        b->setEnabled(any);
}

void PrintDialog::preview()
{
    const Report sheet = report();
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, this);
    dialog.setWindowTitle(windowTitle());
    // Large enough to read a page without zooming.
    if (const QScreen* screen = this->screen()) {
        const QRect room = screen->availableGeometry();
        dialog.resize(room.width() * 3 / 4, room.height() * 9 / 10);
    }
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [&sheet](QPrinter* target) { print::PaintReport(sheet, *target); });
    dialog.exec();
}

void PrintDialog::print()
{
    const Report sheet = report();
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (print::PaintReport(sheet, printer) == 0)
        prompter_.tell(st_.builtIn(BuiltIn::FileError), ui::Icon::Warning);
}

bool PrintDialog::exportPdf()
{
    // Beside the data file, named after it; in the home folder while untitled.
    const QFileInfo data(QString::fromStdString(st_.ws.fileName));
    const QString folder = st_.ws.isUntitled || data.path() == "." ? QDir::homePath() : data.path();
    const QString preset = QDir(folder).filePath(data.completeBaseName() + ".pdf");
    const QString path = prompter_.saveFileName({st_.text(7007) + " (*.pdf)", "pdf"}, preset);
    if (path.isEmpty())
        return false;
    const bool letter = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    const print::PdfResult written =
        print::WriteReportPdf(report(), path, letter ? QPageSize::Letter : QPageSize::A4);
    if (!written.ok) {
        prompter_.tell(st_.builtIn(BuiltIn::FileError), ui::Icon::Warning);
        return false;
    }
    return true;
}

} // namespace qtx::app
