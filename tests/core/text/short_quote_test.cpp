#include "text/short_quote.h"

#include <gtest/gtest.h>

using namespace qtx;

TEST(ShortQuote, LongInputIsCutAtSixtyCharacters)
{
    EXPECT_EQ(ShortQuote("Item1705"), "Item1705");
    const std::string sixty(60, 'k');
    EXPECT_EQ(ShortQuote(sixty), sixty);
    EXPECT_EQ(ShortQuote(std::string(10'000'000, 'k')), sixty + "\xE2\x80\xA6");
    // Counted in characters, never cut inside one: 61 two-byte letters.
    std::string wide;
    for (int i = 0; i < 61; ++i)
        wide += "\xC3\xA9";
    EXPECT_EQ(ShortQuote(wide), wide.substr(0, 120) + "\xE2\x80\xA6");
    EXPECT_EQ(ShortQuote("abcdef", 3), "abc\xE2\x80\xA6");
}
