#include "image/channel_codec.h"
#include "image/image_access.h"
#include "image/image_map.h"

#include "image_test_support.h"

using namespace qtx;
using qtx::testing::ImageTest;
using V = std::vector<int>;

namespace {

class ChannelCodec : public ImageTest {
protected:
    Result<void> encode() { return SetCommDataByFrequency(cp, image, notices); }
    void decode()
    {
        fresh = std::make_unique<Codeplug>();
        ParseChannels(image, *fresh);
    }
    std::vector<std::string> notices;
    std::unique_ptr<Codeplug> fresh;
};

TEST_F(ChannelCodec, MemoryChannelEntryLayout)
{
    ChannelRecord& c = addChannel(7, "014512500");
    c.Offset.setPadded("000060000");
    c.ShiftDirection = 2;
    c.Step = 7;
    c.TxPower = 1;
    c.TalkAround = 1;
    c.TxToneType = 1;
    c.RxToneType = 2;
    c.DtmfCode = 9;
    c.TxCtcss = 50;
    c.DtmfPttId = 3;
    c.FiveTonePttId = 2;
    c.Name.setTerminated("ABC");
    c.SquelchMode = 4;
    c.Scrambler = 1;
    ASSERT_TRUE(encode().ok());

    EXPECT_EQ(bytes(0x20C0, 8), (V{0x01, 0x45, 0x12, 0x50, 0x00, 0x00, 0x60, 0x00}));
    EXPECT_EQ(image[0x20C0 + 10] & 0x03, 3);          // "+" is direction code 3
    EXPECT_EQ(image[0x20C0 + 10], 3 | 1 << 2 | 1 << 7); // TxPower, TalkAround
    EXPECT_EQ(image[0x20C0 + 8], 7);
    EXPECT_EQ(image[0x20C0 + 11], 1 | 2 << 2 | 9 << 4);
    EXPECT_EQ(image[0x20C0 + 12], 50);
    EXPECT_EQ(bytes(0x20C0 + 19, 7), (V{'A', 'B', 'C', ' ', ' ', ' ', ' '}));
    EXPECT_EQ(image[0x20C0 + 28], 0x23);
    EXPECT_EQ(image[0x20C0 + 29], 4);
    EXPECT_EQ(image[0x20C0 + 30], 1);
    EXPECT_EQ(image[0x0100], 0xFF & ~(1 << 6)); // slot 6 programmed
    EXPECT_EQ(image[0x0120], 0xFF & ~(1 << 6)); // and not skipped

    decode();
    ASSERT_EQ(fresh->body.ChannelCount, 2); // and a VFO read from the zero prefill
    const ChannelRecord& back = fresh->channels[0];
    EXPECT_EQ(back.Number, 7);
    EXPECT_EQ(back.RxFrequency.str(), "014512500");
    EXPECT_EQ(back.Offset.str(), "000060000");
    EXPECT_EQ(back.ShiftDirection, 2);
    EXPECT_EQ(back.TxPower, 1);
    EXPECT_EQ(back.DtmfCode, 9);
    EXPECT_EQ(back.FiveTonePttId, 2);
    EXPECT_EQ(back.Name.trimmed(), "ABC");
}

TEST_F(ChannelCodec, DcsCodeHighBitsGoToTheFlagBytes)
{
    ChannelRecord& c = addChannel(1);
    c.TxDcsCode = 0754; // 492
    c.RxDcsCode = 0777;
    c.TxDcsInverted = 1;
    ASSERT_TRUE(encode().ok());
    EXPECT_EQ(image[0x2000 + 14], 0xEC);
    EXPECT_EQ(image[0x2000 + 9], 1 << 5 | 1 << 4);
    EXPECT_EQ(image[0x2000 + 15], 0xFF);
    EXPECT_EQ(image[0x2000 + 10] & 0x20, 0x20);
    // The live record's high bits follow its codes.
    EXPECT_EQ(c.TxDcsHigh, 1);
    EXPECT_EQ(c.RxDcsHigh, 1);

    decode();
    EXPECT_EQ(fresh->channels[0].TxDcsCode, 492);
    EXPECT_EQ(fresh->channels[0].TxDcsHigh, 1);
    EXPECT_EQ(fresh->channels[0].RxDcsCode, 511);
}

TEST_F(ChannelCodec, PresetAndVfoSlots)
{
    addChannel(201, "014400000");
    addChannel(202, "014300000").ScanSkip = 1;
    addChannel(203, "014200000");
    ASSERT_TRUE(encode().ok());
    EXPECT_EQ(bytes(0x0280, 4), (V{0x01, 0x44, 0x00, 0x00}));
    EXPECT_EQ(bytes(0x0260, 4), (V{0x01, 0x43, 0x00, 0x00}));
    EXPECT_EQ(bytes(0x02C0, 4), (V{0x01, 0x42, 0x00, 0x00}));
    EXPECT_EQ(image[0x0119], 0xFC);         // slots 200 and 201 programmed
    EXPECT_EQ(image[0x0139], 0xFE);         // PB skipped, PA not
    EXPECT_EQ(bytes(0x09E8, 4), V(4, 0));   // no PTT-ID code for presets
    EXPECT_EQ(image[0x011F], 0xFF);          // VFO has no bitmap bits

    decode();
    ASSERT_EQ(fresh->body.ChannelCount, 3);
    EXPECT_EQ(fresh->channels[0].Number, 201);
    EXPECT_EQ(fresh->channels[1].Number, 202);
    EXPECT_EQ(fresh->channels[1].ScanSkip, 1);
    EXPECT_EQ(fresh->channels[2].Number, 203);
}

TEST_F(ChannelCodec, DecodedListIsInSlotOrder)
{
    addChannel(203);
    addChannel(150);
    addChannel(2);
    addChannel(201);
    ASSERT_TRUE(encode().ok());
    decode();
    ASSERT_EQ(fresh->body.ChannelCount, 4);
    EXPECT_EQ(fresh->channels[0].Number, 2);
    EXPECT_EQ(fresh->channels[1].Number, 150);
    EXPECT_EQ(fresh->channels[2].Number, 201);
    EXPECT_EQ(fresh->channels[3].Number, 203);
}

TEST_F(ChannelCodec, VfoOnlyImageGivesOneChannel)
{
    put(0x02C0, {0x01, 0x45, 0x00, 0x00});
    decode();
    ASSERT_EQ(fresh->body.ChannelCount, 1);
    EXPECT_EQ(fresh->channels[0].Number, 203);
    EXPECT_EQ(fresh->channels[0].RxFrequency.str(), "014500000");
}

TEST_F(ChannelCodec, SlotsWithoutReceiveFrequencyOrPresentBitAreEmpty)
{
    put(0x02C0, {0xFF, 0xFF, 0xFF, 0xFF});
    // Slot 3 is marked present but holds no receive frequency.
    image[0x0100] = 0xFF & ~(1 << 3);
    put(0x2000 + 3 * 32, {0xFF, 0xFF, 0xFF, 0xFF});
    // Slot 9 holds a frequency but its present bit is set.
    put(0x2000 + 9 * 32, {0x01, 0x45, 0x00, 0x00});
    // Slot 10 is present, its receive bytes are not decimal.
    image[0x0101] = 0xFF & ~(1 << 2);
    put(0x2000 + 10 * 32, {0x01, 0x4A, 0x00, 0x00});
    decode();
    EXPECT_EQ(fresh->body.ChannelCount, 0);
}

TEST_F(ChannelCodec, DecodingTolerance)
{
    image[0x0100] = 0xF0; // slots 0-3 present
    for (int slot = 0; slot < 4; ++slot) {
        const int a = 0x2000 + 32 * slot;
        put(a, {0x01, 0x45, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x00}); // offset not decimal
        image[a + 10] = static_cast<uint8_t>(slot | 3 << 2);    // direction code = slot, power 3
        put(a + 19, {'A', 0, 'B', ' ', ' ', ' ', ' '});
    }
    put(0x0600, {1, 2, 0x10, 0xFF, 15});
    decode();
    ASSERT_EQ(fresh->body.ChannelCount, 5); // and the VFO, from prefill zeros
    const int16_t directions[] = {0, 0, 1, 2};
    for (int slot = 0; slot < 4; ++slot) {
        const ChannelRecord& c = fresh->channels[slot];
        EXPECT_EQ(c.ShiftDirection, directions[slot]) << slot;
        EXPECT_EQ(c.TxPower, 2);
        EXPECT_EQ(c.Offset.str(), "000000000");
        EXPECT_EQ(c.Name.trimmed(), "A");
    }
    EXPECT_EQ(fresh->channels[0].PttIdCode.str(), "1200F");
    EXPECT_EQ(bytes(0x0600, 5), (V{1, 2, 0, 0, 15})); // corrected in the image too
    EXPECT_EQ(fresh->channels[4].Number, 203);
    EXPECT_EQ(fresh->channels[4].RxFrequency.str(), "000000000");
}

TEST_F(ChannelCodec, NamesAndPttIdCodes)
{
    ChannelRecord& a = addChannel(1);
    a.Name.setPadded("SEVENCH");
    a.PttIdCode.setPadded("12");
    addChannel(2).Name.setTerminated("");
    ASSERT_TRUE(encode().ok());
    EXPECT_EQ(bytes(0x0600, 5), (V{1, 2, 0, 0, 0}));
    EXPECT_EQ(bytes(0x2000 + 19, 7), (V{'S', 'E', 'V', 'E', 'N', 'C', 'H'}));
    EXPECT_EQ(bytes(0x2020 + 19, 7), V(7, 0));
    EXPECT_TRUE(notices.empty());

    decode();
    EXPECT_EQ(fresh->channels[0].Name.str(), "SEVENCH");
    EXPECT_EQ(fresh->channels[0].PttIdCode.str(), "12000");
    EXPECT_EQ(fresh->channels[1].Name.str(), std::string("\0      ", 7));
}

TEST_F(ChannelCodec, OverlongNameIsCutWithANotice)
{
    ImageWriter entry(image, imagemap::ChannelEntry(0));
    PutChannelName(entry, "EIGHTCHR", notices);
    EXPECT_EQ(bytes(0x2000 + 19, 8), (V{'E', 'I', 'G', 'H', 'T', 'C', 'H', 0}));
    EXPECT_EQ(notices, std::vector<std::string>{"Name is too long!"});
}

TEST_F(ChannelCodec, ChannelNotInUseIsWrittenButNotMarkedPresent)
{
    addChannel(3).InUse = 0;
    ASSERT_TRUE(encode().ok());
    EXPECT_EQ(bytes(0x2040, 2), (V{0x01, 0x45}));
    EXPECT_EQ(image[0x0100], 0xFF);
}

TEST_F(ChannelCodec, BandLimits)
{
    cp.body.Band = BandPlan{136.0, 173.9975, 400.0125, 4.5};
    ASSERT_TRUE(encode().ok());
    EXPECT_EQ(bytes(0x0200, 16), (V{0x01, 0x36, 0x00, 0x00, 0x01, 0x73, 0x99, 0x75, 0x04, 0x00, 0x01, 0x25,
                                    0x00, 0x04, 0x50, 0x00}));
    decode();
    EXPECT_EQ(fresh->body.Band, cp.body.Band);

    put(0x0200, {0x01, 0x3A, 0, 0});
    put(0x0204, {0xFF, 0xFF, 0xFF, 0xFF});
    put(0x020C, {0x00, 0x00, 0x0F, 0x00});
    decode();
    EXPECT_EQ(fresh->body.Band.RxLow, 100.0);
    EXPECT_EQ(fresh->body.Band.RxHigh, 500.0);
    EXPECT_EQ(fresh->body.Band.TxLow, 400.0125);
    EXPECT_EQ(fresh->body.Band.TxHigh, 500.0);
}

TEST_F(ChannelCodec, ConversionErrorsNameTheChannelAndField)
{
    struct Case {
        const char* what;
        void (*spoil)(ChannelRecord&);
        const char* detailPart;
    };
    const Case cases[] = {
        {"frequency", [](ChannelRecord& c) { c.RxFrequency.setPadded("01A5G0000"); }, "receive frequency"},
        {"offset", [](ChannelRecord& c) { c.Offset.setPadded("00 060000"); }, "offset"},
        {"byte", [](ChannelRecord& c) { c.Step = 256; }, "Step 256"},
        {"negative", [](ChannelRecord& c) { c.TxCtcss = -1; }, "TxCtcss -1"},
        {"bits", [](ChannelRecord& c) { c.Bandwidth = 4; }, "Bandwidth 4"},
        {"flag", [](ChannelRecord& c) { c.TxInhibit = 2; }, "TxInhibit 2"},
        {"dcs", [](ChannelRecord& c) { c.RxDcsCode = 512; }, "RxDcsCode 512"},
        {"direction", [](ChannelRecord& c) { c.ShiftDirection = 3; }, "ShiftDirection 3"},
        {"ptt id", [](ChannelRecord& c) { c.PttIdCode.setPadded("1X"); }, "PTT-ID code"},
    };
    for (const Case& k : cases) {
        SetUp();
        cp.body.ChannelCount = 0;
        addChannel(1);
        k.spoil(addChannel(5));
        addChannel(9);
        const auto result = encode();
        ASSERT_FALSE(result.ok()) << k.what;
        EXPECT_EQ(result.error().message, "SetCommDataByFrequencyError");
        EXPECT_NE(result.error().detail.find("channel 4 (Number 5)"), std::string::npos) << result.error().detail;
        EXPECT_NE(result.error().detail.find(k.detailPart), std::string::npos) << result.error().detail;
        // Nothing of the bad channel or those after it was written.
        EXPECT_EQ(bytes(0x2080, 31), V(31, 0)) << k.what;
        EXPECT_EQ(image[0x2100], 0) << k.what;
        EXPECT_EQ(image[0x0100], 0xFE) << k.what;
    }

    SetUp();
    cp.body.ChannelCount = 0;
    addChannel(204);
    const auto badNumber = encode();
    ASSERT_FALSE(badNumber.ok());
    EXPECT_NE(badNumber.error().detail.find("Number 204"), std::string::npos);

    cp.body.ChannelCount = 0;
    cp.body.Band.TxHigh = 10000.0;
    const auto badLimit = encode();
    ASSERT_FALSE(badLimit.ok());
    EXPECT_NE(badLimit.error().detail.find("TxHigh"), std::string::npos);
}

TEST_F(ChannelCodec, EmptyReceiveFrequencyIsSentAsNone)
{
    addChannel(4).RxFrequency.setTerminated("");
    ASSERT_TRUE(encode().ok());
    EXPECT_EQ(bytes(0x2060, 4), V(4, 0xFF));
    decode();
    EXPECT_EQ(fresh->body.ChannelCount, 1); // only the VFO from prefill
}

TEST_F(ChannelCodec, UncarriedFieldsComeFromTheListPosition)
{
    addChannel(12);
    ASSERT_TRUE(encode().ok());
    auto target = std::make_unique<Codeplug>();
    target->channels[0].ExtraDisplay = 2;
    target->channels[0].Reserved3 = 9;
    target->channels[0].Name.setPadded("OLD");
    ParseChannels(image, *target);
    EXPECT_EQ(target->channels[0].Number, 12);
    EXPECT_EQ(target->channels[0].ExtraDisplay, 2);
    EXPECT_EQ(target->channels[0].Reserved3, 9);
    EXPECT_EQ(target->channels[0].Name.trimmed(), "");
}

} // namespace
