#include "link/transfer_engine.h"

#include "link/password.h"

#include <algorithm>
#include <cstdio>

namespace qtx {

namespace {

constexpr int kReadStart = 0x0010;
constexpr int kWriteStart = 0x0100;
constexpr int kLastBlock = 0x3FF0;
constexpr int kInfoEnd = 0x00FF;

std::string hex4(int v)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%04X", v & 0xFFFF);
    return buf;
}

} // namespace

const char* TransferModeName(TransferMode mode)
{
    switch (mode) {
    case TransferMode::Read: return "read";
    case TransferMode::Write: return "write";
    case TransferMode::InfoRead: return "info read";
    case TransferMode::None: break;
    }
    return "none";
}

const char* TransferStepName(TransferStep step)
{
    switch (step) {
    case TransferStep::ProgramSent: return "ProgramSent";
    case TransferStep::IdentSent: return "IdentSent";
    case TransferStep::PasswordBlockSent: return "PasswordBlockSent";
    case TransferStep::Blocks: return "Blocks";
    case TransferStep::RestartEndSent: return "RestartEndSent";
    case TransferStep::FinalEndSent: return "FinalEndSent";
    case TransferStep::CancelEndSent: return "CancelEndSent";
    case TransferStep::None: break;
    }
    return "None";
}

int ProgressPercent(int done, int total)
{
    if (total <= 0)
        return 0;
    const long long scaled = static_cast<long long>(done) * 100;
    long long q = scaled / total;
    const long long twiceRest = (scaled % total) * 2;
    if (twiceRest > total || (twiceRest == total && (q % 2) != 0))
        ++q;
    return static_cast<int>(q);
}

TransferProgress DescribeProgress(const TransferState& s)
{
    TransferProgress p;
    const int blockLength = s.mode == TransferMode::Write ? s.writeBlockLength : s.readBlockLength;
    if (s.mode == TransferMode::None || blockLength <= 0)
        return p;
    p.blocksTotal = (s.endAddress - s.startAddress) / blockLength + 1;
    // The block in flight is not done yet.
    p.blocksDone = std::clamp((s.currentAddress - s.startAddress) / blockLength, 0, p.blocksTotal);
    if (!s.blockStarted)
        p.blocksDone = 0;
    switch (s.step) {
    case TransferStep::Blocks: p.phase = TransferPhase::Moving; break;
    case TransferStep::FinalEndSent:
    case TransferStep::CancelEndSent:
        p.phase = TransferPhase::Ending;
        if (s.step == TransferStep::FinalEndSent)
            p.blocksDone = p.blocksTotal;
        break;
    default: p.phase = TransferPhase::Identifying; break;
    }
    return p;
}

std::optional<int> SecondsLeft(int blocksLeft, int blocksTimed, int64_t elapsedMs)
{
    if (blocksTimed <= 0 || elapsedMs <= 0 || blocksLeft < 0)
        return std::nullopt;
    const int64_t msLeft = static_cast<int64_t>(blocksLeft) * elapsedMs / blocksTimed;
    return static_cast<int>((msLeft + 999) / 1000);
}

const char* SuccessTextId(TransferMode mode)
{
    switch (mode) {
    case TransferMode::Read: return "2004";
    case TransferMode::Write: return "2005";
    default: return "";
    }
}

const char* FailureTextId(TransferMode mode)
{
    switch (mode) {
    case TransferMode::Read: return "2006";
    case TransferMode::Write: return "2007";
    case TransferMode::InfoRead: return "2008";
    case TransferMode::None: break;
    }
    return "";
}

const char* CancelledTextId(TransferMode mode)
{
    switch (mode) {
    case TransferMode::Read: return "7400";
    case TransferMode::Write: return "7401";
    case TransferMode::InfoRead: return "7402";
    case TransferMode::None: break;
    }
    return "";
}

std::vector<std::string> EndTextIds(const TransferResult& result)
{
    std::vector<std::string> ids;
    if (result.success)
        return ids;
    if (result.cancelled)
        ids.push_back(CancelledTextId(result.mode));
    else if (result.portLost)
        ids.push_back("7403");
    else if (!result.endText.empty())
        ids.push_back(result.endText);
    if (result.partlyWritten)
        ids.push_back("7404");
    return ids;
}

TransferEngine::TransferEngine(RadioImage& image)
    : image_(image)
{
}

void TransferEngine::setKnownPassword(std::string password)
{
    knownPassword_ = std::move(password);
}

void TransferEngine::setExpectedIdent(std::string model, std::string version)
{
    expectedModel_ = std::move(model);
    expectedVersion_ = std::move(version);
}

bool TransferEngine::awaitingRetryAnswer() const
{
    return question_ == Question::GiveUp || question_ == Question::RestartEnd;
}

bool TransferEngine::awaitingPasswordAnswer() const
{
    return question_ == Question::Password;
}

std::optional<LinkAction> TransferEngine::nextAction()
{
    if (actions_.empty())
        return std::nullopt;
    LinkAction a = std::move(actions_.front());
    actions_.pop_front();
    return a;
}

void TransferEngine::start(TransferMode mode)
{
    if (mode == TransferMode::None)
        return;
    stopTimer();
    state_ = TransferState{};
    state_.mode = mode;
    state_.startAddress = mode == TransferMode::Write ? kWriteStart : kReadStart;
    state_.endAddress = mode == TransferMode::InfoRead ? kInfoEnd : kLastBlock;
    const int blockLength = mode == TransferMode::Write ? state_.writeBlockLength : state_.readBlockLength;
    state_.currentAddress = state_.startAddress - blockLength;
    state_.blockAttempts.assign((state_.endAddress - state_.startAddress) / blockLength + 1, kAttempts);
    resetAttempts();
    outstanding_ = false;
    question_ = Question::None;
    radioPassword_.clear();
    password_ = knownPassword_;
    ident_.reset();
    giveUpCause_.clear();
    cancelRequested_ = false;
    portLost_ = false;
    sendProgram();
}

void TransferEngine::resetAttempts()
{
    state_.programAttempts = state_.identAttempts = state_.passwordAttempts = kAttempts;
    std::fill(state_.blockAttempts.begin(), state_.blockAttempts.end(), int16_t{kAttempts});
    state_.resendRequests = 0;
}

void TransferEngine::send(Frame frame, std::optional<uint16_t> readAddress, bool passwordBlock)
{
    state_.echoLength = static_cast<int>(frame.bytes.size());
    expect_ = ReplyExpectation{};
    expect_.echoLength = frame.bytes.size();
    expect_.readAddress = readAddress;
    expect_.awaitingPasswordBlock = passwordBlock;
    actions_.push_back(link::StartTimer{});
    actions_.push_back(link::Send{std::move(frame.bytes), frame.threshold});
    timerRunning_ = true;
    outstanding_ = true;
}

void TransferEngine::stopTimer()
{
    if (timerRunning_)
        actions_.push_back(link::StopTimer{});
    timerRunning_ = false;
}

void TransferEngine::sendProgram()
{
    state_.lastPercent = 0;
    state_.step = TransferStep::ProgramSent;
    send(ProgramRequest());
}

void TransferEngine::sendEnd()
{
    send(EndRequest());
}

void TransferEngine::cancel()
{
    if (state_.mode == TransferMode::None || cancelRequested_ || state_.step == TransferStep::FinalEndSent)
        return;
    cancelRequested_ = true;
    if (question_ != Question::None) {
        question_ = Question::None;
        sendCancelEnd();
    } else if (!outstanding_) {
        sendCancelEnd();
    }
}

void TransferEngine::sendCancelEnd()
{
    state_.step = TransferStep::CancelEndSent;
    sendEnd();
}

// At a frame boundary after a cancel: the end request goes out instead of
// the next frame. True when the transfer stops here.
bool TransferEngine::stopIfCancelled()
{
    if (!cancelRequested_)
        return false;
    stopTimer();
    outstanding_ = false;
    switch (state_.step) {
    case TransferStep::CancelEndSent:
    case TransferStep::RestartEndSent: // the radio has just left programming mode
        finish(false, "cancelled");
        break;
    case TransferStep::FinalEndSent: // the data has all moved
        return false;
    default:
        sendCancelEnd();
        break;
    }
    return true;
}

void TransferEngine::advance()
{
    if (stopIfCancelled())
        return;
    stopTimer();
    outstanding_ = false;
    switch (state_.step) {
    case TransferStep::ProgramSent:
        if (state_.mode != TransferMode::InfoRead)
            actions_.push_back(link::Progress{0});
        state_.step = TransferStep::IdentSent;
        send(IdentRequest());
        break;
    case TransferStep::IdentSent:
        state_.step = TransferStep::PasswordBlockSent;
        send(ReadRequest(kPasswordBlockAddress, static_cast<uint8_t>(state_.readBlockLength)), kPasswordBlockAddress,
             true);
        break;
    case TransferStep::PasswordBlockSent:
        state_.step = TransferStep::Blocks;
        if (state_.blockStarted)
            resendBlock();
        else
            nextBlock();
        break;
    case TransferStep::Blocks:
        nextBlock();
        break;
    case TransferStep::RestartEndSent:
        sendProgram();
        break;
    case TransferStep::FinalEndSent:
        finishAfterEnd();
        break;
    case TransferStep::CancelEndSent:
    case TransferStep::None:
        break;
    }
}

void TransferEngine::nextBlock()
{
    state_.blockStarted = true;
    state_.resendRequests = 0;
    if (writingBlocks()) {
        state_.currentAddress += state_.writeBlockLength;
        updateProgress();
        if (state_.currentAddress <= state_.endAddress)
            sendBlock();
        else if (verifyAfterWrite_)
            startVerify();
        else
            finishExchange();
        return;
    }
    state_.currentAddress += state_.readBlockLength;
    if (state_.currentAddress > state_.endAddress) {
        finishExchange();
        return;
    }
    if (state_.mode != TransferMode::InfoRead)
        updateProgress();
    sendBlock();
}

bool TransferEngine::writingBlocks() const
{
    return state_.mode == TransferMode::Write && !state_.verifying;
}

int TransferEngine::blockLength() const
{
    return writingBlocks() ? state_.writeBlockLength : state_.readBlockLength;
}

void TransferEngine::startVerify()
{
    state_.verifying = true;
    state_.currentAddress = state_.startAddress - state_.readBlockLength;
    state_.blockAttempts.assign((state_.endAddress - state_.startAddress) / state_.readBlockLength + 1, kAttempts);
    state_.lastPercent = 0;
    actions_.push_back(link::Progress{0, true});
    nextBlock();
}

void TransferEngine::finishAfterEnd()
{
    if (!state_.verifyMismatch) {
        finish(true);
        return;
    }
    const int at = *state_.verifyMismatch;
    char buf[96];
    std::snprintf(buf, sizeof buf, "the read-back differs at %s: the radio holds 0x%02X where 0x%02X was written",
                  hex4(at).c_str(), verifyRead_, image_[static_cast<size_t>(at)]);
    finish(false, buf);
}

void TransferEngine::resendBlock()
{
    if (state_.currentAddress > state_.endAddress)
        finishExchange();
    else
        sendBlock();
}

void TransferEngine::sendBlock()
{
    const auto address = static_cast<uint16_t>(state_.currentAddress);
    if (writingBlocks()) {
        const auto data = std::span<const uint8_t>(image_).subspan(address, state_.writeBlockLength);
        send(WriteFrame(address, data));
    } else {
        send(ReadRequest(address, static_cast<uint8_t>(state_.readBlockLength)), address);
    }
}

void TransferEngine::finishExchange()
{
    state_.step = TransferStep::FinalEndSent;
    sendEnd();
}

void TransferEngine::updateProgress()
{
    const int percent = ProgressPercent(state_.currentAddress - state_.startAddress,
                                        state_.endAddress - state_.startAddress + blockLength());
    if (percent > state_.lastPercent) {
        state_.lastPercent = percent;
        actions_.push_back(link::Progress{percent, state_.verifying});
    }
}

int TransferEngine::blockIndex() const
{
    return (state_.currentAddress - state_.startAddress) / blockLength();
}

std::string TransferEngine::currentFrameName() const
{
    switch (state_.step) {
    case TransferStep::ProgramSent: return "the program request";
    case TransferStep::IdentSent: return "the identification request";
    case TransferStep::PasswordBlockSent: return "the password block request";
    case TransferStep::Blocks:
        return std::string(writingBlocks() ? "the write frame for " : "the read request for ") +
               hex4(state_.currentAddress);
    case TransferStep::RestartEndSent:
    case TransferStep::FinalEndSent:
    case TransferStep::CancelEndSent: return "the end request";
    case TransferStep::None: break;
    }
    return "the last frame";
}

void TransferEngine::bytesReceived(std::span<const uint8_t> buffer)
{
    if (!outstanding_ || state_.mode == TransferMode::None)
        return;
    const ReplyKind kind = RecogniseReply(buffer, expect_);
    const auto reply = buffer.subspan(std::min(buffer.size(), expect_.echoLength));
    // Only the answer to the frame outstanding moves the transfer on;
    // anything else is left to the response time-out.
    switch (state_.step) {
    case TransferStep::ProgramSent:
        if (kind == ReplyKind::ProgramReply)
            advance();
        break;
    case TransferStep::IdentSent:
        if (kind == ReplyKind::IdentReply)
            onIdent(reply);
        break;
    case TransferStep::PasswordBlockSent:
        if (kind == ReplyKind::PasswordBlock)
            onPasswordBlock(ReadReplyData(buffer, expect_.echoLength));
        break;
    case TransferStep::Blocks:
        if (writingBlocks()) {
            if (kind == ReplyKind::Acknowledge)
                advance();
            else if (kind == ReplyKind::ResendRequest)
                onResendRequest();
        } else if (kind == ReplyKind::ReadBlock) {
            onReadBlock(ReadReplyData(buffer, expect_.echoLength));
        }
        break;
    case TransferStep::RestartEndSent:
    case TransferStep::FinalEndSent:
    case TransferStep::CancelEndSent:
        if (kind == ReplyKind::Acknowledge)
            advance();
        break;
    case TransferStep::None:
        break;
    }
}

void TransferEngine::onIdent(std::span<const uint8_t> reply)
{
    stopTimer();
    outstanding_ = false;
    ident_ = ParseIdentReply(reply);
    if (stopIfCancelled())
        return;
    if (auto message = CheckIdent(*ident_, state_.mode == TransferMode::Write, expectedModel_, expectedVersion_)) {
        actions_.push_back(link::ShowMessage{*message});
        std::string detail;
        if (*message == kModelWrongMessage)
            detail = "the radio reports model \"" + ident_->model + "\", expected \"" + expectedModel_ + "\"";
        else if (*message == kVersionWrongMessage)
            detail = "the radio reports version \"" + ident_->version + "\", expected \"" + expectedVersion_ + "\"";
        else if (*message == kRadioKilledMessage)
            detail = "the radio is killed and cannot be written";
        else
            detail = "the radio is stunned and cannot be written";
        finish(false, detail);
        return;
    }
    advance();
}

void TransferEngine::onPasswordBlock(std::span<const uint8_t> data)
{
    stopTimer();
    outstanding_ = false;
    radioPassword_ = RadioPasswordFromBlock(data);
    if (stopIfCancelled())
        return;
    if (PasswordPasses(radioPassword_, password_)) {
        advance();
        return;
    }
    question_ = Question::Password;
    actions_.push_back(link::AskPassword{password_});
}

void TransferEngine::answerPassword(std::optional<std::string> typed)
{
    if (question_ != Question::Password)
        return;
    question_ = Question::None;
    if (!typed) {
        finish(false, "the password prompt was cancelled");
        return;
    }
    password_ = NormalisePassword(*typed);
    if (password_ != radioPassword_) {
        finish(false, "the password does not match the radio's");
        return;
    }
    restart();
}

void TransferEngine::restart()
{
    resetAttempts();
    state_.step = TransferStep::RestartEndSent;
    sendEnd();
}

void TransferEngine::onReadBlock(std::span<const uint8_t> data)
{
    if (state_.verifying) {
        onVerifyBlock(data);
        return;
    }
    const size_t at = static_cast<size_t>(state_.currentAddress);
    const size_t n = std::min(data.size(), image_.size() - std::min(at, image_.size()));
    std::copy_n(data.begin(), n, image_.begin() + at);
    advance();
}

void TransferEngine::onVerifyBlock(std::span<const uint8_t> data)
{
    const size_t at = static_cast<size_t>(state_.currentAddress);
    for (size_t i = 0; i < data.size() && at + i < image_.size(); ++i) {
        if (data[i] != image_[at + i]) {
            // One difference fails the write; the rest need not be read.
            stopTimer();
            outstanding_ = false;
            state_.verifyMismatch = static_cast<int>(at + i);
            verifyRead_ = data[i];
            finishExchange();
            return;
        }
    }
    advance();
}

void TransferEngine::onResendRequest()
{
    if (stopIfCancelled())
        return;
    stopTimer();
    outstanding_ = false;
    if (++state_.resendRequests > kMaxResendRequests) {
        giveUp("the radio rejected " + currentFrameName() + " " + std::to_string(kMaxResendRequests + 1) +
               " times");
        return;
    }
    resendBlock();
}

void TransferEngine::timerExpired()
{
    if (!timerRunning_ || state_.mode == TransferMode::None)
        return; // a stale expiry of a timer already stopped
    timerRunning_ = false;
    if (stopIfCancelled())
        return;
    outstanding_ = false;
    const std::string noReply = "no valid reply to " + currentFrameName() + " after " + std::to_string(kAttempts) +
                                " attempts";
    switch (state_.step) {
    case TransferStep::ProgramSent:
        if (state_.programAttempts-- > 1)
            sendProgram();
        else
            giveUp(noReply);
        break;
    case TransferStep::IdentSent:
        if (state_.identAttempts-- > 1)
            send(IdentRequest());
        else
            giveUp(noReply);
        break;
    case TransferStep::PasswordBlockSent:
        if (state_.passwordAttempts-- > 1)
            send(ReadRequest(kPasswordBlockAddress, static_cast<uint8_t>(state_.readBlockLength)),
                 kPasswordBlockAddress, true);
        else
            giveUp(noReply);
        break;
    case TransferStep::Blocks: {
        const int i = blockIndex();
        if (i >= 0 && i < static_cast<int>(state_.blockAttempts.size()) && --state_.blockAttempts[i] >= 1)
            resendBlock();
        else
            giveUp(noReply);
        break;
    }
    case TransferStep::RestartEndSent:
        giveUpCause_ = "no reply to the end request before restarting";
        question_ = Question::RestartEnd;
        actions_.push_back(link::AskRetry{});
        break;
    case TransferStep::FinalEndSent:
        // The last END needs no acknowledgement.
        finishAfterEnd();
        break;
    case TransferStep::CancelEndSent:
    case TransferStep::None:
        break;
    }
}

void TransferEngine::giveUp(std::string cause)
{
    giveUpCause_ = std::move(cause);
    if (state_.mode == TransferMode::InfoRead) {
        finish(false, giveUpCause_);
        return;
    }
    question_ = Question::GiveUp;
    actions_.push_back(link::AskRetry{});
}

void TransferEngine::answerRetry(bool retry)
{
    const Question q = question_;
    if (q != Question::GiveUp && q != Question::RestartEnd)
        return;
    question_ = Question::None;
    if (!retry) {
        finish(false, giveUpCause_ + "; cancelled");
        return;
    }
    if (q == Question::GiveUp)
        restart();
    else
        sendEnd(); // the step stays RestartEndSent
}

void TransferEngine::portFailed()
{
    if (state_.mode == TransferMode::None)
        return;
    portLost_ = true;
    finish(false, "the serial port failed");
}

void TransferEngine::finish(bool success, std::string detail)
{
    stopTimer();
    outstanding_ = false;
    question_ = Question::None;
    TransferResult r;
    r.mode = state_.mode;
    r.success = success;
    r.endText = success ? SuccessTextId(state_.mode) : FailureTextId(state_.mode);
    r.ident = ident_;
    r.detail = std::move(detail);
    r.password = password_;
    r.verified = success && state_.verifying;
    r.verifyMismatch = state_.verifyMismatch;
    r.cancelled = !success && cancelRequested_ && !portLost_;
    r.portLost = portLost_;
    r.partlyWritten = !success && state_.mode == TransferMode::Write && state_.blockStarted;
    state_.step = TransferStep::None;
    state_.mode = TransferMode::None;
    actions_.push_back(link::Finished{std::move(r)});
}

} // namespace qtx
