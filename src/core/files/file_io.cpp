#include "files/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace qtx {

namespace fs = std::filesystem;

namespace {

WriteProbe g_probe = nullptr;

Error fileError(std::string detail) { return Error{"FileError", std::move(detail)}; }

Error fileError(const std::string& what, const std::string& path, int err)
{
    return fileError(what + " " + path + ": " + std::strerror(err));
}

// What stands at a path that is not a regular file, in words.
const char* typeName(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a named pipe (FIFO)";
    if (S_ISCHR(mode))
        return "a character device";
    if (S_ISBLK(mode))
        return "a block device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a regular file";
}

Error notAFile(const std::string& verb, const std::string& path, mode_t mode, const char* kind)
{
    return fileError(verb + " " + path + ": it is " + typeName(mode) + ", not " + kind);
}

std::string sizeRule(const FileShape& shape)
{
    if (shape.minBytes == shape.maxBytes)
        return std::to_string(shape.maxBytes);
    if (shape.minBytes == 0)
        return "at most " + std::to_string(shape.maxBytes);
    return std::to_string(shape.minBytes) + " to " + std::to_string(shape.maxBytes);
}

Error wrongSize(const std::string& path, const FileShape& shape, const std::string& held)
{
    return fileError(path + " holds " + held + " bytes; " + shape.kind + " holds " + sizeRule(shape));
}

std::string randomTemporaryBeside(const std::string& path)
{
    static std::mt19937 rng{std::random_device{}()};
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%08x~", static_cast<unsigned>(rng()));
    return path + suffix;
}

bool writeAll(int fd, const std::vector<uint8_t>& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

Result<std::vector<uint8_t>> ReadBoundedFile(const std::string& path, const FileShape& shape)
{
    // Looked at before it is opened: opening a FIFO waits for a writer, and
    // opening a device may already do something.
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return fileError("cannot open", path, errno);
    if (!S_ISREG(st.st_mode))
        return notAFile("cannot read", path, st.st_mode, shape.kind);
    if (static_cast<unsigned long long>(st.st_size) > shape.maxBytes && !shape.takesPrefix)
        return wrongSize(path, shape, std::to_string(st.st_size));

    // Non-blocking in case the path was swapped for a FIFO since.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return fileError("cannot open", path, errno);
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return fileError("cannot read", path, err);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return notAFile("cannot read", path, st.st_mode, shape.kind);
    }
    // One byte more than can be used tells a file that grew, or one whose
    // size the system does not know, from one that fits.
    const size_t limit = shape.takesPrefix ? shape.maxBytes : shape.maxBytes + 1;
    std::vector<uint8_t> data;
    data.reserve(std::min(limit, static_cast<size_t>(st.st_size) + 1));
    uint8_t buf[65536];
    while (data.size() < limit) {
        const ssize_t n = ::read(fd, buf, std::min(sizeof buf, limit - data.size()));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            return fileError("cannot read", path, err);
        }
        if (n == 0)
            break;
        data.insert(data.end(), buf, buf + n);
    }
    ::close(fd);
    const size_t got = data.size();
    if (got > shape.maxBytes)
        return wrongSize(path, shape, "more than " + std::to_string(shape.maxBytes));
    if (got < shape.minBytes)
        return wrongSize(path, shape, std::to_string(got));
    return data;
}

Result<std::string> ResolveOutputPath(const std::string& path)
{
    fs::path p(path);
    for (int hops = 0;; ++hops) {
        struct stat st;
        if (::lstat(p.c_str(), &st) != 0) {
            if (errno == ENOENT)
                return p.string(); // a new file
            return fileError("cannot write", path, errno);
        }
        if (S_ISREG(st.st_mode))
            return p.string();
        if (!S_ISLNK(st.st_mode))
            return notAFile("cannot write", path, st.st_mode, "a regular file");
        if (hops == 40)
            return fileError("cannot write", path, ELOOP);
        std::error_code ec;
        const fs::path target = fs::read_symlink(p, ec);
        if (ec)
            return fileError("cannot write", path, ec.value());
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
}

unsigned PermissionsFor(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0644;
}

Result<void> WriteFlushedFile(const std::string& temp, const std::vector<uint8_t>& bytes, unsigned mode,
                              const std::string& shownName)
{
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0)
        return fileError("cannot write", shownName, errno);
    ProbeWrite("temporary created");
    const bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    const int err = errno;
    const bool closed = ::close(fd) == 0;
    if (!ok || !closed) {
        ::unlink(temp.c_str());
        return fileError("cannot write", shownName, ok ? errno : err);
    }
    ProbeWrite("temporary written");
    return {};
}

Result<void> FlushFolderOf(const std::string& path)
{
    const fs::path parent = fs::path(path).parent_path();
    const std::string dir = parent.empty() ? "." : parent.string();
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return fileError("cannot flush the folder", dir, errno);
    // Some file systems cannot flush a folder (EINVAL); there is nothing
    // more to do for them.
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    const int err = errno;
    ::close(fd);
    if (!ok)
        return fileError("cannot flush the folder", dir, err);
    return {};
}

Result<void> ReplaceFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    auto target = ResolveOutputPath(path);
    if (!target)
        return target.error();
    const std::string& real = target.value();
    const std::string temp = randomTemporaryBeside(real);
    if (auto written = WriteFlushedFile(temp, bytes, PermissionsFor(real), path); !written)
        return written;
    if (::rename(temp.c_str(), real.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return fileError("cannot replace", path, err);
    }
    ProbeWrite("file renamed");
    return FlushFolderOf(real);
}

void SetWriteProbe(WriteProbe probe) { g_probe = probe; }

void ProbeWrite(std::string_view step)
{
    if (g_probe)
        g_probe(step);
}

} // namespace qtx
