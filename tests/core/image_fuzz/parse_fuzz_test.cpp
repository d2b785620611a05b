// Parsing whatever a radio may answer: 10 000 random images must decode
// without faults (run under the sanitizer build to check memory and
// undefined behaviour), leave every field where its editor can show it, and
// be writable again.

#include "convert/numeric.h"
#include "image/embedded_info.h"
#include "image/image_codec.h"
#include "support/random_image.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace qtx;
using namespace qtx::testing;

namespace {

constexpr int kImages = 10000;

bool IsHexText(const std::string& t) { return IsHexDigits(t); }

// The ranges decoders promise, whatever the bytes were.
void CheckDecoded(const Codeplug& cp, int i)
{
    const CodeplugBody& b = cp.body;
    ASSERT_GE(b.ChannelCount, 0) << i;
    ASSERT_LE(b.ChannelCount, kMaxChannels) << i;
    int previous = 0;
    for (int k = 0; k < b.ChannelCount; ++k) {
        const ChannelRecord& c = cp.channels[k];
        ASSERT_GT(c.Number, previous) << i; // slot order, no repeats
        ASSERT_LE(c.Number, kChannelVfo) << i;
        previous = c.Number;
        EXPECT_EQ(c.InUse, 1);
        EXPECT_TRUE(c.ShiftDirection >= 0 && c.ShiftDirection <= 2) << i;
        EXPECT_TRUE(c.TxPower >= 0 && c.TxPower <= 2) << i;
        EXPECT_EQ(c.TxDcsHigh, c.TxDcsCode / 256) << i;
        EXPECT_EQ(c.RxDcsHigh, c.RxDcsCode / 256) << i;
        EXPECT_TRUE(c.TxDcsCode >= 0 && c.TxDcsCode <= 511) << i;
        EXPECT_TRUE(IsDecimalNumber(c.RxFrequency.str()) && c.RxFrequency.str().size() == 9) << i;
        EXPECT_TRUE(IsDecimalNumber(c.Offset.str())) << i;
        if (c.Number <= kMemoryChannels) {
            EXPECT_TRUE(IsHexText(c.PttIdCode.str())) << i;
        }
    }

    const DtmfSettings& d = b.Settings.Dtmf;
    EXPECT_TRUE(d.Separator >= 10 && d.Separator <= 15) << i;
    EXPECT_TRUE((d.GroupCode >= 10 && d.GroupCode <= 15) || d.GroupCode == 255) << i;
    EXPECT_LE(d.DecodeResponse, 2) << i;
    EXPECT_LE(d.FirstDigitDelay, 250) << i;
    EXPECT_TRUE(IsDecimalNumber(d.OwnId.str()) && d.OwnId.trimmed().size() == 3) << i;
    EXPECT_LE(d.KillCode.Length, 14) << i;
    EXPECT_LE(d.StunCode.Length, 14) << i;
    EXPECT_LE(d.PttIdBegin.Length, 24) << i;
    for (const auto& code : d.Codes) {
        EXPECT_LE(code.Length, 24) << i;
        EXPECT_EQ(code.Code.trimmed().size(), static_cast<size_t>(code.Length)) << i;
    }

    EXPECT_LE(b.Settings.TwoTone.OwnFormat, 14) << i;
    EXPECT_LE(b.Settings.Options.Item1703Alt, 1) << i;

    const FiveToneSettings& f = b.Settings.FiveTone;
    EXPECT_TRUE(f.ToneLength >= 30 && f.ToneLength <= 100) << i;
    EXPECT_LE(f.PttIdBegin.CodeLength, 24) << i;
    EXPECT_LE(f.PttIdEnd.CodeLength, 24) << i;
    for (const auto& info : f.InfoCodes)
        EXPECT_LE(info.CodeLength, 12) << i;
    for (const auto& call : f.CallList) {
        EXPECT_LE(call.CodeLength, 40) << i;
        EXPECT_TRUE(call.ToneLength >= 30 && call.ToneLength <= 100) << i;
        EXPECT_TRUE(IsHexText(call.Code.trimmed())) << i;
    }
}

TEST(ImageFuzz, RandomImagesParseSafelyAndCanBeWrittenBack)
{
    CodeplugGenerator gen(777);
    const auto defaults = std::make_unique<Codeplug>();
    auto cp = std::make_unique<Codeplug>();
    RadioImage image{};
    RadioImage written{};
    EmbeddedInfo info;
    for (int i = 0; i < kImages; ++i) {
        RandomImage(gen, image, i);
        *cp = *defaults;
        ParseImage(image, *cp, &info);
        EXPECT_LE(info.Description.size(), 96u);
        CheckDecoded(*cp, i);
        const BuildReport report = BuildImage(*cp, written);
        ASSERT_TRUE(report.ok()) << "image " << i << ": " << report.result.error().detail;
        if (::testing::Test::HasFailure())
            FAIL() << "stopped at image " << i;
    }
}

} // namespace
