#pragma once
// FrmAlert: emergency alarm and lone-worker settings over an AlarmForm.

#include "editors/setting_dialog.h"
#include "forms/alarm_form.h"

namespace qtx::editors {

class AlarmEditor : public SettingDialog {
    Q_OBJECT
public:
    AlarmEditor(Codeplug& codeplug, const ui::LanguageTexts& texts, QWidget* parent = nullptr);

    const AlarmForm& form() const { return form_; }
    QComboBox* kindList() const { return kind_; }
    QComboBox* idTypeList() const { return idType_; }
    QComboBox* idCodeList() const { return idCode_; }
    QComboBox* channelList() const { return channel_; }
    QCheckBox* autoDetectBox() const { return autoDetect_; }

private:
    void fillIdCodes();
    void enable();

    Codeplug& cp_;
    AlarmForm form_;
    QComboBox* kind_;
    QComboBox* idType_;
    QComboBox* idCode_;
    QComboBox* alarmTime_;
    QComboBox* txTime_;
    QComboBox* rxTime_;
    QComboBox* channelChoice_;
    QComboBox* channel_;
    QCheckBox* autoDetect_;
    QComboBox* preAlert_;
    QComboBox* loneWorker_;
};

} // namespace qtx::editors
