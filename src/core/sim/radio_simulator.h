#pragma once
// The radio side of the programming protocol, as a byte-in/byte-out state
// machine: the cable's echo of every byte, the answers to "PROGRAM", the
// identification request, read requests, write frames and "END", over a
// 16384-byte memory. Fault hooks let tests make it misbehave on purpose.
//
// It has no clock: whoever serves it decides when its output crosses the
// wire, and tells it about gaps on the line (lineIdle) so that a frame cut
// short does not swallow the next one.

#include "image/radio_image.h"
#include "link/frames.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <string_view>

namespace qtx {

struct SimIdentity {
    std::string model = "QM-5210"; // up to 7 characters
    std::string version = "V100";  // up to 4 characters
    uint8_t bandCode = 0x07;
    uint8_t flags = 0x00;          // bit 4: the radio flag
    bool killed = false;
    bool stunned = false;
};

// The frames the radio tells apart.
enum class SimFrame { Any, Program, Ident, Read, Write, End };

enum class SimFault {
    Drop,          // no answer (the echo still comes back)
    CorruptByte,   // one byte of the answer changed
    ResendRequest, // 0x0A instead of the answer; a write frame is not stored
    ShortReply,    // the answer without its last byte
    ExtraByte,     // one byte more than the answer
    WrongAddress,  // a read reply for the next block, checksum correct
    CorruptStore,  // a write frame acknowledged, but one of its bytes stored changed
};

struct SimFaultSpec {
    SimFault kind = SimFault::Drop;
    // CorruptByte: which answer byte; negative counts from the end, so -2 is
    // the checksum of a block reply. CorruptStore: which data byte of the
    // write frame (modulo its length).
    int position = -2;
    uint8_t mask = 0x01; // CorruptByte, CorruptStore: the bits flipped
};

// What one received byte brings back on the line.
struct SimOutput {
    uint8_t echo = 0;
    Bytes reply;          // the answer, when this byte completed a frame
    bool endAnswered = false; // this byte completed an "END" that was answered
};

class RadioSimulator {
public:
    static constexpr int kMaxBlockLength = 64;

    RadioSimulator();

    SimOutput receiveByte(uint8_t byte);
    // Every byte in turn: echoes and answers as they would follow each other
    // on the line.
    Bytes receive(std::span<const uint8_t> bytes);
    // A pause on the line: a partly received frame is dropped.
    void lineIdle();

    RadioImage& memory() { return memory_; }
    const RadioImage& memory() const { return memory_; }
    void setMemory(const RadioImage& image) { memory_ = image; }
    // Up to four characters at 0x004C, 0xFF after them; empty removes it.
    void setPassword(std::string_view password);

    SimIdentity& identity() { return identity_; }
    void setIdentity(SimIdentity id) { identity_ = std::move(id); }
    bool inProgramMode() const { return programMode_; }

    // The next `times` frames of this kind (and at this address, for read
    // requests and write frames, when given) get the fault.
    void addFault(SimFrame frame, SimFaultSpec fault, int times = 1, std::optional<uint16_t> address = {});
    void addFault(SimFrame frame, SimFault fault, int times = 1, std::optional<uint16_t> address = {})
    {
        addFault(frame, SimFaultSpec{fault}, times, address);
    }
    void clearFaults();
    // A silent radio answers nothing; the cable still echoes.
    void setSilent(bool silent) { silent_ = silent; }
    // Falls silent once it has received `frames` complete frames (negative:
    // never), like a radio whose supply fails in the middle of a transfer.
    void setSilentAfter(int frames) { silentAfter_ = frames; }
    // Every answer has a fault with probability `rate`, drawn from `seed`.
    // Only faults the protocol can notice are drawn: a one-byte answer is
    // never turned into the other one-byte answer.
    void setRandomFaults(double rate, uint32_t seed);

    // Whether a write frame changed the memory since the last clear.
    bool memoryChanged() const { return changed_; }
    void clearMemoryChanged() { changed_ = false; }

    // Complete frames received, by kind (Any: all of them).
    int framesReceived(SimFrame frame) const;

    // A memory that looks like a programmed radio's: prefill values and
    // identity texts (serial number, dates, dealer ...) in the embedded
    // information, no password.
    static RadioImage DefaultMemory();

private:
    struct FaultRule {
        SimFrame frame;
        SimFaultSpec fault;
        int times;
        std::optional<uint16_t> address;
    };

    void frameComplete(SimOutput& out);
    Bytes answer(SimFrame kind, uint16_t address, bool& store);
    std::optional<SimFaultSpec> takeFault(SimFrame kind, uint16_t address);
    Bytes applyFault(const SimFaultSpec& fault, SimFrame kind, uint16_t address, Bytes reply, bool& store);
    SimFaultSpec randomFault(SimFrame kind);
    bool startsFrame(uint8_t byte) const;
    size_t expectedLength() const;

    RadioImage memory_;
    SimIdentity identity_;
    Bytes frame_;
    bool programMode_ = false;
    bool silent_ = false;
    int silentAfter_ = -1;
    std::optional<SimFaultSpec> storeFault_; // for the write frame being answered
    bool changed_ = false;
    std::deque<FaultRule> faults_;
    double randomRate_ = 0.0;
    std::mt19937 rng_;
    int counts_[6] = {};
};

} // namespace qtx
