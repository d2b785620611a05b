#include "signalling/two_tone_editor.h"
#include "ui/help_topic.h"

#include "forms/key_rules.h"
#include "ui/field_filter.h"
#include "ui/texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qtx::signalling {

namespace {

bool isEnter(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier;
}

// Cell editors: tones take digits and "." (6 characters), names the name
// characters (7). Enter is the grid's, not the editor's.
class CallDelegate : public QStyledItemDelegate {
public:
    CallDelegate(CallGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        auto* box = new QLineEdit(parent);
        const bool name = index.column() == kCallColumnName;
        box->setMaxLength(name ? kCallNameLength : kToneTextLength);
        ui::FieldFilter::install(box, name ? NameKey : FrequencyKey);
        grid_->setEditor(box);
        return box;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (isEnter(event)) {
            emit grid_->enterPressed();
            return true;
        }
        return QStyledItemDelegate::eventFilter(watched, event);
    }

private:
    CallGrid* grid_;
};

} // namespace

void CallGrid::commitEdit()
{
    if (state() != EditingState || !editor_)
        return;
    QWidget* e = editor_;
    editor_ = nullptr;
    commitData(e);
    closeEditor(e, QAbstractItemDelegate::NoHint);
}

void CallGrid::keyPressEvent(QKeyEvent* event)
{
    if (isEnter(event)) {
        emit enterPressed();
        return;
    }
    // A typed character opens the cell and replaces its text. The key is
    // queued behind the editor's select-all on focus, so it lands in the
    // new editor whatever the editor does when it takes the focus.
    const QString text = event->text();
    const bool typed = !text.isEmpty() && text.at(0).isPrint() && !(event->modifiers() & Qt::ControlModifier);
    if (typed && state() != EditingState && edit(currentIndex(), AllEditTriggers, event) && editor_) {
        QCoreApplication::postEvent(editor_, new QKeyEvent(QEvent::KeyPress, event->key(), event->modifiers(), text));
        return;
    }
    QTableWidget::keyPressEvent(event);
}

TwoToneEditor::TwoToneEditor(Codeplug& codeplug, const ui::LanguageTexts& texts, QWidget* parent)
    : QDialog(parent), cp_(codeplug), texts_(texts), work_(codeplug.body.Settings.TwoTone)
{
    setObjectName("Frm2Tone");
    ui::SetHelpTopic(this, "two-tone-editor");
    form_ = LoadTwoToneForm(work_);
    build();
    showForm();
    loading_ = false;
    format_->setFocus();
}

QString TwoToneEditor::option(int id) const { return texts_.option(QString::number(id)); }

void TwoToneEditor::build()
{
    setWindowTitle(option(60051));
    auto combo = [this](const char* name) {
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        return c;
    };

    format_ = combo("cmbOwnFormat");
    for (std::string_view f : kTwoToneFormats)
        format_->addItem(QString::fromLatin1(f.data(), static_cast<qsizetype>(f.size())));
    decode_ = combo("cmbDecodeResponse");
    for (int id : {60057, 60058, 60059})
        decode_->addItem(option(id));

    auto* first = new QWidget;
    auto* firstForm = new QFormLayout(first);
    firstForm->addRow(option(60049), format_);
    firstForm->addRow(option(60050), decode_);
    static constexpr std::array<char, kTwoToneBoxCount> kLetters = {'A', 'B', 'C', 'D'};
    for (int i = 0; i < kTwoToneBoxCount; ++i) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QString("txtTone%1").arg(kLetters[i]));
        box->setMaxLength(kToneTextLength);
        ui::FieldFilter::install(box, FrequencyKey);
        box->installEventFilter(this);
        tones_[i] = box;
        firstForm->addRow(QChar(kLetters[i]) + option(60056), box);
    }

    grid_ = new CallGrid(kTwoToneEntryCount, 4, this);
    grid_->setObjectName("grdCallList");
    grid_->setHorizontalHeaderLabels({option(60053), option(60054), option(60055), option(60304)});
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 8);
    grid_->setColumnWidth(0, grid_->fontMetrics().horizontalAdvance("0000"));
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setItemDelegate(new CallDelegate(grid_));
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    grid_->setTabKeyNavigation(true);
    for (int r = 0; r < kTwoToneEntryCount; ++r) {
        auto* number = new QTableWidgetItem(QString::number(r));
        number->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        grid_->setItem(r, 0, number);
        for (int c = 1; c < 4; ++c)
            grid_->setItem(r, c, new QTableWidgetItem);
    }

    for (int i = 0; i < 3; ++i) {
        durations_[i] = combo(QString("cmbDuration%1").arg(i + 1).toLatin1().constData());
        for (int r = 0; r < kTwoToneDurationRows; ++r)
            durations_[i]->addItem(QString::fromStdString(TwoToneDurationText(r)));
    }
    delay_ = combo("cmbDelay");
    for (int r = 0; r < kTwoToneDelayRows; ++r)
        delay_->addItem(QString::fromStdString(TwoToneDelayText(r)));
    timer_ = combo("cmbTimer");
    for (int r = 0; r < kTwoToneTimerRows; ++r)
        timer_->addItem(QString::fromStdString(TwoToneTimerText(r)));
    sideTone_ = new QCheckBox(option(60312), this);
    sideTone_->setObjectName("chkSideTone");

    auto* second = new QWidget;
    auto* secondRow = new QHBoxLayout(second);
    secondRow->addWidget(grid_, 1);
    auto* timing = new QFormLayout;
    for (int i = 0; i < 3; ++i)
        timing->addRow(option(60045 + i), durations_[i]);
    timing->addRow(option(60048), delay_);
    timing->addRow(option(60307), timer_);
    timing->addRow(sideTone_);
    secondRow->addLayout(timing);

    tabs_ = new QTabWidget(this);
    tabs_->addTab(first, option(60043));
    tabs_->addTab(second, option(60044));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    for (auto [which, id] : {std::pair{QDialogButtonBox::Ok, 60024}, std::pair{QDialogButtonBox::Cancel, 60025}}) {
        QPushButton* b = buttons->button(which);
        b->setText(option(id));
        // Enter belongs to the fields and the call list, never to OK.
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &TwoToneEditor::commit);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);

    auto* enter = new ui::EnterMovesOn(this);
    for (QWidget* w : findChildren<QComboBox*>())
        w->installEventFilter(enter);
    sideTone_->installEventFilter(enter);

    connect(format_, &QComboBox::currentIndexChanged, this, [this] { enableToneBoxes(); });
    connect(grid_, &QTableWidget::itemChanged, this, &TwoToneEditor::onCellCommitted);
    connect(grid_, &QTableWidget::currentCellChanged, this,
            [this](int row, int column) { onCurrentCellChanged(row, column); });
    connect(grid_, &CallGrid::enterPressed, this, &TwoToneEditor::onEnter);
    connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, grid_, &CallGrid::commitEdit);
    resize(620, 460);
}

void TwoToneEditor::showForm()
{
    format_->setCurrentIndex(form_.format);
    decode_->setCurrentIndex(form_.decodeResponse);
    for (int i = 0; i < kTwoToneBoxCount; ++i)
        tones_[i]->setText(QString::fromStdString(form_.tones[i]));
    for (int i = 0; i < 3; ++i)
        durations_[i]->setCurrentIndex(form_.durations[i]);
    delay_->setCurrentIndex(form_.delay);
    timer_->setCurrentIndex(form_.timer);
    sideTone_->setChecked(form_.sideTone);
    for (int r = 0; r < kTwoToneEntryCount; ++r)
        showEntry(r, EntryCellTexts(work_.Entries[r]));
    enableToneBoxes();
}

void TwoToneEditor::showEntry(int row, const CallCells& cells)
{
    const QSignalBlocker block(grid_);
    grid_->item(row, kCallColumnFirst)->setText(QString::fromStdString(cells.first));
    grid_->item(row, kCallColumnSecond)->setText(QString::fromStdString(cells.second));
    grid_->item(row, kCallColumnName)->setText(ui::fromLatin1(cells.name));
}

void TwoToneEditor::enableToneBoxes()
{
    const auto on = EnabledToneBoxes(format_->currentIndex());
    for (int i = 0; i < kTwoToneBoxCount; ++i)
        tones_[i]->setEnabled(on[i]);
}

void TwoToneEditor::leaveToneBox(int i)
{
    tones_[i]->setText(QString::fromStdString(ToneOnLeave(tones_[i]->text().toStdString())));
}

bool TwoToneEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut)
        for (int i = 0; i < kTwoToneBoxCount; ++i)
            if (watched == tones_[i])
                leaveToneBox(i);
    return QDialog::eventFilter(watched, event);
}

void TwoToneEditor::onCellCommitted(QTableWidgetItem* item)
{
    if (loading_ || item->column() == 0)
        return;
    const int row = item->row();
    showEntry(row, CommitCell(work_.Entries[row], item->column(), item->text().toLatin1().toStdString()));
}

void TwoToneEditor::onCurrentCellChanged(int row, int column)
{
    if (loading_ || row < 0)
        return;
    if (!CanEnterCell(column, grid_->item(row, kCallColumnFirst)->text().toStdString()))
        grid_->setCurrentCell(row, kCallColumnFirst);
}

void TwoToneEditor::onEnter()
{
    const int row = grid_->currentRow();
    const int column = grid_->currentColumn();
    if (row < 0)
        return;
    grid_->commitEdit();
    const CellPos next =
        NextCellOnEnter({row, column}, grid_->item(row, kCallColumnFirst)->text().toStdString());
    grid_->setCurrentCell(next.row, next.column);
    grid_->setFocus();
}

void TwoToneEditor::commit()
{
    for (int i = 0; i < kTwoToneBoxCount; ++i)
        if (tones_[i]->hasFocus())
            leaveToneBox(i);
    form_.format = format_->currentIndex();
    form_.decodeResponse = decode_->currentIndex();
    for (int i = 0; i < 3; ++i)
        form_.durations[i] = durations_[i]->currentIndex();
    form_.delay = delay_->currentIndex();
    form_.timer = timer_->currentIndex();
    form_.sideTone = sideTone_->isChecked();
    for (int i = 0; i < kTwoToneBoxCount; ++i)
        form_.tones[i] = tones_[i]->text().toStdString();
    ApplyTwoToneForm(form_, work_);
    grid_->commitEdit();
    FinishTwoTone(cp_, work_);
    accept();
}

} // namespace qtx::signalling
