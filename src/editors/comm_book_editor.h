#pragma once
// FrmCommuBook: edits the communication book on a copy (the buffer); OK
// hands it back, Cancel drops it. Import and Export move the whole buffer
// through a book file. The rules live in CommBookForm.

#include "forms/comm_book_form.h"

#include <QDialog>
#include <QPointer>

class QLineEdit;
class QTableWidget;

namespace qtx::app {
struct AppState;
class Prompter;
} // namespace qtx::app

namespace qtx::editors {

class BookCellDelegate;

class CommBookEditor : public QDialog {
    Q_OBJECT
public:
    CommBookEditor(app::AppState& state, app::Prompter& prompter, QWidget* parent = nullptr);

    const CommBookForm& form() const { return form_; }
    QTableWidget* grid() const { return grid_; }
    // The edit box of the cell being edited, if any.
    QLineEdit* cellBox() const;

    // The buttons' work.
    bool importBook();
    bool exportBook();
    void commit(); // OK: the buffer into the Codeplug

    // Stores an edited cell and shows what was stored.
    void storeCell(int row, int column, const QString& text);
    // Enter in a cell: store it and edit the next one.
    void moveOn(int row, int column);

private:
    void build();
    void showBook(); // buffer -> grid
    void finishCellEdit();
    QString dialogPath() const;
    QString fileFilter() const;
    void tellFileError(const std::string& detail);

    app::AppState& st_;
    app::Prompter& prompter_;
    CommBookForm form_;
    QTableWidget* grid_ = nullptr;
    BookCellDelegate* delegate_ = nullptr;
};

} // namespace qtx::editors
