#pragma once
// DTMF settings and codes, and the communication book <-> the radio image.
// Ani and SendTime travel with the option bytes (settings_codec.h);
// PttIdMode is not carried.

#include "image/field_table.h"
#include "image/radio_image.h"
#include "model/codeplug.h"
#include "model/result.h"

namespace qtx {

// The field tables of the DTMF header, a code area and the book.
std::vector<image::BlockLayout> DtmfLayouts();

// Fails with "SetCommDataByDTMFError". An own ID shorter than three digits
// is padded on the left with zeros ("7" -> "007") and written back into
// dtmf.OwnId; an own ID that is not a number is sent (and kept) as "000".
Result<void> SetCommDataByDTMF(DtmfSettings& dtmf, RadioImage& image);

// Starts from dtmf as it is and overwrites what the image carries. Decode
// response and first-digit delay bytes out of range are zeroed in the image.
void ParseDtmf(RadioImage& image, DtmfSettings& dtmf);

// Fails with "SetCommDataByDTMFCommuBookError".
Result<void> SetCommDataByDTMFCommuBook(const CommBook& book, RadioImage& image);
void ParseCommBook(const RadioImage& image, CommBook& book);

} // namespace qtx
