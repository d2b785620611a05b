#include "editors/channel_editor.h"
#include "ui/help_topic.h"

#include "forms/key_rules.h"
#include "ui/captions.h"
#include "ui/choice_list.h"
#include "ui/field_filter.h"
#include "ui/prompter.h"
#include "ui/texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace qtx::editors {

using ui::ChoiceValue;
using ui::EnterMovesOn;
using ui::FieldFilter;
using ui::FillChoices;
using ui::SelectChoice;
using ui::SetTextIds;

ChannelEditor::ChannelEditor(Codeplug& codeplug, const SignalViewSwitches& switches, const ui::LanguageTexts& texts,
                             ui::Prompter& prompter, int editRow, QWidget* parent)
    : QDialog(parent), cp_(codeplug), switches_(switches), texts_(texts), prompter_(prompter), editRow_(editRow)
{
    setObjectName("FrmCHEdit");
    ui::SetHelpTopic(this, "channel-editor");
    form_ = LoadChannelForm(cp_, editRow_, cp_.body.Band);
    build();
    ui::CaptionLoader(this, texts_);
    ui::SetOkCancelCaptions(this, texts_);
    // Captions made of two texts.
    findChild<QLabel*>("lblRxToneType")->setText(texts_.text(1107) + " " + texts_.text(1112));
    findChild<QLabel*>("lblTxToneType")->setText(texts_.text(1107) + " " + texts_.text(1113));
    showForm();
    receive_->setFocus();
    if (form_.loadedNotNumeric)
        QTimer::singleShot(0, this, [this] { prompter_.tell(texts_.builtIn(BuiltIn::NotNumeric), ui::Icon::Warning); });
}

void ChannelEditor::build()
{
    SetTextIds(this, 1300);
    auto label = [this](int id, const char* name = nullptr) {
        auto* l = new QLabel(this);
        SetTextIds(l, id);
        if (name)
            l->setObjectName(name);
        return l;
    };
    auto combo = [this](Choices table, const char* name) {
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        FillChoices(c, table, texts_);
        others_ << c;
        return c;
    };
    auto check = [this](int id, const char* name) {
        auto* c = new QCheckBox(this);
        c->setObjectName(name);
        SetTextIds(c, id);
        others_ << c;
        return c;
    };

    receive_ = new QLineEdit(this);
    receive_->setObjectName("txtRxFre");
    receive_->setMaxLength(10);
    FieldFilter::install(receive_, FrequencyKey);
    transmit_ = new QLineEdit(this);
    transmit_->setObjectName("txtTxFre");
    transmit_->setMaxLength(10);
    FieldFilter::install(transmit_, FrequencyKey);
    others_ << transmit_;

    auto* nameRow = new QHBoxLayout;
    nameRow->setSpacing(2);
    for (int i = 0; i < kChannelNameBoxes; ++i) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QString("txtName%1").arg(i));
        box->setMaxLength(1);
        box->setAlignment(Qt::AlignCenter);
        box->setFixedWidth(box->fontMetrics().horizontalAdvance('W') * 2 + 10);
        FieldFilter::install(box, NameKey);
        connect(box, &QLineEdit::textEdited, this, [this, i] { onNameTyped(i); });
        name_[i] = box;
        nameRow->addWidget(box);
        others_ << box;
    }
    nameRow->addStretch();

    step_ = combo(kStepChoices, "cmbStep");
    bandwidth_ = combo(kBandwidthChoices, "cmbBandwidth");
    power_ = combo(kTxPowerChoices, "cmbPower");

    signal_ = combo({}, "cmbOptSignal");
    std::vector<int> signalKinds;
    for (OptionalSignalKind k : OptionalSignalChoices(switches_, form_.signal))
        signalKinds.push_back(static_cast<int>(k));
    FillChoices(signal_, kSignalKindChoices, signalKinds, texts_);
    code_ = combo({}, "cmbSignalCode");

    rxType_ = combo(kToneTypeChoices, "cmbRxToneType");
    rxTone_ = combo({}, "cmbRxTone");
    rxInverted_ = check(1301, "chkRxInverted");
    txType_ = combo(kToneTypeChoices, "cmbTxToneType");
    txTone_ = combo({}, "cmbTxTone");
    txInverted_ = check(1301, "chkTxInverted");

    scrambler_ = combo(kScramblerChoices, "cmbScrambler");
    dtmfPttId_ = combo(kPttIdChoices, "cmbDtmfPttId");
    fiveTonePttId_ = combo(kPttIdChoices, "cmbFiveTonePttId");
    squelch_ = combo({}, "cmbSquelch");
    busyLock_ = combo(kBusyLockChoices, "cmbBusyLock");

    txInhibit_ = check(1105, "chkTxInhibit");
    reverse_ = check(1207, "chkReverse");
    talkAround_ = check(1114, "chkTalkAround");
    compander_ = check(1746, "chkCompander");
    scanSkip_ = check(1111, "chkScanSkip");
    pttIdDecode_ = new QCheckBox("PTTID Decode", this);
    pttIdDecode_->setObjectName("chkPttIdDecode");
    pttIdCode_ = new QLineEdit(this);
    pttIdCode_->setObjectName("txtPttIdCode");
    pttIdCode_->setMaxLength(kPttIdCodeLength);
    FieldFilter::install(pttIdCode_, DigitKey);

    // Layout: frequencies and name, then the radio settings, tones and
    // signalling, then the switches.
    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(label(1101), row, 0);
    grid->addWidget(receive_, row, 1);
    grid->addWidget(label(1140), row, 2);
    grid->addWidget(transmit_, row++, 3);
    grid->addWidget(label(1103), row, 0);
    grid->addLayout(nameRow, row++, 1, 1, 3);
    grid->addWidget(label(1104), row, 0);
    grid->addWidget(step_, row, 1);
    grid->addWidget(label(1106), row, 2);
    grid->addWidget(bandwidth_, row++, 3);
    grid->addWidget(label(1109), row, 0);
    grid->addWidget(power_, row, 1);
    grid->addWidget(label(1717), row, 2);
    grid->addWidget(busyLock_, row++, 3);

    grid->addWidget(label(0, "lblRxToneType"), row, 0);
    grid->addWidget(rxType_, row, 1);
    grid->addWidget(rxTone_, row, 2);
    grid->addWidget(rxInverted_, row++, 3);
    grid->addWidget(label(0, "lblTxToneType"), row, 0);
    grid->addWidget(txType_, row, 1);
    grid->addWidget(txTone_, row, 2);
    grid->addWidget(txInverted_, row++, 3);

    grid->addWidget(label(1110), row, 0);
    grid->addWidget(signal_, row, 1);
    grid->addWidget(code_, row++, 2);
    grid->addWidget(label(1745), row, 0);
    grid->addWidget(squelch_, row, 1);
    grid->addWidget(label(1742), row, 2);
    grid->addWidget(scrambler_, row++, 3);
    dtmfPttIdLabel_ = label(1743);
    fiveTonePttIdLabel_ = label(1744);
    grid->addWidget(dtmfPttIdLabel_, row, 0);
    grid->addWidget(dtmfPttId_, row, 1);
    grid->addWidget(fiveTonePttIdLabel_, row, 2);
    grid->addWidget(fiveTonePttId_, row++, 3);
    grid->addWidget(new QLabel("PTTID Code", this), row, 0);
    grid->addWidget(pttIdCode_, row, 1);
    grid->addWidget(pttIdDecode_, row++, 2, 1, 2);

    auto* switches = new QGridLayout;
    const QList<QCheckBox*> boxes{txInhibit_, reverse_, talkAround_, compander_, scanSkip_};
    for (int i = 0; i < boxes.size(); ++i)
        switches->addWidget(boxes[i], i / 3, i % 3);
    grid->addLayout(switches, row++, 0, 1, 4);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (commit())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    // The PTT-ID lists exist only for the signalling systems in view.
    dtmfPttId_->setVisible(switches_.Dtmf);
    dtmfPttIdLabel_->setVisible(switches_.Dtmf);
    fiveTonePttId_->setVisible(switches_.FiveTone);
    fiveTonePttIdLabel_->setVisible(switches_.FiveTone);
    others_ << pttIdCode_ << pttIdDecode_;

    auto* enter = new EnterMovesOn(this);
    for (QWidget* w : findChildren<QComboBox*>())
        w->installEventFilter(enter);
    for (QWidget* w : findChildren<QCheckBox*>())
        w->installEventFilter(enter);

    // Reactions: each change goes into the form, through the rules, and back.
    connect(receive_, &QLineEdit::textChanged, this, [this](const QString& t) {
        form_.receive = t.toStdString();
        enableFields();
    });
    connect(transmit_, &QLineEdit::textChanged, this, [this](const QString& t) { form_.transmit = t.toStdString(); });
    connect(pttIdCode_, &QLineEdit::textChanged, this, [this](const QString& t) { form_.pttIdCode = t.toStdString(); });
    // Each list hands over the value of the entry picked.
    auto onIndex = [this](QComboBox* c, auto apply) {
        connect(c, &QComboBox::currentIndexChanged, this, [this, c, apply](int i) {
            if (showing_ || i < 0)
                return;
            apply(ChoiceValue(c, i));
            showForm();
        });
    };
    onIndex(step_, [this](int i) { form_.step = i; });
    onIndex(bandwidth_, [this](int i) { form_.bandwidth = i; });
    onIndex(power_, [this](int i) { form_.txPower = i; });
    onIndex(scrambler_, [this](int i) { form_.scrambler = i; });
    onIndex(busyLock_, [this](int i) { form_.busyLock = i; });
    onIndex(signal_, [this](int v) { SetOptionalSignal(form_, static_cast<OptionalSignalKind>(v), cp_); });
    onIndex(code_, [this](int v) { form_.code = v; });
    onIndex(rxType_, [this](int i) { SetRxToneType(form_, i); });
    onIndex(txType_, [this](int i) { SetTxToneType(form_, i); });
    onIndex(rxTone_, [this](int i) {
        if (form_.rxTone.type == 1)
            form_.rxTone.ctcss = i;
        else
            form_.rxTone.dcs = i;
    });
    onIndex(txTone_, [this](int i) {
        if (form_.txTone.type == 1)
            form_.txTone.ctcss = i;
        else
            form_.txTone.dcs = i;
    });
    onIndex(dtmfPttId_, [this](int i) { SetDtmfPttId(form_, i); });
    onIndex(fiveTonePttId_, [this](int i) { SetFiveTonePttId(form_, i); });
    onIndex(squelch_, [this](int v) { form_.squelch = v; });
    auto onCheck = [this](QCheckBox* c, auto apply) {
        connect(c, &QCheckBox::toggled, this, [this, apply](bool on) {
            if (showing_)
                return;
            apply(on);
            showForm();
        });
    };
    onCheck(rxInverted_, [this](bool on) { form_.rxTone.inverted = on; });
    onCheck(txInverted_, [this](bool on) { form_.txTone.inverted = on; });
    onCheck(reverse_, [this](bool on) { SetReverse(form_, on); });
    onCheck(talkAround_, [this](bool on) { SetTalkAround(form_, on); });
    onCheck(txInhibit_, [this](bool on) { form_.txInhibit = on; });
    onCheck(compander_, [this](bool on) { form_.compander = on; });
    onCheck(scanSkip_, [this](bool on) { form_.scanSkip = on; });
    onCheck(pttIdDecode_, [this](bool on) { form_.pttIdDecode = on; });
}

void ChannelEditor::showTone(QComboBox* type, QComboBox* list, QCheckBox* inverted, const ToneForm& tone)
{
    SelectChoice(type, tone.type, -1);
    FillChoices(list, ToneChoices(tone.type), texts_);
    SelectChoice(list, tone.type == 1 ? tone.ctcss : tone.dcs, -1);
    list->setVisible(tone.type != 0);
    inverted->setChecked(tone.inverted);
    inverted->setVisible(tone.type == 2);
}

void ChannelEditor::showForm()
{
    showing_ = true;
    if (receive_->text().toStdString() != form_.receive)
        receive_->setText(QString::fromStdString(form_.receive));
    if (transmit_->text().toStdString() != form_.transmit)
        transmit_->setText(QString::fromStdString(form_.transmit));
    for (int i = 0; i < kChannelNameBoxes; ++i)
        name_[i]->setText(ui::fromLatin1(form_.name[i]));
    SelectChoice(step_, form_.step, -1);
    SelectChoice(bandwidth_, form_.bandwidth, -1);
    SelectChoice(power_, form_.txPower, -1);
    SelectChoice(scrambler_, form_.scrambler, -1);
    SelectChoice(busyLock_, form_.busyLock, -1);
    SelectChoice(dtmfPttId_, form_.dtmfPttId, -1);
    SelectChoice(fiveTonePttId_, form_.fiveTonePttId, -1);

    SelectChoice(signal_, static_cast<int>(form_.signal), 0);
    FillChoices(code_, SignalCodeChoices(cp_, form_.signal),
                [this](int c) { return QString::fromStdString(SignalCodeText(form_.signal, c)); });
    SelectChoice(code_, form_.code.value_or(-1), -1);
    code_->setVisible(form_.signal != OptionalSignalKind::None);

    showTone(rxType_, rxTone_, rxInverted_, form_.rxTone);
    showTone(txType_, txTone_, txInverted_, form_.txTone);

    FillChoices(squelch_, kSquelchModeChoices,
                SquelchChoices(form_.reverse, form_.rxTone.type, form_.txTone.type, form_.signal), texts_);
    SelectChoice(squelch_, form_.squelch, 0);

    txInhibit_->setChecked(form_.txInhibit);
    reverse_->setChecked(form_.reverse);
    talkAround_->setChecked(form_.talkAround);
    compander_->setChecked(form_.compander);
    scanSkip_->setChecked(form_.scanSkip);
    pttIdDecode_->setChecked(form_.pttIdDecode);
    if (pttIdCode_->text().toStdString() != form_.pttIdCode)
        pttIdCode_->setText(QString::fromStdString(form_.pttIdCode));
    showing_ = false;
    enableFields();
}

void ChannelEditor::enableFields()
{
    const ChannelFieldStates states = ChannelFieldsEnabled(form_.receive, editRow_);
    for (QWidget* w : others_)
        w->setEnabled(states.others);
    pttIdCode_->setEnabled(states.others && states.pttId);
    pttIdDecode_->setEnabled(states.others && states.pttId);
}

void ChannelEditor::readNames()
{
    for (int i = 0; i < kChannelNameBoxes; ++i) {
        const QByteArray c = name_[i]->text().toLatin1();
        form_.name[i] = std::string(c.constData(), static_cast<size_t>(c.size()));
    }
}

void ChannelEditor::onNameTyped(int box)
{
    readNames();
    // One character per box; the next box takes the next one.
    if (!name_[box]->text().isEmpty() && box + 1 < kChannelNameBoxes)
        name_[box + 1]->setFocus(Qt::TabFocusReason);
}

bool ChannelEditor::commit()
{
    readNames();
    form_.receive = receive_->text().toStdString();
    form_.transmit = transmit_->text().toStdString();
    form_.pttIdCode = pttIdCode_->text().toStdString();
    const ChannelOkResult result = ApplyChannelForm(cp_, editRow_, form_, cp_.body.Band);
    if (result.outcome == ChannelOkOutcome::VfoNull) {
        prompter_.tell(QString::fromStdString(result.message), ui::Icon::Warning);
        receive_->setFocus();
        return false;
    }
    for (int i = 0; i < result.warnings; ++i)
        prompter_.tell(texts_.text(2001), ui::Icon::Warning);
    if (result.outcome == ChannelOkOutcome::Stored) {
        receive_->setText(QString::fromStdString(result.receive));
        transmit_->setText(QString::fromStdString(result.transmit));
    }
    return true;
}

} // namespace qtx::editors
