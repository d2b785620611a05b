#pragma once
// Undo and redo of every change to the live Codeplug: each change runs as
// one named step over whole-Codeplug snapshots (at most kMaxSteps kept).
// Whether the Codeplug counts as unsaved stays with change tracking, so an
// undo back to the saved state counts as unchanged.
//
// Registering a change is one call around it, for example an editor's OK:
//
//     st.history.edit({kStepOptions}, [&] { editor.exec(); });
//
// The step is made only when the change altered something, whatever the
// editor returned. Calls nest: a change made inside another is part of the
// outer step.

#include "history/edit_step.h"

#include <QObject>
#include <QString>

#include <functional>

class QUndoStack;

namespace qtx::app {

// Text IDs that name steps ("Undo channel 12", "Undo option settings").
enum StepText : int {
    kStepChannel = 7544, // "channel %1": its editor, cut, paste, grid edits
    kStepOptions = 7545,
    kStepKeys = 7546,
    kStepScan = 7547,
    kStepAlarm = 7548,
    kStepDtmf = 7549,
    kStepTwoTone = 7550,
    kStepFiveTone = 7551,
    kStepCommBook = 7552,
    kStepBandChange = 7553,
    kStepInitialise = 7554,
    kStepCsvImport = 7555,
    // Grid commands on several rows ("paste of 4 channels").
    kStepPasteRows = 7580,
    kStepCutRows = 7581,
    kStepDeleteRows = 7582,
    kStepMoveChannel = 7583, // "move of channel %1"
    kStepMoveRows = 7584,
};

struct StepName {
    StepName(int id = 0, QString argument = QString()) : textId(id), arg(std::move(argument)) {}
    int textId;
    QString arg; // fills "%1" of the text
};

// The step of one channel, numbered as the grid shows it ("channel 12", "channel PA").
StepName ChannelStep(int number);

class EditHistory : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxSteps = 100;

    explicit EditHistory(Workspace& ws, QObject* parent = nullptr);
    ~EditHistory() override;

    // Runs `change` as one step of the live Codeplug and the band type.
    void edit(const StepName& name, const std::function<void()>& change);
    // Closes a step begun with CaptureState(ws, scope) before the change;
    // for changes whose start is not one call (Initialise, whose undo also
    // brings back the file name and saved state: StepScope::Document).
    void record(const StepName& name, EditState before);
    // New, Open and a radio read: nothing before them can be undone.
    void clear();

    bool canUndo() const;
    bool canRedo() const;
    void undo();
    void redo();
    // The step the next undo (redo) takes back (does again).
    StepName undoName() const;
    StepName redoName() const;
    int count() const;

    QUndoStack& stack() { return *stack_; }

signals:
    // An undo or redo put another state into the workspace: show it.
    void restored();
    // Steps were added, taken back, done again or cleared: relabel the menu.
    void changed();

private:
    Workspace& ws_;
    QUndoStack* stack_;
    int depth_ = 0;
};

} // namespace qtx::app
