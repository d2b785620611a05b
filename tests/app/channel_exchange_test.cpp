// Import and export of channel lists from the File menu: the preview's
// choice reaches the Codeplug in one step, refusals leave it untouched,
// and the menu item, the preview window and the grid are wired together.

#include "app_fixture.h"

#include "app/channel_exchange.h"
#include "app/channel_import_dialog.h"
#include "app/main_window.h"
#include "model/channel_list.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>

using namespace qtx;
using namespace qtx::app;
using qtx::testing::AppFixture;

namespace {

const char* kList = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,Mode\r\n"
                    "4,NEW5,145.500000,-,0.600000,Tone,88.5,NFM\r\n"
                    "9,NEW10,446.000000,,0,,,FM\r\n"
                    "300,FAR,146.000000,,0,,,FM\r\n";

class ChannelExchangeTest : public AppFixture {
protected:
    AppState st;
    int refreshed = 0;
    std::vector<int> previewedChannels;
    std::optional<ChannelImportMode> choice = ChannelImportMode::Merge;

    void SetUp() override
    {
        AppFixture::SetUp();
        StartUp(st, inputs());
        addChannel(1, "OLD1");
        addChannel(5, "OLD5");
    }

    ChannelExchange exchange()
    {
        return ChannelExchange(
            st, prompter, [this] { ++refreshed; },
            [this](const ChannelCsvImport& list) {
                previewedChannels.push_back(static_cast<int>(list.channels.size()));
                return choice;
            });
    }

    void addChannel(int number, const char* name)
    {
        ChannelRecord ch = BlankChannel(number);
        ch.InUse = 1;
        ch.RxFrequency.setPadded("015000000");
        ch.Name.setTerminated(name);
        st.ws.live.channels[st.ws.live.body.ChannelCount++] = ch;
    }

    QString writeFile(const char* name, const QByteArray& bytes)
    {
        const QString path = QString::fromStdString(dir.file(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    QString name(int number) const
    {
        const auto pos = FindChannel(st.ws.live, number);
        return pos ? QString::fromLatin1(st.ws.live.channels[*pos].Name.trimmed()) : QString();
    }
};

} // namespace

TEST_F(ChannelExchangeTest, PreviewChoiceIsAppliedInOneStep)
{
    prompter.files = {writeFile("list.csv", kList)};
    ASSERT_TRUE(exchange().importChannels());
    EXPECT_EQ(prompter.filterSeen, QStringList{st.text(7511) + " (*.csv)"});
    EXPECT_EQ(previewedChannels, std::vector<int>{2});
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(name(1), "OLD1"); // merged: channel 1 stays
    EXPECT_EQ(name(5), "NEW5");
    EXPECT_EQ(name(10), "NEW10");
    // One step takes the whole import back.
    ASSERT_TRUE(st.history.canUndo());
    st.history.undo();
    EXPECT_EQ(name(5), "OLD5");
    EXPECT_EQ(name(10), "");
    EXPECT_FALSE(st.history.canUndo());

    choice = ChannelImportMode::ReplaceAll;
    ASSERT_TRUE(exchange().importPath(writeFile("list2.csv", kList)));
    EXPECT_EQ(name(1), "");
    EXPECT_EQ(name(5), "NEW5");

    // Cancel in the preview changes nothing.
    choice.reset();
    const Codeplug before = st.ws.live;
    EXPECT_FALSE(exchange().importPath(writeFile("list3.csv", "Location,Name,Frequency\n0,X,146\n")));
    EXPECT_EQ(st.ws.live.count(), before.count());
    EXPECT_EQ(name(1), "");
}

TEST_F(ChannelExchangeTest, UnusableListsAreRefusedWithTheirReason)
{
    const int count = st.ws.live.count();
    EXPECT_FALSE(exchange().importPath(writeFile("garbage.csv", QByteArray("\x00\x01garbage", 9))));
    ASSERT_EQ(prompter.asked.size(), 1);
    EXPECT_TRUE(prompter.asked[0].startsWith(st.text(7513))) << prompter.asked[0].toStdString();

    // Rows, but none usable: the reason for each, and no preview.
    EXPECT_FALSE(exchange().importPath(writeFile("far.csv", "Location,Frequency\n300,146\n")));
    ASSERT_EQ(prompter.asked.size(), 2);
    EXPECT_TRUE(prompter.asked[1].startsWith(st.text(7512)));
    EXPECT_TRUE(prompter.asked[1].contains("300"));
    EXPECT_TRUE(previewedChannels.empty());
    EXPECT_EQ(st.ws.live.count(), count);
    EXPECT_EQ(refreshed, 0);
}

TEST_F(ChannelExchangeTest, ExportWritesTheListAndNeverOverTheDataFile)
{
    const QString out = QString::fromStdString(dir.file("out.csv"));
    ASSERT_TRUE(exchange().exportPath(out));
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    EXPECT_TRUE(lines[0].startsWith("Location,Name,Frequency,Duplex,Offset,Tone,"));
    EXPECT_TRUE(lines[1].startsWith("0,OLD1,150.000000,"));
    EXPECT_TRUE(lines[2].startsWith("4,OLD5,150.000000,"));
    EXPECT_EQ(prompter.asked.last(), QString(st.text(7514)).replace("%1", "2"));

    st.ws.fileName = dir.file("mine.dat");
    st.ws.isUntitled = false;
    EXPECT_FALSE(exchange().exportPath(QString::fromStdString(dir.file("mine.dat"))));
    EXPECT_FALSE(exchange().exportPath(QString::fromStdString(dir.file("mine.fre"))));
    EXPECT_EQ(prompter.asked.last(), st.text(7539));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.file("mine.dat"))));
}

TEST_F(ChannelExchangeTest, MenuItemPreviewWindowAndGridAreWired)
{
    MainWindow window(st, prompter);
    window.load();
    prompter.files = {writeFile("list.csv", kList)};
    bool previewSeen = false;
    // Owned here, so it cannot fire after the test when no preview opened.
    QTimer answer;
    answer.setSingleShot(true);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<ChannelImportDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        previewSeen = true;
        EXPECT_EQ(dialog->windowTitle(), st.text(7502));
        EXPECT_EQ(dialog->channelTable()->rowCount(), 2);
        EXPECT_EQ(dialog->findingTable()->rowCount(), 2); // 446 MHz fitted, location 300 left out
        EXPECT_EQ(dialog->channelTable()->item(0, 1)->text(), st.text(7506)); // replaces channel 5
        EXPECT_EQ(dialog->channelTable()->item(1, 1)->text(), st.text(7505));
        const QString mergeSummary = dialog->summary()->text();
        dialog->findChild<QRadioButton*>("optReplaceAll")->click();
        EXPECT_NE(dialog->summary()->text(), mergeSummary); // channel 1 would go
        dialog->findChild<QRadioButton*>("optMerge")->click();
        dialog->accept();
    });
    answer.start(0);
    window.action("mnuFileImportCsv")->trigger();
    EXPECT_TRUE(previewSeen);
    const QTableWidgetItem* nameCell = window.grid()->item(9, 3);
    ASSERT_TRUE(nameCell);
    EXPECT_EQ(nameCell->text(), "NEW10");
    EXPECT_EQ(window.grid()->item(0, 3)->text(), "OLD1");
    EXPECT_FALSE(window.action("mnuFileExportCsv")->text().isEmpty());
}
