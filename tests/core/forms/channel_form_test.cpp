#include "forms/channel_form.h"

#include "model/channel_list.h"

#include <gtest/gtest.h>

using namespace qtx;

namespace {

const BandPlan kBand; // 136-174 MHz both ways

ChannelRecord channelAt(int number, const char* rxDigits)
{
    ChannelRecord ch = BlankChannel(number);
    ch.InUse = 1;
    ch.RxFrequency.setPadded(rxDigits);
    return ch;
}

Codeplug withChannels(std::initializer_list<ChannelRecord> channels)
{
    Codeplug cp;
    for (const ChannelRecord& ch : channels)
        cp.channels[cp.body.ChannelCount++] = ch;
    return cp;
}

const ChannelRecord& stored(const Codeplug& cp, int number) { return cp.channels[FindChannel(cp, number).value()]; }

// The form of a channel that does not exist yet, given these frequencies.
ChannelForm newForm(const Codeplug& cp, int row, std::string rx, std::string tx)
{
    ChannelForm f = LoadChannelForm(cp, row, kBand);
    f.receive = std::move(rx);
    f.transmit = std::move(tx);
    return f;
}

bool sameChannels(const Codeplug& a, const Codeplug& b)
{
    if (a.count() != b.count())
        return false;
    for (int i = 0; i < a.count(); ++i)
        if (!(a.channels[i] == b.channels[i]))
            return false;
    return true;
}

} // namespace

TEST(ChannelOk, ClearedReceiveDeletesTheChannelAndRepairsReferences)
{
    Codeplug cp = withChannels({channelAt(3, "014500000"), channelAt(5, "014600000"), channelAt(7, "014700000")});
    cp.body.Settings.Emergency.EmergencyChannel = 5;
    ChannelForm f = LoadChannelForm(cp, 5, kBand);
    f.receive.clear();

    const ChannelOkResult r = ApplyChannelForm(cp, 5, f, kBand);
    EXPECT_EQ(r.outcome, ChannelOkOutcome::Deleted);
    EXPECT_EQ(cp.count(), 2);
    EXPECT_FALSE(FindChannel(cp, 5));
    EXPECT_EQ(cp.channels[1].Number, 7);
    EXPECT_EQ(cp.body.Settings.Emergency.EmergencyChannel, 7); // no longer points at a deleted channel

    // Not a number counts as cleared; on a row without a channel nothing happens.
    f.receive = "14x.5";
    const Codeplug before = cp;
    EXPECT_EQ(ApplyChannelForm(cp, 9, f, kBand).outcome, ChannelOkOutcome::NothingStored);
    EXPECT_TRUE(sameChannels(cp, before));
}

TEST(ChannelOk, VfoCannotBeEmpty)
{
    ChannelRecord vfo = channelAt(kChannelVfo, "015500000");
    Codeplug cp = withChannels({vfo});
    for (const char* rx : {"", "abc"}) {
        ChannelForm f = LoadChannelForm(cp, kChannelVfo, kBand);
        f.receive = rx;
        f.name[0] = "X";
        const ChannelOkResult r = ApplyChannelForm(cp, kChannelVfo, f, kBand);
        EXPECT_EQ(r.outcome, ChannelOkOutcome::VfoNull);
        EXPECT_EQ(r.message, "VFO can't be null!");
        EXPECT_EQ(r.warnings, 0);
        ASSERT_EQ(cp.count(), 1);
        EXPECT_EQ(cp.channels[0], vfo);
    }
}

TEST(ChannelOk, ReceiveOutsideTheBandWarnsAndTakesTheLimit)
{
    Codeplug cp;
    const ChannelOkResult r = ApplyChannelForm(cp, 1, newForm(cp, 1, "500", ""), kBand);
    EXPECT_EQ(r.outcome, ChannelOkOutcome::Stored);
    EXPECT_EQ(stored(cp, 1).RxFrequency.str(), "017400000");
    EXPECT_EQ(r.receive, "174.00000");
    EXPECT_TRUE(r.receiveCorrected);
    EXPECT_EQ(r.warnings, 1); // the simplex transmit 174 is inside the band

    // One warning per corrected check: receive and transmit both outside.
    const ChannelOkResult both = ApplyChannelForm(cp, 1, newForm(cp, 1, "500", "100"), kBand);
    EXPECT_EQ(both.warnings, 2);
    EXPECT_EQ(stored(cp, 1).ShiftDirection, 1);
    EXPECT_EQ(stored(cp, 1).Offset.str(), "003800000"); // 174 -> 136
}

TEST(ChannelOk, DirectionAndOffsetFollowTheTransmitFrequency)
{
    Codeplug cp;
    ChannelOkResult r = ApplyChannelForm(cp, 2, newForm(cp, 2, "145.000", "145.600"), kBand);
    EXPECT_EQ(stored(cp, 2).ShiftDirection, 2);
    EXPECT_EQ(stored(cp, 2).Offset.str(), "000060000");
    EXPECT_EQ(stored(cp, 2).RxFrequency.str(), "014500000");
    EXPECT_EQ(r.transmit, "145.60000");
    EXPECT_EQ(r.warnings, 0);

    r = ApplyChannelForm(cp, 2, newForm(cp, 2, "145.000", "144.400"), kBand);
    EXPECT_EQ(stored(cp, 2).ShiftDirection, 1);
    EXPECT_EQ(stored(cp, 2).Offset.str(), "000060000");
    EXPECT_EQ(r.transmit, "144.40000");
}

TEST(ChannelOk, EmptyTransmitIsSimplex)
{
    Codeplug cp;
    ChannelOkResult r = ApplyChannelForm(cp, 4, newForm(cp, 4, "150", ""), kBand);
    EXPECT_EQ(r.warnings, 0);
    EXPECT_EQ(stored(cp, 4).ShiftDirection, 0);
    EXPECT_EQ(stored(cp, 4).Offset.str(), "000000000");
    EXPECT_EQ(r.transmit, "150.00000");

    // Simplex still has to fit the transmit band: then it warns.
    BandPlan narrowTx = kBand;
    narrowTx.TxLow = 144.0;
    narrowTx.TxHigh = 148.0;
    r = ApplyChannelForm(cp, 4, newForm(cp, 4, "150", "  "), narrowTx);
    EXPECT_EQ(r.warnings, 1);
    EXPECT_TRUE(r.transmitCorrected);
    EXPECT_EQ(stored(cp, 4).ShiftDirection, 1);
    EXPECT_EQ(stored(cp, 4).Offset.str(), "000200000");

    // A typed transmit text that is not a number still warns and takes TxLow.
    r = ApplyChannelForm(cp, 4, newForm(cp, 4, "150", "abc"), kBand);
    EXPECT_EQ(r.warnings, 1);
    EXPECT_EQ(stored(cp, 4).ShiftDirection, 1);
    EXPECT_EQ(stored(cp, 4).Offset.str(), "001400000");
}

TEST(ChannelOk, NameBoxesAndPttIdCode)
{
    Codeplug cp;
    ChannelForm f = newForm(cp, 6, "145", "");
    f.name[0] = "A";
    f.name[1] = "B";
    f.pttIdCode = "12";
    ApplyChannelForm(cp, 6, f, kBand);
    EXPECT_EQ(stored(cp, 6).Name.str(), "AB     ");
    EXPECT_EQ(stored(cp, 6).PttIdCode.str(), "00012");

    f.name = {"A", "", "C", "", "", "", "G"};
    ApplyChannelForm(cp, 6, f, kBand);
    EXPECT_EQ(stored(cp, 6).Name.str(), "A C   G");

    EXPECT_EQ(PadPttIdCode(""), "00000");
    EXPECT_EQ(PadPttIdCode("1234567"), "12345");
}

TEST(ChannelOk, PresetsAndVfoNeverTakeAPttIdCode)
{
    EXPECT_TRUE(ChannelFieldsEnabled("145.00000", 200).pttId);
    for (int row : {201, 202, 203}) {
        const ChannelFieldStates s = ChannelFieldsEnabled("145.00000", row);
        EXPECT_TRUE(s.others);
        EXPECT_FALSE(s.pttId);
    }
    EXPECT_FALSE(ChannelFieldsEnabled("", 5).others);
    EXPECT_FALSE(ChannelFieldsEnabled("", 5).pttId);

    ChannelRecord pa = channelAt(kChannelPA, "014500000");
    pa.PttIdCode.setPadded("98765");
    Codeplug cp = withChannels({pa});
    for (int row : {201, 203}) {
        ChannelForm f = newForm(cp, row, "145", "");
        f.pttIdCode = "12345";
        f.pttIdDecode = true;
        ApplyChannelForm(cp, row, f, kBand);
    }
    EXPECT_EQ(stored(cp, kChannelPA).PttIdCode.str(), "98765");
    EXPECT_EQ(stored(cp, kChannelVfo).PttIdCode.str(), "00000");
    EXPECT_EQ(stored(cp, kChannelVfo).PttIdDecode, 0);
}

TEST(ChannelOk, ModifyKeepsWhatTheEditorDoesNotEditAndAddAppends)
{
    ChannelRecord ch = channelAt(8, "014500000");
    ch.Reserved1 = 1, ch.Reserved2 = 2, ch.Reserved3 = 3, ch.Reserved4 = 4, ch.Reserved5 = 5;
    ch.TxDcsHigh = 1, ch.RxDcsHigh = 1, ch.RadioExtra = 77, ch.PttIdFlag = 1;
    ch.OptionalSignal = 1, ch.DtmfCode = 9, ch.TwoToneCall = 4, ch.FiveToneCall = 12;
    Codeplug cp = withChannels({ch, channelAt(2, "014600000")});

    ChannelForm f = LoadChannelForm(cp, 8, kBand);
    f.scanSkip = true;
    ApplyChannelForm(cp, 8, f, kBand);
    ChannelRecord want = ch;
    want.ScanSkip = 1;
    want.Name.setPadded("");
    EXPECT_EQ(cp.channels[0], want);

    // Choosing no signalling leaves the codes of the others as they were.
    SetOptionalSignal(f, OptionalSignalKind::None, cp);
    ApplyChannelForm(cp, 8, f, kBand);
    EXPECT_EQ(cp.channels[0].OptionalSignal, 0);
    EXPECT_EQ(cp.channels[0].DtmfCode, 9);
    EXPECT_EQ(cp.channels[0].FiveToneCall, 12);

    // A new channel goes to the end of the list, from a blank record.
    ApplyChannelForm(cp, 1, newForm(cp, 1, "146.5", ""), kBand);
    ASSERT_EQ(cp.count(), 3);
    EXPECT_EQ(cp.channels[2].Number, 1);
    EXPECT_EQ(cp.channels[2].InUse, 1);
    EXPECT_EQ(cp.channels[2].RadioExtra, 0);
    EXPECT_EQ(cp.channels[2].RxFrequency.str(), "014650000");
}

TEST(ChannelForm, LoadThenOkChangesNothing)
{
    ChannelRecord ch = channelAt(12, "014502500");
    ch.Offset.setPadded("000060000");
    ch.ShiftDirection = 1;
    ch.Name.setPadded("RPT 1");
    ch.Step = 7, ch.Bandwidth = 2, ch.TxPower = 1, ch.Scrambler = 1, ch.BusyLock = 2;
    ch.RxToneType = 2, ch.RxDcsCode = 300, ch.RxDcsInverted = 1, ch.RxCtcss = 7;
    ch.TxToneType = 1, ch.TxCtcss = 50, ch.TxDcsCode = 19;
    ch.OptionalSignal = 3, ch.FiveToneCall = 42, ch.DtmfCode = 3;
    ch.SquelchMode = 4, ch.DtmfPttId = 2, ch.ExtraDisplay = 10;
    ch.TxInhibit = 1, ch.Reverse = 1, ch.Compander = 1, ch.ScanSkip = 1, ch.PttIdDecode = 1;
    ch.PttIdCode.setPadded("40312");
    Codeplug cp = withChannels({ch});
    cp.body.Settings.FiveTone.CallList[42].Empty = 0;

    const ChannelForm f = LoadChannelForm(cp, 12, kBand);
    EXPECT_EQ(f.transmit, "144.42500");
    EXPECT_EQ(f.name[3], " ");
    EXPECT_EQ(f.code, 42);
    EXPECT_EQ(f.extraDisplay, 9);

    const Codeplug before = cp;
    const ChannelOkResult r = ApplyChannelForm(cp, 12, f, kBand);
    EXPECT_EQ(r.warnings, 0);
    EXPECT_TRUE(sameChannels(cp, before));
    EXPECT_EQ(LoadChannelForm(cp, 12, kBand), f);
}

TEST(ChannelForm, LoadShowsSubstitutesForValuesOutsideTheLists)
{
    ChannelRecord ch = channelAt(3, "014500000");
    ch.TxPower = 3, ch.Step = 12, ch.Bandwidth = -1, ch.BusyLock = 9, ch.RxToneType = 5, ch.TxCtcss = 51;
    ch.OptionalSignal = 1, ch.DtmfCode = 16, ch.SquelchMode = 3, ch.ShiftDirection = 7;
    ch.Offset.setPadded("000060000");
    Codeplug cp = withChannels({ch, BlankChannel(4)});

    ChannelForm f = LoadChannelForm(cp, 3, kBand);
    EXPECT_EQ(f.txPower, 2);
    EXPECT_EQ(f.step, 0);
    EXPECT_EQ(f.bandwidth, 0);
    EXPECT_EQ(f.busyLock, 0);
    EXPECT_EQ(f.rxTone.type, 0);
    EXPECT_EQ(f.txTone.ctcss, 0);
    EXPECT_EQ(f.code, 0);
    EXPECT_EQ(f.squelch, 0); // F3 needs a tone on the receive side
    EXPECT_EQ(f.transmit, "145.00000"); // unknown direction: simplex

    // DTMF switched off: the channel's own signalling stays on offer, so a
    // plain OK keeps it.
    f = LoadChannelForm(cp, 3, kBand);
    EXPECT_EQ(f.signal, OptionalSignalKind::Dtmf);
    const auto offered = OptionalSignalChoices(SignalViewSwitches{1, 1, 0, 0, 0}, f.signal);
    EXPECT_EQ(offered, (std::vector<OptionalSignalKind>{OptionalSignalKind::None, OptionalSignalKind::Dtmf,
                                                         OptionalSignalKind::TwoTone, OptionalSignalKind::FiveTone}));
    Codeplug kept = cp;
    ApplyChannelForm(kept, 3, f, kBand);
    EXPECT_EQ(kept.channels[0].OptionalSignal, 1);
    EXPECT_EQ(OptionalSignalChoices(SignalViewSwitches{}, f.signal),
              (std::vector<OptionalSignalKind>{OptionalSignalKind::None, OptionalSignalKind::Dtmf}));

    // No receive frequency: nothing to transmit on, nothing else enabled.
    f = LoadChannelForm(cp, 4, kBand);
    EXPECT_EQ(f.receive, "");
    EXPECT_EQ(f.transmit, "");
    EXPECT_EQ(f.step, 5);
    EXPECT_EQ(f.pttIdCode, "00000");
    EXPECT_FALSE(ChannelFieldsEnabled(f.receive, 4).others);

    ch.RxFrequency.setPadded("01450000X");
    cp = withChannels({ch});
    f = LoadChannelForm(cp, 3, kBand);
    EXPECT_TRUE(f.loadedNotNumeric);
    EXPECT_EQ(f.receive, "136");
}

TEST(ChannelForm, CallNoLongerInUseShowsNothingAndStoresZero)
{
    ChannelRecord ch = channelAt(5, "014500000");
    ch.OptionalSignal = 2;
    ch.TwoToneCall = 6;
    Codeplug cp = withChannels({ch});
    auto& entries = cp.body.Settings.TwoTone.Entries;
    for (auto& e : entries)
        e.Empty = 1;
    entries[3].Empty = 0;
    entries[9].Empty = 0;

    EXPECT_EQ(TwoToneCallChoices(cp), (std::vector<int>{3, 9}));
    ChannelForm f = LoadChannelForm(cp, 5, kBand);
    EXPECT_EQ(f.signal, OptionalSignalKind::TwoTone);
    EXPECT_FALSE(f.code);
    ApplyChannelForm(cp, 5, f, kBand);
    EXPECT_EQ(stored(cp, 5).TwoToneCall, 0);
    EXPECT_EQ(stored(cp, 5).OptionalSignal, 2);

    // Choosing 2Tone again selects the first call in use.
    SetOptionalSignal(f, OptionalSignalKind::TwoTone, cp);
    EXPECT_EQ(f.code, 3);
    ApplyChannelForm(cp, 5, f, kBand);
    EXPECT_EQ(stored(cp, 5).TwoToneCall, 3);
    EXPECT_EQ(SignalCodeText(OptionalSignalKind::TwoTone, 9), "9");
    EXPECT_EQ(SignalCodeText(OptionalSignalKind::Dtmf, 15), "M16");

    // No 5-tone call in use: an empty list, nothing selected.
    SetOptionalSignal(f, OptionalSignalKind::FiveTone, cp);
    EXPECT_FALSE(f.code);
}

TEST(ChannelForm, SignallingChoicesFollowTheSwitches)
{
    using K = OptionalSignalKind;
    EXPECT_EQ(OptionalSignalChoices(SignalViewSwitches{0, 1, 0, 0, 0}), (std::vector<K>{K::None, K::TwoTone}));
    EXPECT_EQ(OptionalSignalChoices(SignalViewSwitches{1, 0, 1, 0, 0}), (std::vector<K>{K::None, K::Dtmf, K::FiveTone}));
    EXPECT_EQ(OptionalSignalChoices(SignalViewSwitches{}), (std::vector<K>{K::None}));
}

TEST(ChannelForm, SquelchListFollowsToneSideAndSignalling)
{
    using K = OptionalSignalKind;
    // Receive tone none, transmit CTCSS: Reverse makes the transmit side decide.
    EXPECT_EQ(SquelchChoices(false, 0, 1, K::None), (std::vector<int>{0}));
    EXPECT_EQ(SquelchChoices(true, 0, 1, K::None), (std::vector<int>{0, 1}));
    EXPECT_EQ(SquelchChoices(true, 2, 0, K::Dtmf), (std::vector<int>{0, 2}));
    EXPECT_EQ(SquelchChoices(false, 2, 0, K::FiveTone), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(KeepSquelch({0, 2}, 2), 2);
    EXPECT_EQ(KeepSquelch({0, 2}, 1), 0);

    ChannelForm f;
    f.txTone.type = 1;
    SetReverse(f, true);
    f.squelch = 1;
    SetReverse(f, false); // the receive side has no tone: F1 goes
    EXPECT_EQ(f.squelch, 0);

    f.signal = K::Dtmf;
    f.squelch = 2;
    SetRxToneType(f, 2); // F2 is still offered: kept
    EXPECT_EQ(f.squelch, 2);
}

TEST(ChannelForm, ReactionsBetweenFields)
{
    ChannelForm f;
    f.fiveTonePttId = 2;
    SetDtmfPttId(f, 1);
    EXPECT_EQ(f.dtmfPttId, 1);
    EXPECT_EQ(f.fiveTonePttId, 0);
    SetFiveTonePttId(f, 3);
    EXPECT_EQ(f.dtmfPttId, 0);
    SetDtmfPttId(f, 0); // off does not touch the other kind
    EXPECT_EQ(f.fiveTonePttId, 3);

    SetTalkAround(f, true);
    SetReverse(f, true);
    EXPECT_TRUE(f.reverse);
    EXPECT_FALSE(f.talkAround);
    SetTalkAround(f, true);
    EXPECT_FALSE(f.reverse);

    f.rxTone = {2, 12, 300, true};
    f.txTone = {1, 30, 0, false};
    SetRxToneType(f, 1);
    EXPECT_EQ(f.rxTone, (ToneForm{1, 0, 0, false}));
    EXPECT_EQ(f.txTone, (ToneForm{1, 30, 0, false}));
    SetTxToneType(f, 2);
    EXPECT_EQ(f.txTone, (ToneForm{2, 0, 0, false}));
}

TEST(ChannelForm, ExtraDisplayThroughItsHiddenList)
{
    const std::vector<std::pair<int, int>> storedToPosition{{0, 0}, {1, 1}, {2, 2},  {3, 0},  {4, 3},
                                                            {5, 4}, {10, 9}, {11, 0}, {-1, 0}};
    for (auto [stored, position] : storedToPosition)
        EXPECT_EQ(ExtraDisplayPosition(stored), position) << stored;
    const std::vector<std::pair<int, int>> positionToStored{{0, 0}, {2, 2}, {3, 4}, {9, 10}, {10, 0}};
    for (auto [position, stored] : positionToStored)
        EXPECT_EQ(ExtraDisplayStored(position), stored) << position;
}
