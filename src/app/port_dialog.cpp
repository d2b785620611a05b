#include "app/port_dialog.h"
#include "ui/help_topic.h"

#include "app/app_state.h"
#include "ui/captions.h"
#include "files/program_settings.h"
#include "port_catalogue.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace qtx::app {

namespace {

constexpr int kFixedPortCount = 255;

} // namespace

PortDialog::PortDialog(AppState& st, const PortCatalogue& catalogue, QWidget* parent)
    : QDialog(parent), st_(st), catalogue_(catalogue)
{
    setObjectName("FrmComSet");
    ui::SetHelpTopic(this, "port-dialog");
    ui::SetTextIds(this, 1401);
    auto* label = new QLabel(this);
    ui::SetTextIds(label, 1402);
    list_ = new QListWidget(this);
    list_->setObjectName("lstComPort");
    label->setBuddy(list_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        commit();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        portId_ = row < 0 ? 0 : list_->item(row)->data(Qt::UserRole).toInt();
    });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
        commit();
        accept();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    ui::CaptionLoader(this, st_);
    ui::SetOkCancelCaptions(this, st_);
    resize(380, 300);

    fill();
    choose(st_.comPort);
    if (!st_.fixedPortList) {
        connect(&refresh_, &QTimer::timeout, this, &PortDialog::refresh);
        refresh_.start(1000);
    }
    connect(this, &QDialog::finished, &refresh_, &QTimer::stop);
}

void PortDialog::fill()
{
    list_->blockSignals(true);
    list_->clear();
    if (st_.fixedPortList) {
        for (int n = 1; n <= kFixedPortCount; ++n) {
            auto* item = new QListWidgetItem("COM" + QString::number(n), list_);
            item->setData(Qt::UserRole, n);
        }
    } else {
        QList<PortEntry> ports;
        FillPortList(catalogue_, ports);
        for (const PortEntry& p : ports) {
            auto* item = new QListWidgetItem(p.name + "    " + p.device, list_);
            item->setData(Qt::UserRole, p.number);
        }
    }
    list_->blockSignals(false);
}

// The entry of `port`, else the first one; nothing when the list is empty.
void PortDialog::choose(int port)
{
    if (list_->count() == 0) {
        portId_ = 0;
        list_->setCurrentRow(-1);
        return;
    }
    int row = 0;
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->data(Qt::UserRole).toInt() == port)
            row = i;
    list_->setCurrentRow(row);
    portId_ = list_->item(row)->data(Qt::UserRole).toInt();
}

void PortDialog::refresh()
{
    const int keep = portId_;
    fill();
    choose(keep);
}

void PortDialog::commit()
{
    if (list_->currentRow() < 0) {
        st_.comPort = 0;
        return;
    }
    st_.comPort = list_->currentItem()->data(Qt::UserRole).toInt();
    WriteProgramSetting(st_.settingsFile.toStdString(), "comPort", std::to_string(st_.comPort));
}

} // namespace qtx::app
