#include "history/edit_step.h"

#include "files/data_file.h"

#include <algorithm>

namespace qtx {

namespace {

bool SameCodeplug(const Codeplug& a, const Codeplug& b)
{
    if (a.body.ChannelCount != b.body.ChannelCount || EncodeBody(a.body) != EncodeBody(b.body))
        return false;
    const int count = std::clamp<int>(a.body.ChannelCount, 0, kMaxChannels);
    for (int i = 0; i < count; ++i)
        if (EncodeChannel(a.channels[static_cast<size_t>(i)]) != EncodeChannel(b.channels[static_cast<size_t>(i)]))
            return false;
    return true;
}

} // namespace

EditState CaptureState(const Workspace& ws, StepScope scope)
{
    EditState s;
    CopyCodeplug(ws.live, s.live);
    s.bandType = ws.bandType;
    if (scope == StepScope::Document) {
        EditState::Document& d = s.document.emplace();
        CopyCodeplug(ws.baseline, d.baseline);
        d.fileName = ws.fileName;
        d.bookFileName = ws.bookFileName;
        d.isUntitled = ws.isUntitled;
    }
    return s;
}

void RestoreState(Workspace& ws, const EditState& state)
{
    CopyCodeplug(state.live, ws.live);
    ws.bandType = state.bandType;
    if (state.document) {
        CopyCodeplug(state.document->baseline, ws.baseline);
        ws.fileName = state.document->fileName;
        ws.bookFileName = state.document->bookFileName;
        ws.isUntitled = state.document->isUntitled;
    }
}

bool SameState(const EditState& a, const EditState& b)
{
    if (a.bandType != b.bandType || !SameCodeplug(a.live, b.live) || a.document.has_value() != b.document.has_value())
        return false;
    if (!a.document)
        return true;
    const EditState::Document& x = *a.document;
    const EditState::Document& y = *b.document;
    return x.fileName == y.fileName && x.bookFileName == y.bookFileName && x.isUntitled == y.isUntitled &&
           SameCodeplug(x.baseline, y.baseline);
}

std::optional<EditStep> FinishStep(const Workspace& ws, EditState before)
{
    EditState after = CaptureState(ws, before.document ? StepScope::Document : StepScope::Edit);
    if (SameState(before, after))
        return std::nullopt;
    return EditStep{std::move(before), std::move(after)};
}

} // namespace qtx
