#pragma once
// 5-tone header, own ID, user tone table, PTT-ID codes, information codes
// and the call list <-> the radio image.

#include "image/field_table.h"
#include "image/radio_image.h"
#include "model/codeplug.h"
#include "model/result.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qtx {

// A tone length in milliseconds as the radio's byte (30-100 ms -> div 10,
// anything else 7) and back (3-10 -> x 10, anything else 70 ms).
uint8_t ToneLengthToImage(int milliseconds);
uint8_t ToneLengthFromImage(uint8_t b);

// The field tables of the header, user tones, PTT-ID codes, call entries
// and information codes.
std::vector<image::BlockLayout> FiveToneLayouts();

// A call-list or PTT-ID code as it goes to the radio.
struct SentFiveToneCode {
    std::string code;
    int length = 0;
    friend bool operator==(const SentFiveToneCode&, const SentFiveToneCode&) = default;
};

// A stored code whose trimmed text ends with the own-ID mark "SelfID", with
// its length equal to that text's length, goes out with the own ID's five
// digits in place of the mark, repeat-encoded as a whole
// (EncodeFiveToneCode). Such a code needs ownId to be five digits; the
// error's detail names the own ID. Any other code goes out as stored.
Result<SentFiveToneCode> ResolveSelfId(std::string_view code, int codeLength, std::string_view ownId);

// codeFormat is the decode time kept outside the 5-tone record. Fails with
// "SetCommDataBy5ToneError"; codes with the own-ID mark go out through
// ResolveSelfId with the header's own ID; a code longer than its area's room (24 digits
// for the PTT-ID codes, 40 for call entries, 12 for information codes) is
// refused rather than spilled into the next area.
Result<void> SetCommDataBy5Tone(const FiveToneSettings& fiveTone, uint8_t codeFormat, RadioImage& image);

// Starts from fiveTone as it is, so fields the image does not carry keep
// their values. Code lengths beyond their area's room are cut to the room.
void ParseFiveTone(const RadioImage& image, FiveToneSettings& fiveTone, uint8_t& codeFormat);

} // namespace qtx
