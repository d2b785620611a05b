#include "convert/frequency.h"
#include "model/channel_list.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qtx;

namespace {

const BandPlan kBand1{}; // 136-174 both ways

BandPlan band(double rxLow, double rxHigh, double txLow, double txHigh) { return {rxLow, rxHigh, txLow, txHigh}; }

std::string snapped(const char* typed) { return CheckRxText(typed, kBand1).text; }

} // namespace

TEST(FreqTextToDigits, DecimalAndWholeMegahertz)
{
    EXPECT_EQ(FreqTextToDigits("145.6"), "014560000");
    EXPECT_EQ(FreqTextToDigits("136.025"), "013602500");
    EXPECT_EQ(FreqTextToDigits("0.6"), "000060000");
    EXPECT_EQ(FreqTextToDigits("145"), "014500000");
    EXPECT_EQ(FreqTextToDigits("5"), "000500000");
    // Without a point any length is whole megahertz.
    EXPECT_EQ(FreqTextToDigits("1450"), "145000000");
    EXPECT_EQ(FreqTextToDigits("9999.99999"), "999999999");
}

TEST(FreqTextToDigits, RoundsHalvesAwayAtFiveHertzExactly)
{
    // Decided on the decimal digits, not on a binary approximation.
    EXPECT_EQ(FreqTextToDigits("145.000005"), "014500001");
    EXPECT_EQ(FreqTextToDigits("145.000015"), "014500002");
    EXPECT_EQ(FreqTextToDigits("145.0000049999"), "014500000");
    EXPECT_EQ(FreqTextToDigits("-0.000001"), "000000000");
}

TEST(FreqTextToDigits, NoNineDigitFormGivesEmpty)
{
    for (const char* text : {"", " ", "abc", "1e2", "145.6.1", "-1", "-0.6", "10000", "9999.999995",
                             "123456789012345678901234567890"})
        EXPECT_EQ(FreqTextToDigits(text), "") << text;
}

TEST(DigitsToFreqText, StoredDigitsToShownText)
{
    EXPECT_EQ(DigitsToFreqText("014560000", kBand1).text, "145.60000");
    EXPECT_EQ(DigitsToFreqText("014500625", kBand1).text, "145.00625");
    EXPECT_EQ(DigitsToFreqText("999999999", kBand1).text, "9999.99999");
    EXPECT_EQ(DigitsToFreqText("145", kBand1).text, "145.00000");
    EXPECT_FALSE(DigitsToFreqText("014560000", kBand1).corrected);
    // Padding of the stored field does not matter.
    EXPECT_EQ(DigitsToFreqText(std::string("0145600\0 ", 9), kBand1).text, "145.60000");
}

TEST(DigitsToFreqText, NoFrequencyAndGarbage)
{
    EXPECT_EQ(DigitsToFreqText("", kBand1).text, "");
    EXPECT_EQ(DigitsToFreqText("FFFFFFFFF", kBand1).text, "");
    EXPECT_EQ(DigitsToFreqText("         ", kBand1).text, "");
    EXPECT_FALSE(DigitsToFreqText("FFFFFFFFF", kBand1).corrected);

    const FreqText garbage = DigitsToFreqText("01456X000", kBand1);
    EXPECT_TRUE(garbage.corrected);
    EXPECT_EQ(garbage.text, "136");
    EXPECT_EQ(DigitsToFreqText("-14560000", band(400, 490, 400, 490)).text, "400");
    EXPECT_EQ(DigitsToFreqText("145.60000", band(173.9975, 174, 136, 174)).text, "173.9975");
}

TEST(DigitsToOffsetText, Forms)
{
    EXPECT_EQ(DigitsToOffsetText("000060000").text, "0.60000");
    EXPECT_EQ(DigitsToOffsetText("001000000").text, "10.00000");
    EXPECT_EQ(DigitsToOffsetText("").text, "0.00000");
    EXPECT_EQ(DigitsToOffsetText("FFFFFFFFF").text, "0.00000");
    EXPECT_FALSE(DigitsToOffsetText("FFFFFFFFF").corrected);
    const FreqText garbage = DigitsToOffsetText("0000?0000");
    EXPECT_EQ(garbage.text, "0.00000");
    EXPECT_TRUE(garbage.corrected);
}

TEST(RasterSnap, ExamplesFromTheLowerBandLimit)
{
    EXPECT_EQ(snapped("136.0125"), "136.01250");  // 6.25 kHz raster
    EXPECT_EQ(snapped("136.00833"), "136.00833"); // 8.33 kHz raster
    EXPECT_EQ(snapped("136.02499"), "136.02500"); // third 8.33 kHz step ends the 25 kHz block
    EXPECT_EQ(snapped("136.0031"), "136.00250");  // on no raster: down to 2.5 kHz
    EXPECT_EQ(snapped("136.01666"), "136.01666"); // second 8.33 kHz step stays
    EXPECT_EQ(snapped("145.6"), "145.60000");
    EXPECT_NEAR(RasterSnap(136.0031, 136.0), 136.0025, 1e-9);
    EXPECT_NEAR(RasterSnap(136.02499, 136.0), 136.025, 1e-9);
}

TEST(RasterSnap, TwoPointFiveKilohertzStepsStayPut)
{
    // 22.5 kHz into a 25 kHz block is on the 2.5 kHz raster; it must not
    // gain 10 Hz (which would then flip back on the next check).
    EXPECT_EQ(snapped("136.0225"), "136.02250");
    EXPECT_EQ(snapped("145.0225"), "145.02250");
    EXPECT_EQ(snapped("136.02251"), "136.02250");
}

TEST(RasterSnap, IsIdempotent)
{
    for (FreqUnits x = 0; x < 5000; ++x) {
        const FreqUnits once = RasterSnapUnits(13600000 + x, 13600000);
        ASSERT_EQ(RasterSnapUnits(once, 13600000), once) << x;
        ASSERT_LE(once - (13600000 + x), 1) << x;
        ASSERT_GE(once, 13600000) << x;
    }
}

TEST(RasterSnap, CountsFromTheBandStart)
{
    // 400.0031 is 3.1 kHz above a 400 MHz band start, 1.0031 MHz above 399.
    EXPECT_EQ(RasterSnapUnits(40000310, 40000000), 40000250);
    EXPECT_EQ(RasterSnapUnits(40000310, 39900000), 40000250);
    EXPECT_EQ(RasterSnapUnits(40000310, 40000060), 40000310); // on 2.5 kHz from 400.0006
}

TEST(RasterSnap, NonFiniteComesBack)
{
    EXPECT_TRUE(std::isnan(RasterSnap(std::nan(""), 136.0)));
    EXPECT_TRUE(std::isinf(RasterSnap(INFINITY, 136.0)));
    EXPECT_EQ(RasterSnap(145.0, std::nan("")), 145.0);
}

TEST(CheckRxText, FitsIntoTheBand)
{
    EXPECT_EQ(CheckRxText("145.6", kBand1).text, "145.60000");
    EXPECT_FALSE(CheckRxText("145.6", kBand1).corrected);
    EXPECT_FALSE(CheckRxText("136.0031", kBand1).corrected); // snapping is silent

    const FreqText low = CheckRxText("100", kBand1);
    EXPECT_EQ(low.text, "136.00000");
    EXPECT_TRUE(low.corrected);
    const FreqText high = CheckRxText("174.00001", kBand1);
    EXPECT_EQ(high.text, "174.00000");
    EXPECT_TRUE(high.corrected);
    EXPECT_FALSE(CheckRxText("174", kBand1).corrected);
}

TEST(CheckRxText, UnusableTextGivesRxLow)
{
    for (const char* text : {"", "abc", "1e2", "-", "145,6", "99999999999999999999999"}) {
        const FreqText r = CheckRxText(text, band(400, 490, 136, 174));
        EXPECT_TRUE(r.corrected) << text;
        EXPECT_EQ(r.text, std::string(text).size() > 20 ? "490.00000" : "400.00000") << text;
    }
    EXPECT_EQ(CheckRxText("-145", kBand1).text, "136.00000");
}

TEST(CheckRxText, SnapNeverLeavesTheBand)
{
    // 136.02499 snaps up by 10 Hz, past an upper limit of 136.02499.
    const FreqText r = CheckRxText("136.02499", band(136, 136.02499, 136, 174));
    EXPECT_EQ(r.text, "136.02499");
    EXPECT_FALSE(r.corrected);
}

TEST(CheckRxText, BrokenBandLimitsStillGiveNineDigitForms)
{
    const BandPlan broken = band(std::nan(""), INFINITY, -5, 1e12);
    EXPECT_EQ(CheckRxText("145", broken).text, "145.00000");
    EXPECT_EQ(CheckRxText("x", broken).text, "000.00000");
    EXPECT_EQ(CheckRxText("20000", broken).text, "9999.99999");
    EXPECT_EQ(FreqTextToDigits(CheckTxText("-1", broken).text), "000000000");
}

TEST(CheckTxText, UsesTheTransmitLimits)
{
    const BandPlan b = band(136, 174, 144, 146);
    EXPECT_EQ(CheckTxText("150", b).text, "146.00000");
    EXPECT_EQ(CheckTxText("140", b).text, "144.00000");
    EXPECT_EQ(CheckTxText("145.0031", b).text, "145.00250");
    EXPECT_EQ(CheckRxText("150", b).text, "150.00000");
}

TEST(NormaliseOffset, InsideTheTransmitBand)
{
    const OffsetText r = NormaliseOffset("0.6", "145.000", 2, kBand1);
    EXPECT_EQ(r.text, "000.60000");
    EXPECT_FALSE(r.corrected);
    EXPECT_EQ(r.direction, 2);
    EXPECT_EQ(NormaliseOffset("0.6", "145.000", 1, kBand1).text, "000.60000");
    EXPECT_EQ(FreqTextToDigits(r.text), "000060000");
}

TEST(NormaliseOffset, ClampedToTheTransmitLimit)
{
    const OffsetText r = NormaliseOffset("0.6", "145.000", 2, band(136, 174, 136, 145.5));
    EXPECT_EQ(r.text, "000.50000");
    EXPECT_TRUE(r.corrected);
    EXPECT_EQ(r.direction, 2);
}

TEST(NormaliseOffset, ClampedPastTheReceiveFrequencyTurnsTheDirection)
{
    // "+0.6" from 145 lands above a 136-144 transmit band; TX can only be
    // 144, which is 1 MHz below RX.
    const OffsetText up = NormaliseOffset("0.6", "145", 2, band(136, 174, 136, 144));
    EXPECT_EQ(up.text, "001.00000");
    EXPECT_EQ(up.direction, 1);
    EXPECT_TRUE(up.corrected);

    const OffsetText down = NormaliseOffset("5", "140", 1, band(136, 174, 150, 174));
    EXPECT_EQ(down.text, "010.00000");
    EXPECT_EQ(down.direction, 2);

    // Simplex: TX is RX whatever the offset, so the offset just goes to 0.
    const OffsetText simplex = NormaliseOffset("0", "145", 0, band(136, 174, 136, 144));
    EXPECT_EQ(simplex.text, "000.00000");
    EXPECT_EQ(simplex.direction, 0);
}

TEST(NormaliseOffset, UnusableInput)
{
    EXPECT_EQ(NormaliseOffset("", "145", 2, kBand1).text, "000.00000");
    EXPECT_EQ(NormaliseOffset("abc", "145", 2, kBand1).text, "000.00000");
    EXPECT_EQ(NormaliseOffset("abc", "145", 2, kBand1).direction, 2);
    // No receive frequency to measure from: the offset stays as typed.
    EXPECT_EQ(NormaliseOffset("0.6", "", 2, kBand1).text, "000.60000");
    EXPECT_EQ(NormaliseOffset("-0.6", "x", 1, kBand1).text, "000.60000");
    // A negative offset is the other direction.
    const OffsetText negative = NormaliseOffset("-0.6", "145", 2, kBand1);
    EXPECT_EQ(negative.text, "000.60000");
    EXPECT_EQ(negative.direction, 1);
    // Unknown directions are simplex.
    EXPECT_EQ(NormaliseOffset("0.6", "145", 7, kBand1).direction, 0);
    EXPECT_EQ(NormaliseOffset("1e9", "145", 2, kBand1).text, "000.00000");
    EXPECT_EQ(NormaliseOffset("99999999999999999999", "145", 2, kBand1).text, "029.00000");
}

TEST(ToneTexts, CtcssAndDcs)
{
    EXPECT_EQ(CtcssText(0), "62.5");
    EXPECT_EQ(CtcssText(19), "123.0");
    EXPECT_EQ(CtcssText(20), "127.3");
    EXPECT_EQ(CtcssText(50), "254.1");
    EXPECT_EQ(CtcssText(51), "");
    EXPECT_EQ(CtcssText(-1), "");
    for (size_t i = 1; i < kCtcssTexts.size(); ++i)
        EXPECT_LT(std::stod(std::string(kCtcssTexts[i - 1])), std::stod(std::string(kCtcssTexts[i])));

    EXPECT_EQ(DcsText(0), "000");
    EXPECT_EQ(DcsText(19), "023");
    EXPECT_EQ(DcsText(511), "777");
    EXPECT_EQ(DcsText(512), "");
    EXPECT_EQ(DcsText(-1), "");
}
