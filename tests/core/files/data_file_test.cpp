#include "files/data_file.h"
#include "model/channel_list.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <cstring>
#include <random>
#include <sys/stat.h>

using namespace qtx;
using qtx::testing::ReadBytes;
using qtx::testing::TempDir;
using qtx::testing::WriteBytes;

namespace {

ChannelRecord channel(int number, const char* rx = "014500000")
{
    ChannelRecord ch = BlankChannel(number);
    ch.InUse = 1;
    ch.RxFrequency.setPadded(rx);
    return ch;
}

void setChannels(Codeplug& cp, std::initializer_list<int> numbers)
{
    int i = 0;
    for (int n : numbers)
        cp.channels[i++] = channel(n);
    cp.body.ChannelCount = static_cast<int16_t>(i);
}

void putI16(std::vector<uint8_t>& b, size_t at, int16_t v)
{
    b[at] = static_cast<uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<uint8_t>((static_cast<uint16_t>(v) >> 8) & 0xFF);
}

std::vector<uint8_t> randomBytes(size_t n, std::mt19937& rng)
{
    std::vector<uint8_t> out(n);
    for (auto& b : out)
        b = static_cast<uint8_t>(rng());
    return out;
}

} // namespace

TEST(ChannelFileName, ReplacesLastThreeCharacters)
{
    EXPECT_EQ(ChannelFileName("/data/site.dat"), "/data/site.fre");
    EXPECT_EQ(ChannelFileName("new.dat"), "new.fre");
    EXPECT_EQ(ChannelFileName("/data/ab"), std::nullopt);   // no valid channel file name
    EXPECT_EQ(ChannelFileName("/data/site.fre"), std::nullopt); // would be the data file itself
}

TEST(DataFile, HandWrittenFileLoadsIntoFields)
{
    std::vector<uint8_t> body(8667, 0);
    putI16(body, 0, 7);
    const double rxLow = 400.0;
    std::memcpy(&body[2], &rxLow, 8);
    body[34 + 3] = 9;                           // key action 3
    std::memcpy(&body[555], "123", 3);          // DTMF own ID
    body[576] = 0x0C, body[577] = 0x91;         // own code first tone, high byte first
    body[588] = 0x41, body[589] = 0x24;         // tone A, low byte first
    putI16(body, 600 + 17, 0);                  // 2-tone entry 2 in use
    putI16(body, 6785, 2);                      // Item1702
    std::memcpy(&body[6831], "Hello  ", 7);
    body[6846 + 11] = 4;                        // priority channel 1
    body[6860 + 7] = 9;                         // emergency channel
    putI16(body, 6872, 0);
    std::memcpy(&body[6874 + 14 * 3 + 2], "555\0 ", 5);
    body[8666] = 150;

    CodeplugBody parsed;
    ASSERT_TRUE(DecodeBody(body, parsed));
    EXPECT_EQ(parsed.BandType, 7);
    EXPECT_EQ(parsed.Band.RxLow, 400.0);
    EXPECT_EQ(parsed.Settings.Keys.Keys[3], 9);
    EXPECT_EQ(parsed.Settings.Dtmf.OwnId.str(), "123");
    EXPECT_EQ(parsed.Settings.TwoTone.OwnFirstTone, 0x0C91);
    EXPECT_EQ(parsed.Settings.TwoTone.ToneA, 0x2441);
    EXPECT_EQ(parsed.Settings.TwoTone.Entries[1].Empty, 0);
    EXPECT_EQ(parsed.Settings.Options.Item1702, 2);
    EXPECT_EQ(parsed.Settings.Options.PowerOnMessage.trimmed(), "Hello");
    EXPECT_EQ(parsed.Settings.Scan.Priority1Channel, 4);
    EXPECT_EQ(parsed.Settings.Emergency.EmergencyChannel, 9);
    EXPECT_EQ(parsed.Book[3].CallId.trimmed(), "555");
    EXPECT_EQ(parsed.FiveToneCodeFormat, 150);

    std::vector<uint8_t> rec(108, 0);
    putI16(rec, 0, 7);
    putI16(rec, 2, 1);
    std::memcpy(&rec[6], "014512500", 9);
    std::memcpy(&rec[15], "000060000", 9);
    std::memcpy(&rec[24], "AB\0    ", 7);
    putI16(rec, 47, 2);
    putI16(rec, 69, 492);
    std::memcpy(&rec[103], "12   ", 5);
    const ChannelRecord ch = DecodeChannel(rec);
    EXPECT_EQ(ch.Number, 7);
    EXPECT_EQ(ch.InUse, 1);
    EXPECT_EQ(ch.RxFrequency.str(), "014512500");
    EXPECT_EQ(ch.Offset.str(), "000060000");
    EXPECT_EQ(ch.Name.str(), std::string("AB\0    ", 7));
    EXPECT_EQ(ch.ShiftDirection, 2);
    EXPECT_EQ(ch.TxDcsCode, 492);
    EXPECT_EQ(ch.PttIdCode.str(), "12   ");
}

// Every byte of both records belongs to a field, so any bytes at all must
// come back unchanged: NUL end marks, trailing spaces, NaN bit patterns.
TEST(DataFile, ArbitraryBytesRoundTripExactly)
{
    std::mt19937 rng(42);
    for (int round = 0; round < 50; ++round) {
        const auto body = randomBytes(8667, rng);
        CodeplugBody parsed;
        ASSERT_TRUE(DecodeBody(body, parsed));
        EXPECT_EQ(EncodeBody(parsed), body);

        const auto rec = randomBytes(108, rng);
        EXPECT_EQ(EncodeChannel(DecodeChannel(rec)), rec);
    }
}

TEST(DataFile, SaveThenOpenRestoresEverything)
{
    TempDir dir;
    Workspace ws;
    setChannels(ws.live, {5, 1, 203});
    ws.live.channels[0].Name.setTerminated("ABC");
    ws.live.channels[1].Name.setPadded("XY");
    ws.live.body.Settings.Options.Item1710 = 17;
    ws.live.body.Band = BandPlan{400, 490, 400, 490};
    ws.bandType = 7;
    ws.fileName = dir.file("site.dat");

    ASSERT_TRUE(SaveCodeplug(ws));
    EXPECT_FALSE(ws.isUntitled);
    EXPECT_EQ(ReadBytes(dir.file("site.dat")).size(), 8667u);
    EXPECT_EQ(ReadBytes(dir.file("site.fre")).size(), 3 * 108u);
    EXPECT_EQ(EncodeBody(ws.baseline.body), EncodeBody(ws.live.body));

    Workspace other;
    auto opened = OpenCodeplug(other, dir.file("site.dat"));
    ASSERT_TRUE(opened);
    EXPECT_TRUE(opened.value().complete());
    EXPECT_EQ(other.fileName, dir.file("site.dat"));
    EXPECT_FALSE(other.isUntitled);
    EXPECT_EQ(EncodeBody(other.live.body), EncodeBody(ws.live.body));
    EXPECT_EQ(EncodeBody(other.baseline.body), EncodeBody(ws.live.body));
    ASSERT_EQ(other.live.count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(EncodeChannel(other.live.channels[i]), EncodeChannel(ws.live.channels[i]));
    EXPECT_EQ(other.live.channels[0].Name.str(), std::string("ABC\0   ", 7));
    EXPECT_EQ(other.live.channels[1].Name.str(), "XY     ");

    // Saving the opened pair again gives the same bytes.
    const auto before = ReadBytes(dir.file("site.dat"));
    const auto beforeFre = ReadBytes(dir.file("site.fre"));
    other.fileName = dir.file("copy.dat");
    ASSERT_TRUE(SaveCodeplug(other));
    EXPECT_EQ(ReadBytes(dir.file("copy.dat")), before);
    EXPECT_EQ(ReadBytes(dir.file("copy.fre")), beforeFre);
}

TEST(DataFile, SaveTakesTheCurrentBandType)
{
    TempDir dir;
    Workspace ws;
    ws.bandType = 0x33;
    ws.fileName = dir.file("a.dat");
    ASSERT_TRUE(SaveCodeplug(ws));
    const auto bytes = ReadBytes(dir.file("a.dat"));
    EXPECT_EQ(bytes[0], 0x33);
    EXPECT_EQ(ws.baseline.body.BandType, 0x33);
}

// A save over a longer pair leaves exactly ChannelCount records.
TEST(DataFile, SaveLeavesNoStaleChannelRecords)
{
    TempDir dir;
    Workspace ws;
    ws.fileName = dir.file("site.dat");
    setChannels(ws.live, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    ASSERT_TRUE(SaveCodeplug(ws));
    setChannels(ws.live, {1, 2, 3});
    ASSERT_TRUE(SaveCodeplug(ws));
    EXPECT_EQ(ReadBytes(dir.file("site.fre")).size(), 3 * 108u);
}

// A failed save must keep the old files and must not make unsaved edits
// look saved.
TEST(DataFile, FailedSaveKeepsFilesAndState)
{
    TempDir dir;
    Workspace ws;
    ws.fileName = dir.file("site.dat");
    setChannels(ws.live, {1, 2});
    ASSERT_TRUE(SaveCodeplug(ws));
    const auto oldDat = ReadBytes(dir.file("site.dat"));

    ws.live.body.Settings.Options.Item1705 = 9;
    setChannels(ws.live, {1, 2, 3});
    // The channel file cannot be replaced: a directory stands in its place.
    std::filesystem::remove(dir.file("site.fre"));
    std::filesystem::create_directory(dir.file("site.fre"));
    const auto baselineBefore = EncodeBody(ws.baseline.body);
    auto saved = SaveCodeplug(ws);
    ASSERT_FALSE(saved);
    EXPECT_EQ(saved.error().message, "FileError");
    EXPECT_EQ(ReadBytes(dir.file("site.dat")), oldDat);
    EXPECT_EQ(EncodeBody(ws.baseline.body), baselineBefore);
    EXPECT_EQ(ws.baseline.count(), 2);
    EXPECT_FALSE(ws.isUntitled);

    // An untitled Codeplug stays untitled after a failed Save As.
    Workspace fresh;
    fresh.fileName = dir.file("missing-folder/x.dat");
    EXPECT_FALSE(SaveCodeplug(fresh));
    EXPECT_TRUE(fresh.isUntitled);
}

TEST(DataFile, SaveRefusesANameWithoutChannelFile)
{
    TempDir dir;
    Workspace ws;
    ws.fileName = dir.file("site.fre");
    auto saved = SaveCodeplug(ws);
    ASSERT_FALSE(saved);
    EXPECT_EQ(saved.error().message, "FileError");
    EXPECT_FALSE(std::filesystem::exists(dir.file("site.fre")));
}

// Open never half-loads: a bad data file leaves the workspace as it was.
TEST(DataFile, BadDataFileChangesNothing)
{
    TempDir dir;
    Workspace ws;
    setChannels(ws.live, {4});
    ws.live.body.Settings.Options.Item1705 = 3;
    TakeSnapshot(ws);
    ws.fileName = "/somewhere/current.dat";
    ws.isUntitled = false;
    const auto liveBefore = EncodeBody(ws.live.body);

    std::vector<uint8_t> body = EncodeBody(CodeplugBody{});
    WriteBytes(dir.file("short.dat"), std::vector<uint8_t>(body.begin(), body.begin() + 8666));
    putI16(body, 6872, 204);
    WriteBytes(dir.file("many.dat"), body);
    putI16(body, 6872, -1);
    WriteBytes(dir.file("negative.dat"), body);
    std::filesystem::create_directory(dir.file("folder.dat"));

    for (const char* name : {"short.dat", "many.dat", "negative.dat", "folder.dat", "absent.dat"}) {
        auto opened = OpenCodeplug(ws, dir.file(name));
        ASSERT_FALSE(opened) << name;
        // A file too short for a data file is said to be none, before the detail.
        EXPECT_EQ(opened.error().message, std::string(name) == "short.dat" ? kNotADataFileText : "FileError") << name;
        EXPECT_FALSE(opened.error().detail.empty()) << name;
        EXPECT_EQ(EncodeBody(ws.live.body), liveBefore) << name;
        EXPECT_EQ(ws.live.count(), 1) << name;
        EXPECT_EQ(ws.baseline.count(), 1) << name;
        EXPECT_EQ(ws.fileName, "/somewhere/current.dat") << name;
    }
}

TEST(DataFile, ShortOrMissingChannelFileIsReported)
{
    TempDir dir;
    Workspace ws;
    ws.fileName = dir.file("site.dat");
    setChannels(ws.live, {1, 2, 3, 4});
    ASSERT_TRUE(SaveCodeplug(ws));

    auto fre = ReadBytes(dir.file("site.fre"));
    fre.resize(2 * 108 + 50); // two whole records and a torn third
    WriteBytes(dir.file("site.fre"), fre);
    Workspace a;
    auto opened = OpenCodeplug(a, dir.file("site.dat"));
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened.value().channelsListed, 4);
    EXPECT_EQ(opened.value().channelsRead, 2);
    EXPECT_FALSE(opened.value().complete());
    EXPECT_EQ(a.live.count(), 2);
    EXPECT_EQ(a.baseline.count(), 2);

    std::filesystem::remove(dir.file("site.fre"));
    Workspace b;
    opened = OpenCodeplug(b, dir.file("site.dat"));
    ASSERT_TRUE(opened);
    EXPECT_TRUE(opened.value().channelFileMissing);
    EXPECT_EQ(b.live.count(), 0);
}

TEST(DataFile, InvalidOrRepeatedChannelNumbersAreDropped)
{
    TempDir dir;
    Workspace ws;
    ws.fileName = dir.file("site.dat");
    setChannels(ws.live, {1, 2, 3, 4, 5});
    ws.live.channels[1].Number = 0;
    ws.live.channels[2].Number = 204;
    ws.live.channels[3].Number = 1;
    ASSERT_TRUE(SaveCodeplug(ws));

    Workspace other;
    auto opened = OpenCodeplug(other, dir.file("site.dat"));
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened.value().recordsDropped, 3);
    ASSERT_EQ(other.live.count(), 2);
    EXPECT_EQ(other.live.channels[0].Number, 1);
    EXPECT_EQ(other.live.channels[1].Number, 5);
}

TEST(DataFile, RecordsPastTheCountAreIgnored)
{
    TempDir dir;
    Workspace ws;
    ws.fileName = dir.file("site.dat");
    setChannels(ws.live, {1, 2, 3});
    ASSERT_TRUE(SaveCodeplug(ws));
    auto body = ReadBytes(dir.file("site.dat"));
    putI16(body, 6872, 2);
    WriteBytes(dir.file("site.dat"), body);

    Workspace other;
    auto opened = OpenCodeplug(other, dir.file("site.dat"));
    ASSERT_TRUE(opened);
    EXPECT_TRUE(opened.value().complete());
    EXPECT_EQ(other.live.count(), 2);
}

TEST(DataFile, TemplateKeepsOnlyTheVfoUnlessAllAreWanted)
{
    TempDir dir;
    Workspace factory;
    factory.fileName = dir.file("QM-5210.dat");
    setChannels(factory.live, {1, 2, 203, 4});
    factory.live.body.Band = BandPlan{400, 490, 400, 490};
    factory.bandType = 0x35;
    factory.live.body.Settings.Options.Item1710 = 12;
    ASSERT_TRUE(SaveCodeplug(factory));

    Workspace ws;
    ASSERT_TRUE(LoadTemplate(ws, factory.fileName, false));
    ASSERT_EQ(ws.live.count(), 1);
    EXPECT_EQ(ws.live.channels[0].Number, 203);
    EXPECT_EQ(ws.live.body.Settings.Options.Item1710, 12);
    EXPECT_EQ(ws.live.body.Band.RxLow, 400.0);
    EXPECT_EQ(ws.live.body.BandType, kModelBandType); // the file's band type is not taken
    EXPECT_EQ(ws.baseline.count(), 1);

    Workspace all;
    ASSERT_TRUE(LoadTemplate(all, factory.fileName, true));
    EXPECT_EQ(all.live.count(), 4);

    setChannels(factory.live, {1, 2});
    ASSERT_TRUE(SaveCodeplug(factory));
    Workspace novfo;
    ASSERT_TRUE(LoadTemplate(novfo, factory.fileName, false));
    EXPECT_EQ(novfo.live.count(), 0);

    Workspace failed;
    setChannels(failed.live, {7});
    failed.live.body.Settings.Options.Item1705 = 4;
    EXPECT_FALSE(LoadTemplate(failed, dir.file("absent.dat"), false));
    EXPECT_EQ(failed.baseline.body.Settings.Options.Item1705, 4);
    EXPECT_EQ(failed.baseline.count(), 1);
}

TEST(CommBookFile, ExactBytesAndRoundTrip)
{
    TempDir dir;
    CommBook book = DefaultCommBook();
    book[0].CallId.setTerminated("123");
    book[0].Name.setTerminated("BOB");
    book[5].CallId.setTerminated("12345");
    ASSERT_TRUE(WriteCommBookFile(dir.file("a.cb"), book));
    const auto bytes = ReadBytes(dir.file("a.cb"));
    ASSERT_EQ(bytes.size(), 1792u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 2, bytes.begin() + 7), (std::vector<uint8_t>{0x31, 0x32, 0x33, 0x00, 0x20}));
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 7, bytes.begin() + 14),
              (std::vector<uint8_t>{0x42, 0x4F, 0x42, 0x00, 0x20, 0x20, 0x20}));
    EXPECT_EQ(bytes[14], 1); // Index of entry 1, little-endian
    EXPECT_EQ(std::string(bytes.begin() + 5 * 14 + 2, bytes.begin() + 5 * 14 + 7), "12345");

    auto read = ReadCommBookFile(dir.file("a.cb"));
    ASSERT_TRUE(read);
    EXPECT_EQ(read.value(), book);
}

TEST(CommBookFile, ShortOrMissingFileIsRefused)
{
    TempDir dir;
    WriteBytes(dir.file("short.cb"), std::vector<uint8_t>(1791, 0));
    WriteBytes(dir.file("empty.cb"), {});
    std::filesystem::create_directory(dir.file("folder.cb"));
    ASSERT_EQ(::mkfifo(dir.file("pipe.cb").c_str(), 0600), 0);
    for (const char* name : {"short.cb", "empty.cb", "absent.cb", "folder.cb", "pipe.cb"}) {
        auto read = ReadCommBookFile(dir.file(name));
        ASSERT_FALSE(read) << name;
        EXPECT_EQ(read.error().message, "FileError");
    }
}

TEST(CommBookFile, LongFileGivesItsFirstRecord)
{
    TempDir dir;
    CommBook book = DefaultCommBook();
    book[127].Name.setTerminated("LAST");
    auto bytes = EncodeCommBook(book);
    bytes.resize(1792 + 4000, 0xAB);
    WriteBytes(dir.file("long.cb"), bytes);
    auto read = ReadCommBookFile(dir.file("long.cb"));
    ASSERT_TRUE(read);
    EXPECT_EQ(read.value(), book);
}

TEST(CommBookFile, DataFilePickedByMistakeIsRefused)
{
    TempDir dir;
    Workspace ws;
    ws.fileName = dir.file("radio.dat");
    ASSERT_TRUE(SaveCodeplug(ws));
    auto read = ReadCommBookFile(dir.file("radio.dat"));
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().message, "FileError");
    EXPECT_NE(read.error().detail.find("not a communication book file"), std::string::npos) << read.error().detail;
}
