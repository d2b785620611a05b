#include "app/channel_import_dialog.h"
#include "ui/help_topic.h"

#include "app/app_state.h"
#include "ui/captions.h"
#include "view/main_view.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace qtx::app {

using namespace qtx::ui;

namespace {

// The channel table: location, change, then the grid columns a list carries.
constexpr int kChangeColumn = 1;
constexpr int kNameGridColumn = 3;
constexpr std::array<int, 8> kGridColumnsShown{1, 2, 3, 4, 5, 7, 8, 9};

QTableWidget* table(QWidget* parent, const QString& name, const QStringList& headings)
{
    auto* t = new QTableWidget(0, static_cast<int>(headings.size()), parent);
    t->setObjectName(name);
    t->setHorizontalHeaderLabels(headings);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->verticalHeader()->setVisible(false);
    t->setWordWrap(false);
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
    return t;
}

QTableWidgetItem* cell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

} // namespace

ChannelImportDialog::ChannelImportDialog(const AppState& st, const ChannelCsvImport& list, QWidget* parent)
    : QDialog(parent), st_(st), list_(list)
{
    setObjectName("FrmImportChannels");
    ui::SetHelpTopic(this, "channel-import");
    SetTextIds(this, 7502);
    const TextLookupFn text = [this](int id) { return st_.table.TextLookup(id); };

    QStringList channelHeadings{fromUtf8(GridColumnHeading(0, text)), st_.text(7538)};
    for (int c : kGridColumnsShown)
        channelHeadings << fromUtf8(GridColumnHeading(c, text)).replace('\n', ' ');
    channels_ = table(this, "tblChannels", channelHeadings);
    channels_->setRowCount(static_cast<int>(list_.channels.size()));
    const BandPlan& band = st_.ws.live.body.Band;
    for (int r = 0; r < channels_->rowCount(); ++r) {
        const ChannelRecord& ch = list_.channels[static_cast<size_t>(r)].record;
        channels_->setItem(r, 0, cell(QString::number(ch.Number - 1)));
        const ChannelCells cells = GridChannelCells(ch, band, text);
        for (size_t i = 0; i < kGridColumnsShown.size(); ++i) {
            const int c = kGridColumnsShown[i];
            const std::string& t = cells.cells[static_cast<size_t>(c)];
            channels_->setItem(r, static_cast<int>(i) + 2, cell(c == kNameGridColumn ? fromLatin1(t) : fromUtf8(t)));
        }
    }

    const CsvTextFn words = [this](int id) { return st_.table.TextLookup(id); };
    findings_ = table(this, "tblFindings", {st_.text(7507), st_.text(7508), st_.text(7509)});
    findings_->setRowCount(static_cast<int>(list_.findings.size()));
    for (int r = 0; r < findings_->rowCount(); ++r) {
        const CsvFinding& f = list_.findings[static_cast<size_t>(r)];
        findings_->setItem(r, 0, cell(f.line > 0 ? QString::number(f.line) : QString()));
        findings_->setItem(r, 1, cell(fromUtf8(f.column)));
        findings_->setItem(r, 2, cell(fromUtf8(FindingText(f, words))));
    }
    findings_->resizeColumnsToContents();
    findings_->horizontalHeader()->setStretchLastSection(true);

    auto* channelBox = new QGroupBox(this);
    SetTextIds(channelBox, 7517);
    (new QVBoxLayout(channelBox))->addWidget(channels_);
    auto* findingBox = new QGroupBox(this);
    SetTextIds(findingBox, 7518);
    auto* findingLayout = new QVBoxLayout(findingBox);
    findingLayout->addWidget(findings_);
    if (list_.omittedFindings > 0)
        findingLayout->addWidget(new QLabel(st_.text(7516).replace("%1", QString::number(list_.omittedFindings)), this));
    findingBox->setVisible(!list_.findings.empty());

    replaceAll_ = new QRadioButton(this);
    replaceAll_->setObjectName("optReplaceAll");
    SetTextIds(replaceAll_, 7503);
    merge_ = new QRadioButton(this);
    merge_->setObjectName("optMerge");
    SetTextIds(merge_, 7504);
    // Merging loses nothing the list does not name, so it comes first.
    merge_->setChecked(true);
    summary_ = new QLabel(this);
    summary_->setObjectName("lblSummary");
    connect(replaceAll_, &QRadioButton::toggled, this, [this] { showPlan(); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(channelBox, 3);
    layout->addWidget(findingBox, 2);
    layout->addWidget(merge_);
    layout->addWidget(replaceAll_);
    layout->addWidget(summary_);
    layout->addWidget(buttons);

    CaptionLoader(this, st_);
    SetOkCancelCaptions(this, st_);
    showPlan();
    resize(std::max(sizeHint().width(), 900), 600);
}

ChannelImportMode ChannelImportDialog::mode() const
{
    return replaceAll_->isChecked() ? ChannelImportMode::ReplaceAll : ChannelImportMode::Merge;
}

void ChannelImportDialog::setMode(ChannelImportMode mode)
{
    (mode == ChannelImportMode::ReplaceAll ? replaceAll_ : merge_)->setChecked(true);
}

void ChannelImportDialog::showPlan()
{
    const ChannelImportPlan plan = PlanChannelImport(st_.ws.live, list_, mode());
    for (int r = 0; r < channels_->rowCount(); ++r) {
        const int number = list_.channels[static_cast<size_t>(r)].record.Number;
        const bool replaces = std::find(plan.replaced.begin(), plan.replaced.end(), number) != plan.replaced.end();
        channels_->setItem(r, kChangeColumn, cell(st_.text(replaces ? 7506 : 7505)));
    }
    channels_->resizeColumnsToContents();
    summary_->setText(st_.text(7510)
                          .replace("%1", QString::number(plan.added.size()))
                          .replace("%2", QString::number(plan.replaced.size()))
                          .replace("%3", QString::number(plan.removed.size())));
}

} // namespace qtx::app
