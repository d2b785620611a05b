#include "app/language_dialog.h"
#include "ui/help_topic.h"

#include "app/app_state.h"
#include "ui/captions.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace qtx::app {

LanguageDialog::LanguageDialog(const AppState& st, QWidget* parent) : QDialog(parent)
{
    setObjectName("FrmLanguage");
    ui::SetHelpTopic(this, "language-dialog");
    ui::SetTextIds(this, 1503);
    auto* label = new QLabel(this);
    ui::SetTextIds(label, 1503);
    list_ = new QComboBox(this);
    list_->addItem(st.text(1501));
    list_->addItem(st.text(1502));
    list_->setCurrentIndex(st.language == kLanguageChinese ? 1 : 0);
    label->setBuddy(list_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    ui::CaptionLoader(this, st);
    ui::SetOkCancelCaptions(this, st);
}

int LanguageDialog::chosenLanguage() const { return list_->currentIndex() + 1; }

} // namespace qtx::app
