#pragma once
// FrmOption: the radio-wide options over an OptionForm. A pick is stored in
// the form at once; OK hands the form to ApplyOptionForm.

#include "editors/setting_dialog.h"
#include "forms/option_form.h"

#include <array>
#include <map>

class QLineEdit;

namespace qtx::editors {

class OptionEditor : public SettingDialog {
    Q_OBJECT
public:
    OptionEditor(Codeplug& codeplug, const ui::LanguageTexts& texts, QWidget* parent = nullptr);

    const OptionForm& form() const { return form_; }
    QComboBox* list(int k) const { return lists_.at(k); }
    QLineEdit* messageBox(int i) const { return message_[i]; }
    QLineEdit* passwordBox() const { return password_; }
    QCheckBox* passwordSwitch() const { return passwordOn_; }

private:
    void showForm();
    void followStates();

    Codeplug& cp_;
    OptionForm form_;
    std::map<int, QComboBox*> lists_;
    std::array<QCheckBox*, 3> switches_{};
    std::array<QLineEdit*, kOptionMessageBoxes> message_{};
    QCheckBox* passwordOn_;
    QLineEdit* password_;
    QLabel* passwordLabel_;
};

} // namespace qtx::editors
