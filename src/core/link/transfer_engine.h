#pragma once
// The read/write transfer between the program and the radio, as a state
// machine without I/O.
//
// The owner feeds it events (bytes received, the response timer expired, the
// user's answers, the port failed) and drains the actions it asks for (send a
// frame, start or stop the 300 ms response timer, show progress, show a
// message, ask a question, finished). It never blocks, sleeps, reads a clock
// or touches a port, so the same engine runs behind a serial port, in the
// command-line tool and against the in-process radio simulator in tests.
//
// Exactly one frame is outstanding at a time. Sending a frame means: clear
// the port's input and output, set the receive threshold, write the bytes.
// When at least `threshold` bytes are waiting, hand all of them to
// bytesReceived() as one buffer.

#include "image/radio_image.h"
#include "link/frames.h"
#include "link/radio_ident.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace qtx {

enum class TransferMode { None, Read, Write, InfoRead };
enum class TransferStep {
    None,
    ProgramSent,
    IdentSent,
    PasswordBlockSent,
    Blocks,
    RestartEndSent,
    FinalEndSent,
    CancelEndSent, // the user cancelled: the radio is asked to leave programming mode
};

const char* TransferModeName(TransferMode mode);  // "read", "write", "info read"
const char* TransferStepName(TransferStep step);

struct TransferState {
    TransferMode mode = TransferMode::None;
    TransferStep step = TransferStep::None;
    int echoLength = 0;
    int startAddress = 0;
    int endAddress = 0;
    int currentAddress = 0;
    int readBlockLength = kBlockLength;
    int writeBlockLength = kBlockLength;
    bool blockStarted = false;
    int lastPercent = 0;
    int programAttempts = 0;
    int identAttempts = 0;
    int passwordAttempts = 0;
    std::vector<int16_t> blockAttempts; // per block, by (address - start) / 16
    int resendRequests = 0;             // 0x0A answers to the current block
    bool verifying = false;             // a write reads its range back
    std::optional<int> verifyMismatch;  // first address the radio holds differently
};

// Completion percentage of `done` bytes out of `total`, halves to even.
int ProgressPercent(int done, int total);

// Where a transfer stands, for the progress display.
enum class TransferPhase { Identifying, Moving, Ending };
struct TransferProgress {
    TransferPhase phase = TransferPhase::Identifying;
    int blocksDone = 0;
    int blocksTotal = 0;
};
TransferProgress DescribeProgress(const TransferState& state);

// Whole seconds left for `blocksLeft` blocks at the pace of the `blocksTimed`
// blocks that took `elapsedMs`, rounded up; none until a block was timed.
std::optional<int> SecondsLeft(int blocksLeft, int blocksTimed, int64_t elapsedMs);

// Language text IDs the user sees at the end of a transfer.
const char* SuccessTextId(TransferMode mode); // "2004", "2005", "" for InfoRead
const char* FailureTextId(TransferMode mode); // "2006", "2007", "2008"

struct TransferResult {
    TransferMode mode = TransferMode::None;
    bool success = false;
    // Language text ID to show with an OK button; empty after a successful
    // information read (the viewer opens instead).
    std::string endText;
    // The last identification the radio gave in this transfer.
    std::optional<RadioIdent> ident;
    // Plain-words cause of a failure, for logs and the command line.
    std::string detail;
    // The password the transfer ended with: the one known beforehand, or
    // the one confirmed at the prompt (kept even when the radio refused it,
    // so that the next prompt offers it again). The owner keeps it for the run.
    std::string password;
    // A write read back after writing: whether it was, and the first address
    // where the radio holds something else than was sent.
    bool verified = false;
    std::optional<int> verifyMismatch;
    // The user cancelled the transfer.
    bool cancelled = false;
    // The port failed under the transfer (cable pulled, device gone).
    bool portLost = false;
    // A write ended without success after its first block went out: the
    // radio may hold a mix of old and new data.
    bool partlyWritten = false;
};

// Text IDs of the message a failed or cancelled transfer ends with, in the
// order they are shown; "%1" in the port-lost text stands for the port and
// its error.
std::vector<std::string> EndTextIds(const TransferResult& result);

namespace link {
struct Send {       // clear input and output, set the threshold, write
    Bytes bytes;
    int threshold = 0;
};
struct StartTimer {}; // (re)start the 300 ms response timer
struct StopTimer {};
struct Progress {
    int percent = 0;
    bool verifying = false; // the percentage of the read-back after a write
};
struct ShowMessage { // a built-in text entry, OK button
    std::string name;
};
struct AskRetry {};  // language text "2003" with Retry and Cancel -> answerRetry()
struct AskPassword { // the password prompt, prefilled -> answerPassword()
    std::string current;
};
struct Finished {    // close the port; show result.endText when not empty
    TransferResult result;
};
} // namespace link

using LinkAction = std::variant<link::Send, link::StartTimer, link::StopTimer, link::Progress, link::ShowMessage,
                                link::AskRetry, link::AskPassword, link::Finished>;

class TransferEngine {
public:
    static constexpr int kResponseTimeoutMs = 300;
    static constexpr int kAttempts = 3;
    // A radio that keeps answering 0x0A to the same write frame is broken or
    // sits on an unusable line: after this many re-sends it asked for, the
    // block gives up like one whose attempts ran out.
    static constexpr int kMaxResendRequests = 5;
    static constexpr const char* kRetryQuestionText = "2003";

    // `image` receives a read and supplies a write and must outlive the
    // engine. The owner prefills the image (PrefillImage) before a read and
    // builds it before a write.
    explicit TransferEngine(RadioImage& image);

    // The password known before a transfer starts (the one last entered);
    // the prompt is shown only when the radio's password differs from it.
    void setKnownPassword(std::string password);

    // The identification a transfer accepts (the current model's texts).
    void setExpectedIdent(std::string model, std::string version);

    // After a write, read 0x0100-0x3FFF back in the same session and compare
    // it with what was sent; a difference fails the write.
    void setVerifyAfterWrite(bool verify) { verifyAfterWrite_ = verify; }
    bool verifyAfterWrite() const { return verifyAfterWrite_; }

    // Starts a transfer (abandoning any in progress) by sending the program
    // request. The owner has opened the port.
    void start(TransferMode mode);

    // Every byte waiting once the threshold was reached, as one buffer.
    void bytesReceived(std::span<const uint8_t> buffer);
    void timerExpired();
    void answerRetry(bool retry);
    // The text typed at the password prompt, none when it was cancelled.
    void answerPassword(std::optional<std::string> typed);
    // The port failed (cable pulled, device gone): the transfer ends at once
    // as failed.
    void portFailed();
    // The user cancelled. Nothing more is sent once the frame outstanding is
    // answered or times out (a question still open is withdrawn at once);
    // then the end request asks the radio to leave programming mode and the
    // transfer finishes as cancelled. Ignored once the data has all moved.
    void cancel();
    bool cancelRequested() const { return cancelRequested_; }

    // Pops the next action; none when there is nothing to do.
    std::optional<LinkAction> nextAction();
    bool hasActions() const { return !actions_.empty(); }

    bool active() const { return state_.mode != TransferMode::None; }
    const TransferState& state() const { return state_; }
    // Whether the engine waits for answerRetry() or answerPassword().
    bool awaitingRetryAnswer() const;
    bool awaitingPasswordAnswer() const;

private:
    enum class Question { None, GiveUp, RestartEnd, Password };

    void send(Frame frame, std::optional<uint16_t> readAddress = std::nullopt, bool passwordBlock = false);
    void stopTimer();
    void sendProgram();
    void sendEnd();
    void advance();
    void nextBlock();
    void resendBlock();
    void sendBlock();
    void finishExchange();
    void startVerify();
    void finishAfterEnd();
    void onVerifyBlock(std::span<const uint8_t> data);
    bool writingBlocks() const;
    int blockLength() const;
    void updateProgress();
    void giveUp(std::string cause);
    void restart();
    void resetAttempts();
    void finish(bool success, std::string detail = {});
    bool stopIfCancelled();
    void sendCancelEnd();
    void onIdent(std::span<const uint8_t> reply);
    void onPasswordBlock(std::span<const uint8_t> data);
    void onReadBlock(std::span<const uint8_t> data);
    void onResendRequest();
    int blockIndex() const;
    std::string currentFrameName() const;

    RadioImage& image_;
    std::string knownPassword_;
    std::string password_; // this transfer's: the known one, then the one confirmed at the prompt
    std::string expectedModel_ = kExpectedModel;
    std::string expectedVersion_ = kExpectedVersion;
    bool verifyAfterWrite_ = false;
    uint8_t verifyRead_ = 0; // what the radio held at the first difference

    TransferState state_;
    ReplyExpectation expect_;
    bool outstanding_ = false;   // a frame was sent and its reply is awaited
    bool timerRunning_ = false;
    Question question_ = Question::None;
    std::string radioPassword_;
    std::optional<RadioIdent> ident_;
    std::string giveUpCause_;
    bool cancelRequested_ = false;
    bool portLost_ = false;
    std::deque<LinkAction> actions_;
};

} // namespace qtx
