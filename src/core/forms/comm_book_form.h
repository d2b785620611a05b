#pragma once
// The communication book editor's decisions, without widgets. The editor
// works on a copy of the book (the buffer); OK hands it back. A cell is
// stored only when its text was changed, so bytes the grid cannot show
// (NULs, characters above 127, odd padding) and every Index travel
// unchanged from file or Codeplug to file or Codeplug.
//
// Texts are Latin-1 bytes, as the book holds them.

#include "model/codeplug.h"
#include "model/result.h"

#include <optional>
#include <string>
#include <string_view>

namespace qtx {

inline constexpr int kBookEntryCount = 128;
inline constexpr size_t kBookCallIdLength = 5;
inline constexpr size_t kBookNameLength = 7;

// Grid columns: entry number (read-only), call ID, name.
enum BookColumn : int { kBookNumberColumn = 0, kBookCallIdColumn = 1, kBookNameColumn = 2 };

// The character a key stroke enters in a column, or none when the column
// refuses it: call IDs take digits; names take A-Z, digits and the space,
// with a-z entered as A-Z.
std::optional<char> BookCellChar(int column, char typed);
// Typed or pasted text as the column takes it: refused characters dropped,
// cut to the column's length.
std::string FilterBookCellText(int column, std::string_view typed);
// Characters a cell holds (5 for a call ID, 7 for a name, 0 otherwise).
size_t BookCellLength(int column);

// The storage rule: trailing spaces and anything after a NUL dropped, then
// a shorter text is ended by a NUL and padded with spaces.
template <size_t N>
void StoreBookText(FixedText<N>& field, std::string_view text)
{
    field.setTerminated(TrimFixed(text));
}

struct BookCell {
    int row = 0;
    int column = kBookCallIdColumn;
    friend bool operator==(const BookCell&, const BookCell&) = default;
};

// Where Enter goes from an editable cell: call ID -> name of the same
// entry, name -> call ID of the next entry, the last entry back to the first.
BookCell NextBookCell(BookCell from);

class CommBookForm {
public:
    explicit CommBookForm(const CommBook& book) : buffer_(book) {}

    const CommBook& buffer() const { return buffer_; }
    // What the grid shows: the entry number, or the stored text trimmed.
    std::string cellText(int row, int column) const;
    // Stores an edited cell by the storage rule; a text equal to what the
    // cell shows stores nothing. True when the buffer changed.
    bool commitCell(int row, int column, std::string_view text);
    // The whole buffer from a book file; on failure the buffer stays.
    Result<void> importFile(const std::string& path);
    Result<void> exportFile(const std::string& path) const;

private:
    CommBook buffer_;
};

// The path the book file dialogs start on: a bare file name (the
// remembered "new.cb") is placed in the data file's folder, or in the home
// folder while the Codeplug is untitled; a path with a folder is kept.
std::string BookDialogPath(const std::string& bookFileName, const std::string& dataFileName, bool untitled,
                           const std::string& homeFolder);

} // namespace qtx
