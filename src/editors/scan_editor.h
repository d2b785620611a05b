#pragma once
// FrmScan: priority scan, revert channel, times and the start beep over a ScanForm.

#include "editors/setting_dialog.h"
#include "forms/scan_form.h"

namespace qtx::editors {

class ScanEditor : public SettingDialog {
    Q_OBJECT
public:
    ScanEditor(Codeplug& codeplug, const ui::LanguageTexts& texts, QWidget* parent = nullptr);

    const ScanForm& form() const { return form_; }
    QComboBox* priorityList() const { return priority_; }
    QComboBox* modeList() const { return mode_; }
    QComboBox* channel1List() const { return channel1_; }
    QComboBox* channel2List() const { return channel2_; }
    QComboBox* revertList() const { return revert_; }

private:
    void fillRevert();
    void enable();

    Codeplug& cp_;
    ScanForm form_;
    QComboBox* priority_;
    QComboBox* mode_;
    QComboBox* channel1_;
    QComboBox* channel2_;
    QComboBox* revert_;
    QList<QWidget*> others_;
};

} // namespace qtx::editors
