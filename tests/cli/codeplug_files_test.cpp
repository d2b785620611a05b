// The file commands of qtx-cli run as processes: new, image, parse-image,
// export and import.

#include "cli_process.h"

#include "files/data_file.h"
#include "image/radio_image.h"
#include "support/codeplug_fields.h"
#include "support/random_codeplug.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <numeric>
#include <random>

using namespace qtx;
using namespace qtx::testing;

namespace {

std::vector<uint8_t> randomBytes(std::mt19937& rng, size_t n)
{
    std::vector<uint8_t> v(n);
    for (auto& b : v)
        b = static_cast<uint8_t>(rng());
    return v;
}

void putInt16(std::vector<uint8_t>& bytes, size_t at, int16_t v)
{
    bytes[at] = static_cast<uint8_t>(static_cast<uint16_t>(v) & 0xFF);
    bytes[at + 1] = static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8);
}

// A pair whose every byte is random except what makes it a readable pair:
// the channel count and distinct channel numbers. Every double bit pattern
// (NaNs, infinities, -0, subnormals) and every text byte occurs.
void writeRandomPair(std::mt19937& rng, const std::string& dataFile)
{
    std::vector<uint8_t> body = randomBytes(rng, kDataFileSize);
    std::vector<int> numbers(kMaxChannels);
    std::iota(numbers.begin(), numbers.end(), 1);
    std::shuffle(numbers.begin(), numbers.end(), rng);
    const int count = static_cast<int>(rng() % (kMaxChannels + 1));
    putInt16(body, 6872, static_cast<int16_t>(count));
    std::vector<uint8_t> records;
    for (int i = 0; i < count; ++i) {
        std::vector<uint8_t> r = randomBytes(rng, kChannelRecordSize);
        putInt16(r, 0, static_cast<int16_t>(numbers[i]));
        records.insert(records.end(), r.begin(), r.end());
    }
    WriteBytes(dataFile, body);
    WriteBytes(*ChannelFileName(dataFile), records);
}

bool samePair(const std::string& a, const std::string& b)
{
    return ReadBytes(a) == ReadBytes(b) && ReadBytes(*ChannelFileName(a)) == ReadBytes(*ChannelFileName(b));
}

} // namespace

TEST_F(CliTest, NewImageAndParseImageGiveBackWhatTheImageCarries)
{
    ASSERT_EQ(RunCli({"new", "-o", qfile("new.dat"), "--quiet"}).status, 0);
    EXPECT_EQ(ReadBytes(file("new.dat")).size(), kDataFileSize);
    EXPECT_EQ(ReadBytes(file("new.fre")).size(), kChannelRecordSize); // the VFO channel only

    const CliRun image = RunCli({"image", qfile("new.dat"), "-o", qfile("new.bin")});
    ASSERT_EQ(image.status, 0) << image;
    const std::vector<uint8_t> bin = ReadBytes(file("new.bin"));
    ASSERT_EQ(bin.size(), static_cast<size_t>(kImageSize));
    // Never transferred, and the radio's own information: all zero.
    EXPECT_TRUE(std::all_of(bin.begin(), bin.begin() + 0x0100, [](uint8_t b) { return b == 0; }));

    ASSERT_EQ(RunCli({"parse-image", qfile("new.bin"), "-o", qfile("parsed.dat")}).status, 0);
    // A new Codeplug holds nothing the image loses: every field comes back,
    // texts as shown (the image keeps no padding).
    Codeplug fresh, parsed;
    ASSERT_TRUE(ReadCodeplugFiles(file("new.dat"), fresh).ok());
    ASSERT_TRUE(ReadCodeplugFiles(file("parsed.dat"), parsed).ok());
    EXPECT_EQ(FirstDifference(ListFields(fresh), ListFields(parsed)), "");

    // A full random Codeplug: what the image carries survives parsing, so
    // building again gives the same image.
    CodeplugGenerator gen(7);
    auto cp = std::make_unique<Codeplug>(gen.make());
    SavePair(*cp, file("random.dat"));
    ASSERT_EQ(RunCli({"image", qfile("random.dat"), "-o", qfile("random.bin")}).status, 0);
    ASSERT_EQ(RunCli({"parse-image", qfile("random.bin"), "-o", qfile("back.dat")}).status, 0);
    ASSERT_EQ(RunCli({"image", qfile("back.dat"), "-o", qfile("back.bin")}).status, 0);
    EXPECT_EQ(ReadBytes(file("random.bin")), ReadBytes(file("back.bin")));
    Codeplug back;
    ASSERT_TRUE(ReadCodeplugFiles(file("back.dat"), back).ok());
    EXPECT_EQ(back.body.ChannelCount, cp->body.ChannelCount);
    EXPECT_EQ(back.body.Settings.Keys, cp->body.Settings.Keys);
    EXPECT_EQ(back.body.Settings.Scan, cp->body.Settings.Scan);
}

TEST_F(CliTest, FileProblemsEndWithStatusTwoAndOneLine)
{
    WriteBytes(file("short.dat"), {1, 2, 3});
    std::mt19937 rng(3);
    WriteBytes(file("garbage.dat"), randomBytes(rng, kDataFileSize));
    WriteBytes(file("garbage.fre"), randomBytes(rng, 500));
    WriteBytes(file("small.bin"), std::vector<uint8_t>(100));

    for (const QStringList& args : {QStringList{"image", qfile("short.dat"), "-o", qfile("x.bin")},
                                    QStringList{"export", qfile("garbage.dat")},
                                    QStringList{"export", qfile("missing.dat")},
                                    QStringList{"parse-image", qfile("small.bin"), "-o", qfile("x.dat")},
                                    QStringList{"import", qfile("missing.json"), "-o", qfile("x.dat")}}) {
        const CliRun r = RunCli(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString() << ": " << r;
        EXPECT_TRUE(r.oneLine()) << r;
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(file("x.bin")));
    EXPECT_FALSE(std::filesystem::exists(file("x.dat")));

    // A channel file that lost records: the pair is refused, not half used.
    CodeplugGenerator gen(11);
    auto cp = std::make_unique<Codeplug>(gen.make());
    cp->body.ChannelCount = 5;
    SavePair(*cp, file("cut.dat"));
    std::vector<uint8_t> fre = ReadBytes(file("cut.fre"));
    fre.resize(3 * kChannelRecordSize);
    WriteBytes(file("cut.fre"), fre);
    const CliRun r = RunCli({"export", qfile("cut.dat")});
    EXPECT_EQ(r.status, 2) << r;
    EXPECT_NE(r.err.find("3 of the 5 channels"), std::string::npos) << r.err;

    // An unencodable Codeplug names the failing step.
    cp = std::make_unique<Codeplug>(gen.make());
    cp->channels[0].RxFrequency.setPadded("12x456789");
    SavePair(*cp, file("bad.dat"));
    const CliRun bad = RunCli({"image", qfile("bad.dat"), "-o", qfile("bad.bin")});
    EXPECT_EQ(bad.status, 2) << bad;
    EXPECT_TRUE(bad.oneLine()) << bad;
    EXPECT_NE(bad.err.find("SetCommDataByFrequencyError"), std::string::npos) << bad.err;
    EXPECT_FALSE(std::filesystem::exists(file("bad.bin")));
}

TEST_F(CliTest, ExportThenImportReproducesBothFilesByteForByte)
{
    std::mt19937 rng(5210);
    for (int i = 0; i < 16; ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        const std::string in = file("in" + std::to_string(i) + ".dat");
        const std::string out = file("out" + std::to_string(i) + ".dat");
        if (i % 2 == 0) {
            CodeplugGenerator gen(static_cast<uint32_t>(100 + i));
            auto cp = std::make_unique<Codeplug>(gen.make());
            SavePair(*cp, in);
        } else {
            writeRandomPair(rng, in);
        }
        const CliRun exported = RunCli({"export", Q(in)});
        ASSERT_EQ(exported.status, 0) << exported;
        std::ofstream(file("c.json"), std::ios::binary) << exported.out;
        const CliRun imported = RunCli({"import", qfile("c.json"), "-o", Q(out)});
        ASSERT_EQ(imported.status, 0) << imported;
        EXPECT_TRUE(samePair(in, out));
        if (i == 1) {
            // -o writes what standard output shows.
            ASSERT_EQ(RunCli({"export", Q(in), "-o", qfile("d.json")}).status, 0);
            const std::vector<uint8_t> d = ReadBytes(file("d.json"));
            EXPECT_EQ(std::string(d.begin(), d.end()), exported.out);
        }
    }
}

TEST_F(CliTest, NewTakesTheFactoryFileOfTheProgramDirectory)
{
    // A program directory with a factory file of 12 channels, the VFO among them.
    const std::string programDir = file("program");
    std::filesystem::create_directories(programDir + "/Init");
    std::filesystem::create_directories(programDir + "/language");
    CodeplugGenerator gen(21);
    auto factory = std::make_unique<Codeplug>(gen.make());
    factory->body.ChannelCount = 12;
    for (int i = 0; i < 12; ++i)
        factory->channels[i] = gen.channel(i == 4 ? kChannelVfo : 3 * i + 1);
    SavePair(*factory, programDir + "/Init/QM-5210.dat");

    ASSERT_EQ(RunCli({"new", "-o", qfile("a.dat"), "--program-dir", Q(programDir)}).status, 0);
    Codeplug a;
    ASSERT_TRUE(ReadCodeplugFiles(file("a.dat"), a).ok());
    EXPECT_EQ(a.body.Settings, factory->body.Settings);
    EXPECT_EQ(a.body.Band, factory->body.Band);
    ASSERT_EQ(a.body.ChannelCount, 1);
    EXPECT_EQ(a.channels[0], factory->channels[4]);

    std::ofstream(programDir + "/language/mysetup.ini") << "[language]\nFactoryFres=1\n";
    ASSERT_EQ(RunCli({"new", "-o", qfile("b.dat"), "--program-dir", Q(programDir)}).status, 0);
    Codeplug b;
    ASSERT_TRUE(ReadCodeplugFiles(file("b.dat"), b).ok());
    EXPECT_EQ(b.body.ChannelCount, 12);

    const CliRun missing = RunCli({"new", "-o", qfile("c.dat"), "--program-dir", qfile("nowhere")});
    EXPECT_EQ(missing.status, 1) << missing;
    EXPECT_TRUE(missing.oneLine()) << missing;
}

TEST_F(CliTest, UsageErrorsAndHelp)
{
    ASSERT_EQ(RunCli({"new", "-o", qfile("new.dat")}).status, 0);
    for (const QStringList& args : {QStringList{}, QStringList{"frobnicate"}, QStringList{"new"},
                                    QStringList{"new", "-o", qfile("site")}, QStringList{"write", "--port", "COM1"},
                                    QStringList{"export", qfile("a.dat"), "--port", "COM1"},
                                    QStringList{"read", "--port", "COM1", "-o", qfile("r.dat"), "--retries", "-1"},
                                    QStringList{"read", "--port", "COM1", "-o", qfile("r.dat"), "--password", "12345"},
                                    QStringList{"image", qfile("new.dat"), "-o", qfile("new.dat")}}) {
        const CliRun r = RunCli(args);
        EXPECT_EQ(r.status, 1) << args.join(' ').toStdString() << ": " << r;
        EXPECT_TRUE(r.oneLine()) << r;
    }
    const CliRun tool = RunCli({"--help"});
    EXPECT_EQ(tool.status, 0);
    for (const char* command : {"new", "read", "write", "info", "image", "parse-image", "export", "import", "ports"}) {
        EXPECT_NE(tool.out.find(std::string("  qtx-cli ") + command), std::string::npos) << command;
        const CliRun help = RunCli({command, "--help"});
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_EQ(help.out.rfind(std::string("Usage: qtx-cli ") + command, 0), 0u) << help.out;
    }
}

TEST_F(CliTest, DiffListsTheDifferencesAndEndsWithStatusFiveWhenThereAreAny)
{
    // Random bytes everywhere, NaN band limits included: a pair equals itself.
    std::mt19937 rng(21);
    writeRandomPair(rng, file("noise.dat"));
    const CliRun same = RunCli({"diff", qfile("noise.dat"), qfile("noise.dat")});
    EXPECT_EQ(same.status, 0) << same;
    EXPECT_TRUE(same.out.empty()) << same.out;

    CodeplugGenerator gen(5);
    auto a = std::make_unique<Codeplug>(gen.make());
    auto b = std::make_unique<Codeplug>(*a);
    b->body.Settings.Options.Item1705 = static_cast<int16_t>(a->body.Settings.Options.Item1705 + 1);
    b->body.Settings.Scan.WaitTime = static_cast<uint8_t>(a->body.Settings.Scan.WaitTime + 1);
    SavePair(*a, file("a.dat"));
    SavePair(*b, file("b.dat"));
    const CliRun differ = RunCli({"diff", qfile("a.dat"), qfile("b.dat")});
    EXPECT_EQ(differ.status, 5) << differ;
    EXPECT_TRUE(differ.oneLine()) << differ;
    const std::string squelch = "option: squelch level " + std::to_string(a->body.Settings.Options.Item1705) +
                                " \u2192 " + std::to_string(b->body.Settings.Options.Item1705) + "\n";
    const std::string wait = "scan: wait time " + std::to_string(a->body.Settings.Scan.WaitTime) + " \u2192 " +
                             std::to_string(b->body.Settings.Scan.WaitTime) + "\n";
    EXPECT_EQ(differ.out, squelch + wait);

    // A pair that cannot be read is a file error, not a difference.
    const CliRun missing = RunCli({"diff", qfile("a.dat"), qfile("missing.dat")});
    EXPECT_EQ(missing.status, 2) << missing;
    EXPECT_TRUE(missing.out.empty());
    EXPECT_EQ(RunCli({"diff", qfile("a.dat")}).status, 1);
}
