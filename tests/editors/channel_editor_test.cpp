// The channel editor window: its widgets show the form, feed the editor's
// rules and hand OK to the store sequence.

#include "editors/channel_editor.h"
#include "files/defaults.h"
#include "model/channel_list.h"
#include "model/workspace.h"
#include "ui/texts.h"

#include "support/scripted_prompter.h"
#include "support/source_texts.h"
#include "support/temp_dir.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace qtx;
using qtx::editors::ChannelEditor;

namespace {

// A new Codeplug (no factory file), the English texts and scripted answers:
// what the desktop program hands the window.
class ChannelEditorTest : public ::testing::Test {
protected:
    qtx::testing::TempDir programDir;
    Workspace ws;
    Codeplug& cp = ws.live;
    SignalViewSwitches switches;
    ui::LanguageTexts texts;
    qtx::testing::ScriptedPrompter prompter;

    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(qtx::testing::UseEnglishTexts(texts));
        NewCodeplug(ws, programDir.path().string(), NewOptions{}); // the built-in defaults
    }

    void addChannel(int number, const char* rx)
    {
        ChannelRecord ch = BlankChannel(number);
        ch.InUse = 1;
        ch.RxFrequency.setPadded(rx);
        cp.channels[cp.body.ChannelCount++] = ch;
    }

    const ChannelRecord* channel(int number) const
    {
        const auto pos = FindChannel(cp, number);
        return pos ? &cp.channels[*pos] : nullptr;
    }
};

} // namespace

TEST_F(ChannelEditorTest, NewChannelTypedIntoTheBoxes)
{
    ChannelEditor editor(cp, switches, texts, prompter, 12);
    EXPECT_FALSE(editor.transmitBox()->isEnabled()); // nothing but the receive frequency yet
    QTest::keyClicks(editor.receiveBox(), "145.5x");  // the x is refused
    EXPECT_EQ(editor.receiveBox()->text(), "145.5");
    EXPECT_TRUE(editor.transmitBox()->isEnabled());
    editor.nameBox(0)->setFocus();
    QTest::keyClicks(editor.nameBox(0), "A");
    QTest::keyClicks(editor.nameBox(1), "B");
    ASSERT_TRUE(editor.commit());
    const ChannelRecord* ch = channel(12);
    ASSERT_TRUE(ch);
    EXPECT_EQ(ch->RxFrequency.str(), "014550000");
    EXPECT_EQ(ch->Name.str(), "AB     ");
    EXPECT_EQ(ch->ShiftDirection, 0); // an empty transmit field is simplex
    EXPECT_TRUE(prompter.asked.isEmpty());
}

TEST_F(ChannelEditorTest, OutOfBandWarnsAndTakesTheLimit)
{
    ChannelEditor editor(cp, switches, texts, prompter, 3);
    editor.receiveBox()->setText("500");
    ASSERT_TRUE(editor.commit());
    EXPECT_EQ(prompter.asked, QStringList{texts.text(2001)});
    EXPECT_EQ(editor.receiveBox()->text(), "174.00000");
    EXPECT_EQ(channel(3)->RxFrequency.str(), "017400000");
}

TEST_F(ChannelEditorTest, ClearingTheReceiveFrequencyDeletesTheChannel)
{
    addChannel(5, "014500000");
    ChannelEditor editor(cp, switches, texts, prompter, 5);
    EXPECT_EQ(editor.receiveBox()->text(), "145.00000");
    editor.receiveBox()->clear();
    EXPECT_FALSE(editor.transmitBox()->isEnabled());
    ASSERT_TRUE(editor.commit());
    EXPECT_EQ(channel(5), nullptr);
}

TEST_F(ChannelEditorTest, TheVfoCannotBeEmptied)
{
    ChannelEditor editor(cp, switches, texts, prompter, kChannelVfo);
    editor.receiveBox()->clear();
    EXPECT_FALSE(editor.commit());
    EXPECT_EQ(prompter.asked, QStringList{"VFO can't be null!"});
    EXPECT_NE(channel(kChannelVfo), nullptr);
}

TEST_F(ChannelEditorTest, PresetsAndVfoNeverTakeAPttIdCode)
{
    addChannel(kChannelPA, "014500000");
    addChannel(7, "014500000");
    ChannelEditor preset(cp, switches, texts, prompter, kChannelPA);
    EXPECT_FALSE(preset.pttIdCodeBox()->isEnabled());
    ChannelEditor memory(cp, switches, texts, prompter, 7);
    EXPECT_TRUE(memory.pttIdCodeBox()->isEnabled());
}

TEST_F(ChannelEditorTest, ListsReactToEachOther)
{
    switches = SignalViewSwitches{1, 1, 1, 0, 1};
    addChannel(4, "014500000");
    ChannelEditor editor(cp, switches, texts, prompter, 4);

    // One PTT-ID kind at a time.
    editor.fiveTonePttIdList()->setCurrentIndex(2);
    editor.dtmfPttIdList()->setCurrentIndex(1);
    EXPECT_EQ(editor.fiveTonePttIdList()->currentIndex(), 0);

    // Reverse and Talk-around exclude each other.
    editor.talkAroundBox()->setChecked(true);
    editor.reverseBox()->setChecked(true);
    EXPECT_FALSE(editor.talkAroundBox()->isChecked());

    // With Reverse the transmit side decides the squelch modes.
    editor.rxToneTypeList()->setCurrentIndex(1);
    EXPECT_EQ(editor.squelchList()->count(), 1);
    editor.txToneTypeList()->setCurrentIndex(2);
    EXPECT_EQ(editor.squelchList()->count(), 2);
    editor.reverseBox()->setChecked(false);
    EXPECT_EQ(editor.squelchList()->count(), 2); // the receive side has a tone too
}

TEST_F(ChannelEditorTest, TwoToneCallsOfferOnlyEntriesInUse)
{
    switches = SignalViewSwitches{0, 1, 0, 0, 1}; // 2-tone on, DTMF off
    auto& entries = cp.body.Settings.TwoTone.Entries;
    entries[3].Empty = 0;
    addChannel(4, "014500000");
    ChannelRecord& ch = cp.channels[*FindChannel(cp, 4)];
    ch.OptionalSignal = 2;
    ch.TwoToneCall = 9; // no longer in use

    ChannelEditor editor(cp, switches, texts, prompter, 4);
    EXPECT_EQ(editor.signalList()->itemText(editor.signalList()->currentIndex()), "2Tone");
    EXPECT_EQ(editor.codeList()->count(), 2); // entries 0 and 3
    EXPECT_EQ(editor.codeList()->currentIndex(), -1);
    ASSERT_TRUE(editor.commit());
    EXPECT_EQ(channel(4)->TwoToneCall, 0);

    ChannelEditor again(cp, switches, texts, prompter, 4);
    again.codeList()->setCurrentIndex(1);
    ASSERT_TRUE(again.commit());
    EXPECT_EQ(channel(4)->TwoToneCall, 3);
}

TEST_F(ChannelEditorTest, AnInputMethodCannotCommitOtherCharacters)
{
    addChannel(6, "014500000");
    ChannelEditor editor(cp, switches, texts, prompter, 6);
    const auto commit = [](QLineEdit* box, const char* utf8) {
        QInputMethodEvent event;
        event.setCommitString(QString::fromUtf8(utf8));
        QApplication::sendEvent(box, &event);
    };
    commit(editor.nameBox(0), "\u4e2d");
    commit(editor.receiveBox(), "\u4e2d");
    EXPECT_EQ(editor.nameBox(0)->text(), "");
    EXPECT_EQ(editor.receiveBox()->text(), "145.00000");
    commit(editor.nameBox(0), "Q");
    EXPECT_EQ(editor.nameBox(0)->text(), "Q");
    ASSERT_TRUE(editor.commit());
    EXPECT_EQ(channel(6)->Name.str(), "Q      ");
}
