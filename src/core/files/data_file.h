#pragma once
// The data file pair: the data file holds the Codeplug body as one record of
// 8667 bytes; the channel file beside it (same name ending in "fre") holds
// one 108-byte record per channel, in list order.

#include "model/codeplug.h"
#include "model/result.h"
#include "model/workspace.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qtx {

inline constexpr size_t kDataFileSize = 8667;
inline constexpr size_t kChannelRecordSize = 108;
inline constexpr size_t kCommBookFileSize = 1792;

// The data file name minus its last three characters, followed by "fre".
// None when the file name is shorter than three characters or when the
// result would be the data file itself (a data file ending in "fre").
std::optional<std::string> ChannelFileName(const std::string& dataFile);

std::vector<uint8_t> EncodeBody(const CodeplugBody& body);
// False when fewer than 8667 bytes are given.
bool DecodeBody(std::span<const uint8_t> bytes, CodeplugBody& body);
std::vector<uint8_t> EncodeChannel(const ChannelRecord& channel);
ChannelRecord DecodeChannel(std::span<const uint8_t> bytes);

// What an open found beyond the data file itself.
struct OpenReport {
    int channelsListed = 0;  // ChannelCount of the data file
    int channelsRead = 0;    // channel records found and kept
    int recordsDropped = 0;  // records with a number outside 1-203 or repeated
    bool channelFileMissing = false;
    bool complete() const { return channelsRead == channelsListed && recordsDropped == 0; }
};

// Reads a data file pair into a Codeplug without touching any workspace.
// A missing, short or unreadable data file, or a ChannelCount outside
// 0-203, is an error; a short or missing channel file is reported.
Result<OpenReport> ReadCodeplugFiles(const std::string& dataFile, Codeplug& out);

// Writes live (with the current band type) to ws.fileName and its channel
// file. Only when both files were written is the snapshot taken and the
// Codeplug titled; on failure the files on disk and the workspace stay as
// they were.
Result<void> SaveCodeplug(Workspace& ws);

// Loads the pair into baseline and live; ws.fileName becomes the path.
// On failure nothing in the workspace changes.
Result<OpenReport> OpenCodeplug(Workspace& ws, const std::string& dataFile);

// Template load of a factory file: settings and band from the file, and all
// of its channels or only its VFO channel. On failure the baseline takes
// the live Codeplug and false is returned.
bool LoadTemplate(Workspace& ws, const std::string& dataFile, bool keepAllChannels);

// The communication book file: 128 entries of 14 bytes.
std::vector<uint8_t> EncodeCommBook(const CommBook& book);
Result<CommBook> ReadCommBookFile(const std::string& path);
Result<void> WriteCommBookFile(const std::string& path, const CommBook& book);

} // namespace qtx
