#include "convert/bcd.h"
#include "convert/code_text.h"
#include "convert/numeric.h"

#include <gtest/gtest.h>

using namespace qtx;

TEST(Numeric, OnlyPlainDecimalsAreNumbers)
{
    for (const char* yes : {"145", "145.6", " 145.6 ", "-1", "+2.", ".5", "0"})
        EXPECT_TRUE(IsDecimalNumber(yes)) << yes;
    for (const char* no : {"", " ", ".", "1e5", "1D2", "&H10", "1.2.3", "12a", "--1", "0x10", "1,5"})
        EXPECT_FALSE(IsDecimalNumber(no)) << no;
    EXPECT_EQ(ParseDecimal(".5"), 0.5);
    EXPECT_EQ(ParseDecimal("-145.125"), -145.125);
    EXPECT_EQ(ParseDecimal("1e5"), std::nullopt);
    EXPECT_EQ(ParseInteger("2.5"), 2);
    EXPECT_EQ(ParseInteger("3.5"), 4);
    EXPECT_EQ(ParseInteger("99999999999"), std::nullopt);
}

TEST(Numeric, Formatting)
{
    EXPECT_EQ(ShortDecimal(136.0), "136");
    EXPECT_EQ(ShortDecimal(173.9975), "173.9975");
    EXPECT_EQ(FixedDecimal(145.6, 3, 5), "145.60000");
    EXPECT_EQ(FixedDecimal(0.6, 3, 5), "000.60000");
    EXPECT_EQ(FixedDecimal(0.6, 1, 5), "0.60000");
    EXPECT_EQ(FixedDecimal(1234.5, 3, 5), "1234.50000");
}

TEST(Bcd, DigitsToBytes)
{
    EXPECT_EQ(DigitsToBcd("014560000"), (Bcd4{0x01, 0x45, 0x60, 0x00}));
    EXPECT_EQ(DigitsToBcd("FFFFFFFF"), (Bcd4{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(DigitsToBcd("0145"), (Bcd4{0x01, 0x45, 0x00, 0x00}));
    EXPECT_EQ(DigitsToBcd(""), (Bcd4{0, 0, 0, 0}));
    EXPECT_EQ(DigitsToBcd("01 45000"), std::nullopt);
    EXPECT_EQ(DigitsToBcd("0145G000"), std::nullopt);
}

TEST(Bcd, NinthDigitIsRestored)
{
    EXPECT_EQ(BcdToDigits({0x01, 0x45, 0x00, 0x83}, BcdKind::Receive), "014500833");
    EXPECT_EQ(BcdToDigits({0x01, 0x45, 0x00, 0x65}, BcdKind::Receive), "014500650");
    EXPECT_EQ(BcdToDigits({0x01, 0x45, 0x00, 0x62}, BcdKind::Receive), "014500625");
    EXPECT_EQ(BcdToDigits({0x01, 0x45, 0x00, 0x66}, BcdKind::Receive), "014500666");
    EXPECT_EQ(BcdToDigits({0x01, 0x45, 0x00, 0x67}, BcdKind::Receive), "014500675");
    EXPECT_EQ(BcdToDigits({0x01, 0x45, 0x12, 0x50}, BcdKind::Receive), "014512500");
    EXPECT_EQ(BcdToDigits({0xFF, 0xFF, 0xFF, 0xFF}, BcdKind::Receive), "FFFFFFFFF");
    EXPECT_EQ(BcdToDigits({0x00, 0x0A, 0x00, 0x00}, BcdKind::Offset), "000000000");
}

TEST(CodeText, DtmfAndBytes)
{
    EXPECT_EQ(DtmfToShown("12E4F"), "12*4#");
    EXPECT_EQ(DtmfToStored("12*4#"), "12E4F");
    EXPECT_EQ(ByteToHex2(0x0A), "0A");
    EXPECT_EQ(ByteToHex2(0xFF), "FF");
    EXPECT_EQ(ToImageByte(-1), 255);
    EXPECT_EQ(ToImageByte(256), 0);
    EXPECT_EQ(ToImageByte(7), 7);
    EXPECT_EQ(TextToNumber("", 5), 5);
    EXPECT_EQ(TextToNumber("x1", 5), 5);
    EXPECT_EQ(TextToNumber("12", 5), 12);
    EXPECT_EQ(DefaultBandLimit(0), 100.0);
    EXPECT_EQ(DefaultBandLimit(3), 500.0);
    EXPECT_EQ(FileNameOfPath("C:\\a\\b.dat"), "b.dat");
    EXPECT_EQ(FileNameOfPath("/home/u/b.dat"), "b.dat");
    EXPECT_EQ(FileNameOfPath("b.dat"), "b.dat");
}

TEST(CodeText, RepeatEncoding)
{
    EXPECT_EQ(RepeatEncode("11223", "X"), "1E2E3");
    EXPECT_EQ(RepeatEncode("111", "X"), "1E1");
    EXPECT_EQ(RepeatEncode("12345", "1"), "E2345");
    EXPECT_EQ(RepeatEncode("", "X"), "");
    EXPECT_EQ(RepeatEncode("1122   ", "X"), "1E2E");
    // A code starting with E1 keeps positions after 8 as they are.
    EXPECT_EQ(RepeatEncode("E1223344556677", "X"), "E12E3E4E556677");
    // Special call of 11: the function character and the digit after it stay.
    EXPECT_EQ(RepeatEncodeSpecial("11223AA5566"), "1E2E3AA5E6E");
    EXPECT_EQ(RepeatEncodeSpecial("1122334455"), "1E2E3E4E5E");
}

TEST(CodeText, SpecialCodes)
{
    EXPECT_TRUE(IsSpecialCode("9876512345", "12345"));
    EXPECT_TRUE(IsSpecialCode("98765A12345", "12345"));
    EXPECT_FALSE(IsSpecialCode("987659123450", "12345"));
    EXPECT_FALSE(IsSpecialCode("987659123", "12345"));
    EXPECT_FALSE(IsSpecialCode("9876512346", "12345"));
    EXPECT_FALSE(IsSpecialCode("98765912345", "12345")); // sixth not A-F
    EXPECT_TRUE(IsSpecialCode("12345SelfID", ""));
    EXPECT_TRUE(IsSpecialCode("12345ASelfID", ""));
    EXPECT_FALSE(IsSpecialCode("12345GSelfID", ""));
    // The own code repeat-encoded, alone or after the tone before it.
    EXPECT_TRUE(IsSpecialCode("98765" + RepeatEncode("11234", "X"), "11234"));
    EXPECT_TRUE(IsSpecialCode("98761" + RepeatEncode("11234", "1"), "11234"));
    EXPECT_EQ(EncodeFiveToneCode("1122", "12345"), "1E2E");
    EXPECT_EQ(EncodeFiveToneCode("1122312345", "12345"), RepeatEncodeSpecial("1122312345"));
}

TEST(CodeText, ListHelpers)
{
    const TextList empty;
    const TextList list{"a", "b", "c"};
    EXPECT_EQ(ListFindText(empty, "a"), "");
    EXPECT_EQ(ListFindText(list, "c"), "c");
    EXPECT_EQ(ListFindText(list, "z"), "a");
    EXPECT_EQ(ListTextAt(list, 2), "c");
    EXPECT_EQ(ListTextAt(list, 3), "a");
    EXPECT_EQ(ListTextAt(list, -1), "a");
    EXPECT_EQ(ListTextAt(empty, 0), "");
    EXPECT_EQ(ListIndexOfText(list, "b", 9), 1);
    EXPECT_EQ(ListIndexOfText(list, "z", 9), 0);
    EXPECT_EQ(ListIndexOfText(list, "", 9), 9);
    EXPECT_EQ(ListIndexOfText(empty, "a", 9), 9);
    TextList grow{"a"};
    ListAddOnce(grow, "a");
    ListAddOnce(grow, "b");
    EXPECT_EQ(grow, (TextList{"a", "b"}));
}
