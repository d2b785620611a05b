#pragma once
// FrmProgress: which transfer runs and how far it is. Cancel (the button,
// Esc or the close box) asks the transfer to stop; the transfer closes the
// window when it ends.

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

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
    // The phase, block count and time left, one line under the bar.
    void setDetail(const QString& text);
    // The transfer ended: the window may close now.
    void finish();
    int value() const;
    QString percentText() const;
    QString detailText() const;
    bool cancelRequested() const { return cancelRequested_; }

signals:
    void cancelled();

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void requestCancel();

    const AppState& st_;
    QLabel* caption_;
    QLabel* percent_;
    QLabel* detail_;
    QProgressBar* bar_;
    QString verifyingCaption_;
    QPushButton* cancel_;
    bool finished_ = false;
    bool cancelRequested_ = false;
};

} // namespace qtx::app
