#include "app/password_dialog.h"
#include "ui/help_topic.h"

#include "app/app_state.h"
#include "ui/captions.h"
#include "ui/field_filter.h"
#include "model/fixed_text.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace qtx::app {

PasswordDialog::PasswordDialog(AppState& st, const std::string& prefill, QWidget* parent) : QDialog(parent), st_(st)
{
    setObjectName("FrmPassWord");
    ui::SetHelpTopic(this, "password-dialog");
    ui::SetTextIds(this, 3100);
    auto* label = new QLabel(this);
    ui::SetTextIds(label, 3101);
    box_ = new QLineEdit(ui::fromLatin1(prefill), this);
    box_->setObjectName("txtPassWord");
    box_->setEchoMode(QLineEdit::Password);
    box_->setMaxLength(4);
    ui::FieldFilter::install(box_, PrintableKey);
    label->setBuddy(box_);

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addSpacing(4);
    row->addWidget(box_, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    ui::CaptionLoader(this, st_);
    ui::SetOkCancelCaptions(this, st_);
    box_->setFocus();
    box_->selectAll();
}

std::string PasswordDialog::typed() const { return cleaned(box_->text()); }

std::string PasswordDialog::cleaned(const QString& typed)
{
    const QByteArray bytes = typed.toLatin1();
    return TrimFixed(std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
}

} // namespace qtx::app
