#include "app/edit_history.h"

#include "view/main_view.h"

#include <QUndoCommand>
#include <QUndoStack>

namespace qtx::app {

namespace {

class SnapshotCommand : public QUndoCommand {
public:
    SnapshotCommand(Workspace& ws, EditHistory& history, StepName name, EditStep step)
        : ws_(ws), history_(history), name_(std::move(name)), step_(std::move(step))
    {
    }

    const StepName& name() const { return name_; }

    void undo() override
    {
        RestoreState(ws_, step_.before);
        emit history_.restored();
    }

    void redo() override
    {
        // Pushing runs redo once; the change has already happened then.
        if (!done_) {
            done_ = true;
            return;
        }
        RestoreState(ws_, step_.after);
        emit history_.restored();
    }

private:
    Workspace& ws_;
    EditHistory& history_;
    StepName name_;
    EditStep step_;
    bool done_ = false;
};

const SnapshotCommand* commandAt(const QUndoStack& stack, int index)
{
    if (index < 0 || index >= stack.count())
        return nullptr;
    return static_cast<const SnapshotCommand*>(stack.command(index));
}

} // namespace

StepName ChannelStep(int number) { return {kStepChannel, QString::fromStdString(GridRowHeading(number))}; }

EditHistory::EditHistory(Workspace& ws, QObject* parent) : QObject(parent), ws_(ws), stack_(new QUndoStack(this))
{
    stack_->setUndoLimit(kMaxSteps);
    connect(stack_, &QUndoStack::indexChanged, this, &EditHistory::changed);
}

EditHistory::~EditHistory() = default;

void EditHistory::edit(const StepName& name, const std::function<void()>& change)
{
    if (depth_ > 0) {
        change();
        return;
    }
    EditState before = CaptureState(ws_, StepScope::Edit);
    struct Depth {
        int& d;
        explicit Depth(int& depth) : d(depth) { ++d; }
        ~Depth() { --d; }
    } inside(depth_);
    change();
    record(name, std::move(before));
}

void EditHistory::record(const StepName& name, EditState before)
{
    if (auto step = FinishStep(ws_, std::move(before)))
        stack_->push(new SnapshotCommand(ws_, *this, name, std::move(*step)));
}

void EditHistory::clear()
{
    stack_->clear();
    emit changed();
}

bool EditHistory::canUndo() const { return stack_->canUndo(); }
bool EditHistory::canRedo() const { return stack_->canRedo(); }
void EditHistory::undo() { stack_->undo(); }
void EditHistory::redo() { stack_->redo(); }
int EditHistory::count() const { return stack_->count(); }

StepName EditHistory::undoName() const
{
    const SnapshotCommand* c = commandAt(*stack_, stack_->index() - 1);
    return c ? c->name() : StepName{};
}

StepName EditHistory::redoName() const
{
    const SnapshotCommand* c = commandAt(*stack_, stack_->index());
    return c ? c->name() : StepName{};
}

} // namespace qtx::app
