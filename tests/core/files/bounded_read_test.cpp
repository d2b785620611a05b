// Files from others: every reader refuses what is not a regular file of a
// size its format can use, at once and without reading it whole.

#include "files/data_file.h"
#include "files/file_io.h"
#include "files/signal_switches.h"
#include "text/ini_file.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace qtx;
using qtx::testing::ReadBytes;
using qtx::testing::TempDir;
using qtx::testing::WriteBytes;

namespace fs = std::filesystem;

namespace {

// A read that blocks (a FIFO without a writer) or runs on for ever
// (/dev/zero) ends the test program instead of hanging it.
class Watchdog {
public:
    Watchdog() { ::alarm(20); }
    ~Watchdog() { ::alarm(0); }
};

struct Hostile {
    std::string path;
    std::string cause; // what the refusal must name
};

// A FIFO nobody writes to, an endless device behind a symbolic link, a
// folder, and a regular file one byte longer than `maxBytes`.
std::vector<Hostile> hostileInputs(const TempDir& dir, const std::string& ext, size_t maxBytes)
{
    std::vector<Hostile> out;
    const std::string fifo = dir.file("fifo" + ext);
    if (::mkfifo(fifo.c_str(), 0644) == 0)
        out.push_back({fifo, "named pipe"});
    const std::string zero = dir.file("zero" + ext);
    fs::create_symlink("/dev/zero", zero);
    out.push_back({zero, "character device"});
    fs::create_directory(dir.file("folder" + ext));
    out.push_back({dir.file("folder" + ext), "folder"});
    const std::string big = dir.file("long" + ext);
    WriteBytes(big, std::vector<uint8_t>(maxBytes + 1, 0x20));
    out.push_back({big, "holds " + std::to_string(maxBytes + 1) + " bytes"});
    return out;
}

} // namespace

TEST(BoundedRead, EachFormatRefusesWhatItCannotUse)
{
    Watchdog watchdog;
    const struct {
        FileShape shape;
        const char* ext;
    } formats[] = {
        {kDataFileShape, ".dat"},          {kChannelFileShape, ".fre"},   {kCommBookFileShape, ".cb"},
        {kRadioImageFileShape, ".bin"},    {kIniFileShape, ".ini"},
    };
    for (const auto& f : formats) {
        TempDir dir;
        for (const auto& h : hostileInputs(dir, f.ext, f.shape.maxBytes)) {
            auto read = ReadBoundedFile(h.path, f.shape);
            if (f.shape.takesPrefix && h.path == dir.file(std::string("long") + f.ext)) {
                // Read from its first record, and no further.
                ASSERT_TRUE(read) << read.error().detail;
                EXPECT_EQ(read.value().size(), f.shape.maxBytes);
                continue;
            }
            ASSERT_FALSE(read) << h.path;
            EXPECT_EQ(read.error().message, "FileError");
            EXPECT_NE(read.error().detail.find(h.cause), std::string::npos) << read.error().detail;
            EXPECT_NE(read.error().detail.find(f.shape.kind), std::string::npos) << read.error().detail;
        }
        // At the limit the file is read whole.
        WriteBytes(dir.file("exact"), std::vector<uint8_t>(f.shape.maxBytes, 7));
        auto exact = ReadBoundedFile(dir.file("exact"), f.shape);
        ASSERT_TRUE(exact) << exact.error().detail;
        EXPECT_EQ(exact.value().size(), f.shape.maxBytes);
    }
}

TEST(BoundedRead, SizesOutsideTheShapeGetOneMessage)
{
    TempDir dir;
    WriteBytes(dir.file("short.dat"), std::vector<uint8_t>(kDataFileSize - 1, 0));
    WriteBytes(dir.file("long.dat"), std::vector<uint8_t>(kDataFileSize + 1, 0));
    EXPECT_EQ(ReadBoundedFile(dir.file("short.dat"), kDataFileShape).error().detail,
              dir.file("short.dat") + " holds 8666 bytes; a data file holds 8667");
    EXPECT_EQ(ReadBoundedFile(dir.file("long.dat"), kDataFileShape).error().detail,
              dir.file("long.dat") + " holds 8668 bytes; a data file holds 8667");

    // A sparse file claims its size without holding it; the claim is enough
    // to refuse it, nothing is read.
    const std::string huge = dir.file("huge.json");
    WriteBytes(huge, {});
    fs::resize_file(huge, kJsonCodeplugFileShape.maxBytes + 1);
    auto read = ReadBoundedFile(huge, kJsonCodeplugFileShape);
    ASSERT_FALSE(read);
    EXPECT_NE(read.error().detail.find("a JSON Codeplug holds at most 67108864"), std::string::npos);

    // Files whose size the system does not know are cut off after one byte
    // more than the limit.
    auto proc = ReadBoundedFile("/proc/self/status", FileShape{"a status", 0, 16});
    ASSERT_FALSE(proc);
    EXPECT_NE(proc.error().detail.find("holds more than 16 bytes"), std::string::npos) << proc.error().detail;
}

// The readers of the programs, each given the same hostile files.
TEST(BoundedRead, ReadersRefuseWithoutBlocking)
{
    Watchdog watchdog;
    TempDir dir;
    for (const auto& h : hostileInputs(dir, ".dat", kDataFileSize)) {
        Workspace ws;
        auto opened = OpenCodeplug(ws, h.path);
        ASSERT_FALSE(opened) << h.path;
        EXPECT_NE(opened.error().detail.find(h.cause), std::string::npos) << opened.error().detail;
    }
    TempDir books;
    for (const auto& h : hostileInputs(books, ".cb", kCommBookFileSize)) {
        if (h.path == books.file("long.cb"))
            continue; // a longer book is read from its first record
        auto read = ReadCommBookFile(h.path);
        ASSERT_FALSE(read) << h.path;
        EXPECT_NE(read.error().detail.find(h.cause), std::string::npos) << read.error().detail;
    }
    TempDir inis;
    for (const auto& h : hostileInputs(inis, ".ini", kIniFileShape.maxBytes)) {
        auto loaded = IniFile::Load(h.path);
        ASSERT_FALSE(loaded) << h.path;
        EXPECT_NE(loaded.error().detail.find(h.cause), std::string::npos) << loaded.error().detail;
        EXPECT_EQ(ReadProfileString(h.path, "language", "comPort"), "");
        // Not replaced by a write either.
        EXPECT_FALSE(WriteProfileString(h.path, "language", "comPort", "3"));
        EXPECT_EQ(ReadSignalViewSwitches(h.path), SignalViewSwitches{});
        EXPECT_FALSE(WriteSignalViewSwitches(h.path, SignalViewSwitches{1, 1, 1, 0, 1}));
    }
    EXPECT_EQ(ReadBytes(inis.file("long.ini")).size(), kIniFileShape.maxBytes + 1);
}

// The channel file does not stop an Open: an unusable one is reported with
// its cause, like a missing one.
TEST(BoundedRead, UnusableChannelFileIsReportedWithItsCause)
{
    Watchdog watchdog;
    TempDir dir;
    Workspace ws;
    ws.fileName = dir.file("good.dat");
    ASSERT_TRUE(SaveCodeplug(ws));
    const auto body = ReadBytes(dir.file("good.dat"));
    for (const auto& h : hostileInputs(dir, ".fre", kChannelFileShape.maxBytes)) {
        const std::string dataFile = h.path.substr(0, h.path.size() - 3) + "dat";
        WriteBytes(dataFile, body);
        Workspace opened;
        auto report = OpenCodeplug(opened, dataFile);
        ASSERT_TRUE(report) << report.error().detail;
        EXPECT_TRUE(report.value().channelFileMissing) << h.path;
        EXPECT_NE(report.value().channelFileProblem.find(h.cause), std::string::npos)
            << report.value().channelFileProblem;
    }
}

TEST(OutputPath, LinksAreFollowedAndOtherFilesRefused)
{
    Watchdog watchdog;
    TempDir dir;
    fs::create_directory(dir.file("sub"));
    WriteBytes(dir.file("sub/target.bin"), {1, 2, 3});
    fs::create_symlink("sub/target.bin", dir.file("relative"));
    fs::create_symlink(dir.file("relative"), dir.file("chain"));
    fs::create_symlink("sub/new.bin", dir.file("dangling"));
    fs::create_symlink("loop-b", dir.file("loop-a"));
    fs::create_symlink("loop-a", dir.file("loop-b"));

    // Through a chain of links: the final file changes, both links stay.
    ASSERT_TRUE(ReplaceFile(dir.file("chain"), {9, 9}));
    EXPECT_EQ(ReadBytes(dir.file("sub/target.bin")), (std::vector<uint8_t>{9, 9}));
    EXPECT_TRUE(fs::is_symlink(dir.file("chain")));
    EXPECT_TRUE(fs::is_symlink(dir.file("relative")));
    // A link to a file not there yet creates the file.
    ASSERT_TRUE(ReplaceFile(dir.file("dangling"), {4}));
    EXPECT_TRUE(fs::is_symlink(dir.file("dangling")));
    EXPECT_EQ(ReadBytes(dir.file("sub/new.bin")), std::vector<uint8_t>{4});
    // No temporary file is left in either folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "sub"), fs::directory_iterator()), 2);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 6);

    auto loop = ReplaceFile(dir.file("loop-a"), {1});
    ASSERT_FALSE(loop);
    EXPECT_NE(loop.error().detail.find("symbolic links"), std::string::npos) << loop.error().detail;

    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    for (const auto& [path, cause] : {std::pair{fifo, "named pipe"}, {dir.file("sub"), "folder"}}) {
        auto written = ReplaceFile(path, {1});
        ASSERT_FALSE(written) << path;
        EXPECT_NE(written.error().detail.find(cause), std::string::npos) << written.error().detail;
    }
    EXPECT_TRUE(fs::is_fifo(fifo));
}
