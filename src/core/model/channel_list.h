#pragma once
// Operations on the channel list of a Codeplug. Channels are identified by
// Number, never by list position; the list keeps the order of creation.

#include "model/codeplug.h"

#include <optional>

namespace qtx {

// Position of the entry with this number, if any.
std::optional<int> FindChannel(const Codeplug& cp, int number);

// An entry with this number exists and is in use.
bool ChannelExists(const Codeplug& cp, int number);
// Some entry of the list (InUse or not) has this number.
bool ChannelNumberUsed(const Codeplug& cp, int number);

ChannelRecord BlankChannel(int number);

// Removes the entry; later entries move down one position.
void DeleteChannel(Codeplug& cp, int number);

// The one-slot channel clipboard of the grid. Empty while InUse is not 1.
struct ChannelClipboard {
    ChannelRecord record;
    bool empty() const { return record.InUse != 1; }
};

void CopyChannel(const Codeplug& cp, int number, ChannelClipboard& clip);
void CutChannel(Codeplug& cp, int number, ChannelClipboard& clip);
// An empty clipboard deletes the target; otherwise the target is overwritten,
// or the clipboard is appended when the number is not in the list.
void PasteChannel(Codeplug& cp, int number, const ChannelClipboard& clip);

// Walks the list in order over memory channels (Number <= 200): n when an
// entry numbered n is met, else the Number of the last one walked, else 0.
int NearestMemoryChannel(const Codeplug& cp, int n);

// After channels were edited or deleted: keep the option, scan and emergency
// channel references pointing at channels that exist.
void RepairChannelReferences(Codeplug& cp);

// After the 2-tone or 5-tone entries changed: channel call references (and,
// for 5-tone, the emergency ID entry) point at entries in use.
void RepairTwoToneReferences(Codeplug& cp);
void RepairFiveToneReferences(Codeplug& cp);
void RepairSignalReferences(Codeplug& cp);

} // namespace qtx
