#include "app/channel_cell_delegate.h"

#include "forms/key_rules.h"
#include "ui/field_filter.h"
#include "ui/texts.h"

#include <QComboBox>
#include <QLineEdit>
#include <QValidator>

namespace qtx::app {

namespace {

// Grid rows are channel numbers: table row r shows channel r + 1.
int channelOf(const QModelIndex& index) { return index.row() + 1; }

// Typed and pasted text through a box's key rule; unlike the editors'
// filter it leaves the selection alone, so the key that opened the cell
// is not selected away by the next one.
class RuleValidator : public QValidator {
public:
    RuleValidator(KeyRule rule, QObject* parent) : QValidator(parent), rule_(rule) {}
    State validate(QString& input, int&) const override
    {
        const std::optional<QString> taken = ui::FieldFilter::apply(rule_, input);
        if (!taken)
            return Invalid;
        input = *taken;
        return Acceptable;
    }

private:
    KeyRule rule_;
};

class CellList : public QComboBox {
public:
    using QComboBox::QComboBox;
    bool popupUsed() const { return popupUsed_; }
    void showPopup() override
    {
        popupUsed_ = true;
        QComboBox::showPopup();
    }

private:
    bool popupUsed_ = false;
};

} // namespace

ChannelCellDelegate::ChannelCellDelegate(ChoicesFn choices, CommitFn commit, QObject* parent)
    : QStyledItemDelegate(parent), choices_(std::move(choices)), commit_(std::move(commit))
{
}

QWidget* ChannelCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    const int column = index.column();
    switch (ChannelCellKind(column)) {
    case CellKind::Frequency:
    case CellKind::Name: {
        auto* box = new QLineEdit(parent);
        box->setObjectName(column == kColumnName ? "cellName" : "cellFrequency");
        box->setFrame(false);
        box->setAlignment(Qt::AlignCenter);
        const bool name = column == kColumnName;
        box->setMaxLength(name ? kChannelNameBoxes : 10);
        box->setValidator(new RuleValidator(name ? NameKey : FrequencyKey, box));
        return box;
    }
    case CellKind::List: {
        auto* list = new CellList(parent);
        list->setObjectName("cellList");
        const CellChoices choices = choices_(channelOf(index), column);
        for (const std::string& text : choices.texts)
            list->addItem(ui::fromUtf8(text));
        list->setMaxVisibleItems(16);
        // An entry picked from the open list is committed at once; typing
        // into the closed list only searches it, and Enter commits.
        connect(list, &QComboBox::activated, this, [this, list] {
            if (!list->popupUsed())
                return;
            emit const_cast<ChannelCellDelegate*>(this)->commitData(list);
            emit const_cast<ChannelCellDelegate*>(this)->closeEditor(list);
        });
        return list;
    }
    case CellKind::None: break;
    }
    return nullptr;
}

void ChannelCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* box = qobject_cast<QLineEdit*>(editor)) {
        box->setText(index.data().toString());
        box->selectAll();
    } else if (auto* list = qobject_cast<QComboBox*>(editor)) {
        const CellChoices choices = choices_(channelOf(index), index.column());
        list->setCurrentIndex(choices.current);
    }
}

void ChannelCellDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const
{
    // The row is redrawn from the Codeplug by the caller; the model is not written here.
    CellValue value;
    if (auto* box = qobject_cast<QLineEdit*>(editor)) {
        if (!box->isModified())
            return;
        value.text = box->text().toLatin1().toStdString();
    } else if (auto* list = qobject_cast<QComboBox*>(editor)) {
        value.index = list->currentIndex();
        if (value.index == choices_(channelOf(index), index.column()).current)
            return;
    }
    commit_(channelOf(index), index.column(), value);
}

QItemSelectionModel::SelectionFlags ChannelTable::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    if (!event)
        return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    return QTableWidget::selectionCommand(index, event);
}

} // namespace qtx::app
