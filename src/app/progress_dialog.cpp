#include "app/progress_dialog.h"
#include "ui/help_topic.h"

#include "app/app_state.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace qtx::app {

ProgressDialog::ProgressDialog(const AppState& st, bool writing, QWidget* parent) : QDialog(parent), st_(st)
{
    setObjectName("FrmProgress");
    ui::SetHelpTopic(this, "progress");
    setWindowTitle(st.builtIn(writing ? BuiltIn::WriteTitle : BuiltIn::ReadTitle));
    caption_ = new QLabel(st.builtIn(BuiltIn::ProgressLabel), this);
    caption_->setObjectName("lblCaption");
    verifyingCaption_ = st.text(7561);
    percent_ = new QLabel(this);
    percent_->setObjectName("lblPercent");
    percent_->setMinimumWidth(percent_->fontMetrics().horizontalAdvance("100%") + 4);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 100);
    bar_->setTextVisible(false);
    detail_ = new QLabel(this);
    detail_->setObjectName("lblDetail");
    cancel_ = new QPushButton(st.text(102), this);
    cancel_->setObjectName("btnCancel");
    cancel_->setAutoDefault(false);
    connect(cancel_, &QPushButton::clicked, this, &ProgressDialog::requestCancel);
    auto* grid = new QGridLayout(this);
    // The caption sits just left of the percentage.
    grid->addWidget(caption_, 0, 0, Qt::AlignRight);
    grid->addWidget(percent_, 0, 1);
    grid->addWidget(bar_, 1, 0, 1, 2);
    grid->addWidget(detail_, 2, 0, 1, 2);
    grid->addWidget(cancel_, 3, 0, 1, 2, Qt::AlignRight);
    setMinimumWidth(360);
    setProgressValue(0);
}

void ProgressDialog::setProgressValue(int value)
{
    bar_->setValue(value);
    percent_->setText(QString::number(value) + "%");
}

void ProgressDialog::showVerifying()
{
    caption_->setText(verifyingCaption_);
    setProgressValue(0);
}

QString ProgressDialog::captionText() const { return caption_->text(); }

void ProgressDialog::setDetail(const QString& text)
{
    if (!cancelRequested_)
        detail_->setText(text);
}

int ProgressDialog::value() const { return bar_->value(); }

QString ProgressDialog::percentText() const { return percent_->text(); }

QString ProgressDialog::detailText() const { return detail_->text(); }

void ProgressDialog::finish()
{
    finished_ = true;
    done(QDialog::Accepted);
}

void ProgressDialog::requestCancel()
{
    if (finished_ || cancelRequested_)
        return;
    cancelRequested_ = true;
    cancel_->setEnabled(false);
    detail_->setText(st_.text(7405));
    emit cancelled();
}

void ProgressDialog::reject()
{
    if (finished_)
        QDialog::reject();
    else
        requestCancel();
}

void ProgressDialog::closeEvent(QCloseEvent* event)
{
    if (finished_) {
        event->accept();
        return;
    }
    event->ignore();
    requestCancel();
}

} // namespace qtx::app
