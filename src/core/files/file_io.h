#pragma once
// Reading files from others without trusting them, and replacing files so
// that a failed or killed write never destroys what was on disk.
//
// Every reader goes through ReadBoundedFile: only a regular file is opened
// (a FIFO, a device, a socket or a folder is refused before anything could
// block on it), and no more is read than the format can use plus one byte.
// Every writer goes through ReplaceFile or the pair commit: the new bytes
// are written and flushed beside the target, renamed over it, and the
// folder is flushed, so the target holds the old or the new content after
// a crash or a power loss, never a part.

#include "model/result.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qtx {

// What a reader accepts: a file of minBytes to maxBytes bytes, called
// `kind` ("a data file") in messages.
struct FileShape {
    const char* kind;
    size_t minBytes;
    size_t maxBytes;
    // A longer file is read from its first maxBytes instead of refused
    // (formats whose readers use only a leading record).
    bool takesPrefix = false;
};

// The whole file when it is a regular file (a symbolic link to one
// included) whose size fits the shape; otherwise a "FileError" that names
// the cause. Never blocks on a FIFO or device, never reads more than
// shape.maxBytes + 1 bytes.
Result<std::vector<uint8_t>> ReadBoundedFile(const std::string& path, const FileShape& shape);

// The file a write to `path` replaces: symbolic links followed to the end,
// so the link stays and its target gets the new content. Refused when what
// is there is not a regular file (a device, FIFO, socket or folder) or the
// links go round in a loop.
Result<std::string> ResolveOutputPath(const std::string& path);

// Replaces one file with `bytes` through a temporary file beside it. On
// failure the file stays as it was and the temporary file is removed.
Result<void> ReplaceFile(const std::string& path, const std::vector<uint8_t>& bytes);

// Shared by the pair commit: a file written whole and flushed to disk
// (`temp` is created new, with the permissions `mode`), and a folder's
// entries flushed.
Result<void> WriteFlushedFile(const std::string& temp, const std::vector<uint8_t>& bytes, unsigned mode,
                              const std::string& shownName);
Result<void> FlushFolderOf(const std::string& path);
// The permissions of the file at `path`, or rw-r--r-- for a new file.
unsigned PermissionsFor(const std::string& path);

// Test hook: called at every step of a pair commit and of a file write
// ("channel temporary created" ...), so a test can stop a save exactly
// between two steps. Null (the default) calls nothing.
using WriteProbe = void (*)(std::string_view step);
void SetWriteProbe(WriteProbe probe);
void ProbeWrite(std::string_view step);

} // namespace qtx
