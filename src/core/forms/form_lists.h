#pragma once
// List entries shared by the setting windows: an entry is a run of parts,
// each a language text (id > 0) or a literal, shown joined. Stored values
// map to rows totally: anything outside shows row 0.

#include "model/codeplug.h"

#include <string>
#include <utility>
#include <vector>

namespace qtx {

struct TextPart {
    int id = 0;       // language text; 0 = the literal
    std::string text; // ASCII
};
using ListEntry = std::vector<TextPart>;

inline TextPart Tx(int id) { return {id, {}}; }
inline TextPart Lit(std::string text) { return {0, std::move(text)}; }

// The entry as shown: `lookup(id)` gives a language text.
template <class Lookup> std::string EntryText(const ListEntry& entry, const Lookup& lookup)
{
    std::string out;
    for (const TextPart& p : entry)
        out += p.id > 0 ? std::string(lookup(p.id)) : p.text;
    return out;
}

using ListEntries = std::vector<ListEntry>;

ListEntries TextEntries(std::initializer_list<int> ids);
// Decimal numbers first, first+1, ..., last.
ListEntries NumberEntries(int first, int last);

// The row holding `value`, or 0 when the list has none.
int RowOfValue(const std::vector<int>& values, int value);
// The value at `row`, or `none` when the row is outside the list.
int ValueAtRow(const std::vector<int>& values, int row, int none = 0);
// A stored position as a row: outside [0, count) shows row 0.
int RowInRange(int value, int count);

// A byte holding a number first..last as a row (outside: row 0), and back.
int RowFromByte(int byte, int first, int last);
uint8_t ByteFromRow(int row, int first, int last);

// The memory channels (numbers 1-200) of the channel table, each as its
// number - 1, ascending, once each.
std::vector<int> MemoryChannelEntries(const Codeplug& cp);

} // namespace qtx
