// qtx-cli given files that are not what they claim: endless devices, FIFOs
// without a writer, folders, oversized files, device nodes and symbolic
// links as outputs, and input too long to quote.

#include "cli_process.h"

#include "files/data_file.h"

#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace qtx;
using namespace qtx::testing;

namespace fs = std::filesystem;

TEST_F(CliTest, EveryFileReadingCommandRefusesHostileInputs)
{
    ASSERT_EQ(RunCli({"new", "-o", qfile("good.dat"), "--quiet"}).status, 0);
    ASSERT_EQ(RunCli({"export", qfile("good.dat"), "-o", qfile("good.json")}).status, 0);
    ASSERT_EQ(RunCli({"image", qfile("good.dat"), "-o", qfile("good.bin")}).status, 0);

    // Each input kind with what its format can hold.
    const struct {
        const char* ext;
        size_t maxBytes;
        std::function<QStringList(const QString&)> command;
    } readers[] = {
        {".dat", kDataFileSize, [&](const QString& in) { return QStringList{"export", in}; }},
        {".dat", kDataFileSize, [&](const QString& in) { return QStringList{"image", in, "-o", qfile("x.bin")}; }},
        {".dat", kDataFileSize,
         [&](const QString& in) { return QStringList{"write", in, "--port", "/dev/qtx-no-such-port"}; }},
        {".bin", kImageSize, [&](const QString& in) { return QStringList{"parse-image", in, "-o", qfile("x.dat")}; }},
        {".json", 0, [&](const QString& in) { return QStringList{"import", in, "-o", qfile("x.dat")}; }},
    };
    int runs = 0;
    for (const auto& r : readers) {
        const std::string stem = "in" + std::to_string(runs);
        const std::string fifo = file(stem + "-fifo" + r.ext);
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
        fs::create_symlink("/dev/zero", file(stem + "-zero" + r.ext));
        fs::create_symlink("/dev/urandom", file(stem + "-urandom" + r.ext));
        fs::create_directory(file(stem + "-folder" + r.ext));
        std::vector<std::pair<std::string, std::string>> inputs{{fifo, "named pipe"},
                                                                {file(stem + "-zero" + r.ext), "character device"},
                                                                {file(stem + "-urandom" + r.ext), "character device"},
                                                                {file(stem + "-folder" + r.ext), "folder"}};
        if (r.maxBytes > 0) {
            WriteBytes(file(stem + "-long" + r.ext), std::vector<uint8_t>(r.maxBytes + 1, 0));
            inputs.push_back({file(stem + "-long" + r.ext), "holds " + std::to_string(r.maxBytes + 1) + " bytes"});
        } else {
            // 64 MiB and one byte, sparse: refused by its size alone.
            WriteBytes(file(stem + "-long" + r.ext), {});
            fs::resize_file(file(stem + "-long" + r.ext), kJsonCodeplugFileShape.maxBytes + 1);
            inputs.push_back({file(stem + "-long" + r.ext), "holds 67108865 bytes"});
        }
        for (const auto& [path, cause] : inputs) {
            const QStringList args = r.command(Q(path));
            const CliRun run = RunCli(args, 10000);
            ++runs;
            EXPECT_EQ(run.status, 2) << args.join(' ').toStdString() << ": " << run;
            EXPECT_TRUE(run.oneLine()) << run;
            EXPECT_NE(run.err.find(cause), std::string::npos) << args.join(' ').toStdString() << ": " << run.err;
        }
    }
    EXPECT_EQ(runs, 25);
    EXPECT_FALSE(fs::exists(file("x.dat")));
    EXPECT_FALSE(fs::exists(file("x.bin")));

    // An endless channel file beside a good data file.
    ASSERT_EQ(RunCli({"new", "-o", qfile("pair.dat"), "--quiet"}).status, 0);
    fs::remove(file("pair.fre"));
    fs::create_symlink("/dev/zero", file("pair.fre"));
    const CliRun pair = RunCli({"export", qfile("pair.dat")}, 10000);
    EXPECT_EQ(pair.status, 2) << pair;
    EXPECT_NE(pair.err.find("cannot use the channel file"), std::string::npos) << pair.err;
    EXPECT_NE(pair.err.find("character device"), std::string::npos) << pair.err;
}

// The program's own files in another's hands: the settings file and the
// factory pair are FIFOs; new and ports go on with what they know.
TEST_F(CliTest, HostileProgramFilesDoNotStopTheTool)
{
    fs::create_directories(file("prog/language"));
    fs::create_directories(file("prog/Init"));
    ASSERT_EQ(::mkfifo(file("prog/language/mysetup.ini").c_str(), 0644), 0);
    ASSERT_EQ(RunCli({"new", "-o", qfile("factory.dat"), "--quiet"}).status, 0);
    fs::copy_file(file("factory.dat"), file("prog/Init/QM-5210.dat"));
    ASSERT_EQ(::mkfifo(file("prog/Init/QM-5210.fre").c_str(), 0644), 0);

    const CliRun made = RunCli({"new", "-o", qfile("made.dat"), "--program-dir", qfile("prog")}, 10000);
    EXPECT_EQ(made.status, 0) << made;
    EXPECT_EQ(made.err.find("factory"), std::string::npos) << made.err; // built-in defaults
    const CliRun ports = RunCli({"ports", "--program-dir", qfile("prog")}, 10000);
    EXPECT_EQ(ports.status, 0) << ports;
}

TEST_F(CliTest, OutputsThatAreNotFilesAreRefused)
{
    ASSERT_EQ(RunCli({"new", "-o", qfile("in.dat"), "--quiet"}).status, 0);

    // A symbolic link: its target is replaced, the link stays.
    WriteBytes(file("target.json"), {'o', 'l', 'd'});
    fs::create_symlink("target.json", file("link.json"));
    const CliRun linked = RunCli({"export", qfile("in.dat"), "-o", qfile("link.json")});
    ASSERT_EQ(linked.status, 0) << linked;
    EXPECT_TRUE(fs::is_symlink(file("link.json")));
    EXPECT_EQ(ReadBytes(file("target.json")), ReadBytes(file("link.json")));
    EXPECT_GT(ReadBytes(file("target.json")).size(), 1000u);

    // A device node, as the data file of a pair and as a single output.
    const std::string node = file("node.dat");
    if (::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "mknod is not allowed here (needs root); device outputs not tested";
    for (const QStringList& args : {QStringList{"export", qfile("in.dat"), "-o", Q(node)},
                                    QStringList{"import", qfile("link.json"), "-o", Q(node)},
                                    QStringList{"new", "-o", Q(node)}}) {
        const CliRun r = RunCli(args, 10000);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString() << ": " << r;
        EXPECT_NE(r.err.find("character device"), std::string::npos) << r.err;
    }
    struct stat st;
    ASSERT_EQ(::lstat(node.c_str(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_FALSE(fs::exists(file("node.fre")));
}

TEST_F(CliTest, ErrorLinesQuoteAtMostSixtyCharactersOfTheInput)
{
    ASSERT_EQ(RunCli({"new", "-o", qfile("in.dat"), "--quiet"}).status, 0);
    ASSERT_EQ(RunCli({"export", qfile("in.dat"), "-o", qfile("in.json")}).status, 0);
    std::vector<uint8_t> json = ReadBytes(file("in.json"));
    const std::string original(json.begin(), json.end());
    const std::string longName(10'000'000, 'k');

    // An unknown member, a repeated one and a number, each ten million
    // characters long.
    const std::string brace = "{\n";
    std::string unknown = original, repeated = original, number = original;
    unknown.replace(unknown.find(brace), brace.size(), "{\n  \"" + longName + "\": 1,\n");
    repeated.replace(repeated.find(brace), brace.size(),
                     "{\n  \"" + longName + "\": 1,\n  \"" + longName + "\": 2,\n");
    const std::string count = "\"ChannelCount\": ";
    number.replace(number.find(count) + count.size(), 1, std::string(10'000'000, '7'));
    for (const auto& [name, text] : {std::pair{"unknown.json", unknown}, {"repeated.json", repeated},
                                     {"number.json", number}}) {
        WriteBytes(file(name), std::vector<uint8_t>(text.begin(), text.end()));
        const CliRun r = RunCli({"import", qfile(name), "-o", qfile("x.dat")});
        EXPECT_EQ(r.status, 2) << name;
        EXPECT_TRUE(r.oneLine()) << name;
        EXPECT_LT(r.err.size(), 300u) << name << ": " << r.err.substr(0, 300);
        EXPECT_NE(r.err.find(std::string(60, name[0] == 'n' ? '7' : 'k') + "\xE2\x80\xA6"), std::string::npos)
            << name << ": " << r.err.substr(0, 300);
    }
}

// Tiny values by the million make a parse tree many times the size of the
// text: refused before anything is built.
TEST_F(CliTest, TextsWithFarMoreValuesThanACodeplugAreRefused)
{
    std::string many = "[0";
    for (int i = 0; i < 1'000'000; ++i)
        many += ",0";
    many += "]";
    WriteBytes(file("many.json"), std::vector<uint8_t>(many.begin(), many.end()));
    const CliRun r = RunCli({"import", qfile("many.json"), "-o", qfile("x.dat")});
    EXPECT_EQ(r.status, 2) << r;
    EXPECT_NE(r.err.find("more than 100000 values"), std::string::npos) << r.err;
    // Commas and brackets inside a text (escaped quotes too) are no values.
    const std::string text = "{\"format\": \"\\\"" + std::string(200'000, ',') + "[{\"}";
    WriteBytes(file("text.json"), std::vector<uint8_t>(text.begin(), text.end()));
    const CliRun t = RunCli({"import", qfile("text.json"), "-o", qfile("x.dat")});
    EXPECT_EQ(t.status, 2) << t;
    EXPECT_NE(t.err.find("not a QTX Codeplug"), std::string::npos) << t.err.substr(0, 300);
}
