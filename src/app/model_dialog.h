#pragma once
// FrmModel: the model (one) and the band limits. OK fits the limits to a
// standard band and re-fits every channel.

#include <QDialog>

class QLineEdit;

namespace qtx::app {

struct AppState;

class ModelDialog : public QDialog {
    Q_OBJECT
public:
    ModelDialog(AppState& state, QWidget* parent = nullptr);
    QLineEdit* field(int index) const { return fields_[index]; } // rxLow, rxHigh, txLow, txHigh

    // Applies the four fields as OK does (also used by tests).
    void applyFields();

private:
    AppState& st_;
    QLineEdit* fields_[4];
};

} // namespace qtx::app
