#include "forms/two_tone_form.h"

#include "model/channel_list.h"

#include <gtest/gtest.h>

using namespace qtx;

namespace {

int formatRow(std::string_view name)
{
    for (size_t i = 0; i < kTwoToneFormats.size(); ++i)
        if (kTwoToneFormats[i] == name)
            return static_cast<int>(i);
    return -1;
}

} // namespace

TEST(TwoToneLoad, ListRowsFallBackWhenOutOfRange)
{
    TwoToneSettings s;
    s.OwnFormat = 15, s.DecodeResponse = 3, s.Duration1 = 4, s.Duration2 = 101;
    s.Duration3 = 200, s.Delay = 50, s.Timer = 251, s.SideTone = 2;
    const TwoToneForm form = LoadTwoToneForm(s);
    EXPECT_EQ(form.format, 0);
    EXPECT_EQ(form.decodeResponse, 0);
    EXPECT_EQ(form.durations, (std::array<int, 3>{0, 0, 5}));
    EXPECT_EQ(TwoToneDurationText(form.durations[2]), "1.0");
    EXPECT_EQ(TwoToneDelayText(form.delay), "1000");
    EXPECT_EQ(form.timer, 0);
    EXPECT_FALSE(form.sideTone);
    EXPECT_EQ(s.SideTone, 0);

    s.OwnFormat = 14, s.DecodeResponse = 2, s.Duration1 = 100, s.Duration3 = 5;
    s.Delay = 20, s.Timer = 250, s.SideTone = 1;
    const TwoToneForm top = LoadTwoToneForm(s);
    EXPECT_EQ(top.format, 14);
    EXPECT_EQ(top.decodeResponse, 2);
    EXPECT_EQ(TwoToneDurationText(top.durations[0]), "10.0");
    EXPECT_EQ(top.durations[2], 0);
    EXPECT_EQ(TwoToneDelayText(top.delay), "2000");
    EXPECT_EQ(TwoToneTimerText(top.timer), "25.0");
    EXPECT_TRUE(top.sideTone);
}

TEST(TwoToneLoad, TonesWithHighByteZeroOr255TakeTheirDefaults)
{
    TwoToneSettings s;
    s.ToneA = 0, s.ToneB = 0xFF10, s.ToneC = 0x0080, s.ToneD = 0x8000;
    const TwoToneForm form = LoadTwoToneForm(s);
    EXPECT_EQ(form.tones, (std::array<std::string, 4>{"321.7", "928.1", "626.5", "3276.8"}));
    EXPECT_EQ(s.ToneA, 3217);
    EXPECT_EQ(s.ToneB, 9281);
    EXPECT_EQ(s.ToneC, 6265);
    EXPECT_EQ(s.ToneD, 0x8000); // shown as stored
}

TEST(TwoToneBoxes, FormatEnablesItsTones)
{
    using B = std::array<bool, 4>;
    EXPECT_EQ(EnabledToneBoxes(formatRow("B-D")), (B{false, true, false, true}));
    EXPECT_EQ(EnabledToneBoxes(formatRow("D-A")), (B{true, false, false, true}));
    EXPECT_EQ(EnabledToneBoxes(formatRow("Long C")), (B{false, false, true, false}));
    EXPECT_EQ(EnabledToneBoxes(formatRow("A-B")), (B{true, true, false, false}));
}

TEST(TwoToneBoxes, LeavingClampsAndEmptyOrGarbageIsLowest)
{
    EXPECT_EQ(ToneOnLeave("5000"), "3116");
    EXPECT_EQ(ToneOnLeave("100"), "288");
    EXPECT_EQ(ToneOnLeave(""), "288");
    EXPECT_EQ(ToneOnLeave("3.2.1"), "288");
    EXPECT_EQ(ToneOnLeave("."), "288");
    EXPECT_EQ(ToneOnLeave("321.7"), "321.7");
    EXPECT_EQ(ToneOnLeave("1000.0"), "1000");
}

TEST(TwoToneBoxes, OkNormalisation)
{
    EXPECT_DOUBLE_EQ(ToneAtOk("283.0"), 283.0); // only values below 280 are raised
    EXPECT_DOUBLE_EQ(ToneAtOk("12"), 280.0);
    EXPECT_DOUBLE_EQ(ToneAtOk("3276.8"), 3116.0);
    EXPECT_DOUBLE_EQ(ToneAtOk("3.2.1"), 2000.0);
    EXPECT_DOUBLE_EQ(ToneAtOk(""), 2000.0);
}

TEST(TwoToneOwnCode, PairsAndLongTones)
{
    EXPECT_EQ(OwnCode(formatRow("Long B"), 321.7, 928.1, 626.5, 2043.8), (OwnCodeValues{9281, 0, 5171, 0}));
    EXPECT_EQ(OwnCode(formatRow("D-A"), 321.7, 928.1, 626.5, 2043.8), (OwnCodeValues{20438, 3217, 2348, 14920}));
    // Halves round away from zero.
    EXPECT_EQ(OwnCode(formatRow("A-B"), 1000.05, 300, 0, 0).firstTone, 10001);
}

TEST(TwoToneOk, StoresListsTonesAndOwnCode)
{
    TwoToneSettings s; // a new Codeplug's record: tones C and D are 0
    TwoToneForm form = LoadTwoToneForm(s);
    ApplyTwoToneForm(form, s);
    EXPECT_EQ(s.OwnFirstTone, 3217);
    EXPECT_EQ(s.OwnSecondTone, 9281);
    EXPECT_EQ(s.OwnSecondDivider, 5171);
    EXPECT_EQ(s.ToneA, 3217);
    EXPECT_EQ(s.ToneB, 9281);
    EXPECT_EQ(s.ToneC, 6265);
    EXPECT_EQ(s.ToneD, 20438);
    EXPECT_EQ(s.Duration1, 5);
    EXPECT_EQ(s.Duration3, 10);
    EXPECT_EQ(s.Delay, 0);

    form.tones[1] = "283.0"; // stored low and never left
    form.tones[2] = ToneOnLeave("");
    form.format = formatRow("B-C");
    form.durations = {95, 0, 4};
    form.sideTone = true;
    ApplyTwoToneForm(form, s);
    EXPECT_EQ(s.ToneB, 2830);
    EXPECT_EQ(s.ToneC, 2880);
    EXPECT_EQ(s.OwnFormat, formatRow("B-C"));
    EXPECT_EQ(s.OwnFirstTone, 2830);
    EXPECT_EQ(s.OwnSecondTone, 2880);
    EXPECT_EQ(s.Duration1, 100);
    EXPECT_EQ(s.Duration3, 9);
    EXPECT_EQ(s.SideTone, 1);
}

TEST(TwoToneCalls, CellsOfStoredEntries)
{
    TwoToneSettings s;
    EXPECT_EQ(EntryCellTexts(s.Entries[0]), (CallCells{"321.7", "928.1", ""}));
    EXPECT_EQ(EntryCellTexts(s.Entries[1]), CallCells{});
    TwoToneEntry e = s.Entries[0];
    e.SecondDivider = 0;
    e.Name.setPadded("ALPHA");
    EXPECT_EQ(EntryCellTexts(e), (CallCells{"321.7", "", "ALPHA"}));
    e.FirstDivider = 0; // no usable first tone: nothing shows
    EXPECT_EQ(EntryCellTexts(e), CallCells{});
}

TEST(TwoToneCalls, CommitsClampStoreAndClear)
{
    TwoToneEntry e;
    EXPECT_EQ(CommitCell(e, kCallColumnFirst, "1000"), (CallCells{"1000.0", "", ""}));
    EXPECT_EQ(e.Empty, 0);
    EXPECT_EQ(e.FirstTone, 10000);
    EXPECT_EQ(e.FirstDivider, 600);
    EXPECT_EQ(CommitCell(e, kCallColumnSecond, "9999").second, "3116.0");
    EXPECT_EQ(e.SecondTone, 31160);
    EXPECT_EQ(e.SecondDivider, 192);
    EXPECT_EQ(CommitCell(e, kCallColumnName, "GATE 1   ").name, "GATE 1");
    EXPECT_EQ(e.Name.str(), "GATE 1 ");
    EXPECT_EQ(CommitCell(e, kCallColumnName, "TOOLONGNAME").name, "TOOLONG");

    // Clearing the second tone keeps the entry in use.
    EXPECT_EQ(CommitCell(e, kCallColumnSecond, ""), (CallCells{"1000.0", "", "TOOLONG"}));
    EXPECT_EQ(e.Empty, 0);
    EXPECT_EQ(e.SecondDivider, 0);

    // Clearing the first tone clears the whole entry.
    CommitCell(e, kCallColumnSecond, "500");
    EXPECT_EQ(CommitCell(e, kCallColumnFirst, "1..2"), CallCells{});
    EXPECT_EQ(e, TwoToneEntry{});
    EXPECT_EQ(CommitCell(e, kCallColumnFirst, "5").first, "288.0");
}

TEST(TwoToneCalls, CursorRules)
{
    EXPECT_FALSE(CanEnterCell(kCallColumnName, ""));
    EXPECT_FALSE(CanEnterCell(kCallColumnSecond, ""));
    EXPECT_TRUE(CanEnterCell(kCallColumnFirst, ""));
    EXPECT_TRUE(CanEnterCell(kCallColumnName, "1000.0"));

    EXPECT_EQ(NextCellOnEnter({31, kCallColumnName}, "1000.0"), (CellPos{0, kCallColumnFirst}));
    EXPECT_EQ(NextCellOnEnter({4, kCallColumnName}, "1000.0"), (CellPos{5, kCallColumnFirst}));
    EXPECT_EQ(NextCellOnEnter({31, kCallColumnFirst}, ""), (CellPos{0, kCallColumnFirst}));
    EXPECT_EQ(NextCellOnEnter({3, kCallColumnFirst}, ""), (CellPos{4, kCallColumnFirst}));
    EXPECT_EQ(NextCellOnEnter({3, kCallColumnFirst}, "1000.0"), (CellPos{3, kCallColumnSecond}));
    EXPECT_EQ(NextCellOnEnter({3, kCallColumnSecond}, "1000.0"), (CellPos{3, kCallColumnName}));
}

TEST(TwoToneOk, ChannelCallsFollowTheEntriesInUse)
{
    Codeplug cp;
    for (int i = 0; i < 3; ++i) {
        cp.channels[i] = BlankChannel(i + 1);
        cp.channels[i].InUse = 1;
        cp.channels[i].OptionalSignal = 2;
    }
    cp.body.ChannelCount = 3;
    cp.channels[0].TwoToneCall = 5;
    cp.channels[1].TwoToneCall = 40;
    cp.channels[2].TwoToneCall = -1;

    TwoToneSettings work = cp.body.Settings.TwoTone;
    CommitFirstTone(work.Entries[0], "");
    CommitFirstTone(work.Entries[2], "1000");
    CommitFirstTone(work.Entries[5], "1500");
    CommitFirstTone(work.Entries[7], "2000");
    FinishTwoTone(cp, work);
    EXPECT_EQ(cp.channels[0].TwoToneCall, 5);
    EXPECT_EQ(cp.channels[1].TwoToneCall, 2);
    EXPECT_EQ(cp.channels[2].TwoToneCall, 2);

    CommitFirstTone(work.Entries[5], "");
    FinishTwoTone(cp, work);
    EXPECT_EQ(cp.channels[0].TwoToneCall, 2);
    EXPECT_EQ(cp.body.Settings.TwoTone, work);
}
