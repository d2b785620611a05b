#pragma once
// Band limits and channels <-> the radio image.

#include "image/field_table.h"
#include "image/image_access.h"
#include "image/radio_image.h"
#include "model/codeplug.h"
#include "model/result.h"

#include <string>
#include <string_view>
#include <vector>

namespace qtx {

inline constexpr const char* kNameTooLongNotice = "Name is too long!";

// Writes the band limits and every channel of the list (its slot's entry,
// the bitmaps and, for memory channels, the PTT-ID code). Stops at the first
// value that cannot be encoded with "SetCommDataByFrequencyError". Sets each
// encoded channel's TxDcsHigh/RxDcsHigh from its DCS codes. Non-fatal
// notices are appended to notices.
Result<void> SetCommDataByFrequency(Codeplug& cp, RadioImage& image, std::vector<std::string>& notices);

// Decodes the band limits and the channels of slots 0-202 into cp, appending
// from list position ChannelCount (which the caller has set). PTT-ID bytes
// above 15 are zeroed in the image.
void ParseChannels(RadioImage& image, Codeplug& cp);

// A channel name into the seven name bytes of a channel entry: cut to seven
// with the "Name is too long!" notice, space padded; an empty name is seven
// 0x00 bytes.
void PutChannelName(ImageWriter& entry, std::string_view trimmedName, std::vector<std::string>& notices);

// The field tables of the channel entry, the PTT-ID code and the band limits.
std::vector<image::BlockLayout> ChannelLayouts();

// The label the channel grid shows for a channel number ("0".."199", "PA",
// "PB", "VFO").
std::string ChannelLabel(int number);

} // namespace qtx
