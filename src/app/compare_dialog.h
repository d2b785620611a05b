#pragma once
// The result of "Compare with file": how the open Codeplug differs from a
// data file, one line per field, grouped by record.

#include <QDialog>

class QLabel;
class QPlainTextEdit;

namespace qtx::app {

struct AppState;
struct FileComparison;

class CompareDialog : public QDialog {
    Q_OBJECT
public:
    CompareDialog(const AppState& state, const FileComparison& comparison, QWidget* parent = nullptr);

    QLabel* heading() const { return heading_; }
    QPlainTextEdit* list() const { return list_; }

private:
    QLabel* heading_;
    QPlainTextEdit* list_;
};

} // namespace qtx::app
