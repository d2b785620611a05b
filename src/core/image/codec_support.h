#pragma once
// Shared by the block codecs. Encoder failures: the message is the encoding
// step's name followed by "Error", as the user sees it; the detail says in
// plain words what could not be encoded.

#include "model/fixed_text.h"
#include "model/result.h"

#include <string>
#include <string_view>

namespace qtx {

inline constexpr std::string_view kStepFrequency = "SetCommDataByFrequency";
inline constexpr std::string_view kStepOption = "SetCommDataByOption";
inline constexpr std::string_view kStepFiveTone = "SetCommDataBy5Tone";
inline constexpr std::string_view kStepTwoTone = "SetCommDataBy2Tone";
inline constexpr std::string_view kStepDtmf = "SetCommDataByDTMF";
inline constexpr std::string_view kStepCommBook = "SetCommDataByDTMFCommuBook";

inline Error CodecError(std::string_view step, std::string detail)
{
    return Error{std::string(step) + "Error", std::move(detail)};
}

// A stored text for a detail message: quoted, bytes outside printable ASCII
// shown as \xNN.
inline std::string QuoteText(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b >= 0x7F) {
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 0x0F];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// Stores a text collected up to a stop byte: a NUL end mark follows it when
// a stop byte ended it, the rest is space padding.
template <size_t N>
void StoreCollected(FixedText<N>& field, std::string text, bool stopped)
{
    if (stopped)
        text += '\0';
    field.setPadded(text);
}

} // namespace qtx
