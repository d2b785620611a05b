#include "app/prompter.h"

#include "app/app_state.h"
#include "app/password_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QRegularExpression>
#include <QMessageBox>

namespace qtx::app {

Answer DialogPrompter::ask(const QString& text, Buttons buttons, Icon icon)
{
    QMessageBox box(parent_);
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setText(text);
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNoCancel: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel); break;
    case Buttons::RetryCancel: box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel); break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Retry: return Answer::Retry;
    default: return Answer::Cancel;
    }
}

QString DialogPrompter::openFileName(const QString& filter, const QString& directory)
{
    return QFileDialog::getOpenFileName(parent_, QString(), directory, filter);
}

QString DialogPrompter::saveFileName(const QString& filter, const QString& preset)
{
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(filter);
    // The suffix of the filter's first pattern: "Data (*.dat)" gives "dat".
    const qsizetype star = filter.indexOf("*.");
    const qsizetype end = star < 0 ? -1 : filter.indexOf(QRegularExpression("[ ;)]"), star);
    dialog.setDefaultSuffix(star < 0 ? QString("dat") : filter.mid(star + 2, end < 0 ? -1 : end - star - 2));
    dialog.selectFile(preset);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

std::optional<std::string> DialogPrompter::askRadioPassword(const std::string& current)
{
    PasswordDialog dialog(state_, current, parent_);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.typed();
}

} // namespace qtx::app
