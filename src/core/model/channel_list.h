#pragma once
// Operations on the channel list of a Codeplug. Channels are identified by
// Number, never by list position; the list keeps the order of creation.

#include "model/codeplug.h"

#include <optional>
#include <vector>

namespace qtx {

// Position of the entry with this number, if any.
std::optional<int> FindChannel(const Codeplug& cp, int number);

// An entry with this number exists and is in use.
bool ChannelExists(const Codeplug& cp, int number);
// Some entry of the list (InUse or not) has this number.
bool ChannelNumberUsed(const Codeplug& cp, int number);

ChannelRecord BlankChannel(int number);

// For each entry of first's list (up to its ChannelCount), the position of
// the entry of second's list with the same number, or -1. The entry at the
// same position is preferred; each entry of second partners at most one.
std::vector<int> PartnerChannels(const Codeplug& first, const Codeplug& second);

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

// --- Several grid rows at once ---------------------------------------------
// Row numbers are channel numbers; lists of them may come in any order and
// are taken sorted, each number once.

// What the grid's Copy and Cut hold: one entry per copied row, in row order.
// An entry whose InUse is not 1 stands for an empty row and clears its row
// when pasted, as the one-channel clipboard does.
struct ChannelRows {
    std::vector<ChannelRecord> rows;
    int size() const { return static_cast<int>(rows.size()); }
};

ChannelRows CopyChannels(const Codeplug& cp, std::vector<int> numbers);

struct ChannelPasteResult {
    int pasted = 0;       // rows written or cleared
    int dropped = 0;      // entries that did not fit
    bool vfoKept = false; // an empty entry met the VFO, which stays
};
// Where a paste at `first` writes: one entry pastes exactly as PasteChannel;
// a longer list fills rows from `first` down but never past the last memory
// channel, and PA, PB and the VFO take its first entry only.
int ChannelPasteCount(int first, int entries);
// How many channels in use the paste would overwrite or clear.
int ChannelsReplacedByPaste(const Codeplug& cp, int first, const ChannelRows& clip);
ChannelPasteResult PasteChannels(Codeplug& cp, int first, const ChannelRows& clip);

struct ChannelDeleteResult {
    int deleted = 0;
    bool vfoKept = false; // the VFO was among them and stays
};
// Removes the channels in use among `numbers`; the VFO is never removed.
ChannelDeleteResult DeleteChannels(Codeplug& cp, std::vector<int> numbers);

// Moves each of the memory channels `numbers` one row up (-1) or down (+1),
// the neighbour (a channel or an empty row) taking its place; a block moves
// as a whole. The channel references of the option, scan and emergency
// settings follow their channels. Nothing moves when one of them would
// leave the memory channels or is not a memory channel. The rows the
// numbers now hold, or none.
std::optional<std::vector<int>> MoveChannels(Codeplug& cp, std::vector<int> numbers, int direction);

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
