// The desktop program's Read and Write against qtx-radiosim over a real
// pseudo-terminal, with the user's answers scripted.

#include "app_fixture.h"

#include "app/application.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "app/progress_dialog.h"
#include "app/transfers.h"
#include "app/user_settings.h"
#include "files/change_tracking.h"

#include "support/radiosim_process.h"

#include <QAction>
#include <QApplication>
#include <QSerialPort>
#include <QSettings>
#include <QPushButton>
#include <QTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QTableWidget>
#include <QTest>

#include <functional>

using namespace qtx;
using namespace qtx::app;
using qtx::testing::AppFixture;
using qtx::testing::RadioSimProcess;
using qtx::testing::ReadBytes;

namespace {

class TransfersTest : public AppFixture {
protected:
    RadioSimProcess sim;
    AppState st;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<RadioTransfers> transfers;

    void SetUp() override
    {
        AppFixture::SetUp();
        if (qtx::testing::RadioSimPath().isEmpty())
            GTEST_SKIP() << "qtx-radiosim is not built";
    }

    // The simulated radio as COM99, chosen in mysetup.ini.
    // linkPath: offer the radio through a link it removes on exit, not the
    // pseudo-terminal itself, whose number another process may take at once.
    void startWithRadio(QStringList simArgs = {}, const QString& linkPath = {})
    {
        simArgs << "--save" << savedImage();
        if (!linkPath.isEmpty())
            simArgs << "--link" << linkPath;
        ASSERT_TRUE(sim.start(simArgs));
        const QString device = linkPath.isEmpty() ? sim.device() : linkPath;
        writeSettings("[language]\nIsFirstRun=0\ncomPort=99\nFactoryFres=0\n[ports]\nCOM99=" + device + "\n");
        StartUp(st, inputs());
        ASSERT_EQ(st.comPort, 99);
        window = std::make_unique<MainWindow>(st, prompter);
        window->load();
        transfers = std::make_unique<RadioTransfers>(st, prompter, window->commands(), window.get(),
                                                     [this] { window->showListByData(); });
    }

    QString savedImage() const { return QString::fromStdString(dir.file("radio-saved.bin")); }

    QString cell(int channel, int column) const { return window->grid()->item(channel - 1, column)->text(); }

    // The simulator writes its memory when END arrives; wait for the file.
    std::vector<uint8_t> savedMemory()
    {
        QElapsedTimer t;
        t.start();
        std::vector<uint8_t> bytes;
        while (t.elapsed() < 5000) {
            bytes = ReadBytes(savedImage().toStdString());
            if (bytes.size() == kImageSize)
                break;
            QTest::qWait(20);
        }
        return bytes;
    }
};

} // namespace

TEST_F(TransfersTest, ReadShowsTheRadioThenWriteGivesTheSameImageBack)
{
    startWithRadio();
    prompter.answers = {ui::Answer::Ok, ui::Answer::Ok}; // continue?, then "read succeeded"
    transfers->read();
    ASSERT_TRUE(transfers->lastResult().success) << transfers->lastResult().detail;
    EXPECT_EQ(prompter.asked, (QStringList{st.builtIn(BuiltIn::ReadConfirm), st.text(2004)}));
    EXPECT_EQ(cell(1, 1), "145.50000");
    EXPECT_EQ(cell(1, 3), "CALL");
    EXPECT_EQ(cell(2, 2), "145.05000");
    EXPECT_EQ(cell(203, 1), "145.00000");
    EXPECT_EQ(st.ws.fileName, "new.dat");
    EXPECT_TRUE(st.ws.isUntitled);
    EXPECT_FALSE(IsModified(st.ws));
    EXPECT_TRUE(window->windowTitle().endsWith(":new.dat][*]"));
    EXPECT_FALSE(window->isWindowModified());
    const RadioImage read = transfers->image();

    // Written back unchanged, the radio gets exactly what it gave.
    prompter.asked.clear();
    prompter.answers = {ui::Answer::Ok, ui::Answer::Ok};
    transfers->write();
    ASSERT_TRUE(transfers->lastResult().success) << transfers->lastResult().detail;
    EXPECT_EQ(prompter.asked, (QStringList{st.builtIn(BuiltIn::WriteConfirm), st.text(2005)}));
    EXPECT_TRUE(std::equal(read.begin() + 0x0100, read.end(), transfers->image().begin() + 0x0100));

    // An edit reaches the radio, and only the edit.
    st.ws.live.channels[0].Name.setTerminated("HOME");
    prompter.answers = {ui::Answer::Ok, ui::Answer::Ok};
    transfers->write();
    ASSERT_TRUE(transfers->lastResult().success) << transfers->lastResult().detail;
    const auto saved = savedMemory();
    ASSERT_EQ(saved.size(), static_cast<size_t>(kImageSize));
    EXPECT_TRUE(std::equal(transfers->image().begin() + 0x0100, transfers->image().end(), saved.begin() + 0x0100));
    std::vector<int> changed;
    for (int a = 0x0100; a < kImageSize; ++a)
        if (saved[a] != read[a])
            changed.push_back(a);
    EXPECT_EQ(changed, (std::vector<int>{0x2000 + 19, 0x2000 + 20, 0x2000 + 21, 0x2000 + 22}));
}

TEST_F(TransfersTest, ReadAsksToSaveUnsavedChangesFirst)
{
    startWithRadio();
    st.ws.live.body.Settings.Options.Item1705 = 3;
    prompter.answers = {ui::Answer::Cancel};
    transfers->read();
    EXPECT_EQ(prompter.asked, QStringList{st.message("9001")});
    EXPECT_EQ(st.ws.live.body.Settings.Options.Item1705, 3);
}

TEST_F(TransfersTest, PasswordProtectedRadioPromptsDuringTheTransfer)
{
    startWithRadio({"--password", "1234"});
    prompter.answers = {ui::Answer::Ok, ui::Answer::Ok};
    prompter.passwords = {std::string("1234")};
    transfers->read();
    ASSERT_TRUE(transfers->lastResult().success) << transfers->lastResult().detail;
    EXPECT_EQ(prompter.passwordPrefills, std::vector<std::string>{""});
    EXPECT_EQ(st.enteredPassword, "1234");

    // Known for the rest of the run: no second prompt.
    prompter.answers = {ui::Answer::Ok, ui::Answer::Ok};
    transfers->read();
    EXPECT_TRUE(transfers->lastResult().success);
    EXPECT_EQ(prompter.passwordPrefills.size(), 1u);
}

TEST_F(TransfersTest, ARadioThatStopsAnsweringEndsWithRetryThenCancel)
{
    startWithRadio({"--fault-rate", "1", "--seed", "3"});
    st.ws.live.body.Settings.Options.Item1705 = 0;
    prompter.answers = {ui::Answer::Ok, ui::Answer::Retry, ui::Answer::Cancel, ui::Answer::Ok};
    transfers->read();
    EXPECT_FALSE(transfers->lastResult().success);
    ASSERT_EQ(prompter.asked.size(), 4);
    EXPECT_EQ(prompter.asked[1], st.text(2003));
    EXPECT_EQ(prompter.asked[2], st.text(2003));
    EXPECT_EQ(prompter.asked[3], st.text(2006));
    EXPECT_EQ(cell(1, 1), ""); // nothing of the radio reached the Codeplug
}

TEST_F(TransfersTest, InformationReadOpensTheViewerData)
{
    startWithRadio();
    std::optional<EmbeddedInfo> shown;
    QObject::connect(transfers.get(), &RadioTransfers::infoReady, [&](const EmbeddedInfo& info) { shown = info; });
    transfers->readInfo();
    QElapsedTimer t;
    t.start();
    while (!shown && t.elapsed() < 5000)
        QTest::qWait(20);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->SerialNumber, "5210A2403000127");
    EXPECT_EQ(shown->Version, "V1.00");
    EXPECT_TRUE(prompter.asked.isEmpty());
}

TEST_F(TransfersTest, APortThatIsGoneSays2002)
{
    const QString link = QString::fromStdString(dir.file("radio-link"));
    startWithRadio({}, link);
    sim.stop();
    ASSERT_FALSE(QFile::exists(link));
    transfers->read();
    EXPECT_EQ(prompter.asked, QStringList{st.text(2002)});
}

// The real main window, its menu items and the application's wiring.
TEST_F(TransfersTest, MenuReadAndWriteInTheRunningProgram)
{
    ASSERT_TRUE(sim.start({"--save", savedImage(), "--password", "0000"}));
    writeSettings("[language]\ncomPort=99\n[ports]\nCOM99=" + sim.device() + "\n");
    Application program(inputs());
    program.setPrompter(&prompter);
    program.showMainWindow();
    MainWindow* w = program.mainWindow();

    // The password given beforehand (the password window's OK stores it):
    // no prompt during the transfer.
    program.state().enteredPassword = "0000";

    prompter.answers = {ui::Answer::Ok, ui::Answer::Ok};
    w->action("TCommRead")->trigger();
    ASSERT_TRUE(program.transfers().lastResult().success) << program.transfers().lastResult().detail;
    EXPECT_TRUE(prompter.passwordPrefills.empty());
    EXPECT_EQ(w->grid()->item(6, 3)->text(), "DEPOT");
    EXPECT_FALSE(IsModified(program.state().ws));

    program.state().ws.live.channels[0].Name.setTerminated("HOME");
    prompter.answers = {ui::Answer::Ok, ui::Answer::Ok};
    w->action("MnuProWrite")->trigger();
    ASSERT_TRUE(program.transfers().lastResult().success) << program.transfers().lastResult().detail;
    const auto saved = savedMemory();
    ASSERT_EQ(saved.size(), static_cast<size_t>(kImageSize));
    EXPECT_EQ(std::string(saved.begin() + 0x2000 + 19, saved.begin() + 0x2000 + 23), "HOME");
}

TEST_F(TransfersTest, VerifyAfterWritingIsRememberedAndNamesTheFirstDifference)
{
    {
        QSettings store("QTX", "QTX");
        store.remove("Settings/VerifyAfterWrite");
    }
    startWithRadio({"--corrupt-store", "0x2010"});
    QAction* item = window->action("MnuSetVerify");
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isCheckable());
    EXPECT_FALSE(item->isChecked()); // off until the user turns it on
    EXPECT_FALSE(st.verifyAfterWrite);
    item->trigger();
    EXPECT_TRUE(st.verifyAfterWrite);
    {
        AppState next;
        MainWindow again(next, prompter);
        EXPECT_TRUE(again.action("MnuSetVerify")->isChecked());
        EXPECT_TRUE(next.verifyAfterWrite);
    }

    // What the progress window's caption says while the transfer runs.
    QStringList captions;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<ProgressDialog*>(w); p && p->isVisible() &&
                                                               (captions.isEmpty() || captions.last() != p->captionText()))
                captions << p->captionText();
    });
    watch.start(5);
    prompter.answers = {ui::Answer::Ok, ui::Answer::Ok};
    transfers->write();
    watch.stop();
    const TransferResult& r = transfers->lastResult();
    EXPECT_FALSE(r.success);
    ASSERT_TRUE(r.verifyMismatch);
    EXPECT_EQ(*r.verifyMismatch, 0x2010);
    ASSERT_EQ(prompter.asked.size(), 2);
    EXPECT_EQ(prompter.asked[1], st.text(7562).arg("0x2010"));
    EXPECT_TRUE(captions.contains(st.text(7561))) << captions.join('|').toStdString();

    item->trigger(); // off again, for the other tests
    EXPECT_FALSE(ReadVerifyAfterWrite());
}

TEST_F(TransfersTest, APortInUseSaysSoAndByWhom)
{
    startWithRadio();
    QSerialPort holder(sim.device());
    ASSERT_TRUE(holder.open(QIODevice::ReadWrite));
    transfers->read();
    ASSERT_EQ(prompter.asked.size(), 1);
    const QString told = prompter.asked[0];
    EXPECT_TRUE(told.startsWith(st.text(2002))) << told.toStdString();
    EXPECT_TRUE(told.contains(sim.device() + " is in use by")) << told.toStdString();
    EXPECT_TRUE(told.contains(QString::number(QCoreApplication::applicationPid()))) << told.toStdString();
}

namespace {

// Runs `act` on the progress window once it shows at least `percent`.
void whenProgressReaches(int percent, std::function<void(ProgressDialog&)> act)
{
    auto* poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, [poll, percent, act] {
        auto* progress = qobject_cast<ProgressDialog*>(QApplication::activeModalWidget());
        if (!progress || progress->value() < percent)
            return;
        poll->stop();
        poll->deleteLater();
        act(*progress);
    });
    poll->start();
}

} // namespace

TEST_F(TransfersTest, CancelledReadChangesNothingAndTheRadioIsFreeAtOnce)
{
    startWithRadio({"--baud-timing"});
    const std::string before = FirstDifference(st.ws).value_or("");
    whenProgressReaches(2, [](ProgressDialog& progress) {
        EXPECT_FALSE(progress.detailText().isEmpty());
        QTest::mouseClick(progress.findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
    });
    prompter.answers = {ui::Answer::Ok, ui::Answer::Ok};
    QElapsedTimer t;
    t.start();
    transfers->read();
    EXPECT_LT(t.elapsed(), 15000);
    EXPECT_TRUE(transfers->lastResult().cancelled) << transfers->lastResult().detail;
    ASSERT_EQ(prompter.asked.size(), 2);
    EXPECT_EQ(prompter.asked[1], st.text(7400));
    EXPECT_EQ(cell(1, 1), "");
    EXPECT_FALSE(IsModified(st.ws));

    // Out of programming mode: the next transfer is answered straight away.
    prompter.asked.clear();
    prompter.answers = {ui::Answer::Ok};
    transfers->readInfo();
    QElapsedTimer wait;
    wait.start();
    bool ended = false;
    QObject::connect(transfers.get(), &RadioTransfers::transferEnded, [&ended](bool) { ended = true; });
    while (!ended && wait.elapsed() < 10000)
        QTest::qWait(20);
    EXPECT_TRUE(transfers->lastResult().success) << transfers->lastResult().detail;
}

TEST_F(TransfersTest, RadioGoneMidWriteSaysSoAndThatTheRadioNeedsWritingAgain)
{
    startWithRadio({"--baud-timing"});
    whenProgressReaches(2, [this](ProgressDialog&) { sim.stop(); });
    prompter.answers = {ui::Answer::Ok, ui::Answer::Ok};
    transfers->write();
    const TransferResult& r = transfers->lastResult();
    EXPECT_FALSE(r.success);
    EXPECT_FALSE(r.cancelled);
    EXPECT_TRUE(r.partlyWritten);
    EXPECT_TRUE(r.portLost) << r.detail;
    ASSERT_EQ(prompter.asked.size(), 2);
    const QString message = prompter.asked[1];
    EXPECT_TRUE(message.startsWith(st.text(7403).arg("COM99, " + sim.device()))) << message.toStdString();
    EXPECT_TRUE(message.endsWith("\n\n" + st.text(7404))) << message.toStdString();
}
