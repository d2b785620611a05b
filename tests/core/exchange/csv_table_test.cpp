// Comma-separated records: quoting both ways, every line-end style, and
// line numbers that stay right across quoted line breaks.

#include "exchange/csv_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qtx;

namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows readAll(std::string_view text, std::vector<int>* lines = nullptr)
{
    CsvReader reader(text);
    Rows rows;
    std::vector<std::string> fields;
    while (true) {
        auto more = reader.Next(fields);
        EXPECT_TRUE(more.ok()) << (more.ok() ? "" : more.error().detail);
        if (!more.ok() || !more.value())
            break;
        rows.push_back(fields);
        if (lines)
            lines->push_back(reader.RecordLine());
    }
    return rows;
}

TEST(CsvTable, WrittenRecordsReadBackExactly)
{
    const std::vector<std::string> awkward{"plain", "with,comma", "with \"quote\"", "two\r\nlines", "", " padded ",
                                           "\xE5\x8C\x97\xE4\xBA\xAC", "\"", ","};
    const std::string text = CsvRecord(awkward) + CsvRecord({"a", "b"});
    const Rows rows = readAll(text);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], awkward);
    EXPECT_EQ(rows[1], (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(CsvField("plain"), "plain");
    EXPECT_EQ(CsvField("a\"b"), "\"a\"\"b\"");
}

TEST(CsvTable, EveryLineEndAndByteOrderMark)
{
    for (const std::string end : {"\r\n", "\n", "\r"}) {
        const std::string text = "\xEF\xBB\xBFLocation,Name" + end + "0,A" + end + end + "1,\"B" + end + "C\"";
        std::vector<int> lines;
        const Rows rows = readAll(text, &lines);
        ASSERT_EQ(rows.size(), 4u) << "line end " << int(end.back());
        EXPECT_EQ(rows[0][0], "Location"); // the byte order mark is not part of the name
        EXPECT_EQ(rows[2], std::vector<std::string>{""});
        EXPECT_EQ(rows[3][1], "B" + end + "C");
        EXPECT_EQ(lines, (std::vector<int>{1, 2, 3, 4}));
    }
}

TEST(CsvTable, LenientWhereSpreadsheetsAreAndStrictWhereRowsWouldVanish)
{
    // A quote inside an unquoted field, and text after a closing quote, stay.
    const Rows rows = readAll("ab\"c,\"x\"y,z\n");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"ab\"c", "xy", "z"}));

    // A quote never closed would swallow every later row: refused, naming
    // the line where it opened.
    CsvReader reader("a,b\n1,\"open\n2,x\n3,y\n");
    std::vector<std::string> fields;
    ASSERT_TRUE(reader.Next(fields).ok());
    auto bad = reader.Next(fields);
    ASSERT_FALSE(bad.ok());
    EXPECT_NE(bad.error().detail.find("line 2"), std::string::npos) << bad.error().detail;
}

TEST(CsvTable, Utf8CheckAndLatin1)
{
    EXPECT_TRUE(IsValidUtf8("abc \xC3\xA9 \xE5\x8C\x97 \xF0\x9F\x93\xBB"));
    EXPECT_FALSE(IsValidUtf8("caf\xE9"));          // Latin-1 é
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong "/"
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // a surrogate
    EXPECT_FALSE(IsValidUtf8("\xE5\x8C"));         // cut short
    EXPECT_EQ(Latin1ToUtf8("caf\xE9"), "caf\xC3\xA9");
}

} // namespace
