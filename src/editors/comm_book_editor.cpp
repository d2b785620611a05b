#include "editors/comm_book_editor.h"
#include "ui/help_topic.h"

#include "forms/key_rules.h"
#include "model/workspace.h"
#include "ui/captions.h"
#include "ui/field_filter.h"
#include "ui/prompter.h"
#include "ui/texts.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace qtx::editors {

using ui::FieldFilter;

// The edit box over a call ID or name cell: the column's characters only,
// a-z entered as A-Z, Enter stores the cell and moves on.
class BookCellDelegate : public QStyledItemDelegate {
public:
    explicit BookCellDelegate(CommBookEditor* editor) : QStyledItemDelegate(editor), editor_(editor) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        const int column = index.column();
        auto* box = new QLineEdit(parent);
        box->setObjectName("txtBookCell");
        box->setMaxLength(static_cast<int>(BookCellLength(column)));
        // The field filter's keys are passed on from this delegate's filter
        // (see eventFilter), which also decides the selection on entering.
        filter_ = FieldFilter::install(box, column == kBookCallIdColumn ? DigitKey : BookNameKey);
        box->removeEventFilter(filter_);
        // Whatever reached the box (input methods included) is put through the column's set.
        QObject::connect(box, &QLineEdit::textEdited, box, [box, column](const QString& text) {
            const QString taken = QString::fromLatin1(FilterBookCellText(column, text.toLatin1().toStdString()));
            if (taken != text) {
                const int cursor = box->cursorPosition();
                box->setText(taken);
                box->setCursorPosition(std::min<int>(cursor, static_cast<int>(taken.size())));
            }
        });
        box->installEventFilter(const_cast<BookCellDelegate*>(this));
        box_ = box;
        row_ = index.row();
        column_ = column;
        return box;
    }

    void setModelData(QWidget* box, QAbstractItemModel*, const QModelIndex& index) const override
    {
        editor_->storeCell(index.row(), index.column(), static_cast<QLineEdit*>(box)->text());
    }

    void destroyEditor(QWidget* box, const QModelIndex& index) const override
    {
        if (box == box_)
            box_ = nullptr; // closed by the view (Esc, focus moved away)
        QStyledItemDelegate::destroyEditor(box, index);
    }

    QLineEdit* box() const { return box_; }

    // Stores and closes the open edit box, if any.
    void finish()
    {
        if (!box_)
            return;
        QLineEdit* box = box_;
        box_ = nullptr;
        emit commitData(box);
        emit closeEditor(box, QAbstractItemDelegate::NoHint);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == box_ && filter_) {
            if (event->type() == QEvent::FocusIn) {
                // A box opened by a key already holds that key: selecting it
                // would let the next key type over it. Select only a box the
                // user has not typed in yet.
                QPointer<QLineEdit> box = box_;
                QTimer::singleShot(0, box, [box] {
                    if (box && !box->isModified())
                        box->selectAll();
                });
            } else if (event->type() != QEvent::KeyPress || !isEnter(event)) {
                if (static_cast<QObject*>(filter_)->eventFilter(watched, event))
                    return true;
            }
        }
        if (event->type() == QEvent::KeyPress && watched == box_) {
            if (isEnter(event)) {
                const int row = row_, column = column_;
                editor_->moveOn(row, column);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(watched, event);
    }

private:
    static bool isEnter(QEvent* event)
    {
        const int key = static_cast<QKeyEvent*>(event)->key();
        return key == Qt::Key_Return || key == Qt::Key_Enter;
    }

    CommBookEditor* editor_;
    mutable QPointer<FieldFilter> filter_;
    mutable QPointer<QLineEdit> box_;
    mutable int row_ = 0;
    mutable int column_ = 0;
};

CommBookEditor::CommBookEditor(Workspace& ws, const ui::LanguageTexts& texts, ui::Prompter& prompter, QWidget* parent)
    : QDialog(parent), ws_(ws), st_(texts), prompter_(prompter), form_(ws.live.body.Book)
{
    setObjectName("FrmCommuBook");
    ui::SetHelpTopic(this, "comm-book");
    build();
    ui::CaptionLoader(this, st_);
    ui::SetOkCancelCaptions(this, st_);
    grid_->setHorizontalHeaderLabels({st_.text(3007), QStringLiteral("Call ID"), st_.text(1801)});
    showBook();
    grid_->setCurrentCell(0, kBookCallIdColumn);
    grid_->setFocus();
}

void CommBookEditor::build()
{
    ui::SetTextIds(this, 1800);
    grid_ = new QTableWidget(kBookEntryCount, 3, this);
    grid_->setObjectName("GrdBook");
    grid_->verticalHeader()->hide();
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    grid_->setTabKeyNavigation(true);
    delegate_ = new BookCellDelegate(this);
    grid_->setItemDelegate(delegate_);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setColumnWidth(kBookNumberColumn, 60);
    grid_->setColumnWidth(kBookCallIdColumn, 110);
    grid_->setMinimumSize(360, 380);

    auto* import = new QPushButton(this);
    import->setObjectName("CmdImport");
    ui::SetTextIds(import, 1802);
    import->setAutoDefault(false);
    connect(import, &QPushButton::clicked, this, [this] { importBook(); });
    auto* exportButton = new QPushButton(this);
    exportButton->setObjectName("CmdExport");
    ui::SetTextIds(exportButton, 1803);
    exportButton->setAutoDefault(false);
    connect(exportButton, &QPushButton::clicked, this, [this] { exportBook(); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    for (QAbstractButton* b : buttons->buttons())
        if (auto* p = qobject_cast<QPushButton*>(b))
            p->setAutoDefault(false); // Enter in the grid never closes the window
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        commit();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(import);
    row->addWidget(exportButton);
    row->addStretch();
    row->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    layout->addLayout(row);
}

void CommBookEditor::showBook()
{
    for (int r = 0; r < kBookEntryCount; ++r) {
        for (int c = 0; c < 3; ++c) {
            auto* item = new QTableWidgetItem(ui::fromLatin1(form_.cellText(r, c)));
            if (c == kBookNumberColumn)
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            grid_->setItem(r, c, item);
        }
    }
}

QLineEdit* CommBookEditor::cellBox() const { return delegate_->box(); }

void CommBookEditor::storeCell(int row, int column, const QString& text)
{
    form_.commitCell(row, column, text.toLatin1().toStdString());
    if (QTableWidgetItem* item = grid_->item(row, column))
        item->setText(ui::fromLatin1(form_.cellText(row, column)));
}

void CommBookEditor::finishCellEdit() { delegate_->finish(); }

void CommBookEditor::moveOn(int row, int column)
{
    finishCellEdit();
    const BookCell next = NextBookCell({row, column});
    grid_->setCurrentCell(next.row, next.column);
    grid_->editItem(grid_->item(next.row, next.column));
}

QString CommBookEditor::dialogPath() const
{
    return QString::fromStdString(BookDialogPath(ws_.bookFileName, ws_.fileName, ws_.isUntitled,
                                                 QDir::homePath().toStdString()));
}

ui::FileKind CommBookEditor::fileFilter() const
{
    return {st_.text(7020) + " (*.cb);;" + st_.text(7021) + " (*)", "cb"};
}

void CommBookEditor::tellFileError(const std::string& detail)
{
    prompter_.tell(st_.builtIn(BuiltIn::FileError) + "\n\n" + QString::fromStdString(detail), ui::Icon::Warning);
}

bool CommBookEditor::importBook()
{
    // The cell being typed in belongs to the book before the import, not to
    // the imported entry that will stand in its place.
    finishCellEdit();
    const QString path = prompter_.openFileName(fileFilter(), dialogPath());
    if (path.isEmpty())
        return false;
    ws_.bookFileName = path.toStdString();
    auto read = form_.importFile(path.toStdString());
    if (!read) {
        tellFileError(read.error().detail);
        return false;
    }
    showBook();
    return true;
}

bool CommBookEditor::exportBook()
{
    finishCellEdit();
    const QString path = prompter_.saveFileName(fileFilter(), dialogPath());
    if (path.isEmpty())
        return false;
    ws_.bookFileName = path.toStdString();
    auto written = form_.exportFile(path.toStdString());
    if (!written) {
        tellFileError(written.error().detail);
        return false;
    }
    return true;
}

void CommBookEditor::commit()
{
    finishCellEdit();
    ws_.live.body.Book = form_.buffer();
}

} // namespace qtx::editors
