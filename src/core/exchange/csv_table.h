#pragma once
// Comma-separated tables as other programs write them: fields quoted with
// '"' when they hold a comma, a quote or a line break, '""' for a quote
// inside a quoted field, records ended by CRLF, LF or CR. The text is UTF-8;
// a leading byte order mark is dropped.

#include "model/result.h"

#include <string>
#include <string_view>
#include <vector>

namespace qtx {

// Reads one record at a time, so a large file costs one record of memory.
class CsvReader {
public:
    // `text` must outlive the reader.
    explicit CsvReader(std::string_view text);

    // The next record's fields into `fields`; false at the end of the text.
    // A quoted field still open at the end is an error naming its line.
    Result<bool> Next(std::vector<std::string>& fields);
    // The line on which the record last returned by Next begins (1 = first).
    int RecordLine() const { return recordLine_; }

private:
    std::string_view text_;
    size_t pos_ = 0;
    int line_ = 1;
    int recordLine_ = 0;
};

// The field as it must stand in a record: quoted when it holds a comma, a
// quote, a line break, or blanks at either end.
std::string CsvField(std::string_view value);
// The fields joined into one record, ended by CRLF.
std::string CsvRecord(const std::vector<std::string>& fields);

// Every byte sequence a valid UTF-8 encoding.
bool IsValidUtf8(std::string_view text);
// Latin-1 bytes as UTF-8.
std::string Latin1ToUtf8(std::string_view text);

} // namespace qtx
