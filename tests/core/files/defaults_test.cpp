#include "files/data_file.h"
#include "files/defaults.h"
#include "model/band_plan.h"
#include "model/channel_list.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using namespace qtx;
using qtx::testing::TempDir;

namespace {

bool SameCodeplug(const Codeplug& a, const Codeplug& b)
{
    if (!(a.body == b.body))
        return false;
    for (int i = 0; i < a.count(); ++i)
        if (!(a.channels[i] == b.channels[i]))
            return false;
    return true;
}

// Writes a factory pair under dir/Init: band 400-490, power-on message
// "Factory", memory channels 1..memories and, when wanted, a VFO at 446.
void WriteFactory(const TempDir& dir, int memories, bool withVfo, int16_t bandType = 7)
{
    std::filesystem::create_directories(dir.path() / "Init");
    Workspace factory;
    factory.bandType = bandType;
    factory.live.body.Band = StandardBand(5);
    factory.live.body.Settings.Options.PowerOnMessage.setPadded("Factory");
    factory.live.body.Settings.Dtmf.OwnId.setPadded("555");
    int n = 0;
    for (int number = 1; number <= memories; ++number) {
        ChannelRecord ch = BlankChannel(number);
        ch.InUse = 1;
        ch.RxFrequency.setPadded("04" + std::to_string(10 + number) + "00000");
        factory.live.channels[n++] = ch;
    }
    if (withVfo) {
        ChannelRecord vfo = BlankChannel(kChannelVfo);
        vfo.InUse = 1;
        vfo.RxFrequency.setPadded("044600000");
        vfo.Name.setTerminated("F-VFO");
        // Put the VFO in the middle so the template has to find it.
        factory.live.channels[n++] = factory.live.channels[0];
        factory.live.channels[0] = vfo;
    }
    factory.live.body.ChannelCount = static_cast<int16_t>(n);
    factory.fileName = FactoryFilePath(dir.path().string());
    ASSERT_TRUE(SaveCodeplug(factory).ok());
}

// A workspace someone has been working in.
Workspace UsedWorkspace()
{
    Workspace ws;
    ws.fileName = "/somewhere/site.dat";
    ws.bookFileName = "/somewhere/site.cb";
    ws.isUntitled = false;
    for (int n = 1; n <= 5; ++n) {
        ws.live.channels[n - 1] = BlankChannel(n);
        ws.live.channels[n - 1].InUse = 1;
    }
    ws.live.body.ChannelCount = 5;
    ws.live.body.Settings.Keys.Keys[3] = 7;
    ws.live.body.Settings.Options.PowerOnMessage.setPadded("Hello");
    ws.live.body.Book[4].CallId.setPadded("12345");
    ws.live.body.FiveToneCodeFormat = 77;
    TakeSnapshot(ws);
    ws.live.body.Settings.Scan.WaitTime = 9; // unsaved
    return ws;
}

} // namespace

TEST(VfoChannel, MiddleOfTheReceiveBand)
{
    const ChannelRecord vfo = VfoChannel(BandPlan{});
    EXPECT_EQ(vfo.Number, 203);
    EXPECT_EQ(vfo.InUse, 1);
    EXPECT_EQ(vfo.ScanSkip, 1);
    EXPECT_EQ(vfo.RxFrequency.str(), "015500000");
    EXPECT_EQ(vfo.Offset.str(), "000000000");
    EXPECT_EQ(vfo.Name.trimmed(), "");
    EXPECT_EQ(vfo.Name.at(0), '\0');
    EXPECT_EQ(vfo.Step, 0);
    EXPECT_EQ(vfo.TxCtcss, 20);
    EXPECT_EQ(vfo.RxCtcss, 20);
    EXPECT_EQ(vfo.TxToneType, 0);
    EXPECT_EQ(vfo.ShiftDirection, 0);
    EXPECT_EQ(vfo.PttIdCode.str(), "00000");

    EXPECT_EQ(VfoChannel(StandardBand(5)).RxFrequency.str(), "044500000");
    // RxHigh is rounded halves to even before averaging; not snapped to a raster.
    EXPECT_EQ(VfoChannel({136.5, 173.5, 136, 174}).RxFrequency.str(), "015525000");
    EXPECT_EQ(VfoChannel({136, 174.5, 136, 174}).RxFrequency.str(), "015500000");
    EXPECT_EQ(VfoChannel({136.0032, 175, 136, 174}).RxFrequency.str(), "015550160");
    EXPECT_EQ(VfoChannel({std::nan(""), 174, 136, 174}).RxFrequency.str(), "FFFFFFFFF");
}

TEST(NewCodeplug, NoInitFolderGivesBuiltInDefaults)
{
    TempDir dir;
    Workspace ws = UsedWorkspace();
    EXPECT_FALSE(NewCodeplug(ws, dir.path().string(), {}));

    EXPECT_EQ(ws.fileName, "new.dat");
    EXPECT_EQ(ws.bookFileName, "new.cb");
    EXPECT_TRUE(ws.isUntitled);
    ASSERT_EQ(ws.live.count(), 1);
    EXPECT_EQ(ws.live.channels[0], VfoChannel(BandPlan{}));
    EXPECT_EQ(ws.live.channels[1], ChannelRecord{});
    EXPECT_EQ(ws.live.body.Settings, RadioSettings{});
    EXPECT_EQ(ws.live.body.Book, DefaultCommBook());
    EXPECT_EQ(ws.live.body.FiveToneCodeFormat, 2);
    EXPECT_EQ(BandText(ws.live.body.Band), "Rx(136 - 174 MHz) Tx(136 - 174 MHz)");
    EXPECT_TRUE(SameCodeplug(ws.live, ws.baseline));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path())); // nothing created
}

TEST(NewCodeplug, BuiltInTwoToneDefaultsAgreeWithTheOwnCode)
{
    TempDir dir;
    Workspace ws;
    NewCodeplug(ws, dir.path().string(), {});
    const TwoToneSettings& two = ws.live.body.Settings.TwoTone;
    EXPECT_EQ(two.OwnFirstTone, 3217);  // 321.7 Hz
    EXPECT_EQ(two.OwnSecondTone, 9281); // 928.1 Hz
    EXPECT_EQ(two.ToneA, 3217);
    EXPECT_EQ(two.ToneB, 9281);
    EXPECT_EQ(two.ToneC, 0);
    EXPECT_EQ(two.ToneD, 0);
    EXPECT_EQ(two.Entries[0].Empty, 0);
    EXPECT_EQ(two.Entries[0].FirstTone, 3217);
    EXPECT_EQ(two.Entries[0].SecondTone, 9281);
    EXPECT_EQ(two.Entries[1].Empty, 1);
    // Tone B travels low byte first.
    const auto bytes = EncodeBody(ws.live.body);
    EXPECT_EQ(bytes[576 + 14], 0x41);
    EXPECT_EQ(bytes[576 + 15], 0x24);
}

TEST(NewCodeplug, KeepsTheCurrentBandWithoutAFactoryFile)
{
    TempDir dir;
    Workspace ws;
    ws.live.body.Band = StandardBand(5);
    NewCodeplug(ws, dir.path().string(), {});
    EXPECT_EQ(ws.live.body.Band, StandardBand(5));
    EXPECT_EQ(ws.baseline.body.Band, StandardBand(5));
    EXPECT_EQ(ws.live.channels[0].RxFrequency.str(), "044500000");
}

TEST(NewCodeplug, FactoryFileGivesSettingsBandAndOnlyItsVfo)
{
    TempDir dir;
    WriteFactory(dir, 20, true);
    Workspace ws = UsedWorkspace();
    EXPECT_TRUE(NewCodeplug(ws, dir.path().string(), {}));
    ASSERT_EQ(ws.live.count(), 1);
    EXPECT_EQ(ws.live.channels[0].Number, 203);
    EXPECT_EQ(ws.live.channels[0].Name.trimmed(), "F-VFO");
    EXPECT_EQ(ws.live.body.Band, StandardBand(5));
    EXPECT_EQ(ws.live.body.Settings.Options.PowerOnMessage.trimmed(), "Factory");
    EXPECT_EQ(ws.live.body.Settings.Dtmf.OwnId.str(), "555");
    EXPECT_EQ(ws.fileName, "new.dat");
    EXPECT_TRUE(ws.isUntitled);
    EXPECT_TRUE(SameCodeplug(ws.live, ws.baseline));
}

TEST(NewCodeplug, FactoryFresOrInitialiseTakesEveryChannel)
{
    TempDir dir;
    WriteFactory(dir, 20, true);
    for (const NewOptions options : {NewOptions{true, false}, NewOptions{false, true}, NewOptions{true, true}}) {
        Workspace ws = UsedWorkspace();
        EXPECT_TRUE(NewCodeplug(ws, dir.path().string(), options));
        ASSERT_EQ(ws.live.count(), 21);
        EXPECT_EQ(ws.live.channels[0].Number, 203);
        for (int n = 1; n <= 20; ++n)
            EXPECT_TRUE(ChannelExists(ws.live, n)) << n;
        EXPECT_TRUE(SameCodeplug(ws.live, ws.baseline));
    }
}

TEST(NewCodeplug, FactoryFileWithoutVfoGivesNoChannels)
{
    TempDir dir;
    WriteFactory(dir, 20, false);
    Workspace ws = UsedWorkspace();
    EXPECT_TRUE(NewCodeplug(ws, dir.path().string(), {}));
    EXPECT_EQ(ws.live.count(), 0);
    EXPECT_EQ(ws.live.body.Band, StandardBand(5));
    EXPECT_TRUE(SameCodeplug(ws.live, ws.baseline));
}

TEST(NewCodeplug, FactoryBandTypeIsReplacedByTheCurrentOne)
{
    TempDir dir;
    WriteFactory(dir, 2, true, 9);
    Workspace ws;
    NewCodeplug(ws, dir.path().string(), {});
    EXPECT_EQ(ws.bandType, 7);
    EXPECT_EQ(ws.baseline.body.BandType, 7);
    EXPECT_EQ(ws.live.body.BandType, 7);
}

TEST(NewCodeplug, DamagedFactoryPairIsIgnored)
{
    const auto check = [](const TempDir& dir) {
        Workspace ws = UsedWorkspace();
        EXPECT_FALSE(NewCodeplug(ws, dir.path().string(), {}));
        ASSERT_EQ(ws.live.count(), 1);
        EXPECT_EQ(ws.live.channels[0], VfoChannel(BandPlan{}));
        EXPECT_EQ(ws.live.body.Settings, RadioSettings{});
        EXPECT_TRUE(SameCodeplug(ws.live, ws.baseline));
    };
    {
        TempDir dir; // channel file missing
        WriteFactory(dir, 20, true);
        std::filesystem::remove(dir.path() / "Init" / "QM-5210.fre");
        check(dir);
    }
    {
        TempDir dir; // channel file short by one record
        WriteFactory(dir, 20, true);
        std::filesystem::resize_file(dir.path() / "Init" / "QM-5210.fre", 20 * kChannelRecordSize);
        check(dir);
    }
    {
        TempDir dir; // data file short
        WriteFactory(dir, 20, true);
        std::filesystem::resize_file(dir.path() / "Init" / "QM-5210.dat", 100);
        check(dir);
    }
    {
        TempDir dir; // a folder where the data file should be
        std::filesystem::create_directories(dir.path() / "Init" / "QM-5210.dat");
        check(dir);
    }
}

TEST(NewCodeplug, FactoryPathUnderTheProgramDirectory)
{
    EXPECT_EQ(FactoryFilePath("/opt/qtx"), "/opt/qtx/Init/QM-5210.dat");
    EXPECT_EQ(FactoryFilePath("/opt/qtx/"), "/opt/qtx/Init/QM-5210.dat");
    EXPECT_EQ(FactoryFilePath(""), "Init/QM-5210.dat");
}
