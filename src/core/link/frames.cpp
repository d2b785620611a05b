#include "link/frames.h"

#include <numeric>

namespace qtx {

uint8_t FrameChecksum(std::span<const uint8_t> body)
{
    return static_cast<uint8_t>(std::accumulate(body.begin(), body.end(), 0u));
}

Frame ProgramRequest()
{
    return {Bytes{'P', 'R', 'O', 'G', 'R', 'A', 'M'}, 7 + kProgramReplyLength};
}

Frame IdentRequest()
{
    return {Bytes{kIdentRequestByte}, 1 + kIdentReplyLength};
}

Frame ReadRequest(uint16_t address, uint8_t length)
{
    return {Bytes{kReadCommand, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address & 0xFF), length},
            kReadRequestLength + BlockFrameLength(length)};
}

Bytes BlockFrame(uint16_t address, std::span<const uint8_t> data)
{
    Bytes f;
    f.reserve(BlockFrameLength(static_cast<int>(data.size())));
    f.push_back(kWriteCommand);
    f.push_back(static_cast<uint8_t>(address >> 8));
    f.push_back(static_cast<uint8_t>(address & 0xFF));
    f.push_back(static_cast<uint8_t>(data.size()));
    f.insert(f.end(), data.begin(), data.end());
    f.push_back(FrameChecksum(std::span<const uint8_t>(f).subspan(1)));
    f.push_back(kAck);
    return f;
}

Frame WriteFrame(uint16_t address, std::span<const uint8_t> data)
{
    Bytes f = BlockFrame(address, data);
    const int threshold = static_cast<int>(f.size()) + kAckReplyLength;
    return {std::move(f), threshold};
}

Frame EndRequest()
{
    return {Bytes{'E', 'N', 'D'}, 3 + kAckReplyLength};
}

bool IsValidReadReply(std::span<const uint8_t> buffer, size_t echoLength, uint16_t address,
                      std::optional<uint8_t> length)
{
    if (buffer.size() < echoLength + BlockFrameLength(kBlockLength))
        return false;
    const auto reply = buffer.subspan(echoLength);
    if (reply[0] != kWriteCommand)
        return false;
    const uint16_t a = static_cast<uint16_t>(reply[1] << 8 | reply[2]);
    const uint8_t l = reply[3];
    if (a != address || (length && l != *length))
        return false;
    if (reply.size() != static_cast<size_t>(BlockFrameLength(l)))
        return false;
    if (reply.back() != kAck)
        return false;
    return reply[reply.size() - 2] == FrameChecksum(reply.subspan(1, l + 3));
}

std::span<const uint8_t> ReadReplyData(std::span<const uint8_t> buffer, size_t echoLength)
{
    const auto reply = buffer.subspan(echoLength);
    return reply.subspan(4, reply[3]);
}

ReplyKind RecogniseReply(std::span<const uint8_t> buffer, const ReplyExpectation& expect)
{
    const size_t echo = expect.echoLength;
    const size_t n = buffer.size();
    if (n == echo + 1 && buffer.back() == kAck)
        return ReplyKind::Acknowledge;
    if (n == echo + 1 && buffer.back() == kResendRequest)
        return ReplyKind::ResendRequest;
    if (n == echo + kProgramReplyLength && buffer[echo] == 'H' && buffer[echo + 1] == 'V' && buffer[echo + 2] == kAck)
        return ReplyKind::ProgramReply;
    if (n == echo + kIdentReplyLength && buffer[echo] == kIdentReplyLead && buffer.back() == kAck)
        return ReplyKind::IdentReply;
    if (expect.awaitingPasswordBlock && IsValidReadReply(buffer, echo, kPasswordBlockAddress, std::nullopt))
        return ReplyKind::PasswordBlock;
    if (expect.readAddress && IsValidReadReply(buffer, echo, *expect.readAddress, expect.readLength))
        return ReplyKind::ReadBlock;
    return ReplyKind::None;
}

} // namespace qtx
