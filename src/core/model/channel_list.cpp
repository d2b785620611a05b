#include "model/channel_list.h"

#include <algorithm>

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
