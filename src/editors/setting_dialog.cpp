#include "editors/setting_dialog.h"

#include "ui/captions.h"
#include "ui/field_filter.h"
#include "ui/texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qtx::editors {

SettingDialog::SettingDialog(const ui::LanguageTexts& texts, const char* name, int titleId, QWidget* parent)
    : QDialog(parent), grid_(new QGridLayout), texts_(texts)
{
    setObjectName(name);
    setModal(true);
    ui::SetTextIds(this, titleId);
}

void SettingDialog::fill(QComboBox* list, const ListEntries& entries)
{
    const QSignalBlocker quiet(list);
    list->clear();
    for (const ListEntry& e : entries)
        list->addItem(QString::fromStdString(EntryText(e, [this](int id) { return texts_.text(id).toStdString(); })));
}

QComboBox* SettingDialog::addList(const char* name, int labelId, const ListEntries& entries,
                                  const std::function<void(int)>& picked)
{
    auto* list = new QComboBox(this);
    list->setObjectName(name);
    fill(list, entries);
    if (labelId > 0) {
        auto* label = new QLabel(this);
        ui::SetTextIds(label, labelId);
        label->setBuddy(list);
        grid_->addWidget(label, row_, 0);
    }
    grid_->addWidget(list, row_++, 1);
    connect(list, &QComboBox::activated, this, picked);
    return list;
}

void SettingDialog::followLabels()
{
    for (QLabel* l : findChildren<QLabel*>())
        if (QWidget* buddy = l->buddy()) {
            l->setEnabled(buddy->isEnabled());
            l->setVisible(!buddy->isHidden());
        }
}

QCheckBox* SettingDialog::addSwitch(const char* name, int captionId, const std::function<void(bool)>& toggled)
{
    auto* box = new QCheckBox(this);
    box->setObjectName(name);
    ui::SetTextIds(box, captionId);
    grid_->addWidget(box, row_++, 0, 1, 2);
    connect(box, &QCheckBox::clicked, this, toggled);
    return box;
}

void SettingDialog::finish(const std::function<void()>& ok)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    // Enter moves on between fields; it never presses OK.
    for (QAbstractButton* b : buttons->buttons())
        if (auto* push = qobject_cast<QPushButton*>(b))
            push->setAutoDefault(false), push->setDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, [this, ok] {
        ok();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid_);
    layout->addWidget(buttons);

    auto* enter = new ui::EnterMovesOn(this);
    for (QWidget* w : findChildren<QComboBox*>())
        w->installEventFilter(enter);
    for (QWidget* w : findChildren<QCheckBox*>())
        w->installEventFilter(enter);
    ui::CaptionLoader(this, texts_);
    ui::SetOkCancelCaptions(this, texts_);
}

} // namespace qtx::editors
