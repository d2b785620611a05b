#include "model/channel_list.h"

#include <algorithm>
#include <array>

namespace qtx {

std::optional<int> FindChannel(const Codeplug& cp, int number)
{
    for (int i = 0; i < cp.count(); ++i)
        if (cp.channels[i].Number == number)
            return i;
    return std::nullopt;
}

bool ChannelExists(const Codeplug& cp, int number)
{
    const auto pos = FindChannel(cp, number);
    return pos && cp.channels[*pos].InUse == 1;
}

bool ChannelNumberUsed(const Codeplug& cp, int number)
{
    const int count = std::clamp<int>(cp.body.ChannelCount, 0, kMaxChannels);
    for (int i = 0; i < count; ++i)
        if (cp.channels[i].Number == number)
            return true;
    return false;
}

std::vector<int> PartnerChannels(const Codeplug& first, const Codeplug& second)
{
    const int countA = std::clamp<int>(first.body.ChannelCount, 0, kMaxChannels);
    const int countB = std::clamp<int>(second.body.ChannelCount, 0, kMaxChannels);
    std::vector<bool> taken(static_cast<size_t>(countB));
    std::vector<int> partners(static_cast<size_t>(countA), -1);
    for (int i = 0; i < countA; ++i) {
        const int number = first.channels[static_cast<size_t>(i)].Number;
        auto free = [&](int j) { return !taken[static_cast<size_t>(j)] && second.channels[static_cast<size_t>(j)].Number == number; };
        int partner = i < countB && free(i) ? i : -1;
        for (int j = 0; j < countB && partner < 0; ++j)
            if (free(j))
                partner = j;
        if (partner >= 0)
            taken[static_cast<size_t>(partner)] = true;
        partners[static_cast<size_t>(i)] = partner;
    }
    return partners;
}

ChannelRecord BlankChannel(int number)
{
    ChannelRecord r;
    r.Number = static_cast<int16_t>(number);
    return r;
}

void DeleteChannel(Codeplug& cp, int number)
{
    const auto pos = FindChannel(cp, number);
    if (!pos)
        return;
    const int count = cp.count();
    std::move(cp.channels.begin() + *pos + 1, cp.channels.begin() + count, cp.channels.begin() + *pos);
    cp.channels[count - 1] = ChannelRecord{};
    cp.body.ChannelCount = static_cast<int16_t>(count - 1);
}

void CopyChannel(const Codeplug& cp, int number, ChannelClipboard& clip)
{
    const auto pos = FindChannel(cp, number);
    if (pos && cp.channels[*pos].InUse == 1)
        clip.record = cp.channels[*pos];
    else
        clip.record.InUse = 0;
}

void CutChannel(Codeplug& cp, int number, ChannelClipboard& clip)
{
    CopyChannel(cp, number, clip);
    if (!clip.empty())
        DeleteChannel(cp, number);
}

void PasteChannel(Codeplug& cp, int number, const ChannelClipboard& clip)
{
    if (number < 1 || number > kMaxChannels)
        return;
    if (clip.empty()) {
        DeleteChannel(cp, number);
        return;
    }
    int pos;
    if (const auto found = FindChannel(cp, number)) {
        pos = *found;
    } else {
        if (cp.count() >= kMaxChannels)
            return; // cannot happen while numbers are unique; never write past the list
        pos = cp.body.ChannelCount++;
    }
    cp.channels[pos] = clip.record;
    cp.channels[pos].Number = static_cast<int16_t>(number);
}

namespace {

std::vector<int> sortedUnique(std::vector<int> numbers)
{
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

} // namespace

ChannelRows CopyChannels(const Codeplug& cp, std::vector<int> numbers)
{
    ChannelRows out;
    for (int n : sortedUnique(std::move(numbers))) {
        ChannelClipboard one;
        CopyChannel(cp, n, one);
        out.rows.push_back(one.record);
    }
    return out;
}

int ChannelPasteCount(int first, int entries)
{
    if (first < 1 || first > kMaxChannels || entries <= 0)
        return 0;
    if (entries == 1 || first > kMemoryChannels)
        return 1;
    return std::min(entries, kMemoryChannels - first + 1);
}

int ChannelsReplacedByPaste(const Codeplug& cp, int first, const ChannelRows& clip)
{
    int replaced = 0;
    for (int i = 0; i < ChannelPasteCount(first, clip.size()); ++i)
        replaced += ChannelExists(cp, first + i) ? 1 : 0;
    return replaced;
}

ChannelPasteResult PasteChannels(Codeplug& cp, int first, const ChannelRows& clip)
{
    ChannelPasteResult result;
    const int count = ChannelPasteCount(first, clip.size());
    result.dropped = clip.size() - count;
    for (int i = 0; i < count; ++i) {
        const ChannelClipboard one{clip.rows[i]};
        // Only a list keeps the VFO; one entry pastes as the one-channel clipboard.
        if (clip.size() > 1 && one.empty() && first + i == kChannelVfo) {
            result.vfoKept = true;
            continue;
        }
        PasteChannel(cp, first + i, one);
        ++result.pasted;
    }
    return result;
}

ChannelDeleteResult DeleteChannels(Codeplug& cp, std::vector<int> numbers)
{
    ChannelDeleteResult result;
    for (int n : sortedUnique(std::move(numbers))) {
        if (!ChannelExists(cp, n))
            continue;
        if (n == kChannelVfo) {
            result.vfoKept = true;
            continue;
        }
        DeleteChannel(cp, n);
        ++result.deleted;
    }
    return result;
}

namespace {

// Rows a and b trade their channels (either may be empty).
void swapRows(Codeplug& cp, int a, int b)
{
    const auto pa = FindChannel(cp, a);
    const auto pb = FindChannel(cp, b);
    if (pa)
        cp.channels[*pa].Number = static_cast<int16_t>(b);
    if (pb)
        cp.channels[*pb].Number = static_cast<int16_t>(a);
}

template <class T>
void follow(T& field, const std::array<int, kMaxChannels + 1>& moved, int offset)
{
    const int number = field + offset;
    if (number >= 1 && number <= kMemoryChannels)
        field = static_cast<T>(moved[number] - offset);
}

} // namespace

std::optional<std::vector<int>> MoveChannels(Codeplug& cp, std::vector<int> numbers, int direction)
{
    numbers = sortedUnique(std::move(numbers));
    if (numbers.empty() || (direction != -1 && direction != 1))
        return std::nullopt;
    for (int n : numbers)
        if (n < 1 || n > kMemoryChannels || n + direction < 1 || n + direction > kMemoryChannels)
            return std::nullopt;
    // moved[n]: the row that what was in row n ends up in.
    std::array<int, kMaxChannels + 1> moved{};
    for (int n = 0; n <= kMaxChannels; ++n)
        moved[n] = n;
    auto trade = [&](int a, int b) {
        swapRows(cp, a, b);
        for (int& row : moved)
            row = row == a ? b : row == b ? a : row;
    };
    // Up from the top, down from the bottom, so a block moves as one.
    if (direction < 0)
        for (int n : numbers)
            trade(n, n - 1);
    else
        for (auto it = numbers.rbegin(); it != numbers.rend(); ++it)
            trade(*it, *it + 1);

    follow(cp.body.Settings.Options.ChannelSelect, moved, 1);
    follow(cp.body.Settings.Emergency.EmergencyChannel, moved, 0);
    follow(cp.body.Settings.Scan.Priority1Channel, moved, 0);
    follow(cp.body.Settings.Scan.Priority2Channel, moved, 0);
    RepairChannelReferences(cp);
    for (int& n : numbers)
        n += direction;
    return numbers;
}

int NearestMemoryChannel(const Codeplug& cp, int n)
{
    int last = 0;
    for (int i = 0; i < cp.count(); ++i) {
        const int number = cp.channels[i].Number;
        if (number > kMemoryChannels)
            continue;
        if (number == n)
            return n;
        last = number;
    }
    return last;
}

namespace {

// A 1-based channel number, 0 = none.
template <class T>
void repairOneBased(const Codeplug& cp, T& field)
{
    if (field == 0)
        return;
    field = static_cast<T>(NearestMemoryChannel(cp, field));
}

} // namespace

void RepairChannelReferences(Codeplug& cp)
{
    // ChannelSelect is a radio slot (number - 1). Its PA and PB choices stay
    // while those presets exist.
    int16_t& select = cp.body.Settings.Options.ChannelSelect;
    const bool presetKept = (select == kChannelPA - 1 || select == kChannelPB - 1) && FindChannel(cp, select + 1);
    if (!presetKept) {
        const int r = NearestMemoryChannel(cp, select + 1);
        select = static_cast<int16_t>(r != 0 ? r - 1 : 0);
    }
    repairOneBased(cp, cp.body.Settings.Emergency.EmergencyChannel);
    repairOneBased(cp, cp.body.Settings.Scan.Priority1Channel);
    repairOneBased(cp, cp.body.Settings.Scan.Priority2Channel);
}

namespace {

template <class Entries>
int repairEntryReference(const Entries& entries, int k)
{
    const int m = static_cast<int>(entries.size());
    if (k >= 0 && k < m && entries[k].Empty == 0)
        return k;
    for (int i = 0; i < m; ++i)
        if (entries[i].Empty == 0)
            return i;
    return 0;
}

} // namespace

void RepairTwoToneReferences(Codeplug& cp)
{
    const auto& entries = cp.body.Settings.TwoTone.Entries;
    for (int i = 0; i < cp.count(); ++i) {
        ChannelRecord& ch = cp.channels[i];
        if (ch.OptionalSignal == 2)
            ch.TwoToneCall = static_cast<int16_t>(repairEntryReference(entries, ch.TwoToneCall));
    }
}

void RepairFiveToneReferences(Codeplug& cp)
{
    const auto& calls = cp.body.Settings.FiveTone.CallList;
    for (int i = 0; i < cp.count(); ++i) {
        ChannelRecord& ch = cp.channels[i];
        if (ch.OptionalSignal == 3)
            ch.FiveToneCall = static_cast<int16_t>(repairEntryReference(calls, ch.FiveToneCall));
    }
    EmergencySettings& em = cp.body.Settings.Emergency;
    if (em.IdType == 2)
        em.IdGroup = static_cast<uint8_t>(repairEntryReference(calls, em.IdGroup));
}

void RepairSignalReferences(Codeplug& cp)
{
    RepairTwoToneReferences(cp);
    RepairFiveToneReferences(cp);
}

} // namespace qtx
