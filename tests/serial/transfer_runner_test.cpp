#include "port_catalogue.h"
#include "transfer_runner.h"

#include "support/radiosim_process.h"
#include "support/temp_dir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <gtest/gtest.h>

#include <random>

using namespace qtx;
using qtx::testing::ReadBytes;
using qtx::testing::TempDir;
using qtx::testing::WriteBytes;

namespace {

void ensureApp()
{
    static int argc = 1;
    static char name[] = "test_serial";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

class ScriptedPrompter : public LinkPrompter {
public:
    bool retryAnswer = false;
    std::optional<std::string> passwordAnswer;
    int retries = 0;
    std::vector<std::string> prompts;
    std::vector<std::string> messages;

    bool askRetry() override
    {
        ++retries;
        return retryAnswer;
    }
    std::optional<std::string> askPassword(const std::string& current) override
    {
        prompts.push_back(current);
        return passwordAnswer;
    }
    void showMessage(const std::string& name) override { messages.push_back(name); }
};

std::vector<uint8_t> randomBytes(size_t n, uint32_t seed)
{
    std::mt19937 rng(seed);
    std::vector<uint8_t> v(n);
    for (auto& b : v)
        b = static_cast<uint8_t>(rng());
    return v;
}

class TransferRunnerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureApp();
        if (qtx::testing::RadioSimPath().isEmpty())
            GTEST_SKIP() << "qtx-radiosim is not built (QTX_PROGRAM_DIR)";
    }
};

} // namespace

TEST_F(TransferRunnerTest, FullReadAndWriteOverAPseudoTerminal)
{
    TempDir dir;
    // The radio's memory: random, with a password and the identity texts.
    std::vector<uint8_t> memory = randomBytes(kImageSize, 42);
    const char pw[4] = {'Q', 'x', '1', '\xFF'};
    std::copy(pw, pw + 4, memory.begin() + 0x004C);
    WriteBytes(dir.file("radio.bin"), memory);
    const QString link = QString::fromStdString(dir.file("radio"));

    qtx::testing::RadioSimProcess sim;
    ASSERT_TRUE(sim.start({"--image", QString::fromStdString(dir.file("radio.bin")), "--save",
                           QString::fromStdString(dir.file("saved.bin")), "--link", link}));
    // Reached as COM99 through the [ports] section, as the programs do.
    const PortCatalogue ports({{"COM99", link}});
    const auto device = ResolvePortDevice(ports, "COM99");
    ASSERT_TRUE(device);
    EXPECT_EQ(*device, sim.device());

    RadioImage image;
    PrefillImage(image);
    ScriptedPrompter prompter;
    prompter.passwordAnswer = "Qx1";
    TransferRunner runner(image, prompter);
    std::vector<int> progress;
    QObject::connect(&runner, &TransferRunner::progress, [&progress](int p) { progress.push_back(p); });

    TransferResult r = runner.run(TransferMode::Read, *device);
    ASSERT_TRUE(r.success) << r.detail;
    EXPECT_EQ(r.endText, "2004");
    EXPECT_TRUE(std::equal(image.begin() + 0x0010, image.end(), memory.begin() + 0x0010));
    EXPECT_EQ(prompter.prompts, std::vector<std::string>{""});
    EXPECT_EQ(r.password, "Qx1");
    runner.setKnownPassword(r.password);
    EXPECT_EQ(prompter.retries, 0);
    EXPECT_FALSE(runner.isPortOpen());
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 100);
    ASSERT_TRUE(r.ident);
    EXPECT_EQ(r.ident->model, "QM-5210");

    // Write a different image back; the simulator saves its memory at "END".
    const std::vector<uint8_t> next = randomBytes(kImageSize, 43);
    std::copy(next.begin(), next.end(), image.begin());
    r = runner.run(TransferMode::Write, *device);
    ASSERT_TRUE(r.success) << r.detail;
    EXPECT_EQ(r.endText, "2005");
    EXPECT_EQ(prompter.prompts.size(), 1u); // the password is known now
    const std::vector<uint8_t> saved = ReadBytes(dir.file("saved.bin"));
    ASSERT_EQ(saved.size(), static_cast<size_t>(kImageSize));
    EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + 0x0100, memory.begin()));
    EXPECT_TRUE(std::equal(saved.begin() + 0x0100, saved.end(), next.begin() + 0x0100));

    // And the radio's identity area reads back as before.
    PrefillImage(image);
    r = runner.run(TransferMode::InfoRead, *device);
    ASSERT_TRUE(r.success) << r.detail;
    EXPECT_EQ(r.endText, "");
    EXPECT_TRUE(std::equal(image.begin() + 0x0010, image.begin() + 0x0100, memory.begin() + 0x0010));

    // The link disappears with the simulator.
    sim.process().terminate();
    ASSERT_TRUE(sim.process().waitForFinished(5000));
    EXPECT_FALSE(QFileInfo::exists(link));
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

TEST_F(TransferRunnerTest, RadioMessagesAndAPortThatCannotOpen)
{
    qtx::testing::RadioSimProcess sim;
    ASSERT_TRUE(sim.start({"--killed", "--stunned", "--band-code", "0x38"}));
    RadioImage image{};
    ScriptedPrompter prompter;
    TransferRunner runner(image, prompter);
    TransferResult r = runner.run(TransferMode::Write, sim.device());
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.endText, "2007");
    EXPECT_EQ(prompter.messages, std::vector<std::string>{"RadioKilled"});
    ASSERT_TRUE(r.ident);
    EXPECT_EQ(r.ident->bandCode, 0x30);

    r = runner.run(TransferMode::Read, QStringLiteral("/nonexistent/ttyQTX"));
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.endText, "2002");
    EXPECT_FALSE(runner.isRunning());
}

TEST_F(TransferRunnerTest, PortThatDisappearsEndsTheTransferPromptly)
{
    qtx::testing::RadioSimProcess sim;
    ASSERT_TRUE(sim.start({"--baud-timing"})); // a read now takes about 30 s
    RadioImage image{};
    ScriptedPrompter prompter;
    prompter.retryAnswer = true;
    TransferRunner runner(image, prompter);

    QElapsedTimer sinceKill;
    int lastProgress = -1;
    QObject::connect(&runner, &TransferRunner::progress, [&](int p) {
        lastProgress = p;
        if (p == 2 && !sinceKill.isValid()) {
            sim.process().kill();
            sinceKill.start();
        }
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&runner] { runner.abandon(); });
    guard.start(20000);
    const TransferResult r = runner.run(TransferMode::Read, sim.device());
    const qint64 ms = sinceKill.isValid() ? sinceKill.elapsed() : -1;
    ASSERT_TRUE(sinceKill.isValid()) << "the read never got under way";
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.endText, "2006") << r.detail;
    EXPECT_EQ(prompter.retries, 0); // ended by the port, not by time-outs
    EXPECT_LT(ms, 250);
    EXPECT_FALSE(runner.isRunning());
    EXPECT_FALSE(runner.isPortOpen());
    EXPECT_EQ(lastProgress, 2);
}
