#pragma once
// Unsaved changes: the live Codeplug against the baseline of the last save,
// open, new or radio read, over every field a Save writes and an editor or
// a band change can alter. Fields only a radio read sets (RadioExtra,
// PttIdFlag, the DCS high bits that follow from the codes) and the comm
// book's own positions are left out. Comparing changes nothing.

#include "model/workspace.h"

#include <optional>
#include <string>

namespace qtx {

bool CodeplugEqualsBaseline(const Workspace& ws);
bool IsModified(const Workspace& ws);

// The first compared field that differs, in words for logs and the command
// line ("channel 12 Name", "DTMF M3 code"); none when nothing differs. The
// body's fields come first, in the order a data file holds them, then the
// channels in the baseline's list order.
std::optional<std::string> FirstDifference(const Workspace& ws);

} // namespace qtx
