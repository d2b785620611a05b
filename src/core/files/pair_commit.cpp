#include "files/pair_commit.h"

#include "files/file_io.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace qtx {

namespace fs = std::filesystem;

namespace {

bool exists(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// "<name>.1a2b3c4d~": what a single-file write leaves when it is killed
// before its rename.
bool isRandomTemporaryOf(const std::string& entry, const std::string& name)
{
    if (entry.size() != name.size() + 10 || entry.compare(0, name.size(), name) != 0)
        return false;
    if (entry[name.size()] != '.' || entry.back() != '~')
        return false;
    for (size_t i = name.size() + 1; i < entry.size() - 1; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(entry[i])) || std::isupper(static_cast<unsigned char>(entry[i])))
            return false;
    return true;
}

void removeRandomTemporariesOf(const std::string& target)
{
    const fs::path p(target);
    const std::string name = p.filename().string();
    std::error_code ec;
    fs::directory_iterator it(p.has_parent_path() ? p.parent_path() : fs::path("."), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (isRandomTemporaryOf(entry, name) && it->is_regular_file(ec))
            ::unlink(it->path().c_str());
    }
}

Error commitError(std::string detail) { return Error{"FileError", std::move(detail)}; }

} // namespace

std::string PairTemporaryName(const std::string& target) { return target + ".qtx-new~"; }

Result<PairRecovery> RecoverPair(const std::string& dataFile, const std::string& channelFile)
{
    // What cannot be written to (a device in the data file's place ...)
    // holds no commit; the reader refuses it on its own.
    auto data = ResolveOutputPath(dataFile);
    auto channels = ResolveOutputPath(channelFile);
    if (!data || !channels)
        return PairRecovery::None;
    const std::string dataTemp = PairTemporaryName(data.value());
    const std::string channelTemp = PairTemporaryName(channels.value());

    PairRecovery done = PairRecovery::None;
    if (exists(channelTemp)) {
        ::unlink(channelTemp.c_str());
        ::unlink(dataTemp.c_str());
        (void)FlushFolderOf(channelTemp);
        (void)FlushFolderOf(dataTemp);
        done = PairRecovery::Discarded;
    } else if (exists(dataTemp)) {
        if (::rename(dataTemp.c_str(), data.value().c_str()) != 0)
            return commitError("a save of " + dataFile + " was cut short and cannot be completed: " +
                               std::strerror(errno));
        if (auto flushed = FlushFolderOf(data.value()); !flushed)
            return flushed.error();
        done = PairRecovery::Completed;
    }
    removeRandomTemporariesOf(data.value());
    removeRandomTemporariesOf(channels.value());
    return done;
}

Result<void> CommitPair(const std::string& dataFile, const std::vector<uint8_t>& dataBytes,
                        const std::string& channelFile, const std::vector<uint8_t>& channelBytes)
{
    if (auto recovered = RecoverPair(dataFile, channelFile); !recovered)
        return recovered.error();
    auto data = ResolveOutputPath(dataFile);
    if (!data)
        return data.error();
    auto channels = ResolveOutputPath(channelFile);
    if (!channels)
        return channels.error();
    const std::string& dataTarget = data.value();
    const std::string& channelTarget = channels.value();
    std::error_code ec;
    if (dataTarget == channelTarget || fs::equivalent(dataTarget, channelTarget, ec))
        return commitError("cannot write " + dataFile + ": its channel file " + channelFile + " is the same file");

    const std::string dataTemp = PairTemporaryName(dataTarget);
    const std::string channelTemp = PairTemporaryName(channelTarget);
    auto dropTemporaries = [&] {
        ::unlink(channelTemp.c_str());
        ::unlink(dataTemp.c_str());
    };
    // The channel temporary first: while it exists, the commit has not begun.
    if (auto written = WriteFlushedFile(channelTemp, channelBytes, PermissionsFor(channelTarget), channelFile);
        !written)
        return written;
    if (auto written = WriteFlushedFile(dataTemp, dataBytes, PermissionsFor(dataTarget), dataFile); !written) {
        dropTemporaries();
        return written;
    }
    for (const auto& folder : {dataTemp, channelTemp}) {
        if (auto flushed = FlushFolderOf(folder); !flushed) {
            dropTemporaries();
            return flushed;
        }
    }
    ProbeWrite("temporaries flushed");

    if (::rename(channelTemp.c_str(), channelTarget.c_str()) != 0) {
        const int err = errno;
        dropTemporaries();
        return commitError("cannot replace " + channelFile + ": " + std::strerror(err));
    }
    ProbeWrite("channel file renamed");
    // Flushed before the data file moves, so no crash can keep the second
    // rename and lose the first.
    if (auto flushed = FlushFolderOf(channelTarget); !flushed)
        return flushed;
    ProbeWrite("channel rename flushed");
    if (::rename(dataTemp.c_str(), dataTarget.c_str()) != 0)
        return commitError("cannot replace " + dataFile + ": " + std::strerror(errno) +
                           "; the save is completed when the pair is next opened");
    ProbeWrite("data file renamed");
    return FlushFolderOf(dataTarget);
}

} // namespace qtx
