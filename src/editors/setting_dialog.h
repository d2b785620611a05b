#pragma once
// What the option, key, scan and alarm windows share: labelled lists filled
// from a form's entries, OK/Cancel, Enter moving on. A list reacts only to
// the user's pick (activated), so filling and showing store nothing.

#include "forms/form_lists.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;

namespace qtx::ui {
struct LanguageTexts;
}

namespace qtx::editors {

class SettingDialog : public QDialog {
    Q_OBJECT
protected:
    SettingDialog(const ui::LanguageTexts& texts, const char* name, int titleId, QWidget* parent);

    // A list with its label (labelId 0: no label) in the next row of the
    // grid; `picked` runs with the row the user chose.
    QComboBox* addList(const char* name, int labelId, const ListEntries& entries,
                       const std::function<void(int)>& picked);
    QCheckBox* addSwitch(const char* name, int captionId, const std::function<void(bool)>& toggled);
    void fill(QComboBox* list, const ListEntries& entries);
    // Every label follows its list's enabled and shown state.
    void followLabels();
    // Layout end: OK runs `ok` and closes; Cancel, Esc and closing store nothing.
    void finish(const std::function<void()>& ok);

    QGridLayout* grid_;
    const ui::LanguageTexts& texts_;

private:
    int row_ = 0;
};

} // namespace qtx::editors
