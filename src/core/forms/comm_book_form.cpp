#include "forms/comm_book_form.h"

#include "files/data_file.h"

namespace qtx {

std::optional<char> BookCellChar(int column, char typed)
{
    const bool digit = typed >= '0' && typed <= '9';
    if (column == kBookCallIdColumn)
        return digit ? std::optional<char>(typed) : std::nullopt;
    if (column != kBookNameColumn)
        return std::nullopt;
    if (typed >= 'a' && typed <= 'z')
        return static_cast<char>(typed - 'a' + 'A');
    if (digit || typed == ' ' || (typed >= 'A' && typed <= 'Z'))
        return typed;
    return std::nullopt;
}

size_t BookCellLength(int column)
{
    switch (column) {
    case kBookCallIdColumn:
        return kBookCallIdLength;
    case kBookNameColumn:
        return kBookNameLength;
    default:
        return 0;
    }
}

std::string FilterBookCellText(int column, std::string_view typed)
{
    std::string out;
    const size_t room = BookCellLength(column);
    for (char c : typed) {
        if (out.size() >= room)
            break;
        if (const auto taken = BookCellChar(column, c))
            out.push_back(*taken);
    }
    return out;
}

BookCell NextBookCell(BookCell from)
{
    if (from.column == kBookCallIdColumn)
        return {from.row, kBookNameColumn};
    return {(from.row + 1) % kBookEntryCount, kBookCallIdColumn};
}

std::string CommBookForm::cellText(int row, int column) const
{
    if (row < 0 || row >= kBookEntryCount)
        return {};
    const auto& entry = buffer_[static_cast<size_t>(row)];
    switch (column) {
    case kBookNumberColumn:
        return std::to_string(row);
    case kBookCallIdColumn:
        return entry.CallId.trimmed();
    case kBookNameColumn:
        return entry.Name.trimmed();
    default:
        return {};
    }
}

bool CommBookForm::commitCell(int row, int column, std::string_view text)
{
    if (row < 0 || row >= kBookEntryCount || BookCellLength(column) == 0)
        return false;
    // Entering and leaving a cell must not rewrite what it holds.
    if (text == cellText(row, column))
        return false;
    auto& entry = buffer_[static_cast<size_t>(row)];
    const CommBookEntry before = entry;
    const std::string taken = FilterBookCellText(column, text);
    if (column == kBookCallIdColumn)
        StoreBookText(entry.CallId, taken);
    else
        StoreBookText(entry.Name, taken);
    return !(entry == before);
}

Result<void> CommBookForm::importFile(const std::string& path)
{
    auto book = ReadCommBookFile(path);
    if (!book)
        return book.error();
    buffer_ = book.value();
    return {};
}

Result<void> CommBookForm::exportFile(const std::string& path) const { return WriteCommBookFile(path, buffer_); }

std::string BookDialogPath(const std::string& bookFileName, const std::string& dataFileName, bool untitled,
                           const std::string& homeFolder)
{
    if (bookFileName.find_first_of("/\\") != std::string::npos)
        return bookFileName;
    std::string folder = homeFolder;
    if (!untitled) {
        const size_t slash = dataFileName.find_last_of("/\\");
        folder = slash == std::string::npos ? std::string() : dataFileName.substr(0, slash);
    }
    if (folder.empty())
        return bookFileName;
    if (folder.back() == '/' || folder.back() == '\\')
        return folder + bookFileName;
    return folder + "/" + bookFileName;
}

} // namespace qtx
