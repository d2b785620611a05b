// Whole-image properties: valid Codeplugs come back from the image as they
// went in, and whatever a radio holds settles after one read-write cycle.

#include "convert/numeric.h"
#include "image/image_codec.h"
#include "support/codeplug_fields.h"
#include "support/random_codeplug.h"
#include "support/random_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace qtx;
using namespace qtx::testing;

namespace {

// What the image does not carry, reset on both sides before comparing:
//  - BandType (a read takes it from the radio's identification)
//  - OptionSettings Item1706, Item1708, Item1715
//  - DtmfSettings PttIdMode
//  - 5-tone PTT-ID codes: Empty, Reserved (the first of the four bytes), Name;
//    call entries: Reserved
//  - channels: Reserved1-5, PttIdFlag, ExtraDisplay; ScanSkip of the VFO;
//    PttIdCode of PA, PB and the VFO; channels with InUse 0 (written, but
//    read back as absent)
//  - the order of the channel list (read back in slot order)
//  - how texts are padded: they compare as the editors show them
// Code texts beyond their Length, and frequency digits off the radio's
// raster, are not carried either; the generator does not make them.
void ForgetUncarried(Codeplug& cp)
{
    CodeplugBody& b = cp.body;
    b.BandType = kModelBandType;
    OptionSettings& o = b.Settings.Options;
    o.Item1706 = o.Item1708 = o.Item1715 = 0;
    b.Settings.Dtmf.PttIdMode = 3;
    FiveToneSettings& f = b.Settings.FiveTone;
    for (FiveToneCode* code : {&f.PttIdBegin, &f.PttIdEnd}) {
        code->Empty = 1;
        code->Reserved = 0;
        code->Name = FixedText<7>();
    }
    for (FiveToneCode& call : f.CallList)
        call.Reserved = 0;

    auto first = cp.channels.begin();
    std::stable_sort(first, first + b.ChannelCount,
                     [](const ChannelRecord& x, const ChannelRecord& y) { return x.Number < y.Number; });
    for (int i = 0; i < b.ChannelCount; ++i) {
        ChannelRecord& c = cp.channels[i];
        c.Reserved1 = c.Reserved2 = c.Reserved3 = c.Reserved4 = c.Reserved5 = 0;
        c.PttIdFlag = 0;
        c.ExtraDisplay = 0;
        if (c.Number == kChannelVfo)
            c.ScanSkip = 0;
        if (c.Number > kMemoryChannels)
            c.PttIdCode.setPadded("00000");
    }
}

std::unique_ptr<Codeplug> Parsed(const RadioImage& image)
{
    RadioImage copy = image;
    auto cp = std::make_unique<Codeplug>();
    ParseImage(copy, *cp);
    return cp;
}

TEST(ImageRoundTrip, ValidCodeplugsComeBackUnchanged)
{
    for (uint32_t seed = 1; seed <= 120; ++seed) {
        CodeplugGenerator gen(seed);
        auto original = std::make_unique<Codeplug>(gen.make());
        auto sent = std::make_unique<Codeplug>(*original);
        RadioImage image{};
        const BuildReport report = BuildImage(*sent, image);
        ASSERT_TRUE(report.ok()) << "seed " << seed << ": " << report.result.error().detail;
        EXPECT_TRUE(report.notices.empty());
        // Nothing valid needs fixing up on the way out.
        ASSERT_EQ(FirstDifference(ListFields(*original, true), ListFields(*sent, true)), "") << "seed " << seed;

        auto back = Parsed(image);
        ForgetUncarried(*original);
        ForgetUncarried(*back);
        ASSERT_EQ(FirstDifference(ListFields(*original), ListFields(*back)), "") << "seed " << seed;
    }
}

// Where a first read of arbitrary bytes and the read after writing it back
// may differ, because the write sends only what the radio can hold (the
// third case, a VFO entry without a frequency, is handled in the test):
//  - a 5-tone own-ID byte above 9 reads as several digits; the write sends
//    the first own-ID-length of them;
//  - a communication book call ID that is not a number is sent empty.
void ExpectedAfterWrite(Codeplug& first)
{
    FiveToneSettings& f = first.body.Settings.FiveTone;
    const int digits = std::min<int>(f.OwnIdLength, 5);
    f.OwnCode.setTerminated(ShownText(f.OwnCode.str()).substr(0, digits));
    for (CommBookEntry& entry : first.body.Book)
        if (!IsDecimalNumber(entry.CallId.trimmed()))
            entry.CallId.setTerminated("");
}

TEST(ImageRoundTrip, ArbitraryImagesSettleAfterOneWrite)
{
    CodeplugGenerator gen(20240501);
    for (int i = 0; i < 150; ++i) {
        RadioImage image{};
        RandomImage(gen, image, i);
        auto first = Parsed(image);

        RadioImage written{};
        const BuildReport report = BuildImage(*first, written);
        ASSERT_TRUE(report.ok()) << "image " << i << ": " << report.result.error().detail;
        auto second = Parsed(written);

        RadioImage rewritten{};
        ASSERT_TRUE(BuildImage(*second, rewritten).ok()) << "image " << i;
        auto third = Parsed(rewritten);

        // One cycle reaches a fixed point, byte for byte.
        ASSERT_EQ(FirstDifference(ListFields(*second, true), ListFields(*third, true)), "") << "image " << i;
        ASSERT_TRUE(std::equal(written.begin() + 0x0100, written.end(), rewritten.begin() + 0x0100))
            << "image " << i;

        // And the cycle keeps everything the radio can hold. Without a VFO
        // channel the write leaves the VFO entry zero, which reads back as a
        // VFO on 000.00000 MHz.
        const bool firstHasVfo =
            first->body.ChannelCount > 0 && first->channels[first->body.ChannelCount - 1].Number == kChannelVfo;
        if (!firstHasVfo) {
            const int last = second->body.ChannelCount - 1;
            ASSERT_GE(last, 0);
            EXPECT_EQ(second->channels[last].Number, kChannelVfo);
            EXPECT_EQ(second->channels[last].RxFrequency.str(), "000000000");
            second->body.ChannelCount--;
        }
        ExpectedAfterWrite(*first);
        ASSERT_EQ(FirstDifference(ListFields(*first), ListFields(*second)), "") << "image " << i;
    }
}

} // namespace
