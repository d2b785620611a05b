#pragma once
// Saving two files as one: the data file and its channel file must never be
// seen half old, half new, whatever stops the save (a kill, a crash, a power
// loss).
//
// Both new files are written and flushed beside their targets under fixed
// names (the target's name followed by ".qtx-new~"); these names are the
// journal. The channel file's temporary is written first and renamed over
// its target first, then the data file's. So a data-file temporary found on
// its own means the channel file is already new and the commit is completed
// by renaming it; a channel-file temporary still there means no rename had
// happened and both temporaries are dropped.

#include "model/result.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qtx {

enum class PairRecovery {
    None,      // no save was cut short
    Completed, // the new pair was put in place
    Discarded, // the old pair stays; the unfinished new one was dropped
};

// The journal name of a target.
std::string PairTemporaryName(const std::string& target);

// Brings the pair to the old or the new state after a save that was cut
// short, and removes temporary files an earlier single-file write left
// beside either file. An error means a half-done commit could not be
// completed: the pair on disk must not be used.
Result<PairRecovery> RecoverPair(const std::string& dataFile, const std::string& channelFile);

// Replaces both files (recovering first). On failure before the first
// rename both old files stay and no temporary file is left.
Result<void> CommitPair(const std::string& dataFile, const std::vector<uint8_t>& dataBytes,
                        const std::string& channelFile, const std::vector<uint8_t>& channelBytes);

} // namespace qtx
