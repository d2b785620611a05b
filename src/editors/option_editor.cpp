#include "editors/option_editor.h"
#include "ui/help_topic.h"

#include "forms/key_rules.h"
#include "ui/captions.h"
#include "ui/field_filter.h"
#include "ui/texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace qtx::editors {

OptionEditor::OptionEditor(Codeplug& codeplug, const ui::LanguageTexts& texts, QWidget* parent)
    : SettingDialog(texts, "FrmOption", 1701, parent), cp_(codeplug), form_(LoadOptionForm(codeplug))
{
    ui::SetHelpTopic(this, "option-editor");
    for (int k : kOptionShownLists) {
        const QString name = QString("cmbOption%1").arg(k);
        lists_[k] = addList(name.toLatin1().constData(), OptionListLabel(k), OptionListEntries(form_, k), [this, k](int row) {
            PickOptionList(form_, k, row);
            if (k == kOptionModeList) {
                showForm();
                followStates();
            }
        });
    }
    for (int sw = 0; sw < 3; ++sw) {
        const QString name = QString("chkOption%1").arg(sw + 1);
        switches_[sw] = addSwitch(name.toLatin1().constData(), kOptionSwitchLabels[sw],
                                  [this, sw](bool on) { SetOptionSwitch(form_, sw, on); });
    }

    auto* messageLabel = new QLabel(this);
    ui::SetTextIds(messageLabel, 1739);
    auto* messageRow = new QHBoxLayout;
    messageRow->setSpacing(2);
    for (int i = 0; i < kOptionMessageBoxes; ++i) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QString("txtMessage%1").arg(i));
        box->setMaxLength(1);
        box->setAlignment(Qt::AlignCenter);
        box->setFixedWidth(box->fontMetrics().horizontalAdvance('W') * 2 + 10);
        ui::FieldFilter::install(box, NameKey);
        // Typed straight through: a character taken moves on to the next box.
        connect(box, &QLineEdit::textEdited, this, [this, i](const QString& t) {
            form_.message[i] = t.toLatin1().toStdString();
            if (!t.isEmpty())
                ui::EnterMovesOn::moveOn(message_[i]);
        });
        message_[i] = box;
        messageRow->addWidget(box);
    }
    messageRow->addStretch();
    int row = grid_->rowCount();
    grid_->addWidget(messageLabel, row, 0);
    grid_->addLayout(messageRow, row++, 1);

    passwordOn_ = new QCheckBox(this);
    passwordOn_->setObjectName("chkPassword");
    ui::SetTextIds(passwordOn_, 1737);
    grid_->addWidget(passwordOn_, row++, 0, 1, 2);
    passwordLabel_ = new QLabel(this);
    ui::SetTextIds(passwordLabel_, 1738);
    password_ = new QLineEdit(this);
    password_->setObjectName("txtPassword");
    password_->setMaxLength(kOptionPasswordLength);
    ui::FieldFilter::install(password_, DigitKey);
    passwordLabel_->setBuddy(password_);
    grid_->addWidget(passwordLabel_, row, 0);
    grid_->addWidget(password_, row++, 1);
    connect(passwordOn_, &QCheckBox::toggled, this, [this](bool on) {
        form_.passwordOn = on;
        followStates();
    });
    connect(password_, &QLineEdit::textEdited, this,
            [this](const QString& t) { form_.password = t.toLatin1().toStdString(); });

    finish([this] { ApplyOptionForm(cp_, form_); });
    showForm();
    for (int i = 0; i < kOptionMessageBoxes; ++i)
        message_[i]->setText(QString::fromLatin1(form_.message[i].c_str()));
    {
        const QSignalBlocker quiet(passwordOn_);
        passwordOn_->setChecked(form_.passwordOn);
    }
    password_->setText(QString::fromLatin1(form_.password.c_str()));
    for (int sw = 0; sw < 3; ++sw)
        switches_[sw]->setChecked(OptionSwitch(form_.work, sw) == 1);
    followStates();
}

void OptionEditor::showForm()
{
    for (const auto& [k, list] : lists_)
        list->setCurrentIndex(OptionListRow(form_, k));
}

void OptionEditor::followStates()
{
    const OptionFieldStates s = OptionStates(form_);
    lists_.at(1)->setEnabled(s.list1Enabled);
    lists_.at(kOptionAltList)->setVisible(s.list18Shown);
    password_->setVisible(s.passwordShown);
    followLabels();
}

} // namespace qtx::editors
