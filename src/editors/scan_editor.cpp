#include "editors/scan_editor.h"
#include "ui/help_topic.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

namespace qtx::editors {

namespace {

ListEntries channelEntries(const std::vector<int>& values)
{
    ListEntries out;
    for (int v : values)
        out.push_back({Lit(std::to_string(v))});
    return out;
}

} // namespace

ScanEditor::ScanEditor(Codeplug& codeplug, const ui::LanguageTexts& texts, QWidget* parent)
    : SettingDialog(texts, "FrmScan", 2400, parent), cp_(codeplug), form_(LoadScanForm(codeplug))
{
    ui::SetHelpTopic(this, "scan-editor");
    priority_ = addList("cmbPriority", kScanLabels[0], ScanPriorityEntries(), [this](int row) {
        SetScanPriority(form_, row);
        enable();
    });
    mode_ = addList("cmbPriorityMode", kScanLabels[1], ScanModeEntries(), [this](int row) {
        SetScanMode(form_, row);
        fillRevert();
        enable();
    });
    channel1_ = addList("cmbPriority1", kScanLabels[2], channelEntries(form_.channels), [this](int row) { form_.channel1 = row; });
    channel2_ = addList("cmbPriority2", kScanLabels[3], channelEntries(form_.channels), [this](int row) { form_.channel2 = row; });
    revert_ = addList("cmbRevert", kScanLabels[4], {}, [this](int row) { SetScanRevert(form_, row); });
    auto* lookA = addList("cmbLookBackA", kScanLabels[5], ScanLookBackEntries(), [this](int row) { form_.lookBackA = row; });
    auto* lookB = addList("cmbLookBackB", kScanLabels[6], ScanLookBackEntries(), [this](int row) { form_.lookBackB = row; });
    auto* rx = addList("cmbRxResume", kScanLabels[7], ScanResumeEntries(), [this](int row) { form_.rxResume = row; });
    auto* tx = addList("cmbTxResume", kScanLabels[8], ScanResumeEntries(), [this](int row) { form_.txResume = row; });
    auto* beep = addSwitch("chkBeep", kScanLabels[9], [this](bool on) { form_.beep = on; });
    finish([this] { ApplyScanForm(cp_, form_); });

    priority_->setCurrentIndex(form_.priority);
    mode_->setCurrentIndex(form_.mode);
    channel1_->setCurrentIndex(form_.channel1);
    channel2_->setCurrentIndex(form_.channel2);
    fillRevert();
    lookA->setCurrentIndex(form_.lookBackA);
    lookB->setCurrentIndex(form_.lookBackB);
    rx->setCurrentIndex(form_.rxResume);
    tx->setCurrentIndex(form_.txResume);
    beep->setChecked(form_.beep);
    others_ = {mode_, revert_, lookA, lookB, rx, tx, beep};
    enable();
}

void ScanEditor::fillRevert()
{
    const ListEntries master = RevertMasterEntries();
    ListEntries offered;
    for (int m : RevertEntries(form_.mode))
        offered.push_back(master[m]);
    fill(revert_, offered);
    revert_->setCurrentIndex(form_.revert);
}

void ScanEditor::enable()
{
    const ScanFieldStates s = ScanStates(form_);
    for (QWidget* w : others_)
        w->setEnabled(s.others);
    channel1_->setEnabled(s.channel1);
    channel2_->setEnabled(s.channel2);
    followLabels();
}

} // namespace qtx::editors
