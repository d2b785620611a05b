// The 2-tone editor window: boxes and call-list cells go through the form's
// rules into a working copy that reaches the Codeplug only on OK.

#include "signalling/two_tone_editor.h"
#include "files/defaults.h"
#include "model/channel_list.h"
#include "model/workspace.h"
#include "ui/texts.h"

#include "support/source_texts.h"
#include "support/temp_dir.h"
#include "support/widget_input.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace qtx;
using qtx::signalling::TwoToneEditor;

namespace {

class TwoToneEditorTest : public ::testing::Test {
protected:
    qtx::testing::TempDir programDir;
    Workspace ws;
    Codeplug& cp = ws.live;
    ui::LanguageTexts texts;

    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(qtx::testing::UseEnglishTexts(texts));
        NewCodeplug(ws, programDir.path().string(), NewOptions{});
        ChannelRecord ch = BlankChannel(1);
        ch.InUse = 1;
        ch.RxFrequency.setPadded("014500000");
        ch.OptionalSignal = 2;
        ch.TwoToneCall = 3;
        cp.channels[cp.body.ChannelCount++] = ch;
    }

    static void show(TwoToneEditor& editor) { qtx::testing::ShowActive(editor); }

    // Keys as a user types them: each to the focused field, with the event
    // loop running in between.
    static void type(const QString& keys) { qtx::testing::TypeKeys(keys); }
    static void enter()
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCoreApplication::processEvents();
    }
};

} // namespace

TEST_F(TwoToneEditorTest, ToneBoxesFollowTheFormatAndClampOnLeave)
{
    TwoToneEditor editor(cp, texts);
    show(editor);
    EXPECT_EQ(editor.windowTitle(), texts.option("60051"));
    EXPECT_EQ(editor.toneBox(2)->text(), "626.5");
    EXPECT_TRUE(editor.toneBox(0)->isEnabled());
    EXPECT_FALSE(editor.toneBox(3)->isEnabled());
    editor.formatList()->setCurrentIndex(5); // B-D
    EXPECT_FALSE(editor.toneBox(0)->isEnabled());
    EXPECT_TRUE(editor.toneBox(1)->isEnabled());
    EXPECT_TRUE(editor.toneBox(3)->isEnabled());

    QLineEdit* b = editor.toneBox(1);
    b->setFocus();
    QCoreApplication::processEvents();
    type("5x0,00"); // only digits and "." reach the box
    EXPECT_EQ(b->text(), "5000");
    editor.toneBox(3)->setFocus();
    EXPECT_EQ(b->text(), "3116");

    // Emptied and OK pressed while it still has the focus: the leave rule runs.
    b->setFocus();
    b->clear();
    editor.commit();
    EXPECT_EQ(cp.body.Settings.TwoTone.ToneB, 2880);
    EXPECT_EQ(cp.body.Settings.TwoTone.OwnFormat, 5);
    EXPECT_EQ(cp.body.Settings.TwoTone.OwnFirstTone, 2880);
    EXPECT_EQ(cp.body.Settings.TwoTone.OwnSecondTone, 20438);
}

TEST_F(TwoToneEditorTest, CallListByKeyboardThenOkRepairsChannels)
{
    TwoToneEditor editor(cp, texts);
    show(editor);
    editor.tabs()->setCurrentIndex(1);
    auto* grid = editor.callGrid();
    grid->setFocus();

    grid->setCurrentCell(3, 1);
    type("1000");
    ASSERT_NE(grid->editor(), nullptr);
    enter();
    EXPECT_EQ(editor.working().Entries[3].FirstTone, 10000);
    EXPECT_EQ(editor.working().Entries[3].FirstDivider, 600);
    EXPECT_EQ(grid->item(3, 1)->text(), "1000.0");
    EXPECT_EQ(grid->currentColumn(), 2);
    enter(); // an empty second tone: on to the name
    EXPECT_EQ(grid->currentColumn(), 3);
    type("GATE\\~1");
    enter();
    EXPECT_EQ(grid->item(3, 3)->text(), "GATE1");
    EXPECT_EQ(grid->currentRow(), 4);
    EXPECT_EQ(grid->currentColumn(), 1);
    EXPECT_TRUE(editor.isVisible()); // Enter never pressed OK

    // A row without a first tone: columns 2 and 3 send the cursor to column 1.
    grid->setCurrentCell(6, 3);
    EXPECT_EQ(grid->currentColumn(), 1);
    // Nothing has reached the Codeplug yet.
    EXPECT_EQ(cp.body.Settings.TwoTone.Entries[3].Empty, 1);

    // Clearing entry 3 again moves the channel on OK to the first entry in use.
    grid->setCurrentCell(3, 1);
    QTest::keyClick(grid, Qt::Key_Delete);
    QTest::keyClicks(grid, "2");
    ASSERT_NE(grid->editor(), nullptr);
    static_cast<QLineEdit*>(grid->editor())->clear();
    grid->setCurrentCell(4, 1); // leaving the cell commits it
    EXPECT_EQ(grid->item(3, 3)->text(), "");
    EXPECT_EQ(editor.working().Entries[3].Empty, 1);
    editor.commit();
    EXPECT_EQ(cp.channels[0].TwoToneCall, 0);
}

TEST_F(TwoToneEditorTest, CancelLeavesTheCodeplugAsItWas)
{
    const Codeplug before = cp;
    TwoToneEditor editor(cp, texts);
    show(editor);
    editor.formatList()->setCurrentIndex(13);
    editor.callGrid()->setCurrentCell(0, 1);
    editor.callGrid()->item(0, 1)->setText(""); // clears entry 0 in the copy
    EXPECT_EQ(editor.working().Entries[0].Empty, 1);
    editor.reject();
    EXPECT_TRUE(cp.body == before.body);
    EXPECT_TRUE(cp.channels[0] == before.channels[0]);
}
