#pragma once
// Numbers in texts. Always "." as the decimal separator, whatever the
// locale; only plain decimal forms count (no exponents, no hex prefixes).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qtx {

// Optional blanks, optional sign, digits with at most one ".", at least one
// digit, optional blanks.
bool IsDecimalNumber(std::string_view text);

std::optional<double> ParseDecimal(std::string_view text);

// Rounded to the nearest integer, halves to even, as a decimal number's
// integer value; none for a non-numeric text or one beyond 32 bits.
std::optional<int32_t> ParseInteger(std::string_view text);

// Every character is one of 0-9 A-F a-f.
bool IsHexDigits(std::string_view text);
bool IsDecimalDigits(std::string_view text); // 0-9 only; true when empty
int HexDigitValue(char c); // -1 when not a hexadecimal digit

// Rounds halves to even, as the radio tools always have.
double RoundHalfEven(double v);
// Halves away from zero.
double RoundHalfAway(double v);

// The shortest decimal form of v without trailing zeros (136 -> "136",
// 173.9975 -> "173.9975"); at most `decimals` decimals.
std::string ShortDecimal(double v, int decimals = 10);

// v with exactly `decimals` decimals and at least `intDigits` integer
// digits, zero-padded ("000.00000" is FixedDecimal(v, 3, 5)).
std::string FixedDecimal(double v, int intDigits, int decimals);

} // namespace qtx
