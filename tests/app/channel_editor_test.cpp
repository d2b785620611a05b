// The channel editor window: its widgets show the form, feed the editor's
// rules and hand OK to the store sequence.

#include "app_fixture.h"

#include "editors/channel_editor.h"
#include "model/channel_list.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

using namespace qtx;
using namespace qtx::app;
using qtx::editors::ChannelEditor;
using qtx::testing::AppFixture;

namespace {

class ChannelEditorTest : public AppFixture {
protected:
    AppState st;

    void SetUp() override
    {
        AppFixture::SetUp();
        StartUp(st, inputs());
    }

    void addChannel(int number, const char* rx)
    {
        ChannelRecord ch = BlankChannel(number);
        ch.InUse = 1;
        ch.RxFrequency.setPadded(rx);
        st.ws.live.channels[st.ws.live.body.ChannelCount++] = ch;
    }

    const ChannelRecord* channel(int number) const
    {
        const auto pos = FindChannel(st.ws.live, number);
        return pos ? &st.ws.live.channels[*pos] : nullptr;
    }
};

} // namespace

TEST_F(ChannelEditorTest, NewChannelTypedIntoTheBoxes)
{
    ChannelEditor editor(st, prompter, 12);
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
    ChannelEditor editor(st, prompter, 3);
    editor.receiveBox()->setText("500");
    ASSERT_TRUE(editor.commit());
    EXPECT_EQ(prompter.asked, QStringList{st.text(2001)});
    EXPECT_EQ(editor.receiveBox()->text(), "174.00000");
    EXPECT_EQ(channel(3)->RxFrequency.str(), "017400000");
}

TEST_F(ChannelEditorTest, ClearingTheReceiveFrequencyDeletesTheChannel)
{
    addChannel(5, "014500000");
    ChannelEditor editor(st, prompter, 5);
    EXPECT_EQ(editor.receiveBox()->text(), "145.00000");
    editor.receiveBox()->clear();
    EXPECT_FALSE(editor.transmitBox()->isEnabled());
    ASSERT_TRUE(editor.commit());
    EXPECT_EQ(channel(5), nullptr);
}

TEST_F(ChannelEditorTest, TheVfoCannotBeEmptied)
{
    ChannelEditor editor(st, prompter, kChannelVfo);
    editor.receiveBox()->clear();
    EXPECT_FALSE(editor.commit());
    EXPECT_EQ(prompter.asked, QStringList{"VFO can't be null!"});
    EXPECT_NE(channel(kChannelVfo), nullptr);
}

TEST_F(ChannelEditorTest, PresetsAndVfoNeverTakeAPttIdCode)
{
    addChannel(kChannelPA, "014500000");
    addChannel(7, "014500000");
    ChannelEditor preset(st, prompter, kChannelPA);
    EXPECT_FALSE(preset.pttIdCodeBox()->isEnabled());
    ChannelEditor memory(st, prompter, 7);
    EXPECT_TRUE(memory.pttIdCodeBox()->isEnabled());
}

TEST_F(ChannelEditorTest, ListsReactToEachOther)
{
    st.switches = SignalViewSwitches{1, 1, 1, 0, 1};
    addChannel(4, "014500000");
    ChannelEditor editor(st, prompter, 4);

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
    st.switches = SignalViewSwitches{0, 1, 0, 0, 1}; // 2-tone on, DTMF off
    auto& entries = st.ws.live.body.Settings.TwoTone.Entries;
    entries[3].Empty = 0;
    addChannel(4, "014500000");
    ChannelRecord& ch = st.ws.live.channels[*FindChannel(st.ws.live, 4)];
    ch.OptionalSignal = 2;
    ch.TwoToneCall = 9; // no longer in use

    ChannelEditor editor(st, prompter, 4);
    EXPECT_EQ(editor.signalList()->itemText(editor.signalList()->currentIndex()), "2Tone");
    EXPECT_EQ(editor.codeList()->count(), 2); // entries 0 and 3
    EXPECT_EQ(editor.codeList()->currentIndex(), -1);
    ASSERT_TRUE(editor.commit());
    EXPECT_EQ(channel(4)->TwoToneCall, 0);

    ChannelEditor again(st, prompter, 4);
    again.codeList()->setCurrentIndex(1);
    ASSERT_TRUE(again.commit());
    EXPECT_EQ(channel(4)->TwoToneCall, 3);
}
