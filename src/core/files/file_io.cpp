#include "files/file_io.h"

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

Error fileError(const std::string& what, const std::string& path, int err)
{
    return Error{"FileError", what + " " + path + ": " + std::strerror(err)};
}

std::string temporaryNameBeside(const std::string& path)
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

Result<std::vector<uint8_t>> ReadWholeFile(const std::string& path)
{
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return fileError("cannot read", path, EISDIR);
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return fileError("cannot open", path, errno);
    std::vector<uint8_t> data;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        data.insert(data.end(), buf, buf + n);
    const bool failed = std::ferror(f);
    const int err = errno;
    std::fclose(f);
    if (failed)
        return fileError("cannot read", path, err);
    return data;
}

Result<void> ReplaceFiles(const std::vector<std::pair<std::string, std::vector<uint8_t>>>& files)
{
    std::vector<std::string> temps;
    auto cleanup = [&temps] {
        for (const auto& t : temps)
            ::unlink(t.c_str());
    };
    for (const auto& [path, bytes] : files) {
        std::error_code ec;
        if (fs::is_directory(path, ec)) {
            cleanup();
            return fileError("cannot write", path, EISDIR);
        }
        const std::string temp = temporaryNameBeside(path);
        mode_t mode = 0644;
        struct stat st;
        if (::stat(path.c_str(), &st) == 0)
            mode = st.st_mode & 07777; // keep the permissions of the file replaced
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0) {
            const int err = errno;
            cleanup();
            return fileError("cannot write", path, err);
        }
        temps.push_back(temp);
        const bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
        const int err = errno;
        if (::close(fd) != 0 || !ok) {
            cleanup();
            return fileError("cannot write", path, ok ? errno : err);
        }
    }
    for (size_t i = 0; i < files.size(); ++i) {
        if (::rename(temps[i].c_str(), files[i].first.c_str()) != 0) {
            const int err = errno;
            for (size_t j = i; j < temps.size(); ++j)
                ::unlink(temps[j].c_str());
            return fileError("cannot replace", files[i].first, err);
        }
    }
    return {};
}

} // namespace qtx
