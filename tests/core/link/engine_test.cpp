#include "support/link_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>

using namespace qtx;
using qtx::testing::LinkHarness;

namespace {

RadioImage randomImage(uint32_t seed)
{
    std::mt19937 rng(seed);
    RadioImage m;
    for (auto& b : m)
        b = static_cast<uint8_t>(rng());
    return m;
}

bool sameRange(const RadioImage& a, const RadioImage& b, int from, int to)
{
    return std::equal(a.begin() + from, a.begin() + to + 1, b.begin() + from);
}

void expectReadImage(const LinkHarness& h)
{
    EXPECT_TRUE(sameRange(h.image, h.radio.memory(), 0x0010, 0x3FFF));
}

} // namespace

TEST(Engine, FullReadFetchesEveryBlockOnce)
{
    LinkHarness h;
    h.radio.setMemory(randomImage(1));
    h.radio.setPassword("");
    h.image.fill(0xA5);
    const TransferResult r = h.run(TransferMode::Read);
    ASSERT_TRUE(r.success) << r.detail;
    EXPECT_EQ(r.endText, "2004");
    expectReadImage(h);
    EXPECT_EQ(h.image[0x0000], 0xA5); // 0x0000-0x000F are never read
    EXPECT_EQ(h.image[0x000F], 0xA5);

    const auto names = h.frameNames();
    ASSERT_EQ(names.size(), 3u + 1023u + 1u);
    EXPECT_EQ(names[0], "PROGRAM");
    EXPECT_EQ(names[1], "ID");
    EXPECT_EQ(names[2], "R0040");
    EXPECT_EQ(names[3], "R0010");
    EXPECT_EQ(names[1025], "R3FF0");
    EXPECT_EQ(names.back(), "END");
    EXPECT_TRUE(h.retryQuestions.empty());
    EXPECT_TRUE(h.messages.empty());
    ASSERT_TRUE(r.ident);
    EXPECT_EQ(r.ident->model, "QM-5210");
    EXPECT_EQ(r.ident->bandCode, 0x07);

    // Progress: 0 after the program reply, then each new percentage once,
    // 100 first while block 0x3FB0 is requested.
    ASSERT_FALSE(h.progress.empty());
    EXPECT_EQ(h.progress.front(), 0);
    EXPECT_TRUE(std::is_sorted(h.progress.begin() + 1, h.progress.end()));
    EXPECT_EQ(std::adjacent_find(h.progress.begin() + 1, h.progress.end()), h.progress.end());
    EXPECT_EQ(h.progress.back(), 100);
    EXPECT_EQ(h.engine.state().mode, TransferMode::None);
}

TEST(Engine, ProgressReaches100AtBlock3FB0)
{
    LinkHarness h;
    // Stop the read right after block 0x3FB0 is requested: it never answers.
    h.radio.addFault(SimFrame::Read, SimFault::Drop, 3, 0x3FB0);
    h.run(TransferMode::Read);
    ASSERT_EQ(h.retryQuestions.size(), 1u);
    EXPECT_EQ(h.progress.back(), 100);
    h.radio.addFault(SimFrame::Read, SimFault::Drop, 3, 0x3FA0);
    h.run(TransferMode::Read);
    EXPECT_EQ(h.progress.back(), 99);
}

TEST(Engine, FullWriteSendsTheImageFrom0100)
{
    LinkHarness h;
    const RadioImage before = h.radio.memory();
    h.image = randomImage(2);
    const TransferResult r = h.run(TransferMode::Write);
    ASSERT_TRUE(r.success) << r.detail;
    EXPECT_EQ(r.endText, "2005");
    EXPECT_TRUE(sameRange(h.radio.memory(), h.image, 0x0100, 0x3FFF));
    EXPECT_TRUE(sameRange(h.radio.memory(), before, 0x0000, 0x00FF)); // password and identity untouched
    EXPECT_EQ(h.framesStartingWith(kWriteCommand).size(), 1008u);
    EXPECT_EQ(h.frameNames()[3], "W0100");

    // Halves go to even: 12.5 % at 0x08E0 shows nothing new after 12.
    const auto it12 = std::find(h.progress.begin(), h.progress.end(), 12);
    ASSERT_NE(it12, h.progress.end());
    EXPECT_EQ(*(it12 + 1), 13);
    EXPECT_EQ(h.progress.back(), 100);
}

TEST(Engine, VerifyReadsTheWrittenRangeBackInTheSameSession)
{
    LinkHarness h;
    h.engine.setVerifyAfterWrite(true);
    h.image = randomImage(3);
    const TransferResult r = h.run(TransferMode::Write);
    ASSERT_TRUE(r.success) << r.detail;
    EXPECT_TRUE(r.verified);
    EXPECT_FALSE(r.verifyMismatch);
    EXPECT_TRUE(sameRange(h.radio.memory(), h.image, 0x0100, 0x3FFF));

    // One handshake, every block written, then every block read back, then END.
    const auto names = h.frameNames();
    ASSERT_EQ(names.size(), 3u + 1008u + 1008u + 1u);
    EXPECT_EQ(std::count(names.begin(), names.end(), "PROGRAM"), 1);
    EXPECT_EQ(names[3 + 1007], "W3FF0");
    EXPECT_EQ(names[3 + 1008], "R0100");
    EXPECT_EQ(names[3 + 2015], "R3FF0");
    EXPECT_EQ(names.back(), "END");
    // The image the write sent is not touched by the read-back.
    EXPECT_EQ(h.image, randomImage(3));
}

TEST(Engine, VerifyFailsTheWriteAtTheFirstDifferentAddress)
{
    LinkHarness h;
    h.engine.setVerifyAfterWrite(true);
    h.image = randomImage(4);
    h.radio.addFault(SimFrame::Write, SimFaultSpec{SimFault::CorruptStore, 5, 0x01}, 1, 0x2340);
    h.radio.addFault(SimFrame::Write, SimFaultSpec{SimFault::CorruptStore, 0, 0x01}, 1, 0x3000);
    const TransferResult r = h.run(TransferMode::Write);
    EXPECT_FALSE(r.success);
    EXPECT_FALSE(r.verified);
    EXPECT_EQ(r.endText, "2007");
    ASSERT_TRUE(r.verifyMismatch);
    EXPECT_EQ(*r.verifyMismatch, 0x2345);
    EXPECT_NE(r.detail.find("0x2345"), std::string::npos) << r.detail;
    // Reading stops at the difference, and the radio is let go with END.
    EXPECT_EQ(h.frameNames().back(), "END");
    EXPECT_EQ(h.framesTo(kReadCommand, 0x2350), 0);
    EXPECT_TRUE(h.retryQuestions.empty());

    // Without verifying, the same radio reports success: the fault is silent.
    LinkHarness plain;
    plain.image = randomImage(4);
    plain.radio.addFault(SimFrame::Write, SimFaultSpec{SimFault::CorruptStore, 5, 0x01}, 1, 0x2340);
    const TransferResult p = plain.run(TransferMode::Write);
    EXPECT_TRUE(p.success);
    EXPECT_FALSE(p.verified);
}

TEST(Engine, VerifyProgressRestartsAndRetriesLikeARead)
{
    LinkHarness h;
    h.engine.setVerifyAfterWrite(true);
    h.image = randomImage(5);
    h.defaultRetry = true;
    // A read-back block that never answers: give up, restart, read it again.
    h.radio.addFault(SimFrame::Read, SimFault::Drop, 3, 0x1000);
    const TransferResult r = h.run(TransferMode::Write);
    ASSERT_TRUE(r.success) << r.detail;
    EXPECT_TRUE(r.verified);
    EXPECT_EQ(h.retryQuestions.size(), 1u);
    EXPECT_EQ(h.framesTo(kReadCommand, 0x1000), 4);
    // The restart resumes the read-back, it does not write again.
    EXPECT_EQ(h.framesStartingWith(kWriteCommand).size(), 1008u);
    EXPECT_EQ(h.progressVerifying.front(), 0);
    EXPECT_EQ(h.progressVerifying.back(), 100);
    EXPECT_TRUE(std::is_sorted(h.progressVerifying.begin(), h.progressVerifying.end()));
}

TEST(Engine, InfoReadFetchesOnlyTheEmbeddedInformation)
{
    LinkHarness h;
    h.radio.setMemory(randomImage(3));
    h.radio.setPassword("");
    PrefillImage(h.image);
    const TransferResult r = h.run(TransferMode::InfoRead);
    ASSERT_TRUE(r.success) << r.detail;
    EXPECT_EQ(r.endText, "");
    EXPECT_TRUE(sameRange(h.image, h.radio.memory(), 0x0010, 0x00FF));
    EXPECT_EQ(h.image[0x0100], 0xFF); // prefill, not the radio's byte
    EXPECT_EQ(h.framesStartingWith(kReadCommand).size(), 1u + 15u);
    EXPECT_TRUE(h.progress.empty());
}

TEST(Engine, RadioThatNeverAnswersProgram)
{
    LinkHarness h;
    h.radio.setSilent(true);
    h.retryAnswers = {false};
    const TransferResult r = h.run(TransferMode::Read);
    const auto frames = h.frameNames();
    ASSERT_EQ(frames, (std::vector<std::string>{"PROGRAM", "PROGRAM", "PROGRAM"}));
    EXPECT_EQ(h.sent[0].at, 0);
    EXPECT_EQ(h.sent[1].at, 300);
    EXPECT_EQ(h.sent[2].at, 600);
    ASSERT_EQ(h.retryQuestions, std::vector<int64_t>{900});
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.endText, "2006");
    EXPECT_FALSE(r.ident);
    EXPECT_TRUE(h.progress.empty()); // the window still shows 0 %
}

TEST(Engine, RetryAfterBlockFailureRepeatsHandshakeAndThatBlock)
{
    LinkHarness h;
    h.radio.setMemory(randomImage(4));
    h.radio.setPassword("");
    h.radio.addFault(SimFrame::Read, SimFault::Drop, 3, 0x1230);
    h.retryAnswers = {true};
    const TransferResult r = h.run(TransferMode::Read);
    ASSERT_TRUE(r.success) << r.detail;
    ASSERT_EQ(h.retryQuestions.size(), 1u);
    expectReadImage(h);

    const auto names = h.frameNames();
    const auto first = std::find(names.begin(), names.end(), "R1230");
    ASSERT_NE(first, names.end());
    const std::vector<std::string> after(first, first + 8);
    EXPECT_EQ(after, (std::vector<std::string>{"R1230", "R1230", "R1230", "END", "PROGRAM", "ID", "R0040", "R1230"}));
    EXPECT_EQ(*(first + 8), "R1240");
    EXPECT_EQ(h.framesTo(kReadCommand, 0x1220), 1);
    // The restart shows 0 again, then the block's percentage.
    EXPECT_EQ(std::count(h.progress.begin(), h.progress.end(), 0), 2);
}

TEST(Engine, BadChecksumTwiceThenGood)
{
    LinkHarness h;
    h.radio.setMemory(randomImage(5));
    h.radio.setPassword("");
    h.radio.addFault(SimFrame::Read, SimFaultSpec{SimFault::CorruptByte, -2, 0x01}, 2, 0x0500);
    const TransferResult r = h.run(TransferMode::Read);
    ASSERT_TRUE(r.success) << r.detail;
    EXPECT_TRUE(h.retryQuestions.empty());
    expectReadImage(h);
    std::vector<int64_t> times;
    for (const auto& f : h.framesStartingWith(kReadCommand))
        if (LinkHarness::addressOf(f) == 0x0500)
            times.push_back(f.at);
    ASSERT_EQ(times.size(), 3u);
    EXPECT_EQ(times[1] - times[0], 300);
    EXPECT_EQ(times[2] - times[1], 300);
}

TEST(Engine, ReplyOneByteShortWaitsForTheTimeOut)
{
    LinkHarness h;
    h.radio.addFault(SimFrame::Read, SimFault::ShortReply, 1, 0x0200);
    const TransferResult r = h.run(TransferMode::Read);
    ASSERT_TRUE(r.success) << r.detail;
    std::vector<int64_t> times;
    for (const auto& f : h.framesStartingWith(kReadCommand))
        if (LinkHarness::addressOf(f) == 0x0200)
            times.push_back(f.at);
    ASSERT_EQ(times.size(), 2u);
    EXPECT_EQ(times[1] - times[0], 300);
    // Every other exchange happened at once.
    EXPECT_EQ(h.sent.back().at, 300);
}

TEST(Engine, WrongModelAndWrongVersion)
{
    for (TransferMode mode : {TransferMode::Read, TransferMode::Write, TransferMode::InfoRead}) {
        LinkHarness h;
        h.radio.identity().model = "QM-521";
        TransferResult r = h.run(mode);
        EXPECT_FALSE(r.success);
        EXPECT_EQ(h.messages, std::vector<std::string>{"ModelWrong"});
        EXPECT_EQ(r.endText, FailureTextId(mode));
        EXPECT_EQ(h.frameNames(), (std::vector<std::string>{"PROGRAM", "ID"}));

        h.radio.identity().model = "QM-5210";
        h.radio.identity().version = "V101";
        r = h.run(mode);
        EXPECT_FALSE(r.success);
        EXPECT_EQ(h.messages, std::vector<std::string>{"VersionWrong"});
        ASSERT_TRUE(r.ident);
        EXPECT_EQ(r.ident->version, "V101");
    }
}

TEST(Engine, KilledRadioCanBeReadButNotWritten)
{
    LinkHarness h;
    h.radio.identity().killed = true;
    h.radio.identity().stunned = true;
    EXPECT_TRUE(h.run(TransferMode::Read).success);
    EXPECT_TRUE(h.messages.empty());

    const RadioImage before = h.radio.memory();
    h.image = randomImage(6);
    TransferResult r = h.run(TransferMode::Write);
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.endText, "2007");
    EXPECT_EQ(h.messages, std::vector<std::string>{"RadioKilled"}); // only the killed message
    EXPECT_TRUE(h.framesStartingWith(kWriteCommand).empty());
    EXPECT_EQ(h.radio.memory(), before);

    h.radio.identity().killed = false;
    r = h.run(TransferMode::Write);
    EXPECT_FALSE(r.success);
    EXPECT_EQ(h.messages, std::vector<std::string>{"RadioStunned"});
}

TEST(Engine, BandCodeOutOfRangeBecomes30)
{
    LinkHarness h;
    h.radio.identity().bandCode = 0x38;
    h.radio.identity().flags = 0x10;
    TransferResult r = h.run(TransferMode::InfoRead);
    ASSERT_TRUE(r.success);
    ASSERT_TRUE(r.ident);
    EXPECT_EQ(r.ident->bandCode, 0x30);
    EXPECT_EQ(r.ident->radioFlag, 1);
    h.radio.identity().bandCode = 0x05;
    r = h.run(TransferMode::InfoRead);
    EXPECT_EQ(r.ident->bandCode, 0x05);
}

TEST(Engine, PasswordAbsentOrKnownAsksNothing)
{
    LinkHarness h;
    h.radio.setPassword("");
    EXPECT_TRUE(h.run(TransferMode::Read).success);
    EXPECT_TRUE(h.passwordPrompts.empty());

    // Given beforehand, as with the password command.
    h.radio.setPassword("Ab12");
    h.enteredPassword = "Ab12";
    EXPECT_TRUE(h.run(TransferMode::Write).success);
    EXPECT_TRUE(h.passwordPrompts.empty());
}

TEST(Engine, PasswordTypedAtThePromptRestartsTheHandshake)
{
    LinkHarness h;
    h.radio.setPassword("Ab12");
    h.enteredPassword = "old";
    h.passwordAnswers = {std::string("Ab12  ")};
    const TransferResult r = h.run(TransferMode::Read);
    ASSERT_TRUE(r.success) << r.detail;
    EXPECT_EQ(h.passwordPrompts, std::vector<std::string>{"old"}); // prefilled with the last entry
    EXPECT_EQ(h.enteredPassword, "Ab12");
    const auto names = h.frameNames();
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 8),
              (std::vector<std::string>{"PROGRAM", "ID", "R0040", "END", "PROGRAM", "ID", "R0040", "R0010"}));
    expectReadImage(h);

    // The next transfer passes at once.
    EXPECT_TRUE(h.run(TransferMode::InfoRead).success);
    EXPECT_EQ(h.passwordPrompts.size(), 0u);
}

// The engine keeps no password between transfers: the result carries the
// one to keep, and the owner hands it back.
TEST(Engine, TheOwnerKeepsThePassword)
{
    LinkHarness h;
    h.radio.setPassword("Ab12");
    h.passwordAnswers = {std::string("Ab12 ")};
    EXPECT_EQ(h.run(TransferMode::InfoRead).password, "Ab12");

    h.enteredPassword = "";
    h.passwordAnswers = {std::nullopt};
    const TransferResult r = h.run(TransferMode::InfoRead);
    EXPECT_FALSE(r.success);
    EXPECT_EQ(h.passwordPrompts, std::vector<std::string>{""});
    EXPECT_EQ(r.password, ""); // cancelled: the known one stays
}

TEST(Engine, WrongOrCancelledPasswordFails)
{
    for (TransferMode mode : {TransferMode::Read, TransferMode::Write, TransferMode::InfoRead}) {
        LinkHarness h;
        h.radio.setPassword("Ab12");
        h.passwordAnswers = {std::string("ab12")}; // letter case counts
        TransferResult r = h.run(mode);
        EXPECT_FALSE(r.success);
        EXPECT_EQ(r.endText, FailureTextId(mode));
        EXPECT_EQ(h.passwordPrompts.size(), 1u); // no second prompt in the same transfer
        EXPECT_EQ(h.enteredPassword, "ab12");
        EXPECT_EQ(h.framesStartingWith(kWriteCommand).size(), 0u);
        EXPECT_EQ(h.framesStartingWith(kReadCommand).size(), 1u);

        // The wrong entry is offered again next time; Cancel fails too.
        h.passwordAnswers = {std::nullopt};
        r = h.run(mode);
        EXPECT_FALSE(r.success);
        EXPECT_EQ(h.passwordPrompts, std::vector<std::string>{"ab12"});
        EXPECT_EQ(h.enteredPassword, "ab12");
    }
}

TEST(Engine, InfoReadGivesUpWithoutAskingRetry)
{
    LinkHarness h;
    h.radio.addFault(SimFrame::Read, SimFault::Drop, 3, 0x0080);
    h.defaultRetry = true;
    const TransferResult r = h.run(TransferMode::InfoRead);
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.endText, "2008");
    EXPECT_TRUE(h.retryQuestions.empty());
    EXPECT_EQ(h.framesTo(kReadCommand, 0x0080), 3);
    EXPECT_EQ(h.framesStartingWith('E').size(), 0u);
}

TEST(Engine, LastEndUnansweredStillSucceeds)
{
    LinkHarness h;
    h.radio.addFault(SimFrame::End, SimFault::Drop, 1);
    const TransferResult r = h.run(TransferMode::Write);
    EXPECT_TRUE(r.success);
    EXPECT_EQ(r.endText, "2005");
    EXPECT_EQ(h.framesStartingWith('E').size(), 1u);
    EXPECT_EQ(h.now, 300);
}

TEST(Engine, ResendRequestSendsTheSameBlockAtOnce)
{
    LinkHarness h;
    h.image = randomImage(7);
    // Two 0x0A answers and two lost ones on the same block: the 0x0A re-sends
    // do not use up the block's three attempts.
    h.radio.addFault(SimFrame::Write, SimFault::ResendRequest, 2, 0x0800);
    h.radio.addFault(SimFrame::Write, SimFault::Drop, 2, 0x0800);
    const TransferResult r = h.run(TransferMode::Write);
    ASSERT_TRUE(r.success) << r.detail;
    EXPECT_TRUE(h.retryQuestions.empty());
    std::vector<int64_t> times;
    for (const auto& f : h.framesStartingWith(kWriteCommand))
        if (LinkHarness::addressOf(f) == 0x0800)
            times.push_back(f.at);
    EXPECT_EQ(times, (std::vector<int64_t>{0, 0, 0, 300, 600}));
    EXPECT_TRUE(sameRange(h.radio.memory(), h.image, 0x0100, 0x3FFF));
}

TEST(Engine, ResendRequestsAreBounded)
{
    LinkHarness h;
    h.image = randomImage(8);
    h.radio.addFault(SimFrame::Write, SimFault::ResendRequest, 1000, 0x0400);
    h.retryAnswers = {true, false};
    const TransferResult r = h.run(TransferMode::Write);
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.endText, "2007");
    ASSERT_EQ(h.retryQuestions.size(), 2u);
    // The first frame and kMaxResendRequests re-sends, twice (Retry restarts the count).
    EXPECT_EQ(h.framesTo(kWriteCommand, 0x0400), 2 * (1 + TransferEngine::kMaxResendRequests));
    EXPECT_EQ(h.now, 0); // never waited for a time-out

    // A radio that recovers after the Retry lets the write finish.
    LinkHarness g;
    g.image = randomImage(9);
    g.radio.addFault(SimFrame::Write, SimFault::ResendRequest, 1 + TransferEngine::kMaxResendRequests, 0x0400);
    g.retryAnswers = {true};
    EXPECT_TRUE(g.run(TransferMode::Write).success);
    EXPECT_TRUE(sameRange(g.radio.memory(), g.image, 0x0100, 0x3FFF));
}

TEST(Engine, RestartEndUnansweredAsksAgain)
{
    LinkHarness h;
    h.radio.addFault(SimFrame::Ident, SimFault::Drop, 3);
    h.radio.addFault(SimFrame::End, SimFault::Drop, 2);
    h.retryAnswers = {true, true, true};
    const TransferResult r = h.run(TransferMode::Read);
    ASSERT_TRUE(r.success) << r.detail;
    EXPECT_EQ(h.retryQuestions.size(), 3u);
    const auto names = h.frameNames();
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 10),
              (std::vector<std::string>{"PROGRAM", "ID", "ID", "ID", "END", "END", "END", "PROGRAM", "ID", "R0040"}));

    h.radio.addFault(SimFrame::Ident, SimFault::Drop, 3);
    h.radio.addFault(SimFrame::End, SimFault::Drop, 1);
    h.retryAnswers = {true, false};
    const TransferResult c = h.run(TransferMode::Read);
    EXPECT_FALSE(c.success);
    EXPECT_EQ(c.endText, "2006");
}

TEST(Engine, PortFailureEndsTheTransferAtOnce)
{
    RadioImage image{};
    TransferEngine e(image);
    e.start(TransferMode::Write);
    while (e.nextAction()) {
    }
    ASSERT_TRUE(e.active());
    e.portFailed();
    std::vector<LinkAction> actions;
    while (auto a = e.nextAction())
        actions.push_back(*a);
    ASSERT_EQ(actions.size(), 2u);
    EXPECT_TRUE(std::holds_alternative<link::StopTimer>(actions[0]));
    const auto& fin = std::get<link::Finished>(actions[1]);
    EXPECT_FALSE(fin.result.success);
    EXPECT_EQ(fin.result.endText, "2007");
    EXPECT_FALSE(e.active());

    // Later events of the dead transfer change nothing.
    e.timerExpired();
    e.bytesReceived(Bytes{'P', 'R', 'O', 'G', 'R', 'A', 'M', 'H', 'V', 0x06});
    e.answerRetry(true);
    e.portFailed();
    EXPECT_FALSE(e.hasActions());
}

TEST(Engine, OnlyTheAnswerToTheFrameOutstandingCounts)
{
    RadioImage image{};
    TransferEngine e(image);
    auto drain = [&e] {
        std::vector<LinkAction> out;
        while (auto a = e.nextAction())
            out.push_back(*a);
        return out;
    };
    e.start(TransferMode::Write);
    drain();
    // An identification reply while "PROGRAM" is outstanding is not a program reply.
    Bytes idAnswer(7, 'x');
    const Bytes ident{0x49, 'Q', 'M', '-', '5', '2', '1', '0', 0x07, 'V', '1', '0', '0', 0, 0, 0x06};
    idAnswer.insert(idAnswer.end(), ident.begin(), ident.end());
    e.bytesReceived(idAnswer);
    EXPECT_TRUE(drain().empty());
    EXPECT_EQ(e.state().step, TransferStep::ProgramSent);

    e.bytesReceived(Bytes{'P', 'R', 'O', 'G', 'R', 'A', 'M', 'H', 'V', 0x06});
    drain();
    ASSERT_EQ(e.state().step, TransferStep::IdentSent);
    Bytes good{0x02};
    good.insert(good.end(), ident.begin(), ident.end());
    e.bytesReceived(good);
    drain();
    ASSERT_EQ(e.state().step, TransferStep::PasswordBlockSent);
    Bytes block{'R', 0, 0x40, 0x10};
    const Bytes pw = BlockFrame(0x0040, Bytes(16, 0xFF));
    block.insert(block.end(), pw.begin(), pw.end());
    e.bytesReceived(block);
    drain();
    ASSERT_EQ(e.state().step, TransferStep::Blocks);
    ASSERT_EQ(e.state().currentAddress, 0x0100);

    // During the write of 0x0100 a stray identification reply (a buffer of
    // echo + 16 bytes ending in 0x06) must not count as the block's answer.
    Bytes stray(22, 0x00);
    stray.insert(stray.end(), ident.begin(), ident.end());
    e.bytesReceived(stray);
    EXPECT_TRUE(drain().empty());
    EXPECT_EQ(e.state().currentAddress, 0x0100);

    // The block's own acknowledgement moves on; an answer to a question that
    // was never asked is ignored.
    Bytes ack(22, 0x00);
    ack.push_back(0x06);
    e.bytesReceived(ack);
    auto acts = drain();
    EXPECT_EQ(e.state().currentAddress, 0x0110);
    EXPECT_FALSE(acts.empty());
    e.answerPassword(std::string("x")); // nothing was asked
    EXPECT_TRUE(drain().empty());
}

// Random faults on every kind of answer: every transfer ends either with
// exactly the radio's data or with a reported failure.
TEST(Engine, RandomFaultsNeverGiveSilentlyWrongData)
{
    int succeeded = 0, failed = 0, questions = 0;
    for (uint32_t seed = 1; seed <= 120; ++seed) {
        for (TransferMode mode : {TransferMode::Read, TransferMode::Write, TransferMode::InfoRead}) {
            LinkHarness h;
            h.trickle = seed % 2 == 0;
            h.radio.setMemory(randomImage(seed * 7 + 1));
            h.radio.setPassword(seed % 3 == 0 ? "pw" : "");
            h.enteredPassword = "pw";
            h.radio.setRandomFaults(0.02 + (seed % 5) * 0.02, seed);
            h.defaultRetry = seed % 4 != 0;
            h.maxQuestions = 6;
            const RadioImage before = h.radio.memory();
            if (mode == TransferMode::Write)
                h.image = randomImage(seed * 7 + 2);
            else
                PrefillImage(h.image);
            const TransferResult r = h.run(mode);
            ASSERT_FALSE(h.stuck) << "seed " << seed;
            ASSERT_TRUE(h.result) << "seed " << seed;
            questions += static_cast<int>(h.retryQuestions.size());
            if (!r.success) {
                ++failed;
                EXPECT_EQ(r.endText, FailureTextId(mode));
                continue;
            }
            ++succeeded;
            switch (mode) {
            case TransferMode::Read:
                EXPECT_TRUE(sameRange(h.image, before, 0x0010, 0x3FFF)) << "read, seed " << seed;
                break;
            case TransferMode::Write:
                EXPECT_TRUE(sameRange(h.radio.memory(), h.image, 0x0100, 0x3FFF)) << "write, seed " << seed;
                EXPECT_TRUE(sameRange(h.radio.memory(), before, 0x0000, 0x00FF)) << "write, seed " << seed;
                break;
            default:
                EXPECT_TRUE(sameRange(h.image, before, 0x0010, 0x00FF)) << "info, seed " << seed;
                break;
            }
        }
    }
    std::printf("succeeded %d failed %d questions %d\n", succeeded, failed, questions);
    // Both outcomes and the retry path were exercised.
    EXPECT_GT(succeeded, 200);
    EXPECT_GT(failed, 0);
    EXPECT_GT(questions, 0);
}

// A cancelled transfer sends nothing after the frame outstanding except the
// end request, and leaves the radio out of programming mode.
static void expectCancelledCleanly(const LinkHarness& h, const TransferResult& r, size_t framesAtCancel)
{
    EXPECT_FALSE(r.success);
    EXPECT_TRUE(r.cancelled);
    EXPECT_FALSE(r.portLost);
    EXPECT_FALSE(h.stuck);
    ASSERT_EQ(h.sent.size(), framesAtCancel + 1);
    EXPECT_EQ(h.frameNames().back(), "END");
    EXPECT_FALSE(h.radio.inProgramMode());
    EXPECT_FALSE(h.engine.active());
}

TEST(EngineCancel, DuringTheHandshakeAndMidRead)
{
    for (size_t at : {1u, 2u, 3u, 500u}) { // PROGRAM, ID, password block, a data block
        SCOPED_TRACE(at);
        LinkHarness h;
        h.radio.setMemory(randomImage(7));
        h.radio.setPassword("");
        h.cancelAfterFrames = at;
        const TransferResult r = h.run(TransferMode::Read);
        expectCancelledCleanly(h, r, at);
        EXPECT_FALSE(r.partlyWritten);
        const auto ids = EndTextIds(r);
        EXPECT_EQ(ids, std::vector<std::string>{"7400"});
    }
}

TEST(EngineCancel, MidWriteSaysTheRadioIsPartlyWritten)
{
    LinkHarness h;
    const RadioImage before = h.radio.memory();
    h.image = randomImage(8);
    h.cancelAfterFrames = 103; // PROGRAM, ID, password block, then 100 write frames
    const TransferResult r = h.run(TransferMode::Write);
    expectCancelledCleanly(h, r, 103);
    EXPECT_TRUE(r.partlyWritten);
    EXPECT_EQ(EndTextIds(r), (std::vector<std::string>{"7401", "7404"}));
    // The frame outstanding at the cancel was still written; nothing after it.
    EXPECT_TRUE(sameRange(h.radio.memory(), h.image, 0x0100, 0x0100 + 100 * 16 - 1));
    EXPECT_TRUE(sameRange(h.radio.memory(), before, 0x0100 + 100 * 16, 0x3FFF));
}

TEST(EngineCancel, WriteCancelledBeforeItsFirstBlockLeavesTheRadioAlone)
{
    LinkHarness h;
    h.image = randomImage(9);
    h.cancelAfterFrames = 2;
    const TransferResult r = h.run(TransferMode::Write);
    expectCancelledCleanly(h, r, 2);
    EXPECT_FALSE(r.partlyWritten);
    EXPECT_FALSE(h.radio.memoryChanged());
}

TEST(EngineCancel, WhileTheRetryQuestionIsOpen)
{
    LinkHarness h;
    h.radio.addFault(SimFrame::Read, SimFault::Drop, 3, 0x0200);
    h.cancelAtQuestion = true;
    h.defaultRetry = true; // the late Retry must not restart anything
    const TransferResult r = h.run(TransferMode::Read);
    ASSERT_EQ(h.retryQuestions.size(), 1u);
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(h.frameNames().back(), "END");
    EXPECT_EQ(h.framesStartingWith('P').size(), 1u); // no restart
    EXPECT_FALSE(h.radio.inProgramMode());
}

TEST(EngineCancel, RadioSilentAfterTheCancelStillEnds)
{
    // The radio stops answering: the frame outstanding and the end request
    // each time out once, and the transfer ends without asking anything.
    LinkHarness h;
    h.cancelAfterFrames = 10;
    h.radio.addFault(SimFrame::Read, SimFault::Drop, 1, static_cast<uint16_t>(0x0010 + 6 * 16));
    h.radio.addFault(SimFrame::End, SimFault::Drop, 1);
    const TransferResult r = h.run(TransferMode::Read);
    EXPECT_TRUE(r.cancelled);
    EXPECT_TRUE(h.retryQuestions.empty());
    EXPECT_EQ(h.now, 2 * TransferEngine::kResponseTimeoutMs);
    EXPECT_EQ(h.sent.size(), 11u);
}

TEST(EngineCancel, TooLateOnceTheDataHasMoved)
{
    LinkHarness h;
    h.radio.setMemory(randomImage(10));
    h.radio.setPassword("");
    h.cancelAfterFrames = 3 + 1023 + 1; // the final end request
    const TransferResult r = h.run(TransferMode::Read);
    EXPECT_TRUE(r.success);
    EXPECT_FALSE(r.cancelled);
    expectReadImage(h);
}

TEST(EngineEnd, RadioSilentMidWriteLeavesItPartlyWritten)
{
    // A radio that stops answering mid-write leaves it partly written.
    LinkHarness h;
    h.image = randomImage(11);
    h.radio.addFault(SimFrame::Write, SimFault::Drop, 3, 0x0200);
    h.maxQuestions = 1; // gives up at the first question
    const TransferResult r = h.run(TransferMode::Write);
    EXPECT_FALSE(r.success);
    EXPECT_FALSE(r.cancelled);
    EXPECT_TRUE(r.partlyWritten);
    EXPECT_EQ(EndTextIds(r), (std::vector<std::string>{"2007", "7404"}));
}

TEST(EngineProgress, PhaseAndBlocksFollowTheTransfer)
{
    TransferState s;
    EXPECT_EQ(DescribeProgress(s).blocksTotal, 0); // nothing running
    // A write of 1008 blocks: none done while identifying, the block in
    // flight not yet counted.
    s.mode = TransferMode::Write;
    s.startAddress = 0x0100;
    s.endAddress = 0x3FF0;
    s.currentAddress = 0x0100 - 16;
    s.step = TransferStep::IdentSent;
    TransferProgress p = DescribeProgress(s);
    EXPECT_EQ(p.phase, TransferPhase::Identifying);
    EXPECT_EQ(p.blocksDone, 0);
    EXPECT_EQ(p.blocksTotal, 1008);
    s.blockStarted = true;
    s.step = TransferStep::Blocks;
    s.currentAddress = 0x0100 + 10 * 16;
    p = DescribeProgress(s);
    EXPECT_EQ(p.phase, TransferPhase::Moving);
    EXPECT_EQ(p.blocksDone, 10);
    // A restart after a failure goes back to identifying, the count kept.
    s.step = TransferStep::ProgramSent;
    p = DescribeProgress(s);
    EXPECT_EQ(p.phase, TransferPhase::Identifying);
    EXPECT_EQ(p.blocksDone, 10);
    s.step = TransferStep::FinalEndSent;
    EXPECT_EQ(DescribeProgress(s).blocksDone, 1008);
}

TEST(EngineProgress, SecondsLeftAtThePaceSoFar)
{
    EXPECT_FALSE(SecondsLeft(100, 0, 5000));
    EXPECT_FALSE(SecondsLeft(100, 10, 0));
    EXPECT_EQ(SecondsLeft(100, 10, 1000), 10);
    EXPECT_EQ(SecondsLeft(1, 3, 1000), 1); // a third of a second still shows 1
    EXPECT_EQ(SecondsLeft(0, 10, 1000), 0);
    // Large counts and slow lines do not overflow.
    EXPECT_EQ(SecondsLeft(1000, 1, 3'600'000), 3'600'000);
}
