#include "app/progress_dialog.h"

#include "app/app_state.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>

namespace qtx::app {

ProgressDialog::ProgressDialog(const AppState& st, bool writing, QWidget* parent) : QDialog(parent)
{
    setObjectName("FrmProgress");
    setWindowTitle(st.builtIn(writing ? BuiltIn::WriteTitle : BuiltIn::ReadTitle));
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    caption_ = new QLabel(st.builtIn(BuiltIn::ProgressLabel), this);
    caption_->setObjectName("lblCaption");
    verifyingCaption_ = st.text(7561);
    percent_ = new QLabel(this);
    percent_->setObjectName("lblPercent");
    percent_->setMinimumWidth(percent_->fontMetrics().horizontalAdvance("100%") + 4);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 100);
    bar_->setTextVisible(false);
    auto* grid = new QGridLayout(this);
    // The caption sits just left of the percentage.
    grid->addWidget(caption_, 0, 0, Qt::AlignRight);
    grid->addWidget(percent_, 0, 1);
    grid->addWidget(bar_, 1, 0, 1, 2);
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

int ProgressDialog::value() const { return bar_->value(); }

QString ProgressDialog::percentText() const { return percent_->text(); }

void ProgressDialog::finish()
{
    finished_ = true;
    done(QDialog::Accepted);
}

void ProgressDialog::reject()
{
    if (finished_)
        QDialog::reject();
}

void ProgressDialog::closeEvent(QCloseEvent* event)
{
    if (finished_)
        event->accept();
    else
        event->ignore();
}

} // namespace qtx::app
