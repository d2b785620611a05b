#pragma once
// The Codeplug being edited: the live copy every editor works on, the
// baseline of the last save, open, new or radio read, and the document
// state around them.

#include "model/codeplug.h"

#include <string>

namespace qtx {

inline constexpr const char* kUntitledFileName = "new.dat";
inline constexpr const char* kUntitledBookFileName = "new.cb";

struct Workspace {
    Codeplug live;
    Codeplug baseline;
    int16_t bandType = kModelBandType; // the band type the program currently works with
    std::string fileName = kUntitledFileName;
    std::string bookFileName = kUntitledBookFileName;
    bool isUntitled = true;
};

// Live -> baseline (the live BandType takes the current band type first).
void TakeSnapshot(Workspace& ws);
// Baseline -> live; the current band type follows the restored body.
void RestoreSnapshot(Workspace& ws);

// Copies the body and the first ChannelCount channels; slots past the count
// are reset so that no stale channel survives.
void CopyCodeplug(const Codeplug& from, Codeplug& to);

} // namespace qtx
