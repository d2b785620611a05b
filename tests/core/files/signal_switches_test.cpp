#include "files/signal_switches.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace qtx;
using qtx::testing::ReadBytes;
using qtx::testing::TempDir;
using qtx::testing::WriteBytes;

TEST(SignalViewSwitches, TenLittleEndianWords)
{
    TempDir dir;
    const std::string path = dir.file("Setting.ini");
    WriteBytes(path, {1, 0, 1, 0, 1, 0, 0, 0, 0, 0});
    const auto s = ReadSignalViewSwitches(path);
    EXPECT_EQ(s, (SignalViewSwitches{1, 1, 1, 0, 0}));

    ASSERT_TRUE(WriteSignalViewSwitches(path, SignalViewSwitches{0, 1, 0, 1, -1}));
    EXPECT_EQ(ReadBytes(path), (std::vector<uint8_t>{0, 0, 1, 0, 0, 0, 1, 0, 0xFF, 0xFF}));
}

TEST(SignalViewSwitches, MissingOrShortFileMeansAllOff)
{
    TempDir dir;
    EXPECT_EQ(ReadSignalViewSwitches(dir.file("absent.ini")), SignalViewSwitches{});
    WriteBytes(dir.file("short.ini"), {1, 0, 1, 0, 1, 0, 1});
    EXPECT_EQ(ReadSignalViewSwitches(dir.file("short.ini")), SignalViewSwitches{});
}

TEST(SignalViewSwitches, WriteKeepsBytesAfterTheRecord)
{
    TempDir dir;
    const std::string path = dir.file("Setting.ini");
    WriteBytes(path, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 'x', 'y'});
    ASSERT_TRUE(WriteSignalViewSwitches(path, SignalViewSwitches{1, 0, 0, 0, 1}));
    EXPECT_EQ(ReadBytes(path), (std::vector<uint8_t>{1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 'x', 'y'}));
}
