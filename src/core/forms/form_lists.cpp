#include "forms/form_lists.h"

#include <algorithm>

namespace qtx {

ListEntries TextEntries(std::initializer_list<int> ids)
{
    ListEntries out;
    for (int id : ids)
        out.push_back({Tx(id)});
    return out;
}

ListEntries NumberEntries(int first, int last)
{
    ListEntries out;
    for (int n = first; n <= last; ++n)
        out.push_back({Lit(std::to_string(n))});
    return out;
}

int RowOfValue(const std::vector<int>& values, int value)
{
    const auto it = std::find(values.begin(), values.end(), value);
    return it == values.end() ? 0 : static_cast<int>(it - values.begin());
}

int ValueAtRow(const std::vector<int>& values, int row, int none)
{
    return row >= 0 && row < static_cast<int>(values.size()) ? values[row] : none;
}

int RowInRange(int value, int count)
{
    return value >= 0 && value < count ? value : 0;
}

int RowFromByte(int byte, int first, int last)
{
    return byte >= first && byte <= last ? byte - first : 0;
}

uint8_t ByteFromRow(int row, int first, int last)
{
    return static_cast<uint8_t>(first + RowInRange(row, last - first + 1));
}

std::vector<int> MemoryChannelEntries(const Codeplug& cp)
{
    std::vector<int> out;
    const int count = std::clamp(cp.count(), 0, kMaxChannels);
    for (int i = 0; i < count; ++i) {
        const int number = cp.channels[i].Number;
        if (number >= 1 && number <= kMemoryChannels)
            out.push_back(number - 1);
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

} // namespace qtx
