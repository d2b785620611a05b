#pragma once
// Runs the transfer engine against the in-process radio simulator on a
// virtual clock: the radio answers at once, the response timer fires when
// nothing else can happen, prompts are answered from scripts.

#include "link/transfer_engine.h"
#include "sim/radio_simulator.h"

#include <cstdint>
#include <cstdio>
#include <deque>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace qtx::testing {

class LinkHarness {
public:
    struct SentFrame {
        int64_t at = 0; // virtual milliseconds
        Bytes bytes;
        int threshold = 0;
    };

    RadioSimulator radio;
    RadioImage image{};
    std::string enteredPassword; // kept across runs, as the programs keep it
    TransferEngine engine{image};

    // Deliver only `threshold` bytes per receive event, the rest in later
    // events, as on a line where bytes trickle in one by one.
    bool trickle = false;

    std::deque<bool> retryAnswers;   // then defaultRetry
    bool defaultRetry = false;
    int maxQuestions = 50;           // Cancel once this many were asked
    std::deque<std::optional<std::string>> passwordAnswers; // then Cancel

    // The user cancels right after this many frames were sent, or while the
    // first Retry/Cancel question is open (its answer then comes too late).
    std::optional<size_t> cancelAfterFrames;
    bool cancelAtQuestion = false;

    int64_t now = 0;
    std::vector<SentFrame> sent;
    std::vector<int> progress;           // of the transfer
    std::vector<int> progressVerifying;  // of the read-back after a write
    std::vector<std::string> messages;
    std::vector<int64_t> retryQuestions;          // when each was asked
    std::vector<std::string> passwordPrompts;      // what each was prefilled with
    std::optional<TransferResult> result;
    bool stuck = false; // the engine waited with no timer running and nothing to read

    TransferResult run(TransferMode mode, int64_t limitMs = 3'600'000)
    {
        reset();
        engine.setKnownPassword(enteredPassword);
        engine.start(mode);
        while (!result) {
            drain();
            if (result)
                break;
            if (threshold_ > 0 && static_cast<int>(input_.size()) >= threshold_) {
                Bytes buffer;
                if (trickle) {
                    buffer.assign(input_.begin(), input_.begin() + threshold_);
                    input_.erase(input_.begin(), input_.begin() + threshold_);
                } else {
                    buffer.swap(input_);
                }
                engine.bytesReceived(buffer);
                continue;
            }
            if (!timerDeadline_ || *timerDeadline_ > limitMs) {
                stuck = true;
                break;
            }
            now = *timerDeadline_;
            timerDeadline_.reset();
            radio.lineIdle();
            engine.timerExpired();
        }
        return result.value_or(TransferResult{});
    }

    // The frames sent, by their leading bytes.
    std::vector<SentFrame> framesStartingWith(uint8_t lead) const
    {
        std::vector<SentFrame> out;
        for (const auto& f : sent)
            if (!f.bytes.empty() && f.bytes[0] == lead)
                out.push_back(f);
        return out;
    }
    static int addressOf(const SentFrame& f) { return f.bytes[1] << 8 | f.bytes[2]; }
    int framesTo(uint8_t lead, int address) const
    {
        int n = 0;
        for (const auto& f : framesStartingWith(lead))
            n += addressOf(f) == address;
        return n;
    }
    // A short name for each frame sent: "PROGRAM", "ID", "R0040", "W0100", "END".
    std::vector<std::string> frameNames() const
    {
        std::vector<std::string> names;
        for (const auto& f : sent)
            names.push_back(name(f.bytes));
        return names;
    }
    static std::string name(const Bytes& b)
    {
        if (b.empty())
            return "";
        if (b[0] == 'P')
            return "PROGRAM";
        if (b[0] == 'E')
            return "END";
        if (b[0] == 0x02)
            return "ID";
        char buf[8];
        std::snprintf(buf, sizeof buf, "%c%04X", b[0], b[1] << 8 | b[2]);
        return buf;
    }

private:
    void reset()
    {
        now = 0;
        sent.clear();
        progress.clear();
        progressVerifying.clear();
        messages.clear();
        retryQuestions.clear();
        passwordPrompts.clear();
        result.reset();
        stuck = false;
        input_.clear();
        threshold_ = 0;
        timerDeadline_.reset();
    }

    void drain()
    {
        while (auto action = engine.nextAction()) {
            std::visit([this](auto& a) { handle(a); }, *action);
        }
    }

    void handle(link::Send& s)
    {
        sent.push_back({now, s.bytes, s.threshold});
        input_.clear();
        threshold_ = s.threshold;
        const Bytes line = radio.receive(s.bytes);
        input_.insert(input_.end(), line.begin(), line.end());
        if (cancelAfterFrames && sent.size() == *cancelAfterFrames)
            engine.cancel();
    }
    void handle(link::StartTimer&) { timerDeadline_ = now + TransferEngine::kResponseTimeoutMs; }
    void handle(link::StopTimer&) { timerDeadline_.reset(); }
    void handle(link::Progress& p) { (p.verifying ? progressVerifying : progress).push_back(p.percent); }
    void handle(link::ShowMessage& m) { messages.push_back(m.name); }
    void handle(link::AskRetry&)
    {
        retryQuestions.push_back(now);
        bool answer = defaultRetry;
        if (!retryAnswers.empty()) {
            answer = retryAnswers.front();
            retryAnswers.pop_front();
        }
        if (static_cast<int>(retryQuestions.size()) >= maxQuestions)
            answer = false;
        if (cancelAtQuestion)
            engine.cancel();
        engine.answerRetry(answer);
    }
    void handle(link::AskPassword& p)
    {
        passwordPrompts.push_back(p.current);
        std::optional<std::string> answer;
        if (!passwordAnswers.empty()) {
            answer = passwordAnswers.front();
            passwordAnswers.pop_front();
        }
        engine.answerPassword(answer);
    }
    void handle(link::Finished& f)
    {
        result = f.result;
        enteredPassword = f.result.password;
    }

    Bytes input_;
    int threshold_ = 0;
    std::optional<int64_t> timerDeadline_;
};

} // namespace qtx::testing
