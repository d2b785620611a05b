#include "signalling/five_tone_editor.h"

#include "forms/key_rules.h"
#include "ui/captions.h"
#include "ui/field_filter.h"
#include "ui/help_topic.h"
#include "ui/prompter.h"
#include "ui/texts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

namespace qtx::signalling {

namespace {

constexpr int kGridColumns = 6;

QLineEdit* textBox(QWidget* parent, const char* name, int maxLength, KeyRule rule)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setMaxLength(maxLength);
    ui::FieldFilter::install(box, rule);
    return box;
}

std::string latin1(const QString& s) { return s.toLatin1().toStdString(); }

// The call list's cell editors: a code box, the standard and tone-length
// lists, a name box. Locked cells get none, so they commit nothing.
class CallDelegate : public QStyledItemDelegate {
public:
    using Editable = std::function<bool(int row, int column)>;
    CallDelegate(FiveToneEditor* window, Editable editable)
        : QStyledItemDelegate(window), window_(window), editable_(std::move(editable))
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        const int row = index.row();
        const int column = index.column();
        if (!editable_(row, column))
            return nullptr;
        QWidget* editor = nullptr;
        if (column == kColumnCode || column == kColumnName) {
            const bool code = column == kColumnCode;
            editor = textBox(parent, code ? "txtCellCode" : "txtCellName",
                             code ? kCallCodeLength : kFiveToneNameLength, code ? HexKey : NameKey);
        } else if (column == kColumnStandard) {
            auto* list = new QComboBox(parent);
            list->setObjectName("cmbCellStandard");
            window_->fillStandards(list, window_->working().CallList[static_cast<size_t>(row)].Standard);
            QObject::connect(list, &QComboBox::activated, window_,
                             [w = window_, list, row] { w->chooseCellStandard(row, list->currentData().toInt()); });
            editor = list;
        } else {
            auto* list = new QComboBox(parent);
            list->setObjectName("cmbCellToneLength");
            for (const auto& e : FiveToneListEntries(FiveToneList::ToneLength))
                list->addItem(QString::fromStdString(e.text), std::stoi(e.text));
            editor = list;
        }
        open_ = editor;
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        const QString text = index.data().toString();
        if (auto* box = qobject_cast<QLineEdit*>(editor)) {
            box->setText(text);
            box->selectAll();
        } else if (auto* list = qobject_cast<QComboBox*>(editor); list && index.column() == kColumnToneLength) {
            list->setCurrentIndex(std::max(0, list->findText(text)));
        }
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override
    {
        QVariant value;
        if (auto* box = qobject_cast<QLineEdit*>(editor))
            value = box->text();
        else if (auto* list = qobject_cast<QComboBox*>(editor))
            value = list->currentData();
        window_->commitCell(index.row(), index.column(), value);
    }

    void destroyEditor(QWidget* editor, const QModelIndex& index) const override
    {
        if (open_ == editor)
            open_ = nullptr;
        QStyledItemDelegate::destroyEditor(editor, index);
    }

    // Commits and closes the open editor, if any.
    void finish()
    {
        if (QWidget* editor = open_) {
            open_ = nullptr;
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }

private:
    FiveToneEditor* window_;
    Editable editable_;
    mutable QPointer<QWidget> open_;
};

} // namespace

// --- Frm5ToneDefTS ------------------------------------------------------------------

UserToneEditor::UserToneEditor(UserToneTable& tones, const ui::LanguageTexts& texts, QWidget* parent)
    : QDialog(parent), tones_(tones)
{
    setObjectName("Frm5ToneDefTS");
    ui::SetHelpTopic(this, "five-tone-editor");
    setWindowTitle(texts.text(3103));
    auto* grid = new QGridLayout;
    for (int d = 0; d < 16; ++d) {
        auto* box = textBox(this, "txtTone", kUserToneTextLength, FrequencyKey);
        box->setObjectName(QString("txtTone%1").arg(d, 1, 16).toUpper());
        box->setText(QString::fromStdString(UserToneText(tones_[static_cast<size_t>(d)])));
        box->installEventFilter(this);
        boxes_[static_cast<size_t>(d)] = box;
        auto* label = new QLabel(QString::number(d, 16).toUpper(), this);
        label->setBuddy(box);
        grid->addWidget(label, d % 8, (d / 8) * 2);
        grid->addWidget(box, d % 8, (d / 8) * 2 + 1);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    for (QAbstractButton* b : buttons->buttons())
        static_cast<QPushButton*>(b)->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &UserToneEditor::commit);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    ui::SetOkCancelCaptions(this, texts);
}

bool UserToneEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut)
        if (auto* box = qobject_cast<QLineEdit*>(watched))
            box->setText(QString::fromStdString(UserToneOnLeave(latin1(box->text()))));
    return QDialog::eventFilter(watched, event);
}

void UserToneEditor::commit()
{
    for (size_t d = 0; d < boxes_.size(); ++d)
        tones_[d] = UserToneAtOk(latin1(boxes_[d]->text()), tones_[d]);
    accept();
}

// --- Frm5Tone ---------------------------------------------------------------------------

FiveToneEditor::FiveToneEditor(Codeplug& codeplug, const ui::LanguageTexts& texts, ui::Prompter& prompter,
                               QWidget* parent)
    : QDialog(parent), cp_(codeplug), texts_(texts), prompter_(prompter), work_(codeplug.body.Settings.FiveTone)
{
    setObjectName("Frm5Tone");
    ui::SetHelpTopic(this, "five-tone-editor");
    form_ = LoadFiveToneForm(work_, codeplug.body.FiveToneCodeFormat);
    build();
    showForm();
    loading_ = false;
    ownId_->setFocus();
}

QString FiveToneEditor::option(int id) const { return texts_.option(QString::number(id)); }

QString FiveToneEditor::standardText(int standard) const
{
    const Choice& c = StandardName(standard);
    return c.textId > 0 ? texts_.text(c.textId) : QString::fromLatin1(c.text.data(), qsizetype(c.text.size()));
}

void FiveToneEditor::fillStandards(QComboBox* combo, int stored) const
{
    const QSignalBlocker block(combo);
    combo->clear();
    for (int v : StandardRows(stored))
        combo->addItem(standardText(v), v);
    combo->setCurrentIndex(std::max(0, combo->findData(stored)));
}

void FiveToneEditor::build()
{
    setWindowTitle(option(60052));
    auto list = [this](const char* name, FiveToneList values) {
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        for (const FiveToneListEntry& e : FiveToneListEntries(values))
            c->addItem(e.textId == 0 ? QString::fromStdString(e.text)
                                     : e.textId >= 60000 ? option(e.textId) : texts_.text(e.textId));
        return c;
    };
    auto plainList = [this](const char* name) {
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        return c;
    };

    // Main settings.
    ownId_ = textBox(this, "txtOwnId", kOwnIdLength, DigitKey);
    ownId_->installEventFilter(this);
    standard_ = plainList("cmbStandard");
    decodeResponse_ = list("cmbDecodeResponse", FiveToneList::DecodeResponse);
    toneLength_ = list("cmbToneLength", FiveToneList::ToneLength);
    preSend_ = list("cmbPreSendDelay", FiveToneList::PreSendDelay);
    autoReset_ = list("cmbAutoReset", FiveToneList::AutoReset);
    postSend_ = list("cmbPostSendDelay", FiveToneList::PostSendDelay);
    ringTime_ = list("cmbRingTime", FiveToneList::RingTime);
    firstDigitDelay_ = list("cmbFirstDigitDelay", FiveToneList::FirstDigitDelay);
    pauseCode_ = list("cmbPauseCode", FiveToneList::PauseCode);
    pauseTime_ = list("cmbPauseTime", FiveToneList::PauseTime);
    decodeTime_ = list("cmbDecodeTime", FiveToneList::DecodeTime);
    firstCodeDelay_ = list("cmbFirstCodeDelay", FiveToneList::FirstCodeDelay);
    sideTone_ = new QCheckBox(option(60312), this);
    sideTone_->setObjectName("chkSideTone");
    auto* mainForm = new QFormLayout;
    mainForm->addRow(option(60072), ownId_);
    mainForm->addRow(texts_.text(3004), standard_);
    mainForm->addRow(option(60070), decodeResponse_);
    mainForm->addRow(option(60071), toneLength_);
    mainForm->addRow(option(60081), preSend_);
    mainForm->addRow(option(60307), autoReset_);
    mainForm->addRow(option(60308), postSend_);
    mainForm->addRow(option(60309), ringTime_);
    mainForm->addRow(option(60310), firstDigitDelay_);
    mainForm->addRow(option(60314), pauseCode_);
    mainForm->addRow(option(60311), pauseTime_);
    mainForm->addRow(option(60315), decodeTime_);
    mainForm->addRow(option(60316), firstCodeDelay_);
    mainForm->addRow(sideTone_);

    // Information codes, one shown at a time.
    infoNumber_ = plainList("cmbInfoNumber");
    for (int n = 1; n <= kFiveToneInfoCount; ++n)
        infoNumber_->addItem(QString::number(n));
    function_ = plainList("cmbDecodeFunction");
    for (int id : {60098, 60075, 60074, 60069, 60093, 60082, 60099})
        function_->addItem(option(id));
    infoResponse_ = plainList("cmbInfoResponse");
    infoCode_ = textBox(this, "txtInfoCode", kInfoCodeLength, HexKey);
    infoName_ = textBox(this, "txtInfoName", kFiveToneNameLength, NameKey);
    auto* infoForm = new QFormLayout;
    infoForm->addRow(option(60095), infoNumber_);
    infoForm->addRow(option(60096), function_);
    infoForm->addRow(option(60070), infoResponse_);
    infoForm->addRow(option(60097), infoCode_);
    infoForm->addRow(option(60306), infoName_);

    auto* middle = new QVBoxLayout;
    middle->addLayout(infoForm);
    for (int i = 0; i < 2; ++i) {
        auto* frame = new QGroupBox(option(i == 0 ? 60302 : 60303), this);
        PttIdBox& p = ptt_[static_cast<size_t>(i)];
        p.standard = plainList(i == 0 ? "cmbBeginStandard" : "cmbEndStandard");
        p.toneLength = list(i == 0 ? "cmbBeginToneLength" : "cmbEndToneLength", FiveToneList::ToneLength);
        p.code = textBox(this, i == 0 ? "txtBeginCode" : "txtEndCode", kFiveTonePttIdLength, HexKey);
        auto* special = new QPushButton(texts_.text(3003), this);
        special->setObjectName(i == 0 ? "cmdBeginSpecial" : "cmdEndSpecial");
        special_[static_cast<size_t>(i + 1)] = special;
        auto* f = new QFormLayout(frame);
        f->addRow(option(60061), p.standard);
        f->addRow(option(60080), p.toneLength);
        auto* codeRow = new QHBoxLayout;
        codeRow->addWidget(p.code, 1);
        codeRow->addWidget(special);
        f->addRow(option(60079), codeRow);
        middle->addWidget(frame);
        connect(p.standard, &QComboBox::activated, this,
                [this, i] { onStandardChosen(ptt_[size_t(i)].standard, ptt_[size_t(i)].toneLength); });
        connect(special, &QPushButton::clicked, this, [this, i] {
            composeSpecial(i == 0 ? SpecialCallTarget::PttIdBegin : SpecialCallTarget::PttIdEnd);
        });
    }
    middle->addStretch();

    // The chosen standard's tones.
    info_ = new QPlainTextEdit(this);
    info_->setObjectName("txtStandardInfo");
    info_->setReadOnly(true);
    info_->setTabChangesFocus(true);
    info_->setMinimumWidth(info_->fontMetrics().horizontalAdvance(QString(22, 'M')));
    editTones_ = new QPushButton(texts_.text(7300), this);
    editTones_->setObjectName("cmdEditUserTones");
    auto* right = new QVBoxLayout;
    right->addWidget(info_, 1);
    right->addWidget(editTones_);

    auto* top = new QHBoxLayout;
    top->addLayout(mainForm);
    top->addLayout(middle);
    top->addLayout(right);

    // The call list.
    grid_ = new QTableWidget(kFiveToneCallCount, kGridColumns, this);
    grid_->setObjectName("grdCallList");
    grid_->setHorizontalHeaderLabels(
        {option(60053), option(60062), option(60079), option(60061), option(60080), option(60305)});
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 8);
    grid_->horizontalHeader()->setSectionResizeMode(kColumnCode, QHeaderView::Stretch);
    grid_->setColumnWidth(0, grid_->fontMetrics().horizontalAdvance("00000"));
    grid_->setColumnWidth(kColumnStandard, grid_->fontMetrics().horizontalAdvance("EURO SIGNAL") + 40);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setTabKeyNavigation(true);
    grid_->setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::DoubleClicked |
                           QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    grid_->setItemDelegate(new CallDelegate(this, [this](int row, int column) {
        return CanEditCallCell(column, CallRowOf(work_.CallList[size_t(row)], work_.OwnCode.trimmed()).cells);
    }));
    for (int r = 0; r < kFiveToneCallCount; ++r)
        for (int c = 0; c < kGridColumns; ++c) {
            auto* item = new QTableWidgetItem(c == 0 ? QString::number(r) : QString());
            if (c <= kColumnType)
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            grid_->setItem(r, c, item);
        }
    auto* listSpecial = new QPushButton(texts_.text(3003), this);
    listSpecial->setObjectName("cmdListSpecial");
    special_[0] = listSpecial;
    connect(listSpecial, &QPushButton::clicked, this, [this] { composeSpecial(SpecialCallTarget::List); });
    auto* gridRow = new QHBoxLayout;
    gridRow->addWidget(grid_, 1);
    auto* gridSide = new QVBoxLayout;
    gridSide->addWidget(listSpecial);
    gridSide->addStretch();
    gridRow->addLayout(gridSide);
    for (QPushButton* b : special_)
        b->setEnabled(false);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    for (QAbstractButton* b : buttons->buttons()) {
        // Enter belongs to the fields and the call list, never to OK.
        static_cast<QPushButton*>(b)->setAutoDefault(false);
        static_cast<QPushButton*>(b)->setDefault(false);
    }
    ok_ = buttons->button(QDialogButtonBox::Ok);
    cancel_ = buttons->button(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &FiveToneEditor::commit);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(gridRow, 1);
    layout->addWidget(buttons);
    ui::SetOkCancelCaptions(this, texts_);

    auto* enter = new ui::EnterMovesOn(this);
    for (QComboBox* c : findChildren<QComboBox*>())
        c->installEventFilter(enter);
    sideTone_->installEventFilter(enter);

    connect(standard_, &QComboBox::activated, this, [this] { onStandardChosen(standard_, toneLength_); });
    connect(pauseCode_, &QComboBox::currentIndexChanged, this,
            [this](int row) { pauseTime_->setEnabled(PauseTimeEnabled(row)); });
    connect(function_, &QComboBox::currentIndexChanged, this, &FiveToneEditor::onFunctionChanged);
    connect(infoNumber_, &QComboBox::currentIndexChanged, this, &FiveToneEditor::onInfoNumberChanged);
    connect(editTones_, &QPushButton::clicked, this, &FiveToneEditor::editUserTones);
    connect(grid_, &QTableWidget::cellDoubleClicked, this, &FiveToneEditor::onCellDoubleClicked);
    resize(1040, 760);
}

void FiveToneEditor::showForm()
{
    const bool wasLoading = loading_;
    loading_ = true;
    ownId_->setText(ui::fromLatin1(form_.ownId));
    fillStandards(standard_, form_.standard);
    decodeResponse_->setCurrentIndex(form_.decodeResponse);
    toneLength_->setCurrentIndex(form_.toneLength);
    preSend_->setCurrentIndex(form_.preSendDelay);
    autoReset_->setCurrentIndex(form_.autoReset);
    postSend_->setCurrentIndex(form_.postSendDelay);
    ringTime_->setCurrentIndex(form_.ringTime);
    firstDigitDelay_->setCurrentIndex(form_.firstDigitDelay);
    pauseCode_->setCurrentIndex(form_.pauseCode);
    pauseTime_->setCurrentIndex(form_.pauseTime);
    pauseTime_->setEnabled(PauseTimeEnabled(form_.pauseCode));
    decodeTime_->setCurrentIndex(form_.decodeTime);
    firstCodeDelay_->setCurrentIndex(form_.firstCodeDelay);
    sideTone_->setChecked(form_.sideTone);
    for (size_t i = 0; i < ptt_.size(); ++i) {
        fillStandards(ptt_[i].standard, form_.pttId[i].standard);
        ptt_[i].toneLength->setCurrentIndex(form_.pttId[i].toneLength);
        ptt_[i].code->setText(ui::fromLatin1(form_.pttId[i].code));
    }
    {
        const QSignalBlocker block(infoNumber_);
        infoNumber_->setCurrentIndex(form_.shownInfo);
    }
    showInfoCode();
    for (int r = 0; r < kFiveToneCallCount; ++r)
        showRow(r);
    showStandardInfo(form_.standard);
    loading_ = wasLoading;
}

void FiveToneEditor::showInfoCode()
{
    const QSignalBlocker block(function_);
    function_->setCurrentIndex(form_.info.function);
    onFunctionChanged();
    infoResponse_->setCurrentIndex(ResponseRowFor(form_.info.function, form_.info.response));
    infoCode_->setText(ui::fromLatin1(form_.info.code));
    infoName_->setText(ui::fromLatin1(form_.info.name));
}

void FiveToneEditor::onFunctionChanged()
{
    const int function = function_->currentIndex();
    const ResponseList rows = ResponseRows(function);
    const int keep = ResponseRowFor(function, infoResponse_->currentIndex());
    {
        const QSignalBlocker block(infoResponse_);
        infoResponse_->clear();
        for (int r = 0; r < rows.rows; ++r)
            infoResponse_->addItem(option(60057 + r));
        infoResponse_->setCurrentIndex(keep);
    }
    infoResponse_->setEnabled(rows.enabled);
    infoName_->setEnabled(InfoNameEnabled(function));
}

void FiveToneEditor::onInfoNumberChanged(int number)
{
    if (loading_ || number < 0)
        return;
    readForm();
    SwitchInfoCode(form_, work_, number);
    showInfoCode();
}

void FiveToneEditor::showRow(int row)
{
    const CallRow r = CallRowOf(work_.CallList[static_cast<size_t>(row)], work_.OwnCode.trimmed());
    QString type, code = ui::fromLatin1(r.cells.code);
    switch (r.cells.type) {
    case FiveToneCallType::DataCall:
        type = option(60073);
        code = option(60084) + QString(8, ' ') + code;
        break;
    case FiveToneCallType::PttId: type = "PTTID"; break;
    case FiveToneCallType::Ani: type = "ANI"; break;
    case FiveToneCallType::Plain: break;
    }
    const QSignalBlocker block(grid_);
    grid_->item(row, kColumnType)->setText(type);
    grid_->item(row, kColumnCode)->setText(code);
    grid_->item(row, kColumnStandard)->setText(standardText(r.standard));
    grid_->item(row, kColumnToneLength)->setText(QString::number(r.toneLength));
    grid_->item(row, kColumnName)->setText(ui::fromLatin1(r.name));
}

void FiveToneEditor::showStandardInfo(int standard)
{
    const StandardInfoHeadings headings{option(60085).toStdString(), option(60086).toStdString(),
                                        option(60087).toStdString(), option(60088).toStdString()};
    const std::string text = StandardInfoText(standardText(standard).toStdString(), work_.UserToneTable, headings);
    info_->setPlainText(ui::fromUtf8(text).replace("\r\n", "\n"));
}

void FiveToneEditor::onStandardChosen(QComboBox* list, QComboBox* toneLength)
{
    const int standard = list->currentData().toInt();
    showStandardInfo(standard);
    if (const auto ms = ToneLengthOnChoosing(standard))
        toneLength->setCurrentIndex(FiveToneRowOfValue(FiveToneList::ToneLength, *ms));
}

void FiveToneEditor::commitCell(int row, int column, const QVariant& value)
{
    if (loading_ || row < 0 || row >= kFiveToneCallCount)
        return;
    FiveToneCode& entry = work_.CallList[static_cast<size_t>(row)];
    switch (column) {
    case kColumnCode: CommitCallCode(entry, latin1(value.toString()), work_.OwnCode.trimmed()); break;
    case kColumnStandard: CommitCallStandard(entry, value.toInt()); break;
    case kColumnToneLength: CommitCallToneLength(entry, std::to_string(value.toInt())); break;
    case kColumnName: CommitCallName(entry, latin1(value.toString())); break;
    default: return;
    }
    showRow(row);
}

void FiveToneEditor::chooseCellStandard(int row, int standard)
{
    ChooseCallStandard(work_.CallList[static_cast<size_t>(row)], standard);
    const QSignalBlocker block(grid_);
    grid_->item(row, kColumnToneLength)->setText(QString::number(work_.CallList[static_cast<size_t>(row)].ToneLength));
    showStandardInfo(standard);
}

void FiveToneEditor::onCellDoubleClicked(int row, int column)
{
    if (column != kColumnCode)
        return;
    FiveToneCode& entry = work_.CallList[static_cast<size_t>(row)];
    if (!CanResetSpecialCall(CallRowOf(entry, work_.OwnCode.trimmed()).cells))
        return;
    if (prompter_.ask("Reset Special Call of this channel,OK or Not?", ui::Buttons::OkCancel, ui::Icon::Question) !=
        ui::Answer::Ok)
        return;
    ResetSpecialCall(entry);
    showRow(row);
}

void FiveToneEditor::commitGridEdit()
{
    static_cast<CallDelegate*>(grid_->itemDelegate())->finish();
}

void FiveToneEditor::readForm()
{
    form_.ownId = latin1(ownId_->text());
    form_.standard = standard_->currentData().toInt();
    form_.decodeResponse = decodeResponse_->currentIndex();
    form_.toneLength = toneLength_->currentIndex();
    form_.preSendDelay = preSend_->currentIndex();
    form_.autoReset = autoReset_->currentIndex();
    form_.postSendDelay = postSend_->currentIndex();
    form_.ringTime = ringTime_->currentIndex();
    form_.firstDigitDelay = firstDigitDelay_->currentIndex();
    form_.pauseCode = pauseCode_->currentIndex();
    form_.pauseTime = pauseTime_->currentIndex();
    form_.decodeTime = decodeTime_->currentIndex();
    form_.firstCodeDelay = firstCodeDelay_->currentIndex();
    form_.sideTone = sideTone_->isChecked();
    for (size_t i = 0; i < ptt_.size(); ++i) {
        form_.pttId[i].standard = ptt_[i].standard->currentData().toInt();
        form_.pttId[i].toneLength = ptt_[i].toneLength->currentIndex();
        form_.pttId[i].code = latin1(ptt_[i].code->text());
    }
    form_.info.function = function_->currentIndex();
    form_.info.response = infoResponse_->currentIndex();
    form_.info.code = latin1(infoCode_->text());
    form_.info.name = latin1(infoName_->text());
}

bool FiveToneEditor::leaveOwnId(bool quiet)
{
    const std::string id = latin1(ownId_->text());
    if (!OwnIdComplete(id)) {
        if (!quiet) {
            prompter_.tell(texts_.message("900C"), ui::Icon::Warning);
            ownId_->setFocus();
        }
        return false;
    }
    if (id == work_.OwnCode.trimmed())
        return true;
    commitGridEdit();
    readForm();
    ChangeOwnId(form_, work_);
    showForm();
    return true;
}

bool FiveToneEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ownId_ && event->type() == QEvent::FocusOut && !loading_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Cancel and leaving the window are no reason to check the ID; OK
        // checks it itself.
        const QWidget* to = QApplication::focusWidget();
        const bool check = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                           to != cancel_ && to != ok_;
        if (check)
            QTimer::singleShot(0, this, [this] {
                if (isVisible() && result() == 0 && !ownId_->hasFocus())
                    leaveOwnId(false);
            });
    }
    return QDialog::eventFilter(watched, event);
}

void FiveToneEditor::editUserTones()
{
    UserToneEditor dialog(work_.UserToneTable, texts_, this);
    dialog.exec();
    showStandardInfo(standard_->currentData().toInt());
}

void FiveToneEditor::setSpecialComposer(SpecialComposer composer)
{
    composer_ = std::move(composer);
    for (QPushButton* b : special_)
        b->setEnabled(static_cast<bool>(composer_));
}

void FiveToneEditor::composeSpecial(SpecialCallTarget target)
{
    commitGridEdit();
    if (!composer_)
        return;
    // The own ID being left is checked before the composer opens, not over it:
    // its calls are built from that ID.
    if (!leaveOwnId(false))
        return;
    const auto call = composer_(target, grid_->currentRow(), ownId_->text());
    if (!call)
        return;
    if (call->target == SpecialCallTarget::List) {
        const int entry = std::clamp(call->entry, 0, kFiveToneCallCount - 1);
        StoreSpecialCall(work_.CallList[static_cast<size_t>(entry)], call->code, latin1(ownId_->text()));
        showRow(entry);
        grid_->setCurrentCell(entry, kColumnType);
    } else {
        ptt_[call->target == SpecialCallTarget::PttIdBegin ? 0 : 1].code->setText(ui::fromLatin1(call->code));
    }
}

void FiveToneEditor::commit()
{
    commitGridEdit();
    leaveOwnId(true);
    readForm();
    const FiveToneOk ok = ApplyFiveToneForm(form_, work_);
    if (ok.ownIdShort) {
        prompter_.tell(texts_.message("900C"), ui::Icon::Warning);
        ownId_->setFocus();
        return;
    }
    for (int id : ok.refused)
        prompter_.tell(option(id), ui::Icon::Warning);
    if (!ok.stored())
        return;
    FinishFiveTone(cp_, work_, form_.decodeTime);
    accept();
}

} // namespace qtx::signalling
