#pragma once
// FrmCommuBook: edits the communication book on a copy (the buffer); OK
// hands it back, Cancel drops it. Import and Export move the whole buffer
// through a book file. The rules live in CommBookForm.

#include "forms/comm_book_form.h"
#include "ui/prompter.h"

#include <QDialog>
#include <QPointer>

class QLineEdit;
class QTableWidget;

namespace qtx {
struct Workspace;
}
namespace qtx::ui {
struct LanguageTexts;
class Prompter;
} // namespace qtx::ui

namespace qtx::editors {

class BookCellDelegate;

class CommBookEditor : public QDialog {
    Q_OBJECT
public:
    // ws: the live Codeplug takes the book on OK; its file names place the
    // book file dialogs, which remember the chosen path in ws.bookFileName.
    CommBookEditor(Workspace& ws, const ui::LanguageTexts& texts, ui::Prompter& prompter, QWidget* parent = nullptr);

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
    ui::FileKind fileFilter() const;
    void tellFileError(const std::string& detail);

    Workspace& ws_;
    const ui::LanguageTexts& st_;
    ui::Prompter& prompter_;
    CommBookForm form_;
    QTableWidget* grid_ = nullptr;
    BookCellDelegate* delegate_ = nullptr;
};

} // namespace qtx::editors
