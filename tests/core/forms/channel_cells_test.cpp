// In-place cells of the channel grid: the editor's OK rules, one field at a time.

#include "forms/channel_cells.h"

#include "model/channel_list.h"
#include "view/main_view.h"

#include <gtest/gtest.h>

using namespace qtx;

namespace {

const SignalViewSwitches kAllViews{.FiveTone = 1, .TwoTone = 1, .Dtmf = 1};

std::string lookup(int id) { return "T" + std::to_string(id); }

Codeplug withChannel(int number, const char* rxDigits)
{
    Codeplug cp;
    ChannelRecord ch = BlankChannel(number);
    ch.InUse = 1;
    ch.RxFrequency.setPadded(rxDigits);
    ch.Name.setPadded("OLD");
    cp.channels[cp.body.ChannelCount++] = ch;
    return cp;
}

const ChannelRecord& at(const Codeplug& cp, int number) { return cp.channels[FindChannel(cp, number).value()]; }

CellResult type(Codeplug& cp, int row, int column, std::string text)
{
    return ApplyChannelCell(cp, row, column, CellValue{std::move(text)}, kAllViews);
}

CellResult pick(Codeplug& cp, int row, int column, int index)
{
    return ApplyChannelCell(cp, row, column, CellValue{{}, index}, kAllViews);
}

} // namespace

TEST(ChannelCells, FrequencyCellsCreateFitDeleteAndRefuse)
{
    Codeplug cp;
    // A receive frequency in an empty row makes the channel, simplex.
    EXPECT_EQ(type(cp, 20, kColumnReceive, "145.5").outcome, CellOutcome::Stored);
    EXPECT_EQ(GridTransmitText(at(cp, 20), cp.body.Band), "145.50000");
    EXPECT_EQ(at(cp, 20).Step, 5); // the editor's blank channel

    // Transmit split, then emptied: simplex again.
    ASSERT_EQ(type(cp, 20, kColumnTransmit, "145.0").outcome, CellOutcome::Stored);
    EXPECT_EQ(at(cp, 20).ShiftDirection, 1);
    ASSERT_EQ(type(cp, 20, kColumnTransmit, "").outcome, CellOutcome::Stored);
    EXPECT_EQ(at(cp, 20).ShiftDirection, 0);
    EXPECT_EQ(GridTransmitText(at(cp, 20), cp.body.Band), "145.50000");

    // Outside the band: fitted, with one warning per corrected frequency.
    const CellResult fitted = type(cp, 20, kColumnReceive, "500");
    EXPECT_EQ(fitted.outcome, CellOutcome::Stored);
    EXPECT_GE(fitted.warnings, 1);
    EXPECT_EQ(at(cp, 20).RxFrequency.trimmed(), "017400000");

    // Not a number: refused, the channel as it was.
    const ChannelRecord before = at(cp, 20);
    const CellResult bad = type(cp, 20, kColumnReceive, "14.5.1");
    EXPECT_EQ(bad.outcome, CellOutcome::Refused);
    EXPECT_EQ(bad.reasonId, kCellNotFrequency);
    EXPECT_EQ(type(cp, 20, kColumnTransmit, "x").reasonId, kCellNotFrequency);
    EXPECT_TRUE(at(cp, 20) == before);

    // Emptied receive: the channel goes; an empty row stays empty.
    EXPECT_EQ(type(cp, 20, kColumnReceive, " ").outcome, CellOutcome::Deleted);
    EXPECT_FALSE(FindChannel(cp, 20));
    EXPECT_EQ(type(cp, 20, kColumnReceive, "").outcome, CellOutcome::Unchanged);
    EXPECT_EQ(cp.count(), 0);
}

TEST(ChannelCells, TheVfoKeepsItsFrequencyAndEmptyRowsWantOneFirst)
{
    Codeplug cp = withChannel(kChannelVfo, "015000000");
    const CellResult vfo = type(cp, kChannelVfo, kColumnReceive, "");
    EXPECT_EQ(vfo.outcome, CellOutcome::Refused);
    EXPECT_EQ(vfo.reasonText, kVfoNullMessage);
    EXPECT_TRUE(FindChannel(cp, kChannelVfo));

    for (int column : {kColumnTransmit, kColumnName, kColumnStep, kColumnRxTone, kColumnSignal}) {
        const CellResult r = column == kColumnName || column == kColumnTransmit ? type(cp, 7, column, "145")
                                                                                 : pick(cp, 7, column, 1);
        EXPECT_EQ(r.outcome, CellOutcome::Refused) << column;
        EXPECT_EQ(r.reasonId, kCellNeedsReceive) << column;
    }
    EXPECT_EQ(cp.count(), 1);
}

TEST(ChannelCells, NameTakesTheNameCharactersOnly)
{
    Codeplug cp = withChannel(3, "014500000");
    for (const char* bad : {"A~B", "A\\B", "EIGHTCHR", "\xe9t\xe9"}) {
        const CellResult r = type(cp, 3, kColumnName, bad);
        EXPECT_EQ(r.outcome, CellOutcome::Refused) << bad;
        EXPECT_EQ(r.reasonId, kCellBadName);
    }
    EXPECT_EQ(at(cp, 3).Name.trimmed(), "OLD");
    EXPECT_EQ(type(cp, 3, kColumnName, "Rpt 2").outcome, CellOutcome::Stored);
    EXPECT_EQ(at(cp, 3).Name.str(), "Rpt 2  ");
    EXPECT_EQ(type(cp, 3, kColumnName, "").outcome, CellOutcome::Stored);
    EXPECT_EQ(at(cp, 3).Name.trimmed(), "");
}

TEST(ChannelCells, ToneListMatchesTheGridAndSetsTheSquelch)
{
    ASSERT_EQ(ToneCellCount(), 1 + 51 + 1024);
    for (int i = 0; i < ToneCellCount(); ++i)
        ASSERT_EQ(ToneCellIndex(ToneCellValue(i)), i) << i;

    Codeplug cp = withChannel(3, "014500000");
    const CellChoices choices = ChannelCellChoices(cp, 3, kColumnRxTone, kAllViews, lookup);
    EXPECT_EQ(choices.current, 0);
    EXPECT_EQ(choices.texts[0], "T1206");
    EXPECT_EQ(choices.texts[1], "62.5");
    const auto d023i = std::find(choices.texts.begin(), choices.texts.end(), "D023I") - choices.texts.begin();
    ASSERT_LT(d023i, ToneCellCount());

    ASSERT_EQ(pick(cp, 3, kColumnRxTone, static_cast<int>(d023i)).outcome, CellOutcome::Stored);
    const ChannelRecord& ch = at(cp, 3);
    EXPECT_EQ(ch.RxToneType, 2);
    EXPECT_EQ(ch.RxDcsCode, 19);
    EXPECT_EQ(ch.RxDcsInverted, 1);
    EXPECT_EQ(ChannelCellChoices(cp, 3, kColumnRxTone, kAllViews, lookup).current, d023i);

    // Tone squelch chosen in the editor falls back to F0 once the tone is off.
    cp.channels[0].SquelchMode = 1;
    ASSERT_EQ(pick(cp, 3, kColumnRxTone, 0).outcome, CellOutcome::Stored);
    EXPECT_EQ(at(cp, 3).SquelchMode, 0);
}

TEST(ChannelCells, SignallingOffersCallsInUseAndTheChannelsOwnKind)
{
    Codeplug cp = withChannel(3, "014500000");
    auto& two = cp.body.Settings.TwoTone.Entries;
    for (auto& e : two)
        e.Empty = 1;
    two[4].Empty = 0;
    for (auto& e : cp.body.Settings.FiveTone.CallList)
        e.Empty = 1;

    const auto all = SignalCellChoices(cp, kAllViews, OptionalSignalKind::None);
    ASSERT_EQ(all.size(), 1u + 16u + 1u); // none, M1-M16, the one 2-tone call
    EXPECT_EQ(all.back(), (SignalCell{OptionalSignalKind::TwoTone, 4}));
    const CellChoices shown = ChannelCellChoices(cp, 3, kColumnSignal, kAllViews, lookup);
    EXPECT_EQ(shown.texts[2], "DTMF M2");
    EXPECT_EQ(shown.texts.back(), "2tone 4");

    ASSERT_EQ(pick(cp, 3, kColumnSignal, 17).outcome, CellOutcome::Stored);
    EXPECT_EQ(at(cp, 3).OptionalSignal, 2);
    EXPECT_EQ(at(cp, 3).TwoToneCall, 4);

    // Views switched off: only none, plus the kind the channel has.
    const SignalViewSwitches off{};
    EXPECT_EQ(SignalCellChoices(cp, off, OptionalSignalKind::None).size(), 1u);
    EXPECT_EQ(ChannelCellChoices(cp, 3, kColumnSignal, off, lookup).current, 1);
    EXPECT_EQ(pick(cp, 3, kColumnSignal, 99).outcome, CellOutcome::Unchanged);
    EXPECT_EQ(at(cp, 3).OptionalSignal, 2);
}
