#pragma once
// In-place editors of the channel grid's cells: a number box for the
// frequencies, a text box for the name, a list for the other cells. The
// delegate only shows the box; what a committed cell does is the caller's
// (it runs the channel rules and redraws the row).

#include "forms/channel_cells.h"

#include <QStyledItemDelegate>
#include <QTableWidget>

#include <functional>

namespace qtx::app {

class ChannelCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using ChoicesFn = std::function<CellChoices(int channel, int column)>;
    using CommitFn = std::function<void(int channel, int column, const CellValue& value)>;

    ChannelCellDelegate(ChoicesFn choices, CommitFn commit, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    ChoicesFn choices_;
    CommitFn commit_;
};

// The grid's table: rows are selected whole, several with Shift and Ctrl.
// A current cell set by the program selects that row alone, whatever
// modifier keys happen to be down.
class ChannelTable : public QTableWidget {
    Q_OBJECT
public:
    using QTableWidget::QTableWidget;
    // A cell's box is open.
    bool editing() const { return state() == EditingState; }

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
};

} // namespace qtx::app
