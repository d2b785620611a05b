#pragma once
// Small conversions of code and digit texts shared by the editors and the
// radio image codec.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qtx {

// Stored DTMF digits keep '*' as "E" and '#' as "F".
std::string DtmfToShown(std::string_view stored);
std::string DtmfToStored(std::string_view shown);

// Two upper-case hexadecimal digits.
std::string ByteToHex2(uint8_t b);

// A one-based number with 0 = none goes to the radio as value - 1: negative
// gives 0xFF, above 255 gives 0.
uint8_t ToImageByte(int value);

// The default for an empty or non-numeric text, else the text's integer value.
int TextToNumber(std::string_view text, int fallback);

// Band limits used when the radio's bytes are not a number: 100 MHz for the
// low limits (index 0, 2), 500 MHz for the high ones (1, 3).
double DefaultBandLimit(int index);

// The text after the last path separator ("/" or "\"), or the whole path.
std::string FileNameOfPath(std::string_view path);

// The mark a stored 5-tone code keeps in place of the radio's own ID.
inline constexpr std::string_view kOwnIdMark = "SelfID";

// 5-tone repeat encoding: a digit equal to the tone sent just before it
// becomes the repeat tone "E". previous is the tone sent before the code, or
// "X" for none.
std::string RepeatEncode(std::string_view code, std::string_view previous);
std::string RepeatEncodeSpecial(std::string_view code);
bool IsSpecialCode(std::string_view code, std::string_view own);
std::string EncodeFiveToneCode(std::string_view code, std::string_view own);

// Helpers over the rows of a list.
using TextList = std::vector<std::string>;
// The row equal to text; row 0 when none is; empty for an empty list.
std::string ListFindText(const TextList& list, std::string_view text);
// Row index; row 0 when index is outside; empty for an empty list.
std::string ListTextAt(const TextList& list, int index);
// fallback for an empty list or text; else the first equal row, or 0.
int ListIndexOfText(const TextList& list, std::string_view text, int fallback);
void ListAddOnce(TextList& list, std::string_view text);

} // namespace qtx
