#pragma once
// FrmLanguage: English or Chinese for the rest of the run.

#include <QDialog>

class QComboBox;

namespace qtx::app {

struct AppState;

class LanguageDialog : public QDialog {
    Q_OBJECT
public:
    LanguageDialog(const AppState& state, QWidget* parent = nullptr);
    int chosenLanguage() const;
    QComboBox* list() const { return list_; }

private:
    QComboBox* list_;
};

} // namespace qtx::app
