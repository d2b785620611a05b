#include "editors/key_editor.h"
#include "ui/help_topic.h"

#include <QComboBox>

namespace qtx::editors {

KeyEditor::KeyEditor(Codeplug& codeplug, const ui::LanguageTexts& texts, QWidget* parent)
    : SettingDialog(texts, "FrmKeySet", 6000, parent), cp_(codeplug), form_(LoadKeyForm(codeplug))
{
    ui::SetHelpTopic(this, "key-editor");
    const ListEntries functions = KeyFunctionEntries();
    for (int i = 0; i < kKeyPresses; ++i) {
        const QString name = QString("cmbKey%1").arg(i);
        lists_[i] = addList(name.toLatin1().constData(), kKeyLabelFirst + i, functions, [this, i](int row) {
            lists_[i]->setCurrentIndex(PickKeyFunction(form_, i, row));
        });
        lists_[i]->setCurrentIndex(form_.rows[i]);
    }
    finish([this] { ApplyKeyForm(cp_, form_); });
}

} // namespace qtx::editors
