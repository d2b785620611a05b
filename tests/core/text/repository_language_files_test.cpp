// The language files shipped with the program define every text the
// program looks up, in both languages.

#include "text/ini_file.h"
#include "text/language_table.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace qtx;

namespace {

struct TextKey {
    std::string section;
    std::string key;
};

std::string sourceDir()
{
    const char* dir = std::getenv("QTX_SOURCE_DIR");
    return dir ? dir : "";
}

std::vector<TextKey> usedIds()
{
    std::vector<TextKey> ids;
    std::ifstream in(sourceDir() + "/language/text-ids.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        TextKey id;
        fields >> id.section >> id.key;
        ids.push_back(id);
    }
    return ids;
}

bool validUtf8(const std::string& s)
{
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const size_t n = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += n;
    }
    return true;
}

IniFile load(const std::string& name)
{
    auto ini = IniFile::Load(sourceDir() + "/language/" + name);
    EXPECT_TRUE(ini.ok()) << name;
    return ini.ok() ? std::move(ini.value()) : IniFile();
}

class RepositoryLanguageFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (sourceDir().empty())
            GTEST_FAIL() << "QTX_SOURCE_DIR is not set (run the tests through ctest)";
        ids = usedIds();
    }
    std::vector<TextKey> ids;
};

} // namespace

TEST_F(RepositoryLanguageFiles, IdListIsComplete)
{
    std::map<std::string, int> perSection;
    for (const auto& id : ids)
        ++perSection[id.section];
    EXPECT_EQ(perSection["OTHER"], 404);
    EXPECT_EQ(perSection["MSG"], 2);
    EXPECT_EQ(perSection["OPTION"], 65);
    EXPECT_EQ(perSection.size(), 3u);
}

TEST_F(RepositoryLanguageFiles, BothFilesDefineEveryIdWithText)
{
    ASSERT_FALSE(ids.empty());
    for (const char* name : {"english.ini", "chinese.ini"}) {
        const IniFile ini = load(name);
        for (const auto& id : ids) {
            const auto value = ini.Find(id.section, id.key);
            ASSERT_TRUE(value.has_value()) << name << " lacks [" << id.section << "] " << id.key;
            EXPECT_FALSE(value->empty()) << name << " [" << id.section << "] " << id.key << " is empty";
            EXPECT_TRUE(validUtf8(*value)) << name << " [" << id.section << "] " << id.key;
            const size_t limit = id.section == "MSG" ? kMessageBufferSize : kOtherBufferSize;
            EXPECT_EQ(ini.Get(id.section, id.key, limit), *value)
                << name << " [" << id.section << "] " << id.key << " is longer than a lookup returns";
        }
    }
}

TEST_F(RepositoryLanguageFiles, ChineseFileIsTranslated)
{
    const IniFile en = load("english.ini");
    const IniFile zh = load("chinese.ini");
    int chinese = 0;
    for (const auto& id : ids) {
        const std::string value = zh.Get(id.section, id.key);
        if (value.find_first_of("\xE4\xE5\xE6\xE7\xE8\xE9") != std::string::npos) // lead bytes of CJK characters
            ++chinese;
    }
    // Names such as "DTMF", "FUNC+P1" or "120°" stay as they are; the rest is Chinese.
    EXPECT_GT(chinese, static_cast<int>(ids.size() * 8 / 10));
    EXPECT_NE(en.Get("OTHER", "101"), zh.Get("OTHER", "101"));
}

TEST_F(RepositoryLanguageFiles, FontsAndInformationBoxHeadings)
{
    for (const char* name : {"english.ini", "chinese.ini"}) {
        const IniFile ini = load(name);
        EXPECT_FALSE(ini.Get("OTHER", "20").empty()) << name;
        const std::string size = ini.Get("OTHER", "21");
        EXPECT_TRUE(!size.empty() && size.find_first_not_of("0123456789") == std::string::npos) << name << ": " << size;
        // The program drops the last character of these headings.
        for (const char* key : {"60085", "60086", "60087", "60088"}) {
            const std::string heading = ini.Get("OPTION", key);
            ASSERT_GE(heading.size(), 2u) << name << " " << key;
            EXPECT_EQ(heading.back(), ':') << name << " " << key;
        }
    }
}

TEST_F(RepositoryLanguageFiles, CopiedIntoTheProgramDirectory)
{
    const char* programDir = std::getenv("QTX_PROGRAM_DIR");
    ASSERT_NE(programDir, nullptr);
    for (const char* name : {"english.ini", "chinese.ini"}) {
        const auto shipped = qtx::testing::ReadBytes(sourceDir() + "/language/" + name);
        EXPECT_FALSE(shipped.empty()) << name;
        EXPECT_EQ(qtx::testing::ReadBytes(LanguageFilePath(programDir, name[0] == 'c' ? 2 : 1)), shipped) << name;
    }
}
