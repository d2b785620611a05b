#include "editors/channel_editor.h"

#include "app/app_state.h"
#include "app/captions.h"
#include "app/field_filter.h"
#include "app/prompter.h"
#include "convert/frequency.h"
#include "view/main_view.h"

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

using app::EnterMovesOn;
using app::FieldFilter;
using app::SetTextIds;

namespace {

bool nameCharacter(QChar c) { return FieldFilter::printable(c) && c != '\\' && c != '~'; }

QString latin1(const std::string& s) { return app::fromLatin1(s); }

} // namespace

ChannelEditor::ChannelEditor(app::AppState& st, app::Prompter& prompter, int editRow, QWidget* parent)
    : QDialog(parent), st_(st), prompter_(prompter), editRow_(editRow)
{
    setObjectName("FrmCHEdit");
    form_ = LoadChannelForm(st_.ws.live, editRow_, st_.ws.live.body.Band);
    signalChoices_ = OptionalSignalChoices(st_.switches, form_.signal);
    build();
    app::CaptionLoader(this, st_);
    app::SetOkCancelCaptions(this, st_);
    // Captions made of two texts.
    findChild<QLabel*>("lblRxToneType")->setText(st_.text(1107) + " " + st_.text(1112));
    findChild<QLabel*>("lblTxToneType")->setText(st_.text(1107) + " " + st_.text(1113));
    showForm();
    receive_->setFocus();
    if (form_.loadedNotNumeric)
        QTimer::singleShot(0, this, [this] { prompter_.tell(st_.builtIn(BuiltIn::NotNumeric), app::Icon::Warning); });
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
    auto combo = [this](const QStringList& entries, const char* name) {
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        c->addItems(entries);
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
    auto texts = [this](std::initializer_list<int> ids) {
        QStringList out;
        for (int id : ids)
            out << st_.text(id);
        return out;
    };

    receive_ = new QLineEdit(this);
    receive_->setObjectName("txtRxFre");
    receive_->setMaxLength(10);
    FieldFilter::install(receive_, FieldFilter::decimal);
    transmit_ = new QLineEdit(this);
    transmit_->setObjectName("txtTxFre");
    transmit_->setMaxLength(10);
    FieldFilter::install(transmit_, FieldFilter::decimal);
    others_ << transmit_;

    auto* nameRow = new QHBoxLayout;
    nameRow->setSpacing(2);
    for (int i = 0; i < kChannelNameBoxes; ++i) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QString("txtName%1").arg(i));
        box->setMaxLength(1);
        box->setAlignment(Qt::AlignCenter);
        box->setFixedWidth(box->fontMetrics().horizontalAdvance('W') * 2 + 10);
        FieldFilter::install(box, nameCharacter);
        connect(box, &QLineEdit::textEdited, this, [this, i] { onNameTyped(i); });
        name_[i] = box;
        nameRow->addWidget(box);
        others_ << box;
    }
    nameRow->addStretch();

    QStringList steps;
    for (const char* s : kStepTexts)
        steps << s;
    step_ = combo(steps, "cmbStep");
    QStringList bandwidths;
    for (auto b : kBandwidthTexts)
        bandwidths << QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size()));
    bandwidth_ = combo(bandwidths, "cmbBandwidth");
    power_ = combo(texts({1204, 1221, 1205}), "cmbPower");

    signal_ = combo({}, "cmbOptSignal");
    for (OptionalSignalKind k : signalChoices_)
        signal_->addItem(k == OptionalSignalKind::None ? st_.text(1206)
                         : k == OptionalSignalKind::Dtmf ? QString("DTMF")
                         : k == OptionalSignalKind::TwoTone ? QString("2Tone")
                                                            : QString("5Tone"));
    code_ = combo({}, "cmbSignalCode");

    QStringList toneTypes{st_.text(1206), "CTCSS", "DCS"};
    rxType_ = combo(toneTypes, "cmbRxToneType");
    rxTone_ = combo({}, "cmbRxTone");
    rxInverted_ = check(1301, "chkRxInverted");
    txType_ = combo(toneTypes, "cmbTxToneType");
    txTone_ = combo({}, "cmbTxTone");
    txInverted_ = check(1301, "chkTxInverted");

    scrambler_ = combo(texts({1755, 1756}), "cmbScrambler");
    dtmfPttId_ = combo(texts({1755, 1765, 1766, 1767}), "cmbDtmfPttId");
    fiveTonePttId_ = combo(texts({1755, 1765, 1766, 1767}), "cmbFiveTonePttId");
    squelch_ = combo({}, "cmbSquelch");
    busyLock_ = combo({st_.text(1755), "Repeater", "Busy"}, "cmbBusyLock");

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
    FieldFilter::install(pttIdCode_, FieldFilter::digits);

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
    dtmfPttId_->setVisible(st_.switches.Dtmf);
    dtmfPttIdLabel_->setVisible(st_.switches.Dtmf);
    fiveTonePttId_->setVisible(st_.switches.FiveTone);
    fiveTonePttIdLabel_->setVisible(st_.switches.FiveTone);
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
    auto onIndex = [this](QComboBox* c, auto apply) {
        connect(c, &QComboBox::currentIndexChanged, this, [this, apply](int i) {
            if (showing_ || i < 0)
                return;
            apply(i);
            showForm();
        });
    };
    onIndex(step_, [this](int i) { form_.step = i; });
    onIndex(bandwidth_, [this](int i) { form_.bandwidth = i; });
    onIndex(power_, [this](int i) { form_.txPower = i; });
    onIndex(scrambler_, [this](int i) { form_.scrambler = i; });
    onIndex(busyLock_, [this](int i) { form_.busyLock = i; });
    onIndex(signal_, [this](int i) { SetOptionalSignal(form_, signalChoices_[i], st_.ws.live); });
    onIndex(code_, [this](int i) { form_.code = codeChoices_[i]; });
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
    onIndex(squelch_, [this](int i) { form_.squelch = squelchChoices_[i]; });
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

void ChannelEditor::fillToneList(QComboBox* list, const ToneForm& tone)
{
    list->clear();
    if (tone.type == 1) {
        for (auto t : kCtcssTexts)
            list->addItem(QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size())));
        list->setCurrentIndex(tone.ctcss);
    } else if (tone.type == 2) {
        for (int v = 0; v < kDcsCodeCount; ++v)
            list->addItem(QString::fromStdString(DcsText(v)));
        list->setCurrentIndex(tone.dcs);
    }
}

void ChannelEditor::showForm()
{
    showing_ = true;
    if (receive_->text().toStdString() != form_.receive)
        receive_->setText(QString::fromStdString(form_.receive));
    if (transmit_->text().toStdString() != form_.transmit)
        transmit_->setText(QString::fromStdString(form_.transmit));
    for (int i = 0; i < kChannelNameBoxes; ++i)
        name_[i]->setText(latin1(form_.name[i]));
    step_->setCurrentIndex(form_.step);
    bandwidth_->setCurrentIndex(form_.bandwidth);
    power_->setCurrentIndex(form_.txPower);
    scrambler_->setCurrentIndex(form_.scrambler);
    busyLock_->setCurrentIndex(form_.busyLock);
    dtmfPttId_->setCurrentIndex(form_.dtmfPttId);
    fiveTonePttId_->setCurrentIndex(form_.fiveTonePttId);

    const auto signalAt = std::find(signalChoices_.begin(), signalChoices_.end(), form_.signal);
    signal_->setCurrentIndex(signalAt == signalChoices_.end() ? 0 : int(signalAt - signalChoices_.begin()));
    codeChoices_ = SignalCodeChoices(st_.ws.live, form_.signal);
    code_->clear();
    for (int c : codeChoices_)
        code_->addItem(QString::fromStdString(SignalCodeText(form_.signal, c)));
    const auto codeAt = form_.code ? std::find(codeChoices_.begin(), codeChoices_.end(), *form_.code) : codeChoices_.end();
    code_->setCurrentIndex(codeAt == codeChoices_.end() ? -1 : int(codeAt - codeChoices_.begin()));
    code_->setVisible(form_.signal != OptionalSignalKind::None);

    rxType_->setCurrentIndex(form_.rxTone.type);
    fillToneList(rxTone_, form_.rxTone);
    rxTone_->setVisible(form_.rxTone.type != 0);
    rxInverted_->setChecked(form_.rxTone.inverted);
    rxInverted_->setVisible(form_.rxTone.type == 2);
    txType_->setCurrentIndex(form_.txTone.type);
    fillToneList(txTone_, form_.txTone);
    txTone_->setVisible(form_.txTone.type != 0);
    txInverted_->setChecked(form_.txTone.inverted);
    txInverted_->setVisible(form_.txTone.type == 2);

    squelchChoices_ = SquelchChoices(form_.reverse, form_.rxTone.type, form_.txTone.type, form_.signal);
    squelch_->clear();
    for (int s : squelchChoices_)
        squelch_->addItem(st_.text(kSquelchModeTextIds[s]));
    const auto sqAt = std::find(squelchChoices_.begin(), squelchChoices_.end(), form_.squelch);
    squelch_->setCurrentIndex(sqAt == squelchChoices_.end() ? 0 : int(sqAt - squelchChoices_.begin()));

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
    const ChannelOkResult result = ApplyChannelForm(st_.ws.live, editRow_, form_, st_.ws.live.body.Band);
    if (result.outcome == ChannelOkOutcome::VfoNull) {
        prompter_.tell(QString::fromStdString(result.message), app::Icon::Warning);
        receive_->setFocus();
        return false;
    }
    for (int i = 0; i < result.warnings; ++i)
        prompter_.tell(st_.text(2001), app::Icon::Warning);
    if (result.outcome == ChannelOkOutcome::Stored) {
        receive_->setText(QString::fromStdString(result.receive));
        transmit_->setText(QString::fromStdString(result.transmit));
    }
    return true;
}

} // namespace qtx::editors
