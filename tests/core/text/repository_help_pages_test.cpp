// The help pages shipped with the program: the same pages in both
// languages, links that lead somewhere and captions both language files have.

#include "text/help_page.h"
#include "text/ini_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

using namespace qtx;
namespace fs = std::filesystem;

namespace {

fs::path sourceDir()
{
    const char* dir = std::getenv("QTX_SOURCE_DIR");
    return dir ? dir : "";
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::set<std::string> pagesOf(const std::string& language)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(sourceDir() / "help" / language))
        names.insert(entry.path().filename().string());
    return names;
}

IniFile languageFile(const char* name)
{
    return IniFile::Parse(readFile(sourceDir() / "language" / name));
}

} // namespace

TEST(RepositoryHelpPages, BothLanguagesHaveTheSamePagesWithContentsAndTitles)
{
    const auto en = pagesOf("en");
    EXPECT_EQ(en, pagesOf("zh"));
    EXPECT_TRUE(en.count("index.html"));
    EXPECT_GE(en.size(), 20u);
    for (const char* language : {"en", "zh"})
        for (const auto& name : en) {
            const std::string page = readFile(sourceDir() / "help" / language / name);
            EXPECT_NE(page.find("<title>"), std::string::npos) << language << "/" << name;
            EXPECT_NE(page.find("charset=\"utf-8\""), std::string::npos) << language << "/" << name;
            // Product text only: no development documents named.
            EXPECT_FALSE(std::regex_search(page, std::regex(R"(Part [0-9]|spec\.md|DESIGN|TODO)")))
                << language << "/" << name;
        }
}

TEST(RepositoryHelpPages, EveryLinkAndImageResolvesAndEveryPageIsReachable)
{
    const std::regex reference(R"((href|src)\s*=\s*"([^"]*)\")", std::regex::icase);
    const std::regex anchor(R"((name|id)\s*=\s*"([^"]*)\")", std::regex::icase);
    for (const char* language : {"en", "zh"}) {
        const fs::path dir = sourceDir() / "help" / language;
        std::set<std::string> linked{"index.html"};
        for (const auto& name : pagesOf(language)) {
            const std::string page = readFile(dir / name);
            for (auto it = std::sregex_iterator(page.begin(), page.end(), reference); it != std::sregex_iterator(); ++it) {
                const std::string target = (*it)[2];
                SCOPED_TRACE(std::string(language) + "/" + name + " -> " + target);
                ASSERT_FALSE(target.empty());
                EXPECT_EQ(target.find("://"), std::string::npos); // nothing outside the folder
                const size_t hash = target.find('#');
                const std::string file = hash == std::string::npos ? target : target.substr(0, hash);
                const std::string fragment = hash == std::string::npos ? "" : target.substr(hash + 1);
                const std::string shown = file.empty() ? name : file;
                ASSERT_TRUE(fs::is_regular_file(dir / shown));
                linked.insert(shown);
                if (!fragment.empty()) {
                    const std::string other = readFile(dir / shown);
                    bool found = false;
                    for (auto a = std::sregex_iterator(other.begin(), other.end(), anchor); a != std::sregex_iterator(); ++a)
                        found = found || (*a)[2] == fragment;
                    EXPECT_TRUE(found) << "no anchor " << fragment;
                }
            }
        }
        // A page nobody links to can only be found by F1.
        for (const auto& name : pagesOf(language))
            EXPECT_TRUE(linked.count(name)) << language << "/" << name << " is not linked";
    }
}

TEST(RepositoryHelpPages, EveryPlaceholderHasTextInBothLanguageFiles)
{
    const IniFile en = languageFile("english.ini");
    const IniFile zh = languageFile("chinese.ini");
    size_t count = 0;
    for (const char* language : {"en", "zh"})
        for (const auto& name : pagesOf(language))
            for (const HelpPlaceholder& p : HelpPlaceholders(readFile(sourceDir() / "help" / language / name))) {
                ++count;
                EXPECT_FALSE(PlainCaption(en.Get(p.section, p.key)).empty()) << name << ": " << p.section << ":" << p.key;
                EXPECT_FALSE(PlainCaption(zh.Get(p.section, p.key)).empty()) << name << ": " << p.section << ":" << p.key;
            }
    EXPECT_GT(count, 200u);
}
