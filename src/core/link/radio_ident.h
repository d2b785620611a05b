#pragma once
// The radio's identification reply and the checks a transfer runs on it.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace qtx {

inline constexpr const char* kExpectedModel = "QM-5210";
inline constexpr const char* kExpectedVersion = "V100";

// Messages of the identification checks (built-in text entries).
inline constexpr const char* kModelWrongMessage = "ModelWrong";
inline constexpr const char* kVersionWrongMessage = "VersionWrong";
inline constexpr const char* kRadioKilledMessage = "RadioKilled";
inline constexpr const char* kRadioStunnedMessage = "RadioStunned";

struct RadioIdent {
    std::string model;    // up to 7 characters
    uint8_t bandCode = 0; // already passed through BandCodeFromByte
    std::string version;  // up to 4 characters
    uint8_t radioFlag = 0; // 0 or 1
    bool killed = false;
    bool stunned = false;

    bool operator==(const RadioIdent&) const = default;
};

// Band codes the program knows have a low nibble of 0-7 and stay at or below
// 0x37; anything else falls back to 0x30.
uint8_t BandCodeFromByte(uint8_t byte);

// `reply` is the 16-byte identification reply (after the echo): 'I', model
// (7), band code, version (4), flags, status, 0x06. Texts end early at the
// first 0x00 or 0xFF.
RadioIdent ParseIdentReply(std::span<const uint8_t> reply);

// The check's message when the identification stops the transfer: a model or
// version other than the expected ones (any transfer), or, when writing, a
// killed radio (before a stunned one). None when the transfer may go on.
std::optional<std::string> CheckIdent(const RadioIdent& ident, bool writing,
                                      const std::string& expectedModel = kExpectedModel,
                                      const std::string& expectedVersion = kExpectedVersion);

} // namespace qtx
