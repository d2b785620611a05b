#pragma once
// FrmProgress: which transfer runs and how far it is. It has no buttons;
// the transfer closes it when it ends.

#include <QDialog>

class QLabel;
class QProgressBar;

namespace qtx::app {

struct AppState;

class ProgressDialog : public QDialog {
    Q_OBJECT
public:
    ProgressDialog(const AppState& state, bool writing, QWidget* parent = nullptr);
    void setProgressValue(int value);
    // The write is done and its read-back runs: caption and bar start over.
    void showVerifying();
    QString captionText() const;
    // The transfer ended: the window may close now.
    void finish();
    int value() const;
    QString percentText() const;

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* caption_;
    QLabel* percent_;
    QProgressBar* bar_;
    QString verifyingCaption_;
    bool finished_ = false;
};

} // namespace qtx::app
