#include "forms/alarm_form.h"
#include "forms/key_form.h"
#include "forms/option_form.h"
#include "forms/scan_form.h"

#include "model/channel_list.h"

#include <gtest/gtest.h>

using namespace qtx;

namespace {

Codeplug withChannels(std::initializer_list<int> numbers)
{
    Codeplug cp;
    for (int n : numbers) {
        ChannelRecord ch = BlankChannel(n);
        ch.InUse = 1;
        cp.channels[cp.body.ChannelCount++] = ch;
    }
    return cp;
}

int row(const ListEntries& entries, const std::string& shown)
{
    for (size_t i = 0; i < entries.size(); ++i)
        if (EntryText(entries[i], [](int id) { return "#" + std::to_string(id); }) == shown)
            return static_cast<int>(i);
    return -1;
}

} // namespace

// --- Options -------------------------------------------------------------------

TEST(OptionForm, ChannelChoiceOffersChannelsInUseAndZeroWhenNone)
{
    Codeplug none = withChannels({kChannelVfo});
    none.body.Settings.Options.ChannelSelect = 57;
    OptionForm f = LoadOptionForm(none);
    EXPECT_EQ(f.channelValues, std::vector<int>{0});
    EXPECT_EQ(OptionListRow(f, kOptionChannelList), 0);
    EXPECT_EQ(f.work.ChannelSelect, 57) << "showing stores nothing";
    PickOptionList(f, kOptionChannelList, 0);
    ApplyOptionForm(none, f);
    EXPECT_EQ(none.body.Settings.Options.ChannelSelect, 0);

    Codeplug cp = withChannels({kChannelPB, 12, kChannelVfo, 3, kChannelPA});
    cp.body.Settings.Options.ChannelSelect = kChannelPA - 1;
    f = LoadOptionForm(cp);
    const ListEntries entries = OptionListEntries(f, kOptionChannelList);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(row(entries, "2"), 0);
    EXPECT_EQ(row(entries, "11"), 1);
    EXPECT_EQ(row(entries, "PA"), 2);
    EXPECT_EQ(row(entries, "PB"), 3);
    EXPECT_EQ(OptionListRow(f, kOptionChannelList), 2);
    PickOptionList(f, kOptionChannelList, 3);
    EXPECT_EQ(f.work.ChannelSelect, kChannelPB - 1);
    PickOptionList(f, kOptionChannelList, 1);
    EXPECT_EQ(f.work.ChannelSelect, 11);
}

TEST(OptionForm, ListZeroCouplesListsOneAndEighteen)
{
    Codeplug cp;
    cp.body.Settings.Options.Item1702 = 1;
    cp.body.Settings.Options.Item1703 = 0; // opening changes no value
    cp.body.Settings.Options.Item1703Alt = 1;
    OptionForm f = LoadOptionForm(cp);
    EXPECT_EQ(f.work.Item1703, 0);
    EXPECT_FALSE(OptionStates(f).list1Enabled);
    EXPECT_TRUE(OptionStates(f).list18Shown);

    PickOptionList(f, kOptionModeList, 0);
    EXPECT_EQ(f.work.Item1703, 0);
    EXPECT_EQ(f.work.Item1703Alt, 0);
    EXPECT_TRUE(OptionStates(f).list1Enabled);
    EXPECT_FALSE(OptionStates(f).list18Shown);

    f.work.Item1703Alt = 1;
    PickOptionList(f, kOptionModeList, 1);
    EXPECT_EQ(f.work.Item1703, 1);
    EXPECT_EQ(f.work.Item1703Alt, 1) << "entry 1 leaves list 18 as it is";
    PickOptionList(f, kOptionModeList, 2);
    EXPECT_EQ(f.work.Item1703, 1);
    EXPECT_EQ(f.work.Item1703Alt, 0);
    EXPECT_TRUE(OptionStates(f).list1Enabled);
}

TEST(OptionForm, OutOfRangeWordShowsFirstEntryUntilPicked)
{
    Codeplug cp;
    cp.body.Settings.Options.Item1710 = -3;
    cp.body.Settings.Options.ToneBurst = 9;
    OptionForm f = LoadOptionForm(cp);
    EXPECT_EQ(OptionListRow(f, 8), 0);
    EXPECT_EQ(OptionListRow(f, 9), 0);
    ApplyOptionForm(cp, f);
    EXPECT_EQ(cp.body.Settings.Options.Item1710, -3);
    PickOptionList(f, 9, 0); // picking the shown entry stores it
    EXPECT_EQ(f.work.ToneBurst, 0);
    EXPECT_EQ(OptionListEntries(f, 10).size(), 31u);
}

TEST(OptionForm, MessageAndPasswordStoredAsTyped)
{
    Codeplug cp;
    cp.body.Settings.Options.PowerOnMessage.setPadded("AB");
    cp.body.Settings.Options.PowerOnPasswordEnabled = 1;
    const OptionSettings before = cp.body.Settings.Options;
    OptionForm f = LoadOptionForm(cp);
    EXPECT_EQ(f.message[0], "A");
    EXPECT_EQ(f.message[1], "B");
    for (int i = 2; i < kOptionMessageBoxes; ++i)
        EXPECT_EQ(f.message[i], "");
    EXPECT_TRUE(OptionStates(f).passwordShown);
    ApplyOptionForm(cp, f);
    EXPECT_EQ(cp.body.Settings.Options.PowerOnMessage, before.PowerOnMessage);

    f.message = {"Q", "", "X", "", "", "", "Z"};
    f.password = "1234";
    ApplyOptionForm(cp, f);
    EXPECT_EQ(cp.body.Settings.Options.PowerOnMessage.str(), "Q X   Z");
    EXPECT_EQ(cp.body.Settings.Options.PowerOnPassword.str(), std::string("1234\0 ", 6));
    f.password = "123456";
    f.passwordOn = false;
    ApplyOptionForm(cp, f);
    EXPECT_EQ(cp.body.Settings.Options.PowerOnPassword.str(), "123456");
    EXPECT_EQ(cp.body.Settings.Options.PowerOnPasswordEnabled, 0);
}

TEST(OptionForm, OkWithFunction10OffClearsShortPressesOnlyAndCancelLeavesAll)
{
    Codeplug cp;
    cp.body.Settings.Options.Item1716 = 1;
    auto& keys = cp.body.Settings.Keys.Keys;
    keys[0] = 10;
    keys[4] = 10;
    keys[5] = 10;
    keys[12] = 10;
    const Codeplug original = cp;

    OptionForm f = LoadOptionForm(cp);
    PickOptionList(f, kOptionKeyList, 0);
    PickOptionList(f, 3, 7);
    SetOptionSwitch(f, 2, true);
    // Cancel: the form is dropped, nothing reached the Codeplug.
    EXPECT_EQ(cp.body.Settings.Options, original.body.Settings.Options);

    ApplyOptionForm(cp, f);
    EXPECT_EQ(cp.body.Settings.Options.Item1705, 7);
    EXPECT_EQ(cp.body.Settings.Options.TailToneElimination, 1);
    EXPECT_EQ(keys[0], 0);
    EXPECT_EQ(keys[4], 0);
    EXPECT_EQ(keys[5], 10);
    EXPECT_EQ(keys[12], 10);
}

// --- Keys ----------------------------------------------------------------------

TEST(KeyForm, Function10OnShortPressFollowsTheOption)
{
    Codeplug cp;
    cp.body.Settings.Keys.Keys[1] = 10; // from a file, while the option is off
    cp.body.Settings.Keys.Keys[3] = 25;
    cp.body.Settings.Keys.Keys[7] = 10;
    const KeySettings original = cp.body.Settings.Keys;
    KeyForm f = LoadKeyForm(cp);
    EXPECT_EQ(f.rows[1], 0);
    EXPECT_EQ(f.rows[3], 0);
    EXPECT_EQ(f.rows[7], 10);
    EXPECT_EQ(PickKeyFunction(f, 2, 10), 0) << "P3 short";
    EXPECT_EQ(PickKeyFunction(f, 7, 10), 10) << "P3 long";
    EXPECT_EQ(PickKeyFunction(f, 12, 10), 10) << "FUNC + P3";
    EXPECT_EQ(cp.body.Settings.Keys, original) << "cancel keeps 10 and 25";
    ApplyKeyForm(cp, f);
    EXPECT_EQ(cp.body.Settings.Keys.Keys[1], 0);
    EXPECT_EQ(cp.body.Settings.Keys.Keys[3], 0);
    EXPECT_EQ(cp.body.Settings.Keys.Keys[7], 10);

    cp.body.Settings.Options.Item1716 = 1;
    f = LoadKeyForm(cp);
    EXPECT_EQ(PickKeyFunction(f, 2, 10), 10);
    EXPECT_EQ(KeyFunctionEntries().size(), 21u);
}

// --- Scan ----------------------------------------------------------------------

TEST(ScanForm, RevertListFollowsTheModeAndKeepsItsEntryWhenOffered)
{
    EXPECT_EQ(RevertEntries(1).size(), 6u);
    EXPECT_EQ(RevertEntries(9), RevertEntries(0));

    Codeplug cp;
    cp.body.Settings.Scan.PriorityScan = 1;
    cp.body.Settings.Scan.PriorityMode = 1;
    cp.body.Settings.Scan.RevertChannel = 6;
    ScanForm f = LoadScanForm(cp);
    EXPECT_EQ(f.revert, 5);
    SetScanMode(f, 3);
    EXPECT_EQ(RevertEntries(3)[f.revert], 6) << "mode 3 offers entry 6 too";
    SetScanMode(f, 2);
    EXPECT_EQ(f.revert, 0);
    ApplyScanForm(cp, f);
    EXPECT_EQ(cp.body.Settings.Scan.RevertChannel, 0);
    EXPECT_EQ(cp.body.Settings.Scan.PriorityMode, 2);
}

TEST(ScanForm, OutOfRangeBytesOpenAtFirstEntriesAndOkStoresThem)
{
    Codeplug cp = withChannels({100, 3, 20, 3, kChannelPA, kChannelVfo});
    ScanSettings& s = cp.body.Settings.Scan;
    s.PriorityMode = 9;
    s.RevertChannel = 12;
    s.LookBackTimeA = 4;
    s.ScanStartBeep = 7;
    s.Priority1Group = 0xA1;
    s.Priority2Group = 0xB2;
    s.Priority1Channel = 20; // channel 20, shown as "19"
    s.Priority2Channel = 150; // not in the table
    const ScanSettings before = s;

    ScanForm f = LoadScanForm(cp);
    EXPECT_EQ(f.channels, (std::vector<int>{2, 19, 99}));
    EXPECT_EQ(f.mode, 0);
    EXPECT_EQ(f.channel1, 1);
    EXPECT_EQ(f.channel2, 0);
    EXPECT_EQ(EntryText(ScanLookBackEntries()[f.lookBackA], [](int) { return ""; }), "0.5");
    EXPECT_EQ(cp.body.Settings.Scan, before);

    ApplyScanForm(cp, f);
    EXPECT_EQ(s.PriorityMode, 0);
    EXPECT_EQ(s.RevertChannel, 0);
    EXPECT_EQ(s.LookBackTimeA, 5);
    EXPECT_EQ(s.ScanStartBeep, 0);
    EXPECT_EQ(s.Priority1Channel, 20);
    EXPECT_EQ(s.Priority2Channel, 3);
    EXPECT_EQ(s.Priority1Group, 0xA1);
    EXPECT_EQ(s.Priority2Group, 0xB2);
    // A new Codeplug's zero delays and wait time become the first entries.
    EXPECT_EQ(s.RxResumeDelay, 1);
    EXPECT_EQ(s.WaitTime, 2);
}

TEST(ScanForm, EnablingByPriorityAndMode)
{
    Codeplug cp;
    ScanForm f = LoadScanForm(cp);
    EXPECT_FALSE(ScanStates(f).others);
    EXPECT_FALSE(ScanStates(f).channel1);
    SetScanPriority(f, 1);
    EXPECT_TRUE(ScanStates(f).others);
    EXPECT_FALSE(ScanStates(f).channel1);
    EXPECT_FALSE(ScanStates(f).channel2);
    SetScanMode(f, 1);
    EXPECT_TRUE(ScanStates(f).channel1);
    EXPECT_FALSE(ScanStates(f).channel2);
    SetScanMode(f, 2);
    EXPECT_FALSE(ScanStates(f).channel1);
    EXPECT_TRUE(ScanStates(f).channel2);
    SetScanMode(f, 3);
    EXPECT_TRUE(ScanStates(f).channel1 && ScanStates(f).channel2);
}

// --- Emergency -------------------------------------------------------------------

TEST(AlarmForm, IdCodesFollowTheType)
{
    Codeplug cp;
    cp.body.Settings.Dtmf.Codes[1].Length = 3;
    cp.body.Settings.Dtmf.Codes[3].Length = 1;
    cp.body.Settings.Emergency.IdType = 1;
    cp.body.Settings.Emergency.IdGroup = 3;
    AlarmForm f = LoadAlarmForm(cp);
    ASSERT_EQ(f.idCodes, (std::vector<int>{1, 3}));
    EXPECT_EQ(IdCodeText(1, f.idCodes[0]), "M2");
    EXPECT_EQ(IdCodeText(1, f.idCodes[1]), "M4");
    EXPECT_EQ(f.idCode, 1);
    f.idCode = 0;
    ApplyAlarmForm(cp, f);
    EXPECT_EQ(cp.body.Settings.Emergency.IdGroup, 1);

    SetAlarmIdType(f, cp, 2); // no 5-tone call in use
    EXPECT_EQ(f.idCodes, std::vector<int>{0});
    cp.body.Settings.FiveTone.CallList[7].Empty = 0;
    SetAlarmIdType(f, cp, 2);
    EXPECT_EQ(f.idCodes, std::vector<int>{7});

    SetAlarmIdType(f, cp, 0);
    EXPECT_TRUE(f.idCodes.empty());
    ApplyAlarmForm(cp, f);
    EXPECT_EQ(cp.body.Settings.Emergency.IdType, 0);
    EXPECT_EQ(cp.body.Settings.Emergency.IdGroup, 0);

    Codeplug noCodes;
    noCodes.body.Settings.Emergency.IdType = 1;
    noCodes.body.Settings.Emergency.IdGroup = 5;
    ApplyAlarmForm(noCodes, LoadAlarmForm(noCodes));
    EXPECT_EQ(noCodes.body.Settings.Emergency.IdGroup, 0) << "DTMF without codes stores none";
}

TEST(AlarmForm, OutOfRangeBytesAndEnabling)
{
    Codeplug cp = withChannels({kChannelVfo});
    EmergencySettings& e = cp.body.Settings.Emergency;
    e.IdType = 7;
    e.AlarmTime = 0;
    e.EmergencyChannel = 40;
    e.AutoDetect = 0;
    e.PreAlertTime = 30;
    e.LoneWorkerTime = 60;
    AlarmForm f = LoadAlarmForm(cp);
    EXPECT_EQ(f.idType, 0);
    EXPECT_TRUE(f.channels.empty());
    EXPECT_TRUE(AlarmStates(f).alarmTime);
    EXPECT_FALSE(AlarmStates(f).idAndTimes);
    EXPECT_FALSE(AlarmStates(f).loneWorker);
    f.kind = 2;
    f.channelChoice = 1;
    EXPECT_FALSE(AlarmStates(f).alarmTime);
    EXPECT_TRUE(AlarmStates(f).idAndTimes);
    EXPECT_FALSE(AlarmStates(f).channel);

    ApplyAlarmForm(cp, f);
    EXPECT_EQ(e.IdType, 0);
    EXPECT_EQ(e.AlarmTime, 1);
    EXPECT_EQ(e.EmergencyChannel, 0) << "VFO only: no channel";
    EXPECT_EQ(e.PreAlertTime, 30) << "unticked auto detect keeps its values";
    EXPECT_EQ(e.LoneWorkerTime, 60);
    EXPECT_EQ(e.AlarmType, 2);

    Codeplug two = withChannels({8, 4});
    two.body.Settings.Emergency.EmergencyChannel = 0;
    ApplyAlarmForm(two, LoadAlarmForm(two));
    EXPECT_EQ(two.body.Settings.Emergency.EmergencyChannel, 4) << "the first memory channel";
    EXPECT_EQ(AlarmCycleEntries().size(), 256u);
}
