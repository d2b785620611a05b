// export-csv and import-csv run as processes: the list goes out and comes
// back, findings reach standard error in words, and a file that is not a
// channel list ends with status 2 and writes nothing.

#include "cli_process.h"

#include "convert/frequency.h"
#include "model/band_plan.h"
#include "model/channel_list.h"
#include "support/random_codeplug.h"

#include <filesystem>
#include <fstream>
#include <memory>

using namespace qtx;
using namespace qtx::testing;

namespace {

void writeText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

} // namespace

TEST_F(CliTest, ChannelListOutAndBackIn)
{
    CodeplugGenerator gen(26);
    auto cp = std::make_unique<Codeplug>(gen.make());
    cp->body.Band = BandPlan{}; // the band of a new Codeplug, which the list goes into
    ApplyBandToChannels(*cp);
    for (int i = 0; i < cp->count(); ++i)
        cp->channels[i].Name.setTerminated("CH" + std::to_string(i));
    SavePair(*cp, file("in.dat"));

    const CliRun out = RunCli({"export-csv", qfile("in.dat")});
    ASSERT_EQ(out.status, 0) << out;
    EXPECT_EQ(out.out.rfind("Location,Name,Frequency,", 0), 0u);
    writeText(file("list.csv"), out.out);

    // Into a new Codeplug, replacing its channels: the same list comes out.
    ASSERT_EQ(RunCli({"new", "-o", qfile("new.dat"), "-q"}).status, 0);
    const CliRun in = RunCli({"import-csv", qfile("list.csv"), qfile("new.dat"), "-o", qfile("back.dat")});
    ASSERT_EQ(in.status, 0) << in;
    EXPECT_NE(in.err.find("imported"), std::string::npos) << in.err;
    const CliRun again = RunCli({"export-csv", qfile("back.dat"), "-o", qfile("again.csv")});
    ASSERT_EQ(again.status, 0) << again;
    std::ifstream againFile(file("again.csv"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(againFile), {}), out.out);

    // Merging one row into the original keeps every other channel.
    writeText(file("one.csv"), "Location,Name,Frequency\r\n199,LAST,150.000000\r\n");
    ASSERT_EQ(RunCli({"import-csv", qfile("one.csv"), qfile("in.dat"), "-o", qfile("in.dat"), "--merge", "-q"}).status, 0);
    Codeplug merged;
    ASSERT_TRUE(ReadCodeplugFiles(file("in.dat"), merged).ok());
    EXPECT_EQ(merged.count(), cp->count() + (ChannelNumberUsed(*cp, 200) ? 0 : 1));
    EXPECT_EQ(merged.channels[*FindChannel(merged, 200)].Name.trimmed(), "LAST");
}

TEST_F(CliTest, ImportCsvFindingsAndRefusals)
{
    ASSERT_EQ(RunCli({"new", "-o", qfile("new.dat"), "-q"}).status, 0);
    writeText(file("odd.csv"), "Location,Name,Frequency,Mode\n0,OK,146.5,FM\n1,WIDE,446.0,AM\n250,FAR,146,FM\n");
    const CliRun r = RunCli({"import-csv", qfile("odd.csv"), qfile("new.dat"), "-o", qfile("odd.dat"), "-q"});
    ASSERT_EQ(r.status, 0) << r;
    // Where, which column, and the words of the language file.
    EXPECT_NE(r.err.find("odd.csv:3: Frequency: Frequency 446.0 MHz is outside the band"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("odd.csv:3: Mode: Mode \"AM\" is not FM or NFM: FM taken."), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("odd.csv:4: Location:"), std::string::npos) << r.err;
    Codeplug odd;
    ASSERT_TRUE(ReadCodeplugFiles(file("odd.dat"), odd).ok());
    EXPECT_EQ(odd.channels[*FindChannel(odd, 2)].RxFrequency.str(), "017400000");

    writeText(file("empty.csv"), "");
    writeText(file("header.csv"), "Location,Name,Frequency\r\n");
    writeText(file("binary.csv"), std::string("\x7F" "ELF\x02\x01\x00\x00", 8));
    for (const char* name : {"empty.csv", "header.csv", "binary.csv", "missing.csv"}) {
        const CliRun bad = RunCli({"import-csv", qfile(name), qfile("new.dat"), "-o", qfile("x.dat")});
        EXPECT_EQ(bad.status, 2) << name << ": " << bad;
        EXPECT_TRUE(bad.oneLine()) << bad;
    }
    EXPECT_FALSE(std::filesystem::exists(file("x.dat")));

    const CliRun usage = RunCli({"import-csv", qfile("odd.csv"), "-o", qfile("x.dat")});
    EXPECT_EQ(usage.status, 1) << usage;
    const CliRun overList = RunCli({"import-csv", qfile("odd.csv"), qfile("new.dat"), "-o", qfile("odd.csv")});
    EXPECT_EQ(overList.status, 1) << overList; // not a .dat name
}
