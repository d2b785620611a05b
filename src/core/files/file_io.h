#pragma once
// Whole-file reads and safe replacement of files: a file is written beside
// its target and renamed over it, so a failed write never destroys what was
// on disk.

#include "model/result.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qtx {

// The whole file, or an error naming the cause.
Result<std::vector<uint8_t>> ReadWholeFile(const std::string& path);

// Writes every file to a temporary file in its folder first; only when all
// were written are they renamed over their targets. On failure nothing is
// replaced and the temporary files are removed.
Result<void> ReplaceFiles(const std::vector<std::pair<std::string, std::vector<uint8_t>>>& files);

} // namespace qtx
