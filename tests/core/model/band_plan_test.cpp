#include "model/band_plan.h"
#include "model/channel_list.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qtx;

namespace {

BandLimitTexts texts(const char* a, const char* b, const char* c, const char* d) { return {a, b, c, d}; }

ChannelRecord channel(int number, const char* rx, const char* offset, int16_t direction)
{
    ChannelRecord ch = BlankChannel(number);
    ch.InUse = 1;
    ch.RxFrequency.setPadded(rx);
    ch.Offset.setPadded(offset);
    ch.ShiftDirection = direction;
    return ch;
}

} // namespace

TEST(BandPlan, TextAndModel)
{
    EXPECT_EQ(BandText(BandPlan{}), "Rx(136 - 174 MHz) Tx(136 - 174 MHz)");
    EXPECT_EQ(BandText({136, 173.9975, 144.5, 146}), "Rx(136 - 173.9975 MHz) Tx(144.5 - 146 MHz)");
    EXPECT_EQ(ModelCheck("QM-5210"), "QM-5210");
    EXPECT_EQ(ModelCheck("QM-5211"), "");
    EXPECT_EQ(ModelCheck(""), "");
}

TEST(BandPlan, StandardBandsAndVariants)
{
    EXPECT_EQ(StandardBand(0), BandPlan{});
    EXPECT_EQ(StandardBand(1), BandPlan{});
    EXPECT_EQ(StandardBand(3), (BandPlan{216, 280, 220, 260}));
    EXPECT_EQ(StandardBand(5), (BandPlan{400, 490, 400, 490}));
    EXPECT_EQ(StandardBand(6), BandPlan{});
    EXPECT_EQ(StandardBand(-1), BandPlan{});

    EXPECT_EQ(BandVariantText(0), "Rx(26 - 45.9950 MHz) Tx(26 - 45.9950 MHz)");
    EXPECT_EQ(BandVariantText(8), "Rx(245 - 245.9875 MHz) Tx(245 - 245.9875 MHz)");
    EXPECT_EQ(BandVariantText(19), BandVariantText(23));
    EXPECT_EQ(BandVariantText(31), "Rx(400 - 429.9950 MHz) Tx(400 - 429.9950 MHz)");
    EXPECT_EQ(BandVariantText(32), "");
    EXPECT_EQ(BandVariantText(-1), "");
    for (auto text : kBandVariantTexts)
        EXPECT_EQ(text.substr(0, 3), "Rx(");
}

TEST(JustSingleFre, OwnLimitNotTheNearerOne)
{
    EXPECT_EQ(JustSingleFre("150", 136, 174, LimitKind::Lower), "150.00000");
    EXPECT_EQ(JustSingleFre("136", 136, 174, LimitKind::Upper), "136.00000");
    EXPECT_EQ(JustSingleFre("175", 136, 174, LimitKind::Lower), "136.00000");
    EXPECT_EQ(JustSingleFre("100", 136, 174, LimitKind::Upper), "174.00000");
    for (const char* bad : {"", "abc", "1e2", "-"}) {
        EXPECT_EQ(JustSingleFre(bad, 136, 174, LimitKind::Lower), "136.00000") << bad;
        EXPECT_EQ(JustSingleFre(bad, 136, 174, LimitKind::Upper), "174.00000") << bad;
    }
}

TEST(IsFre, Voting)
{
    auto t = texts("150", "160", "", "abc");
    EXPECT_EQ(IsFre(t), 1);
    EXPECT_EQ(t.rxLow, "150.00000");
    EXPECT_EQ(t.rxHigh, "160.00000");
    EXPECT_EQ(t.txLow, "136.00000");
    EXPECT_EQ(t.txHigh, "174.00000");

    t = texts("430", "440", "430", "440");
    EXPECT_EQ(IsFre(t), 5);
    EXPECT_EQ(t.rxLow, "430.00000");
    EXPECT_EQ(t.txHigh, "440.00000");

    t = texts("230", "250", "230", "250");
    EXPECT_EQ(IsFre(t), 3); // four votes against two for band 2

    t = texts("400", "100", "400", "450");
    EXPECT_EQ(IsFre(t), 5);
    EXPECT_EQ(t.rxHigh, "490.00000");

    t = texts("", "", "", "");
    EXPECT_EQ(IsFre(t), 1);
    EXPECT_EQ(t.rxLow, "136.00000");
    EXPECT_EQ(t.txHigh, "174.00000");
}

TEST(IsFre, TiesGoToTheLowerBandAndBandThreeTransmitRangeIsNarrower)
{
    // Two votes each for bands 1 and 5.
    auto t = texts("140", "150", "410", "420");
    EXPECT_EQ(IsFre(t), 1);
    EXPECT_EQ(t.txLow, "136.00000");
    // 265 and 270 vote for band 3; 218 as a transmit limit lies outside
    // band 3's 220-260 and votes for band 2 only: a tie that band 2 wins.
    t = texts("265", "270", "218", "218");
    EXPECT_EQ(IsFre(t), 2);
}

TEST(AcceptBandTexts, ReversedPairsAreExchanged)
{
    auto t = texts("170", "140", "160", "150");
    const BandPlan plan = AcceptBandTexts(t);
    EXPECT_EQ(plan, (BandPlan{140, 170, 150, 160}));
    EXPECT_EQ(t.rxLow, "140.00000");
    EXPECT_EQ(t.rxHigh, "170.00000");

    t = texts("400", "100", "400", "450");
    EXPECT_EQ(AcceptBandTexts(t), (BandPlan{400, 490, 400, 450}));

    t = texts("x", "", "-3", "1e9");
    EXPECT_EQ(AcceptBandTexts(t), BandPlan{});
}

TEST(ApplyBandToChannels, ChannelFollowsTheNewBand)
{
    Codeplug cp;
    cp.channels[0] = channel(1, "014500000", "000060000", 2);
    cp.body.ChannelCount = 1;
    cp.body.Band = StandardBand(5);
    ApplyBandToChannels(cp);
    EXPECT_EQ(cp.channels[0].RxFrequency.str(), "040000000");
    EXPECT_EQ(cp.channels[0].Offset.str(), "000060000");
    EXPECT_EQ(cp.channels[0].ShiftDirection, 2);
}

TEST(ApplyBandToChannels, TransmitClampedAcrossTheReceiveFrequency)
{
    Codeplug cp;
    cp.channels[0] = channel(1, "014500000", "000060000", 2); // TX 145.6
    cp.channels[1] = channel(2, "014500000", "000500000", 1); // TX 140
    cp.channels[2] = channel(3, "014400000", "000000000", 0); // simplex at 144
    cp.body.ChannelCount = 3;
    cp.body.Band = {136, 174, 144.5, 146};
    ApplyBandToChannels(cp);
    EXPECT_EQ(cp.channels[0].Offset.str(), "000060000"); // inside, unchanged
    EXPECT_EQ(cp.channels[0].ShiftDirection, 2);
    EXPECT_EQ(cp.channels[1].Offset.str(), "000050000"); // TX raised to 144.5
    EXPECT_EQ(cp.channels[1].ShiftDirection, 1);
    EXPECT_EQ(cp.channels[2].Offset.str(), "000050000"); // TX 144.5 above RX 144
    EXPECT_EQ(cp.channels[2].ShiftDirection, 2);
}

TEST(ApplyBandToChannels, EmptyAndBrokenChannels)
{
    Codeplug cp;
    cp.channels[0] = channel(1, "FFFFFFFFF", "FFFFFFFFF", 0);
    cp.channels[1] = channel(2, "01X500000", "0000?0000", 2);
    cp.channels[2] = channel(3, "050000000", "000000000", 9); // above the band, odd direction
    cp.channels[3] = channel(4, "014500000", "000000000", 0); // past the count
    cp.body.ChannelCount = 3;
    cp.body.Band = {136, 174, 136, 174};
    ApplyBandToChannels(cp);
    EXPECT_EQ(cp.channels[0].RxFrequency.str(), "013600000");
    EXPECT_EQ(cp.channels[0].Offset.str(), "000000000");
    EXPECT_EQ(cp.channels[1].RxFrequency.str(), "013600000");
    EXPECT_EQ(cp.channels[1].Offset.str(), "000000000");
    EXPECT_EQ(cp.channels[1].ShiftDirection, 0);
    EXPECT_EQ(cp.channels[2].RxFrequency.str(), "017400000");
    EXPECT_EQ(cp.channels[2].ShiftDirection, 0);
    EXPECT_EQ(cp.channels[3].RxFrequency.str(), "014500000");
}

TEST(ApplyBandToChannels, SecondApplicationChangesNothing)
{
    Codeplug cp;
    const char* rx[] = {"013602250", "014502250", "013600310", "013602499", "014500833", "014501666"};
    int n = 0;
    for (const char* f : rx) {
        cp.channels[n] = channel(n + 1, f, "000000000", 0);
        ++n;
    }
    cp.body.ChannelCount = static_cast<int16_t>(n);
    ApplyBandToChannels(cp);
    for (int i = 0; i < n; ++i)
        EXPECT_EQ(cp.channels[i].ShiftDirection, 0) << rx[i];
    EXPECT_EQ(cp.channels[0].RxFrequency.str(), "013602250");
    EXPECT_EQ(cp.channels[2].RxFrequency.str(), "013600250");
    EXPECT_EQ(cp.channels[3].RxFrequency.str(), "013602500");
    const Codeplug once = cp;
    ApplyBandToChannels(cp);
    for (int i = 0; i < n; ++i)
        EXPECT_EQ(cp.channels[i], once.channels[i]) << rx[i];
}
