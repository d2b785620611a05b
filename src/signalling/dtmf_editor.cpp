#include "signalling/dtmf_editor.h"

#include "forms/key_rules.h"
#include "ui/captions.h"
#include "ui/field_filter.h"
#include "ui/help_topic.h"
#include "ui/prompter.h"
#include "ui/texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qtx::signalling {

using ui::EnterMovesOn;
using ui::FieldFilter;
using ui::SetTextIds;

namespace {

QString Latin1(const std::string& s) { return ui::fromLatin1(s); }

void AddRows(QComboBox* c, const std::vector<std::string>& rows)
{
    for (const std::string& r : rows)
        c->addItem(Latin1(r));
}

void Select(QComboBox* c, int row) { c->setCurrentIndex(row >= 0 && row < c->count() ? row : 0); }

QDialogButtonBox* OkCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

// Enter moves on in every list and check box of the window.
void EnterMovesOnInLists(QDialog* dialog)
{
    auto* enter = new EnterMovesOn(dialog);
    for (QWidget* w : dialog->findChildren<QComboBox*>())
        w->installEventFilter(enter);
    for (QWidget* w : dialog->findChildren<QCheckBox*>())
        w->installEventFilter(enter);
}

} // namespace

DtmfEditor::DtmfEditor(DtmfSettings& dtmf, const ui::LanguageTexts& texts, ui::Prompter& prompter, QWidget* parent)
    : QDialog(parent), dtmf_(dtmf), texts_(texts), prompter_(prompter)
{
    setObjectName("FrmDTMF");
    ui::SetHelpTopic(this, "dtmf-editor");
    form_ = LoadDtmfForm(dtmf_);
    build();
    ui::CaptionLoader(this, texts_);
    ui::SetOkCancelCaptions(this, texts_);
    setWindowTitle("DTMF");
    showForm();
    codes_[0]->setFocus();
}

void DtmfEditor::build()
{
    auto label = [this](int id) {
        auto* l = new QLabel(this);
        SetTextIds(l, id);
        return l;
    };
    auto optionLabel = [this](const char* key) { return new QLabel(texts_.option(key), this); };
    auto combo = [this](const char* name) {
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        return c;
    };

    auto* codeFrame = new QGroupBox(this);
    SetTextIds(codeFrame, 1602);
    auto* codeGrid = new QGridLayout(codeFrame);
    for (int i = 0; i < kDtmfCodeFields; ++i) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QString("txtCode%1").arg(i));
        box->setMaxLength(i >= kDtmfKillField ? kDtmfShortCode : kDtmfLongCode);
        FieldFilter::install(box, DtmfCodeKey);
        box->installEventFilter(this);
        connect(box, &QLineEdit::textChanged, this, [this, i](const QString& t) {
            if (!showing_)
                form_.codes[static_cast<size_t>(i)] = t.toLatin1().toStdString();
        });
        codes_[static_cast<size_t>(i)] = box;
    }
    for (int i = 0; i < 16; ++i) {
        const int col = (i / 8) * 2;
        codeGrid->addWidget(new QLabel(QString("M%1").arg(i + 1), this), i % 8, col);
        codeGrid->addWidget(codes_[static_cast<size_t>(i)], i % 8, col + 1);
    }
    codeGrid->addWidget(label(1603), 8, 0, 1, 4);
    codeGrid->setRowStretch(9, 1);

    auto* callGrid = new QGridLayout;
    callGrid->addWidget(optionLabel("60302"), 0, 0);
    callGrid->addWidget(codes_[kDtmfPttIdBeginField], 0, 1);
    callGrid->addWidget(optionLabel("60303"), 1, 0);
    callGrid->addWidget(codes_[kDtmfPttIdEndField], 1, 1);
    callGrid->addWidget(optionLabel("60069"), 2, 0);
    callGrid->addWidget(codes_[kDtmfKillField], 2, 1);
    callGrid->addWidget(optionLabel("60093"), 3, 0);
    callGrid->addWidget(codes_[kDtmfStunField], 3, 1);

    ownId_ = new QLineEdit(this);
    ownId_->setObjectName("txtOwnId");
    ownId_->setMaxLength(3);
    FieldFilter::install(ownId_, DigitKey);
    ownId_->installEventFilter(this);
    connect(ownId_, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (!showing_)
            form_.ownId = t.toLatin1().toStdString();
    });

    ani_ = combo("cmbAni");
    ani_->addItems({texts_.text(1755), texts_.text(1756)});
    sendTime_ = combo("cmbSendTime");
    for (int ms : kDtmfSendTimesMs)
        sendTime_->addItem(QString::number(ms) + texts_.text(1780));
    separator_ = combo("cmbSeparator");
    groupCode_ = combo("cmbGroupCode");
    groupCode_->addItem(texts_.text(1755));
    for (QChar c : QString::fromLatin1(kDtmfSeparatorChars.data(), kDtmfSeparatorChars.size())) {
        separator_->addItem(c);
        groupCode_->addItem(c);
    }
    decodeResponse_ = combo("cmbDecodeResponse");
    decodeResponse_->addItems({texts_.text(1650), texts_.text(1651), texts_.text(1653)});
    firstDigitDelay_ = combo("cmbFirstDigitDelay");
    AddRows(firstDigitDelay_, DtmfFirstDigitDelayRows());
    preSendDelay_ = combo("cmbPreSendDelay");
    AddRows(preSendDelay_, DtmfSendDelayRows());
    resetTime_ = combo("cmbResetTime");
    AddRows(resetTime_, DtmfResetTimeRows());
    postSendDelay_ = combo("cmbPostSendDelay");
    AddRows(postSendDelay_, DtmfSendDelayRows());
    pauseTime_ = combo("cmbPauseTime");
    pauseTime_->addItem(texts_.text(1755));
    AddRows(pauseTime_, DtmfPauseNumberRows());
    sideTone_ = new QCheckBox(this);
    sideTone_->setObjectName("chkSideTone");
    SetTextIds(sideTone_, 1612);

    auto* settings = new QGridLayout;
    const std::initializer_list<std::pair<int, QWidget*>> rows{
        {1740, ani_},           {1741, sendTime_},        {3002, ownId_},         {1604, separator_},
        {1605, groupCode_},     {1606, decodeResponse_},  {1607, firstDigitDelay_}, {1608, preSendDelay_},
        {1609, resetTime_},     {1610, postSendDelay_},   {1611, pauseTime_}};
    int row = 0;
    for (const auto& [id, field] : rows) {
        settings->addWidget(label(id), row, 0);
        settings->addWidget(field, row++, 1);
    }
    settings->addWidget(sideTone_, row++, 0, 1, 2);

    // The own ID in tab order right after the codes, the lists after it.
    setTabOrder(codes_[kDtmfStunField], ownId_);

    special_ = new QPushButton(this);
    special_->setObjectName("cmdSpecial");
    special_->setAutoDefault(false);
    SetTextIds(special_, 3003);
    connect(special_, &QPushButton::clicked, this, &DtmfEditor::openSpecial);

    auto* buttons = OkCancel(this);
    buttons->addButton(special_, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (commit())
            accept();
    });
    // Enter in a field moves on; only a click or Space presses OK.
    for (QAbstractButton* b : buttons->buttons())
        if (auto* p = qobject_cast<QPushButton*>(b))
            p->setAutoDefault(false), p->setDefault(false);

    auto* right = new QVBoxLayout;
    right->addLayout(callGrid);
    right->addLayout(settings);
    right->addStretch();
    auto* body = new QHBoxLayout;
    body->addWidget(codeFrame);
    body->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(buttons);

    EnterMovesOnInLists(this);

    // Filling shows the form without reactions; a user's change goes into it.
    auto onIndex = [this](QComboBox* c, auto apply) {
        connect(c, &QComboBox::currentIndexChanged, this, [this, apply](int i) {
            if (!showing_ && i >= 0)
                apply(i);
        });
    };
    onIndex(ani_, [this](int i) { form_.ani = i; });
    onIndex(sendTime_, [this](int i) { form_.sendTime = i; });
    onIndex(groupCode_, [this](int i) { form_.groupCode = i; });
    onIndex(decodeResponse_, [this](int i) { form_.decodeResponse = i; });
    onIndex(firstDigitDelay_, [this](int i) { form_.firstDigitDelay = i; });
    onIndex(preSendDelay_, [this](int i) { form_.preSendDelay = i; });
    onIndex(resetTime_, [this](int i) { form_.resetTime = i; });
    onIndex(postSendDelay_, [this](int i) { form_.postSendDelay = i; });
    onIndex(pauseTime_, [this](int i) { form_.pauseTime = i; });
    // Only a separator the user picks moves the composed calls.
    connect(separator_, &QComboBox::activated, this, [this](int i) {
        if (showing_ || i < 0)
            return;
        ChooseSeparator(form_, i);
        showForm();
    });
    connect(sideTone_, &QCheckBox::toggled, this, [this](bool on) {
        if (!showing_)
            form_.sideTone = on;
    });
}

void DtmfEditor::showForm()
{
    showing_ = true;
    for (int i = 0; i < kDtmfCodeFields; ++i) {
        const QString text = Latin1(form_.codes[static_cast<size_t>(i)]);
        if (codes_[static_cast<size_t>(i)]->text() != text)
            codes_[static_cast<size_t>(i)]->setText(text);
    }
    if (ownId_->text() != Latin1(form_.ownId))
        ownId_->setText(Latin1(form_.ownId));
    Select(ani_, form_.ani);
    Select(sendTime_, form_.sendTime);
    Select(separator_, form_.separator);
    Select(groupCode_, form_.groupCode);
    Select(decodeResponse_, form_.decodeResponse);
    Select(firstDigitDelay_, form_.firstDigitDelay);
    Select(preSendDelay_, form_.preSendDelay);
    Select(resetTime_, form_.resetTime);
    Select(postSendDelay_, form_.postSendDelay);
    Select(pauseTime_, form_.pauseTime);
    sideTone_->setChecked(form_.sideTone);
    special_->setEnabled(curDtmfEditId_ < kDtmfComposableFields);
    showing_ = false;
}

bool DtmfEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        for (int i = 0; i < kDtmfCodeFields; ++i)
            if (watched == codes_[static_cast<size_t>(i)]) {
                curDtmfEditId_ = i;
                special_->setEnabled(i < kDtmfComposableFields);
            }
    } else if (event->type() == QEvent::FocusOut && watched == ownId_) {
        leaveOwnId();
    }
    return QDialog::eventFilter(watched, event);
}

void DtmfEditor::leaveOwnId()
{
    LeaveOwnId(form_);
    showForm();
}

bool DtmfEditor::commit()
{
    if (KillStunClash(form_.codes[kDtmfKillField], form_.codes[kDtmfStunField])) {
        codes_[kDtmfKillField]->setFocus();
        prompter_.tell(texts_.text(3001), ui::Icon::Warning);
        return false;
    }
    ApplyDtmfForm(form_, dtmf_);
    showForm();
    return true;
}

void DtmfEditor::putComposedCall(DtmfCallType type, const QString& called)
{
    PutComposedCall(form_, curDtmfEditId_, type, called.toLatin1().toStdString());
    showForm();
}

void DtmfEditor::openSpecial()
{
    if (curDtmfEditId_ >= kDtmfComposableFields)
        return;
    leaveOwnId();
    DtmfSpecialDialog dialog(texts_, this);
    if (dialog.exec() == QDialog::Accepted)
        putComposedCall(dialog.callType(), dialog.calledCode());
}

DtmfSpecialDialog::DtmfSpecialDialog(const ui::LanguageTexts& texts, QWidget* parent) : QDialog(parent)
{
    setObjectName("FrmDTMFSpecial");
    ui::SetHelpTopic(this, "dtmf-special");
    SetTextIds(this, 7040);
    type_ = new QComboBox(this);
    type_->setObjectName("cmbCallType");
    type_->addItems({"ANI", "PTTID"});
    calledFrame_ = new QGroupBox(this);
    called_ = new QLineEdit("000", calledFrame_);
    called_->setObjectName("txtCalled");
    called_->setMaxLength(3);
    FieldFilter::install(called_, DigitKey);
    connect(called_, &QLineEdit::editingFinished, this, [this] {
        called_->setText(QString::fromStdString(PadCalledCode(called_->text().toStdString())));
    });
    auto* frameLayout = new QHBoxLayout(calledFrame_);
    frameLayout->addWidget(new QLabel(texts.option("60076"), calledFrame_));
    frameLayout->addWidget(called_);
    connect(type_, &QComboBox::currentIndexChanged, this, [this](int row) { calledFrame_->setVisible(row == 0); });

    auto* buttons = OkCancel(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    for (QAbstractButton* b : buttons->buttons())
        if (auto* p = qobject_cast<QPushButton*>(b))
            p->setAutoDefault(false), p->setDefault(false);
    auto* form = new QGridLayout;
    form->addWidget(new QLabel(texts.option("60064"), this), 0, 0);
    form->addWidget(type_, 0, 1);
    form->addWidget(calledFrame_, 1, 0, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    EnterMovesOnInLists(this);
    ui::CaptionLoader(this, texts);
    ui::SetOkCancelCaptions(this, texts);
    type_->setFocus();
}

DtmfCallType DtmfSpecialDialog::callType() const
{
    return type_->currentIndex() == 1 ? DtmfCallType::PttId : DtmfCallType::Ani;
}

QString DtmfSpecialDialog::calledCode() const { return called_->text(); }

} // namespace qtx::signalling
