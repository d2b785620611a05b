// Undo steps over snapshots: a step exists exactly when something changed,
// and either side of it restores that state exactly.

#include "history/edit_step.h"

#include "files/change_tracking.h"
#include "model/channel_list.h"

#include "support/codeplug_fields.h"
#include "support/random_codeplug.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qtx;
using qtx::testing::ListFields;

namespace {

Workspace RandomWorkspace(uint32_t seed)
{
    Workspace ws;
    ws.live = qtx::testing::CodeplugGenerator(seed).make();
    ws.fileName = "/data/a.dat";
    ws.isUntitled = false;
    TakeSnapshot(ws);
    return ws;
}

} // namespace

TEST(EditStep, NoStepWhenTheChangeLeftEverythingAsItWas)
{
    Workspace ws = RandomWorkspace(1);
    EXPECT_FALSE(FinishStep(ws, CaptureState(ws, StepScope::Edit)));

    // Changed and changed back within one change: still nothing to undo.
    EditState before = CaptureState(ws, StepScope::Edit);
    ws.live.body.Settings.Options.Item1705 = 9;
    ws.live.body.Settings.Options.Item1705 = before.live.body.Settings.Options.Item1705;
    EXPECT_FALSE(FinishStep(ws, std::move(before)));

    // A slot past the channel count is not part of the Codeplug.
    ws.live.body.ChannelCount = std::min<int16_t>(ws.live.body.ChannelCount, kMaxChannels - 1);
    before = CaptureState(ws, StepScope::Edit);
    ws.live.channels[kMaxChannels - 1].Name.setPadded("OTHER");
    EXPECT_FALSE(FinishStep(ws, std::move(before)));

    // A band limit that is not a number equals itself.
    ws.live.body.Band.RxHigh = std::nan("");
    before = CaptureState(ws, StepScope::Edit);
    EXPECT_FALSE(FinishStep(ws, std::move(before)));
}

TEST(EditStep, ChangesChangeTrackingIgnoresAreStepsToo)
{
    Workspace ws = RandomWorkspace(2);
    ASSERT_GT(ws.live.count(), 0);
    EditState before = CaptureState(ws, StepScope::Edit);
    ws.live.channels[0].RadioExtra ^= 1; // not counted as unsaved, but saved with the file
    EXPECT_TRUE(FinishStep(ws, std::move(before)));
    EXPECT_FALSE(IsModified(ws)) << *FirstDifference(ws);

    before = CaptureState(ws, StepScope::Edit);
    ws.bandType = static_cast<int16_t>(ws.bandType + 1);
    EXPECT_TRUE(FinishStep(ws, std::move(before)));

    // Padding of a name: the file changes, so it is a step.
    before = CaptureState(ws, StepScope::Edit);
    ChannelRecord& ch = ws.live.channels[0];
    ch.Name.setPadded(ch.Name.trimmed());
    ch.Name.bytes[6] = ch.Name.bytes[6] == ' ' ? 0 : ' ';
    EXPECT_TRUE(FinishStep(ws, std::move(before)));
}

TEST(EditStep, EitherSideRestoresItsStateExactly)
{
    Workspace ws = RandomWorkspace(3);
    const auto start = ListFields(ws.live, true);
    EditState before = CaptureState(ws, StepScope::Edit);
    DeleteChannel(ws.live, ws.live.channels[0].Number);
    ws.live.body.Settings.Dtmf.Codes[2].Length = 7;
    ws.bandType = 3;
    const auto end = ListFields(ws.live, true);
    const auto step = FinishStep(ws, std::move(before));
    ASSERT_TRUE(step);

    RestoreState(ws, step->before);
    EXPECT_EQ(ListFields(ws.live, true), start) << qtx::testing::FirstDifference(ListFields(ws.live, true), start);
    EXPECT_EQ(ws.bandType, kModelBandType);
    EXPECT_FALSE(IsModified(ws));

    RestoreState(ws, step->after);
    EXPECT_EQ(ListFields(ws.live, true), end);
    EXPECT_EQ(ws.bandType, 3);
    EXPECT_TRUE(IsModified(ws));
}

TEST(EditStep, AnEditStepLeavesTheSavedStateAndFileNameAlone)
{
    Workspace ws = RandomWorkspace(4);
    EditState before = CaptureState(ws, StepScope::Edit);
    ws.live.body.Settings.Options.Item1705 = static_cast<int16_t>(ws.live.body.Settings.Options.Item1705 + 1);
    const auto step = FinishStep(ws, std::move(before));
    ASSERT_TRUE(step);

    // Saved under another name after the edit; undo then differs from the
    // saved state, redo is the saved state.
    ws.fileName = "/data/b.dat";
    TakeSnapshot(ws);
    RestoreState(ws, step->before);
    EXPECT_TRUE(IsModified(ws));
    EXPECT_EQ(ws.fileName, "/data/b.dat");
    RestoreState(ws, step->after);
    EXPECT_FALSE(IsModified(ws));
}

TEST(EditStep, ADocumentStepBringsBackFileNameAndSavedState)
{
    Workspace ws = RandomWorkspace(5);
    ws.live.body.Settings.Options.Item1705 = static_cast<int16_t>(ws.live.body.Settings.Options.Item1705 + 1);
    const auto editedLive = ListFields(ws.live, true);
    const auto savedBase = ListFields(ws.baseline, true);

    EditState before = CaptureState(ws, StepScope::Document);
    // What Initialise does to the workspace: a new untitled Codeplug.
    ws.live = Codeplug{};
    ws.fileName = kUntitledFileName;
    ws.isUntitled = true;
    TakeSnapshot(ws);
    const auto step = FinishStep(ws, std::move(before));
    ASSERT_TRUE(step);
    ASSERT_TRUE(step->after.document);

    RestoreState(ws, step->before);
    EXPECT_EQ(ws.fileName, "/data/a.dat");
    EXPECT_FALSE(ws.isUntitled);
    EXPECT_EQ(ListFields(ws.live, true), editedLive);
    EXPECT_EQ(ListFields(ws.baseline, true), savedBase);
    EXPECT_TRUE(IsModified(ws)); // the edit made before is still unsaved

    RestoreState(ws, step->after);
    EXPECT_EQ(ws.fileName, kUntitledFileName);
    EXPECT_TRUE(ws.isUntitled);
    EXPECT_FALSE(IsModified(ws));
}
