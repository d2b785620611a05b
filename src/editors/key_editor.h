#pragma once
// FrmKeySet: the function of each of the 15 key presses over a KeyForm.

#include "editors/setting_dialog.h"
#include "forms/key_form.h"

#include <array>

namespace qtx::editors {

class KeyEditor : public SettingDialog {
    Q_OBJECT
public:
    KeyEditor(Codeplug& codeplug, const ui::LanguageTexts& texts, QWidget* parent = nullptr);

    const KeyForm& form() const { return form_; }
    QComboBox* list(int press) const { return lists_[press]; }

private:
    Codeplug& cp_;
    KeyForm form_;
    std::array<QComboBox*, kKeyPresses> lists_{};
};

} // namespace qtx::editors
