#include "image/image_access.h"
#include "image/image_codec.h"
#include "image/image_map.h"

#include "image_test_support.h"

#include <stdexcept>

using namespace qtx;
using qtx::testing::ImageTest;
using V = std::vector<int>;

namespace {

class ImageCodec : public ImageTest {
protected:
    void SetUp() override
    {
        ImageTest::SetUp();
        // Something recognisable in every block, so a skipped step shows.
        RadioSettings& s = cp.body.Settings;
        s.Keys.Keys[0] = 4;
        s.Scan.ScanType = 2;
        s.Emergency.AlarmType = 3;
        addChannel(1);
        addChannel(203);
        s.Options.Item1702 = 1;
        s.FiveTone.Standard = 5;
        s.TwoTone.OwnFormat = 6;
        s.Dtmf.Separator = 11;
        cp.body.Book[0].CallId.setTerminated("7");
    }

    // Which steps reached the image.
    std::vector<bool> written() const
    {
        return {image[0x01F0] == 4, image[0x03B7] == 2, image[0x03A0] == 3, image[0x2000] == 0x01,
                image[0x0220] == 1, image[0x0322] == 5, image[0x030F] == 6, image[0x02E0] == 11,
                image[0x1980] == '7'};
    }
};

TEST_F(ImageCodec, FullBuildWritesEveryStep)
{
    std::fill(image.begin(), image.end(), 0xAA);
    const BuildReport report = BuildImage(cp, image);
    ASSERT_TRUE(report.ok());
    EXPECT_TRUE(report.notices.empty());
    EXPECT_EQ(written(), std::vector<bool>(9, true));
    // Built on a prefilled image: bytes 0-15 kept, bitmaps of absent entries set.
    EXPECT_EQ(image[0x000F], 0xAA);
    EXPECT_EQ(image[0x0010], 0x00);
    EXPECT_EQ(image[0x0100], 0xFE);
    EXPECT_EQ(bytes(0x0101, 31), V(31, 0xFF));
    EXPECT_EQ(bytes(0x0381, 3), V(3, 0xFF)); // 2-tone entries 8-31 empty
    EXPECT_EQ(image[0x0380], 0xFE);          // entry 1 (index 0) in use by default
    EXPECT_EQ(bytes(0x0390, 13), V(13, 0xFF));
}

TEST_F(ImageCodec, AFailingStepStopsTheBuild)
{
    struct Case {
        const char* message;
        void (*spoil)(Codeplug&);
        int stepsWritten;
    };
    const Case cases[] = {
        {"SetCommDataByFrequencyError", [](Codeplug& c) { c.channels[0].RxFrequency.setPadded("01X500000"); }, 3},
        {"SetCommDataByOptionError", [](Codeplug& c) { c.body.Settings.Options.Item1719 = 300; }, 4},
        {"SetCommDataBy5ToneError", [](Codeplug& c) { c.body.Settings.FiveTone.SideTone = -1; }, 5},
        {"SetCommDataByDTMFError", [](Codeplug& c) { c.body.Settings.Dtmf.PauseTime = 999; }, 7},
    };
    for (const Case& k : cases) {
        cp = Codeplug();
        SetUp();
        k.spoil(cp);
        const BuildReport report = BuildImage(cp, image);
        ASSERT_FALSE(report.ok()) << k.message;
        EXPECT_EQ(report.result.error().message, k.message);
        EXPECT_FALSE(report.result.error().detail.empty());
        std::vector<bool> expected(9, false);
        std::fill_n(expected.begin(), k.stepsWritten, true);
        EXPECT_EQ(written(), expected) << k.message;
    }
}

TEST_F(ImageCodec, UnconvertibleChannelStopsAtStepFourNamingIt)
{
    addChannel(6, "0144Z0000");
    const BuildReport report = BuildImage(cp, image);
    ASSERT_FALSE(report.ok());
    EXPECT_EQ(report.result.error().message, "SetCommDataByFrequencyError");
    EXPECT_NE(report.result.error().detail.find("channel 5 (Number 6)"), std::string::npos);
    EXPECT_NE(report.result.error().detail.find("0144Z0000"), std::string::npos);
    // Channels before it stay written; nothing from the options on is.
    EXPECT_EQ(image[0x2000], 0x01);
    EXPECT_EQ(image[0x02C0], 0x01);
    EXPECT_EQ(image[0x0220], 0);
    EXPECT_EQ(image[0x0322], 0);
    EXPECT_EQ(image[0x02E0], 0);
}

TEST_F(ImageCodec, BuildFixesUpTheLiveRecordOnlyWhereTheCodecOwnsIt)
{
    cp.channels[0].TxDcsCode = 300;
    cp.channels[0].TxDcsHigh = 0;
    cp.body.Settings.Dtmf.OwnId.setTerminated("5");
    ASSERT_TRUE(BuildImage(cp, image).ok());
    EXPECT_EQ(cp.channels[0].TxDcsHigh, 1);
    EXPECT_EQ(cp.body.Settings.Dtmf.OwnId.str(), "005");
}

TEST_F(ImageCodec, ParseImageDecodesEveryBlock)
{
    ASSERT_TRUE(BuildImage(cp, image).ok());
    auto back = std::make_unique<Codeplug>();
    back->body.ChannelCount = 7; // whatever the caller left, decoding starts over
    ParseImage(image, *back);
    EXPECT_EQ(back->body.ChannelCount, 2);
    EXPECT_EQ(back->channels[0].Number, 1);
    EXPECT_EQ(back->channels[1].Number, 203);
    const RadioSettings& s = back->body.Settings;
    EXPECT_EQ(s.Keys.Keys[0], 4);
    EXPECT_EQ(s.Scan.ScanType, 2);
    EXPECT_EQ(s.Emergency.AlarmType, 3);
    EXPECT_EQ(s.Options.Item1702, 1);
    EXPECT_EQ(s.FiveTone.Standard, 5);
    EXPECT_EQ(s.TwoTone.OwnFormat, 6);
    EXPECT_EQ(s.Dtmf.Separator, 11);
    EXPECT_EQ(back->body.Book[0].CallId.trimmed(), "7");
}

TEST_F(ImageCodec, EmbeddedInformation)
{
    const char serial[] = "SN-0042";
    std::copy(serial, serial + 7, image.begin() + 0x0020);
    put(0x0019, {'0', '8', 0xFF, '9'});
    put(0x0040, {'B', 'A', 'T', 'C', 'H', '0', '0', '1'});
    put(0x0048, {'C', 'U', ' ', ' '});
    put(0x0090, {'M', 'r', ' ', 'X', 0, 'Y'});
    std::fill(image.begin() + 0x00A0, image.begin() + 0x0100, 'd');
    put(0x004C, {'1', '2', '3', '4'}); // the radio password is not shown

    const EmbeddedInfo info = ParseEmbeddedInfo(image);
    EXPECT_EQ(info.AreaCode, "08");
    EXPECT_EQ(info.SerialNumber, "SN-0042");
    EXPECT_EQ(info.ProductionDate, "");
    EXPECT_EQ(info.ManufactureCode, "BATCH001");
    EXPECT_EQ(info.UserCode, "CU");
    EXPECT_EQ(info.Seller, "Mr X");
    EXPECT_EQ(info.Description, std::string(96, 'd'));
    EXPECT_EQ(info.Version, "V1.00");

    EmbeddedInfo held;
    held.Version = "V2.10";
    ParseImage(image, cp, &held);
    EXPECT_EQ(held.SerialNumber, "SN-0042");
    EXPECT_EQ(held.Version, "V2.10");
}

TEST(ImageAccess, NeverReachesOutsideItsBlock)
{
    RadioImage image{};
    ImageWriter w(image, imagemap::kKeys);
    w.setByte(14, 1);
    EXPECT_THROW(w.setByte(15, 1), std::out_of_range);
    EXPECT_THROW(w.setByte(-1, 1), std::out_of_range);
    EXPECT_THROW(w.setU16le(14, 1), std::out_of_range);
    EXPECT_THROW(w.setChars(10, 6, "ABCDEF", 0), std::out_of_range);
    EXPECT_THROW((void)w.hexDigits(8, 8), std::out_of_range);
    EXPECT_THROW(w.setHexDigits(13, "112233"), std::out_of_range);
    EXPECT_EQ(image[0x01EF], 0);
    EXPECT_EQ(image[0x01FF], 0);
    EXPECT_THROW(ImageReader(image, imagemap::Area{0x3FF0, 17}), std::out_of_range);
    EXPECT_THROW(ImageReader(image, imagemap::Area{-1, 4}), std::out_of_range);
}

TEST(ImageAccess, BitsAndDigits)
{
    RadioImage image{};
    ImageWriter w(image, imagemap::Area{0x0100, 4});
    w.setBits(0, 2, 2, 3);
    w.setBit(0, 7, true);
    EXPECT_EQ(image[0x0100], 0x8C);
    EXPECT_EQ(w.bits(0, 2, 2), 3u);
    w.setMapBit(9, true);
    EXPECT_EQ(image[0x0101], 0x02);
    EXPECT_TRUE(w.mapBit(9));
    EXPECT_FALSE(w.mapBit(8));
    EXPECT_TRUE(w.setHexDigits(2, "E0"));
    EXPECT_FALSE(w.setHexDigits(2, "G1"));
    EXPECT_FALSE(w.setHexDigits(2, "1"));
    EXPECT_EQ(w.hexDigits(2, 1), "E0");
    const auto got = w.collect(0, 4, true, false);
    EXPECT_EQ(got.text, "\x8C\x02\xE0");
    EXPECT_TRUE(got.stopped);
}

} // namespace
