#include "forms/key_rules.h"

#include <gtest/gtest.h>

#include <string>

using namespace qtx;

namespace {

// Every printable character through the rule: what the box would hold.
std::string taken(KeyRule rule)
{
    std::string out;
    for (int c = 32; c <= 126; ++c)
        if (const char m = rule(static_cast<char>(c)))
            out += m;
    return out;
}

} // namespace

TEST(KeyRules, EachBoxTakesItsOwnCharacters)
{
    EXPECT_EQ(taken(DigitKey), "0123456789");
    EXPECT_EQ(taken(FrequencyKey), ".0123456789");
    EXPECT_EQ(taken(PrintableKey).size(), 95u);
    const std::string name = taken(NameKey);
    EXPECT_EQ(name.size(), 93u);
    EXPECT_EQ(name.find('\\'), std::string::npos);
    EXPECT_EQ(name.find('~'), std::string::npos);
    EXPECT_NE(name.find(' '), std::string::npos);
}

TEST(KeyRules, LettersAreStoredUpperCase)
{
    // Lower-case letters map onto the upper-case ones, so each appears twice.
    EXPECT_EQ(taken(HexKey), "0123456789ABCDEFABCDEF");
    EXPECT_EQ(taken(DtmfCodeKey), "#*0123456789ABCDABCD");
    EXPECT_EQ(HexKey('g'), 0);
    EXPECT_EQ(DtmfCodeKey('e'), 0);
    EXPECT_EQ(BookNameKey('z'), 'Z');
    EXPECT_EQ(BookNameKey(' '), ' ');
    EXPECT_EQ(BookNameKey('-'), 0);
    EXPECT_EQ(taken(BookNameKey).size(), 1u + 10u + 26u + 26u);
    EXPECT_EQ(taken(CalledCodeKey), "0123456789AA");
    EXPECT_EQ(UpperAlnumKey('q'), 'Q');
    EXPECT_EQ(UpperAlnumKey(' '), 0);
    EXPECT_EQ(taken(UpperAlnumKey).size(), 10u + 26u + 26u);
}

TEST(KeyRules, NothingOutsidePrintableAscii)
{
    for (KeyRule rule : {DigitKey, FrequencyKey, PrintableKey, NameKey, HexKey, DtmfCodeKey, BookNameKey,
                          CalledCodeKey, UpperAlnumKey}) {
        EXPECT_EQ(rule('\x7f'), 0);
        EXPECT_EQ(rule('\x1f'), 0);
        EXPECT_EQ(rule(static_cast<char>(0xe4)), 0); // a Latin-1 byte
    }
}
