#include "image/dtmf_codec.h"

#include "image_test_support.h"

using namespace qtx;
using qtx::testing::ImageTest;
using V = std::vector<int>;

namespace {

class DtmfCodec : public ImageTest {
protected:
    DtmfSettings& d = cp.body.Settings.Dtmf;
    DtmfSettings parsed()
    {
        DtmfSettings back;
        ParseDtmf(image, back);
        return back;
    }
};

TEST_F(DtmfCodec, PttIdCodeIsExtendedWithZerosToItsLength)
{
    d.PttIdBegin.Code.setTerminated("12E");
    d.PttIdBegin.Length = 3;
    ASSERT_TRUE(SetCommDataByDTMF(d, image).ok());
    EXPECT_EQ(bytes(0x0340, 2), (V{0x12, 0xE0}));
    EXPECT_EQ(image[0x034C], 3);
    EXPECT_EQ(parsed().PttIdBegin.Code.str().substr(0, 4), std::string("12E\0", 4));

    PrefillImage(image);
    d.PttIdBegin.Length = 5;
    ASSERT_TRUE(SetCommDataByDTMF(d, image).ok());
    EXPECT_EQ(bytes(0x0340, 4), (V{0x12, 0xE0, 0x00, 0x00}));
    EXPECT_EQ(image[0x034C], 5);
    EXPECT_EQ(parsed().PttIdBegin.Code.trimmed(), "12E00");
}

TEST_F(DtmfCodec, OddLengthKeepsTheNextDigitInTheLowNibble)
{
    d.Codes[2].Code.setTerminated("1234");
    d.Codes[2].Length = 3;
    ASSERT_TRUE(SetCommDataByDTMF(d, image).ok());
    EXPECT_EQ(bytes(0x0420, 3), (V{0x12, 0x34, 0x00}));
    EXPECT_EQ(image[0x042C], 3);
    const DtmfSettings back = parsed();
    EXPECT_EQ(back.Codes[2].Code.trimmed(), "123");
    EXPECT_EQ(back.Codes[2].Length, 3);
}

TEST_F(DtmfCodec, CodesLongerThanTheirAreaAreSentEmpty)
{
    d.KillCode.Code.setPadded("12345678901234");
    d.KillCode.Length = 15;
    d.StunCode.Code.setPadded("12345678901234");
    d.StunCode.Length = 14;
    d.PttIdEnd.Code.setPadded("1");
    d.PttIdEnd.Length = 25;
    ASSERT_TRUE(SetCommDataByDTMF(d, image).ok());
    EXPECT_EQ(image[0x02F7], 0);
    EXPECT_EQ(bytes(0x02F0, 7), V(7, 0));
    EXPECT_EQ(image[0x02FF], 14);
    EXPECT_EQ(bytes(0x02F8, 7), (V{0x12, 0x34, 0x56, 0x78, 0x90, 0x12, 0x34}));
    EXPECT_EQ(image[0x035C], 0);

    // The same rule when reading a radio.
    image[0x02F7] = 15;
    image[0x034C] = 200;
    const DtmfSettings back = parsed();
    EXPECT_EQ(back.KillCode.Length, 0);
    EXPECT_EQ(back.PttIdBegin.Length, 0);
    EXPECT_EQ(back.StunCode.Code.str(), "12345678901234");
}

TEST_F(DtmfCodec, SeparatorAndGroupCode)
{
    d.Separator = 0;
    d.GroupCode = 255;
    ASSERT_TRUE(SetCommDataByDTMF(d, image).ok());
    EXPECT_EQ(image[0x02E0], 14);
    EXPECT_EQ(image[0x02E1], 0xFF);
    EXPECT_EQ(d.Separator, 0); // only the sent value is corrected
    EXPECT_EQ(parsed().GroupCode, 255);

    d.GroupCode = 12;
    ASSERT_TRUE(SetCommDataByDTMF(d, image).ok());
    EXPECT_EQ(image[0x02E1], 12);
    EXPECT_EQ(parsed().GroupCode, 12);

    image[0x02E1] = 0x07;
    image[0x02E0] = 0x09;
    EXPECT_EQ(parsed().GroupCode, 10);
    EXPECT_EQ(parsed().Separator, 14);
}

TEST_F(DtmfCodec, OutOfRangeBytesAreCorrectedInTheImageToo)
{
    image[0x02E2] = 5;
    image[0x02E4] = 251;
    image[0x02E3] = 99;
    const DtmfSettings back = parsed();
    EXPECT_EQ(back.DecodeResponse, 0);
    EXPECT_EQ(back.FirstDigitDelay, 0);
    EXPECT_EQ(back.PreSendDelay, 99);
    EXPECT_EQ(image[0x02E2], 0);
    EXPECT_EQ(image[0x02E4], 0);

    d.DecodeResponse = 3;
    d.FirstDigitDelay = 251;
    ASSERT_TRUE(SetCommDataByDTMF(d, image).ok());
    EXPECT_EQ(image[0x02E2], 0);
    EXPECT_EQ(image[0x02E4], 0);
}

TEST_F(DtmfCodec, OwnId)
{
    put(0x02E7, {1, 2, 10});
    EXPECT_EQ(parsed().OwnId.str(), "000");
    put(0x02E7, {1, 2, 3});
    EXPECT_EQ(parsed().OwnId.str(), "123");

    // A short ID keeps its value: padded on the left, and kept that way.
    const std::pair<const char*, const char*> cases[] = {{"7", "007"}, {"12", "012"}, {"", "000"}, {"A", "000"},
                                                         {"345", "345"}};
    for (const auto& [typed, sent] : cases) {
        d.OwnId.setTerminated(typed);
        ASSERT_TRUE(SetCommDataByDTMF(d, image).ok()) << typed;
        EXPECT_EQ(bytes(0x02E7, 3), (V{sent[0] - '0', sent[1] - '0', sent[2] - '0'})) << typed;
        EXPECT_EQ(d.OwnId.str(), sent);
    }

    d.OwnId.setPadded("1.5");
    const auto r = SetCommDataByDTMF(d, image);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.error().message, "SetCommDataByDTMFError");
    EXPECT_EQ(d.OwnId.str(), "1.5");
}

TEST_F(DtmfCodec, BadValuesFailNamingTheField)
{
    d.Codes[2].Code.setTerminated("12G");
    d.Codes[2].Length = 3;
    auto r = SetCommDataByDTMF(d, image);
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.error().message, "SetCommDataByDTMFError");
    EXPECT_NE(r.error().detail.find("code M3"), std::string::npos) << r.error().detail;

    d.Codes[2].Length = 0;
    d.PostSendDelay = 300;
    r = SetCommDataByDTMF(d, image);
    ASSERT_FALSE(r.ok());
    EXPECT_NE(r.error().detail.find("PostSendDelay 300"), std::string::npos);

    d.PostSendDelay = 20;
    d.StunCode.Length = -1;
    EXPECT_FALSE(SetCommDataByDTMF(d, image).ok());
}

TEST_F(DtmfCodec, ValuePlaces)
{
    d.PreSendDelay = 11;
    d.FirstDigitDelay = 12;
    d.ResetTime = 13;
    d.SideTone = 1;
    d.PostSendDelay = 14;
    d.PauseTime = 75;
    d.DecodeResponse = 2;
    image[0x02E6] = 0x5A;
    ASSERT_TRUE(SetCommDataByDTMF(d, image).ok());
    EXPECT_EQ(bytes(0x02E0, 16), (V{14, 10, 2, 11, 12, 13, 0x5A, 0, 0, 0, 0, 0, 0, 1, 14, 75}));
    const DtmfSettings back = parsed();
    EXPECT_EQ(back.PreSendDelay, 11);
    EXPECT_EQ(back.ResetTime, 13);
    EXPECT_EQ(back.SideTone, 1);
    EXPECT_EQ(back.PauseTime, 75);
}

TEST_F(DtmfCodec, DecodingKeepsValuesCarriedElsewhere)
{
    DtmfSettings back;
    back.Ani = 1;
    back.SendTime = 4;
    back.PttIdMode = 2;
    ParseDtmf(image, back);
    EXPECT_EQ(back.Ani, 1);
    EXPECT_EQ(back.SendTime, 4);
    EXPECT_EQ(back.PttIdMode, 2);
}

class CommBookCodec : public ImageTest {
protected:
    CommBook& book = cp.body.Book;
};

TEST_F(CommBookCodec, CallIdsAndNames)
{
    book[0].CallId.setTerminated("12");
    book[1].CallId.setTerminated("AB");
    book[2].CallId.setPadded("12345");
    book[0].Name.setTerminated("JOE");
    book[127].Name.setPadded("SEVENCH");
    ASSERT_TRUE(SetCommDataByDTMFCommuBook(book, image).ok());
    EXPECT_EQ(bytes(0x1980, 5), (V{0x31, 0x32, 0, 0, 0}));
    EXPECT_EQ(bytes(0x1985, 5), V(5, 0));
    EXPECT_EQ(bytes(0x198A, 5), (V{'1', '2', '3', '4', '5'}));
    EXPECT_EQ(bytes(0x1C00, 8), (V{'J', 'O', 'E', 0, 0, 0, 0, 0}));
    EXPECT_EQ(bytes(0x1FF8, 8), (V{'S', 'E', 'V', 'E', 'N', 'C', 'H', 0}));

    auto back = std::make_unique<CommBook>();
    (*back)[5].Index = 99;
    ParseCommBook(image, *back);
    EXPECT_EQ((*back)[0].CallId.trimmed(), "12");
    EXPECT_EQ((*back)[1].CallId.trimmed(), "");
    EXPECT_EQ((*back)[2].CallId.str(), "12345");
    EXPECT_EQ((*back)[0].Name.trimmed(), "JOE");
    EXPECT_EQ((*back)[127].Name.str(), "SEVENCH");
    EXPECT_EQ((*back)[5].Index, 5);
}

TEST_F(CommBookCodec, NameDecoding)
{
    put(0x1C00, {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'});
    put(0x1C08, {'X', 'Y', 0xFF, 'Z', 0, 0, 0, 0});
    put(0x1C10, {'P', ' ', 0, 'Q', 0, 0, 0, 0});
    put(0x198F, {'1', 0x80, 0xFF, 0, 0});
    CommBook back;
    ParseCommBook(image, back);
    EXPECT_EQ(back[0].Name.str(), "ABCDEFG");
    EXPECT_EQ(back[1].Name.str(), std::string("XY\0    ", 7));
    EXPECT_EQ(back[2].Name.trimmed(), "P ");
    EXPECT_EQ(back[3].CallId.str(), std::string("1\x80\xFF\0\0", 5)); // every byte as it is
}

} // namespace
