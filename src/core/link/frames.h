#pragma once
// The frames the program sends to the radio and the replies it accepts.
//
// Every byte sent comes back first as the cable's echo, so a reply is always
// judged on the whole received buffer: the echo (EchoLength bytes, the length
// of the frame just sent, not compared) followed by the reply proper.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qtx {

using Bytes = std::vector<uint8_t>;

inline constexpr uint8_t kAck = 0x06;
inline constexpr uint8_t kResendRequest = 0x0A;
inline constexpr uint8_t kIdentRequestByte = 0x02;
inline constexpr uint8_t kReadCommand = 0x52;  // 'R'
inline constexpr uint8_t kWriteCommand = 0x57; // 'W', also leads a read reply
inline constexpr uint8_t kIdentReplyLead = 0x49; // 'I'

inline constexpr int kBlockLength = 16;
inline constexpr int kProgramReplyLength = 3; // "HV" 0x06
inline constexpr int kIdentReplyLength = 16;
inline constexpr int kAckReplyLength = 1;
// Read reply and write frame: 'W', address high, address low, length, data,
// checksum, 0x06.
inline constexpr int BlockFrameLength(int dataLength) { return dataLength + 6; }
inline constexpr int kReadRequestLength = 4;

inline constexpr uint16_t kPasswordBlockAddress = 0x0040;

// Sum modulo 256 of the address high and low bytes, the length byte and every
// data byte: `body` is everything between the leading 'W' and the checksum.
uint8_t FrameChecksum(std::span<const uint8_t> body);

// A frame to send, with the number of bytes that must be waiting (echo plus
// reply) before the reply can be judged.
struct Frame {
    Bytes bytes;
    int threshold = 0;
};

Frame ProgramRequest();                 // "PROGRAM" -> "HV" 0x06
Frame IdentRequest();                   // 0x02 -> identification reply
Frame ReadRequest(uint16_t address, uint8_t length);
Frame WriteFrame(uint16_t address, std::span<const uint8_t> data); // -> 0x06 or 0x0A
Frame EndRequest();                     // "END" -> 0x06

// A read reply (or, on the radio side, a write frame) for `data` at `address`.
Bytes BlockFrame(uint16_t address, std::span<const uint8_t> data);

enum class ReplyKind {
    None,          // nothing recognised: ignored, the time-out follows
    Acknowledge,   // 0x06
    ResendRequest, // 0x0A
    ProgramReply,  // "HV" 0x06
    IdentReply,    // 'I' ... 0x06, 16 bytes
    PasswordBlock, // read reply for 0x0040 while the password block is awaited
    ReadBlock,     // read reply passing every rule for the block requested
};

// What the receiver is waiting for, as far as recognising a reply needs it.
struct ReplyExpectation {
    size_t echoLength = 0;
    bool awaitingPasswordBlock = false;
    // The read request outstanding, when there is one.
    std::optional<uint16_t> readAddress;
    uint8_t readLength = kBlockLength;
};

// Tests `buffer` against the replies in their fixed order and returns the
// first that matches.
ReplyKind RecogniseReply(std::span<const uint8_t> buffer, const ReplyExpectation& expect);

// The read reply rules: 'W' first, at least echo + 22 bytes, the requested
// address and length (for the password block the reply's own length byte),
// exactly echo + L + 6 bytes, 0x06 last and a correct checksum.
bool IsValidReadReply(std::span<const uint8_t> buffer, size_t echoLength, uint16_t address,
                      std::optional<uint8_t> length);

// The data bytes of a read reply that passed IsValidReadReply.
std::span<const uint8_t> ReadReplyData(std::span<const uint8_t> buffer, size_t echoLength);

} // namespace qtx
