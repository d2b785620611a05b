// Undo and redo through the command layer and the Edit menu, and the
// comparison with a file.

#include "app_fixture.h"

#include "app/commands.h"
#include "app/compare_dialog.h"
#include "app/main_window.h"
#include "files/change_tracking.h"
#include "files/data_file.h"
#include "model/band_plan.h"
#include "model/channel_list.h"

#include "support/codeplug_fields.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>
#include <QUndoStack>

using namespace qtx;
using namespace qtx::app;
using qtx::testing::AppFixture;
using qtx::testing::ListFields;

namespace {

class EditHistoryTest : public AppFixture {
protected:
    AppState st;
    std::unique_ptr<Commands> commands;

    void start()
    {
        StartUp(st, inputs());
        commands = std::make_unique<Commands>(st, prompter, nullptr);
    }

    // One channel edited as its editor's OK would.
    void editChannel(int number, const char* rx)
    {
        st.history.edit(ChannelStep(number), [&] {
            ChannelRecord ch = BlankChannel(number);
            if (const auto pos = FindChannel(st.ws.live, number))
                ch = st.ws.live.channels[*pos];
            ch.InUse = 1;
            ch.RxFrequency.setPadded(rx);
            if (const auto pos = FindChannel(st.ws.live, number))
                st.ws.live.channels[*pos] = ch;
            else
                st.ws.live.channels[st.ws.live.body.ChannelCount++] = ch;
        });
    }

    void editOptions(int squelch)
    {
        st.history.edit({kStepOptions}, [&] { st.ws.live.body.Settings.Options.Item1705 = static_cast<int16_t>(squelch); });
    }

    void changeBand()
    {
        st.history.edit({kStepBandChange}, [&] {
            st.ws.live.body.Band = BandPlan{400.0, 470.0, 400.0, 470.0};
            ApplyBandToChannels(st.ws.live);
        });
    }

    std::vector<std::string> fields() const { return ListFields(st.ws.live, true); }

    QString path(const char* name) const { return QString::fromStdString((dir.path() / name).string()); }
};

} // namespace

TEST_F(EditHistoryTest, UndoAllGivesBackTheStartAndRedoAllTheEnd)
{
    start();
    const auto startFields = fields();
    const std::string startName = st.ws.fileName;

    editChannel(5, "014500000");
    editChannel(6, "014600000");
    editChannel(5, "014502500");
    editOptions(5);
    changeBand();
    prompter.answers = {ui::Answer::No}; // "save first?"
    ASSERT_TRUE(commands->initialise());
    const auto endFields = fields();
    EXPECT_EQ(st.history.count(), 6);
    EXPECT_EQ(st.history.undoName().textId, kStepInitialise);

    while (st.history.canUndo())
        st.history.undo();
    EXPECT_EQ(fields(), startFields) << qtx::testing::FirstDifference(fields(), startFields);
    EXPECT_FALSE(IsModified(st.ws)) << *FirstDifference(st.ws);
    EXPECT_EQ(st.ws.fileName, startName);
    EXPECT_EQ(st.history.redoName().textId, kStepChannel);
    EXPECT_EQ(st.history.redoName().arg, "4"); // channel 5 is the grid's "4"

    while (st.history.canRedo())
        st.history.redo();
    EXPECT_EQ(fields(), endFields);
    EXPECT_FALSE(IsModified(st.ws)); // Initialise leaves an unchanged new Codeplug
}

TEST_F(EditHistoryTest, TheModifiedFlagFollowsTheSavedState)
{
    start();
    editOptions(3);
    prompter.files = {path("saved.dat")};
    ASSERT_TRUE(commands->saveAs());
    EXPECT_FALSE(IsModified(st.ws));
    editOptions(7);
    EXPECT_TRUE(IsModified(st.ws));

    st.history.undo(); // back to what was saved
    EXPECT_FALSE(IsModified(st.ws));
    st.history.undo(); // before the save
    EXPECT_TRUE(IsModified(st.ws));
    st.history.redo();
    EXPECT_FALSE(IsModified(st.ws));
    st.history.redo(); // past the save
    EXPECT_TRUE(IsModified(st.ws));
    EXPECT_EQ(st.ws.live.body.Settings.Options.Item1705, 7);
}

TEST_F(EditHistoryTest, UndoOfInitialiseBringsBackFileAndUnsavedEdits)
{
    start();
    editChannel(10, "014500000");
    prompter.files = {path("mine.dat")};
    ASSERT_TRUE(commands->saveAs());
    editChannel(10, "014700000");
    // Unsaved: "save first?" No.
    prompter.answers = {ui::Answer::No};
    ASSERT_TRUE(commands->initialise());
    EXPECT_TRUE(st.ws.isUntitled);
    EXPECT_FALSE(FindChannel(st.ws.live, 10));

    st.history.undo();
    EXPECT_EQ(QString::fromStdString(st.ws.fileName), path("mine.dat"));
    EXPECT_FALSE(st.ws.isUntitled);
    ASSERT_TRUE(FindChannel(st.ws.live, 10));
    EXPECT_EQ(st.ws.live.channels[*FindChannel(st.ws.live, 10)].RxFrequency.trimmed(), "014700000");
    EXPECT_TRUE(IsModified(st.ws)); // the second edit was never saved
    st.history.undo();
    EXPECT_FALSE(IsModified(st.ws));
}

TEST_F(EditHistoryTest, NewOpenAndUnchangedEditsLeaveNothingToUndo)
{
    start();
    editOptions(st.ws.live.body.Settings.Options.Item1705); // the same value again
    EXPECT_FALSE(st.history.canUndo());

    // Nested changes are one step.
    st.history.edit({kStepScan}, [&] {
        st.ws.live.body.Settings.Scan.WaitTime = 9;
        editOptions(4);
    });
    EXPECT_EQ(st.history.count(), 1);

    prompter.files = {path("x.dat")};
    ASSERT_TRUE(commands->saveAs());
    editOptions(6);
    prompter.answers = {ui::Answer::No, ui::Answer::Ok}; // not saved, all data cleared
    ASSERT_TRUE(commands->newCodeplug());
    EXPECT_FALSE(st.history.canUndo());
    EXPECT_FALSE(st.history.canRedo());

    editOptions(8);
    prompter.answers = {ui::Answer::No};
    prompter.files = {path("x.dat")};
    ASSERT_TRUE(commands->open());
    EXPECT_FALSE(st.history.canUndo());
}

TEST_F(EditHistoryTest, AtMostAHundredStepsAreKept)
{
    start();
    for (int i = 0; i < EditHistory::kMaxSteps + 20; ++i)
        editOptions(i % 2 ? 1 : 2);
    EXPECT_EQ(st.history.count(), EditHistory::kMaxSteps);
    while (st.history.canUndo())
        st.history.undo();
    // The oldest steps are gone; the earliest kept one starts from value 1 or 2.
    EXPECT_NE(st.ws.live.body.Settings.Options.Item1705, 0);
}

TEST_F(EditHistoryTest, CompareWithFileListsTheDifferences)
{
    start();
    editChannel(13, "014500000");
    prompter.files = {path("base.dat")};
    ASSERT_TRUE(commands->saveAs());

    prompter.files = {path("base.dat")};
    auto same = commands->compareWithFile();
    ASSERT_TRUE(same);
    EXPECT_TRUE(same->lines.isEmpty());
    EXPECT_EQ(same->fileName, "base.dat");

    editChannel(13, "014502500");
    editOptions(5);
    prompter.files = {path("base.dat")};
    auto differ = commands->compareWithFile();
    ASSERT_TRUE(differ);
    EXPECT_EQ(differ->lines, (QStringList{QString::fromUtf8("channel 12: receive 145.02500 \u2192 145.00000"),
                                          QString::fromUtf8("option: squelch level 5 \u2192 0")}));

    CompareDialog dialog(st, *differ);
    EXPECT_EQ(dialog.heading()->text(), st.text(7556).arg("base.dat"));
    EXPECT_TRUE(dialog.list()->toPlainText().contains("squelch level"));

    // Cancelled, or a file that cannot be read: nothing to show, the user is told.
    prompter.files = {""};
    EXPECT_FALSE(commands->compareWithFile());
    prompter.asked.clear();
    prompter.files = {path("missing.dat")};
    EXPECT_FALSE(commands->compareWithFile());
    ASSERT_EQ(prompter.asked.size(), 1);
    EXPECT_TRUE(prompter.asked[0].startsWith(st.builtIn(BuiltIn::FileError)));
}

TEST_F(EditHistoryTest, EditMenuUndoesAGridCutAndRedrawsTheRow)
{
    start();
    MainWindow window(st, prompter);
    window.load();
    editChannel(5, "014500000");
    window.showListByData();
    QAction* undo = window.action("mnuEditUndo");
    QAction* redo = window.action("mnuEditRedo");
    EXPECT_EQ(undo->text(), st.text(7542).arg(st.text(7544).arg("4")));
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_EQ(redo->text(), st.text(7541));

    window.grid()->setFocus();
    window.grid()->setCurrentCell(4, 1);
    QTest::keyClick(window.grid(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_FALSE(FindChannel(st.ws.live, 5));
    EXPECT_EQ(window.grid()->item(4, 1)->text(), "");
    EXPECT_EQ(st.history.count(), 2);

    undo->trigger();
    EXPECT_TRUE(FindChannel(st.ws.live, 5));
    EXPECT_EQ(window.grid()->item(4, 1)->text(), "145.00000");
    EXPECT_TRUE(redo->isEnabled());
    redo->trigger();
    EXPECT_EQ(window.grid()->item(4, 1)->text(), "");

    // Copy changes nothing: no step.
    QTest::keyClick(window.grid(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(st.history.count(), 2);
    EXPECT_EQ(undo->shortcut(), QKeySequence(QKeySequence::Undo));
    EXPECT_TRUE(redo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));
}
