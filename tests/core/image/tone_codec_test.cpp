#include "image/five_tone_codec.h"
#include "image/two_tone_codec.h"

#include "image_test_support.h"

using namespace qtx;
using qtx::testing::ImageTest;
using V = std::vector<int>;

namespace {

class TwoToneCodec : public ImageTest {
protected:
    TwoToneSettings& t = cp.body.Settings.TwoTone;
};

TEST_F(TwoToneCodec, HeaderByteOrder)
{
    t.OwnFirstTone = 0x0C91;
    t.OwnSecondTone = 0x2441;
    t.OwnFirstDivider = 0x3A48;
    t.OwnSecondDivider = 0x1434;
    t.OwnFormat = 14;
    t.Timer = 250;
    t.DecodeResponse = 2;
    t.SideTone = 1;
    t.ToneA = 0x0C91;
    t.ToneB = 0x4FD6;
    t.ToneC = 0x0102;
    t.ToneD = 0xFFFE;
    t.Duration1 = 5;
    t.Duration2 = 6;
    t.Duration3 = 100;
    t.Delay = 20;
    ASSERT_TRUE(SetCommDataBy2Tone(t, image).ok());
    EXPECT_EQ(bytes(0x0300, 24), (V{0x91, 0x0C, 0x41, 0x24, 0x48, 0x3A, 0x34, 0x14, 2,    5,    6,    100,
                                    20,   250,  1,    14,   0x0C, 0x91, 0x4F, 0xD6, 0x01, 0x02, 0xFF, 0xFE}));
    TwoToneSettings back;
    ParseTwoTone(image, back);
    back.Entries = t.Entries;
    EXPECT_EQ(back, t);

    image[0x030F] = 20;
    ParseTwoTone(image, back);
    EXPECT_EQ(back.OwnFormat, 0);
}

TEST_F(TwoToneCodec, Entries)
{
    TwoToneEntry& e = t.Entries[2];
    e.Empty = 0;
    e.FirstDivider = 0x3A48;
    e.SecondDivider = 0x1434;
    e.FirstTone = 0x0C91;
    e.SecondTone = 0x2441;
    e.Name.setTerminated("AB");
    t.Entries[0].Empty = 1;
    t.Entries[0].Name.setTerminated("");
    t.Entries[31].Empty = 0;
    ASSERT_TRUE(SetCommDataBy2Tone(t, image).ok());
    EXPECT_EQ(bytes(0x0B20, 15), (V{0x48, 0x3A, 0x34, 0x14, 0x91, 0x0C, 0x41, 0x24, 0x41, 0x42, 0x20, 0x20, 0x20,
                                    0x20, 0x20}));
    EXPECT_EQ(bytes(0x0B08, 7), V(7, 0));
    EXPECT_EQ(bytes(0x0380, 4), (V{0xFB, 0xFF, 0xFF, 0x7F}));

    TwoToneSettings back;
    ParseTwoTone(image, back);
    EXPECT_EQ(back.Entries[2].Empty, 0);
    EXPECT_EQ(back.Entries[2].FirstDivider, 0x3A48);
    EXPECT_EQ(back.Entries[2].SecondTone, 0x2441);
    EXPECT_EQ(back.Entries[2].Name.str(), "AB     ");
    EXPECT_EQ(back.Entries[0].Empty, 1);
    EXPECT_EQ(back.Entries[0].Name.str(), std::string("\0      ", 7));
    EXPECT_EQ(back.Entries[31].Empty, 0);

    put(0x0B18, {'X', 0xFF, 'Y', 0, 0, 0, 0});
    ParseTwoTone(image, back);
    EXPECT_EQ(back.Entries[1].Name.str(), std::string("X\0     ", 7));
}

class FiveToneCodec : public ImageTest {
protected:
    Result<void> encode() { return SetCommDataBy5Tone(f, cp.body.FiveToneCodeFormat, image); }
    FiveToneSettings parsed()
    {
        FiveToneSettings back;
        uint8_t format = 0;
        ParseFiveTone(image, back, format);
        parsedFormat = format;
        return back;
    }
    FiveToneSettings& f = cp.body.Settings.FiveTone;
    uint8_t parsedFormat = 0;
};

TEST_F(FiveToneCodec, CallEntryCode)
{
    FiveToneCode& call = f.CallList[3];
    call.Empty = 0;
    call.Standard = 4;
    call.Code.setTerminated("123");
    call.CodeLength = 5;
    call.ToneLength = 70;
    call.Name.setTerminated("AB");
    ASSERT_TRUE(encode().ok());
    const int p = 0x0D00 + 3 * 32;
    EXPECT_EQ(bytes(p + 1, 6), (V{4, 5, 7, 0x12, 0x3E, 0xEE}));
    EXPECT_EQ(image[p + 7], 0);
    EXPECT_EQ(bytes(p + 24, 8), (V{'A', 'B', ' ', ' ', ' ', ' ', ' ', 0}));

    const FiveToneSettings back = parsed();
    EXPECT_EQ(back.CallList[3].Code.trimmed(), "123EE");
    EXPECT_EQ(back.CallList[3].CodeLength, 5);
    EXPECT_EQ(back.CallList[3].Standard, 4);
    EXPECT_EQ(back.CallList[3].ToneLength, 70);
    EXPECT_EQ(back.CallList[3].Name.trimmed(), "AB");
    EXPECT_EQ(back.CallList[3].Empty, 0);
    EXPECT_EQ(back.CallList[4].Empty, 1);
}

TEST_F(FiveToneCodec, ToneLengthByte)
{
    EXPECT_EQ(ToneLengthToImage(25), 7);
    EXPECT_EQ(ToneLengthToImage(120), 7);
    EXPECT_EQ(ToneLengthToImage(30), 3);
    EXPECT_EQ(ToneLengthToImage(100), 10);
    EXPECT_EQ(ToneLengthFromImage(0x0A), 100);
    EXPECT_EQ(ToneLengthFromImage(0x02), 70);
    EXPECT_EQ(ToneLengthFromImage(0x03), 30);
    EXPECT_EQ(ToneLengthFromImage(0x0B), 70);

    f.ToneLength = 120;
    f.PttIdEnd.ToneLength = 25;
    ASSERT_TRUE(encode().ok());
    EXPECT_EQ(image[0x0324], 7);
    EXPECT_EQ(image[0x0373], 7);
    EXPECT_EQ(parsed().ToneLength, 70);
}

TEST_F(FiveToneCodec, OwnId)
{
    f.OwnCode.setPadded("12345");
    f.OwnIdLength = 5;
    ASSERT_TRUE(encode().ok());
    EXPECT_EQ(bytes(0x0323, 7), (V{5, 7, 1, 2, 3, 4, 5}));
    EXPECT_EQ(parsed().OwnCode.str(), std::string("12345\0", 6));

    f.OwnIdLength = 3;
    ASSERT_TRUE(encode().ok());
    EXPECT_EQ(bytes(0x0325, 5), (V{1, 2, 3, 0, 0}));
    EXPECT_EQ(parsed().OwnCode.trimmed(), "123");

    // The radio may claim more digits than the five bytes hold.
    image[0x0323] = 9;
    put(0x0325, {1, 2, 3, 4, 5});
    image[0x032A] = 6;
    EXPECT_EQ(parsed().OwnCode.trimmed(), "12345");

    f.OwnCode.setTerminated("12");
    f.OwnIdLength = 5;
    const auto r = encode();
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.error().message, "SetCommDataBy5ToneError");
    EXPECT_NE(r.error().detail.find("own ID"), std::string::npos);
}

TEST_F(FiveToneCodec, HeaderPlaces)
{
    f.HeaderReserved = 9;
    f.DecodeResponse = 2;
    f.Standard = 13;
    f.Setting60307 = 250;
    f.Setting60081 = 1;
    f.Setting60308 = 255;
    f.Setting60309 = 75;
    f.FirstDigitDelay = 11;
    f.PauseTime = 12;
    f.PauseCode = 15;
    f.FirstCodeDelay = 14;
    f.SideTone = 1;
    f.Value6 = 16;
    cp.body.FiveToneCodeFormat = 150;
    image[0x032A] = 0x5A;
    ASSERT_TRUE(encode().ok());
    EXPECT_EQ(bytes(0x0320, 22), (V{9, 2, 13, 0, 7, 0, 0, 0, 0, 0, 0x5A, 1, 255, 75, 250, 11, 1, 16, 15, 12, 0x96,
                                    14}));
    const FiveToneSettings back = parsed();
    EXPECT_EQ(parsedFormat, 150);
    EXPECT_EQ(back.HeaderReserved, 9);
    EXPECT_EQ(back.Setting60307, 250);
    EXPECT_EQ(back.Setting60309, 75);
    EXPECT_EQ(back.PauseCode, 15);
    EXPECT_EQ(back.Value6, 16);
    EXPECT_EQ(back.FirstCodeDelay, 14);

    f.PauseTime = 256;
    const auto r = encode();
    ASSERT_FALSE(r.ok());
    EXPECT_NE(r.error().detail.find("PauseTime 256"), std::string::npos);
}

TEST_F(FiveToneCodec, InformationCodes)
{
    FiveToneInfoCode& info = f.InfoCodes[1];
    info.DecodeFunction = 3;
    info.DecodeResponse = 1;
    info.Code.setTerminated("12");
    info.CodeLength = 4;
    info.Name.setTerminated("KILL");
    ASSERT_TRUE(encode().ok());
    const int q = 0x0520;
    EXPECT_EQ(bytes(q, 8), (V{3, 1, 4, 0x01, 0x02, 0x0E, 0x0E, 0}));
    EXPECT_EQ(bytes(q + 16, 8), (V{'K', 'I', 'L', 'L', 0, 0, 0, 0}));

    FiveToneSettings back = parsed();
    EXPECT_EQ(back.InfoCodes[1].Code.trimmed(), "12EE");
    EXPECT_EQ(back.InfoCodes[1].Name.trimmed(), "KILL");

    // 0xFF reads as 0; a digit byte above 15 gives two digits; an empty
    // name keeps what the record held.
    put(0x0500, {0xFF, 0xFF, 3, 0x1F, 0x02, 0x03});
    put(0x0510, {0, 'X', 'Y'});
    FiveToneSettings keep;
    keep.InfoCodes[0].Name.setTerminated("OLD");
    uint8_t format = 0;
    ParseFiveTone(image, keep, format);
    EXPECT_EQ(keep.InfoCodes[0].DecodeFunction, 0);
    EXPECT_EQ(keep.InfoCodes[0].DecodeResponse, 0);
    EXPECT_EQ(keep.InfoCodes[0].Code.trimmed(), "1F2");
    EXPECT_EQ(keep.InfoCodes[0].Name.trimmed(), "OLD");

    image[0x0502] = 0xFF;
    ParseFiveTone(image, keep, format);
    EXPECT_EQ(keep.InfoCodes[0].CodeLength, 0);
}

TEST_F(FiveToneCodec, CallListBitmap)
{
    f.CallList[9].Empty = 0;
    ASSERT_TRUE(encode().ok());
    EXPECT_EQ(image[0x0391], 0xFD);
    EXPECT_EQ(image[0x0390], 0xFF);

    image[0x0390] = 0xFE;
    image[0x0391] = 0xFF;
    const FiveToneSettings back = parsed();
    EXPECT_EQ(back.CallList[0].Empty, 0);
    for (int k = 1; k < 8; ++k)
        EXPECT_EQ(back.CallList[k].Empty, 1) << k;
    EXPECT_EQ(back.CallList[9].Empty, 1);
}

TEST_F(FiveToneCodec, PttIdCodes)
{
    f.PttIdBegin.Code.setTerminated("E612345");
    f.PttIdBegin.CodeLength = 7;
    f.PttIdBegin.Standard = 15;
    f.PttIdBegin.ToneLength = 40;
    f.PttIdEnd.Code.setPadded("123456789012345678901234");
    f.PttIdEnd.CodeLength = 24;
    ASSERT_TRUE(encode().ok());
    EXPECT_EQ(bytes(0x0360, 8), (V{0, 15, 7, 4, 0xE6, 0x12, 0x34, 0x5E}));
    EXPECT_EQ(image[0x037F], 0x34);

    FiveToneSettings back;
    back.PttIdBegin.Empty = 0;
    back.PttIdBegin.Name.setPadded("KEEP");
    uint8_t format = 0;
    ParseFiveTone(image, back, format);
    EXPECT_EQ(back.PttIdBegin.Code.trimmed(), "E612345");
    EXPECT_EQ(back.PttIdBegin.ToneLength, 40);
    EXPECT_EQ(back.PttIdBegin.Empty, 0);
    EXPECT_EQ(back.PttIdBegin.Name.trimmed(), "KEEP");
    EXPECT_EQ(back.PttIdEnd.Code.str().substr(0, 24), "123456789012345678901234");
}

TEST_F(FiveToneCodec, CodesNeverReachIntoTheNextArea)
{
    // Lengths a radio may report beyond an area's room are cut to it.
    image[0x0362] = 30;
    put(0x0370, {0xAB, 0xCD});
    image[0x0502] = 20;
    image[0x0D02] = 200;
    FiveToneSettings back = parsed();
    EXPECT_EQ(back.PttIdBegin.CodeLength, 24);
    EXPECT_EQ(back.PttIdBegin.Code.trimmed(), std::string(24, '0'));
    EXPECT_EQ(back.InfoCodes[0].CodeLength, 12);
    EXPECT_EQ(back.CallList[0].CodeLength, 40);
    EXPECT_EQ(back.CallList[0].Code.str(), std::string(40, '0'));

    // Such lengths are refused when writing, leaving the next area alone.
    PrefillImage(image);
    f.PttIdBegin.CodeLength = 25;
    f.PttIdBegin.Code.setPadded(std::string(25, '1'));
    auto r = encode();
    ASSERT_FALSE(r.ok());
    EXPECT_NE(r.error().detail.find("PttIdBegin code length 25"), std::string::npos) << r.error().detail;
    EXPECT_EQ(image[0x0370], 0);

    f.PttIdBegin.CodeLength = 0;
    f.InfoCodes[7].CodeLength = 13;
    r = encode();
    ASSERT_FALSE(r.ok());
    EXPECT_NE(r.error().detail.find("information code 8"), std::string::npos) << r.error().detail;

    f.InfoCodes[7].CodeLength = 0;
    f.CallList[99].CodeLength = 41;
    r = encode();
    ASSERT_FALSE(r.ok());
    EXPECT_NE(r.error().detail.find("call entry 99"), std::string::npos) << r.error().detail;
}

TEST_F(FiveToneCodec, NonHexadecimalCodesFail)
{
    f.CallList[5].Code.setTerminated("12X45");
    f.CallList[5].CodeLength = 5;
    const auto r = encode();
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.error().message, "SetCommDataBy5ToneError");
    EXPECT_NE(r.error().detail.find("call entry 5"), std::string::npos) << r.error().detail;
    EXPECT_EQ(bytes(0x0D00 + 5 * 32, 8), V(8, 0));
}

// The composer stores ANI and PTT-ID calls with "SelfID" standing for the
// own ID; the radio gets the own ID's digits in its place.
class FiveToneSelfId : public FiveToneCodec {
protected:
    void SetUp() override
    {
        FiveToneCodec::SetUp();
        setOwnId("67890");
    }
    void setOwnId(const std::string& id)
    {
        f.OwnCode.setTerminated(id);
        f.OwnIdLength = static_cast<uint8_t>(id.size());
    }
    static void setCode(FiveToneCode& c, const std::string& code)
    {
        c.Empty = 0;
        c.Code.setTerminated(code);
        c.CodeLength = static_cast<uint8_t>(code.size());
    }
    std::vector<int> call(int k, int count) const { return bytes(0x0D00 + 32 * k + 2, count); }
};

TEST_F(FiveToneSelfId, MarkedCodesGoOutWithTheOwnIdDigits)
{
    setCode(f.CallList[3], "12345BSelfID");
    setCode(f.CallList[0], "E6SelfID");
    setCode(f.CallList[4], "12345SelfID");
    setCode(f.PttIdBegin, "E6SelfID");
    ASSERT_TRUE(encode().ok());
    EXPECT_EQ(call(3, 8), (V{11, 7, 0x12, 0x34, 0x5B, 0x67, 0x89, 0x0E}));
    EXPECT_EQ(call(0, 6), (V{7, 7, 0xE6, 0xE7, 0x89, 0x0E}));
    EXPECT_EQ(call(4, 7), (V{10, 7, 0x12, 0x34, 0x56, 0x78, 0x90}));
    EXPECT_EQ(bytes(0x0362, 6), (V{7, 7, 0xE6, 0xE7, 0x89, 0x0E}));

    // A radio read gives the ID written out.
    const FiveToneSettings back = parsed();
    EXPECT_EQ(back.CallList[3].Code.trimmed(), "12345B67890");
    EXPECT_EQ(back.CallList[0].Code.trimmed(), "E6E7890");
}

TEST(FiveToneResolveSelfId, RepeatTonesAcrossTheOwnId)
{
    // The own ID's digits repeat each other and the called part's last digit.
    EXPECT_EQ(ResolveSelfId("12345BSelfID", 12, "11111").value(), (SentFiveToneCode{"12345B1E1E1", 11}));
    EXPECT_EQ(ResolveSelfId("12341SelfID", 11, "11111").value(), (SentFiveToneCode{"12341E1E1E", 10}));
}

TEST_F(FiveToneSelfId, RefusedWithoutAFiveDigitOwnId)
{
    setCode(f.CallList[2], "12345BSelfID");
    for (const std::string id : {"", "678"}) {
        setOwnId(id);
        const auto r = encode();
        ASSERT_FALSE(r.ok()) << id;
        EXPECT_EQ(r.error().message, "SetCommDataBy5ToneError");
        EXPECT_NE(r.error().detail.find("call entry 2"), std::string::npos) << r.error().detail;
        EXPECT_NE(r.error().detail.find("\"" + id + "\""), std::string::npos) << r.error().detail;
        EXPECT_EQ(call(2, 4), V(4, 0));
    }
    f.CallList[2] = FiveToneCode{};
    setCode(f.PttIdEnd, "E6SelfID");
    const auto r = encode();
    ASSERT_FALSE(r.ok());
    EXPECT_NE(r.error().detail.find("PttIdEnd"), std::string::npos) << r.error().detail;

    // The mark stands for the own ID only in the form the composer stores:
    // with another code length it is text the radio cannot take.
    setOwnId("67890");
    f.PttIdEnd.CodeLength = 10;
    EXPECT_FALSE(encode().ok());
    EXPECT_EQ(ResolveSelfId("E6SelfID", 10, "67890").value(), (SentFiveToneCode{"E6SelfID", 10}));
}

TEST_F(FiveToneCodec, UserToneTableKeepsAllSixteenBits)
{
    f.UserToneTable[0] = 24000;
    f.UserToneTable[15] = -25584; // 0x9C10
    ASSERT_TRUE(encode().ok());
    EXPECT_EQ(bytes(0x03C0, 2), (V{0xC0, 0x5D}));
    EXPECT_EQ(bytes(0x03DE, 2), (V{0x10, 0x9C}));

    put(0x03C2, {0xFF, 0xFF});
    const FiveToneSettings back = parsed();
    EXPECT_EQ(back.UserToneTable[0], 24000);
    EXPECT_EQ(back.UserToneTable[1], -1);
    EXPECT_EQ(back.UserToneTable[15], -25584);
    f.UserToneTable = back.UserToneTable;
    ASSERT_TRUE(encode().ok());
    EXPECT_EQ(bytes(0x03C2, 2), (V{0xFF, 0xFF}));
}

} // namespace
