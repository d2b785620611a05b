// Lists filled from the core tables: entries carry values, and a value that
// is not in the list selects the fallback.

#include "ui/choice_list.h"
#include "ui/texts.h"

#include "support/source_texts.h"

#include <QComboBox>

#include <gtest/gtest.h>

using namespace qtx;
using namespace qtx::ui;

namespace {

class ChoiceListTest : public ::testing::Test {
protected:
    LanguageTexts texts;
    QComboBox combo;

    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(qtx::testing::UseEnglishTexts(texts));
    }
};

} // namespace

TEST_F(ChoiceListTest, TableEntriesShowTheirTexts)
{
    FillChoices(&combo, kBusyLockChoices, texts);
    ASSERT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.itemText(0), texts.text(1755));
    EXPECT_FALSE(combo.itemText(0).isEmpty());
    EXPECT_EQ(combo.itemText(2), "Busy");
    EXPECT_EQ(ChoiceValue(&combo, 2), 2);
}

TEST_F(ChoiceListTest, SomePositionsOfATable)
{
    FillChoices(&combo, kSquelchModeChoices, std::vector<int>{0, 2}, texts);
    ASSERT_EQ(combo.count(), 2);
    EXPECT_EQ(combo.itemText(1), texts.text(1786));
    EXPECT_EQ(ChoiceValue(&combo, 1), 2);
    SelectChoice(&combo, 2, 0);
    EXPECT_EQ(combo.currentIndex(), 1);
}

TEST_F(ChoiceListTest, AValueOutsideTheListSelectsTheFallback)
{
    FillChoices(&combo, std::vector<int>{4, 9, 17}, [](int v) { return QString::number(v); });
    SelectChoice(&combo, 17, 0);
    EXPECT_EQ(combo.currentIndex(), 2);
    SelectChoice(&combo, 5, 0);
    EXPECT_EQ(combo.currentIndex(), 0);
    SelectChoice(&combo, 5, -1);
    EXPECT_EQ(combo.currentIndex(), -1);
    FillChoices(&combo, std::vector<int>{}, [](int v) { return QString::number(v); });
    SelectChoice(&combo, 4, -1);
    EXPECT_EQ(combo.count(), 0);
    EXPECT_EQ(combo.currentIndex(), -1);
}
