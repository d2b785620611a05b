#pragma once
// Undo steps over whole-Codeplug snapshots. A step holds the state before
// and after one change of the workspace; restoring either side puts back
// exactly that state. Whether the Codeplug counts as changed is not part of
// a step: change tracking compares the live Codeplug with the baseline, so
// undoing back to the saved state counts as unchanged by itself.

#include "model/workspace.h"

#include <optional>
#include <string>

namespace qtx {

enum class StepScope {
    // What the editors, grid commands and imports change: the live Codeplug
    // and the band type the program works with.
    Edit,
    // A change that replaces the whole Codeplug (Initialise): also the
    // baseline, the file names and whether the Codeplug has a file, so an
    // undo gives back the document as it was.
    Document,
};

struct EditState {
    Codeplug live;
    int16_t bandType = kModelBandType;

    struct Document {
        Codeplug baseline;
        std::string fileName;
        std::string bookFileName;
        bool isUntitled = true;
    };
    std::optional<Document> document; // held for StepScope::Document
};

EditState CaptureState(const Workspace& ws, StepScope scope);
void RestoreState(Workspace& ws, const EditState& state);

// Byte for byte as a Save would write them (a NaN band limit equals
// itself); slots past the channel count do not take part.
bool SameState(const EditState& a, const EditState& b);

struct EditStep {
    EditState before;
    EditState after;
};

// Closes a step begun with `before` (captured just ahead of the change):
// the step, or none when the change left everything as it was.
std::optional<EditStep> FinishStep(const Workspace& ws, EditState before);

} // namespace qtx
