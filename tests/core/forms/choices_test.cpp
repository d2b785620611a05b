#include "forms/choices.h"

#include "convert/frequency.h"

#include <gtest/gtest.h>

#include <string>

using namespace qtx;

TEST(Choices, AValueOutsideItsListShowsTheFallback)
{
    EXPECT_EQ(ChoiceAt(kStepChoices, 9).text, "50K");
    EXPECT_EQ(ChoiceAt(kStepChoices, 10).text, "2.5K");
    EXPECT_EQ(ChoiceAt(kStepChoices, -1).text, "2.5K");
    EXPECT_EQ(ChoiceAt(kBandwidthGridChoices, 7, 1).text, "20K");
    EXPECT_EQ(ChoiceAt(kTxPowerChoices, 3).textId, 1204);
}

TEST(Choices, TextsComeFromTheLanguageOrAreLiteral)
{
    const auto lookup = [](int id) { return "#" + std::to_string(id); };
    EXPECT_EQ(ChoiceText(kBusyLockChoices[0], lookup), "#1755");
    EXPECT_EQ(ChoiceText(kBusyLockChoices[1], lookup), "Repeater");
    EXPECT_EQ(ChoiceText(kSignalKindChoices[2], lookup), "2Tone");
}

TEST(Choices, ToneListsFollowTheToneType)
{
    EXPECT_TRUE(ToneChoices(0).empty());
    EXPECT_TRUE(ToneChoices(3).empty());
    ASSERT_EQ(ToneChoices(1).size(), static_cast<size_t>(kCtcssCount));
    EXPECT_EQ(ToneChoices(1)[0].text, "62.5");
    ASSERT_EQ(ToneChoices(2).size(), static_cast<size_t>(kDcsCodeCount));
    EXPECT_EQ(ToneChoices(2)[19].text, "023");
    EXPECT_EQ(ToneChoices(2)[511].text, "777");
    // The same table on the second call: the texts outlive the call.
    EXPECT_EQ(ToneChoices(2).data(), ToneChoices(2).data());
}
