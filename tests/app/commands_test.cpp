// The file commands end to end, with the user's answers scripted.

#include "app_fixture.h"

#include "app/commands.h"
#include "files/change_tracking.h"
#include "files/data_file.h"
#include "model/channel_list.h"

#include <QFileInfo>

using namespace qtx;
using namespace qtx::app;
using qtx::testing::AppFixture;

namespace {

class CommandsTest : public AppFixture {
protected:
    AppState st;
    int refreshed = 0;
    std::unique_ptr<Commands> commands;

    void start()
    {
        StartUp(st, inputs());
        commands = std::make_unique<Commands>(st, prompter, [this] { ++refreshed; });
    }

    void modify() { st.ws.live.body.Settings.Options.Item1705 = 7; }

    // A factory file with 20 memory channels and the VFO.
    void writeFactoryFile()
    {
        Workspace factory;
        for (int n = 1; n <= 20; ++n) {
            ChannelRecord ch = BlankChannel(n);
            ch.InUse = 1;
            ch.RxFrequency.setPadded("014500000");
            factory.live.channels[factory.live.body.ChannelCount++] = ch;
        }
        ChannelRecord vfo = BlankChannel(kChannelVfo);
        vfo.InUse = 1;
        vfo.RxFrequency.setPadded("015000000");
        factory.live.channels[factory.live.body.ChannelCount++] = vfo;
        QDir().mkpath(programDir + "/Init");
        factory.fileName = (programDir + "/Init/QM-5210.dat").toStdString();
        ASSERT_TRUE(SaveCodeplug(factory));
    }
};

} // namespace

TEST_F(CommandsTest, NewWithoutChangesAsksOnlyAllDataCleared)
{
    start();
    prompter.answers = {ui::Answer::Cancel};
    EXPECT_FALSE(commands->newCodeplug());
    EXPECT_EQ(prompter.asked, QStringList{st.builtIn(BuiltIn::AllDataCleared)});

    prompter.asked.clear();
    prompter.answers = {ui::Answer::Ok};
    EXPECT_TRUE(commands->newCodeplug());
    EXPECT_EQ(prompter.asked.size(), 1);
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(st.ws.fileName, "new.dat");
}

TEST_F(CommandsTest, NewOnAModifiedCodeplugCancelledChangesNothing)
{
    start();
    modify();
    prompter.answers = {ui::Answer::Cancel};
    EXPECT_FALSE(commands->newCodeplug());
    EXPECT_EQ(prompter.asked, QStringList{st.message("9001")});
    EXPECT_EQ(st.ws.live.body.Settings.Options.Item1705, 7);
    EXPECT_TRUE(IsModified(st.ws));
}

// "Yes, save first" with the save not happening must not go on and lose the edits.
TEST_F(CommandsTest, NewStopsWhenTheSaveItAskedForDoesNotHappen)
{
    start();
    modify();
    prompter.answers = {ui::Answer::Yes};
    prompter.files = {""}; // the save dialog is cancelled
    EXPECT_FALSE(commands->newCodeplug());
    EXPECT_EQ(st.ws.live.body.Settings.Options.Item1705, 7);
}

TEST_F(CommandsTest, NewClearsTheArmedClipboard)
{
    start();
    st.clipboardArmed = true;
    prompter.answers = {ui::Answer::Ok};
    ASSERT_TRUE(commands->newCodeplug());
    EXPECT_FALSE(st.clipboardArmed);
}

TEST_F(CommandsTest, InitialiseAsksNothingAndLoadsAllFactoryChannels)
{
    writeFactoryFile();
    start();
    ASSERT_EQ(st.ws.live.count(), 1); // start-up takes only the factory VFO
    EXPECT_TRUE(commands->initialise());
    EXPECT_TRUE(prompter.asked.isEmpty());
    EXPECT_EQ(st.ws.live.count(), 21);
    EXPECT_FALSE(st.initRequested);
    EXPECT_FALSE(IsModified(st.ws));
}

TEST_F(CommandsTest, SaveOfAnUntitledCodeplugOpensSaveAs)
{
    start();
    const QString target = programDir + "/site";
    prompter.files = {target};
    EXPECT_TRUE(commands->save());
    EXPECT_TRUE(prompter.asked.isEmpty());
    EXPECT_EQ(prompter.presetSeen, QStringList{"new.dat"});
    EXPECT_EQ(prompter.filterSeen.first(), "Data File (*.dat)");
    EXPECT_EQ(prompter.suffixSeen.first(), "dat");
    // The data file always ends in .dat, so its channel file is site.fre.
    EXPECT_TRUE(QFileInfo::exists(target + ".dat"));
    EXPECT_TRUE(QFileInfo::exists(target + ".fre"));
    EXPECT_FALSE(st.ws.isUntitled);
}

TEST_F(CommandsTest, SaveOfATitledCodeplugAsksWithTheBareQuotedName)
{
    start();
    prompter.files = {programDir + "/site.dat"};
    ASSERT_TRUE(commands->saveAs());
    modify();
    prompter.answers = {ui::Answer::Cancel};
    EXPECT_FALSE(commands->save());
    EXPECT_EQ(prompter.asked.last(), "\"site.dat\"file will be Overwrite,Continue?");
    EXPECT_TRUE(IsModified(st.ws));
    prompter.answers = {ui::Answer::Ok};
    EXPECT_TRUE(commands->save());
    EXPECT_FALSE(IsModified(st.ws));
}

TEST_F(CommandsTest, FailedSaveAsKeepsTheFormerName)
{
    start();
    modify();
    prompter.files = {programDir + "/no/such/folder/site.dat"};
    EXPECT_FALSE(commands->saveAs());
    EXPECT_TRUE(prompter.asked.last().startsWith(st.builtIn(BuiltIn::FileError)));
    EXPECT_EQ(st.ws.fileName, "new.dat");
    EXPECT_TRUE(st.ws.isUntitled);
    EXPECT_TRUE(IsModified(st.ws));
}

TEST_F(CommandsTest, OpenAsksAboutChangesAndKeepsEverythingOnFailure)
{
    start();
    prompter.files = {programDir + "/site.dat"};
    ASSERT_TRUE(commands->saveAs());
    modify();

    prompter.answers = {ui::Answer::No};
    prompter.files = {programDir + "/missing.dat"};
    EXPECT_FALSE(commands->open());
    EXPECT_EQ(prompter.asked.at(prompter.asked.size() - 2), st.builtIn(BuiltIn::FileModified));
    EXPECT_EQ(st.ws.live.body.Settings.Options.Item1705, 7);
    EXPECT_EQ(st.ws.fileName, (programDir + "/site.dat").toStdString());

    prompter.answers = {ui::Answer::No};
    prompter.files = {programDir + "/site.dat"};
    EXPECT_TRUE(commands->open());
    EXPECT_EQ(st.ws.live.body.Settings.Options.Item1705, 0);
    EXPECT_FALSE(IsModified(st.ws));
}

TEST_F(CommandsTest, OpenTellsAboutAShortChannelFile)
{
    start();
    ChannelRecord ch = BlankChannel(4);
    ch.InUse = 1;
    ch.RxFrequency.setPadded("014500000");
    st.ws.live.channels[st.ws.live.body.ChannelCount++] = ch;
    prompter.files = {programDir + "/site.dat"};
    ASSERT_TRUE(commands->saveAs());
    QFile::resize(programDir + "/site.fre", 108);
    prompter.asked.clear();
    EXPECT_TRUE(commands->openPath(programDir + "/site.dat"));
    ASSERT_EQ(prompter.asked.size(), 1);
    EXPECT_EQ(prompter.asked.first(), st.builtIn(BuiltIn::ChannelFileIncomplete).arg(1).arg(2));
    EXPECT_EQ(st.ws.live.count(), 1);
}

TEST_F(CommandsTest, OpenNamesAMissingChannelFileAndAFileThatIsNoDataFile)
{
    start();
    ChannelRecord ch = BlankChannel(4);
    ch.InUse = 1;
    ch.RxFrequency.setPadded("014500000");
    st.ws.live.channels[st.ws.live.body.ChannelCount++] = ch;
    prompter.files = {programDir + "/site.dat"};
    ASSERT_TRUE(commands->saveAs());
    QStringList status;
    commands->setStatusSink([&status](const QString& line) { status << line; });
    ASSERT_TRUE(QFile::remove(programDir + "/site.fre"));
    prompter.asked.clear();
    EXPECT_TRUE(commands->openPath(programDir + "/site.dat"));
    ASSERT_EQ(prompter.asked.size(), 1);
    EXPECT_TRUE(prompter.asked.first().contains(programDir + "/site.fre")) << prompter.asked.first().toStdString();
    EXPECT_EQ(prompter.asked.first(), st.text(7415).arg(programDir + "/site.fre").arg(2));
    EXPECT_EQ(status, QStringList{st.text(7411).arg(programDir + "/site.dat")});

    QFile junk(programDir + "/junk.dat");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(31, 'x'));
    junk.close();
    prompter.asked.clear();
    EXPECT_FALSE(commands->openPath(programDir + "/junk.dat"));
    ASSERT_EQ(prompter.asked.size(), 1);
    EXPECT_TRUE(prompter.asked.first().startsWith(st.text(7416) + "\n\n")) << prompter.asked.first().toStdString();
    EXPECT_TRUE(prompter.asked.first().contains("holds 31 bytes; a data file holds 8667"));
    EXPECT_EQ(status.size(), 1); // a failed open reports nothing as done
}

TEST_F(CommandsTest, CloseAsksOnlyWithUnsavedChanges)
{
    start();
    EXPECT_TRUE(commands->confirmClose());
    EXPECT_TRUE(prompter.asked.isEmpty());

    modify();
    prompter.answers = {ui::Answer::Cancel};
    EXPECT_FALSE(commands->confirmClose());
    prompter.answers = {ui::Answer::No};
    EXPECT_TRUE(commands->confirmClose());
    // Yes with a cancelled save keeps the program open.
    prompter.answers = {ui::Answer::Yes};
    prompter.files = {""};
    EXPECT_FALSE(commands->confirmClose());
    prompter.answers = {ui::Answer::Yes};
    prompter.files = {programDir + "/kept.dat"};
    EXPECT_TRUE(commands->confirmClose());
    EXPECT_TRUE(QFileInfo::exists(programDir + "/kept.dat"));
    EXPECT_EQ(prompter.asked.first(), st.message("9001"));
}
