#include "text/language_table.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace qtx;
using qtx::testing::TempDir;

namespace {

void writeText(const std::string& path, const std::string& text)
{
    qtx::testing::WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

} // namespace

TEST(LanguageFiles, PathPerLanguage)
{
    EXPECT_EQ(LanguageFileName(kLanguageEnglish), "english.ini");
    EXPECT_EQ(LanguageFileName(kLanguageChinese), "chinese.ini");
    EXPECT_EQ(LanguageFileName(0), "english.ini");
    EXPECT_EQ(LanguageFilePath("/opt/qtx", 2), "/opt/qtx/language/chinese.ini");
    EXPECT_EQ(LanguageFilePath("/opt/qtx/", 1), "/opt/qtx/language/english.ini");
}

TEST(LanguageTable, LooksUpEachSectionSeparately)
{
    TempDir dir;
    const std::string path = dir.file("english.ini");
    writeText(path, "[OTHER]\n"
                    "101=   OK\n"
                    "1001=New\n"
                    "60043=not an option\n"
                    "2012=\n"
                    "[msg]\n"
                    "9001=Save first?\n"
                    "900c=Five digits\n"
                    "[Option]\n"
                    "60043=First tab\n");
    const LanguageTable table(path);
    EXPECT_EQ(table.TextLookup(101), "OK");
    EXPECT_EQ(table.TextLookup(1001), "New");
    EXPECT_EQ(table.TextLookup(2012), "");
    EXPECT_EQ(table.TextLookup(2013), "");
    EXPECT_EQ(table.TextLookup(9001), "");
    EXPECT_EQ(table.MessageLookup("9001"), "Save first?");
    EXPECT_EQ(table.MessageLookup("900C"), "Five digits");
    EXPECT_EQ(table.OptionLookup("60043"), "First tab");
    EXPECT_EQ(table.OptionLookup("60044"), "");
}

TEST(LanguageTable, ValuesAreCutToTheSectionLimits)
{
    TempDir dir;
    const std::string path = dir.file("chinese.ini");
    const std::string longText(600, 'x');
    std::string zh;
    for (int i = 0; i < 300; ++i)
        zh += "字";
    writeText(path, "[OTHER]\n1=" + longText + "\n2=" + zh + "\n[MSG]\n9001=" + longText + "\n[OPTION]\n60000=" +
                        longText + "\n");
    const LanguageTable table(path);
    EXPECT_EQ(table.TextLookup(1), std::string(254, 'x'));
    EXPECT_EQ(table.TextLookup(2).size(), 254u * 3); // 254 whole characters of three bytes
    EXPECT_EQ(table.MessageLookup("9001"), std::string(511, 'x'));
    EXPECT_EQ(table.OptionLookup("60000"), std::string(254, 'x'));
}

TEST(LanguageTable, NextLookupSeesLanguageAndFileChanges)
{
    TempDir dir;
    const std::string en = dir.file("english.ini");
    const std::string zh = dir.file("chinese.ini");
    writeText(en, "[OTHER]\n101=OK\n");
    writeText(zh, "[OTHER]\n101=确定\n");

    LanguageTable table;
    EXPECT_EQ(table.TextLookup(101), ""); // no file chosen yet
    table.SetPath(en);
    EXPECT_EQ(table.TextLookup(101), "OK");
    table.SetPath(zh);
    EXPECT_EQ(table.TextLookup(101), "确定");
    table.SetPath(en);
    EXPECT_EQ(table.TextLookup(101), "OK");

    // Replaced on disk (a new file under the same name), then rewritten in place.
    ASSERT_TRUE(WriteProfileString(en, "OTHER", "101", "Okay"));
    EXPECT_EQ(table.TextLookup(101), "Okay");
    writeText(en, "[OTHER]\n101=Accept\n");
    EXPECT_EQ(table.TextLookup(101), "Accept");

    std::filesystem::remove(en);
    EXPECT_EQ(table.TextLookup(101), "");
    table.SetPath(dir.path().string()); // a folder is no language file
    EXPECT_EQ(table.TextLookup(101), "");
}
