#pragma once
// Frequency digits <-> the four packed bytes the radio keeps.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qtx {

// The nine digits of a channel without a receive frequency (all four BCD
// bytes 0xFF).
inline constexpr std::string_view kNoFrequencyDigits = "FFFFFFFFF";

using Bcd4 = std::array<uint8_t, 4>;

// Padded on the right with "0" to eight characters; the first eight are read
// as four hexadecimal pairs, first pair first (014560000 -> 01 45 60 00).
// None when a pair is not hexadecimal.
std::optional<Bcd4> DigitsToBcd(std::string_view digits);

enum class BcdKind { Receive, Offset };

// Eight hexadecimal digits from the bytes plus the 10 Hz digit restored from
// the eighth (2 -> 5, 3 -> 3, 6 -> 6, 7 -> 5, else 0). Non-decimal bytes give
// kNoFrequencyDigits (receive) or "000000000" (offset).
std::string BcdToDigits(const Bcd4& bytes, BcdKind kind);

} // namespace qtx
