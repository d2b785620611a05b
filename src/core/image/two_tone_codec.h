#pragma once
// 2-tone header and call entries <-> the radio image.

#include "image/field_table.h"
#include "image/radio_image.h"
#include "model/codeplug.h"
#include "model/result.h"

namespace qtx {

// The field tables of the header and a call entry.
std::vector<image::BlockLayout> TwoToneLayouts();

// Fails with "SetCommDataBy2ToneError" (nothing in the record can be out of
// a byte's range today; the step keeps its result for the build order).
Result<void> SetCommDataBy2Tone(const TwoToneSettings& twoTone, RadioImage& image);

// Replaces the whole record with what the image holds.
void ParseTwoTone(const RadioImage& image, TwoToneSettings& twoTone);

} // namespace qtx
