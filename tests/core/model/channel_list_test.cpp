#include "model/channel_list.h"

#include <gtest/gtest.h>

using namespace qtx;

namespace {

// A Codeplug holding the given channel numbers, in this list order.
Codeplug withChannels(std::initializer_list<int> numbers)
{
    Codeplug cp;
    int i = 0;
    for (int n : numbers) {
        ChannelRecord ch = BlankChannel(n);
        ch.InUse = 1;
        ch.RxFrequency.setPadded("014500000");
        ch.Name.setTerminated("CH" + std::to_string(n));
        cp.channels[i++] = ch;
    }
    cp.body.ChannelCount = static_cast<int16_t>(i);
    return cp;
}

std::vector<int> numbersOf(const Codeplug& cp)
{
    std::vector<int> out;
    for (int i = 0; i < cp.count(); ++i)
        out.push_back(cp.channels[i].Number);
    return out;
}

} // namespace

TEST(FixedText, TrimAndPaddingForms)
{
    EXPECT_EQ(TrimFixed("AB   "), "AB");
    EXPECT_EQ(TrimFixed(std::string("AB\0CD  ", 7)), "AB");
    EXPECT_EQ(TrimFixed(std::string("A \0   ", 6)), "A ");
    EXPECT_EQ(TrimFixed(""), "");

    FixedText<7> name;
    name.setTerminated("AB");
    EXPECT_EQ(name.str(), std::string("AB\0    ", 7));
    EXPECT_EQ(name.trimmed(), "AB");
    name.setTerminated("ABCDEFGH"); // eight characters: cut, no end mark
    EXPECT_EQ(name.str(), "ABCDEFG");
    name.setPadded("AB");
    EXPECT_EQ(name.str(), "AB     ");
}

TEST(ChannelList, BlankChannelDefaults)
{
    const ChannelRecord ch = BlankChannel(12);
    EXPECT_EQ(ch.Number, 12);
    EXPECT_EQ(ch.InUse, 0);
    EXPECT_EQ(ch.RxFrequency.str(), "FFFFFFFFF");
    EXPECT_EQ(ch.Offset.str(), "000000000");
    EXPECT_EQ(ch.Step, 5);
    EXPECT_EQ(ch.PttIdCode.str(), "00000");
    EXPECT_EQ(ch.Name.trimmed(), "");
}

TEST(ChannelList, FindAndExistsGoByNumber)
{
    Codeplug cp = withChannels({5, 1, 203});
    EXPECT_EQ(FindChannel(cp, 1), 1);
    EXPECT_EQ(FindChannel(cp, 203), 2);
    EXPECT_FALSE(FindChannel(cp, 2));
    cp.channels[0].InUse = 0;
    EXPECT_TRUE(FindChannel(cp, 5));
    EXPECT_FALSE(ChannelExists(cp, 5));
    EXPECT_TRUE(ChannelExists(cp, 1));
}

TEST(ChannelList, DeleteMovesLaterEntriesDown)
{
    Codeplug cp = withChannels({5, 1, 9, 203});
    DeleteChannel(cp, 1);
    EXPECT_EQ(numbersOf(cp), (std::vector<int>{5, 9, 203}));
    DeleteChannel(cp, 77); // absent: nothing happens
    EXPECT_EQ(numbersOf(cp), (std::vector<int>{5, 9, 203}));

    Codeplug one = withChannels({203});
    DeleteChannel(one, 203);
    EXPECT_EQ(one.count(), 0);
}

TEST(ChannelList, ClipboardCopyCutPaste)
{
    Codeplug cp = withChannels({5, 12, 203});
    ChannelClipboard clip;

    CopyChannel(cp, 7, clip); // absent channel empties the clipboard
    EXPECT_TRUE(clip.empty());
    PasteChannel(cp, 12, clip); // pasting emptiness deletes the target
    EXPECT_EQ(numbersOf(cp), (std::vector<int>{5, 203}));

    CopyChannel(cp, 5, clip);
    ASSERT_FALSE(clip.empty());
    PasteChannel(cp, 9, clip); // absent target: appended, renumbered
    EXPECT_EQ(numbersOf(cp), (std::vector<int>{5, 203, 9}));
    EXPECT_EQ(cp.channels[2].Name.trimmed(), "CH5");

    CopyChannel(cp, 203, clip);
    PasteChannel(cp, 5, clip); // present target: overwritten in place
    EXPECT_EQ(numbersOf(cp), (std::vector<int>{5, 203, 9}));
    EXPECT_EQ(cp.channels[0].Name.trimmed(), "CH203");

    CutChannel(cp, 9, clip);
    EXPECT_EQ(numbersOf(cp), (std::vector<int>{5, 203}));
    CutChannel(cp, 100, clip); // nothing there: clipboard empty, nothing deleted
    EXPECT_TRUE(clip.empty());
    EXPECT_EQ(cp.count(), 2);
}

TEST(ChannelList, CutThenPasteOnSameRowMovesToEnd)
{
    Codeplug cp = withChannels({5, 6, 7});
    ChannelClipboard clip;
    CutChannel(cp, 5, clip);
    PasteChannel(cp, 5, clip);
    EXPECT_EQ(numbersOf(cp), (std::vector<int>{6, 7, 5}));
}

TEST(ChannelList, PresetPastedOntoMemoryRowTakesItsNumber)
{
    Codeplug cp = withChannels({201});
    ChannelClipboard clip;
    CopyChannel(cp, 201, clip);
    PasteChannel(cp, 10, clip);
    ASSERT_EQ(cp.count(), 2);
    EXPECT_EQ(cp.channels[1].Number, 10);
    EXPECT_EQ(cp.channels[1].Name.trimmed(), "CH201");
}

TEST(ChannelList, NearestMemoryChannelWalksListOrder)
{
    const Codeplug cp = withChannels({3, 8, 201, 5, 203});
    EXPECT_EQ(NearestMemoryChannel(cp, 8), 8);
    EXPECT_EQ(NearestMemoryChannel(cp, 4), 5); // last memory channel walked
    EXPECT_EQ(NearestMemoryChannel(withChannels({201, 203}), 4), 0);
}

TEST(ChannelReferences, ChannelSelectIsZeroBased)
{
    Codeplug cp = withChannels({1, 2, 3, 10});
    cp.body.Settings.Options.ChannelSelect = 9; // channel 10
    RepairChannelReferences(cp);
    EXPECT_EQ(cp.body.Settings.Options.ChannelSelect, 9);
    DeleteChannel(cp, 10);
    RepairChannelReferences(cp);
    EXPECT_EQ(cp.body.Settings.Options.ChannelSelect, 2); // last channel walked, 3
}

TEST(ChannelReferences, ChannelSelectKeepsPresetsWhileTheyExist)
{
    Codeplug cp = withChannels({1, 4, 201, 202});
    cp.body.Settings.Options.ChannelSelect = 200; // PA
    RepairChannelReferences(cp);
    EXPECT_EQ(cp.body.Settings.Options.ChannelSelect, 200);
    cp.body.Settings.Options.ChannelSelect = 201; // PB
    RepairChannelReferences(cp);
    EXPECT_EQ(cp.body.Settings.Options.ChannelSelect, 201);
    DeleteChannel(cp, 202);
    RepairChannelReferences(cp);
    EXPECT_EQ(cp.body.Settings.Options.ChannelSelect, 3); // channel 4
}

// Emergency and priority channels are 1-based with 0 = none: an untouched
// reference must survive a repair unchanged.
TEST(ChannelReferences, OneBasedReferencesAreNotShifted)
{
    Codeplug cp = withChannels({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    cp.body.Settings.Emergency.EmergencyChannel = 10;
    cp.body.Settings.Scan.Priority1Channel = 1;
    cp.body.Settings.Scan.Priority2Channel = 0;
    RepairChannelReferences(cp);
    RepairChannelReferences(cp);
    EXPECT_EQ(cp.body.Settings.Emergency.EmergencyChannel, 10);
    EXPECT_EQ(cp.body.Settings.Scan.Priority1Channel, 1);
    EXPECT_EQ(cp.body.Settings.Scan.Priority2Channel, 0);

    DeleteChannel(cp, 10);
    DeleteChannel(cp, 1);
    RepairChannelReferences(cp);
    EXPECT_EQ(cp.body.Settings.Emergency.EmergencyChannel, 9);
    EXPECT_EQ(cp.body.Settings.Scan.Priority1Channel, 9);

    Codeplug none = withChannels({203});
    none.body.Settings.Emergency.EmergencyChannel = 4;
    RepairChannelReferences(none);
    EXPECT_EQ(none.body.Settings.Emergency.EmergencyChannel, 0);
}

TEST(SignalReferences, CallsFollowEntriesInUse)
{
    Codeplug cp = withChannels({1, 2, 3});
    auto& two = cp.body.Settings.TwoTone.Entries;
    two[0].Empty = 1;
    two[4].Empty = 0;
    two[7].Empty = 0;
    cp.channels[0].OptionalSignal = 2;
    cp.channels[0].TwoToneCall = 7;  // in use: stays
    cp.channels[1].OptionalSignal = 2;
    cp.channels[1].TwoToneCall = 3;  // empty: first in use
    cp.channels[2].OptionalSignal = 1;
    cp.channels[2].TwoToneCall = 3;  // not 2-tone: untouched

    auto& calls = cp.body.Settings.FiveTone.CallList;
    cp.body.Settings.Emergency.IdType = 2;
    cp.body.Settings.Emergency.IdGroup = 50;
    RepairSignalReferences(cp);
    EXPECT_EQ(cp.channels[0].TwoToneCall, 7);
    EXPECT_EQ(cp.channels[1].TwoToneCall, 4);
    EXPECT_EQ(cp.channels[2].TwoToneCall, 3);
    EXPECT_EQ(cp.body.Settings.Emergency.IdGroup, 0); // no 5-tone entry in use

    calls[20].Empty = 0;
    cp.body.Settings.Emergency.IdGroup = 50;
    RepairFiveToneReferences(cp);
    EXPECT_EQ(cp.body.Settings.Emergency.IdGroup, 20);
}

TEST(ChannelNumberUsed, AnyEntryInTheCount)
{
    Codeplug cp;
    cp.channels[0] = BlankChannel(5); // InUse 0 still counts
    cp.channels[1] = BlankChannel(203);
    cp.channels[2] = BlankChannel(9); // past the count
    cp.body.ChannelCount = 2;
    EXPECT_TRUE(ChannelNumberUsed(cp, 5));
    EXPECT_TRUE(ChannelNumberUsed(cp, 203));
    EXPECT_FALSE(ChannelNumberUsed(cp, 9));
    EXPECT_FALSE(ChannelNumberUsed(cp, 0));
    cp.body.ChannelCount = -4;
    EXPECT_FALSE(ChannelNumberUsed(cp, 5));
    cp.body.ChannelCount = 3000;
    EXPECT_TRUE(ChannelNumberUsed(cp, 9));
}

namespace {

std::string nameAt(const Codeplug& cp, int number)
{
    const auto pos = FindChannel(cp, number);
    return pos && cp.channels[*pos].InUse == 1 ? cp.channels[*pos].Name.trimmed() : "";
}

} // namespace

TEST(ChannelRows, CopyKeepsEmptyRowsAndOneEntryPastesAsTheClipboard)
{
    Codeplug cp = withChannels({5, 7, 12});
    const ChannelRows rows = CopyChannels(cp, {7, 5, 6, 7}); // any order, each once
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows.rows[0].Name.trimmed(), "CH5");
    EXPECT_NE(rows.rows[1].InUse, 1); // row 6 was empty
    EXPECT_EQ(rows.rows[2].Name.trimmed(), "CH7");

    // Pasted at 20, the empty entry clears row 21.
    cp = withChannels({21, 5, 7});
    EXPECT_EQ(ChannelsReplacedByPaste(cp, 20, rows), 1);
    const ChannelPasteResult r = PasteChannels(cp, 20, rows);
    EXPECT_EQ(r.pasted, 3);
    EXPECT_EQ(r.dropped, 0);
    EXPECT_EQ(nameAt(cp, 20), "CH5");
    EXPECT_FALSE(FindChannel(cp, 21));
    EXPECT_EQ(nameAt(cp, 22), "CH7");

    // One entry: the same as the one-channel clipboard, the VFO included.
    Codeplug a = withChannels({5, 203});
    Codeplug b = a;
    ChannelClipboard one;
    CopyChannel(a, 9, one);
    PasteChannel(a, 203, one);
    PasteChannels(b, 203, CopyChannels(b, {9}));
    EXPECT_EQ(numbersOf(a), numbersOf(b));
    EXPECT_EQ(numbersOf(b), (std::vector<int>{5}));
}

TEST(ChannelRows, PasteStopsAtTheLastMemoryChannelAndPresetsTakeOne)
{
    const Codeplug source = withChannels({1, 2, 3, 4});
    const ChannelRows four = CopyChannels(source, {1, 2, 3, 4});

    Codeplug cp = withChannels({199, 203});
    EXPECT_EQ(ChannelPasteCount(198, 4), 3);
    EXPECT_EQ(ChannelsReplacedByPaste(cp, 198, four), 1);
    const ChannelPasteResult r = PasteChannels(cp, 198, four);
    EXPECT_EQ(r.pasted, 3);
    EXPECT_EQ(r.dropped, 1);
    EXPECT_EQ(nameAt(cp, 198), "CH1");
    EXPECT_EQ(nameAt(cp, 200), "CH3");
    EXPECT_EQ(nameAt(cp, 201), ""); // never into PA
    EXPECT_EQ(nameAt(cp, 203), "CH203");

    const ChannelPasteResult pa = PasteChannels(cp, 201, four);
    EXPECT_EQ(pa.pasted, 1);
    EXPECT_EQ(pa.dropped, 3);
    EXPECT_EQ(nameAt(cp, 201), "CH1");
    EXPECT_EQ(nameAt(cp, 202), "");

    // A list whose first entry is empty does not clear the VFO.
    const ChannelRows gap = CopyChannels(withChannels({2}), {1, 2});
    const ChannelPasteResult vfo = PasteChannels(cp, 203, gap);
    EXPECT_TRUE(vfo.vfoKept);
    EXPECT_EQ(vfo.pasted, 0);
    EXPECT_EQ(nameAt(cp, 203), "CH203");
    EXPECT_EQ(PasteChannels(cp, 204, four).pasted, 0);
}

TEST(ChannelRows, DeleteKeepsTheVfoAndRepairsNothingItself)
{
    Codeplug cp = withChannels({3, 4, 201, 203});
    const ChannelDeleteResult r = DeleteChannels(cp, {203, 3, 4, 5, 201});
    EXPECT_EQ(r.deleted, 3);
    EXPECT_TRUE(r.vfoKept);
    EXPECT_EQ(numbersOf(cp), (std::vector<int>{203}));
    EXPECT_FALSE(DeleteChannels(cp, {7}).vfoKept);
}

TEST(ChannelMove, NeighboursTradePlacesAndBlocksMoveAsOne)
{
    Codeplug cp = withChannels({4, 5, 6, 9});
    const auto up = MoveChannels(cp, {6, 5}, -1);
    ASSERT_TRUE(up);
    EXPECT_EQ(*up, (std::vector<int>{4, 5}));
    EXPECT_EQ(nameAt(cp, 4), "CH5");
    EXPECT_EQ(nameAt(cp, 5), "CH6");
    EXPECT_EQ(nameAt(cp, 6), "CH4");
    EXPECT_EQ(numbersOf(cp).size(), 4u); // list order and count kept

    // Into an empty row: the channel simply takes the new number.
    const auto down = MoveChannels(cp, {9}, 1);
    ASSERT_TRUE(down);
    EXPECT_EQ(nameAt(cp, 10), "CH9");
    EXPECT_FALSE(FindChannel(cp, 9));

    // Nothing moves past the memory channels, nor PA, PB or the VFO.
    Codeplug edge = withChannels({1, 2, 200, 201, 203});
    const Codeplug untouched = edge;
    EXPECT_FALSE(MoveChannels(edge, {2, 1}, -1));
    EXPECT_FALSE(MoveChannels(edge, {200}, 1));
    EXPECT_FALSE(MoveChannels(edge, {201}, -1));
    EXPECT_FALSE(MoveChannels(edge, {203}, 1));
    EXPECT_EQ(numbersOf(edge), numbersOf(untouched));
}

TEST(ChannelMove, ReferencesFollowTheirChannels)
{
    Codeplug cp = withChannels({4, 5, 6, 7, 201});
    auto& s = cp.body.Settings;
    s.Emergency.EmergencyChannel = 5;
    s.Scan.Priority1Channel = 6;  // the neighbour moves the other way
    s.Scan.Priority2Channel = 0;  // none stays none
    s.Options.ChannelSelect = 4;  // channel 5, zero-based
    ASSERT_TRUE(MoveChannels(cp, {5}, 1));
    EXPECT_EQ(nameAt(cp, 6), "CH5");
    EXPECT_EQ(s.Emergency.EmergencyChannel, 6);
    EXPECT_EQ(s.Scan.Priority1Channel, 5);
    EXPECT_EQ(s.Scan.Priority2Channel, 0);
    EXPECT_EQ(s.Options.ChannelSelect, 5);

    s.Options.ChannelSelect = 200; // PA is not a memory row and stays
    ASSERT_TRUE(MoveChannels(cp, {6, 7}, -1));
    EXPECT_EQ(s.Options.ChannelSelect, 200);
    EXPECT_EQ(s.Emergency.EmergencyChannel, 5);
    EXPECT_EQ(s.Scan.Priority1Channel, 7);
}
