#pragma once
// FrmPassWord: the radio's programming password, typed once per run.

#include <QDialog>

#include <string>

class QLineEdit;

namespace qtx::app {

struct AppState;

class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    // The box shows `prefill` (masked).
    PasswordDialog(AppState& state, const std::string& prefill, QWidget* parent = nullptr);
    QLineEdit* box() const { return box_; }
    // What the box holds, cleaned; the caller keeps it once confirmed.
    std::string typed() const;

    // Trailing blanks removed, cut at the first NUL.
    static std::string cleaned(const QString& typed);

private:
    AppState& st_;
    QLineEdit* box_;
};

} // namespace qtx::app
