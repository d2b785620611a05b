#pragma once
// The radio's programming password: up to four characters at 0x004C-0x004F,
// read with the password block 0x0040-0x004F before every transfer.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qtx {

inline constexpr int kPasswordOffset = 12; // within the password block
inline constexpr int kPasswordLength = 4;

// A password as compared: cut before the first NUL, then trailing blanks
// removed. Used for what the user typed and for what the radio holds.
std::string NormalisePassword(std::string_view text);

// The password held in a password block (at least 16 data bytes): bytes 12 to
// 15 up to the first 0x00 or 0xFF. Empty when the radio has none.
std::string RadioPasswordFromBlock(std::span<const uint8_t> block);

// The transfer may go on without asking: the radio has no password, or the
// entered one equals it exactly (case counts).
bool PasswordPasses(const std::string& radioPassword, const std::string& enteredPassword);

} // namespace qtx
