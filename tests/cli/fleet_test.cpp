// Several radios at once: qtx-cli write with several ports, clone, and the
// read-back check, against qtx-radiosim instances on pseudo-terminals.

#include "cli_process.h"

#include "files/data_file.h"
#include "image/radio_image.h"
#include "support/random_codeplug.h"

#include <algorithm>
#include <filesystem>
#include <memory>

using namespace qtx;
using namespace qtx::testing;

namespace {

class FleetTest : public CliRadioTestBase {
protected:
    // A radio whose memory is saved as <name>.bin when it changes.
    SimulatedRadio& radio(const std::string& name, QStringList extra = {})
    {
        radios_.push_back(std::make_unique<SimulatedRadio>());
        extra << "--link" << qfile(name) << "--save" << qfile(name + ".bin");
        EXPECT_TRUE(radios_.back()->start(extra)) << name;
        return *radios_.back();
    }
    void stopRadios()
    {
        for (auto& r : radios_)
            r->stop();
    }

    std::vector<std::unique_ptr<SimulatedRadio>> radios_;
};

bool sameFrom0100(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    return a.size() == static_cast<size_t>(kImageSize) && b.size() == a.size() &&
           std::equal(a.begin() + 0x0100, a.end(), b.begin() + 0x0100);
}

// The table line of a port.
std::string row(const std::string& table, const std::string& port)
{
    const auto at = table.find("\n" + port + " ");
    if (at == std::string::npos)
        return {};
    return table.substr(at + 1, table.find('\n', at + 1) - at - 1);
}

} // namespace

TEST_F(FleetTest, FourRadiosOneFallsSilentThreeWrittenExitStatus3)
{
    const auto image = makeCodeplug(41, file("fleet.dat"));
    for (const char* name : {"a", "b", "d"})
        radio(name);
    // PROGRAM, ID and the password block, then 200 write frames: silent.
    radio("c", {"--silent-after", "203"});

    const CliRun r = RunCli({"write", "--port", qfile("a"), "--port", qfile("b"), "--port", qfile("c"), "--port",
                             qfile("d"), "--retries", "1", file("fleet.dat").c_str()},
                            60000);
    stopRadios();
    EXPECT_EQ(r.status, 3) << r;
    EXPECT_TRUE(r.oneLine()) << r.err;
    EXPECT_NE(r.err.find("1 of 4 radios"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(file("c")), std::string::npos) << r.err;

    // One table line per port, in the order given; only c failed.
    EXPECT_EQ(r.out.rfind("PORT ", 0), 0u) << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 5) << r.out;
    for (const char* name : {"a", "b", "d"})
        EXPECT_NE(row(r.out, file(name)).find("  written"), std::string::npos) << r.out;
    EXPECT_NE(row(r.out, file("c")).find("failed: the radio does not answer"), std::string::npos) << r.out;
    EXPECT_LT(r.out.find(file("a")), r.out.find(file("b")));
    EXPECT_LT(r.out.find(file("c")), r.out.find(file("d")));

    const auto a = ReadBytes(file("a.bin"));
    EXPECT_TRUE(sameFrom0100(a, image));
    EXPECT_EQ(a, ReadBytes(file("b.bin")));
    EXPECT_EQ(a, ReadBytes(file("d.bin")));
    EXPECT_FALSE(sameFrom0100(ReadBytes(file("c.bin")), image));
}

TEST_F(FleetTest, VerifyCatchesARadioThatStoresAWrongByte)
{
    makeCodeplug(42, file("v.dat"));
    radio("bad", {"--corrupt-store", "0x1234"});
    radio("good");

    // Without the read-back the write looks fine.
    CliRun r = RunCli({"write", "--port", qfile("bad"), file("v.dat").c_str()});
    EXPECT_EQ(r.status, 0) << r;

    r = RunCli({"write", "--verify", "--port", qfile("bad"), file("v.dat").c_str()});
    EXPECT_EQ(r.status, 3) << r;
    EXPECT_TRUE(r.oneLine()) << r.err;
    EXPECT_NE(r.err.find("differs at 0x1234"), std::string::npos) << r.err;

    // In a fleet the bad radio fails alone, named with the address.
    r = RunCli({"write", "--verify", "--port", qfile("good"), "--port", qfile("bad"), file("v.dat").c_str()});
    EXPECT_EQ(r.status, 3) << r;
    EXPECT_NE(row(r.out, file("good")).find("written and verified"), std::string::npos) << r.out;
    EXPECT_NE(row(r.out, file("bad")).find("0x1234"), std::string::npos) << r.out;
}

TEST_F(FleetTest, CloneCopiesOneRadioIntoOthers)
{
    const auto image = makeCodeplug(43, file("src.dat"));
    std::vector<uint8_t> memory = image;
    std::fill(memory.begin() + 0x004C, memory.begin() + 0x0050, 0xFF); // no password
    WriteBytes(file("src-memory.bin"), memory);
    radio("src", {"--image", qfile("src-memory.bin")});
    radio("t1");
    radio("t2");

    const CliRun r = RunCli({"clone", "--from", qfile("src"), "--to", qfile("t1"), "--to", qfile("t2"), "--verify"});
    stopRadios();
    ASSERT_EQ(r.status, 0) << r;
    EXPECT_NE(row(r.out, file("t1")).find("written and verified"), std::string::npos) << r.out;
    EXPECT_TRUE(sameFrom0100(ReadBytes(file("t1.bin")), image));
    EXPECT_TRUE(sameFrom0100(ReadBytes(file("t2.bin")), image));
}

TEST_F(FleetTest, PortsThatNameOneRadioTwiceAreRefusedBeforeAnyTransfer)
{
    makeCodeplug(44, file("x.dat"));
    const SimulatedRadio& sim = radio("one");
    CliRun r = RunCli({"write", "--port", qfile("one"), "--port", sim.device(), file("x.dat").c_str()});
    EXPECT_EQ(r.status, 1) << r;
    EXPECT_NE(r.err.find("same radio"), std::string::npos) << r.err;
    r = RunCli({"clone", "--from", qfile("one"), "--to", sim.device()});
    EXPECT_EQ(r.status, 1) << r;
    stopRadios();
    EXPECT_FALSE(std::filesystem::exists(file("one.bin"))); // nothing was written

    // Several ports only where several radios make sense.
    r = RunCli({"read", "--port", "COM1", "--port", "COM2", "-o", file("r.dat").c_str()});
    EXPECT_EQ(r.status, 1) << r;
    r = RunCli({"clone", "--from", "COM1"});
    EXPECT_EQ(r.status, 1) << r;
    EXPECT_NE(r.err.find("--to"), std::string::npos) << r.err;
}
