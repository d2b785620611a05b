#pragma once
// The data file pair: the data file holds the Codeplug body as one record of
// 8667 bytes; the channel file beside it (same name ending in "fre") holds
// one 108-byte record per channel, in list order.

#include "files/file_io.h"
#include "files/pair_commit.h"
#include "image/radio_image.h"
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
// Language text: the file is not a data file of this program.
inline constexpr const char* kNotADataFileText = "7416";
inline constexpr size_t kChannelRecordSize = 108;
inline constexpr size_t kCommBookFileSize = 1792;

inline constexpr FileShape kDataFileShape{"a data file", kDataFileSize, kDataFileSize};
// Records past the last channel mean nothing; a file with more than a full
// list could hold is not a channel file.
inline constexpr FileShape kChannelFileShape{"a channel file", 0, kMaxChannels * kChannelRecordSize};
// A longer book file is read from its first record.
inline constexpr FileShape kCommBookFileShape{"a communication book file", kCommBookFileSize, kCommBookFileSize, true};
inline constexpr FileShape kRadioImageFileShape{"a radio image", kImageSize, kImageSize};
// The JSON form of a Codeplug: far larger than any export of a full one;
// stops a wrong file from filling the memory before a parser sees it.
inline constexpr FileShape kJsonCodeplugFileShape{"a JSON Codeplug", 0, 64 * 1024 * 1024};

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
    bool channelFileMissing = false; // or unusable
    std::string channelFileProblem;  // why, in words, when missing
    PairRecovery interruptedSave = PairRecovery::None; // a save cut short, put right before reading
    std::string channelFile;         // the channel file looked for
    bool complete() const { return channelsRead == channelsListed && recordsDropped == 0; }
};

// Reads a data file pair into a Codeplug without touching any workspace,
// after completing or dropping a save of the pair that was cut short.
// A missing or unreadable data file, one of the wrong size, or a
// ChannelCount outside 0-203, is an error; a short, missing or unusable
// channel file is reported.
Result<OpenReport> ReadCodeplugFiles(const std::string& dataFile, Codeplug& out);

// Writes live (with the current band type) to ws.fileName and its channel
// file as one commit: after a failure or a kill the pair on disk is the old
// or the new one, never a mix. Only when both files were written is the
// snapshot taken and the Codeplug titled; on failure the workspace stays as
// it was.
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
