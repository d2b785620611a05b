// A save of the data file pair killed at any moment: the next Open finds
// the complete old pair or the complete new pair, and nothing else on disk.

#include "files/data_file.h"
#include "files/pair_commit.h"
#include "model/channel_list.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace qtx;
using qtx::testing::ReadBytes;
using qtx::testing::TempDir;
using qtx::testing::WriteBytes;

namespace fs = std::filesystem;

namespace {

// Two Codeplugs that differ in their settings, their channel count and
// every channel, so a mix of the two cannot pass for either.
Workspace codeplug(const std::string& fileName, int channels, int16_t mark)
{
    Workspace ws;
    ws.fileName = fileName;
    ws.live.body.Settings.Options.Item1705 = mark;
    for (int i = 0; i < channels; ++i) {
        ChannelRecord ch = BlankChannel(i + 1);
        ch.InUse = 1;
        ch.RxFrequency.setPadded(mark == 1 ? "014500000" : "043500000");
        ch.Name.setPadded(mark == 1 ? "OLD" : "NEW");
        ws.live.channels[i] = ch;
    }
    ws.live.body.ChannelCount = static_cast<int16_t>(channels);
    return ws;
}

std::vector<uint8_t> pairBytes(const Codeplug& cp)
{
    std::vector<uint8_t> out = EncodeBody(cp.body);
    for (int i = 0; i < cp.count(); ++i) {
        const auto rec = EncodeChannel(cp.channels[i]);
        out.insert(out.end(), rec.begin(), rec.end());
    }
    return out;
}

std::set<std::string> entries(const fs::path& dir)
{
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.insert(e.path().filename().string());
    return names;
}

std::vector<std::string> g_steps;
int g_killAt = -1;
int g_stepCount = 0;

void recordStep(std::string_view step) { g_steps.emplace_back(step); }

void killAtStep(std::string_view)
{
    if (++g_stepCount == g_killAt)
        ::raise(SIGKILL);
}

// Forks a child that saves `ws` and is killed at probe step `killAt`
// (none: runs to the end). True when the child was killed.
bool saveInChild(Workspace& ws, int killAt)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        g_killAt = killAt;
        g_stepCount = 0;
        SetWriteProbe(killAtStep);
        const bool saved = SaveCodeplug(ws).ok();
        ::_exit(saved ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFSIGNALED(status))
        return WTERMSIG(status) == SIGKILL;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    return false;
}

class PairCommit : public ::testing::Test {
protected:
    void SetUp() override
    {
        oldPair = codeplug(dir.file("site.dat"), 5, 1);
        newPair = codeplug(dir.file("site.dat"), 9, 2);
        // What each Codeplug reads back as, from a clean save elsewhere.
        Workspace a = codeplug(reference.file("a.dat"), 5, 1), b = codeplug(reference.file("b.dat"), 9, 2);
        ASSERT_TRUE(SaveCodeplug(a));
        ASSERT_TRUE(SaveCodeplug(b));
        Workspace ra, rb;
        ASSERT_TRUE(OpenCodeplug(ra, a.fileName));
        ASSERT_TRUE(OpenCodeplug(rb, b.fileName));
        oldBytes = pairBytes(ra.live);
        newBytes = pairBytes(rb.live);
        ASSERT_NE(oldBytes, newBytes);
    }

    // Opens the pair as the programs do and names what it found.
    std::string openedPair(PairRecovery* recovery = nullptr)
    {
        Workspace ws;
        auto opened = OpenCodeplug(ws, dir.file("site.dat"));
        if (!opened)
            return "error: " + opened.error().detail;
        if (recovery)
            *recovery = opened.value().interruptedSave;
        if (!opened.value().complete())
            return "incomplete";
        const auto bytes = pairBytes(ws.live);
        return bytes == oldBytes ? "old" : bytes == newBytes ? "new" : "mixed";
    }

    TempDir dir, reference;
    Workspace oldPair, newPair;
    std::vector<uint8_t> oldBytes, newBytes;
    const std::set<std::string> pairOnly{"site.dat", "site.fre"};
};

} // namespace

TEST_F(PairCommit, KilledAtEveryStepLeavesOldOrNewPair)
{
    // The steps of one save, recorded in this process.
    ASSERT_TRUE(SaveCodeplug(oldPair));
    SetWriteProbe(recordStep);
    ASSERT_TRUE(SaveCodeplug(newPair));
    SetWriteProbe(nullptr);
    ASSERT_GE(g_steps.size(), 7u);

    std::set<std::string> outcomes;
    for (size_t k = 1; k <= g_steps.size(); ++k) {
        SCOPED_TRACE("killed at step " + std::to_string(k) + ": " + g_steps[k - 1]);
        ASSERT_TRUE(SaveCodeplug(oldPair));
        ASSERT_TRUE(saveInChild(newPair, static_cast<int>(k)));
        PairRecovery recovery = PairRecovery::None;
        const std::string found = openedPair(&recovery);
        EXPECT_TRUE(found == "old" || found == "new") << found;
        EXPECT_EQ(entries(dir.path()), pairOnly);
        outcomes.insert(found);

        // Between the two renames the channel file is new, the data file
        // old: the Open completes the commit.
        if (g_steps[k - 1] == "channel file renamed" || g_steps[k - 1] == "channel rename flushed") {
            EXPECT_EQ(found, "new");
            EXPECT_EQ(recovery, PairRecovery::Completed);
        }
        if (g_steps[k - 1] == "temporary created") {
            EXPECT_EQ(found, "old");
            EXPECT_EQ(recovery, PairRecovery::Discarded);
        }
    }
    EXPECT_EQ(outcomes, (std::set<std::string>{"old", "new"}));
    // Run to its end, the save is not killed.
    ASSERT_TRUE(SaveCodeplug(oldPair));
    EXPECT_FALSE(saveInChild(newPair, -1));
    EXPECT_EQ(openedPair(), "new");
}

TEST_F(PairCommit, KilledAtRandomMomentsLeavesOldOrNewPair)
{
    std::mt19937 rng(16);
    ASSERT_TRUE(SaveCodeplug(oldPair));
    int killed = 0;
    for (int round = 0; round < 40; ++round) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            for (int i = 0;; ++i)
                (void)SaveCodeplug(i % 2 ? oldPair : newPair);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % 20000));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        killed += WIFSIGNALED(status) ? 1 : 0;
        const std::string found = openedPair();
        ASSERT_TRUE(found == "old" || found == "new") << "round " << round << ": " << found;
        ASSERT_EQ(entries(dir.path()), pairOnly) << "round " << round;
    }
    EXPECT_EQ(killed, 40);
}

TEST_F(PairCommit, SaveCompletesAnEarlierCommitBeforeItsOwn)
{
    // The state a kill between the renames leaves: new channel file, new
    // data file still under its temporary name.
    ASSERT_TRUE(SaveCodeplug(oldPair));
    Workspace staged = codeplug(reference.file("staged.dat"), 9, 2);
    ASSERT_TRUE(SaveCodeplug(staged));
    fs::copy_file(reference.file("staged.fre"), dir.file("site.fre"), fs::copy_options::overwrite_existing);
    fs::copy_file(reference.file("staged.dat"), PairTemporaryName(dir.file("site.dat")));

    // A save killed as soon as it begins writing must not leave that mix
    // behind: the earlier commit was completed first.
    Workspace third = codeplug(dir.file("site.dat"), 2, 3);
    ASSERT_TRUE(saveInChild(third, 1));
    EXPECT_TRUE(fs::exists(PairTemporaryName(dir.file("site.fre"))));
    EXPECT_FALSE(fs::exists(PairTemporaryName(dir.file("site.dat"))));
    EXPECT_EQ(openedPair(), "new");
    EXPECT_EQ(entries(dir.path()), pairOnly);
}

TEST(PairRecovery, OnlyItsOwnTemporariesAreRemoved)
{
    TempDir dir;
    Workspace ws;
    ws.fileName = dir.file("site.dat");
    ASSERT_TRUE(SaveCodeplug(ws));
    // Left by killed single-file writes of either file: removed. Files of
    // the user that merely look alike: kept.
    for (const char* name : {"site.dat.0badcafe~", "site.fre.12345678~"})
        WriteBytes(dir.file(name), {1});
    const std::set<std::string> kept{"site.dat.1234567~", "site.dat.ABCDEF12~", "site.dat.notes~", "other.dat.12345678~",
                                     "site.dat.12345678"};
    for (const auto& name : kept)
        WriteBytes(dir.file(name), {1});
    auto recovered = RecoverPair(dir.file("site.dat"), dir.file("site.fre"));
    ASSERT_TRUE(recovered);
    EXPECT_EQ(recovered.value(), PairRecovery::None);
    std::set<std::string> expected = kept;
    expected.insert({"site.dat", "site.fre"});
    EXPECT_EQ(entries(dir.path()), expected);
}
