#include "link/radio_ident.h"

namespace qtx {

namespace {

std::string textUntilEnd(std::span<const uint8_t> bytes)
{
    std::string text;
    for (uint8_t b : bytes) {
        if (b == 0x00 || b == 0xFF)
            break;
        text.push_back(static_cast<char>(b));
    }
    return text;
}

} // namespace

uint8_t BandCodeFromByte(uint8_t byte)
{
    if ((byte & 0x0F) > 7 || byte > 0x37)
        return 0x30;
    return byte;
}

RadioIdent ParseIdentReply(std::span<const uint8_t> reply)
{
    RadioIdent id;
    if (reply.size() < 16)
        return id;
    id.model = textUntilEnd(reply.subspan(1, 7));
    id.bandCode = BandCodeFromByte(reply[8]);
    id.version = textUntilEnd(reply.subspan(9, 4));
    id.radioFlag = (reply[13] >> 4) & 1;
    id.killed = reply[14] & 0x01;
    id.stunned = reply[14] & 0x02;
    return id;
}

std::optional<std::string> CheckIdent(const RadioIdent& ident, bool writing, const std::string& expectedModel,
                                      const std::string& expectedVersion)
{
    if (ident.model != expectedModel)
        return kModelWrongMessage;
    if (ident.version != expectedVersion)
        return kVersionWrongMessage;
    if (writing && ident.killed)
        return kRadioKilledMessage;
    if (writing && ident.stunned)
        return kRadioStunnedMessage;
    return std::nullopt;
}

} // namespace qtx
