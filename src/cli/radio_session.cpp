#include "radio_session.h"

#include "link/password.h"
#include "transfer_runner.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QSocketNotifier>

#include <algorithm>
#include <csignal>
#include <memory>
#include <vector>
#include <cstdio>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace qtx::cli {

namespace {

// The percentage, the block count and the time left on one line of
// standard error, rewritten in place.
class ProgressLine {
public:
    ProgressLine(bool enabled, const char* label) : enabled_(enabled), label_(label) {}
    ~ProgressLine() { clear(); }

    void show(int percent, const TransferProgress& where)
    {
        if (!enabled_ || percent == shown_)
            return;
        shown_ = percent;
        std::string line = std::string("\r") + label_ + " " + std::to_string(percent) + "%";
        if (where.phase == TransferPhase::Identifying && where.blocksDone == 0) {
            line += "  identifying the radio";
        } else {
            line += "  block " + std::to_string(where.blocksDone) + "/" + std::to_string(where.blocksTotal);
            if (paceBlocks_ < 0) {
                paceBlocks_ = where.blocksDone;
                pace_.start();
            }
            if (const auto left = SecondsLeft(where.blocksTotal - where.blocksDone, where.blocksDone - paceBlocks_,
                                              pace_.elapsed()))
                line += "  " + std::to_string(*left) + " s left";
        }
        std::fprintf(stderr, "%-*s", kWidth, line.c_str());
        std::fflush(stderr);
        visible_ = true;
    }
    void relabel(const char* label)
    {
        label_ = label;
        shown_ = -1;
        paceBlocks_ = -1; // a new pass over the blocks
    }
    void clear()
    {
        if (!visible_)
            return;
        std::fprintf(stderr, "\r%*s\r", kWidth, "");
        std::fflush(stderr);
        visible_ = false;
        shown_ = -1;
    }

private:
    static constexpr int kWidth = 72;
    bool enabled_;
    const char* label_;
    bool visible_ = false;
    int shown_ = -1;
    QElapsedTimer pace_;
    int paceBlocks_ = -1;
};

// Ctrl-C or SIGTERM at the hidden prompt: the read is interrupted, the
// terminal put back, and the transfer cancelled like at any other moment.
volatile std::sig_atomic_t gPromptInterrupted = 0;

void interruptPrompt(int) { gPromptInterrupted = 1; }

enum class PromptEnd { Line, EndOfInput, Interrupted };

// A line typed without echo.
PromptEnd readHiddenLine(const char* prompt, std::string& line)
{
    // Echo goes off before the prompt appears, and without flushing input,
    // so an answer typed as soon as the prompt shows is neither echoed nor lost.
    struct termios savedTerminal;
    const bool saved = tcgetattr(STDIN_FILENO, &savedTerminal) == 0;
    // Without SA_RESTART, so the signal ends the waiting read.
    struct sigaction interrupt = {};
    interrupt.sa_handler = interruptPrompt;
    sigemptyset(&interrupt.sa_mask);
    struct sigaction oldInt = {};
    struct sigaction oldTerm = {};
    gPromptInterrupted = 0;
    sigaction(SIGINT, &interrupt, &oldInt);
    sigaction(SIGTERM, &interrupt, &oldTerm);
    if (saved) {
        struct termios quiet = savedTerminal;
        quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
        quiet.c_lflag |= ICANON;
        tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    std::fputs(prompt, stderr);
    std::fflush(stderr);
    bool any = false;
    int c;
    while (!gPromptInterrupted && (c = std::fgetc(stdin)) != EOF) {
        any = true;
        if (c == '\n')
            break;
        line.push_back(static_cast<char>(c));
    }
    std::clearerr(stdin);
    if (saved)
        tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
    sigaction(SIGINT, &oldInt, nullptr);
    sigaction(SIGTERM, &oldTerm, nullptr);
    std::fputc('\n', stderr);
    if (gPromptInterrupted)
        return PromptEnd::Interrupted;
    if (!any)
        return PromptEnd::EndOfInput;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return PromptEnd::Line;
}

// SIGINT and SIGTERM cancel the transfer like the Cancel button: the radio
// is asked to leave programming mode before the program ends. A second
// signal ends the program at once.
int gCancelPipe[2] = {-1, -1};

void requestCancel(int sig)
{
    const char byte = 1;
    [[maybe_unused]] const auto n = write(gCancelPipe[1], &byte, 1);
    std::signal(sig, SIG_DFL);
}

class CancelOnSignals {
public:
    explicit CancelOnSignals(TransferRunner& runner)
    {
        if (gCancelPipe[0] < 0 && pipe2(gCancelPipe, O_CLOEXEC | O_NONBLOCK) != 0)
            return;
        char drop[16];
        while (read(gCancelPipe[0], drop, sizeof drop) > 0) {
        }
        notifier_ = std::make_unique<QSocketNotifier>(gCancelPipe[0], QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [&runner] {
            char byte[16];
            while (read(gCancelPipe[0], byte, sizeof byte) > 0) {
            }
            runner.cancel();
        });
        oldInt_ = std::signal(SIGINT, requestCancel);
        oldTerm_ = std::signal(SIGTERM, requestCancel);
    }
    ~CancelOnSignals()
    {
        if (!notifier_)
            return;
        std::signal(SIGINT, oldInt_);
        std::signal(SIGTERM, oldTerm_);
    }
    CancelOnSignals(const CancelOnSignals&) = delete;
    CancelOnSignals& operator=(const CancelOnSignals&) = delete;

private:
    std::unique_ptr<QSocketNotifier> notifier_;
    void (*oldInt_)(int) = SIG_DFL;
    void (*oldTerm_)(int) = SIG_DFL;
};

class CliPrompter : public LinkPrompter {
public:
    enum class PasswordSource { None, Given, Typed, NotTyped, Missing };

    CliPrompter(const LinkSettings& settings, ProgressLine& progress) : settings_(settings), progress_(progress) {}

    void setRunner(TransferRunner* runner) { runner_ = runner; }

    bool askRetry() override
    {
        ++questions_;
        if (restarts_ >= settings_.retries)
            return false;
        ++restarts_;
        return true;
    }

    std::optional<std::string> askPassword(const std::string&) override
    {
        // The engine ends the transfer at once on a refused or missing
        // password; a frame sent after the answer means it went on.
        framesAtPassword_ = runner_ ? runner_->stats().framesSent : 0;
        if (settings_.password) {
            source_ = PasswordSource::Given;
            return settings_.password;
        }
        if (!settings_.promptForPassword || !isatty(STDIN_FILENO)) {
            source_ = PasswordSource::Missing;
            return std::nullopt;
        }
        progress_.clear();
        std::string typed;
        switch (readHiddenLine("The radio has a password. Password: ", typed)) {
        case PromptEnd::Line:
            source_ = PasswordSource::Typed;
            return typed;
        case PromptEnd::Interrupted:
            // Cancelled while the question is open: the radio is asked to
            // leave programming mode and the prompt's answer is not used.
            if (runner_)
                runner_->cancel();
            break;
        case PromptEnd::EndOfInput: break;
        }
        source_ = PasswordSource::NotTyped;
        return std::nullopt;
    }

    void showMessage(const std::string& name) override { refusal_ = name; }

    int restarts() const { return restarts_; }
    // Whether the engine gave up on the radio's answers at least once.
    bool gaveUp() const { return questions_ > 0; }
    const std::optional<std::string>& refusal() const { return refusal_; }
    // How the password that ended the transfer came, or None when the
    // transfer did not end at the password.
    PasswordSource passwordFailure(int framesAtEnd) const
    {
        return source_ != PasswordSource::None && framesAtEnd == framesAtPassword_ ? source_ : PasswordSource::None;
    }

private:
    const LinkSettings& settings_;
    ProgressLine& progress_;
    TransferRunner* runner_ = nullptr;
    int restarts_ = 0;
    int questions_ = 0;
    std::optional<std::string> refusal_;
    PasswordSource source_ = PasswordSource::None;
    int framesAtPassword_ = -1;
};

constexpr const char* kVerifyingLabel = "Verifying data in radio";

const char* cancelledText(TransferMode mode)
{
    switch (mode) {
    case TransferMode::Read: return "reading the radio was cancelled";
    case TransferMode::Write: return "writing the radio was cancelled";
    case TransferMode::InfoRead: return "reading the radio's information was cancelled";
    case TransferMode::None: break;
    }
    return "the transfer was cancelled";
}

const char* failedText(TransferMode mode)
{
    switch (mode) {
    case TransferMode::Read: return "reading the radio failed";
    case TransferMode::Write: return "writing the radio failed";
    case TransferMode::InfoRead: return "reading the radio's information failed";
    case TransferMode::None: break;
    }
    return "the transfer failed";
}

Outcome failure(TransferMode mode, const TransferResult& result, const TransferRunner& runner,
                const CliPrompter& prompter, bool& noAnswer);

// One run of the transfer; `noAnswer` tells a radio that stopped answering
// from other failures.
Outcome runOnce(TransferMode mode, RadioImage& image, const LinkSettings& settings, int retries,
                TransferResult& result, bool& noAnswer)
{
    noAnswer = false;
    ProgressLine progress(settings.showProgress && mode != TransferMode::InfoRead,
                          mode == TransferMode::Write ? "Writing data to radio" : "Reading data from radio");
    LinkSettings limited = settings;
    limited.retries = retries;
    CliPrompter prompter(limited, progress);
    TransferRunner runner(image, prompter);
    if (settings.password)
        runner.setKnownPassword(NormalisePassword(*settings.password));
    prompter.setRunner(&runner);
    runner.setVerifyAfterWrite(settings.verify);
    QObject::connect(&runner, &TransferRunner::verifying, [&progress] { progress.relabel(kVerifyingLabel); });
    QObject::connect(&runner, &TransferRunner::progress, [&progress, &runner](int percent) {
        progress.show(percent, DescribeProgress(runner.engine().state()));
    });

    {
        CancelOnSignals cancelOnSignals(runner);
        result = runner.run(mode, settings.device);
    }
    progress.clear();
    if (result.success)
        return std::nullopt;
    Outcome outcome = failure(mode, result, runner, prompter, noAnswer);
    if (result.partlyWritten)
        outcome->line += "; the radio may now hold a partly written memory: write it again before using it";
    return outcome;
}

Outcome failure(TransferMode mode, const TransferResult& result, const TransferRunner& runner,
                const CliPrompter& prompter, bool& noAnswer)
{
    noAnswer = false;
    if (result.cancelled)
        return Fail(kExitLink, cancelledText(mode));
    if (result.portLost)
        return Fail(kExitLink, "the connection to the radio was lost: " + runner.lostPortText().toStdString());

    const std::string failed = failedText(mode);
    if (result.endText == "2002")
        return Fail(kExitLink, "cannot use the serial port: " + result.detail);
    if (result.verifyMismatch)
        return Fail(kExitLink, failed + ": " + result.detail);
    if (prompter.refusal())
        return Fail(kExitRefused, failed + ": " + result.detail);
    using Source = CliPrompter::PasswordSource;
    switch (prompter.passwordFailure(runner.stats().framesSent)) {
    case Source::Missing:
        return Fail(kExitRefused, failed + ": the radio has a password; give it with --password");
    case Source::Given:
        return Fail(kExitRefused, failed + ": the radio refused the password given with --password");
    case Source::Typed:
        return Fail(kExitRefused, failed + ": the radio refused the password typed");
    case Source::NotTyped:
        return Fail(kExitRefused, failed + ": the radio has a password and none was typed");
    case Source::None:
        break;
    }
    std::string cause = result.detail.empty() ? std::string("the transfer stopped") : result.detail;
    const std::string cancelled = "; cancelled";
    if (cause.size() > cancelled.size() && cause.ends_with(cancelled))
        cause.erase(cause.size() - cancelled.size());
    noAnswer = prompter.gaveUp() || (mode == TransferMode::InfoRead && cause.starts_with("no "));
    if (noAnswer) {
        cause = "the radio does not answer (" + cause + ")";
        if (prompter.restarts() > 0)
            cause += "; gave up after " + std::to_string(prompter.restarts()) +
                     (prompter.restarts() == 1 ? " restart" : " restarts");
    }
    return Fail(kExitLink, failed + ": " + cause);
}

} // namespace

Outcome RunTransfer(TransferMode mode, RadioImage& image, const LinkSettings& settings, TransferResult& result)
{
    if (mode != TransferMode::InfoRead) {
        bool noAnswer;
        return runOnce(mode, image, settings, settings.retries, result, noAnswer);
    }
    // The information read has no restart of its own: the whole short read
    // is run again instead.
    const RadioImage start = image;
    for (int attempt = 0;; ++attempt) {
        bool noAnswer;
        image = start;
        Outcome outcome = runOnce(mode, image, settings, 0, result, noAnswer);
        if (!outcome || !noAnswer || attempt >= settings.retries) {
            if (outcome && noAnswer && attempt > 0)
                outcome->line += "; gave up after " + std::to_string(attempt) + (attempt == 1 ? " restart" : " restarts");
            return outcome;
        }
    }
}


// ---------------------------------------------------------------------------
// Several radios at once: one runner and port each, all in one event loop.

namespace {

// One line per radio on a terminal, redrawn in place.
class FleetProgress {
public:
    FleetProgress(bool enabled, const std::vector<FleetTarget>& targets) : enabled_(enabled)
    {
        for (const auto& t : targets) {
            names_.push_back(t.name);
            width_ = std::max(width_, t.name.size());
        }
        states_.assign(targets.size(), "waiting");
        if (enabled_)
            for (size_t i = 0; i < states_.size(); ++i)
                std::fputc('\n', stderr);
    }
    ~FleetProgress() { redraw(); }

    void set(size_t i, std::string state)
    {
        if (states_[i] == state)
            return;
        states_[i] = std::move(state);
        redraw();
    }

private:
    void redraw()
    {
        if (!enabled_)
            return;
        std::fprintf(stderr, "\033[%zuA", states_.size());
        for (size_t i = 0; i < states_.size(); ++i)
            std::fprintf(stderr, "\r\033[K%-*s  %s\n", static_cast<int>(width_), names_[i].c_str(), states_[i].c_str());
        std::fflush(stderr);
    }

    bool enabled_;
    std::vector<std::string> names_;
    std::vector<std::string> states_;
    size_t width_ = 4;
};

struct FleetJob {
    FleetJob(const RadioImage& source, const LinkSettings& settings)
        : image(source)
        , progress(false, "")
        , prompter(settings, progress)
        , runner(image, prompter)
    {
        if (settings.password)
            runner.setKnownPassword(NormalisePassword(*settings.password));
        prompter.setRunner(&runner);
        runner.setVerifyAfterWrite(settings.verify);
    }

    RadioImage image;
    ProgressLine progress; // unused: the fleet draws its own lines
    CliPrompter prompter;
    TransferRunner runner;
    QElapsedTimer clock;
    bool done = false;
};

} // namespace

std::vector<FleetRow> RunFleetWrite(const RadioImage& image, const std::vector<FleetTarget>& targets,
                                    const LinkSettings& settings)
{
    LinkSettings each = settings;
    each.promptForPassword = false; // one terminal cannot answer several radios at once
    FleetProgress lines(settings.showProgress, targets);
    std::vector<std::unique_ptr<FleetJob>> jobs;
    std::vector<FleetRow> rows(targets.size());
    QEventLoop loop;
    size_t running = 0;

    auto conclude = [&](size_t i) {
        FleetJob& job = *jobs[i];
        job.done = true;
        const TransferResult& result = job.runner.result();
        FleetRow& row = rows[i];
        row.name = targets[i].name;
        row.seconds = static_cast<double>(job.clock.elapsed()) / 1000.0;
        row.retries = job.runner.stats().timeouts;
        row.verified = result.verified;
        if (!result.success) {
            bool noAnswer = false;
            row.outcome = failure(TransferMode::Write, result, job.runner, job.prompter, noAnswer);
            // Every row is a write: the table says "failed" once.
            const std::string lead = std::string(failedText(TransferMode::Write)) + ": ";
            if (row.outcome->line.starts_with(lead))
                row.outcome->line.erase(0, lead.size());
        }
        lines.set(i, row.outcome ? "failed" : result.verified ? "written and verified" : "written");
    };

    for (size_t i = 0; i < targets.size(); ++i) {
        jobs.push_back(std::make_unique<FleetJob>(image, each));
        FleetJob& job = *jobs.back();
        QObject::connect(&job.runner, &TransferRunner::progress, [&lines, &job, i](int percent) {
            lines.set(i, std::string(job.runner.engine().state().verifying ? "verifying " : "writing ") +
                             std::to_string(percent) + "%");
        });
        QObject::connect(&job.runner, &TransferRunner::finished, [&, i] {
            conclude(i);
            if (--running == 0)
                loop.quit();
        });
    }
    for (size_t i = 0; i < targets.size(); ++i) {
        FleetJob& job = *jobs[i];
        job.clock.start();
        lines.set(i, "connecting");
        if (job.runner.start(TransferMode::Write, targets[i].device))
            ++running;
        else
            conclude(i); // the port cannot be opened: no finished() comes
    }
    if (running > 0)
        loop.exec();
    return rows;
}

std::string FleetTable(const std::vector<FleetRow>& rows)
{
    size_t width = 4;
    for (const auto& r : rows)
        width = std::max(width, r.name.size());
    std::string out;
    char line[160];
    std::snprintf(line, sizeof line, "%-*s  %7s  %7s  %s\n", static_cast<int>(width), "PORT", "SECONDS", "RETRIES",
                  "RESULT");
    out += line;
    for (const auto& r : rows) {
        std::snprintf(line, sizeof line, "%-*s  %7.1f  %7d  ", static_cast<int>(width), r.name.c_str(), r.seconds,
                      r.retries);
        out += line;
        out += r.outcome ? "failed: " + r.outcome->line : r.verified ? "written and verified" : "written";
        out += '\n';
    }
    return out;
}

} // namespace qtx::cli
