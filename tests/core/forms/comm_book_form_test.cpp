#include "files/data_file.h"
#include "forms/comm_book_form.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <random>

using namespace qtx;
using qtx::testing::ReadBytes;
using qtx::testing::TempDir;
using qtx::testing::WriteBytes;

namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }
std::vector<uint8_t> Bytes(const FixedText<5>& t) { return {t.bytes.begin(), t.bytes.end()}; }
std::vector<uint8_t> Bytes(const FixedText<7>& t) { return {t.bytes.begin(), t.bytes.end()}; }

std::vector<uint8_t> RandomBookBytes(unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<uint8_t> bytes(kCommBookFileSize);
    for (auto& b : bytes)
        b = static_cast<uint8_t>(rng() % 4 == 0 ? 0 : rng()); // many NULs, bytes above 127
    return bytes;
}

} // namespace

TEST(CommBookCharacters, ColumnsTakeTheirOwnSets)
{
    EXPECT_EQ(FilterBookCellText(kBookCallIdColumn, "1a-2 3\\~\xE9" "456789"), "12345");
    EXPECT_EQ(FilterBookCellText(kBookNameColumn, "bob-1 x~\\\xC4Z9yy"), "BOB1 XZ");
    EXPECT_EQ(BookCellChar(kBookNameColumn, 'b'), 'B');
    EXPECT_EQ(BookCellChar(kBookNameColumn, '-'), std::nullopt);
    EXPECT_EQ(BookCellChar(kBookCallIdColumn, 'A'), std::nullopt);
    EXPECT_EQ(BookCellChar(kBookNumberColumn, '1'), std::nullopt);
    EXPECT_EQ(FilterBookCellText(kBookNumberColumn, "12"), "");
}

TEST(CommBookStorage, ShortTextsEndWithNulThenSpaces)
{
    CommBookForm form(DefaultCommBook());
    EXPECT_TRUE(form.commitCell(0, kBookCallIdColumn, "123"));
    EXPECT_TRUE(form.commitCell(0, kBookNameColumn, "BOB"));
    EXPECT_TRUE(form.commitCell(1, kBookCallIdColumn, "12345"));
    EXPECT_TRUE(form.commitCell(2, kBookNameColumn, "AB   ")); // trailing spaces are not kept
    EXPECT_EQ(Bytes(form.buffer()[0].CallId), Bytes(std::string("123\0 ", 5)));
    EXPECT_EQ(Bytes(form.buffer()[0].Name), Bytes(std::string("BOB\0   ", 7)));
    EXPECT_EQ(Bytes(form.buffer()[1].CallId), Bytes("12345"));
    EXPECT_EQ(Bytes(form.buffer()[2].Name), Bytes(std::string("AB\0    ", 7)));
    EXPECT_EQ(form.cellText(2, kBookNameColumn), "AB");

    EXPECT_TRUE(form.commitCell(0, kBookNameColumn, ""));
    EXPECT_EQ(Bytes(form.buffer()[0].Name), Bytes(std::string("\0      ", 7)));
    // Text the column refuses never reaches the buffer, however it arrived.
    form.commitCell(3, kBookCallIdColumn, "9x8-7654");
    EXPECT_EQ(form.cellText(3, kBookCallIdColumn), "98765");
    EXPECT_EQ(form.cellText(127, kBookNumberColumn), "127");
    EXPECT_FALSE(form.commitCell(3, kBookNumberColumn, "5"));
    EXPECT_FALSE(form.commitCell(128, kBookCallIdColumn, "5"));
}

TEST(CommBookStorage, UnchangedCellsKeepTheirBytes)
{
    // Bytes no grid text could give back: a NUL inside, a character above
    // 127, no end mark, an odd Index.
    CommBook book = DefaultCommBook();
    book[4].Index = -300;
    book[4].CallId.setRaw(std::string("1\0" "9\xFF" " ", 5));
    book[4].Name.setRaw("AB     ");
    CommBookForm form(book);
    for (int col : {kBookCallIdColumn, kBookNameColumn})
        EXPECT_FALSE(form.commitCell(4, col, form.cellText(4, col)));
    EXPECT_EQ(form.buffer(), book);

    // Changing one cell leaves the other and the Index as they were.
    EXPECT_TRUE(form.commitCell(4, kBookNameColumn, "CD"));
    EXPECT_EQ(form.buffer()[4].Index, -300);
    EXPECT_EQ(form.buffer()[4].CallId, book[4].CallId);
    // A text that stores the same bytes is not a change.
    EXPECT_FALSE(form.commitCell(4, kBookNameColumn, "CD  "));
}

TEST(CommBookNavigation, EnterWalksCallIdNameThenNextEntryAndWraps)
{
    EXPECT_EQ(NextBookCell({0, kBookCallIdColumn}), (BookCell{0, kBookNameColumn}));
    EXPECT_EQ(NextBookCell({5, kBookNameColumn}), (BookCell{6, kBookCallIdColumn}));
    EXPECT_EQ(NextBookCell({127, kBookNameColumn}), (BookCell{0, kBookCallIdColumn}));
}

TEST(CommBookFiles, ImportExportCarriesEveryByte)
{
    TempDir dir;
    const auto original = RandomBookBytes(22);
    WriteBytes(dir.file("in.cb"), original);
    CommBookForm form(DefaultCommBook());
    ASSERT_TRUE(form.importFile(dir.file("in.cb")));
    for (int row = 0; row < kBookEntryCount; ++row)
        for (int col : {kBookCallIdColumn, kBookNameColumn})
            form.commitCell(row, col, form.cellText(row, col)); // every cell entered and left
    ASSERT_TRUE(form.exportFile(dir.file("out.cb")));
    EXPECT_EQ(ReadBytes(dir.file("out.cb")), original);
}

TEST(CommBookFiles, FailedImportLeavesTheBuffer)
{
    TempDir dir;
    WriteBytes(dir.file("empty.cb"), {});
    WriteBytes(dir.file("short.cb"), std::vector<uint8_t>(1000, '7'));
    std::filesystem::create_directory(dir.file("folder.cb"));
    CommBookForm form(DefaultCommBook());
    form.commitCell(0, kBookNameColumn, "KEEP");
    const CommBook before = form.buffer();
    for (const char* name : {"absent.cb", "folder.cb", "empty.cb", "short.cb"}) {
        auto result = form.importFile(dir.file(name));
        ASSERT_FALSE(result) << name;
        EXPECT_EQ(result.error().message, "FileError");
        EXPECT_EQ(form.buffer(), before) << name;
    }
}

TEST(CommBookFiles, ExportReplacesALongerFileAndReportsAMissingFolder)
{
    TempDir dir;
    WriteBytes(dir.file("old.cb"), std::vector<uint8_t>(4000, 1));
    CommBookForm form(DefaultCommBook());
    ASSERT_TRUE(form.exportFile(dir.file("old.cb")));
    EXPECT_EQ(ReadBytes(dir.file("old.cb")), EncodeCommBook(DefaultCommBook()));
    auto missing = form.exportFile(dir.file("no/such/folder.cb"));
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().message, "FileError");
}

TEST(CommBookFiles, DialogPathPlacesABareNameBesideTheData)
{
    EXPECT_EQ(BookDialogPath("new.cb", "new.dat", true, "/home/u"), "/home/u/new.cb");
    EXPECT_EQ(BookDialogPath("new.cb", "/data/site/a.dat", false, "/home/u"), "/data/site/new.cb");
    EXPECT_EQ(BookDialogPath("/x/y.cb", "/data/a.dat", false, "/home/u"), "/x/y.cb");
    EXPECT_EQ(BookDialogPath("new.cb", "a.dat", false, "/home/u"), "new.cb");
}
