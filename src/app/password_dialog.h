#pragma once
// FrmPassWord: the radio's programming password, typed once per run.

#include <QDialog>

class QLineEdit;

namespace qtx::app {

struct AppState;

class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    PasswordDialog(AppState& state, QWidget* parent = nullptr);
    QLineEdit* box() const { return box_; }

    // Trailing blanks removed, cut at the first NUL.
    static std::string cleaned(const QString& typed);

private:
    AppState& st_;
    QLineEdit* box_;
};

} // namespace qtx::app
