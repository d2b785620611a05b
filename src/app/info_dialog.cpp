#include "app/info_dialog.h"
#include "ui/help_topic.h"

#include "app/app_state.h"
#include "ui/captions.h"
#include "model/band_plan.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qtx::app {

QStringList InfoBandTexts()
{
    // The variant list without its repeated entries (13 and 19-23).
    QStringList out;
    for (int i = 0; i < kBandVariantCount; ++i) {
        if (i == 13 || (i >= 19 && i <= 23))
            continue;
        const auto t = BandVariantText(i);
        out << QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
    }
    return out;
}

InfoDialog::InfoDialog(const AppState& st, const EmbeddedInfo& info, QWidget* parent) : QDialog(parent)
{
    setObjectName("FrmEMG");
    ui::SetHelpTopic(this, "embedded-info");
    setWindowTitle(st.builtIn(BuiltIn::InfoTitle));
    auto field = [this](const std::string& value, const char* name) {
        auto* box = new QLineEdit(ui::fromLatin1(value), this);
        box->setObjectName(name);
        box->setReadOnly(true);
        return box;
    };
    auto* form = new QFormLayout;
    form->addRow(st.builtIn(BuiltIn::InfoAreaCode), field(info.AreaCode, "txtAreaCode"));
    form->addRow(st.builtIn(BuiltIn::InfoManufactureCode), field(info.ManufactureCode, "txtManufactureCode"));
    form->addRow(st.builtIn(BuiltIn::InfoUserCode), field(info.UserCode, "txtUserCode"));
    auto* model = new QComboBox(this);
    model->setObjectName("cmbModel");
    model->addItem(st.modelLabel);
    model->setCurrentIndex(0);
    model->setEnabled(false); // shown, not chosen
    form->addRow(st.builtIn(BuiltIn::InfoRadioType), model);
    form->addRow(st.builtIn(BuiltIn::InfoSerialNumber), field(info.SerialNumber, "txtSerialNumber"));
    form->addRow(st.builtIn(BuiltIn::InfoProductionDate), field(info.ProductionDate, "txtProductionDate"));
    form->addRow(st.builtIn(BuiltIn::InfoMaintenanceDate), field(info.MaintenanceDate, "txtMaintenanceDate"));
    auto* description = new QPlainTextEdit(ui::fromLatin1(info.Description), this);
    description->setObjectName("txtDescription");
    description->setReadOnly(true);
    description->setMaximumHeight(description->fontMetrics().height() * 4);
    form->addRow(st.builtIn(BuiltIn::InfoMaintenanceDescription), description);
    form->addRow(st.builtIn(BuiltIn::InfoVersion), field(info.Version, "txtVersion"));
    auto* bands = new QComboBox(this);
    bands->setObjectName("cmbBand");
    bands->addItems(InfoBandTexts());
    bands->setCurrentIndex(-1);
    bands->setEnabled(false);
    form->addRow(st.builtIn(BuiltIn::InfoBand), bands);

    auto* dealer = new QGroupBox(st.builtIn(BuiltIn::InfoDealerGroup), this);
    auto* dealerForm = new QFormLayout(dealer);
    dealerForm->addRow(st.builtIn(BuiltIn::InfoDealerCode), field(info.DealerCode, "txtDealerCode"));
    dealerForm->addRow(st.builtIn(BuiltIn::InfoStockDate), field(info.StockDate, "txtStockDate"));
    dealerForm->addRow(st.builtIn(BuiltIn::InfoSellDate), field(info.SellDate, "txtSellDate"));
    dealerForm->addRow(st.builtIn(BuiltIn::InfoSeller), field(info.Seller, "txtSeller"));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    close->setObjectName("CommandClose");
    QPushButton* help = buttons->addButton(QString(), QDialogButtonBox::HelpRole);
    help->setObjectName("CommandHelp");
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { emit helpRequested(); });
    ui::SetCloseHelpCaptions(this, st);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(dealer);
    layout->addWidget(buttons);
    resize(520, height());
}

QString InfoDialog::shown(const char* objectName) const
{
    if (auto* box = findChild<QLineEdit*>(objectName))
        return box->text();
    if (auto* text = findChild<QPlainTextEdit*>(objectName))
        return text->toPlainText();
    return {};
}

} // namespace qtx::app
