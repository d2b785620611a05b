#include "text/builtin_texts.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace qtx;
using qtx::testing::TempDir;

TEST(BuiltInTexts, EveryEntryHasBothLanguagesAndAUniqueName)
{
    std::set<std::string_view> names;
    for (BuiltIn e : AllBuiltIns()) {
        const std::string_view name = BuiltInName(e);
        EXPECT_FALSE(name.empty());
        EXPECT_TRUE(names.insert(name).second) << name;
        EXPECT_EQ(FindBuiltIn(name), e) << name;
        EXPECT_FALSE(BuiltInText(e, kLanguageEnglish).empty()) << name;
        EXPECT_FALSE(BuiltInText(e, kLanguageChinese).empty()) << name;
    }
    EXPECT_EQ(names.size(), AllBuiltIns().size());
    EXPECT_EQ(FindBuiltIn("fileerror"), std::nullopt); // names are exact
    EXPECT_EQ(FindBuiltIn(""), std::nullopt);
}

TEST(BuiltInTexts, StartUpEntriesInOrderWithTheirTexts)
{
    const std::vector<std::string_view> order{
        "ReadTitle",  "WriteTitle",     "ProgressLabel", "ReadConfirm",   "WriteConfirm", "ModelWrong",
        "RadioKilled", "RadioStunned",  "VersionWrong",  "AllDataCleared", "FileError",    "FileOverwrite",
        "FileModified", "DataFileFilter", "CloseCaption", "HelpCaption"};
    ASSERT_GE(AllBuiltIns().size(), order.size());
    for (size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(BuiltInName(AllBuiltIns()[i]), order[i]);

    EXPECT_EQ(BuiltInText(BuiltIn::ReadConfirm, 1), "Read data from radio.\nDo you wish continue?");
    EXPECT_EQ(BuiltInText(BuiltIn::ReadConfirm, 2), "从对讲机读取数据。\n是否继续？");
    EXPECT_EQ(BuiltInText(BuiltIn::ModelWrong, 1), "Model type is wrong. Overwrite?");
    EXPECT_EQ(BuiltInText(BuiltIn::ModelWrong, 2), "机型类型错误。");
    EXPECT_EQ(BuiltInText(BuiltIn::FileOverwrite, 1), "file will be Overwrite,Continue?");
    EXPECT_EQ(BuiltInText(BuiltIn::CloseCaption, 2), "关闭(&C)");
    EXPECT_EQ(BuiltInText(BuiltIn::InfoTitle, 1), "Embedded Message");
    EXPECT_EQ(BuiltInText(BuiltIn::InfoSeller, 2), "经手人");
    // Any language other than Chinese reads English.
    EXPECT_EQ(BuiltInText(BuiltIn::FileError, 0), "file error.");
    EXPECT_EQ(BuiltInText(BuiltIn::FileError, 7), "file error.");
}

TEST(ResolveMessage, BuiltInNamesTextIdsSectionKeysAndFixedTexts)
{
    TempDir dir;
    const std::string path = dir.file("chinese.ini");
    {
        const std::string text = "[OTHER]\n2002=无法打开串口\n3001=\n[MSG]\n900C=编码必须为5位！\n[OPTION]\n60300=未设置遥活\n";
        qtx::testing::WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
    }
    const LanguageTable table(path);
    EXPECT_EQ(ResolveMessage("FileError", kLanguageChinese, table), "文件错误。");
    EXPECT_EQ(ResolveMessage("FileError", kLanguageEnglish, table), "file error.");
    EXPECT_EQ(ResolveMessage("2002", kLanguageChinese, table), "无法打开串口");
    EXPECT_EQ(ResolveMessage("MSG:900C", kLanguageChinese, table), "编码必须为5位！");
    EXPECT_EQ(ResolveMessage("OPTION:60300", kLanguageChinese, table), "未设置遥活");
    EXPECT_EQ(ResolveMessage("SetCommDataByOptionError", kLanguageChinese, table), "SetCommDataByOptionError");
    EXPECT_EQ(ResolveMessage("Not IsNumeric", kLanguageChinese, table), "Not IsNumeric");
    // Never a blank message box: a missing or empty text shows its ID.
    EXPECT_EQ(ResolveMessage("3001", kLanguageChinese, table), "3001");
    EXPECT_EQ(ResolveMessage("2999", kLanguageChinese, table), "2999");
    EXPECT_EQ(ResolveMessage("MSG:9001", kLanguageChinese, table), "MSG:9001");
    // Not text IDs: out of 16-bit range, signed, or with other characters.
    EXPECT_EQ(ResolveMessage("60300", kLanguageChinese, table), "60300");
    EXPECT_EQ(ResolveMessage("-2002", kLanguageChinese, table), "-2002");
    EXPECT_EQ(ResolveMessage(" 2002", kLanguageChinese, table), " 2002");
    EXPECT_EQ(ResolveMessage("MSG:", kLanguageChinese, table), "MSG:");
    EXPECT_EQ(ResolveMessage("", kLanguageChinese, table), "");
}
