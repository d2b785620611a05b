#include "app/compare_dialog.h"
#include "ui/help_topic.h"

#include "app/app_state.h"
#include "ui/captions.h"
#include "app/commands.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace qtx::app {

CompareDialog::CompareDialog(const AppState& st, const FileComparison& comparison, QWidget* parent) : QDialog(parent)
{
    setObjectName("FrmCompare");
    ui::SetHelpTopic(this, "compare");
    setWindowTitle(st.text(7559));
    auto* layout = new QVBoxLayout(this);

    heading_ = new QLabel(st.text(comparison.lines.isEmpty() ? 7557 : 7556).arg(comparison.fileName), this);
    heading_->setObjectName("lblHeading");
    heading_->setWordWrap(true);
    layout->addWidget(heading_);

    QStringList text = comparison.notes;
    if (!text.isEmpty() && !comparison.lines.isEmpty())
        text << QString();
    text << comparison.lines;
    list_ = new QPlainTextEdit(text.join('\n'), this);
    list_->setObjectName("txtDifferences");
    list_->setReadOnly(true);
    list_->setLineWrapMode(QPlainTextEdit::NoWrap);
    list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    list_->setVisible(!text.isEmpty());
    layout->addWidget(list_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    ui::SetOkCancelCaptions(this, st);
    resize(comparison.lines.isEmpty() ? 420 : 640, comparison.lines.isEmpty() ? 140 : 480);
}

} // namespace qtx::app
