#include "view/main_view.h"

#include "model/channel_list.h"

#include <gtest/gtest.h>

using namespace qtx;

namespace {

// Language texts show as "T<id>" so tests can tell which ID was used.
const TextLookupFn kText = [](int id) { return "T" + std::to_string(id); };

ChannelRecord channelAt(const char* rx, const char* offset = "000000000", int direction = 0)
{
    ChannelRecord ch = BlankChannel(1);
    ch.InUse = 1;
    ch.RxFrequency.setPadded(rx);
    ch.Offset.setPadded(offset);
    ch.ShiftDirection = static_cast<int16_t>(direction);
    return ch;
}

} // namespace

TEST(MainView, TitleForTheDefaultCodeplug)
{
    EXPECT_EQ(MainWindowTitle("QM-5210", BandPlan{}, "File", "C:\\data\\new.dat"),
              "QTX[QM-5210:Rx(136 - 174 MHz) Tx(136 - 174 MHz)][File:C:\\data\\new.dat]");
}

TEST(MainView, RowHeadings)
{
    EXPECT_EQ(GridRowHeading(1), "0");
    EXPECT_EQ(GridRowHeading(200), "199");
    EXPECT_EQ(GridRowHeading(201), "PA");
    EXPECT_EQ(GridRowHeading(202), "PB");
    EXPECT_EQ(GridRowHeading(203), "VFO");
    EXPECT_EQ(GridColumnHeading(8, kText), "T1107\nT1112");
    EXPECT_EQ(GridColumnHeading(0, kText), "ID");
}

TEST(MainView, TransmitColumnFollowsDirection)
{
    const BandPlan band;
    EXPECT_EQ(GridTransmitText(channelAt("014500000", "000060000", 1), band), "144.40000");
    EXPECT_EQ(GridTransmitText(channelAt("014500000", "000060000", 2), band), "145.60000");
    EXPECT_EQ(GridTransmitText(channelAt("014500000", "000060000", 0), band), "145.00000");
    EXPECT_EQ(GridTransmitText(channelAt("014500000", "         ", 2), band), "145.00000");
    EXPECT_EQ(GridTransmitText(channelAt("FFFFFFFFF"), band), "");
}

TEST(MainView, ReceiveDigitsThatAreNotDigitsShowRxLow)
{
    BandPlan band;
    band.RxLow = 400;
    const auto cells = GridChannelCells(channelAt("01X500000"), band, kText);
    EXPECT_TRUE(cells.notNumeric);
    EXPECT_EQ(cells.cells[1], "400");
    EXPECT_EQ(cells.cells[2], "400");
}

TEST(MainView, ToneCells)
{
    EXPECT_EQ(GridToneText(2, 0, 19, 0, kText), "D023N");
    EXPECT_EQ(GridToneText(2, 0, 19, 1, kText), "D023I");
    EXPECT_EQ(GridToneText(2, 0, 600, 0, kText), "D000N");
    EXPECT_EQ(GridToneText(1, 19, 0, 0, kText), "123.0");
    EXPECT_EQ(GridToneText(1, 51, 0, 0, kText), "62.5");
    EXPECT_EQ(GridToneText(1, -4, 0, 0, kText), "62.5");
    EXPECT_EQ(GridToneText(0, 0, 0, 0, kText), "T1206");
    EXPECT_EQ(GridToneText(7, 0, 0, 0, kText), "T1206");
}

TEST(MainView, CellSubstitutesForValuesOutsideTheirLists)
{
    ChannelRecord ch = channelAt("014512500");
    ch.Name.setTerminated("AB");
    ch.Step = 12;
    ch.Bandwidth = 5;
    ch.TxPower = 3;
    ch.Reserved1 = 2;
    ch.OptionalSignal = 9;
    const auto cells = GridChannelCells(ch, BandPlan{}, kText).cells;
    EXPECT_EQ(cells[1], "145.12500");
    EXPECT_EQ(cells[3], "AB");
    EXPECT_EQ(cells[4], "2.5K");
    EXPECT_EQ(cells[5], "20K");
    EXPECT_EQ(cells[6], "T1202");
    EXPECT_EQ(cells[7], "T1204");
    EXPECT_EQ(cells[10], "T1206");

    ch.Bandwidth = 2;
    ch.TxPower = 1;
    ch.OptionalSignal = 1;
    ch.DtmfCode = 0;
    auto more = GridChannelCells(ch, BandPlan{}, kText).cells;
    EXPECT_EQ(more[5], "12.5K");
    EXPECT_EQ(more[7], "T1221");
    EXPECT_EQ(more[10], "DTMF M1");
    ch.OptionalSignal = 2;
    ch.TwoToneCall = 3;
    EXPECT_EQ(GridChannelCells(ch, BandPlan{}, kText).cells[10], "2tone 3");
    ch.OptionalSignal = 3;
    ch.FiveToneCall = 42;
    EXPECT_EQ(GridChannelCells(ch, BandPlan{}, kText).cells[10], "5tone 42");
}

TEST(MainView, TreeNodesFollowTheSwitches)
{
    auto keys = [](const SignalViewSwitches& s) {
        std::vector<std::string> out;
        for (const auto& n : MainTreeNodes(s, kText))
            out.push_back(n.key);
        return out;
    };
    EXPECT_EQ(keys(SignalViewSwitches{}), (std::vector<std::string>{"N1", "N4", "N10", "N11", "N12", "N8", "N9"}));
    EXPECT_EQ(keys(SignalViewSwitches{1, 1, 1, 0, 1}),
              (std::vector<std::string>{"N1", "N4", "N5", "N6", "N7", "N10", "N11", "N12", "N8", "N9"}));
    EXPECT_EQ(keys(SignalViewSwitches{0, 1, 0, 0, 1}),
              (std::vector<std::string>{"N1", "N4", "N6", "N10", "N11", "N12", "N8", "N9"}));
}
