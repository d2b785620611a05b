#include "app/model_dialog.h"
#include "ui/help_topic.h"

#include "app/app_state.h"
#include "ui/captions.h"
#include "ui/field_filter.h"
#include "convert/numeric.h"
#include "model/band_plan.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace qtx::app {

ModelDialog::ModelDialog(AppState& st, QWidget* parent) : QDialog(parent), st_(st)
{
    setObjectName("FrmModel");
    ui::SetHelpTopic(this, "model-dialog");
    ui::SetTextIds(this, 2300);
    auto* modelLabel = new QLabel(this);
    ui::SetTextIds(modelLabel, 2301);
    auto* model = new QComboBox(this);
    model->addItem(kModelName);
    model->setCurrentIndex(0);
    model->setEnabled(false);
    auto* bandLabel = new QLabel(this);
    ui::SetTextIds(bandLabel, 2302);

    const BandPlan& band = st_.ws.live.body.Band;
    const double values[4] = {band.RxLow, band.RxHigh, band.TxLow, band.TxHigh};
    for (int i = 0; i < 4; ++i) {
        fields_[i] = new QLineEdit(QString::fromStdString(FixedDecimal(values[i], 1, 5)), this);
        fields_[i]->setObjectName(QString("txtBand%1").arg(i));
        fields_[i]->setMaxLength(12);
        ui::FieldFilter::install(fields_[i], FrequencyKey);
    }

    auto* grid = new QGridLayout(this);
    grid->addWidget(modelLabel, 0, 0);
    grid->addWidget(model, 0, 1, 1, 4);
    grid->addWidget(bandLabel, 1, 0);
    const char* rows[2] = {"RX(", "TX("};
    for (int r = 0; r < 2; ++r) {
        grid->addWidget(new QLabel(rows[r], this), 1 + r, 1, Qt::AlignRight);
        grid->addWidget(fields_[2 * r], 1 + r, 2);
        grid->addWidget(new QLabel("-", this), 1 + r, 3);
        grid->addWidget(fields_[2 * r + 1], 1 + r, 4);
        grid->addWidget(new QLabel("Mhz)", this), 1 + r, 5);
    }
    QString bands;
    for (int b = 1; b <= kStandardBandCount; ++b) {
        const BandPlan s = StandardBand(b);
        bands += QString("RX:%1\uFF0D%2\tTX:%3\uFF0D%4\n")
                     .arg(QString::fromStdString(ShortDecimal(s.RxLow)), QString::fromStdString(ShortDecimal(s.RxHigh)),
                          QString::fromStdString(ShortDecimal(s.TxLow)), QString::fromStdString(ShortDecimal(s.TxHigh)));
    }
    auto* help = new QPlainTextEdit(bands.trimmed(), this);
    help->setReadOnly(true);
    help->setFocusPolicy(Qt::NoFocus);
    help->setMaximumHeight(help->fontMetrics().height() * 7);
    grid->addWidget(help, 3, 0, 1, 6);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    grid->addWidget(buttons, 4, 0, 1, 6);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        applyFields();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    ui::CaptionLoader(this, st_);
    ui::SetOkCancelCaptions(this, st_);
}

void ModelDialog::applyFields()
{
    BandLimitTexts texts{fields_[0]->text().toStdString(), fields_[1]->text().toStdString(),
                         fields_[2]->text().toStdString(), fields_[3]->text().toStdString()};
    st_.ws.live.body.Band = AcceptBandTexts(texts);
    fields_[0]->setText(QString::fromStdString(texts.rxLow));
    fields_[1]->setText(QString::fromStdString(texts.rxHigh));
    fields_[2]->setText(QString::fromStdString(texts.txLow));
    fields_[3]->setText(QString::fromStdString(texts.txHigh));
    ApplyBandToChannels(st_.ws.live);
}

} // namespace qtx::app
