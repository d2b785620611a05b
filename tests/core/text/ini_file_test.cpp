#include "text/ini_file.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace qtx;
using qtx::testing::TempDir;

namespace {

std::string readText(const std::string& path)
{
    auto bytes = qtx::testing::ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void writeText(const std::string& path, const std::string& text)
{
    qtx::testing::WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

} // namespace

TEST(IniRead, NamesIgnoreLetterCaseAndBlanks)
{
    const IniFile ini = IniFile::Parse("  [ Other ]  \n  Key One  =  value  \n[MSG]\n9001=Save?\n900c=five\n");
    EXPECT_EQ(ini.Get("OTHER", "key one"), "value");
    EXPECT_EQ(ini.Get("other", "KEY ONE"), "value");
    EXPECT_EQ(ini.Get("msg", "900C"), "five");
    EXPECT_TRUE(ini.HasSection("oThEr"));
    EXPECT_FALSE(ini.HasSection("option"));
}

TEST(IniRead, ValuesAreTakenLiterally)
{
    const IniFile ini = IniFile::Parse("[S]\n"
                                       "lead=\t   text with  inner  blanks \t \n"
                                       "escape=a\\nb\\tc\n"
                                       "list=a,b;c = d\n"
                                       "quoted=\"  kept inside  \"\n"
                                       "single='x'\n"
                                       "unbalanced=\"open\n"
                                       "eq==starts with equals\n");
    EXPECT_EQ(ini.Get("S", "lead"), "text with  inner  blanks");
    EXPECT_EQ(ini.Get("S", "escape"), "a\\nb\\tc");
    EXPECT_EQ(ini.Get("S", "list"), "a,b;c = d"); // no inline comments, only the first "=" splits
    EXPECT_EQ(ini.Get("S", "quoted"), "  kept inside  ");
    EXPECT_EQ(ini.Get("S", "single"), "x");
    EXPECT_EQ(ini.Get("S", "unbalanced"), "\"open");
    EXPECT_EQ(ini.Get("S", "eq"), "=starts with equals");
}

TEST(IniRead, CommentsEmptyAndMissingKeys)
{
    const IniFile ini = IniFile::Parse("orphan=before any section\n"
                                       "; [S]\n"
                                       "[S]\n"
                                       ";hidden=1\n"
                                       "   ; indented=comment\n"
                                       "empty=\n"
                                       "bare\n"
                                       "first=1\n"
                                       "first=2\n"
                                       "[S]\n"
                                       "second=later section of the same name\n");
    EXPECT_EQ(ini.Find("S", ";hidden"), std::nullopt);
    EXPECT_EQ(ini.Find("S", "hidden"), std::nullopt);
    EXPECT_EQ(ini.Find("S", "indented"), std::nullopt);
    EXPECT_EQ(ini.Find("", "orphan"), std::nullopt);
    EXPECT_EQ(ini.Find("S", "empty"), std::optional<std::string>(""));
    EXPECT_EQ(ini.Find("S", "bare"), std::optional<std::string>(""));
    EXPECT_EQ(ini.Get("S", "empty"), ini.Get("S", "missing"));
    EXPECT_EQ(ini.Get("S", "missing"), "");
    EXPECT_EQ(ini.Get("S", "first"), "1");
    EXPECT_EQ(ini.Find("S", "second"), std::nullopt);
}

TEST(IniRead, LineEndsAndByteOrderMark)
{
    const IniFile ini = IniFile::Parse("\xEF\xBB\xBF[A]\r\nx=1\r\n[B]\ry=2\rz=3\n[C]\nlast=no line end");
    EXPECT_EQ(ini.Get("A", "x"), "1");
    EXPECT_EQ(ini.Get("B", "y"), "2");
    EXPECT_EQ(ini.Get("B", "z"), "3");
    EXPECT_EQ(ini.Get("C", "last"), "no line end");
}

TEST(IniRead, BufferCutsWholeCharacters)
{
    const IniFile ini = IniFile::Parse("[S]\nascii=abcdef\nzh=从对讲机读取\n");
    EXPECT_EQ(ini.Get("S", "ascii", 4), "abc");
    EXPECT_EQ(ini.Get("S", "ascii", 7), "abcdef");
    EXPECT_EQ(ini.Get("S", "ascii", 1), "");
    EXPECT_EQ(ini.Get("S", "ascii", 0), "");
    EXPECT_EQ(ini.Get("S", "zh", 3), "从对");
    EXPECT_EQ(ini.Get("S", "zh", 255), "从对讲机读取");
    EXPECT_EQ(CutUtf8(std::string(300, 'x'), 254).size(), 254u);
}

TEST(IniWrite, ChangesOnlyTheKeysLine)
{
    const std::string before = "\xEF\xBB\xBF; settings\r\n"
                               "[Language]\r\n"
                               "IsFirstRun = 1   \r\n"
                               "; port of the cable\r\n"
                               "comPort=3\r\n"
                               "\r\n"
                               "[ports]\r\n"
                               "COM99=/dev/pts/4\r\n";
    IniFile ini = IniFile::Parse(before);
    ASSERT_TRUE(ini.Set("language", "isfirstrun", "0"));
    ASSERT_TRUE(ini.Set("LANGUAGE", "COMPORT", "12"));
    EXPECT_EQ(ini.Text(), "\xEF\xBB\xBF; settings\r\n"
                          "[Language]\r\n"
                          "IsFirstRun = 0\r\n"
                          "; port of the cable\r\n"
                          "comPort=12\r\n"
                          "\r\n"
                          "[ports]\r\n"
                          "COM99=/dev/pts/4\r\n");
    EXPECT_EQ(IniFile::Parse(before).Text(), before); // read and written back unchanged
}

TEST(IniWrite, AddsKeysAndSections)
{
    IniFile ini = IniFile::Parse("[language]\nIsFirstRun=0\n\n; ports follow\n[ports]\nCOM99=/dev/x");
    ASSERT_TRUE(ini.Set("language", "FactoryFres", "1"));
    ASSERT_TRUE(ini.Set("ports", "COM98", "/dev/y"));
    ASSERT_TRUE(ini.Set("Settings", "MainLeft", "120"));
    EXPECT_EQ(ini.Text(), "[language]\nIsFirstRun=0\nFactoryFres=1\n\n; ports follow\n"
                          "[ports]\nCOM99=/dev/x\nCOM98=/dev/y\n\n[Settings]\nMainLeft=120\n");

    IniFile bare = IniFile::Parse("[S]\r\nflag\r\n");
    ASSERT_TRUE(bare.Set("S", "flag", "on"));
    EXPECT_EQ(bare.Text(), "[S]\r\nflag=on\r\n");

    IniFile empty;
    ASSERT_TRUE(empty.Set("language", "comPort", "0"));
    EXPECT_EQ(empty.Text(), "[language]\ncomPort=0\n");
}

TEST(IniWrite, RefusesWhatWouldBreakTheFile)
{
    const std::string text = "[S]\nk=v\n";
    IniFile ini = IniFile::Parse(text);
    EXPECT_FALSE(ini.Set("S", "k", "line\nbreak"));
    EXPECT_FALSE(ini.Set("S", "k", "carriage\rreturn"));
    EXPECT_FALSE(ini.Set("S", "k", std::string_view("nul\0x", 5)));
    EXPECT_FALSE(ini.Set("S", "a=b", "v"));
    EXPECT_FALSE(ini.Set("S", ";k", "v"));
    EXPECT_FALSE(ini.Set("S", "[k", "v"));
    EXPECT_FALSE(ini.Set("S", " ", "v"));
    EXPECT_FALSE(ini.Set("S]x", "k", "v"));
    EXPECT_FALSE(ini.Set("", "k", "v"));
    const auto refused = ini.Set("S", "k", "a\nb");
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message, "FileError");
    EXPECT_EQ(ini.Text(), text);
}

TEST(IniFileOnDisk, WriteProfileStringKeepsTheRestAndCreatesFiles)
{
    TempDir dir;
    const std::string path = dir.file("mysetup.ini");
    ASSERT_TRUE(WriteProfileString(path, "language", "IsFirstRun", "1"));
    ASSERT_TRUE(WriteProfileString(path, "language", "comPort", "3"));
    EXPECT_EQ(readText(path), "[language]\nIsFirstRun=1\ncomPort=3\n");
    EXPECT_EQ(ReadProfileString(path, "LANGUAGE", "comport"), "3");
    EXPECT_EQ(ReadProfileString(dir.file("none.ini"), "language", "comPort"), "");

    writeText(path, "; mine\r\n[language]\r\nSkin=blue\r\ncomPort=3\r\n");
    ASSERT_TRUE(WriteProfileString(path, "language", "comPort", "7"));
    EXPECT_EQ(readText(path), "; mine\r\n[language]\r\nSkin=blue\r\ncomPort=7\r\n");
    // Only the file itself is left in the folder: the temporary file was renamed.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(IniFileOnDisk, FailedWriteLeavesTheFileWhole)
{
    TempDir dir;
    // A name at the file-name limit: the file exists, but no temporary file
    // can be made beside it, so the write fails before anything is replaced.
    const std::string path = dir.file(std::string(250, 'l') + ".ini");
    const std::string original = "[OTHER]\n101=OK\n";
    writeText(path, original);
    const auto r = WriteProfileString(path, "OTHER", "101", "Fine");
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().message, "FileError");
    EXPECT_EQ(readText(path), original);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    if (::geteuid() != 0) { // permissions do not stop root
        const std::string other = dir.file("english.ini");
        writeText(other, original);
        ::chmod(dir.path().c_str(), 0500);
        EXPECT_FALSE(WriteProfileString(other, "OTHER", "101", "Fine"));
        ::chmod(dir.path().c_str(), 0700);
        EXPECT_EQ(readText(other), original);
    }
}

TEST(IniFileOnDisk, UnreadableTargetIsNotReplaced)
{
    TempDir dir;
    const std::string folder = dir.file("mysetup.ini");
    std::filesystem::create_directory(folder);
    const auto r = WriteProfileString(folder, "language", "comPort", "1");
    ASSERT_FALSE(r);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(ReadProfileString(folder, "language", "comPort"), "");

    if (::geteuid() != 0) {
        const std::string path = dir.file("english.ini");
        writeText(path, "[OTHER]\n101=OK\n");
        ::chmod(path.c_str(), 0200);
        const auto unreadable = WriteProfileString(path, "OTHER", "102", "Cancel");
        ::chmod(path.c_str(), 0600);
        ASSERT_FALSE(unreadable);
        EXPECT_EQ(readText(path), "[OTHER]\n101=OK\n");
    }
}

TEST(IniFileOnDisk, WriteIntoMissingFolderFails)
{
    TempDir dir;
    const auto r = WriteProfileString(dir.file("absent/mysetup.ini"), "language", "comPort", "1");
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().message, "FileError");
    EXPECT_FALSE(std::filesystem::exists(dir.file("absent")));
}
