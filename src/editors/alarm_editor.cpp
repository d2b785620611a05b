#include "editors/alarm_editor.h"
#include "ui/help_topic.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

namespace qtx::editors {

AlarmEditor::AlarmEditor(Codeplug& codeplug, const ui::LanguageTexts& texts, QWidget* parent)
    : SettingDialog(texts, "FrmAlert", 2600, parent), cp_(codeplug), form_(LoadAlarmForm(codeplug))
{
    ui::SetHelpTopic(this, "alarm-editor");
    kind_ = addList("cmbAlarm", kAlarmLabels[0], AlarmKindEntries(), [this](int row) {
        form_.kind = row;
        enable();
    });
    idType_ = addList("cmbIdType", kAlarmLabels[1], AlarmIdTypeEntries(), [this](int row) {
        SetAlarmIdType(form_, cp_, row);
        fillIdCodes();
    });
    idCode_ = addList("cmbIdCode", kAlarmLabels[2], {}, [this](int row) { form_.idCode = row; });
    alarmTime_ = addList("cmbAlarmTime", kAlarmLabels[3], AlarmSecondsEntries(), [this](int row) { form_.alarmTime = row; });
    txTime_ = addList("cmbTxTime", kAlarmLabels[4], AlarmSecondsEntries(), [this](int row) { form_.txTime = row; });
    rxTime_ = addList("cmbRxTime", kAlarmLabels[5], AlarmSecondsEntries(), [this](int row) { form_.rxTime = row; });
    channelChoice_ = addList("cmbChannelChoice", kAlarmLabels[6], AlarmChannelChoiceEntries(), [this](int row) {
        form_.channelChoice = row;
        enable();
    });
    ListEntries channels;
    for (int v : form_.channels)
        channels.push_back({Lit(std::to_string(v))});
    channel_ = addList("cmbChannel", kAlarmLabels[7], channels, [this](int row) { form_.channel = row; });
    auto* cycle = addList("cmbCycle", kAlarmLabels[8], AlarmCycleEntries(), [this](int row) { form_.cycle = row; });
    autoDetect_ = addSwitch("chkAutoDetect", kAlarmLabels[9], [this](bool on) {
        form_.autoDetect = on;
        enable();
    });
    preAlert_ = addList("cmbPreAlert", kAlarmLabels[10], PreAlertEntries(), [this](int row) { form_.preAlert = row; });
    loneWorker_ = addList("cmbLoneWorker", kAlarmLabels[11], LoneWorkerEntries(), [this](int row) { form_.loneWorker = row; });
    finish([this] { ApplyAlarmForm(cp_, form_); });

    kind_->setCurrentIndex(form_.kind);
    idType_->setCurrentIndex(form_.idType);
    fillIdCodes();
    alarmTime_->setCurrentIndex(form_.alarmTime);
    txTime_->setCurrentIndex(form_.txTime);
    rxTime_->setCurrentIndex(form_.rxTime);
    channelChoice_->setCurrentIndex(form_.channelChoice);
    channel_->setCurrentIndex(form_.channel);
    cycle->setCurrentIndex(form_.cycle);
    autoDetect_->setChecked(form_.autoDetect);
    preAlert_->setCurrentIndex(form_.preAlert);
    loneWorker_->setCurrentIndex(form_.loneWorker);
    enable();
}

void AlarmEditor::fillIdCodes()
{
    ListEntries entries;
    for (int v : form_.idCodes)
        entries.push_back({Lit(IdCodeText(form_.idType, v))});
    fill(idCode_, entries);
    idCode_->setCurrentIndex(form_.idCodes.empty() ? -1 : form_.idCode);
}

void AlarmEditor::enable()
{
    const AlarmFieldStates s = AlarmStates(form_);
    alarmTime_->setEnabled(s.alarmTime);
    for (QComboBox* list : {idType_, idCode_, txTime_, rxTime_})
        list->setEnabled(s.idAndTimes);
    channel_->setEnabled(s.channel);
    preAlert_->setEnabled(s.loneWorker);
    loneWorker_->setEnabled(s.loneWorker);
    followLabels();
}

} // namespace qtx::editors
